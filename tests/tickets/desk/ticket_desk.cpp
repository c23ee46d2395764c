// One desk of the shared-server tests and benchmark, as a process of its own: it connects to the database
// named on its command line and writes tickets the way the ticket entry does, through the data module without
// the windows: it opens a new ticket on the next number, stores its lines (each committed at once), then
// stores the header through the number taking of the ticket entry.
//
//   ticket_desk DATABASE DESK TICKETS LINES [--hang-in-save]
//
// Each ticket's remark is "desk D ticket T" and each line's name "desk D ticket T line L", with the gross
// weight 10 * T + L, so a check can tell whose lines stand under which header. Prints "saved NUMBER RETRIES"
// per ticket and at the end "done TICKETS RETRIES BUSY" (BUSY: saves given up as busy and pressed again).
// With
// --hang-in-save it prints "saving NUMBER" once the first header is written and waits to be killed before the
// commit.
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/shared_values.h"
#include "tickets/ticket_numbering.h"

#include <QCoreApplication>
#include <QDate>
#include <QLoggingCategory>
#include <QThread>
#include <cstdio>

using namespace vardelo::tickets;

namespace {

void insertLine(const QString& number, const QString& name, double gross) {
    TZQuery* q = Data->ZQ21;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("INSERT INTO fjsor (s_bszam, s_termekkod, s_megnevezes, s_vtsz, s_brutto, "));
    q->SQL.Add(QStringLiteral("    s_megy, s_ear, s_kompmerteke, s_akod, s_levonszaz) "));
    q->SQL.Add(QStringLiteral("  VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p7, :p8, :p9, :p10) "));
    q->ParamByName(QStringLiteral("p1")).SetAsString(number);
    q->ParamByName(QStringLiteral("p2")).SetAsString(QStringLiteral("2"));
    q->ParamByName(QStringLiteral("p3")).SetAsString(name);
    q->ParamByName(QStringLiteral("p4")).SetAsString(QStringLiteral("0103 91 10"));
    q->ParamByName(QStringLiteral("p5")).SetAsFloat(gross);
    q->ParamByName(QStringLiteral("p6")).SetAsString(QStringLiteral("kg"));
    q->ParamByName(QStringLiteral("p7")).SetAsFloat(420);
    q->ParamByName(QStringLiteral("p8")).SetAsFloat(7);
    q->ParamByName(QStringLiteral("p9")).SetAsString(AktAkod);
    q->ParamByName(QStringLiteral("p10")).SetAsFloat(12);
    if (!Data->IBTrans1->Active())
        Data->IBTrans1->StartTransaction();
    q->ExecSQL();
    rememberOwnLines(number);
    Data->IBTrans1->Commit();
}

void insertHeader(const QString& number, const QString& remark) {
    TZQuery* q = Data->ZQ11;
    q->Close();
    q->SQL.Clear();
    q->SQL.Add(QStringLiteral("INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_kelt, f_szja, f_megj, "));
    q->SQL.Add(QStringLiteral("    f_felvkelt, f_fizkelt, f_utal, f_nyilatk, f_levonas, f_jarulszaz) "));
    q->SQL.Add(QStringLiteral("  VALUES (:p1, :p2, :p3, :p4, :p5, :p6, :p8, :p9, :p10, :p11, :p12, :p13) "));
    const QDate today = QDate::currentDate();
    q->ParamByName(QStringLiteral("p1")).SetAsString(number);
    q->ParamByName(QStringLiteral("p2")).SetAsString(AktAkod);
    q->ParamByName(QStringLiteral("p3")).SetAsString(QStringLiteral("1"));
    q->ParamByName(QStringLiteral("p4")).SetAsDate(today);
    q->ParamByName(QStringLiteral("p5")).SetAsFloat(15);
    q->ParamByName(QStringLiteral("p6")).SetAsString(remark);
    q->ParamByName(QStringLiteral("p8")).SetAsDate(today);
    q->ParamByName(QStringLiteral("p9")).SetAsDate(today);
    q->ParamByName(QStringLiteral("p10")).SetAsString(QStringLiteral(" "));
    q->ParamByName(QStringLiteral("p11")).SetAsString(QStringLiteral(" "));
    q->ParamByName(QStringLiteral("p12")).SetAsFloat(0);
    q->ParamByName(QStringLiteral("p13")).SetAsFloat(2);
    q->ExecSQL();
}

void say(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Numbers found taken are counted, not logged one by one.
    QLoggingCategory::setFilterRules(QStringLiteral("vardelo.tickets.info=false"));
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fprintf(stderr, "usage: ticket_desk DATABASE DESK TICKETS LINES [--hang-in-save]\n");
        return 2;
    }
    const QString desk = args.at(2);
    const int tickets = args.at(3).toInt();
    const int lines = args.at(4).toInt();
    const bool hang = args.contains(QStringLiteral("--hang-in-save"));
    int retries = 0;
    int busy = 0;
    try {
        Data = new TData;
        Data->ZCon1->DatabaseName = args.at(1);
        Data->ZCon1->Connect();
        AktAkod = QStringLiteral("1");
        for (int t = 1; t <= tickets; ++t) {
            const QString ticket = QStringLiteral("desk %1 ticket %2").arg(desk).arg(t);
            // Opening: the number shown, and what the ticket takes of the lines already under it.
            const NextNumber shown = currentNextNumber();
            if (!shown.ok())
                throw EDatabaseError(shown.error);
            adoptLeftoverLines(shown.number);
            for (int l = 1; l <= lines; ++l)
                insertLine(shown.number, QStringLiteral("%1 line %2").arg(ticket).arg(l), 10.0 * t + l);
            for (;;) {
                try {
                    const SavedTicket stored = storeNewTicket([&](const QString& number) {
                        insertHeader(number, ticket);
                        if (hang) {
                            say(QStringLiteral("saving %1").arg(number));
                            for (;;)
                                QThread::sleep(1);
                        }
                    });
                    retries += stored.retries;
                    say(QStringLiteral("saved %1 %2").arg(stored.number).arg(stored.retries));
                    break;
                } catch (const EDatabaseError& error) {
                    // The clerk presses "OK" again: what was typed is still there.
                    if (error.Message() != NumbersBusyMessage)
                        throw;
                    retries += NumberAttempts;
                    ++busy;
                }
            }
        }
        say(QStringLiteral("done %1 %2 %3").arg(tickets).arg(retries).arg(busy));
        delete Data;
        Data = nullptr;
    } catch (const EDatabaseError& error) {
        std::fprintf(stderr, "desk %s: %s (%ld)\n", qPrintable(desk), error.Message().toUtf8().constData(),
                     error.ErrorCode());
        return 1;
    }
    return 0;
}
