#include "widgets/key_filters.h"

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

using namespace vardelo;

Q_DECLARE_METATYPE(vardelo::KeyFilterKind)

namespace {

// Types the text key by key, with the character as the key's text (QTest::keyClicks takes only ASCII).
void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        const Qt::Key key = c.unicode() < 128 ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown;
        QTest::sendKeyEvent(QTest::Press, widget, key, QString(c), Qt::NoModifier);
        QTest::sendKeyEvent(QTest::Release, widget, key, QString(c), Qt::NoModifier);
    }
}

} // namespace

class TestKeyFilters : public QObject {
    Q_OBJECT
private slots:
    void typedKeys_data();
    void typedKeys();
    void editingKeysPass();
    void enterDropped();
    void pastedText_data();
    void pastedText();
    void programText();
    void enterMovesFocus();
    void enterInOtherWindow();
    void filterGoesWithWindow();
};

void TestKeyFilters::typedKeys_data() {
    QTest::addColumn<KeyFilterKind>("kind");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");

    QTest::newRow("digits") << KeyFilterKind::Digits << "a1b2 3.4,5-6"
                            << "123456";
    QTest::newRow("digits and point") << KeyFilterKind::DigitsPoint << "2010.08.31,x"
                                      << "2010.08.31";
    QTest::newRow("digits and comma") << KeyFilterKind::DigitsComma << "12,5.0-"
                                      << "12,50";
    QTest::newRow("digits, comma, minus") << KeyFilterKind::DigitsCommaMinus << "-12,5.e+"
                                          << "-12,5";
    QTest::newRow("one and two") << KeyFilterKind::OneTwo << "0123 21"
                                 << "1221";
    QTest::newRow("decimal number, point becomes comma") << KeyFilterKind::DecimalNumber << "12.5x-"
                                                         << "12,5";
    QTest::newRow("accented letters dropped") << KeyFilterKind::Digits << QStringLiteral("ő1ű2é") << "12";
}

void TestKeyFilters::typedKeys() {
    QFETCH(KeyFilterKind, kind);
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QLineEdit edit;
    KeyFilter::install(&edit, kind);
    typeText(&edit, typed);
    QCOMPARE(edit.text(), expected);
}

void TestKeyFilters::editingKeysPass() {
    QLineEdit edit;
    KeyFilter::install(&edit, KeyFilterKind::Digits);
    QTest::keyClicks(&edit, "12345");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("1234"));
    QTest::keyClick(&edit, Qt::Key_Home);
    QTest::keyClick(&edit, Qt::Key_Delete);
    QCOMPARE(edit.text(), QStringLiteral("234"));
    QTest::keyClick(&edit, Qt::Key_Right);
    QTest::keyClicks(&edit, "9");
    QCOMPARE(edit.text(), QStringLiteral("2934"));
    QTest::keyClick(&edit, Qt::Key_End);
    QTest::keyClick(&edit, Qt::Key_Left, Qt::ShiftModifier);
    QCOMPARE(edit.selectedText(), QStringLiteral("4"));
    // Ctrl shortcuts pass: select all, then a digit replaces the selection.
    QTest::keyClick(&edit, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(edit.selectedText(), QStringLiteral("2934"));
    QTest::keyClicks(&edit, "7");
    QCOMPARE(edit.text(), QStringLiteral("7"));
    // Undo is a Ctrl shortcut too.
    QTest::keyClick(&edit, Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(edit.text(), QStringLiteral("2934"));
}

void TestKeyFilters::enterDropped() {
    QDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    auto* button = new QPushButton(QStringLiteral("OK"), &dialog);
    button->setDefault(true);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(edit);
    layout->addWidget(button);
    KeyFilter::install(edit, KeyFilterKind::Digits);
    QSignalSpy returned(edit, &QLineEdit::returnPressed);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QTest::keyClicks(edit, "12");
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(edit->text(), QStringLiteral("12"));
    QCOMPARE(returned.count(), 0);
    QCOMPARE(clicked.count(), 0);
}

void TestKeyFilters::pastedText_data() {
    QTest::addColumn<KeyFilterKind>("kind");
    QTest::addColumn<QString>("pasted");
    QTest::addColumn<QString>("expected"); // after "1" was typed and the text pasted behind it

    QTest::newRow("digits accepted") << KeyFilterKind::Digits << "234"
                                     << "1234";
    QTest::newRow("digits refused") << KeyFilterKind::Digits << "2a4"
                                    << "1";
    QTest::newRow("grouping blank refused") << KeyFilterKind::Digits << "1 000"
                                            << "1";
    QTest::newRow("point accepted") << KeyFilterKind::DigitsPoint << "0.5"
                                    << "10.5";
    QTest::newRow("comma refused in point field") << KeyFilterKind::DigitsPoint << "0,5"
                                                  << "1";
    QTest::newRow("comma accepted") << KeyFilterKind::DigitsComma << ",25"
                                    << "1,25";
    QTest::newRow("minus refused in comma field") << KeyFilterKind::DigitsComma << "-2"
                                                  << "1";
    QTest::newRow("minus accepted") << KeyFilterKind::DigitsCommaMinus << "-2"
                                    << "1-2";
    QTest::newRow("one and two accepted") << KeyFilterKind::OneTwo << "212"
                                          << "1212";
    QTest::newRow("three refused") << KeyFilterKind::OneTwo << "3"
                                   << "1";
    QTest::newRow("decimal point pasted as comma") << KeyFilterKind::DecimalNumber << "2.5"
                                                   << "12,5";
    QTest::newRow("letter refused in decimal field") << KeyFilterKind::DecimalNumber << "2.5e"
                                                     << "1";
}

void TestKeyFilters::pastedText() {
    QFETCH(KeyFilterKind, kind);
    QFETCH(QString, pasted);
    QFETCH(QString, expected);
    QLineEdit edit;
    KeyFilter::install(&edit, kind);
    QTest::keyClicks(&edit, "1");
    QGuiApplication::clipboard()->setText(pasted);
    QCOMPARE(QGuiApplication::clipboard()->text(), pasted);

    // By the Ctrl+V key ...
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(edit.text(), expected);
    // ... by the context menu's action (QLineEdit::paste) ...
    edit.setText(QStringLiteral("1"));
    edit.end(false);
    edit.paste();
    QCOMPARE(edit.text(), expected);
    // ... and by an insertion.
    edit.setText(QStringLiteral("1"));
    edit.end(false);
    edit.insert(pasted);
    QCOMPARE(edit.text(), expected);
    QVERIFY(edit.hasAcceptableInput());
}

void TestKeyFilters::programText() {
    // A value the program shows ("15,5" in a field that takes digits and points) stays as it is, counts as
    // acceptable input, and can be corrected; the clerk cannot add other characters to it.
    QLineEdit edit;
    KeyFilter::install(&edit, KeyFilterKind::DigitsPoint);
    edit.setText(QStringLiteral("15,5"));
    QCOMPARE(edit.text(), QStringLiteral("15,5"));
    QVERIFY(edit.hasAcceptableInput());

    QGuiApplication::clipboard()->setText(QStringLiteral(",x"));
    edit.end(false);
    edit.paste();
    QCOMPARE(edit.text(), QStringLiteral("15,5"));
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("15,"));
    QVERIFY(edit.hasAcceptableInput());
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QCOMPARE(edit.text(), QStringLiteral("15"));
    QGuiApplication::clipboard()->setText(QStringLiteral(","));
    edit.paste();
    QCOMPARE(edit.text(), QStringLiteral("15"));
    QTest::keyClicks(&edit, ".5");
    QCOMPARE(edit.text(), QStringLiteral("15.5"));

    // Text that was there before the filter came is taken the same way.
    QLineEdit earlier;
    earlier.setText(QStringLiteral("a1"));
    KeyFilter::install(&earlier, KeyFilterKind::Digits);
    earlier.end(false);
    QTest::keyClick(&earlier, Qt::Key_Backspace);
    QCOMPARE(earlier.text(), QStringLiteral("a"));
    QTest::keyClick(&earlier, Qt::Key_Home);
    QTest::keyClick(&earlier, Qt::Key_Delete);
    QCOMPARE(earlier.text(), QString());
}

namespace {

struct EntryWindow {
    std::unique_ptr<QDialog> dialog = std::make_unique<QDialog>();
    QLineEdit* edit1 = new QLineEdit(dialog.get());
    QLineEdit* edit2 = new QLineEdit(dialog.get());
    QPushButton* button = new QPushButton(QStringLiteral("OK"), dialog.get());
    QLineEdit* edit3 = new QLineEdit(dialog.get());

    EntryWindow() {
        auto* layout = new QVBoxLayout(dialog.get());
        for (QWidget* w : {static_cast<QWidget*>(edit1), static_cast<QWidget*>(edit2),
                           static_cast<QWidget*>(button), static_cast<QWidget*>(edit3)})
            layout->addWidget(w);
        button->setDefault(true);
        KeyFilter::install(edit2, KeyFilterKind::Digits);
        EnterMovesFocus::install(dialog.get());
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        edit1->setFocus();
    }
};

} // namespace

void TestKeyFilters::enterMovesFocus() {
    EntryWindow w;
    QVERIFY(QTest::qWaitForWindowActive(w.dialog.get()));
    QSignalSpy clicked(w.button, &QPushButton::clicked);
    QSignalSpy returned(w.edit1, &QLineEdit::returnPressed);
    w.edit1->setFocus();
    QCOMPARE(QApplication::focusWidget(), w.edit1);

    QTest::keyClick(w.edit1, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.edit2);
    QTest::keyClick(w.edit2, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), w.button);
    // Enter on the button moves on and does not press it.
    QTest::keyClick(w.button, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.edit3);
    // From the last control round to the first.
    QTest::keyClick(w.edit3, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), w.edit1);
    // Shift+Enter goes back, round to the last.
    QTest::keyClick(w.edit1, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(QApplication::focusWidget(), w.edit3);
    QTest::keyClick(w.edit3, Qt::Key_Enter, Qt::ShiftModifier | Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), w.button);
    // Shift with another modifier counts as plain Enter.
    QTest::keyClick(w.button, Qt::Key_Return, Qt::ShiftModifier | Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), w.edit3);
    QTest::keyClick(w.edit3, Qt::Key_Return, Qt::ControlModifier);
    QCOMPARE(QApplication::focusWidget(), w.edit1);

    QCOMPARE(clicked.count(), 0);
    QCOMPARE(returned.count(), 0);
    // Other keys still reach the controls.
    QTest::keyClicks(w.edit1, "ab");
    QCOMPARE(w.edit1->text(), QStringLiteral("ab"));
}

void TestKeyFilters::enterInOtherWindow() {
    // A window without the filter, open beside or above one with it, keeps its own Enter handling.
    EntryWindow w;
    QDialog other;
    auto* edit = new QLineEdit(&other);
    auto* button = new QPushButton(QStringLiteral("OK"), &other);
    auto* layout = new QVBoxLayout(&other);
    layout->addWidget(edit);
    layout->addWidget(button);
    button->setDefault(true);
    QSignalSpy clicked(button, &QPushButton::clicked);
    QSignalSpy returned(edit, &QLineEdit::returnPressed);
    other.show();
    QApplication::setActiveWindow(&other);
    edit->setFocus();
    QVERIFY(QTest::qWaitForWindowActive(&other));
    QTest::keyClick(edit, Qt::Key_Return);
    QCOMPARE(returned.count(), 1);
    QCOMPARE(clicked.count(), 1);
    QCOMPARE(QApplication::focusWidget(), edit);
}

void TestKeyFilters::filterGoesWithWindow() {
    QPointer<EnterMovesFocus> filter;
    {
        EntryWindow w;
        filter = w.dialog->findChild<EnterMovesFocus*>();
        QVERIFY(filter);
    }
    QVERIFY(!filter);
    QLineEdit edit;
    QSignalSpy returned(&edit, &QLineEdit::returnPressed);
    QTest::keyClick(&edit, Qt::Key_Return);
    QCOMPARE(returned.count(), 1);
}

QTEST_MAIN(TestKeyFilters)
#include "test_key_filters.moc"
