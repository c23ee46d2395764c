#pragma once

#include <QDialog>
#include <QString>

class QCheckBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;
class TDBGrid;
class TDBNavigator;

// "Excel  táblába": collects the current purchaser's ticket lines of a date range into ZQ20 and writes them
// as a workbook "FJFEJ.xls" (Excel 97-2003) into the user's documents folder.
class TForm20 : public QDialog {
    Q_OBJECT
public:
    explicit TForm20(QWidget* parent = nullptr);

    // Where the workbook is saved: the documents folder unless a test points elsewhere.
    QString SaveFolder;
    // The path of the workbook.
    QString WorkbookPath() const;

public slots:
    void Button1Click();
    void Button4Click();

private:
    void collect();

    bool collected_ = false;

    // The controls; from outside the window they are reached by their objectName.
    QLabel* Label1; // "Felvásárlási jegy exportálása"
    QDateEdit* DateTimePicker1;
    QDateEdit* DateTimePicker2;
    QGroupBox* GroupBox1; // "Dátum ?"
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    QCheckBox* CheckBox1;
    QProgressBar* ProgressBar1;
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QPushButton* Button1; // "Kigyüjtés"
    QPushButton* Button4; // "Exportálás "
    QPushButton* Button3; // "Mégsem"
    QPushButton* Button2; // "Bezárás"
};
