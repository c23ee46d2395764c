#pragma once

#include <QString>
#include <QVariant>

// What the report engine needs of data: band sources that it walks, and fields of the current rows of named
// components. The engine itself knows nothing of the database; the report objects connect it to the data
// module (report_objects.h), and tests give it rows of their own.
namespace vardelo::report {

// A walk over records: first, then next until eof.
class BandSource {
public:
    virtual ~BandSource() = default;
    virtual void first() = 0;
    virtual void next() = 0;
    // True when the walk is past its last record (at once for an empty source).
    virtual bool eof() = 0;
};

class DataEnvironment {
public:
    virtual ~DataEnvironment() = default;
    // The band source of a name used in a layout; nullptr when there is none.
    virtual BandSource* bandSource(const QString& name) = 0;
    // A field of the current row of a component: null when the component has no current row. Raises
    // EReportError for a component or a field that does not exist.
    virtual QVariant field(const QString& component, const QString& field) = 0;
};

} // namespace vardelo::report
