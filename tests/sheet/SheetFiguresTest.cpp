// Figures typed key by key past what their field takes: the record never
// holds them, and once the player leaves the box it shows what the record
// holds, after one message naming the box and its range.
#include "SheetFixture.h"

#include <QFocusEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

using namespace sheettest;

namespace {

// The player clicks into the box, selects what it holds and types over it.
void TypeOver(QLineEdit *box, const QString &text)
{
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(box, &in);
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box, text);
}

void Focus(QLineEdit *box, QEvent::Type type, Qt::FocusReason reason)
{
    QFocusEvent e(type, reason);
    QCoreApplication::sendEvent(box, &e);
}

// A message box that, as a real one does, takes the focus from the box while
// it is up and gives it back.
class FocusTakingPorts : public ScriptedPorts {
public:
    QLineEdit *box = nullptr;
    int MsgBox(const QString &text, int style, const QString &title) override
    {
        for (Qt::FocusReason reason : {Qt::ActiveWindowFocusReason, Qt::OtherFocusReason}) {
            Focus(box, QEvent::FocusOut, reason);
            Focus(box, QEvent::FocusIn, reason);
        }
        return ScriptedPorts::MsgBox(text, style, title);
    }
};

} // namespace

TEST_F(SheetTest, AFigurePastItsRangeIsPutBackWhenTheBoxIsLeft)
{
    OpenRules();
    frmGeneral &w = Load();
    Personnage &p = P();
    struct Case {
        QLineEdit *box;
        const char *typed;
        const char *shown;   // the stored value, as the box shows it again
        const char *range;   // "low et high" as the message gives it
        std::function<double()> field;
    };
    const Case cases[] = {
        // What the totals leave: AG's is 2 (race) + 0 + the bonus, which no
        // category here draws on; Essence's is 3 x 5 + 5 + the bonus.
        {w.Stat_ID[AG][4], "32767", "1", "-32768 et 32765", [&] { return p.DirStats(2, AG); }},
        {w.Resistance[5][2], "32767", "2", "-32768 et 32747", [&] { return p.DirResistanceSpecial(5); }},
        {w.txtApparence, "40000", "7", "-32768 et 32767", [&] { return p.Apparence; }},
        {w.txtExperience, "9999999999", "55000", "-300000000 et 1600000000", [&] { return p.Experience; }},
        // 25000: the other places hold 5000 of the 32-bit fortune.
        {w.txtMoney[0], "999999", "2", "-214748 et 214747", [&] { return p.Money; }},
        {w.txtAge, "1e50", "18,5", "-999999 et 999999", [&] { return p.Age; }},
        {w.txtGrandeur, "2000000", "1,85", "-999999 et 999999", [&] { return p.Grandeur; }},
        {w.txtPoids, "-1e7", "61,5", "-999999 et 999999", [&] { return p.Poids; }},
    };
    const double before[] = {1, 2, 7, 55000, 25000, 18.5f, 1.85f, 61.5f};
    int i = 0;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.box->objectName().toStdString());
        const int messages = ui->count(ScriptedPorts::Kind::MsgBox);
        TypeOver(c.box, QString::fromLatin1(c.typed));
        // Saved in mid-typing, the character keeps no part of the figure.
        EXPECT_EQ(c.field(), before[i]);
        ui->answerMsgBox(ports::Ok, QString::fromLatin1(c.range));
        // Leaving by Tab and by Enter both count.
        if (i % 2 == 0)
            Focus(c.box, QEvent::FocusOut, Qt::TabFocusReason);
        else
            QTest::keyClick(c.box, Qt::Key_Return);
        EXPECT_EQ(c.box->text(), QString::fromLatin1(c.shown));
        EXPECT_EQ(c.field(), before[i]);
        EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), messages + 1);
        ++i;
    }
    // What follows the figures follows the stored ones.
    EXPECT_EQ(w.Stat_ID[AG][5]->text(), QStringLiteral("3"));
    EXPECT_EQ(w.Resistance[5][3]->text(), QStringLiteral("22"));
    EXPECT_EQ(w.txtNiveau->text(), QStringLiteral("5"));
    const auto boxes = ui->callsOf(ScriptedPorts::Kind::MsgBox);
    ASSERT_FALSE(boxes.empty());
    EXPECT_TRUE(boxes.back().text.contains(QStringLiteral("Poids")));

    // Enter keeps the player in the box: junk typed after it goes back to the
    // figure Enter stored, not to the one the box was entered with.
    TypeOver(w.txtApparence, QStringLiteral("9"));
    QTest::keyClick(w.txtApparence, Qt::Key_Return);
    QTest::keyClick(w.txtApparence, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(w.txtApparence, QStringLiteral("neuf"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("« Apparence » : un nombre est attendu"));
    Focus(w.txtApparence, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(w.txtApparence->text(), QStringLiteral("9"));
    EXPECT_EQ(p.Apparence, 9);
}

TEST_F(SheetTest, OnlyThePlayerLeavingAFigureBoxSpeaksAndOnlyOnce)
{
    OpenRules();
    frmGeneral &w = Load();
    QLineEdit *box = w.Stat_ID[AG][4];
    TypeOver(box, QStringLiteral("40000"));
    // A menu or another window takes the focus for a while: the player has
    // not left the box.
    Focus(box, QEvent::FocusOut, Qt::PopupFocusReason);
    Focus(box, QEvent::FocusIn, Qt::PopupFocusReason);
    Focus(box, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    Focus(box, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 0);
    EXPECT_EQ(box->text(), QStringLiteral("40000"));

    // The message itself moves the focus about: still one message.
    FocusTakingPorts taking;
    taking.box = box;
    taking.answerMsgBox(ports::Ok, QStringLiteral("32765"));
    ports::install(&taking);
    Focus(box, QEvent::FocusOut, Qt::MouseFocusReason);
    ports::install(&*ui);
    EXPECT_EQ(taking.count(ScriptedPorts::Kind::MsgBox), 1);
    EXPECT_EQ(box->text(), QStringLiteral("1"));
    EXPECT_EQ(P().DirStats(2, AG), 1);
}

TEST_F(SheetTest, ACoinCountPastWhatTheFortuneHoldsIsPutBackWhenTheBoxIsLeft)
{
    OpenRules();
    frmGeneral &w = Load();
    // From 25000 the other places hold 20000 beside pa and 25000 beside pb to
    // pe. A count is taken while the fortune stays within -2147483648 and
    // 2147483647: for pa (2147483647 - 20000) / 1000 and -(2147483648 +
    // 20000) / 1000, each rounded down; likewise with 100, 10 and 1.
    // Text that is no whole number is refused as well, naming the box.
    const struct {
        int box;
        const char *typed, *shown, *range;
    } cases[] = {
        {1, "9999999", "5", "-2147503 et 2147463"},
        {2, "99999999", "0", "-21475086 et 21474586"},
        {3, "999999999", "0", "-214750864 et 214745864"},
        {4, "9999999999", "0", "-2147508648 et 2147458647"},
        {0, "x", "2", "« Argent » (po) : un nombre est attendu"},
        {3, "4.5", "0", "« Argent » (pc) : un nombre est attendu"},
    };
    for (const auto &c : cases) {
        QLineEdit *box = w.txtMoney[static_cast<size_t>(c.box)];
        TypeOver(box, QString::fromLatin1(c.typed));
        EXPECT_EQ(P().Money, 25000) << c.box;
        ui->answerMsgBox(ports::Ok, QString::fromUtf8(c.range));
        Focus(box, QEvent::FocusOut, Qt::TabFocusReason);
        EXPECT_EQ(box->text(), QString::fromLatin1(c.shown)) << c.box;
        EXPECT_EQ(P().Money, 25000) << c.box;
    }
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 6);
    // A count that carries into the places above: once left, the five boxes
    // show the fortune split, 20000 + 2147463 x 1000.
    TypeOver(w.txtMoney[1], QStringLiteral("2147463"));
    Focus(w.txtMoney[1], QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(P().Money, 2147483000);
    QStringList shown;
    for (const QLineEdit *box : w.txtMoney)
        shown << box->text();
    EXPECT_EQ(shown, (QStringList{"214748", "3", "0", "0", "0"}));
}

TEST_F(SheetTest, AFigureTypedAtTheTopOfItsRangeIsKept)
{
    OpenRules();
    frmGeneral &w = Load();
    TypeOver(w.txtApparence, QStringLiteral("32767"));
    Focus(w.txtApparence, QEvent::FocusOut, Qt::TabFocusReason);
    TypeOver(w.txtExperience, QStringLiteral("1600000000"));
    Focus(w.txtExperience, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(w.txtApparence->text(), QStringLiteral("32767"));
    EXPECT_EQ(P().Apparence, 32767);
    EXPECT_EQ(w.txtExperience->text(), QStringLiteral("1600000000"));
    EXPECT_EQ(P().Experience, 1600000000);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 0);
}

// A special bonus is held to what every total built on it can hold, and to
// nothing the printed page works out in wider numbers. Here the armour
// category draws on CO three times.
TEST_F(SheetTest, ASpecialBonusIsHeldToWhatItsTotalsCanHold)
{
    OpenRules("UPDATE [Skill Category] SET Stat_ID1 = 2, Stat_ID2 = 2, Stat_ID3 = 2 WHERE Skill_Category_ID = 20;");
    frmGeneral &w = Load();
    Personnage &p = P();
    // CO's total is 3 (race) + 2 (bonus of 75) + the special. The category
    // counts it three times, and its plate skill adds 25: 3 x (5 + 10909)
    // + 25 is 32767. Its least keeps the maneuver figure of every armour the
    // list offers at -32768 or more, the heaviest plate's (-90) the lowest of
    // them: -90 + 3 x (5 + v) + 25, and 3 x (5 - 10906) - 65 is -32768.
    const auto typeAndLeave = [&](QLineEdit *box, const char *typed, const char *said) {
        if (said)
            ui->answerMsgBox(ports::Ok, QString::fromLatin1(said));
        TypeOver(box, QString::fromLatin1(typed));
        Focus(box, QEvent::FocusOut, Qt::TabFocusReason);
    };
    typeAndLeave(w.Stat_ID[CO][4], "10910", "-10906 et 10909");
    EXPECT_EQ(p.DirStats(2, CO), 2);
    EXPECT_EQ(w.Stat_ID[CO][4]->text(), QStringLiteral("2"));
    typeAndLeave(w.Stat_ID[CO][4], "10909", nullptr);
    EXPECT_EQ(p.DirStats(2, CO), 10909);
    EXPECT_EQ(w.Stat_ID[CO][5]->text(), QStringLiteral("10914"));
    EXPECT_EQ(p.TotalSkillBonus(236, 0, RankKind::Skill), 32767);
    typeAndLeave(w.Stat_ID[CO][4], "2", nullptr);
    // ST's total, 6 + 12 + the special, counts in no category here. The page
    // triples it and, with the lowest maneuver figure of any armour, makes
    // the allowance (-44 + 3 x (18 - 10927), -32771), in wider numbers: only
    // the total itself holds the bonus, up to 32767 - 18.
    typeAndLeave(w.Stat_ID[ST][4], "32750", "-32768 et 32749");
    EXPECT_EQ(p.DirStats(2, ST), 0);
    typeAndLeave(w.Stat_ID[ST][4], "-10927", nullptr);
    EXPECT_EQ(p.DirStats(2, ST), -10927);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 2);
}

// Age, height, weight and appearance read their whole text: once left they
// show the number the record took, and text that is no number gives the
// stored value back after one message naming the box.
TEST_F(SheetTest, PhysiqueShowsWhatTheRecordTookOnceLeft)
{
    OpenRules();
    frmGeneral &w = Load();
    Personnage &p = P();
    const auto typeAndLeave = [&](QLineEdit *box, const char *typed) {
        TypeOver(box, QString::fromLatin1(typed));
        Focus(box, QEvent::FocusOut, Qt::TabFocusReason);
    };
    // Either decimal mark.
    typeAndLeave(w.txtGrandeur, "1.80");
    EXPECT_FLOAT_EQ(p.Grandeur, 1.8f);
    EXPECT_EQ(w.txtGrandeur->text(), QStringLiteral("1,8"));
    typeAndLeave(w.txtPoids, "70,25");
    EXPECT_FLOAT_EQ(p.Poids, 70.25f);
    typeAndLeave(w.txtApparence, "+12");
    EXPECT_EQ(w.txtApparence->text(), QStringLiteral("12"));
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 0);

    // "12abc" went through 12 on the way: the value from before comes back.
    ui->answerMsgBox(ports::Ok, QStringLiteral("« Poids » : un nombre est attendu"));
    typeAndLeave(w.txtPoids, "12abc");
    EXPECT_FLOAT_EQ(p.Poids, 70.25f);
    EXPECT_EQ(w.txtPoids->text(), QStringLiteral("70,25"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("« Âge »"));
    typeAndLeave(w.txtAge, "abc");
    EXPECT_FLOAT_EQ(p.Age, 18.5f);
    EXPECT_EQ(w.txtAge->text(), QStringLiteral("18,5"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("« Apparence »"));
    TypeOver(w.txtApparence, QString());
    QTest::keyClick(w.txtApparence, Qt::Key_Delete);
    Focus(w.txtApparence, QEvent::FocusOut, Qt::TabFocusReason);
    EXPECT_EQ(p.Apparence, 12);
    EXPECT_EQ(w.txtApparence->text(), QStringLiteral("12"));
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::MsgBox), 3);
}

// Closing the sheet with a figure past its range in the box being typed:
// the message comes while the sheet is still on screen.
TEST_F(SheetTest, ClosingTheSheetSettlesTheFigureBeingTyped)
{
    OpenRules();
    frmGeneral &w = Load();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    QLineEdit *box = w.Stat_ID[AG][4];
    box->setFocus();
    QTest::keyClicks(box, QStringLiteral("0000"));   // "10000", then past the room
    QTest::keyClicks(box, QStringLiteral("0"));
    struct SeeingPorts : ScriptedPorts {
        const QWidget *sheet = nullptr;
        bool shown = false;
        int MsgBox(const QString &text, int style, const QString &title) override
        {
            shown = sheet->isVisible();
            return ScriptedPorts::MsgBox(text, style, title);
        }
    } seeing;
    seeing.sheet = &w;
    seeing.answerMsgBox(ports::Ok, QStringLiteral("-32768 et 32765"));
    ports::install(&seeing);
    w.close();
    ports::install(&*ui);
    EXPECT_EQ(seeing.count(ScriptedPorts::Kind::MsgBox), 1);
    EXPECT_TRUE(seeing.shown);
    EXPECT_EQ(P().DirStats(2, AG), 1);
}
