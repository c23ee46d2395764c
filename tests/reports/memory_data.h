#pragma once

// Rows in memory for the report engine's tests: tables that walk like band sources and answer fields, and an
// environment that names them.

#include "reports/report_data.h"
#include "reports/report_error.h"

#include <QHash>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <vector>

namespace vardelo::testing {

class MemoryTable : public report::BandSource {
public:
    MemoryTable(QString name, QStringList columns) : name_(std::move(name)), columns_(std::move(columns)) {}

    void addRow(const QVariantList& row) { rows_.push_back(row); }
    void clearRows() {
        rows_.clear();
        pos_ = 0;
    }
    int rowCount() const { return int(rows_.size()); }

    void first() override {
        log("first");
        pos_ = 0;
        if (onMove)
            onMove();
    }
    void next() override {
        log("next");
        if (pos_ < int(rows_.size()))
            ++pos_;
        if (onMove)
            onMove();
    }
    bool eof() override {
        log("eof");
        return pos_ >= int(rows_.size());
    }

    bool atEnd() const { return pos_ >= int(rows_.size()); }

    QVariant value(const QString& column) const {
        const int index = int(columns_.indexOf(column.toUpper()));
        if (index < 0)
            throw EReportError(QStringLiteral("Ismeretlen mező: %1.%2").arg(name_, column));
        if (rows_.empty())
            return {};
        // At the end the last row stays current, as with the program's datasets.
        const int row = std::min(pos_, int(rows_.size()) - 1);
        return rows_[row].value(index);
    }

    // Each call is appended to the calls list when one is given ("ZQ20.first", ...).
    QStringList* calls = nullptr;
    // Called after every move, e.g. to reload a detail table.
    std::function<void()> onMove;

private:
    void log(const char* what) {
        if (calls)
            calls->append(name_ + u'.' + QLatin1String(what));
    }
    QString name_;
    QStringList columns_;
    std::vector<QVariantList> rows_;
    int pos_ = 0;
};

class MemoryEnvironment : public report::DataEnvironment {
public:
    // The table answers fields under its component name and walks under its band source name.
    void add(const QString& component, MemoryTable* table, const QString& sourceName = QString()) {
        components_.insert(component, table);
        if (!sourceName.isEmpty())
            sources_.insert(sourceName, table);
    }

    report::BandSource* bandSource(const QString& name) override { return sources_.value(name); }

    QVariant field(const QString& component, const QString& field) override {
        MemoryTable* table = components_.value(component);
        if (!table)
            throw EReportError(QStringLiteral("Ismeretlen komponens: %1").arg(component));
        return table->value(field);
    }

private:
    QHash<QString, MemoryTable*> components_;
    QHash<QString, report::BandSource*> sources_;
};

} // namespace vardelo::testing
