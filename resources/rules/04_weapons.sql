-- Weapons and the weapon skill each belongs to (226-232).

INSERT INTO Weapons (Weapon_ID, WeaponEn, WeaponFr) VALUES
  (1, 'Club', 'Gourdin'), (2, 'Mace', 'Masse d''armes'), (3, 'War Hammer', 'Marteau de guerre'),
  (4, 'Flail', 'Fléau'), (5, 'Morning Star', 'Étoile du matin'), (6, 'Cudgel', 'Matraque'),
  (7, 'Dagger', 'Dague'), (8, 'Short Sword', 'Épée courte'), (9, 'Broadsword', 'Épée large'),
  (10, 'Sabre', 'Sabre'), (11, 'Hand Axe', 'Hachette'), (12, 'Rapier', 'Rapière'),
  (13, 'Scimitar', 'Cimeterre'), (14, 'Greatsword', 'Espadon'), (15, 'Battle Axe', 'Hache de bataille'),
  (16, 'Maul', 'Maillet de guerre'), (17, 'Heavy Flail', 'Fléau lourd'), (18, 'War Scythe', 'Faux de guerre'),
  (19, 'Short Bow', 'Arc court'), (20, 'Long Bow', 'Arc long'), (21, 'Horn Bow', 'Arc de corne'),
  (22, 'Light Crossbow', 'Arbalète légère'), (23, 'Heavy Crossbow', 'Arbalète lourde'), (24, 'Sling', 'Fronde'),
  (25, 'Ballista', 'Baliste'), (26, 'Mangonel', 'Mangonneau'), (27, 'Scorpion', 'Scorpion'),
  (28, 'Springald', 'Espringale'), (29, 'Trebuchet', 'Trébuchet'), (30, 'Spear', 'Lance'),
  (31, 'Pike', 'Pique'), (32, 'Halberd', 'Hallebarde'), (33, 'Bill', 'Vouge'),
  (34, 'Horseman''s Lance', 'Lance de cavalerie'), (35, 'Trident', 'Trident'), (36, 'Javelin', 'Javelot'),
  (37, 'Throwing Knife', 'Couteau de lancer'), (38, 'Throwing Axe', 'Hache de jet'), (39, 'Bola', 'Bolas'),
  (40, 'Dart', 'Fléchette');

INSERT INTO [Weapons Type] (Weapon_ID, Skill_ID) VALUES
  (1, 226), (2, 226), (3, 226), (4, 226), (5, 226), (6, 226), (7, 227), (8, 227),
  (9, 227), (10, 227), (11, 227), (12, 227), (13, 227), (14, 228), (15, 228), (16, 228),
  (17, 228), (18, 228), (19, 229), (20, 229), (21, 229), (22, 229), (23, 229), (24, 229),
  (25, 230), (26, 230), (27, 230), (28, 230), (29, 230), (30, 231), (31, 231), (32, 231),
  (33, 231), (34, 231), (35, 231), (36, 232), (37, 232), (38, 232), (39, 232), (40, 232);
