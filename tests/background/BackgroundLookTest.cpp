// Renders every background window into a picture when QV_BACKGROUND_GRAB
// names a folder, so that their layouts can be looked at; otherwise checks
// only that nothing of a window lies outside it.
#include "background/BackgroundFixture.h"

#include "background/frmArmeAdolescence.h"
#include "background/frmSpecialItem.h"
#include "background/frmSpecialItemChoose.h"
#include "background/frmTalents.h"
#include "background/frmTalentsCost.h"
#include "background/frmTraining.h"
#include "background/frmWeaponChoises.h"
#include "support/Readable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPixmap>
#include <QTableWidget>

namespace {

void look(QWidget *w, const QString &name)
{
    w->adjustSize();
    const QPixmap pm = w->grab();
    EXPECT_FALSE(pm.isNull()) << name.toStdString();
    const QStringList faults = readable::Faults(w);
    EXPECT_TRUE(faults.isEmpty()) << name.toStdString() << ":\n" << faults.join(QLatin1Char('\n')).toStdString();
    // Every control lies inside the window.
    for (QWidget *c : w->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (c->isWindow() || c->isHidden())
            continue;
        EXPECT_TRUE(w->rect().contains(c->geometry())) << name.toStdString() << " " << c->objectName().toStdString();
    }
    const QByteArray dir = qgetenv("QV_BACKGROUND_GRAB");
    if (!dir.isEmpty())
        pm.save(QDir(QString::fromLocal8Bit(dir)).filePath(name + QStringLiteral(".png")));
}

class BackgroundLookTest : public BackgroundTest {
protected:
    qint32 previousData = ModGeneral::DataLanguage;
    void TearDown() override
    {
        ModGeneral::DataLanguage = previousData;
        BackgroundTest::TearDown();
    }
    // Builds every window in the interface and data language chosen, and
    // looks at each; `suffix` tells the pictures of one language apart.
    void lookAtEveryWindow(const QString &suffix);
};

TEST_F(BackgroundLookTest, EveryFrenchWindowFitsItsControls)
{
    lookAtEveryWindow(QStringLiteral("-fr"));
}

TEST_F(BackgroundLookTest, EveryEnglishWindowFitsItsControls)
{
    Strings::setLanguage(Strings::Language::English);
    ModGeneral::DataLanguage = 1000;
    lookAtEveryWindow(QStringLiteral("-en"));
}

void BackgroundLookTest::lookAtEveryWindow(const QString &suffix)
{
    Personnage &p = character(4);
    p.Profession_ID = 10;
    p.Royaume_ID = 9;
    frmBackground bg;
    setTag(&bg, QStringLiteral("1"));
    bg.LoadData();
    bg.setWindowTitle(QStringLiteral("Ayla (Options d'historique)"));
    bg.btnSelectSkill_Click();
    bg.btnSelectSkillCat_Click();
    bg.chkBackground2[2]->setChecked(true);
    look(&bg, QStringLiteral("frmBackground") + suffix);

    frmTalentsCost cost;
    setTag(&cost, QStringLiteral("1"));
    look(&cost, QStringLiteral("frmTalentsCost") + suffix);

    frmTalents talents;
    setTag(talents.grdTalent, QStringLiteral("2"));
    setTag(&talents, QStringLiteral("1"));
    talents.LoadData();
    look(&talents, QStringLiteral("frmTalents") + suffix);

    Dice::setRolls({30});
    frmSpecialItem item;
    look(&item, QStringLiteral("frmSpecialItem") + suffix);

    frmSpecialItemChoose choose;
    look(&choose, QStringLiteral("frmSpecialItemChoose") + suffix);

    p.PointsBO = 166;
    frmArmeAdolescence chooser;
    setTag(&chooser, QStringLiteral("1"));
    chooser.LoadData();
    look(&chooser, QStringLiteral("frmArmeAdolescence") + suffix);

    frmWeaponChoises order;
    setTag(&order, QStringLiteral("1"));
    order.SkillCost();
    look(&order, QStringLiteral("frmWeaponChoises") + suffix);

    frmTraining training;
    setTag(&training, QStringLiteral("1"));
    training.LoadData();
    training.cbbTrainingPackage->setCurrentIndex(2);
    look(&training, QStringLiteral("frmTraining") + suffix);
}

} // namespace
