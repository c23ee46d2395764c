#pragma once

#include "lists/summary_queries.h"

#include <QDialog>

class QDateEdit;
class QGroupBox;
class QPushButton;
class QRadioButton;
class TDBGrid;
class TDBNavigator;

// What the two summary windows share: the period with its date basis, the collection of the groups into the
// grid, and the print through the user datasets of the data module. Each window supplies its statements and
// its report.
class TSummaryWindow : public QDialog {
    Q_OBJECT
public:
    ~TSummaryWindow() override;

    // The period and date basis as the window shows them now.
    vardelo::lists::SummaryPeriod Period() const;

public slots:
    void Button1Click();
    void Button2Click();
    void RadioGroup1Click();

protected:
    TSummaryWindow(const QString& name, const QString& caption, QWidget* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;

    // The collection's statements; leaves the groups in ZQ20.
    virtual void collect() = 0;
    // Sets the report variables and shows the layout.
    virtual void print() = 0;

    QDateEdit* fromPicker() const { return DateTimePicker1; }
    // A new collection is needed before the next print.
    void disablePrint();

private:
    QDateEdit* DateTimePicker1; // from, inclusive
    QDateEdit* DateTimePicker2; // to, inclusive
    QGroupBox* RadioGroup1;     // "Dátum ?"
    QRadioButton* RadioButton1; // "Fizetési dátum"
    QRadioButton* RadioButton2; // "Felvásárlási dátum"
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QPushButton* Button1; // "Kigyüjtés"
    QPushButton* Button2; // "Nyomtatás"
    QPushButton* CancelButton;
    QPushButton* CloseButton;
};
