#include "data/database_creator.h"

#include "data/database_error.h"
#include "data/firebird_api.h"
#include "data/logging.h"

#include <QCoreApplication>
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

void createDatabase(const QString& path, bool demo, const CreationProgress& progress) {
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
        attachment = fb::createDatabase(QDir::toNativeSeparators(path), dpb.get());

        runStatements(attachment.get(),
                      {QStringLiteral("ALTER CHARACTER SET WIN1250 SET DEFAULT COLLATION PXW_HUN")});
        runStatements(attachment.get(), ddlStatements());
        runStatements(attachment.get(), splitScript(resourceText(QStringLiteral("initial.sql"))));
        if (progress)
            progress(QStringLiteral("Az adatbázis szerkezete elkészült."));
        if (demo) {
            runStatements(attachment.get(), splitScript(resourceText(QStringLiteral("demo.sql"))));
            if (progress)
                progress(QStringLiteral("A bemutató adatok betöltve."));
        }
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

namespace {

// A name in the same folder that nothing uses yet, hidden and marked as unfinished.
QString temporaryPathFor(const QFileInfo& target) {
    const QDir folder = target.absoluteDir();
    for (int attempt = 0;; ++attempt) {
        const QString name = QStringLiteral(".%1.%2-%3.part")
                                 .arg(target.fileName())
                                 .arg(QCoreApplication::applicationPid())
                                 .arg(attempt);
        const QFileInfo candidate(folder.filePath(name));
        if (!candidate.exists() && !candidate.isSymLink())
            return candidate.filePath();
    }
}

} // namespace

void createDatabaseFile(const QString& path, bool demo,
                        const std::function<void(const QString&)>& temporaryName,
                        const CreationProgress& progress) {
    const QFileInfo target(path);
    if (target.isSymLink())
        throw EDatabaseError(
            QStringLiteral("A megadott név egy hivatkozás, nem hozható létre: %1").arg(path));
    if (target.exists())
        throw EDatabaseError(QStringLiteral("Az adatbázis már létezik: %1").arg(path));
    if (!target.absoluteDir().exists())
        throw EDatabaseError(QStringLiteral("A mappa nem létezik: %1").arg(target.absolutePath()));
    const QString temporary = temporaryPathFor(target);
    if (temporaryName)
        temporaryName(temporary);
    try {
        createDatabase(temporary, demo, progress);
    } catch (...) {
        QFile::remove(temporary);
        throw;
    }
    // The rename never replaces: a file that appeared under the name meanwhile stays as it is.
    const QString finalPath = target.absoluteFilePath();
    if (QFileInfo(finalPath).isSymLink() || !QFile::rename(temporary, finalPath)) {
        QFile::remove(temporary);
        throw EDatabaseError(QStringLiteral("Az adatbázis nem nevezhető át erre: %1").arg(path));
    }
}

CreatorArguments parseCreatorArguments(const QStringList& arguments) {
    CreatorArguments result;
    bool pathGiven = false;
    bool optionsEnded = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        if (!optionsEnded && arg == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && arg == QLatin1String("--demo")) {
            result.demo = true;
        } else if (!optionsEnded && (arg == QLatin1String("--help") || arg == QLatin1String("-h"))) {
            result.help = true;
        } else if (!optionsEnded && arg == QLatin1String("--user")) {
            if (i + 1 >= arguments.size() || arguments.at(i + 1).trimmed().isEmpty()) {
                result.error = QStringLiteral("A --user után a felhasználó neve kell.");
                return result;
            }
            result.user = arguments.at(++i).trimmed();
        } else if (!optionsEnded && (arg == QLatin1String("--backup") || arg == QLatin1String("--restore"))) {
            if (result.action != CreatorArguments::Action::Create || pathGiven) {
                result.error = QStringLiteral("A %1 mellett más művelet vagy fájl nem adható meg.").arg(arg);
                return result;
            }
            if (i + 2 >= arguments.size() || arguments.at(i + 1).isEmpty() || arguments.at(i + 2).isEmpty()) {
                result.error =
                    arg == QLatin1String("--backup")
                        ? QStringLiteral("A --backup után az adatbázis és a mentés helye kell.")
                        : QStringLiteral("A --restore után a mentés és az új adatbázis neve kell.");
                return result;
            }
            const bool backup = arg == QLatin1String("--backup");
            result.action = backup ? CreatorArguments::Action::Backup : CreatorArguments::Action::Restore;
            result.path = arguments.at(backup ? i + 1 : i + 2);
            result.backup = arguments.at(backup ? i + 2 : i + 1);
            pathGiven = true;
            i += 2;
        } else if (!optionsEnded && arg.startsWith(u'-') && arg != QLatin1String("-")) {
            result.error = QStringLiteral("Ismeretlen kapcsoló: %1").arg(arg);
            return result;
        } else if (arg.isEmpty()) {
            result.error = QStringLiteral("Üres fájlnév.");
            return result;
        } else if (pathGiven) {
            result.error = QStringLiteral("Csak egy adatbázisfájl adható meg: %1").arg(arg);
            return result;
        } else {
            result.path = arg;
            pathGiven = true;
        }
    }
    if (result.demo && result.action != CreatorArguments::Action::Create)
        result.error = QStringLiteral("A --demo csak új adatbázishoz adható meg.");
    else if (!result.user.isEmpty() && result.action == CreatorArguments::Action::Create)
        result.error = QStringLiteral("A --user csak a --backup és a --restore mellett adható meg.");
    return result;
}

} // namespace vardelo
