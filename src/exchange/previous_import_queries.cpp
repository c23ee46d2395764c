#include "exchange/previous_import_queries.h"

namespace vardelo::previous {

namespace {

// "VALUES ( :p1, :p2, ... )" for the given number of columns.
QString valuesClause(int columns) {
    QStringList markers;
    for (int i = 1; i <= columns; ++i)
        markers << QStringLiteral(":p%1").arg(i);
    return QStringLiteral("VALUES ( ") + markers.join(QStringLiteral(", ")) + QStringLiteral(" )");
}

} // namespace

QStringList producerInsert() {
    return {QStringLiteral("INSERT INTO ostermelo ( o_kod, o_Nev,o_Irszam, o_Helysegnev, o_Utca, o_Adoazon, "
                           "o_Igszam, o_Regszam, o_Szja, o_Szulhely, o_Szido, o_Anyja, o_Muvktg, o_Csgazd, "
                           "o_Neme, o_Szulnev, o_TAJ, o_Adoszam, o_Bankszla, o_aKod   )"),
            valuesClause(20)};
}

QStringList animalInsert() {
    return {QStringLiteral(
                "INSERT INTO termek ( t_kod, t_Megnevezes, t_vtsz, t_ear, t_megy, t_Kompmerteke, t_akod   )"),
            valuesClause(7)};
}

QStringList purchaserDelete() {
    return {QStringLiteral("DELETE FROM atvevo")};
}

QStringList purchaserInsert() {
    return {QStringLiteral("INSERT INTO atvevo ( v_akod, v_neve, v_helyseg, v_utca, v_irszam, v_adoszam )"),
            valuesClause(6)};
}

} // namespace vardelo::previous
