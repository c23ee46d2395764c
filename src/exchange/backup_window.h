#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

// "Adatmentés": writes a backup of the open database, made by the engine, into a folder the clerk chooses
// (at first the settings' backup folder, or "Mentés" beside the database), named with the date and time. The
// engine's lines show how far it has got.
class TBackupWindow : public QDialog {
    Q_OBJECT
public:
    explicit TBackupWindow(QWidget* parent = nullptr);

    // The backup last written, empty before one succeeded.
    QString LastBackup() const { return lastBackup_; }

private:
    void Button1Click(); // "Mentés"
    void Button2Click(); // "Tallózás..."
    void setWorking(bool working);

    QLabel* Label1;
    QLineEdit* Edit1; // the folder
    QPushButton* Button2;
    QLabel* Label2; // the engine's last line
    QProgressBar* ProgressBar1;
    QPushButton* Button1;
    QPushButton* Button3; // "Bezárás"
    QString lastBackup_;
};
