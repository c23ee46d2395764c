-- The database "du2010.fdb": purchasers, producers, animals, ticket headers, ticket lines, ticket numbers.
-- Text is WIN1250 with the Hungarian collation PXW_HUN, so names sort the way a Hungarian reader expects
-- ("Őri" before "Zsák"); comparisons stay case-sensitive. Every text column names both, so a database made
-- from this file alone (isql-fb, whatever the database's default character set) sorts the same way. Every table has an integer key ID_<table>, filled by a before-insert
-- trigger from its generator when an INSERT leaves it null.
--
-- Computed ticket-line amounts (decimal = DECIMAL(18,4), a null operand counts as 0):
--   S_LEVONAS   weight deducted   = S_BRUTTO * S_LEVONSZAZ / 100, rounded to 4 decimals (the column's scale)
--   S_NETTO     net weight        = S_BRUTTO - S_LEVONAS (exact; the quantity bought)
--   S_FELVAR    purchase value    = S_NETTO * S_EAR, rounded to 2 decimals (whole fillér)
--   S_KOMPFELAR surcharge         = S_FELVAR * S_KOMPMERTEKE / 100, rounded to 2 decimals
--   S_VETELAR   price             = S_FELVAR + S_KOMPFELAR
--   S_LEVONT    tax withheld      = S_VETELAR * S_SZJA / 100, rounded to 2 decimals
--   S_KIFIZET   what remains      = S_VETELAR - S_LEVONT
-- Rounding is half away from zero (Firebird's CAST), once, from the exact product. The amounts are exact
-- decimals of whole fillér, DECIMAL(18,2), so the two-decimal amounts printed on a ticket add up to its printed
-- totals, and every SUM of them is exact.
--
-- S_MERLEG holds the gross weight the line dialog last took from the scale for the line, null when none was
-- taken: S_MERLEG = S_BRUTTO marks a weighed line, a different S_BRUTTO a weighed one typed over.
--
-- Exact arithmetic here is 64-bit: a product's scale is the sum of its factors' scales, a quotient's digits
-- beyond that scale are cut, and a result beyond 64 bits is an error. So a product is never formed whole at
-- scale 8: the factor with the fraction is split into its whole part and its fraction, the product of the whole
-- part (scale 4) is cut to whole fillér, and only what remains below the fillér is added to the product of the
-- fraction and rounded. The parts of a product have the sign of the product, so rounding what remains rounds the
-- whole. A per cent is taken as * 0.01, not / 100, which would cut at the dividend's scale.
--
-- A line must always be readable: the checks on FJSOR keep the gross weight and the unit price within ±999 999
-- and the per cents within 0..100 (a negative price stays storable: the data check reports it). Then |S_NETTO| <= 999 999 and |S_FELVAR| < 10^12, and no
-- part of the formulas leaves the 64-bit range (the largest, the surcharge's fraction part, stays below 10^18 at
-- scale 8). The program's entry windows take the same limits.
--
-- This file is the schema of the program's version. When the program opens a database made by an earlier version,
-- it adds what the database lacks of this file, each change committed on its own and logged: tables, columns and
-- named constraints of existing tables, generators, indexes, views, procedures, functions, exceptions, triggers
-- and grants; a computed column whose expression or named type differs is altered, a trigger, procedure or
-- function whose text differs is replaced. So a later addition is written here only, in the form a new database
-- gets it. A computed column keeps the type it was made with, so an amount column names its type here: a
-- database made when the amounts were doubles gets the exact type even for a formula that stayed the same
-- (S_VETELAR). Comments stay outside the bodies of triggers and routines: the engine keeps a body's text, and the
-- program compares it.
--
-- F_NYMOD of a ticket is the day it was last changed after it had been printed (its header while F_PRN was "I",
-- or one of its lines while its header was printed); the journal's triggers set it, nothing else writes it.
--
-- The primary keys are created in the order ATVEVO, FJFEJ, FJSOR, OSTERMELO, SORSZAM, TERMEK, which names their
-- indexes RDB$PRIMARY1 to RDB$PRIMARY6.

CREATE TABLE ATVEVO (
  ID_ATVEVO INTEGER NOT NULL PRIMARY KEY,
  V_NEVE    VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_HELYSEG VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_UTCA    VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_IRSZAM  VARCHAR(8) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_ADOSZAM VARCHAR(11) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_BANKSZLA VARCHAR(26) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_ADOAZON VARCHAR(10) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_NYILATK VARCHAR(250) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_AKOD    VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_SZERIA  VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  V_VERZIO  VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN
);

CREATE TABLE FJFEJ (
  ID_FJFEJ    INTEGER NOT NULL PRIMARY KEY,
  F_BSZAM     VARCHAR(8) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  F_OSTERMKOD VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  F_KELT      DATE,
  F_FELVKELT  DATE,
  F_FIZKELT   DATE,
  F_UTAL      VARCHAR(1) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  F_PRN       VARCHAR(1) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  F_SZJA      BIGINT,
  F_JARULSZAZ DECIMAL(18,4),
  F_LEVONAS   DECIMAL(18,4),
  F_MEGJ      VARCHAR(200) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  F_NYILATK   VARCHAR(250) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  F_AKOD      VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  F_MUVKTG    DECIMAL(18,4),
  F_NYMOD     DATE
);

CREATE TABLE FJSOR (
  ID_FJSOR      INTEGER NOT NULL PRIMARY KEY,
  S_BSZAM       VARCHAR(8) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  S_TERMEKKOD   VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  S_MEGNEVEZES  VARCHAR(75) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  S_VTSZ        VARCHAR(10) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  S_BRUTTO      DECIMAL(18,4),
  S_LEVONSZAZ   DECIMAL(18,4),
  S_LEVONAS     COMPUTED BY (CAST(COALESCE(S_BRUTTO, 0) * COALESCE(S_LEVONSZAZ, 0) / 100 AS DECIMAL(18,4))),
  S_NETTO       COMPUTED BY (COALESCE(S_BRUTTO, 0) - S_LEVONAS),
  S_MEGY        VARCHAR(10) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  S_EAR         DECIMAL(18,4),
  S_FELVAR      DECIMAL(18,2) COMPUTED BY (
                  CAST(TRUNC(S_NETTO * TRUNC(COALESCE(S_EAR, 0)), 2) AS DECIMAL(18,2))
                + CAST(S_NETTO * TRUNC(COALESCE(S_EAR, 0)) - TRUNC(S_NETTO * TRUNC(COALESCE(S_EAR, 0)), 2)
                       + S_NETTO * (COALESCE(S_EAR, 0) - TRUNC(COALESCE(S_EAR, 0))) AS DECIMAL(18,2))),
  S_KOMPMERTEKE DECIMAL(18,4),
  S_KOMPFELAR   DECIMAL(18,2) COMPUTED BY (
                  CAST(TRUNC(S_FELVAR * TRUNC(COALESCE(S_KOMPMERTEKE, 0)) * 0.01, 2) AS DECIMAL(18,2))
                + CAST(S_FELVAR * TRUNC(COALESCE(S_KOMPMERTEKE, 0)) * 0.01
                       - TRUNC(S_FELVAR * TRUNC(COALESCE(S_KOMPMERTEKE, 0)) * 0.01, 2)
                       + S_FELVAR * (COALESCE(S_KOMPMERTEKE, 0) - TRUNC(COALESCE(S_KOMPMERTEKE, 0))) * 0.01
                       AS DECIMAL(18,2))),
  S_VETELAR     DECIMAL(18,2) COMPUTED BY (S_FELVAR + S_KOMPFELAR),
  S_AKOD        VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  S_SZJA        DECIMAL(18,4),
  S_LEVONT      DECIMAL(18,2) COMPUTED BY (
                  CAST(TRUNC(S_VETELAR * TRUNC(COALESCE(S_SZJA, 0)) * 0.01, 2) AS DECIMAL(18,2))
                + CAST(S_VETELAR * TRUNC(COALESCE(S_SZJA, 0)) * 0.01
                       - TRUNC(S_VETELAR * TRUNC(COALESCE(S_SZJA, 0)) * 0.01, 2)
                       + S_VETELAR * (COALESCE(S_SZJA, 0) - TRUNC(COALESCE(S_SZJA, 0))) * 0.01
                       AS DECIMAL(18,2))),
  S_KIFIZET     DECIMAL(18,2) COMPUTED BY (S_VETELAR - S_LEVONT),
  S_MENNYISEG   DECIMAL(18,4),
  S_MERLEG      DECIMAL(18,4),
  -- A line of a ticket not stored yet: the desk writing it (S_MUNKAHELY) and when it last wrote it
  -- (S_MUNKAIDO); such a line has no number (S_BSZAM is null) until its ticket is stored, so no other desk's
  -- ticket, list or sum can see it. A stored ticket's lines have neither.
  S_MUNKAHELY   VARCHAR(40) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  S_MUNKAIDO    TIMESTAMP,
  CONSTRAINT FJSOR_BRUTTO_RANGE CHECK (S_BRUTTO BETWEEN -999999 AND 999999),
  CONSTRAINT FJSOR_LEVONSZAZ_RANGE CHECK (S_LEVONSZAZ BETWEEN 0 AND 100),
  CONSTRAINT FJSOR_EAR_RANGE CHECK (S_EAR BETWEEN -999999 AND 999999),
  CONSTRAINT FJSOR_KOMPMERTEKE_RANGE CHECK (S_KOMPMERTEKE BETWEEN 0 AND 100),
  CONSTRAINT FJSOR_SZJA_RANGE CHECK (S_SZJA BETWEEN 0 AND 100)
);

CREATE TABLE OSTERMELO (
  ID_OSTERMELO INTEGER NOT NULL PRIMARY KEY,
  O_KOD        VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_NEV        VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_IRSZAM     VARCHAR(4) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_HELYSEGNEV VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_UTCA       VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_ADOAZON    VARCHAR(10) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_IGSZAM     VARCHAR(8) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_REGSZAM    VARCHAR(10) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_SZJA       BIGINT,
  O_SZULHELY   VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_SZIDO      DATE,
  O_ANYJA      VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_MUVKTG     DECIMAL(18,4),
  O_CSGAZD     VARCHAR(8) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_NEME       VARCHAR(1) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_SZULNEV    VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_TAJ        VARCHAR(9) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_ADOSZAM    VARCHAR(11) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_BANKSZLA   VARCHAR(26) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  O_ERVKELT    DATE,
  O_AKOD       VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN
);

CREATE TABLE SORSZAM (
  ID_SORSZAM INTEGER NOT NULL PRIMARY KEY,
  A_FJBSZAM  VARCHAR(8) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  A_SZERIA   VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  A_VERZIO   VARCHAR(45) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  A_AKOD     VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN
);

CREATE TABLE TERMEK (
  ID_TERMEK     INTEGER NOT NULL PRIMARY KEY,
  T_KOD         VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  T_MEGNEVEZES  VARCHAR(75) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  T_VTSZ        VARCHAR(10) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  T_EAR         DECIMAL(18,4),
  T_MEGY        VARCHAR(10) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  T_KOMPMERTEKE BIGINT,
  T_AKOD        VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN
);

-- Selections the program makes: tickets per purchaser, per number, per producer and per period; lines per
-- ticket, per purchaser and per animal; producers and animals by code and name; the sequence row per purchaser.
-- A purchaser uses each ticket number once; the program checks the same on older databases without this index.
CREATE UNIQUE INDEX FJFEJ_AKOD_BSZAM ON FJFEJ (F_AKOD, F_BSZAM);
CREATE INDEX FJFEJ_BSZAM ON FJFEJ (F_BSZAM);
CREATE INDEX FJFEJ_OSTERMKOD ON FJFEJ (F_OSTERMKOD);
CREATE INDEX FJFEJ_FIZKELT ON FJFEJ (F_FIZKELT);
CREATE INDEX FJFEJ_FELVKELT ON FJFEJ (F_FELVKELT);
CREATE INDEX FJFEJ_AKOD_FIZKELT ON FJFEJ (F_AKOD, F_FIZKELT);
CREATE INDEX FJFEJ_AKOD_FELVKELT ON FJFEJ (F_AKOD, F_FELVKELT);
-- A ticket's lines in ID order: the key after the number lets Firebird read them in order straight from the
-- index instead of walking the whole table in key order.
CREATE INDEX FJSOR_BSZAM_ID ON FJSOR (S_BSZAM, ID_FJSOR);
CREATE INDEX FJSOR_AKOD ON FJSOR (S_AKOD);
-- The unsaved lines of one desk.
CREATE INDEX FJSOR_MUNKAHELY ON FJSOR (S_MUNKAHELY);
CREATE INDEX FJSOR_TERMEKKOD ON FJSOR (S_TERMEKKOD);
CREATE INDEX OSTERMELO_KOD ON OSTERMELO (O_KOD);
CREATE INDEX OSTERMELO_NEV ON OSTERMELO (O_NEV);
CREATE INDEX TERMEK_KOD ON TERMEK (T_KOD);
CREATE INDEX TERMEK_MEGNEVEZES ON TERMEK (T_MEGNEVEZES);
CREATE INDEX SORSZAM_AKOD ON SORSZAM (A_AKOD);
CREATE INDEX ATVEVO_AKOD ON ATVEVO (V_AKOD);
-- The ticket browser's orders within a purchaser, each ending in the key so that its rows come in one order
-- every time, and each with its reversed twin: the last rows of a list come from the reversed order through its
-- index, and the rows above a row from its key, instead of the server passing every row before them.
CREATE DESCENDING INDEX FJFEJ_AKOD_BSZAM_DESC ON FJFEJ (F_AKOD, F_BSZAM);
CREATE INDEX FJFEJ_AKOD_OSTERMKOD_ID ON FJFEJ (F_AKOD, F_OSTERMKOD, ID_FJFEJ);
CREATE DESCENDING INDEX FJFEJ_AKOD_OSTERMKOD_ID_DESC ON FJFEJ (F_AKOD, F_OSTERMKOD, ID_FJFEJ);
CREATE INDEX FJFEJ_AKOD_KELT_ID ON FJFEJ (F_AKOD, F_KELT, ID_FJFEJ);
CREATE DESCENDING INDEX FJFEJ_AKOD_KELT_ID_DESC ON FJFEJ (F_AKOD, F_KELT, ID_FJFEJ);
CREATE INDEX FJFEJ_AKOD_PRN_ID ON FJFEJ (F_AKOD, F_PRN, ID_FJFEJ);
CREATE DESCENDING INDEX FJFEJ_AKOD_PRN_ID_DESC ON FJFEJ (F_AKOD, F_PRN, ID_FJFEJ);
-- The raw table editor's big tables in key order, read from their end the same way.
CREATE DESCENDING INDEX FJFEJ_ID_DESC ON FJFEJ (ID_FJFEJ);
CREATE DESCENDING INDEX FJSOR_ID_DESC ON FJSOR (ID_FJSOR);
CREATE DESCENDING INDEX OSTERMELO_ID_DESC ON OSTERMELO (ID_OSTERMELO);

CREATE GENERATOR GEN_ATVEVO_ID;
CREATE GENERATOR GEN_FJFEJ_ID;
CREATE GENERATOR GEN_FJSOR_ID;
CREATE GENERATOR GEN_OSTERMELO_ID;
CREATE GENERATOR GEN_SORSZAM_ID;
CREATE GENERATOR GEN_TERMEK_ID;

SET TERM ^ ;

CREATE TRIGGER ATVEVO_BI FOR ATVEVO ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.ID_ATVEVO IS NULL) THEN NEW.ID_ATVEVO = GEN_ID(GEN_ATVEVO_ID, 1);
END^

CREATE TRIGGER FJFEJ_BI FOR FJFEJ ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.ID_FJFEJ IS NULL) THEN NEW.ID_FJFEJ = GEN_ID(GEN_FJFEJ_ID, 1);
END^

CREATE TRIGGER FJSOR_BI FOR FJSOR ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.ID_FJSOR IS NULL) THEN NEW.ID_FJSOR = GEN_ID(GEN_FJSOR_ID, 1);
END^

CREATE TRIGGER OSTERMELO_BI FOR OSTERMELO ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.ID_OSTERMELO IS NULL) THEN NEW.ID_OSTERMELO = GEN_ID(GEN_OSTERMELO_ID, 1);
END^

CREATE TRIGGER SORSZAM_BI FOR SORSZAM ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.ID_SORSZAM IS NULL) THEN NEW.ID_SORSZAM = GEN_ID(GEN_SORSZAM_ID, 1);
END^

CREATE TRIGGER TERMEK_BI FOR TERMEK ACTIVE BEFORE INSERT POSITION 0 AS
BEGIN
  IF (NEW.ID_TERMEK IS NULL) THEN NEW.ID_TERMEK = GEN_ID(GEN_TERMEK_ID, 1);
END^

SET TERM ; ^

-- The journal: every insert, change and delete of ATVEVO, FJFEJ, FJSOR, OSTERMELO, SORSZAM and TERMEK, whoever
-- makes it (the program's windows, the raw table editor, the import, another desk, isql-fb), written by the
-- triggers <table>_NAPLO in the same transaction as the change: a change rolled back leaves no entry, a stored
-- change always has one. One row of NAPLO for each row written:
--   ID_NAPLO     from GEN_NAPLO_ID; N_IDO the server's time; N_KAPCSOLAT the attachment that wrote it
--                (KAPCSOLAT). NAPLO_BI sets these three, whatever an INSERT gives.
--   N_TABLA      the table, by its columns' prefix: V ATVEVO, F FJFEJ, S FJSOR, O OSTERMELO, A SORSZAM, T TERMEK
--   N_SOR        the row's ID
--   N_MUVELET    U insert ("Új"), M change ("Módosítás"), T delete ("Törlés"), N print ("Nyomtatás": the
--                ticket's F_PRN became "I")
--   N_AKOD       the row's purchaser code (ATVEVO, FJFEJ, FJSOR, SORSZAM)
--   N_KULCS      what the row is looked up by, as it is after the change: the ticket number (FJFEJ, FJSOR,
--                SORSZAM), the producer code (OSTERMELO), the animal code (TERMEK), the purchaser code (ATVEVO)
--   N_VALTOZAS   the changed columns, one line each: "<column> <before> <after>", a value as "<length>:<text>"
--                in the engine's text form (2010-08-31, 100.0000) or "-" for null. A change lists the columns
--                that changed, a delete the row's values. An insert lists none: its values are the row's until
--                its next change, whose before values they are. A text that fits stands in N_VALTOZAS (most do:
--                there it costs a fraction of a blob), a longer one in N_VALTOZAS_HOSSZU; readers take
--                COALESCE(N_VALTOZAS, N_VALTOZAS_HOSSZU).
-- A change that changes no journalled column writes nothing. NAPLO and KAPCSOLAT cannot be changed or deleted.
--
-- A new column of one of the six tables is journalled by one more line in its table's trigger:
--     || NAPLO_ERTEK('S_MENNYISEG', OLD.S_MENNYISEG, NEW.S_MENNYISEG)
-- (tests/journal/test_journal_triggers.cpp fails for a stored column that its trigger leaves out). F_NYMOD is not
-- journalled: the triggers derive it. Nor are S_MUNKAHELY and S_MUNKAIDO, the working marks of a line whose ticket
-- is not stored yet: they change with every write of such a line, and who wrote an entry and when stands in the
-- entry itself (N_KAPCSOLAT, N_IDO). Such a line's entries have no N_KULCS; the store that gives it its
-- ticket's number is the line's insert ("U") under that number.
--
-- The entries are small on purpose: ten years of tickets bring as many journal rows as ticket rows and more, and
-- the journal is to stay smaller than the data (bench/journal.cpp). Two indexes serve the journal window: by
-- time, newest first, and by key (a ticket's, a producer's, an animal's entries).
CREATE TABLE KAPCSOLAT (
  ID_KAPCSOLAT    INTEGER NOT NULL PRIMARY KEY,
  K_IDO           TIMESTAMP,
  K_FELHASZNALO   VARCHAR(63) CHARACTER SET NONE,
  K_OSFELHASZNALO VARCHAR(255) CHARACTER SET NONE,
  K_GEP           VARCHAR(255) CHARACTER SET NONE,
  K_CIM           VARCHAR(255) CHARACTER SET NONE,
  K_FOLYAMAT      INTEGER,
  K_PROGRAM       VARCHAR(255) CHARACTER SET NONE,
  K_KAPCSOLAT     BIGINT
);

CREATE TABLE NAPLO (
  ID_NAPLO          INTEGER NOT NULL,
  N_IDO             TIMESTAMP NOT NULL,
  N_TABLA           VARCHAR(1) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  N_SOR             INTEGER,
  N_MUVELET         VARCHAR(1) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  N_AKOD            VARCHAR(20) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  N_KULCS           VARCHAR(20) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  N_KAPCSOLAT       INTEGER,
  N_VALTOZAS        VARCHAR(120) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  N_VALTOZAS_HOSSZU BLOB SUB_TYPE TEXT CHARACTER SET WIN1250
);

CREATE DESCENDING INDEX NAPLO_IDO ON NAPLO (N_IDO);
CREATE INDEX NAPLO_KULCS ON NAPLO (N_KULCS);

CREATE GENERATOR GEN_NAPLO_ID;
CREATE GENERATOR GEN_KAPCSOLAT_ID;

CREATE EXCEPTION NAPLO_VEDETT 'A napló bejegyzései nem módosíthatók és nem törölhetők.';

SET TERM ^ ;

-- One line of N_VALTOZAS for a column's value before and after the change, empty when it did not change. The
-- values compare byte for byte (trailing blanks and letter case count).
CREATE FUNCTION NAPLO_ERTEK (OSZLOP VARCHAR(31) CHARACTER SET WIN1250,
                             ELOTTE VARCHAR(4000) CHARACTER SET WIN1250 COLLATE WIN1250,
                             UTANA VARCHAR(4000) CHARACTER SET WIN1250 COLLATE WIN1250)
  RETURNS VARCHAR(8100) CHARACTER SET WIN1250 AS
BEGIN
  IF (ELOTTE IS NOT DISTINCT FROM UTANA AND CHAR_LENGTH(ELOTTE) IS NOT DISTINCT FROM CHAR_LENGTH(UTANA)) THEN
    RETURN '';
  RETURN OSZLOP || ' ' || COALESCE(CHAR_LENGTH(ELOTTE) || ':' || ELOTTE, '-') || ' ' ||
         COALESCE(CHAR_LENGTH(UTANA) || ':' || UTANA, '-') || ASCII_CHAR(10);
END^

-- The attachment comes from the engine (the program gives its host, process and user when it attaches, so the
-- embedded engine knows them too); its row is written with the attachment's first entry of a transaction that
-- does not see it yet, so an entry never names a row that a rollback took away.
CREATE TRIGGER NAPLO_BI FOR NAPLO ACTIVE BEFORE INSERT POSITION 0 AS
DECLARE k INTEGER;
BEGIN
  NEW.ID_NAPLO = GEN_ID(GEN_NAPLO_ID, 1);
  NEW.N_IDO = CAST('NOW' AS TIMESTAMP);
  k = RDB$GET_CONTEXT('USER_SESSION', 'NAPLO_KAPCSOLAT');
  IF (k IS NULL OR NOT EXISTS (SELECT 1 FROM KAPCSOLAT WHERE ID_KAPCSOLAT = :k)) THEN
  BEGIN
    k = GEN_ID(GEN_KAPCSOLAT_ID, 1);
    INSERT INTO KAPCSOLAT (ID_KAPCSOLAT, K_IDO, K_FELHASZNALO, K_OSFELHASZNALO, K_GEP, K_CIM, K_FOLYAMAT,
                           K_PROGRAM, K_KAPCSOLAT)
      SELECT :k, NEW.N_IDO, CURRENT_USER, MON$REMOTE_OS_USER, RDB$GET_CONTEXT('SYSTEM', 'CLIENT_HOST'),
             RDB$GET_CONTEXT('SYSTEM', 'CLIENT_ADDRESS'), RDB$GET_CONTEXT('SYSTEM', 'CLIENT_PID'),
             RDB$GET_CONTEXT('SYSTEM', 'CLIENT_PROCESS'), CURRENT_CONNECTION
        FROM RDB$DATABASE LEFT JOIN MON$ATTACHMENTS ON MON$ATTACHMENT_ID = CURRENT_CONNECTION;
    RDB$SET_CONTEXT('USER_SESSION', 'NAPLO_KAPCSOLAT', k);
  END
  NEW.N_KAPCSOLAT = k;
END^

CREATE TRIGGER NAPLO_VEDELEM FOR NAPLO ACTIVE BEFORE UPDATE OR DELETE POSITION 0 AS
BEGIN
  EXCEPTION NAPLO_VEDETT;
END^

CREATE TRIGGER KAPCSOLAT_VEDELEM FOR KAPCSOLAT ACTIVE BEFORE UPDATE OR DELETE POSITION 0 AS
BEGIN
  EXCEPTION NAPLO_VEDETT;
END^

CREATE TRIGGER ATVEVO_NAPLO FOR ATVEVO ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 100 AS
DECLARE v VARCHAR(16000) CHARACTER SET WIN1250 = '';
BEGIN
  IF (NOT INSERTING) THEN
    v = NAPLO_ERTEK('V_NEVE', OLD.V_NEVE, NEW.V_NEVE)
     || NAPLO_ERTEK('V_HELYSEG', OLD.V_HELYSEG, NEW.V_HELYSEG)
     || NAPLO_ERTEK('V_UTCA', OLD.V_UTCA, NEW.V_UTCA)
     || NAPLO_ERTEK('V_IRSZAM', OLD.V_IRSZAM, NEW.V_IRSZAM)
     || NAPLO_ERTEK('V_ADOSZAM', OLD.V_ADOSZAM, NEW.V_ADOSZAM)
     || NAPLO_ERTEK('V_BANKSZLA', OLD.V_BANKSZLA, NEW.V_BANKSZLA)
     || NAPLO_ERTEK('V_ADOAZON', OLD.V_ADOAZON, NEW.V_ADOAZON)
     || NAPLO_ERTEK('V_NYILATK', OLD.V_NYILATK, NEW.V_NYILATK)
     || NAPLO_ERTEK('V_AKOD', OLD.V_AKOD, NEW.V_AKOD)
     || NAPLO_ERTEK('V_SZERIA', OLD.V_SZERIA, NEW.V_SZERIA)
     || NAPLO_ERTEK('V_VERZIO', OLD.V_VERZIO, NEW.V_VERZIO);
  IF (INSERTING OR v <> '') THEN
    INSERT INTO NAPLO (N_TABLA, N_SOR, N_MUVELET, N_AKOD, N_KULCS, N_VALTOZAS, N_VALTOZAS_HOSSZU)
      VALUES ('V', COALESCE(NEW.ID_ATVEVO, OLD.ID_ATVEVO), IIF(INSERTING, 'U', IIF(DELETING, 'T', 'M')),
              COALESCE(NEW.V_AKOD, OLD.V_AKOD), COALESCE(NEW.V_AKOD, OLD.V_AKOD),
              IIF(CHAR_LENGTH(:v) <= 120, NULLIF(:v, ''), NULL), IIF(CHAR_LENGTH(:v) > 120, :v, NULL));
END^

-- A print is the change of F_PRN to "I". A change of a printed ticket dates its F_NYMOD.
CREATE TRIGGER FJFEJ_NAPLO FOR FJFEJ ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 100 AS
DECLARE v VARCHAR(16000) CHARACTER SET WIN1250 = '';
BEGIN
  IF (NOT INSERTING) THEN
    v = NAPLO_ERTEK('F_BSZAM', OLD.F_BSZAM, NEW.F_BSZAM)
     || NAPLO_ERTEK('F_OSTERMKOD', OLD.F_OSTERMKOD, NEW.F_OSTERMKOD)
     || NAPLO_ERTEK('F_KELT', OLD.F_KELT, NEW.F_KELT)
     || NAPLO_ERTEK('F_FELVKELT', OLD.F_FELVKELT, NEW.F_FELVKELT)
     || NAPLO_ERTEK('F_FIZKELT', OLD.F_FIZKELT, NEW.F_FIZKELT)
     || NAPLO_ERTEK('F_UTAL', OLD.F_UTAL, NEW.F_UTAL)
     || NAPLO_ERTEK('F_PRN', OLD.F_PRN, NEW.F_PRN)
     || NAPLO_ERTEK('F_SZJA', OLD.F_SZJA, NEW.F_SZJA)
     || NAPLO_ERTEK('F_JARULSZAZ', OLD.F_JARULSZAZ, NEW.F_JARULSZAZ)
     || NAPLO_ERTEK('F_LEVONAS', OLD.F_LEVONAS, NEW.F_LEVONAS)
     || NAPLO_ERTEK('F_MEGJ', OLD.F_MEGJ, NEW.F_MEGJ)
     || NAPLO_ERTEK('F_NYILATK', OLD.F_NYILATK, NEW.F_NYILATK)
     || NAPLO_ERTEK('F_AKOD', OLD.F_AKOD, NEW.F_AKOD)
     || NAPLO_ERTEK('F_MUVKTG', OLD.F_MUVKTG, NEW.F_MUVKTG);
  IF (INSERTING OR v <> '') THEN
  BEGIN
    INSERT INTO NAPLO (N_TABLA, N_SOR, N_MUVELET, N_AKOD, N_KULCS, N_VALTOZAS, N_VALTOZAS_HOSSZU)
      VALUES ('F', COALESCE(NEW.ID_FJFEJ, OLD.ID_FJFEJ),
              IIF(INSERTING, 'U', IIF(DELETING, 'T',
                  IIF(NEW.F_PRN = 'I' AND OLD.F_PRN IS DISTINCT FROM 'I', 'N', 'M'))),
              COALESCE(NEW.F_AKOD, OLD.F_AKOD), COALESCE(NEW.F_BSZAM, OLD.F_BSZAM),
              IIF(CHAR_LENGTH(:v) <= 120, NULLIF(:v, ''), NULL), IIF(CHAR_LENGTH(:v) > 120, :v, NULL));
    IF (UPDATING AND OLD.F_PRN = 'I') THEN
      UPDATE FJFEJ SET F_NYMOD = CURRENT_DATE
        WHERE ID_FJFEJ = NEW.ID_FJFEJ AND F_NYMOD IS DISTINCT FROM CURRENT_DATE;
  END
END^

CREATE TRIGGER FJSOR_NAPLO FOR FJSOR ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 100 AS
DECLARE v VARCHAR(16000) CHARACTER SET WIN1250 = '';
DECLARE storing BOOLEAN = FALSE;
BEGIN
  -- A desk's unsaved line (no number, its desk's mark) is the desk's working copy, not yet part of a ticket:
  -- it enters the journal when its ticket's store numbers it, as an insert under the number.
  IF (COALESCE(NEW.S_BSZAM, OLD.S_BSZAM) IS NULL AND COALESCE(NEW.S_MUNKAHELY, OLD.S_MUNKAHELY) IS NOT NULL) THEN
    EXIT;
  IF (UPDATING AND OLD.S_BSZAM IS NULL AND NEW.S_BSZAM IS NOT NULL AND OLD.S_MUNKAHELY IS NOT NULL) THEN
    storing = TRUE;
  IF (DELETING OR UPDATING AND NOT storing) THEN
    v = NAPLO_ERTEK('S_BSZAM', OLD.S_BSZAM, NEW.S_BSZAM)
     || NAPLO_ERTEK('S_TERMEKKOD', OLD.S_TERMEKKOD, NEW.S_TERMEKKOD)
     || NAPLO_ERTEK('S_MEGNEVEZES', OLD.S_MEGNEVEZES, NEW.S_MEGNEVEZES)
     || NAPLO_ERTEK('S_VTSZ', OLD.S_VTSZ, NEW.S_VTSZ)
     || NAPLO_ERTEK('S_BRUTTO', OLD.S_BRUTTO, NEW.S_BRUTTO)
     || NAPLO_ERTEK('S_LEVONSZAZ', OLD.S_LEVONSZAZ, NEW.S_LEVONSZAZ)
     || NAPLO_ERTEK('S_MEGY', OLD.S_MEGY, NEW.S_MEGY)
     || NAPLO_ERTEK('S_EAR', OLD.S_EAR, NEW.S_EAR)
     || NAPLO_ERTEK('S_KOMPMERTEKE', OLD.S_KOMPMERTEKE, NEW.S_KOMPMERTEKE)
     || NAPLO_ERTEK('S_AKOD', OLD.S_AKOD, NEW.S_AKOD)
     || NAPLO_ERTEK('S_SZJA', OLD.S_SZJA, NEW.S_SZJA)
     || NAPLO_ERTEK('S_MENNYISEG', OLD.S_MENNYISEG, NEW.S_MENNYISEG)
     || NAPLO_ERTEK('S_MERLEG', OLD.S_MERLEG, NEW.S_MERLEG);
  IF (INSERTING OR storing OR v <> '') THEN
  BEGIN
    INSERT INTO NAPLO (N_TABLA, N_SOR, N_MUVELET, N_AKOD, N_KULCS, N_VALTOZAS, N_VALTOZAS_HOSSZU)
      VALUES ('S', COALESCE(NEW.ID_FJSOR, OLD.ID_FJSOR), IIF(INSERTING OR :storing, 'U', IIF(DELETING, 'T', 'M')),
              COALESCE(NEW.S_AKOD, OLD.S_AKOD), COALESCE(NEW.S_BSZAM, OLD.S_BSZAM),
              IIF(CHAR_LENGTH(:v) <= 120, NULLIF(:v, ''), NULL), IIF(CHAR_LENGTH(:v) > 120, :v, NULL));
    -- A line without a number belongs to no ticket yet, so to no printed one.
    IF (COALESCE(NEW.S_BSZAM, OLD.S_BSZAM) IS NOT NULL) THEN
      UPDATE FJFEJ SET F_NYMOD = CURRENT_DATE
        WHERE F_AKOD = COALESCE(NEW.S_AKOD, OLD.S_AKOD) AND F_BSZAM = COALESCE(NEW.S_BSZAM, OLD.S_BSZAM)
          AND F_PRN = 'I' AND F_NYMOD IS DISTINCT FROM CURRENT_DATE;
  END
END^

CREATE TRIGGER OSTERMELO_NAPLO FOR OSTERMELO ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 100 AS
DECLARE v VARCHAR(16000) CHARACTER SET WIN1250 = '';
BEGIN
  IF (NOT INSERTING) THEN
    v = NAPLO_ERTEK('O_KOD', OLD.O_KOD, NEW.O_KOD)
     || NAPLO_ERTEK('O_NEV', OLD.O_NEV, NEW.O_NEV)
     || NAPLO_ERTEK('O_IRSZAM', OLD.O_IRSZAM, NEW.O_IRSZAM)
     || NAPLO_ERTEK('O_HELYSEGNEV', OLD.O_HELYSEGNEV, NEW.O_HELYSEGNEV)
     || NAPLO_ERTEK('O_UTCA', OLD.O_UTCA, NEW.O_UTCA)
     || NAPLO_ERTEK('O_ADOAZON', OLD.O_ADOAZON, NEW.O_ADOAZON)
     || NAPLO_ERTEK('O_IGSZAM', OLD.O_IGSZAM, NEW.O_IGSZAM)
     || NAPLO_ERTEK('O_REGSZAM', OLD.O_REGSZAM, NEW.O_REGSZAM)
     || NAPLO_ERTEK('O_SZJA', OLD.O_SZJA, NEW.O_SZJA)
     || NAPLO_ERTEK('O_SZULHELY', OLD.O_SZULHELY, NEW.O_SZULHELY)
     || NAPLO_ERTEK('O_SZIDO', OLD.O_SZIDO, NEW.O_SZIDO)
     || NAPLO_ERTEK('O_ANYJA', OLD.O_ANYJA, NEW.O_ANYJA)
     || NAPLO_ERTEK('O_MUVKTG', OLD.O_MUVKTG, NEW.O_MUVKTG)
     || NAPLO_ERTEK('O_CSGAZD', OLD.O_CSGAZD, NEW.O_CSGAZD)
     || NAPLO_ERTEK('O_NEME', OLD.O_NEME, NEW.O_NEME)
     || NAPLO_ERTEK('O_SZULNEV', OLD.O_SZULNEV, NEW.O_SZULNEV)
     || NAPLO_ERTEK('O_TAJ', OLD.O_TAJ, NEW.O_TAJ)
     || NAPLO_ERTEK('O_ADOSZAM', OLD.O_ADOSZAM, NEW.O_ADOSZAM)
     || NAPLO_ERTEK('O_BANKSZLA', OLD.O_BANKSZLA, NEW.O_BANKSZLA)
     || NAPLO_ERTEK('O_ERVKELT', OLD.O_ERVKELT, NEW.O_ERVKELT)
     || NAPLO_ERTEK('O_AKOD', OLD.O_AKOD, NEW.O_AKOD);
  IF (INSERTING OR v <> '') THEN
    INSERT INTO NAPLO (N_TABLA, N_SOR, N_MUVELET, N_AKOD, N_KULCS, N_VALTOZAS, N_VALTOZAS_HOSSZU)
      VALUES ('O', COALESCE(NEW.ID_OSTERMELO, OLD.ID_OSTERMELO), IIF(INSERTING, 'U', IIF(DELETING, 'T', 'M')),
              NULL, COALESCE(NEW.O_KOD, OLD.O_KOD),
              IIF(CHAR_LENGTH(:v) <= 120, NULLIF(:v, ''), NULL), IIF(CHAR_LENGTH(:v) > 120, :v, NULL));
END^

CREATE TRIGGER SORSZAM_NAPLO FOR SORSZAM ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 100 AS
DECLARE v VARCHAR(16000) CHARACTER SET WIN1250 = '';
BEGIN
  IF (NOT INSERTING) THEN
    v = NAPLO_ERTEK('A_FJBSZAM', OLD.A_FJBSZAM, NEW.A_FJBSZAM)
     || NAPLO_ERTEK('A_SZERIA', OLD.A_SZERIA, NEW.A_SZERIA)
     || NAPLO_ERTEK('A_VERZIO', OLD.A_VERZIO, NEW.A_VERZIO)
     || NAPLO_ERTEK('A_AKOD', OLD.A_AKOD, NEW.A_AKOD);
  IF (INSERTING OR v <> '') THEN
    INSERT INTO NAPLO (N_TABLA, N_SOR, N_MUVELET, N_AKOD, N_KULCS, N_VALTOZAS, N_VALTOZAS_HOSSZU)
      VALUES ('A', COALESCE(NEW.ID_SORSZAM, OLD.ID_SORSZAM), IIF(INSERTING, 'U', IIF(DELETING, 'T', 'M')),
              COALESCE(NEW.A_AKOD, OLD.A_AKOD), COALESCE(NEW.A_FJBSZAM, OLD.A_FJBSZAM),
              IIF(CHAR_LENGTH(:v) <= 120, NULLIF(:v, ''), NULL), IIF(CHAR_LENGTH(:v) > 120, :v, NULL));
END^

CREATE TRIGGER TERMEK_NAPLO FOR TERMEK ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 100 AS
DECLARE v VARCHAR(16000) CHARACTER SET WIN1250 = '';
BEGIN
  IF (NOT INSERTING) THEN
    v = NAPLO_ERTEK('T_KOD', OLD.T_KOD, NEW.T_KOD)
     || NAPLO_ERTEK('T_MEGNEVEZES', OLD.T_MEGNEVEZES, NEW.T_MEGNEVEZES)
     || NAPLO_ERTEK('T_VTSZ', OLD.T_VTSZ, NEW.T_VTSZ)
     || NAPLO_ERTEK('T_EAR', OLD.T_EAR, NEW.T_EAR)
     || NAPLO_ERTEK('T_MEGY', OLD.T_MEGY, NEW.T_MEGY)
     || NAPLO_ERTEK('T_KOMPMERTEKE', OLD.T_KOMPMERTEKE, NEW.T_KOMPMERTEKE)
     || NAPLO_ERTEK('T_AKOD', OLD.T_AKOD, NEW.T_AKOD);
  IF (INSERTING OR v <> '') THEN
    INSERT INTO NAPLO (N_TABLA, N_SOR, N_MUVELET, N_AKOD, N_KULCS, N_VALTOZAS, N_VALTOZAS_HOSSZU)
      VALUES ('T', COALESCE(NEW.ID_TERMEK, OLD.ID_TERMEK), IIF(INSERTING, 'U', IIF(DELETING, 'T', 'M')),
              NULL, COALESCE(NEW.T_KOD, OLD.T_KOD),
              IIF(CHAR_LENGTH(:v) <= 120, NULLIF(:v, ''), NULL), IIF(CHAR_LENGTH(:v) > 120, :v, NULL));
END^

SET TERM ; ^

-- What the triggers do they may do whoever writes: a desk's own user needs no right on the journal to be
-- journalled (it needs SELECT on NAPLO and KAPCSOLAT to read it).
GRANT INSERT ON NAPLO TO TRIGGER ATVEVO_NAPLO;
GRANT INSERT ON NAPLO TO TRIGGER FJFEJ_NAPLO;
GRANT INSERT ON NAPLO TO TRIGGER FJSOR_NAPLO;
GRANT INSERT ON NAPLO TO TRIGGER OSTERMELO_NAPLO;
GRANT INSERT ON NAPLO TO TRIGGER SORSZAM_NAPLO;
GRANT INSERT ON NAPLO TO TRIGGER TERMEK_NAPLO;
GRANT EXECUTE ON FUNCTION NAPLO_ERTEK TO TRIGGER ATVEVO_NAPLO;
GRANT EXECUTE ON FUNCTION NAPLO_ERTEK TO TRIGGER FJFEJ_NAPLO;
GRANT EXECUTE ON FUNCTION NAPLO_ERTEK TO TRIGGER FJSOR_NAPLO;
GRANT EXECUTE ON FUNCTION NAPLO_ERTEK TO TRIGGER OSTERMELO_NAPLO;
GRANT EXECUTE ON FUNCTION NAPLO_ERTEK TO TRIGGER SORSZAM_NAPLO;
GRANT EXECUTE ON FUNCTION NAPLO_ERTEK TO TRIGGER TERMEK_NAPLO;
GRANT SELECT, UPDATE ON FJFEJ TO TRIGGER FJFEJ_NAPLO;
GRANT SELECT, UPDATE ON FJFEJ TO TRIGGER FJSOR_NAPLO;
GRANT SELECT, INSERT ON KAPCSOLAT TO TRIGGER NAPLO_BI;
GRANT USAGE ON GENERATOR GEN_NAPLO_ID TO TRIGGER NAPLO_BI;
GRANT USAGE ON GENERATOR GEN_KAPCSOLAT_ID TO TRIGGER NAPLO_BI;
GRANT USAGE ON EXCEPTION NAPLO_VEDETT TO TRIGGER NAPLO_VEDELEM;
GRANT USAGE ON EXCEPTION NAPLO_VEDETT TO TRIGGER KAPCSOLAT_VEDELEM;

-- How many tickets each purchaser has of each producer code, kept by the database, so that the ticket list
-- is counted, and ordered by its producers' names, without reading every ticket. FJFEJ_DARABSZAM writes a row
-- of +1 or -1 for every ticket stored, deleted, or moved to another purchaser or producer code, in the
-- transaction that makes the change. The program sums the rows of a code into one from time to time.
--   D_ALLAPOT  NULL: a change not summed yet; 1: a sum; 2: the one row saying that the counts are whole
--              (written with a new database, or once the program has counted the tickets of an older one).
CREATE TABLE FJFEJ_DARAB (
  D_AKOD      VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  D_OSTERMKOD VARCHAR(5) CHARACTER SET WIN1250 COLLATE PXW_HUN,
  D_DARAB     INTEGER NOT NULL,
  D_ALLAPOT   SMALLINT
);
CREATE INDEX FJFEJ_DARAB_KOD ON FJFEJ_DARAB (D_AKOD, D_OSTERMKOD);
CREATE INDEX FJFEJ_DARAB_ALLAPOT ON FJFEJ_DARAB (D_ALLAPOT);
-- Two desks counting an older database's tickets at once: the second one's mark clashes with the first's.
CREATE UNIQUE INDEX FJFEJ_DARAB_TELJES ON FJFEJ_DARAB COMPUTED BY (IIF(D_ALLAPOT = 2, 0, NULL));

SET TERM ^ ;

CREATE TRIGGER FJFEJ_DARABSZAM FOR FJFEJ ACTIVE AFTER INSERT OR UPDATE OR DELETE POSITION 50 AS
BEGIN
  IF (UPDATING AND OLD.F_AKOD IS NOT DISTINCT FROM NEW.F_AKOD
      AND OLD.F_OSTERMKOD IS NOT DISTINCT FROM NEW.F_OSTERMKOD) THEN
    EXIT;
  IF (NOT INSERTING) THEN
    INSERT INTO FJFEJ_DARAB (D_AKOD, D_OSTERMKOD, D_DARAB) VALUES (OLD.F_AKOD, OLD.F_OSTERMKOD, -1);
  IF (NOT DELETING) THEN
    INSERT INTO FJFEJ_DARAB (D_AKOD, D_OSTERMKOD, D_DARAB) VALUES (NEW.F_AKOD, NEW.F_OSTERMKOD, 1);
END^

SET TERM ; ^

GRANT INSERT ON FJFEJ_DARAB TO TRIGGER FJFEJ_DARABSZAM;
