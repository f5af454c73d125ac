#pragma once
// Characters shared by the tests and the benchmarks.
#include "PersonnageAccess.h"

namespace samples {

// A character well into its career: 60 categories, 200 skills, 20 sub-skills
// and 10 rows in each of the language, weapon and spell-list tables, with every
// scalar field and fixed array set to something other than its start value.
inline void develop(Personnage &p)
{
    p.Nom = QStringLiteral("Aëlis Morvenne");
    p.Race_ID = 7;
    p.Profession_ID = 12;
    p.Culture_ID = 3;
    p.Royaume_ID = 8;
    p.Sexe = true;
    p.Poids = 61.5f;
    p.Grandeur = 1.72f;
    p.Age = 23.25f;
    p.Cheveux = QStringLiteral("auburn");
    p.Yeux = QStringLiteral("gris-vert");
    p.Experience = 187654;
    p.Apparence = -12;
    p.PdeD = 74;
    p.Money = 123456789;
    p.Historique = QStringLiteral("Née au bord du lac.\nFormée à la forge de son oncle.");
    p.Armure = 14;
    p.Casque = 2;
    p.Bouclier = 5;
    for (qint16 s = 0; s <= 9; ++s) {
        p.AddStat(0, s, qint16(50 + s * 5));
        p.AddStat(1, s, qint16(60 + s * 4));
        p.AddStat(2, s, qint16(s - 4));
    }
    for (qint16 i = 0; i <= 6; ++i)
        p.AddCategorieWeapon(i, qint16(55 - i));
    for (qint16 k = 1; k <= 9; ++k)
        p.AddResistanceSpecial(k, qint16(k * 3 - 10));

    for (qint16 r = 0; r < 60; ++r) {
        p.AddSkill(Personnage::fId, r, RankKind::SkillCategory, qint16(r + 1));
        p.AddSkill(Personnage::fRank, r, RankKind::SkillCategory, qint16(r % 7));
        p.AddSkill(Personnage::fSpecial1, r, RankKind::SkillCategory, qint16(r % 3));
        p.AddSkill(Personnage::fSpecial2, r, RankKind::SkillCategory, qint16(-(r % 5)));
    }
    while (p.NbSkill < 200)
        PersonnageAccess::RedimSkill(p);
    for (qint16 r = 0; r < 200; ++r) {
        p.AddSkill(Personnage::fId, r, RankKind::Skill, qint16(r + 1));
        p.AddSkill(Personnage::fRank, r, RankKind::Skill, qint16(r % 11));
        p.AddSkill(Personnage::fSpecial1, r, RankKind::Skill, qint16(r % 4));
        p.AddSkill(Personnage::fSpecial2, r, RankKind::Skill, qint16(r % 9 * 5));
    }
    for (int i = 1; i <= 20; ++i)
        p.AddSubSkills(300 + i, QStringLiteral("Spécialité n°%1").arg(i), i % 6);
    // Item and special bonuses told apart, so that neither can stand in for the other.
    PersonnageAccess::SubSkills(p)(Personnage::fItem, 7) = QStringLiteral("4");
    PersonnageAccess::SubSkills(p)(Personnage::fSpecial, 7) = QStringLiteral("-3");
    for (qint16 r = 1; r <= 10; ++r) {
        for (qint16 kind : {RankKind::LanguageSkill, RankKind::WeaponSkill, RankKind::SpellList}) {
            p.AddSkill(Personnage::fId, r, kind, qint16(kind * 100 + r));
            p.AddSkill(Personnage::fRank, r, kind, qint16(r));
            p.AddSkill(Personnage::fItem, r, kind, qint16(r % 2));
            p.AddSkill(Personnage::fSpecial, r, kind, qint16(-r));
            p.AddSkill(Personnage::fKey, r, kind, qint16(kind * 1000 + r));
        }
    }
}

// A character of the sample rules: culture 1 and race 1, of `profession` in
// `realm`.
inline void ofSampleRules(Personnage &p, const QString &name, qint32 profession, qint32 realm)
{
    p.Nom = name;
    p.Culture_ID = 1;
    p.Race_ID = 1;
    p.Profession_ID = profession;
    p.Royaume_ID = realm;
}

// Temporary values 60 to 87 and potential values 80 to 89.
inline void sampleStats(Personnage &p)
{
    for (qint16 s = 0; s <= 9; ++s) {
        p.AddStat(0, s, qint16(60 + s * 3));
        p.AddStat(1, s, qint16(80 + s));
    }
}

// `count` named sub-skills of skill `skill` in rows 1 to count, each with its
// row as its number and 1 to 20 ranks, written straight into the table so
// that a big character costs no more to make than its rows.
inline void subSkills(Personnage &p, qint32 skill, int count)
{
    while (p.NbSubSkill < count)
        PersonnageAccess::RedimSubSkill(p);
    auto &cells = PersonnageAccess::SubSkills(p);
    for (int r = 1; r <= count; ++r) {
        cells(Personnage::fId, r) = QString::number(skill);
        cells(Personnage::fRank, r) = QString::number(1 + r % 20);
        cells(Personnage::fItem, r) = QStringLiteral("0");
        cells(Personnage::fSpecial, r) = QStringLiteral("0");
        cells(Personnage::fKey, r) = QString::number(r);
        cells(Personnage::fSubSkillName, r) = QStringLiteral("Métier n°%1").arg(r);
    }
}

} // namespace samples
