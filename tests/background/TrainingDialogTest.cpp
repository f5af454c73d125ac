// The training packages dialog: the lists of the profession, what a package
// shows, and buying or removing it on the skill development window's labels.
#include "background/BackgroundFixture.h"

#include "background/frmTraining.h"
#include "character/Players.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>

namespace {

// Stands for the skill development window: its point counter and training labels.
struct StageLabels {
    QWidget window;
    QLabel *pd = new QLabel(&window);
    QLabel *training = new QLabel(&window);
    QLabel *cost = new QLabel(&window);
    StageLabels(const QString &points, const QString &paid = QString(), const QString &name = QString())
    {
        pd->setObjectName(QStringLiteral("labPD"));
        training->setObjectName(QStringLiteral("labTraining"));
        cost->setObjectName(QStringLiteral("labTrainingCost"));
        pd->setText(points);
        cost->setText(paid);
        training->setText(name);
    }
};

QStringList itemsOf(const QComboBox *c)
{
    QStringList out;
    for (int i = 0; i < c->count(); ++i)
        out << c->itemText(i);
    return out;
}

int indexOf(const QComboBox *c, const QString &text)
{
    return itemsOf(c).indexOf(text);
}

QStringList column0(const QTableWidget *g)
{
    QStringList out;
    for (int r = 0; r < g->rowCount(); ++r)
        out << g->item(r, 0)->text();
    return out;
}

} // namespace

class TrainingDialogTest : public BackgroundTest {
protected:
    Personnage &soldier()
    {
        Personnage &p = character(0);
        p.Profession_ID = 10;
        return p;
    }
    void open(frmTraining &dlg, StageLabels &stage)
    {
        dlg.Target = &stage.window;
        setTag(&dlg, QStringLiteral("1"));
        dlg.LoadData();
    }
};

TEST_F(TrainingDialogTest, ListsSplitByKindWithTheTypicalMark)
{
    soldier();
    StageLabels stage(QStringLiteral("20"));
    frmTraining dlg;
    open(dlg, stage);
    EXPECT_TRUE(dlg.optTraning[0]->isChecked());
    EXPECT_EQ(itemsOf(dlg.cbbTrainingPackage),
              (QStringList{"Gladiateur", "Guet de la cité", "Soldat de fortune (typique)"}));
    EXPECT_EQ(dlg.cbbTrainingPackage->currentIndex(), 0);
    dlg.optTraning[1]->setChecked(true);
    EXPECT_EQ(itemsOf(dlg.cbbTrainingPackage), (QStringList{"Contrebandier", "Ménestrel errant", "Pèlerin"}));
    EXPECT_EQ(dlg.labTPCost->text(), QStringLiteral("15"));

    // Another profession lists only its own packages.
    ModGeneral::Players.resize(2);
    ModGeneral::Players(2).Profession_ID = 3;
    frmTraining other;
    other.Target = &stage.window;
    setTag(&other, QStringLiteral("2"));
    other.LoadData();
    EXPECT_FALSE(itemsOf(other.cbbTrainingPackage).contains(QStringLiteral("Gladiateur")));
    EXPECT_TRUE(itemsOf(other.cbbTrainingPackage).contains(QStringLiteral("Acolyte du temple (typique)")));
}

TEST_F(TrainingDialogTest, APackageShowsMoneyStatisticsNoteAndRanks)
{
    soldier();
    StageLabels stage(QStringLiteral("20"));
    frmTraining dlg;
    open(dlg, stage);
    dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Soldat de fortune (typique)"));
    EXPECT_EQ(dlg.txtMoney->text(), QStringLiteral("1 po + 2d10"));
    EXPECT_EQ(dlg.labStat[0]->text(), QStringLiteral("Force"));
    EXPECT_FALSE(dlg.labStat[1]->text().isEmpty());
    EXPECT_EQ(dlg.labTPCost->text(), QStringLiteral("8"));
    EXPECT_TRUE(dlg.txtNote->toPlainText().startsWith(QStringLiteral("Des années")));
    ASSERT_EQ(dlg.grdSpecial->rowCount(), 2);
    EXPECT_EQ(dlg.grdSpecial->item(0, 1)->text(), QStringLiteral("60"));
    const QStringList ranks = column0(dlg.grdTraining);
    // A weapon category of the player's choice, then its weapon skill under it.
    const int chosen = ranks.indexOf(Strings::Load(3593));
    ASSERT_GE(chosen, 0);
    EXPECT_TRUE(ranks[chosen + 1].startsWith(QStringLiteral("     ")));
    EXPECT_EQ(dlg.grdTraining->horizontalHeaderItem(1)->text(), Strings::Load(3080));

    // No money of its own, a statistic of choice: "Aucun" then "Au choix".
    dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Gladiateur"));
    EXPECT_EQ(dlg.labStat[0]->text(), Strings::Load(3591));
    EXPECT_EQ(dlg.labStat[1]->text(), Strings::Load(3591));
    // Three months; SD 100 gives 10, the race 2 and its special 5: 17, so
    // 3 x (1 - 51 / 100) = 1.47, shown 1. Every other statistic, at 0, gives
    // -10 and the race 0 or 2: 3.9 or 3.72, shown 4.
    Personnage &p = ModGeneral::Players(1);
    p.AddStat(0, 4, 100);
    p.AddStat(2, 4, 5);
    dlg.optTraning[1]->setChecked(true);
    dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Pèlerin"));
    EXPECT_EQ(dlg.txtMoney->text(), QStringLiteral("1 po"));
    EXPECT_EQ(dlg.labStat[0]->text(), Strings::Load(3590));
    EXPECT_TRUE(dlg.labStat[1]->text().isEmpty());
    EXPECT_EQ(dlg.txtMonths->text(), QStringLiteral("1"));
}

TEST_F(TrainingDialogTest, TheEnglishSelectionReadsTheEnglishColumns)
{
    const qint32 before = ModGeneral::DataLanguage;
    ModGeneral::DataLanguage = 1000;
    Strings::setLanguage(Strings::Language::English);
    soldier();
    StageLabels stage(QStringLiteral("20"));
    frmTraining dlg;
    open(dlg, stage);
    EXPECT_EQ(itemsOf(dlg.cbbTrainingPackage),
              (QStringList{"Arena Fighter", "City Watch", "Soldier of Fortune (typical)"}));
    dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Soldier of Fortune (typical)"));
    EXPECT_EQ(dlg.txtMoney->text(), QStringLiteral("1 gp + 2d10"));
    EXPECT_EQ(dlg.labStat[0]->text(), QStringLiteral("Strength"));
    EXPECT_EQ(dlg.labStat[1]->text(), QStringLiteral("Constitution"));
    EXPECT_EQ(dlg.txtNote->toPlainText(), QStringLiteral("Years of paid war in foreign armies."));
    ASSERT_GE(dlg.grdSpecial->rowCount(), 1);
    EXPECT_EQ(dlg.grdSpecial->item(0, 0)->text(), QStringLiteral("Veteran's scar and a war story"));
    EXPECT_TRUE(column0(dlg.grdTraining).contains(QStringLiteral("Combat Techniques")));

    // The name bought lands on the stage with its English mark.
    dlg.btnTrainingPack_Click();
    EXPECT_EQ(stage.training->text(), QStringLiteral("Soldier of Fortune (typical)"));
    ModGeneral::DataLanguage = before;
}

TEST_F(TrainingDialogTest, ChoiceOfOneStatisticFollowsTheNamedOne)
{
    Personnage &p = character(0);
    p.Profession_ID = 3;   // the temple acolyte: no statistic, one of choice
    StageLabels stage(QStringLiteral("20"));
    frmTraining dlg;
    open(dlg, stage);
    dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Acolyte du temple (typique)"));
    EXPECT_EQ(dlg.labStat[0]->text(), Strings::Load(3590));
    EXPECT_EQ(dlg.labStat[1]->text(), Strings::Load(3591));
    EXPECT_TRUE(column0(dlg.grdTraining).contains(QStringLiteral("     ") + Strings::Load(3591)));
}

TEST_F(TrainingDialogTest, BuyingMovesThePriceAndCountsWhatWasPaidBefore)
{
    soldier();
    {
        StageLabels stage(QStringLiteral("10"));
        frmTraining dlg;
        open(dlg, stage);
        dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Guet de la cité"));   // 10
        dlg.btnTrainingPack_Click();
        EXPECT_EQ(stage.pd->text(), QStringLiteral("0"));
        EXPECT_EQ(stage.training->text(), QStringLiteral("Guet de la cité"));
        EXPECT_EQ(tag(stage.training), QStringLiteral("4"));
        EXPECT_EQ(stage.cost->text(), QStringLiteral("10"));
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
    }
    {
        StageLabels stage(QStringLiteral("10"));
        frmTraining dlg;
        open(dlg, stage);
        dlg.optTraning[1]->setChecked(true);
        dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Ménestrel errant"));   // 14
        ui->answerMsgBox(ports::Ok, Strings::Load(5046));
        dlg.btnTrainingPack_Click();
        EXPECT_EQ(stage.pd->text(), QStringLiteral("10"));
        EXPECT_TRUE(stage.training->text().isEmpty());
        EXPECT_NE(dlg.result(), QDialog::Accepted);
    }
    {
        // 2 left after a package of 8: one of 10 is within reach.
        StageLabels stage(QStringLiteral("2"), QStringLiteral("8"), QStringLiteral("Gladiateur"));
        setTag(stage.training, QStringLiteral("11"));
        frmTraining dlg;
        open(dlg, stage);
        dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Soldat de fortune (typique)"));
        EXPECT_EQ(dlg.labTPCost->text(), QStringLiteral("8"));
        dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Guet de la cité"));
        dlg.btnTrainingPack_Click();
        EXPECT_EQ(stage.pd->text(), QStringLiteral("0"));
        EXPECT_EQ(stage.cost->text(), QStringLiteral("10"));
        EXPECT_EQ(tag(stage.training), QStringLiteral("4"));

        frmTraining again;
        open(again, stage);
        again.btnAnnuler_Click();
        EXPECT_EQ(stage.pd->text(), QStringLiteral("10"));
        EXPECT_TRUE(stage.training->text().isEmpty());
        EXPECT_TRUE(tag(stage.training).isEmpty());
        EXPECT_TRUE(stage.cost->text().isEmpty());
    }
}

// The City Watch takes twelve months: at the top of the age range it is
// refused in words when chosen, and the stage keeps its points.
TEST_F(TrainingDialogTest, APackageTheCharacterCannotTakeIsRefusedWithThePointsKept)
{
    soldier().Age = 999999;
    StageLabels stage(QStringLiteral("10"));
    frmTraining dlg;
    open(dlg, stage);
    dlg.cbbTrainingPackage->setCurrentIndex(indexOf(dlg.cbbTrainingPackage, "Guet de la cité"));
    ui->answerMsgBox(ports::Ok, QStringLiteral("Ayla ne peut pas suivre cette formation"));
    dlg.btnTrainingPack_Click();
    EXPECT_EQ(stage.pd->text(), QStringLiteral("10"));
    EXPECT_TRUE(stage.training->text().isEmpty());
    EXPECT_TRUE(tag(stage.training).isEmpty());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST_F(TrainingDialogTest, CancelWithoutAPackageOnlyClears)
{
    soldier();
    StageLabels stage(QStringLiteral("6"));
    frmTraining dlg;
    open(dlg, stage);
    dlg.btnAnnuler_Click();
    EXPECT_EQ(stage.pd->text(), QStringLiteral("6"));
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
}

TEST_F(TrainingDialogTest, PointsThatAreNotANumberRefuseThePurchaseWhole)
{
    soldier();
    StageLabels stage(QStringLiteral("beaucoup"));
    frmTraining dlg;
    open(dlg, stage);
    ui->expectError(QStringLiteral("frmTraining.btnTrainingPack.Click"));
    dlg.btnTrainingPack_Click();
    EXPECT_EQ(stage.pd->text(), QStringLiteral("beaucoup"));
    EXPECT_TRUE(stage.training->text().isEmpty());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST_F(TrainingDialogTest, AKindWithoutPackagesCannotBeBought)
{
    Personnage &p = character(0);
    p.Profession_ID = 77;   // no packages at all
    StageLabels stage(QStringLiteral("20"));
    frmTraining dlg;
    open(dlg, stage);
    EXPECT_EQ(dlg.cbbTrainingPackage->count(), 0);
    EXPECT_FALSE(dlg.btnTrainingPack->isEnabled());
    dlg.btnTrainingPack_Click();
    EXPECT_EQ(stage.pd->text(), QStringLiteral("20"));
}
