// How long the interface's texts take: one lookup, the first (parsing) use,
// and localising a window of a typical size.
#include "frame/ui/LoadFormStrings.h"
#include "platform/Strings.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>
#include <QElapsedTimer>

#include <cstdio>
#include <iterator>
#include <benchmark/benchmark.h>

static void LoadOneText(benchmark::State &state)
{
    Strings::setLanguage(state.range(0) ? Strings::Language::English : Strings::Language::French);
    static const int numbers[] = {1002, 3502, 3052, 3510, 4001, 5066, 2022, 3591};
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(Strings::Load(numbers[i]));
        i = (i + 1) % std::size(numbers);
    }
}
BENCHMARK(LoadOneText)->Arg(0)->Arg(1);

// A window like the character sheet: about 150 controls, menus and a toolbar.
static void LocaliseWindow(benchmark::State &state)
{
    Strings::setLanguage(Strings::Language::French);
    for (auto _ : state) {
        state.PauseTiming();
        auto *window = new QMainWindow;
        setTag(window, QStringLiteral("3514"));
        QMenu *menu = window->menuBar()->addMenu(QStringLiteral("1001"));
        for (int n = 1002; n <= 1012; ++n)
            menu->addAction(QString::number(n));
        QToolBar *bar = window->addToolBar(QStringLiteral("tb"));
        for (int n : {1002, 1003, 1005, 1010, 3514, 3040, 3510, 3092})
            bar->addAction(QStringLiteral("b"))->setToolTip(QString::number(n));
        auto *central = new QWidget;
        auto *layout = new QVBoxLayout(central);
        for (int i = 0; i < 50; ++i) {
            auto *label = new QLabel(QStringLiteral("%"));
            setTag(label, QString::number(3000 + i));
            layout->addWidget(label);
            auto *box = new QLineEdit;
            setTag(box, QString::number(i));
            layout->addWidget(box);
            auto *check = new QCheckBox;
            setTag(check, QString::number(3500 + i));
            layout->addWidget(check);
        }
        window->setCentralWidget(central);
        state.ResumeTiming();
        LoadFormStrings(window);
        state.PauseTiming();
        delete window;
        state.ResumeTiming();
    }
}
BENCHMARK(LocaliseWindow)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The first use parses both tables; time it once, apart from the loop.
    QElapsedTimer timer;
    timer.start();
    Strings::Load(1104);
    const qint64 firstUse = timer.nsecsElapsed();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    std::printf("first use (parsing both tables): %.1f us\n", firstUse / 1000.0);
    return 0;
}
