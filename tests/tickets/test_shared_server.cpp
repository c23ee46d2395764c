// Several desks on one Firebird server: each desk a process of its own (ticket_desk), all on one purchaser at
// the same time; this test's process is a desk too, with the ticket windows. Every number is used once, every
// line stands under its own desk's header, no desk sees or deletes another desk's unsaved lines, a change
// another desk stored meanwhile is refused with the input kept, a desk killed in the middle of a save leaves
// nothing behind and its lines come back, a desk sees another desk's ticket after its next refresh, and a
// server killed and started again is survived. The test starts a private server through scripts/fbserver;
// without the server package it is skipped, except in CI, where it fails.
#include "data/connection.h"
#include "data/data_module.h"
#include "data/immediate_write.h"
#include "data/query.h"
#include "data/shared_values.h"
#include "data/transaction.h"
#include "support/children.h"
#include "support/run_state.h"
#include "support/ui_recorder.h"
#include "ticket_fixture.h"
#include "tickets/ticket_queries.h"
#include "tickets/ticket_rules.h"
#include "widgets/lost_connection.h"
#include "widgets/save_refusal.h"

#include <QElapsedTimer>
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

// A desk driven command by command (ticket_desk --script): each command answered with one line.
class ScriptDesk {
public:
    ScriptDesk(const QString& database, int desk, const QProcessEnvironment& environment) {
        process_.setProcessEnvironment(environment);
        process_.start(deskProgram(), {database, QString::number(desk), QStringLiteral("--script")});
    }
    ~ScriptDesk() {
        if (process_.state() == QProcess::Running) {
            ask(QStringLiteral("quit"));
            process_.waitForFinished(30000);
        }
    }
    QString ask(const QString& command) {
        process_.write(command.toUtf8() + '\n');
        QElapsedTimer timer;
        timer.start();
        while (!process_.canReadLine() && timer.elapsed() < 60000)
            process_.waitForReadyRead(1000);
        if (!process_.canReadLine())
            return QStringLiteral("no answer: ") + QString::fromUtf8(process_.readAllStandardError());
        return QString::fromUtf8(process_.readLine()).trimmed();
    }

private:
    QProcess process_;
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
    void unsavedLinesStayTheirDesks();
    void windowNeverSeesAnotherDesksLines();
    void concurrentChangeIsRefusedWithInputKept();
    void deskSurvivesServerRestart();
    void windowSurvivesServerRestart();

private:
    void exec(const QString& sql);
    QVariant scalar(const QString& sql);
    QProcessEnvironment deskEnvironment() const;
    std::unique_ptr<QProcess> startDesk(int desk, int tickets, int lines, QStringList options = {});
    std::unique_ptr<ScriptDesk> scriptDesk(int desk);
    void restartServer();

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
    exec(QStringLiteral("DELETE FROM ostermelo"));
    exec(QStringLiteral("INSERT INTO ostermelo (o_kod, o_nev, o_szja) VALUES ('1', 'Kovács János', 15)"));
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

QProcessEnvironment TestSharedServer::deskEnvironment() const {
    // The desks' engine state of their own: a desk killed here never leaves a lock behind that the machine's
    // other Firebird programs would wait on.
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("FIREBIRD_LOCK"), folder_.filePath(QStringLiteral("desk-lock")));
    return environment;
}

std::unique_ptr<QProcess> TestSharedServer::startDesk(int desk, int tickets, int lines, QStringList options) {
    auto process = std::make_unique<QProcess>();
    process->setProcessEnvironment(deskEnvironment());
    process->start(deskProgram(), QStringList{database_, QString::number(desk), QString::number(tickets),
                                              QString::number(lines)} +
                                      options);
    return process;
}

std::unique_ptr<ScriptDesk> TestSharedServer::scriptDesk(int desk) {
    return std::make_unique<ScriptDesk>(database_, desk, deskEnvironment());
}

// Killed at once, as a crash would, and started again on the same port with the same database.
void TestSharedServer::restartServer() {
    QProcess restart;
    restart.start(fbserverScript(), {QStringLiteral("restart"), folder_.path()});
    QVERIFY(restart.waitForFinished(120000));
    QVERIFY2(restart.exitCode() == 0, restart.readAllStandardError().constData());
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
    auto killed = startDesk(1, 1, 3, {QStringLiteral("--hang-in-save")});
    QVERIFY(killed->waitForStarted());
    QString saving;
    QTRY_VERIFY_WITH_TIMEOUT((saving += QString::fromUtf8(killed->readAllStandardOutput()),
                              saving.contains(QStringLiteral("saving"))),
                             60000);
    QCOMPARE(saving.trimmed(), QStringLiteral("saving 10000001"));
    killed->kill();
    QVERIFY(killed->waitForFinished(10000));

    // Nothing of the header, the number not taken; the lines stay the killed desk's unsaved lines, as a
    // cancelled ticket's do.
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM fjfej")).toInt(), 0);
    QCOMPARE(scalar(QStringLiteral("SELECT a_fjbszam FROM sorszam WHERE a_akod = '1'")).toString().trimmed(),
             QStringLiteral("10000000"));
    QCOMPARE(
        scalar(QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE s_bszam IS NULL AND s_munkahely = 'desk-1'"))
            .toInt(),
        3);

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
    // The killed desk's lines wait for its next new ticket, out of every other desk's sight.
    auto other = scriptDesk(3);
    QCOMPARE(other->ask(QStringLiteral("open")), QStringLiteral("shown 10000002 adopted 0 0"));
    QCOMPARE(other->ask(QStringLiteral("lines")), QStringLiteral("lines"));
    {
        auto restarted = scriptDesk(1);
        QCOMPARE(restarted->ask(QStringLiteral("open")), QStringLiteral("shown 10000002 adopted 0 0"));
        const QString lines = restarted->ask(QStringLiteral("lines"));
        QCOMPARE(lines.count(QStringLiteral(":desk")), 3);
    }
    // A desk that does not come back: once its lines have waited long enough, the next new ticket anywhere
    // takes them over.
    exec(QStringLiteral("UPDATE fjsor SET s_munkaido = DATEADD(HOUR, -2, CURRENT_TIMESTAMP) "
                        "WHERE s_munkahely = 'desk-1'"));
    QCOMPARE(other->ask(QStringLiteral("open")), QStringLiteral("shown 10000002 adopted 0 3"));
    QCOMPARE(other->ask(QStringLiteral("save kept")), QStringLiteral("saved 10000002 3"));
}

// Two desks at work on new tickets at once: neither sees, counts or deletes the other's unsaved lines, and
// each stored ticket holds exactly its own desk's lines.
void TestSharedServer::unsavedLinesStayTheirDesks() {
    auto a = scriptDesk(1);
    auto b = scriptDesk(2);
    QCOMPARE(a->ask(QStringLiteral("open")), QStringLiteral("shown 10000001 adopted 0 0"));
    QCOMPARE(b->ask(QStringLiteral("open")), QStringLiteral("shown 10000001 adopted 0 0"));
    const QString a1 = a->ask(QStringLiteral("line a1 5")).section(QLatin1Char(' '), 1);
    const QString a2 = a->ask(QStringLiteral("line a2 6")).section(QLatin1Char(' '), 1);
    QVERIFY(!a1.isEmpty() && !a2.isEmpty());
    QCOMPARE(b->ask(QStringLiteral("lines")), QStringLiteral("lines"));
    QCOMPARE(b->ask(QStringLiteral("delete ") + a1), QStringLiteral("absent"));
    QCOMPARE(b->ask(QStringLiteral("save nothing")),
             QStringLiteral("refused Nincs a felvásárlási jegynek tételsora!"));
    const QString b1 = b->ask(QStringLiteral("line b1 7")).section(QLatin1Char(' '), 1);
    QCOMPARE(b->ask(QStringLiteral("lines")), QStringLiteral("lines %1:b1").arg(b1));
    QCOMPARE(b->ask(QStringLiteral("save B")), QStringLiteral("saved 10000001 1"));
    // A's lines are untouched by B's save, and A's ticket gets the next number with exactly them.
    QCOMPARE(a->ask(QStringLiteral("lines")), QStringLiteral("lines %1:a1 %2:a2").arg(a1, a2));
    QCOMPARE(a->ask(QStringLiteral("delete ") + a2), QStringLiteral("deleted"));
    QCOMPARE(a->ask(QStringLiteral("save A")), QStringLiteral("saved 10000002 1"));
    QCOMPARE(scalar(QStringLiteral("SELECT s_megnevezes FROM fjsor WHERE s_bszam = '10000001'")).toString(),
             QStringLiteral("b1"));
    QCOMPARE(scalar(QStringLiteral("SELECT s_megnevezes FROM fjsor WHERE s_bszam = '10000002'")).toString(),
             QStringLiteral("a1"));
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM fjsor")).toInt(), 2);
}

// This process's ticket entry beside a desk process writing its own new ticket: the window's grid, totals and
// "Töröl" never reach the other desk's lines; the number that desk stored first is told after the save.
void TestSharedServer::windowNeverSeesAnotherDesksLines() {
    vardelo::UiRecorder rec;
    vardelo::testing::selectPurchaser(QStringLiteral("1"));
    auto other = scriptDesk(1);
    QCOMPARE(other->ask(QStringLiteral("open")), QStringLiteral("shown 10000001 adopted 0 0"));
    other->ask(QStringLiteral("line masik 5"));
    JegyMod = vardelo::tickets::UjJegy;
    TForm9 form;
    form.show();
    QCOMPARE(vardelo::testing::child<QLineEdit>(form, "Edit1")->text(), QStringLiteral("10000001"));
    QVERIFY(Data->ZQ20->IsEmpty());
    QCOMPARE(vardelo::testing::child<QLineEdit>(form, "VetelarTotal")->text(), QString());
    vardelo::testing::child<QPushButton>(form, "DeleteLineButton")->click();
    rec.expectModal(vardelo::testing::writeLine({.name = QStringLiteral("sajat")}));
    vardelo::testing::child<QPushButton>(form, "NewLineButton")->click();
    QCOMPARE(Data->ZQ20->RecordCount(), 1);
    QCOMPARE(other->ask(QStringLiteral("lines")).count(QStringLiteral(":masik")), 1);
    // The other desk stores first and takes the number this window showed.
    QCOMPARE(other->ask(QStringLiteral("save masik")), QStringLiteral("saved 10000001 1"));
    rec.clear();
    vardelo::testing::fillHeader(form);
    vardelo::testing::child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(),
             QStringList{QStringLiteral("A jegy a(z) 10000002 sorszámot kapta, mert a "
                                        "10000001-et egy másik munkahely már felhasználta.")});
    QCOMPARE(scalar(QStringLiteral("SELECT s_megnevezes FROM fjsor WHERE s_bszam = '10000002'")).toString(),
             QStringLiteral("sajat"));
    QCOMPARE(scalar(QStringLiteral("SELECT s_megnevezes FROM fjsor WHERE s_bszam = '10000001'")).toString(),
             QStringLiteral("masik"));
}

// Two desks change the same ticket: the one that stores second is refused, told what the first changed, and
// keeps its input.
void TestSharedServer::concurrentChangeIsRefusedWithInputKept() {
    vardelo::UiRecorder rec;
    vardelo::testing::selectPurchaser(QStringLiteral("1"));
    auto other = scriptDesk(1);
    other->ask(QStringLiteral("open"));
    other->ask(QStringLiteral("line sor 5"));
    QCOMPARE(other->ask(QStringLiteral("save eredeti")), QStringLiteral("saved 10000001 1"));

    JegyMod = vardelo::tickets::JegyModositas;
    TForm9 form;
    vardelo::tickets::openTicketHeaders();
    vardelo::tickets::locateTicket(QStringLiteral("10000001"));
    vardelo::tickets::openTicketLines(QStringLiteral("10000001"));
    form.LoadForChange();
    form.show();
    QCOMPARE(other->ask(QStringLiteral("load 10000001")), QStringLiteral("loaded eredeti"));
    QCOMPARE(other->ask(QStringLiteral("store AAA")), QStringLiteral("stored"));
    vardelo::testing::child<QLineEdit>(form, "Edit4")->setText(QStringLiteral("BBB"));
    rec.answer(vardelo::MsgButton::No);
    vardelo::testing::child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{QStringLiteral("Hiba2: Módositás, UPDATE a Zozed fejben ")});
    QVERIFY2(rec.messages.last().reason.contains(QStringLiteral("Megjegyzés: „eredeti” helyett most „AAA”")),
             qPrintable(rec.messages.last().reason));
    QVERIFY(form.isVisible());
    QCOMPARE(vardelo::testing::child<QLineEdit>(form, "Edit4")->text(), QStringLiteral("BBB"));
    QCOMPARE(scalar(QStringLiteral("SELECT f_megj FROM fjfej WHERE f_bszam = '10000001'")).toString(),
             QStringLiteral("AAA"));

    // The other way round: the desk process read the ticket before this window stored it.
    QCOMPARE(other->ask(QStringLiteral("load 10000001")), QStringLiteral("loaded AAA"));
    rec.answer(vardelo::MsgButton::Yes);
    vardelo::testing::child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(vardelo::testing::child<QLineEdit>(form, "Edit4")->text(), QStringLiteral("AAA"));
    vardelo::testing::child<QLineEdit>(form, "Edit4")->setText(QStringLiteral("CCC"));
    vardelo::testing::child<QPushButton>(form, "OkButton")->click();
    QVERIFY(!form.isVisible());
    QVERIFY(
        other->ask(QStringLiteral("store DDD")).startsWith(QStringLiteral("refused Ezt az adatot közben")));
    QCOMPARE(scalar(QStringLiteral("SELECT f_megj FROM fjfej WHERE f_bszam = '10000001'")).toString(),
             QStringLiteral("CCC"));
}

// A desk process saves a ticket, the server is killed and started again, and the desk's next ticket lands.
void TestSharedServer::deskSurvivesServerRestart() {
    auto desk = startDesk(1, 2, 3, {QStringLiteral("--wait-between")});
    QVERIFY(desk->waitForStarted());
    QString out;
    QTRY_VERIFY_WITH_TIMEOUT(
        (out += QString::fromUtf8(desk->readAllStandardOutput()), out.contains(QStringLiteral("waiting"))),
        60000);
    QVERIFY(out.startsWith(QStringLiteral("saved 10000001 ")));
    restartServer();
    desk->write("\n");
    QVERIFY(desk->waitForFinished(120000));
    out += QString::fromUtf8(desk->readAllStandardOutput());
    QVERIFY2(desk->exitCode() == 0, desk->readAllStandardError().constData());
    QVERIFY2(out.contains(QStringLiteral("saved 10000002 ")), qPrintable(out));
    // This process's own connection was lost too: its next action fails as lost, and attaches again.
    try {
        scalar(QStringLiteral("SELECT COUNT(*) FROM fjfej"));
        QFAIL("the connection of before the restart still answered");
    } catch (const EDatabaseError& error) {
        QVERIFY2(vardelo::isLostConnection(error), qPrintable(error.Message()));
    }
    Data->Heal();
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM fjfej")).toInt(), 2);
    QCOMPARE(scalar(QStringLiteral("SELECT COUNT(*) FROM fjsor WHERE s_bszam = '10000002'")).toInt(), 3);
}

// The ticket entry open with a line stored and the header typed; the server restarts; "OK" says so in
// Hungarian, attaches again and, as the clerk asks, stores the ticket with everything typed.
void TestSharedServer::windowSurvivesServerRestart() {
    vardelo::UiRecorder rec;
    vardelo::testing::selectPurchaser(QStringLiteral("1"));
    JegyMod = vardelo::tickets::UjJegy;
    TForm9 form;
    form.show();
    rec.expectModal(vardelo::testing::writeLine({.name = QStringLiteral("megmarad")}));
    vardelo::testing::child<QPushButton>(form, "NewLineButton")->click();
    vardelo::testing::fillHeader(form);
    vardelo::testing::child<QLineEdit>(form, "Edit4")->setText(QStringLiteral("újraindítás után"));
    restartServer();
    rec.answer(vardelo::MsgButton::Yes);
    vardelo::testing::child<QPushButton>(form, "OkButton")->click();
    QCOMPARE(rec.messageTexts(), QStringList{vardelo::LostConnectionMessage});
    QVERIFY(rec.messages.first().reason.startsWith(QStringLiteral("A program újra kapcsolódott")));
    QVERIFY(!form.isVisible());
    QCOMPARE(scalar(QStringLiteral("SELECT f_megj FROM fjfej WHERE f_bszam = '10000001'")).toString(),
             QStringLiteral("újraindítás után"));
    QCOMPARE(scalar(QStringLiteral("SELECT s_megnevezes FROM fjsor WHERE s_bszam = '10000001'")).toString(),
             QStringLiteral("megmarad"));
    QVERIFY(Data->IBTable6->Active());
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

QTEST_MAIN(TestSharedServer)
#include "test_shared_server.moc"
