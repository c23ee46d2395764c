#pragma once

// Fixture data for the layout files: tickets with their lines in a test database, the layout files in the
// working folder, the ticket's datasets and variables set up the way the print routine sets them, and the
// rendered pages kept for a look when VARDELO_REPORT_OUTPUT names a folder.

#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/text_formats.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>
#include <cmath>

namespace vardelo::testing {

inline QString sourceFolder() {
    const QString dir = qEnvironmentVariable("VARDELO_SOURCE_DIR");
    if (!dir.isEmpty())
        return dir;
    // This header lies in tests/reports of the source folder.
    return QFileInfo(QStringLiteral(__FILE__)).absoluteDir().filePath(QStringLiteral("../.."));
}

// Copies the program's layout files into the working folder, as the run command does.
inline void copyLayouts() {
    const QDir layouts(QDir(sourceFolder()).filePath(QStringLiteral("layouts")));
    const QStringList files = layouts.entryList({QStringLiteral("*.frf")}, QDir::Files);
    QVERIFY2(!files.isEmpty(), qPrintable(layouts.path()));
    for (const QString& file : files) {
        QFile::remove(file);
        QVERIFY(QFile::copy(layouts.filePath(file), file));
    }
}

// The parameters p1, p2, ... in order: dates as dates, numbers as floats (as the screens bind amounts),
// anything else as text.
inline QueryParams numbered(const QVariantList& params) {
    QueryParams named;
    for (int i = 0; i < params.size(); ++i) {
        const QVariant& v = params[i];
        QVariant bound;
        if (v.typeId() == QMetaType::QDate)
            bound = v.toDate();
        else if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Int)
            bound = v.toDouble();
        else
            bound = v.toString();
        named.emplace_back(QStringLiteral("p%1").arg(i + 1), bound);
    }
    return named;
}

// Without parameters the data module's own helper opens the query.
using vardelo::openQuery;

inline void openQuery(TZQuery* q, const QStringList& lines, const QVariantList& params) {
    vardelo::openQuery(q, lines, numbered(params));
}

inline void execQuery(const QStringList& lines, const QVariantList& params) {
    executeAndCommit(Data->ZQ12, lines, numbered(params));
}

struct TicketHeader {
    QString bszam;
    QString akod = QStringLiteral("2");
    QString okod = QStringLiteral("1");
    QDate kelt = QDate(2010, 8, 31);
    QDate felvkelt = QDate(2010, 8, 30);
    QDate fizkelt = QDate(2010, 8, 31);
    QString utal = QStringLiteral(" ");
    QString prn = QStringLiteral(" ");
    double szja = 15;
    double jarulszaz = 2;
    double levonas = 0;
    QString megj;
    QString nyilatk = QStringLiteral("A termékek saját gazdaságomból származnak.");
};

inline void insertTicket(const TicketHeader& h) {
    execQuery(
        {"INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, f_utal, f_prn,",
         "  f_szja, f_jarulszaz, f_levonas, f_megj, f_nyilatk)",
         "  VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8, :p9, :p10, :p11, :p12, :p13)"},
        {h.bszam, h.akod, h.okod, h.kelt, h.felvkelt, h.fizkelt, h.utal, h.prn, h.szja, h.jarulszaz,
         h.levonas, h.megj, h.nyilatk});
}

struct TicketLine {
    QString kod;
    QString megnevezes;
    QString vtsz;
    double brutto;
    double levonszaz;
    double ear;
    double komp;
};

// The demo catalogue's animals.
inline TicketLine animal(int kod, double brutto, double levonszaz = 0) {
    static const QList<TicketLine> animals{{"1", "Vágósertés", "0103 92 19", 0, 0, 310, 7},
                                           {"2", "Süldő", "0103 91 10", 0, 0, 420, 7},
                                           {"3", "Vágómarha", "0102 90 59", 0, 0, 395.5, 7},
                                           {"4", "Borjú", "0102 90 05", 0, 0, 640, 7},
                                           {"5", "Vágóbárány", "0104 10 30", 0, 0, 720, 12},
                                           {"6", "Pecsenyecsirke", "0105 94 00", 0, 0, 215, 12},
                                           {"7", "Vágókacsa", "0105 99 10", 0, 0, 330, 12}};
    TicketLine line = animals.at(kod - 1);
    line.brutto = brutto;
    line.levonszaz = levonszaz;
    return line;
}

inline void insertLine(const QString& bszam, const QString& akod, const TicketLine& l) {
    execQuery({"INSERT INTO fjsor (s_bszam, s_akod, s_termekkod, s_megnevezes, s_vtsz, s_megy, s_brutto,",
               "  s_levonszaz, s_ear, s_kompmerteke)",
               "  VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8, :p9, :p10)"},
              {bszam, akod, l.kod, l.megnevezes, l.vtsz, QStringLiteral("kg"), l.brutto, l.levonszaz, l.ear,
               l.komp});
}

// Hungarian words of a whole number, for the fixture's amount in words.
inline QString wordsOf(qint64 n) {
    static const QStringList units{"",   "egy", "kettö", "három", "négy",
                                   "öt", "hat", "hét",   "nyolc", "kilenc"};
    static const QStringList tens{"",      "tizen",  "huszon", "harminc",  "negyven",
                                  "ötven", "hatvan", "hetven", "nyolcvan", "kilencven"};
    static const QStringList suffix{" ", "ezer-", "millió-", "milliárd-"};
    if (n == 0)
        return "nulla";
    QString digits = QString::number(n);
    while (digits.size() % 3)
        digits.prepend(u'0');
    QString out;
    const int groups = int(digits.size() / 3);
    for (int g = 0; g < groups; ++g) {
        const QString d = digits.mid(g * 3, 3);
        if (d == u"000")
            continue;
        const int h = d[0].digitValue(), t = d[1].digitValue(), u = d[2].digitValue();
        if (h >= 2)
            out += units[h];
        if (h >= 1)
            out += "száz";
        if (d.mid(1) == u"10")
            out += "tíz";
        else if (d.mid(1) == u"20")
            out += "húsz";
        else
            out += tens[t] + units[u];
        out += suffix[groups - 1 - g];
    }
    return out;
}

// Opens the ticket's datasets and sets the report variables as the print routine does before it shows the
// ticket. copyMark is the text of v_masolat.
inline void setUpTicket(const QString& bszam, const QString& copyMark = QStringLiteral(" ")) {
    openQuery(Data->ZQ10,
              {"SELECT * FROM fjfej LEFT JOIN ostermelo ON f_ostermkod = o_kod",
               "  WHERE f_akod = :p1 ORDER BY f_bszam"},
              {QStringLiteral("2")});
    QVERIFY(Data->ZQ10->Locate("F_BSZAM", bszam, loCaseInsensitive | loPartialKey));
    const QString okod = Data->ZQ10->FieldByName("F_OSTERMKOD").AsString();
    openQuery(Data->ZQ20, {"SELECT * FROM fjsor WHERE s_bszam = :p1 ORDER BY id_fjsor"}, {bszam});
    openQuery(Data->ZQ30, {"SELECT * FROM ostermelo WHERE o_kod = :p1"}, {okod});
    openQuery(Data->ZQ21,
              {"SELECT s_bszam, SUM(s_felvar) AS far, SUM(s_kompfelar) AS kar, SUM(s_vetelar) AS var",
               "  FROM fjsor LEFT JOIN fjfej ON f_bszam = s_bszam WHERE s_bszam = :p1 GROUP BY s_bszam"},
              {bszam});
    Data->IBTable6->Close();
    Data->IBTable6->Open();
    QVERIFY(Data->IBTable6->Locate("V_AKOD", QStringLiteral("2"), 0));

    TDataSet* h = Data->ZQ10;
    const double far = Data->ZQ21->IsEmpty() ? 0 : Data->ZQ21->FieldByName("FAR").AsFloat();
    const double kar = Data->ZQ21->IsEmpty() ? 0 : Data->ZQ21->FieldByName("KAR").AsFloat();
    const double var = Data->ZQ21->IsEmpty() ? 0 : Data->ZQ21->FieldByName("VAR").AsFloat();
    const double szja = h->FieldByName("F_SZJA").AsFloat();
    const double jszaz = h->FieldByName("F_JARULSZAZ").AsFloat();
    const double levon = h->FieldByName("F_LEVONAS").AsFloat();
    const double szja2 = szja * var / 100;
    const double jarul = jszaz * (var - szja2) / 100;
    const qint64 kif = qint64(roundHalfEven(var - szja2 - jarul - levon));
    const QString kifText = QString::number(kif);
    setReportVariable("v_far", far);
    setReportVariable("v_kar", kar);
    setReportVariable("v_var", var);
    setReportVariable("v_szja", szja);
    setReportVariable("v_szja2", szja2);
    setReportVariable("v_jszaz", jszaz);
    setReportVariable("v_jarul", jarul);
    setReportVariable("v_levon", levon);
    setReportVariable("v_kif", kifText);
    setReportVariable("v_azaz", wordsOf(kif) + " 00/100 Forint");
    const QString dots = QString(77, u'.');
    const QString signature = QStringLiteral(" a mezögazd. tevék. folytató adóalany aláirása");
    const QString fizkelt = dateText(h->FieldByName("F_FIZKELT").AsDate());
    if (h->FieldByName("F_UTAL").AsString() != u"x") {
        setReportVariable("v_fizmod", QStringLiteral("Fizetés módja: Kp."));
        setReportVariable("v_utal", QStringLiteral(" "));
        setReportVariable("v_kp1", "A kifizetendö összegét " + kifText + " Ft -ot, azaz");
        setReportVariable("v_kp2", wordsOf(kif) + " 00/100 Forint -ot a mai napon átvettem.");
        setReportVariable("v_kp3", "Az összeg átvételének idöpontja:" + fizkelt);
        setReportVariable("v_kp4", dots);
        setReportVariable("v_kp5", signature);
    } else {
        setReportVariable("v_fizmod", QStringLiteral("Fizetés módja: Átutalás"));
        setReportVariable("v_utal", "Átutalás határideje:  " + fizkelt);
        for (int i = 1; i <= 5; ++i)
            setReportVariable(QStringLiteral("v_kp%1").arg(i), QString());
    }
    const QString nyilatk = h->FieldByName("F_NYILATK").AsString();
    if (nyilatk.size() < 6) {
        setReportVariable("v_nyilatk1", QStringLiteral(" "));
        setReportVariable("v_nyilatk2", QStringLiteral(" "));
        setReportVariable("v_nyilatk3", QStringLiteral("  "));
    } else {
        setReportVariable("v_nyilatk1", "Nyilatkozat: " + nyilatk);
        setReportVariable("v_nyilatk2", dots);
        setReportVariable("v_nyilatk3", signature);
    }
    setReportVariable("v_masolat", copyMark);
    setReportVariable("v_modositva", QStringLiteral(" "));
}

// Keeps a PDF of the report for a look when VARDELO_REPORT_OUTPUT names a folder.
inline void keepPdf(const TfrReport& report, const QString& name) {
    const QString folder = qEnvironmentVariable("VARDELO_REPORT_OUTPUT");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    QString error;
    QVERIFY2(report.ExportToPdf(QDir(folder).filePath(name + ".pdf"), &error), qPrintable(error));
}

// The text of a PDF file, laid out as on the page.
inline QString pdfText(const QString& path) {
    QProcess process;
    process.start(QStandardPaths::findExecutable("pdftotext"), {"-layout", path, "-"});
    process.waitForFinished(30000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace vardelo::testing
