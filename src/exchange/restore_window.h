#pragma once

#include "exchange/engine_job_window.h"

class QListWidget;

// "Visszatöltés": restores a chosen backup into a new file beside the database and checks it (it opens, every
// table reads; the row counts are shown). Only when the clerk confirms does the restored file take the
// database's place, the database closed meanwhile and kept under a dated name; otherwise the new file goes
// and the database stays as it was. A server's database is never replaced from a desk, as other desks may
// work with it: the window says so at once, restores into a new database beside it on the server, checks it
// and names it for the administrator.
class TRestoreWindow : public TEngineJobWindow {
    Q_OBJECT
public:
    explicit TRestoreWindow(QWidget* parent = nullptr);

    // The name the replaced database was kept under, empty until a restore took its place.
    QString ReplacedFile() const { return replacedFile_; }
    // The new database a restore made on the server, empty until one was made.
    QString RestoredOnServer() const { return restoredOnServer_; }

private:
    void action() override; // "Visszatöltés"
    void browse() override;
    // Closes the database, puts the restored file in its place and opens it again (the old one, should the
    // exchange fail). Returns whether the restored file is in place.
    bool replaceDatabase(const QString& database, const QString& restored, const QString& replaced);
    // What a restore can do for the database, for a server's database.
    static QString whatItCanDo(const QString& database);

    QListWidget* ListBox1; // the row counts of the restored database
    QString replacedFile_;
    QString restoredOnServer_;
};
