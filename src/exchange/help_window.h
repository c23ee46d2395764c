#pragma once

#include <QDialog>

class QFrame;
class QPushButton;

// "Sugó": "Segitség" shows the program's manual in the help viewer.
class TForm21 : public QDialog {
    Q_OBJECT
public:
    explicit TForm21(QWidget* parent = nullptr);

    QPushButton* Button1; // "Segitség"
    QFrame* Panel1;
    QPushButton* Button3; // "Mégsem"
    QPushButton* Button2; // "Bezárás"

    void Button1Click();

private:
    void Button2Click();
    void Button3Click();
};
