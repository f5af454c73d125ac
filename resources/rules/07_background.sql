-- Talents and flaws (read in English in both languages), their bonuses, the talent prices and
-- the special items.

-- One row per degree, in degree order: the degree is the row's position. A price of 0: not offered.
INSERT INTO [Talents Cost] (Degree_ID, DegreeEn, DegreeFr, Random_Flaw, Random_nonFlaw, Random_Flaw1, Select_Flaw, Select_nonFlaw, Select_Flaw1) VALUES
  (1, 'Minor', 'Mineur', 1, 2, 0, 2, 3, 1),
  (2, 'Moderate', 'Modéré', 2, 3, 1, 3, 4, 2),
  (3, 'Major', 'Majeur', 3, 4, 2, 4, 5, 3),
  (4, 'Exceptional', 'Exceptionnel', 4, 6, 3, 5, 7, 0);

-- Type_ID is the degree. Within a degree the bands ascend; Roll is the band's lowest d100 result
-- and the row "100" is the band of 100 alone.
INSERT INTO Talents (Talents_ID, Type_ID, Roll, TalentEn, NoteEn) VALUES
  (1, 1, '01', 'Keen Eyes', '+10 to Spotting.'),
  (2, 1, '16', 'Light Sleeper', ''),
  (3, 1, '31', 'Steady Hands', '+5 to Lock Picking and Surgery.'),
  (4, 1, '46', 'Good Memory', '+5 Memory bonus.'),
  (5, 1, '61', 'Strong Back', '+10 to Feats of Strength.'),
  (6, 1, '71', 'Fleet of Foot', '+5 to Sprinting.'),
  (7, 1, '86', 'Animal Voice', '+10 to Calming Beasts.'),
  (8, 1, '100', 'Born Lucky', '+10 to Luck.'),
  (9, 2, '01', 'Night Vision', 'Sees by starlight: +5 to Spotting, +10 more at night.'),
  (10, 2, '15', 'Iron Stomach', '+10 to Hard Drinking and Fasting.'),
  (11, 2, '29', 'Ambidextrous', '+10 to Two Weapons.'),
  (12, 2, '43', 'Quick Learner', '+5 to General Lore.'),
  (13, 2, '57', 'Battle Reflexes', '+10 to Combat Techniques.'),
  (14, 2, '71', 'Silver Tongue', '+10 to Persuasion.'),
  (15, 2, '86', 'Tireless', '+10 to Stamina.'),
  (16, 2, '100', 'Natural Leader', '+10 to Leadership.'),
  (17, 3, '01', 'Spell Sense', '+10 to Spellcraft.'),
  (18, 3, '17', 'Bone Hard', '+10 to Hit Points.'),
  (19, 3, '34', 'Lightning Reflexes', '+5 Quickness bonus.'),
  (20, 3, '51', 'Deep Reserve', '+10 to every power reserve.'),
  (21, 3, '68', 'Beast Master', '+15 to Animal Handling.'),
  (22, 3, '85', 'Sharp Mind', '+5 Reasoning bonus.'),
  (23, 3, '100', 'Charmed', '+10 Presence bonus.'),
  (24, 4, '01', 'Giant''s Blood', '+10 Strength bonus, +10 to Hit Points.'),
  (25, 4, '16', 'Mind Fortress', '+10 Self Discipline bonus.'),
  (26, 4, '31', 'Shadow Born', '+15 to Stealth.'),
  (27, 4, '51', 'Weapon Genius', '+15 to Blades and Bludgeons.'),
  (28, 4, '71', 'Favoured of the Gods', '+10 Intuition bonus, +5 to Devotion Reserve.'),
  (29, 4, '86', 'Living Legend', '+15 to Influence.'),
  (30, 4, '100', 'Touched by Fate', '+15 to Luck and +5 Presence bonus.');

-- Applied in order; a row writes to its category if set, else its skill, else its statistic.
INSERT INTO [Talents Bonus] (Talents_ID, Skill_Category_ID, Skill_ID, Stat_ID, Bonus) VALUES
  (1, 0, 25, 0, 10), (3, 0, 128, 0, 5), (3, 0, 95, 0, 5), (4, 0, 0, 3, 5),
  (5, 1, 0, 0, 10), (6, 0, 256, 0, 5), (7, 0, 224, 0, 10), (8, 0, 196, 0, 10),
  (9, 0, 25, 0, 5), (9, 0, 25, 0, 10), (10, 0, 13, 0, 10), (10, 0, 11, 0, 10),
  (11, 0, 148, 0, 10), (12, 7, 0, 0, 5), (13, 23, 155, 0, 10), (14, 0, 80, 0, 10),
  (15, 2, 0, 0, 10), (16, 48, 0, 0, 10), (17, 29, 0, 0, 10), (18, 0, 23, 0, 10),
  (19, 0, 0, 9, 5), (20, 0, 270, 0, 10), (20, 0, 271, 0, 10), (20, 0, 272, 0, 10),
  (21, 45, 0, 0, 15), (22, 0, 0, 4, 5), (23, 0, 0, 8, 10), (24, 0, 0, 10, 10),
  (24, 0, 23, 0, 10), (25, 0, 0, 5, 10), (26, 13, 0, 0, 15), (27, 0, 227, 0, 15),
  (27, 0, 226, 0, 15), (28, 0, 0, 7, 10), (28, 0, 270, 0, 5), (29, 11, 0, 0, 15),
  (30, 0, 196, 0, 15), (30, 0, 0, 8, 5);

-- Type_ID runs from 0 (the flaw that comes with a degree-1 talent) to the highest degree.
INSERT INTO Flaws (Flaws_ID, Type_ID, Roll, FlawEn, NoteEn) VALUES
  (1, 0, '01', 'Bad Breath', '-5 to Seduction.'),
  (2, 0, '21', 'Nail Biter', ''),
  (3, 0, '41', 'Stutter', '-5 to Oratory.'),
  (4, 0, '61', 'Freckled', ''),
  (5, 0, '81', 'Clumsy Cook', '-10 to Cooking.'),
  (6, 0, '100', 'Unlucky Day', '-5 to Luck.'),
  (7, 1, '01', 'Short Sighted', '-10 to Spotting.'),
  (8, 1, '21', 'Greedy', '-5 to Haggling; never refuses a bribe.'),
  (9, 1, '41', 'Hot Tempered', '-5 to Diplomacy.'),
  (10, 1, '61', 'Weak Ankle', '-5 Agility bonus.'),
  (11, 1, '81', 'Braggart', '-10 to Blending In.'),
  (12, 1, '100', 'Nightmares', '-5 to Meditation.'),
  (13, 2, '01', 'Limp', '-10 to Sprinting and Swift Stride.'),
  (14, 2, '21', 'Fear of Heights', '-15 to Climbing.'),
  (15, 2, '41', 'Frail', '-10 to Hit Points.'),
  (16, 2, '61', 'Hard of Hearing', '-15 to Listening.'),
  (17, 2, '81', 'Compulsive Liar', '-10 to Persuasion.'),
  (18, 2, '100', 'Bad Reputation', '-10 to Influence.'),
  (19, 3, '01', 'One Eye', '-15 to Spotting, -10 to missile weapons.'),
  (20, 3, '21', 'Cursed Blood', '-10 to every resistance roll against spells.'),
  (21, 3, '41', 'Sickly', '-10 Constitution bonus.'),
  (22, 3, '61', 'Mute', 'Cannot speak: -25 to Singing.'),
  (23, 3, '81', 'Hunted', 'An old enemy follows the character.'),
  (24, 3, '100', 'Spell Blight', '-15 to Spellcraft.'),
  (25, 4, '01', 'Lost Hand', '-20 to Two Weapons and Crafts.'),
  (26, 4, '21', 'Doomed', 'Will die in a foretold way.'),
  (27, 4, '41', 'Madness', '-10 Self Discipline bonus.'),
  (28, 4, '61', 'Hollow Soul', '-10 to every power reserve.'),
  (29, 4, '81', 'Nemesis', 'A powerful foe wants the character dead.'),
  (30, 4, '100', 'Broken Body', '-10 Strength and Agility bonuses.');

INSERT INTO [Flaws Bonus] (Flaws_ID, Skill_Category_ID, Skill_ID, Stat_ID, Bonus) VALUES
  (1, 0, 84, 0, -5), (3, 0, 83, 0, -5), (5, 0, 46, 0, -10), (6, 0, 196, 0, -5),
  (7, 0, 25, 0, -10), (8, 0, 81, 0, -5), (9, 0, 85, 0, -5), (10, 0, 0, 1, -5),
  (11, 0, 93, 0, -10), (12, 0, 156, 0, -5), (13, 0, 256, 0, -10), (13, 0, 259, 0, -10),
  (14, 0, 14, 0, -15), (15, 0, 23, 0, -10), (16, 0, 24, 0, -15), (17, 0, 80, 0, -10),
  (18, 11, 0, 0, -10), (19, 0, 25, 0, -15), (19, 52, 0, 0, -10), (21, 0, 0, 2, -10),
  (22, 0, 175, 0, -25), (24, 29, 0, 0, -15), (25, 0, 148, 0, -20), (25, 6, 0, 0, -20),
  (27, 0, 0, 5, -10), (28, 0, 270, 0, -10), (28, 0, 271, 0, -10), (28, 0, 272, 0, -10),
  (30, 0, 0, 10, -10), (30, 0, 0, 1, -10);

-- Ascending bands of d100: Roll is the lowest result; "None" marks an empty place.
INSERT INTO [Special Items] (Item_ID, Roll, Item1En, Item2En, Item3En, Item4En) VALUES
  (1, '01', 'A lucky copper coin', 'None', 'None', 'None'),
  (2, '15', 'Silver dagger', 'Fine lute', 'Map of a nearby ruin', 'None'),
  (3, '29', 'Cloak that never gets wet', 'Herb pouch that stays fresh', 'Ring that warms in danger', 'Whistle heard for a mile'),
  (4, '42', 'Potion of healing', 'Lantern that burns a week', 'Boots of quiet steps', 'None'),
  (5, '55', 'Rope that ties itself', 'Compass of the north star', 'Sword +5', 'Shield +5'),
  (6, '66', 'Armour +5', 'Wand of light', 'Charm against fever', 'Pet raven'),
  (7, '77', 'Sword +10', 'Amulet against spells +5', 'Ring of power (+1 spell point)', 'Well-trained warhorse'),
  (8, '86', 'Staff of the Weave (x2 power)', 'Armour +10', 'Boots of long strides', 'Spell list scroll'),
  (9, '94', 'Bow +15', 'Crown of clear thought', 'Cloak of shadows', 'None'),
  (10, '100', 'Blade of legend +20', 'None', 'None', 'None');
