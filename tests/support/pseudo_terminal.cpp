#include "support/pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace vardelo::testing {

PseudoTerminal::PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        close();
        return;
    }
    portName_ = QString::fromLocal8Bit(ptsname(master_));
}

PseudoTerminal::~PseudoTerminal() {
    close();
}

void PseudoTerminal::send(const QByteArray& bytes) {
    if (master_ < 0)
        return;
    qsizetype written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + written, size_t(bytes.size() - written));
        if (n <= 0)
            return;
        written += n;
    }
}

void PseudoTerminal::close() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

} // namespace vardelo::testing
