#pragma once

#include <QDialog>

class QFrame;
class QPushButton;

// A small window with one action button and a panel with "Mégsem" and "Bezárás", both of which close it: the
// shape of the help and remote-help windows. The window names itself and connects Button1 to action().
class TOneActionWindow : public QDialog {
    Q_OBJECT
public:
    TOneActionWindow(const QString& name, const QString& caption, const QString& actionText,
                     QWidget* parent = nullptr);

protected:
    virtual void action() = 0;

private:
    // The controls; from outside the window they are reached by their objectName.
    QPushButton* Button1; // the action
    QFrame* Panel1;
    QPushButton* Button3; // "Mégsem"
    QPushButton* Button2; // "Bezárás"
};
