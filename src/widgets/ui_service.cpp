#include "widgets/ui_service.h"

#include "widgets/window_size.h"

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

// The window a box or a modal window belongs to: the active one, else the modal window in force, else the
// window of the focus widget (without a window manager the activation may never have arrived).
QWidget* owningWindow() {
    if (QWidget* active = QApplication::activeWindow())
        return active;
    if (QWidget* modal = QApplication::activeModalWidget())
        return modal;
    if (QWidget* focus = QApplication::focusWidget())
        return focus->window();
    return nullptr;
}

// Makes the window active again once a box over it has closed. A window manager does this by itself; on a
// desktop without one (kiosk sessions, Xvfb, remote desktops) no window would be active, and the focus that a
// check puts back would never arrive.
void reactivate(const QPointer<QWidget>& window) {
    if (window && window->isVisible() && QApplication::activeWindow() != window)
        makeActiveWindow(window);
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
    return messageBox(text, confirmCaption(), MsgIcon::Question, int(MsgButton::Yes));
}

void UiService::showError(const QString& text, LogCategory category) {
    QString line = text;
    qCWarning(category).noquote()
        << "error shown:"
        << line.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    messageBox(text, errorCaption(), MsgIcon::Error, int(MsgButton::Ok));
}

MsgButton UiService::detailedMessageBox(const QString& text, const QString& caption, MsgIcon icon,
                                        MsgButtons buttons, const QString& reason, const QString& details) {
    QString full = text;
    for (const QString& part : {reason, details})
        if (!part.isEmpty())
            full += QStringLiteral("\n\n") + part;
    return messageBox(full, caption, icon, buttons);
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

QString confirmCaption() {
    return QStringLiteral("Megerősítés");
}

QString errorCaption() {
    return QStringLiteral("Hiba");
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
    const QPointer<QWidget> owner = owningWindow();
    fitWindowToScreen(dialog);
    const int result = dialog.exec();
    reactivate(owner);
    return result;
}

void WidgetUi::showMessage(const QString& text) {
    messageBox(text, programTitle(), MsgIcon::None, int(MsgButton::Ok));
}

MsgButton WidgetUi::messageBox(const QString& text, const QString& caption, MsgIcon icon,
                               MsgButtons buttons) {
    return detailedMessageBox(text, caption, icon, buttons, QString(), QString());
}

MsgButton WidgetUi::detailedMessageBox(const QString& text, const QString& caption, MsgIcon icon,
                                       MsgButtons buttons, const QString& reason, const QString& details) {
    const QPointer<QWidget> owner = owningWindow();
    Box box(boxIcon(icon), caption, text, QMessageBox::NoButton, owner);
    if (!reason.isEmpty())
        box.setInformativeText(reason);
    if (!details.isEmpty())
        box.setDetailedText(details);
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
    reactivate(owner);
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
