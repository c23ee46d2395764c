#include "exchange/one_action_window.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TOneActionWindow::TOneActionWindow(const QString& name, const QString& caption, const QString& actionText,
                                   QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(caption);

    Button1 = new QPushButton(actionText, this);
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

    connect(Button1, &QPushButton::clicked, this, [this] { action(); });
    connect(Button2, &QPushButton::clicked, this, &QDialog::close);
    connect(Button3, &QPushButton::clicked, this, &QDialog::close);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Button1);
    layout->addStretch();
    layout->addWidget(Panel1);
    resize(360, 160);
}
