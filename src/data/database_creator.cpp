#include "data/database_creator.h"

#include "data/database_error.h"
#include "data/firebird_api.h"
#include "data/logging.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

using namespace Firebird;
using vardelo::fb::Handle;
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
            int j = int(script.indexOf(QLatin1Char('\n'), i));
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
    try {
        // Rolled back by its handle when a statement fails or cannot be encoded.
        Handle<ITransaction> transaction(attachment->startTransaction(status.throwing(), 0, nullptr));
        for (const QString& sql : statements) {
            const QByteArray text = fb::encodeSql(sql);
            attachment->execute(status.throwing(), transaction.get(), 0, text.constData(), 3, nullptr,
                                nullptr, nullptr, nullptr);
        }
        transaction->commit(status.throwing());
        transaction.forget();
    } catch (const FbException& e) {
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
    Handle<IAttachment> attachment;
    try {
        Handle<IXpbBuilder> dpb(fb::util()->getXpbBuilder(status.throwing(), IXpbBuilder::DPB, nullptr, 0));
        dpb->insertString(status.throwing(), isc_dpb_user_name, "SYSDBA");
        dpb->insertString(status.throwing(), isc_dpb_password, "quillfern");
        dpb->insertString(status.throwing(), isc_dpb_lc_ctype, "WIN1250");
        dpb->insertString(status.throwing(), isc_dpb_set_db_charset, "WIN1250");
        dpb->insertInt(status.throwing(), isc_dpb_sql_dialect, 3);
        dpb->insertInt(status.throwing(), isc_dpb_page_size, 8192);
        attachment = fb::createDatabase(QDir::toNativeSeparators(path).toLocal8Bit(), dpb.get());

        runStatements(attachment.get(),
                      {QStringLiteral("ALTER CHARACTER SET WIN1250 SET DEFAULT COLLATION PXW_HUN")});
        runStatements(attachment.get(), ddlStatements());
        runStatements(attachment.get(), splitScript(resourceText(QStringLiteral("initial.sql"))));
        if (demo)
            runStatements(attachment.get(), splitScript(resourceText(QStringLiteral("demo.sql"))));
        attachment->detach(status.throwing());
        attachment.forget();
    } catch (...) {
        // A half-made database is removed, so the tool can be run again.
        if (attachment) {
            Status dropStatus;
            try {
                attachment->dropDatabase(dropStatus.throwing());
                attachment.forget();
            } catch (const FbException& e) {
                qCWarning(lcData).noquote() << "Removing the half-made database failed:" << fb::errorText(e);
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
