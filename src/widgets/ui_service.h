#pragma once

#include "data/logging.h"

#include <QString>
#include <QStringList>

class QDialog;
class QWidget;

namespace vardelo {

// A logging category of src/data/logging.h, such as lcTickets.
using LogCategory = const QLoggingCategory& (*)();

enum class MsgIcon { None, Information, Warning, Error, Question };

// Buttons of a message box; the answer is the button pressed (or Closed when the box was closed otherwise).
enum class MsgButton { Ok = 1, Yes = 2, No = 4, Cancel = 8, Closed = 0 };
using MsgButtons = int;

// Every modal window, message box, confirmation box and beep goes through this service, so that tests can run
// the screens headless: they install a recorder of their own, which scripts modal windows and collects every
// message.
class UiService {
public:
    virtual ~UiService() = default;

    // Shows the dialog modally and returns its result (QDialog::Accepted or Rejected).
    virtual int showModal(QDialog& dialog) = 0;
    // A plain message with an OK button, captioned with the program's title.
    virtual void showMessage(const QString& text) = 0;
    // A message box with a caption, an icon and a set of buttons; returns the button pressed.
    virtual MsgButton messageBox(const QString& text, const QString& caption, MsgIcon icon,
                                 MsgButtons buttons) = 0;
    virtual void beep() = 0;
    // A message box that also gives the reason below its text and the engine's own words as its details
    // ("Részletek megjelenítése..."). Empty parts are left out.
    virtual MsgButton detailedMessageBox(const QString& text, const QString& caption, MsgIcon icon,
                                         MsgButtons buttons, const QString& reason, const QString& details);

    // The confirmation box with a single "Yes" button (confirmCaption(), question icon).
    MsgButton confirmYes(const QString& text);
    // The general error box (errorCaption()); the text goes to the log too, in the given category. A failure
    // with an engine's or a library's words is reported through reportFailure (widgets/action_guard.h).
    void showError(const QString& text, LogCategory category = lcWidgets);
};

// The service in force: the real one unless a test installed another.
UiService& ui();
// Installs a service (nullptr brings back the real one). The caller keeps ownership.
void installUi(UiService* service);
// The service a test installed, nullptr while the real one is in force.
UiService* installedUi();

// The captions of the confirmation box and of the general error box.
QString confirmCaption();
QString errorCaption();

// The caption of a plain message: the application's display name when one was given, else the program's name.
QString programTitle();
// Makes the window the active one, as the window system would when it is shown modally.
void makeActiveWindow(QWidget* window);

// The service that shows real windows.
class WidgetUi : public UiService {
public:
    int showModal(QDialog& dialog) override;
    void showMessage(const QString& text) override;
    MsgButton messageBox(const QString& text, const QString& caption, MsgIcon icon,
                         MsgButtons buttons) override;
    MsgButton detailedMessageBox(const QString& text, const QString& caption, MsgIcon icon,
                                 MsgButtons buttons, const QString& reason, const QString& details) override;
    void beep() override;
};

} // namespace vardelo
