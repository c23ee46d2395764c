#include "support/test_database.h"

#include "data/connection.h"
#include "data/data_module.h"
#include "data/database_creator.h"
#include "data/immediate_write.h"
#include "data/query.h"
#include "data/transaction.h"
#include "reports/report_objects.h"
#include "support/run_state.h"

#include <QDir>
#include <QFile>
#include <QtTest>

namespace vardelo::testing {

QString templateDatabase(bool demo) {
    // Kept until the process ends; the folder is removed then.
    static QTemporaryDir folder;
    if (!folder.isValid())
        qFatal("Cannot create a temporary folder");
    const QString path = folder.filePath(demo ? QStringLiteral("demo.fdb") : QStringLiteral("empty.fdb"));
    if (!QFile::exists(path))
        createDatabase(path, demo);
    return path;
}

TestDatabase::TestDatabase(bool demo) {
    if (!dir_.isValid())
        qFatal("Cannot create a temporary folder");
    resetRunState();
    previousFolder_ = QDir::currentPath();
    QDir(dir_.path()).mkpath(QStringLiteral("c"));
    qputenv("VARDELO_DRIVE_C", QDir(dir_.path()).filePath(QStringLiteral("c")).toLocal8Bit());
    if (!QFile::copy(templateDatabase(demo), databasePath()))
        qFatal("Cannot copy the template database");
    // The copy must be writable whatever the template's permissions.
    QFile::setPermissions(databasePath(), QFile::ReadOwner | QFile::WriteOwner);
    QDir::setCurrent(dir_.path());
    Data = new TData;
    report::createReportObjects(*Data);
    Data->ZCon1->Connect();
}

TestDatabase::~TestDatabase() {
    resetRunState();
    QDir::setCurrent(previousFolder_);
}

QString TestDatabase::databasePath() const {
    return QDir(dir_.path()).filePath(QStringLiteral("du2010.fdb"));
}

void TestDatabase::exec(const QString& sql) {
    TZQuery q(QStringLiteral("fixture"), Data->ZCon1, Data->IBTrans1);
    vardelo::execQuery(&q, {sql});
    if (Data->IBTrans1->Active())
        Data->IBTrans1->CommitRetaining();
}

void TestDatabase::cutConnection() {
    execAsAnotherDesk(
        QStringLiteral("DELETE FROM MON$ATTACHMENTS WHERE MON$ATTACHMENT_ID <> CURRENT_CONNECTION"));
}

void TestDatabase::execAsAnotherDesk(const QString& sql) {
    TConnection other(QStringLiteral("anotherDesk"));
    other.DatabaseName = databasePath();
    other.Connect();
    {
        TTransaction transaction(QStringLiteral("anotherDeskTransaction"), &other);
        TZQuery q(QStringLiteral("anotherDeskQuery"), &other, &transaction);
        vardelo::execQuery(&q, {sql});
        transaction.Commit();
    }
    other.Disconnect();
}

} // namespace vardelo::testing
