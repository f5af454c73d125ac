#pragma once
// Test access to the record's private tables and growth, for setting up
// states that no single public operation reaches (a 40000 in a cell, a grown
// skill table) and for checking whole tables after a round trip.
#include "character/Personnage.h"

struct PersonnageAccess {
    using Cells = character::GrowTable<qint32>;
    static Cells &SkillCat(Personnage &p) { return p.SkillCat; }
    static Cells &Skill(Personnage &p) { return p.Skill; }
    static character::GrowTable<QString> &SubSkills(Personnage &p) { return p.SubSkills; }
    static Cells &LanguageSkills(Personnage &p) { return p.LanguageSkills; }
    static Cells &WeaponSkills(Personnage &p) { return p.WeaponSkills; }
    static Cells &SpellSkills(Personnage &p) { return p.SpellSkills; }
    static Cells &DevSkills(Personnage &p) { return p.DevSkills; }

    static void RedimSkillCat(Personnage &p) { p.RedimSkillCat(); }
    static void RedimSkill(Personnage &p) { p.RedimSkill(); }
    static void RedimSubSkill(Personnage &p) { p.RedimSubSkill(); }
    static void RedimLanguageSkills(Personnage &p) { p.RedimLanguageSkills(); }
    static void RedimWeaponSkills(Personnage &p) { p.RedimWeaponSkills(); }
    static void RedimSpellSkills(Personnage &p) { p.RedimSpellSkills(); }
};
