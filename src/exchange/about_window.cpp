#include "exchange/about_window.h"

#include "exchange/about_box.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

using vardelo::SupplierDetails;

TForm16::TForm16(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("Form16"));
    setWindowTitle(QStringLiteral("Névjegy"));

    Memo1 = new QTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setAcceptRichText(false);
    Memo1->setLineWrapMode(QTextEdit::NoWrap);
    Memo1->setPlainText(Lines().join(QLatin1Char('\n')));
    // Every line centred.
    QTextCursor cursor(Memo1->document());
    cursor.select(QTextCursor::Document);
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    cursor.mergeBlockFormat(centred);
    Memo1->moveCursor(QTextCursor::Start);

    // Wide and tall enough for every line without scrolling.
    const QFontMetrics metrics(Memo1->font());
    int width = 0;
    for (const QString& line : Lines())
        width = std::max(width, metrics.horizontalAdvance(line));
    Memo1->setMinimumSize(width + 80, metrics.lineSpacing() * (int(Lines().size()) + 2) + 16);

    Button1 = new QPushButton(QStringLiteral("Mégsem"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button3 = new QPushButton(QStringLiteral("Bezárás"), this);
    Button3->setObjectName(QStringLiteral("Button3"));
    Button3->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &TForm16::Button1Click);
    connect(Button3, &QPushButton::clicked, this, &TForm16::Button3Click);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button3);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Memo1);
    layout->addLayout(buttons);
}

QStringList TForm16::Lines() {
    return {
        SupplierDetails::Product.toUpper(),
        QStringLiteral("2006-2010"),
        QString(),
        SupplierDetails::Company,
        QStringLiteral("Programozó: ") + SupplierDetails::Programmer,
        SupplierDetails::Address,
        QString(),
        QStringLiteral("Tel./fax/üzenetrögzitö: ") + SupplierDetails::Phone,
        QStringLiteral("Mobil: ") + SupplierDetails::Mobile,
        QString(),
        QStringLiteral("E-mail: ") + SupplierDetails::EMail,
        SupplierDetails::Web,
    };
}

void TForm16::Button1Click() {
    close();
}

void TForm16::Button3Click() {
    close();
}
