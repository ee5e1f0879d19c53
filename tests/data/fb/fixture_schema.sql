/* A small schema in the form of the program's own: the fixture runs it
   through the script runner when it creates a database. */
SET SQL DIALECT 3;
SET NAMES UTF8;

CREATE GENERATOR GEN_NOTE_ID;

CREATE TABLE NOTE (
  NOTE_ID INTEGER NOT NULL,
  BODY VARCHAR(80) NOT NULL,
  CONSTRAINT PK_NOTE PRIMARY KEY (NOTE_ID)
);

SET TERM ^ ;
CREATE TRIGGER NOTE_BI FOR NOTE ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.NOTE_ID IS NULL) THEN
    NEW.NOTE_ID = GEN_ID(GEN_NOTE_ID, 1); -- a ';' inside the body
END^
SET TERM ; ^

INSERT INTO NOTE (BODY) VALUES ('seeded; with a semicolon');
COMMIT WORK;
