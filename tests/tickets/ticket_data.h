#pragma once

// What the ticket tests share: the purchaser chosen, tickets and lines written straight into the test
// database, and values read back (through the program's transaction, or as committed).

#include "data/connection.h"
#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/query.h"
#include "data/shared_values.h"
#include "data/transaction.h"
#include "support/test_database.h"

#include <QString>
#include <QTest>

namespace vardelo::testing {

// The purchaser chosen as the purchaser window leaves it: AktAkod, VerzioBetu and IBTable6 on its row.
inline void selectPurchaser(const QString& akod) {
    Data->IBTable6->Close();
    Data->IBTable6->Open();
    QVERIFY(Data->IBTable6->Locate("V_AKOD", akod, 0));
    AktAkod = akod;
    VerzioBetu = Data->IBTable6->FieldByName("V_VERZIO").AsString().left(1);
}

// A value read through the program's own transaction (uncommitted writes included).
inline QVariant value(const QString& sql) {
    TZQuery q("check", Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {sql});
    return q.IsEmpty() ? QVariant() : q.Fields(0).Value();
}

// A value as another connection sees it: only what was committed.
inline QVariant committedValue(const QString& sql) {
    TConnection other("other");
    other.Connect();
    QVariant result;
    {
        TTransaction trans("otherTrans", &other);
        TZQuery q("otherQuery", &other, &trans);
        vardelo::openQuery(&q, {sql});
        result = q.IsEmpty() ? QVariant() : q.Fields(0).Value();
        q.Close();
        trans.Rollback();
    }
    other.Disconnect();
    return result;
}

struct StoredTicket {
    QString number = "10000001";
    QString akod = "1";
    QString producer = "1";
    QString kelt = "2010-08-31";
    QString prn = "NULL"; // SQL literal: NULL, ' ' or 'I'
    QString utal = " ";
    QString szja = "15";
    QString jarulszaz = "2";
    QString levonas = "0";
    QString megj = "Első jegy";
    QString nyilatk = "A termékek saját gazdaságomból származnak.";
};

inline void storeTicket(TestDatabase& db, const StoredTicket& t) {
    db.exec(QStringLiteral(
                "INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, f_utal, "
                "f_prn, f_szja, f_jarulszaz, f_levonas, f_megj, f_nyilatk) VALUES ('%1', '%2', '%3', "
                "'%4', '%4', '%4', '%5', %6, %7, %8, %9, '%10', '%11')")
                .arg(t.number, t.akod, t.producer, t.kelt, t.utal, t.prn, t.szja, t.jarulszaz, t.levonas)
                .arg(t.megj, t.nyilatk));
}

struct StoredLine {
    QString number = "10000001";
    QString animal = "2";
    QString name = "Süldő";
    QString gross = "100";
    QString levonszaz = "12";
    QString ear = "420";
    QString komp = "7";
};

inline void storeLine(TestDatabase& db, const StoredLine& l) {
    db.exec(QStringLiteral(
                "INSERT INTO fjsor (s_bszam, s_termekkod, s_megnevezes, s_vtsz, s_brutto, s_levonszaz, "
                "s_megy, s_ear, s_kompmerteke, s_akod) VALUES ('%1', '%2', '%3', '0103 91 10', %4, %5, "
                "'kg', %6, %7, '1')")
                .arg(l.number, l.animal, l.name, l.gross, l.levonszaz, l.ear, l.komp));
}

inline int lineCount(const QString& number) {
    return value("SELECT COUNT(*) FROM fjsor WHERE s_bszam = '" + number + "'").toInt();
}

// The lines of this desk's unsaved ticket: without a number, under the desk's mark.
inline int unsavedLineCount() {
    return value("SELECT COUNT(*) FROM fjsor WHERE s_bszam IS NULL AND s_munkahely = '" +
                 Data->ZCon1->DeskName + "'")
        .toInt();
}

// A line of another desk's unsaved ticket of purchaser 1, last written the given minutes ago.
inline void storeUnsavedLine(TestDatabase& db, const QString& desk, const QString& name, int minutesAgo = 0) {
    db.exec(QStringLiteral(
                "INSERT INTO fjsor (s_bszam, s_termekkod, s_megnevezes, s_vtsz, s_brutto, s_levonszaz, "
                "s_megy, s_ear, s_kompmerteke, s_akod, s_munkahely, s_munkaido) VALUES (NULL, '2', "
                "'%1', '0103 91 10', 5, 12, 'kg', 420, 7, '1', '%2', "
                "DATEADD(MINUTE, -%3, CURRENT_TIMESTAMP))")
                .arg(name, desk)
                .arg(minutesAgo));
}

} // namespace vardelo::testing
