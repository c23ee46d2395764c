#include "widgets/ui_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>

namespace vardelo {

namespace {

UiService* installed = nullptr;

WidgetUi& widgetUi() {
    static WidgetUi real;
    return real;
}

QMessageBox::Icon boxIcon(MsgIcon icon) {
    switch (icon) {
    case MsgIcon::Information:
        return QMessageBox::Information;
    case MsgIcon::Warning:
        return QMessageBox::Warning;
    case MsgIcon::Error:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::None:
        break;
    }
    return QMessageBox::NoIcon;
}

const struct {
    MsgButton button;
    QMessageBox::StandardButton standard;
} buttonMap[] = {
    {MsgButton::Yes, QMessageBox::Yes},
    {MsgButton::No, QMessageBox::No},
    {MsgButton::Ok, QMessageBox::Ok},
    {MsgButton::Cancel, QMessageBox::Cancel},
};

// A message box that answers Closed when its window is closed, and whose Escape key works only when the box
// offers a button for it (Cancel, else No, else Ok).
class Box : public QMessageBox {
public:
    using QMessageBox::QMessageBox;
    bool closedByWindow = false;
    QAbstractButton* escape = nullptr;

protected:
    void closeEvent(QCloseEvent* event) override {
        closedByWindow = true;
        QDialog::closeEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Cancel)) {
            if (escape)
                escape->click();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }
};

} // namespace

MsgButton UiService::confirmYes(const QString& text) {
    return messageBox(text, QStringLiteral("Confirm"), MsgIcon::Question, int(MsgButton::Yes));
}

void UiService::showError(const QString& text) {
    messageBox(text, QStringLiteral("Error"), MsgIcon::Error, int(MsgButton::Ok));
}

UiService& ui() {
    return installed ? *installed : widgetUi();
}

void installUi(UiService* service) {
    installed = service;
}

UiService* installedUi() {
    return installed;
}

QString programTitle() {
    const QString display = QGuiApplication::applicationDisplayName();
    if (display.isEmpty() || display == QCoreApplication::applicationName())
        return QStringLiteral("Vardelo");
    return display;
}

void makeActiveWindow(QWidget* window) {
    window->activateWindow();
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(window);
    QT_WARNING_POP
}

// --- WidgetUi

int WidgetUi::showModal(QDialog& dialog) {
    return dialog.exec();
}

void WidgetUi::showMessage(const QString& text) {
    messageBox(text, programTitle(), MsgIcon::None, int(MsgButton::Ok));
}

MsgButton WidgetUi::messageBox(const QString& text, const QString& caption, MsgIcon icon,
                               MsgButtons buttons) {
    Box box(boxIcon(icon), caption, text, QMessageBox::NoButton, QApplication::activeWindow());
    if (buttons == 0)
        buttons = int(MsgButton::Ok);
    for (const auto& entry : buttonMap) {
        if (buttons & int(entry.button))
            box.addButton(entry.standard);
    }
    for (const MsgButton candidate : {MsgButton::Cancel, MsgButton::No, MsgButton::Ok}) {
        if (buttons & int(candidate)) {
            for (const auto& entry : buttonMap) {
                if (entry.button == candidate)
                    box.escape = box.button(entry.standard);
            }
            break;
        }
    }
    box.exec();
    if (box.closedByWindow || !box.clickedButton())
        return MsgButton::Closed;
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (const auto& entry : buttonMap) {
        if (clicked == entry.standard)
            return entry.button;
    }
    return MsgButton::Closed;
}

void WidgetUi::beep() {
    QApplication::beep();
}

} // namespace vardelo
