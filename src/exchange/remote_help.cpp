#include "exchange/remote_help.h"

#include <QProcess>

TForm26::TForm26(QWidget* parent)
    : TOneActionWindow(QStringLiteral("Form26"), QStringLiteral("Távsegítség"),
                       QStringLiteral("Program indítása"), parent) {}

// Each press starts the program once more; whether it could be started is not reported.
void TForm26::Button1Click() {
    QProcess::startDetached(RemoteHelpProgram, {});
}
