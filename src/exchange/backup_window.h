#pragma once

#include "exchange/engine_job_window.h"

// "Adatmentés": writes a backup of the open database, made by the engine, into a folder of this desk the clerk
// chooses (at first the settings' backup folder, or the desk's "Mentés"), named with the date and time. A
// server's database is backed up onto the desk too. The megabytes written show how far it has got.
class TBackupWindow : public TEngineJobWindow {
    Q_OBJECT
public:
    explicit TBackupWindow(QWidget* parent = nullptr);

    // The backup last written, empty before one succeeded.
    QString LastBackup() const { return lastBackup_; }

private:
    void action() override; // "Mentés"
    void browse() override;

    QString lastBackup_;
};
