#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

// "Jelszó": asks for an access code. Both buttons just close it; the caller reads the typed text either way.
class TPasswordDlg : public QDialog {
    Q_OBJECT
public:
    explicit TPasswordDlg(QWidget* parent = nullptr);

    // What was typed, whichever button closed the dialog.
    QString EnteredText() const;

private:
    // The controls; from outside the window they are reached by their objectName.
    QLabel* Label1;      // "Kérem adja meg a jelszót"
    QLineEdit* Password; // shows "*" for each character
    QPushButton* OKBtn;
    QPushButton* CancelBtn;
};
