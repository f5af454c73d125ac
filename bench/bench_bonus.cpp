// Bonus totals of a developed character on the sample rules: every skill and
// every category together (one sheet or skill-page refresh), and the nine
// resistances (one resistances panel).
#include "BenchRules.h"
#include "character/Personnage.h"
#include "character/PersonnageAccess.h"
#include "frame/ModGeneral.h"
#include "platform/dao.h"
#include "platform/ports.h"
#include "platform/vb.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include "BenchPorts.h"

#include <cstdio>
#include <vector>

namespace {

bench::CountingPorts g_ports;
std::vector<qint32> g_categories;
std::vector<qint32> g_skills;

std::vector<qint32> ids(const char *table, const char *column)
{
    std::vector<qint32> out;
    dao::Recordset rs = ModGeneral::DbMaster.OpenRecordset(QString::fromLatin1(table));
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        out.push_back(vb::CLng(rs.Value(QString::fromLatin1(column))));
    rs.Close();
    return out;
}

// A character several levels in: a rank row for every category and skill of
// the rules, some of them with special bonuses.
Personnage &developed()
{
    static Personnage p;
    static bool made = false;
    if (made)
        return p;
    made = true;
    p.Race_ID = 5;
    p.Royaume_ID = 2;
    const qint16 values[10] = {72, 65, 90, 88, 81, 95, 77, 60, 84, 55};
    for (qint16 s = 0; s <= 9; ++s) {
        p.AddStat(0, s, values[s]);
        p.AddStat(2, s, qint16(s % 3));
    }
    for (qint16 k = 1; k <= 9; ++k)
        p.AddResistanceSpecial(k, qint16(k % 4));
    qint16 row = 0;
    for (qint32 cat : g_categories) {
        if (row > p.NbSkillCat)
            break;
        p.AddSkill(Personnage::fId, row, RankKind::SkillCategory, qint16(cat));
        p.AddSkill(Personnage::fRank, row, RankKind::SkillCategory, qint16(row % 12));
        p.AddSkill(Personnage::fSpecial2, row, RankKind::SkillCategory, qint16(row % 3));
        ++row;
    }
    while (p.NbSkill < qint32(g_skills.size()))
        PersonnageAccess::RedimSkill(p);
    row = 0;
    for (qint32 skill : g_skills) {
        p.AddSkill(Personnage::fId, row, RankKind::Skill, qint16(skill));
        p.AddSkill(Personnage::fRank, row, RankKind::Skill, qint16(row % 15));
        p.AddSkill(Personnage::fSpecial1, row, RankKind::Skill, qint16(row % 4));
        ++row;
    }
    return p;
}

void BM_AllSkillAndCategoryTotals(benchmark::State &state)
{
    Personnage &p = developed();
    g_ports.errors = 0;
    for (auto _ : state) {
        int sum = 0;
        for (qint32 skill : g_skills)
            sum += p.TotalSkillBonus(skill, 0, RankKind::Skill);
        for (qint32 cat : g_categories)
            sum += p.TotalSkillCatBonus(cat);
        benchmark::DoNotOptimize(sum);
    }
    state.counters["skills"] = double(g_skills.size());
    state.counters["categories"] = double(g_categories.size());
    if (g_ports.errors)
        state.SkipWithError("error boxes were shown");
}
BENCHMARK(BM_AllSkillAndCategoryTotals)->Unit(benchmark::kMillisecond);

void BM_NineResistances(benchmark::State &state)
{
    Personnage &p = developed();
    g_ports.errors = 0;
    for (auto _ : state) {
        int sum = 0;
        for (qint16 kind = 1; kind <= 9; ++kind)
            sum += p.TotalResistanceBonus(kind);
        benchmark::DoNotOptimize(sum);
    }
    if (g_ports.errors)
        state.SkipWithError("error boxes were shown");
}
BENCHMARK(BM_NineResistances)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ports::install(&g_ports);
    bench::OpenSampleRules();
    g_categories = ids("Skill Category", "Skill_Category_ID");
    g_skills = ids("Skills", "Skill_ID");

    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
