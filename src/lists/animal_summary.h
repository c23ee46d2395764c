#pragma once

#include "lists/summary_window.h"

// "Termékenkénti lista": the current purchaser's ticket lines of a period summed per animal name, printed
// with each animal's lines under it. A change of the from-date asks for a new collection; Enter moves to the
// next control.
class TForm13 : public TSummaryWindow {
    Q_OBJECT
public:
    explicit TForm13(QWidget* parent = nullptr);

public slots:
    void DateTimePicker1Change();

protected:
    void collect() override;
    void print() override;
};
