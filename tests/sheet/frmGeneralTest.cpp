// The character sheet as a whole: what a load shows, what it writes back, the
// progress window, errors, the window's events, and the identity and money
// boxes.
#include "SheetFixture.h"

#include "character/Players.h"
#include "mainwindow/frmMain.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <QTextCursor>

using namespace sheettest;

namespace {

std::vector<int> ProgressValues(ScriptedPorts &ui)
{
    std::vector<int> values;
    for (const auto &c : ui.callsOf(ScriptedPorts::Kind::ProgressValue))
        values.push_back(c.style);
    return values;
}

QStringList MoneyTexts(frmGeneral &w)
{
    QStringList texts;
    for (QLineEdit *e : w.txtMoney)
        texts << e->text();
    return texts;
}

} // namespace

TEST_F(SheetTest, LoadShowsTheIdentityPanelAndWritesNothingNew)
{
    OpenRules();
    frmGeneral &w = Load();

    EXPECT_EQ(w.windowTitle(), QStringLiteral("Aëlis (Général)"));
    EXPECT_EQ(w.txtNom->text(), QStringLiteral("Aëlis"));
    EXPECT_EQ(w.txtRace->text(), QStringLiteral("Collinien"));
    EXPECT_EQ(w.txtProfession->text(), QStringLiteral("Guerrier"));
    EXPECT_EQ(w.txtRoyaume->text(), QStringLiteral("Théurgie"));
    EXPECT_EQ(w.txtPdeC->text(), QStringLiteral("25"));
    EXPECT_EQ(w.txtPdeP->text(), QStringLiteral("12"));
    EXPECT_EQ(w.txtExperience->text(), QStringLiteral("55000"));
    EXPECT_EQ(w.txtNiveau->text(), QStringLiteral("5"));
    // Regional settings: a French decimal comma, no grouping, no ",0".
    EXPECT_EQ(w.txtAge->text(), QStringLiteral("18,5"));
    EXPECT_EQ(w.txtGrandeur->text(), QStringLiteral("1,85"));
    EXPECT_EQ(w.txtPoids->text(), QStringLiteral("61,5"));
    EXPECT_EQ(w.txtApparence->text(), QStringLiteral("7"));
    EXPECT_EQ(w.txtCheveux->text(), QStringLiteral("auburn"));
    // Texts longer than their box show their beginning.
    for (const QLineEdit *e : {w.txtNom, w.txtCheveux, w.txtYeux})
        EXPECT_EQ(e->cursorPosition(), 0) << e->objectName().toStdString();
    EXPECT_TRUE(w.optSex[1]->isChecked());
    EXPECT_FALSE(w.optSex[0]->isChecked());
    EXPECT_FALSE(w.optSex[0]->isEnabled());
    EXPECT_EQ(w.txtHistorique->toPlainText(), QStringLiteral("Née au bord du lac."));

    // The table keeps its rows out of order; each label still names its row.
    const char *const names[10] = {"Agilité", "Constitution", "Mémoire", "Raisonnement", "Autodiscipline",
                                   "Empathie", "Intuition", "Présence", "Rapidité", "Force"};
    for (int s = 0; s < 10; ++s) {
        EXPECT_EQ(w.labCar[s]->text(), QString::fromUtf8(names[s])) << s;
        EXPECT_EQ(w.labCar[s]->toolTip(), QString::fromUtf8(names[s])) << s;
    }

    EXPECT_EQ(P().Experience, 55000);
    EXPECT_FLOAT_EQ(P().Grandeur, 1.85f);
    EXPECT_EQ(P().Armure, 14);
    EXPECT_EQ(P().Bouclier, 3);
    EXPECT_EQ(P().Casque, 10);
    EXPECT_EQ(P().Money, 25000);
}

TEST_F(SheetTest, ProgressRunsItsStepsAndIsClosedOnEveryPath)
{
    OpenRules();
    Load();
    EXPECT_EQ(ProgressValues(*ui), (std::vector<int>{0, 10, 30, 40, 50, 60, 70, 80, 90, 100}));
    const auto shown = ui->callsOf(ScriptedPorts::Kind::ProgressShow);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text, QStringLiteral("Chargement"));
    EXPECT_EQ(shown[0].style, 100);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ProgressClose), 1);
    EXPECT_EQ(ui->calls().back().kind, ScriptedPorts::Kind::ProgressClose);
}

TEST_F(SheetTest, AnErrorInTheRulesEndsTheLoadWithOneBoxAndNoProgressWindow)
{
    OpenRules();
    P().Profession_ID = 2;   // a profession without a name
    ui->expectError(QStringLiteral("frmGeneral.LoadData"), vb::ErrInvalidUseOfNull);
    frmGeneral &w = Load();

    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 1);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ProgressClose), 1);
    EXPECT_EQ(ProgressValues(*ui), (std::vector<int>{0, 10}));
    // Filled up to the failing step, nothing after it.
    EXPECT_EQ(w.txtRace->text(), QStringLiteral("Collinien"));
    EXPECT_TRUE(w.txtRoyaume->text().isEmpty());
    EXPECT_TRUE(w.txtExperience->text().isEmpty());
    EXPECT_TRUE(w.Stat_ID[AG][0]->text().isEmpty());
    EXPECT_EQ(w.lstArmor->count(), 0);
    EXPECT_EQ(P().Armure, 14);
}

TEST_F(SheetTest, ARaceTheRulesLackLeavesItsBoxesEmptyAndTheRestLoads)
{
    OpenRules();
    P().Race_ID = 99;
    frmGeneral &w = Load();
    EXPECT_TRUE(w.txtRace->text().isEmpty());
    EXPECT_TRUE(w.Stat_ID[CO][3]->text().isEmpty());
    EXPECT_TRUE(w.Resistance[5][1]->text().isEmpty());
    EXPECT_EQ(w.Resistance[5][0]->text(), QStringLiteral("15"));
    EXPECT_EQ(w.lstArmor->currentIndex(), 13);
}

TEST_F(SheetTest, AnEmptyNameGivesACaptionThatStartsWithTheBlank)
{
    OpenRules();
    P().Nom.clear();
    frmGeneral &w = Load();
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" (Général)"));
    w.txtNom->setText(QStringLiteral("Brann"));
    EXPECT_EQ(P().Nom, QStringLiteral("Brann"));
    EXPECT_EQ(w.windowTitle(), QStringLiteral(" (Général)"));
}

TEST_F(SheetTest, ASecondLoadLeavesTheRecordAsItWas)
{
    OpenRules();
    P().Grandeur = 1.8500001f;    // more digits than the box shows
    P().Historique = QStringLiteral("ligne un\r\nligne deux");
    P().Casque = 2;               // a code the sheet never writes
    P().Money = -12345;
    Load();
    const Personnage before = P();
    Load();
    const Personnage &after = P();
    EXPECT_EQ(after.Nom, before.Nom);
    EXPECT_EQ(after.Experience, before.Experience);
    EXPECT_EQ(after.Grandeur, 1.8500001f);
    EXPECT_EQ(after.Historique.toString(), QStringLiteral("ligne un\r\nligne deux"));
    EXPECT_EQ(after.Casque, 2);
    EXPECT_EQ(after.Money, -12345);
    EXPECT_EQ(after.Armure, 14);
    EXPECT_EQ(after.Bouclier, 3);
    for (qint16 s = 0; s < 10; ++s)
        for (qint16 k = 0; k < 3; ++k)
            EXPECT_EQ(P().DirStats(k, s), const_cast<Personnage &>(before).DirStats(k, s)) << s << k;
    for (qint16 k = 1; k <= 9; ++k)
        EXPECT_EQ(P().DirResistanceSpecial(k), qint16(k - 3));
}

TEST_F(SheetTest, ExperienceIsReadLenientlyAndShowsItsLevel)
{
    OpenRules();
    frmGeneral &w = Load();
    struct Case {
        const char *typed;
        qint32 stored;
        const char *level;
    };
    const Case cases[] = {
        {"1 500", 1500, "0"}, {"1,5", 1, "0"},   {"2.5", 2, "0"},     {"3.5", 4, "0"},
        {"12abc", 12, "0"},   {"", 0, "0"},      {"55000", 55000, "5"},
    };
    for (const Case &c : cases) {
        w.txtExperience->setText(QString::fromUtf8(c.typed));
        EXPECT_EQ(P().Experience, c.stored) << c.typed;
        EXPECT_EQ(w.txtNiveau->text(), QString::fromLatin1(c.level)) << c.typed;
    }
    // Beyond the record's range the last value stays.
    w.txtExperience->setText(QStringLiteral("99999999999"));
    EXPECT_EQ(P().Experience, 55000);
}

TEST_F(SheetTest, PhysiqueFollowsTheRegionalSettings)
{
    OpenRules();
    frmGeneral &w = Load();
    w.txtGrandeur->setText(QStringLiteral("1,92"));
    EXPECT_FLOAT_EQ(P().Grandeur, 1.92f);
    w.txtAge->setText(QStringLiteral("21"));
    EXPECT_FLOAT_EQ(P().Age, 21.0f);
    // Unreadable text keeps the last number until the box holds one again.
    w.txtPoids->setText(QString());
    w.txtPoids->setText(QStringLiteral("x"));
    EXPECT_FLOAT_EQ(P().Poids, 61.5f);
    w.txtApparence->setText(QStringLiteral("2,5"));
    EXPECT_EQ(P().Apparence, 2);
    w.txtApparence->setText(QStringLiteral("3,5"));
    EXPECT_EQ(P().Apparence, 4);
    w.txtApparence->setText(QStringLiteral("40000"));
    EXPECT_EQ(P().Apparence, 4);
    w.txtYeux->setText(QStringLiteral(" verts "));
    EXPECT_EQ(P().Yeux, QStringLiteral(" verts "));
    w.txtHistorique->clear();
    QTest::keyClicks(w.txtHistorique, QStringLiteral("x"));
    EXPECT_EQ(P().Historique.toString(), QStringLiteral("x"));

    // With the interface in English the numbers stay the numbers.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    Load();
    EXPECT_EQ(w.txtGrandeur->text(), QStringLiteral("1.92"));
    EXPECT_FLOAT_EQ(P().Grandeur, 1.92f);
}

TEST_F(SheetTest, AnEmptyHistoryIsNotShown)
{
    OpenRules();
    P().Historique = QVariant();
    frmGeneral &w = Load();
    EXPECT_TRUE(w.txtHistorique->toPlainText().isEmpty());
    EXPECT_FALSE(P().Historique.isValid());
}

TEST_F(SheetTest, ATypedHistoryKeepsItsCharactersAndItsLines)
{
    OpenRules();
    P().Historique = QStringLiteral("Née\u00A0: au lac\r\nDeux");
    frmGeneral &w = Load();
    w.txtHistorique->moveCursor(QTextCursor::End);
    QTest::keyClicks(w.txtHistorique, QStringLiteral("x"));
    // No-break spaces stay what they were; lines keep their CR LF.
    EXPECT_EQ(P().Historique.toString(), QStringLiteral("Née\u00A0: au lac\r\nDeuxx"));
    // A soft line break is a line break like any other.
    QTest::keyClick(w.txtHistorique, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClicks(w.txtHistorique, QStringLiteral("y"));
    EXPECT_EQ(P().Historique.toString(), QStringLiteral("Née\u00A0: au lac\r\nDeuxx\r\ny"));
}

// ------------------------------------------------------------------ money

TEST_F(SheetTest, MoneyShowsItsCoinsAndKeepsTheAmount)
{
    OpenRules();
    struct Case {
        qint32 money;
        QStringList boxes;
    };
    const Case cases[] = {
        {20000, {"2", "0", "0", "0", "0"}},
        {25000, {"2", "5", "0", "0", "0"}},
        {12345678, {"1234", "5", "6", "7", "8"}},
        {5, {"0", "0", "0", "0", "5"}},
        {0, {"0", "0", "0", "0", "0"}},
        {-12345, {"-1", "-2", "-3", "-4", "-5"}},
    };
    for (const Case &c : cases) {
        P().Money = c.money;
        frmGeneral &w = Load();
        EXPECT_EQ(MoneyTexts(w), c.boxes) << c.money;
        EXPECT_EQ(P().Money, c.money);
    }
}

TEST_F(SheetTest, EachCoinBoxReplacesItsPlace)
{
    OpenRules();
    struct Case {
        int box;
        const char *typed;
        qint32 after;
    };
    const Case cases[] = {
        {0, "3", 30345}, {0, "123", 1230345}, {0, "0", 345}, {1, "7", 27345},
        {2, "12", 21245}, {3, "9", 20395},    {4, "0", 20340},
        // An empty box or a sign alone, on the way to a count, counts 0;
        // text that is no whole number leaves the fortune as it was.
        {1, "", 20345 - 0},   {2, "abc", 20345}, {3, "4.5", 20345}, {0, "-", 345},
        // An amount the record cannot hold leaves the fortune as it was.
        {0, "214749", 20345}, {0, "99999999999999999999", 20345},
    };
    for (const Case &c : cases) {
        P().Money = 20345;
        frmGeneral &w = Load();
        w.txtMoney[c.box]->setText(QString::fromLatin1(c.typed));
        EXPECT_EQ(P().Money, c.after) << c.box << " " << c.typed;
        if (c.box == 2 && QLatin1String(c.typed) == QLatin1String("12")) {
            EXPECT_EQ(w.txtMoney[0]->text(), QStringLiteral("2"));
            EXPECT_EQ(w.txtMoney[1]->text(), QStringLiteral("0"));
        }
    }
    P().Money = 20345;
    frmGeneral &w = Load();
    w.txtMoney[0]->setText(QStringLiteral("214748"));
    EXPECT_EQ(P().Money, 2147480345);
    // Typed key by key, a count replaces the place of the amount held when
    // the box was entered: 20345 - 3 x 100 + 123 x 100, as set at once.
    P().Money = 20345;
    frmGeneral &typed = Load();
    QFocusEvent in(QEvent::FocusIn, Qt::MouseFocusReason);
    QCoreApplication::sendEvent(typed.txtMoney[2], &in);
    QTest::keyClick(typed.txtMoney[2], Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(typed.txtMoney[2], QStringLiteral("123"));
    EXPECT_EQ(P().Money, 32345);
}

// ------------------------------------------------------------------ window events

TEST_F(SheetTest, ActivationMakesTheCharacterCurrentAndClosingForgetsIt)
{
    OpenRules();
    frmMain main;
    ModGeneral::Players.resize(3);
    ModGeneral::PlayerCount = 3;
    MakeCharacter(ModGeneral::Players(3));
    auto *w = new frmGeneral;
    w->setTag(QStringLiteral("3"));
    w->LoadData();
    main.Present(w);
    w->Form_Activate();
    EXPECT_EQ(main.Tag(), QStringLiteral("3"));
    for (int b : {3, 5, 8, 10})
        EXPECT_TRUE(main.Button(b)->isEnabled()) << b;
    EXPECT_FALSE(main.Button(7)->isEnabled());

    main.setTag(QString());
    w->txtNom->setFocus();
    QEvent focus(QEvent::FocusIn);
    QCoreApplication::sendEvent(w->txtNom, &focus);
    EXPECT_EQ(main.Tag(), QStringLiteral("3"));

    w->parentWidget()->close();
    EXPECT_TRUE(main.Tag().isEmpty());
    for (int b : {3, 5, 7, 8, 10})
        EXPECT_FALSE(main.Button(b)->isEnabled()) << b;
}
