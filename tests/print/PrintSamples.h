#pragma once
// A character of the sample rules, well into its career, for the printing
// tests and the printing benchmark: ranks in a broad choice of skills (enough
// for two skill pages), two crafts, weapons, spell lists, armour, shield,
// helmets and a history of several lines. Needs the rules database open.
#include "character/PersonnageAccess.h"
#include "frame/ModGeneral.h"
#include "frame/Rules.h"
#include "platform/vb.h"

namespace printsamples {

// Ranks the character holds in the first `count` printable plain skills of
// the rules (every `step`-th of them, in id order), 1 to 10 ranks each.
inline int GiveSkills(Personnage &p, int count, int step = 3)
{
    dao::Recordset rs = rules::Open(QStringLiteral(
        "SELECT * FROM Skills WHERE Subdivision = 0 AND Skill_Category_ID NOT IN "
        "(12, 28, 32, 33, 34, 35, 36, 37, 38, 39, 40, 41, 49, 50, 51, 52, 53, 54, 55) ORDER BY Skill_ID"));
    QVector<qint16> ids;
    int n = 0;
    for (rs.MoveFirst(); !rs.Eof(); rs.MoveNext(), ++n)
        if (n % step == 0 && ids.size() < count)
            ids.push_back(vb::CInt(rs.Value(QStringLiteral("Skill_ID"))));
    // Hit points, power points, adrenal defence, maneuvering in armour and
    // the two movement skills are always there.
    for (qint16 id : {23, 270, 159, 235, 256, 259})
        if (!ids.contains(id))
            ids.push_back(id);
    while (p.NbSkill < ids.size())
        PersonnageAccess::RedimSkill(p);
    for (int r = 0; r < ids.size(); ++r) {
        p.AddSkill(Personnage::fId, qint16(r), RankKind::Skill, ids[r]);
        p.AddSkill(Personnage::fRank, qint16(r), RankKind::Skill, qint16(1 + r % 10));
        p.AddSkill(Personnage::fSpecial1, qint16(r), RankKind::Skill, qint16(r % 3 == 0 ? 5 : 0));
        p.AddSkill(Personnage::fSpecial2, qint16(r), RankKind::Skill, qint16(r % 4 == 0 ? 10 : 0));
    }
    return ids.size();
}

inline void Develop(Personnage &p)
{
    p.Nom = QStringLiteral("Aëlis Morvenne");
    p.Race_ID = 1;
    p.Profession_ID = 1;
    p.Culture_ID = 1;
    p.Royaume_ID = 5;
    p.Sexe = true;
    p.Age = 27;
    p.Apparence = 64;
    p.Cheveux = QStringLiteral("auburn");
    p.Yeux = QStringLiteral("gris-vert");
    p.Grandeur = 1.72f;
    p.Poids = 61.5f;
    p.Experience = 47500;
    p.Money = 1234500;
    p.Armure = 10;
    p.Casque = 10;
    p.Bouclier = 2;
    p.Historique = QStringLiteral(
        "Née au bord du lac Morvenne, fille d'un passeur et d'une tisseuse.\r\n"
        "Formée à la forge de son oncle jusqu'à sa quinzième année.\r\n"
        "\r\n"
        "A rejoint la compagnie du Gué Rouge après l'hiver des loups.");
    const qint16 temp[10] = {78, 65, 90, 88, 71, 95, 60, 74, 82, 55};
    for (qint16 s = 0; s <= 9; ++s) {
        p.AddStat(0, s, temp[s]);
        p.AddStat(1, s, qint16(std::min(100, temp[s] + 8)));
        p.AddStat(2, s, 0);
    }
    for (qint16 i = 0; i <= 6; ++i)
        p.AddCategorieWeapon(i, qint16(49 + i));
    for (qint16 k = 1; k <= 9; ++k)
        p.AddResistanceSpecial(k, 0);

    while (p.NbSkillCat < 60)
        PersonnageAccess::RedimSkillCat(p);
    for (qint16 r = 0; r < 55; ++r) {
        p.AddSkill(Personnage::fId, r, RankKind::SkillCategory, qint16(r + 1));
        p.AddSkill(Personnage::fRank, r, RankKind::SkillCategory, qint16(r % 4));
    }
    GiveSkills(p, 60);

    p.AddSubSkills(48, QStringLiteral("Forge"), 6);
    p.AddSubSkills(48, QStringLiteral("Tissage"), 2);
    p.AddSubSkills(56, QStringLiteral("Plaines fluviales"), 3);

    const struct {
        qint16 skill, weapon, rank;
    } weapons[] = {{227, 9, 8}, {229, 20, 5}, {232, 36, 3}, {226, 2, 2}};
    while (p.NbWeaponSkills < 4)
        PersonnageAccess::RedimWeaponSkills(p);
    for (qint16 r = 1; r <= 4; ++r) {
        const auto &w = weapons[r - 1];
        p.AddSkill(Personnage::fId, r, RankKind::WeaponSkill, w.skill);
        p.AddSkill(Personnage::fRank, r, RankKind::WeaponSkill, w.rank);
        p.AddSkill(Personnage::fKey, r, RankKind::WeaponSkill, w.weapon);
    }
    const qint16 lists[] = {11, 12, 13, 14, 23, 24, 25, 26, 31, 32};
    while (p.NbSpellSkills < 10)
        PersonnageAccess::RedimSpellSkills(p);
    for (qint16 r = 1; r <= 10; ++r) {
        p.AddSkill(Personnage::fId, r, RankKind::SpellList, 161);
        p.AddSkill(Personnage::fRank, r, RankKind::SpellList, qint16(11 - r));
        p.AddSkill(Personnage::fKey, r, RankKind::SpellList, lists[r - 1]);
    }
}

} // namespace printsamples
