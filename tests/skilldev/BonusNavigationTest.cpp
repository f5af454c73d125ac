// Typing bonuses into the panels' boxes, and moving between the tree and the grid.
#include "SkillDevFixture.h"

#include "character/Players.h"
#include "mainwindow/frmMain.h"

#include <QApplication>
#include <QFocusEvent>
#include <QSignalBlocker>
#include <QTest>

#include <functional>

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
    // Two ranks 8, Influence (Pr 3 + EM 2 + Re 0, two ranks 4) 9 and the item 5.
    EXPECT_EQ(w->labBonusSkill[4]->text(), QStringLiteral("22"));
    // A decimal is rounded half to even, and the box shows what is stored.
    w->labBonusSkill[3]->setText(QStringLiteral("-2.5"));
    w->labBonusSkill_KeyPress(3, 13);
    EXPECT_EQ(player().DirSkills(3, row), -2);
    EXPECT_EQ(w->labBonusSkill[3]->text(), QStringLiteral("-2"));

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

    // Text that is no number, or a number past 16 bits, is refused with the
    // room its skill's total leaves, and stores nothing: Influence 9, two
    // ranks of the skill 8 and the special -2 make 15 without the box.
    show(QStringLiteral("SK0/81"));
    for (const char *typed : {"abc", "70000"}) {
        w->labBonusSkill[2]->setText(QLatin1String(typed));
        ui->answerMsgBox(ports::Ok, QStringLiteral("« Item » de Marchandage : un nombre entre -32768 et 32752"));
        w->labBonusSkill_KeyPress(2, 13);
        EXPECT_EQ(w->labBonusSkill[2]->text(), QStringLiteral("5")) << typed;
        EXPECT_EQ(player().DirSkills(2, row), 5) << typed;
    }
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

// Only a sum is a 16-bit figure: boxes summed in their order may pass 16 bits
// on the way to a sum that fits, as the record's totals allow. A sum that does
// not fit is the panel's overflow: said, and its box left empty.
TEST_F(BonusNavigationTest, OnlyASumIsASixteenBitFigureAndOneThatDoesNotFitIsSaid)
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

    // Figures a file may hold one by one, but not summed. Neither a wrapped
    // sum (65551 would show 15) nor the figure shown before stays in the box,
    // the sums built on it are empty too, and the ticks still show the rank
    // the stage holds.
    const qint32 row = skillRow(81);
    ASSERT_GE(row, 0);
    p.AddDevelopment(RankKind::Skill, 81, 0, 1, 0);
    p.AddStat(2, 3, 0);
    struct Case {
        qint16 pr, em, item, special;
        const char *at, *stat, *category, *total;
    } cases[] = {
        // 8 + 9 + 32767 + 32767
        {0, 0, 32767, 32767, ".AfficheSkill", "5", "9", ""},
        // Pr 3 + 32764 and EM 2 + 32765
        {32764, 32765, 0, 0, ".AfficheSkillCategory", "", "", ""},
    };
    for (const Case &c : cases) {
        p.AddStat(2, 7, c.pr);
        p.AddStat(2, 5, c.em);
        p.AddSkill(2, static_cast<qint16>(row), RankKind::Skill, c.item);
        p.AddSkill(3, static_cast<qint16>(row), RankKind::Skill, c.special);
        ui->expectError(w->windowTitle() + QLatin1String(c.at), vb::ErrOverflow);
        show(QStringLiteral("SK0/81"));
        EXPECT_EQ(w->labBonusSkillCat[1]->text(), QLatin1String(c.stat)) << c.at;
        EXPECT_EQ(w->labBonusSkillCat[4]->text(), QLatin1String(c.category)) << c.at;
        EXPECT_EQ(w->labBonusSkill[4]->text(), QLatin1String(c.total)) << c.at;
        EXPECT_TRUE(w->chkSkill[0]->isChecked()) << c.at;
    }

    // A bonus stored on a total that a figure beside it has since pushed past
    // 16 bits is kept; the store says the overflow as the panel does and
    // leaves the total empty. The item 32750 fits two ranks 8 and Influence 9
    // until the category's special is 1; the category's special 32758 fits
    // its own 9 until Pr's special is 1.
    p.AddStat(2, 7, 0);
    p.AddStat(2, 5, 0);
    show(QStringLiteral("SK0/81"));
    const qint32 category = categoryRow(11);
    struct Store {
        QLineEdit *box, *total;
        const char *typed, *at;
        std::function<void()> grow;
    } stores[] = {
        {w->labBonusSkill[2], w->labBonusSkill[4], "32750", ".labBonusSkill.KeyPress",
         [&] { p.AddSkill(3, static_cast<qint16>(category), RankKind::SkillCategory, 1); }},
        {w->labBonusSkillCat[3], w->labBonusSkillCat[4], "32758", ".labBonusSkillCat.KeyPress",
         [&] { p.AddStat(2, 7, 1); }},
    };
    for (const Store &st : stores) {
        type(st.box, st.typed);
        EXPECT_EQ(st.total->text(), QStringLiteral("32767")) << st.at;
        st.grow();
        ui->expectError(w->windowTitle() + QLatin1String(st.at), vb::ErrOverflow);
        QTest::keyClick(st.box, Qt::Key_Return);
        EXPECT_EQ(st.total->text(), QString()) << st.at;
    }
    EXPECT_EQ(p.DirSkills(2, row), 32750);
    EXPECT_EQ(p.DirSkillsCat(3, category), 32758);

    // A window whose character is not in the table fails each panel as a
    // whole: said once, at the panel.
    w->setTag(QStringLiteral("9"));
    for (const auto &[key, at] : {std::pair{"SK0/81", ".AfficheSkill"}, std::pair{"SC11", ".AfficheSkillCategory"}}) {
        ui->expectError(w->windowTitle() + QLatin1String(at), vb::ErrSubscript);
        show(QLatin1String(key));
    }
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 6);
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
    // Vigour: CO 2 twice and SD 3, no bonus for ranks, and the special 6.
    EXPECT_EQ(w->labBonusSkillCat[4]->text(), QStringLiteral("13"));
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
    auto typeJunk = [&](QLineEdit *box, const QString &junk, const QString &said) {
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
    // No number, or a figure no total can hold: Blades (ST 6 twice, AG 0,
    // two ranks 10) 22 and no rank of the weapon -20 leave 2 beside the item.
    for (const char *junk : {"abc", "32767"}) {
        typeJunk(w->labBonusSkill[2], QLatin1String(junk), QStringLiteral("« Item » de Dague : un nombre entre -32768 et 32765"));
        EXPECT_EQ(w->labBonusSkill[2]->text(), QStringLiteral("2")) << junk;
    }
    EXPECT_EQ(w->labBonusSkill[4]->text(), total);
    clickNode(QStringLiteral("SC12"));   // leaves the box
    clickNode(QStringLiteral("SW7/227"));
    EXPECT_EQ(p.DirWeaponSkills(2, 1), QStringLiteral("2"));
    EXPECT_EQ(w->labBonusSkill[2]->text(), QStringLiteral("2"));
    EXPECT_EQ(w->labBonusSkill[4]->text(), total);

    clickNode(QStringLiteral("SC12"));
    // Vigour's statistics (CO 2 twice, SD 3) leave the special 32767 - 7.
    typeJunk(w->labBonusSkillCat[3], QStringLiteral("x"), QStringLiteral("« Spécial » de Vigueur : un nombre entre -32768 et 32760"));
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
// stores (or refuses) on leaving, and a refusal confirmed with Enter is said
// once, not again on leaving. A click on a display-only box leaves the box.
TEST_F(BonusNavigationTest, OnlyABoxThePlayerEnteredSpeaksWhenLeft)
{
    adolescence();
    frmSkillDev *w = open();
    // Neither the skill nor the category has a row: leaving refuses with a message.
    for (const auto &[key, box] : {std::pair{"SK0/1", w->labBonusSkill[3]}, std::pair{"SC53", w->labBonusSkillCat[3]}}) {
        show(QLatin1String(key));
        const int before = messages();
        auto focus = [box = box](QEvent::Type type, Qt::FocusReason reason) {
            QFocusEvent e(type, reason);
            QCoreApplication::sendEvent(box, &e);
        };
        for (Qt::FocusReason reason : {Qt::OtherFocusReason, Qt::TabFocusReason, Qt::ActiveWindowFocusReason}) {
            focus(QEvent::FocusIn, reason);
            // The Alt or Ctrl of a menu's shortcut edits nothing.
            QTest::keyClick(box, Qt::Key_Alt, Qt::AltModifier);
            QTest::keyClick(box, Qt::Key_Control, Qt::ControlModifier);
            focus(QEvent::FocusOut, Qt::OtherFocusReason);
        }
        EXPECT_EQ(messages(), before) << key;

        // The player clicks into it; a popup or another window taking the focus
        // for a while is no leaving; leaving it is.
        focus(QEvent::FocusIn, Qt::MouseFocusReason);
        focus(QEvent::FocusOut, Qt::PopupFocusReason);
        focus(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
        EXPECT_EQ(messages(), before) << key;
        ui->answerMsgBox(ports::Ok, QStringLiteral("minimum"));
        focus(QEvent::FocusOut, Qt::MouseFocusReason);
        EXPECT_EQ(messages(), before + 1) << key;
        focus(QEvent::FocusIn, Qt::MouseFocusReason);
        ui->answerMsgBox(ports::Ok, QStringLiteral("minimum"));
        QTest::keyClick(box, Qt::Key_Return);
        focus(QEvent::FocusOut, Qt::MouseFocusReason);
        EXPECT_EQ(messages(), before + 2) << key;
    }

    // The special of a skill the character holds, left by a click on each box
    // that only shows a figure: stored then, and the keys typed next go nowhere.
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    show(QStringLiteral("SK0/81"));
    QLineEdit *special = w->labBonusSkill[3];
    QLineEdit *const shown[] = {w->labBonusSkill[0], w->labBonusSkill[1], w->labBonusSkill[4], w->labBonusSkillCat[0],
                                w->labBonusSkillCat[1], w->labBonusSkillCat[2], w->labBonusSkillCat[4]};
    for (int k = 0; k < 7; ++k) {
        QTest::mouseClick(special, Qt::LeftButton);
        special->selectAll();
        QTest::keyClicks(special, QString::number(k + 1));
        QTest::mouseClick(shown[k], Qt::LeftButton);
        EXPECT_EQ(player().DirSkills(3, skillRow(81)), k + 1) << shown[k]->objectName().toStdString();
        QWidget *typedInto = QApplication::focusWidget();
        ASSERT_NE(typedInto, nullptr);
        QTest::keyClicks(typedInto, QStringLiteral("9"));
        EXPECT_EQ(special->text(), QString::number(k + 1)) << shown[k]->objectName().toStdString();
    }
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
