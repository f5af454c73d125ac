// Figures typed past what the record can hold, in the new-character steps:
// a clear message or the old value, never a run-time error or a record
// holding an infinite or off-scale value.
#include "newcharacter/NewCharFixture.h"

#include "character/Players.h"
#include "newcharacter/frmCharacter.h"
#include "newcharacter/frmStatChoises.h"
#include "frame/ui/LoadFormStrings.h"
#include "platform/Strings.h"

#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

namespace {

using Kind = ScriptedPorts::Kind;

class TypedFiguresTest : public NewCharFixture {
protected:
    void SetUp() override
    {
        NewCharFixture::SetUp();
        n = newCharacter();
        Personnage &p = ModGeneral::Players(n);
        p.Profession_ID = 1;
        p.Culture_ID = 1;
        p.Race_ID = 1;
        p.Age = 18;
        p.Grandeur = 1.8f;
        p.Poids = 70;
    }
    void TearDown() override
    {
        delete stats.data();
        NewCharFixture::TearDown();
    }
    frmStatChoises &openStats()
    {
        stats = new frmStatChoises;
        stats->setTag(QString::number(n));
        stats->LoadData();
        for (QLineEdit *die : stats->tbDieRollT)
            die->setText(QStringLiteral("5"));
        return *stats;
    }
    static void leave(QLineEdit *box)
    {
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(box, &out);
    }
    int n = 0;
    QPointer<frmStatChoises> stats;
};

TEST_F(TypedFiguresTest, IdentityKeepsAgeAndWeightThatNoFractionHolds)
{
    Dice::setRolls({5, 5, 5, 5, 5});
    frmCharacter dlg;
    setTag(&dlg, QString::number(n));
    dlg.LoadData();
    Personnage &p = ModGeneral::Players(n);
    for (const char *text : {"1e999", "-1e999", "1e39"}) {
        dlg.txtAge->setText(QStringLiteral("21"));
        dlg.txtAge->setText(QString::fromLatin1(text));
        EXPECT_EQ(p.Age, 21.0f) << text;
        dlg.txtPoids->setText(QStringLiteral("80"));
        dlg.txtPoids->setText(QString::fromLatin1(text));
        EXPECT_EQ(p.Poids, 80.0f) << text;
    }
    // Read leniently as before while it fits.
    dlg.txtAge->setText(QStringLiteral("19 ans"));
    EXPECT_EQ(p.Age, 19.0f);
    dlg.txtPoids->setText(QStringLiteral("-2"));
    EXPECT_EQ(p.Poids, -2.0f);
    EXPECT_TRUE(ui->errors().empty());
}

TEST_F(TypedFiguresTest, IdentityKeepsNoFigureTheSheetCouldNotShow)
{
    Dice::setRolls({5, 5, 5, 5, 5});
    frmCharacter dlg;
    setTag(&dlg, QString::number(n));
    dlg.LoadData();
    Personnage &p = ModGeneral::Players(n);
    const auto typeOver = [](QLineEdit *box, const char *text) {
        box->selectAll();
        QTest::keyClicks(box, QString::fromLatin1(text));
    };
    // Key by key: "1e3" fits, "1e30" does not; the record goes back to the
    // age from before the entry, and OK says which box and range.
    typeOver(dlg.txtAge, "1e30");
    EXPECT_EQ(p.Age, 18.0f);
    ui->answerMsgBox(ports::Ok, QStringLiteral("999999"));
    dlg.bntOk_Click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    // As the message says, the box shows the stored value again.
    EXPECT_EQ(dlg.txtAge->text(), QStringLiteral("18"));
    typeOver(dlg.txtAge, "20");
    typeOver(dlg.txtApparence, "40000");
    ui->answerMsgBox(ports::Ok, QStringLiteral("32767"));
    dlg.bntOk_Click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    // The appearance rolled: Pr 0 - 25 + five 1s (d100 rolls of 5).
    EXPECT_EQ(dlg.txtApparence->text(), QStringLiteral("-20"));
    typeOver(dlg.txtApparence, "40");
    dlg.bntOk_Click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(p.Age, 20.0f);
    EXPECT_EQ(p.Apparence, 40);
    const auto boxes = ui->callsOf(Kind::MsgBox);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_TRUE(boxes.front().text.contains(Strings::Load(9255)));

    // A presence at the top of its range rolls no appearance OK would refuse:
    // 32767 - 25 + five 10s is held at 32767.
    p.AddStat(1, 7, 32767);
    Dice::setRolls({100, 100, 100, 100, 100});
    frmCharacter top;
    setTag(&top, QString::number(n));
    top.LoadData();
    EXPECT_EQ(top.txtApparence->text(), QStringLiteral("32767"));
    top.bntOk_Click();
    EXPECT_EQ(top.result(), QDialog::Accepted);
    EXPECT_EQ(p.Apparence, 32767);
}

TEST_F(TypedFiguresTest, ADieTypedPastAnyNumberLeavesThePoolUntilItsBoxIsLeft)
{
    frmStatChoises &s = openStats();
    ASSERT_EQ(s.tbStatPointsTotal[0]->text(), QStringLiteral("650"));
    for (const char *text : {"99999999999", "1e999", "-1e999", "&HFFFFFFFF"}) {
        s.tbDieRollT[4]->setText(QString::fromLatin1(text));
        EXPECT_EQ(s.tbStatPointsTotal[0]->text(), QStringLiteral("650")) << text;
        leave(s.tbDieRollT[4]);
        EXPECT_TRUE(s.tbDieRollT[4]->text() == QStringLiteral("10") || s.tbDieRollT[4]->text() == QStringLiteral("1"))
            << text << " -> " << s.tbDieRollT[4]->text().toStdString();
        EXPECT_EQ(s.tbStatPointsTotal[0]->text(), QString::number(645 + s.tbDieRollT[4]->text().toInt())) << text;
        s.tbDieRollT[4]->setText(QStringLiteral("5"));
    }
    EXPECT_TRUE(ui->errors().empty());
}

TEST_F(TypedFiguresTest, APotentialPast16BitsIsRefusedBeforeAnythingIsStored)
{
    frmStatChoises &s = openStats();
    s.btnNext_Click();
    ASSERT_EQ(s.Phase(), QStringLiteral("Potentiel"));
    for (int i = 0; i < 10; ++i)
        s.txtStatisticsP[i]->setText(QStringLiteral("80"));
    for (const char *text : {"32768", "-32769", "1e10"}) {
        s.txtStatisticsP[6]->setText(QString::fromLatin1(text));
        ui->answerMsgBox(ports::Ok, QStringLiteral("-32768 à 32767"));
        s.btnNext_Click();
        EXPECT_EQ(ModGeneral::Players(n).DirStats(1, 6), 0) << text;
        EXPECT_EQ(ModGeneral::Players(n).DirStats(0, 0), 0) << text;
    }
    const auto boxes = ui->callsOf(Kind::MsgBox);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_TRUE(boxes.back().text.endsWith(s.Statistics[6]->text())) << boxes.back().text.toStdString();
    EXPECT_TRUE(ui->errors().empty());
}

} // namespace
