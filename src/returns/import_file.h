#pragma once

#include "data/decimal.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <optional>

// The import files of the monthly return form 1008M: the period rule, the file names and the 29 lines of one
// producer's file. Plain functions; the collection and the window call them.
namespace vardelo::returns {

// What the return needs of the purchaser (the selected ATVEVO row).
struct ImportPurchaser {
    QString adoszam; // V_ADOSZAM
    QString neve;    // V_NEVE
    QString adoazon; // V_ADOAZON
};

// What the return needs of a producer (an OSTERMELO row; all empty when the code has no row).
struct ImportProducer {
    QString kod;
    QString nev;
    QString adoazon;
    QString neme;
    QString igszam;
    QString csgazd;
    QString regszam;
    QString szulhely;
    QDate szido; // null when unknown
    QString taj;
    QString adoszam;
    QString szulnev;
    QString anyja;
};

// The fixed folder of the return files.
inline const QString returnRoot = QStringLiteral("C:\\DU2010\\");

// A date as year, month and day without separators: 2010.08.31. gives "20100831". A missing date gives the
// zero date of the date arithmetic, 1899.12.30.
QString compactDate(const QDate& date);

// The period check: the two dates must lie in the same month number (years are not compared, nor the order).
// Gives the month as two digits, or nothing when the months differ.
std::optional<QString> periodMonth(const QDate& from, const QDate& to);
// "C:\DU2010\08\" for month "08".
QString monthFolderText(const QString& month);

// "1008M201008_8123456789.imp": year and month of the from-date, the producer's tax identifier.
QString importFileName(const QDate& from, const QString& adoazon);
// "1008M_20100801_0831.txt": the from-date, the to-date's month and day.
QString listFileName(const QDate& from, const QDate& to);
// A tax identifier that can stand in a file name: digits only (or none at all).
bool fileNameSafeIdentifier(const QString& adoazon);

// The 29 lines of a producer's import file, without line ends. The amount is the producer's exact sum,
// rounded here once to whole forints, a half away from zero (405 328,50 writes "12458=405329").
QStringList importFileLines(const ImportPurchaser& purchaser, const ImportProducer& producer,
                            const QDate& from, const QDate& to, const Decimal& amount);

} // namespace vardelo::returns
