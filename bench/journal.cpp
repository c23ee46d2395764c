// What the journal costs: the size of ten years of tickets with their journal beside the same tickets without
// it, and the time of a ticket's save with and without the journal's triggers.
//
//   bench_journal [FOLDER [TICKETS [SAVES [RUNS]]]]
//
// Two databases are made in FOLDER (a temporary folder by default): the same 20,000 producers and TICKETS
// tickets (200,000 by default, five lines each, over ten years) written by the program's own statements, a
// ticket at a time as the clerk stores it: its lines, the number taken, the header (with the purchaser's
// declaration), the printed mark. In one the journal's triggers are active, in the other not. Their sizes are
// the pages in use (the engine's fbstat: data, pointer and index pages) and the files' sizes.
//
// Then RUNS times (3 by default) SAVES tickets (100) are saved into each database, in alternate blocks of ten
// on one attachment to each for the whole run (as a desk keeps its attachment), through the program's ticket
// functions, each line committed at once as the line dialog does, the header with its
// number, and the printed mark; the median and the spread (lowest to highest) of the runs' time for one
// ticket, with the printed mark and without it (the lines and the store alone).
#include "data/data_module.h"
#include "data/database_creator.h"
#include "data/database_error.h"
#include "data/firebird_api.h"
#include "data/immediate_write.h"
#include "data/shared_values.h"
#include "data/transaction.h"
#include "tickets/ticket_numbering.h"
#include "tickets/ticket_queries.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLoggingCategory>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QStringList journalTriggers{"ATVEVO_NAPLO",    "FJFEJ_NAPLO",   "FJSOR_NAPLO",
                                  "OSTERMELO_NAPLO", "SORSZAM_NAPLO", "TERMEK_NAPLO"};

void say(const QString& text) {
    std::printf("%s\n", text.toUtf8().constData());
    std::fflush(stdout);
}

void run(TConnection& connection, const QString& sql, const std::vector<QVariant>& values = {}) {
    TTransaction transaction(QStringLiteral("benchTrans"), &connection);
    transaction.StartTransaction();
    vardelo::fb::executeRows(connection.Attachment(), transaction.Handle(), sql, values);
    transaction.Commit();
}

void setJournal(TConnection& connection, bool active) {
    for (const QString& trigger : journalTriggers)
        run(connection, QStringLiteral("ALTER TRIGGER %1 %2")
                            .arg(trigger, active ? QStringLiteral("ACTIVE") : QStringLiteral("INACTIVE")));
}

// The producers, and the tickets of ten years a ticket at a time with the program's statements, in
// transactions of a thousand tickets (the size does not depend on how they are committed).
void fill(const QString& path, bool journal, int tickets) {
    vardelo::createDatabase(path, true);
    TConnection connection(QStringLiteral("bench"));
    connection.DatabaseName = path;
    connection.Connect();
    setJournal(connection, journal);
    run(connection,
        QStringLiteral(
            "EXECUTE BLOCK (n INTEGER = ?) AS DECLARE i INTEGER = 100; BEGIN WHILE (i < n + 100) DO BEGIN "
            "INSERT INTO ostermelo (o_kod, o_nev, o_irszam, o_helysegnev, o_utca, o_adoazon, o_igszam, "
            "o_szja, "
            "o_szulhely, o_szido, o_anyja, o_neme, o_szulnev, o_taj, o_adoszam, o_ervkelt) VALUES (:i, "
            "'Termelő ' || :i, '6000', 'Kecskemét', 'Fő utca ' || MOD(:i, 200), '8' || LPAD(:i, 9, '0'), "
            "'123456', 15, 'Kecskemét', DATEADD(DAY, MOD(:i, 15000), DATE '1940-01-01'), 'Anyja ' || :i, "
            "'1', "
            "'Termelő ' || :i, '318609139', '18301667104', DATE '2010-01-01'); i = i + 1; END END"),
        {tickets / 10});
    const int batch = 1000;
    for (int first = 0; first < tickets; first += batch)
        run(connection,
            QStringLiteral(
                "EXECUTE BLOCK (a INTEGER = ?, b INTEGER = ?, n INTEGER = ?, p INTEGER = ?) AS "
                "DECLARE i INTEGER; DECLARE j INTEGER; DECLARE bszam VARCHAR(8); DECLARE elozo VARCHAR(8); "
                "DECLARE kelt DATE; DECLARE nyilatk VARCHAR(250); BEGIN "
                "SELECT v_nyilatk FROM atvevo WHERE v_akod = '1' INTO nyilatk; i = a; "
                "WHILE (i < b) DO BEGIN "
                "elozo = 10000000 + i; bszam = 10000001 + i; kelt = DATEADD(DAY, CAST(i AS BIGINT) * 3653 / "
                "n, "
                "DATE '2001-01-01'); j = 0; "
                "WHILE (j < 5) DO BEGIN "
                "INSERT INTO fjsor (s_bszam, s_termekkod, s_megnevezes, s_vtsz, s_brutto, s_megy, s_ear, "
                "s_kompmerteke, s_akod, s_levonszaz) VALUES (:bszam, :j + 1, IIF(:j < 3, 'Vágósertés', "
                "'Vágómarha'), '0103 92 19', 100 + MOD(:i * 13 + :j, 900), 'kg', 300 + :j * 10, "
                "IIF(:j < 3, 7, 12), '1', 12); j = j + 1; END "
                "UPDATE sorszam SET a_fjbszam = :bszam WHERE a_akod = '1' AND a_fjbszam = :elozo; "
                "INSERT INTO fjfej (f_bszam, f_akod, f_ostermkod, f_kelt, f_szja, f_megj, f_felvkelt, "
                "f_fizkelt, "
                "f_utal, f_nyilatk, f_levonas, f_jarulszaz) VALUES (:bszam, '1', 100 + MOD(:i * 7, :p), "
                ":kelt, "
                "15, '', :kelt, :kelt, IIF(MOD(:i, 3) = 0, 'x', ' '), :nyilatk, 0, 2); "
                "UPDATE fjfej SET f_prn = 'I' WHERE f_bszam = :bszam; "
                "i = i + 1; END END"),
            {first, std::min(tickets, first + batch), tickets, std::max(1, tickets / 10)});
    connection.Disconnect();
}

struct Size {
    qint64 pages = 0;        // pages in use
    qint64 journalPages = 0; // of them, the journal's
    qint64 pageSize = 8192;
    qint64 fileBytes = 0;
};

// The pages in use, as the engine's statistics count them: each table's pointer and data pages and its
// indexes' leaf pages.
Size sizeOf(const QString& path) {
    Size size;
    size.fileBytes = QFileInfo(path).size();
    QString tool = QStandardPaths::findExecutable(QStringLiteral("fbstat"));
    if (tool.isEmpty())
        tool = QStandardPaths::findExecutable(QStringLiteral("gstat"));
    QProcess stat;
    stat.start(tool,
               {QStringLiteral("-r"), QStringLiteral("-i"), QStringLiteral("-user"), QStringLiteral("SYSDBA"),
                QStringLiteral("-password"), QStringLiteral("quillfern"), path});
    stat.waitForFinished(-1);
    const QString output = QString::fromLocal8Bit(stat.readAllStandardOutput());
    static const QRegularExpression table(QStringLiteral("^(\\w+) \\(\\d+\\)$"));
    static const QRegularExpression pointer(QStringLiteral("Pointer pages: (\\d+)"));
    static const QRegularExpression data(QStringLiteral("Data pages: (\\d+), average fill"));
    static const QRegularExpression leaves(QStringLiteral("leaf buckets: (\\d+)"));
    static const QRegularExpression pageSize(QStringLiteral("Page size\\s+(\\d+)"));
    QString current;
    for (const QString& line : output.split(u'\n')) {
        if (const auto m = table.match(line.trimmed()); m.hasMatch() && !line.startsWith(u' ')) {
            current = m.captured(1);
            continue;
        }
        if (const auto m = pageSize.match(line); m.hasMatch())
            size.pageSize = m.captured(1).toLongLong();
        qint64 pages = 0;
        for (const auto* pattern : {&pointer, &data, &leaves})
            if (const auto m = pattern->match(line); m.hasMatch())
                pages += m.captured(1).toLongLong();
        size.pages += pages;
        if (current == QLatin1String("NAPLO") || current == QLatin1String("KAPCSOLAT"))
            size.journalPages += pages;
    }
    if (size.pages == 0) {
        std::fprintf(stderr, "fbstat gave no figures (firebird3.0-utils installed?)\n");
        std::exit(1);
    }
    return size;
}

// The pages the engine has written to the database since it opened it (its I/O statistics).
qint64 pageWrites() {
    TTransaction transaction(QStringLiteral("benchStats"), Data->ZCon1);
    transaction.StartTransaction();
    const auto row =
        vardelo::fb::executeSingle(Data->ZCon1->Attachment(), transaction.Handle(),
                                   QStringLiteral("SELECT i.MON$PAGE_WRITES FROM MON$DATABASE d "
                                                  "JOIN MON$IO_STATS i ON i.MON$STAT_ID = d.MON$STAT_ID"),
                                   {});
    transaction.Commit();
    return row.empty() ? 0 : row.front().toLongLong();
}

// One block of saves: the milliseconds and the pages written of one ticket, and the milliseconds of its
// printed mark alone.
struct Saved {
    double milliseconds = 0;
    double pageWrites = 0;
    double printMilliseconds = 0;
};

// A database attached as the program attaches it: once for the session, its saves one after the other.
TData* attach(const QString& path) {
    auto* data = new TData;
    data->ZCon1->DatabaseName = path;
    data->ZCon1->Connect();
    return data;
}

// Saves tickets as the ticket entry does: five lines, each committed at once, then the header with its
// number, then the printed mark.
Saved saveTickets(TData* data, int count) {
    Data = data;
    AktAkod = QStringLiteral("1");
    const qint64 writesBefore = pageWrites();
    QElapsedTimer timer;
    timer.start();
    qint64 printing = 0;
    for (int t = 0; t < count; ++t) {
        const QString shown = vardelo::tickets::currentNextNumber().number;
        for (int l = 0; l < 5; ++l) {
            vardelo::tickets::writeTicketLine(std::nullopt,
                                              {{QStringLiteral("p1"), shown},
                                               {QStringLiteral("p2"), QStringLiteral("1")},
                                               {QStringLiteral("p3"), QStringLiteral("Vágósertés")},
                                               {QStringLiteral("p4"), QStringLiteral("0103 92 19")},
                                               {QStringLiteral("p5"), 100.0 + l},
                                               {QStringLiteral("p6"), QStringLiteral("kg")},
                                               {QStringLiteral("p7"), 310.0},
                                               {QStringLiteral("p8"), 7.0},
                                               {QStringLiteral("p9"), AktAkod},
                                               {QStringLiteral("p10"), 12.0}},
                                              true);
            Data->IBTrans1->Commit();
        }
        const QDate today = QDate::currentDate();
        const QString number =
            vardelo::tickets::storeNewTicket([&](const QString& taken) {
                vardelo::tickets::writeTicketHeader(
                    std::nullopt,
                    {{QStringLiteral("p1"), taken},
                     {QStringLiteral("p2"), AktAkod},
                     {QStringLiteral("p3"), QStringLiteral("100")},
                     {QStringLiteral("p4"), today},
                     {QStringLiteral("p5"), 15.0},
                     {QStringLiteral("p6"), QString()},
                     {QStringLiteral("p8"), today},
                     {QStringLiteral("p9"), today},
                     {QStringLiteral("p10"), QStringLiteral(" ")},
                     {QStringLiteral("p11"), QStringLiteral("A termékek saját gazdaságomból származnak.")},
                     {QStringLiteral("p12"), 0.0},
                     {QStringLiteral("p13"), 2.0}});
            }).number;
        QElapsedTimer print;
        print.start();
        vardelo::tickets::markTicketPrinted(number);
        printing += print.nsecsElapsed();
    }
    Saved saved;
    saved.milliseconds = double(timer.nsecsElapsed()) / 1e6 / count;
    saved.printMilliseconds = double(printing) / 1e6 / count;
    if (Data->IBTrans1->Active())
        Data->IBTrans1->Commit();
    saved.pageWrites = double(pageWrites() - writesBefore) / count;
    return saved;
}

struct Spread {
    double median;
    double low;
    double high;
};

Spread spreadOf(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return {values[values.size() / 2], values.front(), values.back()};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("vardelo.tickets.info=false"));
    QTemporaryDir temporary;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : temporary.path();
    const int tickets = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200000;
    const int saves = argc > 3 ? std::max(1, std::atoi(argv[3])) : 100;
    const int runs = argc > 4 ? std::max(1, std::atoi(argv[4])) : 3;
    QDir().mkpath(folder);
    const QString withJournal = QDir(folder).filePath(QStringLiteral("naplo.fdb"));
    const QString withoutJournal = QDir(folder).filePath(QStringLiteral("naplo_nelkul.fdb"));
    try {
        for (const QString& path : {withJournal, withoutJournal}) {
            if (QFileInfo::exists(path)) {
                say(QStringLiteral("using %1 as it is").arg(path));
                continue;
            }
            QElapsedTimer timer;
            timer.start();
            fill(path, path == withJournal, tickets);
            say(QStringLiteral("%1: %2 tickets in %3 s")
                    .arg(QFileInfo(path).fileName())
                    .arg(tickets)
                    .arg(double(timer.elapsed()) / 1000.0, 0, 'f', 1));
        }
        const Size with = sizeOf(withJournal);
        const Size without = sizeOf(withoutJournal);
        const auto mb = [](qint64 bytes) { return double(bytes) / 1048576.0; };
        say(QStringLiteral("size without the journal: %1 pages in use (%2 MB), file %3 MB")
                .arg(without.pages)
                .arg(mb(without.pages * without.pageSize), 0, 'f', 1)
                .arg(mb(without.fileBytes), 0, 'f', 1));
        say(QStringLiteral("size with the journal:    %1 pages in use (%2 MB, the journal %3 MB), file %4 MB")
                .arg(with.pages)
                .arg(mb(with.pages * with.pageSize), 0, 'f', 1)
                .arg(mb(with.journalPages * with.pageSize), 0, 'f', 1)
                .arg(mb(with.fileBytes), 0, 'f', 1));
        say(QStringLiteral("with / without: %1 (pages in use), %2 (files)")
                .arg(double(with.pages) / double(without.pages), 0, 'f', 2)
                .arg(double(with.fileBytes) / double(without.fileBytes), 0, 'f', 2));

        // Each database stays attached for the whole run, as a desk's session keeps its attachment: what an
        // attachment pays once (the journal's record of the desk, the triggers' first compilation) falls on
        // its first save, not on every block.
        TData* const plainDesk = attach(withoutJournal);
        TData* const journalDesk = attach(withJournal);
        std::vector<double> on, off, onStored, offStored;
        const int block = std::min(saves, 10);
        double offWrites = 0;
        double onWrites = 0;
        for (int r = 0; r < runs; ++r) {
            // In alternate blocks, so a busier moment of the machine weighs on both alike.
            double offTotal = 0;
            double onTotal = 0;
            double offPrint = 0;
            double onPrint = 0;
            for (int done = 0; done < saves; done += block) {
                const Saved plain = saveTickets(plainDesk, block);
                const Saved journalled = saveTickets(journalDesk, block);
                offTotal += plain.milliseconds * block;
                onTotal += journalled.milliseconds * block;
                offPrint += plain.printMilliseconds * block;
                onPrint += journalled.printMilliseconds * block;
                offWrites += plain.pageWrites * block;
                onWrites += journalled.pageWrites * block;
            }
            off.push_back(offTotal / saves);
            on.push_back(onTotal / saves);
            offStored.push_back((offTotal - offPrint) / saves);
            onStored.push_back((onTotal - onPrint) / saves);
            say(QStringLiteral("run %1: a ticket's save %2 ms without the journal, %3 ms with it")
                    .arg(r + 1)
                    .arg(off.back(), 0, 'f', 2)
                    .arg(on.back(), 0, 'f', 2));
        }
        delete plainDesk;
        delete journalDesk;
        Data = nullptr;
        say(QStringLiteral("pages written by a ticket's save: %1 without the journal, %2 with it")
                .arg(offWrites / (saves * runs), 0, 'f', 1)
                .arg(onWrites / (saves * runs), 0, 'f', 1));
        const Spread a = spreadOf(off);
        const Spread b = spreadOf(on);
        say(QStringLiteral("save without the journal: median %1 ms (%2 - %3)")
                .arg(a.median, 0, 'f', 2)
                .arg(a.low, 0, 'f', 2)
                .arg(a.high, 0, 'f', 2));
        say(QStringLiteral("save with the journal:    median %1 ms (%2 - %3), %4 % more")
                .arg(b.median, 0, 'f', 2)
                .arg(b.low, 0, 'f', 2)
                .arg(b.high, 0, 'f', 2)
                .arg((b.median / a.median - 1) * 100, 0, 'f', 1));
        // The same without the printed mark: the lines and the store, what "OK" in the ticket entry does.
        const Spread c = spreadOf(offStored);
        const Spread d = spreadOf(onStored);
        say(QStringLiteral(
                "of it, the lines and the store (without the printed mark): median %1 ms (%2 - %3) "
                "without the journal, %4 ms (%5 - %6) with it, %7 % more")
                .arg(c.median, 0, 'f', 2)
                .arg(c.low, 0, 'f', 2)
                .arg(c.high, 0, 'f', 2)
                .arg(d.median, 0, 'f', 2)
                .arg(d.low, 0, 'f', 2)
                .arg(d.high, 0, 'f', 2)
                .arg((d.median / c.median - 1) * 100, 0, 'f', 1));
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.Message()));
        return 1;
    }
    return 0;
}
