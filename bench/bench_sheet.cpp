// Filling the character sheet of a developed character on the sample rules
// database, with the real progress window.
//
//   bench_sheet                      run the benchmarks
//   bench_sheet --shot=sheet.png     save a picture of the filled sheet and stop
#include "BenchRules.h"
#include "character/CharacterFile.h"
#include "character/CharacterSamples.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "mainwindow/QtPorts.h"
#include "platform/Strings.h"
#include "platform/dao.h"
#include "sheet/frmGeneral.h"

#include <QApplication>
#include <QLineEdit>
#include <QPixmap>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

void MakeCharacter()
{
    ModGeneral::Players.clear();
    ModGeneral::Players.resize(1);
    ModGeneral::PlayerCount = 1;
    Personnage &p = ModGeneral::Players(1);
    samples::develop(p);
    // Choices the sample rules hold, so that every figure shows.
    p.Bouclier = 3;
    p.Casque = 11;
}

// A sheet loaded again, as the skill development window does after each stage.
void BM_ReloadSheet(benchmark::State &state)
{
    bench::OpenSampleRules();
    MakeCharacter();
    frmGeneral sheet;
    sheet.setTag(QStringLiteral("1"));
    sheet.LoadData();
    for (auto _ : state)
        sheet.LoadData();
}
BENCHMARK(BM_ReloadSheet)->Unit(benchmark::kMillisecond);

// A new sheet on a rules database just opened: nothing read yet.
void BM_FirstLoadOfANewSheet(benchmark::State &state)
{
    MakeCharacter();
    for (auto _ : state) {
        state.PauseTiming();
        bench::OpenSampleRules();
        state.ResumeTiming();
        frmGeneral sheet;
        sheet.setTag(QStringLiteral("1"));
        sheet.LoadData();
    }
}
BENCHMARK(BM_FirstLoadOfANewSheet)->Unit(benchmark::kMillisecond);

// A keystroke in a statistic's special bonus box: what the record takes is
// checked against every total built on it. The argument adds sub-skills.
void BM_KeystrokeInASpecialBonus(benchmark::State &state)
{
    bench::OpenSampleRules();
    MakeCharacter();
    Personnage &p = ModGeneral::Players(1);
    // No more than a character file holds, the sub-skills the character has already counted.
    int held = 0;
    for (qint32 r = 1; r <= p.NbSubSkill; ++r)
        held += p.DirSubSkills(Personnage::fId, r).isEmpty() ? 0 : 1;
    const int adding = std::min<int>(int(state.range(0)), character::MaxTableRows - held);
    for (int i = 0; i < adding; ++i)
        p.AddSubSkills(48, QStringLiteral("Lame n°%1").arg(i), 4);
    frmGeneral sheet;
    sheet.setTag(QStringLiteral("1"));
    sheet.LoadData();
    QLineEdit *box = sheet.Stat_ID[9][4];
    for (auto _ : state) {
        box->setText(QStringLiteral("12"));
        box->setText(QStringLiteral("5"));
    }
    state.SetItemsProcessed(2 * state.iterations());
}
BENCHMARK(BM_KeystrokeInASpecialBonus)->Arg(0)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond);

int Shot(const char *path)
{
    bench::OpenSampleRules();
    MakeCharacter();
    frmGeneral sheet;
    sheet.setTag(QStringLiteral("1"));
    sheet.LoadData();
    sheet.resize(sheet.findChild<QWidget *>(QStringLiteral("pageSheet"))->size() + QSize(4, 4));
    sheet.show();
    QApplication::processEvents();
    return sheet.grab().save(QString::fromLocal8Bit(path)) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    Strings::setLanguage(Strings::Language::French);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto ports = std::make_unique<QtPorts>();
    ports::install(ports.get());

    int rc = 0;
    if (argc > 1 && std::strncmp(argv[1], "--shot=", 7) == 0) {
        rc = Shot(argv[1] + 7);
    } else {
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
    }
    ports::install(nullptr);
    ModGeneral::DbMaster.Close();
    return rc;
}
