#pragma once

#include <QDialog>
#include <QString>
#include <array>

class QPushButton;
class QTabWidget;
class TDBGrid;
class TDBNavigator;
class TDataSource;
class TZQuery;

// "Adatbázis": the six tables in raw form, one grid and navigator each. The five tables FJFEJ, FJSOR,
// OSTERMELO, TERMEK and SORSZAM are read-only until an access code (or the unlock key) opens them for editing
// in this window; closing the window locks them again. The purchaser table's grid shows only after the second
// code. Edits are posted through the data module; the window commits nothing itself. The journal (NAPLO and
// the attachments that wrote it, KAPCSOLAT) shows after either code, and only ever read.
class TForm22 : public QDialog {
    Q_OBJECT
public:
    explicit TForm22(QWidget* parent = nullptr);

    // The two access codes, compared whole and case-sensitive.
    static const QString FirstCode;
    static const QString SecondCode;
    // The unlock key: "E" (either case) typed while "Szerkeszt" has the focus opens the five tables at once,
    // as the first code does.
    static constexpr char UnlockKey = 'E';

    // The code typed last, kept until it is used or the window closes.
    QString EnteredCode;

    void done(int result) override;

public slots:
    void Button6Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // A tab with a grid and a navigator on the source, named for the number.
    QWidget* gridTab(int number, TDataSource* source, TDBGrid*& grid, TDBNavigator*& navigator);
    QWidget* buildTab(int number);
    // A tab of a journal table: its grid and navigator, hidden until a code is given.
    QWidget* buildJournalTab(int number, TZQuery* query);
    void showJournal();
    // Close IBTable1..5, set or clear their read-only flag, open them again.
    void setFiveReadOnly(bool readOnly);
    void unlockAll();
    void FormClose();

    // The controls; from outside the window they are reached by their objectName.
    QTabWidget* PageControl1;
    QPushButton* Button6;                       // "Szerkeszt"
    QPushButton* Button1;                       // "Mégsem"
    std::array<TDBGrid*, 6> DBGrid{};           // DBGrid1..DBGrid6 for IBTable1..IBTable6
    std::array<TDBNavigator*, 6> DBNavigator{}; // DBNavigator1..DBNavigator6
    TZQuery* JournalQuery;                      // NAPLO, read-only
    TZQuery* ConnectionQuery;                   // KAPCSOLAT, read-only
    std::array<TDBGrid*, 2> JournalGrid{};      // DBGrid7 (NAPLO), DBGrid8 (KAPCSOLAT)
    std::array<TDBNavigator*, 2> JournalNavigator{};
};
