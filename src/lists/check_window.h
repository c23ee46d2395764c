#pragma once

#include <QDate>
#include <QDialog>
#include <QString>
#include <vector>

class QDateEdit;
class QLabel;
class QLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class TDBGrid;
class TDBNavigator;

// "Ellenörzés": the check of the ticket lines of a payment period against the producers' identifiers,
// addresses and personal data, the tax field, the printed mark and the line values; and the single checks of
// a typed tax number, tax identifier, TAJ number, and of a tax identifier against a birth date.
class TForm14 : public QDialog {
    Q_OBJECT
public:
    explicit TForm14(QWidget* parent = nullptr);

    // Characters 2-6 of the tax identifier hold the days from 1867.01.01 to the birth date (dateText in the
    // "yyyy.MM.dd." format). Characters that are not digits never match.
    bool ElteltNapEllenorzes(const QString& adoazon, const QString& dateText) const;

    // Lines handed to the memo at once by the batch check.
    static constexpr int MemoBlockLines = 2000;

    // The ticket a line of the memo (counted from 0) reports on; empty for the opening, closing and hint
    // lines. Failure lines of every check lead to the ticket of the line that failed, also those that name
    // the producer.
    QString TicketOfMemoLine(int line) const;
    // Opens the ticket of a memo line in the ticket browser (what a double-click on the line does);
    // afterwards the list shows the collected lines again.
    void OpenTicketOfMemoLine(int line);
    // Finds the text in the memo from the current place on (backward: before it), round past the end;
    // selects it and returns whether it was found.
    bool FindInMemo(const QString& text, bool backward = false);

public slots:
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QTabWidget* PageControl1;
    // "Felvásárlási jegy"
    QDateEdit* DateTimePicker1;
    QDateEdit* DateTimePicker2;
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QPlainTextEdit* Memo1;
    QLineEdit* MemoSearch; // Ctrl+F
    QPushButton* MemoFindPrevious;
    QPushButton* MemoFindNext;
    QLabel* MemoSearchResult;
    QPushButton* Button1; // "Kigyüjtés"
    QPushButton* Button2; // "Ellenörzés"
    QPushButton* CancelButton;
    QPushButton* CloseButton;
    // "Adatok"
    QTabWidget* PageControl2;
    QLineEdit* Edit1; // tax number
    QLineEdit* Edit2; // tax identifier
    QLineEdit* Edit3; // TAJ
    QLineEdit* Edit4; // tax identifier against the birth date
    QDateEdit* DateTimePicker3;
    QPushButton* Button3; // "Ellenörzés" of "Adószám"
    QPushButton* Button4; // "Ellenörzés" of "Adóazonositó"
    QPushButton* Button5; // "Ellenörzés" of "TAJ"
    QPushButton* Button6; // "Ellenörzés" of "Napok"
    QLabel* Label10;
    QLabel* Label11;
    QLabel* Label12;
    QLabel* Label14; // day count
    QLabel* Label16; // characters 2-6 of the tax identifier
    QLabel* Label17;

    // The ticket number of each text line of the memo (empty where the line names none).
    std::vector<QString> memoTickets_;
    // The period of the last collection, which comes back after the ticket browser used the shared list.
    QDate collectedFrom_;
    QDate collectedTo_;
    bool collected_ = false;

    QWidget* buildTicketTab();
    QLayout* buildMemoSearch(QWidget* tab);
    QWidget* buildDataTab();
    QWidget* buildSingleCheck(const QString& tabName, const QString& caption, QLineEdit* edit,
                              QPushButton* check, QLabel* message, QWidget* extra);
};
