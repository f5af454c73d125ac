// The one-list chooser and the statistic gain choice, as real windows.
#include "character/TransferFixture.h"

#include "background/TransferChoices.h"
#include "background/frmArmeAdolescence.h"
#include "character/Players.h"
#include "frame/ui/LoadFormStrings.h"
#include "newcharacter/frmStatGain.h"
#include "newcharacter/frmStatGainRolls.h"
#include "platform/Strings.h"
#include "support/ModalDriver.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Kind = ScriptedPorts::Kind;

class ChoiceWindowsTest : public ::testing::Test {
protected:
    TransferRules rules;
    ScriptedPortsScope ui;
    void SetUp() override
    {
        ModGeneral::Players.clear();
        ModGeneral::Players.resize(1);
    }
    void TearDown() override { ModGeneral::Players.clear(); }
};

TEST_F(ChoiceWindowsTest, StatGainFreezesOnceTheChoiceIsMadeAndOkThenAccepts)
{
    frmStatGain dlg;
    EXPECT_EQ(dlg.ckStat[0]->text(), QStringLiteral("Agilité"));
    EXPECT_EQ(dlg.windowTitle(), Strings::Load(5065));
    EXPECT_EQ(dlg.btnOk->text(), Strings::Load(1045));
    dlg.ckStat[3]->setChecked(true);      // granted by the package
    dlg.ckStat[3]->setEnabled(false);
    dlg.labChoix->setText(QStringLiteral("2"));
    dlg.LoadData();
    EXPECT_EQ(dlg.labChoix->text(), QStringLiteral("2 ") + Strings::Load(3591));

    dlg.ckStat[5]->setChecked(true);      // one of two: the rest stays open
    EXPECT_TRUE(dlg.ckStat[6]->isEnabled());
    ui->answerMsgBox(ports::Ok, Strings::Load(5066));
    dlg.btnOk_Click();
    EXPECT_EQ(ui->count(Kind::MsgBox), 1);
    EXPECT_TRUE(dlg.Ticked().empty());

    dlg.ckStat[5]->setChecked(false);     // a tick can be taken back
    dlg.ckStat[1]->setChecked(true);
    dlg.ckStat[8]->setChecked(true);
    for (QCheckBox *box : dlg.ckStat)
        EXPECT_FALSE(box->isEnabled());
    dlg.btnOk_Click();
    EXPECT_EQ(dlg.Ticked(), (std::vector<int>{1, 3, 8}));
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
}

TEST_F(ChoiceWindowsTest, StatGainWithNothingToChooseIsCompleteAtOnce)
{
    for (const char *count : {"", "0", "12"}) {
        frmStatGain dlg;
        dlg.ckStat[2]->setChecked(true);
        dlg.ckStat[2]->setEnabled(false);
        dlg.labChoix->setText(QString::fromLatin1(count));
        dlg.LoadData();
        if (QByteArray(count) == "12") {
            for (int i = 0; i < 10; ++i)
                if (i != 2)
                    dlg.ckStat[i]->setChecked(true);   // every free box: complete
        }
        dlg.btnOk_Click();                // no 5066: nothing is left to choose
        EXPECT_EQ(dlg.result(), QDialog::Accepted) << count;
    }
    EXPECT_EQ(ui->count(Kind::MsgBox), 0);
}

TEST_F(ChoiceWindowsTest, ChooserListsItsModeAndOkWritesTheChoice)
{
    Personnage &p = ModGeneral::Players(1);
    p.PointsBO = 49;
    frmArmeAdolescence cats;
    setTag(&cats, QStringLiteral("1"));
    cats.LoadData();
    ASSERT_EQ(cats.lstArme->count(), 7);
    EXPECT_EQ(cats.lstArme->itemText(0), QStringLiteral("Arcs"));
    EXPECT_EQ(cats.lstArme->currentIndex(), 0);
    cats.lstArme->setCurrentIndex(2);
    cats.btnOk_Click();
    EXPECT_EQ(p.PointsBO, 50);

    p.PointsBO = 226;
    ModGeneral::WeaponChoiceArgs[0] = 226;
    ModGeneral::WeaponChoiceArgs[2] = 3;
    frmArmeAdolescence weapons;
    setTag(&weapons, QStringLiteral("1"));
    weapons.LoadData();
    ASSERT_EQ(weapons.lstArme->count(), 2);
    weapons.btnOk_Click();                // the first row: "Lame courte"
    EXPECT_EQ(p.DirRankDevelopment(5, 226, 1, 0).toInt(), 3);
    EXPECT_EQ(weapons.Chosen(), 1);

    p.PointsBO = 166;
    p.Royaume_ID = 1;                     // a realm without open lists
    ui->expectError(QStringLiteral("frmArmeAdolescence.LoadData"));
    frmArmeAdolescence lists;
    setTag(&lists, QStringLiteral("1"));
    lists.LoadData();
    EXPECT_EQ(lists.lstArme->count(), 0);
    ui->expectError(QStringLiteral("frmArmeAdolescence.btnOk.Click"));
    lists.btnOk_Click();                  // nothing chosen: the window stays
    EXPECT_NE(lists.result(), QDialog::Accepted);
}

TEST_F(ChoiceWindowsTest, PortFunctionsShowTheWindowsModally)
{
    {
        ModalDriver drive;
        drive.then([](QWidget *w) {
            auto *dlg = qobject_cast<frmArmeAdolescence *>(w);
            ASSERT_NE(dlg, nullptr);
            EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Choisir"));
            dlg->lstArme->setCurrentIndex(1);
            dlg->btnOk->click();
        });
        const qint32 chosen = transferchoices::ChooseOne(
            1, 7, {{QStringLiteral("Astrologie"), 71}, {QStringLiteral("Herboristerie"), 70}}, QStringLiteral("Choisir"));
        EXPECT_EQ(chosen, 70);
        EXPECT_EQ(ModGeneral::Players(1).PointsBO, 0);   // the caller applies the choice
        EXPECT_TRUE(drive.allStepsRan());
    }
    {
        // A list with rows can only be left by a choice: closing is refused.
        ModalDriver drive;
        drive.then([](QWidget *w) {
            w->close();
            EXPECT_TRUE(w->isVisible());
            QTest::keyClick(w, Qt::Key_Escape);
            EXPECT_TRUE(w->isVisible());
            qobject_cast<frmArmeAdolescence *>(w)->btnOk->click();
        });
        EXPECT_EQ(transferchoices::ChooseOne(1, 7, {{QStringLiteral("Astrologie"), 71}}, QString()), 71);
        EXPECT_TRUE(drive.allStepsRan());
    }

    ui->expectError(QStringLiteral("frmArmeAdolescence.LoadData"));
    EXPECT_EQ(transferchoices::ChooseOne(1, 7, {}, QString()), -1);

    {
        ModalDriver drive;
        drive.then([](QWidget *w) {
            auto *dlg = qobject_cast<frmStatGain *>(w);
            ASSERT_NE(dlg, nullptr);
            EXPECT_FALSE(dlg->ckStat[0]->isEnabled());
            dlg->ckStat[4]->setChecked(true);
            // OK opens the gain rolls on top; answer them too, inside OK's own
            // wait (a timer is not run again while its own step runs).
            ModalDriver rollsDrive;
            rollsDrive.then([](QWidget *rolls) {
                auto *r = qobject_cast<frmStatGainRolls *>(rolls);
                ASSERT_NE(r, nullptr);
                r->btnOk->click();
            });
            dlg->btnOk->click();
            EXPECT_TRUE(rollsDrive.allStepsRan());
        });
        EXPECT_EQ(transferchoices::ChooseStatGains(1, {0}, 1), (std::vector<int>{0, 4}));
        EXPECT_TRUE(drive.allStepsRan());
    }
}

} // namespace
