// One desk of the shared-server tests and benchmark, as a process of its own: it connects to the database
// named on its command line under the desk name "desk-DESK" and writes tickets the way the ticket entry does,
// through the program's own ticket statements without the windows.
//
//   ticket_desk DATABASE DESK TICKETS LINES [--hang-in-save] [--wait-between]
//
// opens a new ticket on the next number (taking over what the entry takes over), stores its lines as this
// desk's unsaved lines (each committed at once), then stores the header through the number taking of the
// entry. Each ticket's remark is "desk D ticket T" and each line's name "desk D ticket T line L", with the
// gross weight 10 * T + L, so a check can tell whose lines stand under which header. Prints
// "saved NUMBER RETRIES WAIT" per ticket (WAIT: the milliseconds the clerk waits at "OK") and at the end
// "done TICKETS RETRIES BUSY" (BUSY: saves given up as busy and pressed again). With --hang-in-save it prints
// "saving NUMBER" once the first header is written and waits to be killed before the commit; with
// --wait-between it prints "waiting" after each ticket but the last and goes on when a line arrives on its
// standard input. A lost connection is attached again and the step repeated, as the clerk's retry would.
//
//   ticket_desk DATABASE DESK --script
//
// reads commands from its standard input, one to a line, and answers each with one line:
//   open                 the new ticket's opening: "shown NUMBER adopted LEFTOVER ABANDONED"
//   line NAME GROSS      an unsaved line: "line ID"
//   lines                the lines the entry's grid shows: "lines ID:NAME ID:NAME ..."
//   delete ID            "Töröl" on that line of the grid: "deleted", or "refused REASON" / "absent"
//   save REMARK          "OK" of the new ticket (producer 1): "saved NUMBER LINES", or "refused REASON"
//   load NUMBER          a stored ticket opened for change: "loaded REMARK"
//   store REMARK         its "OK" with the remark changed: "stored", or "refused REASON"
//   quit                 "bye"
#include "data/data_module.h"
#include "data/database_error.h"
#include "data/row_check.h"
#include "data/shared_values.h"
#include "tickets/ticket_numbering.h"
#include "tickets/ticket_queries.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QThread>
#include <cstdio>
#include <iostream>
#include <string>

using namespace vardelo;
using namespace vardelo::tickets;

namespace {

void say(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

// A step of the desk, repeated after attaching again when the connection was lost (the server restarted).
template <typename Step> auto attached(Step&& step) {
    for (int attempt = 0;; ++attempt) {
        try {
            return step();
        } catch (const EDatabaseError& error) {
            if (!isLostConnection(error) || attempt > 600)
                throw;
            try {
                Data->Reattach();
            } catch (const EDatabaseError&) {
                QThread::msleep(100);
            }
        }
    }
}

void writeLine(const QString& name, double gross) {
    if (!Data->IBTrans1->Active())
        Data->IBTrans1->StartTransaction();
    writeTicketLine(std::nullopt,
                    {{QStringLiteral("p1"), QString()},
                     {QStringLiteral("p2"), QStringLiteral("2")},
                     {QStringLiteral("p3"), name},
                     {QStringLiteral("p4"), QStringLiteral("0103 91 10")},
                     {QStringLiteral("p5"), gross},
                     {QStringLiteral("p6"), QStringLiteral("kg")},
                     {QStringLiteral("p7"), 420.0},
                     {QStringLiteral("p8"), 7.0},
                     {QStringLiteral("p9"), AktAkod},
                     {QStringLiteral("p10"), 12.0}},
                    true);
    Data->IBTrans1->Commit();
}

QueryParams headerFields(const QString& number, const QString& remark) {
    const QDate today = QDate::currentDate();
    return {{QStringLiteral("p1"), number},
            {QStringLiteral("p2"), AktAkod},
            {QStringLiteral("p3"), QStringLiteral("1")},
            {QStringLiteral("p4"), today},
            {QStringLiteral("p5"), 15.0},
            {QStringLiteral("p6"), remark},
            {QStringLiteral("p8"), today},
            {QStringLiteral("p9"), today},
            {QStringLiteral("p10"), QStringLiteral(" ")},
            {QStringLiteral("p11"), QStringLiteral(" ")},
            {QStringLiteral("p12"), 0.0},
            {QStringLiteral("p13"), 2.0}};
}

// "OK" of a new ticket, pressed again while the numbers are busy: the number taken and the retries.
SavedTicket saveTicket(const QString& remark, bool hang, int* busy) {
    for (;;) {
        try {
            return storeNewTicket([&](const QString& number) {
                lockTicketProducer(QStringLiteral("1"));
                writeTicketHeader(std::nullopt, headerFields(number, remark));
                if (hang) {
                    say(QStringLiteral("saving %1").arg(number));
                    for (;;)
                        QThread::sleep(1);
                }
            });
        } catch (const EDatabaseError& error) {
            // The clerk presses "OK" again: what was typed is still there.
            if (error.Message() != NumbersBusyMessage)
                throw;
            ++*busy;
        }
    }
}

int runBatch(const QString& desk, int tickets, int lines, bool hang, bool waitBetween) {
    int retries = 0;
    int busy = 0;
    for (int t = 1; t <= tickets; ++t) {
        const QString ticket = QStringLiteral("desk %1 ticket %2").arg(desk).arg(t);
        // Opening: the number shown, and what the ticket takes over.
        attached([] {
            const NextNumber shown = currentNextNumber();
            if (!shown.ok())
                throw EDatabaseError(shown.error);
            adoptLines(shown.number);
            openUnsavedLines();
            return 0;
        });
        for (int l = 1; l <= lines; ++l)
            attached([&] {
                writeLine(QStringLiteral("%1 line %2").arg(ticket).arg(l), 10.0 * t + l);
                return 0;
            });
        // The wait at "OK": the lines counted, the ticket stored, the browser's list read again.
        QElapsedTimer wait;
        wait.start();
        const SavedTicket stored = attached([&] {
            if (unsavedLineCount() == 0)
                throw ENoLines();
            const SavedTicket saved = saveTicket(ticket, hang, &busy);
            openTicketHeaders();
            locateTicket(saved.number);
            return saved;
        });
        retries += stored.retries;
        say(QStringLiteral("saved %1 %2 %3").arg(stored.number).arg(stored.retries).arg(wait.elapsed()));
        if (waitBetween && t < tickets) {
            say(QStringLiteral("waiting"));
            std::string line;
            std::getline(std::cin, line);
        }
    }
    say(QStringLiteral("done %1 %2 %3").arg(tickets).arg(retries + busy * NumberAttempts).arg(busy));
    return 0;
}

QString firstWord(QString& rest) {
    rest = rest.trimmed();
    const qsizetype blank = rest.indexOf(QLatin1Char(' '));
    const QString word = blank < 0 ? rest : rest.left(blank);
    rest = blank < 0 ? QString() : rest.mid(blank + 1);
    return word;
}

QString runCommand(QString command, RowAsRead& loaded, QString& loadedId) {
    const QString verb = firstWord(command);
    if (verb == QLatin1String("open")) {
        const NextNumber shown = currentNextNumber();
        const AdoptedLines adopted = adoptLines(shown.number);
        openUnsavedLines();
        return QStringLiteral("shown %1 adopted %2 %3")
            .arg(shown.number)
            .arg(adopted.leftover)
            .arg(adopted.abandoned);
    }
    if (verb == QLatin1String("line")) {
        const QString name = firstWord(command);
        writeLine(name, command.toDouble());
        openUnsavedLines();
        Data->ZQ20->Last();
        return QStringLiteral("line %1").arg(Data->ZQ20->FieldByName(QStringLiteral("ID_FJSOR")).AsString());
    }
    if (verb == QLatin1String("lines")) {
        openUnsavedLines();
        QStringList shown;
        for (Data->ZQ20->First(); !Data->ZQ20->Eof(); Data->ZQ20->Next())
            shown << Data->ZQ20->FieldByName(QStringLiteral("ID_FJSOR")).AsString() + QLatin1Char(':') +
                         Data->ZQ20->FieldByName(QStringLiteral("S_MEGNEVEZES")).AsString();
        return (QStringLiteral("lines ") + shown.join(QLatin1Char(' '))).trimmed();
    }
    if (verb == QLatin1String("delete")) {
        openUnsavedLines();
        if (!Data->ZQ20->Locate(QStringLiteral("ID_FJSOR"), command.trimmed(), 0))
            return QStringLiteral("absent");
        deleteTicketLine(command.trimmed(), rowAsRead(*Data->ZQ20, QStringLiteral("FJSOR")));
        return QStringLiteral("deleted");
    }
    if (verb == QLatin1String("save")) {
        if (unsavedLineCount() == 0)
            return QStringLiteral("refused ") + ENoLines().Message();
        int busy = 0;
        const SavedTicket saved = saveTicket(command.trimmed(), false, &busy);
        return QStringLiteral("saved %1 %2").arg(saved.number).arg(saved.lines);
    }
    if (verb == QLatin1String("load")) {
        openTicketHeaders();
        locateTicket(command.trimmed());
        loaded = rowAsRead(*Data->ZQ10, QStringLiteral("FJFEJ"));
        loadedId = Data->ZQ10->FieldByName(QStringLiteral("ID_FJFEJ")).AsString();
        return QStringLiteral("loaded ") + Data->ZQ10->FieldByName(QStringLiteral("F_MEGJ")).AsString();
    }
    if (verb == QLatin1String("store")) {
        QueryParams fields =
            headerFields(Data->ZQ10->FieldByName(QStringLiteral("F_BSZAM")).AsString(), command.trimmed());
        if (!Data->IBTrans1->Active())
            Data->IBTrans1->StartTransaction();
        writeTicketHeader(loadedId, fields, loaded);
        Data->IBTrans1->Commit();
        return QStringLiteral("stored");
    }
    return QStringLiteral("unknown ") + verb;
}

int runScript() {
    RowAsRead loaded;
    QString loadedId;
    std::string line;
    while (std::getline(std::cin, line)) {
        const QString command = QString::fromUtf8(line.c_str()).trimmed();
        if (command == QLatin1String("quit"))
            break;
        try {
            say(runCommand(command, loaded, loadedId));
        } catch (const EDatabaseError& error) {
            rollBack();
            say(QStringLiteral("refused ") + error.Message().simplified());
        }
    }
    say(QStringLiteral("bye"));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    // Numbers found taken are counted, not logged one by one.
    QLoggingCategory::setFilterRules(QStringLiteral("vardelo.tickets.info=false\nvardelo.data.info=false"));
    const QStringList args = app.arguments();
    const bool script = args.contains(QStringLiteral("--script"));
    if (args.size() < (script ? 4 : 5)) {
        std::fprintf(stderr,
                     "usage: ticket_desk DATABASE DESK TICKETS LINES [--hang-in-save] [--wait-between]\n"
                     "       ticket_desk DATABASE DESK --script\n");
        return 2;
    }
    const QString desk = args.at(2);
    int result = 0;
    try {
        Data = new TData;
        Data->ZCon1->DatabaseName = args.at(1);
        Data->ZCon1->DeskName = QStringLiteral("desk-") + desk;
        Data->ZCon1->Connect();
        AktAkod = QStringLiteral("1");
        result = script ? runScript()
                        : runBatch(desk, args.at(3).toInt(), args.at(4).toInt(),
                                   args.contains(QStringLiteral("--hang-in-save")),
                                   args.contains(QStringLiteral("--wait-between")));
        delete Data;
        Data = nullptr;
    } catch (const EDatabaseError& error) {
        std::fprintf(stderr, "desk %s: %s (%ld)\n", qPrintable(desk), error.Message().toUtf8().constData(),
                     error.ErrorCode());
        return 1;
    }
    return result;
}
