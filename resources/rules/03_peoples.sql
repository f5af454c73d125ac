-- Races, cultures, languages and what a culture gives its young.

-- Races 1 and 2 are the pair a culture of either lets the player choose between: race 1 sorts first
-- in both languages. Race 7 raises no culture.
INSERT INTO [Race Abilities] (Race_ID, RaceEn, RaceFr, NoteEn, NoteFr, AG, CO, Me, Re, SD, EM, It, Pr, Qu, ST, Ess, Chan, Ment, Pois, Fear, Body, Channeling_PP, Essence_PP, Mentalism_PP, Hobby_Ranks, BG_opts) VALUES
  (1, 'Brannish', 'Brannois', 'Farmers and townsfolk of the river plains, hardy and adaptable.', 'Cultivateurs et citadins des plaines fluviales, robustes et adaptables.', 0, 2, 0, 0, 2, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, '0•5•3•2•1', '0•3•2•1•1', '0•3•2•1•1', '0•3•2•1•1', 12, 5),
  (2, 'Corvath', 'Corvathes', 'Tall, long-lived wanderers of the grass seas, proud of their ancestry.', 'Grands nomades des mers d''herbe, à la longue vie et fiers de leurs ancêtres.', 2, 2, 2, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 5, 0, '0•6•3•2•1', '0•3•2•1•1', '0•3•2•1•1', '0•3•2•1•½', 10, 4),
  (3, 'Sylvani', 'Sylvains', 'Slender forest dwellers whose senses are keen and whose faith is thin.', 'Habitants élancés des forêts, aux sens aiguisés et à la foi légère.', 5, -3, 2, 0, -2, 3, 0, 2, 5, -3, 5, -4, 0, 10, 0, '0•3•2•1•1', '0•2•1•1•½', '0•4•3•2•1', '0•3•2•1•1', 8, 4),
  (4, 'Dolgar', 'Dolgars', 'Stocky delvers of the deep halls; magic slides off them.', 'Mineurs trapus des halles profondes; la magie glisse sur eux.', -2, 5, 0, 0, 3, -5, 0, -2, -2, 3, -5, 0, 5, 15, 5, '0•7•4•2•1', '0•3•2•1•1', '0•1•1•½•0', '0•2•1•1•½', 9, 3),
  (5, 'Eldrin', 'Eldrins', 'An old people of the mist isles, steeped in lore and spellcraft.', 'Un peuple ancien des îles de brume, nourri de savoir et d''art des sorts.', 3, -2, 5, 3, 2, 5, 2, 3, 2, -3, 10, 5, 10, 5, 5, '0•3•2•1•½', '0•3•2•1•1', '0•5•4•2•1', '0•4•3•2•1', 6, 6),
  (6, 'Hollin', 'Hollins', 'Small hill folk, quick of hand and slow to anger.', 'Petit peuple des collines, vif de la main et lent à la colère.', 3, 3, 0, 0, 0, 0, 2, -2, 5, -5, 0, 5, 5, 10, 5, '0•4•2•1•1', '0•3•2•1•½', '0•2•1•1•½', '0•2•1•1•½', 14, 5),
  (7, 'Grauk', 'Grauks', 'Brutal raiders of the ash wastes. No civilised culture raises them.', 'Pillards brutaux des déserts de cendre. Aucune culture policée ne les élève.', -2, 5, -3, -3, -2, -2, 0, 0, 0, 5, -5, -5, -5, 10, 5, '0•8•4•2•1', '0•2•1•1•½', '0•1•1•½•0', '0•1•1•½•0', 10, 2);

-- A culture's name exists in French only and is shown as it is in both languages.
INSERT INTO Culture (Culture_ID, CultureFr, Race_ID, WeightMale, HeightMale, WeightFemal, HeightFemal, LifespanMin, LifespanMax, Image, PhysycalCharacterEn, PhysycalCharacterFr, OtherFactorEn, OtherFactorFr, CultureFactorEn, CultureFactorFr, OutfitingOptionsEn, OutfitingOptionsFr, BackgroundOptionsEn, BackgroundOptionsFr) VALUES
  (1, 'Citadins de Port-Vasque', 1, 150.0, 6.0, 125.0, 5.5, 60, 85, 1, 'Lean and quick, pale from the harbour fogs.', 'Secs et vifs, pâlis par les brumes du port.', 'Most speak the trade tongue better than their own.', 'La plupart parlent mieux la langue marchande que la leur.', 'Merchant guilds rule the city; every child is apprenticed at twelve.', 'Les guildes marchandes gouvernent la ville; chaque enfant entre en apprentissage à douze ans.', 'Town clothes, a knife, a guild token, 10 silver pieces.', 'Vêtements de ville, un couteau, un jeton de guilde, 10 pièces d''argent.', 'May take a guild patron as a background option.', 'Peut choisir un protecteur de guilde comme option d''historique.'),
  (2, 'Paysans des Marches', 1, 165.0, 5.8, 135.0, 5.4, 55, 80, 2, 'Broad-shouldered, weathered by field work.', 'Larges d''épaules, tannés par le travail des champs.', 'Suspicious of spellcasters.', 'Méfiants envers les jeteurs de sorts.', 'Villages of the border marches, raided every other summer.', 'Villages des marches frontalières, pillés un été sur deux.', 'Homespun clothes, a staff, a sling, a week of food.', 'Vêtements grossiers, un bâton, une fronde, une semaine de vivres.', 'A second extra statistic gain roll costs one point less.', 'Un second jet de gain de caractéristique coûte un point de moins.'),
  (3, 'Nomades des Mers d''Herbe', 2, 190.0, 6.4, 150.0, 6.0, 100, 140, 3, 'Tall and long-limbed, braided hair.', 'Grands et longilignes, cheveux tressés.', 'Never sleep twice under the same roof.', 'Ne dorment jamais deux fois sous le même toit.', 'Clans follow the herds across the grass seas.', 'Les clans suivent les troupeaux à travers les mers d''herbe.', 'Riding horse, bow, 20 arrows, felt tent.', 'Cheval de selle, arc, 20 flèches, tente de feutre.', 'Begins with a trained mount.', 'Commence avec une monture dressée.'),
  (4, 'Élus de la Tour Grise', 2, 180.0, 6.3, 140.0, 5.9, 110, 150, 4, 'Tall, grave, dressed in grey.', 'Grands, graves, vêtus de gris.', 'Keep the old histories and the old grudges.', 'Gardent les vieilles chroniques et les vieilles rancunes.', 'A scholarly caste serving the archives of the Grey Tower.', 'Une caste lettrée au service des archives de la Tour Grise.', 'Scholar''s robes, writing case, one book.', 'Robe d''érudit, écritoire, un livre.', 'May take a library key as a special item.', 'Peut prendre une clé de bibliothèque comme objet spécial.'),
  (5, 'Sylvains des Frondaisons', 3, 120.0, 5.9, 100.0, 5.6, 300, 500, 5, 'Slim, green-eyed, silent.', 'Minces, aux yeux verts, silencieux.', 'Sing to the trees at dusk.', 'Chantent pour les arbres au crépuscule.', 'Hidden tree-towns in the deep woods.', 'Villes arboricoles cachées au cœur des bois.', 'Long bow, cloak of leaves, herb pouch.', 'Arc long, cape de feuilles, bourse d''herbes.', 'Talents cost one point less.', 'Les aptitudes coûtent un point de moins.'),
  (6, 'Sylvains des Rivages', 3, 125.0, 5.8, 105.0, 5.5, 300, 500, 6, 'Sun-browned, agile swimmers.', 'Bronzés, nageurs agiles.', 'Trade with every ship that anchors.', 'Commercent avec chaque navire qui mouille.', 'Fishing villages along the western shore.', 'Villages de pêcheurs le long de la côte ouest.', 'Spear, net, small boat shared with kin.', 'Lance, filet, petite barque partagée avec la famille.', 'May start with a sea chart.', 'Peut commencer avec une carte marine.'),
  (7, 'Forgerons de Dolgarde', 4, 170.0, 4.5, 150.0, 4.3, 200, 300, 7, 'Short, broad, heavily bearded.', 'Petits, larges, lourdement barbus.', 'Count every coin twice.', 'Comptent chaque pièce deux fois.', 'Clan halls carved under the iron mountains.', 'Halles claniques taillées sous les montagnes de fer.', 'Hammer, mail shirt, smith''s tools.', 'Marteau, chemise de mailles, outils de forgeron.', 'Special items of metal cost one point less.', 'Les objets spéciaux de métal coûtent un point de moins.'),
  (8, 'Eldrins des Îles de Brume', 5, 140.0, 6.1, 115.0, 5.8, 400, 800, 8, 'Silver-haired from youth, very pale.', 'Cheveux argentés dès la jeunesse, très pâles.', 'Speak in riddles to outsiders.', 'Parlent par énigmes aux étrangers.', 'Ancient island cities where every house keeps a library.', 'Antiques cités insulaires où chaque maison garde une bibliothèque.', 'Staff, robes, one scroll of lore.', 'Bâton, robe, un rouleau de savoir.', 'May learn one extra spell list at no cost.', 'Peut apprendre une liste de sorts supplémentaire sans coût.'),
  (9, 'Hollins des Collines Rondes', 6, 70.0, 3.6, 60.0, 3.4, 90, 130, 9, 'Small, round-faced, curly-haired.', 'Petits, visage rond, cheveux bouclés.', 'Love feasts and hate boats.', 'Aiment les festins et détestent les bateaux.', 'Burrow villages among orchards and hedges.', 'Villages de terriers entre vergers et haies.', 'Walking stick, pipe, cheese, a good coat.', 'Canne, pipe, fromage, un bon manteau.', 'Luck: one extra background option point.', 'Chance : un point d''option d''historique en plus.');

INSERT INTO Language (Language_ID, LanguageEn, LanguageFr) VALUES
  (1, 'Trade Tongue', 'Langue marchande'), (2, 'Brannic', 'Brannois'), (3, 'Corvathi', 'Corvathe'),
  (4, 'Sylvan', 'Sylvain'), (5, 'Old Sylvan', 'Vieux sylvain'), (6, 'Dolgari', 'Dolgarien'),
  (7, 'Eldric', 'Eldrique'), (8, 'Hollish', 'Hollin'), (9, 'Graukish', 'Grauk'),
  (10, 'Temple Speech', 'Langue du temple'), (11, 'Thieves'' Cant', 'Argot des voleurs'), (12, 'Sailors'' Talk', 'Parler des marins'),
  (13, 'Ancient Vasquan', 'Vasquien ancien'), (14, 'Hand Signs', 'Langue des signes'), (15, 'Beast Calls', 'Cris des bêtes');

-- StartS ranks go to the spoken skill (32), StartW ranks to the written skill (33).
INSERT INTO [Culture Languages] (Culture_ID, Language_ID, StartS, StartW) VALUES
  (1, 1, 5, 3), (1, 2, 4, 2), (1, 11, 2, 0), (2, 1, 3, 0),
  (2, 2, 5, 2), (3, 1, 2, 0), (3, 3, 6, 2), (3, 14, 3, 0),
  (4, 1, 4, 4), (4, 3, 5, 5), (4, 13, 2, 3), (5, 1, 2, 0),
  (5, 4, 6, 3), (5, 5, 2, 2), (6, 1, 4, 0), (6, 4, 5, 2),
  (6, 12, 3, 0), (7, 1, 3, 2), (7, 6, 6, 4), (8, 1, 3, 3),
  (8, 7, 6, 5), (8, 5, 3, 3), (9, 1, 4, 1), (9, 8, 6, 2);

INSERT INTO [Culture weapons] (Culture_ID, Weapon_ID) VALUES
  (1, 7), (1, 8), (1, 12), (1, 22), (1, 37), (1, 24), (2, 1), (2, 6),
  (2, 11), (2, 15), (2, 24), (2, 30), (2, 36), (3, 7), (3, 10), (3, 13),
  (3, 19), (3, 20), (3, 21), (3, 30), (3, 34), (3, 36), (4, 7), (4, 8),
  (4, 9), (4, 19), (4, 22), (5, 7), (5, 8), (5, 11), (5, 19), (5, 20),
  (5, 30), (5, 36), (6, 7), (6, 8), (6, 30), (6, 35), (6, 36), (6, 39),
  (6, 24), (7, 2), (7, 3), (7, 7), (7, 11), (7, 15), (7, 16), (7, 22),
  (7, 23), (7, 25), (7, 38), (8, 7), (8, 8), (8, 12), (8, 20), (8, 30),
  (8, 40), (9, 6), (9, 7), (9, 8), (9, 24), (9, 37), (9, 40);

-- Applied in stored order. A category row has Skill_ID 0; a skill row Skill_Category_ID 0.
-- The skill-32 row gives the extra adolescence language ranks. Choice -1: the player chooses.
INSERT INTO [Adolescences Rank] (Culture_ID, Skill_ID, Skill_Category_ID, Rank, Choice) VALUES
  (1, 0, 5, 2, 0), (1, 40, 0, 3, 0), (1, 32, 0, 3, 0), (1, 0, 4, 2, 0),
  (1, 0, 11, 2, 0), (1, 0, 43, 2, 0), (1, 0, 13, 1, 0), (1, 0, 50, 2, -1),
  (1, 227, 0, 2, -1), (1, 0, 52, 1, -1), (1, 229, 0, 1, -1), (1, 0, 7, 1, 0),
  (1, 81, 0, 2, 0), (1, 129, 0, 1, 0), (1, 48, 0, 1, 0), (1, 56, 0, 1, 0),
  (2, 0, 1, 2, 0), (2, 0, 2, 2, 0), (2, 0, 18, 2, 0), (2, 32, 0, 2, 0),
  (2, 0, 49, 2, -1), (2, 226, 0, 2, -1), (2, 0, 52, 1, -1), (2, 229, 0, 1, -1),
  (2, 113, 0, 2, 0), (2, 114, 0, 1, 0), (2, 116, 0, 1, 0), (2, 48, 0, 1, 0),
  (3, 0, 16, 3, 0), (3, 0, 18, 2, 0), (3, 0, 4, 2, 0), (3, 32, 0, 2, 0),
  (3, 101, 0, 3, 0), (3, 0, 52, 2, -1), (3, 229, 0, 2, -1), (3, 0, 54, 1, -1),
  (3, 231, 0, 1, -1), (3, 0, 45, 1, 0), (3, 222, 0, 2, 0), (3, 114, 0, 1, 0),
  (4, 0, 7, 3, 0), (4, 0, 8, 2, 0), (4, 0, 44, 1, 0), (4, 32, 0, 4, 0),
  (4, 49, 0, 2, 0), (4, 56, 0, 2, 0), (4, 0, 50, 1, -1), (4, 227, 0, 1, -1),
  (4, 0, 10, 1, 0), (4, 246, 0, 1, 0), (4, 166, 0, 1, 0), (5, 0, 13, 3, 0),
  (5, 0, 9, 2, 0), (5, 0, 3, 2, 0), (5, 32, 0, 3, 0), (5, 0, 52, 2, -1),
  (5, 229, 0, 3, -1), (5, 0, 50, 1, -1), (5, 227, 0, 1, -1), (5, 66, 0, 2, 0),
  (5, 166, 0, 1, 0), (5, 175, 0, 1, 0), (5, 176, 0, 1, 0), (6, 0, 17, 3, 0),
  (6, 0, 2, 2, 0), (6, 0, 18, 1, 0), (6, 32, 0, 2, 0), (6, 0, 54, 2, -1),
  (6, 231, 0, 2, -1), (6, 0, 55, 1, -1), (6, 232, 0, 1, -1), (6, 112, 0, 2, 0),
  (6, 8, 0, 2, 0), (7, 0, 6, 3, 0), (7, 0, 1, 2, 0), (7, 0, 42, 2, 0),
  (7, 32, 0, 2, 0), (7, 0, 49, 2, -1), (7, 226, 0, 2, -1), (7, 0, 51, 1, -1),
  (7, 228, 0, 1, -1), (7, 38, 0, 3, 0), (7, 204, 0, 2, 0), (7, 0, 24, 1, 0),
  (7, 235, 0, 1, 0), (8, 0, 8, 3, 0), (8, 0, 29, 2, 0), (8, 0, 7, 2, 0),
  (8, 32, 0, 4, 0), (8, 0, 50, 1, -1), (8, 227, 0, 1, -1), (8, 59, 0, 2, 0),
  (8, 182, 0, 1, 0), (8, 166, 0, 2, 0), (8, 0, 31, 1, 0), (9, 0, 13, 3, 0),
  (9, 0, 10, 2, 0), (9, 0, 6, 2, 0), (9, 32, 0, 3, 0), (9, 0, 52, 1, -1),
  (9, 229, 0, 1, -1), (9, 0, 55, 1, -1), (9, 232, 0, 2, -1), (9, 46, 0, 2, 0),
  (9, 196, 0, 1, 0), (9, 48, 0, 1, 0);

-- 1 occupational, 2 everyman, 3 restricted, 4 culture skill (kept for hobby ranks).
INSERT INTO [Special Skills Culture] (Culture_ID, SpecialSkill_ID, Skill_ID) VALUES
  (1, 1, 81), (1, 2, 210), (1, 2, 215), (1, 3, 104), (1, 4, 129), (1, 4, 133),
  (2, 1, 113), (2, 2, 114), (2, 3, 192), (2, 4, 116), (2, 4, 8), (3, 1, 101),
  (3, 2, 222), (3, 3, 107), (3, 4, 103), (3, 4, 166), (4, 1, 49), (4, 2, 166),
  (4, 3, 142), (4, 4, 56), (4, 4, 246), (5, 1, 66), (5, 2, 89), (5, 3, 4),
  (5, 4, 166), (5, 4, 175), (6, 1, 107), (6, 2, 112), (6, 3, 101), (6, 4, 8),
  (7, 1, 38), (7, 2, 204), (7, 3, 107), (7, 4, 235), (7, 4, 206), (8, 1, 59),
  (8, 2, 182), (8, 3, 142), (8, 4, 166), (8, 4, 69), (9, 1, 46), (9, 2, 89),
  (9, 3, 107), (9, 4, 196), (9, 4, 126);
