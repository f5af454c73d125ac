// The background options dialog: composing a purchase, its price, and what
// OK applies and where it leads.
#include "background/BackgroundFixture.h"

#include "background/frmSpecialItem.h"
#include "background/frmSpecialItemChoose.h"
#include "background/frmTalents.h"
#include "sheet/frmGeneral.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

namespace {

using Kind = ScriptedPorts::Kind;

qint16 categorySpecial(Personnage &p, qint32 cat)
{
    for (qint32 r = 0; r <= p.NbSkillCat; ++r)
        if (p.DirSkillsCat(0, r) == cat)
            return p.DirSkillsCat(3, r);
    return 0;
}

qint16 skillSpecial(Personnage &p, qint32 skill)
{
    for (qint32 r = 0; r <= p.NbSkill; ++r)
        if (p.DirSkills(0, r) == skill)
            return p.DirSkills(3, r);
    return 0;
}

int rowOf(const QListWidget *l, const std::vector<qint32> &ids, qint32 id)
{
    for (int i = 0; i < l->count(); ++i)
        if (ids[static_cast<size_t>(i)] == id)
            return i;
    return -1;
}

// Opens the dialog for character 1 and chooses category `cat` twice.
void chooseCategoryTwice(frmBackground &dlg, qint32 cat)
{
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.lstSkillCat->setCurrentRow(rowOf(dlg.lstSkillCat, dlg.SkillCatNumber, cat));
    dlg.btnSelectSkillCat_Click();
    dlg.btnSelectSkillCat_Click();
}

} // namespace

TEST_F(BackgroundTest, ListsHoldEveryCategoryAndTheUndividedSkills)
{
    frmBackground dlg;
    EXPECT_EQ(dlg.lstSkillCat->count(), 53);
    EXPECT_EQ(dlg.NbSkillCatNumber, 60);   // grown from 10 in steps of 10
    EXPECT_GE(dlg.NbSkillNumber, dlg.lstSkill->count());
    EXPECT_EQ(dlg.lstSkill->count(), 261 - 6);
    EXPECT_FALSE(rowsOf(dlg.lstSkill).contains(QStringLiteral("Équitation")));
    EXPECT_EQ(dlg.lstSkillCat->currentRow(), 0);
    EXPECT_EQ(dlg.lstSkill->currentRow(), 0);
    // Name order, folded: "Armes : lames" before "Armes : masses".
    const QStringList cats = rowsOf(dlg.lstSkillCat);
    EXPECT_LT(cats.indexOf(QStringLiteral("Armes : lames")), cats.indexOf(QStringLiteral("Armes : masses")));
    // Each row's id stands beside its name.
    EXPECT_EQ(dlg.SkillCatNumber[static_cast<size_t>(cats.indexOf(QStringLiteral("Endurance")))], 2);
    EXPECT_EQ(dlg.labOptionPoint->text(), QStringLiteral("0"));   // before LoadData
}

TEST_F(BackgroundTest, BonusListsKeepRowsAndIdsInStep)
{
    frmBackground dlg;
    // Nothing selected: nothing happens, either way.
    dlg.lstSkill->setCurrentRow(-1);
    dlg.btnSelectSkill_Click();
    dlg.btnUnSelectSkill_Click();
    EXPECT_EQ(dlg.lstSkillBonus->count(), 0);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("0"));

    // The same skill twice, then another: three rows, three ids.
    dlg.lstSkill->setCurrentRow(4);
    dlg.btnSelectSkill_Click();
    dlg.btnSelectSkill_Click();
    dlg.lstSkill->setCurrentRow(9);
    dlg.btnSelectSkill_Click();
    const qint32 a = dlg.SkillNumber[4], b = dlg.SkillNumber[9];
    EXPECT_EQ(dlg.lstSkillBonus->count(), 3);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("3"));
    EXPECT_EQ(dlg.BonusSkill[0], a);
    EXPECT_EQ(dlg.BonusSkill[1], a);
    EXPECT_EQ(dlg.BonusSkill[2], b);
    EXPECT_EQ(dlg.lstSkill->count(), 255);   // the source keeps its rows

    // The middle one goes: the first and the third close up.
    dlg.lstSkillBonus->setCurrentRow(1);
    dlg.btnUnSelectSkill_Click();
    EXPECT_EQ(rowsOf(dlg.lstSkillBonus),
              (QStringList{dlg.lstSkill->item(4)->text(), dlg.lstSkill->item(9)->text()}));
    EXPECT_EQ(dlg.BonusSkill[0], a);
    EXPECT_EQ(dlg.BonusSkill[1], b);
    EXPECT_EQ(dlg.BonusSkill[2], 0);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("2"));
    // Nothing is chosen after a removal: pressing the arrow again removes nothing.
    dlg.btnUnSelectSkill_Click();
    EXPECT_EQ(dlg.lstSkillBonus->count(), 2);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("2"));

    // Categories count into the same label.
    dlg.btnSelectSkillCat_Click();
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("3"));
    EXPECT_EQ(dlg.Price(), 3);

    // The label never goes below 0, even when someone set it by hand.
    dlg.labSpecialBonus->setText(QStringLiteral("0"));
    dlg.lstSkillCatBonus->setCurrentRow(0);
    dlg.btnUnSelectSkillCat_Click();
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("0"));
}

TEST_F(BackgroundTest, ARowWhoseSelectionWasClearedIsNoChoice)
{
    frmBackground dlg;
    // The player ctrl-clicks the chosen row away: the list keeps it current
    // but nothing is selected, so neither arrow may act on it.
    dlg.lstSkill->setCurrentRow(3);
    dlg.lstSkill->clearSelection();
    dlg.btnSelectSkill_Click();
    EXPECT_EQ(dlg.lstSkillBonus->count(), 0);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("0"));

    dlg.lstSkill->setCurrentRow(3);
    dlg.btnSelectSkill_Click();
    dlg.lstSkillBonus->setCurrentRow(0);
    dlg.lstSkillBonus->clearSelection();
    dlg.btnUnSelectSkill_Click();
    EXPECT_EQ(dlg.lstSkillBonus->count(), 1);
    EXPECT_EQ(dlg.BonusSkill[0], dlg.SkillNumber[3]);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("1"));
}

TEST_F(BackgroundTest, ABonusListTakesElevenRowsAndNoMore)
{
    frmBackground dlg;
    for (int i = 0; i < 12; ++i) {
        dlg.lstSkillCat->setCurrentRow(i);
        dlg.btnSelectSkillCat_Click();
    }
    EXPECT_EQ(dlg.lstSkillCatBonus->count(), 11);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("11"));
    EXPECT_EQ(dlg.BonusSkillCat[10], dlg.SkillCatNumber[10]);
    EXPECT_FALSE(dlg.btnSelectSkillCat->isEnabled());
    dlg.lstSkillCatBonus->setCurrentRow(0);
    dlg.btnUnSelectSkillCat_Click();
    EXPECT_TRUE(dlg.btnSelectSkillCat->isEnabled());
}

TEST_F(BackgroundTest, SecondBoxesPullTheFirstAlong)
{
    frmBackground dlg;
    dlg.chkBackground2[2]->setChecked(true);
    EXPECT_TRUE(dlg.chkBackground[2]->isChecked());
    dlg.chkBackground[2]->setChecked(false);
    EXPECT_FALSE(dlg.chkBackground2[2]->isChecked());
    dlg.chkBackground2[3]->setChecked(true);
    dlg.chkBackground2[3]->setChecked(false);
    EXPECT_FALSE(dlg.chkBackground[3]->isChecked());
    dlg.chkBackground[3]->setChecked(true);   // the first box alone: 1 point
    EXPECT_FALSE(dlg.chkBackground2[3]->isChecked());
    dlg.chkBackground2[2]->setChecked(true);
    dlg.labAptitudes->setText(QStringLiteral("3"));
    EXPECT_EQ(dlg.Price(), 1 + 2 + 3);
}

TEST_F(BackgroundTest, OverspendingIsRefusedAndChangesNothing)
{
    Personnage &p = character(2);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    EXPECT_EQ(dlg.labOptionPoint->text(), QStringLiteral("2"));
    dlg.chkBackground[1]->setChecked(true);
    dlg.chkBackground2[2]->setChecked(true);
    ui->answerMsgBox(ports::Ok, QStringLiteral("Dépassement"));
    dlg.btnOk_Click();
    EXPECT_EQ(p.PointsBO, 2);
    EXPECT_TRUE(dlg.chkBackground2[2]->isChecked());
    EXPECT_TRUE(statRolls.empty());
    EXPECT_TRUE(stages.empty());
}

TEST_F(BackgroundTest, NothingBoughtStaysOpenWithPointsOrGoesToHobbiesWithout)
{
    Personnage &p = character(3);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    // The dialog stays and says why: the points left must be spent.
    ui->answerMsgBox(ports::Ok, QStringLiteral(" 3 "));
    dlg.btnOk_Click();
    EXPECT_EQ(p.PointsBO, 3);
    EXPECT_TRUE(stages.empty());
    EXPECT_EQ(ui->count(Kind::MsgBox), 1);
    EXPECT_NE(dlg.result(), QDialog::Accepted);

    p.PointsBO = 0;
    ui->answerMsgBox(ports::Ok, Strings::Load(5030) + QStringLiteral(" 12 ") + Strings::Load(3076) + QStringLiteral("."));
    dlg.btnOk_Click();
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].stage, QStringLiteral("Hobby Ranks"));
    EXPECT_EQ(stages[0].ranks, 12);
    EXPECT_EQ(ui->callsOf(Kind::MsgBox)[1].title, Strings::Load(3076));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);

    // Points below nothing (a stray value) must not hold the character here.
    p.PointsBO = -1;
    ui->answerMsgBox(ports::Ok, Strings::Load(5030));
    dlg.btnOk_Click();
    EXPECT_EQ(stages.size(), 2u);
}

TEST_F(BackgroundTest, SpendingEveryPointLeadsToTheHobbyRanksInTheSameClick)
{
    Personnage &p = character(2);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.chkBackground[1]->setChecked(true);
    const int cat = rowOf(dlg.lstSkillCat, dlg.SkillCatNumber, 2);
    dlg.lstSkillCat->setCurrentRow(cat);
    dlg.btnSelectSkillCat_Click();
    ui->answerMsgBox(ports::Ok, Strings::Load(5030));
    dlg.btnOk_Click();
    EXPECT_EQ(p.PointsBO, 0);
    EXPECT_EQ(statRolls, std::vector<int>{1});
    EXPECT_EQ(categorySpecial(p, 2), 5);
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].stage, QStringLiteral("Hobby Ranks"));
}

TEST_F(BackgroundTest, MoneyComesFromTheRollOrIsTwoHundred)
{
    Personnage &p = character(10);
    p.Money = 20007;   // a new character's 2 gold pieces, and a few coppers
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();

    dlg.chkBackground2[2]->setChecked(true);
    ui->answerMsgBox(ports::Ok, Strings::Load(5047) + QStringLiteral(" 200 ") + Strings::Load(5048));
    Dice::setRolls({1});   // must stay unused
    dlg.btnOk_Click();
    EXPECT_EQ(p.Money, 2020007);
    {
        // The 200 gold pieces bought are 200 more in the sheet's gold box.
        frmGeneral sheet;
        sheet.setTag(QStringLiteral("1"));
        sheet.LoadData();
        EXPECT_EQ(sheet.txtMoney[0]->text(), QStringLiteral("202"));
    }
    EXPECT_EQ(Dice::scriptRemaining(), 1);
    EXPECT_EQ(p.PointsBO, 8);
    EXPECT_FALSE(dlg.chkBackground[2]->isChecked());   // unticked for the next purchase
    EXPECT_FALSE(dlg.chkBackground2[2]->isChecked());
    EXPECT_EQ(dlg.labOptionPoint->text(), QStringLiteral("8"));

    const std::pair<int, int> rolls[] = {{15, 5}, {16, 10}, {70, 40}, {71, 50}};
    for (const auto &[roll, gold] : rolls) {
        const qint32 before = p.Money;
        Dice::setRolls({roll});
        dlg.chkBackground[2]->setChecked(true);
        ui->answerMsgBox(ports::Ok, QStringLiteral(" %1 ").arg(gold));
        dlg.btnOk_Click();
        EXPECT_EQ(p.Money - before, gold * 10000) << roll;
    }
    EXPECT_EQ(p.PointsBO, 4);

    // At the top of the fortune: from 2147483647 - 2000000 the best roll, 100,
    // fills it; one copper more is refused before the point is spent.
    const struct {
        qint32 from;
        const char *said;
        qint32 after;
    } tops[] = {{2145483647, " 200 ", 2147483647},
                {2145483648, "Ayla ne peut pas acheter cet argent : son argent pourrait dépasser 214748 po", 2145483648}};
    for (const auto &top : tops) {
        p.Money = top.from;
        Dice::setRolls({100});
        dlg.chkBackground[2]->setChecked(true);
        ui->answerMsgBox(ports::Ok, QString::fromUtf8(top.said));
        dlg.btnOk_Click();
        EXPECT_EQ(p.Money, top.after);
    }
    EXPECT_EQ(p.PointsBO, 3);
}

TEST_F(BackgroundTest, SpecialBonusesAddUpOnTheSameEntry)
{
    Personnage &p = character(5);
    frmBackground dlg;
    chooseCategoryTwice(dlg, 1);
    const int skillRow = 3;
    const qint32 skill = dlg.SkillNumber[skillRow];
    dlg.lstSkill->setCurrentRow(skillRow);
    dlg.btnSelectSkill_Click();
    dlg.btnOk_Click();
    EXPECT_EQ(categorySpecial(p, 1), 10);
    EXPECT_EQ(skillSpecial(p, skill), 10);
    EXPECT_EQ(p.PointsBO, 2);
    EXPECT_EQ(dlg.lstSkillCatBonus->count(), 0);
    EXPECT_EQ(dlg.lstSkillBonus->count(), 0);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("0"));
    EXPECT_EQ(dlg.BonusSkillCat[0], 0);
    EXPECT_TRUE(p.Historique.toString().isEmpty());
}

// A bonus is taken while every total built on it still fits. With every
// temporary at 100, Feats of Strength totals ST 12 + CO 12 + ST 12 - 10 = 26
// beside its special bonus, which may then reach 32741: from 32731 two more
// +5 are taken; a third is refused when chosen, its point kept.
TEST_F(BackgroundTest, ABonusItsTotalCannotHoldIsRefusedWhenChosen)
{
    Personnage &p = nearTheTop(3);
    frmBackground dlg;
    chooseCategoryTwice(dlg, 1);
    ui->answerMsgBox(ports::Ok, QStringLiteral("passerait de 32731 à 32746, hors des limites de -32768 à 32741"));
    dlg.btnSelectSkillCat_Click();
    EXPECT_EQ(dlg.lstSkillCatBonus->count(), 2);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("2"));
    dlg.btnOk_Click();
    EXPECT_EQ(categorySpecial(p, 1), 32741);
    EXPECT_EQ(p.TotalSkillCatBonus(1), 32767);
    EXPECT_EQ(p.PointsBO, 1);
    EXPECT_EQ(ui->count(Kind::ErrorBox), 0);
}

// A talent taken in the same OK can move a total the bonuses chosen beside it
// build on: then none of them is applied and all their points come back.
// Strong Back gives Feats of Strength +10, to 32741 (see above); its +5 would
// then take the total to 32772.
TEST_F(BackgroundTest, BonusesATalentPushesPastTheirRangeGiveTheirPointsBack)
{
    Personnage &p = nearTheTop(5);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.lstSkillCat->setCurrentRow(rowOf(dlg.lstSkillCat, dlg.SkillCatNumber, 1));
    dlg.btnSelectSkillCat_Click();
    dlg.lstSkill->setCurrentRow(rowOf(dlg.lstSkill, dlg.SkillNumber, 1));   // Lifting
    dlg.btnSelectSkill_Click();
    ASSERT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("2"));
    dlg.labAptitudes->setText(QStringLiteral("1"));
    setTag(dlg.btnTalents, QStringLiteral("15"));   // degree 1 chosen, no flaw
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *talents = qobject_cast<frmTalents *>(w);
        ASSERT_NE(talents, nullptr);
        talents->grdTalent->setCurrentCell(4, 1);   // Strong Back
        talents->btnOk->click();
    });
    ui->answerMsgBox(ports::Ok, QStringLiteral("passerait de 32741 à 32746"));
    dlg.btnOk_Click();
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_EQ(categorySpecial(p, 1), 32741);
    EXPECT_EQ(p.RankRow(RankKind::Skill, 1), -1);   // Lifting got nothing either
    EXPECT_EQ(p.PointsBO, 4);   // 5 - (1 + 2) + 2
    EXPECT_EQ(dlg.labOptionPoint->text(), QStringLiteral("4"));
    EXPECT_EQ(dlg.lstSkillCatBonus->count() + dlg.lstSkillBonus->count(), 0);
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("0"));
    EXPECT_EQ(ui->count(Kind::ErrorBox), 0);
}

TEST_F(BackgroundTest, ExtraLanguagesEndTheClickWhateverPointsRemain)
{
    Personnage &p = character(4);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.chkBackground[0]->setChecked(true);
    dlg.chkBackground[1]->setChecked(true);
    dlg.btnOk_Click();
    EXPECT_EQ(p.PointsBO, 2);
    EXPECT_EQ(statRolls, std::vector<int>{1});
    ASSERT_EQ(stages.size(), 1u);
    EXPECT_EQ(stages[0].stage, QStringLiteral("Historique"));
    EXPECT_EQ(stages[0].ranks, 20);
    EXPECT_EQ(ModGeneral::SkillDevMode, QStringLiteral("Langue"));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(BackgroundTest, OnlyOkLeavesTheDialog)
{
    character(3);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.show();
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_TRUE(dlg.isVisible());
    dlg.hide();
}

TEST_F(BackgroundTest, CancelledSpecialItemGivesItsPointsBack)
{
    Personnage &p = character(3);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.chkBackground2[3]->setChecked(true);
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *chooser = qobject_cast<frmSpecialItemChoose *>(w);
        ASSERT_NE(chooser, nullptr);
        EXPECT_EQ(chooser->windowTitle(), Strings::Load(5050));
        chooser->btnCancel->click();
    });
    dlg.btnOk_Click();
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_EQ(p.PointsBO, 3);                              // 2 spent, 2 given back
    EXPECT_EQ(dlg.labOptionPoint->text(), QStringLiteral("3"));
    EXPECT_TRUE(stages.empty());                           // points left: the dialog stays

    dlg.chkBackground[3]->setChecked(true);
    Dice::setRolls({100});
    driver.then([](QWidget *w) {
        auto *roll = qobject_cast<frmSpecialItem *>(w);
        ASSERT_NE(roll, nullptr);
        roll->btnOk->click();
    });
    dlg.btnOk_Click();
    EXPECT_EQ(p.PointsBO, 2);
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("Blade of legend +20"));
}

TEST_F(BackgroundTest, RolledTalentIsConfirmedAndItsFlawFollows)
{
    Personnage &p = character(3);
    p.Historique = QStringLiteral("Né au bord du fleuve.");
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.labAptitudes->setText(QStringLiteral("1"));
    setTag(dlg.btnTalents, QStringLiteral("23"));   // degree 2 rolled, flaw of type 2
    // Three refusals and a yes; then the flaw at once.
    Dice::setRolls({1, 15, 99, 100, 41});
    ui->answerMsgBox(ports::No, QStringLiteral("Night Vision"))
        .answerMsgBox(ports::No, QStringLiteral("Iron Stomach"))
        .answerMsgBox(ports::No, QStringLiteral("Tireless"))
        .answerMsgBox(ports::Yes, QStringLiteral("Vous avec aquis l'aptitude Natural Leader."))
        .answerMsgBox(ports::Yes, QStringLiteral("Vous avec aquis le défault Frail."));
    dlg.btnOk_Click();
    const auto boxes = ui->callsOf(Kind::MsgBox);
    ASSERT_EQ(boxes.size(), 5u);
    EXPECT_EQ(boxes[0].title, Strings::Load(3542));
    EXPECT_EQ(boxes[4].title, Strings::Load(3543));
    EXPECT_EQ(p.Historique.toString(),
              QStringLiteral("Né au bord du fleuve.\r\nAptitude: Natural Leader\r\n+10 to Leadership.\r\n"
                             "Défaut: Frail\r\n-10 to Hit Points."));
    EXPECT_EQ(categorySpecial(p, 48), 10);   // the talent's bonus
    EXPECT_EQ(skillSpecial(p, 23), -10);     // the flaw's
    EXPECT_EQ(dlg.labAptitudes->text(), QStringLiteral("0"));
    EXPECT_TRUE(tag(dlg.btnTalents).isEmpty());
    EXPECT_EQ(p.PointsBO, 2);
}

TEST_F(BackgroundTest, RolledTalentOnAnEmptyHistoryStartsWithALineBreak)
{
    Personnage &p = character(1);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.labAptitudes->setText(QStringLiteral("1"));
    setTag(dlg.btnTalents, QStringLiteral("12"));   // degree 1, no flaw
    Dice::setRolls({16});
    ui->answerMsgBox(ports::Yes, QStringLiteral("Light Sleeper")).answerMsgBox(ports::Ok, Strings::Load(5030));
    dlg.btnOk_Click();
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("\r\nAptitude: Light Sleeper\r\n"));
    ASSERT_EQ(stages.size(), 1u);   // every point spent
}

TEST_F(BackgroundTest, EnglishDataWordsTheConfirmationsAndTheFirstDegreeTakesFlawsOfTypeZero)
{
    ModGeneral::DataLanguage = 1000;
    Personnage &p = character(2);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.labAptitudes->setText(QStringLiteral("1"));
    setTag(dlg.btnTalents, QStringLiteral("11"));   // degree 1 rolled, flaw of the type below
    Dice::setRolls({16, 41});
    ui->answerMsgBox(ports::Yes, QStringLiteral("Light Sleeper")).answerMsgBox(ports::Yes, QStringLiteral("Stutter"));
    dlg.btnOk_Click();
    const auto boxes = ui->callsOf(Kind::MsgBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Vous avez aquis l'aptitude Light Sleeper.\nConfirmer vous ce choix ?"));
    EXPECT_EQ(boxes[1].text, QStringLiteral("Vous avez aquis le défault Stutter.\nConfirmer vous ce choix ?"));
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("\r\nAptitude: Light Sleeper\r\n\r\nDéfaut: Stutter\r\n-5 to Oratory."));
    EXPECT_EQ(p.PointsBO, 1);
    EXPECT_TRUE(stages.empty());
}

TEST_F(BackgroundTest, CancelledTalentChoiceGivesThePriceBackAndSkipsTheFlaw)
{
    Personnage &p = character(4);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    setTag(dlg.labAptitudes, QStringLiteral("9"));   // an id left from an earlier pass
    dlg.labAptitudes->setText(QStringLiteral("3"));
    setTag(dlg.btnTalents, QStringLiteral("24"));   // degree 2 chosen, flaw of type 1
    dlg.chkBackground[1]->setChecked(true);
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *talents = qobject_cast<frmTalents *>(w);
        ASSERT_NE(talents, nullptr);
        EXPECT_EQ(talents->grdTalent->rowCount(), 8);
        talents->btnCancel->click();
    });
    dlg.btnOk_Click();
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_EQ(p.PointsBO, 3);   // 4 - (1 + 3) + 3
    EXPECT_EQ(dlg.labOptionPoint->text(), QStringLiteral("3"));
    EXPECT_EQ(ui->count(Kind::MsgBox), 0);   // no flaw was rolled
    EXPECT_TRUE(p.Historique.toString().isEmpty());
    EXPECT_EQ(statRolls, std::vector<int>{1});   // the rest of the purchase went on
    EXPECT_EQ(dlg.labAptitudes->text(), QStringLiteral("0"));
}

TEST_F(BackgroundTest, ChosenTalentIsAppliedWithItsRolledFlaw)
{
    Personnage &p = character(3);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.labAptitudes->setText(QStringLiteral("2"));
    setTag(dlg.btnTalents, QStringLiteral("14"));   // degree 1 chosen, flaw of type 0
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *talents = qobject_cast<frmTalents *>(w);
        ASSERT_NE(talents, nullptr);
        talents->grdTalent->setCurrentCell(4, 1);   // Strong Back
        talents->btnOk->click();
    });
    Dice::setRolls({20});
    ui->answerMsgBox(ports::Yes, QStringLiteral("Bad Breath"));
    dlg.btnOk_Click();
    EXPECT_EQ(p.Historique.toString(),
              QStringLiteral("Aptitude: Strong Back, +10 to Feats of Strength.\r\nDéfaut: Bad Breath\r\n-5 to Seduction."));
    EXPECT_EQ(categorySpecial(p, 1), 10);
    EXPECT_EQ(p.PointsBO, 1);
}

TEST_F(BackgroundTest, APurchaseTheRulesCannotServeIsRefusedBeforeAnyPointIsSpent)
{
    Personnage &p = character(3);
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.chkBackground[1]->setChecked(true);
    dlg.labAptitudes->setText(QStringLiteral("1"));   // a price without a choice code
    ui->expectError(QStringLiteral("frmBackground.btnOk.click"));
    dlg.btnOk_Click();
    EXPECT_EQ(p.PointsBO, 3);
    EXPECT_TRUE(statRolls.empty());
    EXPECT_TRUE(dlg.chkBackground[1]->isChecked());
}

TEST_F(BackgroundTest, AFailureAfterSpendingForgetsThePurchase)
{
    Personnage &p = character(3);
    p.Race_ID = 99;   // no race row: the hobby ranks cannot be read
    frmBackground dlg;
    setTag(&dlg, QStringLiteral("1"));
    dlg.LoadData();
    dlg.chkBackground2[2]->setChecked(true);
    dlg.btnSelectSkill_Click();
    ui->answerMsgBox(ports::Ok, Strings::Load(5047));
    ui->expectError(QStringLiteral("frmBackground.btnOk.click"));
    dlg.btnOk_Click();
    EXPECT_EQ(p.PointsBO, 0);
    EXPECT_EQ(p.Money, 2000000);
    // A second OK must not buy the money again.
    EXPECT_FALSE(dlg.chkBackground[2]->isChecked());
    EXPECT_EQ(dlg.labSpecialBonus->text(), QStringLiteral("0"));
    EXPECT_EQ(dlg.Price(), 0);
}
