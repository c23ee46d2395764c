#include "masterdata/register_lists.h"

#include "data/data_module.h"
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
        list->Close();
        list->SQL.Clear();
        list->SQL.Add(QStringLiteral("SELECT *            "));
        list->SQL.Add(QStringLiteral("  FROM ") + table);
        list->SQL.Add(QStringLiteral("  ORDER BY ") + QLatin1String(order.orderBy) + QStringLiteral("  "));
        list->Open();
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
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT * FROM ostermelo "));
    q->SQL.Add(QStringLiteral("         ORDER BY o_Nev "));
    q->Open();
}

bool locateProducer(const QString& code) {
    return locateCode(Data->ZQ30, QStringLiteral("O_KOD"), code);
}

bool producerOnPrintedTicket(const QString& code) {
    TZQuery* q = Data->ZQ31;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT f_ostermkod, count(f_ostermkod) as db "));
    q->SQL.Add(QStringLiteral("  FROM  FjFej                                "));
    q->SQL.Add(QStringLiteral("  WHERE (f_ostermkod = :p1) AND (f_prn = :p2)"));
    q->SQL.Add(QStringLiteral("  GROUP BY f_ostermkod                       "));
    q->ParamByName(QStringLiteral("p1")).SetAsString(code);
    q->ParamByName(QStringLiteral("p2")).SetAsString(QStringLiteral("I"));
    q->Open();
    return !q->IsEmpty() && q->FieldByName(QStringLiteral("db")).AsInteger() != 0;
}

int producerCount() {
    TZQuery* q = Data->ZQ31;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT count(*) AS db FROM ostermelo      "));
    q->Open();
    return q->FieldByName(QStringLiteral("db")).AsInteger();
}

int nextProducerCode() {
    TZQuery* q = Data->ZQ31;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT  * FROM ostermelo "));
    q->SQL.Add(QStringLiteral("          ORDER BY o_kod "));
    q->Open();
    QStringList codes = allCodes(q, QStringLiteral("O_KOD"));
    // The codes on tickets count too: a deleted producer's code still names the producer of its tickets.
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT DISTINCT f_ostermkod FROM fjfej "));
    q->Open();
    codes += allCodes(q, QStringLiteral("F_OSTERMKOD"));
    return nextCode(codes);
}

void openAnimalsByName() {
    TZQuery* q = Data->ZQ40;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT * FROM Termek           "));
    q->SQL.Add(QStringLiteral("         ORDER BY t_megnevezes "));
    q->Open();
}

bool locateAnimalByName(const QString& prefix) {
    return Data->ZQ40->Locate(QStringLiteral("T_MEGNEVEZES"), prefix, loCaseInsensitive | loPartialKey);
}

bool locateAnimalByCode(const QString& code) {
    return locateCode(Data->ZQ40, QStringLiteral("T_KOD"), code);
}

int animalCount() {
    TZQuery* q = Data->ZQ41;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT count(*) AS db FROM termek  "));
    q->Open();
    return q->FieldByName(QStringLiteral("db")).AsInteger();
}

int nextAnimalCode() {
    TZQuery* q = Data->ZQ41;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT  * FROM termek    "));
    q->SQL.Add(QStringLiteral("          ORDER BY t_kod "));
    q->Open();
    QStringList codes = allCodes(q, QStringLiteral("T_KOD"));
    // As with producers: a deleted animal's code still names the animal of its ticket lines.
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("SELECT DISTINCT s_termekkod FROM fjsor "));
    q->Open();
    codes += allCodes(q, QStringLiteral("S_TERMEKKOD"));
    return nextCode(codes);
}

} // namespace vardelo
