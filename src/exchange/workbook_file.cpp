#include "exchange/workbook_file.h"

#include "data/logging.h"
#include "exchange/ole_file.h"
#include "exchange/spreadsheet_export.h"
#include "widgets/ui_service.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace vardelo::exchange {

bool saveWorkbookAsking(const QString& path, const QByteArray& stream, const QString& caption) {
    if (QFileInfo::exists(path) &&
        ui().messageBox(
            QStringLiteral("A(z) %1 fájl már létezik. Lecseréli?").arg(QDir::toNativeSeparators(path)),
            caption, MsgIcon::Question, int(MsgButton::Yes) | int(MsgButton::No)) != MsgButton::Yes) {
        ui().showMessage(QStringLiteral("A fájl mentése nem történt meg!"));
        return false;
    }
    try {
        QDir().mkpath(QFileInfo(path).absolutePath());
        saveWorkbook(path, stream);
        return true;
    } catch (const xls::OleWriteError& e) {
        qCWarning(lcExchange) << "saving the workbook failed:" << e.what();
        ui().showMessage(QStringLiteral("A fájl mentése nem történt meg!"));
        return false;
    }
}

void finishWorkbookExport(const QString& path, bool saved, bool show, int lines) {
    if (saved && show)
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    ui().messageBox(exportDoneText(lines), QStringLiteral("Kész!"), MsgIcon::Information, int(MsgButton::Ok));
}

} // namespace vardelo::exchange
