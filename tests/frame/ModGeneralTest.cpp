// Start-up's database opening and the growth of the table of open characters.
#include "FrameFixture.h"

#include "character/Players.h"
#include "platform/dao.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <sqlite3.h>

#include <functional>

using namespace ModGeneral;

namespace {

class OpenDBTest : public FrameFixture {
protected:
    OpenDBTest() { openDatabases = false; }

    // A program folder of our own holding copies of the chosen data files.
    QString folderWith(bool mind, bool master)
    {
        const QString folder = tempPath(QStringLiteral("app"));
        QDir().mkpath(folder);
        const QString real = QCoreApplication::applicationDirPath();
        if (mind)
            EXPECT_TRUE(QFile::copy(real + QStringLiteral("/mind.dat"), folder + QStringLiteral("/mind.dat")));
        if (master)
            EXPECT_TRUE(QFile::copy(real + QStringLiteral("/master.dat"), folder + QStringLiteral("/master.dat")));
        SetAppFolder(folder);
        MasterPath = folder + QStringLiteral("/master.dat");
        return folder;
    }

    static void execOn(const QString &file, const char *sql)
    {
        QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner);
        sqlite3 *db = nullptr;
        ASSERT_EQ(sqlite3_open(file.toUtf8().constData(), &db), SQLITE_OK);
        char *err = nullptr;
        const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
        EXPECT_EQ(rc, SQLITE_OK) << (err ? err : "");
        sqlite3_free(err);
        sqlite3_close(db);
    }

    // OpenDB failed once, and left the rules closed.
    void expectOneFailure()
    {
        const auto errors = ui->errors();
        ASSERT_EQ(errors.size(), 1u);
        EXPECT_EQ(errors[0].location, QStringLiteral("OpenDB"));
        EXPECT_FALSE(DbMaster.isOpen());
    }
};

} // namespace

TEST_F(OpenDBTest, OpensBothWorkspacesAndTheRulesWithTheRealFiles)
{
    MasterPath = AppFolder() + QStringLiteral("/master.dat");
    OpenDB();
    EXPECT_TRUE(ui->errors().empty());
    EXPECT_TRUE(DbMaster.isOpen());
    EXPECT_EQ(WsMaster.Name(), QStringLiteral("wsArea"));
    EXPECT_EQ(WsMaster.UserName(), QStringLiteral("Lecteur"));
    EXPECT_EQ(WsPlayer.Name(), QStringLiteral("wsAreaPalyer"));
    EXPECT_EQ(WsPlayer.UserName(), QStringLiteral("Player"));
    EXPECT_EQ(dao::DBEngine::instance().SystemDB, AppFolder() + QStringLiteral("/mind.dat"));
    // The rules are never written.
    EXPECT_ANY_THROW(DbMaster.Execute(QStringLiteral("CREATE TABLE Scratch(x)")));
}

TEST_F(OpenDBTest, MissingOrDamagedSecurityFileIsOneErrorBox)
{
    const QString folder = folderWith(false, true);
    ui->expectError(QStringLiteral("OpenDB"));
    OpenDB();
    expectOneFailure();
    EXPECT_FALSE(WsPlayer.isValid());

    // A file that is there is damaged, not "missing", and is named.
    const QString mind = folder + QStringLiteral("/mind.dat");
    const struct {
        const char *what;
        std::function<void()> make;
        QString words;
    } damages[] = {
        {"bytes of no database",
         [&] {
             QFile junk(mind);
             ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
             junk.write(QByteArray(4096, '\x5a'));
         },
         QStringLiteral("Le fichier est endommagé : ce n'est pas une base de données.")},
        {"the rules in its place",
         [&] {
             QFile::remove(mind);
             QFile::copy(MasterPath, mind);
         },
         QStringLiteral("Le fichier est endommagé : il porte la marque d'un autre programme.")},
        {"no accounts", [&] { execOn(mind, "DROP TABLE Users"); },
         QStringLiteral("Le fichier est endommagé : la table «\u00a0Users\u00a0» manque.")},
    };
    for (const auto &d : damages) {
        QFile::remove(mind);
        ASSERT_TRUE(QFile::copy(QCoreApplication::applicationDirPath() + QStringLiteral("/mind.dat"), mind));
        QFile::setPermissions(mind, QFile::ReadOwner | QFile::WriteOwner);
        d.make();
        const size_t before = ui->errors().size();
        ui->expectError(QStringLiteral("OpenDB"), vb::ErrWorkgroup);
        OpenDB();
        ASSERT_EQ(ui->errors().size(), before + 1) << d.what;
        EXPECT_EQ(ui->errors().back().text,
                  d.words + QStringLiteral("\nFichier : ") + QDir::toNativeSeparators(mind)) << d.what;
        EXPECT_FALSE(DbMaster.isOpen()) << d.what;
    }
}

TEST_F(OpenDBTest, UnknownAccountOrWrongPasswordIsOneErrorBox)
{
    const QString folder = folderWith(true, true);
    execOn(folder + QStringLiteral("/mind.dat"), "UPDATE Users SET Hash = '00' WHERE Name = 'Lecteur'");
    ui->expectError(QStringLiteral("OpenDB"), vb::ErrAccount);
    OpenDB();
    expectOneFailure();

    execOn(folder + QStringLiteral("/mind.dat"), "DELETE FROM Users WHERE Name = 'Lecteur'");
    ui->expectError(QStringLiteral("OpenDB"), vb::ErrAccount);
    OpenDB();
    EXPECT_EQ(ui->errors().size(), 2u);
}

TEST_F(OpenDBTest, PlayerAccountFailureStillLeavesTheRulesOpen)
{
    const QString folder = folderWith(true, true);
    execOn(folder + QStringLiteral("/mind.dat"), "DELETE FROM Users WHERE Name = 'Player'");
    ui->expectError(QStringLiteral("OpenDB"), vb::ErrAccount);
    OpenDB();
    EXPECT_EQ(ui->errors().size(), 1u);
    EXPECT_TRUE(DbMaster.isOpen());
    EXPECT_FALSE(WsPlayer.isValid());
}

TEST_F(OpenDBTest, AMissingOrDamagedRulesDatabaseIsOneErrorBoxNamingIt)
{
    folderWith(true, false);
    ui->expectError(QStringLiteral("OpenDB"), vb::ErrCannotOpenFile);
    OpenDB();
    expectOneFailure();
    EXPECT_TRUE(ui->errors()[0].text.endsWith(QStringLiteral("Fichier : ") + QDir::toNativeSeparators(MasterPath)))
        << ui->errors()[0].text.toStdString();

    QFile junk(MasterPath);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray("SQLite format 3\0", 16) + QByteArray(4080, '\x5a'));
    junk.close();
    ui->expectError(QStringLiteral("OpenDB"));
    OpenDB();
    ASSERT_EQ(ui->errors().size(), 2u);
    EXPECT_TRUE(ui->errors()[1].text.contains(QDir::toNativeSeparators(MasterPath)));
    EXPECT_FALSE(DbMaster.isOpen());
}

// ------------------------------------------------------------------ RedimPlayer

using RedimPlayerTest = FrameFixture;

TEST_F(RedimPlayerTest, NumbersFollowEachOtherAndRecordsStayInPlace)
{
    RedimPlayer();
    EXPECT_EQ(PlayerCount, 1);
    Personnage *first = &Players(1);
    first->Nom = QStringLiteral("Ysolde");
    for (int i = 0; i < 9; ++i)
        RedimPlayer();
    EXPECT_EQ(PlayerCount, 10);
    EXPECT_EQ(Players.size(), 10);
    EXPECT_EQ(&Players(1), first);
    EXPECT_EQ(Players(1).Nom, QStringLiteral("Ysolde"));
    // A slot never used reads as a fresh record, the same one every time.
    Personnage *fresh = &Players(7);
    EXPECT_TRUE(fresh->Nom.isEmpty());
    EXPECT_EQ(&Players(7), fresh);
    EXPECT_EQ(ui->calls().size(), 0u);
}

TEST_F(RedimPlayerTest, PastTwentyWarnsAndStillAdds)
{
    for (int i = 0; i < 20; ++i)
        RedimPlayer();
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 0);
    ui->answerMsgBox(ports::Ok, QStringLiteral("Compression des personnage"));
    RedimPlayer();
    EXPECT_EQ(PlayerCount, 21);
    EXPECT_EQ(Players.size(), 21);
    const auto boxes = ui->callsOf(ScriptedPorts::Kind::MsgBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Compression des personnage"));
    EXPECT_EQ(boxes[0].title, Strings::Load(1104));
    EXPECT_EQ(boxes[0].style, ports::OkOnly);
}

TEST_F(RedimPlayerTest, OverflowIsReportedAndNothingGrows)
{
    PlayerCount = 32767;
    const int before = Players.size();
    ui->expectError(QStringLiteral("RedimPlayer"), vb::ErrOverflow);
    RedimPlayer();
    EXPECT_EQ(PlayerCount, 32767);
    EXPECT_EQ(Players.size(), before);
}
