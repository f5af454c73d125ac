// The statistic gain choice handing over to the rolls, and the identity dialog.
#include "NewCharFixture.h"

#include "character/Players.h"
#include "frame/ui/LoadFormStrings.h"
#include "newcharacter/frmCharacter.h"
#include "newcharacter/frmStatGain.h"
#include "newcharacter/frmStatGainRolls.h"
#include "platform/Strings.h"
#include "support/ModalDriver.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QLocale>
#include <QFocusEvent>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>
#include <QToolBar>

namespace {

using Kind = ScriptedPorts::Kind;

using StatGainChoiceTest = NewCharFixture;

TEST_F(StatGainChoiceTest, OkHandsOverToTheRollsOfTheTickedStatisticsOnly)
{
    const int n = newCharacter();
    Personnage &p = ModGeneral::Players(n);
    for (int i = 0; i < 10; ++i) {
        p.AddStat(0, static_cast<qint16>(i), 50);
        p.AddStat(1, static_cast<qint16>(i), 90);
    }
    frmStatGain dlg;
    dlg.ckStat[2]->setChecked(true);   // the package's own statistic: ticked and fixed
    dlg.ckStat[2]->setEnabled(false);
    dlg.labChoix->setText(QStringLiteral("1"));
    setTag(&dlg, QString::number(n));
    dlg.LoadData();
    EXPECT_EQ(dlg.labChoix->property("Tag").toString(), QStringLiteral("1"));

    std::array<bool, 10> enabledInRolls{};
    ModalDriver driver;
    driver
        .then([](QWidget *w) {
            auto *choice = qobject_cast<frmStatGain *>(w);
            ASSERT_NE(choice, nullptr);
            choice->ckStat[6]->setChecked(true);   // the one of choice: everything freezes
            for (QCheckBox *box : choice->ckStat)
                EXPECT_FALSE(box->isEnabled());
            // Clicked after this step returns: the rolls open a modal loop of their own.
            QTimer::singleShot(0, choice->btnOk, &QPushButton::click);
        })
        .then([&enabledInRolls](QWidget *w) {
            auto *rolls = qobject_cast<frmStatGainRolls *>(w);
            ASSERT_NE(rolls, nullptr);
            for (int i = 0; i < 10; ++i)
                enabledInRolls[i] = rolls->txtDie[i]->isEnabled() && rolls->txtDie[i + 10]->isEnabled()
                    && rolls->txtResultat[i]->isEnabled();
            rolls->txtDie[2]->setText(QStringLiteral("3"));
            rolls->txtDie[12]->setText(QStringLiteral("9"));
            rolls->txtDie[6]->setText(QStringLiteral("5"));
            rolls->txtDie[16]->setText(QStringLiteral("5"));
            rolls->btnOk->click();
        });
    EXPECT_EQ(dlg.exec(), QDialog::Accepted);
    EXPECT_TRUE(driver.allStepsRan());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(enabledInRolls[i], i == 2 || i == 6) << i;
    EXPECT_EQ(p.DirStats(0, 2), 62);
    EXPECT_EQ(p.DirStats(0, 6), 45);
    EXPECT_EQ(p.DirStats(0, 0), 50);
    EXPECT_EQ(dlg.Ticked(), (std::vector<int>{2, 6}));
}

TEST_F(StatGainChoiceTest, LabelKeepsTheCountOnlyForZeroOneOrTwo)
{
    frmStatGain two;
    two.labChoix->setText(QStringLiteral("2"));
    two.LoadData();
    EXPECT_EQ(two.labChoix->text(), QStringLiteral("2 ") + Strings::Load(3591));
    two.ckStat[0]->setChecked(true);
    EXPECT_TRUE(two.ckStat[1]->isEnabled());
    ui->answerMsgBox(ports::Ok, Strings::Load(5066));
    two.btnOk_Click();
    EXPECT_NE(two.result(), QDialog::Accepted);
    EXPECT_EQ(ui->callsOf(Kind::MsgBox).back().title, QStringLiteral("Quorvane"));

    frmStatGain none;
    none.labChoix->setProperty("Tag", QStringLiteral("x"));
    none.labChoix->setText(QStringLiteral("0"));
    none.LoadData();
    EXPECT_TRUE(none.labChoix->text().isEmpty());
    EXPECT_EQ(none.labChoix->property("Tag").toString(), QStringLiteral("0"));

    frmStatGain other;
    other.labChoix->setProperty("Tag", QStringLiteral("x"));
    other.labChoix->setText(QStringLiteral("3"));
    other.LoadData();
    EXPECT_EQ(other.labChoix->text(), QStringLiteral("3"));
    EXPECT_EQ(other.labChoix->property("Tag").toString(), QStringLiteral("x"));
}

class IdentityTest : public NewCharFixture {
protected:
    int n = 0;
    void SetUp() override
    {
        NewCharFixture::SetUp();
        n = newCharacter();
        Personnage &p = ModGeneral::Players(n);
        p.Nom = QStringLiteral("Aldo");
        p.Age = 18;
        p.Grandeur = 1.82f;
        p.Poids = 68.1f;
        p.Apparence = 7;
        p.AddStat(1, 7, 50);
    }
};

TEST_F(IdentityTest, AppearanceIsPresencePotentialPlusFiveDiceAndIsStoredOnClose)
{
    for (const auto &[rolls, expected] : std::vector<std::pair<std::vector<int>, int>>{
             {{1, 1, 1, 1, 1}, 30}, {{10, 10, 10, 10, 10}, 75}, {{3, 9, 4, 1, 6}, 48}}) {
        d10(rolls);
        frmCharacter dlg;
        setTag(&dlg, QString::number(n));
        dlg.LoadData();
        EXPECT_EQ(dlg.txtApparence->text(), QString::number(expected));
        EXPECT_EQ(ModGeneral::Players(n).Apparence, 7);   // not before the dialog closes
        EXPECT_EQ(dlg.txtNom->text(), QStringLiteral("Aldo"));
        EXPECT_EQ(dlg.txtGrandeur->text(), QStringLiteral("1.82"));
        EXPECT_EQ(dlg.txtPoids->text(), QStringLiteral("68.1"));
        dlg.bntOk_Click();
        EXPECT_EQ(ModGeneral::Players(n).Apparence, expected);
        ModGeneral::Players(n).Apparence = 7;
    }
}

TEST_F(IdentityTest, TypingWritesAsItGoesAndTheCloseBoxStoresLikeOk)
{
    d10({5, 5, 5, 5, 5});
    frmCharacter dlg;
    setTag(&dlg, QString::number(n));
    dlg.LoadData();
    Personnage &p = ModGeneral::Players(n);
    dlg.txtNom->clear();
    QTest::keyClicks(dlg.txtNom, QStringLiteral("Brune"));
    EXPECT_EQ(p.Nom, QStringLiteral("Brune"));
    dlg.txtAge->clear();
    EXPECT_EQ(p.Age, 0.0f);   // an empty age reads 0 while typing
    QTest::keyClicks(dlg.txtAge, QStringLiteral("23"));
    EXPECT_EQ(p.Age, 23.0f);
    dlg.txtGrandeur->setText(QStringLiteral("1."));
    dlg.txtGrandeur->setText(QStringLiteral("1.x"));
    EXPECT_FLOAT_EQ(p.Grandeur, 1.0f);   // half-typed text keeps the last number
    dlg.txtGrandeur->setText(QStringLiteral("1.75"));
    dlg.txtPoids->setText(QStringLiteral("70kg"));
    EXPECT_FLOAT_EQ(p.Poids, 70.0f);

    dlg.show();
    ui->answerMsgBox(ports::Ok, Strings::Load(3018));   // "70kg" is no weight to store
    dlg.close();
    EXPECT_TRUE(dlg.isVisible());
    dlg.txtPoids->setText(QStringLiteral("71"));
    dlg.close();
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(p.Nom, QStringLiteral("Brune"));
    EXPECT_EQ(p.Age, 23.0f);
    EXPECT_FLOAT_EQ(p.Grandeur, 1.75f);
    EXPECT_FLOAT_EQ(p.Poids, 71.0f);
    EXPECT_EQ(p.Apparence, 50);
}

// Typing on past the range, key by key, then OK: the refusal gives the box
// and the record back the figure from before the entry, never the last one
// that fitted (123456), which a second OK would then have taken. A message
// taking the focus for a while in the midst of the entry does not end it.
TEST_F(IdentityTest, TypingPastTheRangeGivesBackTheFigureFromBeforeTheEntry)
{
    d10({5, 5, 5, 5, 5});
    frmCharacter dlg;
    setTag(&dlg, QString::number(n));
    dlg.LoadData();
    Personnage &p = ModGeneral::Players(n);
    const auto focus = [](QLineEdit *box, QEvent::Type type, Qt::FocusReason reason) {
        QFocusEvent e(type, reason);
        QCoreApplication::sendEvent(box, &e);
    };
    struct Case {
        QLineEdit *box;
        const float *field;
        const char *before;
        float kept;
        bool message;   // a message takes the focus after "30" was typed
    };
    for (const Case &c : {Case{dlg.txtAge, &p.Age, "18", 18.0f, false}, Case{dlg.txtGrandeur, &p.Grandeur, "1.82", 1.82f, false},
                          Case{dlg.txtPoids, &p.Poids, "68.1", 68.1f, false}, Case{dlg.txtAge, &p.Age, "18", 18.0f, true}}) {
        focus(c.box, QEvent::FocusIn, Qt::MouseFocusReason);
        c.box->selectAll();
        if (c.message) {
            QTest::keyClicks(c.box, QStringLiteral("30"));
            focus(c.box, QEvent::FocusOut, Qt::ActiveWindowFocusReason);
            focus(c.box, QEvent::FocusIn, Qt::ActiveWindowFocusReason);
        }
        QTest::keyClicks(c.box, QStringLiteral("1234567"));
        EXPECT_FLOAT_EQ(*c.field, c.kept) << c.before;
        ui->answerMsgBox(ports::Ok, QStringLiteral("999999"));
        dlg.bntOk->click();
        EXPECT_NE(dlg.result(), QDialog::Accepted) << c.before;
        EXPECT_EQ(c.box->text(), QLatin1String(c.before));
        EXPECT_FLOAT_EQ(*c.field, c.kept) << c.before;
        focus(c.box, QEvent::FocusOut, Qt::MouseFocusReason);
    }
    dlg.bntOk->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(p.Age, 18.0f);
    EXPECT_FLOAT_EQ(p.Grandeur, 1.82f);
    EXPECT_FLOAT_EQ(p.Poids, 68.1f);

    // With a comma for the decimals the record keeps them from the start, so
    // a refused weight gives back 68,1, not the 68 before the comma.
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
    frmCharacter fr;
    setTag(&fr, QString::number(n));
    fr.LoadData();
    EXPECT_EQ(fr.txtPoids->text(), QStringLiteral("68,1"));
    fr.txtPoids->selectAll();
    QTest::keyClicks(fr.txtPoids, QStringLiteral("1234567"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("999999"));
    fr.bntOk->click();
    EXPECT_EQ(fr.txtPoids->text(), QStringLiteral("68,1"));
    EXPECT_FLOAT_EQ(p.Poids, 68.1f);
}

TEST_F(IdentityTest, OpenButtonPlaceholderCarriesTheProgramTitle)
{
    frmCharacter dlg;
    ui->answerMsgBox(ports::Ok, QStringLiteral("Add 'Open' button code."));
    dlg.Toolbar1->actions().front()->trigger();
    ASSERT_EQ(ui->count(Kind::MsgBox), 1);
    EXPECT_EQ(ui->callsOf(Kind::MsgBox).back().title, QStringLiteral("Quorvane"));
}

} // namespace
