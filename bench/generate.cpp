// Fills a new database with ten years of work: 20,000 producers, 200,000 tickets and 1,000,000 lines (five a
// ticket), for the benchmarks. Usage: bench_generate FILE [tickets [producers [first-day days [purchasers]]]]
// The tickets are spread evenly over `days` days from `first-day` (2001-01-01 and 3653 by default), so
// "bench_generate month.fdb 20000 10000 2010-08-01 31" makes one month of 100,000 lines, 50,000 of them for
// purchaser 1 with 5,000 of its producers. The tickets alternate between purchasers 1 and 2; with purchasers
// 1 they are all purchaser 1's, so "bench_generate one.fdb 200000 20000 2001-01-01 3653 1" gives one
// purchaser a million lines (the worst case of the raw line table and of the purchaser's lists).
#include "data/connection.h"
#include "data/database_creator.h"
#include "data/database_error.h"
#include "data/firebird_api.h"
#include "data/index_statistics.h"
#include "data/transaction.h"
#include "tickets/ticket_counts.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr,
                     "usage: bench_generate FILE [tickets [producers [first-day days [purchasers]]]]\n");
        return 2;
    }
    const QString path = QFileInfo(QString::fromLocal8Bit(argv[1])).absoluteFilePath();
    const int tickets = argc > 2 ? std::atoi(argv[2]) : 200000;
    const int producers = argc > 3 ? std::max(1, std::atoi(argv[3])) : std::max(1, tickets / 10);
    const QString firstDay = argc > 4 ? QString::fromLocal8Bit(argv[4]) : QStringLiteral("2001-01-01");
    const int days = argc > 5 ? std::max(1, std::atoi(argv[5])) : 3653;
    const int purchasers = argc > 6 ? std::clamp(std::atoi(argv[6]), 1, 2) : 2;
    QElapsedTimer timer;
    timer.start();
    try {
        vardelo::createDatabase(path, true);
        TConnection connection("bench");
        connection.DatabaseName = path;
        connection.Connect();
        TTransaction transaction("benchTrans", &connection);
        auto run = [&](const QString& sql, std::vector<QVariant> values) {
            transaction.StartTransaction();
            vardelo::fb::executeRows(connection.Attachment(), transaction.Handle(), sql, values);
            transaction.Commit();
        };
        // Server-side loops: one statement each, so the generator measures nothing of the client.
        run(QStringLiteral(
                "EXECUTE BLOCK (n INTEGER = ?) AS DECLARE i INTEGER = 100; BEGIN "
                "WHILE (i < n + 100) DO BEGIN "
                "INSERT INTO ostermelo (o_kod, o_nev, o_irszam, o_helysegnev, o_utca, o_adoazon, o_igszam, "
                "o_szja, "
                "o_szulhely, o_szido, o_anyja, o_neme, o_szulnev, o_taj, o_adoszam, o_ervkelt) VALUES ("
                ":i, 'Termelő ' || :i, '6000', 'Kecskemét', 'Fő utca ' || MOD(:i, 200), '8' || LPAD(:i, 9, "
                "'0'), "
                "'123456', 15, "
                "'Kecskemét', DATEADD(DAY, MOD(:i, 15000), DATE '1940-01-01'), 'Anyja ' || :i, '1', 'Termelő "
                "' || :i, "
                "'318609139', '18301667104', DATE '2010-01-01'); i = i + 1; END END"),
            {producers});
        std::printf("producers: %d (%.1f s)\n", producers, double(timer.elapsed()) / 1000.0);
        const int batch = 20000;
        for (int first = 0; first < tickets; first += batch) {
            const int last = std::min(tickets, first + batch);
            // A ticket's lines before its header: the header comes printed ("I"), and a line added to a
            // printed ticket would date its change after print, as no ticket of ten years' work is.
            run(QStringLiteral(
                    "EXECUTE BLOCK (a INTEGER = ?, b INTEGER = ?, p INTEGER = ?, n INTEGER = ?, d INTEGER = "
                    "?, "
                    "f DATE = ?, pc INTEGER = ?) AS "
                    "DECLARE i INTEGER; DECLARE j INTEGER; DECLARE bszam VARCHAR(8); DECLARE akod "
                    "VARCHAR(5); "
                    "DECLARE kelt DATE; BEGIN i = a; "
                    "WHILE (i < b) DO BEGIN "
                    "akod = IIF(MOD(i, pc) = 0, '1', '2'); bszam = 30000000 + i; "
                    "kelt = DATEADD(DAY, CAST(i AS BIGINT) * d / n, f); "
                    "j = 0; WHILE (j < 5) DO BEGIN "
                    "INSERT INTO fjsor (s_bszam, s_termekkod, s_megnevezes, s_vtsz, s_brutto, s_levonszaz, "
                    "s_megy, "
                    "s_ear, s_kompmerteke, s_akod) VALUES (:bszam, :j + 1, 'Állat ' || (:j + 1), '0103 92 "
                    "19', "
                    "100 + MOD(:i * 13 + :j, 900), 12, 'kg', 300 + :j * 10, IIF(:j < 3, 7, 12), :akod); "
                    "j = j + 1; END "
                    "INSERT INTO fjfej (f_bszam, f_ostermkod, f_kelt, f_felvkelt, f_fizkelt, f_utal, f_prn, "
                    "f_szja, "
                    "f_jarulszaz, f_levonas, f_megj, f_nyilatk, f_akod) VALUES (:bszam, 100 + MOD(:i * 7, "
                    ":p), :kelt, "
                    ":kelt, :kelt, IIF(MOD(:i, 3) = 0, 'x', ' '), 'I', 15, 2, 0, '', 'Nyilatkozat szövege', "
                    ":akod); "
                    "i = i + 1; END END"),
                {first, last, producers, tickets, days, QDate::fromString(firstDay, Qt::ISODate),
                 purchasers});
            std::printf("tickets: %d (%.1f s)\n", last, double(timer.elapsed()) / 1000.0);
            std::fflush(stdout);
        }
        // A database grown over the years has had its index figures measured on the way (the program measures
        // them again when a table has doubled).
        const QStringList measured =
            vardelo::refreshIndexStatistics(&connection, &transaction,
                                            {QStringLiteral("FJFEJ"), QStringLiteral("FJSOR"),
                                             QStringLiteral("OSTERMELO"), QStringLiteral("TERMEK")});
        std::printf("index figures measured: %lld (%.1f s)\n", static_cast<long long>(measured.size()),
                    double(timer.elapsed()) / 1000.0);
        // And its ticket counts summed, as the ticket browser sums them whenever it opens.
        if (!vardelo::tickets::settleTicketCounts(&connection))
            return 1;
        std::printf("ticket counts summed (%.1f s)\n", double(timer.elapsed()) / 1000.0);
        connection.Disconnect();
    } catch (const EDatabaseError& e) {
        std::fprintf(stderr, "error: %s\n", qPrintable(e.Message()));
        return 1;
    }
    std::printf("done in %.1f s\n", double(timer.elapsed()) / 1000.0);
    return 0;
}
