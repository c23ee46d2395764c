#pragma once

// The fixture month of the return tests: the purchaser's own data, producers, and tickets with their lines
// written straight into the test database.

#include "data/data_module.h"
#include "data/shared_values.h"
#include "support/test_database.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QTest>

namespace vardelo::testing {

// Purchaser "1" with a tax identifier, chosen as the purchaser window leaves it.
inline void chooseReturnPurchaser(TestDatabase& db) {
    db.exec("UPDATE atvevo SET v_adoazon = '8234567891' WHERE v_akod = '1'");
    Data->IBTable6->Close();
    Data->IBTable6->Open();
    QVERIFY(Data->IBTable6->Locate("V_AKOD", "1", 0));
    AktAkod = "1";
}

inline void storeProducer(TestDatabase& db, const QString& code, const QString& name,
                          const QString& adoazon) {
    db.exec(QStringLiteral("INSERT INTO ostermelo (o_kod, o_nev, o_adoazon) VALUES ('%1', '%2', '%3')")
                .arg(code, name, adoazon));
}

// A ticket header; `paid` is an SQL date literal or NULL, `prn` an SQL literal.
inline void storeHeader(TestDatabase& db, const QString& number, const QString& producer, const QString& paid,
                        const QString& prn = "'I'", const QString& akod = "1",
                        const QString& bought = "'2010-08-01'") {
    db.exec(QStringLiteral("INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, "
                           "f_prn, f_szja) VALUES ('%1', '%2', '%3', %4, %4, %5, %6, 15)")
                .arg(number, akod, producer, bought, paid, prn));
}

// A line whose purchase price is gross * unit price * (1 + rate / 100) (no weight deduction).
inline void storeItem(TestDatabase& db, const QString& number, const QString& gross, const QString& unitPrice,
                      const QString& rate, const QString& name = "Süldő", const QString& akod = "1") {
    db.exec(
        QStringLiteral("INSERT INTO fjsor (s_bszam, s_termekkod, s_megnevezes, s_vtsz, s_brutto, "
                       "s_levonszaz, s_megy, s_ear, s_kompmerteke, s_akod, s_mennyiseg) VALUES ('%1', '2', "
                       "'%5', '0103 91 10', %2, 0, 'kg', %3, %4, '%6', %2)")
            .arg(number, gross, unitPrice, rate, name, akod));
}

// The local folder of "C:\DU2010\MM\", created when asked.
inline QString monthFolder(const QString& month, bool create = true) {
    const QString path = qEnvironmentVariable("VARDELO_DRIVE_C") + "/DU2010/" + month;
    if (create)
        QDir().mkpath(path);
    return path;
}

inline QByteArray fileBytes(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return QByteArray("<missing>");
    return f.readAll();
}

} // namespace vardelo::testing
