#pragma once

#include "data/row_check.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TDBGrid;
class TDBNavigator;

// "Felvásárlási jegy bevitel": writes a new purchase ticket or changes one. The browser sets JegyMod before
// it creates the window; for a change it then calls LoadForChange. Lines are written through the line dialog
// and stored at once; "OK" stores the header.
class TForm9 : public QDialog {
    Q_OBJECT
public:
    explicit TForm9(QWidget* parent = nullptr);

    // Fills the window from the current row of ZQ10 (the browser has opened ZQ20 on the ticket's lines).
    void LoadForChange();
    // Running totals of the ticket's lines.
    void f_mindosszes();
    // Re-reads the producer panel and the header list, which stands on AktBszam.
    void frissit();

    bool IsNewTicket() const { return isNew_; }
    // Opens the ticket's lines in ZQ20: a stored ticket's by its number, a new ticket's as this desk's
    // unsaved lines.
    void OpenLines();

    // What the line dialog reads from the ticket: its number, its producer's code and its weight deduction
    // per cent, as typed.
    QString TicketNumberText() const;
    QString ProducerCodeText() const;
    QString WeightDeductionText() const;

public slots:
    void ProducerButtonClick();
    void NewLineButtonClick();
    void ChangeLineButtonClick();
    void DeleteLineButtonClick();
    void OkButtonClick();
    void CheckBox2Click(bool checked);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QWidget* buildHeaderTab();
    QWidget* buildLinesGroup();
    void setTabOrder();
    void FormShow();
    void openNewTicket();
    // A new ticket whose number another desk has just stored moves on to the next number.
    void followNumber();
    void openLineDialog(const QString& mode, bool load);
    // Writes the header; false when the write failed (its message shown, the transaction rolled back).
    bool saveHeader();
    void reopenAfterFailure();
    // After a change refused because another desk changed the ticket: the header as stored now.
    void reloadForChange();
    QWidget* focusTargetFor(int headerField) const;

    bool isNew_;
    bool shown_ = false;
    // The number a new ticket showed first: when it is stored under another, the clerk is told.
    QString firstShownNumber_;
    // The header of a ticket being changed, as loaded.
    vardelo::RowAsRead headerAsRead_;

    // The controls; from outside the window they are reached by their objectName.
    QTabWidget* PageControl1;
    QLineEdit* Edit1;     // Sorszám
    QLineEdit* Edit2;     // ID_FJFEJ of a ticket being changed (hidden)
    QLineEdit* Edit3;     // date of issue
    QLineEdit* Edit4;     // remark
    QLineEdit* Edit5;     // producer code
    QLineEdit* Edit6;     // Szja %
    QLineEdit* Edit10;    // date of purchase
    QLineEdit* Edit11;    // date of payment
    QLineEdit* Edit12;    // declaration text
    QLineEdit* Edit13;    // Levonás (Ft)
    QLineEdit* Edit14;    // Súlylevon.%
    QLineEdit* Edit15;    // Tagi h.járul.%
    QCheckBox* CheckBox1; // Átutalással
    QCheckBox* CheckBox2; // Nyilatkozat:
    QPushButton* ProducerButton;
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QPushButton* NewLineButton;
    QPushButton* ChangeLineButton;
    QPushButton* DeleteLineButton;
    QLineEdit* FelvarTotal;
    QLineEdit* KompfelarTotal;
    QLineEdit* VetelarTotal;
    QPushButton* OkButton;
    QPushButton* CancelButton;
};
