#include "shell/ticket_number_seed.h"

#include "data/text_formats.h"
#include "widgets/field_input.h"

#include <optional>

namespace vardelo {

QString ticketNumberSeedError(const QString& text) {
    if (trimRight(text).isEmpty())
        return QStringLiteral("Nincs megadva sorszám!");
    if (text.size() != 8)
        return QStringLiteral("Nem 8 hosszú a számsor!");
    // Only digits are typed into the field; anything else is not a number at all.
    for (const QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return fieldInputErrorText(TFieldType::Integer, text);
    // Read as a number and written back it must give the same text: no leading zero.
    if (QString::number(text.toInt()) != text)
        return QStringLiteral("Nullával nem kezdödhet!");
    return QString();
}

QString ticketNumberSeedConflict(const QString& seed, const QString& highestTicket) {
    const QString highest = highestTicket.trimmed();
    if (highest.isEmpty())
        return QString();
    const std::optional<int> last = parseIntegerText(highest);
    const std::optional<int> number = parseIntegerText(seed);
    // A stored number that is not a whole number cannot be compared; the seed is judged by its own checks.
    if (!last || !number || *number > *last)
        return QString();
    return QStringLiteral(
               "A sorszámnak nagyobbnak kell lennie az átvevő utolsó felvásárlási jegyének számánál "
               "(%1)!")
        .arg(highest);
}

} // namespace vardelo
