#include "data/program_files.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace vardelo {

namespace {

// The entry of folder named fileName: exactly, else whatever the case of its letters (the first in name
// order); empty when there is none.
QString entryIn(const QString& folder, const QString& fileName) {
    const QDir dir(folder);
    const QString exact = dir.filePath(fileName);
    if (QFileInfo(exact).isFile())
        return exact;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& entry : entries)
        if (entry.compare(fileName, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return QString();
}

} // namespace

QStringList installedFileFolders() {
    // VARDELO_SHARE_DIR names the only folder (the tests point it at a folder of their own, so an installed
    // package on the machine does not change what they find).
    if (const QString own = qEnvironmentVariable("VARDELO_SHARE_DIR"); !own.isEmpty())
        return {own};
    QStringList folders;
    if (QCoreApplication::instance()) {
        const QString beside =
            QDir::cleanPath(QCoreApplication::applicationDirPath() + QStringLiteral("/../share/vardelo"));
        folders << beside;
    }
    const QString system = QStringLiteral("/usr/share/vardelo");
    if (!folders.contains(system))
        folders << system;
    return folders;
}

QString findProgramFile(const QString& fileName, const QString& workingFolder,
                        const QStringList& installedFolders) {
    const QString inWorkingFolder = QDir(workingFolder).filePath(fileName);
    if (fileName.isEmpty() || fileName.contains(u'/') || fileName.contains(u'\\'))
        return inWorkingFolder;
    if (const QString found = entryIn(workingFolder, fileName); !found.isEmpty())
        return found;
    for (const QString& folder : installedFolders)
        if (const QString found = entryIn(folder, fileName); !found.isEmpty())
            return found;
    return inWorkingFolder;
}

QString findProgramFile(const QString& fileName) {
    return findProgramFile(fileName, QDir::currentPath(), installedFileFolders());
}

} // namespace vardelo
