#include "exchange/previous_import_rules.h"

#include "data/text_formats.h"

namespace vardelo::previous {

namespace {

QueryParams numbered(const QList<QVariant>& values) {
    QueryParams params;
    params.reserve(size_t(values.size()));
    for (qsizetype i = 0; i < values.size(); ++i)
        params.emplace_back(QStringLiteral("p%1").arg(i + 1), values.at(i));
    return params;
}

// The birth date: the date text of positions 229 to 238 when position 233 holds the point after the year.
// A text that reads as a date is bound as that date; any other text goes to the database as it is, which
// refuses it and the line is reported.
QVariant birthDate(const QString& line) {
    if (fixedField(line, 233, 1) != QStringLiteral("."))
        return QVariant();
    const QString text = trimmedField(line, 229, 10);
    if (const std::optional<QDate> date = parseDateText(text))
        return *date;
    return text;
}

} // namespace

QString fixedField(const QString& line, int from, int length) {
    return line.mid(from - 1, length);
}

QString trimmedField(const QString& line, int from, int length) {
    return fixedField(line, from, length).trimmed();
}

QVariant numberParam(const QString& text) {
    QString number = text.trimmed();
    if (number.isEmpty())
        return QVariant();
    number.replace(u',', u'.');
    return number;
}

QueryParams producerParams(const QString& line) {
    return numbered({
        QStringLiteral("1") + fixedField(line, 2, 5), // o_kod, not trimmed
        trimmedField(line, 7, 45),                    // o_Nev
        trimmedField(line, 53, 4),                    // o_Irszam
        trimmedField(line, 58, 45),                   // o_Helysegnev
        trimmedField(line, 104, 45),                  // o_Utca
        trimmedField(line, 150, 10),                  // o_Adoazon
        trimmedField(line, 161, 8),                   // o_Igszam
        trimmedField(line, 170, 10),                  // o_Regszam
        0.0,                                          // o_Szja
        trimmedField(line, 183, 45),                  // o_Szulhely
        birthDate(line),                              // o_Szido
        trimmedField(line, 240, 45),                  // o_Anyja
        0.0,                                          // o_Muvktg
        trimmedField(line, 288, 8),                   // o_Csgazd
        fixedField(line, 297, 1),                     // o_Neme, not trimmed
        trimmedField(line, 299, 45),                  // o_Szulnev
        trimmedField(line, 345, 9),                   // o_TAJ
        trimmedField(line, 355, 11),                  // o_Adoszam
        QStringLiteral(" "),                          // o_Bankszla
        QStringLiteral("1"),                          // o_aKod
    });
}

QueryParams animalParams(const QString& line) {
    return numbered({
        QStringLiteral("1") + fixedField(line, 2, 5), // t_kod, not trimmed
        trimmedField(line, 7, 75),                    // t_Megnevezes
        trimmedField(line, 83, 10),                   // t_vtsz
        numberParam(fixedField(line, 94, 15)),        // t_ear
        QStringLiteral("kg"),                         // t_megy
        numberParam(fixedField(line, 110, 3)),        // t_Kompmerteke
        QStringLiteral("1"),                          // t_akod
    });
}

QueryParams purchaserParams(const QString& line, int lineNumber) {
    return numbered({
        QString::number(lineNumber), // v_akod
        trimmedField(line, 1, 45),   // v_neve
        trimmedField(line, 47, 45),  // v_helyseg
        trimmedField(line, 93, 45),  // v_utca
        trimmedField(line, 139, 4),  // v_irszam
        trimmedField(line, 144, 11), // v_adoszam
    });
}

} // namespace vardelo::previous
