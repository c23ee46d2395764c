#pragma once

#include "data/decimal.h"

#include <QDate>
#include <QString>
#include <QtGlobal>
#include <optional>

// The settlement of one ticket and the texts of the printed ticket that follow from it. Plain values in,
// plain values out; a null header or sum value is passed as 0.
namespace vardelo {

struct TicketSettlement {
    Decimal v_far;   // sum of the purchase values (S_FELVAR)
    Decimal v_kar;   // sum of the surcharges (S_KOMPFELAR)
    Decimal v_var;   // sum of the prices (S_VETELAR)
    Decimal v_szja2; // income tax withheld: F_SZJA × var / 100, exact
    Decimal v_jarul; // member contribution: F_JARULSZAZ × (var − v_szja2) / 100, exact
    Decimal v_levon; // fixed deduction: F_LEVONAS
    // var − v_szja2 − v_jarul − v_levon, exact, rounded once to a whole forint, half to even (saturated at
    // the 64-bit limits).
    qint64 payable = 0;
    QString v_kif = QStringLiteral("0"); // the payable as decimal text, "-" when negative, no separators

    // The payable as a 32-bit number, as the words are written from it; nothing when it does not fit.
    std::optional<qint32> payable32() const;
};

// Exact decimal arithmetic throughout: the sums as the database adds them, the per cents and the deduction as
// stored, so a payable that lies exactly on a half goes to the even neighbour whatever its binary value would
// have been (138 856,70 less 10 % and 2,53 is 124 968,50, which pays 124 968).
TicketSettlement computeSettlement(const Decimal& far, const Decimal& kar, const Decimal& var,
                                   const Decimal& fSzja, const Decimal& fJarulSzaz, const Decimal& fLevonas);

// "<words> 00/100 Forint", the text of v_azaz.
QString azazText(const QString& words);

struct PaymentBlock {
    QString v_fizmod;
    QString v_utal;
    QString v_kp1, v_kp2, v_kp3, v_kp4, v_kp5;
};

// By F_UTAL: "x" is a transfer (v_utal names the deadline, the v_kp texts are empty), anything else is cash
// (the receipt lines). fizKeltText is F_FIZKELT as date text, words the payable in words.
PaymentBlock paymentBlock(const QString& fUtal, const QString& fizKeltText, const QString& vKif,
                          const QString& words);

struct DeclarationBlock {
    QString v_nyilatk1, v_nyilatk2, v_nyilatk3;
};

// By F_NYILATK: shorter than 6 characters prints blanks only, else the declaration with its signature line.
DeclarationBlock declarationBlock(const QString& fNyilatk);

struct CopyMark {
    QString v_masolat;
    bool markPrinted = false; // F_PRN is to be set to "I" now
};

// By F_PRN ("I": printed before) and the print mode ("Nyomtat" marks an unprinted ticket, "Megtekint" never
// does).
CopyMark copyMark(const QString& fPrn, const QString& nyomtMod);

// The footer line of a ticket changed after it had been printed: "Nyomtatás után módosítva: 2010.08.05." for
// the day of its last such change (F_NYMOD), one blank for a ticket never changed after a print. The copy
// mark does not depend on it.
QString changedAfterPrintText(const QDate& changed);

// The dotted signature line of the ticket (77 points).
QString signatureDots();

} // namespace vardelo
