// Edits made on the sheet reach the character file when it is saved, and come
// back on the sheet of the same file opened again.
#include "SheetFixture.h"

#include "character/Players.h"
#include "character/StoredFileSupport.h"
#include "mainwindow/FormFactories.h"
#include "mainwindow/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

using namespace sheettest;

namespace {

class SheetFileTest : public SheetTest {
protected:
    void SetUp() override
    {
        SheetTest::SetUp();
        ModGeneral::PlayerPath = ModGeneral::AppFolder() + QStringLiteral("/player.dat");
        ModGeneral::WsPlayer = dao::Workspace();
        OpenRules();
    }
    void TearDown() override
    {
        ClearFormTables();
        SheetTest::TearDown();
    }

    // Makes every kind of edit the sheet offers, as the user types and picks.
    void EditEverything(frmGeneral &w)
    {
        Retype(w.txtNom, QStringLiteral("Brann"));
        Retype(w.txtExperience, QStringLiteral("1 500"));
        Retype(w.txtAge, QStringLiteral("30,5"));
        Retype(w.txtApparence, QStringLiteral("-3"));
        Retype(w.txtCheveux, QStringLiteral("noirs"));
        Retype(w.txtYeux, QStringLiteral("bleus"));
        Retype(w.txtGrandeur, QStringLiteral("1,7"));
        Retype(w.txtPoids, QStringLiteral("80"));
        w.txtHistorique->clear();
        QTest::keyClicks(w.txtHistorique, QStringLiteral("Forgeron"));
        Retype(w.txtMoney[0], QStringLiteral("7"));
        Retype(w.txtMoney[4], QStringLiteral("3"));
        Retype(w.Stat_ID[Qu][4], QStringLiteral("6"));
        Retype(w.Resistance[7][2], QStringLiteral("-4"));
        w.lstArmor->setCurrentIndex(4);
        w.lstShield->setCurrentIndex(2);
        w.chkCasque[0]->setChecked(false);
        w.chkCasque[1]->setChecked(true);
    }

    void ExpectEdited(frmGeneral &w, Personnage &p)
    {
        EXPECT_EQ(p.Nom, QStringLiteral("Brann"));
        EXPECT_EQ(p.Experience, 1500);
        EXPECT_FLOAT_EQ(p.Age, 30.5f);
        EXPECT_EQ(p.Apparence, -3);
        EXPECT_EQ(p.Cheveux, QStringLiteral("noirs"));
        EXPECT_EQ(p.Yeux, QStringLiteral("bleus"));
        EXPECT_FLOAT_EQ(p.Grandeur, 1.7f);
        EXPECT_FLOAT_EQ(p.Poids, 80.0f);
        EXPECT_EQ(p.Historique.toString(), QStringLiteral("Forgeron"));
        EXPECT_EQ(p.Money, 75003);
        EXPECT_EQ(p.DirStats(2, Qu), 6);
        EXPECT_EQ(p.DirResistanceSpecial(7), -4);
        EXPECT_EQ(p.Armure, 5);
        EXPECT_EQ(p.Bouclier, 2);
        EXPECT_EQ(p.Casque, 1);

        EXPECT_EQ(w.txtNom->text(), QStringLiteral("Brann"));
        EXPECT_EQ(w.txtExperience->text(), QStringLiteral("1500"));
        EXPECT_EQ(w.txtAge->text(), QStringLiteral("30,5"));
        EXPECT_EQ(w.txtGrandeur->text(), QStringLiteral("1,7"));
        EXPECT_EQ(w.txtHistorique->toPlainText(), QStringLiteral("Forgeron"));
        EXPECT_EQ(w.txtMoney[0]->text(), QStringLiteral("7"));
        EXPECT_EQ(w.txtMoney[4]->text(), QStringLiteral("3"));
        EXPECT_EQ(w.Stat_ID[Qu][4]->text(), QStringLiteral("6"));
        EXPECT_EQ(w.Resistance[7][2]->text(), QStringLiteral("-4"));
        EXPECT_EQ(w.lstArmor->currentIndex(), 4);
        EXPECT_EQ(w.lstShield->currentIndex(), 2);
        EXPECT_FALSE(w.chkCasque[0]->isChecked());
        EXPECT_TRUE(w.chkCasque[1]->isChecked());
    }

    QTemporaryDir files;
};

} // namespace

TEST_F(SheetFileTest, EveryEditReachesTheFileAndComesBackOnItsSheet)
{
    frmGeneral &w = Load();
    EditEverything(w);
    P().FileName = files.filePath(QStringLiteral("brann.pja"));
    P().SaveP();

    ModGeneral::Players.resize(2);
    ModGeneral::PlayerCount = 2;
    Personnage &again = ModGeneral::Players(2);
    again.FileName = P().FileName;
    again.LoadP();
    frmGeneral opened;
    opened.setTag(QStringLiteral("2"));
    opened.LoadData();
    ExpectEdited(opened, again);
}

TEST_F(SheetFileTest, FileOpenShowsTheFilledSheet)
{
    P().FileName = files.filePath(QStringLiteral("aelis.pja"));
    P().SaveP();

    frmMain main;
    InstallFormFactories();
    ui->answerOpenFile(P().FileName);
    main.mnuFileOpen_Click();

    const int n = ModGeneral::PlayerCount;
    ASSERT_EQ(n, 2);
    auto *w = qobject_cast<frmGeneral *>(GeneralForms.peek(n));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Tag(), QStringLiteral("2"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Aëlis (Général)"));
    EXPECT_EQ(w->txtRace->text(), QStringLiteral("Collinien"));
    EXPECT_EQ(w->txtNiveau->text(), QStringLiteral("5"));
    EXPECT_EQ(w->Stat_ID[CO][5]->text(), QStringLiteral("7"));
    EXPECT_EQ(w->lstArmor->currentIndex(), 13);
    EXPECT_EQ(w->txtArmure[0]->text(), QStringLiteral("-45"));
    EXPECT_EQ(w->txtMoney[1]->text(), QStringLiteral("5"));
    EXPECT_EQ(main.Tag(), QStringLiteral("2"));
}

TEST_F(SheetFileTest, AHistoryTypedIntoReachesTheFileWithCrLfBetweenItsLines)
{
    // Line feeds alone, as a file written elsewhere may hold them: shown as
    // lines, and merely showing them rewrites nothing.
    P().Historique = QStringLiteral("ligne un\nligne deux");
    frmGeneral &w = Load();
    EXPECT_EQ(w.txtHistorique->document()->blockCount(), 2);
    EXPECT_EQ(P().Historique.toString(), QStringLiteral("ligne un\nligne deux"));

    w.txtHistorique->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.txtHistorique, QStringLiteral("x"));
    QTest::keyClick(w.txtHistorique, Qt::Key_Return);
    QTest::keyClicks(w.txtHistorique, QStringLiteral("trois"));
    P().FileName = files.filePath(QStringLiteral("lignes.pja"));
    P().SaveP();

    const QString stored = filetest::storedText(P().FileName, "SELECT Historique FROM General");
    EXPECT_EQ(stored, QStringLiteral("ligne un\r\nligne deuxx\r\ntrois"));
}
