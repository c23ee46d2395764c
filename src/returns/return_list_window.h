#pragma once

#include "returns/return_queries.h"

#include <QDialog>
#include <QString>

class QDateEdit;
class QGroupBox;
class QRadioButton;
class QPushButton;
class TDBGrid;
class TDBNavigator;

// The total of the last collection of the itemised list, read by the print; kept for the rest of the run.
inline QString ListaOsszesen;

// "Tételes lista": every ticket line paid in a period for the current purchaser, in a chosen order, with the
// period's total, on the screen and in print.
class TForm12 : public QDialog {
    Q_OBJECT
public:
    explicit TForm12(QWidget* parent = nullptr);

    // The order the radio buttons choose.
    vardelo::returns::ItemOrder SelectedOrder() const;

    void Button1Click();
    void Button2Click();
    void OrderClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();

    // The controls; from outside the window they are reached by their objectName.
    QDateEdit* DateTimePicker1;
    QDateEdit* DateTimePicker2;
    QGroupBox* RadioGroup1; // "Sorrend:"
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QRadioButton* RadioButton3;
    QRadioButton* RadioButton4;
    QRadioButton* RadioButton5;
    QPushButton* Button1; // "Kigyüjtés"
    QPushButton* Button2; // "Nyomtatás"
    QPushButton* Button3; // "Mégsem"
    QPushButton* Button4; // "Bezárás"
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
};
