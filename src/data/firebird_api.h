#pragma once

// Internal helpers around the Firebird client API, shared by the data layer's own files.
#include <firebird/Interface.h>

#include "data/database_error.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <vector>

namespace vardelo::fb {

Firebird::IMaster* master();
Firebird::IUtil* util();

// A status wrapper that throws Firebird::FbException; translate() turns that into EDatabaseError.
struct Status {
    Status();
    ~Status();
    Firebird::IStatus* raw;
    Firebird::ThrowStatusWrapper wrapper;
    Firebird::ThrowStatusWrapper* operator&() { return &wrapper; }
};

[[noreturn]] void raise(const Firebird::FbException& e);

// Names the value that failed (a text too long, a character WIN1250 cannot hold) after the field or parameter
// that gave it, the statement's values being in the order of the names.
template <typename Names> void nameFailedValue(EDatabaseError& error, const Names& names) {
    const int index = error.ValueIndex();
    if (index >= 0 && index < int(names.size()) && error.FieldName().isEmpty())
        error.SetFieldName(names[static_cast<typename Names::size_type>(index)]);
}

// The statement text as the connection character set (WIN1250) expects it.
QByteArray encodeSql(const QString& sql);

// An input message built from the values bound to a statement's markers: text as WIN1250 VARCHAR, doubles,
// 64-bit integers, dates and timestamps; a null QVariant binds NULL.
class InputMessage {
public:
    InputMessage() = default;
    InputMessage(Firebird::IStatement* statement, const std::vector<QVariant>& values);
    ~InputMessage();
    InputMessage(const InputMessage&) = delete;
    InputMessage& operator=(const InputMessage&) = delete;

    Firebird::IMessageMetadata* metadata() const { return metadata_; }
    unsigned char* buffer() { return buffer_.empty() ? nullptr : buffer_.data(); }

private:
    Firebird::IMessageMetadata* metadata_ = nullptr;
    std::vector<unsigned char> buffer_;
};

// How to read one column out of an output message.
struct ColumnLayout {
    QString name;
    unsigned type = 0;
    unsigned subType = 0;
    unsigned length = 0;
    int scale = 0;
    unsigned charSet = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
};

std::vector<ColumnLayout> describeColumns(Firebird::IMessageMetadata* metadata);
QVariant decodeColumn(const ColumnLayout& column, const unsigned char* message);

// Runs a statement and gives all the rows it returns (a SELECT, or the RETURNING row of a write).
std::vector<std::vector<QVariant>> executeRows(Firebird::IAttachment* attachment,
                                               Firebird::ITransaction* transaction, const QString& sql,
                                               const std::vector<QVariant>& values,
                                               unsigned* affected = nullptr);

// Runs a statement that returns at most one row and gives that row's values (empty when no row); used for
// small internal reads and writes.
std::vector<QVariant> executeSingle(Firebird::IAttachment* attachment, Firebird::ITransaction* transaction,
                                    const QString& sql, const std::vector<QVariant>& values,
                                    unsigned* affected = nullptr);

} // namespace vardelo::fb
