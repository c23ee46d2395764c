#include "data/text_formats.h"
#include "reports/report_error.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "test_layout.h"
#include "ticket_data.h"
#include "tickets/number_words.h"
#include "tickets/print_routine.h"
#include "tickets/settlement.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace vardelo;
using namespace vardelo::testing;

namespace {

QString variable(const char* name) {
    return reportVariable(QString::fromLatin1(name)).toString();
}

// The browser standing on a ticket.
void standOn(const QString& number) {
    tickets::openTicketHeaders();
    QVERIFY(Data->ZQ10->Locate("F_BSZAM", number, 0));
}

// The preview: its pages are checked by the caller after the routine returns.
UiRecorder::ModalScript preview() {
    return [](QDialog& dialog) { QCOMPARE(dialog.objectName(), QString("frPreviewForm")); };
}

// A ticket of 10000 forints: the lines 60 × 100 and 40 × 100 without deduction and surcharge.
void storeTenThousand(TestDatabase& db, StoredTicket ticket) {
    storeTicket(db, ticket);
    storeLine(db, {.number = ticket.number,
                   .name = "Süldő",
                   .gross = "60",
                   .levonszaz = "0",
                   .ear = "100",
                   .komp = "0"});
    storeLine(db, {.number = ticket.number,
                   .name = "Borjú",
                   .gross = "40",
                   .levonszaz = "0",
                   .ear = "100",
                   .komp = "0"});
}

} // namespace

class TestPrintRoutine : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void firstPrintMarksLaterOnesAreCopies();
    void viewNeverMarks();
    void markIsCommittedAtOnce();
    void settlementAndWords();
    void payableOnAHalfNotExactInBinary_data();
    void payableOnAHalfNotExactInBinary();
    void paymentBlocks_data();
    void paymentBlocks();
    void declarationBlocks_data();
    void declarationBlocks();
    void ticketWithoutLines();
    void payableBeyond32BitsStopsBeforeMarking();
    void missingLayoutShowsNothing();
    void layoutNotReadyNeverMarks_data();
    void layoutNotReadyNeverMarks();
    void variablesSetBeforeEveryShow();
    void changedAfterPrintSaysSo();
    void printedDemoTicket();

private:
    std::unique_ptr<TestDatabase> db_;
    std::unique_ptr<UiRecorder> rec_;
};

void TestPrintRoutine::init() {
    db_ = std::make_unique<TestDatabase>(true);
    rec_ = std::make_unique<UiRecorder>();
    selectPurchaser("1");
    writeTicketLayout("FjLista7A.frf");
}

void TestPrintRoutine::cleanup() {
    rec_.reset();
    db_.reset();
}

void TestPrintRoutine::firstPrintMarksLaterOnesAreCopies() {
    storeTenThousand(*db_, {});
    standOn("10000001");
    NyomtMod = tickets::Nyomtat;
    rec_->expectModal(preview());
    tickets::printTicket();
    QCOMPARE(rec_->modalsShown, QStringList{"frPreviewForm"});
    const auto& pages = Data->frNyomtat->PreparedPages().pages;
    QCOMPARE(pages.size(), size_t(3));
    QCOMPARE(pages[0].copyName, QString("2. példány"));
    QCOMPARE(printed(pages[0], "v_masolat"), QString(" "));
    QVERIFY(pages[0].texts().contains("Sorszám:10000001"));
    QVERIFY(pages[0].texts().contains("sor=Süldő"));
    QVERIFY(pages[0].texts().contains("sor=Borjú"));
    QCOMPARE(value("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString("I"));
    // The list is read again and stands on the ticket, which shows the mark.
    QCOMPARE(Data->ZQ10->FieldByName("F_BSZAM").AsString(), QString("10000001"));
    QCOMPARE(Data->ZQ10->FieldByName("F_PRN").AsString(), QString("I"));

    for (const QString& mode : {tickets::Nyomtat, tickets::Megtekint}) {
        NyomtMod = mode;
        rec_->expectModal(preview());
        tickets::printTicket();
        TfrReport* report = mode == tickets::Nyomtat ? Data->frNyomtat : Data->frMegtekint;
        QCOMPARE(report->PreparedPages().pages.size(), size_t(mode == tickets::Nyomtat ? 3 : 1));
        QCOMPARE(printed(report->PreparedPages().pages[0], "v_masolat"), QString("MÁSOLATI PÉLDÁNY"));
    }
    QCOMPARE(Data->frMegtekint->PreparedPages().pages[0].copyName, QString("1. példány"));
}

void TestPrintRoutine::viewNeverMarks() {
    storeTenThousand(*db_, {.prn = "' '"});
    standOn("10000001");
    NyomtMod = tickets::Megtekint;
    rec_->expectModal(preview());
    tickets::printTicket();
    rec_->expectModal(preview());
    tickets::printTicket();
    QCOMPARE(rec_->modalsShown.size(), 2);
    QCOMPARE(value("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString(" "));
    QCOMPARE(variable("v_masolat"), QString(" "));
    QCOMPARE(Data->frMegtekint->PreparedPages().pages.size(), size_t(1));
}

void TestPrintRoutine::markIsCommittedAtOnce() {
    storeTenThousand(*db_, {});
    standOn("10000001");
    NyomtMod = tickets::Nyomtat;
    tickets::printTicket();
    QCOMPARE(committedValue("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString("I"));
    // A later rollback anywhere does not take the mark back.
    if (Data->IBTrans1->Active())
        Data->IBTrans1->Rollback();
    QCOMPARE(committedValue("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString("I"));
}

void TestPrintRoutine::settlementAndWords() {
    storeTenThousand(*db_, {.szja = "15", .jarulszaz = "2", .levonas = "0"});
    standOn("10000001");
    NyomtMod = tickets::Megtekint;
    tickets::printTicket();
    QCOMPARE(reportVariable("v_far").toDouble(), 10000.0);
    QCOMPARE(reportVariable("v_kar").toDouble(), 0.0);
    QCOMPARE(reportVariable("v_var").toDouble(), 10000.0);
    QCOMPARE(reportVariable("v_szja").toDouble(), 15.0);
    QCOMPARE(reportVariable("v_szja2").toDouble(), 1500.0);
    QCOMPARE(reportVariable("v_jszaz").toDouble(), 2.0);
    QCOMPARE(reportVariable("v_jarul").toDouble(), 170.0);
    QCOMPARE(reportVariable("v_levon").toDouble(), 0.0);
    QCOMPARE(variable("v_kif"), QString("8330"));
    QCOMPARE(variable("v_azaz"), QString("nyolcezer-háromszázharminc  00/100 Forint"));
}

// Tickets whose payable lies exactly on a half that binary floating point cannot hold go to the even
// neighbour, in the variables, on the page, and in words (doubles gave 124 969 and 704 931).
void TestPrintRoutine::payableOnAHalfNotExactInBinary_data() {
    QTest::addColumn<QStringList>("prices"); // the lines' unit prices, 1 kg each, no surcharge
    QTest::addColumn<QString>("szja");
    QTest::addColumn<QString>("jarulszaz");
    QTest::addColumn<QString>("levonas");
    QTest::addColumn<QString>("szja2");
    QTest::addColumn<QString>("jarul");
    QTest::addColumn<QString>("kif");
    QTest::addColumn<QString>("szja2OnTicket"); // as the ticket's layout prints it
    QTest::newRow("138 856,70 less 10 % and 2,53") << QStringList{"81776.34", "57080.36"} << "10"
                                                   << "0"
                                                   << "2.53"
                                                   << "13885,67"
                                                   << "0"
                                                   << "124968"
                                                   << "13 885,67";
    QTest::newRow("723 387,20 less 2,5 % and 371,02") << QStringList{"405328.50", "318058.70"} << "0"
                                                      << "2.5"
                                                      << "371.02"
                                                      << "0"
                                                      << "18084,68"
                                                      << "704932"
                                                      << "0,00";
    QTest::newRow("1 263 641,95 less 20 % and 24,06") << QStringList{"500000.00", "500000.00", "263641.95"} << "20"
                                                      << "0"
                                                      << "24.06"
                                                      << "252728,39"
                                                      << "0"
                                                      << "1010890"
                                                      << "252 728,39";
}

void TestPrintRoutine::payableOnAHalfNotExactInBinary() {
    QFETCH(QStringList, prices);
    QFETCH(QString, szja);
    QFETCH(QString, jarulszaz);
    QFETCH(QString, levonas);
    QFETCH(QString, szja2);
    QFETCH(QString, jarul);
    QFETCH(QString, kif);
    QFETCH(QString, szja2OnTicket);
    storeTicket(*db_, {.szja = szja, .jarulszaz = jarulszaz, .levonas = levonas});
    for (const QString& price : prices)
        storeLine(*db_, {.gross = "1", .levonszaz = "0", .ear = price, .komp = "0"});
    standOn("10000001");
    NyomtMod = tickets::Megtekint;
    rec_->expectModal(preview());
    tickets::printTicket();
    QCOMPARE(variable("v_kif"), kif);
    QCOMPARE(variable("v_azaz"), azazText(SzamBetuvel(kif.toInt())));
    const auto& page = Data->frMegtekint->PreparedPages().pages.at(0);
    QCOMPARE(printed(page, "v_kif"), kif);
    QCOMPARE(printed(page, "v_szja2"), szja2);
    QCOMPARE(printed(page, "v_jarul"), jarul);
    QCOMPARE(printed(page, "v_kp1"), "A kifizetendö összegét " + kif + " Ft -ot, azaz");

    // On the program's own ticket layout: the payable, the tax in two decimals, the payable in words.
    QFile::remove("FjLista7A.frf");
    QVERIFY(QFile::copy(QDir(qEnvironmentVariable("VARDELO_SOURCE_DIR")).filePath("layouts/FjLista7A.frf"),
                        "FjLista7A.frf"));
    rec_->expectModal(preview());
    tickets::printTicket();
    const QStringList texts = Data->frMegtekint->PreparedPages().pages.at(0).texts();
    QVERIFY2(texts.contains(kif), qPrintable(texts.join('|')));
    QVERIFY2(texts.contains(szja2OnTicket), qPrintable(texts.join('|')));
    QVERIFY(texts.contains("azaz " + azazText(SzamBetuvel(kif.toInt()))));
    const QString output = qEnvironmentVariable("VARDELO_REPORT_OUTPUT");
    if (!output.isEmpty()) {
        QDir().mkpath(output);
        QString error;
        QVERIFY2(Data->frMegtekint->ExportToPdf(QDir(output).filePath("jegy-" + kif + ".pdf"), &error),
                 qPrintable(error));
    }
}

void TestPrintRoutine::paymentBlocks_data() {
    QTest::addColumn<QString>("utal");
    QTest::addColumn<QStringList>("expected"); // v_fizmod, v_utal, v_kp1 ... v_kp5
    const QString dots(77, QChar('.'));
    QTest::newRow("cash") << " "
                          << QStringList{
                                 "Fizetés módja: Kp.",
                                 " ",
                                 "A kifizetendö összegét 8330 Ft -ot, azaz",
                                 "nyolcezer-háromszázharminc  00/100 Forint -ot a mai napon átvettem.",
                                 "Az összeg átvételének idöpontja:2010.08.31.",
                                 dots,
                                 " a mezögazd. tevék. folytató adóalany aláirása"};
    QTest::newRow("transfer")
        << "x"
        << QStringList{"Fizetés módja: Átutalás", "Átutalás határideje:  2010.08.31.", "", "", "", "", ""};
}

void TestPrintRoutine::paymentBlocks() {
    QFETCH(QString, utal);
    QFETCH(QStringList, expected);
    storeTenThousand(*db_, {.utal = utal});
    standOn("10000001");
    NyomtMod = tickets::Megtekint;
    tickets::printTicket();
    const char* names[] = {"v_fizmod", "v_utal", "v_kp1", "v_kp2", "v_kp3", "v_kp4", "v_kp5"};
    for (int i = 0; i < 7; ++i)
        QCOMPARE(variable(names[i]), expected[i]);
}

void TestPrintRoutine::declarationBlocks_data() {
    QTest::addColumn<QString>("declaration");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("5 characters") << "Saját" << QStringList{" ", " ", "  "};
    QTest::newRow("6 characters") << "Sajáté"
                                  << QStringList{"Nyilatkozat: Sajáté", QString(77, QChar('.')),
                                                 " a mezögazd. tevék. folytató adóalany aláirása"};
}

void TestPrintRoutine::declarationBlocks() {
    QFETCH(QString, declaration);
    QFETCH(QStringList, expected);
    storeTenThousand(*db_, {.nyilatk = declaration});
    standOn("10000001");
    NyomtMod = tickets::Megtekint;
    tickets::printTicket();
    QCOMPARE(QStringList({variable("v_nyilatk1"), variable("v_nyilatk2"), variable("v_nyilatk3")}), expected);
}

void TestPrintRoutine::ticketWithoutLines() {
    storeTicket(*db_, {.szja = "15", .levonas = "0"});
    standOn("10000001");
    NyomtMod = tickets::Nyomtat;
    rec_->expectModal(preview());
    tickets::printTicket();
    QCOMPARE(reportVariable("v_var").toDouble(), 0.0);
    QCOMPARE(variable("v_kif"), QString("0"));
    QCOMPARE(variable("v_azaz"), QString("nulla 00/100 Forint"));
    QCOMPARE(rec_->modalsShown.size(), 1);
}

void TestPrintRoutine::payableBeyond32BitsStopsBeforeMarking() {
    storeTenThousand(*db_, {.levonas = "-3000000000"});
    standOn("10000001");
    NyomtMod = tickets::Nyomtat;
    QVERIFY_THROWS_EXCEPTION(std::exception, tickets::printTicket());
    QVERIFY(rec_->modalsShown.isEmpty());
    QVERIFY(value("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").isNull());
}

void TestPrintRoutine::missingLayoutShowsNothing() {
    selectPurchaser("2"); // "FjLista7B.frf" is not there
    storeTenThousand(*db_, {.akod = "2", .prn = "' '"});
    standOn("10000001");
    NyomtMod = tickets::Megtekint;
    try {
        tickets::printTicket();
        QFAIL("no error");
    } catch (const EReportError& e) {
        QCOMPARE(e.Message(), QString("Cannot open file FjLista7B.frf"));
    }
    QVERIFY(rec_->modalsShown.isEmpty());
    QCOMPARE(value("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString(" "));
}

// "Nyomtat" with a layout that is missing or faulty shows nothing and leaves the ticket unprinted: once the
// layout is there, the first print is the original, and only then the ticket is marked.
void TestPrintRoutine::layoutNotReadyNeverMarks_data() {
    QTest::addColumn<QByteArray>("layout"); // empty: no file at all
    QTest::addColumn<bool>("raises");
    QTest::newRow("missing") << QByteArray() << true;
    QTest::newRow("not a layout") << QByteArray("<?xml version=\"1.0\"?>\n<report format=\"vardelo-frf\" "
                                                "version=\"1\">\n<band type=\"page-header\"")
                                  << false;
    QTest::newRow("old binary format") << QByteArray("TFRF\x01\x02 régi", 11) << false;
}

void TestPrintRoutine::layoutNotReadyNeverMarks() {
    QFETCH(QByteArray, layout);
    QFETCH(bool, raises);
    QFile::remove("FjLista7A.frf");
    if (!layout.isEmpty()) {
        QFile file("FjLista7A.frf");
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(layout);
    }
    storeTenThousand(*db_, {.prn = "' '"});
    standOn("10000001");
    NyomtMod = tickets::Nyomtat;
    if (raises)
        QVERIFY_THROWS_EXCEPTION(EReportError, tickets::printTicket());
    else
        tickets::printTicket();
    QVERIFY(rec_->modalsShown.isEmpty());
    QCOMPARE(rec_->messages.size(), raises ? 0 : 1);
    QCOMPARE(value("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString(" "));
    QCOMPARE(committedValue("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString(" "));

    writeTicketLayout("FjLista7A.frf");
    standOn("10000001");
    rec_->expectModal(preview());
    tickets::printTicket();
    QCOMPARE(printed(Data->frNyomtat->PreparedPages().pages[0], "v_masolat"), QString(" "));
    QCOMPARE(committedValue("SELECT f_prn FROM fjfej WHERE f_bszam = '10000001'").toString(), QString("I"));
}

void TestPrintRoutine::variablesSetBeforeEveryShow() {
    // Every variable is set again for each ticket: nothing of an earlier ticket is left in them.
    for (const QString& v : ticketVariables())
        setReportVariable(v, QStringLiteral("régi"));
    storeTenThousand(*db_, {});
    standOn("10000001");
    NyomtMod = tickets::Megtekint;
    tickets::printTicket();
    for (const QString& v : ticketVariables())
        QVERIFY2(reportVariable(v).toString() != QStringLiteral("régi"), qPrintable(v));
}

// A ticket changed after a print says so on its next print, with the day of the change; the copy mark
// follows the printed mark as before, and a ticket never changed after a print says nothing.
void TestPrintRoutine::changedAfterPrintSaysSo() {
    storeTenThousand(*db_, {.prn = "'I'"});
    storeTenThousand(*db_, {.number = "10000002", .prn = "' '"});
    db_->exec("UPDATE fjfej SET f_nymod = '2010-08-05' WHERE f_bszam = '10000002'");
    NyomtMod = tickets::Nyomtat;
    for (const auto& [number, copy] :
         {std::pair{"10000001", "MÁSOLATI PÉLDÁNY"}, std::pair{"10000002", " "}}) {
        standOn(number);
        rec_->expectModal(preview());
        tickets::printTicket();
        QCOMPARE(printed(Data->frNyomtat->PreparedPages().pages[0], "v_masolat"), QString(copy));
    }
    QCOMPARE(variable("v_modositva"), QString("Nyomtatás után módosítva: 2010.08.05."));
    // A line changed on the printed ticket dates the change today.
    db_->exec("UPDATE fjsor SET s_brutto = 61 WHERE s_bszam = '10000001' AND s_brutto = 60");
    standOn("10000001");
    rec_->expectModal(preview());
    tickets::printTicket();
    QCOMPARE(variable("v_modositva"), "Nyomtatás után módosítva: " + dateText(QDate::currentDate()));
    QCOMPARE(printed(Data->frNyomtat->PreparedPages().pages[0], "v_masolat"), QString("MÁSOLATI PÉLDÁNY"));
    // Printed the first time, unchanged since: nothing to say.
    storeTenThousand(*db_, {.number = "10000003"});
    standOn("10000003");
    rec_->expectModal(preview());
    tickets::printTicket();
    QCOMPARE(variable("v_modositva"), QString(" "));
}

// The ticket layout of the program with a ticket of three lines: the three copies, the amounts where the
// clerk looks for them. With VARDELO_SCREENSHOTS naming a folder, the pages are written there as a PDF to
// look at.
void TestPrintRoutine::printedDemoTicket() {
    const QString layouts = QDir(qEnvironmentVariable("VARDELO_SOURCE_DIR")).filePath("layouts");
    QFile::remove("FjLista7A.frf");
    QVERIFY(QFile::copy(QDir(layouts).filePath("FjLista7A.frf"), "FjLista7A.frf"));
    storeTicket(*db_, {.number = "10000001", .producer = "1", .megj = "Szállítás a telephelyről"});
    storeLine(*db_,
              {.number = "10000001", .animal = "1", .name = "Vágósertés", .gross = "312.5", .ear = "310"});
    storeLine(*db_, {.number = "10000001", .animal = "2", .name = "Süldő", .gross = "148", .ear = "420"});
    storeLine(*db_, {.number = "10000001",
                     .animal = "5",
                     .name = "Vágóbárány",
                     .gross = "61",
                     .ear = "720",
                     .komp = "12"});
    standOn("10000001");
    NyomtMod = tickets::Nyomtat;
    rec_->expectModal(preview());
    tickets::printTicket();
    const auto& pages = Data->frNyomtat->PreparedPages().pages;
    QCOMPARE(pages.size(), size_t(3));
    QStringList copies;
    for (const auto& page : pages) {
        copies << page.copyName;
        const QStringList texts = page.texts();
        QVERIFY(texts.contains(variable("v_kif")));
        QVERIFY(!texts.contains("MÁSOLATI PÉLDÁNY"));
        for (const char* name : {"Vágósertés", "Süldő", "Vágóbárány", "Kovács János", "Első Felvásárló Kft."})
            QVERIFY2(texts.contains(QString::fromUtf8(name)), name);
    }
    QCOMPARE(copies,
             QStringList({"2. példány: Az östermelöé", "3. példány: A töpéldány", "1. példány: Az átvevöé"}));

    const QString shots = qEnvironmentVariable("VARDELO_SCREENSHOTS");
    if (!shots.isEmpty()) {
        QString error;
        QVERIFY2(Data->frNyomtat->ExportToPdf(QDir(shots).filePath("FjLista7A.pdf"), &error),
                 qPrintable(error));
    }
}

QTEST_MAIN(TestPrintRoutine)
#include "test_print_routine.moc"
