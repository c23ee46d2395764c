#pragma once

#include <QDialog>
#include <QString>

class QPushButton;
class TDBLookupComboBox;

namespace vardelo {
// The caption of the main window and of the selection window once a purchaser is chosen: the first 25
// characters of the purchaser's name between the program's name and its years.
QString purchaserCaption(const QString& name);
} // namespace vardelo

// "Átvevö kiválasztása": the clerk chooses the purchaser to work for from the list of every purchaser
// (IBTable6). The window opens on the last purchaser; however it is closed, the purchaser of the current row
// becomes the current one (AktAkod, VerzioBetu), the captions show its name and the main window's menu is
// enabled.
class TForm18 : public QDialog {
    Q_OBJECT
public:
    explicit TForm18(QWidget* parent = nullptr);

    // Every way of closing the window ends here.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void FormClose();
    void DBLookupComboBox1CloseUp();
    void DBLookupComboBox1Exit();
    void Button2Click();
    void Button3Click();
    // AktAkod and the captions from the current row of IBTable6.
    void kivalaszt();

    bool closing_ = false;

    // The controls; from outside the window they are reached by their objectName.
    TDBLookupComboBox* DBLookupComboBox1;
    QPushButton* Button2; // "Kiválaszt"
    QPushButton* Button3; // "Mégsem"
};
