#include "masterdata/register_queries.h"

#include "data/data_module.h"
#include "data/immediate_write.h"
#include "masterdata/register_rules.h"

namespace vardelo {

namespace {

// Exact code first, so that code "1" does not land on code "12" that sorts before it by name; then the
// prefix match.
bool locateCode(TDataSet* list, const QString& field, const QString& code) {
    return (!code.isEmpty() && list->Locate(field, code, loCaseInsensitive)) ||
           list->Locate(field, code, loCaseInsensitive | loPartialKey);
}

struct ListOrder {
    const char* field;
    const char* orderBy;
    const char* label;
};

const ListOrder producerOrders[] = {
    {"O_KOD", "o_kod", "Őstermelő lista, \"Kód\" szerint"},
    {"O_NEV", "o_Nev", "Őstermelő lista, \"Név\" szerint"},
    {"O_HELYSEGNEV", "o_Helysegnev, o_Utca", "Őstermelő lista, \"Helységnév és utca\" szerint"},
    {"O_ADOAZON", "o_Adoazon", "Őstermelő lista, \"Adóazonositó\" szerint"},
    {"O_ADOSZAM", "o_Adoszam", "Őstermelő lista, \"Adószám\" szerint"},
    {"O_TAJ", "o_TAJ", "Őstermelő lista, \"TAJ\" szerint"},
    {"O_IGSZAM", "o_Igszam", "Őstermelő lista, \"Őstermelői ig.szám\" szerint"},
};

const ListOrder animalOrders[] = {
    {"T_KOD", "t_kod", "Termék lista, \"Kód\" szerint"},
    {"T_MEGNEVEZES", "t_megnevezes", "Termék lista, \"Megnevezés\" szerint"},
    {"ID_TERMEK", "ID_Termek", "Termék lista a beviteli sorrend szerint"},
};

template <size_t N>
std::optional<QString> sortList(TZQuery* list, const QString& table, const ListOrder (&orders)[N],
                                const QString& fieldName) {
    for (const ListOrder& order : orders) {
        if (fieldName != QLatin1String(order.field))
            continue;
        openQuery(list,
                  {QStringLiteral("SELECT *            "), QStringLiteral("  FROM ") + table,
                   QStringLiteral("  ORDER BY ") + QLatin1String(order.orderBy) + QStringLiteral("  ")});
        return QString::fromUtf8(order.label);
    }
    return std::nullopt;
}

QStringList allCodes(TZQuery* query, const QString& field) {
    QStringList codes;
    for (query->First(); !query->Eof(); query->Next())
        codes << query->FieldByName(field).AsString();
    return codes;
}

// The number a "SELECT count(*) AS db" statement gives.
int countOf(TZQuery* query, const QString& sql) {
    openQuery(query, {sql});
    return query->FieldByName(QStringLiteral("db")).AsInteger();
}

// The next free code: after the register's codes and after those its tickets still name, because a deleted
// record's code still names the record on its tickets.
int nextFreeCode(TZQuery* query, const QStringList& registerSql, const QString& codeField,
                 const QString& usedSql, const QString& usedField) {
    openQuery(query, registerSql);
    QStringList codes = allCodes(query, codeField);
    openQuery(query, {usedSql});
    codes += allCodes(query, usedField);
    return nextCode(codes);
}

} // namespace

std::optional<QString> sortProducers(const QString& fieldName) {
    return sortList(Data->ZQ30, QStringLiteral("ostermelo    "), producerOrders, fieldName);
}

std::optional<QString> sortAnimals(const QString& fieldName) {
    return sortList(Data->ZQ40, QStringLiteral("termek       "), animalOrders, fieldName);
}

QString producerNameOrderLabel() {
    return QStringLiteral("Őstermelő lista, \"Név\" szerint");
}

QString animalNameOrderLabel() {
    return QStringLiteral("Termék lista, \"Megnevezés\" szerint");
}

void openProducersByName() {
    TZQuery* q = Data->ZQ30;
    openQuery(q, {QStringLiteral("SELECT * FROM ostermelo "), QStringLiteral("         ORDER BY o_Nev ")});
}

bool locateProducer(const QString& code) {
    return locateCode(Data->ZQ30, QStringLiteral("O_KOD"), code);
}

bool producerOnPrintedTicket(const QString& code) {
    TZQuery* q = Data->ZQ31;
    openQuery(q,
              {QStringLiteral("SELECT f_ostermkod, count(f_ostermkod) as db "),
               QStringLiteral("  FROM  FjFej                                "),
               QStringLiteral("  WHERE (f_ostermkod = :p1) AND (f_prn = :p2)"),
               QStringLiteral("  GROUP BY f_ostermkod                       ")},
              {{QStringLiteral("p1"), code}, {QStringLiteral("p2"), QStringLiteral("I")}});
    return !q->IsEmpty() && q->FieldByName(QStringLiteral("db")).AsInteger() != 0;
}

int producerCount() {
    return countOf(Data->ZQ31, QStringLiteral("SELECT count(*) AS db FROM ostermelo      "));
}

int nextProducerCode() {
    return nextFreeCode(
        Data->ZQ31,
        {QStringLiteral("SELECT  * FROM ostermelo "), QStringLiteral("          ORDER BY o_kod ")},
        QStringLiteral("O_KOD"), QStringLiteral("SELECT DISTINCT f_ostermkod FROM fjfej "),
        QStringLiteral("F_OSTERMKOD"));
}

void openAnimalsByName() {
    TZQuery* q = Data->ZQ40;
    openQuery(q, {QStringLiteral("SELECT * FROM Termek           "),
                  QStringLiteral("         ORDER BY t_megnevezes ")});
}

bool locateAnimalByName(const QString& prefix) {
    return Data->ZQ40->Locate(QStringLiteral("T_MEGNEVEZES"), prefix, loCaseInsensitive | loPartialKey);
}

bool locateAnimalByCode(const QString& code) {
    return locateCode(Data->ZQ40, QStringLiteral("T_KOD"), code);
}

int animalCount() {
    return countOf(Data->ZQ41, QStringLiteral("SELECT count(*) AS db FROM termek  "));
}

int nextAnimalCode() {
    return nextFreeCode(
        Data->ZQ41,
        {QStringLiteral("SELECT  * FROM termek    "), QStringLiteral("          ORDER BY t_kod ")},
        QStringLiteral("T_KOD"), QStringLiteral("SELECT DISTINCT s_termekkod FROM fjsor "),
        QStringLiteral("S_TERMEKKOD"));
}

} // namespace vardelo

namespace vardelo {

void openProducersForPrint() {
    openQuery(Data->ZQ30, {QStringLiteral("SELECT * FROM ostermelo ORDER BY o_Nev, o_Szido")});
}

void deleteProducerRow(const QString& id, const RowAsRead& asRead) {
    executeRowAndCommit(
        Data->ZQ31,
        {QStringLiteral("DELETE FROM ostermelo      "), QStringLiteral("  WHERE ID_ostermelo = :p1 ")},
        {{QStringLiteral("p1"), id}}, asRead);
}

void writeProducer(const std::optional<QString>& changedId, const QueryParams& fields,
                   const RowAsRead& asRead) {
    execWrite(
        Data->ZQ30, changedId,
        {QStringLiteral("UPDATE ostermelo "),
         QStringLiteral("  SET ID_ostermelo  = :p0,  "),
         QStringLiteral("       o_kod        = :p1,  "),
         QStringLiteral("       o_Nev        = :p2,  "),
         QStringLiteral("       o_Irszam     = :p3,  "),
         QStringLiteral("       o_Helysegnev = :p4,  "),
         QStringLiteral("       o_Utca       = :p5,  "),
         QStringLiteral("       o_Adoazon    = :p6,  "),
         QStringLiteral("       o_Adoszam    = :p7,  "),
         QStringLiteral("       o_TAJ        = :p8,  "),
         QStringLiteral("       o_Igszam     = :p9,  "),
         QStringLiteral("       o_Regszam    = :p10, "),
         QStringLiteral("       o_Csgazd     = :p11, "),
         QStringLiteral("       o_Szulnev    = :p12, "),
         QStringLiteral("       o_Szulhely   = :p13, "),
         QStringLiteral("       o_Szido      = :p14, "),
         QStringLiteral("       o_Anyja      = :p15, "),
         QStringLiteral("       o_Neme       = :p16, "),
         QStringLiteral("       o_Bankszla   = :p17, "),
         QStringLiteral("       o_Szja       = :p18, "),
         QStringLiteral("       o_Ervkelt    = :p19  "),
         QStringLiteral(" WHERE ID_ostermelo = :p0   ")},
        {QStringLiteral(
             "INSERT INTO ostermelo ( o_kod, o_Nev,o_Irszam, o_Helysegnev, o_Utca, o_Adoazon, o_Adoszam, "
             "o_TAJ, "
             "o_Igszam, o_Regszam, o_Csgazd, o_Szulnev, o_Szulhely, o_Szido, o_Anyja, o_Neme, "
             "o_Bankszla, "
             "o_Szja, o_Ervkelt ) "),
         QStringLiteral("   VALUES             (   :p1,   :p2,     :p3,          :p4,    :p5,       "
                        ":p6,       :p7,   :p8,      :p9,      :p10,     :p11,      :p12,        "
                        ":p13,   :p14,    :p15,   :p16,       :p17,   :p18,      :p19 ) ")},
        fields, asRead);
}

void openAnimalsForPrint() {
    openQuery(Data->ZQ40, {QStringLiteral("SELECT * FROM termek ORDER BY t_megnevezes")});
}

void deleteAnimalRow(const QString& id, const RowAsRead& asRead) {
    executeRowAndCommit(
        Data->ZQ41, {QStringLiteral("DELETE FROM termek      "), QStringLiteral("  WHERE ID_termek = :p1 ")},
        {{QStringLiteral("p1"), id}}, asRead);
}

void writeAnimal(const std::optional<QString>& changedId, const QueryParams& fields,
                 const RowAsRead& asRead) {
    execWrite(
        Data->ZQ40, changedId,
        {QStringLiteral("UPDATE termek              "), QStringLiteral("  SET ID_termek     = :p0, "),
         QStringLiteral("      t_kod         = :p1, "), QStringLiteral("      t_megnevezes  = :p2, "),
         QStringLiteral("      t_VTSZ        = :p3, "), QStringLiteral("      t_Ear         = :p4, "),
         QStringLiteral("      t_megy        = :p5, "), QStringLiteral("      t_Kompmerteke = :p6  "),
         QStringLiteral(" WHERE ID_termek    = :p0  ")},
        {QStringLiteral("INSERT INTO termek ( t_kod, t_megnevezes, t_VTSZ, t_Ear, t_megy, t_Kompmerteke ) "),
         QStringLiteral("   VALUES          (   :p1,          :p2,    :p3,   :p4,    :p5,           :p6 ) ")},
        fields, asRead);
}

} // namespace vardelo
