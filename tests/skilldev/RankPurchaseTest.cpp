// The two detail panels and the purchase of ranks through their boxes.
#include "SkillDevFixture.h"

#include "character/Players.h"
#include "character/StoredFileSupport.h"
using ModGeneral::Players;

namespace {

class RankPurchaseTest : public SkillDevFixture {
protected:
    qint32 developed(qint32 kind, qint32 id, qint32 sub = 0)
    {
        return player().DirRankDevelopment(kind, id, sub, 0).toInt();
    }
    void setPoints(int n) { window->labPD->setText(QString::number(n)); }
};

TEST_F(RankPurchaseTest, CategoryPanelShowsStatisticsCostAndBonuses)
{
    adolescence();
    frmSkillDev *w = open();
    show(QStringLiteral("SC11"));
    EXPECT_EQ(w->labSkillCat->text(), QStringLiteral("Influence"));
    EXPECT_EQ(tag(w->labSkillCat), QStringLiteral("SC11"));
    EXPECT_EQ(w->labStatSkillCat->text(), QStringLiteral("Pr/Em/Rs"));
    EXPECT_EQ(w->DevCostSkillCat->text(), QStringLiteral("3/7"));
    EXPECT_TRUE(w->chkSkillCategory[0]->isEnabled());
    EXPECT_TRUE(w->chkSkillCategory[1]->isEnabled());
    EXPECT_FALSE(w->chkSkillCategory[2]->isEnabled());
    EXPECT_EQ(tag(w->chkSkill[1]), QStringLiteral("7"));
    // Pr 3, EM 2 and Re 0; two ranks 4, no profession or special bonus.
    EXPECT_EQ(w->labBonusSkillCat[1]->text(), QStringLiteral("5"));
    EXPECT_EQ(w->labBonusSkillCat[4]->text(), QStringLiteral("9"));
    EXPECT_EQ(w->labBonusSkill[1]->text(), QStringLiteral("9"));
    EXPECT_TRUE(w->fraSkill->isVisible() || w->labSkill->isHidden());

    // A category the character holds nothing in: rank 0 and the first value of its progression.
    show(QStringLiteral("SC17"));
    EXPECT_EQ(w->labRankSkillCat->text(), QStringLiteral("0"));
    EXPECT_EQ(w->labBonusSkillCat[0]->text(), QStringLiteral("-10"));

    // The realm's statistics for the power reserves, the race's body progression under vigour.
    show(QStringLiteral("SC28"));
    EXPECT_EQ(w->labStatSkillCat->text(), QStringLiteral("In/In/In"));
    EXPECT_TRUE(w->labNewRanksSkillCat->isHidden());
    show(QStringLiteral("SC12"));
    EXPECT_EQ(w->labProgressionSkillCat->text(), QStringLiteral("0•0•0•0•0"));
    EXPECT_EQ(w->labProgressionSkill->text(), QStringLiteral("0•5•3•2•1"));
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

TEST_F(RankPurchaseTest, CostTextsEnableOneBoxPerPart)
{
    frmSkillDev *w = open();
    struct Case {
        const char *cost;
        int enabled;
    };
    for (const Case &c : {Case{"4", 1}, Case{"3/7", 2}, Case{"2/2/2", 3}, Case{"", 0}, Case{"1/2/3/4", 3}}) {
        w->DevCostSkillCat->setText(QLatin1String(c.cost));
        w->DevCostSkillCat_Change();
        for (int k = 0; k < 3; ++k) {
            EXPECT_EQ(w->chkSkillCategory[k]->isEnabled(), k < c.enabled) << c.cost << " box " << k;
            EXPECT_EQ(w->chkSkill[k]->isEnabled(), k < c.enabled) << c.cost << " box " << k;
            EXPECT_FALSE(w->chkSkill[k]->isChecked());
        }
    }
    EXPECT_EQ(tag(w->chkSkill[2]), QStringLiteral("3"));
}

TEST_F(RankPurchaseTest, WeaponCategoriesArePricedByTheirPlaceInTheOrder)
{
    Personnage &p = player();
    const qint16 order[] = {52, 53, 49, 50, 51, 54, 55};
    for (qint16 k = 0; k <= 6; ++k)
        p.AddCategorieWeapon(k, order[k]);
    frmSkillDev *w = open();
    show(QStringLiteral("SC49"));
    EXPECT_EQ(w->DevCostSkillCat->text(), QStringLiteral("4"));   // the price of the third place
    // Without an order, and for a profession without prices, the boxes stay off.
    for (qint16 k = 0; k <= 6; ++k)
        p.AddCategorieWeapon(k, 0);
    show(QStringLiteral("SC49"));
    EXPECT_EQ(w->DevCostSkillCat->text(), QString());
    p.Profession_ID = 99;
    w->LoadData();
    show(QStringLiteral("SC11"));
    EXPECT_FALSE(w->chkSkillCategory[0]->isEnabled());
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

TEST_F(RankPurchaseTest, SkillPanelShowsHeldAndUnheldEntries)
{
    adolescence();
    frmSkillDev *w = open();
    show(QStringLiteral("SK0/81"));
    EXPECT_EQ(w->labSkillCat->text(), QStringLiteral("Influence"));
    EXPECT_EQ(w->labSkill->text(), QStringLiteral("Marchandage"));
    EXPECT_EQ(w->labFacteur->text(), QStringLiteral("Document vert"));
    EXPECT_EQ(w->labRankSkill->text(), QStringLiteral("2"));
    EXPECT_EQ(w->labBonusSkill[0]->text(), QStringLiteral("8"));   // 2 ranks of -20•4•2•1•½
    EXPECT_TRUE(w->btnSubSkill->isHidden());

    show(QStringLiteral("SK0/1"));
    EXPECT_EQ(w->labRankSkill->text(), QStringLiteral("0"));
    EXPECT_EQ(w->labBonusSkill[0]->text(), QStringLiteral("-20"));
    // Its category counts ST, CO, ST: 6 + 2 + 6, and -10 for no rank.
    EXPECT_EQ(w->labBonusSkill[1]->text(), QStringLiteral("4"));
    EXPECT_EQ(w->labBonusSkill[4]->text(), QStringLiteral("-16"));

    // A language shows the category of its grandparent; a subdivided skill its button.
    show(QStringLiteral("SL1/32"));
    EXPECT_EQ(w->labSkillCat->text(), QStringLiteral("Langues"));
    EXPECT_EQ(w->labRankSkill->text(), QStringLiteral("5"));   // the culture's spoken ranks
    show(QStringLiteral("SK0/48"));
    EXPECT_FALSE(w->btnSubSkill->isHidden());

    // A power reserve: the race's progression, no category boxes.
    show(QStringLiteral("SK0/271"));
    EXPECT_EQ(w->labProgressionSkill->text(), QStringLiteral("0•3•2•1•1"));
    EXPECT_TRUE(w->labNewRanksSkillCat->isHidden());
    EXPECT_TRUE(w->chkSkillCategory[0]->isHidden());
}

TEST_F(RankPurchaseTest, DevelopmentPointsPayForRanksAndComeBack)
{
    frmSkillDev *w = open();
    show(QStringLiteral("SC24"));   // cost 2/5
    setPoints(4);
    click(w->chkSkillCategory[0]);
    EXPECT_EQ(pd(), 2);
    ui->answerMsgBox(ports::Ok, QStringLiteral("suffisamment"));
    click(w->chkSkillCategory[1]);
    EXPECT_FALSE(w->chkSkillCategory[1]->isChecked());
    EXPECT_EQ(pd(), 2);
    EXPECT_EQ(developed(1, 24), 1);

    setPoints(5);   // exactly the rank's cost
    click(w->chkSkillCategory[1]);
    EXPECT_EQ(pd(), 0);
    EXPECT_EQ(developed(1, 24), 2);
    EXPECT_EQ(player().PdeD, 0);

    // Given back from the last; the row stays with fewer ranks.
    click(w->chkSkillCategory[1]);
    click(w->chkSkillCategory[0]);
    EXPECT_EQ(pd(), 7);
    EXPECT_EQ(developed(1, 24), 0);

    // Coming back to the category shows the ranks of the stage.
    click(w->chkSkillCategory[0]);
    click(w->chkSkillCategory[1]);
    show(QStringLiteral("SC11"));
    show(QStringLiteral("SC24"));
    EXPECT_TRUE(w->chkSkillCategory[0]->isChecked());
    EXPECT_TRUE(w->chkSkillCategory[1]->isChecked());
    EXPECT_FALSE(w->chkSkillCategory[2]->isChecked());
}

TEST_F(RankPurchaseTest, RanksAreTakenInOrder)
{
    frmSkillDev *w = open();
    show(QStringLiteral("SC14"));
    show(QStringLiteral("SL3/32"));   // cost 2/2/2
    setPoints(20);
    ui->answerMsgBox(ports::Ok, QStringLiteral("ordre"));
    click(w->chkSkill[1]);
    EXPECT_FALSE(w->chkSkill[1]->isChecked());
    EXPECT_EQ(pd(), 20);
    EXPECT_EQ(developed(4, 32, 3), 0);
    click(w->chkSkill[0]);
    click(w->chkSkill[1]);
    ui->answerMsgBox(ports::Ok, QStringLiteral("ordre"));
    click(w->chkSkill[0]);
    EXPECT_TRUE(w->chkSkill[0]->isChecked());
    EXPECT_EQ(pd(), 16);
    EXPECT_EQ(developed(4, 32, 3), 2);
    // A language gets no table row, but the record follows the counter.
    EXPECT_EQ(w->SkillRowCount, 0);
    EXPECT_EQ(player().PdeD, 16);
}

TEST_F(RankPurchaseTest, SkillPurchasesAreListedAndRestrictedSkillsWarn)
{
    adolescence();
    frmSkillDev *w = open();
    setPoints(30);
    const int rows = w->SkillRowCount;
    show(QStringLiteral("SK0/81"));
    click(w->chkSkill[0]);
    EXPECT_EQ(w->SkillRowCount, rows);   // already held: its row is updated
    bool updated = false;
    for (int r = 0; r < w->grdSkill->rowCount(); ++r)
        updated = updated || (w->grdSkill->item(r, 0)->text() == QStringLiteral("Marchandage") && w->grdSkill->item(r, 2)->text() == "1");
    EXPECT_TRUE(updated);

    show(QStringLiteral("SK0/104"));   // restricted
    ui->answerMsgBox(ports::Ok, QStringLiteral("restreinte"));
    click(w->chkSkill[0]);
    const auto boxes = ui->callsOf(ScriptedPorts::Kind::MsgBox);
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().title, QStringLiteral("Restreinte"));
    EXPECT_EQ(boxes.back().style, ports::OkOnly | ports::Information);
    EXPECT_EQ(w->SkillRowCount, rows + 1);
    EXPECT_EQ(w->SkillTable[w->SkillRowCount][1], QStringLiteral("Monte exotique"));
    EXPECT_EQ(w->SkillTable[w->SkillRowCount][2], QStringLiteral("0"));
    EXPECT_EQ(w->SkillTable[w->SkillRowCount][3], QStringLiteral("1"));
    const int before = messages();
    click(w->chkSkill[1]);   // only the first rank warns
    EXPECT_EQ(messages(), before);

    // A refused purchase adds no row.
    setPoints(0);
    show(QStringLiteral("SK0/1"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("suffisamment"));
    click(w->chkSkill[0]);
    EXPECT_EQ(w->SkillRowCount, rows + 1);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

TEST_F(RankPurchaseTest, FreeRanksCostOneBelowForty)
{
    adolescence();
    frmSkillDev *w = open(QString(), QStringLiteral("Ranks"), QStringLiteral("Hobby Ranks"));
    setPoints(2);
    show(QStringLiteral("SK0/129"));   // cost 3/7
    click(w->chkSkill[0]);
    click(w->chkSkill[1]);
    EXPECT_EQ(pd(), 0);
    EXPECT_EQ(developed(2, 129), 2);
    ui->answerMsgBox(ports::Ok, QStringLiteral("suffisamment"));
    show(QStringLiteral("SC20"));
    click(w->chkSkillCategory[0]);
    EXPECT_FALSE(w->chkSkillCategory[0]->isChecked());

    setPoints(5);
    w->DevCostSkillCat->setText(QStringLiteral("40"));
    w->DevCostSkillCat_Change();
    ui->answerMsgBox(ports::Ok, QStringLiteral("40"));
    click(w->chkSkillCategory[0]);
    EXPECT_FALSE(w->chkSkillCategory[0]->isChecked());
    EXPECT_EQ(ui->callsOf(ScriptedPorts::Kind::MsgBox).back().title, QStringLiteral("Rangs passe-temps"));
    EXPECT_EQ(pd(), 5);
}

TEST_F(RankPurchaseTest, SubSkillsAreAddedUnderTheShownSkill)
{
    frmSkillDev *w = open();
    show(QStringLiteral("SK0/48"));
    ui->answerInput(QString());
    w->btnSubSkill_Click();
    EXPECT_EQ(childKeys(QStringLiteral("SK0/48")).size(), 0);
    EXPECT_EQ(player().DirSubSkills(5, 1), QStringLiteral("0"));

    ui->answerInput(QStringLiteral("Forge"), QStringLiteral("sous-compétence"));
    w->btnSubSkill_Click();
    ASSERT_EQ(childKeys(QStringLiteral("SK0/48")), QStringList{QStringLiteral("SS1/48")});
    EXPECT_EQ(player().DirSubSkills(5, 1), QStringLiteral("Forge"));
    EXPECT_EQ(player().DirSubSkills(0, 1), QStringLiteral("48"));

    // Bought like any skill, and listed under its name and its skill's.
    setPoints(10);
    show(QStringLiteral("SS1/48"));
    click(w->chkSkill[0]);
    EXPECT_EQ(developed(3, 48, 1), 1);
    ASSERT_EQ(w->SkillRowCount, 1);
    EXPECT_EQ(w->SkillTable[1][1], QStringLiteral("Forge (Métier (au choix))"));

    // The button does nothing for a skill that takes no sub-skills.
    show(QStringLiteral("SK0/1"));
    w->btnSubSkill_Click();
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::InputBox), 2);
}

// A sub-skill added to a character opened from a file never keeps it from
// being saved: it takes a number its skill has free, and one past what a file
// keeps is refused before the player types a name. The character saves and
// opens again after each.
TEST_F(RankPurchaseTest, SubSkillAddedToAnOpenedCharacterKeepsItSavable)
{
    const QString file = tempPath(QStringLiteral("sous.pja"));
    const auto reopen = [&] {
        player() = Personnage();
        player().FileName = file;
        ASSERT_TRUE(player().LoadP());
    };
    const auto saveAndOpen = [&] {
        player().FileName = file;
        ASSERT_TRUE(player().SaveP());
        reopen();
    };
    player().AddSubSkills(48, QStringLiteral("Forge"), 0);
    player().AddSubSkills(48, QStringLiteral("Tissage"), 0);
    saveAndOpen();
    filetest::alter(file, "UPDATE SubSkills SET SubSkill_ID = '3' WHERE Name = 'Tissage'");
    reopen();
    frmSkillDev *w = open();
    show(QStringLiteral("SK0/48"));
    ui->answerInput(QStringLiteral("Vannerie"));
    w->btnSubSkill_Click();
    EXPECT_EQ(childKeys(QStringLiteral("SK0/48")),
              (QStringList{QStringLiteral("SS1/48"), QStringLiteral("SS3/48"), QStringLiteral("SS4/48")}));
    saveAndOpen();
    EXPECT_EQ(player().RankRow(RankKind::SubSkill, 48, 4), 3);
    EXPECT_EQ(player().DirSubSkills(5, 3), QStringLiteral("Vannerie"));

    // Rows up to one short of the cap, of a skill the rules do not list so
    // that the tree stays small; the last one the file can keep goes in.
    filetest::alter(file, "WITH RECURSIVE k(i) AS (SELECT 4 UNION ALL SELECT i + 1 FROM k WHERE i < 32766)"
                          " INSERT INTO SubSkills (Skill_ID, Rank, Item, Special, SubSkill_ID, Name)"
                          " SELECT '9999', '0', '0', '0', i, 'n' || i FROM k");
    reopen();
    w = open();
    show(QStringLiteral("SK0/48"));
    ui->answerInput(QStringLiteral("Poterie"));
    w->btnSubSkill_Click();
    ui->answerMsgBox(ports::Ok, QStringLiteral("déjà 32767 sous-compétences"));
    w->btnSubSkill_Click();
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::InputBox), 2);
    EXPECT_EQ(childKeys(QStringLiteral("SK0/48")).size(), 4);
    saveAndOpen();
    EXPECT_EQ(player().RankRow(RankKind::SubSkill, 48, 32767), 32767);
    EXPECT_EQ(player().DirSubSkills(5, 32767), QStringLiteral("Poterie"));
    EXPECT_EQ(player().DirSubSkills(0, 32768), QStringLiteral("0"));
}

} // namespace
