#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QVBoxLayout;

// The shape of the windows in which the engine does one long job on a file (a backup, a restore): the file or
// folder in a line with "Tallózás...", a running bar and the engine's last step in Hungarian while it works,
// and the action and "Bezárás" buttons. The window names itself and connects Button1 to action(), Button2 to
// browse().
class TEngineJobWindow : public QDialog {
    Q_OBJECT
protected:
    TEngineJobWindow(const QString& name, const QString& caption, const QString& pathCaption,
                     const QString& actionText, QWidget* parent);

    virtual void action() = 0; // "Button1"
    virtual void browse() = 0; // "Tallózás..."

    // Puts a widget between the engine's line and the buttons, taking the window's spare height.
    void addBody(QWidget* body);
    // While the engine works, the controls are disabled and the bar runs.
    void setWorking(bool working);
    // Shows each line the engine reports, in Hungarian (engineProgressText), and keeps the window painted
    // meanwhile.
    std::function<void(const QString&)> engineLines();

    QString pathText() const; // the line's text, trimmed, with the system's separators turned to '/'
    void setPathText(const QString& path);
    void setStatus(const QString& text);

private:
    // The controls; from outside the window they are reached by their objectName.
    QLabel* Label1;
    QLineEdit* Edit1;     // the file or folder
    QPushButton* Button2; // "Tallózás..."
    QProgressBar* ProgressBar1;
    QLabel* Label2;       // the engine's last line, then the outcome
    QPushButton* Button1; // the action
    QPushButton* Button3; // "Bezárás"
    QVBoxLayout* layout_;
};
