#pragma once

#include <QString>
#include <QStringList>
#include <functional>

namespace Firebird {
class IAttachment;
}

namespace vardelo {

// One change that brings an older database up to the schema of the DDL: what is added or altered, and the
// statement that does it.
struct SchemaChange {
    QString description; // for the log: "index FJFEJ_BSZAM_DESC", "column FJSOR.S_MERLEG"
    QString statement;
    QString source; // the DDL statement it comes from
};

// What an older database lacks of the DDL, in the DDL's order: tables, columns and constraints of existing
// tables, generators, indexes, views, procedures, functions, exceptions, triggers and grants that it does not
// have, computed columns whose expression or named type differs, and triggers, procedures and functions whose
// text differs. A database made from the DDL lacks nothing.
QList<SchemaChange> pendingSchemaChanges(Firebird::IAttachment* attachment, const QStringList& ddl);

struct SchemaUpgradeResult {
    QStringList applied; // descriptions of the changes made
    QStringList failed;  // descriptions of the changes that failed, with the engine's reason
};

// Brings an open database up to the DDL (ddlStatements() when none is given). Each change runs and commits in
// a transaction of its own, so an upgrade cut short leaves every change either made or not, and the next
// opening makes the rest. A change that fails (another desk made it at the same moment, a user without the
// right to change the schema, a table another attachment holds) is logged and left for the next opening; a
// change that another desk made meanwhile counts as made. Every change made is logged.
SchemaUpgradeResult upgradeSchema(Firebird::IAttachment* attachment, const QStringList& ddl = {});

} // namespace vardelo
