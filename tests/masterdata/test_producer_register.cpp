#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "masterdata/producer_browser.h"
#include "masterdata/producer_entry.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/db_grid.h"

#include <QCheckBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <functional>

using vardelo::testing::child;
using namespace vardelo;
using vardelo::testing::TestDatabase;

namespace {

const QString printedTicketText =
    QStringLiteral("Az őstermelő már szerepel a nyomtatott felvásárlási jegyen !");

// Opens the browser as the menu does and runs the script while it is shown.
void withBrowser(UiRecorder& recorder, const std::function<void(TForm4&)>& script) {
    TForm4 browser;
    recorder.expectModal([&](QDialog& dialog) { script(static_cast<TForm4&>(dialog)); });
    ui().showModal(browser);
}

// Clicks a button of the browser that opens the entry window, running the script in the entry.
void inEntry(UiRecorder& recorder, QPushButton* opener, const std::function<void(TForm5&)>& script) {
    recorder.expectModal([&](QDialog& dialog) { script(static_cast<TForm5&>(dialog)); });
    QTest::mouseClick(opener, Qt::LeftButton);
}

QLineEdit* field(QWidget& window, const QString& name) {
    auto* edit = window.findChild<QLineEdit*>(name);
    if (!edit)
        qFatal("no field %s", qPrintable(name));
    return edit;
}

// A complete producer that passes every check.
void fillValid(TForm5& entry) {
    const QList<QPair<const char*, const char*>> values = {
        {"Edit3", "Teszt Elek"},   {"Edit4", "6000"},         {"Edit5", "Kecskemét"},
        {"Edit6", "Fő u. 1."},     {"Edit7", "8123456786"},   {"Edit8", "123456"},
        {"Edit9", "R-77"},         {"Edit10", "15"},          {"Edit11", "Kecskemét"},
        {"Edit12", "1961.03.14."}, {"Edit13", "Szabó Mária"}, {"Edit15", "CSG-9"},
        {"Edit16", "1"},           {"Edit17", "Teszt Elek"},  {"Edit18", "111111110"},
        {"Edit19", "12345676142"}, {"Edit20", "11732009-1"},  {"Edit21", "2010.1.12"},
    };
    for (const auto& [name, value] : values)
        field(entry, QString::fromLatin1(name))->setText(QString::fromUtf8(value));
}

// The stored producer of a code, column by column; empty when there is none.
QVariantMap storedProducer(const QString& code) {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {QStringLiteral("SELECT * FROM ostermelo WHERE o_kod = :p1")},
                       {{QStringLiteral("p1"), code}});
    QVariantMap row;
    if (!q.IsEmpty()) {
        for (int i = 0; i < q.FieldCount(); ++i)
            row.insert(q.Fields(i).FieldName(), q.Fields(i).Value());
    }
    return row;
}

int producerRows() {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {QStringLiteral("SELECT count(*) AS db FROM ostermelo")});
    return q.FieldByName(QStringLiteral("db")).AsInteger();
}

QString currentCode() {
    return Data->ZQ30->FieldByName(QStringLiteral("O_KOD")).AsString();
}

QStringList listCodes() {
    QStringList codes;
    const int at = Data->ZQ30->RecNo();
    for (Data->ZQ30->First(); !Data->ZQ30->Eof(); Data->ZQ30->Next())
        codes << currentCode();
    Data->ZQ30->SetRecNo(at);
    return codes;
}

void addProducer(TestDatabase& db, const QString& code, const QString& name) {
    db.exec(QStringLiteral("INSERT INTO ostermelo (o_kod, o_nev) VALUES ('%1', '%2')").arg(code, name));
}

void addTicket(TestDatabase& db, const QString& number, const QString& producer, const QString& printed) {
    db.exec(
        QStringLiteral("INSERT INTO fjfej (f_bszam, f_ostermkod, f_prn, f_akod) VALUES ('%1', '%2', %3, '1')")
            .arg(number, producer, printed));
}

// Types text key by key, accented letters too.
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::sendKeyEvent(QTest::Press, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

void clickTitle(TDBGrid* grid, const QString& title) {
    for (int column = 0; column < grid->ColumnCount(); ++column) {
        if (grid->ColumnTitle(column) != title)
            continue;
        QHeaderView* header = grid->horizontalHeader();
        const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                        header->height() / 2);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
        return;
    }
    QFAIL(qPrintable(QStringLiteral("no column titled ") + title));
}

} // namespace

class TestProducerRegister : public QObject {
    Q_OBJECT

private slots:
    // The browser stands on the producer of AktOkod: the exact code first, else the first code beginning with
    // it; with no code, on the first producer in name order.
    void opensOnCurrentProducer_data() {
        QTest::addColumn<QString>("aktOkod");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << ""
                               << "12";
        QTest::newRow("code 3") << "3"
                                << "3";
        QTest::newRow("code 1, not 12 sorting before it") << "1"
                                                          << "1";
        QTest::newRow("prefix") << "4"
                                << "4";
        QTest::newRow("unknown") << "99"
                                 << "12";
    }
    void opensOnCurrentProducer() {
        QFETCH(QString, aktOkod);
        QFETCH(QString, expected);
        TestDatabase db(true);
        addProducer(db, "12", "Aba Ádám");
        UiRecorder recorder;
        AktOkod = aktOkod;
        withBrowser(recorder, [&](TForm4& browser) {
            QCOMPARE(currentCode(), expected);
            QCOMPARE(child<QLabel>(browser, "Label18")->text(),
                     QStringLiteral("Őstermelő lista, \"Név\" szerint"));
            QCOMPARE(browser.windowTitle(), QStringLiteral("Őstermelő"));
        });
    }

    // Whichever button closes the browser, ZQ30 stays open on the producer that was current.
    void closingLeavesTheChosenProducer_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Kiválaszt") << "Button5";
        QTest::newRow("Mégsem") << "Button4";
    }
    void closingLeavesTheChosenProducer() {
        QFETCH(QString, button);
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            QVERIFY(Data->ZQ30->Locate("O_KOD", "4", 0));
            QTest::mouseClick(browser.findChild<QPushButton*>(button), Qt::LeftButton);
            QVERIFY(!browser.isVisible());
        });
        QVERIFY(Data->ZQ30->Active());
        QCOMPARE(currentCode(), QStringLiteral("4"));
        QCOMPARE(Data->ZQ30->FieldByName("O_SZJA").AsInteger(), 15);
    }

    // "Új": the highest numeric code plus one, codes that are no whole numbers passed over.
    void newProducerCode_data() {
        QTest::addColumn<QStringList>("extraCodes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1-5") << QStringList{} << "6";
        QTest::newRow("1-9 and 10") << QStringList{"6", "7", "8", "9", "10"} << "11";
        QTest::newRow("non-numeric passed over") << QStringList{"10", "X12", "7a"} << "11";
        // A deleted producer's code stays on its tickets and is never handed out again.
        QTest::newRow("deleted producer 9 on a ticket") << QStringList{"6", "7", "8", "9", "-9"} << "10";
        QTest::newRow("codes on tickets only") << QStringList{"-12", "-30"} << "31";
        QTest::newRow("ticket code below the register's") << QStringList{"-3"} << "6";
    }
    // A code written with a leading "-" is on a ticket only (its producer deleted).
    void newProducerCode() {
        QFETCH(QStringList, extraCodes);
        QFETCH(QString, expected);
        TestDatabase db(true);
        int ticket = 10000001;
        for (const QString& code : extraCodes) {
            if (code.startsWith('-'))
                addTicket(db, QString::number(ticket++), code.mid(1), "'I'");
            else
                addProducer(db, code, "Pótlék " + code);
        }
        db.exec("DELETE FROM ostermelo WHERE o_kod = '9'");
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm5& entry) {
                QCOMPARE(entry.windowTitle(), QStringLiteral("Őstermelő bevitel"));
                QCOMPARE(child<QLineEdit>(entry, "Edit2")->text(), expected);
                QVERIFY(child<QLineEdit>(entry, "Edit2")->isReadOnly());
                QCOMPARE(child<QLineEdit>(entry, "Edit10")->text(), QStringLiteral("0"));
                QCOMPARE(child<QLineEdit>(entry, "Edit16")->text(), QStringLiteral("1"));
                QVERIFY(!child<QCheckBox>(entry, "CheckBox1")->isChecked());
            });
            QCOMPARE(browser.EntryMode, QStringLiteral("Új őstermelő"));
        });
    }

    // Each check of "OK" in the window: its message, the field that gets the focus, and nothing stored.
    void entryChecks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("message");
        auto row = [](const char* tag, const char* name, const char* value, const char* message) {
            QTest::newRow(tag) << QString::fromLatin1(name) << QString::fromUtf8(value)
                               << QString::fromUtf8(message);
        };
        row("1", "Edit3", "  ", "Nincs megadva a neve!");
        row("2", "Edit4", "", "Nincs megadva az irányitószám!");
        row("3", "Edit5", "", "Nincs megadva a helységnév!");
        row("4", "Edit6", "", "Nincs megadva az utca!");
        row("5", "Edit7", "", "Nincs megadva az adóazonositó!");
        row("6", "Edit8", "", "Nincs megadva az őstermelő ig.szám!");
        row("7", "Edit10", "", "Nincs megadva az szja!");
        row("8", "Edit11", "", "Nincs megadva a születési hely!");
        row("9", "Edit12", "", "Nincs megadva a születési idő!");
        row("10", "Edit13", "", "Nincs megadva az anyja neve!");
        row("11", "Edit16", "", "Nincs megadva a neme!");
        row("12", "Edit17", "", "Nincs megadva a születési neve!");
        row("13", "Edit18", "", "Nincs megadva a TAJ!");
        row("14", "Edit19", "", "Nincs megadva az adószáma!");
        row("15", "Edit8", "12345", "Az őstermelő ig.szám kevésebb mint 6 karakter!");
        row("16", "Edit8", "12345678", "Az őstermelő ig.szám többmint 7 karakter!");
        row("17", "Edit12", "1961.02.30.", "A születési idö dátum formátuma nem megfelelö!");
        row("18", "Edit21", "", "Az érvényesités dátum formátuma nem megfelelö!");
        row("19", "Edit7", "812345678", "Nem 10 hosszú számsor");
        row("20", "Edit7", "8123456787", "Hibás adóazonositó");
        row("21", "Edit19", "1234567614", "Kevesebb mint 11 hosszú számsor");
        row("22", "Edit19", "12345677142", "Hibás adószám");
        row("23", "Edit18", "111111111", "Hibás TAJ");
        row("24", "Edit18", "11111111", "Kevesebb mint 9 hosszú számsor");
    }
    void entryChecks() {
        QFETCH(QString, name);
        QFETCH(QString, value);
        QFETCH(QString, message);
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm5& entry) {
                fillValid(entry);
                field(entry, name)->setText(value);
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QCOMPARE(recorder.messageTexts(), QStringList{message});
                QVERIFY(entry.isVisible());
                QVERIFY(entry.focusWidget());
                QCOMPARE(entry.focusWidget()->objectName(), name);
            });
        });
        QCOMPARE(producerRows(), 5);
    }

    // With the box ticked an empty, short or wrong TAJ is stored as typed.
    void emptyTajBox_data() {
        QTest::addColumn<QString>("taj");
        QTest::newRow("empty") << "";
        QTest::newRow("short") << "12345";
        QTest::newRow("wrong") << "111111111";
    }
    void emptyTajBox() {
        QFETCH(QString, taj);
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm5& entry) {
                fillValid(entry);
                child<QLineEdit>(entry, "Edit18")->setText(taj);
                child<QCheckBox>(entry, "CheckBox1")->setChecked(true);
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QVERIFY(!entry.isVisible());
            });
        });
        QCOMPARE(recorder.messageTexts(), QStringList{});
        const QVariantMap row = storedProducer("6");
        QVERIFY(!row.isEmpty());
        QCOMPARE(row.value("O_TAJ").toString(), taj);
    }

    // Leaving the sex field with "1" copies the name into the name at birth; "2" keeps what was typed.
    void sexFieldCopiesName_data() {
        QTest::addColumn<QString>("sex");
        QTest::addColumn<QString>("expected");
        QTest::newRow("man") << "1"
                             << "Kiss Péter";
        QTest::newRow("woman") << "2"
                               << "Nagy Anna";
    }
    void sexFieldCopiesName() {
        QFETCH(QString, sex);
        QFETCH(QString, expected);
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm5& entry) {
                child<QLineEdit>(entry, "Edit3")->setText(QStringLiteral("Kiss Péter"));
                child<QLineEdit>(entry, "Edit17")->setText(QStringLiteral("Nagy Anna"));
                child<QLineEdit>(entry, "Edit16")->setFocus();
                QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(entry, "Edit16"));
                child<QLineEdit>(entry, "Edit16")->clear();
                QTest::keyClicks(child<QLineEdit>(entry, "Edit16"), sex);
                QCOMPARE(child<QLineEdit>(entry, "Edit17")->text(), QStringLiteral("Nagy Anna"));
                QTest::keyClick(child<QLineEdit>(entry, "Edit16"), Qt::Key_Tab);
                QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(entry, "Edit17"));
                QCOMPARE(child<QLineEdit>(entry, "Edit17")->text(), expected);
            });
        });
    }

    // Enter moves to the next field, Shift+Enter back; digit fields drop other keys; the sex field takes only
    // 1 and 2.
    void keysInTheEntry() {
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm5& entry) {
                child<QLineEdit>(entry, "Edit3")->setFocus();
                QTest::keyClick(child<QLineEdit>(entry, "Edit3"), Qt::Key_Return);
                QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(entry, "Edit4"));
                QTest::keyClicks(child<QLineEdit>(entry, "Edit4"), "6a0,0 0");
                QCOMPARE(child<QLineEdit>(entry, "Edit4")->text(), QStringLiteral("6000"));
                QTest::keyClick(child<QLineEdit>(entry, "Edit4"), Qt::Key_Return, Qt::ShiftModifier);
                QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(entry, "Edit3"));
                QTest::keyClicks(child<QLineEdit>(entry, "Edit12"), "1961.03x.14.");
                QCOMPARE(child<QLineEdit>(entry, "Edit12")->text(), QStringLiteral("1961.03.14."));
                child<QLineEdit>(entry, "Edit16")->clear();
                QTest::keyClicks(child<QLineEdit>(entry, "Edit16"), "3a2");
                QCOMPARE(child<QLineEdit>(entry, "Edit16")->text(), QStringLiteral("2"));
                // The tab order follows the fields down the window.
                QWidget* next = child<QLineEdit>(entry, "Edit3");
                QStringList order;
                for (int i = 0; i < 21; ++i) {
                    order << next->objectName();
                    next = next->nextInFocusChain();
                    while (!(next->focusPolicy() & Qt::TabFocus) || !next->isVisible())
                        next = next->nextInFocusChain();
                }
                QCOMPARE(order,
                         QString("Edit3 Edit4 Edit5 Edit6 Edit7 Edit8 Edit9 Edit10 Edit11 Edit12 Edit13 "
                                 "Edit15 Edit16 Edit17 Edit18 Edit19 Edit20 Edit21 CheckBox1 Button1 "
                                 "Button2")
                             .split(' '));
            });
        });
    }

    // A new producer is stored with every column and the browser stands on it.
    void saveNewProducer() {
        TestDatabase db(true);
        addProducer(db, "12", "Aba Ádám");
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm5& entry) {
                QCOMPARE(child<QLineEdit>(entry, "Edit2")->text(), QStringLiteral("13"));
                fillValid(entry);
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QVERIFY(!entry.isVisible());
            });
            QCOMPARE(currentCode(), QStringLiteral("13"));
            QCOMPARE(child<QLabel>(browser, "Label18")->text(),
                     QStringLiteral("Őstermelő lista, \"Név\" szerint"));
        });
        QCOMPARE(recorder.messageTexts(), QStringList{});
        QCOMPARE(AktOkod, QStringLiteral("13"));
        QVERIFY(Data->ZQ30->Active());
        QCOMPARE(currentCode(), QStringLiteral("13"));

        const QVariantMap row = storedProducer("13");
        QVERIFY(row.value("ID_OSTERMELO").toInt() > 0);
        QCOMPARE(row.value("O_NEV").toString(), QStringLiteral("Teszt Elek"));
        QCOMPARE(row.value("O_IRSZAM").toString(), QStringLiteral("6000"));
        QCOMPARE(row.value("O_HELYSEGNEV").toString(), QStringLiteral("Kecskemét"));
        QCOMPARE(row.value("O_UTCA").toString(), QStringLiteral("Fő u. 1."));
        QCOMPARE(row.value("O_ADOAZON").toString(), QStringLiteral("8123456786"));
        QCOMPARE(row.value("O_ADOSZAM").toString(), QStringLiteral("12345676142"));
        QCOMPARE(row.value("O_TAJ").toString(), QStringLiteral("111111110"));
        QCOMPARE(row.value("O_IGSZAM").toString(), QStringLiteral("123456"));
        QCOMPARE(row.value("O_REGSZAM").toString(), QStringLiteral("R-77"));
        QCOMPARE(row.value("O_CSGAZD").toString(), QStringLiteral("CSG-9"));
        QCOMPARE(row.value("O_SZULNEV").toString(), QStringLiteral("Teszt Elek"));
        QCOMPARE(row.value("O_SZULHELY").toString(), QStringLiteral("Kecskemét"));
        QCOMPARE(row.value("O_SZIDO").toDate(), QDate(1961, 3, 14));
        QCOMPARE(row.value("O_ANYJA").toString(), QStringLiteral("Szabó Mária"));
        QCOMPARE(row.value("O_NEME").toString(), QStringLiteral("1"));
        QCOMPARE(row.value("O_BANKSZLA").toString(), QStringLiteral("11732009-1"));
        QCOMPARE(row.value("O_SZJA").toLongLong(), 15);
        QCOMPARE(row.value("O_ERVKELT").toDate(), QDate(2010, 1, 12));
    }

    // "Módosít" copies the current producer into the window; the change is stored and the browser stands on
    // it.
    void changeProducer() {
        TestDatabase db(true);
        UiRecorder recorder;
        QString id;
        withBrowser(recorder, [&](TForm4& browser) {
            QVERIFY(Data->ZQ30->Locate("O_KOD", "2", 0));
            id = Data->ZQ30->FieldByName("ID_OSTERMELO").AsString();
            inEntry(recorder, child<QPushButton>(browser, "Button2"), [&](TForm5& entry) {
                QCOMPARE(entry.windowTitle(), QStringLiteral("Őstermelő módositás"));
                QCOMPARE(child<QLineEdit>(entry, "Edit1")->text(), id);
                QVERIFY(child<QLineEdit>(entry, "Edit1")->isHidden());
                QCOMPARE(child<QLineEdit>(entry, "Edit2")->text(), QStringLiteral("2"));
                QCOMPARE(child<QLineEdit>(entry, "Edit3")->text(), QStringLiteral("Nagy Éva"));
                QCOMPARE(child<QLineEdit>(entry, "Edit4")->text(), QStringLiteral("6720"));
                QCOMPARE(child<QLineEdit>(entry, "Edit7")->text(), QStringLiteral("8909960302"));
                QCOMPARE(child<QLineEdit>(entry, "Edit10")->text(), QStringLiteral("15"));
                QCOMPARE(child<QLineEdit>(entry, "Edit12")->text(), QStringLiteral("1970.11.02."));
                QCOMPARE(child<QLineEdit>(entry, "Edit16")->text(), QStringLiteral("2"));
                QCOMPARE(child<QLineEdit>(entry, "Edit17")->text(), QStringLiteral("Fekete Éva"));
                QCOMPARE(child<QLineEdit>(entry, "Edit18")->text(), QStringLiteral("482199355"));
                QCOMPARE(child<QLineEdit>(entry, "Edit19")->text(), QStringLiteral("92462810120"));
                QCOMPARE(child<QLineEdit>(entry, "Edit21")->text(), QStringLiteral("2010.02.03."));
                child<QLineEdit>(entry, "Edit3")->setText(QStringLiteral("Aranyosi Éva"));
                child<QLineEdit>(entry, "Edit10")->setText(QStringLiteral("20"));
                child<QLineEdit>(entry, "Edit21")->setText(QStringLiteral("2010.09.30."));
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QVERIFY(!entry.isVisible());
            });
            QCOMPARE(browser.EntryMode, QStringLiteral("Őstermelő módositás"));
            QCOMPARE(currentCode(), QStringLiteral("2"));
            QCOMPARE(Data->ZQ30->RecNo(), 1); // "Aranyosi" now leads the name order
        });
        QCOMPARE(recorder.messageTexts(), QStringList{});
        QCOMPARE(AktOkod, QStringLiteral("2"));
        QCOMPARE(producerRows(), 5);
        const QVariantMap row = storedProducer("2");
        QCOMPARE(row.value("ID_OSTERMELO").toString(), id);
        QCOMPARE(row.value("O_NEV").toString(), QStringLiteral("Aranyosi Éva"));
        QCOMPARE(row.value("O_SZJA").toLongLong(), 20);
        QCOMPARE(row.value("O_ERVKELT").toDate(), QDate(2010, 9, 30));
        QCOMPARE(row.value("O_SZIDO").toDate(), QDate(1970, 11, 2));
        QCOMPARE(row.value("O_SZULNEV").toString(), QStringLiteral("Fekete Éva"));
    }

    // A save the database refuses shows its message, rolls back and leaves the window open with the typing;
    // corrected, it saves.
    void failedSaveKeepsTheWindow_data() {
        QTest::addColumn<bool>("change");
        QTest::newRow("new") << false;
        QTest::newRow("change") << true;
    }
    void failedSaveKeepsTheWindow() {
        QFETCH(bool, change);
        TestDatabase db(true);
        UiRecorder recorder;
        const QString code = change ? "5" : "6";
        withBrowser(recorder, [&](TForm4& browser) {
            QVERIFY(Data->ZQ30->Locate("O_KOD", "5", 0));
            inEntry(
                recorder,
                change ? child<QPushButton>(browser, "Button2") : child<QPushButton>(browser, "Button1"),
                [&](TForm5& entry) {
                    fillValid(entry);
                    child<QLineEdit>(entry, "Edit4")->setText(QStringLiteral("60001")); // the column holds 4
                    QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                    QCOMPARE(recorder.messageTexts(),
                             QStringList{change ? QStringLiteral("Hiba: Módositás, Update a östermelöbenben ")
                                                : QStringLiteral("Hiba: Újban, INSERT az östermelöben ")});
                    QVERIFY(entry.isVisible());
                    QCOMPARE(child<QLineEdit>(entry, "Edit4")->text(), QStringLiteral("60001"));
                    QCOMPARE(child<QLineEdit>(entry, "Edit3")->text(), QStringLiteral("Teszt Elek"));
                    QCOMPARE(child<QLineEdit>(entry, "Edit2")->text(), code);
                    QVERIFY(Data->ZQ30->Active()); // the list behind is reopened
                    QCOMPARE(storedProducer(code).value("O_NEV").toString(),
                             change ? QStringLiteral("Molnár Ferenc") : QString());

                    child<QLineEdit>(entry, "Edit4")->setText(QStringLiteral("6001"));
                    QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                    QVERIFY(!entry.isVisible());
                });
            QCOMPARE(currentCode(), code);
        });
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(storedProducer(code).value("O_IRSZAM").toString(), QStringLiteral("6001"));
        QCOMPARE(producerRows(), change ? 5 : 6);
    }

    // Another desk changed the producer after the entry loaded it: the save is refused naming the change, the
    // typing stays; asked for, the producer is loaded as stored now, and that saves.
    void changeRefusedAfterAnotherDesksChange() {
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            QVERIFY(Data->ZQ30->Locate("O_KOD", "2", 0));
            inEntry(recorder, child<QPushButton>(browser, "Button2"), [&](TForm5& entry) {
                db.execAsAnotherDesk("UPDATE ostermelo SET o_nev = 'Másik Éva' WHERE o_kod = '2'");
                child<QLineEdit>(entry, "Edit10")->setText(QStringLiteral("20"));
                recorder.answer(MsgButton::No);
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QCOMPARE(recorder.messageTexts(),
                         QStringList{QStringLiteral("Hiba: Módositás, Update a östermelöbenben ")});
                QVERIFY(recorder.messages.last().reason.startsWith(
                    QStringLiteral("Ezt az adatot közben egy másik munkahely módosította: Neve: „Nagy Éva” "
                                   "helyett most „Másik Éva”.")));
                QVERIFY(entry.isVisible());
                QCOMPARE(child<QLineEdit>(entry, "Edit10")->text(), QStringLiteral("20"));
                QCOMPARE(child<QLineEdit>(entry, "Edit3")->text(), QStringLiteral("Nagy Éva"));

                recorder.answer(MsgButton::Yes);
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QVERIFY(entry.isVisible());
                QCOMPARE(child<QLineEdit>(entry, "Edit3")->text(), QStringLiteral("Másik Éva"));
                QCOMPARE(child<QLineEdit>(entry, "Edit10")->text(), QStringLiteral("15"));
                child<QLineEdit>(entry, "Edit10")->setText(QStringLiteral("20"));
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QVERIFY(!entry.isVisible());
            });
        });
        QCOMPARE(storedProducer("2").value("O_NEV").toString(), QStringLiteral("Másik Éva"));
        QCOMPARE(storedProducer("2").value("O_SZJA").toLongLong(), 20);
    }

    // A producer another desk deleted meanwhile: neither its change nor its delete "succeeds".
    void goneProducerIsTold() {
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            QVERIFY(Data->ZQ30->Locate("O_KOD", "4", 0));
            inEntry(recorder, child<QPushButton>(browser, "Button2"), [&](TForm5& entry) {
                db.execAsAnotherDesk("DELETE FROM ostermelo WHERE o_kod = '4'");
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QVERIFY(entry.isVisible());
            });
            QVERIFY(Data->ZQ30->Locate("O_KOD", "3", 0));
            db.execAsAnotherDesk("DELETE FROM ostermelo WHERE o_kod = '3'");
            QTest::mouseClick(child<QPushButton>(browser, "Button3"), Qt::LeftButton);
        });
        QCOMPARE(recorder.messageTexts(),
                 (QStringList{QStringLiteral("Hiba: Módositás, Update a östermelöbenben "),
                              QStringLiteral("Hiba: östermelö DELETE törlésekor")}));
        for (const RecordedMessage& message : recorder.messages)
            QCOMPARE(message.reason, QStringLiteral("Ezt a sort közben egy másik munkahely törölte."));
    }

    // "Mégsem" of the entry closes it without saving.
    void cancelEntry() {
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm5& entry) {
                fillValid(entry);
                QTest::mouseClick(child<QPushButton>(entry, "Button2"), Qt::LeftButton);
                QVERIFY(!entry.isVisible());
            });
        });
        QCOMPARE(producerRows(), 5);
    }

    // A producer on a printed ticket (of any purchaser) cannot be changed through "Módosít"; a service letter
    // typed on the focused button opens the window anyway.
    void printedTicketBlocksChange_data() {
        QTest::addColumn<int>("letter");
        QTest::newRow("m") << int(Qt::Key_M);
        QTest::newRow("K") << int(Qt::Key_K);
    }
    void printedTicketBlocksChange() {
        QFETCH(int, letter);
        TestDatabase db(true);
        addTicket(db, "10000001", "3", "'I'");
        addTicket(db, "20000001", "3", "NULL");
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            QVERIFY(Data->ZQ30->Locate("O_KOD", "3", 0));
            QTest::mouseClick(child<QPushButton>(browser, "Button2"), Qt::LeftButton);
            QCOMPARE(recorder.messageTexts(), QStringList{printedTicketText});
            QCOMPARE(recorder.messages.first().caption, vardelo::confirmCaption());
            QCOMPARE(recorder.messages.first().buttons, int(MsgButton::Yes));
            QCOMPARE(recorder.modalsShown, QStringList{"Form4"});

            // Other letters do nothing.
            child<QPushButton>(browser, "Button2")->setFocus();
            QTest::keyClick(child<QPushButton>(browser, "Button2"), Qt::Key_A);
            QCOMPARE(recorder.modalsShown, QStringList{"Form4"});

            recorder.expectModal([&](QDialog& dialog) {
                auto& entry = static_cast<TForm5&>(dialog);
                QCOMPARE(entry.windowTitle(), QStringLiteral("Őstermelő módositás"));
                QCOMPARE(child<QLineEdit>(entry, "Edit3")->text(), QStringLiteral("Ördögh Ödön"));
            });
            QTest::keyClick(child<QPushButton>(browser, "Button2"), Qt::Key(letter),
                            letter == Qt::Key_K ? Qt::ShiftModifier : Qt::NoModifier);
            QCOMPARE(recorder.modalsShown, (QStringList{"Form4", "Form5"}));
        });
        QCOMPARE(recorder.messages.size(), 1);
    }

    // A producer only on unprinted tickets opens for change.
    void unprintedTicketAllowsChange() {
        TestDatabase db(true);
        addTicket(db, "10000001", "3", "NULL");
        addTicket(db, "10000002", "3", "''");
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            QVERIFY(Data->ZQ30->Locate("O_KOD", "3", 0));
            inEntry(recorder, child<QPushButton>(browser, "Button2"), [&](TForm5&) {});
        });
        QCOMPARE(recorder.modalsShown, (QStringList{"Form4", "Form5"}));
        QCOMPARE(recorder.messageTexts(), QStringList{});
    }

    void deleteRefusedForPrintedTicket() {
        TestDatabase db(true);
        addTicket(db, "20000001", "3", "'I'");
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            QVERIFY(Data->ZQ30->Locate("O_KOD", "3", 0));
            QTest::mouseClick(child<QPushButton>(browser, "Button3"), Qt::LeftButton);
        });
        QCOMPARE(recorder.messageTexts(), QStringList{printedTicketText});
        QCOMPARE(producerRows(), 5);
    }

    void deleteRefusedForLastProducer() {
        TestDatabase db(true);
        db.exec("DELETE FROM ostermelo WHERE o_kod <> '2'");
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm4& browser) {
            QTest::mouseClick(child<QPushButton>(browser, "Button3"), Qt::LeftButton);
        });
        QCOMPARE(recorder.messageTexts(), QStringList{"Az utolsó őstermelősor nem törölhető ki."});
        QCOMPARE(producerRows(), 1);
    }

    // Deleting a producer on unprinted tickets only: deleted at once, for good, and the list stands on the
    // current producer again.
    void deleteProducer() {
        TestDatabase db(true);
        addTicket(db, "10000001", "4", "NULL");
        addTicket(db, "10000002", "2", "'I'");
        UiRecorder recorder;
        AktOkod = "2";
        withBrowser(recorder, [&](TForm4& browser) {
            QVERIFY(Data->ZQ30->Locate("O_KOD", "4", 0));
            QTest::mouseClick(child<QPushButton>(browser, "Button3"), Qt::LeftButton);
            QCOMPARE(currentCode(), QStringLiteral("2"));
            QCOMPARE(child<QLabel>(browser, "Label18")->text(),
                     QStringLiteral("Őstermelő lista, \"Név\" szerint"));
            QCOMPARE(listCodes().size(), 4);
        });
        QCOMPARE(recorder.messageTexts(), QStringList{"Az őstermelő sor törlölve!"});
        if (!Data->IBTrans1->Active())
            Data->IBTrans1->StartTransaction();
        Data->IBTrans1->Rollback();
        QCOMPARE(producerRows(), 4);
        QVERIFY(storedProducer("4").isEmpty());
    }

    // The search box positions the name list on the first name beginning with the text, in any letter case;
    // accents count.
    void search_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<bool>("button");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Kovács, typed") << "Kovács János"
                                       << "ko" << false << "Kovács János";
        QTest::newRow("KOVÁCS, typed") << "KOVÁCS JÁNOS"
                                       << "ko" << false << "KOVÁCS JÁNOS";
        QTest::newRow("kocsis, typed") << "kocsis jános"
                                       << "ko" << false << "kocsis jános";
        QTest::newRow("kocsis, KO with Keres") << "kocsis jános"
                                               << "KO" << true << "kocsis jános";
        QTest::newRow("kocsis, kO") << "kocsis jános"
                                    << "kO" << false << "kocsis jános";
        QTest::newRow("ko is not Kóbor") << "Kiss Béla"
                                         << "ko" << false << "Aba Ádám";
        QTest::newRow("accent counts") << "kocsis jános"
                                       << "kó" << false << "Kóbor Béla";
        QTest::newRow("accented capital") << "kocsis jános"
                                          << "ÖR" << false << "Ördögh Ödön";
        QTest::newRow("no match: first row") << "kocsis jános"
                                             << "xyz" << false << "Aba Ádám";
    }
    void search() {
        QFETCH(QString, name);
        QFETCH(QString, typed);
        QFETCH(bool, button);
        QFETCH(QString, expected);
        TestDatabase db(true);
        db.exec(QStringLiteral("UPDATE ostermelo SET o_nev = '%1' WHERE o_kod = '1'").arg(name));
        addProducer(db, "6", "Kóbor Béla");
        addProducer(db, "7", "Aba Ádám");
        UiRecorder recorder;
        AktOkod = "5";
        withBrowser(recorder, [&](TForm4& browser) {
            if (button) {
                child<QLineEdit>(browser, "Edit1")->setText(typed);
                QTest::mouseClick(child<QPushButton>(browser, "Button7"), Qt::LeftButton);
            } else {
                typeText(child<QLineEdit>(browser, "Edit1"), typed);
            }
            QCOMPARE(Data->ZQ30->FieldByName("O_NEV").AsString(), expected);
            QCOMPARE(child<QLabel>(browser, "Label18")->text(),
                     QStringLiteral("Őstermelő lista, \"Név\" szerint"));
            QVERIFY(Data->ZQ30->SQL.Text().contains("ORDER BY o_Nev"));
        });
    }

    // Clicking a title sorts the list by it, shows the order label and leaves the list on its first row.
    void sortByTitle_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("codes");
        QTest::newRow("Kódja") << "Kódja"
                               << "Őstermelő lista, \"Kód\" szerint"
                               << "1 2 3 4 5";
        QTest::newRow("Név") << "Név"
                             << "Őstermelő lista, \"Név\" szerint"
                             << "1 5 2 3 4";
        QTest::newRow("Helységnév") << "Helységnév"
                                    << "Őstermelő lista, \"Helységnév és utca\" szerint"
                                    << "1 3 5 4 2";
        QTest::newRow("Adóazonositó") << "Adóazonositó"
                                      << "Őstermelő lista, \"Adóazonositó\" szerint"
                                      << "5 3 1 4 2";
        QTest::newRow("Adószám") << "Adószám"
                                 << "Őstermelő lista, \"Adószám\" szerint"
                                 << "1 4 5 2 3";
        QTest::newRow("TAJ") << "TAJ"
                             << "Őstermelő lista, \"TAJ\" szerint"
                             << "1 3 2 5 4";
        QTest::newRow("Österm.Ig.szám") << "Österm.Ig.szám"
                                        << "Őstermelő lista, \"Őstermelői ig.szám\" szerint"
                                        << "5 4 3 2 1";
    }
    void sortByTitle() {
        QFETCH(QString, title);
        QFETCH(QString, label);
        QFETCH(QString, codes);
        TestDatabase db(true);
        // Card numbers in the reverse of the code order.
        db.exec("UPDATE ostermelo SET o_igszam = CAST(1000000 - CAST(o_kod AS INTEGER) AS VARCHAR(8))");
        UiRecorder recorder;
        AktOkod = "3";
        withBrowser(recorder, [&](TForm4& browser) {
            QCOMPARE(currentCode(), QStringLiteral("3"));
            clickTitle(child<TDBGrid>(browser, "DBGrid1"), title);
            QCOMPARE(child<QLabel>(browser, "Label18")->text(), label);
            QCOMPARE(Data->ZQ30->RecNo(), 1);
            QCOMPARE(listCodes().join(' '), codes);
        });
    }

    // Titles without an order do nothing.
    void otherTitlesDoNothing() {
        TestDatabase db(true);
        UiRecorder recorder;
        AktOkod = "3";
        withBrowser(recorder, [&](TForm4& browser) {
            const QString sql = Data->ZQ30->SQL.Text();
            clickTitle(child<TDBGrid>(browser, "DBGrid1"), "Utca");
            clickTitle(child<TDBGrid>(browser, "DBGrid1"), "Szja");
            QCOMPARE(Data->ZQ30->SQL.Text(), sql);
            QCOMPARE(currentCode(), QStringLiteral("3"));
            QCOMPARE(child<QLabel>(browser, "Label18")->text(),
                     QStringLiteral("Őstermelő lista, \"Név\" szerint"));
        });
    }
};

QTEST_MAIN(TestProducerRegister)
#include "test_producer_register.moc"
