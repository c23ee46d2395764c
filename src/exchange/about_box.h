#pragma once

#include <QDialog>
#include <QString>

class QFrame;
class QLabel;
class QTimer;

namespace vardelo {

// The supplier of the program, as the about box and "Névjegy" show it.
struct SupplierDetails {
    static inline const QString Product = QStringLiteral("Vardelo");
    static inline const QString Company = QStringLiteral("Kestrova Szoftver Bt.");
    static inline const QString Programmer = QStringLiteral("Szalai Gergely");
    static inline const QString Address = QStringLiteral("6723 Szeged, Fecskefű utca 7.");
    static inline const QString Phone = QStringLiteral("(62) 555-318");
    static inline const QString Mobile = QStringLiteral("(30) 555-2741");
    static inline const QString EMail = QStringLiteral("info@kestrova-szoftver.hu");
    static inline const QString Web = QStringLiteral("www.kestrova-szoftver.hu");
};

} // namespace vardelo

// The about box "About", shown as the splash at start-up: a lime-green panel with the product, the year and
// the supplier's details. It closes itself 3000 ms after it was created; whoever created it releases it.
class TAboutBox : public QDialog {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);

    // The interval of Timer1.
    static constexpr int SplashMilliseconds = 3000;
    // The interval boxes made from now on take; tests shorten it so as not to wait out the splash.
    static inline int SplashInterval = SplashMilliseconds;

private:
    void Timer1Timer();

    // The controls; from outside the window they are reached by their objectName.
    QFrame* Panel1;
    QLabel* ProductName; // "Vardelo", larger
    QLabel* Label1;      // empty
    QLabel* Version;     // "2010."
    QLabel* Copyright;   // "Készítette: " + company
    QLabel* Comments;    // "Programozó: " + programmer
    QLabel* Label2;      // address
    QLabel* Label3;      // "Telefon: "
    QLabel* Label4;      // "Mobil: "
    QLabel* Label5;      // "E-mail: "
    QLabel* Label6;      // web address, larger
    QTimer* Timer1;
};
