#include "data/database_creator.h"

#include "data/database_error.h"
#include "data/firebird_api.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Firebird;
using vardelo::fb::Status;

// The DDL is a resource of the static library, which must be registered by hand.
static void registerDatabaseResources() {
    static const bool done = [] {
        Q_INIT_RESOURCE(database);
        return true;
    }();
    (void)done;
}

namespace vardelo {

namespace {

QString resourceText(const QString& name) {
    registerDatabaseResources();
    QFile file(QStringLiteral(":/db/") + name);
    if (!file.open(QIODevice::ReadOnly))
        throw EDatabaseError(QStringLiteral("Hiányzik az adatbázis leírása: %1").arg(name));
    return QString::fromUtf8(file.readAll());
}

// Splits a script into statements: "--" comments dropped, quotes respected, SET TERM honoured.
QStringList splitScript(const QString& script) {
    QStringList statements;
    QString terminator = QStringLiteral(";");
    QString current;
    const int n = int(script.size());
    for (int i = 0; i < n;) {
        const QChar c = script[i];
        if (c == QLatin1Char('\'')) {
            int j = i + 1;
            while (j < n &&
                   !(script[j] == QLatin1Char('\'') && (j + 1 >= n || script[j + 1] != QLatin1Char('\''))))
                j += script[j] == QLatin1Char('\'') ? 2 : 1;
            current += script.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && script[i + 1] == QLatin1Char('-')) {
            int j = script.indexOf(QLatin1Char('\n'), i);
            i = j < 0 ? n : j;
        } else if (script.mid(i, terminator.size()) == terminator) {
            const QString statement = current.trimmed();
            current.clear();
            i += int(terminator.size());
            if (statement.startsWith(QLatin1String("SET TERM"), Qt::CaseInsensitive)) {
                terminator = statement.mid(8).trimmed();
                continue;
            }
            if (!statement.isEmpty())
                statements << statement;
        } else {
            current += c;
            ++i;
        }
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

void runStatements(IAttachment* attachment, const QStringList& statements) {
    Status status;
    ITransaction* transaction = attachment->startTransaction(&status, 0, nullptr);
    try {
        for (const QString& sql : statements) {
            const QByteArray text = fb::encodeSql(sql);
            attachment->execute(&status, transaction, 0, text.constData(), 3, nullptr, nullptr, nullptr,
                                nullptr);
        }
        transaction->commit(&status);
    } catch (const FbException& e) {
        transaction->rollback(&status);
        fb::raise(e);
    }
}

} // namespace

QStringList ddlStatements() {
    return splitScript(resourceText(QStringLiteral("du2010.sql")));
}

void createDatabase(const QString& path, bool demo) {
    if (QFileInfo::exists(path))
        throw EDatabaseError(QStringLiteral("Az adatbázis már létezik: %1").arg(path));
    Status status;
    IXpbBuilder* dpb = nullptr;
    IAttachment* attachment = nullptr;
    try {
        dpb = fb::util()->getXpbBuilder(&status, IXpbBuilder::DPB, nullptr, 0);
        dpb->insertString(&status, isc_dpb_user_name, "SYSDBA");
        dpb->insertString(&status, isc_dpb_password, "quillfern");
        dpb->insertString(&status, isc_dpb_lc_ctype, "WIN1250");
        dpb->insertString(&status, isc_dpb_set_db_charset, "WIN1250");
        dpb->insertInt(&status, isc_dpb_sql_dialect, 3);
        dpb->insertInt(&status, isc_dpb_page_size, 8192);
        IProvider* provider = fb::master()->getDispatcher();
        const QByteArray name = QDir::toNativeSeparators(path).toLocal8Bit();
        attachment = provider->createDatabase(&status, name.constData(), dpb->getBufferLength(&status),
                                              dpb->getBuffer(&status));
        provider->release();
        dpb->dispose();
        dpb = nullptr;

        runStatements(attachment,
                      {QStringLiteral("ALTER CHARACTER SET WIN1250 SET DEFAULT COLLATION PXW_HUN")});
        runStatements(attachment, ddlStatements());
        runStatements(attachment, splitScript(resourceText(QStringLiteral("initial.sql"))));
        if (demo)
            runStatements(attachment, splitScript(resourceText(QStringLiteral("demo.sql"))));
        attachment->detach(&status);
    } catch (...) {
        // A half-made database is removed, so the tool can be run again.
        if (dpb)
            dpb->dispose();
        if (attachment) {
            Status dropStatus;
            try {
                attachment->dropDatabase(&dropStatus);
            } catch (const FbException&) {
                attachment->release();
            }
        }
        try {
            throw;
        } catch (const FbException& e) {
            fb::raise(e);
        }
    }
}

} // namespace vardelo
