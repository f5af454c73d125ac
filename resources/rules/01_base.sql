-- Statistics (stored in this order: the record numbers them Stat_ID - 1), realms and rank progressions.

INSERT INTO Stat (Stat_ID, StatEn, StatFr, AbrEn, AbrFr) VALUES
  (1, 'Agility', 'Agilité', 'Ag', 'Ag'),
  (2, 'Constitution', 'Constitution', 'Co', 'Co'),
  (3, 'Memory', 'Mémoire', 'Me', 'Me'),
  (4, 'Reasoning', 'Raisonnement', 'Re', 'Rs'),
  (5, 'Self Discipline', 'Autodiscipline', 'SD', 'AD'),
  (6, 'Empathy', 'Empathie', 'Em', 'Em'),
  (7, 'Intuition', 'Intuition', 'In', 'In'),
  (8, 'Presence', 'Présence', 'Pr', 'Pr'),
  (9, 'Quickness', 'Rapidité', 'Qu', 'Rp'),
  (10, 'Strength', 'Force', 'St', 'Fo');

-- 1 arcane (open lists for all); 2, 5, 7 the single realms; 3/9, 4/11, 6/10 the pairs; 8 chosen by the player.
INSERT INTO [Realms of Power] (Realm_ID, RealmEn, RealmFr, Stat_ID1, Stat_ID2, Stat_ID3) VALUES
  (1, 'Arcane', 'Arcane', 6, 7, 8),
  (2, 'Channeling', 'Théurgie', 7, 7, 7),
  (3, 'Essence and Channeling', 'Essence et théurgie', 6, 7, 0),
  (4, 'Channeling and Mentalism', 'Théurgie et mentalisme', 7, 8, 0),
  (5, 'Essence', 'Essence', 6, 6, 6),
  (6, 'Essence and Mentalism', 'Essence et mentalisme', 6, 8, 0),
  (7, 'Mentalism', 'Mentalisme', 8, 8, 8),
  (8, 'Player''s choice', 'Au choix', 0, 0, 0),
  (9, 'Channeling and Essence', 'Théurgie et essence', 7, 6, 0),
  (10, 'Mentalism and Essence', 'Mentalisme et essence', 8, 6, 0),
  (11, 'Mentalism and Channeling', 'Mentalisme et théurgie', 8, 7, 0);

-- Five values joined by "•": the bonus at no rank, then per rank for ranks 1-10, 11-20, 21-30, beyond.
-- Row 5 marks a category that takes no ranks of its own.
INSERT INTO [Skill Bonus] (Skill_Bonus_ID, Skill_Bonus) VALUES
  (1, '-20•4•2•1•½'),
  (2, '-10•2•1•½•0'),
  (3, '5•3•2•1•1'),
  (4, '0•½•½•½•0'),
  (5, '0•0•0•0•0'),
  (6, '-10•2•1•½•¼'),
  (7, '-30•5•3•1½•½'),
  (8, '0•1•1•½•¼');
