#pragma once

#include "exchange/engine_job_window.h"

class QListWidget;

// "Visszatöltés": restores a chosen backup into a new file beside the database and checks it (it opens, every
// table reads; the row counts are shown). Only when the clerk confirms does the restored file take the
// database's place, the database closed meanwhile and kept under a dated name; otherwise the new file goes
// and the database stays as it was.
class TRestoreWindow : public TEngineJobWindow {
    Q_OBJECT
public:
    explicit TRestoreWindow(QWidget* parent = nullptr);

    // The name the replaced database was kept under, empty until a restore took its place.
    QString ReplacedFile() const { return replacedFile_; }

private:
    void action() override; // "Visszatöltés"
    void browse() override;
    // Closes the database, puts the restored file in its place and opens it again (the old one, should the
    // exchange fail). Returns whether the restored file is in place.
    bool replaceDatabase(const QString& database, const QString& restored, const QString& replaced);

    QListWidget* ListBox1; // the row counts of the restored database
    QString replacedFile_;
};
