// Moving a stage's purchases into the rank tables; background bonuses,
// talents and flaws.
#include "PersonnageAccess.h"
#include "TransferFixture.h"

#include "character/Personnage.h"

#include <gtest/gtest.h>

namespace {

using A = PersonnageAccess;
using Kind = ScriptedPorts::Kind;

// Row of `id` in a table whose identifier is field 0, or -1.
int rowOf(const character::GrowTable<qint32> &t, qint32 id, qint32 key = -1)
{
    for (qint64 r = t.lower(); r <= t.upper(); ++r) {
        if (t(0, r) == id && (key < 0 || t(4, r) == key))
            return static_cast<int>(r);
    }
    return -1;
}

qint32 rankOf(const character::GrowTable<qint32> &t, qint32 id, qint32 key = -1)
{
    const int r = rowOf(t, id, key);
    return r < 0 ? -1 : t(1, r);
}

bool devListEmpty(Personnage &p)
{
    auto &d = A::DevSkills(p);
    for (qint64 r = d.lower(); r <= d.upper(); ++r)
        for (int f = 0; f < 5; ++f)
            if (d(f, r) != 0)
                return false;
    return true;
}

class TransferTest : public ::testing::Test {
protected:
    TransferRules rules;
    ScriptedPortsScope ui;
    Personnage p;
    void SetUp() override
    {
        p.Culture_ID = 10;
        p.Profession_ID = 10;
    }
};

// ------------------------------------------------------------------ the stage's list

// Skill 60 restricted, everyman in the culture; 61 restricted, everyman in the
// culture and occupational in the profession; 62 restricted only; 63
// occupational in the culture and restricted in the profession; 64 with codes
// that set no status.
TEST_F(TransferTest, SkillsAreScaledByStatusProfessionOverCulture)
{
    p.AddDevelopment(1, 60, 0, 4, 0);   // a category keeps its count
    p.AddDevelopment(2, 60, 0, 3, 0);
    p.AddDevelopment(2, 61, 0, 3, 0);
    p.AddDevelopment(2, 62, 0, 1, 0);
    p.AddDevelopment(2, 63, 0, 5, 0);
    p.AddDevelopment(2, 64, 0, 7, 0);
    p.AddDevelopment(2, 40, 0, 0, 0);
    EXPECT_TRUE(p.TranferRank());
    EXPECT_EQ(rankOf(A::SkillCat(p), 60), 4);
    EXPECT_EQ(rankOf(A::Skill(p), 60), 6);
    EXPECT_EQ(rankOf(A::Skill(p), 61), 9);
    EXPECT_EQ(rankOf(A::Skill(p), 62), 0);   // a row all the same, with no rank
    EXPECT_EQ(rankOf(A::Skill(p), 63), 2);   // 2.5 to the even neighbour
    EXPECT_EQ(rankOf(A::Skill(p), 64), 7);
    EXPECT_EQ(rankOf(A::Skill(p), 40), 0);
    EXPECT_EQ(p.NbDevSkills, 10);
    EXPECT_TRUE(devListEmpty(p));
}

TEST_F(TransferTest, RestrictedCountsRoundHalfToEven)
{
    const std::pair<qint32, qint32> cases[] = {{1, 0}, {2, 1}, {3, 2}, {5, 2}, {7, 4}, {9, 4}};
    for (const auto &[bought, expected] : cases) {
        Personnage q;
        q.Culture_ID = 10;
        q.Profession_ID = 10;
        q.AddDevelopment(2, 62, 0, bought, 0);
        ASSERT_TRUE(q.TranferRank());
        EXPECT_EQ(rankOf(A::Skill(q), 62), expected) << bought << " bought";
    }
}

TEST_F(TransferTest, EveryKindReachesItsTableOnBothKeys)
{
    const qint32 sub = p.AddSubSkills(41, QStringLiteral("Plongée"), 1);
    A::RedimSkill(p);
    A::Skill(p)(0, 0) = 40;
    A::Skill(p)(1, 0) = 2;
    A::LanguageSkills(p)(0, 1) = 32;
    A::LanguageSkills(p)(1, 1) = 4;
    A::LanguageSkills(p)(4, 1) = 1;

    p.AddDevelopment(2, 40, 0, 1, 0);     // adds to the rank held
    p.AddDevelopment(3, 41, sub, 2, 0);
    p.AddDevelopment(4, 32, 1, 2, 0);     // same language: adds
    p.AddDevelopment(4, 32, 2, 3, 0);     // another language: a row of its own
    p.AddDevelopment(5, 226, 2, 1, 0);
    p.AddDevelopment(6, 166, 1, 2, 0);
    ASSERT_TRUE(p.TranferRank());

    EXPECT_EQ(rankOf(A::Skill(p), 40), 3);
    EXPECT_EQ(p.DirSubSkills(1, sub), QStringLiteral("3"));
    EXPECT_EQ(p.DirSubSkills(5, sub), QStringLiteral("Plongée"));
    EXPECT_EQ(rankOf(A::LanguageSkills(p), 32, 1), 6);
    EXPECT_EQ(rankOf(A::LanguageSkills(p), 32, 2), 3);
    EXPECT_EQ(rankOf(A::WeaponSkills(p), 226, 2), 1);
    EXPECT_EQ(rankOf(A::SpellSkills(p), 166, 1), 2);
}

TEST_F(TransferTest, TwoRowsForOneSkillBothAddToOneRow)
{
    auto &dev = A::DevSkills(p);
    for (int r : {0, 1}) {
        dev(0, r) = 2;
        dev(1, r) = 41;
        dev(3, r) = 2 + r;
    }
    ASSERT_TRUE(p.TranferRank());
    EXPECT_EQ(rankOf(A::Skill(p), 41), 5);
    EXPECT_EQ(A::Skill(p)(0, 1), 0);
}

TEST_F(TransferTest, EmptyListLeavesTablesAndStillResetsTheList)
{
    p.RedimDevSkills();
    ASSERT_EQ(p.NbDevSkills, 20);
    ASSERT_TRUE(p.TranferRank());
    EXPECT_EQ(p.NbDevSkills, 10);
    EXPECT_EQ(A::DevSkills(p).upper(), 10);
    EXPECT_EQ(p.NbSkill, 0);
    EXPECT_EQ(p.NbSkillCat, 60);
    EXPECT_EQ(A::SkillCat(p)(0, 0), 0);
}

// ------------------------------------------------------------------ growth

TEST_F(TransferTest, FreeRowAtCapacityGrowsTheTableFirst)
{
    auto &cat = A::SkillCat(p);
    for (int r = 0; r < 60; ++r)
        cat(0, r) = 100 + r;
    for (int r = 1; r < 10; ++r)
        A::LanguageSkills(p)(0, r) = 33;   // language r
    for (int r = 1; r < 10; ++r)
        A::LanguageSkills(p)(4, r) = r;
    p.AddDevelopment(1, 5, 0, 2, 0);
    p.AddDevelopment(4, 32, 7, 1, 0);
    p.AddDevelopment(2, 40, 0, 1, 0);     // first skill purchase: the table gets rows
    ASSERT_TRUE(p.TranferRank());
    EXPECT_EQ(p.NbSkillCat, 70);
    EXPECT_EQ(cat(0, 60), 5);
    EXPECT_EQ(p.NbLanguageSkills, 20);
    EXPECT_EQ(A::LanguageSkills(p)(0, 10), 32);
    EXPECT_EQ(p.NbSkill, 10);
    EXPECT_EQ(A::Skill(p)(0, 0), 40);
}

TEST_F(TransferTest, FullTableTakesTheFirstNewRow)
{
    auto &cat = A::SkillCat(p);
    for (int r = 0; r <= 60; ++r)
        cat(0, r) = 100 + r;
    p.AddDevelopment(1, 5, 0, 2, 0);
    ASSERT_TRUE(p.TranferRank());
    EXPECT_EQ(p.NbSkillCat, 70);
    EXPECT_EQ(cat(0, 61), 5);
    EXPECT_EQ(cat(1, 61), 2);
}

// ------------------------------------------------------------------ all or nothing

struct Tables {
    character::GrowTable<qint32> cat, skill, dev;
    qint32 nbCat, nbSkill, nbDev;
    explicit Tables(Personnage &p)
        : cat(A::SkillCat(p)), skill(A::Skill(p)), dev(A::DevSkills(p)), nbCat(p.NbSkillCat),
          nbSkill(p.NbSkill), nbDev(p.NbDevSkills)
    {
    }
    static bool same(const character::GrowTable<qint32> &a, const character::GrowTable<qint32> &b)
    {
        if (a.rowCount() != b.rowCount())
            return false;
        for (qint64 r = a.lower(); r <= a.upper(); ++r)
            for (int f = 0; f < a.fields(); ++f)
                if (a(f, r) != b(f, r))
                    return false;
        return true;
    }
    void expectSame(Personnage &p) const
    {
        EXPECT_TRUE(same(cat, A::SkillCat(p)));
        EXPECT_TRUE(same(skill, A::Skill(p)));
        EXPECT_TRUE(same(dev, A::DevSkills(p)));
        EXPECT_EQ(nbCat, p.NbSkillCat);
        EXPECT_EQ(nbSkill, p.NbSkill);
        EXPECT_EQ(nbDev, p.NbDevSkills);
    }
};

TEST_F(TransferTest, FailurePartWayLeavesRecordAndListAsBefore)
{
    const qint32 sub = p.AddSubSkills(41, QStringLiteral("Plongée"), 1);
    p.AddDevelopment(1, 5, 0, 2, 0);
    p.AddDevelopment(2, 40, 0, 3, 0);
    p.AddDevelopment(3, 41, sub, 2, 0);   // raised, then taken back
    p.AddDevelopment(3, 41, 7, 1, 0);     // a sub-skill the character does not have
    p.AddDevelopment(2, 45, 0, 1, 0);
    const Tables before(p);
    ui->expectError(QStringLiteral("TranferRank"), 9);
    EXPECT_FALSE(p.TranferRank());
    before.expectSame(p);
    EXPECT_EQ(ui->count(Kind::ErrorBox), 1);
    // The totals find the sub-skill's own row, holding its rank from before.
    EXPECT_EQ(p.RankRow(RankKind::SubSkill, 41, sub), sub);
    EXPECT_EQ(p.RankCell(RankKind::SubSkill, Personnage::fRank, sub), QStringLiteral("1"));
}

TEST_F(TransferTest, FailedStatusLookupMovesNothingAndTheNextEndMovesOnce)
{
    p.AddDevelopment(1, 5, 0, 2, 0);
    p.AddDevelopment(2, 60, 0, 3, 0);
    const Tables before(p);
    rules.close();
    ui->expectError(QStringLiteral("OccupationalEverymanRestrictedSkill"));
    EXPECT_FALSE(p.TranferRank());
    before.expectSame(p);

    rules.reopen();
    ASSERT_TRUE(p.TranferRank());
    EXPECT_EQ(rankOf(A::SkillCat(p), 5), 2);
    EXPECT_EQ(rankOf(A::Skill(p), 60), 6);
    EXPECT_TRUE(devListEmpty(p));
}

TEST_F(TransferTest, RankOverflowIsReportedAndUndone)
{
    A::RedimSkill(p);
    A::Skill(p)(0, 0) = 41;
    A::Skill(p)(1, 0) = 2147483647;
    p.AddDevelopment(1, 5, 0, 2, 0);
    p.AddDevelopment(2, 41, 0, 1, 0);
    const Tables before(p);
    ui->expectError(QStringLiteral("TranferRank"), 6);
    EXPECT_FALSE(p.TranferRank());
    before.expectSame(p);
}

TEST_F(TransferTest, RanksReachTheTopOfTheirRangeAndNoFurther)
{
    A::RedimSkill(p);
    A::Skill(p)(0, 0) = 41;
    A::Skill(p)(1, 0) = 29999;
    p.AddDevelopment(2, 41, 0, 1, 0);
    ASSERT_TRUE(p.TranferRank());
    EXPECT_EQ(rankOf(A::Skill(p), 41), 30000);

    p.AddDevelopment(2, 41, 0, 1, 0);
    const Tables before(p);
    ui->expectError(QStringLiteral("TranferRank"), 6);
    EXPECT_FALSE(p.TranferRank());
    before.expectSame(p);
}

// ------------------------------------------------------------------ background bonuses

qint32 special2(const character::GrowTable<qint32> &t, qint32 id)
{
    const int r = rowOf(t, id);
    return r < 0 ? -999 : t(3, r);
}

TEST_F(TransferTest, BackgroundBonusOpensOrFindsTheRow)
{
    p.TransferBonusSkill(5, 0);
    const int row = rowOf(A::SkillCat(p), 5);
    EXPECT_EQ(A::SkillCat(p)(3, row), 5);
    EXPECT_EQ(A::SkillCat(p)(1, row), 0);
    p.TransferBonusSkill(5, 0);
    EXPECT_EQ(A::SkillCat(p)(3, row), 10);

    p.TransferBonusSkill(40, 1);          // first skill row: the table grows first
    EXPECT_EQ(p.NbSkill, 10);
    EXPECT_EQ(special2(A::Skill(p), 40), 10);

    for (const qint16 kind : {qint16(2), qint16(-1)}) {   // no such kind: nothing changes
        p.TransferBonusSkill(5, kind);
        EXPECT_EQ(A::SkillCat(p)(3, row), 10) << kind;
        EXPECT_EQ(rowOf(A::Skill(p), 5), -1) << kind;
    }
}

TEST_F(TransferTest, TalentsAndFlawsReachCategoriesSkillsAndStatistics)
{
    p.TransferTalent(1);                  // two rows for one skill
    EXPECT_EQ(special2(A::Skill(p), 40), 8);
    p.TransferTalent(2);                  // a category and a skill: the category only
    EXPECT_EQ(special2(A::SkillCat(p), 5), 7);
    EXPECT_EQ(special2(A::Skill(p), 40), 8);
    p.TransferTalent(3);                  // no rows
    p.TransferTalent(6);                  // empty identifiers, then a row naming nothing
    EXPECT_EQ(p.DirStats(2, 6), 6);

    p.TransferFlaw(1);
    EXPECT_EQ(p.DirStats(2, 0), -5);
    p.TransferFlaw(2);
    EXPECT_EQ(special2(A::SkillCat(p), 12), -10);
    EXPECT_EQ(special2(A::Skill(p), 46), -4);
    EXPECT_EQ(ui->count(Kind::ErrorBox), 0);
}

TEST_F(TransferTest, BadBonusRowsAreReportedAndEarlierRowsStay)
{
    ui->expectError(QStringLiteral("TranferTalent"), 9);
    p.TransferTalent(4);                  // a skill row, then statistic 11
    EXPECT_EQ(special2(A::Skill(p), 45), 4);
    ui->expectError(QStringLiteral("TranferTalent"), 94);
    p.TransferTalent(5);                  // no bonus
    EXPECT_EQ(p.DirStats(2, 2), 0);
    ui->expectError(QStringLiteral("TranferFlaw"), 9);
    p.TransferFlaw(3);
    EXPECT_EQ(ui->count(Kind::ErrorBox), 3);
}

TEST_F(TransferTest, BonusWalkGrowsAFullTableAndSumsAreChecked)
{
    auto &cat = A::SkillCat(p);
    for (int r = 0; r < 60; ++r)
        cat(0, r) = 100 + r;
    p.TransferBonusSkill(5, 0);
    EXPECT_EQ(p.NbSkillCat, 70);
    EXPECT_EQ(cat(0, 60), 5);
    EXPECT_EQ(cat(3, 60), 5);
    // A bonus past what the skill window shows would make a file that never opens.
    cat(3, 60) = 32765;
    EXPECT_THROW(p.TransferBonusSkill(5, 0), vb::Error);
    EXPECT_EQ(cat(3, 60), 32765);

    p.AddStat(2, 0, -32766);
    ui->expectError(QStringLiteral("TranferFlaw"), 6);
    p.TransferFlaw(1);
    EXPECT_EQ(p.DirStats(2, 0), -32766);
}

} // namespace
