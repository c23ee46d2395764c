#pragma once

#include <QDialog>
#include <QHash>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTreeView;

// "Adatok elküldése  emailben": finds the database file in a chosen folder and hands a fresh copy of it to
// the machine's mail program, attached to a message to the support mailbox ("Küldés1"), or opens a new
// message through a "mailto:" link to which the clerk attaches the copy ("Küldés2"), helped by copying the
// copy's name. The copy is made by the engine (never the live file, which the engine may be writing) and is
// named like the database, readable by its owner only, in a folder of its own under the user's temporary
// folder. On a desk of a server the name field starts with the server's database, which the server streams
// onto the desk for the copy.
class TForm27 : public QDialog {
    Q_OBJECT
public:
    explicit TForm27(QWidget* parent = nullptr);

    // Where the tree starts: the folder of the program's own database (the working folder when the database
    // is reached through a server or an alias).
    static QString DatabaseFolder();

    // The folder above the copies' own folders.
    static QString CopiesFolder();
    // The copy last made, empty before one was.
    QString LastCopy() const { return lastCopy_; }

    // The folder the tree stands on.
    QString Directory() const { return directory_; }
    // Puts the drive box and the tree on the folder (the nearest existing one) and looks for the file there.
    void SetDirectory(const QString& folder);

private:
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    // A fresh copy of the file in the name field; empty (the clerk told why) when none could be made.
    QString MakeCopy();

    QLabel* Label1; // "A küldendő fálj neve :"
    QLineEdit* Edit1;
    QComboBox* DriveComboBox1;
    QTreeView* DirectoryListBox1;
    QFileSystemModel* DirectoryModel;
    QListWidget* FileListBox1; // hidden: the database file of the folder, if any
    QPushButton* Button3;      // "Küldés1"
    QPushButton* Button4;      // "Vágólapra másolás"
    QPushButton* Button6;      // "Küldés2"
    QPushButton* Button5;      // "Mégsem"

    void DriveComboBox1Change();
    void DirectoryListBox1Change();
    // A change of folder: the hidden list looks for the database file; the name field gets its full name, or
    // is emptied.
    void FolderChanged(const QString& folder);
    void fillDrives();
    void showFolderInTree(const QString& folder);

    QString directory_;
    QString lastCopy_;
    // The folder last chosen on each drive, so that choosing a drive again goes back to it.
    QHash<QString, QString> driveFolders_;
    bool updating_ = false;
};
