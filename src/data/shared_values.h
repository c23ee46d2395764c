#pragma once

#include <QString>
#include <QStringList>

// Values that pass between the windows while the program runs. Each is set by the window named beside it and
// read by the others.
inline QString AktAkod;    // current purchaser code (purchaser selection)
inline QString VerzioBetu; // first letter of the purchaser's V_VERZIO (purchaser selection)
inline QString AktOkod;    // current producer code (producer register, ticket entry)
inline QString AllatKulcs; // text the animal list positions on (line entry, animal entry)
inline QString AktBszam;   // current ticket number (ticket entry)
inline QString AktSorId;   // ID_FJSOR of the line last saved (line entry)
inline QString JegyMod;    // ticket entry mode (ticket browser)
inline QString TetelMod;   // line entry mode (ticket entry)
inline QString NyomtMod;   // print mode (ticket browser)
inline QString CsaladiNev = QStringLiteral(" "); // first part of a name split by ujnev
inline QString UtoNev = QStringLiteral(" ");     // second part of a name split by ujnev
inline QString TermekOsszesen;  // period total of the last per-animal collection (per-animal list)
inline QString TermeloOsszesen; // period total of the last per-producer collection (per-producer list)
inline QString AktMegnevezes;   // animal whose lines the per-animal print holds in ZQ21 (per-animal list)
inline QString AktListaOkod; // producer whose lines the per-producer print holds in ZQ21 (per-producer list)

// Back to the values of a fresh start; tests call it between cases.
void resetSharedValues();
