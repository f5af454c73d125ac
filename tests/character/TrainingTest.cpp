// Applying a training package: money, age, history, capped ranks, the
// player's choices, specials won by chance and the statistic gains offered.
#include "PersonnageAccess.h"
#include "TransferFixture.h"

#include "character/Personnage.h"
#include "frame/Dice.h"
#include "platform/Strings.h"

#include <gtest/gtest.h>

namespace {

using A = PersonnageAccess;
using Kind = ScriptedPorts::Kind;

qint32 rankOf(const character::GrowTable<qint32> &t, qint32 id)
{
    for (qint64 r = t.lower(); r <= t.upper(); ++r)
        if (t(0, r) == id)
            return t(1, r);
    return -1;
}

std::vector<qint32> ids(const std::vector<ports::ChooserItem> &items)
{
    std::vector<qint32> out;
    for (const auto &it : items)
        out.push_back(it.id);
    return out;
}

class TrainingTest : public ::testing::Test {
protected:
    TransferRules rules;
    ScriptedPortsScope ui;
    Personnage p;
    void SetUp() override
    {
        Dice::clearScript();
        p.Royaume_ID = 2;
        p.Age = 17;
    }
    void TearDown() override { Dice::clearScript(); }
    void setCategory(int row, qint32 id, qint32 rank)
    {
        A::SkillCat(p)(0, row) = id;
        A::SkillCat(p)(1, row) = rank;
    }
};

// Package 1: 2d10 money, 18 months, statistics AG and Qu with one of choice,
// capped category and skill ranks, a chosen weapon category with its weapon,
// an open spell list, a skill chosen twice in a category, two specials.
TEST_F(TrainingTest, FullPackageWithChoicesAndSpecials)
{
    setCategory(0, 5, 9);
    setCategory(1, 7, 12);
    A::RedimSkill(p);
    A::Skill(p)(0, 0) = 40;
    A::Skill(p)(1, 0) = 9;
    // Money 3 and 9; specials: 61 wins the first (40 needed above 60), then 80
    // misses the second, which needs above 80 once one was won.
    Dice::setRolls({30, 90, 61, 80});
    ui->answerChooseOne(50)     // weapon category: the hafted weapons
        .answerChooseOne(3)     // their weapon
        .answerChooseOne(1)     // an open list
        .answerChooseOne(71)    // a skill of the category, once
        .answerChooseOne(-1)    // and closed without a choice the second time
        .answerStatGains({0, 8, 3});
    p.TransferTraining(1, QStringLiteral("3"));

    EXPECT_EQ(p.Money, 130000);          // (1 + 3 + 9) gold pieces of 10000
    EXPECT_FLOAT_EQ(p.Age, 18.5f);
    EXPECT_EQ(p.Historique.toString(),
              QStringLiteral("\r\n") + Strings::Load(3052) + QStringLiteral(" 1: Rôdeur, Oeil perçant"));

    auto &cat = A::SkillCat(p);
    EXPECT_EQ(rankOf(cat, 5), 10);        // 9 + 3 capped
    EXPECT_EQ(rankOf(cat, 7), 12);        // above the cap: unchanged
    EXPECT_EQ(rankOf(cat, 8), 3);         // a new row
    EXPECT_EQ(rankOf(cat, 50), 1);        // the category chosen, not the one named
    EXPECT_EQ(rankOf(cat, 49), -1);
    auto &skill = A::Skill(p);
    EXPECT_EQ(rankOf(skill, 40), 10);
    EXPECT_EQ(rankOf(skill, 116), -1);    // never trained by a package
    EXPECT_EQ(rankOf(skill, 226), -1);
    EXPECT_EQ(rankOf(skill, 166), 1);     // the spell skill takes the ranks too
    EXPECT_EQ(rankOf(skill, 71), 1);
    EXPECT_EQ(rankOf(skill, 70), -1);

    // Weapon and list choices wait in the development list for the rank transfer.
    EXPECT_EQ(p.DirRankDevelopment(5, 227, 3, 0).toInt(), 2);
    EXPECT_EQ(p.DirRankDevelopment(6, 166, 1, 0).toInt(), 1);

    const auto choosers = ui->callsOf(Kind::ChooseOne);
    ASSERT_EQ(choosers.size(), 5u);
    EXPECT_EQ(choosers[0].mode, 49);
    EXPECT_EQ(choosers[0].player, 3);
    EXPECT_EQ(choosers[0].title, Strings::Load(3505) + QStringLiteral(" (1)"));
    EXPECT_EQ(ids(choosers[0].items), (std::vector<qint32>{51, 54, 50, 52, 53, 55, 49}));
    EXPECT_EQ(choosers[1].mode, 227);
    EXPECT_EQ(ids(choosers[1].items), (std::vector<qint32>{3}));
    EXPECT_EQ(choosers[1].title, Strings::Load(3505) + QStringLiteral(" (2)"));
    EXPECT_EQ(choosers[2].mode, 166);
    EXPECT_EQ(ids(choosers[2].items), (std::vector<qint32>{2, 1}));
    EXPECT_EQ(choosers[2].title, Strings::Load(3528) + QStringLiteral(" - Listes libres (1)"));
    EXPECT_EQ(choosers[3].mode, 7);
    EXPECT_EQ(ids(choosers[3].items), (std::vector<qint32>{71, 70, 33, 32}));
    EXPECT_EQ(choosers[3].title, Strings::Load(3528) + QStringLiteral(" - Savoirs"));

    const auto gains = ui->callsOf(Kind::ChooseStatGains);
    ASSERT_EQ(gains.size(), 1u);
    EXPECT_EQ(gains[0].forced, (std::vector<int>{0, 8}));
    EXPECT_EQ(gains[0].choices, 1);
    EXPECT_EQ(ui->count(Kind::ErrorBox), 0);
}

TEST_F(TrainingTest, ClosedWeaponCategoryChooserSkipsTheRowAndItsWeapon)
{
    Dice::setRolls({30, 90, 10, 10});
    ui->answerChooseOne(-1).answerChooseOne(1).answerChooseOne(70).answerChooseOne(70).answerStatGains({0, 8});
    p.TransferTraining(1, QStringLiteral("1"));
    EXPECT_EQ(rankOf(A::SkillCat(p), 49), -1);
    EXPECT_EQ(ui->callsOf(Kind::ChooseOne)[1].mode, 166);   // no weapon chooser
    EXPECT_EQ(rankOf(A::Skill(p), 70), 2);                  // one rank per choice
    // No special won: the last one is written all the same.
    EXPECT_TRUE(p.Historique.toString().endsWith(QStringLiteral(": Rôdeur, Guide")));
}

TEST_F(TrainingTest, MoneyAgeAndHistoryOfSimplePackages)
{
    struct Case {
        qint32 package;
        std::vector<int> rolls;
        qint32 money;
        float age;
        const char *history;
    };
    // 2: no dice, 3 months (0.25 to the even 0.2), no specials, no statistics.
    // 3: ten dice of six, 9 months (0.75 to 0.8), a special missed but written.
    // 4: no money text, 15 months (1.25 to 1.2).
    const Case cases[] = {
        {2, {}, 10000, 0.2f, "\r\n%1 1: Copiste"},
        {3, {50, 50, 50, 50, 50, 50, 50, 50, 50, 50, 50}, 310000, 0.8f, "\r\n%1 1: Chasseur, Sens des pièges"},
        {4, {50}, 10000, 1.2f, "\r\n%1 1: Mystique, Calme"},
        // 6: no dice at all ("0d0"), so no faces to roll: the one gold piece alone.
        {6, {}, 10000, 1.0f, "\r\n%1 1: Bricoleur"},
    };
    for (const Case &c : cases) {
        Personnage q;
        Dice::setRolls(c.rolls);
        if (c.package == 4)
            ui->answerStatGains({2});
        q.TransferTraining(c.package, QStringLiteral("1"));
        EXPECT_EQ(q.Money, c.money) << "package " << c.package;
        EXPECT_FLOAT_EQ(q.Age, c.age) << "package " << c.package;
        EXPECT_EQ(q.Historique.toString(), QString::fromUtf8(c.history).arg(Strings::Load(3052)));
        EXPECT_EQ(Dice::scriptRemaining(), 0) << "package " << c.package;
    }
    const auto gains = ui->callsOf(Kind::ChooseStatGains);
    ASSERT_EQ(gains.size(), 1u);          // packages without statistics open nothing
    EXPECT_EQ(gains[0].forced, (std::vector<int>{2}));
    EXPECT_EQ(gains[0].choices, 0);
    EXPECT_EQ(ui->count(Kind::ChooseOne), 0);
}

TEST_F(TrainingTest, MoneyDiceTheRollerCannotThrowCountNothingAndTheRestIsApplied)
{
    ui->answerMsgBox(ports::Ok, QStringLiteral("1d200"));
    p.TransferTraining(7, QStringLiteral("1"));
    EXPECT_EQ(p.Money, 10000);
    EXPECT_FLOAT_EQ(p.Age, 17.5f);
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("\r\n") + Strings::Load(3052) + QStringLiteral(" 1: Vagabond"));
    EXPECT_EQ(rankOf(A::Skill(p), 45), 2);
}

TEST_F(TrainingTest, OpenEndedAndFacelessMoneyDiceAreRolled)
{
    Dice::setRolls({97, 98, 12});   // 1d101: one open-ended roll of 207
    p.TransferTraining(8, QStringLiteral("1"));
    EXPECT_EQ(p.Money, 2080000);
    EXPECT_EQ(Dice::scriptRemaining(), 0);
    Personnage q;
    q.TransferTraining(9, QStringLiteral("1"));   // 3d0: a die of no faces shows 1
    EXPECT_EQ(q.Money, 40000);
    EXPECT_EQ(ui->count(Kind::MsgBox), 0);
    // The purchase let it through (101 gold pieces fit), but the roll went on
    // to 207: 208 gold pieces would pass 214748, so none is added; the rest of
    // the package, its history line here, is the player's all the same.
    Personnage r;
    r.Money = 2146473647;
    Dice::setRolls({97, 98, 12});
    ui->answerMsgBox(ports::Ok, QStringLiteral("208"));
    r.TransferTraining(8, QStringLiteral("1"));
    EXPECT_EQ(r.Money, 2146473647);
    EXPECT_TRUE(r.Historique.toString().endsWith(QStringLiteral(" 1: Joueur")));
    EXPECT_EQ(ui->count(Kind::MsgBox), 1);
    EXPECT_EQ(ui->count(Kind::ErrorBox), 0);
}

TEST_F(TrainingTest, WeaponSkillRowWithoutItsCategoryOffersItsWeapons)
{
    Dice::setRolls({50});
    ui->answerChooseOne(4).answerStatGains({1, 2});
    p.Experience = 70000;                 // level 6: the package is taken at level 7
    p.TransferTraining(5, QStringLiteral("2"));
    EXPECT_EQ(p.DirRankDevelopment(5, 228, 4, 0).toInt(), 1);
    EXPECT_EQ(rankOf(A::Skill(p), 228), -1);
    EXPECT_EQ(rankOf(A::Skill(p), 45), 3);
    EXPECT_FLOAT_EQ(p.Age, 18.8f);        // 21 months: 1.75 to the even 1.8
    EXPECT_EQ(p.Money, 30000);            // 1d4 rolled 2
    EXPECT_TRUE(p.Historique.toString().startsWith(QStringLiteral("\r\n") + Strings::Load(3052) + QStringLiteral(" 7: Soldat")));
    EXPECT_EQ(ui->callsOf(Kind::ChooseStatGains)[0].choices, 2);
}

TEST_F(TrainingTest, EnglishDataNamesAndUnknownPackage)
{
    ModGeneral::DataLanguage = 1000;
    p.TransferTraining(2, QStringLiteral("1"));
    EXPECT_EQ(p.Historique.toString(), QStringLiteral("\r\n") + Strings::Load(3052) + QStringLiteral(" 1: Scribe"));

    const qint32 money = p.Money;
    ui->expectError(QStringLiteral("TransferTraining"), 3021);
    p.TransferTraining(99, QStringLiteral("1"));
    EXPECT_EQ(p.Money, money);
}

// The package's weapon and list choices add to the development rows: to the
// ranks the stage bought, and to each other within the package.
TEST_F(TrainingTest, PackageRanksAddToThoseAlreadyInTheDevelopmentList)
{
    // Both weapon categories chosen as bows, the same bow each time: 2 + 1.
    ui->answerChooseOne(51).answerChooseOne(4).answerChooseOne(51).answerChooseOne(4).answerChooseOne(1);
    p.TransferTraining(10, QStringLiteral("1"));
    EXPECT_EQ(p.DirRankDevelopment(5, 228, 4, 0).toInt(), 3);

    // 2 ranks of the bow and 3 of the list bought in the stage, then the
    // package's 2 of each: the second category row picks one without weapons.
    Personnage q;
    q.Royaume_ID = 2;
    q.AddDevelopment(5, 228, 4, 2, 0);
    q.AddDevelopment(6, 166, 1, 3, 0);
    ui->answerChooseOne(51).answerChooseOne(4).answerChooseOne(52).answerChooseOne(-1).answerChooseOne(1);
    q.TransferTraining(10, QStringLiteral("1"));
    EXPECT_EQ(q.DirRankDevelopment(5, 228, 4, 0).toInt(), 4);
    EXPECT_EQ(q.DirRankDevelopment(6, 166, 1, 0).toInt(), 5);
    EXPECT_EQ(ui->count(Kind::ErrorBox), 0);
}

// Package 6: twelve months and one gold piece exactly. The age and the money
// may reach the top of their ranges, not pass it.
TEST_F(TrainingTest, APackageIsRefusedOnlyPastTheTopOfTheAgeOrMoney)
{
    p.Age = 999998;
    EXPECT_EQ(p.TrainingRefusal(6), QString());
    p.TransferTraining(6, QStringLiteral("1"));
    EXPECT_FLOAT_EQ(p.Age, 999999.0f);
    EXPECT_TRUE(p.TrainingRefusal(6).contains(QStringLiteral("1000000")));

    Personnage q;
    q.Money = 2147483647 - 10000;
    EXPECT_EQ(q.TrainingRefusal(6), QString());
    q.Money += 1;
    EXPECT_TRUE(q.TrainingRefusal(6).contains(QStringLiteral("214748")));
    // Money dice count at their highest: 1d4 can bring 5 gold pieces.
    q.Money = 2147483647 - 50000;
    EXPECT_EQ(q.TrainingRefusal(5), QString());
    q.Money += 1;
    EXPECT_FALSE(q.TrainingRefusal(5).isEmpty());
    // The open-ended 1d101 counts its ordinary highest, 100: 101 gold pieces
    // from 2147483647 - 1010000.
    q.Money = 2146473647;
    EXPECT_EQ(q.TrainingRefusal(8), QString());
    q.Money += 1;
    EXPECT_FALSE(q.TrainingRefusal(8).isEmpty());
    EXPECT_EQ(ui->count(Kind::ErrorBox), 0);
}

TEST_F(TrainingTest, ChooserAnswerOutsideTheListIsNoChoice)
{
    Dice::setRolls({30, 90, 10, 10});
    ui->answerChooseOne(226)              // not a category of the list
        .answerChooseOne(-1).answerChooseOne(-1).answerChooseOne(-1).answerStatGains({0, 8});
    p.TransferTraining(1, QStringLiteral("1"));
    EXPECT_EQ(rankOf(A::SkillCat(p), 226), -1);
    EXPECT_EQ(rankOf(A::SkillCat(p), 49), -1);
    // No list was picked, but the package still trains the spell skill itself.
    EXPECT_EQ(rankOf(A::Skill(p), 166), 1);
    EXPECT_EQ(p.DirRankDevelopment(6, 166, 0, 0).toInt(), 0);
}

} // namespace
