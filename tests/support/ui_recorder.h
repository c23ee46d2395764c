#pragma once

#include "widgets/ui_service.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>

namespace vardelo {

// A recorded message box.
struct RecordedMessage {
    QString text;
    QString caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = int(MsgButton::Ok);
    QString reason;  // shown below the text (detailed boxes only)
    QString details; // behind "Show Details..." (detailed boxes only)
};

// The test double. A modal window is shown (so its show handling runs), handed to the next script in the
// queue, and closed with Rejected if the script left it open; with no script left it is closed at once.
// Scripts may open further modal windows, which take the next scripts. Message boxes are recorded and
// answered from the answer queue (default: the first button offered). While a window is open it is the active
// window, so focus can be checked in a script; the window that was active before is active again afterwards.
class UiRecorder : public UiService {
public:
    using ModalScript = std::function<void(QDialog&)>;

    UiRecorder();           // installs itself
    ~UiRecorder() override; // restores the service that was in force before

    void expectModal(ModalScript script) { scripts_.push_back(std::move(script)); }
    void answer(MsgButton button) { answers_.push_back(button); }

    int showModal(QDialog& dialog) override;
    void showMessage(const QString& text) override;
    MsgButton messageBox(const QString& text, const QString& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    MsgButton detailedMessageBox(const QString& text, const QString& caption, MsgIcon icon,
                                 MsgButtons buttons, const QString& reason, const QString& details) override;
    void beep() override { ++beeps; }

    QList<RecordedMessage> messages;
    QStringList modalsShown; // objectName of each modal window, in order
    int beeps = 0;

    QStringList messageTexts() const;
    QString lastMessage() const;
    // Forgets what was recorded (messages, modal names, beeps); queued scripts and answers stay.
    void clear();
    // Scripts and answers still waiting: a test can check that every expected window and box came.
    int pendingScripts() const { return int(scripts_.size()); }
    int pendingAnswers() const { return int(answers_.size()); }

private:
    std::deque<ModalScript> scripts_;
    std::deque<MsgButton> answers_;
    UiService* previous_ = nullptr;
};

} // namespace vardelo
