#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class TDBGrid;
class TDBNavigator;

// The producer browser "Őstermelő". It doubles as a picker: when it closes, Data->ZQ30 stays open on the
// producer that was current, whichever button closed it.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    // The entry windows' modes.
    static QString NewMode();    // "Új őstermelő"
    static QString ChangeMode(); // "Őstermelő módositás"

    // What the entry window opened from here is for: NewMode() or ChangeMode().
    QString EntryMode;

    // Reopens the list in name order on the current producer (AktOkod); the entry window calls it after
    // saving.
    void frissit();

public slots:
    void FormShow();
    void DBGrid1TitleClick(const QString& fieldName);
    void Edit1Change();
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button6Click();
    void Button7Click();

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildWindow();
    // Opens the entry window in change mode on the current producer.
    void openChangeEntry();
    void deleteProducer(const QString& id);

    // The controls; from outside the window they are reached by their objectName.
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QLabel* Label18;      // order label
    QLineEdit* Edit1;     // search box
    QPushButton* Button1; // "Új"
    QPushButton* Button2; // "Módosít"
    QPushButton* Button3; // "Töröl"
    QPushButton* Button4; // "Mégsem"
    QPushButton* Button5; // "Kiválaszt"
    QPushButton* Button6; // "Nyomtat"
    QPushButton* Button7; // "Keres"
};
