#include "data/database_location.h"

#include <QDir>
#include <QRegularExpression>

namespace vardelo {

DatabaseLocation databaseLocation(const QString& name, const QString& workingFolder) {
    // The protocol forms: "inet://host:port/path", "inet4://", "inet6://", "wnet://host/path"; "xnet://path"
    // names no host.
    static const QRegularExpression protocol(QStringLiteral("^(inet[46]?|wnet|xnet)://"),
                                             QRegularExpression::CaseInsensitiveOption);
    // "host:path", "host/port:path", "host/service:path", "[ipv6]:path", "[ipv6]/port:path". A host is at
    // least two characters, so "c:\data\x.fdb" and "c:/data/x.fdb" stay drive-letter paths.
    static const QRegularExpression tcp(
        QStringLiteral(R"(^([^:/\\\[\]]{2,}|\[[0-9A-Fa-f:.]+\])(/[^:/\\]+)?:)"));
    // "\\host\path": a Windows server's named pipe.
    static const QRegularExpression unc(QStringLiteral(R"(^\\\\[^\\/]*(\\|$))"));

    DatabaseLocation location;
    location.kind = DatabaseNameKind::Server;
    if (const QRegularExpressionMatch url = protocol.match(name); url.hasMatch()) {
        qsizetype end = url.capturedEnd();
        if (url.captured(1).compare(QLatin1String("xnet"), Qt::CaseInsensitive) != 0) {
            // The host (with its port) runs to the first slash.
            const qsizetype slash = name.indexOf(u'/', end);
            end = slash < 0 ? name.size() : slash + 1;
        }
        location.server = name.left(end);
        location.path = name.mid(end);
    } else if (const QRegularExpressionMatch host = tcp.match(name); host.hasMatch()) {
        location.server = host.captured(0);
        location.path = name.mid(host.capturedEnd());
    } else if (const QRegularExpressionMatch pipe = unc.match(name); pipe.hasMatch()) {
        location.server = pipe.captured(0);
        location.path = name.mid(pipe.capturedEnd());
    } else if (!name.isEmpty() && !name.contains(u'/') && !name.contains(u'\\') && !name.contains(u'.') &&
               !name.contains(u':')) {
        // A name without a folder and without an extension ("vardelo", "employee") names an alias of
        // databases.conf; a file name carries its extension ("du2010.fdb").
        location.kind = DatabaseNameKind::Alias;
        location.path = name;
    } else {
        location.kind = DatabaseNameKind::File;
        location.path = QDir::cleanPath(QDir(workingFolder).absoluteFilePath(name));
    }
    return location;
}

DatabaseLocation databaseLocation(const QString& name) {
    return databaseLocation(name, QDir::currentPath());
}

DatabaseAccess connectionAccess(const TConnection& connection) {
    return {connection.ResolvedDatabaseName(), connection.User, connection.Password};
}

} // namespace vardelo
