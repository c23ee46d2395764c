#pragma once

#include "data/database_error.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QWidget;
class TDBEdit;

// "Átvevö adatai": the current purchaser's own data, edited in place on the purchaser table (IBTable6), and
// the year opening, where the purchaser's last used ticket number is set while it has no ticket yet.
class TForm17 : public QDialog {
    Q_OBJECT
public:
    explicit TForm17(QWidget* parent = nullptr);

    // The service key: "S" (or "s") typed while "Bezárás" of the year opening has the focus shows the seed
    // input even when the purchaser already has tickets.
    static constexpr char16_t ServiceKey = u'S';

    // Checks the seed in Edit1 and stores it for the current purchaser; on success the window closes.
    void sormod();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* createPurchaserTab();
    QWidget* createYearOpeningTab();
    void showSeedInput();
    void lockKeyFields();

    void PageControl1Change();
    void Button1Click();
    void Button2Click();
    // The purchaser's row as stored now, the edit given up.
    void reloadPurchaser();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void DBEditError(const EDatabaseError& error);

    // The controls; from outside the window they are reached by their objectName.
    QTabWidget* PageControl1;
    QWidget* TabSheet1;   // "Átvevö"
    QWidget* TabSheet2;   // "Évnyitás"
    TDBEdit* DBEdit1;     // ID_ATVEVO, read only
    TDBEdit* DBEdit2;     // V_AKOD, read only once the purchaser has a ticket
    TDBEdit* DBEdit3;     // V_NEVE
    TDBEdit* DBEdit4;     // V_HELYSEG
    TDBEdit* DBEdit5;     // V_UTCA
    TDBEdit* DBEdit6;     // V_IRSZAM
    TDBEdit* DBEdit7;     // V_ADOSZAM
    TDBEdit* DBEdit8;     // V_ADOAZON
    TDBEdit* DBEdit9;     // V_BANKSZLA, digits only
    TDBEdit* DBEdit10;    // V_NYILATK
    TDBEdit* DBEdit12;    // V_VERZIO
    QPushButton* Button1; // "Bezárás"
    QPushButton* Button2; // "Letárol"
    QPushButton* Button5; // "Mégsem"
    QLabel* Label12;
    QLabel* Label13;
    QLabel* Label14;
    TDBEdit* DBEdit11;    // A_FJBSZAM of ZQ50, read only
    QLineEdit* Edit1;     // the new seed, digits only; hidden at first
    QPushButton* Button4; // "Letárol"; hidden at first
    QPushButton* Button3; // "Bezárás"
};
