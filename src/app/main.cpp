#include "data/data_module.h"
#include "data/log_file.h"
#include "shell/application.h"
#include "shell/main_window.h"

int main(int argc, char* argv[]) {
    TApplication app(argc, argv);
    vardelo::installLogFile();
    TApplication::SetHelpFile(QStringLiteral("ZOZED2009.HLP"));
    int result = 1;
    {
        TForm1 form;
        if (!form.StartupFailed()) {
            form.ShowCentred();
            result = app.exec();
        }
    }
    delete Data;
    Data = nullptr;
    vardelo::removeLogFile();
    return result;
}
