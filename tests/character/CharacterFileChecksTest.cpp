// What a character file may hold, checked when it is opened: only what the
// program itself writes, so that whatever opens can be shown, computed and
// printed. And what a save needs beside the file: the empty character file,
// and a name the folder takes.
#include "CharacterFileTestSupport.h"
#include "CharacterSamples.h"
#include "StoredFileSupport.h"
#include "TransferFixture.h"
#include "character/Limits.h"
#include "platform/Strings.h"
#include "platform/vb.h"
#include "support/ScriptedPorts.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace limits = character::limits;
using filetest::alter;
using filetest::bytes;
using filetest::storedNumber;
using filetest::storedText;
using filetest::writeBytes;

class CharacterFileChecksTest : public filetest::FileFolderTest {
protected:
    QString saved(Personnage &p, const QString &name)
    {
        ScriptedPortsScope ui;
        p.FileName = path(name);
        EXPECT_TRUE(p.SaveP()) << qPrintable(name);
        return p.FileName;
    }
    QString savedSample(const QString &name)
    {
        Personnage p;
        samples::develop(p);
        return saved(p, name);
    }

    // Opens `file` into a fresh record, expecting one box (error `number`, or
    // any when 0): its text.
    static QString refusal(const QString &file, qint32 number = 0)
    {
        ScriptedPortsScope ui;
        Personnage p;
        p.FileName = file;
        ui->expectError("LoadP", number);
        EXPECT_FALSE(p.LoadP());
        return ui->errors().empty() ? QString() : ui->errors().front().text;
    }
    static bool opens(const QString &file)
    {
        ScriptedPortsScope ui;
        Personnage p;
        p.FileName = file;
        return p.LoadP();
    }

    QStringList entries() const
    {
        return QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    }
};

struct Case {
    const char *name;
    const char *sql;
    qint32 number;
    const char *words;
};

void expectRefused(const QString &text, const Case &c)
{
    EXPECT_TRUE(text.contains(QString::fromUtf8(c.words))) << c.name << ": " << text.toStdString();
}

// ---------------------------------------------------------------- the fixed tables

// A save writes 10, 7 and 9 rows numbered 0-9, 0-6 and 1-9. Anything else in
// those tables would be shown as the character's or lost at the next save.
TEST_F(CharacterFileChecksTest, FixedTablesHoldExactlyTheRowsASaveWrites)
{
    // Two pages swapped on the disk: each table's pages still make a whole
    // tree, so the engine finds nothing wrong, but "Stats" leads to the skills.
    const QString swapped = savedSample(QStringLiteral("swapped.pja"));
    {
        const int stats = storedText(swapped, "SELECT rootpage FROM sqlite_master WHERE name = 'Stats'").toInt();
        const int skills = storedText(swapped, "SELECT rootpage FROM sqlite_master WHERE name = 'Skill'").toInt();
        const int size = storedText(swapped, "PRAGMA page_size").toInt();
        ASSERT_GT(stats, 1);
        ASSERT_GT(skills, 1);
        QByteArray b = bytes(swapped);
        const QByteArray statsPage = b.mid(qsizetype(stats - 1) * size, size);
        b.replace(qsizetype(stats - 1) * size, size, b.mid(qsizetype(skills - 1) * size, size));
        b.replace(qsizetype(skills - 1) * size, size, statsPage);
        writeBytes(swapped, b);
        ASSERT_EQ(storedText(swapped, "PRAGMA integrity_check"), QStringLiteral("ok"));
        ASSERT_EQ(storedText(swapped, "SELECT count(*) FROM \"Stats\""), QStringLiteral("200"));
    }
    const Case cases[] = {
        {"swapped.pja", nullptr, vb::ErrDamaged, "the column “Stats_ID” of the table “Stats” holds 1 in row 1 where 0 "
                                                 "belongs"},
        {"twenty.pja",
         "DELETE FROM \"Stats\"; WITH RECURSIVE k(i) AS (SELECT 100 UNION ALL SELECT i + 1 FROM k WHERE i < 119)"
         " INSERT INTO \"Stats\" SELECT i, 50, 60, 0 FROM k",
         vb::ErrDamaged, "the column “Stats_ID” of the table “Stats” holds 100 in row 1 where 0 belongs"},
        {"extra.pja", "INSERT INTO \"Resistance Special\" VALUES (10, 0)", vb::ErrDamaged,
         "the table “Resistance Special” holds 10 rows where exactly 9 are needed"},
        {"text.pja", "UPDATE \"Categorie Weapon\" SET CategorieWeapon_ID = 'x' WHERE CategorieWeapon_ID = 3",
         vb::ErrTypeMismatch, "the column “CategorieWeapon_ID” of the table “Categorie Weapon” holds “x” in row 4"},
        {"null.pja", "UPDATE \"Resistance Special\" SET Resistance_ID = NULL WHERE Resistance_ID = 2",
         vb::ErrInvalidUseOfNull, "the column “Resistance_ID” of the table “Resistance Special” is empty in row 2"},
        {"huge.pja", "UPDATE \"Stats\" SET Stats_ID = 1e30 WHERE Stats_ID = 5", vb::ErrTypeMismatch,
         "the column “Stats_ID” of the table “Stats” holds “1E+30” in row 6"},
        {"noid.pja", "ALTER TABLE \"Stats\" DROP COLUMN Stats_ID", vb::ErrNotInCollection,
         "the column “Stats_ID” is missing from the table “Stats”"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = c.sql ? savedSample(QString::fromLatin1(c.name)) : swapped;
        if (c.sql)
            alter(file, c.sql);
        expectRefused(refusal(file, c.number), c);
    }
}

// ---------------------------------------------------------------- values the program never writes

TEST_F(CharacterFileChecksTest, ValuesNoSaveWritesAreRefusedNamingTableColumnAndRow)
{
    const Case cases[] = {
        {"bigid.pja", "UPDATE \"Skill\" SET Skill_ID = 999999 WHERE Skill_ID = 7", vb::ErrOverflow,
         "the column “Skill_ID” of the table “Skill” holds 999999 in row 7, outside the possible values (1 to 32767)"},
        {"freekey.pja", "UPDATE \"Weapon Skills\" SET Weapon_ID = 0 WHERE Weapon_ID = 5003", vb::ErrOverflow,
         "the column “Weapon_ID” of the table “Weapon Skills” holds 0 in row 3"},
        {"twice.pja", "INSERT INTO \"SubSkills\" SELECT * FROM \"SubSkills\" WHERE SubSkill_ID = '4'", vb::ErrDuplicate,
         "the table “SubSkills” holds the same element twice, in rows 4 and 21 (Skill_ID 304, SubSkill_ID 4)"},
        {"twicecat.pja", "INSERT INTO \"Skill Categorie\" SELECT * FROM \"Skill Categorie\" WHERE SkillCat_ID = 2",
         vb::ErrDuplicate, "the table “Skill Categorie” holds the same element twice, in rows 2 and 61 (SkillCat_ID 2)"},
        {"twiceskill.pja", "INSERT INTO \"Skill\" SELECT * FROM \"Skill\" WHERE Skill_ID = 7", vb::ErrDuplicate,
         "the table “Skill” holds the same element twice, in rows 7 and 201 (Skill_ID 7)"},
        {"twicelanguage.pja",
         "INSERT INTO \"Language Skills\" SELECT * FROM \"Language Skills\" WHERE Language_ID = 4003",
         vb::ErrDuplicate,
         "the table “Language Skills” holds the same element twice, in rows 3 and 11 (Skill_ID 403, Language_ID 4003)"},
        {"twiceweapon.pja", "INSERT INTO \"Weapon Skills\" SELECT * FROM \"Weapon Skills\" WHERE Weapon_ID = 5003",
         vb::ErrDuplicate,
         "the table “Weapon Skills” holds the same element twice, in rows 3 and 11 (Skill_ID 503, Weapon_ID 5003)"},
        {"twicespell.pja", "INSERT INTO \"Spell Skills\" SELECT * FROM \"Spell Skills\" WHERE List_ID = 6003",
         vb::ErrDuplicate,
         "the table “Spell Skills” holds the same element twice, in rows 3 and 11 (Skill_ID 603, List_ID 6003)"},
        {"ranks.pja", "UPDATE \"Skill Categorie\" SET Rank = 2147483647 WHERE SkillCat_ID = 2", vb::ErrOverflow,
         "the column “Rank” of the table “Skill Categorie” holds 2147483647 in row 2, outside the possible values (0 "
         "to 30000)"},
        {"subranks.pja", "UPDATE \"SubSkills\" SET Rank = '30001' WHERE SubSkill_ID = '2'", vb::ErrOverflow,
         "the column “Rank” of the table “SubSkills” holds 30001 in row 2"},
        {"bonus.pja", "UPDATE \"Skill\" SET Special1 = 40000 WHERE Skill_ID = 7", vb::ErrOverflow,
         "the column “Special1” of the table “Skill” holds 40000 in row 7, outside the possible values (-32768 to "
         "32767)"},
        {"experience.pja", "UPDATE \"General\" SET Experience = 2147483647", vb::ErrOverflow,
         "the column “Experience” of the table “General” holds 2147483647 in row 1, outside the possible values "
         "(-300000000 to 1600000000)"},
        {"height.pja", "UPDATE \"General\" SET Grandeur = 1e30", vb::ErrOverflow,
         "the column “Grandeur” of the table “General” holds 1E+30 in row 1, outside the possible values (-999999 to "
         "999999)"},
        {"weight.pja", "UPDATE \"General\" SET Poids = -1e30", vb::ErrOverflow,
         "the column “Poids” of the table “General” holds -1E+30 in row 1"},
        {"utf8.pja", "UPDATE \"General\" SET Nom = CAST(x'41c3a9ff42' AS TEXT)", vb::ErrDamaged,
         "the column “Nom” of the table “General” holds in row 1 a text that is not valid UTF-8"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = savedSample(QString::fromLatin1(c.name));
        alter(file, c.sql);
        expectRefused(refusal(file, c.number), c);
    }

    // The edges themselves are what a player may have typed or bought, and a
    // replacement character typed as such is a character like any other.
    Personnage edge;
    samples::develop(edge);
    edge.Nom = QStringLiteral("A\uFFFDB");
    edge.Experience = limits::kExperience.low;
    edge.Age = float(limits::kPhysique.high);
    edge.Poids = float(limits::kPhysique.low);
    edge.AddSkill(Personnage::fRank, 3, RankKind::Skill, qint16(limits::kRank.high));
    edge.AddSkill(Personnage::fId, 4, RankKind::Skill, qint16(limits::kElementId.high));
    EXPECT_TRUE(opens(saved(edge, QStringLiteral("edge.pja"))));
}

// ---------------------------------------------------------------- messages

TEST_F(CharacterFileChecksTest, RowCountsTakeTheirSingularAndPlural)
{
    const QString none = savedSample(QStringLiteral("none.pja"));
    alter(none, "DELETE FROM \"General\"");
    const QString one = savedSample(QStringLiteral("one.pja"));
    alter(one, "DELETE FROM \"Stats\" WHERE Stats_ID > 0");
    const QString two = savedSample(QStringLiteral("two.pja"));
    alter(two, "DELETE FROM \"Stats\" WHERE Stats_ID > 1");
    // A second character in the file would be dropped by the next save.
    const QString pair = savedSample(QStringLiteral("pair.pja"));
    alter(pair, "INSERT INTO \"General\" SELECT * FROM \"General\"");

    EXPECT_TRUE(refusal(none).contains(QStringLiteral("the table “General” holds 0 rows where exactly 1 is needed")));
    EXPECT_TRUE(refusal(one).contains(QStringLiteral("the table “Stats” holds 1 row where exactly 10 are needed")));
    EXPECT_TRUE(refusal(pair, vb::ErrDamaged)
                    .contains(QStringLiteral("the table “General” holds 2 rows where exactly 1 is needed")));
    Strings::setLanguage(Strings::Language::French);
    EXPECT_TRUE(refusal(none).contains(
        QStringLiteral("la table «\u00a0General\u00a0» compte 0 ligne alors qu'il en faut exactement 1")));
    EXPECT_TRUE(refusal(two).contains(
        QStringLiteral("la table «\u00a0Stats\u00a0» compte 2 lignes alors qu'il en faut exactement 10")));
}

// A folder that may not be searched hides the file from whoever runs the
// program, and a file may be closed to them: the player is told of the
// rights, not of a missing file nor in the system's words.
TEST_F(CharacterFileChecksTest, AFileThePlayerMayNotReadIsSaidSoNotCalledMissing)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("locked")));
    const QString file = savedSample(QStringLiteral("locked/hero.pja"));
    const QString closed = savedSample(QStringLiteral("closed.pja"));
    ASSERT_EQ(::chmod(QFile::encodeName(closed).constData(), 0200), 0);
    const QString journaled = savedSample(QStringLiteral("journaled.pja"));
    writeBytes(journaled + QStringLiteral("-journal"), "an unfinished change");
    ASSERT_EQ(::chmod(QFile::encodeName(journaled + QStringLiteral("-journal")).constData(), 0600), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0711), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(path(QStringLiteral("locked"))).constData(), 0600), 0);
    QString text, saving, unreadable, journal;
    const bool ran = filetest::unprivileged([&] {
        text = refusal(file, vb::ErrPermission);
        Personnage p;
        saving = filetest::refusedSave(p, file, vb::ErrPermission);
        unreadable = refusal(closed, vb::ErrPermission);
        journal = refusal(journaled, vb::ErrPermission);
    });
    ::chmod(QFile::encodeName(path(QStringLiteral("locked"))).constData(), 0700);
    if (!ran)
        GTEST_SKIP() << "cannot take another user";
    EXPECT_TRUE(text.contains(QStringLiteral("could not be read: you are not allowed to open the folder that holds it")))
        << text.toStdString();
    EXPECT_TRUE(saving.startsWith(QStringLiteral("The character was not saved: the file “%1” cannot be written: you are "
                                                 "not allowed to open the folder that holds it. Nothing was written")
                                      .arg(file)))
        << saving.toStdString();
    EXPECT_TRUE(unreadable.startsWith(QStringLiteral("The file “%1” could not be read: you are not allowed to read it.")
                                          .arg(closed)))
        << unreadable.toStdString();
    EXPECT_TRUE(journal.contains(QStringLiteral("could not be read: you are not allowed to read the file “%1-journal” "
                                                "beside it, left by a change another program did not finish.")
                                     .arg(journaled)))
        << journal.toStdString();
}

// ---------------------------------------------------------------- saving

// The copy a save writes first is named after the file: a name near the
// folder's limit is shortened in it, and a name past the limit is told so.
TEST_F(CharacterFileChecksTest, ANameAsLongAsTheFolderTakesIsSaved)
{
    const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".pja");
    ASSERT_EQ(QFile::encodeName(name).size(), 255);
    Personnage p;
    samples::develop(p);
    saved(p, name);
    // A copy a killed save left beside it goes at the next save.
    const QString left = QLatin1Char('.') + name.left(243) + QStringLiteral(".~qv-kQzTmv");
    writeBytes(path(left), bytes(path(name)).left(100));
    saved(p, name);
    EXPECT_EQ(entries(), QStringList{name});
    EXPECT_TRUE(opens(path(name)));

    ScriptedPortsScope ui;
    Personnage q;
    q.FileName = path(name + QLatin1Char('x'));
    ui->expectError("SaveP", vb::ErrBadPath);
    EXPECT_FALSE(q.SaveP());
    EXPECT_TRUE(ui->errors().front().text.contains(QStringLiteral("is too long: it takes 256 bytes where the folder "
                                                                  "takes at most 255")))
        << ui->errors().front().text.toStdString();
    EXPECT_EQ(entries(), QStringList{name});
}

// A save starts from the empty character file beside the program and checks
// it as start-up does: when it is missing, damaged or not as the program
// makes it, the box names it and says why, and the player's file stays.
TEST_F(CharacterFileChecksTest, ASaveThatCannotUseTheEmptyCharacterFileNamesIt)
{
    const QString hero = savedSample(QStringLiteral("hero.pja"));
    const QByteArray before = bytes(hero);
    const auto altered = [this](const char *name, const char *sql) {
        const QString file = path(QString::fromLatin1(name));
        EXPECT_TRUE(QFile::copy(filetest::binFile("player.dat"), file));
        alter(file, sql);
        return file;
    };
    const QString empty = path(QStringLiteral("empty.dat"));
    writeBytes(empty, QByteArray());
    const QString garbage = path(QStringLiteral("garbage.dat"));
    writeBytes(garbage, QByteArray(4096, 'x'));
    QByteArray zeroed = bytes(filetest::binFile("player.dat"));
    zeroed.replace(4096, 4096, QByteArray(4096, '\0'));
    const QString torn = path(QStringLiteral("torn.dat"));
    writeBytes(torn, zeroed);
    const QString pipe = path(QStringLiteral("pipe.dat"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    // Sound, and empty, but past the size of any character file.
    const QString large = altered("large.dat", "CREATE TABLE Filler(b); INSERT INTO Filler VALUES (zeroblob(17000000));"
                                               "DROP TABLE Filler");
    const QString foreign = QStringLiteral("is not as this program makes it: ");
    const struct {
        QString templ;
        qint32 number;
        QString words;
    } cases[] = {
        {empty, vb::ErrNotADatabase, QStringLiteral("is damaged: it is not a database")},
        {path(QStringLiteral("absent.dat")), vb::ErrFileNotFound, QStringLiteral("is missing")},
        {garbage, vb::ErrNotADatabase, QStringLiteral("is damaged: it is not a database")},
        {torn, vb::ErrDamaged,
         QStringLiteral("is damaged: its pages cannot be read (the file was cut short or altered)")},
        {altered("notable.dat", "DROP TABLE \"Weapon Skills\""), vb::ErrTableNotFound,
         QStringLiteral("is damaged: the table “Weapon Skills” is missing")},
        {altered("row.dat", "INSERT INTO \"Skill\" VALUES (23, 1, 0, 0)"), vb::ErrNotADatabase,
         foreign + QStringLiteral("the table “Skill” holds 1 row where it must hold none")},
        {altered("version.dat", "PRAGMA user_version = 7"), vb::ErrNotADatabase,
         foreign + QStringLiteral("it is of version 7 where this program needs version 1")},
        {altered("mark.dat", "PRAGMA application_id = 42"), vb::ErrNotADatabase,
         foreign + QStringLiteral("it carries the mark of another program")},
        {altered("trigger.dat", "CREATE TRIGGER stamp AFTER INSERT ON \"Skill\" BEGIN SELECT 1; END"),
         vb::ErrNotADatabase, foreign + QStringLiteral("it holds a trigger “stamp” that the program does not make")},
        {altered("type.dat", "DROP TABLE \"Stats\";"
                             "CREATE TABLE \"Stats\" (Stats_ID INTEGER, temp TEXT, pot INTEGER, Special INTEGER)"),
         vb::ErrNotADatabase,
         foreign + QStringLiteral("the column “temp” of the table “Stats” is declared “TEXT” where the program "
                                  "declares it “INTEGER”")},
        {altered("check.dat", "DROP TABLE \"Stats\"; CREATE TABLE \"Stats\" (Stats_ID INTEGER, temp INTEGER,"
                              " pot INTEGER, Special INTEGER, CHECK (temp > 0))"),
         vb::ErrNotADatabase, foreign + QStringLiteral("the table “Stats” carries a constraint that the program does not make")},
        {altered("unique.dat", "CREATE UNIQUE INDEX once ON \"Skill\" (Skill_ID)"), vb::ErrNotADatabase,
         foreign + QStringLiteral("it holds an index “once” that the program does not make")},
        {altered("column.dat", "ALTER TABLE \"General\" ADD COLUMN Extra INTEGER NOT NULL DEFAULT 0"),
         vb::ErrNotADatabase,
         foreign + QStringLiteral("the table “General” holds a column “Extra” that the program does not make")},
        {pipe, vb::ErrNotADatabase, foreign + QStringLiteral("it is not a regular file")},
        {large, vb::ErrNotADatabase,
         foreign + QStringLiteral("it holds %1 bytes; a character file holds at most 16777216").arg(QFileInfo(large).size())},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.templ.toStdString());
        ModGeneral::PlayerPath = c.templ;
        Personnage p;
        samples::develop(p);
        p.Nom = QStringLiteral("Autre");
        // Saved twice: a file refused once is not taken for sound the next time.
        for (int save = 0; save < 2; ++save) {
            QElapsedTimer clock;
            clock.start();
            const QString text = filetest::refusedSave(p, hero, c.number);
            EXPECT_LT(clock.elapsed(), 1000);   // a pipe holds nothing up
            EXPECT_TRUE(text.startsWith(QStringLiteral("The character was not saved: the empty character file “%1” %2. "
                                                       "Nothing was written")
                                            .arg(QDir::toNativeSeparators(c.templ), c.words)))
                << text.toStdString();
            EXPECT_EQ(bytes(hero), before);
        }
    }
    filetest::useBuiltTemplate();
    EXPECT_TRUE(opens(hero));
}

// ---------------------------------------------------------------- what the program writes

// What a stage or a package would add past the ranges a file holds is an
// overflow, and nothing of it stays: else the character would be saved into
// a file that no longer opens.
TEST(CharacterRangesTest, StagesAndPackagesStopAtWhatAFileHolds)
{
    TransferRules rules;
    ScriptedPortsScope ui;
    Personnage p;
    PersonnageAccess::SkillCat(p)(0, 0) = 5;
    PersonnageAccess::SkillCat(p)(1, 0) = limits::kRank.high;
    p.AddDevelopment(1, 5, 0, 1, 0);
    ui->expectError(QStringLiteral("TranferRank"), vb::ErrOverflow);
    EXPECT_FALSE(p.TranferRank());
    EXPECT_EQ(PersonnageAccess::SkillCat(p)(1, 0), limits::kRank.high);
    EXPECT_EQ(p.DirRankDevelopment(1, 5, 0, 0).toInt(), 1);

    p.Age = float(limits::kPhysique.high);
    p.Money = 5;
    ui->expectError(QStringLiteral("TransferTraining"), vb::ErrOverflow);
    p.TransferTraining(2, QStringLiteral("1"));   // three months older
    EXPECT_EQ(p.Age, float(limits::kPhysique.high));
    EXPECT_EQ(p.Money, 5);
    EXPECT_TRUE(p.Historique.toString().isEmpty());
}

} // namespace
