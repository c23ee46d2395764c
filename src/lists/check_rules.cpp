#include "lists/check_rules.h"

#include "data/identifier_checks.h"
#include "data/text_formats.h"

#include <QDate>
#include <QRegularExpression>
#include <algorithm>
#include <cstdlib>
#include <optional>

namespace vardelo::lists {

namespace {

const QString kIndent = QStringLiteral("    ");

// A whole number as the check of the compensation rate reads it: an optional sign and digits only.
std::optional<qint64> wholeNumber(const QString& text) {
    static const QRegularExpression whole(QStringLiteral("^\\s*[+-]?[0-9]+\\s*$"));
    if (!whole.match(text).hasMatch())
        return std::nullopt;
    bool ok = false;
    const qint64 value = text.trimmed().toLongLong(&ok);
    return ok ? std::optional<qint64>(value) : std::nullopt;
}

QString adoszamVerdict(const QString& v) {
    if (v.size() < 8)
        return QStringLiteral("Hiba (kevesebb nyolc számnál): ");
    if (!adoszamValid(v))
        return QStringLiteral("Hiba (hibás adószám): ");
    return {};
}

QString adoazonVerdict(const QString& v) {
    if (v.size() != 10)
        return QStringLiteral("Hiba (kevesebb tiz számnál): ");
    if (!adoazonositoValid(v))
        return QStringLiteral("Hiba (hibás adóazonositó): ");
    return {};
}

QString tajVerdict(const QString& v) {
    if (v.size() != 9)
        return QStringLiteral("Hiba (kevesebb 9 számnál): ");
    if (!tajValid(v))
        return QStringLiteral("Hiba (hibás TAJ): ");
    return {};
}

// The checks of a value that must not be empty, one function for each message.
template <const char16_t* Message> QString required(const QString& v) {
    return v.isEmpty() ? QString::fromUtf16(Message) : QString();
}

constexpr char16_t kNoProducer[] = u"Hiba (nincs östermelö megadva): ";
constexpr char16_t kNoName[] = u"Hiba (nincs östermelö név megadva): ";
constexpr char16_t kNoPostcode[] = u"Hiba (nincs östermelö irányitószám megadva): ";
constexpr char16_t kNoPlace[] = u"Hiba (nincs östermelö Helységnév megadva): ";
constexpr char16_t kNoStreet[] = u"Hiba (nincs östermelö Utca megadva): ";
constexpr char16_t kNoIdCard[] = u"Hiba (nincs östermelö ig.szám megadva): ";
constexpr char16_t kNoBirthPlace[] = u"Hiba (nincs östermelö születési hely megadva): ";
constexpr char16_t kNoBirthDate[] = u"Hiba (nincs östermelö születési idö megadva): ";
constexpr char16_t kNoMother[] = u"Hiba (nincs östermelö anyja neve megadva): ";
constexpr char16_t kNoSex[] = u"Hiba (nincs östermelö neme megadva): ";
constexpr char16_t kNoBirthName[] = u"Hiba (nincs östermelö születési neve megadva): ";
constexpr char16_t kNoSzja[] = u"Hiba (nincs szja (minimum 0) megadva): ";
constexpr char16_t kNoAnimalCode[] = u"Figyelmeztetés (nincs termékkód megadva): ";

QString printedVerdict(const QString& v) {
    return v == QLatin1String("I") ? QString() : QStringLiteral("Figyelmeztetés (még nincs kinyomtatva): ");
}

// A quantity that cannot be read as a number counts as not given.
QString quantityVerdict(const QString& v) {
    if (v.isEmpty())
        return QStringLiteral("Hiba (nincs mennyiség megadva): ");
    const std::optional<double> value = parseNumberText(v);
    if (!value)
        return QStringLiteral("Hiba (nincs mennyiség megadva): ");
    if (*value == 0)
        return QStringLiteral("Hiba (nullás mennyiség van megadva): ");
    return {};
}

// A unit price that cannot be read as a number counts as not given.
QString priceVerdict(const QString& v) {
    if (v.isEmpty())
        return QStringLiteral("Hiba (nincs egységár megadva): ");
    if (v == QLatin1String("0"))
        return QStringLiteral("Hiba (nullás egységár van megadva): ");
    const std::optional<double> value = parseNumberText(v);
    if (!value)
        return QStringLiteral("Hiba (nincs egységár megadva): ");
    if (!(*value > 0))
        return QStringLiteral("Hiba (nulla vagy minuszos egységár van megadva): ");
    return {};
}

// A rate with a fraction (or any text that is not a whole number) is not 7 or 12 either.
QString rateVerdict(const QString& v) {
    if (v.isEmpty())
        return QStringLiteral("Hiba (nincs Komp.felár megadva): ");
    const std::optional<qint64> value = wholeNumber(v);
    if (!value || (*value != 12 && *value != 7))
        return QStringLiteral("Hiba (nem 7, 12 % van megadva): ");
    return {};
}

} // namespace

const std::array<QString, kCheckColumnCount>& checkColumnNames() {
    static const std::array<QString, kCheckColumnCount> names{
        QStringLiteral("S_BSZAM"),   QStringLiteral("S_TERMEKKOD"),   QStringLiteral("S_NETTO"),
        QStringLiteral("S_EAR"),     QStringLiteral("S_KOMPMERTEKE"), QStringLiteral("F_OSTERMKOD"),
        QStringLiteral("F_SZJA"),    QStringLiteral("F_PRN"),         QStringLiteral("O_ADOSZAM"),
        QStringLiteral("O_ADOAZON"), QStringLiteral("O_TAJ"),         QStringLiteral("O_NEV"),
        QStringLiteral("O_IRSZAM"),  QStringLiteral("O_HELYSEGNEV"),  QStringLiteral("O_UTCA"),
        QStringLiteral("O_IGSZAM"),  QStringLiteral("O_SZULHELY"),    QStringLiteral("O_SZIDO"),
        QStringLiteral("O_ANYJA"),   QStringLiteral("O_NEME"),        QStringLiteral("O_SZULNEV")};
    return names;
}

const std::array<BatchCheck, kBatchCheckCount>& batchChecks() {
    using C = CheckColumn;
    static const std::array<BatchCheck, kBatchCheckCount> checks{{
        {QStringLiteral("Adószám"), C::OAdoszam, &adoszamVerdict, true},
        {QStringLiteral("Adóazonositó"), C::OAdoazon, &adoazonVerdict, true},
        {QStringLiteral("TAJ"), C::OTaj, &tajVerdict, true},
        {QStringLiteral("Östermelökód"), C::FOstermkod, &required<kNoProducer>, false},
        {QStringLiteral("Östermelö név"), C::ONev, &required<kNoName>, false},
        {QStringLiteral("Östermelö irányitószám"), C::OIrszam, &required<kNoPostcode>, false},
        {QStringLiteral("Östermelö Helységnév"), C::OHelysegnev, &required<kNoPlace>, false},
        {QStringLiteral("Östermelö Utca"), C::OUtca, &required<kNoStreet>, false},
        {QStringLiteral("Östermelö ig.szám"), C::OIgszam, &required<kNoIdCard>, false},
        {QStringLiteral("Östermelö születési hely"), C::OSzulhely, &required<kNoBirthPlace>, false},
        {QStringLiteral("Östermelö születési idö"), C::OSzido, &required<kNoBirthDate>, false},
        {QStringLiteral("Östermelö anyja neve"), C::OAnyja, &required<kNoMother>, false},
        {QStringLiteral("Östermelö neme"), C::ONeme, &required<kNoSex>, false},
        {QStringLiteral("Östermelö születési neve"), C::OSzulnev, &required<kNoBirthName>, false},
        {QStringLiteral("Szja"), C::FSzja, &required<kNoSzja>, false},
        {QStringLiteral("Volt-e nyomtatva?"), C::FPrn, &printedVerdict, false},
        {QStringLiteral("Termékkód"), C::STermekkod, &required<kNoAnimalCode>, false},
        {QStringLiteral("Mennyiség"), C::SNetto, &quantityVerdict, false},
        {QStringLiteral("Egységár"), C::SEar, &priceVerdict, false},
        {QStringLiteral("Komp.felár"), C::SKompmerteke, &rateVerdict, false},
    }};
    return checks;
}

QString failureLine(const BatchCheck& check, const CheckRow& row) {
    const QString& value = row[check.column];
    QString message = check.verdict(value);
    if (message.isNull())
        return message;
    if (check.namesProducer)
        return message + value + QLatin1Char(' ') + row[CheckColumn::ONev] + QStringLiteral(" Kódja: ") +
               row[CheckColumn::FOstermkod];
    return message + row[CheckColumn::SBszam];
}

void runBatchCheck(const std::vector<CheckRow>& rows, int blockLines,
                   const std::function<void(const QStringList& block)>& append, std::vector<int>* lineRows) {
    const int limit = std::max(1, blockLines);
    QStringList block;
    block.reserve(limit);
    auto add = [&](QString line, int row = -1) {
        block.append(std::move(line));
        if (lineRows)
            lineRows->push_back(row);
        if (block.size() >= limit) {
            append(block);
            block.clear();
        }
    };
    for (const BatchCheck& check : batchChecks()) {
        add(kIndent + check.name + QStringLiteral(" ellenörzés... "));
        for (size_t i = 0; i < rows.size(); ++i) {
            QString line = failureLine(check, rows[i]);
            if (!line.isNull())
                add(std::move(line), int(i));
        }
        add(kIndent + check.name + QStringLiteral(" ellenörzés vége. "));
        add(QStringLiteral(" "));
    }
    add(QStringLiteral("Klikk az ablakba és kurzor billentyüvel mozoghat benne. "));
    if (!block.isEmpty())
        append(block);
}

QStringList batchCheckLines(const std::vector<CheckRow>& rows) {
    QStringList lines;
    runBatchCheck(rows, 4096, [&](const QStringList& block) { lines += block; });
    return lines;
}

SingleVerdict checkTypedAdoszam(const QString& text) {
    if (text.size() != 11 && text.size() != 13)
        return {QStringLiteral("Hibaüzenet: Nem 11 vagy 13 hosszú számsor"), true};
    if (adoszamValid(text))
        return {QStringLiteral("Az adószám rendben"), false};
    return {QStringLiteral("Hibaüzenet: Hibás adószám"), true};
}

SingleVerdict checkTypedAdoazon(const QString& text) {
    if (text.size() != 10)
        return {QStringLiteral("Hibaüzenet: Nem 10 hosszú számsor"), true};
    if (adoazonositoValid(text))
        return {QStringLiteral("Az azóazonositó rendben"), false};
    return {QStringLiteral("Hibaüzenet: Hibás adóazonositó"), true};
}

SingleVerdict checkTypedTaj(const QString& text) {
    if (text.size() != 9 && text.size() != 11)
        return {QStringLiteral("Hibaüzenet: Nem 9 vagy 11 hosszú számsor"), true};
    // Three groups of three digits with one separator after the first and the second group.
    const QString digits = text.size() == 11 ? text.mid(0, 3) + text.mid(4, 3) + text.mid(8, 3) : text;
    if (tajValid(digits))
        return {QStringLiteral("A TAJ rendben"), false};
    return {QStringLiteral("Hibaüzenet: Hibás TAJ"), true};
}

qint64 daysSince1867(const QDate& date) {
    return std::abs(QDate(1867, 1, 1).daysTo(date));
}

bool birthDateMatches(const QString& adoazon, const QDate& birthDate) {
    const QString days = adoazon.mid(1, 5);
    static const QRegularExpression digits(QStringLiteral("^[0-9]+$"));
    if (!digits.match(days).hasMatch())
        return false;
    return days.toLongLong() == daysSince1867(birthDate);
}

DaysVerdict checkTypedDays(const QString& adoazon, const QDate& birthDate) {
    DaysVerdict result;
    result.fromIdentifier = adoazon.mid(1, 5);
    result.dayCount = shortestNumberText(double(daysSince1867(birthDate)));
    if (adoazon.size() != 10)
        result.verdict = {QStringLiteral("Hibaüzenet: Nem 10 hosszú számsor !"), true};
    else if (birthDateMatches(adoazon, birthDate))
        result.verdict = {QStringLiteral("Az adóazonositó és születési dátum összevetése rendben"), false};
    else
        result.verdict = {QStringLiteral("Hibaüzenet: Az adóazonositó és/vagy szül.dátum hiba !"), true};
    return result;
}

} // namespace vardelo::lists
