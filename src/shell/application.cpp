#include "shell/application.h"

#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/ui_service.h"

#include <QVariant>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vardelo"));
}

// The last resort: a handler should catch what it can report itself. What reaches here is logged, shown, and
// the event counts as not handled.
bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const EDatabaseError& error) {
        vardelo::ui().showDatabaseError(QString(), error, lcShell);
    } catch (const std::exception& error) {
        qCCritical(lcShell).noquote()
            << "Unhandled error in an event of" << receiver->objectName() << ":" << error.what();
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
