#pragma once

#include <QDialog>

// The animal browser "Állat". It doubles as a picker: when it closes, Data->ZQ40 stays open on the animal
// that was current, whichever button closed it.
class TForm6 : public QDialog {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
    ~TForm6() override;
};
