// Statistic, resistance, rank-progression, skill-category and skill bonuses.
#include "PersonnageAccess.h"
#include "RulesFixture.h"
#include "character/BackgroundRules.h"
#include "character/Personnage.h"
#include "frame/Rules.h"
#include "platform/dao.h"
#include "platform/vb.h"
#include "support/ScriptedPorts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace {

// Statistic indexes.
enum : qint16 { AG, CO, Me, Re, SD, EM, In, Pr, Qu, ST };

// Temporary values whose bonuses are AG 5, CO 2, Me 0, Re 0, SD -5, EM 10,
// In 6, Pr 1, Qu 0, ST 12; special bonuses AG 1 and Me 2.
void setStandardStats(Personnage &p)
{
    const qint16 temporary[10] = {90, 75, 50, 60, 10, 100, 92, 70, 40, 101};
    for (qint16 s = 0; s <= 9; ++s)
        p.AddStat(0, s, temporary[s]);
    p.AddStat(2, AG, 1);
    p.AddStat(2, Me, 2);
}

void setAllStats(Personnage &p, qint16 value)
{
    for (qint16 s = 0; s <= 9; ++s)
        p.AddStat(0, s, value);
}

// ------------------------------------------------------------------ statistic bonus

class StatBonusTest : public ::testing::Test {
protected:
    ScriptedPortsScope ports;
    Personnage p;
};

TEST_F(StatBonusTest, EveryValueFromOneToAHundredFallsInItsBand)
{
    struct Band { int from, to, bonus; };
    const std::vector<Band> bands = {
        {1, 1, -10},  {2, 3, -9},   {4, 5, -8},   {6, 7, -7},   {8, 9, -6},  {10, 10, -5},
        {11, 15, -4}, {16, 20, -3}, {21, 25, -2}, {26, 30, -1}, {31, 69, 0}, {70, 74, 1},
        {75, 79, 2},  {80, 84, 3},  {85, 89, 4},  {90, 91, 5},  {92, 93, 6}, {94, 95, 7},
        {96, 97, 8},  {98, 99, 9},  {100, 100, 10},
    };
    for (const Band &b : bands)
        for (int v = b.from; v <= b.to; ++v)
            EXPECT_EQ(p.BonusStats(qint16(v)), b.bonus) << v;
}

TEST_F(StatBonusTest, OutsideOneToAHundredTheOuterFormulasGoOn)
{
    EXPECT_EQ(p.BonusStats(0), -10);
    EXPECT_EQ(p.BonusStats(-1), -11);
    EXPECT_EQ(p.BonusStats(-2), -11);
    EXPECT_EQ(p.BonusStats(-3), -12);
    EXPECT_EQ(p.BonusStats(-32768), -16394);
    EXPECT_EQ(p.BonusStats(101), 12);
    EXPECT_EQ(p.BonusStats(102), 14);
    EXPECT_EQ(p.BonusStats(105), 20);
    EXPECT_EQ(p.BonusStats(16478), 32766);
}

TEST_F(StatBonusTest, BeyondSixteenBitsIsReported)
{
    ports->expectError("BonusStats", 6);
    EXPECT_EQ(p.BonusStats(16479), 0);
    ports->expectError("BonusStats", 6);
    EXPECT_EQ(p.BonusStats(32767), 0);
}

// ------------------------------------------------------------------ totals on the race fixture

class RaceBonusTest : public ::testing::Test {
protected:
    RaceBonusTest() { setStandardStats(p); }
    ScriptedPortsScope ports;
    RulesFixture rules{"race_bonus.sql"};
    Personnage p;
};

TEST_F(RaceBonusTest, StatTotalAddsRaceAndSpecialBonus)
{
    p.Race_ID = 1;
    const qint16 expected[10] = {8, 5, 1, 0, -4, 8, 10, 6, -3, 18};
    for (qint16 s = 0; s <= 9; ++s)
        EXPECT_EQ(p.TotalStatBonus(s), expected[s]) << s;
}

TEST_F(RaceBonusTest, UnknownRaceGivesOnlyTheValueBonus)
{
    p.Race_ID = 99;
    p.AddStat(2, CO, 7);
    const qint16 expected[10] = {5, 2, 0, 0, -5, 10, 6, 1, 0, 12};
    for (qint16 s = 0; s <= 9; ++s)
        EXPECT_EQ(p.TotalStatBonus(s), expected[s]) << s;
    for (qint16 kind = 1; kind <= 9; ++kind)
        p.AddResistanceSpecial(kind, 5);
    for (qint16 kind = 0; kind <= 10; ++kind)
        EXPECT_EQ(p.TotalResistanceBonus(kind), 0) << kind;
}

TEST_F(RaceBonusTest, StatOutsideTheTenIsASubscriptError)
{
    p.Race_ID = 1;
    ports->expectError("TotalStatBonus", 9);
    EXPECT_EQ(p.TotalStatBonus(10), 0);
    ports->expectError("TotalStatBonus", 9);
    EXPECT_EQ(p.TotalStatBonus(-1), 0);
}

TEST_F(RaceBonusTest, StatTotalErrorsKeepTheValueBonus)
{
    p.Race_ID = 4;   // AG column empty
    ports->expectError("TotalStatBonus", 94);
    EXPECT_EQ(p.TotalStatBonus(AG), 5);
    EXPECT_EQ(p.TotalStatBonus(CO), 2);

    p.Race_ID = 5;   // AG 32760: 32760 + 5 + 3 does not fit
    p.AddStat(2, AG, 3);
    ports->expectError("TotalStatBonus", 6);
    EXPECT_EQ(p.TotalStatBonus(AG), 5);
}

TEST_F(RaceBonusTest, ResistancesOfAnOrdinaryRace)
{
    p.Race_ID = 1;   // Ess 5, Chan -4, Ment 0, Pois 10, Fear -5
    const qint16 expected[10] = {0, 17, 14, 16, 5, 35, 13, 3, 16, -20};
    for (qint16 kind = 0; kind <= 9; ++kind)
        EXPECT_EQ(p.TotalResistanceBonus(kind), expected[kind]) << kind;
    EXPECT_EQ(p.TotalResistanceBonus(10), 0);
}

TEST_F(RaceBonusTest, AveragedRacePartsDropTheirRemainderTowardZero)
{
    setAllStats(p, 50);   // every statistic part 0
    p.Race_ID = 1;        // Ess 5, Chan -4
    EXPECT_EQ(p.TotalResistanceBonus(3), 0);
    EXPECT_EQ(p.TotalResistanceBonus(4), -2);
    p.Race_ID = 2;        // Ess -5, Chan 0, Ment 3
    EXPECT_EQ(p.TotalResistanceBonus(3), -2);
    EXPECT_EQ(p.TotalResistanceBonus(1), 0);
    EXPECT_EQ(p.TotalResistanceBonus(6), -1);
    EXPECT_EQ(p.TotalResistanceBonus(4), 1);
    p.Race_ID = 3;        // Ess 10, Chan 5, Ment 10
    EXPECT_EQ(p.TotalResistanceBonus(1), 8);
    EXPECT_EQ(p.TotalResistanceBonus(3), 7);   // 15 \ 2: the half of 7.5 is dropped
}

TEST_F(RaceBonusTest, ResistancesUseOnlyTheValueBonusOfTheirStatistics)
{
    p.Race_ID = 1;
    // Race statistic bonuses and statistic special bonuses stay out.
    for (qint16 s = 0; s <= 9; ++s)
        p.AddStat(2, s, 20);
    EXPECT_EQ(p.TotalResistanceBonus(1), 17);
    EXPECT_EQ(p.TotalResistanceBonus(8), 16);
    // A temporary value outside a resistance's statistics changes nothing.
    p.AddStat(0, ST, 30);
    p.AddStat(0, Qu, 100);
    EXPECT_EQ(p.TotalResistanceBonus(9), -20);
}

TEST_F(RaceBonusTest, ASpecialBonusCountsOnlyForItsOwnKind)
{
    p.Race_ID = 1;
    p.AddResistanceSpecial(1, 4);
    p.AddResistanceSpecial(6, -3);
    const qint16 expected[10] = {0, 21, 14, 16, 5, 35, 10, 3, 16, -20};
    for (qint16 kind = 1; kind <= 9; ++kind)
        EXPECT_EQ(p.TotalResistanceBonus(kind), expected[kind]) << kind;
}

TEST_F(RaceBonusTest, ResistanceErrorsKeepThePartReached)
{
    p.Race_ID = 4;   // Ess empty, Chan 0
    ports->expectError("TotalResistanceBonus", 94);
    EXPECT_EQ(p.TotalResistanceBonus(5), 30);
    ports->expectError("TotalResistanceBonus", 94);
    EXPECT_EQ(p.TotalResistanceBonus(1), 17);
    EXPECT_EQ(p.TotalResistanceBonus(2), 18);

    p.Race_ID = 5;   // Pois 32760
    p.AddStat(0, CO, 80);   // statistic part 9: 32769 does not fit
    ports->expectError("TotalResistanceBonus", 6);
    EXPECT_EQ(p.TotalResistanceBonus(8), 9);
    p.AddStat(0, CO, 75);   // 32766 fits, the special bonus then overflows
    p.AddResistanceSpecial(8, 5);
    ports->expectError("TotalResistanceBonus", 6);
    EXPECT_EQ(p.TotalResistanceBonus(8), 32766);
}

TEST_F(RaceBonusTest, StatisticPartOverflowGivesZero)
{
    p.Race_ID = 1;
    p.AddStat(0, EM, 16478);   // bonus 32766, three times that does not fit
    ports->expectError("TotalResistanceBonus", 6);
    EXPECT_EQ(p.TotalResistanceBonus(5), 0);
}

// ------------------------------------------------------------------ rank progression

class ProgressionTest : public ::testing::Test {
protected:
    ScriptedPortsScope ports;
    Personnage p;
    qint16 bonus(qint16 ranks, const char *text) { return p.BonusRankProgression(ranks, QString::fromUtf8(text)); }
};

TEST_F(ProgressionTest, WholeNumberProgression)
{
    const std::vector<std::pair<qint16, qint16>> cases = {
        {-1, 0}, {-300, 0}, {0, 5},   {1, 3},   {4, 12},  {10, 30}, {11, 32},
        {12, 34}, {20, 50}, {21, 51}, {25, 55}, {30, 60}, {31, 61}, {33, 63},
    };
    for (const auto &[ranks, expected] : cases)
        EXPECT_EQ(bonus(ranks, "5•3•2•1•1"), expected) << ranks;
}

TEST_F(ProgressionTest, SignedTokens)
{
    EXPECT_EQ(bonus(0, "-15•3•2•1•½"), -15);
    EXPECT_EQ(bonus(1, "-15•3•2•1•½"), 3);
    EXPECT_EQ(bonus(0, "+2•-1•0•0•0"), 2);
    EXPECT_EQ(bonus(5, "+2•-1•0•0•0"), -5);
    EXPECT_EQ(bonus(15, "+2•-1•0•0•0"), -10);
}

TEST_F(ProgressionTest, FractionsAreExactAndTheirHalvesGoToTheEvenNeighbour)
{
    // A fraction as second token is the bonus per rank of the first ten.
    EXPECT_EQ(bonus(1, "0•½•½•½•0"), 0);     // 0.5
    EXPECT_EQ(bonus(2, "0•½•½•½•0"), 1);
    EXPECT_EQ(bonus(3, "0•½•½•½•0"), 2);     // 1.5
    EXPECT_EQ(bonus(5, "0•½•½•½•0"), 2);     // 2.5
    EXPECT_EQ(bonus(7, "0•½•½•½•0"), 4);     // 3.5
    EXPECT_EQ(bonus(11, "0•½•½•½•0"), 6);    // 5.5
    EXPECT_EQ(bonus(40, "0•½•½•½•0"), 15);
    EXPECT_EQ(bonus(0, "1½•¾•¼•1½•½"), 2);   // 1.5
    EXPECT_EQ(bonus(2, "1½•¾•¼•1½•½"), 2);   // 1.5
    EXPECT_EQ(bonus(3, "1½•¾•¼•1½•½"), 2);   // 2.25
    EXPECT_EQ(bonus(10, "1½•¾•¼•1½•½"), 8);  // 7.5
    EXPECT_EQ(bonus(12, "1½•¾•¼•1½•½"), 8);  // 8
    EXPECT_EQ(bonus(22, "1½•¾•¼•1½•½"), 13); // 7.5 + 2.5 + 3
    EXPECT_EQ(bonus(31, "1½•¾•¼•1½•½"), 26); // 25.5
    EXPECT_EQ(bonus(31, "-15•3•2•1•½"), 60); // 60.5
    EXPECT_EQ(bonus(33, "-15•3•2•1•½"), 62); // 61.5
}

TEST_F(ProgressionTest, MalformedTextsAreReportedAndGiveZero)
{
    const char *texts[] = {
        "5•3•2•1", "5•3•2•1•1•1", "5•3••1•1", "5•3•x•1•1", "5 •3•2•1•1", "",
        "5·3·2·1·1", "5•3•2•1•1.5", "5•3•2•1•½½", "5•3•2•1•-", "5•3•2•1•99999999999",
    };
    for (const char *text : texts) {
        ports->expectError("BonusRankProgression");
        EXPECT_EQ(bonus(12, text), 0) << text;
        EXPECT_TRUE((ports->pending() == 0)) << text;
    }
}

TEST_F(ProgressionTest, BonusBeyondSixteenBitsIsAnOverflow)
{
    EXPECT_EQ(bonus(10, "0•3000•0•0•0"), 30000);
    ports->expectError("BonusRankProgression", 6);
    EXPECT_EQ(bonus(11, "0•3000•2768•0•0"), 0);
    ports->expectError("BonusRankProgression", 6);
    EXPECT_EQ(bonus(32767, "0•0•0•0•2"), 0);
}

// ------------------------------------------------------------------ skill and category totals

class SkillBonusTest : public ::testing::Test {
protected:
    SkillBonusTest()
    {
        setStandardStats(p);   // totals: AG 8, CO 5, Me 1, Re 0, EM 8, In 10, Pr 6
        p.Race_ID = 1;
        p.Royaume_ID = 2;
    }
    void growSkills(Personnage &c)
    {
        if (c.NbSkill == 0)
            PersonnageAccess::RedimSkill(c);
    }
    void categoryRow(qint16 row, qint16 cat, qint16 rank, qint16 s1 = 0, qint16 s2 = 0)
    {
        p.AddSkill(Personnage::fId, row, RankKind::SkillCategory, cat);
        p.AddSkill(Personnage::fRank, row, RankKind::SkillCategory, rank);
        p.AddSkill(Personnage::fSpecial1, row, RankKind::SkillCategory, s1);
        p.AddSkill(Personnage::fSpecial2, row, RankKind::SkillCategory, s2);
    }
    void skillRow(qint16 row, qint16 skill, qint16 rank, qint16 s1 = 0, qint16 s2 = 0)
    {
        growSkills(p);
        p.AddSkill(Personnage::fId, row, RankKind::Skill, skill);
        p.AddSkill(Personnage::fRank, row, RankKind::Skill, rank);
        p.AddSkill(Personnage::fSpecial1, row, RankKind::Skill, s1);
        p.AddSkill(Personnage::fSpecial2, row, RankKind::Skill, s2);
    }
    void keyedRow(qint16 kind, qint16 row, qint16 skill, qint16 key, qint16 rank, qint16 item = 0, qint16 special = 0)
    {
        p.AddSkill(Personnage::fId, row, kind, skill);
        p.AddSkill(Personnage::fKey, row, kind, key);
        p.AddSkill(Personnage::fRank, row, kind, rank);
        p.AddSkill(Personnage::fItem, row, kind, item);
        p.AddSkill(Personnage::fSpecial, row, kind, special);
    }

    ScriptedPortsScope ports;
    RulesFixture rules{"skill_bonus.sql"};
    Personnage p;
};

TEST_F(SkillBonusTest, CategoryTotalIsStatisticsPlusRanksPlusSpecials)
{
    EXPECT_EQ(p.TotalSkillCatBonus(1), 14 - 15);   // AG + CO + Me, no ranks: a0
    categoryRow(3, 1, 12, 3, -1);
    EXPECT_EQ(p.TotalSkillCatBonus(1), 14 + 22 + 3 - 1);
    EXPECT_EQ(p.TotalSkillCatBonus(5), 5);          // no statistics
    EXPECT_EQ(p.TotalSkillCatBonus(7), 2);          // Me counted twice
    EXPECT_EQ(p.TotalSkillCatBonus(6), 0);          // 11, -1 and empty name no statistic
    EXPECT_EQ(p.TotalSkillCatBonus(12), 5);
}

TEST_F(SkillBonusTest, CategoryTakesItsLastMatchingRow)
{
    categoryRow(0, 5, 1, 7, 7);
    categoryRow(4, 5, 10);
    EXPECT_EQ(p.TotalSkillCatBonus(5), 30);
    categoryRow(60, 5, 4, 1, 0);
    EXPECT_EQ(p.TotalSkillCatBonus(5), 13);
}

TEST_F(SkillBonusTest, RealmCategoryTakesTheRealmStatistics)
{
    EXPECT_EQ(p.TotalSkillCatBonus(28), 30 - 15);   // In three times
    p.Royaume_ID = 5;
    EXPECT_EQ(p.TotalSkillCatBonus(28), 24 - 15);   // EM three times
    p.Royaume_ID = 7;
    EXPECT_EQ(p.TotalSkillCatBonus(28), 18 - 15);
    p.Royaume_ID = 3;
    EXPECT_EQ(p.TotalSkillCatBonus(28), 18 - 15);   // In + EM
    p.Royaume_ID = 8;
    EXPECT_EQ(p.TotalSkillCatBonus(28), -15);
    p.Royaume_ID = 42;                              // no row: no statistics
    EXPECT_EQ(p.TotalSkillCatBonus(28), -15);
    // Every other category ignores the realm.
    EXPECT_EQ(p.TotalSkillCatBonus(1), -1);
    p.Royaume_ID = 2;
    EXPECT_EQ(p.TotalSkillCatBonus(1), -1);
}

TEST_F(SkillBonusTest, CategoryErrorsAreReportedWhereTheyStrike)
{
    // A broken progression is the progression's own error; the statistics stay.
    ports->expectError("BonusRankProgression");
    EXPECT_EQ(p.TotalSkillCatBonus(8), 8);
    ports->expectError("TotalSkillCatBonus", 3021);   // progression has no row
    EXPECT_EQ(p.TotalSkillCatBonus(9), 0);
    ports->expectError("TotalSkillCatBonus", 94);     // no progression named
    EXPECT_EQ(p.TotalSkillCatBonus(10), 0);
    ports->expectError("TotalSkillCatBonus", 3021);   // no such category
    EXPECT_EQ(p.TotalSkillCatBonus(77), 0);
    categoryRow(0, 5, 0, 32000, 800);
    ports->expectError("TotalSkillCatBonus", 6);
    EXPECT_EQ(p.TotalSkillCatBonus(5), 0);
}

TEST_F(SkillBonusTest, SkillTotalAddsTheCategoryTotal)
{
    // Skill 40 of category 5 (5•3•2•1•1), category 5 has no statistics.
    skillRow(0, 40, 4, 2, 1);
    EXPECT_EQ(p.TotalSkillBonus(40, 0, 2), 5 + 12 + 2 + 1);
    categoryRow(2, 5, 10, 1, 1);
    EXPECT_EQ(p.TotalSkillBonus(40, 0, 2), 32 + 12 + 2 + 1);
    // The item is not compared for plain skills.
    EXPECT_EQ(p.TotalSkillBonus(40, 99, 2), 32 + 15);
}

TEST_F(SkillBonusTest, SkillTakesItsFirstMatchingRow)
{
    skillRow(1, 40, 4);
    skillRow(7, 40, 10, 5, 5);
    EXPECT_EQ(p.TotalSkillBonus(40, 0, 2), 5 + 12);
}

TEST_F(SkillBonusTest, SkillWithoutRowsGivesItsZeroRankBonus)
{
    // A skill table that never grew has no rows at all: still no match.
    ASSERT_EQ(p.NbSkill, 0);
    EXPECT_EQ(p.TotalSkillBonus(40, 0, 2), 5 + 5);
    EXPECT_EQ(p.TotalSkillBonus(23, 0, 2), 5 + 4);
    growSkills(p);
    EXPECT_EQ(p.TotalSkillBonus(40, 0, 2), 5 + 5);
    // Kinds without rows of their own.
    EXPECT_EQ(p.TotalSkillBonus(40, 0, 1), 5 + 5);
    EXPECT_EQ(p.TotalSkillBonus(40, 0, 7), 5 + 5);
}

TEST_F(SkillBonusTest, RaceProgressionsOfBodyAndPowerPoints)
{
    skillRow(0, 23, 3);
    skillRow(1, 270, 5);
    skillRow(2, 271, 2);
    skillRow(3, 272, 3);
    EXPECT_EQ(p.TotalSkillBonus(23, 0, 2), 5 + 18);    // Body 4•6•4•2•1
    EXPECT_EQ(p.TotalSkillBonus(270, 0, 2), 15 + 10);  // Channeling_PP 0•2•1•1•½
    EXPECT_EQ(p.TotalSkillBonus(271, 0, 2), 15 + 6);   // Essence_PP 0•3•2•1•1
    EXPECT_EQ(p.TotalSkillBonus(272, 0, 2), 15 + 3);   // Mentalism_PP 0•1•1•½•½
    p.Race_ID = 2;
    EXPECT_EQ(p.TotalSkillBonus(23, 0, 2), 5 + 30);    // Body 0•10•5•2•1
    EXPECT_EQ(p.TotalSkillBonus(270, 0, 2), 15 + 20);
    // A race without a row leaves the category's skill progression
    // (-15•3•2•1•½), and its statistics lose the race bonus.
    p.Race_ID = 99;
    EXPECT_EQ(p.TotalSkillBonus(23, 0, 2), 2 + 9);
}

TEST_F(SkillBonusTest, SubSkillLanguageWeaponAndListRows)
{
    // Sub-skill of skill 42 (category 1: -1; progression -15•3•2•1•½).
    const qint32 row = p.AddSubSkills(42, QStringLiteral("Parois de glace"), 2);
    p.AddSkill(Personnage::fItem, qint16(row), RankKind::SubSkill, 3);
    p.AddSkill(Personnage::fSpecial, qint16(row), RankKind::SubSkill, 1);
    EXPECT_EQ(p.TotalSkillBonus(42, row, 3), -1 + 6 + 3 + 1);
    EXPECT_EQ(p.TotalSkillBonus(42, row + 1, 3), -1 - 15);
    EXPECT_EQ(p.TotalSkillBonus(42, 0, 3), -1 - 15);
    // Moved to skill 44 (category 7: 2; 5•3•2•1•1), it counts there alone.
    p.AddSkill(Personnage::fId, qint16(row), RankKind::SubSkill, 44);
    EXPECT_EQ(p.TotalSkillBonus(44, row, 3), 2 + 6 + 3 + 1);
    EXPECT_EQ(p.TotalSkillBonus(42, row, 3), -1 - 15);

    // Language 7 of skill 32 (category 14: 1; progression 1½•¾•¼•1½•½).
    keyedRow(RankKind::LanguageSkill, 3, 32, 7, 10);
    EXPECT_EQ(p.TotalSkillBonus(32, 7, 4), 1 + 8);
    EXPECT_EQ(p.TotalSkillBonus(32, 8, 4), 1 + 2);
    // The same keys in another table do not count.
    EXPECT_EQ(p.TotalSkillBonus(32, 7, 5), 1 + 2);

    // Weapon 3 and list 12 of skill 44 (category 7: 2; 5•3•2•1•1).
    keyedRow(RankKind::WeaponSkill, 1, 44, 3, 11, 2, 1);
    keyedRow(RankKind::WeaponSkill, 2, 44, 3, 1, 9, 9);
    keyedRow(RankKind::SpellList, 10, 44, 12, 1);
    EXPECT_EQ(p.TotalSkillBonus(44, 3, 5), 2 + 32 + 2 + 1);
    EXPECT_EQ(p.TotalSkillBonus(44, 12, 6), 2 + 3);
    EXPECT_EQ(p.TotalSkillBonus(44, 12, 5), 2 + 5);
}

TEST_F(SkillBonusTest, SkillErrorsAreReportedWhereTheyStrike)
{
    // Broken progression on the skill and on its category: two reports, the
    // statistics of the category remain.
    ports->expectError("BonusRankProgression");
    ports->expectError("BonusRankProgression");
    EXPECT_EQ(p.TotalSkillBonus(60, 0, 2), 8);
    ports->expectError("TotalSkillBonus", 3021);   // category without a row
    EXPECT_EQ(p.TotalSkillBonus(61, 0, 2), 0);
    ports->expectError("TotalSkillBonus", 3021);   // no such skill
    EXPECT_EQ(p.TotalSkillBonus(999, 0, 2), 0);
    skillRow(0, 40, 0, 30000, 2800);
    ports->expectError("TotalSkillBonus", 6);
    EXPECT_EQ(p.TotalSkillBonus(40, 0, 2), 0);
}

TEST_F(SkillBonusTest, ANestedErrorLetsTheOuterTotalGoOn)
{
    // The category's own overflow gives it 0; the skill adds its part to that.
    categoryRow(0, 5, 0, 32000, 800);
    skillRow(0, 40, 4);
    ports->expectError("TotalSkillCatBonus", 6);
    EXPECT_EQ(p.TotalSkillBonus(40, 0, 2), 12);
}

// ------------------------------------------------------------------ room of a typed bonus

// Error boxes taken without a question, counted by location.
class Overflows : public ScriptedPorts {
public:
    void ErrorBox(const QString &text, const QString &) override { locations.push_back(parseError(text).location); }
    int at(const char *location) const { return int(std::count(locations.begin(), locations.end(), location)); }
    QStringList locations;
};

// The figures of the character that overflow, by name, each from the code
// that works it out for a window: the record's totals of every statistic,
// resistance, category and skill of the rules and of every sub-skill the
// character holds, the skill window's sum of each category's statistics, the
// sheet's maneuver figure of every armour, and the training dialog's months
// of every package of the profession. The printed page works in wider
// numbers. A nested total's own overflow is its own, not its caller's. The
// broken categories 8 to 10 and their skill report on every call and are
// left out.
std::set<std::string> Broken(Personnage &p, ScriptedPorts &restore)
{
    Overflows seen;
    ports::install(&seen);
    std::set<std::string> broken;
    const auto check = [&](const std::string &name, const char *location, const std::function<qint64()> &figure) {
        const int before = location ? seen.at(location) : 0;
        try {
            const qint64 v = figure();
            if ((location && seen.at(location) > before) || v < -32768 || v > 32767)
                broken.insert(name);
        } catch (const vb::Error &) {
            broken.insert(name);
        }
    };
    const auto rows = [](const char *sql) {
        std::vector<std::pair<qint32, double>> out;
        for (dao::Recordset rs = rules::Open(QString::fromLatin1(sql)); !rs.Eof(); rs.MoveNext())
            out.emplace_back(vb::CLng(rs.Value(QStringLiteral("id"))), vb::CDbl(rs.Value(QStringLiteral("n"))));
        return out;
    };
    const auto n = [](qint64 v) { return std::to_string(v); };
    for (qint16 s = 0; s <= 9; ++s)
        check("stat " + n(s), "TotalStatBonus", [&] { return p.TotalStatBonus(s); });
    for (qint16 kind = 1; kind <= 9; ++kind)
        check("resistance " + n(kind), "TotalResistanceBonus", [&] { return p.TotalResistanceBonus(kind); });
    for (const auto &[cat, unused] : rows("SELECT Skill_Category_ID AS id, 0 AS n FROM [Skill Category]"
                                          " WHERE Skill_Category_ID NOT IN (8, 9, 10)")) {
        check("category " + n(cat), "TotalSkillCatBonus", [&] { return p.TotalSkillCatBonus(cat); });
        check("stat sum " + n(cat), nullptr, [&] { return p.CategoryStatSum(cat); });
    }
    for (const auto &[skill, unused] : rows("SELECT Skill_ID AS id, 0 AS n FROM Skills"
                                            " WHERE Skill_Category_ID IN (SELECT Skill_Category_ID FROM"
                                            " [Skill Category] WHERE Skill_Category_ID NOT IN (8, 9, 10))"))
        check("skill " + n(skill), "TotalSkillBonus", [&] { return p.TotalSkillBonus(skill, 0, 2); });
    for (qint32 row = 1; row <= p.NbSubSkill; ++row)
        if (p.DirSubSkills(4, row) != QStringLiteral("0"))
            check("sub-skill " + n(row), "TotalSkillBonus", [&] {
                return p.TotalSkillBonus(p.DirSubSkills(0, row).toInt(), p.DirSubSkills(4, row).toInt(), 3);
            });
    for (const auto &[armour, most] : rows("SELECT Armor_ID AS id, MaxManeuvre AS n FROM [Armor Modification]"))
        check("maneuver " + n(armour), nullptr, [&] { return p.ManeuverFigure(armour, most); });
    const QByteArray packages = "SELECT Months AS id, 0 AS n FROM [Training Package] INNER JOIN [Training Package DP "
                                "Cost] ON [Training Package].Training_ID = [Training Package DP Cost].Training_ID"
                                " WHERE Profession_ID = " + QByteArray::number(p.Profession_ID);
    for (const auto &[months, unused] : rows(packages.constData()))
        check("months " + n(months), nullptr,
              [&] { return background::TrainingMonths(qint16(months), p.TotalStatBonus(4)); });
    ports::install(&restore);
    return broken;
}

// Each kind of typed figure at the edges of its room, worked out by hand from
// the fixture: at either edge every figure that fitted still fits, one past
// it the figure named breaks. The character has the standard statistics
// (totals AG 8, CO 5, Me 1, Re 0, SD -4, EM 8, In 10, Pr 6, Qu -3, ST 18),
// wears armour 8 (maneuver -40 + skill 234) and holds category 24 (41 - 15
// = 26) with skill 234 at 2 ranks (own part 6) and 235 at 12 (34); a skill
// without a row has its category's no-rank part, -15 there.
TEST_F(SkillBonusTest, ATypedBonusKeepsEveryTotalThatFitsWithinSixteenBits)
{
    p.Armure = 8;
    categoryRow(0, 24, 0);
    skillRow(0, 234, 2);
    skillRow(1, 235, 12);
    qint32 subSkill = 0;
    struct Edge {
        const char *what;
        std::function<void()> prepare;
        std::function<void(qint32)> set;
        std::function<character::limits::Range<qint32>()> room;
        qint32 low, high;
        const char *belowLow, *aboveHigh;   // nullptr at the field's own edge
    };
    const Edge edges[] = {
        // Category 1's skill 42: -1 + v - 15; skill 235: 26 + v + 34.
        {"CO", [] {}, [&](qint32 v) { p.AddStat(2, CO, qint16(v)); }, [&] { return p.StatSpecialRoom(CO); },
         -32752, 32707, "skill 42", "skill 235"},
        // Me at 16478 has a bonus of 32766: its total 32765 + v. Category 7
        // (2 x Me) overflows, so skill 44 counts it 0 and shows 5; once Me
        // brings it to 32766 or less, 32766 + 5 breaks: 2 x (32765 - 16382) + 5.
        {"Me of 16478", [&] { p.AddStat(0, Me, 16478); }, [&](qint32 v) { p.AddStat(2, Me, qint16(v)); },
         [&] { return p.StatSpecialRoom(Me); }, -16381, 2, "skill 44", "stat 2"},
        // Me's total already past 16 bits: 32765 + 100. Nothing counts it but
        // the categories, which read 32766 in its place; category 7 stays
        // past 16 bits and its skill 44 shows 5 until Me comes down to where
        // 2 x (32765 + v) + 5 breaks, as above. Upwards nothing breaks.
        {"Me past 16 bits", [&] { p.AddStat(0, Me, 16478); p.AddStat(2, Me, 100); },
         [&](qint32 v) { p.AddStat(2, Me, qint16(v)); }, [&] { return p.StatSpecialRoom(Me); }, -16381, 32767,
         "skill 44", nullptr},
        // The training dialog works out 3 x SD's total, -4 + v: 3 x 10922 and
        // 3 x -10922 for profession 1's 24 months.
        {"SD, profession 1", [&] { p.Profession_ID = 1; }, [&](qint32 v) { p.AddStat(2, SD, qint16(v)); },
         [&] { return p.StatSpecialRoom(SD); }, -10918, 10926, "months 24", "months 24"},
        // Profession 2 also offers 150 months: 150 x (100 - 3 x T) / 100 fits
        // for T from -7248 (32766) to 7315 (-32767.5, even -32768).
        {"SD, profession 2", [&] { p.Profession_ID = 2; }, [&](qint32 v) { p.AddStat(2, SD, qint16(v)); },
         [&] { return p.StatSpecialRoom(SD); }, -7244, 7319, "months 150", "months 150"},
        // 102 x (100 - 3 x T) / 100 fits for T from -10674 (32764.44) to
        // 10741 (-32765.46); -102 months from -10675 (-32767.5, even -32768)
        // to 10741 (32765.46), each short of 3 x 10922.
        {"SD, profession 3", [&] { p.Profession_ID = 3; }, [&](qint32 v) { p.AddStat(2, SD, qint16(v)); },
         [&] { return p.StatSpecialRoom(SD); }, -10670, 10745, "months 102", "months 102"},
        {"SD, profession 4", [&] { p.Profession_ID = 4; }, [&](qint32 v) { p.AddStat(2, SD, qint16(v)); },
         [&] { return p.StatSpecialRoom(SD); }, -10671, 10745, "months -102", "months -102"},
        // Race 2: Channeling/Mentalism is 6 + 1 + (3 + 0) \ 2, that is 8.
        {"resistance 4", [&] { p.Race_ID = 2; }, [&](qint32 v) { p.AddResistanceSpecial(4, qint16(v)); },
         [&] { return p.ResistanceSpecialRoom(4); }, -32768, 32759, nullptr, "resistance 4"},
        // The maneuver, -40 + 26 + v + 6, and skill 235, 26 + v + 34.
        {"category 24", [] {},
         [&](qint32 v) { p.AddSkill(Personnage::fSpecial2, 0, RankKind::SkillCategory, qint16(v)); },
         [&] { return p.RankBonusRoom(RankKind::SkillCategory, 0, 3); }, -32760, 32707, "maneuver 8", "skill 235"},
        // The maneuver, -40 + 26 + 6 + v, and skill 234 itself.
        {"skill 234", [] {}, [&](qint32 v) { p.AddSkill(Personnage::fSpecial2, 0, RankKind::Skill, qint16(v)); },
         [&] { return p.RankBonusRoom(RankKind::Skill, 0, 3); }, -32760, 32735, "maneuver 8", "skill 234"},
        // The skill window's item box of a sub-skill of 42 at 2 ranks with a
        // special of -32000: -1 + 6 + v - 32000.
        {"sub-skill item",
         [&] {
             subSkill = p.AddSubSkills(42, QStringLiteral("Parois de glace"), 2);
             p.AddSkill(Personnage::fSpecial, qint16(subSkill), RankKind::SubSkill, -32000);
         },
         [&](qint32 v) { p.AddSkill(Personnage::fItem, qint16(subSkill), RankKind::SubSkill, qint16(v)); },
         [&] { return p.RankBonusRoom(RankKind::SubSkill, subSkill, 2); }, -773, 32767, "sub-skill 1", nullptr},
    };
    const Personnage base = p;
    const auto within = [](const std::set<std::string> &some, const std::set<std::string> &all) {
        return std::includes(all.begin(), all.end(), some.begin(), some.end());
    };
    for (const Edge &e : edges) {
        SCOPED_TRACE(e.what);
        p = base;
        e.prepare();
        const std::set<std::string> today = Broken(p, *ports);
        const character::limits::Range<qint32> room = e.room();
        EXPECT_EQ(room.low, e.low);
        EXPECT_EQ(room.high, e.high);
        for (qint32 v : {e.low, e.high}) {
            e.set(v);
            EXPECT_TRUE(within(Broken(p, *ports), today)) << v;
        }
        for (const auto &[v, name] : {std::pair(e.low - 1, e.belowLow), std::pair(e.high + 1, e.aboveHigh)}) {
            if (!name)
                continue;
            e.set(v);
            EXPECT_TRUE(Broken(p, *ports).count(name) && !today.count(name)) << v << " " << name;
        }
    }
    // In clothes the room is the same: armour 8 may be put on next, and its
    // maneuver figure must fit then too.
    p = base;
    p.Armure = 1;
    EXPECT_EQ(p.RankBonusRoom(RankKind::Skill, 0, 3).low, -32760);
}

// ------------------------------------------------------------------ the sample rules

class SampleRulesBonusTest : public ::testing::Test {
protected:
    SampleRulesBonusTest()
    {
        setAllStats(p, 50);
        p.AddStat(0, CO, 75);   // bonus 2
        p.AddStat(0, SD, 92);   // bonus 6
        p.AddStat(0, In, 90);   // bonus 5
        p.Race_ID = 3;          // CO -3, SD -2, EM 3; Ess 5, Chan -4
        p.Royaume_ID = 2;       // In three times
        PersonnageAccess::RedimSkill(p);
    }
    ScriptedPortsScope ports;
    RulesFixture rules;
    Personnage p;
};

TEST_F(SampleRulesBonusTest, EverySkillAndCategoryHasATotalWithoutError)
{
    for (qint16 kind = 1; kind <= 9; ++kind)
        p.TotalResistanceBonus(kind);
    for (qint16 s = 0; s <= 9; ++s)
        p.TotalStatBonus(s);
    dao::Recordset cats = ModGeneral::DbMaster.OpenRecordset(QStringLiteral("Skill Category"));
    int categories = 0;
    for (cats.MoveFirst(); !cats.Eof(); cats.MoveNext(), ++categories)
        p.TotalSkillCatBonus(vb::CLng(cats.Value(QStringLiteral("Skill_Category_ID"))));
    cats.Close();
    dao::Recordset skills = ModGeneral::DbMaster.OpenRecordset(QStringLiteral("Skills"));
    int count = 0;
    for (skills.MoveFirst(); !skills.Eof(); skills.MoveNext(), ++count)
        p.TotalSkillBonus(vb::CLng(skills.Value(QStringLiteral("Skill_ID"))), 0, RankKind::Skill);
    skills.Close();
    EXPECT_GT(categories, 20);
    EXPECT_GT(count, 80);
}

TEST_F(SampleRulesBonusTest, HitPointsAndPowerPointsFollowTheRace)
{
    // Category 12 counts CO twice and SD: -1 - 1 + 4, and takes no ranks.
    EXPECT_EQ(p.TotalSkillCatBonus(12), 2);
    EXPECT_EQ(p.TotalSkillBonus(23, 0, RankKind::Skill), 2);
    p.AddSkill(Personnage::fId, 0, RankKind::Skill, 23);
    p.AddSkill(Personnage::fRank, 0, RankKind::Skill, 8);
    EXPECT_EQ(p.TotalSkillBonus(23, 0, RankKind::Skill), 2 + 24);      // Body 0•3•2•1•1
    p.AddSkill(Personnage::fId, 1, RankKind::Skill, 270);
    p.AddSkill(Personnage::fRank, 1, RankKind::Skill, 5);
    p.AddSkill(Personnage::fId, 2, RankKind::Skill, 271);
    p.AddSkill(Personnage::fRank, 2, RankKind::Skill, 3);
    EXPECT_EQ(p.TotalSkillCatBonus(28), 15);
    EXPECT_EQ(p.TotalSkillBonus(270, 0, RankKind::Skill), 15 + 10);    // 0•2•1•1•½
    EXPECT_EQ(p.TotalSkillBonus(271, 0, RankKind::Skill), 15 + 12);    // 0•4•3•2•1
    EXPECT_EQ(p.TotalSkillBonus(272, 0, RankKind::Skill), 15);
    p.Royaume_ID = 5;   // EM three times: race 3 each
    EXPECT_EQ(p.TotalSkillCatBonus(28), 9);
}

TEST_F(SampleRulesBonusTest, RacePartsOfTheResistances)
{
    setAllStats(p, 50);   // statistic parts 0
    p.Race_ID = 3;        // Ess 5, Chan -4
    EXPECT_EQ(p.TotalResistanceBonus(3), 0);
    p.Race_ID = 4;        // Ess -5, Chan 0
    EXPECT_EQ(p.TotalResistanceBonus(3), -2);
    p.Race_ID = 5;        // Ess 10, Chan 5, Ment 10
    EXPECT_EQ(p.TotalResistanceBonus(1), 8);
}

} // namespace
