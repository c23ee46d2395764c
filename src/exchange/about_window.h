#pragma once

#include <QDialog>
#include <QStringList>

class QPushButton;
class QTextEdit;

// "Névjegy": the product, its years and the supplier's contact details in a text box, one centred line each.
// What the clerk types into the box is lost with the window.
class TForm16 : public QDialog {
    Q_OBJECT
public:
    explicit TForm16(QWidget* parent = nullptr);

    // The twelve lines of the text box, in order.
    static QStringList Lines();

private:
    void Button1Click();
    void Button3Click();

    // The controls; from outside the window they are reached by their objectName.
    QTextEdit* Memo1;
    QPushButton* Button1; // "Mégsem"
    QPushButton* Button3; // "Bezárás"
};
