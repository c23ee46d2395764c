#pragma once

#include <QDialog>

// The producer browser "Őstermelő". It doubles as a picker: when it closes, Data->ZQ30 stays open on the
// producer that was current, whichever button closed it.
class TForm4 : public QDialog {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;
};
