// A character file another program wrote: every value at the edge of what a
// file may hold (the ranges of character/Limits.h, 16 and 32 bits elsewhere),
// and identifiers the rules never had. It opens; the sheet,
// the skill window and the printed sheet say what they cannot show at most
// once per action, and the character saves again as it came.
#include "robust/RobustFixture.h"

#include "character/Limits.h"
#include "character/Players.h"
#include "mainwindow/frmMain.h"
#include "print/ModPrint.h"
#include "print/PageTarget.h"
#include "print/frmPrint.h"
#include "sheet/frmGeneral.h"
#include "skilldev/frmSkillDev.h"

#include <QCheckBox>
#include <QComboBox>
#include <QTreeWidget>

#include <limits>

namespace {

class ForeignFileTest : public RobustFixture, public ::testing::WithParamInterface<int> {
protected:
    // Variant 0: the largest values; 1: the smallest; 2: identifiers unknown to the rules only.
    static void Foreign(Personnage &p, int variant)
    {
        const qint16 big = variant == 0 ? std::numeric_limits<qint16>::max()
            : variant == 1             ? std::numeric_limits<qint16>::min()
                                       : qint16(50);
        const qint32 big32 = variant == 0 ? std::numeric_limits<qint32>::max()
            : variant == 1               ? std::numeric_limits<qint32>::min()
                                         : 10000;
        // Identifiers and ranks stop at 0 where other figures go negative.
        namespace limits = character::limits;
        const qint16 rank = variant == 1 ? qint16(0) : variant == 0 ? qint16(limits::kRank.high) : big;
        const qint32 id32 = variant == 1 ? 0 : big32;
        const float physique = float(variant == 1 ? limits::kPhysique.low : limits::kPhysique.high);
        p.Race_ID = 999;
        p.Profession_ID = 4242;
        p.Culture_ID = 12345;
        p.Royaume_ID = 77;
        p.Experience = variant == 0 ? limits::kExperience.high : variant == 1 ? limits::kExperience.low : big32;
        p.Money = big32;
        p.Apparence = big;
        p.PdeD = big;
        p.Armure = variant == 2 ? 999 : id32;
        p.Bouclier = variant == 2 ? 77777 : id32;
        p.Casque = variant == 2 ? 55 : id32;
        p.Age = physique;
        p.Grandeur = variant == 1 ? -1.0e-38f : physique;
        p.Poids = variant == 2 ? 0 : physique;
        for (qint16 s = 0; s < 10; ++s)
            for (qint16 k = 0; k < 3; ++k)
                p.AddStat(k, s, big);
        for (qint16 k = 1; k <= 9; ++k)
            p.AddResistanceSpecial(k, big);
        for (qint16 k = 0; k < 7; ++k)
            p.AddCategorieWeapon(k, variant == 2 ? qint16(k + 900) : rank);
        // Ranks in rows the rules know and in some they never had.
        for (qint32 r = 0; r <= p.NbSkill && r < 4; ++r) {
            p.AddSkill(Personnage::fRank, qint16(r), RankKind::Skill, rank);
            p.AddSkill(Personnage::fSpecial1, qint16(r), RankKind::Skill, big);
            p.AddSkill(Personnage::fSpecial2, qint16(r), RankKind::Skill, big);
        }
        p.AddSkill(Personnage::fId, qint16(p.NbSkill), RankKind::Skill, 32000);
        p.AddSkill(Personnage::fRank, qint16(p.NbSkill), RankKind::Skill, rank);
        for (qint32 r = 0; r <= p.NbSkillCat && r < 4; ++r) {
            p.AddSkill(Personnage::fRank, qint16(r), RankKind::SkillCategory, rank);
            p.AddSkill(Personnage::fSpecial2, qint16(r), RankKind::SkillCategory, big);
        }
        p.AddSubSkills(31999, QStringLiteral("Inconnue"), rank);
    }
};

TEST_P(ForeignFileTest, OpensAndEveryWindowSaysItOnceAndGoesOn)
{
    CloseDialogsAtOnce();
    Personnage &p = Hero();
    Foreign(p, GetParam());
    const QString file = tempPath(QStringLiteral("foreign.pja"));
    p.FileName = file;
    ASSERT_TRUE(p.SaveP()) << (*junk)->errorTexts.join(QStringLiteral(" | ")).toStdString();
    ModGeneral::Players(n) = Personnage();
    Personnage &q = Hero();
    q.FileName = file;
    ASSERT_TRUE(q.LoadP()) << (*junk)->errorTexts.join(QStringLiteral(" | ")).toStdString();

    robust::Sweeper s(**junk, nullptr);
    s.allowedErrors = 1;
    const QString number = QString::number(n);
    {
        frmGeneral sheet;
        sheet.setTag(number);
        s.act(QStringLiteral("sheet"), [&] { sheet.LoadData(); });
        s.Run(&sheet, QStringLiteral("frmGeneral"));
    }
    {
        frmSkillDev dev;
        dev.setTag(number);
        s.act(QStringLiteral("skill window"), [&] { dev.LoadData(); });
        for (int i = 1; i <= dev.NodeCount(); ++i) {
            QTreeWidgetItem *node = dev.Node(i);
            s.act(QStringLiteral("node ") + frmSkillDev::NodeKey(node), [&] { dev.trvSkillCategorie_NodeClick(node); });
        }
        for (QCheckBox *box : dev.chkSkill)
            if (box->isEnabled())
                s.act(QStringLiteral("rank box"), [&] { box->click(); });
    }
    {
        print::RecordingTarget recorder;
        s.act(QStringLiteral("print"), [&] { ModPrint::Setup_Page(QStringLiteral("11"), number, recorder); });
        frmPrint preview;
        preview.setTag(number);
        s.act(QStringLiteral("preview"), [&] { preview.Voir(); });
    }
    // Saved again, it reads back as it came.
    const int errors = (*junk)->errors;
    q.FileName = tempPath(QStringLiteral("again.pja"));
    EXPECT_TRUE(q.SaveP());
    Personnage back;
    back.FileName = q.FileName;
    EXPECT_TRUE(back.LoadP());
    EXPECT_EQ(back.Experience, q.Experience);
    EXPECT_EQ(back.Money, q.Money);
    EXPECT_EQ(back.Race_ID, 999);
    EXPECT_EQ((*junk)->errors, errors) << (*junk)->errorTexts.mid(errors).join(QStringLiteral(" | ")).toStdString();
}

INSTANTIATE_TEST_SUITE_P(Edges, ForeignFileTest, ::testing::Values(0, 1, 2));

} // namespace
