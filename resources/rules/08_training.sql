-- Training packages: V vocational, L lifestyle. StartingMoney is dice ("2d10") or empty.
INSERT INTO [Training Package] (Training_ID, TrainingEn, TrainingFr, StartingMoney, Months, Stat1, Stat2, ChoiseStat, [Vocational/Lifestyle], NoteEn, NoteFr) VALUES
  (1, 'Soldier of Fortune', 'Soldat de fortune', '2d10', 18, 10, 2, 0, 'V', 'Years of paid war in foreign armies.', 'Des années de guerre payée dans des armées étrangères.'),
  (2, 'Wandering Minstrel', 'Ménestrel errant', '1d6', 12, 8, 0, 0, 'L', 'Songs for bread from town to town.', 'Des chansons contre du pain, de ville en ville.'),
  (3, 'Temple Acolyte', 'Acolyte du temple', '', 12, 0, 0, 1, 'V', 'Served the altar and learned the rites.', 'A servi l''autel et appris les rites.'),
  (4, 'City Watch', 'Guet de la cité', '1d10', 12, 10, 0, 0, 'V', 'Patrolled the streets at night.', 'A patrouillé les rues la nuit.'),
  (5, 'Smuggler', 'Contrebandier', '3d10', 9, 1, 9, 0, 'L', 'Ran goods past the tax boats.', 'A fait passer des marchandises sous le nez des gabelous.'),
  (6, 'Hermit', 'Ermite', '', 24, 5, 7, 0, 'L', 'Lived alone with the wind and the stars.', 'A vécu seul avec le vent et les étoiles.'),
  (7, 'Apprentice Weaver', 'Apprenti tisseur', '1d4', 12, 6, 4, 0, 'V', 'Carried books for a master of the Weave.', 'A porté les livres d''un maître de la trame.'),
  (8, 'Ranger of the Marches', 'Patrouilleur des marches', '1d10', 15, 7, 2, 0, 'V', 'Guarded the border against raiders.', 'A gardé la frontière contre les pillards.'),
  (9, 'Court Envoy', 'Envoyé de la cour', '2d6', 12, 8, 4, 0, 'L', 'Carried messages between quarrelling lords.', 'A porté les messages de seigneurs querelleurs.'),
  (10, 'Pilgrim', 'Pèlerin', '', 3, 0, 0, 0, 'L', 'Walked to a distant shrine.', 'A marché jusqu''à un sanctuaire lointain.'),
  (11, 'Arena Fighter', 'Gladiateur', '2d4', 6, 0, 0, 2, 'V', 'Fought for the crowd''s pleasure.', 'A combattu pour le plaisir de la foule.'),
  (12, 'Sage''s Scribe', 'Scribe d''un sage', '1d6', 12, 3, 4, 0, 'L', 'Copied the notes of a learned master.', 'A recopié les notes d''un maître savant.');

-- What each profession pays for a package; one typical package per profession.
INSERT INTO [Training Package DP Cost] (Training_ID, Profession_ID, Cost, Typical) VALUES
  (1, 7, 12, 0), (1, 9, 14, 0), (1, 10, 8, -1), (2, 3, 12, 0), (2, 6, 12, 0), (2, 7, 13, 0),
  (2, 10, 14, 0), (2, 12, 10, 0), (3, 2, 14, 0), (3, 3, 8, -1), (3, 4, 10, 0), (3, 5, 9, -1),
  (3, 8, 12, 0), (4, 10, 10, 0), (4, 11, 10, 0), (4, 12, 11, 0), (5, 9, 9, -1), (5, 10, 15, 0),
  (5, 11, 11, 0), (5, 12, 8, -1), (6, 1, 11, 0), (6, 2, 8, -1), (6, 3, 10, 0), (6, 4, 10, -1),
  (6, 5, 11, 0), (6, 6, 9, -1), (6, 8, 10, 0), (6, 11, 9, 0), (7, 1, 8, -1), (7, 6, 13, 0),
  (7, 7, 9, 0), (8, 4, 14, 0), (8, 8, 8, -1), (8, 9, 11, 0), (8, 11, 8, -1), (9, 1, 14, 0),
  (9, 2, 12, 0), (9, 5, 12, 0), (9, 12, 13, 0), (10, 1, 6, 0), (10, 2, 6, 0), (10, 3, 5, 0),
  (10, 4, 6, 0), (10, 5, 6, 0), (10, 6, 6, 0), (10, 7, 7, 0), (10, 8, 6, 0), (10, 9, 7, 0),
  (10, 10, 7, 0), (10, 11, 6, 0), (10, 12, 6, 0), (11, 7, 10, -1), (11, 9, 12, 0), (11, 10, 8, 0),
  (12, 1, 10, 0), (12, 2, 10, 0), (12, 6, 11, 0);

-- Applied in stored order: a category row before the skill rows of that category,
-- a weapon category before its weapon skill. Choise -1: the player chooses.
INSERT INTO [Training Skill Ranks] (Training_ID, Skill_Category_ID, Skill_ID, Ranks, Choise) VALUES
  (1, 21, 0, 3, 0), (1, 23, 0, 2, 0), (1, 50, 0, 2, -1), (1, 0, 227, 2, 0),
  (1, 52, 0, 1, -1), (1, 0, 229, 1, 0), (1, 0, 135, 1, 0), (1, 10, 0, 1, 0),
  (1, 0, 76, 1, 0), (2, 27, 0, 3, 0), (2, 0, 175, 2, 0), (2, 0, 176, 1, -1),
  (2, 10, 0, 2, 0), (2, 0, 74, 1, 0), (2, 11, 0, 1, 0), (3, 8, 0, 2, 0),
  (3, 7, 0, 2, 0), (3, 0, 54, 2, 0), (3, 39, 0, 0, 0), (3, 0, 166, 2, -1),
  (3, 15, 0, 1, 0), (3, 0, 94, 1, 0), (4, 49, 0, 2, -1), (4, 0, 226, 2, 0),
  (4, 4, 0, 2, 0), (4, 0, 22, 1, 0), (4, 11, 0, 1, 0), (4, 0, 82, 2, 0),
  (4, 48, 0, 1, 0), (5, 17, 0, 2, 0), (5, 0, 107, 2, 0), (5, 20, 0, 2, 0),
  (5, 0, 132, 1, 0), (5, 13, 0, 1, 0), (5, 0, 92, 1, -1), (5, 43, 0, 1, 0),
  (6, 18, 0, 3, 0), (6, 0, 113, 2, 0), (6, 0, 116, 2, 0), (6, 25, 0, 2, 0),
  (6, 0, 156, 2, 0), (6, 9, 0, 1, 0), (7, 8, 0, 2, 0), (7, 0, 59, 2, 0),
  (7, 29, 0, 2, 0), (7, 0, 185, 1, -1), (7, 39, 0, 0, 0), (7, 0, 166, 1, -1),
  (7, 44, 0, 1, 0), (8, 46, 0, 2, 0), (8, 0, 238, 1, 0), (8, 18, 0, 2, 0),
  (8, 0, 116, 1, 0), (8, 5, 0, 2, 0), (8, 0, 30, 2, 0), (8, 54, 0, 1, -1),
  (8, 0, 231, 1, 0), (9, 11, 0, 3, 0), (9, 0, 85, 2, 0), (9, 10, 0, 2, 0),
  (9, 0, 73, 2, 0), (9, 7, 0, 1, 0), (9, 0, 51, 1, 0), (10, 7, 0, 1, 0),
  (10, 0, 54, 1, 0), (10, 2, 0, 1, 0), (10, 0, 9, 1, 0), (11, 22, 0, 2, 0),
  (11, 23, 0, 2, 0), (11, 0, 148, 1, -1), (11, 51, 0, 2, -1), (11, 0, 228, 2, 0),
  (11, 27, 0, 1, 0), (12, 7, 0, 3, 0), (12, 0, 57, 2, 0), (12, 44, 0, 1, 0),
  (12, 0, 214, 1, 0), (12, 47, 0, 1, 0), (12, 0, 246, 2, 0);

-- Chance in percent.
INSERT INTO [Training special] (Training_ID, SpecialEn, SpecialFr, Chance) VALUES
  (1, 'Veteran''s scar and a war story', 'Cicatrice de vétéran et histoire de guerre', 60),
  (1, 'A fine weapon from a fallen captain', 'Une belle arme prise à un capitaine tombé', 20),
  (2, 'A well-made instrument', 'Un instrument de belle facture', 50),
  (3, 'A holy symbol blessed by the high priest', 'Un symbole sacré béni par le grand prêtre', 40),
  (3, 'A friend in the temple hierarchy', 'Un ami dans la hiérarchie du temple', 40),
  (4, 'Knows every alley of one city', 'Connaît chaque ruelle d''une ville', 70),
  (5, 'A hidden cache of goods', 'Une cachette de marchandises', 30),
  (5, 'A debt owed by a harbour master', 'Une dette d''un capitaine de port', 20),
  (6, 'A vision of the future', 'Une vision de l''avenir', 25),
  (7, 'A borrowed spell book', 'Un grimoire emprunté', 35),
  (8, 'A trained hunting hound', 'Un chien de chasse dressé', 40),
  (9, 'A letter of safe passage', 'Un sauf-conduit', 50),
  (10, 'A pilgrim''s token that opens shrine doors', 'Un insigne de pèlerin qui ouvre les sanctuaires', 60),
  (11, 'A crowd that remembers the name', 'Une foule qui se souvient du nom', 50),
  (11, 'A patron among the rich', 'Un protecteur parmi les riches', 15),
  (12, 'A copy of a rare treatise', 'La copie d''un traité rare', 45);
