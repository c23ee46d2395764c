#include "exchange/help_window.h"

#include "exchange/help_viewer.h"
#include "widgets/ui_service.h"

#include <QDir>

using vardelo::ui;

TForm21::TForm21(QWidget* parent)
    : TOneActionWindow(QStringLiteral("Form21"), QStringLiteral("Sugó"), QStringLiteral("Segitség"), parent) {
}

// The manual in the help viewer; without the document in the working folder the clerk is told where it was
// looked for.
void TForm21::Button1Click() {
    const std::optional<QString> html = THelpViewer::ReadHelpFile();
    if (!html) {
        ui().showMessage(QStringLiteral("A sugó nem található: ") +
                         QDir::toNativeSeparators(THelpViewer::HelpFilePath()) +
                         QStringLiteral("\nA sugó fájlnak a program munkamappájában kell lennie."));
        return;
    }
    THelpViewer viewer(*html, this);
    ui().showModal(viewer);
}
