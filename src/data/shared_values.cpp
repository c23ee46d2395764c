#include "data/shared_values.h"

void resetSharedValues() {
    AktAkod.clear();
    VerzioBetu.clear();
    AktOkod.clear();
    AllatKulcs.clear();
    AktBszam.clear();
    AktSorId.clear();
    JegyMod.clear();
    TetelMod.clear();
    NyomtMod.clear();
    CsaladiNev = QStringLiteral(" ");
    UtoNev = QStringLiteral(" ");
    TermekOsszesen.clear();
    TermeloOsszesen.clear();
    AktMegnevezes.clear();
    AktListaOkod.clear();
}
