// The program's own files beside the data: the report layouts ("FjLista*.frf") and the manual
// ("ZOZED2009.HLP"). A file in the working folder wins, so a firm's own layouts replace the installed ones;
// otherwise the installed copy is used: the folder "share/vardelo" beside the program's own "bin" folder
// (so an installation unpacked anywhere finds its files), then /usr/share/vardelo; the environment variable
// VARDELO_SHARE_DIR replaces both.
#pragma once

#include <QString>
#include <QStringList>

namespace vardelo {

// The folders the installed files may be in, in the order they are searched.
QStringList installedFileFolders();

// The path of a program file named by its bare name: the working folder's file (its letters' case ignored,
// as on Windows, where the names come from; an exact match wins), else the first installed folder's file,
// else the working folder's path (which does not exist, so the caller's "cannot open" applies). A name with
// a folder in it is taken as it is, relative to the working folder.
QString findProgramFile(const QString& fileName);

// The same with the folders given.
QString findProgramFile(const QString& fileName, const QString& workingFolder,
                        const QStringList& installedFolders);

} // namespace vardelo
