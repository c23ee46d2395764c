#include "widgets/ui_service.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPointer>

namespace vardelo {

namespace {

UiService* installed = nullptr;

WidgetUi& widgetUi() {
    static WidgetUi real;
    return real;
}

// The caption of a plain message: the application's display name when one was given, else the program's name.
QString programTitle() {
    const QString display = QGuiApplication::applicationDisplayName();
    if (display.isEmpty() || display == QCoreApplication::applicationName())
        return QStringLiteral("Vardelo");
    return display;
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

void activate(QWidget* window) {
    window->activateWindow();
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(window);
    QT_WARNING_POP
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

// --- UiRecorder

UiRecorder::UiRecorder() : previous_(installed) {
    installUi(this);
}

UiRecorder::~UiRecorder() {
    if (installed == this)
        installUi(previous_);
}

int UiRecorder::showModal(QDialog& dialog) {
    modalsShown.append(dialog.objectName());
    QPointer<QWidget> previousActive = QApplication::activeWindow();
    QPointer<QDialog> guard(&dialog);

    // Shown for real, so that its show handling runs, and made the active window, so that focus moves as the
    // clerk would see it. The window system's own activation events are let through first, as a modal loop
    // would, so that they do not undo ours later.
    dialog.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (guard)
        activate(&dialog);

    if (guard && !scripts_.empty()) {
        ModalScript script = std::move(scripts_.front());
        scripts_.pop_front();
        script(dialog);
    }
    if (!guard)
        return QDialog::Rejected;
    if (dialog.isVisible())
        dialog.done(QDialog::Rejected);
    dialog.hide();

    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (previousActive && previousActive->isVisible())
        activate(previousActive);
    return guard ? dialog.result() : int(QDialog::Rejected);
}

void UiRecorder::showMessage(const QString& text) {
    messages.append({text, programTitle(), MsgIcon::None, int(MsgButton::Ok)});
}

MsgButton UiRecorder::messageBox(const QString& text, const QString& caption, MsgIcon icon,
                                 MsgButtons buttons) {
    messages.append({text, caption, icon, buttons});
    if (!answers_.empty()) {
        const MsgButton answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    for (const MsgButton button : {MsgButton::Ok, MsgButton::Yes, MsgButton::No, MsgButton::Cancel}) {
        if (buttons & int(button))
            return button;
    }
    return MsgButton::Ok;
}

QStringList UiRecorder::messageTexts() const {
    QStringList texts;
    for (const RecordedMessage& message : messages)
        texts.append(message.text);
    return texts;
}

QString UiRecorder::lastMessage() const {
    return messages.isEmpty() ? QString() : messages.last().text;
}

void UiRecorder::clear() {
    messages.clear();
    modalsShown.clear();
    beeps = 0;
}

} // namespace vardelo
