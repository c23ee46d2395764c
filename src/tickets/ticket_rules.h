#pragma once

#include "data/text_formats.h"

#include <QString>
#include <optional>

// The rules of the ticket windows that need no window: the next ticket number, the checks of a ticket header
// and of a ticket line, the declaration box and the orders of the ticket list.
namespace vardelo::tickets {

// Modes the opener sets before it shows the ticket entry, the line dialog or the print routine.
inline const QString UjJegy = QStringLiteral("Új felvásárlási jegy");
inline const QString JegyModositas = QStringLiteral("Felvásárlási jegy módositás");
inline const QString UjTetelsor = QStringLiteral("Új tételsor");
inline const QString Megtekint = QStringLiteral("Megtekint");
inline const QString Nyomtat = QStringLiteral("Nyomtat");

// The number of a new ticket: the purchaser's last number trimmed, read as a 32-bit integer, plus one, as
// decimal text without leading zeros. A last number that is not an integer gives the conversion error instead
// ("'%s' is not a valid integer value").
struct NextNumber {
    QString number;
    QString error;
    bool ok() const { return error.isEmpty(); }
};
NextNumber nextTicketNumber(const QString& lastNumber);

// What the clerk is told when a new ticket was stored under another number than the one it showed, because
// another desk stored that one first: "A jegy a(z) 20000002 sorszámot kapta, mert a 20000001-et egy másik
// munkahely már felhasználta." The article and the case ending follow how the shown number is read out.
QString numberMovedMessage(const QString& storedNumber, const QString& shownNumber);
// A number in the accusative with its article, as Hungarian reads it: "a 20000001-et", "az 50000003-at".
QString numberWithArticleAccusative(const QString& number);

// Why a next number cannot be offered for a new ticket, empty when it can: a number longer than the 8
// characters a ticket number holds, or one that a stored ticket already carries.
QString newTicketNumberRefusal(const QString& number, bool headerExists);

// What a livestock ticket can hold. Within these the computed amounts of a line can always be read back (the
// database refuses a line beyond the weight and per-cent limits itself), and no number carries more decimals
// than its column keeps (4), so nothing is rounded away unseen.
inline constexpr NumberLimit GrossWeightLimit{-999999, 999999, 4};
inline constexpr NumberLimit UnitPriceLimit{0, 999999, 4};
inline constexpr NumberLimit PercentLimit{0, 100, 4};
inline constexpr NumberLimit SzjaLimit{0, 100, 0};
inline constexpr NumberLimit DeductionLimit{0, 99999999, 4};

// The header fields that "OK" checks, in the order it checks them.
enum class HeaderField {
    IssueDate,
    PurchaseDate,
    PaymentDate,
    Szja,
    Producer,
    Deduction,
    WeightDeduction,
    Contribution
};

struct HeaderTexts {
    QString issueDate;
    QString purchaseDate;
    QString paymentDate;
    QString szja;
    QString producerCode;
    QString deduction;
    QString weightDeduction;
    QString contribution;
};

// The first problem of a header: its message and the field that takes the focus.
struct HeaderProblem {
    HeaderField field;
    QString message;
};

// Required fields first (a field of blanks only is missing), then the three dates in the date format, then
// the numbers within their limits ("Szja %", "Súlylevon.%", "Tagi h.járul.%", "Levonás (Ft)"); a number that
// does not read as one ("1,2,3") is refused the same way, its message naming the field.
std::optional<HeaderProblem> checkHeader(const HeaderTexts& header);

// The fields of a ticket line that "OK" checks, in order.
enum class LineField { Name, Vtsz, Gross, Unit, UnitPrice, CompensationRate, WeightDeduction };

struct LineTexts {
    QString name;
    QString vtsz;
    QString gross;
    QString unit;
    QString unitPrice;
    QString compensationRate;
    QString weightDeduction; // the ticket entry's "Súlylevon.%", which the line takes
};

struct LineProblem {
    LineField field;
    QString message;
};

// Required fields first, then the numbers within their limits (gross weight, unit price, compensation per
// cent, and the ticket's weight deduction per cent), which must read as numbers.
std::optional<LineProblem> checkLine(const LineTexts& line);

// A stored declaration keeps its box ticked when it has at least 6 characters.
bool declarationTicked(const QString& storedText);
// The text the declaration field takes when its box changes: the purchaser's declaration when ticked, one
// blank otherwise.
QString declarationText(bool ticked, const QString& purchaserDeclaration);

// The orders of the ticket list: the column to order by and the order caption.
struct TicketOrder {
    QString column;
    QString caption;
};
// The order caption of the list in ticket-number order, as the browser opens and as printing leaves it.
inline const QString BszamOrderCaption = QStringLiteral("A lista, \"Bszám\" szerint");
// The order for a clicked column title of the header grid (by its field name); nothing for other titles.
std::optional<TicketOrder> ticketOrderForColumn(const QString& fieldName);

} // namespace vardelo::tickets
