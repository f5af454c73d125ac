// The record's transfers on the sample rules database beside the program:
// a new character's adolescence ranks, and the rank transfer of a stage of 40
// purchases.
#include "character/Personnage.h"
#include "frame/ModGeneral.h"
#include "platform/dao.h"
#include "platform/ports.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

#include "BenchPorts.h"
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

bench::CountingPorts g_ports;

struct Purchase {
    qint32 kind, id, key, ranks;
};

// 40 purchases over every kind of rank table, on elements of the sample rules.
std::vector<Purchase> stageOf40()
{
    std::vector<Purchase> out;
    ModGeneral::Sql = QStringLiteral("SELECT * FROM Skills ORDER BY Skill_ID");
    dao::Recordset skills = ModGeneral::DbMaster.OpenRecordset(ModGeneral::Sql, 2);
    std::vector<qint32> skillIds;
    for (skills.MoveFirst(); !skills.Eof() && skillIds.size() < 24; skills.MoveNext()) {
        const qint32 id = skills.Value(QStringLiteral("Skill_ID")).toInt();
        if (id != 32 && id != 33 && (id < 226 || id > 232))
            skillIds.push_back(id);
    }
    for (int c = 1; c <= 10; ++c)
        out.push_back({1, c, 0, 2});
    for (size_t i = 0; i < 20 && i < skillIds.size(); ++i)
        out.push_back({2, skillIds[i], 0, 1 + static_cast<qint32>(i % 3)});
    for (int l = 1; l <= 5; ++l)
        out.push_back({4, 32 + (l & 1), l, 2});
    for (int w = 1; w <= 3; ++w)
        out.push_back({5, 226, w, 1});
    out.push_back({6, 166, 1, 2});
    out.push_back({6, 166, 2, 1});
    return out;
}

void BM_Adolescence(benchmark::State &state)
{
    for (auto _ : state) {
        Personnage p;
        p.Culture_ID = 1;
        p.Profession_ID = 1;
        p.Adolescence();
        benchmark::DoNotOptimize(p.NbSkill);
    }
    if (g_ports.errors)
        state.SkipWithError("the adolescence ranks reported an error");
}
BENCHMARK(BM_Adolescence)->Unit(benchmark::kMillisecond);

void BM_TranferRank40(benchmark::State &state)
{
    const std::vector<Purchase> stage = stageOf40();
    if (stage.size() != 40) {
        state.SkipWithError("the sample rules have too few skills");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        Personnage p;
        p.Culture_ID = 1;
        p.Profession_ID = 1;
        for (const Purchase &b : stage)
            p.AddDevelopment(b.kind, b.id, b.key, b.ranks, 0);
        state.ResumeTiming();
        benchmark::DoNotOptimize(p.TranferRank());
    }
    if (g_ports.errors)
        state.SkipWithError("the rank transfer reported an error");
}
BENCHMARK(BM_TranferRank40)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    ports::install(&g_ports);
    dao::OpenOptions options;
    options.readOnly = true;
    options.cacheRows = qEnvironmentVariableIsEmpty("QV_NO_ROW_CACHE");
    try {
        ModGeneral::DbMaster = dao::Workspace().OpenDatabase(ModGeneral::AppFolder() + QStringLiteral("/master.dat"), options);
    } catch (...) {
        std::fprintf(stderr, "cannot open master.dat beside the benchmark\n");
        return 1;
    }
    ModGeneral::DataLanguage = 5000;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
