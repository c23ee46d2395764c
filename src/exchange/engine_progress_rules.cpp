#include "exchange/engine_progress_rules.h"

#include <QLocale>
#include <QRegularExpression>

namespace vardelo::exchange {

namespace {

// Thousands grouped with a no-break space, as the screens write whole numbers.
QString groupedCount(const QString& digits) {
    QString text = QLocale(QLocale::Hungarian, QLocale::Hungary).toString(digits.toLongLong());
    return text.replace(QLocale(QLocale::Hungarian, QLocale::Hungary).groupSeparator(), QChar(0x00A0));
}

struct Pattern {
    const char* expression;
    const char* text; // %1: the first captured part
    bool count;       // the captured part is a number of rows
};

// The engine's lines that say something to the clerk; any other line is the engine's own step.
const Pattern patterns[] = {
    {R"(^(\d+) records? written)", "%1 sor mentve", true},
    {R"(^(\d+) records? restored)", "%1 sor visszatöltve", true},
    {R"(^writing data for table (\S+))", "Mentés: %1 tábla", false},
    {R"(^restoring data for table (\S+))", "Visszatöltés: %1 tábla", false},
    {R"(^readied database)", "Az adatbázis mentésre kész", false},
    {R"(^creating file)", "A mentés fájlja elkészült", false},
    {R"(^closing file, committing, and finishing)", "A mentés lezárása", false},
    {R"(^opened file)", "A mentés fájlja megnyitva", false},
    {R"(^created database)", "Az új adatbázis elkészült", false},
    {R"(^restoring table (\S+))", "Visszatöltés: %1 tábla szerkezete", false},
    {R"(^creating indexes)", "Indexek építése", false},
    {R"(^finishing, closing, and going home)", "A visszatöltés befejezése", false},
};

} // namespace

QString engineProgressText(const QString& line) {
    QString text = line.trimmed();
    if (text.startsWith(QLatin1String("gbak:")))
        text = text.mid(5).trimmed();
    for (const Pattern& pattern : patterns) {
        const QRegularExpression expression(QString::fromLatin1(pattern.expression));
        const QRegularExpressionMatch match = expression.match(text);
        if (!match.hasMatch())
            continue;
        const QString part = match.captured(1);
        QString result = QString::fromUtf8(pattern.text);
        if (result.contains(QLatin1String("%1")))
            result = result.arg(pattern.count ? groupedCount(part) : part);
        return result;
    }
    return QString();
}

} // namespace vardelo::exchange
