#include "tickets/print_routine.h"

#include "data/data_module.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "data/shared_values.h"
#include "reports/report_objects.h"
#include "reports/report_service.h"
#include "tickets/number_words.h"
#include "tickets/settlement.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"
#include "widgets/action_guard.h"
#include "widgets/ui_service.h"

#include <stdexcept>

namespace vardelo::tickets {

namespace {

// Exact, a null (or no row) as 0.
Decimal number(TZQuery* q, const char* field) {
    return q->IsEmpty() ? Decimal() : q->FieldByName(QString::fromLatin1(field)).AsDecimal();
}

QString text(TZQuery* q, const char* field) {
    return q->Active() ? q->FieldByName(QString::fromLatin1(field)).AsString() : QString();
}

// Writes the printed mark and commits it at once: left pending, a later failed write would roll it back
// unseen and the ticket could be changed and printed again as an original. The lists stay open for the
// report.
bool markPrinted(const QString& number) {
    try {
        markTicketPrinted(number);
        return true;
    } catch (const EDatabaseError& error) {
        reportFailure(QStringLiteral("Hiba: prn UPDATE Fjfej-be "), error, lcTickets);
        return false;
    }
}

} // namespace

void printTicket() {
    // The ticket: the browser's current row.
    TZQuery* header = Data->ZQ10;
    const QString bszam = text(header, "F_BSZAM");
    const QString utal = text(header, "F_UTAL");
    const QString fizKelt = text(header, "F_FIZKELT");
    const QString nyilatk = text(header, "F_NYILATK");
    const QString prn = text(header, "F_PRN");

    openTicketLines(bszam, false);
    openProducer(Data->ZQ30, text(header, "F_OSTERMKOD"));
    openPurchaser(AktAkod);
    openPrintSums(bszam);
    openHeaderByNumber(bszam);

    TZQuery* sums = Data->ZQ21;
    TZQuery* byNumber = Data->ZQ11;
    const Decimal szja = number(byNumber, "F_SZJA");
    const Decimal jszaz = number(byNumber, "F_JARULSZAZ");
    const Decimal levonas = number(byNumber, "F_LEVONAS");
    const TicketSettlement s = computeSettlement(number(sums, "FAR"), number(sums, "KAR"),
                                                 number(sums, "VAR"), szja, jszaz, levonas);
    setReportVariable(QStringLiteral("v_far"), s.v_far);
    setReportVariable(QStringLiteral("v_kar"), s.v_kar);
    setReportVariable(QStringLiteral("v_var"), s.v_var);
    setReportVariable(QStringLiteral("v_szja"), szja);
    setReportVariable(QStringLiteral("v_szja2"), s.v_szja2);
    setReportVariable(QStringLiteral("v_jszaz"), jszaz);
    setReportVariable(QStringLiteral("v_jarul"), s.v_jarul);
    setReportVariable(QStringLiteral("v_levon"), s.v_levon);
    setReportVariable(QStringLiteral("v_kif"), s.v_kif);

    // A payable beyond 32 bits has no words: the routine stops before anything is marked or shown.
    const std::optional<qint32> payable = s.payable32();
    if (!payable)
        throw std::runtime_error(
            QStringLiteral("'%1' is not a valid integer value").arg(s.v_kif).toStdString());
    const QString words = SzamBetuvel(*payable);
    setReportVariable(QStringLiteral("v_azaz"), azazText(words));

    const PaymentBlock payment = paymentBlock(utal, fizKelt, s.v_kif, words);
    setReportVariable(QStringLiteral("v_fizmod"), payment.v_fizmod);
    setReportVariable(QStringLiteral("v_utal"), payment.v_utal);
    setReportVariable(QStringLiteral("v_kp1"), payment.v_kp1);
    setReportVariable(QStringLiteral("v_kp2"), payment.v_kp2);
    setReportVariable(QStringLiteral("v_kp3"), payment.v_kp3);
    setReportVariable(QStringLiteral("v_kp4"), payment.v_kp4);
    setReportVariable(QStringLiteral("v_kp5"), payment.v_kp5);

    const DeclarationBlock declaration = declarationBlock(nyilatk);
    setReportVariable(QStringLiteral("v_nyilatk1"), declaration.v_nyilatk1);
    setReportVariable(QStringLiteral("v_nyilatk2"), declaration.v_nyilatk2);
    setReportVariable(QStringLiteral("v_nyilatk3"), declaration.v_nyilatk3);

    const CopyMark copy = copyMark(prn, NyomtMod);
    setReportVariable(QStringLiteral("v_masolat"), copy.v_masolat);
    // Read with the header by number, fresh: the change may be newer than the browser's list. A database
    // still without the column (its upgrade not yet made) has nothing to say.
    const TField* changed = byNumber->IsEmpty() ? nullptr : byNumber->FindField(QStringLiteral("F_NYMOD"));
    setReportVariable(QStringLiteral("v_modositva"),
                      changedAfterPrintText(changed ? changed->AsDate() : QDate()));

    // The layout is loaded and the pages prepared before the ticket is marked: a missing or faulty layout
    // shows nothing and must not turn the first print into a copy.
    TfrReport* report = NyomtMod == Megtekint ? Data->frMegtekint : Data->frNyomtat;
    report->LoadFromFile(QStringLiteral("FjLista7") + VerzioBetu + QStringLiteral(".frf"));
    if (!report->PrepareReport())
        return;
    if (copy.markPrinted)
        markPrinted(bszam);
    report->ShowPreparedReport();

    // Back in ticket-number order, on the ticket just shown.
    openTicketHeaders();
    locateTicket(bszam);
}

} // namespace vardelo::tickets
