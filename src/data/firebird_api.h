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

// The engine turns file names between UTF-8 and the character set of the C library's locale (LC_CTYPE),
// which it reads when it first converts one. In the C locale (LANG unset) that is ASCII, and a folder such as
// "Mentés" could never reach it; Qt writes file names as UTF-8 in every locale, so before the engine sees a
// name the process's LC_CTYPE is made a UTF-8 one, where it is not already.
void useUtf8FileNames();

// Ends the engine's work in this process while the program is still whole: a service thread still finishing
// (a refused restore) would otherwise run on in a library the exit handlers already unloaded.
void shutdownEngine();

// How a handle lets go of what it holds. Plain interfaces are released (or disposed); a cursor, a statement,
// a transaction and an attachment still open are ended first (closed, freed, rolled back, detached), and only
// released when ending fails.
void letGo(Firebird::IReferenceCounted* object);
void letGo(Firebird::IDisposable* object);
void letGo(Firebird::IResultSet* cursor);
void letGo(Firebird::IStatement* statement);
void letGo(Firebird::ITransaction* transaction);
void letGo(Firebird::IAttachment* attachment);

// Owns one Firebird interface object and lets go of it when it goes, so no path, failing or not, leaks it.
// After a call that ends the object itself when it succeeds (free, close, commit, rollback, detach), forget()
// tells the handle that nothing is left to let go of.
template <typename T> class Handle {
public:
    Handle() = default;
    explicit Handle(T* object) : object_(object) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    Handle(Handle&& other) noexcept : object_(other.object_) { other.object_ = nullptr; }
    Handle& operator=(Handle&& other) noexcept {
        if (this != &other) {
            reset();
            object_ = other.object_;
            other.object_ = nullptr;
        }
        return *this;
    }

    T* get() const { return object_; }
    T* operator->() const { return object_; }
    explicit operator bool() const { return object_ != nullptr; }

    // Lets go of the object held and holds the one given.
    void reset(T* object = nullptr) {
        T* old = object_;
        object_ = object;
        if (old)
            letGo(old);
    }
    void forget() { object_ = nullptr; }

private:
    T* object_ = nullptr;
};

// A status vector of its own, disposed when it goes. throwing() is what the calls take: a wrapper that raises
// Firebird::FbException when a call fails (translate it with raise()).
class Status {
public:
    Status();
    Firebird::ThrowStatusWrapper* throwing() { return &wrapper_; }

private:
    Handle<Firebird::IStatus> status_;
    Firebird::ThrowStatusWrapper wrapper_;
};

[[noreturn]] void raise(const Firebird::FbException& e);
// Whether an error raised since the flag was last cleared said that a connection was lost (whoever caught
// it): the next action attaches again.
bool lostConnectionSeen();
void clearLostConnectionSeen();
// Called once when an error first says so, before any screen handles the error (the data module notes where
// its datasets stood). The last one set is called; releasing it with its context leaves none.
void setLostConnectionHandler(void (*handler)(void* context), void* context);
void releaseLostConnectionHandler(void* context);
// The engine's message of a failure, for the log.
QString errorText(const Firebird::FbException& e);

// Names the value that failed (a text too long, a character WIN1250 cannot hold) after the field or parameter
// that gave it, the statement's values being in the order of the names.
template <typename Names> void nameFailedValue(EDatabaseError& error, const Names& names) {
    const int index = error.ValueIndex();
    if (index >= 0 && index < int(names.size()) && error.FieldName().isEmpty())
        error.SetFieldName(names[static_cast<typename Names::size_type>(index)]);
}

// The statement text as the connection character set (WIN1250) expects it.
QByteArray encodeSql(const QString& sql);
// `count` parameter markers for a statement's list of values: "?, ?, ?".
QString parameterMarks(qsizetype count);

// An input message built from the values bound to a statement's markers: text as WIN1250 VARCHAR, doubles,
// 64-bit integers, exact decimals (as scaled 64-bit integers), dates and timestamps; a null QVariant, and a
// date that is no date (QDate()), bind NULL. A date outside the years 1..9999 raises EDatabaseError.
class InputMessage {
public:
    InputMessage() = default;
    InputMessage(Firebird::IStatement* statement, const std::vector<QVariant>& values);
    InputMessage(const InputMessage&) = delete;
    InputMessage& operator=(const InputMessage&) = delete;

    Firebird::IMessageMetadata* metadata() const { return metadata_.get(); }
    unsigned char* buffer() { return buffer_.empty() ? nullptr : buffer_.data(); }

private:
    Handle<Firebird::IMessageMetadata> metadata_;
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
    bool nullable = true;
};

std::vector<ColumnLayout> describeColumns(Firebird::IMessageMetadata* metadata);
QVariant decodeColumn(const ColumnLayout& column, const unsigned char* message);

// Attaches to a database, or creates it, with the parameters given as a DPB builder. The name goes to the
// engine as UTF-8, and the builder gets the tag that says so (isc_dpb_utf8_filename), whatever the locale.
Handle<Firebird::IAttachment> attachDatabase(const QString& name, Firebird::IXpbBuilder* dpb);
Handle<Firebird::IAttachment> createDatabase(const QString& name, Firebird::IXpbBuilder* dpb);

// Prepared reads kept for reuse on an attachment that asks for it (the program's own connection): the same
// few lists and lookups run again and again, and preparing one over the ticket lines' computed amounts takes
// milliseconds. A read prepared by prepareStatement on such an attachment goes back to it when its handle
// lets go of it (its cursor closed first), and the next prepare of the same text within a minute takes it
// from there (a statement keeps the schema of its moment, and another desk may change it); a statement is
// never lent twice at once. Writes are not kept (they run the triggers they were prepared with). A statement
// that changes the schema lets go of the attachment's kept statements first, so none of them holds an object
// it alters. dropPreparedStatements frees them all and keeps no more: call it before the attachment is
// detached or let go of.
void keepPreparedStatements(Firebird::IAttachment* attachment);
void dropPreparedStatements(Firebird::IAttachment* attachment);
// Prepares a statement (or takes a kept one of the same text); throws FbException when the engine refuses
// it.
Handle<Firebird::IStatement> prepareStatement(Firebird::IAttachment* attachment,
                                              Firebird::ITransaction* transaction, const QString& sql);

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
