#pragma once

#include "returns/merge_rules.h"

#include <QString>
#include <QStringList>
#include <optional>

// The merge of two folders of import files, as file work: sums, partners, merged files and renames. Shows
// nothing; the window reports what it returns.
namespace vardelo::returns {

// The ".imp" files directly in a folder, by name.
QStringList importFilesIn(const QString& folder);
// Whether the folder holds a ".old" file (a merge ran there after the last collection).
bool holdsOldFiles(const QString& folder);
// Whether two folder paths name the same folder.
bool sameFolder(const QString& a, const QString& b);

// The sums of the files of both lists. Nothing when a file cannot be read or a value is not a whole number;
// then *error says which.
std::optional<MergeSums> folderSums(const QString& aFolder, const QStringList& aFiles, const QString& bFolder,
                                    const QStringList& bFiles, QString* error);

// The names in B's list whose key equals the key of a file in A's list, in B's order.
QStringList mergePartners(const QStringList& aFiles, const QStringList& bFiles);

// Renames without replacing: 0 when done, else the system's error code (the target's existence included).
int renameNoReplace(const QString& from, const QString& to);

struct MergeOutcome {
    bool ran = false; // false: stopped by `error` before any file changed
    QString error;    // why the run stopped
    MergeSums before;
    MergeSums after;
    QStringList partners; // the producers in both sets (B's file names)
    QStringList messages; // rename failures, in order; the run went on after each
};

// The whole merge of the two folders over the given lists. Every value is read and checked, and every
// partner's A file found, before the first file is written.
MergeOutcome mergeImportFolders(const QString& aFolder, const QStringList& aFiles, const QString& bFolder,
                                const QStringList& bFiles);

} // namespace vardelo::returns
