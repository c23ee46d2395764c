#pragma once

#include "reports/report_layout.h"

#include <QByteArray>
#include <QString>

// Reads a layout file into a layout tree.
namespace vardelo::report {

struct LayoutLoadResult {
    enum Status {
        Ok,
        CannotOpen,        // the file cannot be opened for reading
        UnsupportedFormat, // not a layout file of this program (or of a later version of it)
        Invalid,           // a layout file of this program with a fault; message, line and column say where
    };
    Status status = Ok;
    Layout layout;
    QString message;
    int line = 0;
    int column = 0;

    bool ok() const { return status == Ok; }
};

// Parses the bytes of a layout file.
LayoutLoadResult parseLayout(const QByteArray& data);
// Opens and parses the file at the path.
LayoutLoadResult loadLayoutFile(const QString& path);

} // namespace vardelo::report
