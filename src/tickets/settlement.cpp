#include "tickets/settlement.h"

#include "data/text_formats.h"

#include <limits>

namespace vardelo {

namespace {
const QString signatureCaption = QStringLiteral(" a mezögazd. tevék. folytató adóalany aláirása");
}

std::optional<qint32> TicketSettlement::payable32() const {
    if (payable < std::numeric_limits<qint32>::min() || payable > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return qint32(payable);
}

TicketSettlement computeSettlement(const Decimal& far, const Decimal& kar, const Decimal& var,
                                   const Decimal& fSzja, const Decimal& fJarulSzaz, const Decimal& fLevonas) {
    TicketSettlement s;
    s.v_far = far;
    s.v_kar = kar;
    s.v_var = var;
    s.v_szja2 = (fSzja * var).shiftedRight(2);
    s.v_jarul = (fJarulSzaz * (var - s.v_szja2)).shiftedRight(2);
    s.v_levon = fLevonas;
    const Decimal rounded = (var - s.v_szja2 - s.v_jarul - s.v_levon).rounded(0, Rounding::HalfEven);
    if (!rounded.isValid()) {
        // Beyond 128 bits (no stored amounts come near it): no number, and no words either.
        s.payable = std::numeric_limits<qint64>::min();
        s.v_kif = QStringLiteral("NAN");
        return s;
    }
    const std::optional<qint64> whole = rounded.toWhole(Rounding::HalfEven);
    s.payable = whole                  ? *whole
                : rounded.signum() > 0 ? std::numeric_limits<qint64>::max()
                                       : std::numeric_limits<qint64>::min();
    s.v_kif = wholeAmountText(rounded);
    return s;
}

QString azazText(const QString& words) {
    return words + QStringLiteral(" 00/100 Forint");
}

QString signatureDots() {
    return QString(77, u'.');
}

PaymentBlock paymentBlock(const QString& fUtal, const QString& fizKeltText, const QString& vKif,
                          const QString& words) {
    PaymentBlock b;
    if (trimRight(fUtal) == u"x") {
        b.v_fizmod = QStringLiteral("Fizetés módja: Átutalás");
        b.v_utal = QStringLiteral("Átutalás határideje:  ") + fizKeltText;
        return b;
    }
    b.v_fizmod = QStringLiteral("Fizetés módja: Kp.");
    b.v_utal = QStringLiteral(" ");
    b.v_kp1 = QStringLiteral("A kifizetendö összegét ") + vKif + QStringLiteral(" Ft -ot, azaz");
    b.v_kp2 = words + QStringLiteral(" 00/100 Forint -ot a mai napon átvettem.");
    b.v_kp3 = QStringLiteral("Az összeg átvételének idöpontja:") + fizKeltText;
    b.v_kp4 = signatureDots();
    b.v_kp5 = signatureCaption;
    return b;
}

DeclarationBlock declarationBlock(const QString& fNyilatk) {
    if (fNyilatk.size() < 6)
        return {QStringLiteral(" "), QStringLiteral(" "), QStringLiteral("  ")};
    return {QStringLiteral("Nyilatkozat: ") + fNyilatk, signatureDots(), signatureCaption};
}

CopyMark copyMark(const QString& fPrn, const QString& nyomtMod) {
    if (trimRight(fPrn) == u"I")
        return {QStringLiteral("MÁSOLATI PÉLDÁNY"), false};
    return {QStringLiteral(" "), nyomtMod == u"Nyomtat"};
}

QString changedAfterPrintText(const QDate& changed) {
    return changed.isValid() ? QStringLiteral("Nyomtatás után módosítva: ") + dateText(changed)
                             : QStringLiteral(" ");
}

} // namespace vardelo
