#include "support/isql.h"

#include <QProcess>
#include <QStandardPaths>

namespace vardelo::testing {

bool isqlAvailable() {
    return !QStandardPaths::findExecutable(QStringLiteral("isql-fb")).isEmpty();
}

bool runIsql(const QString& database, const QString& statements, QString* errors) {
    QProcess isql;
    isql.start(QStandardPaths::findExecutable(QStringLiteral("isql-fb")),
               {QStringLiteral("-q"), QStringLiteral("-ch"), QStringLiteral("UTF8"), QStringLiteral("-bail"),
                QStringLiteral("-user"), QStringLiteral("SYSDBA"), QStringLiteral("-password"),
                QStringLiteral("quillfern"), database});
    if (!isql.waitForStarted(30000))
        return false;
    isql.write(statements.toUtf8());
    isql.closeWriteChannel();
    isql.waitForFinished(120000);
    const QString output = QString::fromUtf8(isql.readAllStandardError()).trimmed();
    if (errors)
        *errors = output;
    return output.isEmpty() && isql.exitStatus() == QProcess::NormalExit && isql.exitCode() == 0;
}

} // namespace vardelo::testing
