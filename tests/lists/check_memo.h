// The names of the batch check's twenty checks, in the order the memo shows them.
#pragma once

#include <QStringList>

inline const QStringList kNames{"Adószám",
                                "Adóazonositó",
                                "TAJ",
                                "Östermelökód",
                                "Östermelö név",
                                "Östermelö irányitószám",
                                "Östermelö Helységnév",
                                "Östermelö Utca",
                                "Östermelö ig.szám",
                                "Östermelö születési hely",
                                "Östermelö születési idö",
                                "Östermelö anyja neve",
                                "Östermelö neme",
                                "Östermelö születési neve",
                                "Szja",
                                "Volt-e nyomtatva?",
                                "Termékkód",
                                "Mennyiség",
                                "Egységár",
                                "Komp.felár"};

// The opening and closing lines of one check.
inline QStringList framed(const QString& name, const QStringList& failures) {
    return QStringList{"    " + name + " ellenörzés... "} + failures +
           QStringList{"    " + name + " ellenörzés vége. ", " "};
}
