#include "platform/SqlDialect.h"

#include <gtest/gtest.h>

using dao::adaptSql;
using dao::withStoredOrder;

TEST(SqlDialect, TellsTableNamesFromStatements)
{
    EXPECT_TRUE(dao::isSqlText("SELECT * FROM Stat"));
    EXPECT_TRUE(dao::isSqlText("  select *from Stat"));
    EXPECT_TRUE(dao::isSqlText("(SELECT 1)"));
    EXPECT_FALSE(dao::isSqlText("Stat"));
    EXPECT_FALSE(dao::isSqlText("Skill Category"));
    EXPECT_FALSE(dao::isSqlText("[Special Skills Profession & Bonus]"));
    EXPECT_FALSE(dao::isSqlText("Selection"));       // a table whose name begins like a keyword
    EXPECT_EQ(dao::bareTableName(" [Race abilities] ;"), "Race abilities");
    EXPECT_EQ(dao::bareTableName("Skill Category"), "Skill Category");
}

TEST(SqlDialect, GluedNumberGetsItsBlankBack)
{
    EXPECT_EQ(adaptSql("SELECT StatEn From Stat, Profession WHERE Profession_ID = 12AND ( Stat_ID =Stat_ID1 );"),
              "SELECT StatEn From Stat, Profession WHERE Profession_ID = 12 AND ( Stat_ID =Stat_ID1 );");
    // Digits inside names, strings and brackets are left alone.
    EXPECT_EQ(adaptSql("SELECT Stat_ID1 FROM [T 2AND] WHERE x='3OR' AND y=1.5e3"),
              "SELECT Stat_ID1 FROM [T 2AND] WHERE x='3OR' AND y=1.5e3");
}

TEST(SqlDialect, LiteralsOfTheOldDialect)
{
    EXPECT_EQ(adaptSql("SELECT * FROM Skills WHERE Restricted = True AND Subdivision=false"),
              "SELECT * FROM Skills WHERE Restricted = -1 AND Subdivision=0");
    EXPECT_EQ(adaptSql("SELECT * FROM T WHERE Name = \"l'arc\" AND [True] = 1"),
              "SELECT * FROM T WHERE Name = 'l''arc' AND [True] = 1");
    EXPECT_EQ(adaptSql("SELECT * FROM T WHERE d = #12/31/1999# OR d = #2001-02-03 4:05#"),
              "SELECT * FROM T WHERE d = '1999-12-31' OR d = '2001-02-03 04:05:00'");
    EXPECT_EQ(adaptSql("SELECT [Skills]![SkillFr] FROM Skills"), "SELECT [Skills].[SkillFr] FROM Skills");
    EXPECT_EQ(adaptSql("SELECT 1 WHERE a != b"), "SELECT 1 WHERE a != b");
}

TEST(SqlDialect, LikeWildcards)
{
    EXPECT_EQ(adaptSql("SELECT * FROM Skills WHERE SkillFr LIKE 'Arm*' OR SkillEn LIKE('?x')"),
              "SELECT * FROM Skills WHERE SkillFr LIKE 'Arm%' OR SkillEn LIKE('_x')");
    // A literal % or _ in the old dialect: escaped, the clause after the parentheses.
    EXPECT_EQ(adaptSql("SELECT * FROM T WHERE a LIKE('50%*') AND b=1"),
              "SELECT * FROM T WHERE a LIKE('50\\%%') ESCAPE '\\' AND b=1");
    EXPECT_EQ(adaptSql("SELECT * FROM T WHERE a LIKE 'a_b'"), "SELECT * FROM T WHERE a LIKE 'a\\_b' ESCAPE '\\'");
    EXPECT_EQ(adaptSql("SELECT * FROM T WHERE a LIKE '[*]x'"), "SELECT * FROM T WHERE a LIKE '*x'");
    // Not a pattern: untouched.
    EXPECT_EQ(adaptSql("SELECT '*?' FROM T"), "SELECT '*?' FROM T");
}

TEST(SqlDialect, StoredOrderAppendedOnlyWhereItFits)
{
    EXPECT_EQ(withStoredOrder("SELECT * FROM [Adolescences Rank] where Culture_ID= 3"),
              "SELECT * FROM [Adolescences Rank] where Culture_ID= 3 ORDER BY [Adolescences Rank].rowid");
    EXPECT_EQ(withStoredOrder("SELECT * From [Talents Bonus] WHERE ((Talents_ID=4));"),
              "SELECT * From [Talents Bonus] WHERE ((Talents_ID=4)) ORDER BY [Talents Bonus].rowid");
    EXPECT_EQ(withStoredOrder("SELECT a FROM Weapons INNER JOIN [Weapons Type] ON x=y"),
              "SELECT a FROM Weapons INNER JOIN [Weapons Type] ON x=y ORDER BY Weapons.rowid");
    EXPECT_EQ(withStoredOrder("SELECT a FROM [Training Package] AS TP WHERE 1"),
              "SELECT a FROM [Training Package] AS TP WHERE 1 ORDER BY TP.rowid");
    EXPECT_EQ(withStoredOrder("SELECT a FROM Stat s, Profession"), "SELECT a FROM Stat s, Profession ORDER BY s.rowid");
    for (const char *unchanged : {"SELECT * FROM Skills ORDER BY SkillFr", "SELECT count(*) FROM T GROUP BY a",
                                  "SELECT a FROM T UNION SELECT a FROM U", "SELECT a FROM (SELECT 1 AS a)",
                                  "SELECT DISTINCT a FROM T", "SELECT 1", "PRAGMA table_info(T)",
                                  "SELECT a FROM T WHERE b IN (SELECT c FROM U ORDER BY c) LIMIT 3"})
        EXPECT_EQ(withStoredOrder(unchanged), unchanged) << unchanged;
    // An ORDER BY inside a subquery does not count as the statement's.
    EXPECT_EQ(withStoredOrder("SELECT a FROM T WHERE b IN (SELECT c FROM U ORDER BY c)"),
              "SELECT a FROM T WHERE b IN (SELECT c FROM U ORDER BY c) ORDER BY T.rowid");
}
