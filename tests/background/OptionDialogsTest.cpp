// The option dialogs of the background options: the talent cost table, the
// talent chooser and the two special item dialogs.
#include "background/BackgroundFixture.h"

#include "background/frmSpecialItem.h"
#include "background/frmSpecialItemChoose.h"
#include "background/frmTalents.h"
#include "background/frmTalentsCost.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QTextCursor>

#include <memory>

namespace {

// A background options dialog of character 1 for the option dialogs to write into.
struct Owner {
    frmBackground dlg;
    Owner()
    {
        setTag(&dlg, QStringLiteral("1"));
        dlg.LoadData();
    }
};

QString cell(const QTableWidget *g, int r, int c)
{
    const QTableWidgetItem *i = g->item(r, c);
    return i ? i->text() : QString();
}

} // namespace

// ------------------------------------------------------------------ talent cost table

TEST_F(BackgroundTest, TalentCostTableOpensOnTheSecondDegreeRolledWithFlaw)
{
    character(5);
    Owner owner;
    frmTalentsCost table;
    setTag(&table, QStringLiteral("1"));
    QTableWidget *g = table.grdTalentsCost;
    ASSERT_EQ(g->rowCount(), 2 + 4);
    EXPECT_EQ(cell(g, 0, 1), QStringLiteral("Hasard"));
    EXPECT_EQ(cell(g, 1, 6), QStringLiteral("avec défaut +1"));
    EXPECT_EQ(cell(g, 1, 0), QStringLiteral("Degré"));
    EXPECT_EQ(cell(g, 2, 0), QStringLiteral("Mineur"));
    EXPECT_EQ(cell(g, 2, 3), QStringLiteral("---"));   // a price of 0 is not offered
    EXPECT_EQ(g->currentRow(), 3);
    EXPECT_EQ(g->currentColumn(), 1);
    EXPECT_TRUE(table.btnOk->isEnabled());
    EXPECT_EQ(table.btnOk->text(), QStringLiteral("Hasard"));
    EXPECT_EQ(table.labTalent->text(), QStringLiteral("Aptitude Modéré"));
    EXPECT_EQ(table.labFlaw->text(), QStringLiteral("Défaut Modéré"));
}

TEST_F(BackgroundTest, TalentCostLinesFollowTheCurrentCell)
{
    character(5);
    Owner owner;
    frmTalentsCost table;
    setTag(&table, QStringLiteral("1"));
    QTableWidget *g = table.grdTalentsCost;

    g->setCurrentCell(5, 6);   // the last degree chosen with flaw + 1: not offered
    EXPECT_FALSE(table.btnOk->isEnabled());
    EXPECT_TRUE(table.labTalent->text().isEmpty());
    EXPECT_TRUE(table.labFlaw->text().isEmpty());
    EXPECT_EQ(table.btnOk->text(), Strings::Load(1045));
    table.btnOk_Click();   // a cell without a price cannot be confirmed
    EXPECT_EQ(owner.dlg.labAptitudes->text(), QStringLiteral("0"));

    g->setCurrentCell(5, 3);   // the last degree: the flaw one step up is special
    EXPECT_TRUE(table.btnOk->isEnabled());
    EXPECT_EQ(table.labFlaw->text(), QStringLiteral("Défaut Spécial"));
    g->setCurrentCell(3, 6);
    EXPECT_EQ(table.labFlaw->text(), QStringLiteral("Défaut Majeur"));
    EXPECT_EQ(table.btnOk->text(), QStringLiteral("Choix"));
    g->setCurrentCell(3, 2);
    EXPECT_EQ(table.labFlaw->text(), QStringLiteral("Sans Défaut"));

    g->setCurrentCell(3, 5);
    table.btnOk_Click();
    EXPECT_EQ(owner.dlg.labAptitudes->text(), QStringLiteral("4"));
    EXPECT_EQ(tag(owner.dlg.btnTalents), QStringLiteral("25"));
    EXPECT_EQ(owner.dlg.Price(), 4);
}

TEST_F(BackgroundTest, TalentCostCancelClearsWhateverWasChosen)
{
    character(5);
    Owner owner;
    owner.dlg.labAptitudes->setText(QStringLiteral("3"));
    setTag(owner.dlg.btnTalents, QStringLiteral("33"));
    frmTalentsCost table;
    setTag(&table, QStringLiteral("1"));
    table.btnCancel_Click();
    EXPECT_EQ(owner.dlg.labAptitudes->text(), QStringLiteral("0"));
    EXPECT_TRUE(tag(owner.dlg.btnTalents).isEmpty());
    EXPECT_EQ(table.result(), QDialog::Rejected);
}

TEST_F(BackgroundTest, TalentCostHeadersFollowTheDataLanguage)
{
    ModGeneral::DataLanguage = 1000;
    frmTalentsCost table;
    EXPECT_EQ(cell(table.grdTalentsCost, 0, 4), QStringLiteral("Select"));
    EXPECT_EQ(cell(table.grdTalentsCost, 1, 2), QStringLiteral("with no Flaw"));
    EXPECT_EQ(cell(table.grdTalentsCost, 2, 0), QStringLiteral("Minor"));
    EXPECT_EQ(table.btnOk->text(), QStringLiteral("Random"));
    table.grdTalentsCost->setCurrentCell(3, 5);
    EXPECT_EQ(table.labFlaw->text(), QStringLiteral("No ") + Strings::Load(3543));
}

// ------------------------------------------------------------------ talent chooser

TEST_F(BackgroundTest, TalentChooserRecordsTheRowOnShow)
{
    Personnage &p = character(5);
    Owner owner;
    frmTalents chooser;
    setTag(chooser.grdTalent, QStringLiteral("2"));
    setTag(&chooser, QStringLiteral("1"));
    chooser.LoadData();
    ASSERT_EQ(chooser.grdTalent->rowCount(), 8);
    EXPECT_EQ(cell(chooser.grdTalent, 0, 0), QStringLiteral("01"));
    EXPECT_EQ(chooser.labTalent->text(), QStringLiteral("Night Vision"));
    chooser.grdTalent->setCurrentCell(2, 0);   // a keyboard move counts as a click
    EXPECT_EQ(chooser.labTalent->text(), QStringLiteral("Ambidextrous"));
    EXPECT_EQ(chooser.txtTalentNote->toPlainText(), QStringLiteral("+10 to Two Weapons."));
    EXPECT_EQ(chooser.grdTalent->currentColumn(), 1);
    // The note is the player's to word before it goes into the history.
    ASSERT_FALSE(chooser.txtTalentNote->isReadOnly());
    chooser.txtTalentNote->moveCursor(QTextCursor::End);
    QTest::keyClicks(chooser.txtTalentNote, QStringLiteral(" (left hand)"));
    // A line the player breaks in the note breaks as the history's lines do.
    QTest::keyClick(chooser.txtTalentNote, Qt::Key_Return);
    QTest::keyClicks(chooser.txtTalentNote, QStringLiteral("Sword"));
    p.Historique = QStringLiteral("a");
    chooser.btnOk_Click();
    EXPECT_EQ(tag(owner.dlg.labAptitudes), QStringLiteral("11"));
    EXPECT_EQ(p.Historique.toString(),
              QStringLiteral("a\r\nAptitude: Ambidextrous, +10 to Two Weapons. (left hand)\r\nSword"));
}

TEST_F(BackgroundTest, TalentWithoutNoteStillGetsItsLine)
{
    Personnage &p = character(5);
    Owner owner;
    frmTalents chooser;
    setTag(chooser.grdTalent, QStringLiteral("1"));
    setTag(&chooser, QStringLiteral("1"));
    chooser.LoadData();
    chooser.grdTalent->setCurrentCell(1, 1);
    chooser.btnOk_Click();
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("Aptitude: Light Sleeper, "));
}

TEST_F(BackgroundTest, TalentChooserCancelWithdrawsTheTalentOption)
{
    Personnage &p = character(5);
    p.Historique = QStringLiteral("a");
    Owner owner;
    owner.dlg.labAptitudes->setText(QStringLiteral("4"));
    setTag(owner.dlg.btnTalents, QStringLiteral("25"));
    frmTalents chooser;
    setTag(chooser.grdTalent, QStringLiteral("2"));
    setTag(&chooser, QStringLiteral("1"));
    chooser.LoadData();
    chooser.btnCancel_Click();
    EXPECT_EQ(owner.dlg.labAptitudes->text(), QStringLiteral("0"));
    EXPECT_TRUE(tag(owner.dlg.labAptitudes).isEmpty());
    EXPECT_TRUE(tag(owner.dlg.btnTalents).isEmpty());
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("a"));
}

TEST_F(BackgroundTest, TalentChooserWithNothingToOfferOnlyCancels)
{
    character(5);
    frmTalents chooser;
    setTag(chooser.grdTalent, QStringLiteral("7"));
    setTag(&chooser, QStringLiteral("1"));
    chooser.LoadData();
    EXPECT_EQ(chooser.grdTalent->rowCount(), 0);
    EXPECT_FALSE(chooser.btnOk->isEnabled());
    chooser.btnOk_Click();
    EXPECT_NE(chooser.result(), QDialog::Accepted);
}

// ------------------------------------------------------------------ special item roll

TEST_F(BackgroundTest, SpecialItemRollTakesTheBandOfTheRoll)
{
    Personnage &p = character(0);
    Dice::setRolls({100, 15, 14, 99});
    frmSpecialItem dlg;
    setTag(&dlg, QStringLiteral("1"));
    // The first roll: the last band at once, one item on show.
    EXPECT_EQ(dlg.txtJetDe->text(), QStringLiteral("100"));
    EXPECT_EQ(dlg.optSpecialItem[0]->text(), QStringLiteral("Blade of legend +20"));
    EXPECT_FALSE(dlg.optSpecialItem[0]->isHidden());
    EXPECT_TRUE(dlg.optSpecialItem[1]->isHidden());
    EXPECT_TRUE(dlg.optSpecialItem[3]->isHidden());
    EXPECT_EQ(dlg.btnRandom->text(), QStringLiteral("OK"));   // the roll changed the die box

    dlg.btnRandom_Click();   // 15: a band's own bound
    EXPECT_EQ(dlg.optSpecialItem[0]->text(), QStringLiteral("Silver dagger"));
    EXPECT_TRUE(dlg.optSpecialItem[3]->isHidden());
    EXPECT_TRUE(dlg.optSpecialItem[0]->isChecked());
    dlg.btnRandom_Click();   // 14: the band before
    EXPECT_EQ(dlg.optSpecialItem[0]->text(), QStringLiteral("A lucky copper coin"));
    dlg.btnRandom_Click();   // 99: the band before the "100" band
    EXPECT_EQ(dlg.optSpecialItem[0]->text(), QStringLiteral("Bow +15"));
    dlg.optSpecialItem[2]->setChecked(true);
    p.Historique = QStringLiteral("a");
    dlg.btnOk_Click();
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("a\r\nCloak of shadows"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(p.PointsBO, 0);
}

TEST_F(BackgroundTest, SpecialItemWithAnEmptyDieBoxRollsAgain)
{
    Personnage &p = character(0);
    Dice::setRolls({50, 30});
    frmSpecialItem dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.txtJetDe->clear();
    dlg.btnOk_Click();
    EXPECT_EQ(dlg.txtJetDe->text(), QStringLiteral("30"));
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_FALSE(p.Historique.isValid());
    dlg.btnOk_Click();   // untouched options: the band's first item
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("Cloak that never gets wet"));
}

// ------------------------------------------------------------------ special item chooser

TEST_F(BackgroundTest, SpecialItemChooserShowsTheWholeTable)
{
    Personnage &p = character(0);
    frmSpecialItemChoose dlg;
    setTag(&dlg, QStringLiteral("1"));
    QTableWidget *g = dlg.grdSpecialItemChoose;
    ASSERT_EQ(g->rowCount(), 10);
    EXPECT_EQ(cell(g, 0, 0), QStringLiteral("01"));
    EXPECT_EQ(cell(g, 0, 2), QStringLiteral("None"));   // shown as written
    EXPECT_EQ(g->currentRow(), 0);
    EXPECT_EQ(g->currentColumn(), 1);
    EXPECT_EQ(dlg.labChoise->text(), QStringLiteral("A lucky copper coin"));
    dlg.btnOk_Click();
    // An empty history still gets its line break first.
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("\r\nA lucky copper coin"));
}

TEST_F(BackgroundTest, SpecialItemChooserWillNotSellAnEmptyPlace)
{
    Personnage &p = character(0);
    p.Historique = QStringLiteral("a");
    frmSpecialItemChoose dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.grdSpecialItemChoose->setCurrentCell(0, 3);
    EXPECT_EQ(dlg.labChoise->text(), QStringLiteral("None"));
    EXPECT_FALSE(dlg.btnOk->isEnabled());
    dlg.btnOk_Click();
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("a"));
    dlg.grdSpecialItemChoose->setCurrentCell(4, 3);
    EXPECT_TRUE(dlg.btnOk->isEnabled());
    dlg.btnOk_Click();
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("a\r\nSword +5"));
}

// Cancel, Esc and the close box give back what the option cost (one point for
// the roll, two for the choice), once: a close after Cancel or OK gives nothing.
TEST_F(BackgroundTest, SpecialItemsLeftWithoutAnItemGiveTheirPointsBackOnce)
{
    enum Way { Cancel, Escape, CloseBox, CancelThenClose, OkThenClose };
    const struct {
        bool chooser;
        Way way;
        qint16 points;   // from 2 left after paying
        const char *history;
    } cases[] = {
        {false, Cancel, 3, "a"}, {false, Escape, 3, "a"}, {false, CloseBox, 3, "a"}, {false, CancelThenClose, 3, "a"},
        {false, OkThenClose, 2, "a\r\nCloak that never gets wet"},   // the roll of 30
        {true, Cancel, 4, "a"}, {true, Escape, 4, "a"}, {true, CloseBox, 4, "a"}, {true, CancelThenClose, 4, "a"},
        {true, OkThenClose, 2, "a\r\nA lucky copper coin"},          // the first cell
    };
    for (const auto &c : cases) {
        Personnage &p = character(2);
        p.Historique = QStringLiteral("a");
        Dice::setRolls({30});
        std::unique_ptr<QDialog> dlg(c.chooser ? static_cast<QDialog *>(new frmSpecialItemChoose) : new frmSpecialItem);
        setTag(dlg.get(), QStringLiteral("1"));
        dlg->show();
        QCloseEvent late;   // as a close box pressed once the window went sends it
        if (c.way == Cancel || c.way == CancelThenClose)
            dlg->findChild<QPushButton *>(QStringLiteral("btnCancel"))->click();
        if (c.way == OkThenClose)
            dlg->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
        if (c.way == Escape)
            QTest::keyClick(dlg.get(), Qt::Key_Escape);
        if (c.way == CloseBox)
            dlg->close();
        if (c.way == CancelThenClose || c.way == OkThenClose)
            QApplication::sendEvent(dlg.get(), &late);
        EXPECT_EQ(p.PointsBO, c.points) << "chooser " << c.chooser << " way " << c.way;
        EXPECT_EQ(p.Historique.toString(), QString::fromUtf8(c.history)) << "chooser " << c.chooser << " way " << c.way;
    }
}
