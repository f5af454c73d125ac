#include "platform/dao.h"
#include "platform/vb.h"

#include "DaoTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace dao;

namespace {

class Workgroup : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = DBEngine::instance().SystemDB;
        built = QCoreApplication::applicationDirPath() + "/mind.dat";
        ASSERT_TRUE(QFile::exists(built));
        DBEngine::instance().SystemDB = built;
    }
    void TearDown() override { DBEngine::instance().SystemDB = saved; }
    static Workspace logOn(const QString &user, const QString &password)
    {
        return DBEngine::instance().CreateWorkspace("ws", user, password);
    }

    QString saved, built;
    QTemporaryDir dir;
};

TEST_F(Workgroup, TheProgramsAccountsLogOn)
{
    const Workspace master = DBEngine::instance().CreateWorkspace("wsArea", "Lecteur", "qfw271");
    EXPECT_TRUE(master.isValid());
    EXPECT_EQ(master.Name(), "wsArea");
    EXPECT_EQ(master.UserName(), "Lecteur");
    const Workspace player = DBEngine::instance().CreateWorkspace("wsAreaPalyer", "Player", "pLRtx8vqanhbzo");
    EXPECT_EQ(player.UserName(), "Player");
    // Account names ignore case, as the old workgroup files did; passwords do not.
    EXPECT_EQ(logOn("lecteur", "qfw271").UserName(), "Lecteur");

    const size_t before = DBEngine::instance().Workspaces().size();
    DBEngine::instance().AppendWorkspace(master);
    ASSERT_EQ(DBEngine::instance().Workspaces().size(), before + 1);
    EXPECT_EQ(DBEngine::instance().Workspaces().back().Name(), "wsArea");

    // Only salted hashes are stored.
    QFile f(built);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    EXPECT_FALSE(bytes.contains("qfw271"));
    EXPECT_FALSE(bytes.contains("pLRtx8vqanhbzo"));
}

TEST_F(Workgroup, WrongAccountsAreRefused)
{
    EXPECT_VB_ERROR(logOn("Lecteur", "QFW271"), vb::ErrAccount);
    EXPECT_VB_ERROR(logOn("Lecteur", ""), vb::ErrAccount);
    EXPECT_VB_ERROR(logOn("Lecteur", "pLRtx8vqanhbzo"), vb::ErrAccount); // another account's password
    EXPECT_VB_ERROR(logOn("Admin", "qfw271"), vb::ErrAccount);
    EXPECT_VB_ERROR(logOn("", ""), vb::ErrAccount);
    EXPECT_VB_ERROR(logOn("Lecteur' OR '1'='1", "x"), vb::ErrAccount);
}

TEST_F(Workgroup, MissingOrDamagedWorkgroupFile)
{
    DBEngine::instance().SystemDB = dir.filePath("mind.dat");
    EXPECT_VB_ERROR(logOn("Lecteur", "qfw271"), vb::ErrWorkgroup);
    EXPECT_FALSE(QFile::exists(dir.filePath("mind.dat")));

    // Text, a truncated copy, a database of another kind, and one without the
    // accounts table all fail the same way.
    const QString text = dir.filePath("text.dat");
    daotest::writeFile(text, QByteArray(2048, 'm'));
    QFile src(built);
    ASSERT_TRUE(src.open(QIODevice::ReadOnly));
    const QByteArray whole = src.readAll();
    const QString cut = dir.filePath("cut.dat");
    daotest::writeFile(cut, whole.left(whole.size() / 2));
    const QString other = dir.filePath("other.dat");
    daotest::makeDb(other, "CREATE TABLE Users(Name TEXT, Salt TEXT, Hash TEXT);");
    const QString noUsers = dir.filePath("nousers.dat");
    daotest::makeDb(noUsers, "PRAGMA application_id = " + QByteArray::number(kWorkgroupApplicationId) + "; CREATE TABLE Accounts(x);");
    for (const QString &p : {text, cut, other, noUsers}) {
        DBEngine::instance().SystemDB = p;
        EXPECT_VB_ERROR(logOn("Lecteur", "qfw271"), vb::ErrWorkgroup);
    }
}

TEST_F(Workgroup, EmptySystemDbMeansTheFileBesideTheProgram)
{
    DBEngine::instance().SystemDB.clear();
    EXPECT_EQ(logOn("Player", "pLRtx8vqanhbzo").UserName(), "Player");
}

} // namespace
