-- The rules database: every table the program reads.
--
-- Conventions kept throughout:
--  * identifiers are INTEGER, so that both "Skill_ID = 32" and "Skill_ID LIKE('32')" find them;
--  * yes/no columns hold -1 (yes) or 0 (no): lists sort the chosen rows first with ORDER BY;
--  * codes that look like numbers ("01", "3/7", "2d10", progressions) are TEXT and keep their form;
--  * names that lists sort by use the collation FOLD (case and accents folded), which the
--    program registers on every connection;
--  * rows are read in the order they are stored wherever order carries meaning (bands,
--    degrees, armour and shield positions, adolescence and package ranks), so the data
--    files insert them in that order and those tables carry no index that could reorder them.

CREATE TABLE Stat (
  Stat_ID INTEGER PRIMARY KEY,
  StatEn TEXT NOT NULL COLLATE FOLD,
  StatFr TEXT NOT NULL COLLATE FOLD,
  AbrEn TEXT NOT NULL,
  AbrFr TEXT NOT NULL
);

CREATE TABLE [Realms of Power] (
  Realm_ID INTEGER PRIMARY KEY,
  RealmEn TEXT NOT NULL COLLATE FOLD,
  RealmFr TEXT NOT NULL COLLATE FOLD,
  Stat_ID1 INTEGER NOT NULL DEFAULT 0,
  Stat_ID2 INTEGER NOT NULL DEFAULT 0,
  Stat_ID3 INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE [Skill Bonus] (
  Skill_Bonus_ID INTEGER PRIMARY KEY,
  Skill_Bonus TEXT NOT NULL
);

CREATE TABLE [Skill Category] (
  Skill_Category_ID INTEGER PRIMARY KEY,
  Skill_CategoryEn TEXT NOT NULL COLLATE FOLD,
  Skill_CategoryFr TEXT NOT NULL COLLATE FOLD,
  Stat_ID1 INTEGER NOT NULL DEFAULT 0,
  Stat_ID2 INTEGER NOT NULL DEFAULT 0,
  Stat_ID3 INTEGER NOT NULL DEFAULT 0,
  Skill_Category_Bonus_ID INTEGER NOT NULL,
  Skill_Bonus_ID INTEGER NOT NULL
);

CREATE TABLE Skills (
  Skill_ID INTEGER PRIMARY KEY,
  SkillEn TEXT NOT NULL COLLATE FOLD,
  SkillFr TEXT NOT NULL COLLATE FOLD,
  Skill_Category_ID INTEGER NOT NULL,
  Subdivision INTEGER NOT NULL DEFAULT 0 CHECK (Subdivision IN (0, -1)),
  Restricted INTEGER NOT NULL DEFAULT 0 CHECK (Restricted IN (0, -1)),
  -- the statistic the printed skill pages show beside the skill; 0 = none
  Stat_ID INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE [Race Abilities] (
  Race_ID INTEGER PRIMARY KEY,
  RaceEn TEXT NOT NULL COLLATE FOLD,
  RaceFr TEXT NOT NULL COLLATE FOLD,
  NoteEn TEXT NOT NULL DEFAULT '',
  NoteFr TEXT NOT NULL DEFAULT '',
  AG INTEGER NOT NULL, CO INTEGER NOT NULL, Me INTEGER NOT NULL, Re INTEGER NOT NULL,
  SD INTEGER NOT NULL, EM INTEGER NOT NULL, It INTEGER NOT NULL, Pr INTEGER NOT NULL,
  Qu INTEGER NOT NULL, ST INTEGER NOT NULL,
  Ess INTEGER NOT NULL, Chan INTEGER NOT NULL, Ment INTEGER NOT NULL,
  Pois INTEGER NOT NULL, Fear INTEGER NOT NULL,
  Body TEXT NOT NULL,
  Channeling_PP TEXT NOT NULL,
  Essence_PP TEXT NOT NULL,
  Mentalism_PP TEXT NOT NULL,
  Hobby_Ranks INTEGER NOT NULL,
  BG_opts INTEGER NOT NULL
);

CREATE TABLE Culture (
  Culture_ID INTEGER PRIMARY KEY,
  CultureFr TEXT NOT NULL COLLATE FOLD,
  Race_ID INTEGER NOT NULL,
  WeightMale REAL NOT NULL,
  HeightMale REAL NOT NULL,
  WeightFemal REAL NOT NULL,
  HeightFemal REAL NOT NULL,
  LifespanMin INTEGER NOT NULL,
  LifespanMax INTEGER NOT NULL,
  Image INTEGER NOT NULL DEFAULT 0,
  PhysycalCharacterEn TEXT NOT NULL DEFAULT '', PhysycalCharacterFr TEXT NOT NULL DEFAULT '',
  OtherFactorEn TEXT NOT NULL DEFAULT '', OtherFactorFr TEXT NOT NULL DEFAULT '',
  CultureFactorEn TEXT NOT NULL DEFAULT '', CultureFactorFr TEXT NOT NULL DEFAULT '',
  OutfitingOptionsEn TEXT NOT NULL DEFAULT '', OutfitingOptionsFr TEXT NOT NULL DEFAULT '',
  BackgroundOptionsEn TEXT NOT NULL DEFAULT '', BackgroundOptionsFr TEXT NOT NULL DEFAULT ''
);

CREATE TABLE Profession (
  Profession_ID INTEGER PRIMARY KEY,
  ProfessionEn TEXT NOT NULL COLLATE FOLD,
  ProfessionFr TEXT NOT NULL COLLATE FOLD,
  NoteEn TEXT,
  NoteFr TEXT,
  Stat_ID1 INTEGER NOT NULL DEFAULT 0,
  Stat_ID2 INTEGER NOT NULL DEFAULT 0,
  Stat_ID3 INTEGER NOT NULL DEFAULT 0,
  Realm_ID INTEGER NOT NULL,
  SpellUsers_ID INTEGER NOT NULL CHECK (SpellUsers_ID BETWEEN 0 AND 4)
);

-- Applied in stored order: a category row has Skill_ID 0, a skill row Skill_Category_ID 0.
CREATE TABLE [Adolescences Rank] (
  Culture_ID INTEGER NOT NULL,
  Skill_ID INTEGER NOT NULL DEFAULT 0,
  Skill_Category_ID INTEGER NOT NULL DEFAULT 0,
  Rank INTEGER NOT NULL,
  Choice INTEGER NOT NULL DEFAULT 0 CHECK (Choice IN (0, -1))
);

CREATE TABLE [Culture Languages] (
  Culture_ID INTEGER NOT NULL,
  Language_ID INTEGER NOT NULL,
  StartS INTEGER NOT NULL DEFAULT 0,
  StartW INTEGER NOT NULL DEFAULT 0,
  UNIQUE (Culture_ID, Language_ID)
);

CREATE TABLE [Culture weapons] (
  Culture_ID INTEGER NOT NULL,
  Weapon_ID INTEGER NOT NULL,
  UNIQUE (Culture_ID, Weapon_ID)
);

CREATE TABLE Language (
  Language_ID INTEGER PRIMARY KEY,
  LanguageEn TEXT NOT NULL COLLATE FOLD,
  LanguageFr TEXT NOT NULL COLLATE FOLD
);

-- SpecialSkill_ID: 1 occupational, 2 everyman, 3 restricted, 4 culture or race skill.
CREATE TABLE [Special Skills Culture] (
  Culture_ID INTEGER NOT NULL,
  SpecialSkill_ID INTEGER NOT NULL,
  Skill_ID INTEGER NOT NULL,
  UNIQUE (Culture_ID, Skill_ID)
);

-- A skill row (Skill_ID > 0) or a category row (Skill_ID 0); SpecialSkill_ID 0 = bonus only.
CREATE TABLE [Special Skills Profession & Bonus] (
  Profession_ID INTEGER NOT NULL,
  Skill_ID INTEGER NOT NULL DEFAULT 0,
  Skill_Category_ID INTEGER NOT NULL DEFAULT 0,
  SpecialSkill_ID INTEGER NOT NULL DEFAULT 0,
  Bonus INTEGER NOT NULL DEFAULT 0
);
-- A search takes the first match, so a profession lists a skill once.
CREATE UNIQUE INDEX SpecialSkillsProfessionSkill
  ON [Special Skills Profession & Bonus] (Profession_ID, Skill_ID) WHERE Skill_ID > 0;

-- Cost: one to three whole numbers joined by "/", the price of the 1st, 2nd, 3rd rank of a stage.
CREATE TABLE [Skill Category DP Cost] (
  Profession_ID INTEGER NOT NULL,
  Skill_Category_ID INTEGER NOT NULL,
  Cost TEXT NOT NULL,
  UNIQUE (Profession_ID, Skill_Category_ID)
);

CREATE TABLE Weapons (
  Weapon_ID INTEGER PRIMARY KEY,
  WeaponEn TEXT NOT NULL COLLATE FOLD,
  WeaponFr TEXT NOT NULL COLLATE FOLD
);

CREATE TABLE [Weapons Type] (
  Weapon_ID INTEGER NOT NULL UNIQUE,
  Skill_ID INTEGER NOT NULL
);

-- Classification: 1 open, 2 closed, 3 base lists.
CREATE TABLE List (
  List_ID INTEGER PRIMARY KEY,
  ListEn TEXT NOT NULL COLLATE FOLD,
  ListFr TEXT NOT NULL COLLATE FOLD,
  Realm_ID INTEGER NOT NULL,
  [Classification_ ID] INTEGER NOT NULL CHECK ([Classification_ ID] BETWEEN 1 AND 3)
);

-- A base list belongs to one profession only: the other-professions query would list it twice.
CREATE TABLE [Base List] (
  List_ID INTEGER NOT NULL UNIQUE,
  Profession_ID INTEGER NOT NULL
);

-- Roll: the lowest d100 result of the band, two digits ("01", "06"...); "100" ends each degree.
CREATE TABLE Talents (
  Talents_ID INTEGER PRIMARY KEY,
  Type_ID INTEGER NOT NULL,
  Roll TEXT NOT NULL,
  TalentEn TEXT NOT NULL COLLATE FOLD,
  NoteEn TEXT NOT NULL DEFAULT ''
);

CREATE TABLE [Talents Bonus] (
  Talents_ID INTEGER NOT NULL,
  Skill_Category_ID INTEGER NOT NULL DEFAULT 0,
  Skill_ID INTEGER NOT NULL DEFAULT 0,
  Stat_ID INTEGER NOT NULL DEFAULT 0,
  Bonus INTEGER NOT NULL
);

CREATE TABLE Flaws (
  Flaws_ID INTEGER PRIMARY KEY,
  Type_ID INTEGER NOT NULL,
  Roll TEXT NOT NULL,
  FlawEn TEXT NOT NULL COLLATE FOLD,
  NoteEn TEXT NOT NULL DEFAULT ''
);

CREATE TABLE [Flaws Bonus] (
  Flaws_ID INTEGER NOT NULL,
  Skill_Category_ID INTEGER NOT NULL DEFAULT 0,
  Skill_ID INTEGER NOT NULL DEFAULT 0,
  Stat_ID INTEGER NOT NULL DEFAULT 0,
  Bonus INTEGER NOT NULL
);

-- The degree is the row's position; Degree_ID keeps that position explicit.
-- A price of 0 means the way is not offered.
CREATE TABLE [Talents Cost] (
  Degree_ID INTEGER PRIMARY KEY,
  DegreeEn TEXT NOT NULL,
  DegreeFr TEXT NOT NULL,
  Random_Flaw INTEGER NOT NULL,
  Random_nonFlaw INTEGER NOT NULL,
  Random_Flaw1 INTEGER NOT NULL,
  Select_Flaw INTEGER NOT NULL,
  Select_nonFlaw INTEGER NOT NULL,
  Select_Flaw1 INTEGER NOT NULL
);

-- Bands in ascending order; "None" marks an empty place.
CREATE TABLE [Special Items] (
  Item_ID INTEGER PRIMARY KEY,
  Roll TEXT NOT NULL,
  Item1En TEXT NOT NULL,
  Item2En TEXT NOT NULL,
  Item3En TEXT NOT NULL,
  Item4En TEXT NOT NULL
);

-- No column here may repeat a name of [Training Package DP Cost] other than Training_ID:
-- the package list joins both tables and names Profession_ID and the names unqualified.
CREATE TABLE [Training Package] (
  Training_ID INTEGER PRIMARY KEY,
  TrainingEn TEXT NOT NULL COLLATE FOLD,
  TrainingFr TEXT NOT NULL COLLATE FOLD,
  StartingMoney TEXT NOT NULL DEFAULT '',
  Months INTEGER NOT NULL,
  Stat1 INTEGER NOT NULL DEFAULT 0,
  Stat2 INTEGER NOT NULL DEFAULT 0,
  ChoiseStat INTEGER NOT NULL DEFAULT 0 CHECK (ChoiseStat BETWEEN 0 AND 2),
  [Vocational/Lifestyle] TEXT NOT NULL CHECK ([Vocational/Lifestyle] IN ('V', 'L')),
  NoteEn TEXT NOT NULL DEFAULT '',
  NoteFr TEXT NOT NULL DEFAULT ''
);

CREATE TABLE [Training Package DP Cost] (
  Training_ID INTEGER NOT NULL,
  Profession_ID INTEGER NOT NULL,
  Cost INTEGER NOT NULL,
  Typical INTEGER NOT NULL DEFAULT 0 CHECK (Typical IN (0, -1)),
  UNIQUE (Training_ID, Profession_ID)
);

-- Applied in stored order: a weapon category row comes before its weapon skill row.
CREATE TABLE [Training Skill Ranks] (
  Training_ID INTEGER NOT NULL,
  Skill_Category_ID INTEGER NOT NULL DEFAULT 0,
  Skill_ID INTEGER NOT NULL DEFAULT 0,
  Ranks INTEGER NOT NULL,
  Choise INTEGER NOT NULL DEFAULT 0 CHECK (Choise IN (0, -1))
);

CREATE TABLE [Training special] (
  Training_ID INTEGER NOT NULL,
  SpecialEn TEXT NOT NULL,
  SpecialFr TEXT NOT NULL,
  Chance INTEGER NOT NULL
);

-- Armor_ID is the row's position + 1 (1, 2, 3...), at most 31 rows.
CREATE TABLE [Armor Modification] (
  Armor_ID INTEGER PRIMARY KEY CHECK (Armor_ID BETWEEN 1 AND 31),
  ArmorEn TEXT NOT NULL,
  ArmorFr TEXT NOT NULL,
  Protection INTEGER NOT NULL DEFAULT 0 CHECK (Protection IN (0, -1)),
  MaxManeuvre INTEGER NOT NULL,
  MinManeuvre INTEGER NOT NULL,
  MissileAttak INTEGER NOT NULL,
  Quickness INTEGER NOT NULL
);

-- Shield_ID is the row's position (0 = no shield), at most 11 rows.
CREATE TABLE Shield (
  Shield_ID INTEGER PRIMARY KEY CHECK (Shield_ID BETWEEN 0 AND 10),
  ShieldEn TEXT NOT NULL,
  ShieldFr TEXT NOT NULL,
  Melee INTEGER NOT NULL,
  Missile INTEGER NOT NULL
);
