// Tickets saved per second by 1, 2, 4 and 8 desks at once through a Firebird server, how many times a desk
// found the number (or the number row) taken and tried again, and how long a clerk waits at "OK" (the median
// and the worst of every save), beside one desk on the embedded engine with a local file, the program's usual
// set-up. Each desk is a process of its own (the tests' ticket_desk) writing tickets of three lines on one
// purchaser as the ticket entry does: its lines stay its own unsaved lines until the ticket is stored.
//
//   bench_desks [TICKETS-PER-DESK] [CONNECTION-NAME]
//
// Without a connection name it starts a private server through scripts/fbserver and stops it at the end.
#include "data/data_module.h"
#include "data/database_creator.h"
#include "data/database_error.h"
#include "data/immediate_write.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

QString findUp(const QString& relative) {
    QDir dir(QCoreApplication::applicationDirPath());
    for (int i = 0; i < 5; ++i) {
        if (QFileInfo::exists(dir.filePath(relative)))
            return dir.filePath(relative);
        dir.cdUp();
    }
    return QString();
}

void reset(const QString& database) {
    TData data;
    data.ZCon1->DatabaseName = database;
    data.ZCon1->Connect();
    for (const char* sql : {"DELETE FROM fjsor", "DELETE FROM fjfej", "DELETE FROM ostermelo",
                            "INSERT INTO ostermelo (o_kod, o_nev, o_szja) VALUES ('1', 'Kovács János', 15)",
                            "UPDATE sorszam SET a_fjbszam = '10000000' WHERE a_akod = '1'"})
        vardelo::executeAndCommit(data.ZQ70, {QString::fromUtf8(sql)}, {});
    data.ZCon1->Disconnect();
}

struct Run {
    double seconds = 0;
    int tickets = 0;
    int retried = 0;
    std::vector<double> waits; // milliseconds at "OK", one for each ticket
    double medianWait() {
        if (waits.empty())
            return 0;
        std::sort(waits.begin(), waits.end());
        return waits[waits.size() / 2];
    }
    double worstWait() const { return waits.empty() ? 0 : *std::max_element(waits.begin(), waits.end()); }
};

Run runDesks(const QString& desk, const QString& database, int desks, int tickets,
             const QString& lockFolder) {
    reset(database);
    std::vector<std::unique_ptr<QProcess>> processes;
    QElapsedTimer timer;
    timer.start();
    for (int d = 1; d <= desks; ++d) {
        auto p = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("FIREBIRD_LOCK"), lockFolder);
        p->setProcessEnvironment(environment);
        p->start(desk, {database, QString::number(d), QString::number(tickets), QStringLiteral("3")});
        processes.push_back(std::move(p));
    }
    Run run;
    static const QRegularExpression done(QStringLiteral("done (\\d+) (\\d+) (\\d+)"));
    static const QRegularExpression saved(QStringLiteral("saved \\d+ \\d+ (\\d+)"));
    for (auto& p : processes) {
        p->waitForFinished(-1);
        const QString out = QString::fromUtf8(p->readAllStandardOutput());
        for (auto it = saved.globalMatch(out); it.hasNext();)
            run.waits.push_back(it.next().captured(1).toDouble());
        const QRegularExpressionMatch m = done.match(out);
        if (p->exitCode() != 0 || !m.hasMatch()) {
            std::fprintf(stderr, "a desk failed: %s\n", p->readAllStandardError().constData());
            std::exit(1);
        }
        run.tickets += m.captured(1).toInt();
        run.retried += m.captured(2).toInt();
    }
    run.seconds = double(timer.nsecsElapsed()) / 1e9;
    return run;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    const int tickets = args.size() > 1 ? args.at(1).toInt() : 50;
    QString database = args.size() > 2 ? args.at(2) : QString();
    const QString desk = findUp(QStringLiteral("tests/ticket_desk"));
    if (desk.isEmpty() || tickets <= 0) {
        std::fprintf(stderr,
                     "usage: bench_desks [TICKETS-PER-DESK] [CONNECTION-NAME] (build ticket_desk first)\n");
        return 2;
    }
    QTemporaryDir folder;
    // The server's folder stands on its own: run by root, the script hands it to the firebird user, who must
    // reach it.
    QTemporaryDir serverFolder;
    const QString script = findUp(QStringLiteral("scripts/fbserver"));
    bool started = false;
    int result = 0;
    try {
        // The floor: one desk on the embedded engine, a local file.
        const QString local = folder.filePath(QStringLiteral("du2010.fdb"));
        vardelo::createDatabase(local, false);
        // The desks keep their engine state in a folder of their own.
        const QString lockFolder = folder.filePath(QStringLiteral("desk-lock"));
        QDir().mkpath(lockFolder);
        Run embedded = runDesks(desk, local, 1, tickets, lockFolder);
        const double floorRate = embedded.tickets / embedded.seconds;

        if (database.isEmpty()) {
            QProcess server;
            server.start(script, {QStringLiteral("start"), serverFolder.path()});
            server.waitForFinished(-1);
            if (server.exitCode() != 0) {
                std::fprintf(stderr, "the server did not start: %s\n",
                             server.readAllStandardError().constData());
                return 1;
            }
            started = true;
            database = QString::fromUtf8(server.readAllStandardOutput()).trimmed();
        }
        std::printf("%d tickets of 3 lines per desk, one purchaser; server: %s\n", tickets,
                    qPrintable(database));
        std::printf("%-28s %8s %9s %11s %8s %12s %14s %13s\n", "set-up", "tickets", "seconds", "tickets/s",
                    "retried", "vs embedded", "OK median ms", "OK worst ms");
        std::printf("%-28s %8d %9.2f %11.1f %8d %12s %14.0f %13.0f\n", "embedded engine, 1 desk",
                    embedded.tickets, embedded.seconds, floorRate, embedded.retried, "1.00",
                    embedded.medianWait(), embedded.worstWait());
        for (int desks : {1, 2, 4, 8}) {
            Run run = runDesks(desk, database, desks, tickets, lockFolder);
            const double rate = run.tickets / run.seconds;
            std::printf("%-28s %8d %9.2f %11.1f %8d %12.2f %14.0f %13.0f\n",
                        qPrintable(QStringLiteral("server, %1 desk%2").arg(desks).arg(desks > 1 ? "s" : "")),
                        run.tickets, run.seconds, rate, run.retried, rate / floorRate, run.medianWait(),
                        run.worstWait());
            std::fflush(stdout);
        }
    } catch (const EDatabaseError& error) {
        std::fprintf(stderr, "%s\n", error.Message().toUtf8().constData());
        result = 1;
    }
    if (started)
        QProcess::execute(script, {QStringLiteral("stop"), serverFolder.path()});
    return result;
}
