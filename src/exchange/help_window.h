#pragma once

#include "exchange/one_action_window.h"

// "Sugó": "Segitség" shows the program's manual in the help viewer.
class TForm21 : public TOneActionWindow {
    Q_OBJECT
public:
    explicit TForm21(QWidget* parent = nullptr);

    void Button1Click();

protected:
    void action() override { Button1Click(); }
};
