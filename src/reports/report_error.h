#pragma once

#include <QString>
#include <stdexcept>

// The exception the report engine raises: a layout file that cannot be opened, a layout that cannot be read,
// an expression that names something unknown. No screen catches it in particular; the application's general
// error box shows its message.
class EReportError : public std::runtime_error {
public:
    explicit EReportError(const QString& message);
    const QString& Message() const { return message_; }

private:
    QString message_;
};
