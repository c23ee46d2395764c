#include "exchange/restore_window.h"

#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/database_backup.h"
#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/ui_service.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using vardelo::MsgButton;
using vardelo::MsgIcon;
using vardelo::ui;

TRestoreWindow::TRestoreWindow(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("RestoreWindow"));
    setWindowTitle(QStringLiteral("Visszatöltés"));

    Label1 = new QLabel(QStringLiteral("A visszatöltendő mentés:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    Button2 = new QPushButton(QStringLiteral("Tallózás..."), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    ListBox1 = new QListWidget(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    Button1 = new QPushButton(QStringLiteral("Visszatöltés"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("Bezárás"), this);
    Button3->setObjectName(QStringLiteral("Button3"));

    auto* file = new QHBoxLayout;
    file->addWidget(Edit1, 1);
    file->addWidget(Button2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(file);
    layout->addWidget(ProgressBar1);
    layout->addWidget(Label2);
    layout->addWidget(ListBox1, 1);
    layout->addLayout(buttons);
    resize(560, 360);

    connect(Button1, &QPushButton::clicked, this, &TRestoreWindow::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TRestoreWindow::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &QDialog::close);
}

void TRestoreWindow::setWorking(bool working) {
    for (QWidget* control : std::initializer_list<QWidget*>{Edit1, Button1, Button2, Button3})
        control->setEnabled(!working);
    ProgressBar1->setRange(0, working ? 0 : 1);
    ProgressBar1->setValue(working ? 0 : 1);
}

void TRestoreWindow::Button2Click() {
    QString folder;
    if (Data)
        folder = vardelo::backupFolderFor(Data->ZCon1->ResolvedDatabaseName(),
                                          vardelo::loadAppSettings().backupFolder);
    QFileDialog dialog(this, QStringLiteral("A visszatöltendő mentés"), folder,
                       QStringLiteral("Mentések (*.fbk);;Minden fájl (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (ui().showModal(dialog) == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        Edit1->setText(QDir::toNativeSeparators(dialog.selectedFiles().constFirst()));
}

void TRestoreWindow::Button1Click() {
    const QString database = Data->ZCon1->ResolvedDatabaseName();
    if (vardelo::isServerDatabase(database)) {
        ui().showMessage(QStringLiteral("A kiszolgálón lévő adatbázis a kiszolgálón tölthető vissza "
                                        "(vardelo-db --restore)."));
        return;
    }
    const QString backup = QDir::fromNativeSeparators(Edit1->text().trimmed());
    if (backup.isEmpty()) {
        ui().showMessage(QStringLiteral("Válassza ki a visszatöltendő mentést!"));
        return;
    }
    const QDateTime now = QDateTime::currentDateTime();
    const QFileInfo databaseFile(database);
    const QString restored = databaseFile.absoluteDir().filePath(
        databaseFile.completeBaseName() + QStringLiteral("_visszatoltott_") +
        now.toString(QStringLiteral("yyyy-MM-dd_HHmmss")) + QStringLiteral(".fdb"));

    ListBox1->clear();
    Label2->setText(QStringLiteral("Visszatöltés folyamatban..."));
    setWorking(true);
    vardelo::TableCounts counts;
    try {
        counts = vardelo::restoreDatabase(backup, restored, [this](const QString& line) {
            Label2->setText(line);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        });
    } catch (const EDatabaseError& error) {
        setWorking(false);
        Label2->setText(QStringLiteral("A visszatöltés nem sikerült, az adatbázis nem változott."));
        ui().showDatabaseError(QStringLiteral("A visszatöltés nem sikerült, az adatbázis nem változott."),
                               error, lcExchange);
        return;
    }
    setWorking(false);
    QStringList lines;
    for (const auto& [table, rows] : counts)
        lines << QStringLiteral("%1: %2 sor").arg(table).arg(rows);
    ListBox1->addItems(lines);
    Label2->setText(QStringLiteral("A mentés visszatöltve és ellenőrizve."));

    const QString replaced = vardelo::replacedFileName(database, now);
    const MsgButton answer = ui().messageBox(
        QStringLiteral("A mentés visszatöltve és ellenőrizve:\n%1\n\nLecseréli vele a jelenlegi adatbázist? "
                       "A jelenlegi adatbázis megmarad ezen a néven:\n%2")
            .arg(lines.join(u'\n'), QDir::toNativeSeparators(replaced)),
        QStringLiteral("Confirm"), MsgIcon::Question, int(MsgButton::Yes) | int(MsgButton::No));
    if (answer != MsgButton::Yes) {
        QFile::remove(restored);
        Label2->setText(QStringLiteral("A visszatöltés elmaradt, az adatbázis nem változott."));
        return;
    }
    if (replaceDatabase(database, restored, replaced)) {
        replacedFile_ = replaced;
        Label2->setText(QStringLiteral("Az adatbázis visszatöltve."));
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
        ui().showDatabaseError(QStringLiteral("Az adatbázis nem zárható le, a visszatöltés elmaradt."), error,
                               lcExchange);
        try {
            reopen();
        } catch (const EDatabaseError& reopenError) {
            ui().showDatabaseError(QString(), reopenError, lcExchange);
        }
        return false;
    }
    bool replacedOk = true;
    try {
        vardelo::replaceDatabaseFile(database, restored, replaced);
    } catch (const EDatabaseError& error) {
        replacedOk = false;
        QFile::remove(restored);
        ui().showDatabaseError(QStringLiteral("A visszatöltés nem sikerült, az adatbázis nem változott."),
                               error, lcExchange);
    }
    try {
        reopen();
    } catch (const EDatabaseError& error) {
        ui().showDatabaseError(QStringLiteral("Az adatbázis nem nyitható meg."), error, lcExchange);
    }
    return replacedOk;
}
