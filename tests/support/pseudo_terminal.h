#pragma once

#include <QByteArray>
#include <QString>

namespace vardelo::testing {

// A pseudo-terminal pair standing in for a weighing indicator on a serial line: the program opens the port
// name (the terminal end), the test writes the indicator's output into the other end.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool isOpen() const { return master_ >= 0; }
    // The terminal end, e.g. "/dev/pts/3".
    const QString& portName() const { return portName_; }
    // Writes the bytes as the indicator sends them (the program discards what came before it opened the
    // port).
    void send(const QByteArray& bytes);
    // The indicator's cable pulled: the other end is closed, the terminal end reads an error.
    void close();

private:
    int master_ = -1;
    QString portName_;
};

} // namespace vardelo::testing
