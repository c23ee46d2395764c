#include "tickets/ticket_rules.h"

#include "data/text_formats.h"

#include <QRegularExpression>
#include <array>
#include <tuple>

namespace vardelo::tickets {

NextNumber nextTicketNumber(const QString& lastNumber) {
    const QString trimmed = lastNumber.trimmed();
    const std::optional<int> last = parseIntegerText(trimmed);
    if (!last)
        return {QString(), QStringLiteral("'%1' is not a valid integer value").arg(trimmed)};
    // The column holds 8 digits, so the largest seed is far below the 32-bit limit; widen anyway.
    return {QString::number(qint64(*last) + 1), QString()};
}

QString numberWithArticleAccusative(const QString& number) {
    static const QRegularExpression digitsOnly(QStringLiteral("^[1-9][0-9]*$"));
    if (!digitsOnly.match(number).hasMatch())
        return QStringLiteral("a(z) %1-t").arg(number);
    // The ending follows the last word read out: the last digit that is not zero and its place.
    static const char* const unitEndings[] = {"", "et", "t", "at", "et", "öt", "ot", "et", "at", "et"};
    static const char* const tenEndings[] = {"", "et", "at", "at", "et", "et", "at", "et", "at", "et"};
    qsizetype place = 0;
    while (number.at(number.size() - 1 - place) == QLatin1Char('0'))
        ++place;
    const int digit = number.at(number.size() - 1 - place).digitValue();
    const char* ending = place == 0   ? unitEndings[digit] // egyet, kettőt, hármat ...
                         : place == 1 ? tenEndings[digit]  // tizet, húszat, harmincat ...
                         : place == 2 ? "at"               // százat
                         : place <= 5 ? "et"               // ezret
                         : place <= 8 ? "t"                // milliót
                                      : "ot";              // milliárdot
    // "az" before a number read out from a vowel: öt..., egy, ezer..., egymillió...
    const QChar first = number.at(0);
    const bool vowel = first == QLatin1Char('5') || (first == QLatin1Char('1') && number.size() % 3 == 1);
    return QStringLiteral("%1 %2-%3")
        .arg(vowel ? QStringLiteral("az") : QStringLiteral("a"), number, QString::fromUtf8(ending));
}

QString numberMovedMessage(const QString& storedNumber, const QString& shownNumber) {
    return QStringLiteral("A jegy a(z) %1 sorszámot kapta, mert %2 egy másik munkahely már felhasználta.")
        .arg(storedNumber, numberWithArticleAccusative(shownNumber));
}

QString newTicketNumberRefusal(const QString& number, bool headerExists) {
    const QString advice = QStringLiteral(" Állítsa be a sorszámot: Átvevö / Lekérdezés, \"Évnyitás\" lap.");
    if (number.size() > 8)
        return QStringLiteral("A következő sorszám (%1) hosszabb 8 számjegynél, nem adható ki!").arg(number) +
               advice;
    if (headerExists)
        return QStringLiteral("A következő sorszámmal (%1) már van felvásárlási jegy!").arg(number) + advice;
    return QString();
}

std::optional<HeaderProblem> checkHeader(const HeaderTexts& h) {
    const std::array<std::pair<const QString*, HeaderProblem>, 8> required{{
        {&h.issueDate, {HeaderField::IssueDate, QStringLiteral("Nincs megadva a kiállítás dátuma!")}},
        {&h.purchaseDate, {HeaderField::PurchaseDate, QStringLiteral("Nincs megadva a felvásárlás dátuma!")}},
        {&h.paymentDate, {HeaderField::PaymentDate, QStringLiteral("Nincs megadva a átvétel dátum!")}},
        {&h.szja, {HeaderField::Szja, QStringLiteral("Nincs megadva az szja!")}},
        {&h.producerCode, {HeaderField::Producer, QStringLiteral("Nincs kiválasztva őstermelő!")}},
        {&h.deduction, {HeaderField::Deduction, QStringLiteral("Nincs megadva vagy nem nulla a levonás!")}},
        {&h.weightDeduction,
         {HeaderField::WeightDeduction, QStringLiteral("Nincs megadva súlylevonás % -a!")}},
        {&h.contribution,
         {HeaderField::Contribution, QStringLiteral("Nincs megadva tagok hozzájárulása % -a!")}},
    }};
    for (const auto& [text, problem] : required)
        if (isBlank(*text))
            return problem;

    const std::array<std::pair<const QString*, HeaderProblem>, 3> dates{{
        {&h.issueDate, {HeaderField::IssueDate, QStringLiteral("Hibás a kiállítás dátuma!")}},
        {&h.purchaseDate, {HeaderField::PurchaseDate, QStringLiteral("Hibás a felvásárlás dátuma!")}},
        {&h.paymentDate, {HeaderField::PaymentDate, QStringLiteral("Hibás az átvétel dátuma!")}},
    }};
    for (const auto& [text, problem] : dates)
        if (!parseDateText(*text))
            return problem;

    const std::array<std::tuple<const QString*, NumberLimit, HeaderField, const char*>, 4> numbers{{
        {&h.szja, SzjaLimit, HeaderField::Szja, "Az szja % "},
        {&h.weightDeduction, PercentLimit, HeaderField::WeightDeduction, "A súlylevonás % "},
        {&h.contribution, PercentLimit, HeaderField::Contribution, "A tagi hozzájárulás % "},
        {&h.deduction, DeductionLimit, HeaderField::Deduction, "A levonás (Ft) "},
    }};
    for (const auto& [text, limit, field, name] : numbers)
        if (const QString problem = numberFieldProblem(QString::fromUtf8(name), *text, limit);
            !problem.isEmpty())
            return HeaderProblem{field, problem};
    return std::nullopt;
}

std::optional<LineProblem> checkLine(const LineTexts& l) {
    const std::array<std::pair<const QString*, LineProblem>, 6> required{{
        {&l.name, {LineField::Name, QStringLiteral("Nincs megadva a megnevezés!")}},
        {&l.vtsz, {LineField::Vtsz, QStringLiteral("Nincs megadva a VTSZ!")}},
        {&l.gross, {LineField::Gross, QStringLiteral("Nincs megadva a bruttó mennyiség!")}},
        {&l.unit, {LineField::Unit, QStringLiteral("Nincs megadva a mennyiség egység!")}},
        {&l.unitPrice, {LineField::UnitPrice, QStringLiteral("Nincs megadva az egységár!")}},
        {&l.compensationRate, {LineField::CompensationRate, QStringLiteral("Nincs megadva a komp.mértéke!")}},
    }};
    for (const auto& [text, problem] : required)
        if (isBlank(*text))
            return problem;

    const std::array<std::tuple<const QString*, NumberLimit, LineField, const char*>, 4> numbers{{
        {&l.gross, GrossWeightLimit, LineField::Gross, "A bruttó mennyiség "},
        {&l.unitPrice, UnitPriceLimit, LineField::UnitPrice, "Az egységár "},
        {&l.compensationRate, PercentLimit, LineField::CompensationRate, "A komp.mértéke "},
        {&l.weightDeduction, PercentLimit, LineField::WeightDeduction,
         "A felvásárlási jegy súlylevonás %-a "},
    }};
    for (const auto& [text, limit, field, name] : numbers)
        if (const QString problem = numberFieldProblem(QString::fromUtf8(name), *text, limit);
            !problem.isEmpty())
            return LineProblem{field, problem};
    return std::nullopt;
}

bool declarationTicked(const QString& storedText) {
    return storedText.size() >= 6;
}

QString declarationText(bool ticked, const QString& purchaserDeclaration) {
    return ticked ? purchaserDeclaration : QStringLiteral(" ");
}

// Each order but the number's, which a purchaser uses once, ends in the ticket's key: equal values come in
// the order the tickets were stored, the same every time the list is read.
std::optional<TicketOrder> ticketOrderForColumn(const QString& fieldName) {
    static const std::array<std::pair<const char*, TicketOrder>, 5> orders{{
        {"F_BSZAM",
         {QStringLiteral("f_bszam"), QStringLiteral("Felvásárlási jegy lista, \"Bizonylatszám\" szerint")}},
        {"F_OSTERMKOD",
         {QStringLiteral("f_ostermkod, id_fjfej"),
          QStringLiteral("Felvásárlási jegy lista, \"Őstermelőkód\" szerint")}},
        {"O_NEV",
         {QStringLiteral("o_nev, id_fjfej"), QStringLiteral("Felvásárlási jegy lista, név szerint")}},
        {"F_KELT",
         {QStringLiteral("f_kelt, id_fjfej"), QStringLiteral("Felvásárlási jegy lista, dátum szerint")}},
        {"F_PRN",
         {QStringLiteral("f_prn, id_fjfej"),
          QStringLiteral("Felvásárlási jegy lista, volt-e nyomtatva szerint")}},
    }};
    for (const auto& [name, order] : orders)
        if (fieldName.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return order;
    return std::nullopt;
}

} // namespace vardelo::tickets
