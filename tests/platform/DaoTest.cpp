#include "platform/dao.h"
#include "platform/vb.h"

#include "DaoTestSupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dao;
using daotest::makeDb;

namespace {

// Rows stored out of id order, with an index that a plain scan would follow.
const QByteArray kRaces = R"(
CREATE TABLE "Race Abilities"(Race_ID INTEGER, RaceFr TEXT, Body REAL, NoteFr TEXT, Portrait BLOB);
CREATE INDEX RaceByName ON "Race Abilities"(RaceFr, Race_ID);
INSERT INTO "Race Abilities" VALUES(32, 'Sylvain', 1.5, 'ok', x'0102');
INSERT INTO "Race Abilities" VALUES(3, 'Commun', 2, NULL, NULL);
INSERT INTO "Race Abilities" VALUES(132, 'Arpenteur', -0.25, 'Trois mots', NULL);
INSERT INTO "Race Abilities" VALUES(7, 'nain', 0, 'cinq', NULL);
CREATE TABLE Empty(Id INTEGER);
)";

class DaoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        path = dir.filePath("rules.dat");
        makeDb(path, kRaces);
    }
    Database open(OpenOptions o = {}) { return Workspace().OpenDatabase(path, o); }
    static QList<int> ids(Recordset rs, const char *col = "Race_ID")
    {
        QList<int> out;
        while (!rs.Eof()) {
            out << rs.Fields(col).Value().toInt();
            rs.MoveNext();
        }
        return out;
    }

    QTemporaryDir dir;
    QString path;
};

TEST_F(DaoTest, BareTableNameGivesEveryRowInStoredOrder)
{
    Database db = open();
    for (const char *name : {"Race Abilities", "Race abilities", "[race abilities]", " [Race Abilities] "})
        EXPECT_EQ(ids(db.OpenRecordset(name, dbOpenDynaset)), (QList<int>{32, 3, 132, 7})) << name;
    // A query without ORDER BY also comes back in stored order, not in the index's.
    EXPECT_EQ(ids(db.OpenRecordset("SELECT Race_ID FROM [Race Abilities] WHERE Race_ID > 0")), (QList<int>{32, 3, 132, 7}));
    EXPECT_EQ(ids(db.OpenRecordset("SELECT * FROM [Race Abilities] ORDER BY Race_ID")), (QList<int>{3, 7, 32, 132}));
}

TEST_F(DaoTest, WalkingAndTheEndMarks)
{
    Database db = open();
    Recordset rs = db.OpenRecordset("Race Abilities");
    EXPECT_FALSE(rs.Eof());
    EXPECT_FALSE(rs.BOF());
    EXPECT_EQ(rs.RecordCount(), 4);
    EXPECT_EQ(rs.AbsolutePosition(), 0);
    EXPECT_DOUBLE_EQ(rs.PercentPosition(), 25.0);
    rs.MoveLast();
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 7);
    EXPECT_DOUBLE_EQ(rs.PercentPosition(), 100.0);
    rs.MoveNext();
    EXPECT_TRUE(rs.Eof());
    EXPECT_EQ(rs.AbsolutePosition(), -1);
    EXPECT_VB_ERROR(rs.Fields("Race_ID"), vb::ErrNoCurrentRecord);
    EXPECT_VB_ERROR(rs.MoveNext(), vb::ErrNoCurrentRecord); // past the end is an error, not a no-op
    rs.MovePrevious();
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 7);
    rs.MoveFirst();
    rs.MovePrevious();
    EXPECT_TRUE(rs.BOF());
    EXPECT_VB_ERROR(rs.MovePrevious(), vb::ErrNoCurrentRecord);
    rs.MoveNext();
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 32);

    Recordset none = db.OpenRecordset("Empty");
    EXPECT_TRUE(none.Eof());
    EXPECT_TRUE(none.BOF());
    EXPECT_EQ(none.RecordCount(), 0);
    EXPECT_DOUBLE_EQ(none.PercentPosition(), 0.0);
    EXPECT_VB_ERROR(none.MoveFirst(), vb::ErrNoCurrentRecord);
    EXPECT_VB_ERROR(none.MoveNext(), vb::ErrNoCurrentRecord);
    none.FindFirst("Id LIKE('1')");
    EXPECT_TRUE(none.NoMatch());

    rs.Close();
    EXPECT_FALSE(rs.isOpen());
    EXPECT_VB_ERROR(rs.MoveFirst(), 3420);
}

TEST_F(DaoTest, FieldValuesByName)
{
    Recordset rs = open().OpenRecordset("Race Abilities");
    EXPECT_EQ(rs.Fields("race_id").Value().typeId(), QMetaType::Int);
    EXPECT_EQ(rs.Fields("RACEFR").Name(), "RaceFr");
    EXPECT_EQ(rs.Value("RaceFr").toString(), "Sylvain");
    EXPECT_EQ(rs.Value("Body").typeId(), QMetaType::Double);
    EXPECT_EQ(rs.Value("Portrait").toByteArray(), QByteArray("\x01\x02", 2));
    EXPECT_EQ(rs["Race_ID"].Value().toInt(), 32);
    EXPECT_VB_ERROR(rs.Fields("Nope"), vb::ErrNotInCollection);
    rs.MoveNext();
    EXPECT_FALSE(rs.Value("NoteFr").isValid()); // NULL reads as empty
    EXPECT_TRUE(rs.Fields("NoteFr").isNull());
    EXPECT_EQ(rs.Value("Body").toDouble(), 2.0);
    EXPECT_EQ(rs.FieldCount(), 5);
    EXPECT_EQ(rs.FieldName(1), "RaceFr");
    EXPECT_TRUE(rs.HasField("notefr"));
}

TEST_F(DaoTest, FindFirstAndNoMatch)
{
    Recordset rs = open().OpenRecordset("Race Abilities");
    rs.FindFirst("Race_ID LIKE('3')");   // the text "3", not "32" nor "132"
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.Value("RaceFr").toString(), "Commun");
    rs.FindFirst("Race_ID LIKE(132)");   // the unquoted form
    EXPECT_EQ(rs.Value("RaceFr").toString(), "Arpenteur");
    rs.FindFirst("Race_ID LIKE('99')");
    EXPECT_TRUE(rs.NoMatch());
    EXPECT_EQ(rs.Value("RaceFr").toString(), "Arpenteur"); // position kept
    rs.FindFirst("Race_ID = 7");
    EXPECT_EQ(rs.Value("RaceFr").toString(), "nain");
    rs.FindFirst("RaceFr='NAIN'");       // text compares without case
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 7);
    rs.FindFirst("RaceFr LIKE('SYLVAIN')");   // and so does LIKE without a wildcard
    ASSERT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 32);
    rs.FindFirst("Race_ID LIKE('7') AND RaceFr LIKE('Sylvain')");
    EXPECT_TRUE(rs.NoMatch());
    rs.FindFirst("race_id LIKE('32') and [RaceFr] LIKE('sylv*')");
    EXPECT_FALSE(rs.NoMatch());
    EXPECT_EQ(rs.AbsolutePosition(), 0);
    rs.FindFirst("Race_ID LIKE('*3*')");  // wildcards find through the decimal text
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 32);
    rs.FindNext("Race_ID LIKE('*3*')");
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 3);
    rs.FindNext("Race_ID LIKE('*3*')");
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 132);
    rs.FindNext("Race_ID LIKE('*3*')");
    EXPECT_TRUE(rs.NoMatch());
    rs.FindFirst("Body LIKE('2')");       // a real number's text has no ".0"
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 3);
    rs.FindFirst("Body < 0 OR Race_ID = 7");
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 132);
    rs.FindFirst("NoteFr LIKE('*')");     // NULL matches no pattern
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 32);
    rs.FindFirst("NoteFr Is Null");
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 3);
    rs.FindFirst("NoteFr LIKE('Trois mots')");
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 132);

    rs.FindFirst("RaceFr LIKE('[a-c]?m*')");
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 3);
    rs.FindFirst("RaceFr LIKE('[!a-s]*')");
    EXPECT_TRUE(rs.NoMatch());
    rs.FindFirst("Body LIKE('-0.##')");
    EXPECT_EQ(rs.Value("Race_ID").toInt(), 132);

    EXPECT_VB_ERROR(rs.FindFirst("Nope LIKE('1')"), 3070);
    EXPECT_VB_ERROR(rs.FindFirst("Race_ID LIKE('1'"), vb::ErrSyntax);
    EXPECT_VB_ERROR(rs.FindFirst("Race_ID 5"), vb::ErrSyntax);
    EXPECT_VB_ERROR(rs.FindFirst(""), vb::ErrSyntax);
}

TEST_F(DaoTest, MissingTablesColumnsAndFiles)
{
    Database db = open();
    EXPECT_VB_ERROR(db.OpenRecordset("Races"), vb::ErrTableNotFound);
    EXPECT_VB_ERROR(db.OpenRecordset("SELECT * FROM Races"), vb::ErrTableNotFound);
    EXPECT_VB_ERROR(db.OpenRecordset("SELECT Nope FROM [Race Abilities]"), 3061);
    EXPECT_VB_ERROR(db.OpenRecordset("SELECT * FROM [Race Abilities] WHERE"), vb::ErrSyntax);
    EXPECT_VB_ERROR(db.OpenRecordset("Race Abilities", 99), 3001);

    Workspace ws;
    const QString missing = dir.filePath("missing.dat");
    EXPECT_VB_ERROR(ws.OpenDatabase(missing), vb::ErrCannotOpenFile);
    EXPECT_FALSE(QFile::exists(missing)); // opening never creates
    EXPECT_VB_ERROR(ws.OpenDatabase(dir.path()), vb::ErrCannotOpenFile);
    EXPECT_VB_ERROR(ws.OpenDatabase(QString()), vb::ErrCannotOpenFile);

    const QString text = dir.filePath("notes.pja");
    daotest::writeFile(text, QByteArray("Nom: Aldric\n").repeated(100));
    EXPECT_VB_ERROR(ws.OpenDatabase(text), vb::ErrNotADatabase);
    const QString empty = dir.filePath("empty.pja");
    daotest::writeFile(empty, {});
    EXPECT_VB_ERROR(ws.OpenDatabase(empty), vb::ErrNotADatabase);
    EXPECT_EQ(QFileInfo(empty).size(), 0);
    // A valid header on a file cut short of a page.
    const QString cut = dir.filePath("cut.pja");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    daotest::writeFile(cut, f.read(300));
    EXPECT_VB_ERROR(ws.OpenDatabase(cut), vb::ErrNotADatabase);

    Database closed = open();
    closed.Close();
    EXPECT_FALSE(closed.isOpen());
    EXPECT_VB_ERROR(closed.OpenRecordset("Race Abilities"), 91);
    EXPECT_VB_ERROR(Database().OpenRecordset("Race Abilities"), 91);
}

TEST_F(DaoTest, AddNewUpdateRoundTrip)
{
    Workspace ws;
    const QString file = dir.filePath("hero.pja");
    Database db = ws.CreateDatabase(file);
    EXPECT_VB_ERROR(ws.CreateDatabase(file), 3204);
    db.Execute("CREATE TABLE General(Nom TEXT NOT NULL, Sexe INTEGER, Poids REAL, Historique TEXT, Armure INTEGER DEFAULT 4);"
               "CREATE TABLE Stats(Stats_ID INTEGER PRIMARY KEY, temp INTEGER)");
    Recordset g = db.OpenRecordset("General", dbOpenDynaset);
    EXPECT_TRUE(g.Eof());
    EXPECT_VB_ERROR(g.Update(), vb::ErrUpdateWithoutAddNew);
    EXPECT_VB_ERROR(g.SetField("Nom", "x"), vb::ErrUpdateWithoutAddNew);
    g.AddNew();
    EXPECT_VB_ERROR(g.SetField("Nope", 1), vb::ErrNotInCollection);
    g.SetField("Nom", QString::fromUtf8("Éléonore d'Aubrac"));
    g.SetField("Sexe", true);
    g.SetField("Poids", 61.7f);
    g.SetField("Historique", QVariant());
    g.Update();
    EXPECT_EQ(g.RecordCount(), 1);
    EXPECT_TRUE(g.Eof()); // the current position is kept: the set was at its end
    g.MoveFirst();
    EXPECT_EQ(g.Value("Nom").toString(), QString::fromUtf8("Éléonore d'Aubrac"));
    EXPECT_EQ(g.Value("Sexe").toInt(), -1);
    EXPECT_EQ(g.Value("Poids").toFloat(), 61.7f);
    EXPECT_FALSE(g.Value("Historique").isValid());
    EXPECT_EQ(g.Value("Armure").toInt(), 4); // the column default, read back

    // A row the database refuses is reported and not added.
    g.AddNew();
    g.SetField("Sexe", false);
    EXPECT_VB_ERROR(g.Update(), 3314);
    g.CancelUpdate();
    EXPECT_EQ(g.RecordCount(), 1);

    Recordset s = db.OpenRecordset("Stats");
    Recordset other = db.OpenRecordset("Stats");
    for (int i = 0; i < 10; ++i) {
        s.AddNew();
        s.SetField("Stats_ID", i);
        s.SetField("temp", 90 - i);
        s.Update();
        DBEngine::instance().Idle();
    }
    EXPECT_EQ(s.RecordCount(), 10);
    EXPECT_EQ(other.RecordCount(), 0); // a recordset holds the rows it read
    s.AddNew();
    s.SetField("Stats_ID", 3);
    EXPECT_VB_ERROR(s.Update(), 3022);
    EXPECT_VB_ERROR(db.OpenRecordset("SELECT * FROM Stats").AddNew(), vb::ErrReadOnly);
    EXPECT_EQ(db.OpenRecordset("SELECT count(*) AS n FROM Stats").Value("n").toInt(), 10);
    db.Close();

    Database again = ws.OpenDatabase(file);
    Recordset back = again.OpenRecordset("Stats");
    QList<int> temps;
    for (; !back.Eof(); back.MoveNext())
        temps << back.Value("temp").toInt();
    EXPECT_EQ(temps, (QList<int>{90, 89, 88, 87, 86, 85, 84, 83, 82, 81}));
    EXPECT_EQ(again.OpenRecordset("General").Value("Nom").toString(), QString::fromUtf8("Éléonore d'Aubrac"));
}

TEST_F(DaoTest, RowsAddedBeforeAFailureAreKept)
{
    // A save that stops half-way drops its database without closing it: the
    // rows it had added are in the file once the last reference goes.
    const QString file = dir.filePath("half.pja");
    {
        Database db = Workspace().CreateDatabase(file);
        db.Execute("CREATE TABLE Skill(Skill_ID INTEGER NOT NULL)");
        Recordset rs = db.OpenRecordset("Skill");
        for (int i = 1; i <= 3; ++i) {
            rs.AddNew();
            rs.SetField("Skill_ID", i);
            rs.Update();
        }
        rs.AddNew();
        EXPECT_VB_ERROR(rs.Update(), 3314);
    }
    Database back = Workspace().OpenDatabase(file);
    EXPECT_EQ(back.OpenRecordset("Skill").RecordCount(), 3);

    // Execute after added rows sees them and keeps them.
    Recordset rs = back.OpenRecordset("Skill");
    rs.AddNew();
    rs.SetField("Skill_ID", 4);
    rs.Update();
    back.Execute("DELETE FROM Skill WHERE Skill_ID = 1");
    back.Close();
    EXPECT_EQ(Workspace().OpenDatabase(file).OpenRecordset("Skill").RecordCount(), 3);
}

TEST_F(DaoTest, ReadOnlyAndCachedRows)
{
    OpenOptions o;
    o.readOnly = true;
    o.cacheRows = true;
    Database db = open(o);
    Recordset a = db.OpenRecordset("Race Abilities");
    Recordset b = db.OpenRecordset("Race Abilities");
    a.MoveLast();
    EXPECT_EQ(b.Value("Race_ID").toInt(), 32); // shared rows, own position
    b.FindFirst("Race_ID LIKE('132')");
    EXPECT_EQ(a.Value("Race_ID").toInt(), 7);
    EXPECT_VB_ERROR(a.AddNew(), vb::ErrReadOnly);
    EXPECT_VB_ERROR(db.Execute("DELETE FROM [Race Abilities]"), vb::ErrReadOnly);
    EXPECT_EQ(db.OpenRecordset("Race Abilities").RecordCount(), 4);
}

TEST_F(DaoTest, FoldCollationOnEveryConnection)
{
    Database db = open();
    db.Execute("CREATE TABLE Names(N TEXT); INSERT INTO Names VALUES('nain'),('Émeraude'),('elfe'),('Zèbre'),('Arc')");
    QStringList got;
    for (Recordset rs = db.OpenRecordset("SELECT N FROM Names ORDER BY N COLLATE FOLD"); !rs.Eof(); rs.MoveNext())
        got << rs.Value("N").toString();
    EXPECT_EQ(got, (QStringList{"Arc", "elfe", "Émeraude", "nain", "Zèbre"}));
}

// ------------------------------------------------------------ untrusted files

class UntrustedOpen : public DaoTest {
protected:
    Database openUntrusted(const QString &p)
    {
        OpenOptions o;
        o.untrusted = true;
        return Workspace().OpenDatabase(p, o);
    }
};

TEST_F(UntrustedOpen, SoundFileOpensReadOnly)
{
    Database db = openUntrusted(path);
    EXPECT_EQ(db.OpenRecordset("Race Abilities").RecordCount(), 4);
    EXPECT_VB_ERROR(db.Execute("INSERT INTO Empty VALUES(1)"), vb::ErrReadOnly);
}

TEST_F(UntrustedOpen, RefusesCodeInTheFile)
{
    const QString trig = dir.filePath("trigger.pja");
    makeDb(trig, kRaces + "CREATE TABLE Log(x); CREATE TRIGGER t AFTER INSERT ON Empty BEGIN INSERT INTO Log VALUES(1); END;");
    EXPECT_VB_ERROR(openUntrusted(trig), vb::ErrNotADatabase);
    const QString view = dir.filePath("view.pja");
    makeDb(view, kRaces + "CREATE VIEW General AS SELECT * FROM Empty;");
    EXPECT_VB_ERROR(openUntrusted(view), vb::ErrNotADatabase);
    // The same files open normally when they are our own.
    EXPECT_NO_THROW(Workspace().OpenDatabase(view));
}

TEST_F(UntrustedOpen, RefusesDamagedPagesAndForeignHeaders)
{
    const QString big = dir.filePath("big.pja");
    QByteArray sql = kRaces + "CREATE TABLE Filler(a TEXT); BEGIN;";
    for (int i = 0; i < 400; ++i)
        sql += "INSERT INTO Filler VALUES('" + QByteArray::number(i) + QByteArray(60, 'x') + "');";
    sql += "COMMIT;";
    makeDb(big, sql);
    QFile f(big);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_GT(f.size(), 4096 * 4);
    // Into the cell pointers of a full leaf page of Filler, near the end of the file.
    f.seek(f.size() - 2 * 4096 + 8);
    f.write(QByteArray(2000, '\xff'));
    f.close();
    EXPECT_VB_ERROR(openUntrusted(big), 3049);

    const QString foreign = dir.filePath("foreign.pja");
    QFile src(path);
    ASSERT_TRUE(src.open(QIODevice::ReadOnly));
    QByteArray bytes = src.readAll();
    bytes.replace(0, 6, "SQLITE");
    daotest::writeFile(foreign, bytes);
    EXPECT_VB_ERROR(openUntrusted(foreign), vb::ErrNotADatabase);
    EXPECT_VB_ERROR(Workspace().OpenDatabase(foreign), vb::ErrNotADatabase);
}

// ------------------------------------------------------------ the readers' query texts

TEST(DaoQueries, EveryReaderTextRunsOnTheRulesSchema)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("q.dat");
    makeDb(path, daotest::fixture("dao_queries.sql"));
    OpenOptions o;
    o.readOnly = true;
    Database db = Workspace().OpenDatabase(path, o);

    struct Q {
        const char *sql;
        int rows; // -1: any number
    };
    const Q queries[] = {
        {"Stat", 4}, {"Profession", 2}, {"Race Abilities", 2}, {"Race abilities", 2}, {"Realms of Power", 2},
        {"Skill Category", 3}, {"Skills", 5}, {"Weapons", 2}, {"List", 4}, {"Talents", 1},
        {"SELECT Skill_Category_ID, Skill_CategoryFr as SkillCat From [Skill Category] Where (((Skill_Category_ID) >= 49 And (Skill_Category_ID) <= 55)) ORDER BY Skill_CategoryFr;", 2},
        {"SELECT Skill_Category_ID, Skill_CategoryEn as SkillCat From [Skill Category] Where (((Skill_Category_ID) >= 49 And (Skill_Category_ID) <= 55)) ORDER BY Skill_CategoryEn;", 2},
        {"SELECT * From Skills Where (((Skill_Category_ID) = 14)) ORDER BY Skills.SkillFr;", 3},
        {"SELECT * From Skills Where (((Skill_Category_ID) = 14)) ORDER BY Skills.SkillEn;", 3},
        {"SELECT * FROM [Skills] ORDER BY SkillFr", 5},
        {"SELECT * FROM [Skills] ORDER BY SkillEn", 5},
        {"SELECT * FROM [Special Skills Culture] WHERE Culture_ID= 1", 2},
        {"SELECT * FROM [Adolescences Rank] where Culture_ID= 1", 3},
        {"SELECT * FROM [Culture Languages] where Culture_ID= 1", 1},
        {"SELECT * FROM [Special Skills Profession & Bonus] where Profession_ID= 12", 1},
        {"SELECT * FROM [Special Skills Profession & Bonus] WHERE Profession_ID= 12", 1},
        {"SELECT * From [Talents Bonus] WHERE ((Talents_ID=4));", 1},
        {"SELECT * From [Flaws Bonus] WHERE ((Flaws_ID=4));", 1},
        {"SELECT * From [Training Package] WHERE ((Training_ID=7));", 1},
        {"SELECT * FROM [Training Skill Ranks] WHERE ((Training_ID=7));", 3},
        {"SELECT * From [Training special] WHERE ((Training_ID=7));", 1},
        {"SELECT * FROM Culture ORDER BY CultureFr", 2},
        {"SELECT * FROM [Race abilities] ORDER BY RaceEn", 2},
        {"SELECT * FROM [Race abilities] ORDER BY RaceFr", 2},
        {"SELECT NoteEn, NoteFr From [Race abilities] WHERE Race_ID = 2;", 1},
        {"SELECT [Adolescences Rank].Culture_ID, [Adolescences Rank].Skill_Category_ID, [Adolescences Rank].Rank, [Adolescences Rank].Choice, [Skill Category].Skill_CategoryEn as Skill_Category FROM [Skill Category] INNER JOIN [Adolescences Rank] ON [Skill Category].Skill_Category_ID = [Adolescences Rank].Skill_Category_ID WHERE ((([Adolescences Rank].Culture_ID)=1) AND (([Adolescences Rank].Skill_Category_ID)>0)) ORDER BY [Skill Category].Skill_CategoryEn;", 3},
        {"SELECT [Adolescences Rank].Culture_ID, [Adolescences Rank].Skill_Category_ID, [Adolescences Rank].Rank, [Adolescences Rank].Choice, [Skill Category].Skill_CategoryFr as Skill_Category FROM [Skill Category] INNER JOIN [Adolescences Rank] ON [Skill Category].Skill_Category_ID = [Adolescences Rank].Skill_Category_ID WHERE ((([Adolescences Rank].Culture_ID)=1) AND (([Adolescences Rank].Skill_Category_ID)>0)) ORDER BY [Skill Category].Skill_CategoryFr;", 3},
        {"SELECT [Adolescences Rank].Culture_ID, [Adolescences Rank].Skill_ID, [Adolescences Rank].Rank, [Adolescences Rank].Choice, Skills.SkillEn as Skill, Skills.Skill_Category_ID FROM Skills INNER JOIN [Adolescences Rank] ON Skills.Skill_ID = [Adolescences Rank].Skill_ID Where ((([Adolescences Rank].Culture_ID) =1) And (([Adolescences Rank].Skill_ID) > 0)) ORDER BY [Adolescences Rank].Choice, Skills.SkillEn;", 2},
        {"SELECT [Adolescences Rank].Culture_ID, [Adolescences Rank].Skill_ID, [Adolescences Rank].Rank, [Adolescences Rank].Choice,  Skills.SkillFr as Skill, Skills.Skill_Category_ID FROM Skills INNER JOIN [Adolescences Rank] ON Skills.Skill_ID = [Adolescences Rank].Skill_ID Where ((([Adolescences Rank].Culture_ID) =1) And (([Adolescences Rank].Skill_ID) > 0)) ORDER BY [Adolescences Rank].Choice, Skills.SkillFr;", 2},
        {"SELECT * FROM Profession WHERE SpellUsers_ID=4 and Realm_ID=5 ORDER BY ProfessionFr", 0},
        {"SELECT * FROM Profession WHERE SpellUsers_ID=4 and Realm_ID=7 ORDER BY ProfessionFr", 0},
        {"SELECT * FROM Profession WHERE SpellUsers_ID=4 and Realm_ID=2 ORDER BY ProfessionEn", 1},
        {"SELECT * FROM Profession WHERE SpellUsers_ID=3 ORDER BY ProfessionFr", 0},
        {"SELECT * FROM Profession WHERE SpellUsers_ID=2 ORDER BY ProfessionFr", 0},
        {"SELECT * FROM Profession WHERE SpellUsers_ID=1 OR SpellUsers_ID=0 ORDER BY ProfessionFr", 1},
        {"SELECT NoteEn, NoteFr From Profession WHERE Profession_ID  = 12;", 1},
        {"SELECT StatEn, StatFr From Stat, Profession WHERE Profession_ID = 12AND ( Stat_ID =Stat_ID1  or Stat_ID = Stat_ID2 or Stat_ID = Stat_ID3 );", 2},
        {"SELECT RealmEn, RealmFr From [Realms of Power], Profession WHERE Profession_ID  = 12 AND [Realms of Power].Realm_ID=Profession.Realm_ID;", 1},
        {"SELECT List.*, [Base List].Profession_ID FROM List INNER JOIN [Base List] ON List.List_ID = [Base List].List_ID WHERE ((([Base List].Profession_ID)=12));", 1},
        {"SELECT * FROM [Adolescences Rank] where Culture_ID= 1", 3},
        {"SELECT * FROM [Culture weapons] WHERE Culture_ID= 1", 1},
        {"SELECT * FROM [Culture Languages] WHERE Culture_ID= 1", 1},
        {"SELECT * FROM [Skill Category DP Cost] WHERE Profession_ID= 12", 2},
        {"SELECT * FROM [Skill Category] ORDER BY Skill_CategoryEn", 3},
        {"SELECT * FROM [Skill Category] ORDER BY Skill_CategoryFr", 3},
        {"SELECT * FROM Skills WHERE Skill_Category_ID = 14 ORDER BY SkillFr;", 3},
        {"SELECT * FROM Skills WHERE Skill_Category_ID = 14 ORDER BY SkillEn;", 3},
        {"SELECT * FROM Skills WHERE Skill_Category_ID = 14 ORDER BY Skill_ID", 3},
        {"SELECT  Weapons.*, [Weapons Type].Skill_ID FROM Weapons INNER JOIN [Weapons Type] ON Weapons.Weapon_ID = [Weapons Type].Weapon_ID WHERE ((([Weapons Type].Skill_ID)= 226));", 2},
        {"SELECT * FROM List WHERE ((Realm_ID=1) AND ([Classification_ ID]=1));", 1},
        {"SELECT * FROM List WHERE ((Realm_ID<>2) AND (Realm_ID<>1) AND ([Classification_ ID]=3));", 1},
        {"SELECT * FROM List WHERE ((Realm_ID<>2) AND (Realm_ID<>1) AND ([Classification_ ID]=2));", 0},
        {"SELECT * FROM List WHERE ((Realm_ID<>2) AND (Realm_ID<>1) AND ([Classification_ ID]=1));", 0},
        {"SELECT * FROM List WHERE ((Realm_ID = 5 OR Realm_ID = 2) AND ([Classification_ ID]=3));", 2},
        {"SELECT * FROM List WHERE ((Realm_ID=2) AND ([Classification_ ID]=2));", 0},
        {"SELECT * FROM List WHERE ((Realm_ID=2) AND ([Classification_ ID]=1));", 1},
        {"SELECT List.*, [Base List].Profession_ID, List.Realm_ID FROM List INNER JOIN [Base List] ON List.List_ID = [Base List].List_ID WHERE ((([Base List].Profession_ID)<>3) AND ((List.Realm_ID)=2));", 1},
        {"SELECT List.*, [Base List].Profession_ID, List.Realm_ID FROM List INNER JOIN [Base List] ON List.List_ID = [Base List].List_ID WHERE ((([Base List].Profession_ID)<>3) AND (List.Realm_ID = 5 OR List.Realm_ID = 2));", 1},
        {"SELECT * FROM [Race Abilities] WHERE Race_ID= 1", 1},
        {"SELECT * From [Talents Bonus] WHERE ((Talents_ID=4));", 1},
        {"SELECT * FROM Skills  ORDER BY SkillFr;", 5},
        {"SELECT * FROM Skills  ORDER BY SkillEn;", 5},
        {"SELECT * From Talents WHERE ((Type_ID=1));", 1},
        {"SELECT  Weapons.*, Weapons.WeaponEn AS Weapon,  [Weapons Type].Skill_ID FROM Weapons INNER JOIN [Weapons Type] ON Weapons.Weapon_ID = [Weapons Type].Weapon_ID WHERE ((([Weapons Type].Skill_ID)= 226)) ORDER BY Weapons.WeaponEn;", 2},
        {"SELECT  Weapons.*, Weapons.WeaponFr AS Weapon, [Weapons Type].Skill_ID FROM Weapons INNER JOIN [Weapons Type] ON Weapons.Weapon_ID = [Weapons Type].Weapon_ID WHERE ((([Weapons Type].Skill_ID)= 226)) ORDER BY Weapons.WeaponFr;", 2},
        {"SELECT  Weapons.*, Weapons.WeaponEn AS Weapon, [Weapons Type].Skill_ID FROM Weapons INNER JOIN [Weapons Type] ON Weapons.Weapon_ID = [Weapons Type].Weapon_ID WHERE ((([Weapons Type].Skill_ID)= 226)) ORDER BY Weapons.WeaponEn;", 2},
        {"SELECT *, ListEn AS List FROM List WHERE ((Realm_ID=2) AND ([Classification_ ID]=1)) ORDER BY ListEn;", 1},
        {"SELECT *, ListFr AS List FROM List WHERE ((Realm_ID=2) AND ([Classification_ ID]=1)) ORDER BY ListFr;", 1},
        {"SELECT *, ListEn AS List FROM List WHERE ((Realm_ID = 5 OR Realm_ID = 2) AND ([Classification_ ID]=1))  ORDER BY ListEn;", 1},
        {"SELECT *, ListFr AS List FROM List WHERE ((Realm_ID = 5 OR Realm_ID = 2) AND ([Classification_ ID]=1))  ORDER BY ListFr;", 1},
        {"SELECT * From Skills Where (((Skill_Category_ID) = 49)) ORDER BY Skills.SkillEn;", 1},
        {"SELECT * FROM [Training Package] INNER JOIN [Training Package DP Cost] ON [Training Package].Training_ID =  [Training Package DP Cost].Training_ID WHERE Profession_ID=12 ORDER BY TrainingFr", 1},
        {"SELECT * FROM [Training Package] INNER JOIN [Training Package DP Cost] ON [Training Package].Training_ID =  [Training Package DP Cost].Training_ID WHERE Profession_ID=12 ORDER BY TrainingEn", 1},
        {"SELECT Training_ID, SpecialFr as Special, Chance From [Training special] WHERE (((Training_ID)=7));", 1},
        {"SELECT Training_ID, SpecialEn as Special, Chance From [Training special] WHERE (((Training_ID)=7));", 1},
        {"SELECT [Training Skill Ranks].Training_ID, [Training Skill Ranks].Skill_Category_ID, [Training Skill Ranks].Ranks, [Training Skill Ranks].Choise, [Skill Category].Skill_CategoryFr as Skill_Category FROM [Skill Category] INNER JOIN [Training Skill Ranks] ON [Skill Category].Skill_Category_ID = [Training Skill Ranks].Skill_Category_ID WHERE ((([Training Skill Ranks].Training_ID)=7) AND (([Training Skill Ranks].Skill_Category_ID)>0)) ORDER BY [Skill Category].Skill_CategoryFr;", 1},
        {"SELECT [Training Skill Ranks].Training_ID, [Training Skill Ranks].Skill_Category_ID, [Training Skill Ranks].Ranks, [Training Skill Ranks].Choise, [Skill Category].Skill_CategoryEn as Skill_Category FROM [Skill Category] INNER JOIN [Training Skill Ranks] ON [Skill Category].Skill_Category_ID = [Training Skill Ranks].Skill_Category_ID WHERE ((([Training Skill Ranks].Training_ID)=7) AND (([Training Skill Ranks].Skill_Category_ID)>0)) ORDER BY [Skill Category].Skill_CategoryEn;", 1},
        {"SELECT [Training Skill Ranks].Training_ID, [Training Skill Ranks].Skill_ID, [Training Skill Ranks].Ranks, [Training Skill Ranks].Choise,  Skills.SkillFr as Skill, Skills.Skill_Category_ID FROM Skills INNER JOIN [Training Skill Ranks] ON Skills.Skill_ID = [Training Skill Ranks].Skill_ID Where ((([Training Skill Ranks].Training_ID) =7) And (([Training Skill Ranks].Skill_ID) > 0)) ORDER BY [Training Skill Ranks].Choise, Skills.SkillFr;", 2},
        {"SELECT [Training Skill Ranks].Training_ID, [Training Skill Ranks].Skill_ID, [Training Skill Ranks].Ranks, [Training Skill Ranks].Choise, Skills.SkillEn as Skill, Skills.Skill_Category_ID FROM Skills INNER JOIN [Training Skill Ranks] ON Skills.Skill_ID = [Training Skill Ranks].Skill_ID Where ((([Training Skill Ranks].Training_ID) =7) And (([Training Skill Ranks].Skill_ID) > 0)) ORDER BY [Training Skill Ranks].Choise, Skills.SkillEn;", 2},
        {"SELECT * From Flaws WHERE ((Type_ID=0));", 1},
        {"SELECT * FROM Skills ORDER BY SkillFr;", 5},
    };
    for (const Q &q : queries) {
        try {
            Recordset rs = db.OpenRecordset(QString::fromUtf8(q.sql), dbOpenDynaset);
            if (q.rows >= 0)
                EXPECT_EQ(rs.RecordCount(), q.rows) << q.sql;
        } catch (const vb::Error &e) {
            ADD_FAILURE() << q.sql << " raised " << e.number();
        }
    }
}

TEST(DaoQueries, ResultsTheReadersRelyOn)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("q.dat");
    makeDb(path, daotest::fixture("dao_queries.sql"));
    Database db = Workspace().OpenDatabase(path);

    // The glued "12AND" text gives the profession's prime statistics, in stat order.
    Recordset prime = db.OpenRecordset("SELECT StatEn, StatFr From Stat, Profession WHERE Profession_ID = 12AND ( Stat_ID =Stat_ID1  or Stat_ID = Stat_ID2 or Stat_ID = Stat_ID3 );");
    EXPECT_EQ(prime.Value("StatFr").toString(), QString::fromUtf8("Agilité"));
    prime.MoveNext();
    EXPECT_EQ(prime.Value("StatFr").toString(), QString::fromUtf8("Mémoire"));

    // Chosen (-1) rows first, then by name.
    Recordset ado = db.OpenRecordset("SELECT [Training Skill Ranks].Training_ID, [Training Skill Ranks].Skill_ID, [Training Skill Ranks].Ranks, [Training Skill Ranks].Choise, Skills.SkillEn as Skill, Skills.Skill_Category_ID FROM Skills INNER JOIN [Training Skill Ranks] ON Skills.Skill_ID = [Training Skill Ranks].Skill_ID Where ((([Training Skill Ranks].Training_ID) =7) And (([Training Skill Ranks].Skill_ID) > 0)) ORDER BY [Training Skill Ranks].Choise, Skills.SkillEn;");
    EXPECT_EQ(ado.Value("Skill").toString(), "Blades");

    // Two Training_ID columns: the qualified names tell them apart, and a search finds through them.
    Recordset tp = db.OpenRecordset("SELECT * FROM [Training Package] INNER JOIN [Training Package DP Cost] ON [Training Package].Training_ID =  [Training Package DP Cost].Training_ID WHERE Profession_ID=12 ORDER BY TrainingFr");
    EXPECT_EQ(tp.Value("Training Package.Training_ID").toInt(), 7);
    EXPECT_EQ(tp.Value("[Training Package DP Cost].Cost").toInt(), 20);
    EXPECT_EQ(tp.Value("Vocational/Lifestyle").toString(), "V");
    tp.FindFirst("[Training Package].Training_ID LIKE('7')");
    EXPECT_FALSE(tp.NoMatch());

    // French names in reading order through the folded collation of the schema.
    QStringList names;
    for (Recordset rs = db.OpenRecordset("SELECT * FROM [Skills] ORDER BY SkillFr"); !rs.Eof(); rs.MoveNext())
        names << rs.Value("SkillFr").toString();
    EXPECT_EQ(names, (QStringList{QString::fromUtf8("Écriture"), "Lames", "Manches", "Parole", "Savoir"}));

    Recordset list = db.OpenRecordset("SELECT * FROM List WHERE (([Classification_ ID]=3));");
    list.FindFirst("List_ID LIKE('4')");
    EXPECT_EQ(list.Value("Classification_ ID").toInt(), 3);

    Recordset ado2 = db.OpenRecordset("SELECT * FROM [Adolescences Rank] where Culture_ID= 1");
    ado2.FindFirst("Skill_ID LIKE (32)");
    EXPECT_EQ(ado2.Value("Rank").toInt(), 3);
}

// ------------------------------------------------------------ searches on cached rows

// Cached rules rows answer equality searches from an index; the same file
// opened without the cache scans. Every search the readers send ("Col
// LIKE('v')", alone or AND-ed), with every value the sample rules hold and
// the spellings that must not match, finds the same rows in the same order.
TEST(DaoCachedFind, IndexAndScanAgreeOnTheSampleRules)
{
    const QString path = QCoreApplication::applicationDirPath() + "/master.dat";
    OpenOptions cached;
    cached.readOnly = true;
    cached.cacheRows = true;
    Database indexed = Workspace().OpenDatabase(path, cached);
    Database scanned = Workspace().OpenDatabase(path, {true, false, false});

    struct Source {
        QString text;
        QStringList extraColumns; // spellings the readers use beyond the plain names
    };
    QList<Source> sources;
    for (Recordset t = scanned.OpenRecordset("SELECT name FROM sqlite_master WHERE type='table' ORDER BY name"); !t.Eof(); t.MoveNext())
        sources.append(Source{t.Value("name").toString(), {}});
    sources.append(Source{"SELECT * FROM [Skills] ORDER BY SkillFr", {}});
    sources.append(Source{"SELECT * FROM [Skill Category] ORDER BY Skill_CategoryEn", {}});
    sources.append(Source{"SELECT  Weapons.*, [Weapons Type].Skill_ID FROM Weapons INNER JOIN [Weapons Type] ON Weapons.Weapon_ID = [Weapons Type].Weapon_ID", {}});
    sources.append(Source{"SELECT * FROM [Training Package] INNER JOIN [Training Package DP Cost] ON [Training Package].Training_ID =  [Training Package DP Cost].Training_ID ORDER BY TrainingFr",
                          {"[Training Package].Training_ID", "[Training Package DP Cost].Training_ID"}});

    const auto quoted = [](QString v) { return "'" + v.replace("'", "''") + "'"; };
    // FindFirst, then FindNext until nothing more: the positions, or the error.
    const auto found = [](Recordset &rs, const QString &criteria) {
        QList<int> at;
        try {
            for (rs.FindFirst(criteria); !rs.NoMatch(); rs.FindNext(criteria))
                at << rs.AbsolutePosition();
        } catch (const vb::Error &e) {
            at << -e.number();
        }
        return at;
    };
    int searches = 0, hits = 0;
    for (const Source &source : sources) {
        Recordset a = indexed.OpenRecordset(source.text);
        Recordset b = scanned.OpenRecordset(source.text);
        ASSERT_EQ(a.RecordCount(), b.RecordCount()) << qPrintable(source.text);
        QStringList columns = source.extraColumns;
        for (int c = 0; c < b.FieldCount(); ++c) {
            const QString name = b.FieldName(c);
            columns << (name.contains(QRegularExpression("\\W")) ? "[" + name + "]" : name);
        }
        QList<QStringList> rows;
        for (b.MoveFirst(); !b.Eof(); b.MoveNext()) {
            QStringList row;
            for (const QString &column : columns)
                row << b.Value(QString(column).remove('[').remove(']')).toString();
            rows << row;
        }
        const auto agree = [&](const QString &criteria) {
            const QList<int> want = found(b, criteria);
            ASSERT_EQ(found(a, criteria), want) << qPrintable(source.text) << " / " << qPrintable(criteria);
            ++searches;
            hits += !want.isEmpty() && want.front() >= 0;
        };
        for (int c = 0; c < columns.size(); ++c) {
            QSet<QString> values{"", "0", "-0", "+1", "01", " 1", "1 ", "1.0", "1e0", "-1", "99999", "nan", "x"};
            for (const QStringList &row : rows)
                values << row[c] << row[c].toUpper() << row[c] + " " << row[c] + ".0";
            for (const QString &v : values) {
                agree(columns[c] + " LIKE(" + quoted(v) + ")");
                agree(columns[c] + " = " + quoted(v));
                bool number = false;
                v.toDouble(&number);
                if (number && !v.contains(' ') && !v.contains('n'))
                    agree(columns[c] + " = " + v);
            }
        }
        // Two columns AND-ed, as the language lookup sends them.
        for (const QStringList &row : rows)
            if (columns.size() >= 2)
                agree(columns[0] + " LIKE(" + quoted(row[0]) + ") AND " + columns[1] + " LIKE(" + quoted(row[1]) + ")");
    }
    EXPECT_GT(hits, 5000) << "of " << searches << " searches";
}

} // namespace
