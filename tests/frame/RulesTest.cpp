// The reading idiom and the language choice, on the built rules database.
#include "frame/ErrorReporter.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "platform/Collation.h"
#include "platform/vb.h"
#include "support/ScriptedPorts.h"

#include <gtest/gtest.h>
#include <QCoreApplication>
#include <QDir>
#include <QStringList>
#include <algorithm>

namespace {

struct LanguageScope {
    explicit LanguageScope(qint16 lang) : saved(ModGeneral::DataLanguage) { ModGeneral::DataLanguage = lang; }
    ~LanguageScope() { ModGeneral::DataLanguage = saved; }
    qint16 saved;
};

TEST(RulesLanguage, ColumnFollowsTheDataLanguageExceptSingleLanguageColumns)
{
    {
        LanguageScope fr(rules::kFrench);
        EXPECT_EQ(rules::LangCol("Skill"), "SkillFr");
        EXPECT_EQ(rules::LangCol("Note", "Profession"), "NoteFr");
        EXPECT_EQ(rules::LangCol("Culture"), "CultureFr");
        EXPECT_EQ(rules::LangCol("Talent"), "TalentEn");
        EXPECT_EQ(rules::LangCol("Note", "Talents"), "NoteEn");
        EXPECT_EQ(rules::LangCol("Note", "Flaws"), "NoteEn");
        EXPECT_EQ(rules::LangCol("Item3"), "Item3En");
    }
    {
        LanguageScope en(rules::kEnglish);
        EXPECT_EQ(rules::LangCol("Skill_Category"), "Skill_CategoryEn");
        EXPECT_EQ(rules::LangCol("Culture"), "CultureFr");   // no English culture names exist
        EXPECT_EQ(rules::LangCol("Flaw"), "FlawEn");
    }
    {
        // Before the start-up has set it, the run's language is French.
        LanguageScope unset(0);
        EXPECT_EQ(rules::LangSuffix(), "Fr");
    }
}

TEST(RulesLanguage, CriteriaKeepsTheSearchInsideItsLiteral)
{
    EXPECT_EQ(rules::LikeCriteria("Skill_ID", 32), "Skill_ID LIKE('32')");
    EXPECT_EQ(rules::LikeCriteria("Race_ID", QVariant(qint64(-7))), "Race_ID LIKE('-7')");
    EXPECT_EQ(rules::LikeCriteria("Roll", "a'b"), "Roll LIKE('a''b')");
}

class RulesIdiom : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved = ModGeneral::DbMaster;
        dao::OpenOptions o;
        o.readOnly = true;
        o.cacheRows = true;
        ModGeneral::DbMaster = dao::Workspace().OpenDatabase(
            QDir(QCoreApplication::applicationDirPath()).filePath("master.dat"), o);
    }
    void TearDown() override { ModGeneral::DbMaster = saved; }
    dao::Database saved;
};

TEST_F(RulesIdiom, WalksATableByNameInStoredOrderWhateverTheCaseOfItsName)
{
    for (const char *name : {"Race abilities", "Race Abilities", "[Race abilities]"}) {
        dao::Recordset rs = rules::Open(name);
        EXPECT_EQ(ModGeneral::Sql, name);
        int n = 0;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            EXPECT_EQ(rs.Value("Race_ID").toInt(), ++n) << name;
        EXPECT_GE(n, 6) << name;
        rs.Close();
    }
    // Stored order is what position-based readers count on.
    dao::Recordset armour = rules::Open("Armor Modification");
    int position = 0;
    for (armour.MoveFirst(); !armour.Eof(); armour.MoveNext())
        EXPECT_EQ(armour.Value("Armor_ID").toInt(), ++position);
}

TEST_F(RulesIdiom, FindsByIdentifierAndSetsNoMatchForAnAbsentOne)
{
    LanguageScope fr(rules::kFrench);
    dao::Recordset rs = rules::Open("SELECT * FROM [Skills] ORDER BY " + rules::LangCol("Skill"));
    ASSERT_TRUE(rules::Find(rs, "Skill_ID", 32));
    EXPECT_EQ(ModGeneral::Criteria, "Skill_ID LIKE('32')");
    EXPECT_EQ(rs.Value("Skill_Category_ID").toInt(), 14);
    EXPECT_EQ(rs.Value(rules::LangCol("Skill")).toString(), QString::fromUtf8("Langue parlée"));
    ASSERT_TRUE(rules::Find(rs, "Skill_ID", 3));    // LIKE compares whole values: 3 is not 32
    EXPECT_EQ(rs.Value("Skill_ID").toInt(), 3);
    EXPECT_FALSE(rules::Find(rs, "Skill_ID", 9999));
    EXPECT_TRUE(rs.NoMatch());
}

TEST_F(RulesIdiom, NamesComeSortedAsAReaderExpectsInBothLanguages)
{
    for (qint16 lang : {rules::kFrench, rules::kEnglish}) {
        LanguageScope scope(lang);
        const QString col = rules::LangCol("Skill_Category");
        dao::Recordset rs = rules::Open("SELECT * FROM [Skill Category] ORDER BY " + col);
        QStringList names;
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
            names << rs.Value(col).toString();
        QStringList sorted = names;
        std::sort(sorted.begin(), sorted.end(),
                  [](const QString &a, const QString &b) { return platform::compareNames(a, b) < 0; });
        EXPECT_EQ(names, sorted) << lang;
    }
}

TEST_F(RulesIdiom, TheQueryTextsSQLiteRefusesAsTheyStandAreRead)
{
    // The prime-statistics text runs the identifier into AND.
    dao::Recordset rs = rules::Open("SELECT StatEn, StatFr From Stat, Profession WHERE Profession_ID = 12AND ( "
                                    "Stat_ID =Stat_ID1  or Stat_ID = Stat_ID2 or Stat_ID = Stat_ID3 );");
    int n = 0;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext())
        ++n;
    EXPECT_EQ(n, 3);
}

// A reader as every reader is written: it reports its own errors with its location.
int CountRows(const QString &source, const QString &location)
{
    int n = 0;
    try {
        dao::Recordset rs = rules::Open(source);
        for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext()) {
            rs.Value("Skill_ID");
            ++n;
        }
    } catch (const vb::Error &e) {
        ShowErrorMessage(e.number(), e.text(), location);
    }
    return n;
}

TEST_F(RulesIdiom, AMissingTableOrColumnIsReportedByTheReaderWithItsLocation)
{
    ScriptedPortsScope ui;
    ui->expectError("ListSkill", vb::ErrTableNotFound);
    EXPECT_EQ(CountRows("Skill Categories", "ListSkill"), 0);
    ui->expectError("Page_Principal", vb::ErrNotInCollection);
    EXPECT_EQ(CountRows("Stat", "Page_Principal"), 0);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 2);
}

} // namespace
