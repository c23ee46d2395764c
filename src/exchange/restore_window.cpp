#include "exchange/restore_window.h"

#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/database_backup.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/action_guard.h"
#include "widgets/ui_service.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>

using vardelo::MsgButton;
using vardelo::MsgIcon;
using vardelo::reportFailure;
using vardelo::ui;

TRestoreWindow::TRestoreWindow(QWidget* parent)
    : TEngineJobWindow(QStringLiteral("RestoreWindow"), QStringLiteral("Visszatöltés"),
                       QStringLiteral("A visszatöltendő mentés:"), QStringLiteral("Visszatöltés"), parent) {
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    addBody(ListBox1);
    resize(560, 360);
    if (Data && vardelo::isServerDatabase(Data->ZCon1->ResolvedDatabaseName()))
        setStatus(whatItCanDo(Data->ZCon1->ResolvedDatabaseName()));
}

QString TRestoreWindow::whatItCanDo(const QString& database) {
    if (vardelo::restoredDatabaseName(database, QDateTime::currentDateTime()).isEmpty())
        return QStringLiteral(
                   "Az adatbázis álnéven érhető el (%1), ezért a program nem tudja, melyik mappába "
                   "tölthetne vissza a kiszolgálón. A mentést a rendszergazda töltheti vissza a "
                   "kiszolgálón (vardelo-db --restore mentés új-adatbázis).")
            .arg(database);
    return QStringLiteral(
        "Az adatbázis a kiszolgálón van: a program a mentést a kiszolgálón egy új adatbázisba "
        "tölti vissza és ellenőrzi, a jelenlegi adatbázis nem változik.");
}

void TRestoreWindow::browse() {
    QString folder;
    if (Data)
        folder = vardelo::backupFolderFor(Data->ZCon1->ResolvedDatabaseName(),
                                          vardelo::loadAppSettings().backupFolder);
    QFileDialog dialog(this, QStringLiteral("A visszatöltendő mentés"), folder,
                       QStringLiteral("Mentések (*.fbk);;Minden fájl (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (ui().showModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        setPathText(dialog.selectedFiles().constFirst());
}

void TRestoreWindow::action() {
    const QString database = Data->ZCon1->ResolvedDatabaseName();
    const QString backup = pathText();
    if (backup.isEmpty()) {
        ui().showMessage(QStringLiteral("Válassza ki a visszatöltendő mentést!"));
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QString restored = vardelo::restoredDatabaseName(database, now);
    if (restored.isEmpty()) {
        ui().showMessage(whatItCanDo(database));
        return;
    }
    const vardelo::DatabaseAccess login = vardelo::connectionAccess(*Data->ZCon1);

    ListBox1->clear();
    setStatus(QStringLiteral("Visszatöltés folyamatban..."));
    setWorking(true);
    vardelo::TableCounts counts;
    try {
        counts = vardelo::restoreDatabase(backup, {restored, login.user, login.password}, engineLines());
    } catch (const EDatabaseError& error) {
        setWorking(false);
        setStatus(QStringLiteral("A visszatöltés nem sikerült, az adatbázis nem változott."));
        reportFailure(QStringLiteral("A visszatöltés nem sikerült, az adatbázis nem változott."), error,
                      lcExchange);
        return;
    }
    setWorking(false);
    QStringList lines;
    for (const auto& [table, rows] : counts)
        lines << QStringLiteral("%1: %2 sor").arg(table).arg(rows);
    ListBox1->addItems(lines);
    if (vardelo::isServerDatabase(database)) {
        // The server's database stays: the other desks may be working with it.
        restoredOnServer_ = restored;
        setStatus(QStringLiteral("A mentés visszatöltve és ellenőrizve a kiszolgálón."));
        ui().showMessage(
            QStringLiteral(
                "A mentés visszatöltve és ellenőrizve a kiszolgálón, egy új adatbázisba:\n%1\n\n%2\n\n"
                "A kiszolgálón lévő adatbázist a program nem cseréli le, mert más munkahelyek is "
                "használhatják. A visszatöltött adatbázist a rendszergazda teheti a helyére, amikor "
                "egyik munkahely sem dolgozik vele.")
                .arg(restored, lines.join(u'\n')));
        return;
    }
    setStatus(QStringLiteral("A mentés visszatöltve és ellenőrizve."));

    const QString replaced = vardelo::replacedFileName(database, now);
    const MsgButton answer = ui().messageBox(
        QStringLiteral("A mentés visszatöltve és ellenőrizve:\n%1\n\nLecseréli vele a jelenlegi adatbázist? "
                       "A jelenlegi adatbázis megmarad ezen a néven:\n%2")
            .arg(lines.join(u'\n'), QDir::toNativeSeparators(replaced)),
        vardelo::confirmCaption(), MsgIcon::Question, int(MsgButton::Yes) | int(MsgButton::No));
    if (answer != MsgButton::Yes) {
        QFile::remove(restored);
        setStatus(QStringLiteral("A visszatöltés elmaradt, az adatbázis nem változott."));
        return;
    }
    if (replaceDatabase(database, restored, replaced)) {
        replacedFile_ = replaced;
        setStatus(QStringLiteral("Az adatbázis visszatöltve."));
        ui().showMessage(QStringLiteral("Az adatbázis visszatöltve. A korábbi adatbázis: ") +
                         QDir::toNativeSeparators(replaced));
    }
}

bool TRestoreWindow::replaceDatabase(const QString& database, const QString& restored,
                                     const QString& replaced) {
    auto reopen = [] {
        Data->ZCon1->Connect();
        for (int i = 1; i <= 6; ++i)
            Data->Table(i)->Open();
    };
    try {
        for (int i = 1; i <= 6; ++i)
            Data->Table(i)->Close();
        // What is pending is committed as the connection closes.
        Data->ZCon1->Disconnect();
    } catch (const EDatabaseError& error) {
        QFile::remove(restored);
        reportFailure(QStringLiteral("Az adatbázis nem zárható le, a visszatöltés elmaradt."), error,
                      lcExchange);
        try {
            reopen();
        } catch (const EDatabaseError& reopenError) {
            reportFailure(QString(), reopenError, lcExchange);
        }
        return false;
    }
    bool replacedOk = true;
    try {
        vardelo::replaceDatabaseFile(database, restored, replaced);
    } catch (const EDatabaseError& error) {
        replacedOk = false;
        QFile::remove(restored);
        reportFailure(QStringLiteral("A visszatöltés nem sikerült, az adatbázis nem változott."), error,
                      lcExchange);
    }
    try {
        reopen();
    } catch (const EDatabaseError& error) {
        reportFailure(QStringLiteral("Az adatbázis nem nyitható meg."), error, lcExchange);
    }
    return replacedOk;
}
