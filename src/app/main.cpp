#include "data/data_module.h"
#include "shell/application.h"
#include "shell/main_window.h"

int main(int argc, char* argv[]) {
    TApplication app(argc, argv);
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
    return result;
}
