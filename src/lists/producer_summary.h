#pragma once

#include "lists/summary_window.h"

// "Östermelönkénti lista": the current purchaser's ticket lines of a period summed per producer, printed with
// each producer's lines and total under it. Opening leaves ZQ20 as it is.
class TForm19 : public TSummaryWindow {
    Q_OBJECT
public:
    explicit TForm19(QWidget* parent = nullptr);

protected:
    void collect() override;
    void print() override;
};
