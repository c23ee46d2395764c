#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QTreeView;

// "Két import összevonása": adds up the import files of producers who are in both of two sets of a month ("A"
// on this computer, "B" from another one), so each producer comes into the return once.
class TForm24 : public QDialog {
    Q_OBJECT
public:
    explicit TForm24(QWidget* parent = nullptr);

    // The folders shown by the two trees (local paths).
    QString FolderA() const;
    QString FolderB() const;
    // Moves a tree to a folder, as a click in it would.
    void ChooseFolderA(const QString& folder);
    void ChooseFolderB(const QString& folder);

    void Button3Click();

private:
    void buildWindow();
    void folderChosen(bool sideA);
    void driveChosen(bool sideA);

    QFileSystemModel* dirModel1_;
    QFileSystemModel* dirModel2_;
    QString folderA_;
    QString folderB_;
    bool opening_ = true;

    // The controls; from outside the window they are reached by their objectName.
    QComboBox* DriveComboBox1;
    QComboBox* DriveComboBox2;
    QTreeView* DirectoryListBox1;
    QTreeView* DirectoryListBox2;
    QListWidget* FileListBox1;
    QListWidget* FileListBox2;
    QLabel* Label1;             // A before, (állat)
    QLabel* Label4;             // A before, (növény)
    QLabel* Label6;             // A after, (állat)
    QLabel* Label7;             // A after, (növény)
    QLabel* Label2;             // B before, (állat)
    QLabel* Label5;             // B before, (növény)
    QLabel* Label8;             // B after, (állat)
    QLabel* Label12;            // B after, (növény)
    QLabel* Label3;             // grand total before
    QLabel* Label13;            // grand total after
    QListWidget* CheckListBox1; // the producers in both sets
    QListWidget* CheckListBox2; // hidden: B's files, ticked when A has a partner
    QPlainTextEdit* Memo1;
    QPushButton* Button3; // "Összevonás"
    QPushButton* Button6; // "Mégsem"
};
