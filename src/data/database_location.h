// Where a database name leads, read once for the connection and for the service manager alike: the engine
// that opens the database (the embedded engine of this process, or a server) and the database's name there;
// and who logs in to it.
#pragma once

#include "data/connection.h"

#include <QString>

namespace vardelo {

// The user and password of the program's own connection when vardelo.ini names none.
inline const QString ProgramUser = QStringLiteral("SYSDBA");
inline const QString ProgramPassword = QStringLiteral("quillfern");

struct DatabaseLocation {
    DatabaseNameKind kind = DatabaseNameKind::File;
    // What stands before the database in its name: "host:", "host/3051:", "[::1]/3051:", "inet://host:3051/",
    // "xnet://", "\\host\"; empty when the engine of this process opens it (a file or a bare alias).
    QString server;
    // The database on that engine: an absolute file name, a server's path, or an alias.
    QString path;

    // The service manager of the same engine, reached the same way.
    QString serviceManager() const { return server + QStringLiteral("service_mgr"); }
    // The name of another database on the same engine.
    QString nameOf(const QString& otherPath) const { return server + otherPath; }
    bool onServer() const { return !server.isEmpty(); }
};

// Reads a database name in any form Firebird accepts; a relative file name is made absolute against the
// working folder.
DatabaseLocation databaseLocation(const QString& name, const QString& workingFolder);
DatabaseLocation databaseLocation(const QString& name); // against the current folder

// A database and the user and password a service call logs in with.
struct DatabaseAccess {
    QString database;
    QString user = ProgramUser;
    QString password = ProgramPassword;
};

// The database of the connection, with the user and password it logged in with (those of vardelo.ini).
DatabaseAccess connectionAccess(const TConnection& connection);

} // namespace vardelo
