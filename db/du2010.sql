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
-- named constraints of existing tables, generators, indexes, views, procedures, exceptions and triggers; a computed
-- column whose expression or named type differs is altered, a trigger whose text differs is replaced. So a later
-- addition is written here only, in the form a new database gets it. A computed column keeps the type it was made
-- with, so an amount column names its type here: a database made when the amounts were doubles gets the exact
-- type even for a formula that stayed the same (S_VETELAR).
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
  F_MUVKTG    DECIMAL(18,4)
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
