#include "shell/application.h"

#include "data/database_error.h"
#include "data/logging.h"
#include "widgets/action_guard.h"
#include "widgets/qt_translations.h"
#include "widgets/ui_service.h"

#include <QIcon>
#include <QVariant>

TApplication::TApplication(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Vardelo"));
    // Every window, box and dialog carries the program's icon (the desktop menu's one).
    Q_INIT_RESOURCE(shell);
    setWindowIcon(QIcon(QStringLiteral(":/vardelo.svg")));
    vardelo::loadHungarianQtTexts(*this);
}

// The last resort: a handler should catch what it can report itself. What reaches here is logged, shown, and
// the event counts as not handled.
bool TApplication::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (const EDatabaseError& error) {
        vardelo::reportFailure(QString(), error, lcShell);
    } catch (const std::exception& error) {
        vardelo::reportFailure(QString(), error, lcShell);
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
