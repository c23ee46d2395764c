#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;
class TDBGrid;
class TDBNavigator;

// The animal browser "Állat". It doubles as a picker: when it closes, Data->ZQ40 stays open on the animal
// that was current, whichever button closed it.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;

    // The entry windows' modes.
    static QString NewMode();    // "Új termék"
    static QString ChangeMode(); // "Termék módositás"

    // What the entry window opened from here is for: NewMode() or ChangeMode().
    QString EntryMode;

    // Reopens the list in name order on the animal just saved (its code is in AllatKulcs); the entry window
    // calls it after saving.
    void frissit();

public slots:
    void FormShow();
    void DBGrid1TitleClick(const QString& fieldName);
    void Button1Click();
    void Button2Click();
    void Button3Click();
    void Button6Click();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildWindow();
    void deleteAnimal(const QString& id);

    // The controls; from outside the window they are reached by their objectName.
    TDBGrid* DBGrid1;
    TDBNavigator* DBNavigator1;
    QLabel* Label8;       // order label
    QPushButton* Button1; // "Új"
    QPushButton* Button2; // "Módosít"
    QPushButton* Button3; // "Töröl"
    QPushButton* Button4; // "Mégsem"
    QPushButton* Button5; // "Kiválaszt"
    QPushButton* Button6; // "Nyomtatás"
};
