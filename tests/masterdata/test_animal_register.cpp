#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "masterdata/animal_browser.h"
#include "masterdata/animal_entry.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/db_grid.h"

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

void withBrowser(UiRecorder& recorder, const std::function<void(TForm6&)>& script) {
    TForm6 browser;
    recorder.expectModal([&](QDialog& dialog) { script(static_cast<TForm6&>(dialog)); });
    ui().showModal(browser);
}

void inEntry(UiRecorder& recorder, QPushButton* opener, const std::function<void(TForm7&)>& script) {
    recorder.expectModal([&](QDialog& dialog) { script(static_cast<TForm7&>(dialog)); });
    QTest::mouseClick(opener, Qt::LeftButton);
}

QVariantMap storedAnimal(const QString& code) {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {QStringLiteral("SELECT * FROM termek WHERE t_kod = :p1")},
                       {{QStringLiteral("p1"), code}});
    QVariantMap row;
    if (!q.IsEmpty()) {
        for (int i = 0; i < q.FieldCount(); ++i)
            row.insert(q.Fields(i).FieldName(), q.Fields(i).Value());
    }
    return row;
}

int count(const QString& table) {
    TZQuery q(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
    vardelo::openQuery(&q, {QStringLiteral("SELECT count(*) AS db FROM ") + table});
    return q.FieldByName(QStringLiteral("db")).AsInteger();
}

QString current(const char* field) {
    return Data->ZQ40->FieldByName(QString::fromLatin1(field)).AsString();
}

QStringList listCodes() {
    QStringList codes;
    for (Data->ZQ40->First(); !Data->ZQ40->Eof(); Data->ZQ40->Next())
        codes << current("T_KOD");
    Data->ZQ40->First();
    return codes;
}

void addAnimal(TestDatabase& db, const QString& code, const QString& name) {
    db.exec(QStringLiteral("INSERT INTO termek (t_kod, t_megnevezes, t_ear, t_megy, t_kompmerteke) "
                           "VALUES ('%1', '%2', 100, 'kg', 7)")
                .arg(code, name));
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

class TestAnimalRegister : public QObject {
    Q_OBJECT

private slots:
    // Shown, the browser stands on the first animal whose name begins with AllatKulcs, in any letter case.
    void opensOnAllatKulcs_data() {
        QTest::addColumn<QString>("extra");
        QTest::addColumn<QString>("kulcs");
        QTest::addColumn<QString>("expected");
        QTest::newRow("Ser: sertés hízó") << "sertés hízó"
                                          << "Ser"
                                          << "sertés hízó";
        QTest::newRow("Ser: SERTÉS ANYA") << "SERTÉS ANYA"
                                          << "Ser"
                                          << "SERTÉS ANYA";
        QTest::newRow("sER: Sertés") << "Sertés"
                                     << "sER"
                                     << "Sertés";
        QTest::newRow("not inside a name") << "Kecske"
                                           << "sertés"
                                           << "Borjú";
        QTest::newRow("empty: first row") << "Kecske"
                                          << ""
                                          << "Borjú";
        QTest::newRow("a code: first row") << "Kecske"
                                           << "3"
                                           << "Borjú";
    }
    void opensOnAllatKulcs() {
        QFETCH(QString, extra);
        QFETCH(QString, kulcs);
        QFETCH(QString, expected);
        TestDatabase db(true);
        addAnimal(db, "8", extra);
        UiRecorder recorder;
        AllatKulcs = kulcs;
        withBrowser(recorder, [&](TForm6& browser) {
            QCOMPARE(current("T_MEGNEVEZES"), expected);
            QCOMPARE(child<QLabel>(browser, "Label8")->text(),
                     QStringLiteral("Termék lista, \"Megnevezés\" szerint"));
            QCOMPARE(browser.windowTitle(), QStringLiteral("Állat"));
        });
    }

    void closingLeavesTheChosenAnimal_data() {
        QTest::addColumn<QString>("button");
        QTest::newRow("Kiválaszt") << "Button5";
        QTest::newRow("Mégsem") << "Button4";
    }
    void closingLeavesTheChosenAnimal() {
        QFETCH(QString, button);
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm6& browser) {
            QVERIFY(Data->ZQ40->Locate("T_KOD", "5", 0));
            QTest::mouseClick(browser.findChild<QPushButton*>(button), Qt::LeftButton);
            QVERIFY(!browser.isVisible());
        });
        QVERIFY(Data->ZQ40->Active());
        QCOMPARE(current("T_MEGNEVEZES"), QStringLiteral("Vágóbárány"));
        QCOMPARE(Data->ZQ40->FieldByName("T_KOMPMERTEKE").AsInteger(), 12);
    }

    // A new animal proposes the next numeric code, the unit price "0" and the compensation "7".
    void newAnimalProposals_data() {
        QTest::addColumn<QStringList>("extraCodes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("1-7") << QStringList{} << "8";
        QTest::newRow("1-9 and 10") << QStringList{"8", "9", "10"} << "11";
        QTest::newRow("non-numeric passed over") << QStringList{"10", "B20", "x"} << "11";
        // An animal deleted from the catalogue keeps its code on ticket lines (written with a leading "-").
        QTest::newRow("deleted animal on a line") << QStringList{"-15"} << "16";
    }
    void newAnimalProposals() {
        QFETCH(QStringList, extraCodes);
        QFETCH(QString, expected);
        TestDatabase db(true);
        for (const QString& code : extraCodes) {
            if (code.startsWith('-'))
                db.exec(
                    "INSERT INTO fjsor (s_bszam, s_termekkod, s_brutto, s_levonszaz) VALUES ('10000001', '" +
                    code.mid(1) + "', 1, 0)");
            else
                addAnimal(db, code, "Más " + code);
        }
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm6& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm7& entry) {
                QCOMPARE(entry.windowTitle(), QStringLiteral("Állat"));
                QCOMPARE(child<QLineEdit>(entry, "Edit2")->text(), expected);
                QVERIFY(!child<QLineEdit>(entry, "Edit2")->isReadOnly());
                QCOMPARE(child<QLineEdit>(entry, "Edit5")->text(), QStringLiteral("0"));
                QCOMPARE(child<QLineEdit>(entry, "Edit7")->text(), QStringLiteral("7"));
                QCOMPARE(child<QLineEdit>(entry, "Edit1")->text(), QString());
                QVERIFY(child<QLineEdit>(entry, "Edit1")->isReadOnly());
            });
            QCOMPARE(browser.EntryMode, QStringLiteral("Új termék"));
        });
    }

    // The checks of "OK", their messages and the field that gets the focus.
    void entryChecks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("1 code") << "Edit2"
                                << "Nincs megadva a kód!";
        QTest::newRow("2 name") << "Edit3"
                                << "Nincs megadva a megnevezés!";
        QTest::newRow("3 price emptied") << "Edit5"
                                         << "Nincs megadva a mennyiség!";
        QTest::newRow("4 unit") << "Edit6"
                                << "Nincs megadva a mennyiség egység!";
        QTest::newRow("5 per cent") << "Edit7"
                                    << "Nincs megadva a komp.mérték!";
    }
    void entryChecks() {
        QFETCH(QString, name);
        QFETCH(QString, message);
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm6& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm7& entry) {
                child<QLineEdit>(entry, "Edit3")->setText(QStringLiteral("Vágóliba"));
                child<QLineEdit>(entry, "Edit6")->setText(QStringLiteral("kg"));
                entry.findChild<QLineEdit*>(name)->clear();
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QCOMPARE(recorder.messageTexts(), QStringList{message});
                QVERIFY(entry.isVisible());
                QCOMPARE(entry.focusWidget()->objectName(), name);
            });
        });
        QCOMPARE(count("termek"), 7);
    }

    // The unit price takes the decimal comma; the new animal is stored and the browser stands on it.
    void saveNewAnimal_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<double>("stored");
        QTest::newRow("2,5") << "2,5" << 2.5;
        QTest::newRow("12,5") << "12,5" << 12.5;
        QTest::newRow("whole") << "450" << 450.0;
        QTest::newRow("4 decimals") << "0,1234" << 0.1234;
    }
    void saveNewAnimal() {
        QFETCH(QString, typed);
        QFETCH(double, stored);
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm6& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm7& entry) {
                QTest::keyClicks(child<QLineEdit>(entry, "Edit3"), "Vagoliba");
                child<QLineEdit>(entry, "Edit4")->setText(QStringLiteral("0105 99 30"));
                child<QLineEdit>(entry, "Edit5")->clear();
                QTest::keyClicks(child<QLineEdit>(entry, "Edit5"), typed.toLatin1().constData());
                QCOMPARE(child<QLineEdit>(entry, "Edit5")->text(), typed);
                child<QLineEdit>(entry, "Edit6")->setText(QStringLiteral("db"));
                child<QLineEdit>(entry, "Edit7")->setText(QStringLiteral("12"));
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QVERIFY(!entry.isVisible());
            });
            QCOMPARE(current("T_KOD"), QStringLiteral("8"));
            QCOMPARE(child<QLabel>(browser, "Label8")->text(),
                     QStringLiteral("Termék lista, \"Megnevezés\" szerint"));
        });
        QCOMPARE(recorder.messageTexts(), QStringList{});
        QCOMPARE(AllatKulcs, QStringLiteral("8"));
        QCOMPARE(current("T_KOD"), QStringLiteral("8"));
        const QVariantMap row = storedAnimal("8");
        QVERIFY(row.value("ID_TERMEK").toInt() > 0);
        QCOMPARE(row.value("T_MEGNEVEZES").toString(), QStringLiteral("Vagoliba"));
        QCOMPARE(row.value("T_VTSZ").toString(), QStringLiteral("0105 99 30"));
        QCOMPARE(row.value("T_EAR").toDouble(), stored);
        QCOMPARE(row.value("T_MEGY").toString(), QStringLiteral("db"));
        QCOMPARE(row.value("T_KOMPMERTEKE").toLongLong(), 12);
    }

    // After a save the browser stands on the saved code exactly, not on a longer code beginning with it.
    void savedCodeIsFoundExactly() {
        TestDatabase db(true);
        addAnimal(db, "80", "Aaa első");
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm6& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm7& entry) {
                child<QLineEdit>(entry, "Edit2")->setText(QStringLiteral("8"));
                child<QLineEdit>(entry, "Edit3")->setText(QStringLiteral("Zerge"));
                child<QLineEdit>(entry, "Edit6")->setText(QStringLiteral("kg"));
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
            });
            QCOMPARE(current("T_MEGNEVEZES"), QStringLiteral("Zerge"));
        });
    }

    // "Módosít" copies the current animal; the change is stored and the browser stands on it.
    void changeAnimal() {
        TestDatabase db(true);
        UiRecorder recorder;
        QString id;
        withBrowser(recorder, [&](TForm6& browser) {
            QVERIFY(Data->ZQ40->Locate("T_KOD", "3", 0));
            id = current("ID_TERMEK");
            inEntry(recorder, child<QPushButton>(browser, "Button2"), [&](TForm7& entry) {
                QCOMPARE(entry.windowTitle(), QStringLiteral("Termék módositás"));
                QCOMPARE(child<QLineEdit>(entry, "Edit1")->text(), id);
                QCOMPARE(child<QLineEdit>(entry, "Edit2")->text(), QStringLiteral("3"));
                QCOMPARE(child<QLineEdit>(entry, "Edit3")->text(), QStringLiteral("Vágómarha"));
                QCOMPARE(child<QLineEdit>(entry, "Edit4")->text(), QStringLiteral("0102 90 59"));
                QCOMPARE(child<QLineEdit>(entry, "Edit5")->text(), QStringLiteral("395,5"));
                QCOMPARE(child<QLineEdit>(entry, "Edit6")->text(), QStringLiteral("kg"));
                QCOMPARE(child<QLineEdit>(entry, "Edit7")->text(), QStringLiteral("7"));
                child<QLineEdit>(entry, "Edit3")->setText(QStringLiteral("Vágómarha, bika"));
                child<QLineEdit>(entry, "Edit5")->setText(QStringLiteral("400,25"));
                child<QLineEdit>(entry, "Edit7")->setText(QStringLiteral("12"));
                QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                QVERIFY(!entry.isVisible());
            });
            QCOMPARE(browser.EntryMode, QStringLiteral("Termék módositás"));
            QCOMPARE(current("T_KOD"), QStringLiteral("3"));
        });
        QCOMPARE(recorder.messageTexts(), QStringList{});
        QCOMPARE(count("termek"), 7);
        const QVariantMap row = storedAnimal("3");
        QCOMPARE(row.value("ID_TERMEK").toString(), id);
        QCOMPARE(row.value("T_MEGNEVEZES").toString(), QStringLiteral("Vágómarha, bika"));
        QCOMPARE(row.value("T_EAR").toDouble(), 400.25);
        QCOMPARE(row.value("T_KOMPMERTEKE").toLongLong(), 12);
    }

    // A price that cannot be read (its message names the field), or a value the database refuses (the
    // window's failure message and a rollback): the window stays open with the typing.
    void failedSaveKeepsTheWindow_data() {
        QTest::addColumn<bool>("change");
        QTest::addColumn<QString>("price");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("message"); // empty: the window's failure message
        const QString range = ", 0 és 999 999 közötti szám lehet, legfeljebb 4 tizedesjeggyel!";
        QTest::newRow("new, lone comma") << false << ","
                                         << "kg"
                                         << "Az egységár nem szám („,”)" + range;
        QTest::newRow("new, two commas") << false << "1,2,3"
                                         << "kg"
                                         << "Az egységár nem szám („1,2,3”)" + range;
        QTest::newRow("new, unit too long") << false << "5"
                                            << "kilogrammonként" << QString();
        QTest::newRow("change, lone comma") << true << ","
                                            << "kg"
                                            << "Az egységár nem szám („,”)" + range;
        QTest::newRow("change, unit too long") << true << "5"
                                               << "kilogrammonként" << QString();
    }
    void failedSaveKeepsTheWindow() {
        QFETCH(bool, change);
        QFETCH(QString, price);
        QFETCH(QString, unit);
        QFETCH(QString, message);
        TestDatabase db(true);
        UiRecorder recorder;
        const QString code = change ? "4" : "8";
        const QString failure = message.isEmpty()
                                    ? change ? QStringLiteral("Hiba: Módositásban, UPDATE a termékben ")
                                             : QStringLiteral("Hiba: Újban, INSERT  a termékben ")
                                    : message;
        withBrowser(recorder, [&](TForm6& browser) {
            QVERIFY(Data->ZQ40->Locate("T_KOD", "4", 0));
            inEntry(recorder,
                    change ? child<QPushButton>(browser, "Button2") : child<QPushButton>(browser, "Button1"),
                    [&](TForm7& entry) {
                        child<QLineEdit>(entry, "Edit3")->setText(QStringLiteral("Borjú, tejes"));
                        child<QLineEdit>(entry, "Edit5")->setText(price);
                        child<QLineEdit>(entry, "Edit6")->setText(unit);
                        QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                        QCOMPARE(recorder.messageTexts(), QStringList{failure});
                        QVERIFY(entry.isVisible());
                        QCOMPARE(child<QLineEdit>(entry, "Edit5")->text(), price);
                        QCOMPARE(child<QLineEdit>(entry, "Edit6")->text(), unit);
                        QCOMPARE(child<QLineEdit>(entry, "Edit3")->text(), QStringLiteral("Borjú, tejes"));
                        QVERIFY(Data->ZQ40->Active());

                        child<QLineEdit>(entry, "Edit5")->setText(QStringLiteral("650,5"));
                        child<QLineEdit>(entry, "Edit6")->setText(QStringLiteral("kg"));
                        QTest::mouseClick(child<QPushButton>(entry, "Button1"), Qt::LeftButton);
                        QVERIFY(!entry.isVisible());
                    });
            QCOMPARE(current("T_KOD"), code);
        });
        QCOMPARE(recorder.messages.size(), 1);
        QCOMPARE(count("termek"), change ? 7 : 8);
        QCOMPARE(storedAnimal(code).value("T_EAR").toDouble(), 650.5);
        QCOMPARE(storedAnimal(code).value("T_MEGNEVEZES").toString(), QStringLiteral("Borjú, tejes"));
    }

    // Enter moves on, Shift+Enter back; code and per cent take digits, the price digits and the comma.
    void keysInTheEntry() {
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm6& browser) {
            inEntry(recorder, child<QPushButton>(browser, "Button1"), [&](TForm7& entry) {
                child<QLineEdit>(entry, "Edit2")->setFocus();
                child<QLineEdit>(entry, "Edit2")->clear();
                QTest::keyClicks(child<QLineEdit>(entry, "Edit2"), "1a2.");
                QCOMPARE(child<QLineEdit>(entry, "Edit2")->text(), QStringLiteral("12"));
                QTest::keyClick(child<QLineEdit>(entry, "Edit2"), Qt::Key_Return);
                QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(entry, "Edit3"));
                QTest::keyClick(child<QLineEdit>(entry, "Edit3"), Qt::Key_Enter, Qt::ShiftModifier);
                QCOMPARE(QApplication::focusWidget(), child<QLineEdit>(entry, "Edit2"));
                child<QLineEdit>(entry, "Edit5")->clear();
                QTest::keyClicks(child<QLineEdit>(entry, "Edit5"), "3.4,5x");
                QCOMPARE(child<QLineEdit>(entry, "Edit5")->text(), QStringLiteral("34,5"));
                child<QLineEdit>(entry, "Edit7")->clear();
                QTest::keyClicks(child<QLineEdit>(entry, "Edit7"), "1,2");
                QCOMPARE(child<QLineEdit>(entry, "Edit7")->text(), QStringLiteral("12"));
                QStringList order;
                QWidget* next = child<QLineEdit>(entry, "Edit2");
                for (int i = 0; i < 9; ++i) {
                    order << next->objectName();
                    next = next->nextInFocusChain();
                    while (!(next->focusPolicy() & Qt::TabFocus))
                        next = next->nextInFocusChain();
                }
                QCOMPARE(order,
                         QString("Edit2 Edit3 Edit4 Edit5 Edit6 Edit7 Button1 Button2 Edit1").split(' '));
            });
        });
    }

    void deleteRefusedForLastAnimal() {
        TestDatabase db(true);
        db.exec("DELETE FROM termek WHERE t_kod <> '4'");
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm6& browser) {
            QTest::mouseClick(child<QPushButton>(browser, "Button3"), Qt::LeftButton);
        });
        QCOMPARE(recorder.messageTexts(), QStringList{"Az utolsó terméksor nem törölhető ki."});
        QCOMPARE(count("termek"), 1);
    }

    // Tickets using an animal do not stop its delete, and keep the values they copied. The delete is for good
    // at once.
    void deleteAnimalUsedOnTickets() {
        TestDatabase db(true);
        db.exec(
            "INSERT INTO fjsor (s_bszam, s_termekkod, s_megnevezes, s_vtsz, s_brutto, s_levonszaz, s_megy, "
            "s_ear, s_kompmerteke, s_akod) VALUES ('10000001', '1', 'Vágósertés', '0103 92 19', 100, 0, "
            "'kg', 310, 7, '1')");
        UiRecorder recorder;
        AllatKulcs = "Sül";
        withBrowser(recorder, [&](TForm6& browser) {
            QVERIFY(Data->ZQ40->Locate("T_KOD", "1", 0));
            QTest::mouseClick(child<QPushButton>(browser, "Button3"), Qt::LeftButton);
            QCOMPARE(current("T_MEGNEVEZES"), QStringLiteral("Süldő"));
            QCOMPARE(child<QLabel>(browser, "Label8")->text(),
                     QStringLiteral("Termék lista, \"Megnevezés\" szerint"));
            QCOMPARE(listCodes().size(), 6);
        });
        QCOMPARE(recorder.messageTexts(), QStringList{"Az termék sor törlölve!"});
        if (!Data->IBTrans1->Active())
            Data->IBTrans1->StartTransaction();
        Data->IBTrans1->Rollback();
        QVERIFY(storedAnimal("1").isEmpty());
        QCOMPARE(count("termek"), 6);

        TZQuery line(QStringLiteral("check"), Data->ZCon1, Data->IBTrans1);
        vardelo::openQuery(&line, {QStringLiteral("SELECT * FROM fjsor WHERE s_termekkod = '1'")});
        QVERIFY(!line.IsEmpty());
        QCOMPARE(line.FieldByName("S_MEGNEVEZES").AsString(), QStringLiteral("Vágósertés"));
        QCOMPARE(line.FieldByName("S_VTSZ").AsString(), QStringLiteral("0103 92 19"));
        QCOMPARE(line.FieldByName("S_EAR").AsFloat(), 310.0);
        QCOMPARE(line.FieldByName("S_VETELAR").AsFloat(), 33170.0);
    }

    void sortByTitle_data() {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("codes");
        QTest::newRow("T_KOD") << "T_KOD"
                               << "Termék lista, \"Kód\" szerint"
                               << "1 10 2 3 4 5 6 7";
        QTest::newRow("T_MEGNEVEZES") << "T_MEGNEVEZES"
                                      << "Termék lista, \"Megnevezés\" szerint"
                                      << "10 4 6 2 5 7 3 1";
        QTest::newRow("ID_TERMEK") << "ID_TERMEK"
                                   << "Termék lista a beviteli sorrend szerint"
                                   << "1 2 3 4 5 6 7 10";
    }
    void sortByTitle() {
        QFETCH(QString, title);
        QFETCH(QString, label);
        QFETCH(QString, codes);
        TestDatabase db(true);
        addAnimal(db, "10", "Bárány");
        UiRecorder recorder;
        AllatKulcs = "Vágóm";
        withBrowser(recorder, [&](TForm6& browser) {
            QCOMPARE(current("T_KOD"), QStringLiteral("3"));
            clickTitle(child<TDBGrid>(browser, "DBGrid1"), title);
            QCOMPARE(child<QLabel>(browser, "Label8")->text(), label);
            QCOMPARE(Data->ZQ40->RecNo(), 1);
            QCOMPARE(listCodes().join(' '), codes);
        });
    }

    void otherTitlesDoNothing() {
        TestDatabase db(true);
        UiRecorder recorder;
        withBrowser(recorder, [&](TForm6& browser) {
            const QString sql = Data->ZQ40->SQL.Text();
            for (const char* title : {"T_VTSZ", "T_EAR", "T_MEGY", "T_KOMPMERTEKE"})
                clickTitle(child<TDBGrid>(browser, "DBGrid1"), title);
            QCOMPARE(Data->ZQ40->SQL.Text(), sql);
            QCOMPARE(child<QLabel>(browser, "Label8")->text(),
                     QStringLiteral("Termék lista, \"Megnevezés\" szerint"));
        });
    }
};

QTEST_MAIN(TestAnimalRegister)
#include "test_animal_register.moc"
