#include "returns/import_file.h"

#include "data/identifier_checks.h"
#include "data/text_formats.h"

namespace vardelo::returns {

QString compactDate(const QDate& date) {
    const QDate day = date.isValid() ? date : QDate(1899, 12, 30);
    return day.toString(QStringLiteral("yyyyMMdd"));
}

std::optional<QString> periodMonth(const QDate& from, const QDate& to) {
    if (!from.isValid() || !to.isValid() || from.month() != to.month())
        return std::nullopt;
    return from.toString(QStringLiteral("MM"));
}

QString monthFolderText(const QString& month) {
    return returnRoot + month + QLatin1Char('\\');
}

QString importFileName(const QDate& from, const QString& adoazon) {
    return QStringLiteral("1008M") + from.toString(QStringLiteral("yyyyMM")) + QLatin1Char('_') + adoazon +
           QStringLiteral(".imp");
}

QString listFileName(const QDate& from, const QDate& to) {
    return QStringLiteral("1008M_") + compactDate(from) + QLatin1Char('_') +
           to.toString(QStringLiteral("MMdd")) + QStringLiteral(".txt");
}

bool fileNameSafeIdentifier(const QString& adoazon) {
    for (const QChar c : adoazon) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    }
    return true;
}

QStringList importFileLines(const ImportPurchaser& purchaser, const ImportProducer& producer,
                            const QDate& from, const QDate& to, const Decimal& amount) {
    const NameParts name = splitName(producer.nev);
    const NameParts birthName = splitName(producer.szulnev);
    const NameParts mother = splitName(producer.anyja);
    const QChar u('_');
    return {
        QStringLiteral("$ny_azon=1008M"),
        QStringLiteral("$sorok_száma=28"),
        QStringLiteral("$d_lapok_száma=0"),
        QStringLiteral("$info=") + producer.kod + u + producer.nev + u + producer.adoazon,
        QStringLiteral("13841=") + purchaser.adoszam,
        QStringLiteral("13843=") + purchaser.neve,
        QStringLiteral("16697=") + compactDate(from),
        QStringLiteral("16698=") + compactDate(to),
        QStringLiteral("13845=") + producer.neme,
        QStringLiteral("13846=HUN"),
        QStringLiteral("13844=") + producer.adoazon,
        QStringLiteral("13848=") + producer.igszam,
        QStringLiteral("13849=") + producer.csgazd,
        QStringLiteral("13850=") + producer.regszam,
        QStringLiteral("12458=") + wholeAmountText(amount),
        QStringLiteral("12461=2"),
        QStringLiteral("12456="),
        QStringLiteral("13854=") + producer.szulhely,
        QStringLiteral("13855=") + compactDate(producer.szido),
        QStringLiteral("16672=") + producer.taj,
        QStringLiteral("13847=") + producer.adoszam,
        QStringLiteral("14807=") + name.familyName,
        QStringLiteral("14808=") + name.givenName,
        QStringLiteral("17052=") + birthName.familyName,
        QStringLiteral("17053=") + birthName.givenName,
        QStringLiteral("17054=") + mother.familyName,
        QStringLiteral("17055=") + mother.givenName,
        QStringLiteral("12460=2"),
        QStringLiteral("13842=") + purchaser.adoazon,
    };
}

} // namespace vardelo::returns
