#include "support/ui_recorder.h"

#include "widgets/window_size.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace vardelo {

UiRecorder::UiRecorder() : previous_(installedUi()) {
    installUi(this);
}

UiRecorder::~UiRecorder() {
    if (installedUi() == this)
        installUi(previous_);
}

int UiRecorder::showModal(QDialog& dialog) {
    modalsShown.append(dialog.objectName());
    QPointer<QWidget> previousActive = QApplication::activeWindow();
    QPointer<QDialog> guard(&dialog);

    // Shown for real, so that its show handling runs, and made the active window, so that focus moves as the
    // clerk would see it. The window system's own activation events are let through first, as a modal loop
    // would, so that they do not undo ours later.
    fitWindowToScreen(dialog);
    dialog.show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    if (guard)
        makeActiveWindow(&dialog);

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
        makeActiveWindow(previousActive);
    return guard ? dialog.result() : int(QDialog::Rejected);
}

void UiRecorder::showMessage(const QString& text) {
    messages.append({text, programTitle(), MsgIcon::None, int(MsgButton::Ok), QString(), QString()});
}

MsgButton UiRecorder::messageBox(const QString& text, const QString& caption, MsgIcon icon,
                                 MsgButtons buttons) {
    return detailedMessageBox(text, caption, icon, buttons, QString(), QString());
}

MsgButton UiRecorder::detailedMessageBox(const QString& text, const QString& caption, MsgIcon icon,
                                         MsgButtons buttons, const QString& reason, const QString& details) {
    messages.append({text, caption, icon, buttons, reason, details});
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
