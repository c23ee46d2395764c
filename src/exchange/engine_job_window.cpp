#include "exchange/engine_job_window.h"

#include "exchange/engine_progress_rules.h"

#include <QCoreApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

TEngineJobWindow::TEngineJobWindow(const QString& name, const QString& caption, const QString& pathCaption,
                                   const QString& actionText, QWidget* parent)
    : QDialog(parent) {
    setObjectName(name);
    setWindowTitle(caption);

    Label1 = new QLabel(pathCaption, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Label1->setBuddy(Edit1);
    Button2 = new QPushButton(QStringLiteral("Tallózás..."), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setRange(0, 1);
    ProgressBar1->setValue(0);
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Button1 = new QPushButton(actionText, this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button3 = new QPushButton(QStringLiteral("Bezárás"), this);
    Button3->setObjectName(QStringLiteral("Button3"));

    auto* path = new QHBoxLayout;
    path->addWidget(Edit1, 1);
    path->addWidget(Button2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    layout_ = new QVBoxLayout(this);
    layout_->addWidget(Label1);
    layout_->addLayout(path);
    layout_->addWidget(ProgressBar1);
    layout_->addWidget(Label2);
    layout_->addStretch();
    layout_->addLayout(buttons);

    connect(Button1, &QPushButton::clicked, this, [this] { action(); });
    connect(Button2, &QPushButton::clicked, this, [this] { browse(); });
    connect(Button3, &QPushButton::clicked, this, &QDialog::close);
}

void TEngineJobWindow::addBody(QWidget* body) {
    layout_->insertWidget(layout_->count() - 1, body, 1);
}

void TEngineJobWindow::setWorking(bool working) {
    for (QWidget* control : std::initializer_list<QWidget*>{Edit1, Button1, Button2, Button3})
        control->setEnabled(!working);
    // A running bar while the engine works; its lines come in as it goes.
    ProgressBar1->setRange(0, working ? 0 : 1);
    ProgressBar1->setValue(working ? 0 : 1);
}

std::function<void(const QString&)> TEngineJobWindow::engineLines() {
    return [this](const QString& line) {
        const QString text = vardelo::exchange::engineProgressText(line);
        if (!text.isEmpty())
            Label2->setText(text);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    };
}

QString TEngineJobWindow::pathText() const {
    return QDir::fromNativeSeparators(Edit1->text().trimmed());
}

void TEngineJobWindow::setPathText(const QString& path) {
    Edit1->setText(QDir::toNativeSeparators(path));
}

void TEngineJobWindow::setStatus(const QString& text) {
    Label2->setText(text);
}
