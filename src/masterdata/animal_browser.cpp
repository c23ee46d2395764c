#include "masterdata/animal_browser.h"

TForm6::TForm6(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Állat"));
}

TForm6::~TForm6() = default;
