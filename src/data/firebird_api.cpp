#include "data/firebird_api.h"

#include "data/database_error.h"
#include "data/decimal.h"
#include "data/engine_lock_folder.h"
#include "data/engine_signals.h"
#include "data/text_files.h"

#include <QDate>
#include <QDateTime>
#include <QStringDecoder>
#include <QTime>
#include <atomic>
#include <chrono>
#include <clocale>
#include <cmath>
#include <csignal>
#include <cstring>
#include <dlfcn.h>
#include <langinfo.h>
#include <link.h>
#include <list>
#include <mutex>
#include <optional>
#include <unordered_map>
#include <utility>

using namespace Firebird;

namespace vardelo::fb {

namespace {
std::atomic<bool> lostConnection{false};
void (*lostConnectionHandler)(void*) = nullptr;
void* lostConnectionContext = nullptr;
constexpr int julianDayOfFirebirdEpoch = 2400001; // ISC_DATE 0 is 1858-11-17
constexpr unsigned charSetWin1250 = 51;

template <typename T> T readValue(const unsigned char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return value;
}
template <typename T> void writeValue(unsigned char* p, T value) {
    std::memcpy(p, &value, sizeof value);
}

// The engine writes its messages, and the names and values in them, in the connection's character set
// (WIN1250). A file name in a message comes as the system writes it, which on this side of Windows is UTF-8.
QString engineText(const QByteArray& bytes) {
#ifndef Q_OS_WIN
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
#endif
    return decodeWin1250(bytes);
}

// A text value that does not fit: named by the statement's value number, so a dataset can name its field.
[[noreturn]] void raiseValueError(const QString& message, unsigned index) {
    EDatabaseError error(message);
    error.SetValueIndex(int(index));
    throw error;
}

// The engine's days: ISC_DATE counts from 1858-11-17; it keeps the years 1 to 9999.
std::optional<ISC_DATE> engineDate(const QDate& date, unsigned index) {
    if (!date.isValid())
        return std::nullopt;
    if (date < QDate(1, 1, 1) || date > QDate(9999, 12, 31))
        raiseValueError(QStringLiteral("A dátum (%1) nem tárolható: az évszám 1 és 9999 között lehet.")
                            .arg(date.toString(QStringLiteral("yyyy.MM.dd."))),
                        index);
    return ISC_DATE(date.toJulianDay() - julianDayOfFirebirdEpoch);
}

// A decimal as the engine's scaled 64-bit integer: its units and the (negative) scale.
std::pair<ISC_INT64, int> engineDecimal(const Decimal& value, unsigned index) {
    const Decimal d = value.normalized();
    const auto units = d.unitsAt(d.scale());
    if (!units || d.scale() > 18)
        raiseValueError(QStringLiteral("A szám (%1) nem tárolható: túl sok számjegy.").arg(d.plainText()),
                        index);
    return {*units, -d.scale()};
}

bool isDecimal(const QVariant& v) {
    return v.typeId() == qMetaTypeId<Decimal>();
}

// A value that binds NULL: a null, and a date or moment that is no date at all (what a null date field reads
// as), which has no day number.
bool bindsNull(const QVariant& v) {
    if (v.isNull())
        return true;
    if (v.typeId() == QMetaType::QDate)
        return !v.toDate().isValid();
    if (v.typeId() == QMetaType::QDateTime)
        return !v.toDateTime().isValid();
    return false;
}
} // namespace

void useUtf8FileNames() {
    const char* codeset = nl_langinfo(CODESET);
    if (codeset && (qstricmp(codeset, "UTF-8") == 0 || qstricmp(codeset, "utf8") == 0))
        return;
    for (const char* locale : {"C.UTF-8", "C.utf8", "en_US.UTF-8"}) {
        if (std::setlocale(LC_CTYPE, locale))
            return;
    }
}

IMaster* master() {
    // The user's own lock folder is set before the engine first reads its configuration.
    static IMaster* instance = [] {
        useOwnEngineLockFolder();
        return fb_get_master_interface();
    }();
    return instance;
}

IUtil* util() {
    return master()->getUtilInterface();
}

void shutdownEngine() {
    // The engine library stays mapped when the shutdown unloads its plugins: one of its threads may still be
    // winding down (seen after a refused restore while another process used the same lock files).
    dl_iterate_phdr(
        [](dl_phdr_info* info, size_t, void*) {
            if (info->dlpi_name && std::strstr(info->dlpi_name, "/libEngine12.so"))
                dlopen(info->dlpi_name, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
            return 0;
        },
        nullptr);
    fb_shutdown(0, fb_shutrsn_app_stopped);
}

namespace {

// Ends an object with a call that releases it on success; when the call fails the object is released as it
// is.
template <typename T, typename End> void endOrRelease(T* object, End end) {
    Handle<IStatus> status(master()->getStatus());
    CheckStatusWrapper wrapper(status.get());
    end(object, &wrapper);
    if (wrapper.getState() & IStatus::STATE_ERRORS)
        object->release();
}

} // namespace

void letGo(IReferenceCounted* object) {
    object->release();
}

void letGo(IDisposable* object) {
    object->dispose();
}

void letGo(IResultSet* cursor) {
    endOrRelease(cursor, [](IResultSet* c, CheckStatusWrapper* w) { c->close(w); });
}

namespace {

// The kept statements of the attachments that keep them, newest first, and the statements lent out of them.
struct StatementKeeper {
    static constexpr size_t MostKept = 48;
    // A statement is compiled with the schema of its moment, which another desk may change meanwhile (a newer
    // program's upgrade): one older than this is prepared anew.
    static constexpr std::chrono::seconds LongestKept{60};
    using Clock = std::chrono::steady_clock;
    struct Kept {
        QByteArray text;
        IStatement* statement;
        Clock::time_point prepared;
    };
    std::mutex mutex;
    std::unordered_map<IAttachment*, std::list<Kept>> kept;
    struct Lent {
        IAttachment* attachment;
        Kept statement;
    };
    std::unordered_map<IStatement*, Lent> lent;
};

StatementKeeper& keeper() {
    static StatementKeeper* const instance = new StatementKeeper;
    return *instance;
}

void freeStatement(IStatement* statement) {
    endOrRelease(statement, [](IStatement* s, CheckStatusWrapper* w) { s->free(w); });
}

// Only reads are kept: a write runs the table's triggers as they were when it was prepared, and another
// desk may change them; a write is quick to prepare anyway.
bool keepable(unsigned type) {
    return type == isc_info_sql_stmt_select || type == isc_info_sql_stmt_select_for_upd;
}

// A schema change must not find kept statements holding what it alters. (A savepoint, which every write of
// the program sets, alters nothing.)
bool changesSchema(unsigned type) {
    return type == isc_info_sql_stmt_ddl;
}

// Frees the attachment's idle kept statements. With `stopKeeping` the attachment keeps none from then on:
// its statements still lent are freed when their handles let go of them.
void freeIdleStatements(IAttachment* attachment, bool stopKeeping) {
    std::list<StatementKeeper::Kept> idle;
    StatementKeeper& k = keeper();
    {
        std::lock_guard lock(k.mutex);
        const auto kept = k.kept.find(attachment);
        if (kept != k.kept.end()) {
            idle.swap(kept->second);
            if (stopKeeping)
                k.kept.erase(kept);
        }
        if (stopKeeping)
            std::erase_if(k.lent, [&](const auto& lent) { return lent.second.attachment == attachment; });
    }
    for (const auto& entry : idle)
        freeStatement(entry.statement);
}

} // namespace

void letGo(IStatement* statement) {
    StatementKeeper& k = keeper();
    {
        std::lock_guard lock(k.mutex);
        const auto lent = k.lent.find(statement);
        if (lent != k.lent.end()) {
            StatementKeeper::Kept entry = std::move(lent->second.statement);
            const auto kept = k.kept.find(lent->second.attachment);
            k.lent.erase(lent);
            if (kept != k.kept.end() &&
                StatementKeeper::Clock::now() - entry.prepared < StatementKeeper::LongestKept) {
                kept->second.push_front(std::move(entry));
                if (kept->second.size() <= StatementKeeper::MostKept)
                    return;
                statement = kept->second.back().statement;
                kept->second.pop_back();
            }
        }
    }
    freeStatement(statement);
}

void keepPreparedStatements(IAttachment* attachment) {
    StatementKeeper& k = keeper();
    std::lock_guard lock(k.mutex);
    k.kept.try_emplace(attachment);
}

void dropPreparedStatements(IAttachment* attachment) {
    freeIdleStatements(attachment, true);
}

Handle<IStatement> prepareStatement(IAttachment* attachment, ITransaction* transaction, const QString& sql) {
    const QByteArray text = encodeSql(sql);
    StatementKeeper& k = keeper();
    bool keeping = false;
    std::vector<IStatement*> stale;
    IStatement* found = nullptr;
    {
        std::lock_guard lock(k.mutex);
        const auto kept = k.kept.find(attachment);
        if (kept != k.kept.end()) {
            keeping = true;
            auto& idle = kept->second;
            const auto now = StatementKeeper::Clock::now();
            for (auto it = idle.begin(); it != idle.end() && !found;) {
                if (now - it->prepared >= StatementKeeper::LongestKept) {
                    stale.push_back(it->statement);
                    it = idle.erase(it);
                } else if (it->text == text) {
                    found = it->statement;
                    k.lent.emplace(found, StatementKeeper::Lent{attachment, std::move(*it)});
                    idle.erase(it);
                } else {
                    ++it;
                }
            }
        }
    }
    for (IStatement* old : stale)
        freeStatement(old);
    if (found)
        return Handle<IStatement>(found);
    Status status;
    Handle<IStatement> statement(attachment->prepare(status.throwing(), transaction, 0, text.constData(), 3,
                                                     IStatement::PREPARE_PREFETCH_METADATA));
    if (!keeping)
        return statement;
    const unsigned type = statement->getType(status.throwing());
    if (keepable(type)) {
        std::lock_guard lock(k.mutex);
        if (k.kept.count(attachment))
            k.lent.emplace(
                statement.get(),
                StatementKeeper::Lent{attachment, {text, statement.get(), StatementKeeper::Clock::now()}});
    } else if (changesSchema(type)) {
        // What the schema change alters must not be held by a statement kept on this attachment.
        freeIdleStatements(attachment, false);
    }
    return statement;
}

void letGo(ITransaction* transaction) {
    endOrRelease(transaction, [](ITransaction* t, CheckStatusWrapper* w) { t->rollback(w); });
}

void letGo(IAttachment* attachment) {
    endOrRelease(attachment, [](IAttachment* a, CheckStatusWrapper* w) { a->detach(w); });
}

Status::Status() : status_(master()->getStatus()), wrapper_(status_.get()) {}

// The engine's own texts are ASCII; a message of the database (an exception's text) comes in the connection's
// character set, WIN1250.
QString errorText(const FbException& e) {
    char text[1024];
    util()->formatStatus(text, sizeof text, e.getStatus());
    return engineText(QByteArray(text)).trimmed();
}

void raise(const FbException& e) {
    const intptr_t* vector = e.getStatus()->getErrors();
    long code = (vector[0] == isc_arg_gds) ? long(vector[1]) : 0;
    int sqlCode = isc_sqlcode(vector);
    // Every code of the status vector: the telling one (a lock, a read-only file) is often not the first.
    std::vector<long> codes;
    int systemError = 0;
    QStringList arguments;
    for (const intptr_t* p = vector; *p != isc_arg_end;) {
        const intptr_t kind = *p++;
        if (kind == isc_arg_gds)
            codes.push_back(long(*p));
        else if ((kind == isc_arg_unix || kind == isc_arg_win32) && systemError == 0)
            systemError = int(*p);
        else if (kind == isc_arg_string || kind == isc_arg_interpreted)
            arguments << engineText(QByteArray(reinterpret_cast<const char*>(*p)));
        else if (kind == isc_arg_cstring)
            arguments << engineText(QByteArray(reinterpret_cast<const char*>(p[1]), qsizetype(p[0])));
        p += (kind == isc_arg_cstring) ? 2 : 1;
    }
    // The engine writes its messages, and the names and values in them, in the connection's character set.
    EDatabaseError error(errorText(e), code, sqlCode, std::move(codes), systemError, std::move(arguments));
    if (isLostConnection(error) && !lostConnection.exchange(true) && lostConnectionHandler)
        lostConnectionHandler(lostConnectionContext);
    throw error;
}

bool lostConnectionSeen() {
    return lostConnection.load();
}

void clearLostConnectionSeen() {
    lostConnection.store(false);
}

void setLostConnectionHandler(void (*handler)(void* context), void* context) {
    lostConnectionHandler = handler;
    lostConnectionContext = context;
}

void releaseLostConnectionHandler(void* context) {
    if (lostConnectionContext != context)
        return;
    lostConnectionHandler = nullptr;
    lostConnectionContext = nullptr;
}

QString parameterMarks(qsizetype count) {
    QStringList marks;
    for (qsizetype i = 0; i < count; ++i)
        marks << QStringLiteral("?");
    return marks.join(QStringLiteral(", "));
}

QByteArray encodeSql(const QString& sql) {
    QChar bad;
    auto bytes = encodeWin1250(sql, &bad);
    if (!bytes)
        throw EDatabaseError(QStringLiteral("A „%1” karakter nem tárolható az adatbázisban.").arg(bad));
    return *bytes;
}

InputMessage::InputMessage(IStatement* statement, const std::vector<QVariant>& values) {
    Status status;
    try {
        Handle<IMessageMetadata> declared(statement->getInputMetadata(status.throwing()));
        const unsigned count = declared->getCount(status.throwing());
        if (count != values.size())
            throw EDatabaseError(QStringLiteral("A paraméterek száma nem egyezik az utasításéval."));
        // The room of each text value as the statement declares it (bytes; one to a character in WIN1250).
        std::vector<unsigned> room(count, 0);
        for (unsigned i = 0; i < count; ++i) {
            const unsigned type = declared->getType(status.throwing(), i) & ~1u;
            if ((type == SQL_VARYING || type == SQL_TEXT) &&
                declared->getCharSet(status.throwing(), i) != 1 /* OCTETS */)
                room[i] = declared->getLength(status.throwing(), i);
        }
        Handle<IMetadataBuilder> builder(declared->getBuilder(status.throwing()));
        declared.reset();
        std::vector<QByteArray> texts(count);
        for (unsigned i = 0; i < count; ++i) {
            const QVariant& v = values[i];
            if (isDecimal(v)) {
                builder->setType(status.throwing(), i, SQL_INT64 + 1);
                builder->setLength(status.throwing(), i, sizeof(ISC_INT64));
                builder->setScale(status.throwing(), i, engineDecimal(v.value<Decimal>(), i).second);
                continue;
            }
            switch (v.typeId()) {
            case QMetaType::Double:
            case QMetaType::Float:
                builder->setType(status.throwing(), i, SQL_DOUBLE + 1);
                builder->setLength(status.throwing(), i, sizeof(double));
                builder->setScale(status.throwing(), i, 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                builder->setType(status.throwing(), i, SQL_INT64 + 1);
                builder->setLength(status.throwing(), i, sizeof(ISC_INT64));
                builder->setScale(status.throwing(), i, 0);
                break;
            case QMetaType::QDate:
                builder->setType(status.throwing(), i, SQL_TYPE_DATE + 1);
                builder->setLength(status.throwing(), i, sizeof(ISC_DATE));
                builder->setScale(status.throwing(), i, 0);
                break;
            case QMetaType::QDateTime:
                builder->setType(status.throwing(), i, SQL_TIMESTAMP + 1);
                builder->setLength(status.throwing(), i, sizeof(ISC_TIMESTAMP));
                builder->setScale(status.throwing(), i, 0);
                break;
            default: {
                if (!bindsNull(v)) {
                    QChar bad;
                    auto bytes = encodeWin1250(v.toString(), &bad);
                    if (!bytes)
                        raiseValueError(
                            QStringLiteral("A „%1” karakter nem tárolható az adatbázisban.").arg(bad), i);
                    // The engine drops trailing blanks that do not fit; anything else would be cut.
                    qsizetype used = bytes->size();
                    while (used > 0 && bytes->at(used - 1) == ' ')
                        --used;
                    if (room[i] > 0 && unsigned(used) > room[i]) {
                        raiseValueError(
                            QStringLiteral("A szöveg túl hosszú: %1 karakter, legfeljebb %2 fér el.")
                                .arg(used)
                                .arg(room[i]),
                            i);
                    }
                    texts[i] = *bytes;
                }
                builder->setType(status.throwing(), i, SQL_VARYING + 1);
                builder->setLength(status.throwing(), i, unsigned(std::max<qsizetype>(1, texts[i].size())));
                builder->setCharSet(status.throwing(), i, charSetWin1250);
                builder->setScale(status.throwing(), i, 0);
                break;
            }
            }
        }
        metadata_.reset(builder->getMetadata(status.throwing()));
        builder.reset();
        buffer_.assign(metadata_->getMessageLength(status.throwing()), 0);
        for (unsigned i = 0; i < count; ++i) {
            const QVariant& v = values[i];
            unsigned char* data = buffer_.data() + metadata_->getOffset(status.throwing(), i);
            const bool null = bindsNull(v);
            writeValue<short>(buffer_.data() + metadata_->getNullOffset(status.throwing(), i), null ? -1 : 0);
            if (null)
                continue;
            switch (metadata_->getType(status.throwing(), i) & ~1u) {
            case SQL_DOUBLE:
                writeValue<double>(data, v.toDouble());
                break;
            case SQL_INT64:
                writeValue<ISC_INT64>(data, isDecimal(v) ? engineDecimal(v.value<Decimal>(), i).first
                                                         : ISC_INT64(v.toLongLong()));
                break;
            case SQL_TYPE_DATE:
                writeValue<ISC_DATE>(data, *engineDate(v.toDate(), i));
                break;
            case SQL_TIMESTAMP: {
                const QDateTime dt = v.toDateTime();
                ISC_TIMESTAMP ts;
                ts.timestamp_date = *engineDate(dt.date(), i);
                ts.timestamp_time = ISC_TIME(dt.time().msecsSinceStartOfDay() * 10);
                writeValue(data, ts);
                break;
            }
            default:
                writeValue<unsigned short>(data, (unsigned short)texts[i].size());
                std::memcpy(data + sizeof(unsigned short), texts[i].constData(), texts[i].size());
                break;
            }
        }
    } catch (const FbException& e) {
        raise(e);
    }
}

std::vector<ColumnLayout> describeColumns(IMessageMetadata* metadata) {
    Status status;
    std::vector<ColumnLayout> columns;
    try {
        const unsigned count = metadata->getCount(status.throwing());
        columns.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            ColumnLayout c;
            const char* alias = metadata->getAlias(status.throwing(), i);
            const char* field = metadata->getField(status.throwing(), i);
            c.name = QString::fromLatin1(alias && *alias ? alias : field).trimmed().toUpper();
            c.type = metadata->getType(status.throwing(), i) & ~1u;
            c.nullable = metadata->isNullable(status.throwing(), i);
            c.subType = unsigned(metadata->getSubType(status.throwing(), i));
            c.length = metadata->getLength(status.throwing(), i);
            c.scale = metadata->getScale(status.throwing(), i);
            c.charSet = metadata->getCharSet(status.throwing(), i);
            c.offset = metadata->getOffset(status.throwing(), i);
            c.nullOffset = metadata->getNullOffset(status.throwing(), i);
            columns.push_back(c);
        }
    } catch (const FbException& e) {
        raise(e);
    }
    return columns;
}

QVariant decodeColumn(const ColumnLayout& c, const unsigned char* message) {
    if (readValue<short>(message + c.nullOffset) == -1)
        return QVariant();
    const unsigned char* data = message + c.offset;
    // Exact: a decimal column's scaled integer is the value itself.
    auto scaled = [&](qint64 raw) { return QVariant::fromValue(Decimal::fromUnits(raw, -c.scale)); };
    switch (c.type) {
    case SQL_VARYING: {
        unsigned short length = readValue<unsigned short>(data);
        return decodeWin1250(QByteArray(reinterpret_cast<const char*>(data + 2), length));
    }
    case SQL_TEXT:
        return decodeWin1250(QByteArray(reinterpret_cast<const char*>(data), int(c.length)));
    case SQL_SHORT:
        return c.scale < 0 ? scaled(readValue<short>(data)) : QVariant(int(readValue<short>(data)));
    case SQL_LONG:
        return c.scale < 0 ? scaled(readValue<ISC_LONG>(data)) : QVariant(int(readValue<ISC_LONG>(data)));
    case SQL_INT64:
        return c.scale < 0 ? scaled(readValue<ISC_INT64>(data))
                           : QVariant(qlonglong(readValue<ISC_INT64>(data)));
    case SQL_FLOAT:
        return double(readValue<float>(data));
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return readValue<double>(data);
    case SQL_TYPE_DATE:
        return QDate::fromJulianDay(readValue<ISC_DATE>(data) + julianDayOfFirebirdEpoch);
    case SQL_TYPE_TIME:
        return QTime::fromMSecsSinceStartOfDay(int(readValue<ISC_TIME>(data) / 10));
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP ts = readValue<ISC_TIMESTAMP>(data);
        return QDateTime(QDate::fromJulianDay(ts.timestamp_date + julianDayOfFirebirdEpoch),
                         QTime::fromMSecsSinceStartOfDay(int(ts.timestamp_time / 10)));
    }
    case SQL_BOOLEAN:
        return bool(*data);
    default:
        return QVariant();
    }
}

std::vector<std::vector<QVariant>> executeRows(IAttachment* attachment, ITransaction* transaction,
                                               const QString& sql, const std::vector<QVariant>& values,
                                               unsigned* affected) {
    if (!attachment)
        throw EDatabaseError(QStringLiteral("Nincs kapcsolat az adatbázissal."));
    Status status;
    std::vector<std::vector<QVariant>> rows;
    try {
        Handle<IStatement> statement = prepareStatement(attachment, transaction, sql);
        InputMessage input(statement.get(), values);
        Handle<IMessageMetadata> output(statement->getOutputMetadata(status.throwing()));
        auto columns = describeColumns(output.get());
        std::vector<unsigned char> buffer(output->getMessageLength(status.throwing()));
        auto takeRow = [&] {
            std::vector<QVariant> row;
            row.reserve(columns.size());
            for (const auto& c : columns)
                row.push_back(decodeColumn(c, buffer.data()));
            rows.push_back(std::move(row));
        };
        if (statement->getType(status.throwing()) == isc_info_sql_stmt_select) {
            Handle<IResultSet> cursor(statement->openCursor(status.throwing(), transaction, input.metadata(),
                                                            input.buffer(), output.get(), 0));
            while (cursor->fetchNext(status.throwing(), buffer.data()) == IStatus::RESULT_OK)
                takeRow();
            cursor->close(status.throwing());
            cursor.forget();
        } else {
            const bool returning = !columns.empty();
            statement->execute(status.throwing(), transaction, input.metadata(), input.buffer(),
                               returning ? output.get() : nullptr, returning ? buffer.data() : nullptr);
            if (returning)
                takeRow();
        }
        if (affected)
            *affected = unsigned(statement->getAffectedRecords(status.throwing()));
    } catch (const FbException& e) {
        raise(e);
    }
    return rows;
}

struct ProgramSignalHandlers::Saved {
    static constexpr int numbers[3] = {SIGTERM, SIGHUP, SIGINT};
    struct sigaction actions[3];
};

ProgramSignalHandlers::ProgramSignalHandlers() : saved_(new Saved) {
    for (int i = 0; i < 3; ++i)
        sigaction(Saved::numbers[i], nullptr, &saved_->actions[i]);
}

ProgramSignalHandlers::~ProgramSignalHandlers() {
    for (int i = 0; i < 3; ++i) {
        const struct sigaction& action = saved_->actions[i];
        const bool programs = (action.sa_flags & SA_SIGINFO)
                                  ? action.sa_sigaction != nullptr
                                  : action.sa_handler != SIG_DFL && action.sa_handler != SIG_IGN;
        if (programs)
            sigaction(Saved::numbers[i], &action, nullptr);
    }
    delete saved_;
}

Handle<IAttachment> attachDatabase(const QString& name, IXpbBuilder* dpb) {
    const ProgramSignalHandlers keep;
    useUtf8FileNames();
    Status status;
    dpb->insertTag(status.throwing(), isc_dpb_utf8_filename);
    Handle<IProvider> provider(master()->getDispatcher());
    return Handle<IAttachment>(provider->attachDatabase(status.throwing(), name.toUtf8().constData(),
                                                        dpb->getBufferLength(status.throwing()),
                                                        dpb->getBuffer(status.throwing())));
}

Handle<IAttachment> createDatabase(const QString& name, IXpbBuilder* dpb) {
    const ProgramSignalHandlers keep;
    useUtf8FileNames();
    Status status;
    dpb->insertTag(status.throwing(), isc_dpb_utf8_filename);
    Handle<IProvider> provider(master()->getDispatcher());
    return Handle<IAttachment>(provider->createDatabase(status.throwing(), name.toUtf8().constData(),
                                                        dpb->getBufferLength(status.throwing()),
                                                        dpb->getBuffer(status.throwing())));
}

std::vector<QVariant> executeSingle(IAttachment* attachment, ITransaction* transaction, const QString& sql,
                                    const std::vector<QVariant>& values, unsigned* affected) {
    auto rows = executeRows(attachment, transaction, sql, values, affected);
    return rows.empty() ? std::vector<QVariant>() : std::move(rows.front());
}

} // namespace vardelo::fb
