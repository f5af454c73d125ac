// The skill development window: filling it for a developed character on the
// sample rules database, and one rank purchase.
#include "character/CharacterSamples.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "skilldev/frmSkillDev.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

void Setup()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    Strings::setLanguage(Strings::Language::French);
    ModGeneral::ResetSharedState();
    ModGeneral::MasterPath = ModGeneral::AppFolder() + QStringLiteral("/master.dat");
    ModGeneral::PlayerPath = ModGeneral::AppFolder() + QStringLiteral("/player.dat");
    ModGeneral::OpenDB();
    ModGeneral::DataLanguage = 5000;
    ModGeneral::RedimPlayer();
    Personnage &p = ModGeneral::Players(1);
    samples::develop(p);
    // A character of the sample rules: its culture, race, profession and realm.
    p.Culture_ID = 1;
    p.Race_ID = 1;
    p.Profession_ID = 11;
    p.Royaume_ID = 2;
}

} // namespace

static void BM_LoadData(benchmark::State &state)
{
    Setup();
    frmSkillDev w;
    w.setTag(QStringLiteral("1"));
    for (auto _ : state) {
        w.LoadData();
        benchmark::DoNotOptimize(w.NodeCount());
    }
    state.counters["nodes"] = w.NodeCount();
    state.counters["rows"] = w.SkillRowCount;
}
BENCHMARK(BM_LoadData)->Unit(benchmark::kMillisecond);

static void BM_NewWindowAndLoadData(benchmark::State &state)
{
    Setup();
    for (auto _ : state) {
        frmSkillDev w;
        w.setTag(QStringLiteral("1"));
        w.LoadData();
        benchmark::DoNotOptimize(w.NodeCount());
    }
}
BENCHMARK(BM_NewWindowAndLoadData)->Unit(benchmark::kMillisecond);

// One purchase: ticking the first rank box of a skill (and, untimed, giving it back).
static void BM_RankPurchase(benchmark::State &state)
{
    Setup();
    frmSkillDev w;
    w.setTag(QStringLiteral("1"));
    w.LoadData();
    w.trvSkillCategorie_NodeClick(w.NodeByKey(QStringLiteral("SK0/81")));
    w.labPD->setText(QStringLiteral("1000"));
    for (auto _ : state) {
        w.chkSkill[0]->click();
        state.PauseTiming();
        w.chkSkill[0]->click();
        state.ResumeTiming();
    }
    state.counters["points"] = w.labPD->text().toInt();
}
BENCHMARK(BM_RankPurchase)->Unit(benchmark::kMicrosecond);

// Showing a node in the panels (each click on the tree).
static void BM_ShowSkill(benchmark::State &state)
{
    Setup();
    frmSkillDev w;
    w.setTag(QStringLiteral("1"));
    w.LoadData();
    QTreeWidgetItem *node = w.NodeByKey(QStringLiteral("SW8/227"));
    for (auto _ : state)
        w.trvSkillCategorie_NodeClick(node);
}
BENCHMARK(BM_ShowSkill)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
