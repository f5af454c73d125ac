// File > Open of a character file: the file read and checked, then the
// character sheet filled and shown, on the sample rules database.
#include "BenchRules.h"
#include "character/CharacterFile.h"
#include "character/CharacterFileTestSupport.h"
#include "character/CharacterSamples.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "mainwindow/QtPorts.h"
#include "platform/Strings.h"
#include "platform/dao.h"
#include "sheet/frmGeneral.h"

#include <QApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// A figure measured past an error box would time the failure, not the open.
class NoErrorBoxes : public QtPorts {
public:
    void ErrorBox(const QString &text, const QString &) override
    {
        std::fprintf(stderr, "error box: %s\n", qPrintable(text));
        std::abort();
    }
};

QTemporaryDir *folder;

void Exec(sqlite3 *db, const QByteArray &sql)
{
    char *err = nullptr;
    if (sqlite3_exec(db, sql.constData(), nullptr, nullptr, &err) != SQLITE_OK) {
        std::fprintf(stderr, "%s\n", err ? err : "sql");
        std::abort();
    }
}

// The largest file the caps let through: the one row of General and the three
// fixed tables as the program writes them, every other table at its row cap, the four texts of the
// character at the text cap (one unbroken word, the slowest to lay out), and
// sub-skill names as long as the size cap leaves room for.
QString LargestFile()
{
    const QString path = folder->filePath(QStringLiteral("largest.pja"));
    if (QFile::exists(path))
        return path;
    Personnage p;
    samples::develop(p);
    const auto build = [&](int nameLength) {
        p.FileName = path;
        if (!p.SaveP())
            std::abort();
        sqlite3 *db = nullptr;
        sqlite3_open(QFile::encodeName(path).constData(), &db);
        const QByteArray rows = QByteArray::number(character::MaxTableRows);
        const QByteArray text = QByteArray::number(character::MaxTextLength);
        const QByteArray k = "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < " + rows + ") ";
        // Accented: two bytes a character, as French names are.
        const auto fill = [](const QByteArray &n) { return "printf('%.*c', " + n + ", 'é')"; };
        Exec(db, "BEGIN;"
                 "DELETE FROM \"General\"; DELETE FROM \"Stats\"; DELETE FROM \"Categorie Weapon\";"
                 "DELETE FROM \"Resistance Special\"; DELETE FROM \"Skill Categorie\"; DELETE FROM \"Skill\";"
                 "DELETE FROM \"SubSkills\"; DELETE FROM \"Language Skills\"; DELETE FROM \"Weapon Skills\";"
                 "DELETE FROM \"Spell Skills\";"
                 + k + "INSERT INTO \"General\" SELECT 'n', 1, 1, 1, 5, -1, 61.5, 1.72, 23, 'h', 'y', 187654, 50, 0,"
                       " 123456, 'h', 2, 11, 3 FROM k WHERE i = 1;"
                 "UPDATE \"General\" SET Nom = " + fill(text) + ", Cheveux = " + fill(text) + ", Yeux = " + fill(text)
                 + ", Historique = " + fill(text) + " WHERE rowid = 1;"
                 + k + "INSERT INTO \"Stats\" SELECT i - 1, 50 + i % 40, 90, i % 7 - 3 FROM k WHERE i <= 10;"
                 + k + "INSERT INTO \"Categorie Weapon\" SELECT i - 1, 48 + i FROM k WHERE i <= 7;"
                 + k + "INSERT INTO \"Resistance Special\" SELECT i, i % 5 FROM k WHERE i <= 9;"
                 + k + "INSERT INTO \"Skill Categorie\" SELECT i, i % 20, 1, -1 FROM k;"
                 + k + "INSERT INTO \"Skill\" SELECT i, i % 20, 1, -1 FROM k;"
                 + k + "INSERT INTO \"SubSkills\" SELECT i, i % 20, '0', '-1', i, "
                 + fill(QByteArray::number(nameLength)) + " FROM k;"
                 + k + "INSERT INTO \"Language Skills\" SELECT i, i % 20, 0, 1, i FROM k;"
                 + k + "INSERT INTO \"Weapon Skills\" SELECT i, i % 20, 0, 1, i FROM k;"
                 + k + "INSERT INTO \"Spell Skills\" SELECT i, i % 20, 0, 1, i FROM k;"
                 "COMMIT; VACUUM;");
        sqlite3_close(db);
        return QFileInfo(path).size();
    };
    // Names grow until the file would pass the size cap.
    int length = 1;
    const qint64 base = build(length);
    length = int((character::MaxFileBytes - base) / character::MaxTableRows / 2);
    while (build(length) > character::MaxFileBytes)
        length -= 4;
    return path;
}

// A character well into its career, as most files are.
QString TypicalFile()
{
    const QString path = folder->filePath(QStringLiteral("typical.pja"));
    Personnage p;
    samples::develop(p);
    p.FileName = path;
    if (!p.SaveP())
        std::abort();
    return path;
}

// What File > Open does: the file read into a fresh record, then the sheet
// filled and shown.
void OpenWithSheet(benchmark::State &state, const QString &path)
{
    state.counters["file MB"] = double(QFileInfo(path).size()) / 1e6;
    for (auto _ : state) {
        state.PauseTiming();
        bench::OpenSampleRules();
        ModGeneral::Players.clear();
        ModGeneral::PlayerCount = 1;
        ModGeneral::Players.resize(1);
        state.ResumeTiming();
        Personnage &p = ModGeneral::Players(1);
        p.FileName = path;
        if (!p.LoadP())
            std::abort();
        frmGeneral sheet;
        sheet.setTag(QStringLiteral("1"));
        sheet.LoadData();
        sheet.show();
        QApplication::processEvents();
    }
}

void BM_OpenTypicalFileWithSheet(benchmark::State &state) { OpenWithSheet(state, TypicalFile()); }
BENCHMARK(BM_OpenTypicalFileWithSheet)->Unit(benchmark::kMillisecond);

void BM_OpenLargestFileWithSheet(benchmark::State &state) { OpenWithSheet(state, LargestFile()); }
BENCHMARK(BM_OpenLargestFileWithSheet)->Unit(benchmark::kMillisecond)->Iterations(5);

// The reader alone on the largest file: what its checks cost, without the sheet.
void BM_LoadLargestFile(benchmark::State &state)
{
    const QString path = LargestFile();
    for (auto _ : state) {
        Personnage p;
        p.FileName = path;
        if (!p.LoadP())
            std::abort();
        benchmark::DoNotOptimize(p.NbSubSkill);
    }
}
BENCHMARK(BM_LoadLargestFile)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quorvane"));
    Strings::setLanguage(Strings::Language::French);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    auto ports = std::make_unique<NoErrorBoxes>();
    ports::install(ports.get());
    filetest::useBuiltTemplate();
    QTemporaryDir dir;
    folder = &dir;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    ports::install(nullptr);
    ModGeneral::DbMaster.Close();
    return 0;
}
