#include "PersonnageAccess.h"
#include "character/Players.h"
#include "frame/ModGeneral.h"
#include "platform/vb.h"
#include "support/ScriptedPorts.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

TEST(PersonnageTest, NewRecordHasTheStartCapacitiesAndNothingElse)
{
    ScriptedPortsScope ui;
    Personnage p;
    EXPECT_EQ(p.NbSkillCat, 60);
    EXPECT_EQ(p.NbSkill, 0);
    EXPECT_EQ(p.NbSubSkill, 10);
    EXPECT_EQ(p.NbLanguageSkills, 10);
    EXPECT_EQ(p.NbWeaponSkills, 10);
    EXPECT_EQ(p.NbSpellSkills, 10);
    EXPECT_EQ(p.NbDevSkills, 10);
    EXPECT_EQ(PersonnageAccess::SkillCat(p).lower(), 0);
    EXPECT_EQ(PersonnageAccess::SkillCat(p).upper(), 60);
    EXPECT_FALSE(PersonnageAccess::Skill(p).hasRows());
    EXPECT_EQ(PersonnageAccess::SubSkills(p).lower(), 1);
    EXPECT_EQ(PersonnageAccess::SubSkills(p).upper(), 10);
    EXPECT_EQ(PersonnageAccess::DevSkills(p).lower(), 0);
    EXPECT_EQ(PersonnageAccess::DevSkills(p).upper(), 10);
    for (auto *t : {&PersonnageAccess::LanguageSkills(p), &PersonnageAccess::WeaponSkills(p),
                    &PersonnageAccess::SpellSkills(p)}) {
        EXPECT_EQ(t->lower(), 1);
        EXPECT_EQ(t->upper(), 10);
    }
    for (qint32 r = 0; r <= 60; ++r)
        EXPECT_EQ(p.DirSkillsCat(0, r), 0);
    EXPECT_FALSE(p.Historique.isValid());
    EXPECT_TRUE(p.Nom.isEmpty());
    EXPECT_TRUE(p.FileName.isEmpty());
    EXPECT_FALSE(p.Sexe);
    EXPECT_EQ(p.Poids, 0.0f);
    EXPECT_EQ(p.DirStats(1, 9), 0);
    EXPECT_EQ(p.DirResistanceSpecial(9), 0);
    EXPECT_EQ(p.DirCategorieWeapon(6), 0);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

TEST(PersonnageTest, SkillTableHasNoRowsUntilItsFirstGrowth)
{
    ScriptedPortsScope ui;
    Personnage p;
    ui->expectError("DirSkills", vb::ErrSubscript);
    EXPECT_EQ(p.DirSkills(0, 0), 0);
    ui->expectError("AddSkill", vb::ErrSubscript);
    p.AddSkill(0, 0, RankKind::Skill, 5);

    PersonnageAccess::RedimSkill(p);
    EXPECT_EQ(p.NbSkill, 10);
    EXPECT_EQ(PersonnageAccess::Skill(p).upper(), 10);
    p.AddSkill(0, 10, RankKind::Skill, 5);
    EXPECT_EQ(p.DirSkills(0, 10), 5);
}

TEST(PersonnageTest, FixedArraysRejectIndexesOutsideTheirBounds)
{
    ScriptedPortsScope ui;
    Personnage p;
    p.AddStat(2, 9, -7);
    EXPECT_EQ(p.DirStats(2, 9), -7);
    p.AddResistanceSpecial(1, 4);
    p.AddResistanceSpecial(9, -3);
    EXPECT_EQ(p.DirResistanceSpecial(1), 4);
    EXPECT_EQ(p.DirResistanceSpecial(9), -3);
    p.AddCategorieWeapon(0, 49);
    p.AddCategorieWeapon(6, 55);
    EXPECT_EQ(p.DirCategorieWeapon(0), 49);
    EXPECT_EQ(p.DirCategorieWeapon(6), 55);

    ui->expectError("AddStat", vb::ErrSubscript);
    p.AddStat(0, 10, 1);
    ui->expectError("AddStat", vb::ErrSubscript);
    p.AddStat(3, 0, 1);
    ui->expectError("DirStats", vb::ErrSubscript);
    EXPECT_EQ(p.DirStats(-1, 0), 0);
    ui->expectError("AddResistanceSpecial", vb::ErrSubscript);
    p.AddResistanceSpecial(0, 1);
    ui->expectError("DirResistanceSpecial", vb::ErrSubscript);
    EXPECT_EQ(p.DirResistanceSpecial(10), 0);
    ui->expectError("AddCategorieWeapon", vb::ErrSubscript);
    p.AddCategorieWeapon(7, 1);
    ui->expectError("DirCategorieWeapon", vb::ErrSubscript);
    EXPECT_EQ(p.DirCategorieWeapon(-1), 0);
}

TEST(PersonnageTest, AddSkillWritesTheTableOfItsKindAndIgnoresOtherKinds)
{
    ScriptedPortsScope ui;
    Personnage p;
    p.AddSkill(1, 60, RankKind::SkillCategory, 3);
    EXPECT_EQ(p.DirSkillsCat(1, 60), 3);
    p.AddSkill(1, 1, RankKind::SubSkill, 4);
    EXPECT_EQ(PersonnageAccess::SubSkills(p)(1, 1), QStringLiteral("4"));
    p.AddSkill(4, 10, RankKind::LanguageSkill, 77);
    EXPECT_EQ(p.DirLanguageSkills(4, 10), QStringLiteral("77"));
    p.AddSkill(4, 2, RankKind::WeaponSkill, 226);
    EXPECT_EQ(p.DirWeaponSkills(4, 2), QStringLiteral("226"));
    p.AddSkill(1, 3, RankKind::SpellList, -2);
    EXPECT_EQ(p.DirSpellSkills(1, 3), QStringLiteral("-2"));

    // Kinds outside 1..6 change nothing and report nothing.
    p.AddSkill(1, 1, 0, 9);
    p.AddSkill(1, 1, 7, 9);
    EXPECT_EQ(p.DirSkillsCat(1, 1), 0);

    // It never grows a table.
    ui->expectError("AddSkill", vb::ErrSubscript);
    p.AddSkill(0, 61, RankKind::SkillCategory, 1);
    ui->expectError("AddSkill", vb::ErrSubscript);
    p.AddSkill(0, 11, RankKind::LanguageSkill, 1);
    ui->expectError("AddSkill", vb::ErrSubscript);
    p.AddSkill(5, 1, RankKind::LanguageSkill, 1);
    EXPECT_EQ(p.NbSkillCat, 60);
    EXPECT_EQ(p.NbLanguageSkills, 10);
}

TEST(PersonnageTest, SixteenBitReadsReportCellsThatDoNotFit)
{
    ScriptedPortsScope ui;
    Personnage p;
    PersonnageAccess::SkillCat(p)(1, 2) = 40000;
    PersonnageAccess::RedimSkill(p);
    PersonnageAccess::Skill(p)(1, 2) = -40000;
    ui->expectError("DirSkillsCat", vb::ErrOverflow);
    EXPECT_EQ(p.DirSkillsCat(1, 2), 0);
    ui->expectError("DirSkills", vb::ErrOverflow);
    EXPECT_EQ(p.DirSkills(1, 2), 0);
    // The text reads carry the whole 32-bit cell.
    PersonnageAccess::LanguageSkills(p)(1, 2) = 40000;
    EXPECT_EQ(p.DirLanguageSkills(1, 2), QStringLiteral("40000"));
}

TEST(PersonnageTest, SubSkillsFillFreeRowsAndGrowWhenFull)
{
    ScriptedPortsScope ui;
    Personnage p;
    EXPECT_EQ(p.AddSubSkills(32, QStringLiteral("Forge des lames"), 0), 1);
    for (int i = 2; i <= 10; ++i)
        EXPECT_EQ(p.AddSubSkills(40 + i, QStringLiteral("s%1").arg(i), i), i);
    // The cells are texts: each number exactly as the file keeps it.
    for (const auto &[row, cells] : {std::pair{1, QStringList{"32", "0", "0", "0", "1", "Forge des lames"}},
                                     std::pair{3, QStringList{"43", "3", "0", "0", "3", "s3"}}})
        for (int f = 0; f < 6; ++f)
            EXPECT_EQ(p.DirSubSkills(f, row), cells[f]) << row << "/" << f;
    EXPECT_EQ(p.NbSubSkill, 10);
    EXPECT_EQ(p.AddSubSkills(99, QStringLiteral("onzième"), 2), 11);
    EXPECT_EQ(p.NbSubSkill, 20);
    EXPECT_EQ(PersonnageAccess::SubSkills(p).upper(), 20);
    EXPECT_EQ(p.DirSubSkills(0, 10), QStringLiteral("50"));   // kept by the growth
    EXPECT_EQ(p.DirSubSkills(4, 11), QStringLiteral("11"));

    EXPECT_EQ(p.RankRow(RankKind::SubSkill, 44, 4), 4);

    // A row that a save leaves out is free; one a file brought without a
    // name is still a sub-skill.
    PersonnageAccess::SubSkills(p)(5, 3) = QString();
    PersonnageAccess::SubSkills(p)(0, 4) = QString();
    EXPECT_EQ(p.AddSubSkills(7, QStringLiteral("reprise"), 1), 4);
    EXPECT_EQ(p.DirSubSkills(0, 3), QStringLiteral("43"));
    EXPECT_EQ(p.DirSubSkills(4, 4), QStringLiteral("4"));
    // Found under what the row now holds, no longer under what it held.
    EXPECT_EQ(p.RankRow(RankKind::SubSkill, 7, 4), 4);
    EXPECT_EQ(p.RankRow(RankKind::SubSkill, 44, 4), -1);
    // Of two rows holding one skill and number, the first is the one.
    p.AddSkill(Personnage::fId, 9, RankKind::SubSkill, 7);
    p.AddSkill(Personnage::fKey, 9, RankKind::SubSkill, 4);
    p.AddSkill(Personnage::fId, 4, RankKind::SubSkill, 8);
    EXPECT_EQ(p.RankRow(RankKind::SubSkill, 7, 4), 9);
    p.AddSkill(Personnage::fId, 4, RankKind::SubSkill, 7);
    EXPECT_EQ(p.RankRow(RankKind::SubSkill, 7, 4), 4);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

// A skill's sub-skills are told apart by their numbers: a new one takes its
// row's number when its skill has not used it, else the lowest free one above,
// else one below; a table at the cap a file keeps takes no more.
TEST(PersonnageTest, NewSubSkillNumbersAreFreeForTheirSkillUpToTheFileCap)
{
    ScriptedPortsScope ui;
    Personnage p;
    auto &cells = PersonnageAccess::SubSkills(p);
    const auto put = [&cells](qint32 row, qint32 skill, qint32 number) {
        cells(Personnage::fId, row) = QString::number(skill);
        cells(Personnage::fKey, row) = QString::number(number);
        cells(Personnage::fSubSkillName, row) = QStringLiteral("n");
    };
    put(1, 48, 3);
    put(2, 48, 4);
    put(3, 48, 1);
    EXPECT_EQ(p.AddSubSkills(48, QStringLiteral("Vannerie"), 0), 4);
    EXPECT_EQ(p.DirSubSkills(4, 4), QStringLiteral("5"));   // 4 is taken, 2 lies below
    EXPECT_EQ(p.AddSubSkills(56, QStringLiteral("Marais"), 0), 5);
    EXPECT_EQ(p.DirSubSkills(4, 5), QStringLiteral("5"));   // another skill's 5

    Personnage q;
    while (q.NbSubSkill < 32766)
        PersonnageAccess::RedimSubSkill(q);
    auto &many = PersonnageAccess::SubSkills(q);
    for (qint32 r = 1; r <= 32766; ++r) {
        many(Personnage::fId, r) = QStringLiteral("9");
        many(Personnage::fKey, r) = QString::number(r + 1);
    }
    EXPECT_TRUE(q.SubSkillRefusal().isEmpty());
    EXPECT_EQ(q.AddSubSkills(9, QStringLiteral("dernière"), 0), 32767);
    EXPECT_EQ(q.DirSubSkills(4, 32767), QStringLiteral("1"));   // none above 32767 is left
    EXPECT_TRUE(q.SubSkillRefusal().contains(QStringLiteral("32767")));
    const qint32 capacity = q.NbSubSkill;
    ui->expectError("AddSubSkill", vb::ErrSubscript);
    EXPECT_EQ(q.AddSubSkills(9, QStringLiteral("de trop"), 0), 0);
    EXPECT_EQ(q.NbSubSkill, capacity);
    EXPECT_EQ(q.DirSubSkills(5, 32768), QStringLiteral("0"));
}

TEST(PersonnageTest, TextReadsOfRowZeroAndFreeRows)
{
    ScriptedPortsScope ui;
    Personnage p;
    EXPECT_EQ(p.DirSubSkills(1, 0), QStringLiteral("0"));
    EXPECT_EQ(p.DirSubSkills(5, 3), QStringLiteral("0"));
    EXPECT_EQ(p.DirLanguageSkills(1, 0), QString());
    EXPECT_EQ(p.DirLanguageSkills(1, -4), QString());
    EXPECT_EQ(p.DirLanguageSkills(1, 1), QStringLiteral("0"));
    EXPECT_EQ(p.DirWeaponSkills(1, 0), QString());
    EXPECT_EQ(p.DirSpellSkills(4, 10), QStringLiteral("0"));

    ui->expectError("DirSubSkill", vb::ErrSubscript);
    EXPECT_EQ(p.DirSubSkills(6, 1), QString());
    ui->expectError("DirLanguageSkills", vb::ErrSubscript);
    EXPECT_EQ(p.DirLanguageSkills(1, 11), QString());
    ui->expectError("DirWeaponSkills", vb::ErrSubscript);
    EXPECT_EQ(p.DirWeaponSkills(5, 1), QString());
    ui->expectError("DirSpellSkills", vb::ErrSubscript);
    EXPECT_EQ(p.DirSpellSkills(0, 11), QString());
}

TEST(PersonnageTest, DevelopmentListReplacesCountsAndGrowsAtTheCapacity)
{
    ScriptedPortsScope ui;
    Personnage p;
    p.AddDevelopment(2, 40, 0, 3, 0);
    p.AddDevelopment(2, 40, 0, 5, 0);
    EXPECT_EQ(PersonnageAccess::DevSkills(p)(3, 0), 5);
    EXPECT_EQ(PersonnageAccess::DevSkills(p)(0, 1), 0);
    const QVariant found = p.DirRankDevelopment(2, 40, 0, 0);
    EXPECT_EQ(found.typeId(), QMetaType::Int);
    EXPECT_EQ(found.toInt(), 5);
    const QVariant missing = p.DirRankDevelopment(2, 41, 0, 0);
    EXPECT_EQ(missing.typeId(), QMetaType::Short);
    EXPECT_EQ(missing.toInt(), 0);
    // The second key tells elements of the same skill apart.
    p.AddDevelopment(5, 226, 3, 1, 0);
    p.AddDevelopment(5, 226, 4, 2, 0);
    EXPECT_EQ(p.DirRankDevelopment(5, 226, 3, 0).toInt(), 1);
    EXPECT_EQ(p.DirRankDevelopment(5, 226, 4, 0).toInt(), 2);

    // Rows 0..2 are used; fill up to row 9.
    for (int i = 3; i <= 9; ++i)
        p.AddDevelopment(2, 100 + i, 0, 1, 0);
    EXPECT_EQ(p.NbDevSkills, 10);
    p.AddDevelopment(2, 500, 0, 4, 0);   // the eleventh element: row 10, after growing
    EXPECT_EQ(p.NbDevSkills, 20);
    EXPECT_EQ(PersonnageAccess::DevSkills(p)(1, 10), 500);
    p.AddDevelopment(2, 501, 0, 4, 7);   // the twelfth: row 11, no growth
    EXPECT_EQ(p.NbDevSkills, 20);
    EXPECT_EQ(PersonnageAccess::DevSkills(p)(1, 11), 501);
    EXPECT_EQ(PersonnageAccess::DevSkills(p)(4, 11), 7);
    // A replaced count keeps the further value.
    p.AddDevelopment(2, 501, 0, 9, 0);
    EXPECT_EQ(PersonnageAccess::DevSkills(p)(4, 11), 7);
    EXPECT_EQ(p.DirRankDevelopment(2, 501, 0, 0).toInt(), 9);

    // The reader walks past free rows.
    PersonnageAccess::DevSkills(p)(0, 15) = 6;
    PersonnageAccess::DevSkills(p)(1, 15) = 9;
    PersonnageAccess::DevSkills(p)(3, 15) = 2;
    EXPECT_EQ(p.DirRankDevelopment(6, 9, 0, 0).toInt(), 2);
    EXPECT_EQ(ui->count(ScriptedPorts::Kind::ErrorBox), 0);
}

TEST(PersonnageTest, GrowthKeepsCellsAndAddsTenRowsEachTime)
{
    ScriptedPortsScope ui;
    Personnage p;
    p.AddSkill(3, 60, RankKind::SkillCategory, 12);
    p.AddSkill(4, 10, RankKind::SpellList, 8);
    PersonnageAccess::RedimSkillCat(p);
    PersonnageAccess::RedimSpellSkills(p);
    PersonnageAccess::RedimSpellSkills(p);
    EXPECT_EQ(p.NbSkillCat, 70);
    EXPECT_EQ(p.NbSpellSkills, 30);
    EXPECT_EQ(p.DirSkillsCat(3, 60), 12);
    EXPECT_EQ(p.DirSpellSkills(4, 10), QStringLiteral("8"));
    EXPECT_EQ(p.DirSkillsCat(3, 70), 0);
    EXPECT_EQ(p.DirSpellSkills(4, 30), QStringLiteral("0"));
    EXPECT_EQ(PersonnageAccess::SubSkills(p)(5, 10), QString());
}

TEST(PersonnageTest, PlayersMakesOneFreshRecordPerSlotOnFirstUse)
{
    ScriptedPortsScope ui;
    ModGeneral::Players.clear();
    ModGeneral::Players.resize(3);
    Personnage &third = ModGeneral::Players(3);
    EXPECT_EQ(third.NbSkillCat, 60);
    EXPECT_EQ(third.NbSubSkill, 10);
    third.Nom = QStringLiteral("Tiers");
    EXPECT_EQ(&ModGeneral::Players(3), &third);
    EXPECT_EQ(ModGeneral::Players(3).Nom, QStringLiteral("Tiers"));
    EXPECT_NE(&ModGeneral::Players(2), &third);
    // A number past the table is refused rather than made room for, and the
    // table never drops a record it holds; only the newest goes back on purpose.
    const auto refused = [](const auto &act) {
        try {
            act();
        } catch (const vb::Error &e) {
            return e.number() == vb::ErrSubscript;
        }
        return false;
    };
    EXPECT_TRUE(refused([] { ModGeneral::Players(4); }));
    EXPECT_TRUE(refused([] { ModGeneral::Players(std::numeric_limits<int>::max()); }));
    EXPECT_TRUE(refused([] { ModGeneral::Players.resize(2); }));
    EXPECT_TRUE(refused([] { ModGeneral::Players.dropNewest(2); }));
    EXPECT_EQ(ModGeneral::Players.size(), 3);
    EXPECT_EQ(&ModGeneral::Players(3), &third);
    ModGeneral::Players.dropNewest(3);
    EXPECT_EQ(ModGeneral::Players.size(), 2);
    ModGeneral::Players.clear();
}

} // namespace
