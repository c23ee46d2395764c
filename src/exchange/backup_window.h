#pragma once

#include "exchange/engine_job_window.h"

// "Adatmentés": writes a backup of the open database, made by the engine, into a folder the clerk chooses
// (at first the settings' backup folder, or "Mentés" beside the database), named with the date and time. The
// engine's lines show how far it has got.
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
