// Saving and loading a developed character (60 categories, 200 skills,
// 20 sub-skills, 10 rows in each of the other rank tables).
#include "character/CharacterSamples.h"
#include "character/CharacterFileTestSupport.h"
#include "platform/ports.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

// Benchmarks expect no error box; one would mean the figures measure a failure.
class FailOnBoxes : public ports::UserPorts {
public:
    int MsgBox(const QString &, int, const QString &) override { return fail(); }
    QString InputBox(const QString &, const QString &, const QString &) override { return fail(), QString(); }
    QString OpenFileName(const QString &, const QString &, const QString &) override { return fail(), QString(); }
    QString SaveFileName(const QString &, const QString &, const QString &, const QString &) override
    {
        return fail(), QString();
    }
    bool PrintDialog() override { return fail(); }
    void ErrorBox(const QString &text, const QString &) override
    {
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
        std::abort();
    }
    void ProgressShow(const QString &, const QString &, int) override {}
    void ProgressValue(int) override {}
    void ProgressClose() override {}
    qint32 ChooseOne(int, qint32, const std::vector<ports::ChooserItem> &) override { return fail(); }
    std::vector<int> ChooseStatGains(int, const std::vector<int> &, int) override { return fail(), std::vector<int>(); }

private:
    static int fail()
    {
        std::fprintf(stderr, "unexpected question to the user\n");
        std::abort();
    }
};

QTemporaryDir *folder;

void BM_SaveP(benchmark::State &state)
{
    Personnage p;
    samples::develop(p);
    p.FileName = folder->filePath(QStringLiteral("bench.pja"));
    for (auto _ : state)
        p.SaveP();
}
BENCHMARK(BM_SaveP)->Unit(benchmark::kMillisecond);

void BM_LoadP(benchmark::State &state)
{
    Personnage source;
    samples::develop(source);
    source.FileName = folder->filePath(QStringLiteral("load.pja"));
    source.SaveP();
    for (auto _ : state) {
        Personnage p;
        p.FileName = source.FileName;
        p.LoadP();
        benchmark::DoNotOptimize(p.NbSkill);
    }
}
BENCHMARK(BM_LoadP)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    FailOnBoxes boxes;
    ports::install(&boxes);
    filetest::useBuiltTemplate();
    QTemporaryDir dir;
    folder = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
