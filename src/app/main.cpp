#include "data/app_settings.h"
#include "data/data_module.h"
#include "data/firebird_api.h"
#include "data/log_file.h"
#include "shell/application.h"
#include "shell/logout_signals.h"
#include "shell/main_window.h"
#include "shell/user_folder.h"

#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[]) {
    TApplication app(argc, argv);
    vardelo::installLogFile();
    // A logout or a shutdown closes the program as "Kilépés" does, from any window.
    vardelo::LogoutSignals logout;
    TApplication::SetHelpFile(QStringLiteral("ZOZED2009.HLP"));
    int result = 1;
    // From the desktop menu: the user's own folder, with a new database the first time.
    const bool ready = !vardelo::userFolderRequested(QCoreApplication::arguments()) ||
                       vardelo::enterUserFolder(vardelo::loadAppSettings());
    if (ready) {
        TForm1 form;
        if (!form.StartupFailed()) {
            form.ShowCentred();
            // VARDELO_QUIT_WHEN_SHOWN: the installation check ends the program once the window is up.
            if (qEnvironmentVariableIsSet("VARDELO_QUIT_WHEN_SHOWN"))
                QTimer::singleShot(0, &app, [&form] {
                    std::printf("%s\n", qPrintable(form.windowTitle()));
                    QCoreApplication::quit();
                });
            result = app.exec();
        }
    }
    delete Data;
    Data = nullptr;
    vardelo::fb::shutdownEngine();
    vardelo::removeLogFile();
    return result;
}
