// Several desks on one Firebird server: each desk a process of its own (ticket_desk), all on one purchaser at
// the same time. Every number is used once, every line stands under its own desk's header, a desk killed in
// the middle of a save leaves nothing behind, and a desk sees another desk's ticket after its next refresh.
// The test starts a private server through scripts/fbserver; without the server package it is skipped, except
// in CI, where it fails.
#include "data/connection.h"
#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/query.h"
#include "data/shared_values.h"
#include "data/transaction.h"
#include "support/run_state.h"
#include "tickets/ticket_queries.h"

#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <memory>
#include <vector>

namespace {

QString fbserverScript() {
    const QString configured = qEnvironmentVariable("VARDELO_FBSERVER");
    if (!configured.isEmpty())
        return configured;
    return qEnvironmentVariable("VARDELO_SOURCE_DIR") + QStringLiteral("/scripts/fbserver");
}

QString deskProgram() {
    const QString configured = qEnvironmentVariable("VARDELO_TICKET_DESK");
    return configured.isEmpty() ? QCoreApplication::applicationDirPath() + QStringLiteral("/ticket_desk")
                                : configured;
}

struct Line {
    QString name;
    double gross;
};

} // namespace

class TestSharedServer : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void init();
    void cleanup();
    void desksSaveAtTheSameTime_data();
    void desksSaveAtTheSameTime();
    void killedDeskLeavesNoHalfTicket();
    void newTicketAppearsAfterRefresh();

private:
    void exec(const QString& sql);
    QVariant scalar(const QString& sql);
    std::unique_ptr<QProcess> startDesk(int desk, int tickets, int lines, bool hang = false);

    QTemporaryDir folder_;
    QString database_;
    bool started_ = false;
};

void TestSharedServer::initTestCase() {
    QVERIFY(folder_.isValid());
    const QString script = fbserverScript();
    QVERIFY2(QFileInfo(script).isExecutable(), qPrintable(script));
    if (QProcess::execute(script, {QStringLiteral("available")}) != 0) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            QFAIL("The Firebird server package (firebird3.0-server) is missing in CI: scripts/install-deps "
                  "installs it.");
        QSKIP("No Firebird 3 server here (/usr/sbin/firebird, package firebird3.0-server): the shared-server "
              "tests need one.");
    }
    QProcess server;
    server.start(script, {QStringLiteral("start"), folder_.path()});
    QVERIFY(server.waitForFinished(120000));
    QVERIFY2(server.exitCode() == 0, server.readAllStandardError().constData());
    started_ = true;
    database_ = QString::fromUtf8(server.readAllStandardOutput()).trimmed();
    QVERIFY2(database_.contains(QRegularExpression(QStringLiteral("^127\\.0\\.0\\.1/\\d+:/.*du2010\\.fdb$"))),
             qPrintable(database_));
    QVERIFY(QFileInfo::exists(deskProgram()));
    QVERIFY(QDir().mkpath(folder_.filePath(QStringLiteral("desk-lock"))));
}

void TestSharedServer::cleanupTestCase() {
    vardelo::testing::resetRunState();
    if (started_)
        QCOMPARE(QProcess::execute(fbserverScript(), {QStringLiteral("stop"), folder_.path()}), 0);
}

void TestSharedServer::init() {
    vardelo::testing::resetRunState();
    Data = new TData;
    Data->ZCon1->DatabaseName = database_;
    Data->ZCon1->Connect();
    AktAkod = QStringLiteral("1");
    exec(QStringLiteral("DELETE FROM fjsor"));
    exec(QStringLiteral("DELETE FROM fjfej"));
    exec(QStringLiteral("UPDATE sorszam SET a_fjbszam = '10000000' WHERE a_akod = '1'"));
}

void TestSharedServer::cleanup() {
    vardelo::testing::resetRunState();
}

void TestSharedServer::exec(const QString& sql) {
    vardelo::executeAndCommit(Data->ZQ70, {sql}, {});
}

// Read in a transaction of its own, so it sees what the desks committed.
QVariant TestSharedServer::scalar(const QString& sql) {
    TTransaction transaction(QStringLiteral("checkTransaction"), Data->ZCon1);
    TZQuery q(QStringLiteral("check"), Data->ZCon1, &transaction);
    vardelo::openQuery(&q, {sql});
    const QVariant result = q.IsEmpty() ? QVariant() : q.Fields(0).Value();
    q.Close();
    transaction.Commit();
    return result;
}

std::unique_ptr<QProcess> TestSharedServer::startDesk(int desk, int tickets, int lines, bool hang) {
    auto process = std::make_unique<QProcess>();
    // The desks' engine state of their own: a desk killed here never leaves a lock behind that the machine's
    // other Firebird programs would wait on.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), folder_.filePath(QStringLiteral("desk-lock")));
    process->setProcessEnvironment(environment);
    QStringList args{database_, QString::number(desk), QString::number(tickets), QString::number(lines)};
    if (hang)
        args << QStringLiteral("--hang-in-save");
    process->start(deskProgram(), args);
    return process;
}

void TestSharedServer::desksSaveAtTheSameTime_data() {
    QTest::addColumn<int>("desks");
    QTest::newRow("two desks") << 2;
    QTest::newRow("eight desks") << 8;
}

void TestSharedServer::desksSaveAtTheSameTime() {
    QFETCH(int, desks);
    const int tickets = 50;
    const int lines = 3;
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int d = 1; d <= desks; ++d)
        processes.push_back(startDesk(d, tickets, lines));
    int retries = 0;
    for (auto& p : processes) {
        QVERIFY(p->waitForFinished(600000));
        QVERIFY2(p->exitStatus() == QProcess::NormalExit && p->exitCode() == 0,
                 p->readAllStandardError().constData());
        const QString out = QString::fromUtf8(p->readAllStandardOutput());
        const QRegularExpressionMatch done =
            QRegularExpression(QStringLiteral("done (\\d+) (\\d+) (\\d+)")).match(out);
        QVERIFY2(done.hasMatch(), qPrintable(out));
        QCOMPARE(done.captured(1).toInt(), tickets);
        retries += done.captured(2).toInt();
    }
    qInfo("%d desks: %d numbers or locks found taken and tried again", desks, retries);

    // Every number from the seed up exactly once, and the sequence at the highest.
    const int total = desks * tickets;
    TTransaction transaction(QStringLiteral("checkTransaction"), Data->ZCon1);
    TZQuery headers(QStringLiteral("headers"), Data->ZCon1, &transaction);
    vardelo::openQuery(
        &headers, {QStringLiteral("SELECT f_bszam, f_megj FROM fjfej WHERE f_akod = '1' ORDER BY f_bszam")});
    std::map<QString, QString> ticketOfNumber;
    QStringList numbers;
    for (headers.First(); !headers.Eof(); headers.Next()) {
        numbers << headers.FieldByName(QStringLiteral("F_BSZAM")).AsString();
        ticketOfNumber[numbers.last()] = headers.FieldByName(QStringLiteral("F_MEGJ")).AsString();
    }
    QCOMPARE(numbers.size(), total);
    for (int i = 0; i < total; ++i)
        QCOMPARE(numbers.at(i), QString::number(10000001 + i));
    QCOMPARE(scalar(QStringLiteral("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'")).toString().trimmed(),
             QString::number(10000000 + total));
    // Each desk's tickets all there, once each.
    QSet<QString> distinct;
    for (const auto& [number, ticket] : ticketOfNumber)
        distinct.insert(ticket);
    QCOMPARE(int(distinct.size()), total);

    // Every line under its own desk's header, three to a ticket, and the weights add up per ticket.
    TZQuery all(QStringLiteral("lines"), Data->ZCon1, &transaction);
    vardelo::openQuery(&all, {QStringLiteral("SELECT s_bszam, s_megnevezes, s_brutto FROM fjsor")});
    std::map<QString, std::vector<Line>> linesOf;
    int lineCount = 0;
    for (all.First(); !all.Eof(); all.Next()) {
        ++lineCount;
        const QString number = all.FieldByName(QStringLiteral("S_BSZAM")).AsString();
        QVERIFY2(ticketOfNumber.count(number),
                 qPrintable(QStringLiteral("a line without a header: ") + number));
        linesOf[number].push_back({all.FieldByName(QStringLiteral("S_MEGNEVEZES")).AsString(),
                                   all.FieldByName(QStringLiteral("S_BRUTTO")).AsFloat()});
    }
    QCOMPARE(lineCount, total * lines);
    static const QRegularExpression ticketNumber(QStringLiteral("ticket (\\d+)$"));
    for (const auto& [number, ticket] : ticketOfNumber) {
        const std::vector<Line>& own = linesOf[number];
        QCOMPARE(int(own.size()), lines);
        const int t = ticketNumber.match(ticket).captured(1).toInt();
        double gross = 0;
        for (const Line& line : own) {
            QVERIFY2(
                line.name.startsWith(ticket + QStringLiteral(" line ")),
                qPrintable(number + QStringLiteral(": ") + line.name + QStringLiteral(" under ") + ticket));
            gross += line.gross;
        }
        QCOMPARE(gross, 10.0 * t * lines + lines * (lines + 1) / 2);
    }
    // The sums the ticket screens show add up to the lines' own.
    const double vetelar =
        scalar(QStringLiteral("SELECT SUM(s_vetelar) FROM fjsor JOIN fjfej ON f_bszam = s_bszam")).toDouble();
    const double perTicket =
        scalar(QStringLiteral("SELECT SUM(v) FROM (SELECT SUM(s_vetelar) AS v FROM fjsor "
                              "GROUP BY s_bszam)"))
            .toDouble();
    QCOMPARE(vetelar, perTicket);
    all.Close();
    headers.Close();
    transaction.Commit();
}

void TestSharedServer::killedDeskLeavesNoHalfTicket() {
    auto killed = startDesk(1, 1, 3, true);
    QVERIFY(killed->waitForStarted());
    QString saving;
    QTRY_VERIFY_WITH_TIMEOUT((saving += QString::fromUtf8(killed->readAllStandardOutput()),
                              saving.contains(QStringLiteral("saving"))),
                             60000);
    QCOMPARE(saving.trimmed(), QStringLiteral("saving 10000001"));
    killed->kill();
    QVERIFY(killed->waitForFinished(10000));

    // Nothing of the header, the number not taken; the lines stay, as a cancelled ticket's do.
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM fjfej")).toInt(), 0);
    QCOMPARE(scalar(QStringLiteral("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'")).toString().trimmed(),
             QStringLiteral("10000000"));
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE s_bszam = '10000001'")).toInt(), 3);

    // The next desk gets that number, with its own lines only.
    auto next = startDesk(2, 1, 3);
    QVERIFY(next->waitForFinished(120000));
    QVERIFY2(next->exitCode() == 0, next->readAllStandardError().constData());
    QVERIFY(QString::fromUtf8(next->readAllStandardOutput()).contains(QStringLiteral("saved 10000001")));
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE s_bszam = '10000001' AND "
                                   "s_megnevezes STARTING WITH 'desk 2 '"))
                 .toInt(),
             3);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE s_bszam = '10000001'")).toInt(), 3);
    QCOMPARE(scalar(QStringLiteral("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'")).toString().trimmed(),
             QStringLiteral("10000001"));
    // The killed desk's lines wait, without a header, for the next new ticket.
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE s_megnevezes STARTING WITH 'desk 1 ' "
                                   "AND NOT EXISTS (SELECT 1 FROM fjfej WHERE f_bszam = s_bszam)"))
                 .toInt(),
             3);
}

void TestSharedServer::newTicketAppearsAfterRefresh() {
    vardelo::tickets::openTicketHeaders();
    QVERIFY(Data->ZQ10->IsEmpty());
    auto other = startDesk(3, 1, 3);
    QVERIFY(other->waitForFinished(120000));
    QVERIFY2(other->exitCode() == 0, other->readAllStandardError().constData());
    // The browser's refresh: the list opened again.
    vardelo::tickets::openTicketHeaders();
    QCOMPARE(Data->ZQ10->RecordCount(), 1);
    QCOMPARE(Data->ZQ10->FieldByName(QStringLiteral("F_BSZAM")).AsString(), QStringLiteral("10000001"));
    QCOMPARE(Data->ZQ10->FieldByName(QStringLiteral("F_MEGJ")).AsString(), QStringLiteral("desk 3 ticket 1"));
}

QTEST_GUILESS_MAIN(TestSharedServer)
#include "test_shared_server.moc"
