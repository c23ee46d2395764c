#pragma once

#include "returns/merge_rules.h"

#include <QString>
#include <QStringList>
#include <functional>
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

// The sums of the files of both lists. Nothing when a file cannot be read, is not a whole import file or
// carries a value that is not a whole number of at most 11 digits; then *error says which.
std::optional<MergeSums> folderSums(const QString& aFolder, const QStringList& aFiles, const QString& bFolder,
                                    const QStringList& bFiles, QString* error);

// The names in B's list whose key equals the key of a file in A's list, in B's order.
QStringList mergePartners(const QStringList& aFiles, const QStringList& bFiles);

// Renames without replacing: 0 when done, else the system's error code (the target's existence included).
int renameNoReplace(const QString& from, const QString& to);

struct MergeOutcome {
    bool ran = false; // false: stopped by `error`, every file as it was
    QString error;    // why the run stopped
    MergeSums before;
    MergeSums after;
    QStringList partners; // the producers in both sets (B's file names)
    QStringList messages; // what went wrong after the merge (the sums after could not be read)
};

// The whole merge of the two folders over the given lists. Every file is read and checked, every amount
// added up and every target name found free before the first file is written; the merged files are written
// whole under their temporary names (".im_"), then take the place of A's files (kept as ".old"), and only
// then are B's files taken out of use. A write or rename that fails puts every file back as it was.
// `write` writes a merged file (writeTextFile when not given).
using MergedFileWriter = std::function<bool(const QString& path, const QStringList& lines, QString* error)>;
MergeOutcome mergeImportFolders(const QString& aFolder, const QStringList& aFiles, const QString& bFolder,
                                const QStringList& bFiles, const MergedFileWriter& write = {});

} // namespace vardelo::returns
