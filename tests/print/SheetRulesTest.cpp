// The sheet's arithmetic: rounding, movement, encumbrance, recovery, and the
// cutting of texts to their place.
#include "frame/Rules.h"
#include "platform/vb.h"
#include "print/SheetRules.h"

#include <gtest/gtest.h>

using namespace print::sheet;

TEST(SheetRulesTest, RoundedValuesGoHalfToEven)
{
    // Hit points of 10: 7.5 goes up to 8, 2.5 down to 2.
    EXPECT_EQ(PointColumns(10), (std::array<int, 4>{10, 8, 5, 2}));
    EXPECT_EQ(PointColumns(-10), (std::array<int, 4>{-10, -8, -5, -2}));
    EXPECT_EQ(PointColumns(0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(RoundEven(22.5), 22);
    EXPECT_EQ(RoundEven(3.5), 4);
    EXPECT_EQ(RoundEven(-0.5), 0);
}

TEST(SheetRulesTest, RestRecoveryAveragesThreeStatisticsForRealmOneAndTwoForTheOthers)
{
    EXPECT_EQ(RealmRest(1, 10, 5, 6), 7);    // 21 / 3
    EXPECT_EQ(RealmRest(1, 10, 5, 0), 5);    // 15 / 3
    EXPECT_EQ(RealmRest(1, 10, 5, 5), 7);    // 20 / 3 = 6.67
    EXPECT_EQ(RealmRest(5, 10, 5, 90), 8);   // 7.5 to even; the third is not counted
    EXPECT_EQ(RealmRest(3, 3, 2, 0), 2);     // 2.5 to even
}

TEST(SheetRulesTest, ArmourManeuverPenaltyByKindCappedAtTheArmoursBest)
{
    const auto bonus = [](int skill) { return skill == 235 ? 12 : skill == 233 ? 40 : 0; };
    EXPECT_EQ(ManeuverPenalty(3, -99, -99, bonus), std::optional<int>(-99));   // light armour: 0, then the cap
    EXPECT_EQ(ManeuverPenalty(3, 0, 0, bonus), std::optional<int>(0));
    EXPECT_EQ(ManeuverPenalty(1, 0, 0, bonus), std::optional<int>(0));
    EXPECT_EQ(ManeuverPenalty(4, 0, 0, bonus), std::optional<int>(0));
    EXPECT_EQ(ManeuverPenalty(10, -35, -5, bonus), std::optional<int>(-23));  // -35 + 12
    EXPECT_EQ(ManeuverPenalty(18, -30, -5, bonus), std::optional<int>(-5));   // -30 + 40 = 10, capped
    EXPECT_EQ(rules::ManeuverSkill(5), 234);
    EXPECT_EQ(rules::ManeuverSkill(12), 235);
    EXPECT_EQ(rules::ManeuverSkill(16), 236);
    EXPECT_EQ(rules::ManeuverSkill(20), 233);
    // Past the four kinds: no value, unless the armour's best is below 0.
    EXPECT_FALSE(ManeuverPenalty(21, 0, 0, bonus).has_value());
    EXPECT_FALSE(ManeuverPenalty(22, 0, 0, bonus).has_value());
    EXPECT_EQ(ManeuverPenalty(22, 0, -10, bonus), std::optional<int>(-10));
}

TEST(SheetRulesTest, MovementRatesOfATallCharacterWithoutPenalties)
{
    // 1.80 m is 5.9 feet: no stride, base 50 / 3.28 = 15.24 -> 15 m.
    const int stride = Stride(1.8f, 3.28);
    EXPECT_EQ(stride, 0);
    const int q = MovementPenalty(0, 0);
    const int base = BaseRate(stride, 0, q, 3.28);
    EXPECT_EQ(base, 15);
    EXPECT_EQ(PaceRates(base), (std::array<int, 6>{15, 22, 30, 45, 60, 75}));
    // Feet and 6.5 feet: one half foot more, 5 more feet a round.
    EXPECT_EQ(Stride(6.5f, 1.0), 5);
    EXPECT_EQ(Stride(5.0f, 1.0), -10);
    EXPECT_EQ(BaseRate(5, 2, -15, 1.0), 46);
    // A height or weight of another program's file beyond any whole number
    // overflows as every conversion does; it never wraps into a made-up rate.
    EXPECT_THROW(Stride(1.0e30f, 3.28), vb::Error);
    EXPECT_THROW(StepWeight(3.0e38f), vb::Error);
    EXPECT_THROW(PaceRates(1000000000), vb::Error);
}

TEST(SheetRulesTest, DifficultyBandsFollowTheMovementPenalty)
{
    EXPECT_EQ(MovementPenalty(-30, 5), -15);
    EXPECT_EQ(MovementPenalty(-20, 10), 0);
    EXPECT_EQ(MovementPenalty(std::nullopt, -4), -12);
    EXPECT_EQ(PaceDifficulty(0), (std::array<int, 6>{3569, 3569, 3569, 3570, 3571, 3572}));
    EXPECT_EQ(PaceDifficulty(-10), (std::array<int, 6>{3569, 3569, 3569, 3571, 3572, 3573}));
    // -15: the dash is out of reach.
    EXPECT_EQ(PaceDifficulty(-15), (std::array<int, 6>{3569, 3569, 3571, 3572, 3572, 0}));
    EXPECT_EQ(PaceDifficulty(-25), PaceDifficulty(-15));
    EXPECT_EQ(PaceDifficulty(-26), (std::array<int, 6>{3569, 3571, 3572, 3573, 0, 0}));
    EXPECT_EQ(PaceDifficulty(-65), (std::array<int, 6>{3571, 3572, 3573, 0, 0, 0}));
    EXPECT_EQ(PaceDifficulty(-66), (std::array<int, 6>{3572, 3573, 0, 0, 0, 0}));
    EXPECT_EQ(PaceDifficulty(-100), PaceDifficulty(-66));
    EXPECT_EQ(PaceDifficulty(-101), (std::array<int, 6>{3573, 0, 0, 0, 0, 0}));
}

TEST(SheetRulesTest, LoadLinesSkipTheStepsTheAllowanceCovers)
{
    EXPECT_EQ(StepWeight(85.0f), 8);   // 8.5 to even
    EXPECT_EQ(StepWeight(61.5f), 6);
    const auto covered = LoadSteps(10);
    ASSERT_EQ(covered.size(), 10);
    EXPECT_EQ(covered[0], qMakePair(2, -6));
    EXPECT_EQ(covered[1], qMakePair(3, -14));
    EXPECT_EQ(covered[9], qMakePair(11, -78));
    // An allowance of 8 covers step 1 exactly: no line of penalty 0.
    EXPECT_EQ(LoadSteps(8)[0], qMakePair(2, -8));
    const auto none = LoadSteps(0);
    ASSERT_EQ(none.size(), 10);
    EXPECT_EQ(none[0], qMakePair(1, -8));
    EXPECT_EQ(none[9], qMakePair(10, -80));
    EXPECT_EQ(LoadSteps(-20)[0], qMakePair(1, -8));
}

TEST(SheetRulesTest, HistoryIsCutIntoAtMostNineLinesOfSixtyThreeCharacters)
{
    QStringList twelve;
    for (int i = 1; i <= 12; ++i)
        twelve << QStringLiteral("ligne %1").arg(i);
    const QStringList printed = HistoryLines(twelve.join(QStringLiteral("\r\n")));
    ASSERT_EQ(printed.size(), 9);
    EXPECT_EQ(printed.last(), QStringLiteral("ligne 9"));

    EXPECT_EQ(HistoryLines(QString(70, QLatin1Char('x'))), QStringList{QString(63, QLatin1Char('x'))});
    EXPECT_TRUE(HistoryLines(QString()).isEmpty());
    // An empty line keeps its row; a closing pair leaves an empty last row.
    EXPECT_EQ(HistoryLines(QStringLiteral("a\r\n\r\nb\r\n")), (QStringList{"a", "", "b", ""}));
    // A history holding line feeds alone keeps those lines apart too.
    EXPECT_EQ(HistoryLines(QStringLiteral("un\ndeux\r\ntrois")), (QStringList{"un", "deux", "trois"}));
}

TEST(SheetRulesTest, LongSpellListNamesAreCutToTheirColumn)
{
    EXPECT_EQ(ListName(QString(23, QLatin1Char('a'))), QString(23, QLatin1Char('a')));
    EXPECT_EQ(ListName(QStringLiteral("abcdefghijklmnopqrstuvwx")), QStringLiteral("abcdefghijklmnopqrstuv..."));
}
