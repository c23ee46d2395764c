#include "exchange/password_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// Masks each typed character with "*" rather than the style's own dot.
class AsteriskStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                  QStyleHintReturn* returnData) const override {
        if (hint == SH_LineEdit_PasswordCharacter)
            return '*';
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
};

} // namespace

TPasswordDlg::TPasswordDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("PasswordDlg"));
    setWindowTitle(QStringLiteral("Jelszó"));

    Label1 = new QLabel(QStringLiteral("Kérem adja meg a jelszót"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Password = new QLineEdit(this);
    Password->setObjectName(QStringLiteral("Password"));
    auto* style = new AsteriskStyle;
    style->setParent(this);
    Password->setStyle(style);
    Password->setEchoMode(QLineEdit::Password);
    Label1->setBuddy(Password);

    OKBtn = new QPushButton(QStringLiteral("OK"), this);
    OKBtn->setObjectName(QStringLiteral("OKBtn"));
    OKBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("Cancel"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKBtn);
    buttons->addWidget(CancelBtn);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Password);
    layout->addLayout(buttons);

    // Enter presses OK (the default button), Escape closes through Cancel.
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    Password->setFocus();
    setMinimumWidth(300);
}

QString TPasswordDlg::EnteredText() const {
    return Password->text();
}
