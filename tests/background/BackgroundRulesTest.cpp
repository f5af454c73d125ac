// The background rules that need no window: money for a roll, the percentile
// band walk, the talents code and the training time.
#include "character/BackgroundRules.h"
#include "platform/vb.h"

#include <gtest/gtest.h>

using namespace background;

TEST(BackgroundRulesTest, MoneyBandsMeetAtTheirEdges)
{
    const std::pair<int, int> cases[] = {{1, 1},   {2, 1},   {3, 2},   {5, 2},   {6, 5},   {15, 5},  {16, 10},
                                         {25, 10}, {26, 15}, {56, 30}, {65, 30}, {66, 40}, {70, 40}, {71, 50},
                                         {85, 70}, {86, 80}, {90, 80}, {91, 100}, {94, 100}, {95, 125}, {97, 125},
                                         {98, 150}, {99, 150}, {100, 200}};
    for (const auto &[roll, gold] : cases)
        EXPECT_EQ(MoneyForRoll(roll), gold) << "roll " << roll;
    EXPECT_EQ(MoneyForRoll(0), 0);
    EXPECT_EQ(MoneyForRoll(101), 0);
    // The amounts never fall as the roll rises.
    for (int r = 2; r <= 100; ++r)
        EXPECT_GE(MoneyForRoll(r), MoneyForRoll(r - 1)) << r;
}

TEST(BackgroundRulesTest, BandWalkTakesTheBandHoldingTheRoll)
{
    const QStringList bands = {"01", "15", "29", "42", "100"};
    EXPECT_EQ(BandIndex(bands, 100), 4);   // straight to the last band
    EXPECT_EQ(BandIndex(bands, 1), 0);
    EXPECT_EQ(BandIndex(bands, 15), 1);    // a roll on a band's bound is that band's
    EXPECT_EQ(BandIndex(bands, 14), 0);
    EXPECT_EQ(BandIndex(bands, 42), 3);
    EXPECT_EQ(BandIndex(bands, 99), 3);    // the band before the "100" band
    EXPECT_TRUE(BandsComplete(bands));
}

TEST(BackgroundRulesTest, TablesThatCannotPlaceARollAreSaidSo)
{
    EXPECT_EQ(BandIndex({}, 50), -1);
    EXPECT_FALSE(BandsComplete({}));
    const QStringList late = {"10", "50", "100"};          // nothing for 1..9
    EXPECT_EQ(BandIndex(late, 5), -1);
    EXPECT_EQ(BandIndex(late, 10), 0);
    EXPECT_FALSE(BandsComplete(late));
    const QStringList open = {"01", "50"};                  // no end band
    EXPECT_EQ(BandIndex(open, 70), -1);
    EXPECT_EQ(BandIndex(open, 20), 0);
    EXPECT_FALSE(BandsComplete(open));
    EXPECT_EQ(BandIndex({"01", "100"}, 0), -1);
    EXPECT_EQ(BandIndex({"01", "100"}, 101), -1);
}

TEST(BackgroundRulesTest, TalentsCodeNamesDegreeColumnAndFlaw)
{
    const TalentsCode c = ParseTalentsCode("25");
    EXPECT_TRUE(c.valid());
    EXPECT_EQ(c.degree, 2);
    EXPECT_EQ(c.column, 5);
    EXPECT_FALSE(c.rolled());
    EXPECT_FALSE(c.hasFlaw());
    EXPECT_EQ(ParseTalentsCode("11").flawType(), 0);   // degree 1 takes flaws of type 0
    EXPECT_EQ(ParseTalentsCode("33").flawType(), 3);
    EXPECT_EQ(ParseTalentsCode("34").flawType(), 2);
    EXPECT_TRUE(ParseTalentsCode("36").hasFlaw());
    EXPECT_TRUE(ParseTalentsCode("13").rolled());
    EXPECT_FALSE(ParseTalentsCode("").valid());
    EXPECT_FALSE(ParseTalentsCode("2").valid());
    EXPECT_FALSE(ParseTalentsCode("27").valid());
    EXPECT_FALSE(ParseTalentsCode("x5").valid());
    EXPECT_EQ(MakeTalentsCode(2, 5), QStringLiteral("25"));
}

TEST(BackgroundRulesTest, TrainingTimeShrinksWithSelfDiscipline)
{
    EXPECT_EQ(TrainingMonths(12, 0), 12);
    EXPECT_EQ(TrainingMonths(12, 5), 10);
    EXPECT_EQ(TrainingMonths(12, 10), 8);
    EXPECT_EQ(TrainingMonths(12, -5), 14);
    EXPECT_EQ(TrainingMonths(12, 40), -2);
    // Exact halves go to the even neighbour: 15 x 0.1 = 1.5 -> 2, 5 x 0.7 = 3.5 -> 4, 1 x 0.5 -> 0.
    EXPECT_EQ(TrainingMonths(15, 30), 2);
    EXPECT_EQ(TrainingMonths(5, 10), 4);
    EXPECT_EQ(TrainingMonths(1, 50 / 3 + 0), 1);   // 1 x 0.52 -> 1
    EXPECT_EQ(TrainingMonths(10, 35), -0);          // 10 x -0.05 = -0.5 -> 0
    EXPECT_EQ(TrainingMonths(30, 35), -2);          // -1.5 -> -2
    try {
        TrainingMonths(12, 20000);                  // 3 x bonus leaves the 16-bit range
        ADD_FAILURE() << "no overflow";
    } catch (const vb::Error &e) {
        EXPECT_EQ(e.number(), vb::ErrOverflow);
    }
}

TEST(BackgroundRulesTest, HistoryLinesJoinWithALineBreak)
{
    EXPECT_EQ(AppendHistoryLine(QString(), "x"), QStringLiteral("x"));
    EXPECT_EQ(AppendHistoryLine("a", "x"), QStringLiteral("a\r\nx"));
    EXPECT_EQ(AppendHistoryLine("a", ""), QStringLiteral("a\r\n"));
}
