// The line dialog with a scale in vardelo.ini, a pseudo-terminal standing in for the indicator: "Mérleg" and
// F2 put the stable gross weight into "Bruttó menny", a refused reading says why, a silent indicator is told
// within three seconds while the window stays usable, and the stored line keeps the weight read from the
// scale. Without the setting the dialog is as it always was.
#include "support/children.h"
#include "support/pseudo_terminal.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "ticket_data.h"
#include "ticket_fixture.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QTest>
#include <memory>

using namespace vardelo;
using namespace vardelo::testing;

namespace {

void writeScaleSettings(const TestDatabase& db, const QString& port) {
    QFile ini(QDir(db.folder()).filePath(QStringLiteral("vardelo.ini")));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[Merleg]\nPort=" + port.toUtf8() + "\nSebesseg=9600\nFormatum=vesszo\n");
}

// Everything of a line but its gross weight.
void fillAllButWeight(QDialog& dialog) {
    child<QLineEdit>(dialog, "Edit3")->setText("Süldő");
    child<QLineEdit>(dialog, "Edit4")->setText("0103 91 10");
    child<QLineEdit>(dialog, "Edit6")->setText("kg");
    child<QLineEdit>(dialog, "Edit7")->setText("420");
    child<QLineEdit>(dialog, "Edit8")->setText("7");
    child<QLineEdit>(dialog, "Edit9")->setText("2");
}

void save(QDialog& dialog) {
    child<QPushButton>(dialog, "OkButton")->click();
    QVERIFY(!dialog.isVisible());
}

// A new ticket's entry, open, with the scale on the indicator's port (or none).
struct Entry {
    explicit Entry(const QString& port = QString()) {
        if (!port.isEmpty())
            writeScaleSettings(db, port);
        selectPurchaser("1");
        JegyMod = tickets::UjJegy;
        form = std::make_unique<TForm9>();
        form->show();
    }
    void newLine(UiRecorder::ModalScript script) {
        rec.expectModal(std::move(script));
        child<QPushButton>(form, "NewLineButton")->click();
        QCOMPARE(rec.pendingScripts(), 0);
    }
    TestDatabase db{true};
    UiRecorder rec;
    std::unique_ptr<TForm9> form;
};

} // namespace

class TestLineScale : public QObject {
    Q_OBJECT
private slots:
    void weightTakenAndStoredAsWeighed();
    void refusedReadingSaysWhy();
    void silentIndicatorToldWhileWindowWorks();
    void withoutTheSettingNothingChanges();
    void changedLineKeepsItsScaleWeight();
    void databaseWithoutTheColumn();
};

void TestLineScale::weightTakenAndStoredAsWeighed() {
    PseudoTerminal indicator;
    Entry entry(indicator.portName());
    // "Mérleg": the live reading is what the button takes.
    entry.newLine([&](QDialog& dialog) {
        auto* label = child<QLabel>(dialog, "ScaleLabel");
        auto* gross = child<QLineEdit>(dialog, "Edit5");
        fillAllButWeight(dialog);
        indicator.send("ST,GS,+0001234.5kg\r\n");
        QTRY_COMPARE(label->text(), QStringLiteral("1234,5 kg"));
        child<QPushButton>(dialog, "ScaleButton")->click();
        QCOMPARE(gross->text(), QStringLiteral("1234,5"));
        QCOMPARE(dialog.focusWidget(), gross);
        save(dialog);
    });
    // F2, then the weight typed over: both are kept.
    entry.newLine([&](QDialog& dialog) {
        auto* gross = child<QLineEdit>(dialog, "Edit5");
        fillAllButWeight(dialog);
        child<QLineEdit>(dialog, "Edit3")->setText("Borjú");
        indicator.send("ST,GS,+0000500.0kg\r\n");
        QTRY_COMPARE(child<QLabel>(dialog, "ScaleLabel")->text(), QStringLiteral("500 kg"));
        QTest::keyClick(child<QLineEdit>(dialog, "Edit3"), Qt::Key_F2);
        QCOMPARE(gross->text(), QStringLiteral("500"));
        gross->setText("480");
        save(dialog);
    });
    // Typed only, with the scale on.
    entry.newLine([&](QDialog& dialog) {
        fillAllButWeight(dialog);
        child<QLineEdit>(dialog, "Edit3")->setText("Bárány");
        child<QLineEdit>(dialog, "Edit5")->setText("61");
        save(dialog);
    });
    QCOMPARE(entry.rec.messageTexts(), QStringList());
    auto stored = [](const char* name, const char* column) {
        return committedValue(QStringLiteral("SELECT %1 FROM fjsor WHERE s_megnevezes = '%2'")
                                  .arg(QLatin1String(column), QString::fromUtf8(name)));
    };
    QCOMPARE(stored("Süldő", "s_brutto").toDouble(), 1234.5);
    QCOMPARE(stored("Süldő", "s_merleg").toDouble(), 1234.5);
    QCOMPARE(stored("Borjú", "s_brutto").toDouble(), 480.0);
    QCOMPARE(stored("Borjú", "s_merleg").toDouble(), 500.0);
    QCOMPARE(stored("Bárány", "s_brutto").toDouble(), 61.0);
    QVERIFY(stored("Bárány", "s_merleg").isNull());
}

void TestLineScale::refusedReadingSaysWhy() {
    PseudoTerminal indicator;
    Entry entry(indicator.portName());
    entry.newLine([&](QDialog& dialog) {
        auto* gross = child<QLineEdit>(dialog, "Edit5");
        auto* label = child<QLabel>(dialog, "ScaleLabel");
        indicator.send("US,GS,+0001234.5kg\r\n");
        QTRY_COMPARE(label->text(), QStringLiteral("1234,5 kg, nem nyugodt"));
        QCOMPARE(label->toolTip(), QStringLiteral("A mérleg nem nyugodt"));
        child<QPushButton>(dialog, "ScaleButton")->click();
        QCOMPARE(entry.rec.messageTexts(), QStringList{"A mérleg nem nyugodt"});
        QCOMPARE(gross->text(), QString());
        indicator.send("ST,NT,+0001000.0kg\r\n");
        QTRY_COMPARE(label->text(), QStringLiteral("1000 kg, nettó"));
        child<QPushButton>(dialog, "ScaleButton")->click();
        QCOMPARE(entry.rec.lastMessage(), QStringLiteral("A mérleg nettó súlyt mutat"));
        QCOMPARE(gross->text(), QString());
        // Settled, the same button takes it; the dialog's own checks run as for a typed weight.
        indicator.send("ST,GS,+1234567.0kg\r\n");
        QTRY_COMPARE(label->text(), QStringLiteral("1234567 kg"));
        child<QPushButton>(dialog, "ScaleButton")->click();
        QCOMPARE(gross->text(), QStringLiteral("1234567"));
        fillAllButWeight(dialog);
        child<QPushButton>(dialog, "OkButton")->click();
        QVERIFY(dialog.isVisible());
        QCOMPARE(entry.rec.lastMessage(),
                 QStringLiteral("A bruttó mennyiség -999 999 és 999 999 közötti szám "
                                "lehet, legfeljebb 4 tizedesjeggyel!"));
    });
    QCOMPARE(value("SELECT COUNT(*) FROM fjsor").toInt(), 0);
}

void TestLineScale::silentIndicatorToldWhileWindowWorks() {
    PseudoTerminal indicator;
    Entry entry(indicator.portName());
    entry.newLine([&](QDialog& dialog) {
        QElapsedTimer clock;
        clock.start();
        // Pressed at once: the button does not wait for the indicator.
        child<QPushButton>(dialog, "ScaleButton")->click();
        QCOMPARE(entry.rec.messageTexts(), QStringList());
        fillAllButWeight(dialog);
        QTest::keyClicks(child<QLineEdit>(dialog, "Edit5"), "100");
        QTRY_COMPARE_WITH_TIMEOUT(entry.rec.messageTexts().size(), 1, 3000);
        QVERIFY(clock.elapsed() < 3000);
        QCOMPARE(entry.rec.lastMessage(),
                 QStringLiteral("A mérleg nem küld adatot (port: %1). Ellenőrizze, hogy be van-e kapcsolva, "
                                "és hogy a kábele csatlakozik-e!")
                     .arg(indicator.portName()));
        QCOMPARE(child<QLabel>(dialog, "ScaleLabel")->text(), QStringLiteral("nem érkezik adat"));
        QCOMPARE(child<QLineEdit>(dialog, "Edit5")->text(), QStringLiteral("100"));
        save(dialog);
    });
    QCOMPARE(committedValue("SELECT s_brutto FROM fjsor").toDouble(), 100.0);
    QVERIFY(committedValue("SELECT s_merleg FROM fjsor").isNull());
}

void TestLineScale::withoutTheSettingNothingChanges() {
    Entry entry;
    entry.newLine([&](QDialog& dialog) {
        QVERIFY(!dialog.findChild<QPushButton*>("ScaleButton"));
        QVERIFY(!dialog.findChild<QLabel*>("ScaleLabel"));
        fillAllButWeight(dialog);
        QTest::keyClick(child<QLineEdit>(dialog, "Edit5"), Qt::Key_F2);
        QCOMPARE(child<QLineEdit>(dialog, "Edit5")->text(), QString());
        child<QLineEdit>(dialog, "Edit5")->setText("100");
        save(dialog);
    });
    QCOMPARE(entry.rec.messageTexts(), QStringList());
    QVERIFY(committedValue("SELECT s_merleg FROM fjsor").isNull());
}

// A weighed line changed later keeps the weight read from the scale, whether or not the scale is on now.
void TestLineScale::changedLineKeepsItsScaleWeight() {
    TestDatabase db(true);
    UiRecorder rec;
    selectPurchaser("1");
    storeTicket(db, {});
    storeLine(db, {.gross = "250"});
    db.exec("UPDATE fjsor SET s_merleg = 250.5");
    JegyMod = tickets::JegyModositas;
    TForm9 form;
    tickets::openTicketHeaders();
    tickets::locateTicket("10000001");
    tickets::openTicketLines("10000001");
    form.LoadForChange();
    form.show();
    rec.expectModal([](QDialog& dialog) {
        child<QLineEdit>(dialog, "Edit5")->setText("300");
        save(dialog);
    });
    child<QPushButton>(form, "ChangeLineButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList());
    QCOMPARE(committedValue("SELECT s_brutto FROM fjsor").toDouble(), 300.0);
    QCOMPARE(committedValue("SELECT s_merleg FROM fjsor").toDouble(), 250.5);
}

// A database on a server that has not yet been given the column (the first desk to open it after an update
// lacked the right): lines are written and changed as before.
void TestLineScale::databaseWithoutTheColumn() {
    PseudoTerminal indicator;
    Entry entry(indicator.portName());
    // As a database of the version before the scale: the journal's trigger of the lines names the column.
    entry.db.exec("DROP TRIGGER FJSOR_NAPLO");
    entry.db.exec("ALTER TABLE fjsor DROP s_merleg");
    entry.newLine([&](QDialog& dialog) {
        fillAllButWeight(dialog);
        child<QLineEdit>(dialog, "Edit5")->setText("100");
        save(dialog);
    });
    entry.rec.expectModal([](QDialog& dialog) {
        QCOMPARE(child<QLineEdit>(dialog, "Edit5")->text(), QStringLiteral("100"));
        child<QLineEdit>(dialog, "Edit5")->setText("120");
        save(dialog);
    });
    child<QPushButton>(entry.form, "ChangeLineButton")->click();
    QCOMPARE(entry.rec.messageTexts(), QStringList());
    QCOMPARE(value("SELECT COUNT(*) FROM rdb$relation_fields WHERE rdb$relation_name = 'FJSOR' AND "
                   "rdb$field_name = 'S_MERLEG'")
                 .toInt(),
             0);
    QCOMPARE(value("SELECT s_brutto FROM fjsor").toDouble(), 120.0);
}

QTEST_MAIN(TestLineScale)
#include "test_line_scale.moc"
