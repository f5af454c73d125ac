#include "frame/Dice.h"
#include "platform/vb.h"

#include <benchmark/benchmark.h>

static void BM_Val(benchmark::State &state)
{
    const QString text = QStringLiteral(" 1 500.25e1 ");
    for (auto _ : state)
        benchmark::DoNotOptimize(vb::Val(text));
}
BENCHMARK(BM_Val);

static void BM_CIntText(benchmark::State &state)
{
    const QString text = QStringLiteral("  1234 ");
    for (auto _ : state)
        benchmark::DoNotOptimize(vb::CInt(text));
}
BENCHMARK(BM_CIntText);

static void BM_OpenEndedRoll(benchmark::State &state)
{
    Dice::setSeed(1);
    for (auto _ : state)
        benchmark::DoNotOptimize(JetDe(101));
}
BENCHMARK(BM_OpenEndedRoll);

BENCHMARK_MAIN();
