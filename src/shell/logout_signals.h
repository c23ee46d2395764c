#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

namespace vardelo {

// A desktop's logout or a shutdown sends SIGTERM (a closed terminal SIGHUP): the program then closes as
// "Kilépés" does, from whatever window is open. Each open window is closed as the clerk would close it (a
// dialog as by its "Mégsem" or close box, a question box unanswered), innermost first; then the main window
// closes, which commits what is pending, makes the automatic backup and disconnects, and the program ends
// (main shuts the engine down). A window that opens meanwhile is closed in turn.
//
// The signal handler only writes a byte to a socket pair; the closing runs in the user-interface thread,
// inside whatever event loop is running (a modal window's too).
class LogoutSignals : public QObject {
    Q_OBJECT
public:
    // Installs the handlers of SIGTERM and SIGHUP. One object at a time.
    explicit LogoutSignals(QObject* parent = nullptr);
    // Gives the two signals their default handling back.
    ~LogoutSignals() override;

    // Whether a signal came: the program is closing.
    bool Requested() const { return requested_; }

signals:
    // The closing has begun.
    void closing();

private:
    void signalArrived();
    void closeNext();

    QSocketNotifier* notifier_ = nullptr;
    QTimer steps_;
    bool requested_ = false;
    bool mainClosed_ = false;
};

} // namespace vardelo
