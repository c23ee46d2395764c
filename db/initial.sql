-- The first purchaser of a new installation and its ticket-number row (ID_SORSZAM is the purchaser code read as
-- a number). The clerk fills in the purchaser's own data and the first ticket number in the program.
INSERT INTO ATVEVO (V_NEVE, V_HELYSEG, V_UTCA, V_IRSZAM, V_ADOSZAM, V_BANKSZLA, V_ADOAZON, V_NYILATK, V_AKOD, V_VERZIO)
  VALUES ('Első Felvásárló Kft.', 'Kecskemét', 'Szolnoki út 12.', '6000', '12345676203', '117320091234567800000000', '',
          'Kijelentem, hogy a felvásárolt állatok saját tenyésztésből származnak, és azokat az előírások szerint tartottam.',
          '1', 'A');
INSERT INTO SORSZAM (ID_SORSZAM, A_FJBSZAM, A_AKOD) VALUES (1, '10000000', '1');
-- A new database's ticket counts are whole from its first ticket on (FJFEJ_DARAB).
INSERT INTO FJFEJ_DARAB (D_AKOD, D_OSTERMKOD, D_DARAB, D_ALLAPOT) VALUES (NULL, NULL, 0, 2);
