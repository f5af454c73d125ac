// Rules data with a hole where a row the character needs should be: the
// sheet, the skill development window and the printed sheet each say so at
// most once per action, and go on.
#include "robust/RobustFixture.h"

#include "print/ModPrint.h"
#include "print/PageTarget.h"
#include "print/frmPrint.h"
#include "sheet/frmGeneral.h"
#include "skilldev/frmSkillDev.h"
#include "support/RulesDb.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

struct Hole {
    const char *name;
    const char *sql;
    // The printing actions that meet the hole, split by "|": each says it in
    // one box naming `at`.
    const char *saidBy = "";
    const char *at = "";
};

// Character 1 is of culture 1, race 1, profession 1 and realm 5, with ranks
// in skill 81 (category 11) among others.
const Hole kHoles[] = {
    {"race", "DELETE FROM [Race Abilities] WHERE Race_ID = 1;"},
    {"profession", "DELETE FROM Profession WHERE Profession_ID = 1;"},
    {"category cost", "DELETE FROM [Skill Category DP Cost] WHERE Profession_ID = 1 AND Skill_Category_ID = 11;"},
    {"every cost", "DELETE FROM [Skill Category DP Cost] WHERE Profession_ID = 1;"},
    // The skill pages list skill 81 under its category; the main page does not.
    {"skill category", "DELETE FROM [Skill Category] WHERE Skill_Category_ID = 11;", "print|preview skill pages",
     "ModPrint.Page_Skill"},
    // The main page names every statistic; the skill pages none.
    {"statistic", "DELETE FROM Stat WHERE Stat_ID = 10;", "print|preview", "Page_Principal"},
    {"realm", "DELETE FROM [Realms of Power] WHERE Realm_ID = 5;"},
    {"culture", "DELETE FROM Culture WHERE Culture_ID = 1;"},
    {"skill", "DELETE FROM Skills WHERE Skill_ID = 81;"},
};

class RulesHoleTest : public RobustFixture, public ::testing::WithParamInterface<Hole> {};

TEST_P(RulesHoleTest, SheetSkillWindowAndPrintSayItOnceAndGoOn)
{
    const Hole hole = GetParam();
    CloseDialogsAtOnce();
    testrules::OpenChangedMaster(tempPath(QStringLiteral("holed.dat")), hole.sql);
    ModGeneral::DataLanguage = 5000;
    robust::Sweeper s = MakeSweeper();
    s.allowedErrors = 1;
    const QString number = QString::number(n);
    const QString what = QString::fromLatin1(hole.name) + QStringLiteral(": ");

    {
        frmGeneral sheet;
        sheet.setTag(number);
        s.act(what + QStringLiteral("sheet"), [&] { sheet.LoadData(); });
        s.act(what + QStringLiteral("sheet again"), [&] { sheet.LoadData(); });
        for (int i = 0; i < sheet.lstArmor->count(); ++i)
            s.act(what + QStringLiteral("armour %1").arg(i), [&] { sheet.lstArmor->setCurrentIndex(i); });
        s.Run(&sheet, what + QStringLiteral("frmGeneral"));
    }
    {
        frmSkillDev dev;
        dev.setTag(number);
        s.act(what + QStringLiteral("skill window"), [&] { dev.LoadData(); });
        for (int i = 1; i <= dev.NodeCount(); ++i) {
            QTreeWidgetItem *node = dev.Node(i);
            s.act(what + QStringLiteral("node ") + frmSkillDev::NodeKey(node),
                  [&] { dev.trvSkillCategorie_NodeClick(node); });
        }
        // Buy a rank where the tree offers one.
        for (const QString &key : {QStringLiteral("SK0/81"), QStringLiteral("SC11")}) {
            if (QTreeWidgetItem *node = dev.NodeByKey(key)) {
                s.act(what + QStringLiteral("show ") + key, [&] { dev.trvSkillCategorie_NodeClick(node); });
                QCheckBox *box = key.startsWith(QLatin1String("SC")) ? dev.chkSkillCategory[0] : dev.chkSkill[0];
                if (box->isEnabled())
                    s.act(what + QStringLiteral("buy ") + key, [&] { box->click(); });
                s.Run(&dev, what + QStringLiteral("frmSkillDev[") + key + QLatin1Char(']'));
            }
        }
    }
    {
        const QStringList saidBy = QString::fromLatin1(hole.saidBy).split(QLatin1Char('|'), Qt::SkipEmptyParts);
        const auto act = [&](const QString &action, const std::function<void()> &f) {
            const int before = (*junk)->errors;
            s.act(what + action, f);
            if (saidBy.contains(action)) {
                ASSERT_EQ((*junk)->errors, before + 1) << action.toStdString();
                EXPECT_TRUE((*junk)->errorTexts.last().contains(QLatin1String(hole.at))) << action.toStdString();
            }
        };
        print::RecordingTarget recorder;
        act(QStringLiteral("print"), [&] { ModPrint::Setup_Page(QStringLiteral("11"), number, recorder); });
        frmPrint preview;
        preview.setTag(number);
        act(QStringLiteral("preview"), [&] { preview.Voir(); });
        act(QStringLiteral("preview skill pages"), [&] { preview.tbPrint_ButtonMenuClick(QStringLiteral("Page"), 2); });
    }
    // Whatever went wrong, the character is still whole on disk.
    ExpectSavesWhole(QStringLiteral("holed"));
}

using RulesHoleFixture = RobustFixture;

TEST_F(RulesHoleFixture, BodyDevelopmentOfARaceTheRulesLackShowsTheCategoryProgressionAndItsTotal)
{
    testrules::OpenChangedMaster(tempPath(QStringLiteral("norace.dat")), "DELETE FROM [Race Abilities] WHERE Race_ID = 1;");
    frmSkillDev dev;
    dev.setTag(QString::number(n));
    dev.LoadData();
    QTreeWidgetItem *node = dev.NodeByKey(QStringLiteral("SK0/23"));
    ASSERT_NE(node, nullptr);
    dev.trvSkillCategorie_NodeClick(node);
    EXPECT_EQ((*junk)->errors, 0) << (*junk)->errorTexts.join(QStringLiteral(" | ")).toStdString();
    EXPECT_FALSE(dev.labProgressionSkill->text().isEmpty());
    // Without the race the statistics count their value bonuses alone, 0 for
    // CO 55, CO 55 and SD 52; the category adds the fixed 10 every character
    // has, and its own progression at no rank, -20: 10 - 20.
    EXPECT_EQ(dev.labBonusSkill[4]->text(), QStringLiteral("-10"));
    EXPECT_EQ((*junk)->errors, 0);
}

INSTANTIATE_TEST_SUITE_P(Holes, RulesHoleTest, ::testing::ValuesIn(kHoles), [](const auto &info) {
    std::string name;
    for (const char *c = info.param.name; *c; ++c)
        if (std::isalnum(static_cast<unsigned char>(*c)))
            name += *c;
    return name;
});

} // namespace
