#include "data/windows_paths.h"

#include <QDir>
#include <QFileInfo>
#include <QtGlobal>

namespace vardelo {

QString localPath(const QString& windowsPath) {
#ifdef Q_OS_WIN
    return windowsPath;
#else
    QString path = windowsPath;
    path.replace(u'\\', u'/');
    const bool hasDrive =
        path.size() >= 2 && path.at(1) == u':' && path.at(0).isLetter() && path.at(0).unicode() < 128;
    if (!hasDrive)
        return path;

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

    QString rest = path.mid(2);
    while (rest.startsWith(u'/'))
        rest.remove(0, 1);
    if (rest.isEmpty())
        return root == u'/' ? root : root + u'/';
    return root == u'/' ? root + rest : root + u'/' + rest;
#endif
}

} // namespace vardelo
