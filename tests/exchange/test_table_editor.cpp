#include "data/data_module.h"
#include "data/database_error.h"
#include "data/shared_values.h"
#include "exchange/password_dialog.h"
#include "exchange/table_editor.h"
#include "support/children.h"
#include "support/test_database.h"
#include "support/ui_recorder.h"
#include "widgets/db_grid.h"
#include "widgets/db_navigator.h"
#include "widgets/ui_service.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

using vardelo::testing::child;
using namespace vardelo;
using vardelo::testing::TestDatabase;

// The raw table editor: access codes, the unlock key, locking again on close, edits through the data module.
class TestTableEditor : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void opensLocked();
    void accessCodes_data();
    void accessCodes();
    void askedAgainAfterAWrongCode();
    void unlockKey_data();
    void unlockKey();
    void closingLocksAgain();
    void sorszamColumns();
    void editsPostThroughTheDataModule();
    void refusedEditIsExplained();
    void passwordDialog();

private:
    static bool fiveWritable() {
        for (int i = 1; i <= 5; ++i)
            if (Data->Table(i)->ReadOnly || !Data->Table(i)->Active())
                return false;
        return true;
    }
    static bool fiveLocked() {
        for (int i = 1; i <= 5; ++i)
            if (!Data->Table(i)->ReadOnly || !Data->Table(i)->Active())
                return false;
        return true;
    }
    // "Szerkeszt" with a code typed into the dialog and the dialog closed by the given button.
    static void enterCode(UiRecorder& recorder, TForm22& form, const QString& code, bool ok) {
        recorder.expectModal([&](QDialog& dialog) {
            auto& password = static_cast<TPasswordDlg&>(dialog);
            QTest::keyClicks(child<QLineEdit>(password, "Password"), code);
            (ok ? child<QPushButton>(password, "OKBtn") : child<QPushButton>(password, "CancelBtn"))->click();
        });
        child<QPushButton>(form, "Button6")->click();
    }

    std::unique_ptr<TestDatabase> db_;
};

void TestTableEditor::init() {
    db_ = std::make_unique<TestDatabase>(true);
    for (int i = 1; i <= 6; ++i)
        Data->Table(i)->Open();
    AktAkod = QStringLiteral("2");
    Data->IBTable6->Locate(QStringLiteral("V_AKOD"), AktAkod, 0);
}

void TestTableEditor::cleanup() {
    db_.reset();
}

void TestTableEditor::opensLocked() {
    TForm22 form;
    QCOMPARE(form.windowTitle(), QStringLiteral("Adatbázis"));
    QCOMPARE(child<QTabWidget>(form, "PageControl1")->count(), 8);
    QStringList captions;
    for (int i = 0; i < 8; ++i)
        captions << child<QTabWidget>(form, "PageControl1")->tabText(i);
    QCOMPARE(captions, (QStringList{"FjFej", "FjSor", "Ostermelo", "Termek", "Sorszam", "Atvevo", "Naplo",
                                    "Kapcsolat"}));
    // The journal only behind a code.
    for (const char* hidden : {"DBGrid7", "DBNavigator7", "DBGrid8", "DBNavigator8"})
        QVERIFY(form.findChild<QWidget*>(hidden)->isHidden());
    QCOMPARE(child<QTabWidget>(form, "PageControl1")->currentIndex(), 0);
    QVERIFY(child<TDBGrid>(form, "DBGrid6")->isHidden());
    QVERIFY(child<TDBNavigator>(form, "DBNavigator6")->isHidden());
    for (int i = 0; i < 6; ++i) {
        QCOMPARE(child<TDBGrid>(form, QStringLiteral("DBGrid") + QString::number(i + 1))->DataSet(),
                 Data->Table(i + 1));
        QCOMPARE(child<TDBNavigator>(form, QStringLiteral("DBNavigator") + QString::number(i + 1))
                     ->VisibleButtons(),
                 nbAllButtons);
    }
    QVERIFY(fiveLocked());
    QVERIFY(!Data->IBTable6->ReadOnly);
}

void TestTableEditor::accessCodes_data() {
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("ok");
    QTest::addColumn<bool>("unlocked");
    QTest::addColumn<bool>("purchasersShown");
    // The journal shows with either code, and only ever to read.
    QTest::newRow("first code") << "518273046" << true << true << false;
    QTest::newRow("first code, Cancel") << "518273046" << false << true << false;
    QTest::newRow("second code") << "qvx" << true << true << true;
    QTest::newRow("second code, Cancel") << "qvx" << false << true << true;
    QTest::newRow("wrong code") << "518273047" << true << false << false;
    QTest::newRow("empty") << "" << true << false << false;
    QTest::newRow("other case") << "QVX" << true << false << false;
    QTest::newRow("trailing blank") << "518273046 " << true << false << false;
    QTest::newRow("part of the code") << "51827" << true << false << false;
}

void TestTableEditor::accessCodes() {
    QFETCH(QString, code);
    QFETCH(bool, ok);
    QFETCH(bool, unlocked);
    QFETCH(bool, purchasersShown);
    UiRecorder recorder;
    TForm22 form;
    recorder.expectModal([&](QDialog& dialog) {
        enterCode(recorder, static_cast<TForm22&>(dialog), code, ok);
        QCOMPARE(fiveWritable(), unlocked);
        QCOMPARE(fiveLocked(), !unlocked);
        QCOMPARE(!child<TDBGrid>(dialog, "DBGrid6")->isHidden(), purchasersShown);
        QCOMPARE(!child<TDBNavigator>(dialog, "DBNavigator6")->isHidden(), purchasersShown);
        QCOMPARE(!child<TDBGrid>(dialog, "DBGrid7")->isHidden(), unlocked);
        QCOMPARE(!child<TDBGrid>(dialog, "DBGrid8")->isHidden(), unlocked);
        if (unlocked) {
            auto* journal = child<TDBGrid>(dialog, "DBGrid7");
            QVERIFY(journal->ReadOnly());
            QVERIFY(journal->DataSet()->Active());
            QVERIFY(journal->DataSet()->FindField("N_VALTOZAS"));
            QVERIFY(!journal->GridModel()->CanEdit());
            QCOMPARE(child<TDBNavigator>(dialog, "DBNavigator7")->VisibleButtons(), nbMoveButtons);
            QVERIFY(!journal->DataSet()->IsEmpty());
        }
        QVERIFY(!Data->IBTable6->ReadOnly);
        // A used code is forgotten; a wrong one is kept until the window closes.
        QCOMPARE(static_cast<TForm22&>(dialog).EnteredCode.isEmpty(), unlocked || code.isEmpty());
        // The purchaser chosen stays current.
        QCOMPARE(Data->IBTable6->FieldByName("V_AKOD").AsString(), QStringLiteral("2"));
    });
    ui().showModal(form);
    QCOMPARE(recorder.modalsShown, (QStringList{"Form22", "PasswordDlg"}));
    QCOMPARE(recorder.messageTexts(), QStringList{});
    QVERIFY(form.EnteredCode.isEmpty());
}

void TestTableEditor::askedAgainAfterAWrongCode() {
    UiRecorder recorder;
    TForm22 form;
    enterCode(recorder, form, QStringLiteral("rossz"), true);
    QVERIFY(fiveLocked());
    enterCode(recorder, form, QStringLiteral("518273046"), true);
    QCOMPARE(recorder.modalsShown, (QStringList{"PasswordDlg", "PasswordDlg"}));
    QVERIFY(fiveWritable());
    QVERIFY(child<TDBGrid>(form, "DBGrid6")->isHidden());
}

void TestTableEditor::unlockKey_data() {
    QTest::addColumn<char>("key");
    QTest::addColumn<bool>("unlocked");
    QTest::newRow("E") << 'E' << true;
    QTest::newRow("e") << 'e' << true;
    QTest::newRow("another letter") << 'x' << false;
}

void TestTableEditor::unlockKey() {
    QFETCH(char, key);
    QFETCH(bool, unlocked);
    UiRecorder recorder;
    TForm22 form;
    recorder.expectModal([&](QDialog&) {
        child<QPushButton>(form, "Button6")->setFocus();
        QTest::keyClick(child<QPushButton>(form, "Button6"), key);
        QCOMPARE(fiveWritable(), unlocked);
        QVERIFY(child<TDBGrid>(form, "DBGrid6")->isHidden());
        QCOMPARE(child<TDBGrid>(form, "DBGrid7")->isHidden(), !unlocked);
    });
    ui().showModal(form);
    QCOMPARE(recorder.modalsShown, QStringList{"Form22"});
}

// Closing locks the five tables for the rest of the program; a new window starts locked, purchasers hidden.
void TestTableEditor::closingLocksAgain() {
    UiRecorder recorder;
    {
        TForm22 form;
        recorder.expectModal([&](QDialog&) {
            enterCode(recorder, form, QStringLiteral("qvx"), true);
            QVERIFY(fiveWritable());
            child<QPushButton>(form, "Button1")->click();
        });
        ui().showModal(form);
    }
    QVERIFY(fiveLocked());
    QVERIFY(!Data->IBTable6->ReadOnly);
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, Data->IBTable4->Edit());
    TForm22 again;
    QVERIFY(child<TDBGrid>(again, "DBGrid6")->isHidden());
    QVERIFY(again.EnteredCode.isEmpty());
}

void TestTableEditor::sorszamColumns() {
    TForm22 form;
    TDBGrid* grid = child<TDBGrid>(form, "DBGrid5");
    QStringList fields;
    for (int c = 0; c < grid->ColumnCount(); ++c)
        fields << grid->ColumnFieldName(c);
    QCOMPARE(fields, (QStringList{"ID_SORSZAM", "A_FJBSZAM", "A_AKOD"}));
    // The table itself has the other two columns.
    QVERIFY(Data->IBTable5->FindField(QStringLiteral("A_SZERIA")));
    QVERIFY(Data->IBTable5->FindField(QStringLiteral("A_VERZIO")));
}

// An edit typed into a grid cell is posted through the table component when the window closes.
void TestTableEditor::editsPostThroughTheDataModule() {
    UiRecorder recorder;
    {
        TForm22 form;
        recorder.expectModal([&](QDialog&) {
            QTest::keyClick(child<QPushButton>(form, "Button6"), 'e');
            TDBGrid* grid = child<TDBGrid>(form, "DBGrid4");
            int column = -1;
            for (int c = 0; c < grid->ColumnCount(); ++c)
                if (grid->ColumnFieldName(c) == QStringLiteral("T_MEGNEVEZES"))
                    column = c;
            QVERIFY(column >= 0);
            QVERIFY(grid->model()->flags(grid->model()->index(0, column)) & Qt::ItemIsEditable);
            QVERIFY(grid->model()->setData(grid->model()->index(0, column), QStringLiteral("Vágósertés őszi"),
                                           Qt::EditRole));
            QCOMPARE(Data->IBTable4->State(), TDataSetState::Edit);
        });
        ui().showModal(form);
    }
    QCOMPARE(recorder.messageTexts(), QStringList{});
    Data->IBTable4->First();
    QCOMPARE(Data->IBTable4->FieldByName("T_MEGNEVEZES").AsString(), QStringLiteral("Vágósertés őszi"));
    QVERIFY(Data->IBTable4->ReadOnly);
}

// What the database or the field refuses is said in Hungarian, in the general error box; the engine's own
// words are only its details.
void TestTableEditor::refusedEditIsExplained() {
    for (int line = 1; line <= 2; ++line)
        db_->exec(QStringLiteral("INSERT INTO FJSOR (S_BSZAM, S_AKOD, S_BRUTTO, S_LEVONSZAZ) "
                                 "VALUES ('20000001', '2', %1, 0)")
                      .arg(line * 10));
    Data->IBTable2->Close();
    Data->IBTable2->Open();
    UiRecorder recorder;
    {
        TForm22 form;
        recorder.expectModal([&](QDialog&) {
            QTest::keyClick(child<QPushButton>(form, "Button6"), 'e');
            TDBGrid* grid = child<TDBGrid>(form, "DBGrid2");
            int column = -1;
            for (int c = 0; c < grid->ColumnCount(); ++c)
                if (grid->ColumnFieldName(c) == QStringLiteral("S_BRUTTO"))
                    column = c;
            QVERIFY(column >= 0);
            QAbstractItemModel* model = grid->model();
            QVERIFY(!model->setData(model->index(0, column), QStringLiteral("1000000X"), Qt::EditRole));
            QVERIFY(model->setData(model->index(0, column), QStringLiteral("1000000"), Qt::EditRole));
            // Moving to the next row posts the edited one, which the table's check refuses.
            grid->setCurrentIndex(model->index(1, column));
            QCOMPARE(Data->IBTable2->State(), TDataSetState::Edit);
        });
        ui().showModal(form);
    }
    QVERIFY2(recorder.messages.size() >= 2, qPrintable(recorder.messageTexts().join(QLatin1Char('|'))));
    const RecordedMessage& letters = recorder.messages.at(0);
    QCOMPARE(letters.caption, QStringLiteral("Hiba"));
    QCOMPARE(letters.text, QStringLiteral("'1000000X' nem érvényes szám."));
    const RecordedMessage& check = recorder.messages.at(1);
    QCOMPARE(check.caption, QStringLiteral("Hiba"));
    QCOMPARE(check.text, QStringLiteral("Egy mező értéke nem megengedett (FJSOR_BRUTTO_RANGE)."));
    QVERIFY2(check.details.contains(QStringLiteral("CHECK constraint FJSOR_BRUTTO_RANGE")),
             qPrintable(check.details));
    for (const RecordedMessage& message : recorder.messages)
        QVERIFY2(!message.text.contains(QStringLiteral("Operation violates")), qPrintable(message.text));
}

void TestTableEditor::passwordDialog() {
    TPasswordDlg dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Jelszó"));
    QCOMPARE(child<QLabel>(dialog, "Label1")->text(), QStringLiteral("Kérem adja meg a jelszót"));
    QCOMPARE(child<QLineEdit>(dialog, "Password")->echoMode(), QLineEdit::Password);
    QCOMPARE(
        child<QLineEdit>(dialog, "Password")
            ->style()
            ->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, child<QLineEdit>(dialog, "Password")),
        int('*'));
    QVERIFY(child<QPushButton>(dialog, "OKBtn")->isDefault());
    QCOMPARE(child<QPushButton>(dialog, "OKBtn")->text(), QStringLiteral("OK"));
    QCOMPARE(child<QPushButton>(dialog, "CancelBtn")->text(), QStringLiteral("Cancel"));
}

QTEST_MAIN(TestTableEditor)
#include "test_table_editor.moc"
