#include "exchange/about_box.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

using vardelo::SupplierDetails;

namespace {

QLabel* centredLabel(QWidget* parent, const QString& name, const QString& text, const QColor& colour,
                     int pointSizeDelta = 0) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setAlignment(Qt::AlignCenter);
    QFont font = label->font();
    font.setBold(true);
    if (pointSizeDelta != 0)
        font.setPointSize(font.pointSize() + pointSizeDelta);
    label->setFont(font);
    // The label's own colour; the panel's style sheet only paints the background and the bevels.
    label->setStyleSheet(QStringLiteral("color: %1; background: transparent;").arg(colour.name()));
    return label;
}

} // namespace

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));

    // Colours of the labels: the product black, the lines between the two large ones in the window (edit
    // background) colour, the e-mail line in the caption text colour, the web address in the window text
    // colour.
    const QColor windowColour = palette().color(QPalette::Base);
    const QColor captionTextColour = Qt::white;
    const QColor windowTextColour = palette().color(QPalette::Text);

    // A lowered outer bevel around a raised inner one, both filled with lime green.
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setStyleSheet(QStringLiteral("QFrame#Panel1 { background: #00ff00; border: 2px solid;"
                                         " border-color: #007a00 #c8ffc8 #c8ffc8 #007a00; }"
                                         "QFrame#Panel1Inner { background: #00ff00; border: 2px solid;"
                                         " border-color: #c8ffc8 #007a00 #007a00 #c8ffc8; }"));
    auto* inner = new QFrame(Panel1);
    inner->setObjectName(QStringLiteral("Panel1Inner"));
    auto* outerLayout = new QVBoxLayout(Panel1);
    outerLayout->setContentsMargins(2, 2, 2, 2);
    outerLayout->addWidget(inner);

    ProductName = centredLabel(inner, QStringLiteral("ProductName"), SupplierDetails::Product, Qt::black, 10);
    Label1 = centredLabel(inner, QStringLiteral("Label1"), QString(), windowColour);
    Version = centredLabel(inner, QStringLiteral("Version"), QStringLiteral("2010."), windowColour);
    Copyright = centredLabel(inner, QStringLiteral("Copyright"),
                             QStringLiteral("Készítette: ") + SupplierDetails::Company, windowColour);
    Comments = centredLabel(inner, QStringLiteral("Comments"),
                            QStringLiteral("Programozó: ") + SupplierDetails::Programmer, windowColour);
    Label2 = centredLabel(inner, QStringLiteral("Label2"), SupplierDetails::Address, windowColour);
    Label3 = centredLabel(inner, QStringLiteral("Label3"),
                          QStringLiteral("Telefon: ") + SupplierDetails::Phone, windowColour);
    Label4 = centredLabel(inner, QStringLiteral("Label4"),
                          QStringLiteral("Mobil: ") + SupplierDetails::Mobile, windowColour);
    Label5 = centredLabel(inner, QStringLiteral("Label5"),
                          QStringLiteral("E-mail: ") + SupplierDetails::EMail, captionTextColour);
    Label6 = centredLabel(inner, QStringLiteral("Label6"), SupplierDetails::Web, windowTextColour, 4);

    auto* labels = new QVBoxLayout(inner);
    labels->setContentsMargins(36, 20, 36, 20);
    labels->setSpacing(4);
    for (QLabel* label :
         {ProductName, Label1, Version, Copyright, Comments, Label2, Label3, Label4, Label5, Label6})
        labels->addWidget(label);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(Panel1);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setSingleShot(true);
    Timer1->setInterval(SplashInterval);
    connect(Timer1, &QTimer::timeout, this, &TAboutBox::Timer1Timer);
    Timer1->start();
}

void TAboutBox::Timer1Timer() {
    close();
}
