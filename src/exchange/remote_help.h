#pragma once

#include "exchange/one_action_window.h"

// "Távsegítség": starts the remote-help program, through which the supplier's support works on the clerk's
// screen.
class TForm26 : public TOneActionWindow {
    Q_OBJECT
public:
    explicit TForm26(QWidget* parent = nullptr);

    // Started by its bare name, found through the system's search path.
    static inline const QString RemoteHelpProgram = QStringLiteral("ShowMyPC3000.exe");

    void Button1Click();

protected:
    void action() override { Button1Click(); }
};
