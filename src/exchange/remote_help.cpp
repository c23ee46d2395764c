#include "exchange/remote_help.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QProcess>
#include <QPushButton>
#include <QVBoxLayout>

TForm26::TForm26(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form26"));
    setWindowTitle(QStringLiteral("Távsegítség"));

    Button1 = new QPushButton(QStringLiteral("Program indítása"), this);
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

    connect(Button1, &QPushButton::clicked, this, &TForm26::Button1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm26::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TForm26::Button3Click);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Button1);
    layout->addStretch();
    layout->addWidget(Panel1);
    resize(360, 160);
}

// Each press starts the program once more; whether it could be started is not reported.
void TForm26::Button1Click() {
    QProcess::startDetached(RemoteHelpProgram, {});
}

void TForm26::Button2Click() {
    close();
}

void TForm26::Button3Click() {
    close();
}
