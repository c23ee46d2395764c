#include "data/schema_upgrade.h"

#include "data/database_creator.h"
#include "data/database_error.h"
#include "data/firebird_api.h"
#include "data/logging.h"

#include <QHash>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

using namespace Firebird;
using vardelo::fb::Handle;
using vardelo::fb::Status;

namespace vardelo {

namespace {

// Whitespace and letter case carry no meaning in a stored expression or trigger text.
// A definition's text compared without case, layout or comments: the engine keeps the comments of a body as
// written (isql-fb keeps them, the program's own creation does not send them).
QString normalized(const QString& text) {
    QString code;
    code.reserve(text.size());
    bool quoted = false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (!quoted && c == QLatin1Char('-') && next == QLatin1Char('-')) {
            while (i + 1 < text.size() && text[i + 1] != QLatin1Char('\n'))
                ++i;
            code += QLatin1Char(' ');
            continue;
        }
        if (!quoted && c == QLatin1Char('/') && next == QLatin1Char('*')) {
            const qsizetype end = text.indexOf(QStringLiteral("*/"), i + 2);
            i = end < 0 ? text.size() : end + 1;
            code += QLatin1Char(' ');
            continue;
        }
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        code += c;
    }
    return code.simplified().toUpper();
}

// A definition list split at its top-level commas (commas inside brackets and quotes belong to their item).
QStringList topLevelItems(const QString& body) {
    QStringList items;
    int depth = 0;
    bool quoted = false;
    QString current;
    for (const QChar c : body) {
        if (c == QLatin1Char('\''))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('('))
            ++depth;
        else if (!quoted && c == QLatin1Char(')'))
            --depth;
        if (!quoted && depth == 0 && c == QLatin1Char(',')) {
            items << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        items << current.trimmed();
    return items;
}

// A column type as a key that two spellings of the same stored type share: exact numbers by their storage
// and scale ("INT64/2" for DECIMAL(18,2) and NUMERIC(15,2) alike), other types by name. Empty for a type not
// described here, which is then not compared.
QString exactTypeKey(int bits, int scale) {
    return QStringLiteral("INT%1/%2").arg(bits).arg(scale);
}

QString declaredTypeKey(const QString& declared) {
    static const QRegularExpression exact(
        QStringLiteral("^(NUMERIC|DECIMAL)\\s*\\(\\s*(\\d+)\\s*(?:,\\s*(\\d+)\\s*)?\\)$"),
        QRegularExpression::CaseInsensitiveOption);
    const QString type = declared.simplified().toUpper();
    if (const auto m = exact.match(type); m.hasMatch()) {
        const int precision = m.captured(2).toInt();
        const bool numeric = m.captured(1) == QLatin1String("NUMERIC");
        const int bits = precision > 9 ? 64 : precision > 4 || !numeric ? 32 : 16;
        return exactTypeKey(bits, m.captured(3).toInt());
    }
    static const QHash<QString, QString> named{
        {QStringLiteral("SMALLINT"), exactTypeKey(16, 0)},
        {QStringLiteral("INTEGER"), exactTypeKey(32, 0)},
        {QStringLiteral("INT"), exactTypeKey(32, 0)},
        {QStringLiteral("BIGINT"), exactTypeKey(64, 0)},
        {QStringLiteral("DOUBLE PRECISION"), QStringLiteral("DOUBLE")},
        {QStringLiteral("FLOAT"), QStringLiteral("FLOAT")},
        {QStringLiteral("DATE"), QStringLiteral("DATE")},
    };
    return named.value(type);
}

QString storedTypeKey(int type, int scale) {
    switch (type) {
    case 7:
        return exactTypeKey(16, -scale);
    case 8:
        return exactTypeKey(32, -scale);
    case 16:
        return exactTypeKey(64, -scale);
    case 10:
        return QStringLiteral("FLOAT");
    case 27:
        return QStringLiteral("DOUBLE");
    case 12:
        return QStringLiteral("DATE");
    default:
        return QString();
    }
}

QString firstWord(const QString& text) {
    static const QRegularExpression word(QStringLiteral("^\\s*([A-Za-z0-9_$]+)"));
    return word.match(text).captured(1).toUpper();
}

// What the database already has, read once from the system tables.
struct DatabaseObjects {
    QSet<QString> relations;                 // tables and views
    QHash<QString, QSet<QString>> columns;   // table -> its columns
    QHash<QString, QString> computedSources; // "TABLE.COLUMN" -> its expression, as stored
    QHash<QString, QString> computedTypes;   // "TABLE.COLUMN" -> its type, as storedTypeKey() gives it
    QSet<QString> constraints;
    QSet<QString> indexes;
    QSet<QString> generators;
    QHash<QString, QString> procedureSources; // procedure -> its text after AS, as stored
    QHash<QString, QString> functionSources;  // function -> its text after AS, as stored
    QSet<QString> exceptions;
    QHash<QString, QString> triggerSources; // trigger -> its text from AS on, as stored
    QSet<QString> privileges;               // "GRANTEE|OBJECT|letter" of each privilege granted
};

using Rows = std::vector<std::vector<QVariant>>;

Rows readRows(IAttachment* attachment, ITransaction* transaction, const QString& sql) {
    return fb::executeRows(attachment, transaction, sql, {});
}

DatabaseObjects readObjects(IAttachment* attachment) {
    DatabaseObjects objects;
    Status status;
    try {
        Handle<ITransaction> transaction(attachment->startTransaction(status.throwing(), 0, nullptr));
        ITransaction* tr = transaction.get();
        for (const auto& row : readRows(attachment, tr,
                                        QStringLiteral("SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS "
                                                       "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0")))
            objects.relations.insert(row[0].toString());
        for (const auto& row :
             readRows(attachment, tr,
                      QStringLiteral("SELECT TRIM(rf.RDB$RELATION_NAME), TRIM(rf.RDB$FIELD_NAME), "
                                     "CAST(f.RDB$COMPUTED_SOURCE AS VARCHAR(8000)), f.RDB$FIELD_TYPE, "
                                     "f.RDB$FIELD_SCALE "
                                     "FROM RDB$RELATION_FIELDS rf "
                                     "JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                                     "WHERE COALESCE(rf.RDB$SYSTEM_FLAG, 0) = 0"))) {
            objects.columns[row[0].toString()].insert(row[1].toString());
            if (!row[2].isNull()) {
                const QString column = row[0].toString() + QLatin1Char('.') + row[1].toString();
                objects.computedSources.insert(column, row[2].toString());
                objects.computedTypes.insert(column, storedTypeKey(row[3].toInt(), row[4].toInt()));
            }
        }
        for (const auto& row : readRows(attachment, tr,
                                        QStringLiteral("SELECT TRIM(RDB$CONSTRAINT_NAME) "
                                                       "FROM RDB$RELATION_CONSTRAINTS")))
            objects.constraints.insert(row[0].toString());
        for (const auto& row : readRows(attachment, tr,
                                        QStringLiteral("SELECT TRIM(RDB$INDEX_NAME) FROM RDB$INDICES "
                                                       "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0")))
            objects.indexes.insert(row[0].toString());
        for (const auto& row : readRows(attachment, tr,
                                        QStringLiteral("SELECT TRIM(RDB$GENERATOR_NAME) FROM RDB$GENERATORS "
                                                       "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0")))
            objects.generators.insert(row[0].toString());
        // Procedures and functions outside packages, each with its text after AS.
        const auto readRoutineSources = [&](const QString& kind, QHash<QString, QString>& sources) {
            for (const auto& row :
                 readRows(attachment, tr,
                          QStringLiteral("SELECT TRIM(RDB$%1_NAME), "
                                         "CAST(RDB$%1_SOURCE AS VARCHAR(8000)) FROM RDB$%1S "
                                         "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                                         "AND RDB$PACKAGE_NAME IS NULL")
                              .arg(kind)))
                sources.insert(row[0].toString(), row[1].toString());
        };
        readRoutineSources(QStringLiteral("PROCEDURE"), objects.procedureSources);
        readRoutineSources(QStringLiteral("FUNCTION"), objects.functionSources);
        for (const auto& row : readRows(attachment, tr,
                                        QStringLiteral("SELECT TRIM(RDB$EXCEPTION_NAME) FROM RDB$EXCEPTIONS "
                                                       "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0")))
            objects.exceptions.insert(row[0].toString());
        for (const auto& row :
             readRows(attachment, tr,
                      QStringLiteral("SELECT TRIM(RDB$TRIGGER_NAME), "
                                     "CAST(RDB$TRIGGER_SOURCE AS VARCHAR(8000)) FROM RDB$TRIGGERS "
                                     "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0")))
            objects.triggerSources.insert(row[0].toString(), row[1].toString());
        for (const auto& row : readRows(attachment, tr,
                                        QStringLiteral("SELECT TRIM(RDB$USER), TRIM(RDB$RELATION_NAME), "
                                                       "TRIM(RDB$PRIVILEGE) FROM RDB$USER_PRIVILEGES "
                                                       "WHERE RDB$FIELD_NAME IS NULL")))
            objects.privileges.insert(row[0].toString() + u'|' + row[1].toString() + u'|' +
                                      row[2].toString());
        transaction->commit(status.throwing());
        transaction.forget();
    } catch (const FbException& e) {
        fb::raise(e);
    }
    return objects;
}

// The changes one CREATE TABLE of the DDL asks of the database: the whole table when it is missing, else the
// columns and constraints it lacks and the computed columns whose expression changed.
void tableChanges(const QString& table, const QString& body, const QString& statement,
                  const DatabaseObjects& objects, QList<SchemaChange>& changes) {
    if (!objects.relations.contains(table)) {
        changes.append({QStringLiteral("table %1").arg(table), statement, statement});
        return;
    }
    const QSet<QString> existing = objects.columns.value(table);
    static const QRegularExpression computed(QStringLiteral("\\bCOMPUTED\\s+BY\\s*(\\(.*\\))\\s*$"),
                                             QRegularExpression::CaseInsensitiveOption |
                                                 QRegularExpression::DotMatchesEverythingOption);
    for (const QString& item : topLevelItems(body)) {
        const QString head = firstWord(item);
        if (head == QLatin1String("CONSTRAINT")) {
            const QString name =
                firstWord(item.mid(item.indexOf(QLatin1String("CONSTRAINT"), 0, Qt::CaseInsensitive) + 10));
            if (!objects.constraints.contains(name))
                changes.append({QStringLiteral("constraint %1.%2").arg(table, name),
                                QStringLiteral("ALTER TABLE %1 ADD %2").arg(table, item), statement});
            continue;
        }
        if (head == QLatin1String("PRIMARY") || head == QLatin1String("UNIQUE") ||
            head == QLatin1String("FOREIGN") || head == QLatin1String("CHECK"))
            continue; // unnamed constraints cannot be matched; they come with the table
        if (!existing.contains(head)) {
            changes.append({QStringLiteral("column %1.%2").arg(table, head),
                            QStringLiteral("ALTER TABLE %1 ADD %2").arg(table, item), statement});
            continue;
        }
        const auto expression = computed.match(item);
        if (expression.hasMatch()) {
            // A computed column keeps the type it got when it was made; one the DDL names is compared too, so
            // a column whose formula stays but whose type changed (a double that became an exact decimal)
            // gets its new type.
            const QString column = table + QLatin1Char('.') + head;
            const QString declared =
                item.mid(head.size(), expression.capturedStart(0) - head.size()).trimmed();
            const QString declaredKey = declaredTypeKey(declared);
            const QString storedKey = objects.computedTypes.value(column);
            const bool typeDiffers =
                !declaredKey.isEmpty() && !storedKey.isEmpty() && declaredKey != storedKey;
            const QString stored = objects.computedSources.value(column);
            if (typeDiffers || normalized(stored) != normalized(expression.captured(1)))
                changes.append({QStringLiteral("computed column %1").arg(column),
                                declared.isEmpty()
                                    ? QStringLiteral("ALTER TABLE %1 ALTER %2 COMPUTED BY %3")
                                          .arg(table, head, expression.captured(1))
                                    : QStringLiteral("ALTER TABLE %1 ALTER %2 TYPE %3 COMPUTED BY %4")
                                          .arg(table, head, declared, expression.captured(1)),
                                statement});
        }
    }
}

// The letters the engine keeps for the privileges of a GRANT ("SELECT, UPDATE" gives "S", "U"); empty for a
// privilege it does not know.
QStringList privilegeLetters(const QString& privileges) {
    static const QHash<QString, QStringList> letters{
        {QStringLiteral("SELECT"), {QStringLiteral("S")}},
        {QStringLiteral("INSERT"), {QStringLiteral("I")}},
        {QStringLiteral("UPDATE"), {QStringLiteral("U")}},
        {QStringLiteral("DELETE"), {QStringLiteral("D")}},
        {QStringLiteral("REFERENCES"), {QStringLiteral("R")}},
        {QStringLiteral("EXECUTE"), {QStringLiteral("X")}},
        {QStringLiteral("USAGE"), {QStringLiteral("G")}},
        {QStringLiteral("ALL"),
         {QStringLiteral("S"), QStringLiteral("I"), QStringLiteral("U"), QStringLiteral("D"),
          QStringLiteral("R")}},
    };
    QStringList result;
    for (const QString& privilege : privileges.split(u',')) {
        const auto known = letters.constFind(privilege.simplified().toUpper());
        if (known == letters.cend())
            return {};
        result << *known;
    }
    return result;
}

} // namespace

QList<SchemaChange> pendingSchemaChanges(IAttachment* attachment, const QStringList& ddl) {
    const DatabaseObjects objects = readObjects(attachment);
    QList<SchemaChange> changes;
    static const QRegularExpression table(QStringLiteral("^CREATE\\s+TABLE\\s+(\\w+)\\s*\\((.*)\\)\\s*$"),
                                          QRegularExpression::CaseInsensitiveOption |
                                              QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression index(
        QStringLiteral("^CREATE\\s+(UNIQUE\\s+)?((ASC|ASCENDING|DESC|DESCENDING)\\s+)?INDEX\\s+(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression generator(QStringLiteral("^CREATE\\s+(GENERATOR|SEQUENCE)\\s+(\\w+)"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression named(
        QStringLiteral("^CREATE\\s+(OR\\s+ALTER\\s+)?(VIEW|PROCEDURE|FUNCTION|EXCEPTION)\\s+(\\w+)"),
        QRegularExpression::CaseInsensitiveOption);
    // The body of a procedure or function: what follows the first AS (the engine keeps it without the AS).
    static const QRegularExpression routineBody(QStringLiteral("\\bAS\\b(.*)$"),
                                                QRegularExpression::CaseInsensitiveOption |
                                                    QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression grant(
        QStringLiteral(
            "^GRANT\\s+(.+?)\\s+ON\\s+(?:(?:TABLE|GENERATOR|SEQUENCE|FUNCTION|PROCEDURE|EXCEPTION)\\s+)?"
            "(\\w+)\\s+TO\\s+(?:(?:USER|ROLE|TRIGGER|PROCEDURE|FUNCTION|VIEW)\\s+)?(\\w+)\\s*$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    static const QRegularExpression trigger(
        QStringLiteral("^CREATE\\s+(OR\\s+ALTER\\s+)?TRIGGER\\s+(\\w+)\\b.*?\\bAS\\b(.*)$"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    for (const QString& statement : ddl) {
        if (const auto m = table.match(statement); m.hasMatch()) {
            tableChanges(m.captured(1).toUpper(), m.captured(2), statement, objects, changes);
        } else if (const auto i = index.match(statement); i.hasMatch()) {
            if (!objects.indexes.contains(i.captured(4).toUpper()))
                changes.append(
                    {QStringLiteral("index %1").arg(i.captured(4).toUpper()), statement, statement});
        } else if (const auto g = generator.match(statement); g.hasMatch()) {
            if (!objects.generators.contains(g.captured(2).toUpper()))
                changes.append(
                    {QStringLiteral("generator %1").arg(g.captured(2).toUpper()), statement, statement});
        } else if (const auto n = named.match(statement); n.hasMatch()) {
            const QString kind = n.captured(2).toUpper();
            const QString name = n.captured(3).toUpper();
            const bool routine = kind == QLatin1String("PROCEDURE") || kind == QLatin1String("FUNCTION");
            const QHash<QString, QString>& sources =
                kind == QLatin1String("PROCEDURE") ? objects.procedureSources : objects.functionSources;
            const bool present = kind == QLatin1String("VIEW")        ? objects.relations.contains(name)
                                 : kind == QLatin1String("EXCEPTION") ? objects.exceptions.contains(name)
                                                                      : sources.contains(name);
            if (!present) {
                changes.append({kind.toLower() + QLatin1Char(' ') + name, statement, statement});
            } else if (routine) {
                // A routine whose text changed gets the new text; its callers stay as they are.
                const auto body = routineBody.match(statement, n.capturedEnd(0));
                if (body.hasMatch() && normalized(sources.value(name)) != normalized(body.captured(1))) {
                    QString replacement = statement;
                    if (n.captured(1).isEmpty())
                        replacement.replace(QRegularExpression(QStringLiteral("^CREATE\\s+"),
                                                               QRegularExpression::CaseInsensitiveOption),
                                            QStringLiteral("CREATE OR ALTER "));
                    changes.append(
                        {QStringLiteral("changed %1 %2").arg(kind.toLower(), name), replacement, statement});
                }
            }
        } else if (const auto t = trigger.match(statement); t.hasMatch()) {
            const QString name = t.captured(2).toUpper();
            const auto stored = objects.triggerSources.constFind(name);
            if (stored == objects.triggerSources.cend()) {
                changes.append({QStringLiteral("trigger %1").arg(name), statement, statement});
            } else if (normalized(*stored) != normalized(QStringLiteral("AS") + t.captured(3))) {
                // The trigger's text changed: put the new text in its place.
                QString replacement = statement;
                if (t.captured(1).isEmpty())
                    replacement.replace(QRegularExpression(QStringLiteral("^CREATE\\s+TRIGGER"),
                                                           QRegularExpression::CaseInsensitiveOption),
                                        QStringLiteral("CREATE OR ALTER TRIGGER"));
                changes.append({QStringLiteral("changed trigger %1").arg(name), replacement, statement});
            }
        } else if (const auto granted = grant.match(statement); granted.hasMatch()) {
            const QString object = granted.captured(2).toUpper();
            const QString grantee = granted.captured(3).toUpper();
            const QStringList letters = privilegeLetters(granted.captured(1));
            const bool present =
                !letters.isEmpty() &&
                std::all_of(letters.cbegin(), letters.cend(), [&](const QString& letter) {
                    return objects.privileges.contains(grantee + u'|' + object + u'|' + letter);
                });
            if (!present)
                changes.append({QStringLiteral("grant %1 on %2 to %3")
                                    .arg(granted.captured(1).simplified().toUpper(), object, grantee),
                                statement, statement});
        }
    }
    return changes;
}

SchemaUpgradeResult upgradeSchema(IAttachment* attachment, const QStringList& ddl) {
    const QStringList statements = ddl.isEmpty() ? ddlStatements() : ddl;
    SchemaUpgradeResult result;
    const QList<SchemaChange> changes = pendingSchemaChanges(attachment, statements);
    if (changes.isEmpty())
        return result;
    for (const SchemaChange& change : changes) {
        Status status;
        try {
            Handle<ITransaction> transaction(attachment->startTransaction(status.throwing(), 0, nullptr));
            const QByteArray text = fb::encodeSql(change.statement);
            attachment->execute(status.throwing(), transaction.get(), 0, text.constData(), 3, nullptr,
                                nullptr, nullptr, nullptr);
            transaction->commit(status.throwing());
            transaction.forget();
            result.applied << change.description;
            qCInfo(lcData).noquote() << "Schema upgrade: added" << change.description;
        } catch (const FbException& e) {
            const QString reason = fb::errorText(e);
            // Another desk opening the database at the same moment may have made it first.
            bool madeMeanwhile = false;
            try {
                const auto still = pendingSchemaChanges(attachment, {change.source});
                madeMeanwhile = std::none_of(still.cbegin(), still.cend(), [&](const SchemaChange& pending) {
                    return pending.description == change.description;
                });
            } catch (const EDatabaseError&) {
            }
            if (madeMeanwhile)
                continue;
            result.failed << change.description + QStringLiteral(": ") + reason;
            qCWarning(lcData).noquote()
                << "Schema upgrade: could not add" << change.description << "-" << reason;
        }
    }
    return result;
}

} // namespace vardelo
