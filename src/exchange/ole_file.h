#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

namespace vardelo::xls {

// A compound document could not be written; what() names the reason.
class OleWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Writes a compound document (the container of the binary Office formats) holding one stream. The file is
// written beside its final name and put in place only when complete, so an existing file is either replaced
// whole or left as it was. Raises OleWriteError on failure.
void writeCompoundFile(const QString& path, const QString& streamName, const QByteArray& data);

} // namespace vardelo::xls
