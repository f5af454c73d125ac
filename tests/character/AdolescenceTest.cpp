// The ranks and bonuses of a new character's upbringing, on the transfer rules.
#include "CharacterFileTestSupport.h"
#include "PersonnageAccess.h"
#include "TransferFixture.h"

#include "character/Personnage.h"
#include "platform/Strings.h"

#include <QTemporaryDir>
#include <array>
#include <gtest/gtest.h>
#include <vector>

namespace {

using A = PersonnageAccess;
using Kind = ScriptedPorts::Kind;

struct Row {
    qint32 id, rank, special1, special2;
};

Row skillRow(Personnage &p, int r)
{
    auto &t = A::Skill(p);
    return {t(0, r), t(1, r), t(2, r), t(3, r)};
}
Row catRow(Personnage &p, int r)
{
    auto &t = A::SkillCat(p);
    return {t(0, r), t(1, r), t(2, r), t(3, r)};
}

void expectRow(const Row &row, qint32 id, qint32 rank, qint32 special1, qint32 special2)
{
    EXPECT_EQ(row.id, id);
    EXPECT_EQ(row.rank, rank) << "element " << id;
    EXPECT_EQ(row.special1, special1) << "element " << id;
    EXPECT_EQ(row.special2, special2) << "element " << id;
}

// Language rows 1 on hold (skill, rank, language) as listed, and the next is free.
void expectLanguages(Personnage &p, const std::vector<std::array<qint32, 3>> &rows)
{
    auto &lang = A::LanguageSkills(p);
    for (int r = 1; r <= static_cast<int>(rows.size()); ++r) {
        EXPECT_EQ(lang(0, r), rows[r - 1][0]) << "row " << r;
        EXPECT_EQ(lang(1, r), rows[r - 1][1]) << "row " << r;
        EXPECT_EQ(lang(4, r), rows[r - 1][2]) << "row " << r;
    }
    EXPECT_EQ(lang(0, static_cast<int>(rows.size()) + 1), 0);
}

class AdolescenceTest : public ::testing::Test {
protected:
    TransferRules rules;
    ScriptedPortsScope ui;
    Personnage p;
};

// Culture 1 and profession 1: a category row, a skill row, the extra language
// row of skill 32, a row naming both; four languages; six profession rows.
TEST_F(AdolescenceTest, CultureRanksLanguagesAndProfessionBonuses)
{
    p.Culture_ID = 1;
    p.Profession_ID = 1;
    p.Adolescence();

    // Culture ranks, then a new row for the profession's skill 45 after them.
    expectRow(skillRow(p, 0), 40, 3, 5, 0);   // the bonus replaces Special1, ranks stay
    expectRow(skillRow(p, 1), 41, 1, 0, 0);
    expectRow(skillRow(p, 2), 45, 0, 10, 0);
    EXPECT_EQ(skillRow(p, 3).id, 0);
    for (int r = 0; r <= p.NbSkill; ++r)
        EXPECT_NE(A::Skill(p)(0, r), 32) << "skill 32 is the count of extra language ranks";
    EXPECT_EQ(p.NbSkill, 10);

    expectRow(catRow(p, 0), 5, 2, 5, 0);
    expectRow(catRow(p, 1), 7, 1, 0, 0);      // the row naming both gives ranks to both
    expectRow(catRow(p, 2), 8, 0, 3, 0);
    expectRow(catRow(p, 3), 12, 0, 15, 10);   // its bonus row, then the fixed Special2
    EXPECT_EQ(catRow(p, 4).id, 0);
    EXPECT_EQ(p.NbSkillCat, 60);

    // Spoken ranks under 32, written under 33; a language without an
    // identifier gives nothing, one with no spoken ranks only its written row.
    expectLanguages(p, {{32, 4, 1}, {32, 4, 2}, {33, 2, 2}, {33, 3, 3}});

    // The progress window: shown with its texts, run through, closed once.
    ASSERT_EQ(ui->count(Kind::ProgressShow), 1);
    const auto show = ui->callsOf(Kind::ProgressShow).front();
    EXPECT_EQ(show.text, Strings::Load(3502));
    EXPECT_EQ(show.extra, Strings::Load(4001));
    EXPECT_EQ(show.style, 100);
    EXPECT_EQ(ui->callsOf(Kind::ProgressValue).back().style, 100);
    EXPECT_EQ(ui->count(Kind::ProgressClose), 1);
}

TEST_F(AdolescenceTest, CultureAndProfessionWithoutRowsGiveOnlyCategoryTwelve)
{
    p.Culture_ID = 2;
    p.Profession_ID = 2;
    p.Adolescence();
    EXPECT_EQ(p.NbSkill, 0);
    EXPECT_FALSE(A::Skill(p).hasRows());
    EXPECT_EQ(p.NbLanguageSkills, 10);
    EXPECT_EQ(A::LanguageSkills(p)(0, 1), 0);
    expectRow(catRow(p, 0), 12, 0, 0, 10);
    EXPECT_EQ(catRow(p, 1).id, 0);
    EXPECT_EQ(ui->count(Kind::ProgressClose), 1);
}

// Culture 3: 12 skill rows, 61 category rows and 11 languages of two rows each.
TEST_F(AdolescenceTest, TablesGrowBeforeTheirLastRowIsWritten)
{
    p.Culture_ID = 3;
    p.Profession_ID = 2;
    p.Adolescence();
    EXPECT_EQ(p.NbSkill, 20);
    EXPECT_EQ(A::Skill(p)(0, 11), 312);
    EXPECT_EQ(A::Skill(p)(0, 12), 0);
    EXPECT_EQ(p.NbSkillCat, 70);
    EXPECT_EQ(A::SkillCat(p)(0, 60), 161);
    EXPECT_EQ(A::SkillCat(p)(0, 61), 12);
    EXPECT_EQ(A::SkillCat(p)(3, 61), 10);
    EXPECT_EQ(p.NbLanguageSkills, 30);
    EXPECT_EQ(A::LanguageSkills(p)(0, 21), 32);
    EXPECT_EQ(A::LanguageSkills(p)(0, 22), 33);
    EXPECT_EQ(A::LanguageSkills(p)(4, 22), 11);
    EXPECT_EQ(A::LanguageSkills(p)(0, 23), 0);
}

TEST_F(AdolescenceTest, EmptyIdentifiersNameNothing)
{
    p.Culture_ID = 4;
    p.Profession_ID = 2;
    p.Adolescence();
    expectRow(catRow(p, 0), 6, 2, 0, 0);
    expectRow(skillRow(p, 0), 42, 1, 0, 0);
    EXPECT_EQ(skillRow(p, 1).id, 0);
    expectRow(catRow(p, 1), 12, 0, 0, 10);
}

// Culture 6 names skill 40, category 5 and language 2 twice: each gets one row
// holding the sum, which a save writes and File > Open takes back.
TEST_F(AdolescenceTest, AnElementNamedTwiceGetsOneRowWithTheSumAndReopens)
{
    p.Culture_ID = 6;
    p.Profession_ID = 2;
    p.Adolescence();
    QTemporaryDir dir;
    filetest::useBuiltTemplate();
    p.FileName = dir.filePath(QStringLiteral("twice.pja"));
    ASSERT_TRUE(p.SaveP());
    Personnage q;
    q.FileName = p.FileName;
    ASSERT_TRUE(q.LoadP());

    expectRow(skillRow(q, 0), 40, 5, 0, 0);
    EXPECT_EQ(skillRow(q, 1).id, 0);
    expectRow(catRow(q, 0), 5, 4, 0, 0);
    expectRow(catRow(q, 1), 12, 0, 0, 10);
    expectLanguages(q, {{32, 4, 2}, {33, 2, 2}});
    EXPECT_EQ(ui->count(Kind::ErrorBox), 0);
}

// A missing rank stops the run with one report; what was written stays and the
// progress window does not stay on screen.
TEST_F(AdolescenceTest, FailureIsReportedOnceAndClosesTheProgressWindow)
{
    p.Culture_ID = 5;
    p.Profession_ID = 1;
    ui->expectError(QStringLiteral("Adolescence"), 94);
    p.Adolescence();
    expectRow(skillRow(p, 0), 40, 2, 0, 0);
    EXPECT_EQ(skillRow(p, 1).id, 0);
    EXPECT_EQ(catRow(p, 0).id, 0);            // no later step ran
    EXPECT_EQ(ui->count(Kind::ErrorBox), 1);
    EXPECT_EQ(ui->count(Kind::ProgressClose), 1);
    // The close comes before the error box, so the box is not hidden behind it.
    const auto &calls = ui->calls();
    const auto close = std::find_if(calls.begin(), calls.end(), [](const auto &c) { return c.kind == Kind::ProgressClose; });
    const auto box = std::find_if(calls.begin(), calls.end(), [](const auto &c) { return c.kind == Kind::ErrorBox; });
    EXPECT_LT(close - calls.begin(), box - calls.begin());
}

TEST_F(AdolescenceTest, WithoutRulesDatabaseTheFailureIsReported)
{
    rules.close();
    p.Culture_ID = 1;
    ui->expectError(QStringLiteral("Adolescence"));
    p.Adolescence();
    EXPECT_EQ(ui->count(Kind::ProgressShow), 1);
    EXPECT_EQ(ui->count(Kind::ProgressClose), 1);
}

} // namespace
