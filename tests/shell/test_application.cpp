// The application object as the program makes it: Qt's own dialogs and buttons speak Hungarian whatever the
// desktop's language (this test runs in the C locale), and every window carries the program's icon.

#include "shell/application.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QtTest>

namespace {

// Every text a window shows: its title, its buttons, labels, group titles and list entries.
QStringList shownTexts(QWidget& window) {
    QStringList texts{window.windowTitle()};
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>())
        texts << button->text();
    for (const QLabel* label : window.findChildren<QLabel*>())
        texts << label->text();
    for (const QGroupBox* group : window.findChildren<QGroupBox*>())
        texts << group->title();
    for (const QComboBox* combo : window.findChildren<QComboBox*>())
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
    texts.removeAll(QString());
    return texts;
}

void noneOf(const QStringList& texts, const QStringList& english) {
    for (const QString& word : english)
        QVERIFY2(!texts.contains(word),
                 qPrintable(word + QStringLiteral(" in ") + texts.join(QLatin1Char('|'))));
}

} // namespace

class TestApplication : public QObject {
    Q_OBJECT
private slots:
    void messageBoxButtons();
    void detailsButton();
    void fileDialog();
    void printDialog();
    void everyWindowHasTheIcon();
};

void TestApplication::messageBoxButtons() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Megerősítés"), QStringLiteral("Törli?"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Ok | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Yes)->text(), QStringLiteral("&Igen"));
    QCOMPARE(box.button(QMessageBox::No)->text(), QStringLiteral("&Nem"));
    // "OK" is Hungarian too.
    noneOf(shownTexts(box), {"&Yes", "&No", "&OK", "&Cancel", "Cancel"});
}

void TestApplication::detailsButton() {
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vardelo"),
                    QStringLiteral("Hiba: termék DELETE törlésekor"), QMessageBox::Ok);
    box.setDetailedText(QStringLiteral("violation of FOREIGN KEY constraint"));
    box.show();
    const QStringList texts = shownTexts(box);
    noneOf(texts, {"Show Details...", "Hide Details..."});
    QVERIFY2(texts.filter(QStringLiteral("Részletek")).size() == 1, qPrintable(texts.join(QLatin1Char('|'))));
}

void TestApplication::fileDialog() {
    QFileDialog dialog(nullptr, QStringLiteral("Mentés helye"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.show();
    noneOf(shownTexts(dialog), {"Look in:", "&Choose", "Cancel",
                                "File &name:", "Directory:", "Files of type:", "Back", "Create New Folder"});
    dialog.close();
}

void TestApplication::printDialog() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer);
    dialog.show();
    noneOf(shownTexts(dialog),
           {"Print", "&Print", "Cancel", "Print to File (PDF)", "Properties", "Options >>", "Printer",
            "&Name:", "Copies", "Pages from", "Print range", "All"});
    dialog.close();
}

void TestApplication::everyWindowHasTheIcon() {
    const QIcon icon = QApplication::windowIcon();
    QVERIFY(!icon.isNull());
    QVERIFY(!icon.pixmap(48, 48).isNull());
    QDialog window;
    QMessageBox box;
    QCOMPARE(window.windowIcon().cacheKey(), icon.cacheKey());
    QCOMPARE(box.windowIcon().cacheKey(), icon.cacheKey());
}

int main(int argc, char** argv) {
    TApplication app(argc, argv);
    TestApplication test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_application.moc"
