// Saving and loading a developed character (60 categories, 200 skills,
// 20 sub-skills, 10 rows in each of the other rank tables); saving also the
// largest character a file holds (argument 1).
#include "character/CharacterFile.h"
#include "character/CharacterSamples.h"
#include "character/CharacterFileTestSupport.h"
#include "frame/DataFiles.h"
#include "platform/ports.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
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

// Every rank table at the most rows a file holds, every text of the
// record at the most characters.
void largest(Personnage &p)
{
    samples::develop(p);
    const QString text(character::MaxTextLength, QLatin1Char('x'));
    p.Nom = p.Cheveux = p.Yeux = text;
    p.Historique = text;
    const qint32 rows = character::MaxTableRows;
    for (auto *cells : {&PersonnageAccess::SkillCat(p), &PersonnageAccess::Skill(p)}) {
        cells->redim(rows - 1);
        for (qint32 r = 0; r < rows; ++r) {
            (*cells)(Personnage::fId, r) = r + 1;
            (*cells)(Personnage::fRank, r) = r % 30;
        }
    }
    auto &sub = PersonnageAccess::SubSkills(p);
    sub.redim(rows);
    for (qint32 r = 1; r <= rows; ++r) {
        sub(Personnage::fId, r) = QStringLiteral("300");
        sub(Personnage::fRank, r) = QStringLiteral("1");
        sub(Personnage::fItem, r) = sub(Personnage::fSpecial, r) = QStringLiteral("0");
        sub(Personnage::fKey, r) = QString::number(r);
        sub(Personnage::fSubSkillName, r) = QStringLiteral("Spécialité n°%1").arg(r);
    }
    for (auto *cells : {&PersonnageAccess::LanguageSkills(p), &PersonnageAccess::WeaponSkills(p),
                        &PersonnageAccess::SpellSkills(p)}) {
        cells->redim(rows);
        for (qint32 r = 1; r <= rows; ++r) {
            (*cells)(Personnage::fId, r) = 1 + r % 100;
            (*cells)(Personnage::fRank, r) = r % 30;
            (*cells)(Personnage::fKey, r) = r;
        }
    }
}

void BM_SaveP(benchmark::State &state)
{
    Personnage p;
    if (state.range(0) == 0)
        samples::develop(p);
    else
        largest(p);
    p.FileName = folder->filePath(QStringLiteral("bench.pja"));
    for (auto _ : state)
        p.SaveP();
    state.counters["bytes"] = double(QFileInfo(p.FileName).size());
}
BENCHMARK(BM_SaveP)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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

// The check of the empty character file that start-up makes: two copies that
// differ only in the engine's change counter, taken in turn, so that no
// result of an earlier check serves.
void BM_CheckTemplate(benchmark::State &state)
{
    const QString a = folder->filePath(QStringLiteral("a.dat"));
    const QString b = folder->filePath(QStringLiteral("b.dat"));
    QFile::copy(ModGeneral::PlayerPath, a);
    QFile::copy(ModGeneral::PlayerPath, b);
    QFile changed(b);
    if (changed.open(QIODevice::ReadWrite) && changed.seek(24))
        changed.write("\x7f", 1);
    changed.close();
    bool first = false;
    for (auto _ : state)
        datafiles::CheckTemplate((first = !first) ? a : b);
}
BENCHMARK(BM_CheckTemplate)->Unit(benchmark::kMillisecond);

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
