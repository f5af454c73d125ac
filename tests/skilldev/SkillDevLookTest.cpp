// Renders the window of a developed character into a picture when
// QV_SKILLDEV_GRAB names a file, so that its layout can be looked at.
#include "SkillDevFixture.h"
#include "support/Readable.h"

#include <QPixmap>
#include <QTreeWidget>

namespace {

class SkillDevLookTest : public SkillDevFixture {};

TEST_F(SkillDevLookTest, RendersAWholeWindow)
{
    adolescence();
    frmSkillDev *w = open();
    w->resize(1100, 720);
    show(QStringLiteral("SK0/81"));
    const QByteArray path = qgetenv("QV_SKILLDEV_GRAB");
    const QPixmap pm = w->grab();
    EXPECT_FALSE(pm.isNull());
    const QStringList faults = readable::Faults(w);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    if (!path.isEmpty())
        pm.save(QString::fromLocal8Bit(path));
    // The names take the room the grid has beside the ranks.
    const QTableWidget *grid = w->grdSkill;
    EXPECT_EQ(grid->columnWidth(0) + grid->columnWidth(1) + grid->columnWidth(2), grid->viewport()->width());
    // Every bonus box of both panels holds a 16-bit figure, the bold totals too.
    for (const auto &boxes : {w->labBonusSkillCat, w->labBonusSkill})
        for (const QLineEdit *box : boxes)
            EXPECT_GE(readable::TextRoom(box), box->fontMetrics().horizontalAdvance(QStringLiteral("-32768")))
                << box->objectName().toStdString();
}

// On a screen whose font runs wider, the window at its narrowest still shows
// the legend's leaves whole.
TEST_F(SkillDevLookTest, LegendReadsWholeWithAWiderFont)
{
    frmSkillDev w;
    QFont font = w.font();
    font.setPointSizeF(font.pointSizeF() * 1.3);
    w.setFont(font);
    w.setTag(QStringLiteral("1"));
    w.LoadData();
    w.resize(w.minimumSizeHint());
    w.grab();
    for (const QTreeWidget *legend : {w.trvIndex, w.trvIndex2}) {
        const QFontMetrics fm = legend->fontMetrics();
        for (int i = 0; i < legend->topLevelItemCount(); ++i)
            EXPECT_LE(fm.horizontalAdvance(legend->topLevelItem(i)->text(0)) + 16 /* picture */ + 12 /* margins */,
                      legend->viewport()->width())
                << legend->topLevelItem(i)->text(0).toStdString();
    }
}

TEST_F(SkillDevLookTest, RendersALanguageStage)
{
    adolescence();
    frmSkillDev *w = open(QStringLiteral("Langue"));
    w->setStageMarker(QStringLiteral("Linguistique"));
    w->labDevlopment[13]->setText(QStringLiteral("Rang"));
    w->labPD->setText(QStringLiteral("4"));
    w->resize(1100, 720);
    show(QStringLiteral("SL2/33"));
    const QByteArray path = qgetenv("QV_SKILLDEV_GRAB");
    const QPixmap pm = w->grab();
    EXPECT_FALSE(pm.isNull());
    const QStringList faults = readable::Faults(w);
    EXPECT_TRUE(faults.isEmpty()) << faults.join(QLatin1Char('\n')).toStdString();
    if (!path.isEmpty())
        pm.save(QString::fromLocal8Bit(path).replace(QStringLiteral(".png"), QStringLiteral("-language.png")));
}

} // namespace
