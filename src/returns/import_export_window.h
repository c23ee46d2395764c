#pragma once

#include <QDialog>
#include <QString>

class QDateEdit;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TDBGrid;
class TDBNavigator;

// The period total of the last collection, read by the print; kept for the rest of the run.
inline QString ImportOsszesen;

// "APEH 1008M adat importnak a létrehozása": writes the import files of one month of payments into the fixed
// month folder, the list file naming them, and prints the producers of the period.
class TForm11 : public QDialog {
    Q_OBJECT
public:
    explicit TForm11(QWidget* parent = nullptr);

    void Button5Click();
    void DateTimePicker2Exit();
    void DateTimePicker1Change();
    void Button1Click();
    void Button2Click();

private:
    void buildWindow();
    void showProgress(const QString& text, int done, int total);

    // The controls; from outside the window they are reached by their objectName.
    QDateEdit* DateTimePicker1; // from-date
    QDateEdit* DateTimePicker2; // to-date
    QLineEdit* Edit1;           // the folder the files go to
    QPushButton* Button5;       // "OK": the period check
    QPushButton* Button1;       // "Kigyüjtés"
    QPushButton* Button2;       // "Nyomtatás"
    QPushButton* Button3;       // "Mégsem"
    QPushButton* Button4;       // "Bezárás"
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QProgressBar* ProgressBar1; // the collection's progress
    QLabel* StatusLabel;        // what the collection is doing
};
