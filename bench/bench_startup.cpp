// Start-up costs: opening the security file, both workspaces and the rules,
// checking the rules and the empty character template,
// and bringing the main window on screen once the splash box is closed.
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "mainwindow/QtPorts.h"
#include "mainwindow/Startup.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <benchmark/benchmark.h>

static void BM_OpenDB(benchmark::State &state)
{
    ModGeneral::MasterPath = ModGeneral::AppFolder() + QStringLiteral("/master.dat");
    for (auto _ : state) {
        ModGeneral::ResetSharedState();
        ModGeneral::MasterPath = ModGeneral::AppFolder() + QStringLiteral("/master.dat");
        ModGeneral::PlayerPath = ModGeneral::AppFolder() + QStringLiteral("/player.dat");
        ModGeneral::OpenDB();
        benchmark::DoNotOptimize(ModGeneral::DbMaster.isOpen());
    }
    state.counters["open"] = ModGeneral::DbMaster.isOpen() ? 1 : 0;
}
BENCHMARK(BM_OpenDB)->Unit(benchmark::kMillisecond);

// From the end of the splash box to the main window painted on screen.
static void BM_MainWindowShown(benchmark::State &state)
{
    for (auto _ : state) {
        ModGeneral::ResetSharedState();
        frmMain *main = Startup::Main(Startup::Options{false});
        QApplication::processEvents();
        main->repaint();
        benchmark::DoNotOptimize(main->isVisible());
        state.PauseTiming();
        delete main;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMillisecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    QtPorts userPorts;
    ports::install(&userPorts);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ports::install(nullptr);
    return 0;
}
