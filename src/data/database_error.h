#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>
#include <vector>

// The one exception the data layer raises: a Firebird error (with its message and error code), or a misuse of
// a dataset (unknown field or parameter, writing to a read-only table, a text that Windows-1250 cannot hold,
// a text longer than its column).
class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString& message, long errorCode = 0, int sqlCode = 0,
                            std::vector<long> codes = {});
    // An engine error with what its status vector says besides the codes: the operating system's error number
    // (errno, 0 when none) and the texts it names (an operation, a file name).
    EDatabaseError(const QString& message, long errorCode, int sqlCode, std::vector<long> codes,
                   int systemError, QStringList arguments);

    const QString& Message() const { return message_; }
    // The Firebird status code (isc_...), 0 for errors the data layer raises itself.
    long ErrorCode() const { return errorCode_; }
    int SqlCode() const { return sqlCode_; }
    // Every Firebird status code of the error, the first one first (empty for the data layer's own errors).
    const std::vector<long>& Codes() const { return codes_; }
    bool HasCode(long code) const;
    // The operating system's error number behind an I/O error of the engine (ENOENT, EACCES ...), 0 when
    // none.
    int SystemError() const { return systemError_; }
    // The texts of the engine's status (the operation and the file of an I/O error, the object of a
    // constraint), in order.
    const QStringList& Arguments() const { return arguments_; }

    // The value that failed, when the data layer knows it: its position among the statement's values (-1 when
    // unknown) and, once a dataset named it, the field or parameter.
    int ValueIndex() const { return valueIndex_; }
    void SetValueIndex(int index) { valueIndex_ = index; }
    const QString& FieldName() const { return fieldName_; }
    void SetFieldName(const QString& name) { fieldName_ = name; }

private:
    QString message_;
    long errorCode_;
    int sqlCode_;
    std::vector<long> codes_;
    int systemError_ = 0;
    QStringList arguments_;
    int valueIndex_ = -1;
    QString fieldName_;
};

namespace vardelo {

// Whether another desk holds the rows the statement wanted (update conflict, lock conflict, deadlock): with
// the non-waiting transaction the write fails at once, and trying again a moment later can succeed.
bool isConcurrencyConflict(const EDatabaseError& error);

// Whether the connection to the database is gone (the server stopped or restarted, the network dropped):
// nothing works on it until the program attaches again.
bool isLostConnection(const EDatabaseError& error);

// The reason of a database error in plain Hungarian, for the clerk: the field concerned and what is wrong
// with it where that is known, otherwise what the engine's code means; a database's own exception gives its
// own text. The engine's words are never the reason: they are the details (databaseErrorEngineText).
QString databaseErrorReason(const EDatabaseError& error);

// The engine's own words: its message and code, for the details of a message box and for the log.
QString databaseErrorEngineText(const EDatabaseError& error);

// Why the database could not be opened at start-up and what to do about it, in plain Hungarian, chosen by the
// engine's codes, the operating system's error number and the file the engine names (the lock folder's
// refusal names that folder).
QString startupFailureAdvice(const EDatabaseError& error);

// The operating system's error number in plain Hungarian ("nincs hozzá jogosultsága ...").
QString systemErrorText(int error);

} // namespace vardelo
