#include "shell/logout_signals.h"

#include "data/logging.h"
#include "shell/main_window.h"

#include <QApplication>
#include <QDialog>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace vardelo {

namespace {

// [0] written by the handler, [1] read by the notifier.
int signalSockets[2] = {-1, -1};

void onSignal(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalSockets[0], &byte, 1);
    errno = saved;
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signal, &action, nullptr);
}

} // namespace

LogoutSignals::LogoutSignals(QObject* parent) : QObject(parent) {
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalSockets) != 0) {
        qCWarning(lcShell) << "SIGTERM and SIGHUP cannot be caught: no socket pair";
        return;
    }
    notifier_ = new QSocketNotifier(signalSockets[1], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &LogoutSignals::signalArrived);
    // Each step closes the innermost window; the next one runs once the event loop that window held has
    // ended.
    steps_.setInterval(50);
    connect(&steps_, &QTimer::timeout, this, &LogoutSignals::closeNext);
    handle(SIGTERM, onSignal);
    handle(SIGHUP, onSignal);
}

LogoutSignals::~LogoutSignals() {
    if (!notifier_)
        return;
    handle(SIGTERM, SIG_DFL);
    handle(SIGHUP, SIG_DFL);
    delete notifier_;
    ::close(signalSockets[0]);
    ::close(signalSockets[1]);
    signalSockets[0] = signalSockets[1] = -1;
}

void LogoutSignals::signalArrived() {
    char bytes[16];
    [[maybe_unused]] const ssize_t read = ::read(signalSockets[1], bytes, sizeof bytes);
    if (requested_)
        return;
    requested_ = true;
    qCInfo(lcShell) << "SIGTERM or SIGHUP: the program closes";
    emit closing();
    closeNext();
    steps_.start();
}

void LogoutSignals::closeNext() {
    if (QWidget* modal = QApplication::activeModalWidget()) {
        // As the clerk closes a window: a dialog ends with Rejected (a message box unanswered).
        if (auto* dialog = qobject_cast<QDialog*>(modal))
            dialog->done(QDialog::Rejected);
        else
            modal->close();
        return;
    }
    // Once: its closing (the commit, the automatic backup) may keep the event loop running for a while.
    if (Form1 && Form1->isVisible() && !mainClosed_) {
        mainClosed_ = true;
        Form1->close();
    }
    // Otherwise nothing is open: the program is ending, or has not shown its main window yet (a later step
    // closes it).
}

} // namespace vardelo
