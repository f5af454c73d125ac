// Costs of the rules lookups and of the log-on at start-up.
//   bench_dao            (from build/bin, beside mind.dat)
#include "platform/Collation.h"
#include "platform/dao.h"
#include "platform/vb.h"


#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sqlite3.h>

namespace {

QString g_rules;

// A 300-row table of skills in a read-only rules file.
void makeRules(const QString &path)
{
    sqlite3 *db = nullptr;
    sqlite3_open(QFile::encodeName(path).constData(), &db);
    platform::registerCollations(db);
    QByteArray sql = "CREATE TABLE Skills(Skill_ID INTEGER PRIMARY KEY, SkillEn TEXT, SkillFr TEXT COLLATE FOLD,"
                     " Skill_Category_ID INTEGER, Subdivision INTEGER, Restricted INTEGER, Stat_ID INTEGER); BEGIN;";
    for (int i = 1; i <= 300; ++i)
        sql += "INSERT INTO Skills VALUES(" + QByteArray::number(i) + ",'Skill " + QByteArray::number(i)
               + "','Compétence " + QByteArray::number(i) + "'," + QByteArray::number(i % 60) + ",0,0,"
               + QByteArray::number(i % 10 + 1) + ");";
    sql += "COMMIT;";
    sqlite3_exec(db, sql.constData(), nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

dao::Database openRules()
{
    dao::OpenOptions o;
    o.readOnly = true;
    o.cacheRows = true;
    return dao::Workspace().OpenDatabase(g_rules, o);
}

void BM_OpenAndFindById(benchmark::State &state)
{
    dao::Database db = openRules();
    db.OpenRecordset("Skills", dao::dbOpenDynaset).Close(); // the first read
    const int id = int(state.range(0));
    const QString criteria = QStringLiteral("Skill_ID LIKE('%1')").arg(id);
    for (auto _ : state) {
        dao::Recordset rs = db.OpenRecordset("Skills", dao::dbOpenDynaset);
        rs.FindFirst(criteria);
        benchmark::DoNotOptimize(rs.Value("SkillFr"));
        rs.Close();
    }
}
BENCHMARK(BM_OpenAndFindById)->Arg(1)->Arg(150)->Arg(300)->Unit(benchmark::kMicrosecond);

void BM_OpenAndFindUncached(benchmark::State &state)
{
    dao::OpenOptions o;
    o.readOnly = true;
    dao::Database db = dao::Workspace().OpenDatabase(g_rules, o);
    for (auto _ : state) {
        dao::Recordset rs = db.OpenRecordset("Skills", dao::dbOpenDynaset);
        rs.FindFirst("Skill_ID LIKE('150')");
        benchmark::DoNotOptimize(rs.Value("SkillFr"));
    }
}
BENCHMARK(BM_OpenAndFindUncached)->Unit(benchmark::kMicrosecond);

void BM_WalkWholeTable(benchmark::State &state)
{
    dao::Database db = openRules();
    for (auto _ : state) {
        int n = 0;
        for (dao::Recordset rs = db.OpenRecordset("Skills"); !rs.Eof(); rs.MoveNext())
            n += rs.Value("Skill_ID").toInt();
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(BM_WalkWholeTable)->Unit(benchmark::kMicrosecond);

// What OpenDB does: both log-ons and the read-only open of the rules file.
void BM_LogOnBothAccounts(benchmark::State &state)
{
    dao::DBEngine &e = dao::DBEngine::instance();
    e.SystemDB = QCoreApplication::applicationDirPath() + "/mind.dat";
    for (auto _ : state) {
        dao::Workspace m = e.CreateWorkspace("wsArea", "Lecteur", "qfw271");
        dao::Database db = m.OpenDatabase(g_rules, {true, false, true});
        dao::Workspace p = e.CreateWorkspace("wsAreaPalyer", "Player", "pLRtx8vqanhbzo");
        benchmark::DoNotOptimize(p);
    }
}
BENCHMARK(BM_LogOnBothAccounts)->Unit(benchmark::kMicrosecond);

// A character's rows written one Update at a time, as a save does.
void BM_AppendRows(benchmark::State &state)
{
    QTemporaryDir dir;
    int k = 0;
    for (auto _ : state) {
        dao::Database db = dao::Workspace().CreateDatabase(dir.filePath(QString::number(k++) + ".pja"));
        db.Execute("CREATE TABLE Skill(Skill_ID INTEGER, Rank INTEGER, Special1 INTEGER, Special2 INTEGER)");
        dao::Recordset rs = db.OpenRecordset("Skill");
        for (int i = 0; i < state.range(0); ++i) {
            rs.AddNew();
            rs.SetField("Skill_ID", i);
            rs.SetField("Rank", 2);
            rs.SetField("Special1", 0);
            rs.SetField("Special2", 0);
            rs.Update();
        }
        db.Close();
    }
}
BENCHMARK(BM_AppendRows)->Arg(200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    g_rules = dir.filePath("rules.dat");
    makeRules(g_rules);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
