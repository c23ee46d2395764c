#include "data/windows_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>
#include <QtGlobal>
#include <optional>

namespace vardelo {

namespace {

// The path's folders with "." dropped and ".." taking back the folder before it; nothing when ".." would
// climb above the first folder.
std::optional<QStringList> normalisedSegments(const QString& path) {
    QStringList kept;
    for (const QString& segment : path.split(u'/', Qt::SkipEmptyParts)) {
        if (segment == QLatin1String("."))
            continue;
        if (segment == QLatin1String("..")) {
            if (kept.isEmpty())
                return std::nullopt;
            kept.removeLast();
            continue;
        }
        kept << segment;
    }
    return kept;
}

} // namespace

QString localPath(const QString& windowsPath) {
#ifdef Q_OS_WIN
    return windowsPath;
#else
    QString path = windowsPath;
    path.replace(u'\\', u'/');
    const bool hasDrive =
        path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter() && path.at(0).unicode() < 128;
    const QString rest = hasDrive ? path.mid(2) : path;
    const std::optional<QStringList> segments = normalisedSegments(rest);
    if (!segments)
        return QString();
    const bool folder = rest.endsWith(u'/') || segments->isEmpty();
    QString joined = segments->join(u'/');

    if (!hasDrive) {
        if (rest.startsWith(u'/'))
            joined.prepend(u'/');
        if (folder && !joined.isEmpty() && !joined.endsWith(u'/'))
            joined += u'/';
        return joined;
    }

    QString driveC = qEnvironmentVariable("VARDELO_DRIVE_C");
    if (driveC.isEmpty())
        driveC = QDir::homePath();
    driveC = QDir::cleanPath(driveC);
    const QChar letter = path.at(0).toUpper();
    QString root = driveC;
    if (letter != u'C') {
        // Other drives are folders named by their letter beside drive C's folder.
        const QString parent = QFileInfo(driveC).absolutePath();
        root = parent == u'/' ? u'/' + QString(letter) : parent + u'/' + letter;
    }
    if (!root.endsWith(u'/'))
        root += u'/';
    if (joined.isEmpty())
        return root;
    return folder ? root + joined + u'/' : root + joined;
#endif
}

} // namespace vardelo
