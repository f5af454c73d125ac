// The skill tree of the skill development window on the built rules data:
// what each stage shows, keys, colours, known marks and the held-skill table.
#include "SkillDevFixture.h"

#include "character/Players.h"
using ModGeneral::Players;

namespace {

class SkillTreeTest : public SkillDevFixture {};

TEST_F(SkillTreeTest, FillShowsCaptionPointsLegendAndCanBeRepeated)
{
    frmSkillDev *w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Brune (Compétences)"));
    // A character without experience is given its development points.
    EXPECT_EQ(w->labPD->text(), QString::number(player().PdeD));
    EXPECT_GT(pd(), 0);
    EXPECT_EQ(w->trvIndex->topLevelItemCount(), 3);
    EXPECT_EQ(w->trvIndex2->topLevelItemCount(), 2);
    EXPECT_EQ(w->trvIndex->topLevelItem(0)->text(0), QStringLiteral("Professionnel"));
    EXPECT_EQ(w->trvIndex2->topLevelItem(1)->text(0), QStringLiteral("Sous-Compétence"));

    // A second fill gives the same window, not a doubled one.
    const int nodes = w->NodeCount();
    w->LoadData();
    EXPECT_EQ(w->NodeCount(), nodes);
    EXPECT_EQ(w->trvIndex->topLevelItemCount(), 3);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
    // The progress window was shown and closed again.
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ProgressShow), ui->count(ScriptedPorts::Kind::ProgressClose));

    // With experience the counter keeps what it held.
    player().Experience = 20000;
    w->labPD->setText(QStringLiteral("7"));
    w->LoadData();
    EXPECT_EQ(w->labPD->text(), QStringLiteral("7"));
}

TEST_F(SkillTreeTest, KeysDecodeAndBadKeysAreReported)
{
    frmSkillDev *w = open();
    EXPECT_EQ(w->DirSkill_ID(QStringLiteral("SW12/34")), 34);
    EXPECT_EQ(w->DirSubSkill_ID(QStringLiteral("SW12/34")), 12);
    EXPECT_EQ(w->DirSkill_ID(QStringLiteral("SK0/105")), 105);
    EXPECT_EQ(w->DirSubSkill_ID(QStringLiteral("SK0/105")), 0);
    EXPECT_EQ(w->DirSkill_ID(QStringLiteral("SP3/270")), 270);
    EXPECT_EQ(w->DirSubSkill_ID(QStringLiteral("SS12/88")), 12);

    ui->answerMsgBox(ports::Ok, QStringLiteral("???"));
    EXPECT_EQ(w->DirSubSkill_ID(QString()), 0);
    ui->expectError(QStringLiteral("Brune (Compétences).DirSkill_ID"), 13);
    EXPECT_EQ(w->DirSkill_ID(QStringLiteral("SC12")), 0);
    ui->expectError(QStringLiteral("Brune (Compétences).DirSubSkill_ID"));
    EXPECT_EQ(w->DirSubSkill_ID(QStringLiteral("SC12")), 0);
}

TEST_F(SkillTreeTest, ColourComesOffAndKnownLeavesBecomeDocuments)
{
    adolescence();
    frmSkillDev *w = open();
    w->CurrentNode = node(QStringLiteral("SK0/1"));
    w->SetNodeImage(w->CurrentNode, QStringLiteral("Feuille gris"));
    w->DelColor();
    EXPECT_EQ(frmSkillDev::NodeImage(w->CurrentNode), QStringLiteral("Feuille"));
    w->DelColor();
    EXPECT_EQ(frmSkillDev::NodeImage(w->CurrentNode), QStringLiteral("Feuille"));

    // Held skills: a leaf becomes a document, a skill with sub-skills stays a rune.
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SK0/40"))), QStringLiteral("Document"));
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SK0/48"))), QStringLiteral("Rune"));
    // Culture special skill 1 keeps its colour on the document.
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SK0/81"))), QStringLiteral("Document vert"));
    // Restricted, and restricted again by the culture.
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SK0/104"))), QStringLiteral("Feuille rouge"));
    // Culture grey on a held skill.
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SK0/129"))), QStringLiteral("Document gris"));
    // A skill that takes sub-skills, not held.
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SK0/182"))), QStringLiteral("Rune"));

    // A weapon held with rank 0 is listed but stays a leaf.
    Personnage &p = player();
    p.AddSkill(Personnage::fId, 1, RankKind::WeaponSkill, 226);
    p.AddSkill(Personnage::fKey, 1, RankKind::WeaponSkill, 3);
    w->LoadData();
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SW3/226"))), QStringLiteral("Feuille"));
    bool listed = false;
    for (int r = 1; r <= w->SkillRowCount; ++r)
        listed = listed || (w->SkillTable[r][1] == QStringLiteral("Marteau de guerre") && w->SkillTable[r][2] == "0");
    EXPECT_TRUE(listed);
}

TEST_F(SkillTreeTest, LanguageStageShowsOnlyTheCultureLanguages)
{
    adolescence();
    frmSkillDev *w = open(QStringLiteral("Langue"));
    EXPECT_EQ(topKeys(), QStringList{QStringLiteral("SC14")});
    // The category stands open as opening it by hand leaves it: its two
    // skills by name ("Langue écrite" first), both open on their languages.
    EXPECT_EQ(childKeys(QStringLiteral("SC14")), (QStringList{QStringLiteral("SK0/33"), QStringLiteral("SK0/32")}));
    EXPECT_TRUE(node(QStringLiteral("SC14"))->isExpanded());
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SC14"))), QStringLiteral("Fichier ouvert"));
    EXPECT_TRUE(node(QStringLiteral("SK0/32"))->isExpanded());
    EXPECT_TRUE(node(QStringLiteral("SK0/33"))->isExpanded());
    EXPECT_EQ(w->Node(1), node(QStringLiteral("SC14")));
    EXPECT_EQ(childKeys(QStringLiteral("SK0/32")),
              (QStringList{QStringLiteral("SL1/32"), QStringLiteral("SL2/32"), QStringLiteral("SL11/32")}));
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SL1/32"))), QStringLiteral("Document gris"));
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Brune (Compétence linguistique)"));
    for (QCheckBox *box : w->chkSkillCategory)
        EXPECT_TRUE(box->isHidden());
    // The grid is not filled in a language stage.
    EXPECT_EQ(w->grdSkill->rowCount(), 0);
}

TEST_F(SkillTreeTest, LevelStageListsWeaponsSpellListsAndEveryLanguage)
{
    frmSkillDev *w = open();
    QStringList bludgeons;
    for (int i = 1; i <= 6; ++i)
        bludgeons << QStringLiteral("SW%1/226").arg(i);
    QStringList shown = childKeys(QStringLiteral("SC49"));
    shown.sort();
    bludgeons.sort();
    EXPECT_EQ(shown, bludgeons);
    EXPECT_EQ(frmSkillDev::NodeTag(node(QStringLiteral("SW1/226"))), QStringLiteral("Weapons"));
    // A culture weapon of a skill the profession makes everyman: blue.
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SW22/229"))), QStringLiteral("Feuille bleu"));
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SW7/227"))), QStringLiteral("Feuille gris"));
    // A weapon of a restricted skill: red.
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SW25/230"))), QStringLiteral("Feuille rouge"));

    // Open lists of the own realm (2) under their fixed skill number.
    QStringList open = childKeys(QStringLiteral("SC39"));
    open.sort();
    EXPECT_EQ(open, (QStringList{QStringLiteral("SP10/166"), QStringLiteral("SP7/166"), QStringLiteral("SP8/166"),
                                 QStringLiteral("SP9/166")}));
    EXPECT_EQ(frmSkillDev::NodeTag(node(QStringLiteral("SP7/166"))), QStringLiteral("Spells"));
    EXPECT_EQ(childKeys(QStringLiteral("SC34")).size(), 6);
    EXPECT_TRUE(childKeys(QStringLiteral("SC38")).contains(QStringLiteral("SP19/165")));
    // Every language under both language skills, the culture's in grey.
    EXPECT_EQ(childKeys(QStringLiteral("SK0/33")).size(), 15);
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SL11/33"))), QStringLiteral("Feuille gris"));
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SL3/33"))), QStringLiteral("Feuille"));
    // Categories in name order.
    EXPECT_EQ(topKeys().first(), QStringLiteral("SC3"));   // Acrobaties
}

TEST_F(SkillTreeTest, SpecialListingsWithoutAColourLeaveWeaponsGreyButSkillsPlain)
{
    // Skill 227 (culture weapons 7 and 8) listed by the culture as kind 4 and
    // by the profession for its bonus only; skill 129 (culture grey) listed by
    // the profession for its bonus only.
    changeRules("INSERT INTO [Special Skills Culture] (Culture_ID, SpecialSkill_ID, Skill_ID) VALUES (1, 4, 227);"
                "INSERT INTO [Special Skills Profession & Bonus] (Profession_ID, Skill_ID, Skill_Category_ID, "
                "SpecialSkill_ID, Bonus) VALUES (11, 227, 0, 0, 5), (11, 129, 0, 0, 5);");
    open();
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SW7/227"))), QStringLiteral("Feuille gris"));
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SW9/227"))), QStringLiteral("Feuille"));
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SK0/129"))), QStringLiteral("Feuille"));
    // So in a free-rank stage the culture's weapons of that skill stay.
    open(QString(), QStringLiteral("Ranks"), QStringLiteral("Hobby Ranks"));
    EXPECT_NE(node(QStringLiteral("SW7/227")), nullptr);
    EXPECT_NE(node(QStringLiteral("SW8/227")), nullptr);
    EXPECT_EQ(node(QStringLiteral("SW9/227")), nullptr);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

TEST_F(SkillTreeTest, CharacterWithoutARealmStillGetsItsTree)
{
    player().Royaume_ID = 0;
    player().Profession_ID = 10;
    open();
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
    for (const char *k : {"SC35", "SC36", "SC37", "SC38", "SC39", "SC40"})
        EXPECT_EQ(node(QLatin1String(k)), nullptr) << k;
    EXPECT_NE(node(QStringLiteral("SC34")), nullptr);
    EXPECT_GT(topKeys().size(), 40);
}

TEST_F(SkillTreeTest, HobbyStageKeepsCultureSkillsWeaponsAndLanguages)
{
    adolescence();
    open(QString(), QStringLiteral("Ranks"), QStringLiteral("Hobby Ranks"));
    EXPECT_NE(node(QStringLiteral("SK0/129")), nullptr);   // culture grey
    EXPECT_EQ(node(QStringLiteral("SK0/81")), nullptr);    // culture green
    EXPECT_EQ(node(QStringLiteral("SK0/138")), nullptr);   // profession only
    EXPECT_NE(node(QStringLiteral("SK0/32")), nullptr);
    EXPECT_EQ(childKeys(QStringLiteral("SK0/32")).size(), 3);
    // Culture weapons stay; the profession's colour comes after the filter.
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SW22/229"))), QStringLiteral("Feuille bleu"));
    EXPECT_NE(node(QStringLiteral("SW7/227")), nullptr);
    EXPECT_EQ(node(QStringLiteral("SW9/227")), nullptr);
    // A weapon of a restricted skill is not the culture's.
    EXPECT_EQ(node(QStringLiteral("SW25/230")), nullptr);
    // Categories left without a node go; no spell list without a grey culture skill.
    EXPECT_EQ(node(QStringLiteral("SC49")), nullptr);
    EXPECT_EQ(node(QStringLiteral("SC39")), nullptr);
    EXPECT_EQ(node(QStringLiteral("SC1")), nullptr);
    // Every table row names the node it stands for.
    for (int r = 1; r <= window->SkillRowCount; ++r) {
        QTreeWidgetItem *n = window->Node(window->SkillTable[r][0].toInt());
        ASSERT_NE(n, nullptr);
        EXPECT_TRUE(window->SkillTable[r][1].startsWith(n->text(0))) << r;
    }
}

TEST_F(SkillTreeTest, HeldSkillsFillTheGridMostRanksFirst)
{
    adolescence();
    Personnage &p = player();
    const qint32 sub = p.AddSubSkills(176, QStringLiteral("Luth"), 4);
    p.AddSubSkills(176, QStringLiteral("Flûte"), 0);
    frmSkillDev *w = open();
    ASSERT_GT(sub, 0);
    EXPECT_EQ(childKeys(QStringLiteral("SK0/176")).size(), 2);
    EXPECT_EQ(frmSkillDev::NodeImage(node(QStringLiteral("SS%1/176").arg(sub))), QStringLiteral("Document"));
    ASSERT_EQ(w->grdSkill->rowCount(), w->SkillRowCount);
    int previous = 1000;
    QStringList names;
    for (int r = 0; r < w->grdSkill->rowCount(); ++r) {
        const int ranks = w->grdSkill->item(r, 1)->text().toInt();
        EXPECT_LE(ranks, previous);
        previous = ranks;
        names << w->grdSkill->item(r, 0)->text();
    }
    EXPECT_TRUE(names.contains(QStringLiteral("Luth (Instrument (au choix))")));
    EXPECT_TRUE(names.contains(QStringLiteral("Flûte (Instrument (au choix))")));
    EXPECT_EQ(w->grdSkill->item(0, 1)->text(), QStringLiteral("4"));
}

TEST_F(SkillTreeTest, AsManySubSkillsAsAFileHoldsLoadWhole)
{
    // 32,767 crafts with 1 to 20 ranks (row r: 1 + r % 20) and one weapon
    // held with rank 0: 32,768 rows, one past what 16 bits count.
    Personnage &p = player();
    samples::subSkills(p, 48, 32767);
    p.AddSkill(Personnage::fId, 1, RankKind::WeaponSkill, 226);
    p.AddSkill(Personnage::fKey, 1, RankKind::WeaponSkill, 3);
    frmSkillDev *w = open();
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
    EXPECT_EQ(childKeys(QStringLiteral("SK0/48")).size(), 32767);
    EXPECT_EQ(w->SkillRowCount, 32768);
    ASSERT_EQ(w->grdSkill->rowCount(), 32768);
    EXPECT_EQ(w->grdSkill->item(0, 1)->text(), QStringLiteral("20"));
    EXPECT_EQ(w->grdSkill->item(32767, 0)->text(), QStringLiteral("Marteau de guerre"));
    // The last craft shows its own ranks (32,767 = 20 x 1,638 + 7).
    show(QStringLiteral("SS32767/48"));
    EXPECT_EQ(w->labSkill->text(), QStringLiteral("Métier n°32767"));
    EXPECT_EQ(w->labRankSkill->text(), QStringLiteral("8"));
}

TEST_F(SkillTreeTest, SortPutsMostRanksFirstAndIgnoresEmptyTables)
{
    frmSkillDev *w = open();
    const char *ranks[] = {"3", "10", "0", "10"};
    w->SkillTable.assign(5, {});
    for (int r = 1; r <= 4; ++r)
        w->SkillTable[r] = {QString::number(r), QStringLiteral("s%1").arg(r), QLatin1String(ranks[r - 1]), "0"};
    w->TriTableauSkill(1, 4);
    QStringList order;
    for (int r = 1; r <= 4; ++r)
        order << w->SkillTable[r][2];
    EXPECT_EQ(order, (QStringList{"10", "10", "3", "0"}));
    // An empty range does nothing, nor does a table whose first row is empty.
    w->TriTableauSkill(3, 2);
    w->SkillTable[1][0].clear();
    w->SkillTable[1][2] = QStringLiteral("0");
    w->TriTableauSkill(1, 4);
    EXPECT_EQ(w->SkillTable[1][2], QStringLiteral("0"));
}

} // namespace
