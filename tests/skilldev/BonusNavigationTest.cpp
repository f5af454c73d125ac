// Typing bonuses into the panels' boxes, and moving between the tree and the grid.
#include "SkillDevFixture.h"

#include "character/Players.h"
#include "mainwindow/frmMain.h"

#include <QFocusEvent>
#include <QSignalBlocker>
#include <QTest>

using ModGeneral::Players;

namespace {

class BonusNavigationTest : public SkillDevFixture {
protected:
    qint32 skillRow(qint32 id)
    {
        for (qint32 r = 0; player().NbSkill > 0 && r <= player().NbSkill; ++r)
            if (player().DirSkills(0, r) == id)
                return r;
        return -1;
    }
    qint32 categoryRow(qint32 id)
    {
        for (qint32 r = 0; r <= player().NbSkillCat; ++r)
            if (player().DirSkillsCat(0, r) == id)
                return r;
        return -1;
    }
};

TEST_F(BonusNavigationTest, SkillBonusesGoIntoTheRecordRow)
{
    adolescence();
    frmSkillDev *w = open();
    show(QStringLiteral("SK0/81"));
    const qint32 row = skillRow(81);
    ASSERT_GE(row, 0);
    w->labBonusSkill[2]->setText(QStringLiteral("5"));
    w->labBonusSkill_LostFocus(2);
    EXPECT_EQ(player().DirSkills(2, row), 5);
    EXPECT_EQ(w->labBonusSkill[4]->text(), QString::number(player().TotalSkillBonus(81, 0, 2)));
    w->labBonusSkill[3]->setText(QStringLiteral("-2"));
    w->labBonusSkill_KeyPress(3, 13);
    EXPECT_EQ(player().DirSkills(3, row), -2);

    // Other boxes and keys do nothing.
    w->labBonusSkill[0]->setText(QStringLiteral("9"));
    w->labBonusSkill_KeyPress(0, 13);
    w->labBonusSkill[2]->setText(QStringLiteral("8"));
    w->labBonusSkill_KeyPress(2, 65);
    EXPECT_EQ(player().DirSkills(2, row), 5);

    // No row for the shown skill: the message, and the box back at 0.
    show(QStringLiteral("SK0/1"));
    w->labBonusSkill[3]->setText(QStringLiteral("4"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("minimum d'un (1) niveau"));
    w->labBonusSkill_LostFocus(3);
    EXPECT_EQ(w->labBonusSkill[3]->text(), QStringLiteral("0"));

    // Text that is no whole number is refused and stores nothing.
    show(QStringLiteral("SK0/81"));
    w->labBonusSkill[2]->setText(QStringLiteral("abc"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("nombre entier"));
    w->labBonusSkill_KeyPress(2, 13);
    EXPECT_EQ(w->labBonusSkill[2]->text(), QStringLiteral("5"));
    EXPECT_EQ(player().DirSkills(2, row), 5);
    // A number past 16 bits is told the room its skill's total leaves:
    // Influence (Pr 3 + EM 2 + Re 0, two ranks 4) 9, two ranks of the skill
    // 8 and the special -2 make 15 without the box.
    w->labBonusSkill[2]->setText(QStringLiteral("70000"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("« Item » de Marchandage : un nombre entre -32768 et 32752"));
    w->labBonusSkill_KeyPress(2, 13);
    EXPECT_EQ(player().DirSkills(2, row), 5);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

// Only a sum is a 16-bit figure: boxes summed in their order may pass 16 bits
// on the way to a sum that fits, as the record's totals allow.
TEST_F(BonusNavigationTest, APartialSumPastSixteenBitsIsNoOverflowWhenTheSumFits)
{
    adolescence();
    Personnage &p = player();
    // Influence draws on Pr, EM and Re in that order: 3 + 20000 and 2 + 20000
    // pass 16 bits before 0 - 20000 brings them back to 20005.
    p.AddStat(2, 7, 20000);
    p.AddStat(2, 5, 20000);
    p.AddStat(2, 3, -20000);
    frmSkillDev *w = open();
    show(QStringLiteral("SK0/81"));
    EXPECT_EQ(w->labBonusSkillCat[1]->text(), QStringLiteral("20005"));
    EXPECT_EQ(w->labBonusSkill[1]->text(), QStringLiteral("20009"));   // and two ranks, 4
    const auto type = [](QLineEdit *box, const char *text) {
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(text));
        QTest::keyClick(box, Qt::Key_Return);
    };
    // Two ranks of the skill 8, the category 20009: 8 + 20009 + 32767 passes
    // 16 bits before the special's -32000 brings the total back to 20784.
    type(w->labBonusSkill[3], "-32000");
    type(w->labBonusSkill[2], "32767");
    EXPECT_EQ(w->labBonusSkill[4]->text(), QStringLiteral("20784"));
    show(QStringLiteral("SK0/81"));
    EXPECT_EQ(w->labBonusSkill[4]->text(), QStringLiteral("20784"));
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

TEST_F(BonusNavigationTest, KeyedRowsTakeTheirBonusAsText)
{
    Personnage &p = player();
    p.AddSkill(Personnage::fId, 1, RankKind::WeaponSkill, 227);
    p.AddSkill(Personnage::fKey, 1, RankKind::WeaponSkill, 8);
    p.AddSkill(Personnage::fId, 2, RankKind::WeaponSkill, 227);
    p.AddSkill(Personnage::fKey, 2, RankKind::WeaponSkill, 9);
    const qint32 sub = p.AddSubSkills(48, QStringLiteral("Forge"), 0);
    frmSkillDev *w = open();
    show(QStringLiteral("SW9/227"));
    w->labBonusSkill[3]->setText(QStringLiteral("3"));
    w->labBonusSkill_KeyPress(3, 13);
    EXPECT_EQ(p.DirWeaponSkills(3, 2), QStringLiteral("3"));
    EXPECT_EQ(p.DirWeaponSkills(3, 1), QStringLiteral("0"));
    show(QStringLiteral("SS%1/48").arg(sub));
    w->labBonusSkill[2]->setText(QStringLiteral("7"));
    w->labBonusSkill_KeyPress(2, 13);
    EXPECT_EQ(p.DirSubSkills(2, sub), QStringLiteral("7"));
}

TEST_F(BonusNavigationTest, CategoryBonusesGoIntoTheCategoryRow)
{
    adolescence();
    {
        // Nothing shown yet: nothing stored, nothing said.
        frmSkillDev blank;
        blank.setTag(QStringLiteral("1"));
        blank.labBonusSkillCat[3]->setText(QStringLiteral("4"));
        blank.labBonusSkillCat_KeyPress(3, 13);
        EXPECT_EQ(messages(), 0);
    }
    frmSkillDev *w = open();

    show(QStringLiteral("SC12"));
    const qint32 row = categoryRow(12);
    ASSERT_GE(row, 0);
    w->labBonusSkillCat[3]->setText(QStringLiteral("6"));
    w->labBonusSkillCat_LostFocus(3);
    EXPECT_EQ(player().DirSkillsCat(3, row), 6);
    EXPECT_EQ(w->labBonusSkillCat[4]->text(), QString::number(player().TotalSkillCatBonus(12)));
    // The profession's bonus is not the player's to type.
    const qint16 profession = player().DirSkillsCat(2, row);
    w->labBonusSkillCat[2]->setText(QStringLiteral("11"));
    w->labBonusSkillCat_KeyPress(2, 13);
    EXPECT_EQ(player().DirSkillsCat(2, row), profession);
    EXPECT_TRUE(w->labBonusSkillCat[2]->isReadOnly());
    // A category the character has no row for: the message, nothing in a free row.
    show(QStringLiteral("SC53"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("minimum"));
    w->labBonusSkillCat[3]->setText(QStringLiteral("9"));
    w->labBonusSkillCat_KeyPress(3, 13);
    EXPECT_EQ(w->labBonusSkillCat[3]->text(), QStringLiteral("0"));
    for (qint32 r = 0; r <= player().NbSkillCat; ++r)
        if (player().DirSkillsCat(0, r) < 1)
            EXPECT_EQ(player().DirSkillsCat(3, r), 0) << r;
}

// Junk confirmed with Enter is refused; the box then shows what the record
// holds, so leaving it, or coming back to the node, finds the bonus unchanged.
TEST_F(BonusNavigationTest, JunkConfirmedWithEnterKeepsTheStoredBonus)
{
    adolescence();
    Personnage &p = player();
    p.AddSkill(Personnage::fId, 1, RankKind::WeaponSkill, 227);
    p.AddSkill(Personnage::fKey, 1, RankKind::WeaponSkill, 7);   // Dague
    p.AddSkill(2, 1, RankKind::WeaponSkill, 2);
    const qint32 category = categoryRow(12);
    ASSERT_GE(category, 0);
    p.AddSkill(3, static_cast<qint16>(category), RankKind::SkillCategory, 4);
    frmSkillDev *w = open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    auto clickNode = [&](const QString &key) {
        QTreeWidgetItem *n = node(key);
        ASSERT_NE(n, nullptr) << key.toStdString();
        for (QTreeWidgetItem *up = n->parent(); up; up = up->parent())
            up->setExpanded(true);
        w->trvSkillCategorie->scrollToItem(n);
        QTest::mouseClick(w->trvSkillCategorie->viewport(), Qt::LeftButton, {},
                          w->trvSkillCategorie->visualItemRect(n).center());
    };
    auto typeJunk = [&](QLineEdit *box, const QString &junk, const QString &said = QStringLiteral("nombre entier")) {
        QTest::mouseClick(box, Qt::LeftButton);
        box->selectAll();
        QTest::keyClicks(box, junk);
        ui->answerMsgBox(ports::Ok, said);
        QTest::keyClick(box, Qt::Key_Return);
    };

    clickNode(QStringLiteral("SW7/227"));
    ASSERT_EQ(w->labBonusSkill[2]->text(), QStringLiteral("2"));
    const QString total = w->labBonusSkill[4]->text();
    EXPECT_EQ(total, QStringLiteral("4"));   // 22 - 20 + 2, as below
    typeJunk(w->labBonusSkill[2], QStringLiteral("abc"));
    EXPECT_EQ(w->labBonusSkill[2]->text(), QStringLiteral("2"));
    // A figure no total can hold: Blades (ST 6 twice, AG 0, two ranks 10)
    // 22 and no rank of the weapon -20 leave 2 beside the item bonus.
    typeJunk(w->labBonusSkill[2], QStringLiteral("32767"),
             QStringLiteral("« Item » de Dague : un nombre entre -32768 et 32765"));
    EXPECT_EQ(w->labBonusSkill[2]->text(), QStringLiteral("2"));
    EXPECT_EQ(w->labBonusSkill[4]->text(), total);
    clickNode(QStringLiteral("SC12"));   // leaves the box
    clickNode(QStringLiteral("SW7/227"));
    EXPECT_EQ(p.DirWeaponSkills(2, 1), QStringLiteral("2"));
    EXPECT_EQ(w->labBonusSkill[2]->text(), QStringLiteral("2"));
    EXPECT_EQ(w->labBonusSkill[4]->text(), total);

    clickNode(QStringLiteral("SC12"));
    typeJunk(w->labBonusSkillCat[3], QStringLiteral("x"));
    EXPECT_EQ(w->labBonusSkillCat[3]->text(), QStringLiteral("4"));
    clickNode(QStringLiteral("SW7/227"));
    clickNode(QStringLiteral("SC12"));
    EXPECT_EQ(p.DirSkillsCat(3, category), 4);
    EXPECT_EQ(w->labBonusSkillCat[3]->text(), QStringLiteral("4"));
    EXPECT_EQ(messages(), 3);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

// Focus that windows move through a box while they open, activate or show
// their panels is not the player leaving it: only a box the player went into
// stores (or refuses) on leaving.
TEST_F(BonusNavigationTest, OnlyABoxThePlayerEnteredSpeaksWhenLeft)
{
    adolescence();
    frmSkillDev *w = open();
    show(QStringLiteral("SC53"));   // no row for it: leaving would refuse with a message
    QLineEdit *box = w->labBonusSkillCat[3];
    auto focus = [box](QEvent::Type type, Qt::FocusReason reason) {
        QFocusEvent e(type, reason);
        QCoreApplication::sendEvent(box, &e);
    };
    for (Qt::FocusReason reason : {Qt::OtherFocusReason, Qt::TabFocusReason, Qt::ActiveWindowFocusReason}) {
        focus(QEvent::FocusIn, reason);
        focus(QEvent::FocusOut, Qt::OtherFocusReason);
    }
    EXPECT_EQ(messages(), 0);

    // The player clicks into it; a popup or another window taking the focus
    // for a while is no leaving; leaving it is.
    focus(QEvent::FocusIn, Qt::MouseFocusReason);
    focus(QEvent::FocusOut, Qt::PopupFocusReason);
    focus(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(messages(), 0);
    ui->answerMsgBox(ports::Ok, QStringLiteral("minimum"));
    focus(QEvent::FocusOut, Qt::MouseFocusReason);
    EXPECT_EQ(messages(), 1);
}

TEST_F(BonusNavigationTest, GridRowsLeadToTheirNodes)
{
    adolescence();
    frmSkillDev *w = open();
    ASSERT_GE(w->grdSkill->rowCount(), 3);
    w->grdSkill->setCurrentCell(2, 0);
    w->grdSkill_Click();
    const QString index = w->SkillTable[3][0];
    EXPECT_EQ(tag(w->grdSkill), index);
    QTreeWidgetItem *n = w->Node(index.toInt());
    ASSERT_NE(n, nullptr);
    EXPECT_EQ(w->labSkill->text(), n->text(0));
    EXPECT_TRUE(n->parent()->isExpanded());
    EXPECT_EQ(w->trvSkillCategorie->currentItem(), n);
    EXPECT_TRUE(n->isSelected());

    // A click below the filled rows does nothing.
    w->SkillRowCount = 0;
    w->grdSkill->setCurrentCell(1, 0);
    w->grdSkill_Click();
    EXPECT_EQ(tag(w->grdSkill), index);
}

TEST_F(BonusNavigationTest, CategoriesOpenSortedAndCloseAgain)
{
    frmSkillDev *w = open();
    QTreeWidgetItem *cat = node(QStringLiteral("SC14"));
    ASSERT_NE(cat, nullptr);
    QTreeWidgetItem *firstChild = cat->child(0);
    const int before = w->IndexOf(firstChild);
    cat->setExpanded(true);
    EXPECT_EQ(frmSkillDev::NodeImage(cat), QStringLiteral("Fichier ouvert"));
    EXPECT_EQ(cat->child(0)->text(0), QStringLiteral("Langue écrite"));
    EXPECT_EQ(w->IndexOf(firstChild), before);   // indexes stay with their nodes
    cat->setExpanded(false);
    EXPECT_EQ(frmSkillDev::NodeImage(cat), QStringLiteral("Fichier fermer"));
    // Opening it again keeps what stood open and chosen below it.
    QTreeWidgetItem *spoken = node(QStringLiteral("SK0/32"));
    QTreeWidgetItem *language = spoken->child(1);
    cat->setExpanded(true);
    spoken->setExpanded(true);
    w->trvSkillCategorie->setCurrentItem(language);
    EXPECT_EQ(w->labSkill->text(), language->text(0));
    cat->setExpanded(false);
    cat->setExpanded(true);
    EXPECT_TRUE(spoken->isExpanded());
    EXPECT_EQ(w->trvSkillCategorie->currentItem(), language);
    EXPECT_EQ(w->labSkill->text(), language->text(0));
    cat->setExpanded(false);
    // A skill node keeps its picture and the order of its languages.
    QTreeWidgetItem *skill = node(QStringLiteral("SK0/32"));
    const QString first = skill->child(0)->text(0);
    skill->setExpanded(true);
    EXPECT_EQ(frmSkillDev::NodeImage(skill), QStringLiteral("Feuille"));
    EXPECT_EQ(skill->child(0)->text(0), first);
    // Node texts cannot be edited.
    EXPECT_EQ(w->trvSkillCategorie->editTriggers(), QAbstractItemView::NoEditTriggers);
}

TEST_F(BonusNavigationTest, TreeFocusMakesItsCharacterCurrent)
{
    frmMain main;
    ModGeneral::RedimPlayer();
    ModGeneral::Players(2).Nom = QStringLiteral("Odo");
    window = std::make_unique<frmSkillDev>();
    window->setTag(QStringLiteral("2"));
    window->LoadData();
    main.setTag(QStringLiteral("1"));
    QFocusEvent in(QEvent::FocusIn);
    QCoreApplication::sendEvent(window->trvSkillCategorie, &in);
    EXPECT_EQ(main.Tag(), QStringLiteral("2"));
}

TEST_F(BonusNavigationTest, ClosingClearsTheLanguageModeOnce)
{
    frmSkillDev *w = open(QStringLiteral("Langue"));
    w->Unload();
    EXPECT_TRUE(w->isUnloaded());
    EXPECT_EQ(ModGeneral::SkillDevMode, QString());
    // A later stage's mode survives a second close of the old window.
    ModGeneral::SkillDevMode = QStringLiteral("Langue");
    w->Unload();
    EXPECT_EQ(ModGeneral::SkillDevMode, QStringLiteral("Langue"));
    window.release();   // deleted on close
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

} // namespace
