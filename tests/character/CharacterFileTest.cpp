#include "CharacterFileTestSupport.h"
#include "CharacterSamples.h"
#include "PersonnageAccess.h"
#include "StoredFileSupport.h"
#include "character/CharacterFile.h"
#include "platform/Strings.h"
#include "platform/vb.h"
#include "support/ScriptedPorts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <random>
#include <thread>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using Cells = character::GrowTable<qint32>;
using filetest::alter;
using filetest::bytes;
using filetest::storedNumber;
using filetest::storedText;
using filetest::writeBytes;

class CharacterFileTest : public filetest::FileFolderTest {
protected:
    // Saves `p` under `name` in the test folder, expecting no error box.
    QString save(Personnage &p, const QString &name)
    {
        ScriptedPortsScope ui;
        p.FileName = path(name);
        p.SaveP();
        EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0) << qPrintable(name);
        return p.FileName;
    }

    // Loads a fresh record from `file`; `expectError` says whether the load
    // must report exactly one error located "LoadP".
    std::unique_ptr<Personnage> load(const QString &file, bool expectError, qint32 number = 0,
                                     QString *errorText = nullptr)
    {
        ScriptedPortsScope ui;
        auto p = std::make_unique<Personnage>();
        p->FileName = file;
        if (expectError)
            ui->expectError("LoadP", number);
        p->LoadP();
        EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), expectError ? 1 : 0);
        if (errorText && !ui->errors().empty())
            *errorText = ui->errors().front().text;
        EXPECT_FALSE(ModGeneral::DbPlayer.isOpen());
        return p;
    }

    QStringList folderEntries() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    // A saved character with a little of everything, for the damaged-file cases.
    QString savedSample(const QString &name = QStringLiteral("sample.pja"))
    {
        Personnage p;
        samples::develop(p);
        return save(p, name);
    }
};

void expectSameCells(Cells &a, Cells &b, qint64 firstRow, qint64 lastRow, const char *what)
{
    for (qint64 r = firstRow; r <= lastRow; ++r)
        for (int f = 0; f < a.fields(); ++f)
            ASSERT_EQ(a(f, r), b(f, r)) << what << " field " << f << " row " << r;
}

// ---------------------------------------------------------------- round trips

TEST_F(CharacterFileTest, RoundTripKeepsEveryStoredValue)
{
    Personnage original;
    samples::develop(original);
    original.PointsBO = 17;
    original.AddDevelopment(2, 5, 0, 3, 0);
    save(original, QStringLiteral("dev.pja"));
    EXPECT_EQ(ModGeneral::Sql, QStringLiteral("Spell Skills"));
    ASSERT_TRUE(original.Sexe);
    EXPECT_EQ(storedNumber(original.FileName, "SELECT Sexe FROM \"General\""), -1);   // the engine's true
    EXPECT_FALSE(ModGeneral::DbPlayer.isOpen());

    auto loaded = load(original.FileName, false);
    Personnage &p = *loaded;
    EXPECT_EQ(ModGeneral::Sql, QStringLiteral("Spell Skills"));
    EXPECT_EQ(p.Nom, original.Nom);
    EXPECT_EQ(p.Race_ID, original.Race_ID);
    EXPECT_EQ(p.Profession_ID, original.Profession_ID);
    EXPECT_EQ(p.Culture_ID, original.Culture_ID);
    EXPECT_EQ(p.Royaume_ID, original.Royaume_ID);
    EXPECT_EQ(p.Sexe, original.Sexe);
    EXPECT_EQ(p.Poids, original.Poids);
    EXPECT_EQ(p.Grandeur, original.Grandeur);
    EXPECT_EQ(p.Age, original.Age);
    EXPECT_EQ(p.Cheveux, original.Cheveux);
    EXPECT_EQ(p.Yeux, original.Yeux);
    EXPECT_EQ(p.Experience, original.Experience);
    EXPECT_EQ(p.Apparence, original.Apparence);
    EXPECT_EQ(p.PdeD, original.PdeD);
    EXPECT_EQ(p.Money, original.Money);
    EXPECT_EQ(p.Historique.toString(), original.Historique.toString());
    EXPECT_EQ(p.Armure, original.Armure);
    EXPECT_EQ(p.Casque, original.Casque);
    EXPECT_EQ(p.Bouclier, original.Bouclier);
    for (qint16 k = 0; k <= 2; ++k)
        for (qint16 s = 0; s <= 9; ++s)
            EXPECT_EQ(p.DirStats(k, s), original.DirStats(k, s));
    for (qint16 i = 0; i <= 6; ++i)
        EXPECT_EQ(p.DirCategorieWeapon(i), original.DirCategorieWeapon(i));
    for (qint16 k = 1; k <= 9; ++k)
        EXPECT_EQ(p.DirResistanceSpecial(k), original.DirResistanceSpecial(k));

    expectSameCells(PersonnageAccess::SkillCat(p), PersonnageAccess::SkillCat(original), 0, 59, "SkillCat");
    expectSameCells(PersonnageAccess::Skill(p), PersonnageAccess::Skill(original), 0, 199, "Skill");
    expectSameCells(PersonnageAccess::LanguageSkills(p), PersonnageAccess::LanguageSkills(original), 1, 10, "Lang");
    expectSameCells(PersonnageAccess::WeaponSkills(p), PersonnageAccess::WeaponSkills(original), 1, 10, "Weapon");
    expectSameCells(PersonnageAccess::SpellSkills(p), PersonnageAccess::SpellSkills(original), 1, 10, "Spell");
    for (qint32 r = 1; r <= 20; ++r)
        for (int f = 0; f < 6; ++f)
            EXPECT_EQ(p.DirSubSkills(f, r), original.DirSubSkills(f, r));

    // Growth while reading: the row at the capacity always stays free.
    EXPECT_EQ(p.NbSkillCat, 70);
    EXPECT_EQ(p.NbSkill, 210);
    EXPECT_EQ(p.NbSubSkill, 30);
    EXPECT_EQ(p.NbLanguageSkills, 20);
    EXPECT_EQ(p.NbWeaponSkills, 20);
    EXPECT_EQ(p.NbSpellSkills, 20);
    // Not stored: the development list, the option points, the capacities.
    EXPECT_EQ(p.PointsBO, 0);
    EXPECT_EQ(p.NbDevSkills, 10);
    EXPECT_EQ(p.DirRankDevelopment(2, 5, 0, 0).toInt(), 0);
    EXPECT_EQ(p.FileName, original.FileName);
}

TEST_F(CharacterFileTest, EmptyHistoryAndUnusedSkillTableComeBackEmpty)
{
    Personnage original;
    original.Nom = QString();
    ASSERT_EQ(original.NbSkill, 0);
    save(original, QStringLiteral("blank.pja"));
    auto p = load(original.FileName, false);
    EXPECT_FALSE(p->Historique.isValid() && !p->Historique.toString().isEmpty());
    EXPECT_TRUE(p->Historique.toString().isEmpty());
    EXPECT_TRUE(p->Nom.isEmpty());
    EXPECT_EQ(p->NbSkill, 0);
    EXPECT_FALSE(PersonnageAccess::Skill(*p).hasRows());
    EXPECT_EQ(p->NbSkillCat, 60);
    EXPECT_EQ(p->NbSubSkill, 10);
}

TEST_F(CharacterFileTest, RankTablesAreStoredCompacted)
{
    ScriptedPortsScope ui;
    Personnage original;
    for (qint16 r : {0, 1, 3}) {
        original.AddSkill(0, r, RankKind::SkillCategory, qint16(10 + r));
        original.AddSkill(1, r, RankKind::SkillCategory, qint16(r + 1));
    }
    // A sub-skill whose first rows are free keeps its own number text.
    PersonnageAccess::SubSkills(original)(0, 1) = QStringLiteral("40");
    PersonnageAccess::SubSkills(original)(0, 2) = QStringLiteral("41");
    EXPECT_EQ(original.AddSubSkills(32, QStringLiteral("Nage en armure"), 2), 3);
    PersonnageAccess::SubSkills(original)(0, 1).clear();
    PersonnageAccess::SubSkills(original)(0, 2).clear();
    original.AddSkill(0, 7, RankKind::WeaponSkill, 230);
    original.AddSkill(4, 7, RankKind::WeaponSkill, 41);
    save(original, QStringLiteral("holes.pja"));

    auto p = load(original.FileName, false);
    EXPECT_EQ(p->DirSkillsCat(0, 0), 10);
    EXPECT_EQ(p->DirSkillsCat(0, 1), 11);
    EXPECT_EQ(p->DirSkillsCat(0, 2), 13);
    EXPECT_EQ(p->DirSkillsCat(1, 2), 4);
    EXPECT_EQ(p->DirSkillsCat(0, 3), 0);
    EXPECT_EQ(p->DirSubSkills(0, 1), QStringLiteral("32"));
    EXPECT_EQ(p->DirSubSkills(4, 1), QStringLiteral("3"));
    EXPECT_EQ(p->DirSubSkills(5, 1), QStringLiteral("Nage en armure"));
    EXPECT_EQ(p->DirWeaponSkills(0, 1), QStringLiteral("230"));
    EXPECT_EQ(p->DirWeaponSkills(4, 1), QStringLiteral("41"));
    EXPECT_EQ(p->DirWeaponSkills(0, 7), QStringLiteral("0"));
}

TEST_F(CharacterFileTest, CapacitiesAfterLoadingFullTables)
{
    Personnage original;
    for (qint16 r = 0; r < 60; ++r)
        original.AddSkill(0, r, RankKind::SkillCategory, qint16(r + 1));
    for (int i = 0; i < 10; ++i)
        original.AddSubSkills(32, QStringLiteral("n%1").arg(i), 1);
    for (qint16 r = 1; r <= 9; ++r) {
        original.AddSkill(0, r, RankKind::LanguageSkill, 5);
        original.AddSkill(4, r, RankKind::LanguageSkill, r);
    }
    save(original, QStringLiteral("full.pja"));
    auto p = load(original.FileName, false);
    EXPECT_EQ(p->NbSkillCat, 70);
    EXPECT_EQ(p->NbSubSkill, 20);
    EXPECT_EQ(p->NbLanguageSkills, 10);   // nine rows: no growth
    EXPECT_EQ(p->DirSkillsCat(0, 59), 60);
    EXPECT_EQ(p->DirSubSkills(5, 10), QStringLiteral("n9"));
}

TEST_F(CharacterFileTest, RowsAtTheCapacityAreSavedToo)
{
    ScriptedPortsScope ui;
    Personnage original;
    original.AddSkill(0, 60, RankKind::SkillCategory, 44);
    original.AddSkill(1, 60, RankKind::SkillCategory, 3);
    PersonnageAccess::RedimSkill(original);
    original.AddSkill(0, 10, RankKind::Skill, 99);
    save(original, QStringLiteral("edge.pja"));
    auto p = load(original.FileName, false);
    EXPECT_EQ(p->DirSkillsCat(0, 0), 44);
    EXPECT_EQ(p->DirSkillsCat(1, 0), 3);
    EXPECT_EQ(p->DirSkills(0, 0), 99);
}

TEST_F(CharacterFileTest, SavingAgainReplacesTheFileWithoutLeftovers)
{
    Personnage p;
    samples::develop(p);
    save(p, QStringLiteral("twice.pja"));
    // The rights the player gave the file stay with it.
    ASSERT_EQ(::chmod(QFile::encodeName(p.FileName).constData(), 0640), 0);
    Personnage second;
    second.Nom = QStringLiteral("Second");
    second.AddSkill(0, 0, RankKind::SkillCategory, 3);
    second.FileName = p.FileName;
    save(second, QStringLiteral("twice.pja"));
    EXPECT_EQ(folderEntries(), QStringList{"twice.pja"});
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(p.FileName).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);

    auto loaded = load(p.FileName, false);
    EXPECT_EQ(loaded->Nom, QStringLiteral("Second"));
    EXPECT_EQ(loaded->DirSkillsCat(0, 0), 3);
    EXPECT_EQ(loaded->DirSkillsCat(0, 1), 0);
    EXPECT_EQ(loaded->NbSkill, 0);
    EXPECT_EQ(loaded->DirSubSkills(5, 1), QStringLiteral("0"));
}

// ---------------------------------------------------------------- bad files

TEST_F(CharacterFileTest, FilesThatAreNoCharacterFileAreRefused)
{
    load(path("missing.pja"), true);
    EXPECT_FALSE(QFile::exists(path("missing.pja")));

    writeBytes(path("empty.pja"), QByteArray());
    load(path("empty.pja"), true);

    writeBytes(path("text.pja"), "Nom: Aëlis\nRace: 7\n");
    load(path("text.pja"), true);

    const QByteArray whole = bytes(savedSample());
    writeBytes(path("cut.pja"), whole.left(whole.size() / 2));
    auto cut = load(path("cut.pja"), true);
    EXPECT_TRUE(cut->Nom.isEmpty() || cut->Nom == QStringLiteral("Aëlis Morvenne"));

    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(path("notes.pja")).constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "CREATE TABLE notes(body TEXT); INSERT INTO notes VALUES('hello');", nullptr, nullptr,
                     nullptr);
        sqlite3_close(db);
    }
    auto other = load(path("notes.pja"), true);
    EXPECT_TRUE(other->Nom.isEmpty());
    // A refused file is left exactly as it was.
    EXPECT_EQ(folderEntries().size(), 5);
}

TEST_F(CharacterFileTest, MissingTablesAndColumnsStopTheLoadWhereTheyAre)
{
    const QString noSkill = savedSample(QStringLiteral("noskill.pja"));
    alter(noSkill, "DROP TABLE \"Skill\"");
    auto p = load(noSkill, true);
    EXPECT_EQ(p->Nom, QStringLiteral("Aëlis Morvenne"));
    EXPECT_EQ(p->DirSkillsCat(0, 59), 60);    // read before the failure
    EXPECT_EQ(p->NbSkill, 0);                 // never reached
    EXPECT_EQ(p->DirSubSkills(5, 1), QStringLiteral("0"));

    const QString noPot = savedSample(QStringLiteral("nopot.pja"));
    alter(noPot, "ALTER TABLE \"Stats\" DROP COLUMN pot");
    p = load(noPot, true, vb::ErrNotInCollection);
    EXPECT_EQ(p->Experience, 187654);
    EXPECT_EQ(p->DirStats(0, 0), 50);   // the first temporary value came before the missing column
    EXPECT_EQ(p->DirStats(0, 1), 0);
    EXPECT_EQ(p->DirCategorieWeapon(0), 0);

    const QString noGeneral = savedSample(QStringLiteral("nogeneral.pja"));
    alter(noGeneral, "DELETE FROM \"General\"");
    p = load(noGeneral, true);
    EXPECT_TRUE(p->Nom.isEmpty());
    EXPECT_EQ(p->DirStats(0, 0), 0);
}

TEST_F(CharacterFileTest, AShortStatisticsTableLeavesTheRestUnread)
{
    const QString file = savedSample();
    alter(file, "DELETE FROM \"Stats\" WHERE Stats_ID = 9");
    auto p = load(file, true);
    EXPECT_EQ(p->Bouclier, 5);
    EXPECT_EQ(p->DirStats(0, 8), 90);
    EXPECT_EQ(p->DirStats(0, 9), 0);
    EXPECT_EQ(p->DirCategorieWeapon(0), 0);
    EXPECT_EQ(p->DirResistanceSpecial(1), 0);
    EXPECT_EQ(p->DirSkillsCat(0, 0), 0);
    EXPECT_EQ(p->NbSkill, 0);
    EXPECT_EQ(p->NbSkillCat, 60);
}

TEST_F(CharacterFileTest, NullsAndOutOfRangeNumbersAreErrors)
{
    struct Case {
        const char *name;
        const char *sql;
        void (*check)(Personnage &);
    };
    const Case cases[] = {
        {"nulltext.pja", "UPDATE \"General\" SET Cheveux = NULL",
         [](Personnage &p) {
             EXPECT_EQ(p.Age, 23.25f);
             EXPECT_TRUE(p.Cheveux.isEmpty());
             EXPECT_TRUE(p.Yeux.isEmpty());
         }},
        {"nullnumber.pja", "UPDATE \"General\" SET Race_ID = NULL",
         [](Personnage &p) {
             EXPECT_EQ(p.Nom, QStringLiteral("Aëlis Morvenne"));
             EXPECT_EQ(p.Race_ID, 0);
             EXPECT_EQ(p.Profession_ID, 0);
         }},
        {"nullsub.pja", "UPDATE \"SubSkills\" SET Name = NULL WHERE SubSkill_ID = '2'",
         [](Personnage &p) {
             EXPECT_EQ(p.DirSubSkills(5, 1), QStringLiteral("Spécialité n°1"));
             EXPECT_EQ(p.DirSubSkills(4, 2), QStringLiteral("2"));
             EXPECT_EQ(p.DirLanguageSkills(0, 1), QStringLiteral("0"));
         }},
        {"bigapparence.pja", "UPDATE \"General\" SET Apparence = 40000",
         [](Personnage &p) {
             EXPECT_EQ(p.Experience, 187654);
             EXPECT_EQ(p.Apparence, 0);
         }},
        {"bigstat.pja", "UPDATE \"Stats\" SET temp = -32769 WHERE Stats_ID = 3",
         [](Personnage &p) {
             EXPECT_EQ(p.DirStats(2, 2), -2);
             EXPECT_EQ(p.DirStats(0, 3), 0);
         }},
        {"bigweapon.pja", "UPDATE \"Categorie Weapon\" SET CategorieWeapon = 65536",
         [](Personnage &p) { EXPECT_EQ(p.DirCategorieWeapon(0), 0); }},
        {"bigrank.pja", "UPDATE \"Skill\" SET Rank = 3000000000 WHERE Skill_ID = 1",
         [](Personnage &p) { EXPECT_EQ(p.DirSkillsCat(0, 59), 60); }},
        {"blob.pja", "UPDATE \"General\" SET Money = x'00ff'",
         [](Personnage &p) { EXPECT_EQ(p.Money, 0); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString file = savedSample(QString::fromLatin1(c.name));
        alter(file, c.sql);
        auto p = load(file, true);
        c.check(*p);
    }
}

TEST_F(CharacterFileTest, TriggersViewsAndNewerFormatsAreRefusedBeforeReading)
{
    const QString trigger = savedSample(QStringLiteral("trigger.pja"));
    alter(trigger, "CREATE TRIGGER t AFTER INSERT ON \"General\" BEGIN DELETE FROM \"Stats\"; END");
    auto p = load(trigger, true, vb::ErrNotADatabase);
    EXPECT_TRUE(p->Nom.isEmpty());

    const QString view = savedSample(QStringLiteral("view.pja"));
    alter(view, "ALTER TABLE \"General\" RENAME TO g0; CREATE VIEW \"General\" AS SELECT * FROM g0");
    p = load(view, true, vb::ErrNotADatabase);
    EXPECT_TRUE(p->Nom.isEmpty());

    const QString newer = savedSample(QStringLiteral("newer.pja"));
    alter(newer, "PRAGMA user_version = 2");
    QString text;
    p = load(newer, true, vb::ErrNotADatabase, &text);
    EXPECT_TRUE(p->Nom.isEmpty());
    EXPECT_TRUE(text.contains(QLatin1String("2")) && text.contains(QLatin1String("1"))) << qPrintable(text);

    // An older or equal format is read.
    const QString older = savedSample(QStringLiteral("older.pja"));
    alter(older, "PRAGMA user_version = 0");
    p = load(older, false);
    EXPECT_EQ(p->Nom, QStringLiteral("Aëlis Morvenne"));
}

// ---------------------------------------------------------------- foreign and damaged files in words

// What the player reads when a file is refused: which kind of fault it is,
// with its reason, under the failure's own number and the location "LoadP".
TEST_F(CharacterFileTest, RefusedFilesSayInWordsWhatIsWrong)
{
    struct Case {
        const char *name;
        qint32 number;
        const char *french, *english;   // words the text must hold
    };
    const QString noPot = savedSample(QStringLiteral("nopot.pja"));
    alter(noPot, "ALTER TABLE \"Stats\" DROP COLUMN pot");
    const QString newer = savedSample(QStringLiteral("newer.pja"));
    alter(newer, "PRAGMA user_version = 3");
    const QString big = savedSample(QStringLiteral("big.pja"));
    alter(big, "UPDATE \"General\" SET Historique = printf('%.*c', 1100000, 'x')");
    writeBytes(path(QStringLiteral("notes.pja")), QByteArray(2048, 'x'));
    const QString unknown = savedSample(QStringLiteral("unknown.pja"));
    alter(unknown, "PRAGMA user_version = -1");
    ASSERT_EQ(::symlink("loop.pja", QFile::encodeName(path(QStringLiteral("loop.pja"))).constData()), 0);
    // A name one byte past what the folder takes: shown cut at 40 characters.
    const std::string longName = std::string(252, 'n') + ".pja", cut = std::string(40, 'n') + "…";
    const std::string longFrench = "n'a pas pu être lu : le nom «\u00a0" + cut +
                                   "\u00a0» est trop long : il compte 256 octets alors que le dossier en accepte au plus 255";
    const std::string longEnglish =
        "could not be read: the name “" + cut + "” is too long: it takes 256 bytes where the folder takes at most 255";
    const Case cases[] = {
        {"nopot.pja", vb::ErrNotInCollection, "est endommagé ; il n'a pas été ouvert : la colonne «\u00a0pot\u00a0» "
                                              "manque dans la table «\u00a0Stats\u00a0»",
         "is damaged and was not opened: the column “pot” is missing from the table “Stats”"},
        {"notes.pja", vb::ErrNotADatabase, "n'est pas un fichier de personnage", "is not a character file"},
        {"newer.pja", vb::ErrNotADatabase, "version plus récente du programme (format 3 ; cette version lit les "
                                           "formats jusqu'au format 1)",
         "newer version of the program (format 3; this version reads formats up to 1)"},
        {"big.pja", vb::ErrIo, "est trop grand pour être ouvert : la colonne «\u00a0Historique\u00a0» de la table "
                               "«\u00a0General\u00a0» contient à la ligne 1 un texte de 1100000 caractères",
         "is too large to open: the column “Historique” of the table “General” holds a text of 1100000 "
         "characters in row 1"},
        {"absent.pja", vb::ErrCannotOpenFile, "n'a pas pu être lu : il n'existe pas",
         "could not be read: it does not exist"},
        {"unknown.pja", vb::ErrNotADatabase, "n'est pas un fichier de personnage ; il n'a pas été ouvert : il porte le "
                                             "numéro de format -1, qu'aucune version de ce programme n'écrit",
         "is not a character file and was not opened: it carries the format number -1, which no version of this "
         "program writes"},
        {"loop.pja", vb::ErrCannotOpenFile, "n'a pas pu être lu : c'est un lien symbolique qui renvoie à lui-même, en "
                                            "boucle",
         "could not be read: it is a symbolic link that leads back to itself, in a loop"},
        {longName.c_str(), vb::ErrBadPath, longFrench.c_str(), longEnglish.c_str()},
    };
    for (const auto language : {Strings::Language::French, Strings::Language::English}) {
        Strings::setLanguage(language);
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            QString text;
            load(path(QString::fromLatin1(c.name)), true, c.number, &text);
            const QString expected =
                QString::fromUtf8(language == Strings::Language::French ? c.french : c.english);
            EXPECT_TRUE(text.contains(expected)) << text.toStdString();
            EXPECT_TRUE(text.contains(QDir::toNativeSeparators(path(QString::fromLatin1(c.name)))));
        }
    }
}

// Every value must be one the program could have written: whole numbers
// stored as whole numbers, identifiers and ranks never negative, sub-skill
// numbers in the decimal text the program writes.
TEST_F(CharacterFileTest, ValuesNoWindowWritesAreRefused)
{
    Strings::setLanguage(Strings::Language::English);
    struct Case {
        const char *sql;
        qint32 number;
        const char *words;
    };
    const Case cases[] = {
        {"UPDATE \"General\" SET Race_ID = '&HFFFF'", vb::ErrTypeMismatch, "“Race_ID”"},
        {"UPDATE \"General\" SET Sexe = 'true'", vb::ErrTypeMismatch, "“Sexe”"},
        {"UPDATE \"General\" SET Age = 'vingt'", vb::ErrTypeMismatch, "“Age”"},
        {"UPDATE \"General\" SET Poids = 1e39", vb::ErrOverflow, "“Poids”"},
        {"UPDATE \"General\" SET Bouclier = -1", vb::ErrOverflow, "holds -1 in row 1, outside the possible values"},
        {"UPDATE \"General\" SET Armure = -1", vb::ErrOverflow, "“Armure”"},
        {"UPDATE \"Skill\" SET Rank = -1 WHERE Skill_ID = 3", vb::ErrOverflow, "“Rank” of the table “Skill” holds -1 "
                                                                              "in row 3"},
        {"UPDATE \"Skill\" SET Skill_ID = -0.5 WHERE Skill_ID = 1", vb::ErrTypeMismatch, "holds “-0.5” in row 1 "
                                                                                        "where a whole number"},
        {"UPDATE \"SubSkills\" SET SubSkill_ID = '0x10' WHERE SubSkill_ID = '2'", vb::ErrTypeMismatch, "“0x10”"},
        {"UPDATE \"SubSkills\" SET Rank = '07' WHERE SubSkill_ID = '2'", vb::ErrTypeMismatch, "“07”"},
        {"UPDATE \"Categorie Weapon\" SET CategorieWeapon = -3", vb::ErrOverflow, "“CategorieWeapon”"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.sql);
        const QString file = savedSample(QStringLiteral("odd.pja"));
        alter(file, c.sql);
        QString text;
        load(file, true, c.number, &text);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.words))) << text.toStdString();
    }
    // A negative age is what a player may type on the sheet: it stays readable.
    Personnage p;
    samples::develop(p);
    p.Age = -100000.0f;
    EXPECT_EQ(load(save(p, QStringLiteral("young.pja")), false)->Age, -100000.0f);
}

// A file the program did not mark (made by hand or by another tool) is a
// character file when it has the ten tables and their columns.
TEST_F(CharacterFileTest, AnUnmarkedFileIsKnownByItsTablesAndColumns)
{
    Strings::setLanguage(Strings::Language::English);
    const QString unmarked = savedSample(QStringLiteral("unmarked.pja"));
    alter(unmarked, "PRAGMA application_id = 0");
    EXPECT_EQ(load(unmarked, false)->Nom, QStringLiteral("Aëlis Morvenne"));

    QString text;
    const QString partial = savedSample(QStringLiteral("partial.pja"));
    alter(partial, "PRAGMA application_id = 0; ALTER TABLE \"Resistance Special\" DROP COLUMN Resistance_ID");
    EXPECT_TRUE(load(partial, true, vb::ErrNotADatabase, &text)->Nom.isEmpty());
    EXPECT_TRUE(text.contains(QStringLiteral("not a character file and was not opened: the column “Resistance_ID”")))
        << text.toStdString();

    const QString foreign = savedSample(QStringLiteral("foreign.pja"));
    alter(foreign, "PRAGMA application_id = 1234");
    load(foreign, true, vb::ErrNotADatabase, &text);
    EXPECT_TRUE(text.contains(QStringLiteral("another program"))) << text.toStdString();
}

// Damaged copies of a valid file must never crash or hang the program: each
// load either succeeds or reports one error, in reasonable time.
TEST_F(CharacterFileTest, FlippedBytesNeverCrashOrHang)
{
    const QByteArray valid = bytes(savedSample());
    ASSERT_GT(valid.size(), 1000);
    std::mt19937 rng(20240611);
    std::uniform_int_distribution<int> flips(1, 8);
    std::uniform_int_distribution<int> bit(0, 7);
    // Half the variants hit the first page (header and schema), where damage matters most.
    std::uniform_int_distribution<qsizetype> anywhere(0, valid.size() - 1);
    std::uniform_int_distribution<qsizetype> firstPage(0, std::min<qsizetype>(valid.size(), 4096) - 1);
    const QString file = path(QStringLiteral("fuzz.pja"));
    int refused = 0;
    for (int variant = 0; variant < 300; ++variant) {
        QByteArray damaged = valid;
        const int n = flips(rng);
        for (int i = 0; i < n; ++i) {
            const qsizetype at = variant % 2 ? anywhere(rng) : firstPage(rng);
            damaged[at] = char(damaged[at] ^ (1 << bit(rng)));
        }
        writeBytes(file, damaged);
        ScriptedPortsScope ui;
        ui->expectError("LoadP").allowUnused();
        Personnage p;
        p.FileName = file;
        const auto start = std::chrono::steady_clock::now();
        p.LoadP();
        const auto took = std::chrono::steady_clock::now() - start;
        ASSERT_LE(ui->count(ScriptedPorts::Kind::ErrorBox), 1) << "variant " << variant;
        ASSERT_LT(took, std::chrono::seconds(2)) << "variant " << variant;
        ASSERT_FALSE(ModGeneral::DbPlayer.isOpen());
        refused += ui->count(ScriptedPorts::Kind::ErrorBox);
        if (HasFatalFailure())
            return;
    }
    EXPECT_GT(refused, 0);
}

// ---------------------------------------------------------------- sizes

// The record reaches its rows through 16-bit indexes and a text box takes
// 32767 characters: a file at those sizes opens, one past them is refused
// before it can cost the player minutes, and a character past them is not
// saved into a file it could not be opened from.
TEST_F(CharacterFileTest, FilesAtTheCapsOpenAndFilesPastThemAreRefused)
{
    Strings::setLanguage(Strings::Language::English);
    ASSERT_EQ(character::MaxTableRows, 32767);
    ASSERT_EQ(character::MaxTextLength, 32767);
    const QString atCaps = savedSample(QStringLiteral("caps.pja"));
    alter(atCaps, "DELETE FROM \"Skill\";"
                  "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 32767)"
                  " INSERT INTO \"Skill\" SELECT i, 1, 0, 0 FROM k;"
                  "UPDATE \"General\" SET Historique = printf('%.*c', 32767, 'h'), Nom = printf('%.*c', 32767, 'n')");
    auto p = load(atCaps, false);
    EXPECT_EQ(p->DirSkills(0, 32766), 32767);
    EXPECT_EQ(p->Historique.toString().size(), 32767);
    save(*p, QStringLiteral("caps-again.pja"));   // and saves again

    QString text;
    const QString rows = savedSample(QStringLiteral("rows.pja"));
    alter(rows, "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 32768)"
                " INSERT INTO \"Spell Skills\" SELECT i, 1, 0, 0, i FROM k");
    load(rows, true, vb::ErrIo, &text);
    EXPECT_TRUE(text.contains(QStringLiteral("too large to open: the table “Spell Skills” holds 32778 rows; a table "
                                             "holds at most 32767")))
        << text.toStdString();

    const QString name = savedSample(QStringLiteral("name.pja"));
    alter(name, "UPDATE \"SubSkills\" SET Name = printf('%.*c', 32768, 'n') WHERE SubSkill_ID = '4'");
    load(name, true, vb::ErrIo, &text);
    EXPECT_TRUE(text.contains(QStringLiteral("holds a text of 32768 characters in row 4"))) << text.toStdString();

    // The file is read whole into memory: one past the size cap is refused unread.
    const QString huge = savedSample(QStringLiteral("huge.pja"));
    alter(huge, "CREATE TABLE Extra(b); INSERT INTO Extra VALUES (zeroblob(16 * 1024 * 1024))");
    ASSERT_GT(QFileInfo(huge).size(), character::MaxFileBytes);
    load(huge, true, vb::ErrIo, &text);
    EXPECT_TRUE(text.contains(QStringLiteral("it holds %1 bytes; a character file holds at most 16777216")
                                  .arg(QFileInfo(huge).size())))
        << text.toStdString();

    // A journal that makes a small file larger than the cap: the box names the journal.
    const QString claimed = savedSample(QStringLiteral("claimed.pja"));
    filetest::stopMidChange(claimed, "UPDATE \"General\" SET Nom = 'Torn'");
    {
        // The size the file had before the change, in pages of 4096 bytes: 8192.
        QByteArray journal = bytes(claimed + QStringLiteral("-journal"));
        journal.replace(16, 4, QByteArray::fromHex("00002000"));
        writeBytes(claimed + QStringLiteral("-journal"), journal);
    }
    load(claimed, true, vb::ErrIo, &text);
    EXPECT_EQ(text, QStringLiteral("The file “%1” is too large to open: the change another program did not finish, "
                                   "left in the file “%1-journal” beside it, makes it 33554432 bytes; this program "
                                   "reads at most 16777216.")
                        .arg(claimed));

    // A log beside a small file past the cap: the box names the log.
    const QString logged = savedSample(QStringLiteral("logged.pja"));
    QFile log(logged + QStringLiteral("-wal"));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly) && log.resize(17825792));
    log.close();
    load(logged, true, vb::ErrIo, &text);
    EXPECT_TRUE(text.contains(QStringLiteral("could not be read: the file “%1-wal” beside it, left by a change another "
                                             "program did not finish, holds 17825792 bytes; this program reads at "
                                             "most 16777216")
                                  .arg(logged)))
        << text.toStdString();

    // A file of exactly the size cap opens: free pages fill it to the byte.
    const QString atSize = savedSample(QStringLiteral("atsize.pja"));
    {
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(atSize).constData(), &db), SQLITE_OK);
        const auto number = [db](const char *sql) {
            sqlite3_stmt *st = nullptr;
            sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
            const qint64 n = sqlite3_step(st) == SQLITE_ROW ? sqlite3_column_int64(st, 0) : -1;
            sqlite3_finalize(st);
            return n;
        };
        const qint64 pageSize = number("PRAGMA page_size");
        const qint64 pages = character::MaxFileBytes / pageSize;
        sqlite3_exec(db, "BEGIN; CREATE TABLE Filler(b)", nullptr, nullptr, nullptr);
        // One long value up to near the cap, then rows of one page each.
        const QByteArray bulk = QByteArray("INSERT INTO Filler VALUES (zeroblob(")
                                + QByteArray::number((pages - number("PRAGMA page_count") - 50) * (pageSize - 4)) + "))";
        sqlite3_exec(db, bulk.constData(), nullptr, nullptr, nullptr);
        const QByteArray page = "INSERT INTO Filler VALUES (zeroblob(" + QByteArray::number(pageSize * 3 / 4) + "))";
        while (number("PRAGMA page_count") < pages)
            sqlite3_exec(db, page.constData(), nullptr, nullptr, nullptr);
        sqlite3_exec(db, "DROP TABLE Filler; COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
    ASSERT_EQ(QFileInfo(atSize).size(), character::MaxFileBytes);
    EXPECT_EQ(load(atSize, false)->Nom, QStringLiteral("Aëlis Morvenne"));

    // Saving refuses what opening would, and keeps the file saved before.
    const QByteArray before = bytes(atCaps);
    ScriptedPortsScope ui;
    Personnage q;
    samples::develop(q);
    q.Historique = QString(32768, QLatin1Char('h'));
    q.FileName = atCaps;
    ui->expectError("SaveP", vb::ErrIo);
    EXPECT_FALSE(q.SaveP());
    EXPECT_TRUE(ui->errors().front().text.contains(QStringLiteral("the text “History” holds 32768 characters")))
        << ui->errors().front().text.toStdString();
    Personnage many;
    auto &subSkills = PersonnageAccess::SubSkills(many);
    subSkills.redim(32768);
    for (qint64 row = 1; row <= 32768; ++row) {
        subSkills(Personnage::fId, row) = QStringLiteral("300");
        subSkills(Personnage::fKey, row) = QString::number(row);
    }
    many.FileName = atCaps;
    ui->expectError("SaveP", vb::ErrIo);
    EXPECT_FALSE(many.SaveP());
    EXPECT_TRUE(ui->errors().back().text.contains(
        QStringLiteral("the table “SubSkills” would hold 32768 rows; a table holds at most 32767")))
        << ui->errors().back().text.toStdString();
    EXPECT_EQ(bytes(atCaps), before);
}

// ---------------------------------------------------------------- what lies beside the file

// Opening reads the file and nothing is ever made or changed beside it. A
// journal or write-ahead log that another program left beside it (stopped in
// the middle of a change) is settled on a private copy: the file opens as that
// program's last finished change left it.
TEST_F(CharacterFileTest, OpeningLeavesNothingBesideTheFile)
{
    // Ranks raised in a change that never finished: the file already holds
    // some of them, its journal the ranks as they were.
    const QString torn = savedSample(QStringLiteral("torn.pja"));
    {
        alter(torn, "WITH RECURSIVE k(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM k WHERE i < 5000)"
                    " INSERT INTO \"Weapon Skills\" SELECT 500, 1, 0, 0, i FROM k");
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(QFile::encodeName(torn).constData(), &db), SQLITE_OK);
        sqlite3_exec(db, "PRAGMA cache_size = 2; BEGIN; UPDATE \"Weapon Skills\" SET Rank = Rank + 1", nullptr,
                     nullptr, nullptr);
        ASSERT_TRUE(QFile::copy(torn + QStringLiteral("-journal"), path(QStringLiteral("j"))));
        ASSERT_TRUE(QFile::copy(torn, path(QStringLiteral("t"))));
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(db);
        ASSERT_TRUE(QFile::remove(torn));
        ASSERT_TRUE(QFile::rename(path(QStringLiteral("t")), torn));
        ASSERT_TRUE(QFile::rename(path(QStringLiteral("j")), torn + QStringLiteral("-journal")));
    }
    // A file in write-ahead mode, its last change still in the log beside it.
    const QString wal = savedSample(QStringLiteral("wal.pja"));
    filetest::stopMidLog(wal, "UPDATE \"General\" SET Nom = 'Wal'");
    const QString plainWal = savedSample(QStringLiteral("plainwal.pja"));
    alter(plainWal, "PRAGMA journal_mode = WAL");
    ASSERT_EQ(bytes(plainWal).at(18), 2);
    // Journals that claim their change spanned several files and name the
    // journal of the whole: the engine would read what is named there and
    // delete it, or wait on a pipe for good. No such change is ever this
    // program's: it is rolled back as the file's own, and what it names is
    // never reached.
    const QString victim = path(QStringLiteral("victim.txt"));
    writeBytes(victim, "the player's notes");
    const QString pipe = path(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    const QString toFile = savedSample(QStringLiteral("tofile.pja"));
    filetest::stopMidChange(toFile, "UPDATE \"General\" SET Nom = 'Torn'", QFile::encodeName(victim));
    const QString toPipe = savedSample(QStringLiteral("topipe.pja"));
    filetest::stopMidChange(toPipe, "UPDATE \"General\" SET Nom = 'Torn'", QFile::encodeName(pipe));

    const QStringList entries = folderEntries();
    QList<QByteArray> before;
    for (const QString &e : entries)
        before << (QFileInfo(path(e)).isFile() ? bytes(path(e)) : QByteArray());

    auto p = load(torn, false);
    for (qint32 r = 11; r <= 5010; ++r)
        ASSERT_EQ(p->DirWeaponSkills(1, r), QStringLiteral("1")) << r;
    EXPECT_EQ(load(wal, false)->Nom, QStringLiteral("Wal"));
    EXPECT_EQ(load(plainWal, false)->Nom, QStringLiteral("Aëlis Morvenne"));
    {
        // Were the pipe waited on, a writer passing after two seconds lets
        // the test go on, and the clock tells.
        std::atomic<bool> done{false};
        std::thread writer([&done, &pipe] {
            const auto start = std::chrono::steady_clock::now();
            while (!done) {
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
                if (std::chrono::steady_clock::now() - start < std::chrono::seconds(2))
                    continue;
                const int fd = ::open(QFile::encodeName(pipe).constData(), O_WRONLY | O_NONBLOCK);
                if (fd >= 0)
                    ::close(fd);
            }
        });
        for (const QString &named : {toFile, toPipe}) {
            const auto start = std::chrono::steady_clock::now();
            EXPECT_EQ(load(named, false)->Nom, QStringLiteral("Aëlis Morvenne")) << named.toStdString();
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1)) << named.toStdString();
        }
        done = true;
        writer.join();
    }

    EXPECT_EQ(folderEntries(), entries);
    for (int i = 0; i < entries.size(); ++i)
        if (QFileInfo(path(entries[i])).isFile())
            EXPECT_EQ(bytes(path(entries[i])), before[i]) << entries[i].toStdString();
}

// A save killed before its rename leaves its copy beside the file; the next
// save of that file removes it. A copy another program is still writing (it
// holds its lock) is left alone, and so is every file without the program's
// mark: a player's own copies of the character, and the copies older versions
// left unmarked.
TEST_F(CharacterFileTest, ASaveRemovesTheCopiesKilledSavesLeftBehind)
{
    const QString hero = savedSample(QStringLiteral("hero.pja"));
    const QByteArray whole = bytes(hero);
    writeBytes(path(QStringLiteral(".hero.pja.~qv-kQzTmv")), whole.left(whole.size() / 2));   // killed mid-way
    writeBytes(path(QStringLiteral(".hero.pja.~qv-PwRbXa")), QByteArray());                   // killed at once
    writeBytes(path(QStringLiteral(".hero.pja.backup")), whole);
    writeBytes(path(QStringLiteral(".hero.pja.old123")), whole);
    writeBytes(path(QStringLiteral(".hero.pja.kQzTmv")), whole.left(whole.size() / 2));
    writeBytes(path(QStringLiteral(".other.pja.~qv-kQzTmv")), whole);
    writeBytes(path(QStringLiteral(".hero.pja.~qv-BusyXy")), whole.left(100));
    const int busy = ::open(QFile::encodeName(path(QStringLiteral(".hero.pja.~qv-BusyXy"))).constData(), O_RDONLY);
    ASSERT_GE(busy, 0);
    ASSERT_EQ(::flock(busy, LOCK_EX), 0);   // another program's save under way

    Personnage p;
    samples::develop(p);
    save(p, QStringLiteral("hero.pja"));
    QStringList expected{".hero.pja.backup", ".hero.pja.kQzTmv", ".hero.pja.old123", ".hero.pja.~qv-BusyXy",
                         ".other.pja.~qv-kQzTmv", "hero.pja"};
    QStringList entries = folderEntries();
    entries.sort();
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(bytes(path(QStringLiteral(".hero.pja.backup"))), whole);
    EXPECT_EQ(bytes(path(QStringLiteral(".hero.pja.old123"))), whole);

    ::close(busy);
    save(p, QStringLiteral("hero.pja"));
    expected.removeAt(3);
    entries = folderEntries();
    entries.sort();
    EXPECT_EQ(entries, expected);
    EXPECT_EQ(load(hero, false)->Nom, QStringLiteral("Aëlis Morvenne"));
}

// A journal or log another program left beside the file would bring its
// older change back over what a save wrote, at the next Open here or in any
// program: the save settles that change in the old file and takes them away
// before the new file takes its place, so that no moment of the save leaves
// the new file beside them; one that cannot go stops the save.
TEST_F(CharacterFileTest, ASaveTakesAwayWhatAnUnfinishedChangeLeftBeside)
{
    const auto link = [this](const char *text, const char *at) {
        ASSERT_EQ(::symlink(text, QFile::encodeName(path(QLatin1String(at))).constData()), 0) << at;
    };
    const QString hero = savedSample(QStringLiteral("hero.pja"));
    filetest::stopMidChange(hero, "UPDATE \"General\" SET Nom = 'Torn'");
    writeBytes(hero + QStringLiteral("-shm"), QByteArray(32768, '\0'));
    // Through a chain of links, the file written is the one at its end, found
    // as the system finds it: the ".." after the linked folder "a/sub" leaves
    // "deep", where it leads. Another character stands where the link's text
    // alone would lead, and no link on the way becomes a file.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("deep")));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("a")));
    const QString other = savedSample(QStringLiteral("a/hero.pja"));
    const QByteArray otherBytes = bytes(other);
    link("../deep", "a/sub");
    link("sub/../hero.pja", "a/link.pja");
    link("a/link.pja", "link2.pja");
    auto p = load(path(QStringLiteral("link2.pja")), false);
    EXPECT_EQ(p->Nom, QStringLiteral("Aëlis Morvenne"));   // the journal took the change back
    p->Nom = QStringLiteral("Brenna");
    save(*p, QStringLiteral("link2.pja"));
    QStringList entries = folderEntries();
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"a", "deep", "hero.pja", "link2.pja"}));
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("a/link.pja"))).isSymLink());
    EXPECT_EQ(bytes(other), otherBytes);
    EXPECT_EQ(load(hero, false)->Nom, QStringLiteral("Brenna"));

    // A log beside a file in write-ahead mode: its change is written in, and
    // the log and its index go.
    const QString wal = savedSample(QStringLiteral("wal.pja"));
    filetest::stopMidLog(wal, "UPDATE \"General\" SET Nom = 'Wal'");
    save(*p, QStringLiteral("wal.pja"));
    EXPECT_FALSE(QFileInfo::exists(wal + QStringLiteral("-wal")) || QFileInfo::exists(wal + QStringLiteral("-shm")));
    EXPECT_EQ(load(wal, false)->Nom, QStringLiteral("Brenna"));

    // A journal reached through a link is not followed: Open says so, and a
    // save takes the link away without what it leads to.
    const QString linked = savedSample(QStringLiteral("linked.pja"));
    filetest::stopMidChange(linked, "UPDATE \"General\" SET Nom = 'Torn'");
    ASSERT_TRUE(QFile::rename(linked + QStringLiteral("-journal"), path(QStringLiteral("held"))));
    link("held", "linked.pja-journal");
    const QByteArray held = bytes(path(QStringLiteral("held")));
    QString text;
    load(linked, true, vb::ErrCannotOpenFile, &text);
    EXPECT_EQ(text, QStringLiteral("The file “%1” could not be read: the file “%1-journal” beside it, where the "
                                   "engine looks for a change another program did not finish, is a symbolic link to "
                                   "another file, which this program does not follow; remove the link to open the "
                                   "character.")
                        .arg(linked));
    save(*p, QStringLiteral("linked.pja"));
    struct stat st {};
    EXPECT_NE(::lstat(QFile::encodeName(linked + QStringLiteral("-journal")).constData(), &st), 0);
    EXPECT_EQ(bytes(path(QStringLiteral("held"))), held);
    EXPECT_EQ(load(linked, false)->Nom, QStringLiteral("Brenna"));
    // A folder under a journal's name is no journal: the file opens and is
    // saved beside it, and it stays.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("linked.pja-journal")));
    save(*load(linked, false), QStringLiteral("linked.pja"));
    EXPECT_TRUE(QFileInfo(linked + QStringLiteral("-journal")).isDir());

    // Beside a character: what `sh` leaves, and a change stopped mid-way
    // ("CommittedNew") whose journal names `whole` as the journal of the whole
    // ("/…" in the folder), or a log ("Wal"). Open reads `name` or refuses so;
    // the save goes through or is refused in `saved`; the folder then holds
    // `left`, and the old file, kept under a second name, what Open read.
    const QString was = QStringLiteral("Aëlis Morvenne"), fresh = QStringLiteral("CommittedNew");
    const QString links = QStringLiteral("the way to it passes through more than 40 symbolic links, more than the "
                                         "system follows in one path");
    const QString tmp = QStringLiteral("The file “%1/hero.pja” could not be read: the temporary folder “%1/%2”, where "
                                       "the change left beside the file is settled on a copy, cannot be written: %3.");
    const QStringList two{"hero.pja", "kept.pja"}, mj{"hero.pja", "kept.pja", "mj"};
    const struct {
        const char *sh;
        QByteArray whole;
        QString name, saved;
        QStringList left;
        const char *at = "hero.pja", *tmp = nullptr;
    } rows[] = {
        {"", "/gone", fresh, {}, two},
        {": > mj", "/mj", fresh, {}, mj},
        {"echo notes > mj", "/mj", was, {}, mj},
        {"echo notes > mj", "mj", fresh, {}, mj},
        {"", QByteArray("\0/gone", 6), was, {}, two},
        {"", '/' + QByteArray(520, 'n'), was, {}, two},
        {"rm hero.pja-shm; mkfifo hero.pja-shm", "wal", "Wal", {}, two},
        {"ln -s nowhere hero.pja-journal", {}, was, {}, two},
        {"echo notes > .hero.pja.~qv-Notes1", {}, was, {}, {".hero.pja.~qv-Notes1", "hero.pja", "kept.pja"}},
        {"printf 'SQLite format 3\\0' > .hero.pja.~qv-kQzTmvX", {}, was, {},
         {".hero.pja.~qv-kQzTmvX", "hero.pja", "kept.pja"}},
        {"echo notes > mj", "/mj", tmp.arg("%1", "notmp", "it does not exist"), {}, mj, "hero.pja", "notmp"},
        {"echo notes > mj; mkdir -m 555 tmp", "/mj", tmp.arg("%1", "tmp", "you are not allowed to write in it"), {},
         {"hero.pja", "kept.pja", "mj", "tmp"}, "hero.pja", "tmp"},
        {"mkdir chain; ln -s . chain/fl; ln -s ../hero.pja chain/e26.pja;"
         " for i in $(seq 25); do ln -s fl/e$((i + 1)).pja chain/e$i.pja; done",
         {}, "The file “%1/chain/e1.pja” could not be read: " + links + '.',
         "The character was not saved: the file “%1/chain/e1.pja” cannot be written: " + links
             + ". Nothing was written.",
         {"chain", "hero.pja", "kept.pja"}, "chain/e1.pja"},
        {"ln -s gone away", {}, "The file “%1/away/hero.pja” could not be read: it does not exist.",
         "The character was not saved: the folder “%1/away” that should hold the file “%1/away/hero.pja” does not "
         "exist. Nothing was written.", {"away", "hero.pja", "kept.pja"}, "away/hero.pja"},
    };
    const QByteArray tmpWas = qgetenv("TMPDIR");
    ::chmod(QFile::encodeName(m_dir.path()).constData(), 0711);   // the other user opens in "tmp"
    for (const auto &r : rows) {
        const QString n = QString::number(&r - rows), d = path(n), at = d + '/' + r.at;
        SCOPED_TRACE(d.toStdString());
        ASSERT_TRUE(QDir().mkdir(d));
        ASSERT_EQ(::link(QFile::encodeName(savedSample(n + "/hero.pja")), QFile::encodeName(d + "/kept.pja")), 0);
        if (r.whole == "wal")
            filetest::stopMidLog(d + "/hero.pja", "UPDATE \"General\" SET Nom = 'Wal'");
        else if (!r.whole.isNull())
            filetest::stopMidChange(d + "/hero.pja", "UPDATE \"General\" SET Nom = 'CommittedNew'",
                                    r.whole.startsWith('/') ? QFile::encodeName(d) + r.whole : r.whole);
        ASSERT_EQ(std::system(qPrintable("cd " + d + " || exit 1; " + r.sh)), 0);
        qputenv("TMPDIR", r.tmp ? QFile::encodeName(d + '/' + r.tmp) : tmpWas);
        const bool refused = r.name.startsWith(QStringLiteral("The file"));
        QString text;
        std::unique_ptr<Personnage> q;
        if (!filetest::unprivileged([&] { q = load(at, refused, 0, &text); }))
            continue;   // no other user to take
        EXPECT_EQ(refused ? text : q->Nom, refused ? r.name.arg(d) : r.name);
        q->Nom = QStringLiteral("Brenna");
        if (r.saved.isEmpty())
            EXPECT_EQ(load(save(*q, n + '/' + r.at), false)->Nom, QStringLiteral("Brenna"));
        else
            EXPECT_EQ(filetest::refusedSave(*q, at, 0), r.saved.arg(d));
        EXPECT_EQ(QDir(d).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name),
                  r.left);
        EXPECT_EQ(load(d + "/kept.pja", false)->Nom, refused ? was : r.name);
    }
    tmpWas.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", tmpWas);

    // In a folder where each may remove only their own files, someone else's
    // journal stays: the save is refused, and the box names the journal.
    const QString shared = path(QStringLiteral("shared"));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("shared")));
    ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0711), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(shared).constData(), 01777), 0);
    const QString theirs = savedSample(QStringLiteral("shared/hero.pja"));
    filetest::stopMidChange(theirs, "UPDATE \"General\" SET Nom = 'Torn'");
    ASSERT_EQ(::chown(QFile::encodeName(theirs).constData(), 65534, 65534), 0);
    const QByteArray before = bytes(theirs);
    const std::optional<QString> refused = filetest::refusedSaveAsOther(theirs, vb::ErrPermission, m_dir.path());
    if (!refused)
        GTEST_SKIP() << "cannot take another user";
    EXPECT_EQ(*refused, QStringLiteral("The character was not saved: the change another program did not finish, left in "
                                   "the file “%1-journal” beside “%1”, could not be settled first: you are not "
                                   "allowed to change or remove it. Nothing was written; the file saved before is "
                                   "unchanged.")
                        .arg(theirs));
    EXPECT_EQ(bytes(theirs), before);
    EXPECT_EQ(load(theirs, false)->Nom, QStringLiteral("Aëlis Morvenne"));
}

// ---------------------------------------------------------------- failed saves

TEST_F(CharacterFileTest, SaveIntoAMissingFolderReportsOnce)
{
    ScriptedPortsScope ui;
    Personnage p;
    p.FileName = path(QStringLiteral("nowhere/hero.pja"));
    ui->expectError("SaveP");
    p.SaveP();
    EXPECT_FALSE(QDir(path(QStringLiteral("nowhere"))).exists());
    EXPECT_TRUE(folderEntries().isEmpty());
}

// The file itself may be written, but a save writes its new file beside it
// first: the folder's rights decide, and the box says so.
TEST_F(CharacterFileTest, SaveIntoAReadOnlyFolderKeepsTheOldFile)
{
    const QString old = savedSample(QStringLiteral("hero.pja"));
    const QByteArray before = bytes(old);
    ASSERT_EQ(::chmod(QFile::encodeName(old).constData(), 0666), 0);
    ASSERT_EQ(::chmod(QFile::encodeName(m_dir.path()).constData(), 0555), 0);
    // Folder rights do not bind the superuser: the save runs as nobody.
    const std::optional<QString> refused = filetest::refusedSaveAsOther(old, vb::ErrPermission, m_dir.path());
    if (!refused)
        GTEST_SKIP() << "cannot take another user";
    EXPECT_EQ(*refused, QStringLiteral("The character was not saved: the file “%1” cannot be written: the folder that "
                                   "holds it does not allow writing, and a save writes the new file beside the old one "
                                   "before putting it in its place. Nothing was written; the file saved before is "
                                   "unchanged.")
                        .arg(old));
    EXPECT_EQ(bytes(old), before);
    EXPECT_EQ(folderEntries(), QStringList{"hero.pja"});
}

TEST_F(CharacterFileTest, AFailedSaveLeavesThePreviousFileAsItWas)
{
    const QString old = savedSample(QStringLiteral("hero.pja"));
    const QByteArray before = bytes(old);

    // A template that breaks half-way through writing: the last table is missing.
    const QString broken = path(QStringLiteral("broken-template.dat"));
    ASSERT_TRUE(QFile::copy(filetest::binFile("player.dat"), broken));
    alter(broken, "DROP TABLE \"Spell Skills\"");
    ModGeneral::PlayerPath = broken;
    {
        ScriptedPortsScope ui;
        Personnage p;
        p.Nom = QStringLiteral("Autre");
        p.FileName = old;
        ui->expectError("SaveP");
        p.SaveP();
        EXPECT_FALSE(ModGeneral::DbPlayer.isOpen());
    }
    EXPECT_EQ(bytes(old), before);
    QStringList entries = folderEntries();
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"broken-template.dat", "hero.pja"}));

    // No template at all.
    ModGeneral::PlayerPath = path(QStringLiteral("absent.dat"));
    {
        ScriptedPortsScope ui;
        Personnage p;
        p.FileName = old;
        ui->expectError("SaveP");
        p.SaveP();
    }
    EXPECT_EQ(bytes(old), before);

    // A folder standing where the file should go.
    filetest::useBuiltTemplate();
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("taken.pja")));
    {
        ScriptedPortsScope ui;
        Personnage p;
        p.FileName = path(QStringLiteral("taken.pja"));
        ui->expectError("SaveP");
        p.SaveP();
    }
    EXPECT_TRUE(QFileInfo(path(QStringLiteral("taken.pja"))).isDir());

    // The file written is read back as File > Open reads it: one that Open
    // would refuse (here an element twice) never takes the old one's place.
    {
        Personnage p;
        samples::develop(p);
        PersonnageAccess::Skill(p)(Personnage::fId, 1) = 1;
        EXPECT_EQ(filetest::refusedSave(p, old, vb::ErrDuplicate),
                  QStringLiteral("The character was not saved: the file written would not open again: the table "
                                 "“Skill” holds the same element twice, in rows 1 and 2 (Skill_ID 1). Nothing was "
                                 "written; the file saved before is unchanged."));
    }
    EXPECT_EQ(bytes(old), before);
    entries = folderEntries();
    entries.sort();
    EXPECT_EQ(entries, (QStringList{"broken-template.dat", "hero.pja", "taken.pja"}));
    auto loaded = load(old, false);
    EXPECT_EQ(loaded->Nom, QStringLiteral("Aëlis Morvenne"));
}

TEST_F(CharacterFileTest, AReadOnlyFileOrAPipeAtThePathIsKeptWhoeverSaves)
{
    // Read-only: refused even where the system would let the save through.
    const QString old = savedSample(QStringLiteral("hero.pja"));
    const QByteArray before = bytes(old);
    ASSERT_TRUE(QFile::setPermissions(old, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    {
        Personnage p;
        p.Nom = QStringLiteral("Autre");
        EXPECT_EQ(filetest::refusedSave(p, old, vb::ErrPermission),
                  QStringLiteral("The character was not saved: the file “%1” cannot be written: it is read-only. "
                                 "Nothing was written; the file saved before is unchanged.")
                      .arg(old));
    }
    EXPECT_EQ(bytes(old), before);
    EXPECT_EQ(QFile::permissions(old) & (QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther), 0);
    EXPECT_EQ(folderEntries(), QStringList{"hero.pja"});
    QFile::setPermissions(old, QFile::ReadOwner | QFile::WriteOwner);

    // A named pipe: not a file to replace.
    const QString pipe = path(QStringLiteral("pipe.pja"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    {
        ScriptedPortsScope ui;
        Personnage p;
        p.FileName = pipe;
        ui->expectError("SaveP", vb::ErrPermission);
        EXPECT_FALSE(p.SaveP());
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));

    // A link that leads back to itself: no file at its end to replace, and the link stays.
    const QString loop = path(QStringLiteral("loop.pja"));
    ASSERT_EQ(::symlink("loop.pja", QFile::encodeName(loop).constData()), 0);
    {
        Personnage p;
        EXPECT_EQ(filetest::refusedSave(p, loop, vb::ErrPermission),
                  QStringLiteral("The character was not saved: the file “%1” cannot be written: it is a symbolic "
                                 "link that leads back to itself, in a loop. Nothing was written.")
                      .arg(loop));
    }
    EXPECT_TRUE(QFileInfo(loop).isSymLink());

    // A writable one is still replaced, and the save says so.
    Personnage p;
    p.Nom = QStringLiteral("Autre");
    p.FileName = old;
    ScriptedPortsScope ui;
    EXPECT_TRUE(p.SaveP());
    EXPECT_EQ(load(old, false)->Nom, QStringLiteral("Autre"));
}

TEST_F(CharacterFileTest, AFullDiskLeavesThePreviousFileAndNoLeftovers)
{
    // As the program's start leaves it: past the limit a write fails, and
    // the program goes on.
    ModGeneral::AnswerFileSizeLimit();
    const QString old = savedSample(QStringLiteral("hero.pja"));
    const QByteArray before = bytes(old);
    const qint64 templateSize = QFileInfo(filetest::binFile("player.dat")).size();
    // The largest file this process may write: short of the template, then
    // short of the filled file, over the file saved before and to a new name.
    const QString unchanged = QStringLiteral("; the file saved before is unchanged");
    for (const auto &[room, name, tail] : {std::tuple{templateSize / 2, old, unchanged},
                                           {templateSize, old, unchanged}, {templateSize, path("new.pja"), QString()}}) {
        struct rlimit saved {};
        ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
        struct rlimit small = saved;
        small.rlim_cur = static_cast<rlim_t>(room);
        ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
        bool written = true;
        {
            ScriptedPortsScope ui;
            Personnage p;
            samples::develop(p);
            p.Nom = QStringLiteral("Autre");
            // More than the template holds, less than a history may hold:
            // the save gets as far as writing.
            p.Historique = QString(30000, QLatin1Char('h'));
            p.FileName = name;
            ui->expectError("SaveP", vb::ErrIo);
            written = p.SaveP();
            if (!ui->errors().empty())
                EXPECT_EQ(ui->errors().front().text,
                          QStringLiteral("The character was not saved: the file cannot be written whole: a limit set "
                                         "on this system lets this program write files of at most %1 bytes. Nothing "
                                         "was written%2.").arg(room).arg(tail));
        }
        ::setrlimit(RLIMIT_FSIZE, &saved);
        EXPECT_FALSE(written) << room;
        EXPECT_EQ(bytes(old), before) << room;
        EXPECT_EQ(folderEntries(), QStringList{"hero.pja"}) << room;   // no hidden copy either
        EXPECT_FALSE(ModGeneral::DbPlayer.isOpen());
    }
    EXPECT_EQ(load(old, false)->Nom, QStringLiteral("Aëlis Morvenne"));

    // Opening a file with a journal beside it settles the change on a copy in
    // the temporary folder: at the limit there, the box says so.
    filetest::stopMidChange(old, "UPDATE \"General\" SET Nom = 'Torn'");
    struct rlimit saved {};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = static_cast<rlim_t>(templateSize / 2);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    QString text;
    load(old, true, vb::ErrIo, &text);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_EQ(text, QStringLiteral("The file “%1” could not be read: the copy on which the change left beside the file "
                                   "is settled, in the temporary folder “%2”, cannot be written whole: a limit set on "
                                   "this system lets this program write files of at most %3 bytes.")
                        .arg(old, QDir::tempPath()).arg(templateSize / 2));
}

// The program's own data files are never a character's, by whatever name
// the save reaches them.
TEST_F(CharacterFileTest, TheProgramsOwnFilesAreNeverOverwritten)
{
    Strings::setLanguage(Strings::Language::English);
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("app")));
    const QString player = path(QStringLiteral("app/player.dat"));
    const QString master = path(QStringLiteral("app/master.dat"));
    const QString mind = path(QStringLiteral("app/mind.dat"));
    for (const QString &f : {player, master, mind})
        ASSERT_TRUE(QFile::copy(filetest::binFile(qPrintable(QFileInfo(f).fileName())), f));
    ModGeneral::PlayerPath = player;
    const QString masterWas = ModGeneral::MasterPath;
    const QString mindWas = dao::DBEngine::instance().SystemDB;
    ModGeneral::MasterPath = master;
    dao::DBEngine::instance().SystemDB = mind;
    ASSERT_EQ(::symlink(QFile::encodeName(master).constData(), QFile::encodeName(path(QStringLiteral("rules.pja"))).constData()), 0);
    ASSERT_EQ(::link(QFile::encodeName(mind).constData(), QFile::encodeName(path(QStringLiteral("users.pja"))).constData()), 0);
    const QString emptyFile = QStringLiteral("the empty character file");
    const QString rules = QStringLiteral("the program's rules file");
    const QString users = QStringLiteral("the program's users file");
    const struct {
        QString target;
        QString name;
    } cases[] = {
        {player, emptyFile},
        {path(QStringLiteral("app/../app/master.dat")), rules},
        {path(QStringLiteral("rules.pja")), rules},   // a link to it
        {mind, users},
        {path(QStringLiteral("users.pja")), users},   // a second name of the same file
    };
    QList<QByteArray> before;
    for (const QString &f : {player, master, mind})
        before << bytes(f);
    for (const auto &c : cases) {
        SCOPED_TRACE(c.target.toStdString());
        Personnage p;
        p.Nom = QStringLiteral("Intrus");
        EXPECT_EQ(filetest::refusedSave(p, c.target, vb::ErrPermission),
                  QStringLiteral("The character was not saved: the file “%1” is %2, which a save never replaces. "
                                 "Nothing was written; the file saved before is unchanged.")
                      .arg(c.target, c.name));
    }
    EXPECT_EQ((QList<QByteArray>{bytes(player), bytes(master), bytes(mind)}), before);
    // A link is read as the system reads it: "elsewhere/sub/.." leads out of
    // "app/deep", where "sub" leads, into "app", though its text alone names
    // "elsewhere"; and a link beside the program whose text names its empty
    // character file leads to a character's file of that name in "app/deep".
    ASSERT_TRUE(QDir(m_dir.path()).mkpath(QStringLiteral("app/deep/inner")));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("elsewhere")));
    const auto link = [this](const char *text, const char *at) {
        ASSERT_EQ(::symlink(text, QFile::encodeName(path(QLatin1String(at))).constData()), 0) << at;
    };
    link("../app/deep", "elsewhere/sub");
    link("sub/../player.dat", "elsewhere/empty.pja");
    savedSample(QStringLiteral("app/deep/player.dat"));
    link("deep/inner", "app/sub");
    link("sub/../player.dat", "app/beside.pja");
    {
        Personnage p;
        EXPECT_EQ(filetest::refusedSave(p, path(QStringLiteral("elsewhere/empty.pja")), vb::ErrPermission),
                  QStringLiteral("The character was not saved: the file “%1” is %2, which a save never replaces. "
                                 "Nothing was written; the file saved before is unchanged.")
                      .arg(path(QStringLiteral("elsewhere/empty.pja")), emptyFile));
        p.Nom = QStringLiteral("Voisin");
        p.FileName = path(QStringLiteral("app/beside.pja"));
        ScriptedPortsScope ui;
        EXPECT_TRUE(p.SaveP());
    }
    EXPECT_EQ(bytes(player), before.front());
    EXPECT_EQ(load(path(QStringLiteral("app/deep/player.dat")), false)->Nom, QStringLiteral("Voisin"));
    // Nor is a character put where a missing one belongs, by whatever path.
    ASSERT_TRUE(QFile::remove(master));
    ASSERT_TRUE(QFile::remove(player));
    ASSERT_EQ(::symlink(QFile::encodeName(path(QStringLiteral("app"))).constData(),
                        QFile::encodeName(path(QStringLiteral("linked"))).constData()),
              0);
    const struct {
        QString target;
        QString name;
    } missing[] = {{master, rules},
                   {path(QStringLiteral("linked/player.dat")), emptyFile},
                   {path(QStringLiteral("elsewhere/empty.pja")), emptyFile}};
    for (const auto &c : missing) {
        Personnage p;
        EXPECT_EQ(filetest::refusedSave(p, c.target, vb::ErrPermission),
                  QStringLiteral("The character was not saved: the file “%1” is %2, which a save never replaces. "
                                 "Nothing was written.")
                      .arg(c.target, c.name));
    }
    EXPECT_FALSE(QFileInfo::exists(master));
    EXPECT_FALSE(QFileInfo::exists(player));
    ModGeneral::MasterPath = masterWas;
    dao::DBEngine::instance().SystemDB = mindWas;
}

} // namespace
