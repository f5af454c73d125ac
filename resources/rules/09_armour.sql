-- Armour and shields, read by position: Armor_ID is the position + 1, Shield_ID the position.
-- The maneuver skill follows the armour id: 5-8 hide (234), 9-12 mail (235), 13-16 plate (236),
-- 17-20 scale (233); the others need none. MinManeuvre is the best figure the armour allows.
INSERT INTO [Armor Modification] (Armor_ID, ArmorEn, ArmorFr, Protection, MaxManeuvre, MinManeuvre, MissileAttak, Quickness) VALUES
  (1, 'Clothes', 'Vêtements', 0, 0, 0, 0, 0),
  (2, 'Robes', 'Robe', 0, 0, 0, 0, 0),
  (3, 'Heavy Cloak', 'Cape épaisse', 0, 0, 0, 0, 0),
  (4, 'Padded Jerkin', 'Pourpoint rembourré', 0, 0, -5, 0, 0),
  (5, 'Hide Vest', 'Veste de peau', 0, -15, 0, 0, 0),
  (6, 'Hide Coat', 'Manteau de peau', 0, -20, 0, 5, -5),
  (7, 'Hide Coat and Greaves', 'Manteau et jambières de peau', -1, -30, -5, 5, -5),
  (8, 'Full Hide', 'Peau intégrale', -1, -40, -10, 15, -10),
  (9, 'Mail Shirt', 'Chemise de mailles', 0, -25, -5, 0, -5),
  (10, 'Mail Hauberk', 'Haubert', 0, -35, -5, 5, -10),
  (11, 'Mail Coat and Leggings', 'Cotte et chausses de mailles', -1, -45, -10, 10, -10),
  (12, 'Full Mail', 'Mailles intégrales', -1, -60, -10, 15, -15),
  (13, 'Breastplate', 'Cuirasse', 0, -50, -5, 5, -10),
  (14, 'Half Plate', 'Demi-armure', -1, -70, -10, 10, -15),
  (15, 'Plate and Mail', 'Plates et mailles', -1, -80, -15, 15, -20),
  (16, 'Full Plate', 'Armure de plates complète', -1, -90, -15, 20, -25),
  (17, 'Scale Vest', 'Gilet d''écailles', 0, -20, 0, 5, -5),
  (18, 'Scale Coat', 'Manteau d''écailles', 0, -30, -5, 5, -5),
  (19, 'Long Scale', 'Écailles longues', -1, -40, -5, 10, -10),
  (20, 'Full Scale', 'Écailles intégrales', -1, -55, -10, 15, -15),
  (21, 'Bone Plates', 'Plaques d''os', 0, 0, -10, 5, -10),
  (22, 'Woven Bark', 'Écorce tressée', 0, 0, -5, 0, 0),
  (23, 'Ghost Mail', 'Mailles spectrales', 0, 0, 0, 0, 0),
  (24, 'Chitin Shell', 'Carapace de chitine', -1, 0, -15, 10, -10),
  (25, 'Weave-spun Robe', 'Robe tissée de trame', 0, 0, 5, 0, 0);

INSERT INTO Shield (Shield_ID, ShieldEn, ShieldFr, Melee, Missile) VALUES
  (0, 'No shield', 'Aucun bouclier', 0, 0),
  (1, 'Buckler', 'Rondache', 5, 0),
  (2, 'Round Shield', 'Bouclier rond', 10, 5),
  (3, 'Heater Shield', 'Écu', 15, 15),
  (4, 'Tower Shield', 'Pavois', 20, 30);
