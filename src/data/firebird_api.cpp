#include "data/firebird_api.h"

#include "data/database_error.h"
#include "data/text_files.h"

#include <QDate>
#include <QDateTime>
#include <QStringDecoder>
#include <QTime>
#include <cmath>
#include <cstring>

using namespace Firebird;

namespace vardelo::fb {

namespace {
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

double powerOfTen(int exponent) {
    static const double table[] = {1,    10,   100,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8, 1e9,
                                   1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    return exponent >= 0 && exponent <= 18 ? table[exponent] : std::pow(10.0, exponent);
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
} // namespace

IMaster* master() {
    static IMaster* instance = fb_get_master_interface();
    return instance;
}

IUtil* util() {
    return master()->getUtilInterface();
}

Status::Status() : raw(master()->getStatus()), wrapper(raw) {}
Status::~Status() {
    raw->dispose();
}

void raise(const FbException& e) {
    char text[1024];
    util()->formatStatus(text, sizeof text, e.getStatus());
    const intptr_t* vector = e.getStatus()->getErrors();
    long code = (vector[0] == isc_arg_gds) ? long(vector[1]) : 0;
    int sqlCode = isc_sqlcode(vector);
    // Every code of the status vector: the telling one (a lock, a read-only file) is often not the first.
    std::vector<long> codes;
    for (const intptr_t* p = vector; *p != isc_arg_end;) {
        const intptr_t kind = *p++;
        if (kind == isc_arg_gds)
            codes.push_back(long(*p));
        p += (kind == isc_arg_cstring) ? 2 : 1;
    }
    // The engine writes its messages, and the names and values in them, in the connection's character set.
    throw EDatabaseError(engineText(QByteArray(text)).trimmed(), code, sqlCode, std::move(codes));
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
        IMessageMetadata* declared = statement->getInputMetadata(&status);
        const unsigned count = declared->getCount(&status);
        if (count != values.size()) {
            declared->release();
            throw EDatabaseError(QStringLiteral("A paraméterek száma nem egyezik az utasításéval."));
        }
        // The room of each text value as the statement declares it (bytes; one to a character in WIN1250).
        std::vector<unsigned> room(count, 0);
        for (unsigned i = 0; i < count; ++i) {
            const unsigned type = declared->getType(&status, i) & ~1u;
            if ((type == SQL_VARYING || type == SQL_TEXT) &&
                declared->getCharSet(&status, i) != 1 /* OCTETS */)
                room[i] = declared->getLength(&status, i);
        }
        IMetadataBuilder* builder = declared->getBuilder(&status);
        declared->release();
        std::vector<QByteArray> texts(count);
        for (unsigned i = 0; i < count; ++i) {
            const QVariant& v = values[i];
            switch (v.typeId()) {
            case QMetaType::Double:
            case QMetaType::Float:
                builder->setType(&status, i, SQL_DOUBLE + 1);
                builder->setLength(&status, i, sizeof(double));
                builder->setScale(&status, i, 0);
                break;
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                builder->setType(&status, i, SQL_INT64 + 1);
                builder->setLength(&status, i, sizeof(ISC_INT64));
                builder->setScale(&status, i, 0);
                break;
            case QMetaType::QDate:
                builder->setType(&status, i, SQL_TYPE_DATE + 1);
                builder->setLength(&status, i, sizeof(ISC_DATE));
                builder->setScale(&status, i, 0);
                break;
            case QMetaType::QDateTime:
                builder->setType(&status, i, SQL_TIMESTAMP + 1);
                builder->setLength(&status, i, sizeof(ISC_TIMESTAMP));
                builder->setScale(&status, i, 0);
                break;
            default: {
                if (!v.isNull()) {
                    QChar bad;
                    auto bytes = encodeWin1250(v.toString(), &bad);
                    if (!bytes) {
                        builder->release();
                        raiseValueError(
                            QStringLiteral("A „%1” karakter nem tárolható az adatbázisban.").arg(bad), i);
                    }
                    // The engine drops trailing blanks that do not fit; anything else would be cut.
                    qsizetype used = bytes->size();
                    while (used > 0 && bytes->at(used - 1) == ' ')
                        --used;
                    if (room[i] > 0 && unsigned(used) > room[i]) {
                        builder->release();
                        raiseValueError(
                            QStringLiteral("A szöveg túl hosszú: %1 karakter, legfeljebb %2 fér el.")
                                .arg(used)
                                .arg(room[i]),
                            i);
                    }
                    texts[i] = *bytes;
                }
                builder->setType(&status, i, SQL_VARYING + 1);
                builder->setLength(&status, i, unsigned(std::max<qsizetype>(1, texts[i].size())));
                builder->setCharSet(&status, i, charSetWin1250);
                builder->setScale(&status, i, 0);
                break;
            }
            }
        }
        metadata_ = builder->getMetadata(&status);
        builder->release();
        buffer_.assign(metadata_->getMessageLength(&status), 0);
        for (unsigned i = 0; i < count; ++i) {
            const QVariant& v = values[i];
            unsigned char* data = buffer_.data() + metadata_->getOffset(&status, i);
            writeValue<short>(buffer_.data() + metadata_->getNullOffset(&status, i), v.isNull() ? -1 : 0);
            if (v.isNull())
                continue;
            switch (metadata_->getType(&status, i) & ~1u) {
            case SQL_DOUBLE:
                writeValue<double>(data, v.toDouble());
                break;
            case SQL_INT64:
                writeValue<ISC_INT64>(data, v.toLongLong());
                break;
            case SQL_TYPE_DATE:
                writeValue<ISC_DATE>(data, ISC_DATE(v.toDate().toJulianDay() - julianDayOfFirebirdEpoch));
                break;
            case SQL_TIMESTAMP: {
                QDateTime dt = v.toDateTime();
                ISC_TIMESTAMP ts;
                ts.timestamp_date = ISC_DATE(dt.date().toJulianDay() - julianDayOfFirebirdEpoch);
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

InputMessage::~InputMessage() {
    if (metadata_)
        metadata_->release();
}

std::vector<ColumnLayout> describeColumns(IMessageMetadata* metadata) {
    Status status;
    std::vector<ColumnLayout> columns;
    try {
        const unsigned count = metadata->getCount(&status);
        columns.reserve(count);
        for (unsigned i = 0; i < count; ++i) {
            ColumnLayout c;
            const char* alias = metadata->getAlias(&status, i);
            const char* field = metadata->getField(&status, i);
            c.name = QString::fromLatin1(alias && *alias ? alias : field).trimmed().toUpper();
            c.type = metadata->getType(&status, i) & ~1u;
            c.subType = unsigned(metadata->getSubType(&status, i));
            c.length = metadata->getLength(&status, i);
            c.scale = metadata->getScale(&status, i);
            c.charSet = metadata->getCharSet(&status, i);
            c.offset = metadata->getOffset(&status, i);
            c.nullOffset = metadata->getNullOffset(&status, i);
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
    auto scaled = [&](double raw) {
        return c.scale < 0 ? QVariant(raw / powerOfTen(-c.scale)) : QVariant(raw);
    };
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
        return c.scale < 0 ? scaled(double(readValue<ISC_INT64>(data)))
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
    IStatement* statement = nullptr;
    IResultSet* cursor = nullptr;
    IMessageMetadata* output = nullptr;
    try {
        const QByteArray text = encodeSql(sql);
        statement = attachment->prepare(&status, transaction, 0, text.constData(), 3,
                                        IStatement::PREPARE_PREFETCH_METADATA);
        InputMessage input(statement, values);
        output = statement->getOutputMetadata(&status);
        auto columns = describeColumns(output);
        std::vector<unsigned char> buffer(output->getMessageLength(&status));
        auto takeRow = [&] {
            std::vector<QVariant> row;
            row.reserve(columns.size());
            for (const auto& c : columns)
                row.push_back(decodeColumn(c, buffer.data()));
            rows.push_back(std::move(row));
        };
        if (statement->getType(&status) == isc_info_sql_stmt_select) {
            cursor = statement->openCursor(&status, transaction, input.metadata(), input.buffer(), output, 0);
            while (cursor->fetchNext(&status, buffer.data()) == IStatus::RESULT_OK)
                takeRow();
            cursor->close(&status);
            cursor = nullptr;
        } else {
            const bool returning = !columns.empty();
            statement->execute(&status, transaction, input.metadata(), input.buffer(),
                               returning ? output : nullptr, returning ? buffer.data() : nullptr);
            if (returning)
                takeRow();
        }
        if (affected)
            *affected = unsigned(statement->getAffectedRecords(&status));
        output->release();
        output = nullptr;
        statement->free(&status);
    } catch (const FbException& e) {
        if (cursor)
            cursor->release();
        if (output)
            output->release();
        if (statement)
            statement->release();
        raise(e);
    } catch (...) {
        if (output)
            output->release();
        if (statement)
            statement->release();
        throw;
    }
    return rows;
}

std::vector<QVariant> executeSingle(IAttachment* attachment, ITransaction* transaction, const QString& sql,
                                    const std::vector<QVariant>& values, unsigned* affected) {
    auto rows = executeRows(attachment, transaction, sql, values, affected);
    return rows.empty() ? std::vector<QVariant>() : std::move(rows.front());
}

} // namespace vardelo::fb
