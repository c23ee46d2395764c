#pragma once

#include <QString>
#include <stdexcept>

// The one exception the data layer raises: a Firebird error (with its message and error code), or a misuse of
// a dataset (unknown field or parameter, writing to a read-only table, a text that Windows-1250 cannot hold).
class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString& message, long errorCode = 0, int sqlCode = 0);

    const QString& Message() const { return message_; }
    // The Firebird status code (isc_...), 0 for errors the data layer raises itself.
    long ErrorCode() const { return errorCode_; }
    int SqlCode() const { return sqlCode_; }

private:
    QString message_;
    long errorCode_;
    int sqlCode_;
};
