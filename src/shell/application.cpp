#include "shell/application.h"

#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/ui_service.h"

#include <QVariant>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vardelo"));
}

bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const EDatabaseError& error) {
        vardelo::ui().showDatabaseError(QString(), error, lcShell);
    } catch (const std::exception& error) {
        vardelo::ui().showError(QString::fromUtf8(error.what()));
    }
    return false;
}

QString TApplication::HelpFile() {
    return qApp ? qApp->property("HelpFile").toString() : QString();
}

void TApplication::SetHelpFile(const QString& fileName) {
    if (qApp)
        qApp->setProperty("HelpFile", fileName);
}
