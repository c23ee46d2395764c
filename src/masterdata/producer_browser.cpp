#include "masterdata/producer_browser.h"

TForm4::TForm4(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Őstermelő"));
}

TForm4::~TForm4() = default;
