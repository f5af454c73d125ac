// The skill development window: filling it for a developed character on the
// sample rules database, and one rank purchase; then a character with
// thousands of sub-skills of one skill: filling and showing the window, one
// click on a node, and adding one more sub-skill.
#include "BenchPorts.h"
#include "character/CharacterSamples.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "platform/Strings.h"
#include "skilldev/frmSkillDev.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>
#include <QTreeWidget>
#include <benchmark/benchmark.h>

namespace {

bench::CountingPorts g_ports;

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

// The skill that takes sub-skills ("Métier (au choix)" in the sample rules).
constexpr qint32 kCraft = 48;

// Character 2: one of the sample rules with its adolescence ranks and `count`
// sub-skills of the craft skill; made again only when the count changes.
void SubSkillCharacter(int count)
{
    Setup();
    static int made = -1;
    if (made == count)
        return;
    made = count;
    while (ModGeneral::PlayerCount < 2)
        ModGeneral::RedimPlayer();
    Personnage &p = ModGeneral::Players(2);
    p = Personnage();
    samples::ofSampleRules(p, QStringLiteral("Brune"), 11, 2);
    samples::sampleStats(p);
    p.Adolescence();
    samples::subSkills(p, kCraft, count);
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

// Filling the window of a character with many sub-skills and showing it, as
// the toolbar's Skill button does. "errors" counts the error boxes: a build
// that stops half-way is not a fast one.
static void BM_SkillWindowSubSkills(benchmark::State &state)
{
    SubSkillCharacter(int(state.range(0)));
    g_ports.errors = 0;
    int rows = 0, children = 0;
    for (auto _ : state) {
        frmSkillDev w;
        w.setTag(QStringLiteral("2"));
        w.LoadData();
        w.show();
        QCoreApplication::processEvents();
        rows = w.grdSkill->rowCount();
        if (QTreeWidgetItem *skill = w.NodeByKey(QStringLiteral("SK0/%1").arg(kCraft)))
            children = skill->childCount();
    }
    state.counters["rows"] = rows;
    state.counters["subskills"] = children;
    state.counters["errors"] = g_ports.errors;
}
BENCHMARK(BM_SkillWindowSubSkills)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMillisecond);

// The window of the character with `count` sub-skills, and the node of its
// last one; none, and the benchmark skipped, when the window has no such node.
static QTreeWidgetItem *LastSubSkillNode(frmSkillDev &w, int count, benchmark::State &state)
{
    SubSkillCharacter(count);
    g_ports.errors = 0;
    w.setTag(QStringLiteral("2"));
    w.LoadData();
    QTreeWidgetItem *node = w.NodeByKey(QStringLiteral("SS%1/%2").arg(count).arg(kCraft));
    if (!node) {
        state.SkipWithError("the last sub-skill has no node");
        for (auto _ : state) {
        }
    }
    return node;
}

// A click on the last sub-skill of that character: both panels are shown.
static void BM_SubSkillNodeClick(benchmark::State &state)
{
    const int count = int(state.range(0));
    frmSkillDev w;
    QTreeWidgetItem *node = LastSubSkillNode(w, count, state);
    if (!node)
        return;
    for (auto _ : state)
        w.trvSkillCategorie_NodeClick(node);
    state.counters["rank"] = w.labRankSkill->text().toInt();
    state.counters["errors"] = g_ports.errors;
}
BENCHMARK(BM_SubSkillNodeClick)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMicrosecond);

// Adding a sub-skill to that character (and, untimed, taking it off again):
// the record looks over every row for a free one and a number its skill has
// not used.
static void BM_AddSubSkill(benchmark::State &state)
{
    const int count = int(state.range(0));
    SubSkillCharacter(count);
    Personnage &p = ModGeneral::Players(2);
    auto &cells = PersonnageAccess::SubSkills(p);
    qint32 row = 0;
    for (auto _ : state) {
        row = p.AddSubSkills(kCraft, QStringLiteral("Vannerie"), 0);
        state.PauseTiming();
        for (int f = 0; f < cells.fields() && row > 0; ++f)
            cells(f, row) = QString();
        state.ResumeTiming();
    }
    state.counters["row"] = row;
    state.counters["errors"] = g_ports.errors;
}
BENCHMARK(BM_AddSubSkill)->Arg(1000)->Arg(32766)->Unit(benchmark::kMicrosecond);

// Enter in the special bonus box of that last sub-skill: what the record
// takes is checked against every total built on it.
static void BM_StoreSubSkillSpecialBonus(benchmark::State &state)
{
    const int count = int(state.range(0));
    frmSkillDev w;
    QTreeWidgetItem *node = LastSubSkillNode(w, count, state);
    if (!node)
        return;
    w.trvSkillCategorie_NodeClick(node);
    int k = 0;
    for (auto _ : state) {
        w.labBonusSkill[3]->setText(QString::number(++k % 7));
        w.labBonusSkill_KeyPress(3, 13);
    }
    state.counters["total"] = w.labBonusSkill[4]->text().toInt();
    state.counters["errors"] = g_ports.errors;
}
BENCHMARK(BM_StoreSubSkillSpecialBonus)->Arg(1000)->Arg(8000)->Arg(32767)->Unit(benchmark::kMicrosecond);

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ports::install(&g_ports);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ports::install(nullptr);
    return 0;
}
