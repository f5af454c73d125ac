// Reading the rules database through the readers' idiom, and building it.
//   ReadEveryTable/cold: every row and every field of the 31 tables, on a freshly
//                        opened database (nothing cached yet);
//   ReadEveryTable/warm: the same on the open database the program keeps;
//   BuildMasterDat:      the build step that turns the SQL text into master.dat.
#include "frame/ModGeneral.h"
#include "frame/Rules.h"

#include <benchmark/benchmark.h>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace {

const char *const kTables[] = {
    "Skills", "Skill Category", "Skill Bonus", "Skill Category DP Cost", "Stat", "Realms of Power",
    "Race Abilities", "Culture", "Profession", "Adolescences Rank", "Culture Languages", "Culture weapons",
    "Language", "Special Skills Culture", "Special Skills Profession & Bonus", "Weapons", "Weapons Type", "List",
    "Base List", "Talents", "Talents Bonus", "Flaws", "Flaws Bonus", "Talents Cost", "Special Items",
    "Training Package", "Training Package DP Cost", "Training Skill Ranks", "Training special",
    "Armor Modification", "Shield"};

QString masterPath() { return QDir(QCoreApplication::applicationDirPath()).filePath("master.dat"); }

dao::Database openMaster()
{
    dao::OpenOptions o;
    o.readOnly = true;
    o.cacheRows = true;
    return dao::Workspace().OpenDatabase(masterPath(), o);
}

qint64 readAll()
{
    qint64 fields = 0;
    for (const char *table : kTables) {
        dao::Recordset rs = rules::Open(table);
        const int n = rs.FieldCount();
        QStringList names;
        for (int i = 0; i < n; ++i)
            names << rs.FieldName(i);
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            for (const QString &name : names) {
                benchmark::DoNotOptimize(rs.Value(name));
                ++fields;
            }
        rs.Close();
    }
    return fields;
}

void ReadEveryTableCold(benchmark::State &state)
{
    for (auto _ : state) {
        ModGeneral::DbMaster = openMaster();
        benchmark::DoNotOptimize(readAll());
        ModGeneral::DbMaster.Close();
    }
}
BENCHMARK(ReadEveryTableCold)->Name("ReadEveryTable/cold")->Unit(benchmark::kMillisecond);

void ReadEveryTableWarm(benchmark::State &state)
{
    ModGeneral::DbMaster = openMaster();
    readAll();
    qint64 fields = 0;
    for (auto _ : state)
        fields = readAll();
    state.counters["fields"] = double(fields);
    ModGeneral::DbMaster.Close();
}
BENCHMARK(ReadEveryTableWarm)->Name("ReadEveryTable/warm")->Unit(benchmark::kMillisecond);

void BuildMasterDat(benchmark::State &state)
{
    const QString mkdat = QDir(QCoreApplication::applicationDirPath()).filePath("mkdat");
    QStringList args{QString()};
    const QDir rules(QStringLiteral(QV_RESOURCES_DIR "/rules"));
    for (const QString &f : rules.entryList({"*.sql"}, QDir::Files, QDir::Name))
        args << rules.filePath(f);
    QTemporaryDir tmp;
    args[0] = tmp.filePath("master.dat");
    for (auto _ : state) {
        const int rc = QProcess::execute(mkdat, args);
        if (rc != 0)
            state.SkipWithError("mkdat failed");
    }
}
BENCHMARK(BuildMasterDat)->Unit(benchmark::kMillisecond)->Iterations(10);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
