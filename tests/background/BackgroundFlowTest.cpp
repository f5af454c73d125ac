// The background dialogs reached from the skill development stages, on real
// windows: the options lead to their stages, the training dialog works on the
// stage's own labels, and the weapon order starts afresh.
#include "skilldev/SkillDevFixture.h"

#include "background/frmBackground.h"
#include "background/frmTraining.h"
#include "background/frmWeaponChoises.h"
#include "support/ModalDriver.h"

#include <QComboBox>
#include <QListWidget>
#include <QTimer>

class BackgroundFlowTest : public SkillDevFixture {
protected:
    void SetUp() override
    {
        SkillDevFixture::SetUp();
        background::resetLinks();
        skilldev::ResetHooks();   // the program's own windows
    }
    void TearDown() override
    {
        background::resetLinks();
        SkillDevFixture::TearDown();
    }
    frmSkillDev *stageWindow() { return qobject_cast<frmSkillDev *>(SkillDevForms.peek(1)); }
};

TEST_F(BackgroundFlowTest, ExtraLanguagesOpenTheBackgroundLanguageStage)
{
    player().PointsBO = 3;
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *dlg = qobject_cast<frmBackground *>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), QStringLiteral("Brune (") + Strings::Load(3038) + QStringLiteral(")"));
        EXPECT_EQ(dlg->labOptionPoint->text(), QStringLiteral("3"));
        dlg->chkBackground[0]->setChecked(true);
        dlg->btnOk->click();
    });
    skilldev::Hooks().BackgroundOptions(1, true);
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_EQ(player().PointsBO, 2);
    frmSkillDev *w = stageWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->StageMarker(), QStringLiteral("Historique"));
    EXPECT_TRUE(w->RankStage());
    EXPECT_EQ(w->labPD->text(), QStringLiteral("20"));
    EXPECT_TRUE(w->btnEnd->isEnabled());
    EXPECT_TRUE(w->btnTraning->isHidden());
    EXPECT_TRUE(w->LanguageMode());
}

TEST_F(BackgroundFlowTest, NoPointsLeftOpensTheHobbyRanks)
{
    player().PointsBO = 5;
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *dlg = qobject_cast<frmBackground *>(w);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->labOptionPoint->text(), QStringLiteral("0"));   // opened without its points
        dlg->btnOk->click();
    });
    player().PointsBO = 0;
    ui->answerMsgBox(ports::Ok, Strings::Load(5030) + QStringLiteral(" 12 "));
    skilldev::Hooks().BackgroundOptions(1, false);
    EXPECT_TRUE(driver.allStepsRan());
    frmSkillDev *w = stageWindow();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->StageMarker(), QStringLiteral("Hobby Ranks"));
    EXPECT_EQ(w->labPD->text(), QStringLiteral("12"));
    EXPECT_FALSE(w->LanguageMode());
}

TEST_F(BackgroundFlowTest, TrainingPackageLandsOnTheStageLabels)
{
    frmSkillDev *w = open();
    SkillDevForms.put(1, w);
    w->labPD->setText(QStringLiteral("30"));
    ModalDriver driver;
    driver.then([](QWidget *m) {
        auto *dlg = qobject_cast<frmTraining *>(m);
        ASSERT_NE(dlg, nullptr);
        const int row = dlg->cbbTrainingPackage->findText(QStringLiteral("Guet de la cité"));
        ASSERT_GE(row, 0);
        dlg->cbbTrainingPackage->setCurrentIndex(row);
        dlg->btnTrainingPack->click();
    });
    w->btnTraning_Click();
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_EQ(w->labPD->text(), QStringLiteral("20"));
    EXPECT_EQ(w->labTraining->text(), QStringLiteral("Guet de la cité"));
    EXPECT_EQ(tag(w->labTraining), QStringLiteral("4"));
    EXPECT_EQ(w->labTrainingCost->text(), QStringLiteral("10"));
    SkillDevForms.put(1, nullptr);
}

TEST_F(BackgroundFlowTest, WeaponOrderOpensOnThePlainOrder)
{
    for (qint16 k = 0; k < 7; ++k)
        player().AddCategorieWeapon(k, static_cast<qint16>(55 - k));
    ModalDriver driver;
    driver.then([](QWidget *m) {
        auto *dlg = qobject_cast<frmWeaponChoises *>(m);
        ASSERT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->windowTitle(), Strings::Load(3538));
        dlg->lstCategorie->setCurrentRow(1);
        dlg->btnUp_Click(0);
        dlg->btnOk->click();
    });
    skilldev::Hooks().WeaponCategoryOrder(1);
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_EQ(player().DirCategorieWeapon(0), 50);
    EXPECT_EQ(player().DirCategorieWeapon(1), 49);
    EXPECT_EQ(player().DirCategorieWeapon(6), 55);
}

TEST_F(BackgroundFlowTest, ExtraStatisticGainRollsOpenTheRollsDialog)
{
    player().PointsBO = 1;
    ui->answerMsgBox(ports::Ok, Strings::Load(5030));
    ModalDriver driver;
    driver.then([](QWidget *w) {
        auto *dlg = qobject_cast<frmBackground *>(w);
        ASSERT_NE(dlg, nullptr);
        dlg->chkBackground[1]->setChecked(true);
        // Clicked once this step is over, so that the driver sees the rolls dialog.
        QTimer::singleShot(0, dlg->btnOk, &QPushButton::click);
    });
    QString caption;
    driver.then([&caption](QWidget *w) {
        caption = w->windowTitle();
        EXPECT_STREQ(w->metaObject()->className(), "frmStatGainRolls");
        if (auto *d = qobject_cast<QDialog *>(w))
            d->findChild<QPushButton *>(QStringLiteral("btnOk"))->click();
    });
    skilldev::Hooks().BackgroundOptions(1, true);
    EXPECT_TRUE(driver.allStepsRan());
    EXPECT_EQ(caption, QStringLiteral("Brune (") + Strings::Load(5006) + QStringLiteral(")"));
    EXPECT_EQ(player().PointsBO, 0);
    ASSERT_NE(stageWindow(), nullptr);
    EXPECT_EQ(stageWindow()->StageMarker(), QStringLiteral("Hobby Ranks"));
}
