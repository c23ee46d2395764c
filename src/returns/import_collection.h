#pragma once

#include <QDate>
#include <QString>
#include <QStringList>
#include <functional>

// The collection of the monthly return: empties the month folder, takes the period total, writes one import
// file for each file name and the list file naming them. Reads no widgets and shows nothing: the window
// reports what it returns. Database errors propagate as EDatabaseError.
namespace vardelo::returns {

struct CollectionResult {
    bool completed = false; // false: stopped by `error`, no list file written
    QString error;          // why the run stopped
    QString totalText;      // the period total, a whole number ("0" without paid tickets)
    QStringList files;      // the import files written (full paths as the list file names them)
    QString listFile;       // the list file (full path as the folder text gives it)
    QStringList merged;     // producers whose amounts went into a file with another producer's
    QStringList refused;    // producers without a file: their tax identifier holds more than digits
    // The message that names the producers of `merged` and `refused`; empty when there are none.
    QString notice() const;
};

// Called as the producers are written: how many of how many are done.
using CollectionProgress = std::function<void(int done, int total)>;

// Runs the collection for the current purchaser and the period into "C:\DU2010\" + the from-date's month.
// Leaves ZQ20 on the producer rows (one for each producer and compensation rate).
CollectionResult collectImportFiles(const QDate& from, const QDate& to,
                                    const CollectionProgress& progress = {});

// Deletes every file directly in the folder (subfolders stay); files that resist are passed over.
void emptyFolder(const QString& localFolder);

} // namespace vardelo::returns
