#include "exchange/help_window.h"

#include "exchange/help_viewer.h"
#include "widgets/ui_service.h"

#include <QDir>
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

using vardelo::ui;

TForm21::TForm21(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form21"));
    setWindowTitle(QStringLiteral("Sugó"));

    Button1 = new QPushButton(QStringLiteral("Segitség"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setMinimumHeight(40);
    Button1->setDefault(true);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::Panel);
    Panel1->setFrameShadow(QFrame::Raised);
    Button3 = new QPushButton(QStringLiteral("Mégsem"), Panel1);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button2 = new QPushButton(QStringLiteral("Bezárás"), Panel1);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto* panel = new QHBoxLayout(Panel1);
    panel->addStretch();
    panel->addWidget(Button3);
    panel->addWidget(Button2);

    connect(Button1, &QPushButton::clicked, this, &TForm21::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm21::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm21::Button3Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Button1);
    layout->addStretch();
    layout->addWidget(Panel1);
    resize(360, 160);
}

// The manual in the help viewer; without the document in the working folder the clerk is told where it was
// looked for.
void TForm21::Button1Click() {
    const std::optional<QString> html = THelpViewer::ReadHelpFile();
    if (!html) {
        ui().showMessage(QStringLiteral("A sugó nem található: ") +
                         QDir::toNativeSeparators(THelpViewer::HelpFilePath()) +
                         QStringLiteral("\nA sugó fájlnak a program munkamappájában kell lennie."));
        return;
    }
    THelpViewer viewer(*html, this);
    ui().showModal(viewer);
}

void TForm21::Button2Click() {
    close();
}

void TForm21::Button3Click() {
    close();
}
