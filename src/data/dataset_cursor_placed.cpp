// The dataset cursor's list ordered by a joined table's column: every row placed on the client from the
// driving rows' links and the joined rows' ranks, the rows then read by their keys (data/dataset_cursor.h).
#include "data/dataset_cursor.h"
#include "data/dataset_cursor_sql.h"
#include "data/list_plan.h"

#include <QHash>
#include <algorithm>
#include <cstring>
#include <optional>
#include <tuple>

using namespace Firebird;
using vardelo::fb::Status;
using namespace vardelo::cursor;

namespace {

// A whole number column's value as fetched (0 when empty).
qint64 integerAt(const vardelo::fb::ColumnLayout& layout, const unsigned char* message) {
    if (*reinterpret_cast<const short*>(message + layout.nullOffset) == -1)
        return 0;
    const unsigned char* data = message + layout.offset;
    switch (layout.type) {
    case SQL_SHORT:
        return *reinterpret_cast<const short*>(data);
    case SQL_LONG:
        return *reinterpret_cast<const int*>(data);
    case SQL_INT64:
        return *reinterpret_cast<const qint64*>(data);
    default:
        return vardelo::fb::decodeColumn(layout, message).toLongLong();
    }
}

// A value's bytes as fetched, without the trailing blanks the comparison ignores; none when empty. The bytes
// stay in the message (QByteArray::fromRawData): copy them to keep them.
std::optional<QByteArray> bytesAt(const vardelo::fb::ColumnLayout& layout, const unsigned char* message) {
    if (*reinterpret_cast<const short*>(message + layout.nullOffset) == -1)
        return std::nullopt;
    const char* data = reinterpret_cast<const char*>(message + layout.offset);
    qsizetype length = 0;
    if (layout.type == SQL_VARYING) {
        length = *reinterpret_cast<const unsigned short*>(data);
        data += 2;
    } else if (layout.type == SQL_TEXT) {
        length = qsizetype(layout.length);
    } else {
        return vardelo::fb::decodeColumn(layout, message).toString().toUtf8();
    }
    while (length > 0 && data[length - 1] == ' ')
        --length;
    return QByteArray::fromRawData(data, length);
}

// A link of at most seven bytes as one number, its bytes and its length: a code of the register found among
// twenty thousand by a number rather than by bytes kept elsewhere, which matters between the engine's
// fetches, where every memory access the lookup makes is a cache miss.
std::optional<quint64> packedLink(const QByteArray& link) {
    if (link.size() > 7)
        return std::nullopt;
    quint64 packed = quint64(link.size()) << 56;
    std::memcpy(&packed, link.constData(), size_t(link.size()));
    return packed;
}

} // namespace

// A list ordered by its plan's joined column and then the driving key, with a driving statement whose rows
// carry their key and link.
bool TDataSetCursor::joinedOrder() {
    if (joined_)
        return *joined_;
    joined_ = false;
    if (!plan_ || !plan_->joinedOrder || plan_->drivingSql.isEmpty())
        return false;
    const auto& j = *plan_->joinedOrder;
    for (const QString& name : {j.drivingKey, j.drivingLink, j.table, j.link, j.key, j.order})
        if (!plainIdentifier(name))
            return false;
    const auto& keys = orderKeys();
    const auto column = [&](const QString& name) {
        for (size_t i = 0; i < columns_.size(); ++i)
            if (columns_[i].name == name.toUpper())
                return int(i);
        return -1;
    };
    const int drivingKey = column(j.drivingKey);
    if (keys.size() != 2 || keys[0] != column(j.order) || keys[1] != drivingKey || drivingKey < 0 ||
        !integerColumn(columns_[size_t(drivingKey)]) || !drivingHas({drivingKey}))
        return false;
    joined_ = true;
    return true;
}

// Every row of the list gets its place: the driving rows' keys and links, the joined rows' ranks in the
// joined column's order (read through its index; equal values one rank, empty ones and rows without a joined
// row first), sorted on the client. A link matching two joined rows places the driving row twice, as the join
// does. The values are taken from the fetched messages as they stand, without decoding them.
void TDataSetCursor::placeRows() {
    const auto& j = *plan_->joinedOrder;
    struct Joined {
        qint64 rank;
        qint64 key;
    };
    QHash<QByteArray, std::vector<Joined>> ranks;
    qint64 rank = 0;
    std::optional<QByteArray> previous;
    scanRows(
        QStringLiteral("SELECT %1, %2, %3 FROM %4 WHERE %1 IS NOT NULL ORDER BY %3")
            .arg(j.link, j.key, j.order, j.table),
        {},
        [&](const unsigned char* message, const Layout& layout) {
            const auto value = bytesAt(layout[2], message);
            if (value && value != previous) {
                ++rank;
                previous = QByteArray(value->constData(), value->size());
            }
            const QByteArray link = *bytesAt(layout[0], message);
            ranks[QByteArray(link.constData(), link.size())].push_back(
                {value ? rank : 0, integerAt(layout[1], message)});
            return false;
        },
        &NoValues);
    // The links of one joined row each, by number; a link of two joined rows, or a longer one, is looked up
    // by its bytes.
    QHash<quint64, Joined> single;
    single.reserve(ranks.size());
    for (auto it = ranks.cbegin(); it != ranks.cend(); ++it)
        if (const auto packed = packedLink(it.key()); packed && it->size() == 1)
            single.insert(*packed, it->front());
    placed_.swap(sparePlaces_);
    placed_.clear();
    scanRows(
        QStringLiteral("SELECT %1, %2 FROM (\n%3\n)").arg(j.drivingKey, j.drivingLink, plan_->drivingSql), {},
        [&](const unsigned char* message, const Layout& layout) {
            const qint64 key = integerAt(layout[0], message);
            const auto link = bytesAt(layout[1], message);
            if (const auto packed = link ? packedLink(*link) : std::nullopt) {
                const auto found = single.constFind(*packed);
                if (found != single.constEnd()) {
                    placed_.push_back({found->rank, key, found->key});
                    return false;
                }
            }
            const auto found = link ? ranks.constFind(*link) : ranks.constEnd();
            if (found == ranks.constEnd()) {
                placed_.push_back({0, key, 0});
                return false;
            }
            for (const Joined& joined : *found)
                placed_.push_back({joined.rank, key, joined.key});
            return false;
        },
        &plan_->drivingParameters);
    std::sort(placed_.begin(), placed_.end(), [](const Placed& a, const Placed& b) {
        return std::tie(a.rank, a.drivingKey, a.joinedKey) < std::tie(b.rank, b.drivingKey, b.joinedKey);
    });
    window_.clear();
    base_ = 0;
    count_ = known_ = int(placed_.size());
    countKnown_ = endSeen_ = cursorAtEnd_ = true;
}

// The rows are read by their driving keys, a batch at a time, and put in their places.
void TDataSetCursor::readPlaced(int first, int rows) {
    const auto& j = *plan_->joinedOrder;
    first = std::clamp(first, 0, std::max(0, int(placed_.size()) - 1));
    const int last = std::min(int(placed_.size()), first + std::min(rows, windowSize_));
    int drivingKey = -1;
    int joinedKey = -1;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].name == j.drivingKey.toUpper())
            drivingKey = int(i);
        if (columns_[i].name == j.key.toUpper())
            joinedKey = int(i);
    }
    constexpr int Batch = 50;
    QStringList marks;
    for (int i = 0; i < Batch; ++i)
        marks << QStringLiteral("?");
    auto statement = prepareSameRows(
        QStringLiteral("SELECT * FROM (\n%1\n) WHERE %2 IN (%3)")
            .arg(countableSql(), quotedName(j.drivingKey.toUpper()), marks.join(QLatin1Char(','))));
    if (!statement)
        throw EDatabaseError(QStringLiteral("A lista sorai nem olvashatók be."));
    QHash<QPair<qint64, qint64>, std::vector<unsigned char>> read;
    Status status;
    for (int at = first; at < last; at += Batch) {
        std::vector<QVariant> values = parameters_;
        for (int i = 0; i < Batch; ++i)
            values.push_back(QVariant(placed_[size_t(std::min(at + i, last - 1))].drivingKey));
        try {
            vardelo::fb::InputMessage input(statement.get(), values);
            vardelo::fb::Handle<IResultSet> cursor(statement->openCursor(
                status.throwing(), transaction_, input.metadata(), input.buffer(), output_.get(), 0));
            std::vector<unsigned char> buffer(messageLength_);
            while (cursor->fetchNext(status.throwing(), buffer.data()) == IStatus::RESULT_OK) {
                const qint64 key =
                    vardelo::fb::decodeColumn(columns_[size_t(drivingKey)], buffer.data()).toLongLong();
                const qint64 joined =
                    joinedKey < 0
                        ? 0
                        : vardelo::fb::decodeColumn(columns_[size_t(joinedKey)], buffer.data()).toLongLong();
                read.insert(qMakePair(key, joined), buffer);
            }
        } catch (const FbException& e) {
            vardelo::fb::raise(e);
        }
    }
    window_.clear();
    base_ = first;
    for (int at = first; at < last; ++at) {
        const Placed& place = placed_[size_t(at)];
        Row row;
        const auto found = read.constFind(qMakePair(place.drivingKey, joinedKey < 0 ? 0 : place.joinedKey));
        if (found != read.end()) {
            row.raw = found.value();
        } else {
            // Gone since the list was placed (another desk deleted it): shown empty but for its key.
            row.values = std::make_unique<std::vector<QVariant>>(columns_.size());
            (*row.values)[size_t(drivingKey)] = QVariant(place.drivingKey);
        }
        window_.push_back(std::move(row));
    }
}
