// A page routine that fails on the rules data reports it under its own name,
// leaves its page as far as it got, and the run still ends normally: the
// other pages are drawn and the document is finished, not dropped.
#include "support/RulesDb.h"
#include "PrintFixture.h"

#include <QFile>
#include <QTemporaryDir>
#include <sqlite3.h>

using print::RecordingTarget;

class PageFailuresTest : public PrintFixture {
protected:
    // The sample rules with a change, opened as the program's rules.
    void UseRulesWith(const char *sql)
    {
        testrules::OpenChangedMaster(m_dir.filePath(QStringLiteral("rules.dat")), sql);
    }

    std::unique_ptr<RecordingTarget> Run(const QString &mask, bool printer = true)
    {
        auto rec = std::make_unique<RecordingTarget>(printer);
        EXPECT_TRUE(ModPrint::Setup_Page(mask, QStringLiteral("1"), *rec));
        return rec;
    }

private:
    QTemporaryDir m_dir;
};

TEST_F(PageFailuresTest, AShortStatisticTableEndsTheMainPageAndTheSkillPagesStillPrint)
{
    UseRulesWith("DELETE FROM Stat WHERE Stat_ID = 10;");
    ui->expectError(QStringLiteral("Page_Principal"), vb::ErrNoCurrentRecord);
    const auto rec = Run(QStringLiteral("11"));

    // The nine statistics the table has are drawn, then the page stops:
    // nothing of the resistances, no footer.
    EXPECT_NE(rec->Find(QStringLiteral("Rapidité"), 1), nullptr);
    EXPECT_EQ(rec->Find(QStringLiteral("Résistance"), 1), nullptr);
    EXPECT_EQ(rec->Find(ModPrint::FooterNotice(), 1), nullptr);
    // The skill pages follow on a new sheet, whole, and the job is sent.
    ASSERT_GE(rec->Pages(), 2);
    EXPECT_NE(rec->Find(QStringLiteral("Compétences"), 2), nullptr);
    EXPECT_NE(rec->Find(ModPrint::FooterNotice(), rec->Pages()), nullptr);
    EXPECT_EQ(rec->Ends(), 1);
    EXPECT_EQ(rec->Aborts(), 0);
    EXPECT_EQ(ModPrint::Target(), nullptr);
}

TEST_F(PageFailuresTest, AMissingRulesTableEndsTheSkillPagesUnderTheirOwnName)
{
    UseRulesWith("DROP TABLE [Skill Category DP Cost];");
    ui->expectError(QStringLiteral("ModPrint.Page_Skill"));
    const auto rec = Run(QStringLiteral("11"));

    // The main page is whole; the skill page that could not be drawn has
    // neither header nor footer, and the document is still finished.
    EXPECT_NE(rec->Find(ModPrint::FooterNotice(), 1), nullptr);
    EXPECT_EQ(rec->Pages(), 2);
    EXPECT_EQ(rec->Find(QStringLiteral("Compétences"), 2), nullptr);
    EXPECT_EQ(rec->Find(ModPrint::FooterNotice(), 2), nullptr);
    EXPECT_EQ(rec->Ends(), 1);
    EXPECT_EQ(rec->Aborts(), 0);
}

TEST_F(PageFailuresTest, ACategoryTheProfessionHasNoCostForPrintsNoCost)
{
    UseRulesWith("DELETE FROM [Skill Category DP Cost] WHERE Skill_Category_ID = "
                 "(SELECT Skill_Category_ID FROM Skills WHERE SkillFr = 'Apnée' COLLATE BINARY);");
    const auto rec = Run(QStringLiteral("10"), false);
    const auto *name = rec->Find(QStringLiteral("Apnée"));
    ASSERT_NE(name, nullptr);
    const auto row = rec->Row(name->y, name->page);
    // Every column but the cost: the statistic comes right after the name.
    ASSERT_EQ(row.size(), 9);
    EXPECT_NEAR(row[1].x + row[1].width / 2, 10, 1e-5);
    EXPECT_NEAR(row.last().x + row.last().width, 19.8, 1e-5);
}

TEST_F(PageFailuresTest, ACategoryTheRulesLackIsToldOnceAndItsSkillsStillPrint)
{
    // Every skill the sample character holds in the first category: several rows.
    UseRulesWith("DELETE FROM [Skill Category] WHERE Skill_Category_ID = 1;");
    ui->expectError(QStringLiteral("ModPrint.Page_Skill"), vb::ErrNoCurrentRecord);
    const auto rec = Run(QStringLiteral("10"), false);
    EXPECT_EQ(ui->errors().size(), 1u);
    // The rows keep their names and ranks.
    const auto *name = rec->Find(QStringLiteral("Soulever des fardeaux"));
    ASSERT_NE(name, nullptr);
    EXPECT_GE(rec->Row(name->y, name->page).size(), 5);
    // The skill pages are whole: every page ends with its footer.
    ASSERT_GE(rec->Pages(), 1);
    EXPECT_NE(rec->Find(ModPrint::FooterNotice(), rec->Pages()), nullptr);
    EXPECT_EQ(rec->Ends(), 1);
}

TEST_F(PageFailuresTest, AProgressionTheRulesLackLeavesOnlyTheRankBonusEmpty)
{
    UseRulesWith("UPDATE [Skill Category] SET Skill_Bonus_ID = 99 WHERE Skill_Category_ID = "
                 "(SELECT Skill_Category_ID FROM Skills WHERE SkillFr = 'Apnée' COLLATE BINARY);");
    // The page itself says nothing; the record's total, which needs that
    // progression too, reports it as its own, once for the whole run.
    ui->expectError(QStringLiteral("TotalSkillBonus"), vb::ErrNoCurrentRecord);
    const auto rec = Run(QStringLiteral("10"), false);
    EXPECT_EQ(ui->errors().size(), 1u);
    const auto *name = rec->Find(QStringLiteral("Apnée"));
    ASSERT_NE(name, nullptr);
    QList<double> rightEdges;
    for (const auto &t : rec->Row(name->y, name->page))
        rightEdges << std::round((t.x + t.width) * 10) / 10;
    // Category bonus, item, special and total are drawn; the rank bonus is not.
    EXPECT_FALSE(rightEdges.contains(13.8));
    for (double x : {15.3, 16.8, 18.3, 19.8})
        EXPECT_TRUE(rightEdges.contains(x)) << x;
}
