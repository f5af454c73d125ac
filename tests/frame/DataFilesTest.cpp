// The files beside the program that it reads and never writes, checked once
// as it starts: each damaged one costs one box that names it and says what is
// wrong with it.
#include "FrameFixture.h"

#include "frame/DataFiles.h"
#include "support/RulesDb.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <functional>
#include <sys/stat.h>

using namespace ModGeneral;

namespace {

class DataFilesAtStartTest : public FrameFixture {
protected:
    DataFilesAtStartTest() { openDatabases = false; }

    void SetUp() override
    {
        FrameFixture::SetUp();
        m_folder = tempPath(QStringLiteral("app"));
        QDir().mkpath(m_folder);
        for (const char *name : {"mind.dat", "master.dat", "player.dat"})
            putBack(QString::fromLatin1(name));
        SetAppFolder(m_folder);
        MasterPath = file(QStringLiteral("master.dat"));
        PlayerPath = file(QStringLiteral("player.dat"));
    }

    QString file(const QString &name) const { return m_folder + QLatin1Char('/') + name; }

    // The built file back in the program's folder, writable so a case can damage it.
    void putBack(const QString &name)
    {
        QDir(file(name)).removeRecursively();
        QFile::remove(file(name));
        ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name, file(name)));
        QFile::setPermissions(file(name), QFile::ReadOwner | QFile::WriteOwner);
    }

    // Start-up opened the files and showed exactly one more box: from OpenDB,
    // with this number, naming the file and saying `words`.
    void expectOneBoxNaming(const QString &what, size_t before, int number, const QString &name, const QString &words)
    {
        const auto errors = ui->errors();
        ASSERT_EQ(errors.size(), before + 1) << what.toStdString();
        const auto &box = errors.back();
        EXPECT_EQ(box.location, QStringLiteral("OpenDB")) << what.toStdString();
        EXPECT_EQ(box.number, number) << what.toStdString();
        EXPECT_TRUE(box.text.contains(words)) << what.toStdString() << ": " << box.text.toStdString();
        EXPECT_TRUE(box.text.endsWith(QStringLiteral("Fichier : ") + QDir::toNativeSeparators(file(name))))
            << what.toStdString() << ": " << box.text.toStdString();
    }

private:
    QString m_folder;
};

void zeroPages(const QString &path, int first, int count)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.seek(qint64(first - 1) * 4096));
    f.write(QByteArray(count * 4096, '\0'));
}

} // namespace

TEST_F(DataFilesAtStartTest, EachDamageToTheRulesIsOneBoxNamingMasterDat)
{
    struct Damage {
        const char *what;
        std::function<void(const QString &)> make;
        int number;
        QString words;
    };
    const QString master = file(QStringLiteral("master.dat"));
    const auto sql = [](const char *text) { return [text](const QString &path) { testrules::Exec(path, text); }; };
    // The table again as plain columns, without the keys and limits its SQL gives
    // it, so that what the engine would refuse can be put in.
    const auto loose = [](const char *table, const char *change) {
        return [=](const QString &path) {
            testrules::Exec(path, QByteArray("CREATE TABLE loose AS SELECT * FROM [") + table + "]; DROP TABLE [" + table
                                      + "]; ALTER TABLE loose RENAME TO [" + table + "]; " + change);
        };
    };
    const auto load = [](int id, QStringList args) {
        QString text = Strings::Load(id);
        for (const QString &a : args)
            text = text.arg(a);
        return text;
    };
    const std::vector<Damage> damages{
        {"the security file in its place",
         [this](const QString &path) {
             QFile::remove(path);
             QFile::copy(file(QStringLiteral("mind.dat")), path);
         },
         vb::ErrTableNotFound, Strings::Load(9351).arg(QStringLiteral("Stat"))},
        {"a table missing", sql("DROP TABLE [Weapons Type];"), vb::ErrTableNotFound,
         Strings::Load(9351).arg(QStringLiteral("Weapons Type"))},
        {"a column missing", sql("ALTER TABLE [Race Abilities] DROP COLUMN Hobby_Ranks;"), vb::ErrNotInCollection,
         Strings::Load(9352).arg(QStringLiteral("Hobby_Ranks"), QStringLiteral("Race Abilities"))},
        {"pages zeroed", [](const QString &path) { zeroPages(path, 30, 3); }, vb::ErrDamaged,
         load(9401, {"30, 31, 32"})},
        // Skills are numbered from 1 with no gap: skill 81 is the 81st row.
        {"text in an identifier", sql("UPDATE Skills SET Skill_Category_ID = 'onze' WHERE Skill_ID = 81;"),
         vb::ErrTypeMismatch, load(9353, {"Skill_Category_ID", "Skills", "81", "onze"})},
        {"text in the classification", sql("PRAGMA ignore_check_constraints = ON; UPDATE List SET [Classification_ ID] = 'ouverte' WHERE List_ID = 1;"),
         vb::ErrTypeMismatch, load(9353, {"Classification_ ID", "List", "1", "ouverte"})},
        {"a fraction in an identifier", sql("UPDATE Skills SET Skill_Category_ID = 2.5 WHERE Skill_ID = 1;"),
         vb::ErrTypeMismatch, load(9353, {"Skill_Category_ID", "Skills", "1", "2.5"})},
        {"bytes in an identifier", sql("UPDATE List SET Realm_ID = x'0102' WHERE List_ID = 1;"), vb::ErrTypeMismatch,
         load(9353, {"Realm_ID", "List", "1", "x'0102'"})},
        {"an empty identifier", loose("Weapons Type", "UPDATE [Weapons Type] SET Skill_ID = NULL WHERE rowid = 2;"),
         vb::ErrInvalidUseOfNull, load(9358, {"Skill_ID", "Weapons Type", "2"})},
        {"a negative identifier", sql("UPDATE [Race Abilities] SET Race_ID = -2 WHERE Race_ID = 1;"),
         vb::ErrTypeMismatch, load(9395, {"Race_ID", "Race Abilities", "1", "-2", "1"})},
        {"an identifier twice", loose("Stat", "UPDATE Stat SET Stat_ID = 2 WHERE Stat_ID = 3;"), vb::ErrDuplicate,
         load(9396, {"Stat", "Stat_ID 2", "2", "3"})},
        {"text in a cost", sql("UPDATE [Training Package DP Cost] SET Cost = 'cinq' WHERE rowid = 3;"),
         vb::ErrTypeMismatch, load(9391, {"Cost", "Training Package DP Cost", "3", "cinq"})},
        {"a name that is not UTF-8", sql("UPDATE Stat SET StatFr = CAST(x'52e9666c6578' AS TEXT) WHERE Stat_ID = 4;"),
         vb::ErrDamaged, load(9394, {"StatFr", "Stat", "4"})},
        {"a progression of four values", sql("UPDATE [Skill Bonus] SET Skill_Bonus = '-20•4•2•1' WHERE Skill_Bonus_ID = 2;"),
         vb::ErrTypeMismatch, load(9407, {"Skill_Bonus", "Skill Bonus", "2", "-20•4•2•1"})},
        {"a word in a race's progression", sql("UPDATE [Race Abilities] SET Essence_PP = '0•trois•0•0•0' WHERE Race_ID = 1;"),
         vb::ErrTypeMismatch, load(9407, {"Essence_PP", "Race Abilities", "1", "0•trois•0•0•0"})},
        {"a progression of six values", sql("UPDATE [Skill Bonus] SET Skill_Bonus = '0•1•2•3•4•5' WHERE Skill_Bonus_ID = 2;"),
         vb::ErrTypeMismatch, load(9407, {"Skill_Bonus", "Skill Bonus", "2", "0•1•2•3•4•5"})},
        {"a progression past 32 bits", sql("UPDATE [Skill Bonus] SET Skill_Bonus = '0•2147483648•0•0•0' WHERE Skill_Bonus_ID = 3;"),
         vb::ErrTypeMismatch, load(9450, {"Skill_Bonus", "Skill Bonus", "3", "0•2147483648•0•0•0"})},
        {"a progression past 16 bits", sql("UPDATE [Race Abilities] SET Body = '0•5•32768•2•1' WHERE Race_ID = 2;"),
         vb::ErrTypeMismatch, load(9450, {"Body", "Race Abilities", "2", "0•5•32768•2•1"})},
        {"a progression of 3276 a rank", sql("UPDATE [Skill Bonus] SET Skill_Bonus = '0•3276•0•0•0' WHERE Skill_Bonus_ID = 4;"),
         vb::ErrTypeMismatch, load(9455, {"Skill_Bonus", "Skill Bonus", "4", "0•3276•0•0•0"})},
        {"a race's progression far below at no rank", sql("UPDATE [Race Abilities] SET Channeling_PP = '-32768•0•0•0•0' WHERE Race_ID = 3;"),
         vb::ErrTypeMismatch, load(9455, {"Channeling_PP", "Race Abilities", "3", "-32768•0•0•0•0"})},
        {"a progression losing 5 a rank past rank 10", sql("UPDATE [Race Abilities] SET Mentalism_PP = '0•2•-5•1•1' WHERE Race_ID = 4;"),
         vb::ErrTypeMismatch, load(9455, {"Mentalism_PP", "Race Abilities", "4", "0•2•-5•1•1"})},
        {"a progression of 1½ a rank past rank 30", sql("UPDATE [Skill Bonus] SET Skill_Bonus = '0•3•2•1•1½' WHERE Skill_Bonus_ID = 6;"),
         vb::ErrTypeMismatch, load(9455, {"Skill_Bonus", "Skill Bonus", "6", "0•3•2•1•1½"})},
        {"a cost of four ranks", sql("UPDATE [Skill Category DP Cost] SET Cost = '2/3/4/5' WHERE rowid = 7;"),
         vb::ErrTypeMismatch, load(9451, {"Cost", "Skill Category DP Cost", "7", "2/3/4/5"})},
        {"a band from 00", sql("UPDATE Talents SET Roll = '00' WHERE Talents_ID = 2;"), vb::ErrTypeMismatch,
         load(9453, {"Roll", "Talents", "2", "00"})},
        {"a band up to four digits", sql("UPDATE [Special Items] SET Roll = '16-1000' WHERE Item_ID = 3;"),
         vb::ErrTypeMismatch, load(9453, {"Roll", "Special Items", "3", "16-1000"})},
        {"a word in a cost", sql("UPDATE [Skill Category DP Cost] SET Cost = '2/x' WHERE rowid = 3;"),
         vb::ErrTypeMismatch, load(9451, {"Cost", "Skill Category DP Cost", "3", "2/x"})},
        {"a negative cost", sql("UPDATE [Skill Category DP Cost] SET Cost = '-3' WHERE rowid = 4;"),
         vb::ErrTypeMismatch, load(9451, {"Cost", "Skill Category DP Cost", "4", "-3"})},
        {"a cost past 16 bits", sql("UPDATE [Skill Category DP Cost] SET Cost = '99999/99999' WHERE rowid = 5;"),
         vb::ErrTypeMismatch, load(9451, {"Cost", "Skill Category DP Cost", "5", "99999/99999"})},
        {"a cost of seven ranks", sql("UPDATE [Skill Category DP Cost] SET Cost = '2/3/4/5/6/7/8' WHERE rowid = 6;"),
         vb::ErrTypeMismatch, load(9451, {"Cost", "Skill Category DP Cost", "6", "2/3/4/5/6/7/8"})},
        {"money dice of negative faces", sql("UPDATE [Training Package] SET StartingMoney = '2d-5' WHERE Training_ID = 2;"),
         vb::ErrTypeMismatch, load(9452, {"StartingMoney", "Training Package", "2", "2d-5"})},
        {"money dice past the roller", sql("UPDATE [Training Package] SET StartingMoney = '1d102' WHERE Training_ID = 4;"),
         vb::ErrTypeMismatch, load(9452, {"StartingMoney", "Training Package", "4", "1d102"})},
        {"a band of one digit", sql("UPDATE Flaws SET Roll = '5' WHERE Flaws_ID = 2;"), vb::ErrTypeMismatch,
         load(9453, {"Roll", "Flaws", "2", "5"})},
        {"a key of 0", sql("UPDATE Weapons SET Weapon_ID = 0 WHERE Weapon_ID = 1;"), vb::ErrTypeMismatch,
         load(9395, {"Weapon_ID", "Weapons", "1", "0", "1"})},
        {"an overlong UTF-8 form", sql("UPDATE Stat SET StatFr = CAST(x'41e0828041' AS TEXT) WHERE Stat_ID = 5;"),
         vb::ErrDamaged, load(9394, {"StatFr", "Stat", "5"})},
        {"a UTF-8 surrogate", sql("UPDATE Stat SET AbrEn = CAST(x'eda080' AS TEXT) WHERE Stat_ID = 6;"),
         vb::ErrDamaged, load(9394, {"AbrEn", "Stat", "6"})},
        {"an 11th statistic", sql("INSERT INTO Stat VALUES (11, 'Luck', 'Chance', 'Lu', 'Ch');"), vb::ErrNoCurrentRecord,
         load(9398, {"Stat", "11", "10"})},
        {"no statistics", sql("DELETE FROM Stat;"), vb::ErrNoCurrentRecord, load(9397, {"Stat"})},
        {"a statistic missing", sql("DELETE FROM Stat WHERE Stat_ID = 10;"), vb::ErrNoCurrentRecord,
         load(9398, {"Stat", "9", "10"})},
        {"a folder in its place",
         [](const QString &path) {
             QFile::remove(path);
             QDir().mkpath(path);
         },
         vb::ErrCannotOpenFile, load(9399, {Strings::Load(9231)})},
        {"a link to itself in its place",
         [](const QString &path) {
             QFile::remove(path);
             QFile::link(QStringLiteral("master.dat"), path);
         },
         vb::ErrCannotOpenFile, load(9399, {Strings::Load(9405)})},
    };
    for (const Damage &d : damages) {
        putBack(QStringLiteral("master.dat"));
        d.make(master);
        const size_t before = ui->errors().size();
        ui->expectError(QStringLiteral("OpenDB"));
        OpenDB();
        expectOneBoxNaming(QString::fromLatin1(d.what), before, d.number, QStringLiteral("master.dat"), d.words);
        // Rules that failed are not used: every later query names the file instead.
        EXPECT_FALSE(DbMaster.isOpen()) << d.what;
        EXPECT_TRUE(RulesUnavailable.contains(QDir::toNativeSeparators(master))) << d.what;
    }
}

// Each rules text read as figures, at the edges of the form its readers take.
TEST_F(DataFilesAtStartTest, RulesTextsAtTheEdgesOfTheirFormsAreTaken)
{
    testrules::Exec(file(QStringLiteral("master.dat")),
                    "UPDATE [Skill Category DP Cost] SET Cost = '' WHERE rowid = 1;"
                    "UPDATE [Skill Category DP Cost] SET Cost = '0/32767/07' WHERE rowid = 2;"
                    "UPDATE [Skill Bonus] SET Skill_Bonus = '-30•+8•-4•1½•1' WHERE Skill_Bonus_ID = 2;"
                    "UPDATE [Race Abilities] SET Body = '5•-8•4•-2•-1' WHERE Race_ID = 1;"
                    "UPDATE [Training Package] SET StartingMoney = ' 0d0 ' WHERE Training_ID = 1;"
                    "UPDATE [Training Package] SET StartingMoney = '32767-101' WHERE Training_ID = 2;"
                    "UPDATE [Training Package] SET StartingMoney = '5' WHERE Training_ID = 3;"
                    "UPDATE Talents SET Roll = '01-15' WHERE Talents_ID = 1;"
                    "UPDATE [Special Items] SET Roll = '99' WHERE Item_ID = 2;");
    OpenDB();
    EXPECT_TRUE(ui->errors().empty());
    EXPECT_TRUE(DbMaster.isOpen());
}

// Files left in write-ahead mode, one with its log beside it: read as they
// lie, and nothing appears beside them.
TEST_F(DataFilesAtStartTest, OpeningTheDataFilesLeavesNothingBesideThem)
{
    for (const char *name : {"mind.dat", "master.dat", "player.dat"})
        testrules::Exec(file(QString::fromLatin1(name)), "PRAGMA journal_mode = WAL;");
    QFile log(file(QStringLiteral("master.dat-wal")));
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write(QByteArray(4096, '\x5a'));
    log.close();
    const QStringList before = QDir(file(QString())).entryList(QDir::Files | QDir::NoDotAndDotDot);
    ASSERT_EQ(before.size(), 4);

    OpenDB();
    EXPECT_TRUE(ui->errors().empty());
    EXPECT_TRUE(DbMaster.isOpen());
    ResetSharedState();
    EXPECT_EQ(QDir(file(QString())).entryList(QDir::Files | QDir::NoDotAndDotDot), before);
    EXPECT_EQ(QFileInfo(log).size(), 4096);
}

// Start-up checks the empty character file as every save does: one box that
// names it and says why no character can be saved.
TEST_F(DataFilesAtStartTest, AMissingOrForeignTemplateIsOneBoxNamingPlayerDat)
{
    struct Damage {
        const char *what;
        std::function<void(const QString &)> make;
        int number;
        QString words;
    };
    const QString player = QDir::toNativeSeparators(file(QStringLiteral("player.dat")));
    const QString foreign = QStringLiteral("Aucun personnage ne pourra être enregistré : le fichier de personnage vide "
                                           "«\u00a0%1\u00a0» n'est pas tel que ce programme le fait : ")
                                .arg(player);
    const QString unread = QStringLiteral("Aucun personnage ne pourra être enregistré : le fichier de personnage vide "
                                          "«\u00a0%1\u00a0» n'a pas pu être lu : ")
                               .arg(player);
    const std::vector<Damage> damages{
        // First, while no file was yet found sound (the fixture starts each
        // test so): no bytes are no image of a sound file.
        {"empty", [](const QString &path) { QFile::resize(path, 0); }, vb::ErrNotADatabase,
         QStringLiteral("Aucun personnage ne pourra être enregistré : le fichier de personnage vide «\u00a0%1\u00a0» "
                        "est endommagé : ce n'est pas une base de données.")
             .arg(player)},
        {"missing", [](const QString &path) { QFile::remove(path); }, vb::ErrFileNotFound,
         QStringLiteral("Aucun personnage ne pourra être enregistré : le fichier de personnage vide «\u00a0%1\u00a0» "
                        "manque.")
             .arg(player)},
        {"the rules in its place",
         [this](const QString &path) {
             QFile::remove(path);
             QFile::copy(file(QStringLiteral("master.dat")), path);
         },
         vb::ErrNotADatabase, foreign + QStringLiteral("il porte la marque d'un autre programme.")},
        {"a row in it", [](const QString &path) { testrules::Exec(path, "INSERT INTO General (Nom) VALUES ('Ysolde');"); },
         vb::ErrNotADatabase,
         foreign + QStringLiteral("la table «\u00a0General\u00a0» compte 1 ligne alors qu'elle doit n'en compter aucune.")},
        {"a column of another type",
         [](const QString &path) {
             testrules::Exec(path, "DROP TABLE Stats;"
                                   "CREATE TABLE Stats (Stats_ID INTEGER, temp TEXT, pot INTEGER, Special INTEGER);");
         },
         vb::ErrNotADatabase,
         foreign + QStringLiteral("la colonne «\u00a0temp\u00a0» de la table «\u00a0Stats\u00a0» est déclarée "
                                  "«\u00a0TEXT\u00a0» alors que le programme la déclare «\u00a0INTEGER\u00a0».")},
        {"a column default of its own",
         [](const QString &path) {
             testrules::Exec(path, "DROP TABLE Stats;"
                                   "CREATE TABLE Stats (Stats_ID INTEGER, temp INTEGER DEFAULT 0, pot INTEGER, Special INTEGER);");
         },
         vb::ErrNotADatabase,
         foreign + QStringLiteral("la table «\u00a0Stats\u00a0» porte une contrainte que le programme ne crée pas.")},
        {"a pipe",
         [](const QString &path) {
             QFile::remove(path);
             ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
         },
         vb::ErrNotADatabase, foreign + QStringLiteral("ce n'est pas un fichier ordinaire.")},
        {"a link to itself",
         [](const QString &path) {
             QFile::remove(path);
             QFile::link(QStringLiteral("player.dat"), path);
         },
         vb::ErrCannotOpenFile, unread + Strings::Load(9405) + u'.'},
        {"a link to nothing",
         [this](const QString &path) {
             QFile::remove(path);
             QFile::link(file(QStringLiteral("gone.dat")), path);
         },
         vb::ErrCannotOpenFile, unread + Strings::Load(9406).arg(file(QStringLiteral("gone.dat"))) + u'.'},
    };
    for (const Damage &d : damages) {
        putBack(QStringLiteral("player.dat"));
        d.make(file(QStringLiteral("player.dat")));
        // A second start from the same file says it again: a file refused once is not taken for sound.
        for (int start = 0; start < 2; ++start) {
            const size_t before = ui->errors().size();
            ui->expectError(QStringLiteral("OpenDB"));
            OpenDB();
            expectOneBoxNaming(QString::fromLatin1(d.what), before, d.number, QStringLiteral("player.dat"), d.words);
            // The rules are sound, and stay open.
            EXPECT_TRUE(DbMaster.isOpen()) << d.what;
        }
    }
}

TEST(RulesReadTest, ColumnsTheCheckLeavesOutAreNamedByNoReader)
{
    // The check asks for every column of the rules' SQL but these: a reader
    // that comes to name one must have it checked as well.
    const QDir src(QStringLiteral(QV_RESOURCES_DIR "/../src"));
    ASSERT_TRUE(src.exists());
    ASSERT_FALSE(datafiles::RulesNotRead().isEmpty());
    QDirIterator it(src.absolutePath(), {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                    QDirIterator::Subdirectories);
    int files = 0;
    while (it.hasNext()) {
        const QString path = it.next();
        if (path.endsWith(QLatin1String("frame/DataFiles.cpp")))
            continue;
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QString code = QString::fromUtf8(f.readAll());
        ++files;
        for (const QString &left : datafiles::RulesNotRead()) {
            const QString column = left.section(QLatin1Char('.'), 1);
            EXPECT_FALSE(code.contains(QRegularExpression(QStringLiteral("\\b%1\\b").arg(column))))
                << path.toStdString() << " names " << left.toStdString();
        }
    }
    EXPECT_GT(files, 50);
}
