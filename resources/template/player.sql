-- The empty character file: every character file starts as a copy of this one.
-- No keys: rows come back in the order they were written, and a file may hold
-- the same identifier twice without the save failing.
PRAGMA application_id = 1364284758;
PRAGMA user_version = 1;

CREATE TABLE "General" (
    Nom TEXT,
    Race_ID INTEGER,
    Profession_ID INTEGER,
    Culture_ID INTEGER,
    Royaume_ID INTEGER,
    Sexe INTEGER,
    Poids REAL,
    Grandeur REAL,
    Age REAL,
    Cheveux TEXT,
    Yeux TEXT,
    Experience INTEGER,
    Apparence INTEGER,
    PdeD INTEGER,
    Money INTEGER,
    Historique TEXT,
    Armure INTEGER,
    Casque INTEGER,
    Bouclier INTEGER
);

CREATE TABLE "Stats" (
    Stats_ID INTEGER,
    temp INTEGER,
    pot INTEGER,
    Special INTEGER
);

CREATE TABLE "Categorie Weapon" (
    CategorieWeapon_ID INTEGER,
    CategorieWeapon INTEGER
);

CREATE TABLE "Resistance Special" (
    Resistance_ID INTEGER,
    ResistanceSpecial INTEGER
);

CREATE TABLE "Skill Categorie" (
    SkillCat_ID INTEGER,
    Rank INTEGER,
    Special1 INTEGER,
    Special2 INTEGER
);

CREATE TABLE "Skill" (
    Skill_ID INTEGER,
    Rank INTEGER,
    Special1 INTEGER,
    Special2 INTEGER
);

CREATE TABLE "SubSkills" (
    Skill_ID TEXT,
    Rank TEXT,
    Item TEXT,
    Special TEXT,
    SubSkill_ID TEXT,
    Name TEXT
);

CREATE TABLE "Language Skills" (
    Skill_ID INTEGER,
    Rank INTEGER,
    Item INTEGER,
    Special INTEGER,
    Language_ID INTEGER
);

CREATE TABLE "Weapon Skills" (
    Skill_ID INTEGER,
    Rank INTEGER,
    Item INTEGER,
    Special INTEGER,
    Weapon_ID INTEGER
);

CREATE TABLE "Spell Skills" (
    Skill_ID INTEGER,
    Rank INTEGER,
    Item INTEGER,
    Special INTEGER,
    List_ID INTEGER
);
