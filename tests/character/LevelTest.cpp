// Level from experience, the move to the next level, development points.
#include "character/Limits.h"
#include "character/Personnage.h"
#include "support/ScriptedPorts.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

class LevelTest : public ::testing::Test {
protected:
    ScriptedPortsScope ports;
    Personnage p;

    qint16 levelAt(qint32 xp)
    {
        p.Experience = xp;
        return p.CalNiveau();
    }
    qint32 nextFrom(qint32 xp)
    {
        p.Experience = xp;
        p.ChangeNiveau();
        return p.Experience;
    }
    void setDevStats(std::vector<qint16> values)
    {
        for (qint16 i = 0; i < static_cast<qint16>(values.size()); ++i)
            p.AddStat(0, i, values[i]);
    }
};

TEST_F(LevelTest, LevelAtEveryBandEdge)
{
    const std::vector<std::pair<qint32, qint16>> cases = {
        {0, 0},         {9999, 0},      {10000, 1},     {49999, 4},     {50000, 5},
        {69999, 5},     {70000, 6},     {149999, 9},    {150000, 10},   {179999, 10},
        {180000, 11},   {299999, 14},   {300000, 15},   {339999, 15},   {340000, 16},
        {499999, 19},   {500000, 20},   {549999, 20},   {550000, 21},
    };
    for (const auto &[xp, level] : cases)
        EXPECT_EQ(levelAt(xp), level) << xp;
}

TEST_F(LevelTest, NegativeExperienceTruncatesTowardZero)
{
    EXPECT_EQ(levelAt(-1), 0);
    EXPECT_EQ(levelAt(-9999), 0);
    EXPECT_EQ(levelAt(-10000), -1);
    EXPECT_EQ(levelAt(-19999), -1);
    EXPECT_EQ(levelAt(-20000), -2);
}

TEST_F(LevelTest, LevelBeyondSixteenBitsIsReportedAndGivesZero)
{
    // 1,637,899,999 is the last experience whose level still fits.
    EXPECT_EQ(levelAt(1637899999), 32767);
    ports->expectError("CalNiveau", 6);
    EXPECT_EQ(levelAt(1637900000), 0);
    ports->expectError("CalNiveau", 6);
    EXPECT_EQ(levelAt(2147483647), 0);
    EXPECT_EQ(p.Experience, 2147483647);
}

TEST_F(LevelTest, NextLevelStartsAtTheFirstExperienceOfTheLevelAbove)
{
    const std::vector<std::pair<qint32, qint32>> cases = {
        {0, 10000},       {49999, 50000},   {50000, 70000},   {149999, 150000}, {150000, 180000},
        {300000, 340000}, {499999, 500000}, {500000, 550000}, {-1, 10000},      {-10000, 0},
        {-10001, 0},      {549999, 550000},
    };
    for (const auto &[from, to] : cases)
        EXPECT_EQ(nextFrom(from), to) << from;
}

TEST_F(LevelTest, NextLevelAlwaysRaisesTheLevelByOne)
{
    for (qint32 xp = -60000; xp <= 1200000; xp += 2500) {
        const qint16 before = levelAt(xp);
        p.ChangeNiveau();
        EXPECT_EQ(p.CalNiveau(), before + 1) << xp;
    }
}

// Past the experience a character file holds, the next level would be saved
// into a file that no longer opens: an overflow, as past 32 bits.
TEST_F(LevelTest, NextLevelPastWhatAFileHoldsIsReportedAndKeepsExperience)
{
    const qint32 top = character::limits::kExperience.high;
    EXPECT_EQ(nextFrom(top - 1), top);
    ports->expectError("ChangeNiveau", 6);
    EXPECT_EQ(nextFrom(top), top);
    ports->expectError("ChangeNiveau", 6);
    EXPECT_EQ(nextFrom(2147483647), 2147483647);
}

TEST_F(LevelTest, DevelopmentPointsAreAFifthOfTheFirstFiveTemporaryValues)
{
    setDevStats({90, 85, 70, 60, 95});
    EXPECT_EQ(p.DevelopmentPoint(), 80);
    EXPECT_EQ(p.PdeD, 80);
    setDevStats({90, 85, 70, 60, 96});
    EXPECT_EQ(p.DevelopmentPoint(), 80);
    setDevStats({90, 85, 70, 60, 99});
    EXPECT_EQ(p.DevelopmentPoint(), 80);
    setDevStats({90, 85, 70, 60, 100});
    EXPECT_EQ(p.DevelopmentPoint(), 81);
    // A negative sum drops its remainder toward zero.
    setDevStats({-3, 0, 0, 0, 0});
    EXPECT_EQ(p.DevelopmentPoint(), 0);
    setDevStats({-7, 0, 0, 0, 0});
    EXPECT_EQ(p.DevelopmentPoint(), -1);
}

TEST_F(LevelTest, DevelopmentPointsIgnoreEverythingButTheFirstFiveTemporaryValues)
{
    setDevStats({90, 85, 70, 60, 95, 11, 22, 33, 44, 55});
    for (qint16 s = 0; s <= 9; ++s) {
        p.AddStat(1, s, 99);
        p.AddStat(2, s, 25);
    }
    p.AddStat(0, 8, 1);
    EXPECT_EQ(p.DevelopmentPoint(), 80);
}

TEST_F(LevelTest, DevelopmentPointOverflowIsReportedAndKeepsTheStoredPoints)
{
    setDevStats({90, 85, 70, 60, 95});
    p.DevelopmentPoint();
    // Each value fits, their sum does not.
    setDevStats({30000, 2767, 1, 0, 0});
    ports->expectError("DevlopmentPoint", 6);
    EXPECT_EQ(p.DevelopmentPoint(), 0);
    EXPECT_EQ(p.PdeD, 80);
    // A sum that only passes through the limit on the way is an overflow too.
    setDevStats({32767, 1, -10, 0, 0});
    ports->expectError("DevlopmentPoint", 6);
    EXPECT_EQ(p.DevelopmentPoint(), 0);
    setDevStats({32767, 0, 0, 0, 0});
    EXPECT_EQ(p.DevelopmentPoint(), 6553);
}

} // namespace
