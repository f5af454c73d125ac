// The program's start: everything in order, the splash box before the main
// window, and a broken data folder costing one error box and nothing more.
#include "frame/FrameFixture.h"

#include "frame/ui/frmSplash.h"
#include "mainwindow/Startup.h"
#include "mainwindow/frmMain.h"
#include "sheet/frmGeneral.h"
#include "support/ModalDriver.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <csignal>

using namespace ModGeneral;

namespace {
class StartupTest : public FrameFixture {
protected:
    StartupTest() { openDatabases = false; }
    void TearDown() override
    {
        delete frmMain::instance();
        FrameFixture::TearDown();
    }

    // Runs the start; the splash box is closed by its OK button once we have
    // seen that no main window exists yet.
    frmMain *start()
    {
        bool mainWhileSplash = true;
        ModalDriver driver;
        driver.then([this, &mainWhileSplash](QWidget *w) {
            mainWhileSplash = frmMain::instance() != nullptr;
            boxesBeforeSplash = ui->errors().size();
            auto *splash = qobject_cast<frmSplash *>(w);
            if (splash)
                splash->btnOk->click();
        });
        frmMain *main = Startup::Main();
        EXPECT_TRUE(driver.allStepsRan());
        EXPECT_EQ(driver.seen(), QStringList{QStringLiteral("frmSplash")});
        EXPECT_FALSE(mainWhileSplash);
        return main;
    }

    std::size_t boxesBeforeSplash = 0;
};
} // namespace

TEST_F(StartupTest, RunsInOrderAndShowsTheMainWindowAfterTheSplash)
{
    ::signal(SIGXFSZ, SIG_DFL);
    frmMain *main = start();
    // A write past a file-size limit fails and the program goes on.
    struct sigaction answer {};
    ASSERT_EQ(::sigaction(SIGXFSZ, nullptr, &answer), 0);
    EXPECT_EQ(answer.sa_handler, SIG_IGN);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(MasterPath, AppFolder() + QStringLiteral("/master.dat"));
    EXPECT_EQ(PlayerPath, AppFolder() + QStringLiteral("/player.dat"));
    EXPECT_TRUE(DbMaster.isOpen());
    EXPECT_TRUE(WsPlayer.isValid());
    EXPECT_EQ(DataLanguage, 5000);
    EXPECT_TRUE(ui->errors().empty());
}

TEST_F(StartupTest, MissingSecurityFileIsOneErrorBoxAndStartGoesOn)
{
    const QString folder = tempPath(QStringLiteral("app"));
    QDir().mkpath(folder);
    for (const QString name : {QStringLiteral("master.dat"), QStringLiteral("player.dat")})
        QFile::copy(QCoreApplication::applicationDirPath() + QLatin1Char('/') + name, folder + QLatin1Char('/') + name);
    SetAppFolder(folder);
    ui->expectError(QStringLiteral("OpenDB"));
    frmMain *main = start();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(ui->errors().size(), 1u);
    // The files are checked while the splash box is built: the box still
    // comes before the splash box, as if the check had run alone.
    EXPECT_EQ(boxesBeforeSplash, 1u);
    EXPECT_EQ(DataLanguage, 5000);
}

TEST_F(StartupTest, RulesReplacedByTheSecurityFileAreOneBoxAtStartThenOneForEachActionOrBoxEntered)
{
    const QString folder = tempPath(QStringLiteral("app"));
    QDir().mkpath(folder);
    const QString built = QCoreApplication::applicationDirPath();
    QFile::copy(built + QStringLiteral("/mind.dat"), folder + QStringLiteral("/mind.dat"));
    QFile::copy(built + QStringLiteral("/mind.dat"), folder + QStringLiteral("/master.dat"));
    QFile::copy(built + QStringLiteral("/player.dat"), folder + QStringLiteral("/player.dat"));
    SetAppFolder(folder);
    const QString named = QStringLiteral("Fichier : ") + QDir::toNativeSeparators(folder + QStringLiteral("/master.dat"));
    ui->expectError(QStringLiteral("OpenDB"), vb::ErrTableNotFound);
    frmMain *main = start();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    ASSERT_EQ(ui->errors().size(), 1u);
    EXPECT_TRUE(ui->errors()[0].text.contains(named)) << ui->errors()[0].text.toStdString();

    // The new-character window cannot fill its lists: one box, naming the file.
    ui->expectError(QStringLiteral("Culture.load"), vb::ErrObjectNotSet);
    main->mnuFileNew->trigger();
    ASSERT_EQ(ui->errors().size(), 2u);
    EXPECT_TRUE(ui->errors()[1].text.contains(named)) << ui->errors()[1].text.toStdString();

    // A character opened then: its sheet names the file as it loads, then
    // once for each box the player types into, not at each key.
    Personnage hero;
    hero.Nom = QStringLiteral("Brenna");
    hero.FileName = folder + QStringLiteral("/brenna.pja");
    ASSERT_TRUE(hero.SaveP());
    ui->answerOpenFile(hero.FileName);
    ui->expectError(QStringLiteral("frmGeneral.LoadData"), vb::ErrObjectNotSet);
    main->mnuFileOpen->trigger();
    auto *sheet = qobject_cast<frmGeneral *>(GeneralForms[PlayerCount]);
    ASSERT_NE(sheet, nullptr);
    QApplication::setActiveWindow(main);
    for (const size_t stat : {4, 9}) {
        QLineEdit *special = sheet->Stat_ID[stat][4];
        special->setFocus();
        ASSERT_TRUE(special->hasFocus());
        ui->expectError(QStringLiteral("TotalStatBonus"), vb::ErrObjectNotSet);
        QTest::keyClicks(special, QStringLiteral("12"));
    }
    EXPECT_EQ(ui->errors().size(), 5u);
}
