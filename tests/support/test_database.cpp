#include "support/test_database.h"

#include "data/data_module.h"
#include "data/database_creator.h"
#include "data/shared_values.h"

#include <QDir>
#include <QtTest>

namespace vardelo::testing {

TestDatabase::TestDatabase(bool demo) {
    if (!dir_.isValid())
        qFatal("Cannot create a temporary folder");
    previousFolder_ = QDir::currentPath();
    QDir(dir_.path()).mkpath(QStringLiteral("c"));
    qputenv("VARDELO_DRIVE_C", QDir(dir_.path()).filePath(QStringLiteral("c")).toLocal8Bit());
    createDatabase(databasePath(), demo);
    QDir::setCurrent(dir_.path());
    resetSharedValues();
    delete Data;
    Data = new TData;
    Data->ZCon1->Connect();
}

TestDatabase::~TestDatabase() {
    delete Data;
    Data = nullptr;
    resetSharedValues();
    QDir::setCurrent(previousFolder_);
}

QString TestDatabase::databasePath() const {
    return QDir(dir_.path()).filePath(QStringLiteral("du2010.fdb"));
}

void TestDatabase::exec(const QString& sql) {
    TZQuery q(QStringLiteral("fixture"), Data->ZCon1, Data->IBTrans1);
    q.SQL.Add(sql);
    q.ExecSQL();
    if (Data->IBTrans1->Active())
        Data->IBTrans1->CommitRetaining();
}

} // namespace vardelo::testing
