// "Napló": a ticket's road (stored, changed through the service key, printed, changed in the raw editor and
// with isql-fb) read back with the values before and after; the filters; the print and the export; the
// ticket browser's mark and the footer of a ticket changed after its print.

#include "data/data_module.h"
#include "data/shared_values.h"
#include "exchange/xls_reader.h"
#include "exchange/spreadsheet_export.h"
#include "journal/journal_window.h"
#include "reports/report_fixture.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "support/children.h"
#include "support/isql.h"
#include "support/screens.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "tickets/ticket_browser.h"
#include "tickets/ticket_data.h"
#include "tickets/ticket_fixture.h"
#include "widgets/db_grid.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QJsonArray>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

using namespace vardelo;
using namespace vardelo::testing;

namespace {

// The listed entries, newest first: "<table> <kind>".
QStringList listed(TFormNaplo& window) {
    TDataSet* list = child<TDBGrid>(window, "DBGrid1")->DataSet();
    QStringList entries;
    for (int row = 0; row < list->RecordCount(); ++row)
        entries << list->ValueAt(row, list->FieldByName("TABLA").Index()).toString() + QLatin1Char(' ') +
                       list->ValueAt(row, list->FieldByName("MUVELET").Index()).toString();
    return entries;
}

// The columns shown for the entry at a row of the list: "<caption>: <before> -> <after>".
QStringList shownChanges(TFormNaplo& window, int row) {
    child<TDBGrid>(window, "DBGrid1")->DataSet()->SetRecNo(row + 1);
    auto* table = child<QTableWidget>(window, "ChangeTable");
    QStringList changes;
    for (int r = 0; r < table->rowCount(); ++r)
        changes << table->item(r, 0)->text() + QStringLiteral(": ") + table->item(r, 1)->text() +
                       QStringLiteral(" -> ") + table->item(r, 2)->text();
    return changes;
}

QString today() {
    return dateText(QDate::currentDate());
}

} // namespace

class TestJournalWindow : public QObject {
    Q_OBJECT

    std::unique_ptr<TestDatabase> db_;
    std::unique_ptr<UiRecorder> rec_;

    // Ticket 10000001 of purchaser 1, through the program's windows: stored with one line, changed through
    // the service key, printed, changed in the raw table editor; then with isql-fb; a change rolled back.
    void ticketsRoad() {
        TForm8 browser;
        browser.show();
        rec_->expectModal([this](QDialog& dialog) {
            auto* entry = qobject_cast<TForm9*>(&dialog);
            QVERIFY(entry);
            rec_->expectModal(writeLine());
            child<QPushButton>(entry, "NewLineButton")->click();
            fillHeader(*entry);
            child<QLineEdit>(entry, "Edit4")->setText("Első");
            child<QPushButton>(entry, "OkButton")->click();
        });
        child<QPushButton>(browser, "NewButton")->click();
        QCOMPARE(Data->ZQ10->FieldByName("F_BSZAM").AsString(), QString("10000001"));

        QApplication::setActiveWindow(&browser);
        QVERIFY(QTest::qWaitForWindowActive(&browser));
        child<QPushButton>(browser, "ChangeButton")->setFocus();
        rec_->expectModal([](QDialog& dialog) {
            auto* entry = qobject_cast<TForm9*>(&dialog);
            QVERIFY(entry);
            child<QLineEdit>(entry, "Edit4")->setText("Módosított");
            child<QPushButton>(entry, "OkButton")->click();
        });
        QTest::keyClick(child<QPushButton>(browser, "ChangeButton"), Qt::Key_J);

        rec_->expectModal([](QDialog& dialog) { QCOMPARE(dialog.objectName(), QString("frPreviewForm")); });
        child<QPushButton>(browser, "PrintButton")->click();
        browser.close();
        QCOMPARE(rec_->modalsShown, (QStringList{"Form9", "Form10", "Form9", "frPreviewForm"}));
        QVERIFY2(rec_->messages.isEmpty(), qPrintable(rec_->messages.value(0).text));

        // The raw table editor posts through the ticket header table; the next commit keeps it.
        Data->IBTable1->ReadOnly = false;
        Data->IBTable1->Close();
        Data->IBTable1->Open();
        QVERIFY(Data->IBTable1->Locate("F_BSZAM", "10000001", 0));
        Data->IBTable1->Edit();
        Data->IBTable1->FieldByName("F_MEGJ").SetValue("Nyers");
        Data->IBTable1->Post();
        Data->IBTable1->ReadOnly = true;
        Data->IBTrans1->Commit();

        QString errors;
        Data->ZCon1->Disconnect();
        QVERIFY2(runIsql(db_->databasePath(),
                         "UPDATE fjfej SET f_megj = 'isql' WHERE f_bszam = '10000001';\nCOMMIT;\n", &errors),
                 qPrintable(errors));
        Data->ZCon1->Connect();
        selectPurchaser("1");

        TZQuery q("undone", Data->ZCon1, Data->IBTrans1);
        execQuery(&q, {"UPDATE fjfej SET f_megj = 'visszavont' WHERE f_bszam = '10000001'"});
        Data->IBTrans1->Rollback();
        rec_->clear();
    }

private slots:
    void init() {
        if (!isqlAvailable())
            QSKIP("isql-fb is not installed");
        db_ = std::make_unique<TestDatabase>(true);
        rec_ = std::make_unique<UiRecorder>();
        copyLayouts();
        selectPurchaser("1");
        ticketsRoad();
    }
    void cleanup() {
        rec_.reset();
        db_.reset();
    }

    // The ticket's journal, opened from the browser with one key: every step, newest first, with its values
    // before and after; the insert shows what was stored, the change rolled back is not there.
    void ticketsJournalFromTheBrowser() {
        TForm8 browser;
        browser.show();
        QApplication::setActiveWindow(&browser);
        QVERIFY(QTest::qWaitForWindowActive(&browser));
        QVERIFY(Data->ZQ10->Locate("F_BSZAM", "10000001", 0));
        rec_->expectModal([](QDialog& dialog) {
            auto* window = qobject_cast<TFormNaplo*>(&dialog);
            QVERIFY(window);
            QCOMPARE(child<QLineEdit>(window, "TicketEdit")->text(), QString("10000001"));
            QCOMPARE(listed(*window),
                     (QStringList{"Jegy Módosítás", "Jegy Módosítás", "Jegy Nyomtatás", "Jegy Módosítás",
                                  "Jegy tétele Új", "Jegy Új", "Sorszám Módosítás"}));
            QCOMPARE(shownChanges(*window, 0), QStringList{"Megjegyzés (F_MEGJ): Nyers -> isql"});
            QCOMPARE(shownChanges(*window, 1), QStringList{"Megjegyzés (F_MEGJ): Módosított -> Nyers"});
            QCOMPARE(shownChanges(*window, 2), QStringList{"Nyomtatva (F_PRN):   -> I"});
            QCOMPARE(shownChanges(*window, 3),
                     (QStringList{"Nyomtatva (F_PRN):  ->  ", "Megjegyzés (F_MEGJ): Első -> Módosított"}));
            // The line, written before the header, enters the ticket as it is stored with its number.
            const QStringList line = shownChanges(*window, 4);
            QVERIFY(line.contains("Megnevezés (S_MEGNEVEZES):  -> Süldő"));
            QVERIFY(line.contains("Bruttó súly (S_BRUTTO):  -> 100"));
            const QStringList stored = shownChanges(*window, 5);
            QVERIFY(stored.contains("Bizonylatszám (F_BSZAM):  -> 10000001"));
            QVERIFY(stored.contains("Megjegyzés (F_MEGJ):  -> Első"));
            QVERIFY(stored.contains("Kiállítás kelte (F_KELT):  -> 2010.08.31."));
            QVERIFY(stored.contains("Fizetés dátuma (F_FIZKELT):  -> 2010.09.01."));
            QCOMPARE(shownChanges(*window, 6),
                     QStringList{"Utolsó bizonylatszám (A_FJBSZAM): 10000000 -> 10000001"});
            // Who and where: the program's attachments and isql-fb's.
            TDataSet* list = child<TDBGrid>(window, "DBGrid1")->DataSet();
            QVERIFY(list->ValueAt(1, list->FieldByName("MUNKAHELY").Index())
                        .toString()
                        .startsWith(QSysInfo::machineHostName()));
            QCOMPARE(list->ValueAt(1, list->FieldByName("PROGRAM").Index()).toString(),
                     QCoreApplication::applicationFilePath());
            QVERIFY(list->ValueAt(0, list->FieldByName("PROGRAM").Index()) !=
                    list->ValueAt(1, list->FieldByName("PROGRAM").Index()));
            // As the clerk sees it: a change, and what the ticket's header stored.
            list->SetRecNo(4);
            shoot(*window, "FormNaplo_modositas");
            list->SetRecNo(5);
            shoot(*window, "FormNaplo_uj");
        });
        QTest::keyClick(&browser, TForm8::JournalKey);
        QCOMPARE(rec_->modalsShown, QStringList{"FormNaplo"});
        QCOMPARE(rec_->messageTexts(), QStringList{});
    }

    // A ticket changed after its print carries the mark in the browser, and its next print says so in the
    // footer; the copy mark is still the copy mark.
    void changedAfterPrintMarkAndFooter() {
        TForm8 browser;
        browser.show();
        QVERIFY(Data->ZQ10->Locate("F_BSZAM", "10000001", 0));
        QCOMPARE(Data->ZQ10->FieldByName("F_NYMOD").AsDate(), QDate::currentDate());
        auto* grid = child<TDBGrid>(browser, "DBGrid1");
        int column = -1;
        for (int c = 0; c < grid->ColumnCount(); ++c)
            if (grid->ColumnFieldName(c) == "F_NYMOD")
                column = c;
        QVERIFY(column > 0);
        QCOMPARE(grid->ColumnTitle(column), QString("Nyomt. után mód."));
        QCOMPARE(grid->model()->index(grid->GridModel()->CurrentRow(), column).data().toString(), today());

        rec_->expectModal([](QDialog&) {});
        child<QPushButton>(browser, "PrintButton")->click();
        QStringList texts;
        for (const auto& page : Data->frNyomtat->PreparedPages().pages)
            texts << page.texts();
        QCOMPARE(texts.count("Nyomtatás után módosítva: " + today()), 3);
        QCOMPARE(texts.count("MÁSOLATI PÉLDÁNY"), 3);
        keepPdf(*Data->frNyomtat, "ticket_changed_after_print");
    }

    // The filters: a producer's own record and tickets, a period, a kind of change; a filter that cannot be
    // used is said and changes nothing.
    void filters() {
        db_->exec("UPDATE ostermelo SET o_utca = 'Fő utca 1.' WHERE o_kod = '1'");
        db_->exec("UPDATE ostermelo SET o_utca = 'Fő utca 2.' WHERE o_kod = '2'");
        TFormNaplo window;
        window.show();
        QVERIFY(listed(window).size() > 10);
        auto filter = [&] { child<QPushButton>(window, "FilterButton")->click(); };

        child<QLineEdit>(window, "ProducerEdit")->setText("1");
        filter();
        // The producer's own record since it was made, and its ticket.
        QCOMPARE(listed(window),
                 (QStringList{"Őstermelő Módosítás", "Jegy Módosítás", "Jegy Módosítás", "Jegy Nyomtatás",
                              "Jegy Módosítás", "Jegy tétele Új", "Jegy Új", "Őstermelő Új"}));

        child<QComboBox>(window, "KindCombo")->setCurrentText("Nyomtatás");
        filter();
        QCOMPARE(listed(window), QStringList{"Jegy Nyomtatás"});

        child<QLineEdit>(window, "ProducerEdit")->clear();
        child<QCheckBox>(window, "PeriodCheck")->setChecked(true);
        child<QDateEdit>(window, "DateTimePicker1")->setDate(QDate::currentDate().addDays(-3));
        child<QDateEdit>(window, "DateTimePicker2")->setDate(QDate::currentDate().addDays(-1));
        filter();
        QCOMPARE(listed(window), QStringList{});
        child<QDateEdit>(window, "DateTimePicker2")->setDate(QDate::currentDate());
        filter();
        QCOMPARE(listed(window), QStringList{"Jegy Nyomtatás"});

        child<QDateEdit>(window, "DateTimePicker1")->setDate(QDate::currentDate().addDays(1));
        filter();
        QCOMPARE(rec_->messageTexts(), QStringList{"A kezdő dátum nem lehet későbbi a záró dátumnál."});
        QCOMPARE(listed(window), QStringList{"Jegy Nyomtatás"});
    }

    // The print lists what the window lists, each entry with its columns; the export writes the same lines
    // into a workbook.
    void printAndExport() {
        TFormNaplo window;
        window.SetTicketNumber("10000001");
        window.show();
        rec_->expectModal([](QDialog& dialog) { QCOMPARE(dialog.objectName(), QString("frPreviewForm")); });
        child<QPushButton>(window, "PrintButton")->click();
        QCOMPARE(rec_->modalsShown, QStringList{"frPreviewForm"});
        auto* report = window.findChild<TfrReport*>("frNaplo");
        QVERIFY(report);
        QCOMPARE(report->FileName(), QString("FjLista9.frf"));
        QStringList texts;
        for (const auto& page : report->PreparedPages().pages)
            texts << page.texts();
        for (const char* shown :
             {"Napló", "Szűrés: Bizonylatszám: 10000001", "Nyomtatás", "Nyomtatva (F_PRN)", "Módosított",
              "Nyers", "isql", "Utolsó bizonylatszám (A_FJBSZAM)", "Süldő", "7 bejegyzés"})
            QVERIFY2(texts.contains(QString::fromUtf8(shown)), shown);
        keepPdf(*report, "journal");

        QTemporaryDir folder;
        window.SaveFolder = folder.path();
        child<QCheckBox>(window, "ShowWorkbookCheck")->setChecked(false);
        child<QPushButton>(window, "ExportButton")->click();
        const QJsonObject sheet =
            readWorkbook(window.WorkbookPath())[QStringLiteral("sheets")].toArray()[0].toObject();
        const QJsonArray rows = sheet[QStringLiteral("rows")].toArray();
        // Done, with the lines written below the header row.
        QCOMPARE(rec_->messageTexts(), QStringList{vardelo::exchange::exportDoneText(int(rows.size()) - 1)});
        QStringList header;
        for (const auto& cell : rows[0].toArray())
            header << cell.toObject()[QStringLiteral("v")].toString();
        QCOMPARE(header.mid(0, 12),
                 (QStringList{"Időpont", "Művelet", "Tábla", "Azonosító", "Átvevő", "Bszám / kód",
                              "Felhasználó", "Munkahely", "Program", "Adat", "Előtte", "Utána"}));
        // The newest entry first: the change made with isql-fb.
        const QJsonArray first = rows[1].toArray();
        QCOMPARE(first[1].toObject()[QStringLiteral("v")].toString(), QString("Módosítás"));
        QCOMPARE(first[9].toObject()[QStringLiteral("v")].toString(), QString("Megjegyzés (F_MEGJ)"));
        QCOMPARE(first[10].toObject()[QStringLiteral("v")].toString(), QString("Nyers"));
        QCOMPARE(first[11].toObject()[QStringLiteral("v")].toString(), QString("isql"));
        QVERIFY(sheet[QStringLiteral("nrows")].toInt() > 10);
    }
};

QTEST_MAIN(TestJournalWindow)
#include "test_journal_window.moc"
