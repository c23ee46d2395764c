#pragma once

#include <QDialog>

class QFrame;
class QPushButton;

// "Távsegítség": starts the remote-help program, through which the supplier's support works on the clerk's
// screen.
class TForm26 : public QDialog {
    Q_OBJECT
public:
    explicit TForm26(QWidget* parent = nullptr);

    // Started by its bare name, found through the system's search path.
    static inline const QString RemoteHelpProgram = QStringLiteral("ShowMyPC3000.exe");

    QPushButton* Button1; // "Program indítása"
    QFrame* Panel1;
    QPushButton* Button3; // "Mégsem"
    QPushButton* Button2; // "Bezárás"

    void Button1Click();

private:
    void Button2Click();
    void Button3Click();
};
