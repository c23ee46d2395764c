#include "exchange/help_viewer.h"

#include "data/program_files.h"
#include "data/text_files.h"

#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

THelpViewer::THelpViewer(const QString& html, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("HelpViewer"));

    HelpText = new QTextBrowser(this);
    HelpText->setObjectName(QStringLiteral("HelpText"));
    HelpText->setOpenExternalLinks(true);
    HelpText->setHtml(html);
    const QString title = HelpText->documentTitle();
    setWindowTitle(title.isEmpty() ? QStringLiteral("Sugó") : title);

    CloseButton = new QPushButton(QStringLiteral("Bezárás"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    connect(CloseButton, &QPushButton::clicked, this, &QDialog::close);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(HelpText, 1);
    layout->addLayout(buttons);
    resize(820, 640);
}

QString THelpViewer::HelpFilePath() {
    return QFileInfo(vardelo::findProgramFile(HelpFile)).absoluteFilePath();
}

std::optional<QString> THelpViewer::ReadHelpFile() {
    QFile file(HelpFilePath());
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return std::nullopt;
    return vardelo::decodeWin1250(bytes);
}
