-- The workgroup file: the accounts the program logs on with. Passwords are
-- kept only as SHA-256 of (salt text followed by the password), in hex.
PRAGMA application_id = 1364612935;
CREATE TABLE Users(
  Name TEXT PRIMARY KEY COLLATE NOCASE,
  Salt TEXT NOT NULL,
  Hash TEXT NOT NULL
);
INSERT INTO Users(Name, Salt, Hash) VALUES('Lecteur', 'a655de72b411893cc00ce4513ecbf453', 'c1defbfc8dbcfa38089f2a3c28ff5abee030f4fc4921781501c070e55c297928');
INSERT INTO Users(Name, Salt, Hash) VALUES('Player', 'c6449c092807fd33d00ecf6619faecdb', '665c9f8288be72550aa7929ab384dc052b0e0dbc708f1635bd64d0f69c0b2f54');
