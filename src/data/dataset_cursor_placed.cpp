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

// The same, copied out of the message to be kept.
std::optional<QByteArray> ownedBytesAt(const vardelo::fb::ColumnLayout& layout,
                                       const unsigned char* message) {
    auto bytes = bytesAt(layout, message);
    if (bytes)
        bytes = QByteArray(bytes->constData(), bytes->size());
    return bytes;
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
    using Joined = JoinedRanks::Joined;
    JoinedRanks joinedRanks;
    auto& ranks = joinedRanks.byLink;
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
                previous = ownedBytesAt(layout[2], message);
            }
            ranks[*ownedBytesAt(layout[0], message)].push_back(
                {value ? rank : 0, integerAt(layout[1], message)});
            return false;
        },
        &NoValues);
    if (placeByKeptCounts(joinedRanks)) {
        groupRanks_ = std::move(joinedRanks);
        return;
    }
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

// The plan's kept numbers as a derived table of (link, n): its own columns may be unnamed (SUM).
QString TDataSetCursor::keptCountsSource() const {
    return QStringLiteral("(\n%1\n) AS kept (link, n)").arg(plan_->keptCountsSql);
}

bool TDataSetCursor::keptCountsWhole() {
    if (!keptWhole_) {
        keptWhole_ = false;
        if (plan_ && !plan_->keptCountsSql.isEmpty() && !plan_->keptCountsWholeSql.isEmpty()) {
            try {
                keptWhole_ =
                    !vardelo::fb::executeRows(attachment_, transaction_, plan_->keptCountsWholeSql, {})
                         .empty();
            } catch (const EDatabaseError&) {
                // An older database, or a user who may not read them: the rows are counted.
            }
        }
    }
    return *keptWhole_;
}

std::optional<int> TDataSetCursor::keptCount() {
    if (!plan_ || !drivingCounts() || !keptCountsWhole())
        return std::nullopt;
    try {
        const auto row = vardelo::fb::executeSingle(
            attachment_, transaction_, QStringLiteral("SELECT SUM(n) FROM %1").arg(keptCountsSource()),
            plan_->keptCountsParameters);
        if (!row.empty() && row.front().toLongLong() >= 0)
            return row.front().toInt();
    } catch (const EDatabaseError&) {
    }
    return std::nullopt;
}

// The kept numbers of driving rows by link give each link's rows their rank and number; the links of one rank
// make a group, whose rows are read by their links when first wanted and ordered by their keys.
bool TDataSetCursor::placeByKeptCounts(const JoinedRanks& ranks) {
    if (!keptCountsWhole())
        return false;
    struct Part {
        qint64 rank;
        PlacedGroup::Part part;
        qint64 rows;
    };
    std::vector<Part> parts;
    bool sound = true;
    try {
        if (!scanRows(
                QStringLiteral("SELECT link, n FROM %1").arg(keptCountsSource()), {},
                [&](const unsigned char* message, const Layout& layout) {
                    const qint64 rows = integerAt(layout[1], message);
                    if (rows < 0)
                        sound = false;
                    if (rows <= 0)
                        return rows < 0;
                    const std::optional<QByteArray> link = ownedBytesAt(layout[0], message);
                    const QString text = vardelo::fb::decodeColumn(layout[0], message).toString();
                    const auto found = link ? ranks.byLink.constFind(*link) : ranks.byLink.constEnd();
                    if (found == ranks.byLink.constEnd()) {
                        parts.push_back({0, {link, text, 0}, rows});
                        return false;
                    }
                    for (const auto& joined : *found)
                        parts.push_back({joined.rank, {link, text, joined.key}, rows});
                    return false;
                },
                &plan_->keptCountsParameters))
            return false;
    } catch (const EDatabaseError&) {
        return false;
    }
    if (!sound)
        return false;
    std::vector<size_t> order(parts.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return parts[a].rank < parts[b].rank; });
    groups_.clear();
    qint64 rows = 0;
    for (const size_t i : order) {
        Part& part = parts[i];
        if (groups_.empty() || groups_.back().rank != part.rank) {
            groups_.emplace_back();
            groups_.back().rank = part.rank;
            groups_.back().first = int(rows);
        }
        groups_.back().rows += int(part.rows);
        groups_.back().parts.push_back(std::move(part.part));
        rows += part.rows;
    }
    placedByGroups_ = true;
    groupedRows_ = int(rows);
    groupRowsRead_ = 0;
    window_.clear();
    base_ = 0;
    count_ = known_ = groupedRows_;
    countKnown_ = endSeen_ = cursorAtEnd_ = true;
    return true;
}

size_t TDataSetCursor::groupOf(int row) const {
    const auto after = std::upper_bound(groups_.begin(), groups_.end(), row,
                                        [](int r, const PlacedGroup& group) { return r < group.first; });
    return size_t(std::max<std::ptrdiff_t>(0, after - groups_.begin() - 1));
}

const TDataSetCursor::Placed& TDataSetCursor::placedAt(int row) const {
    if (!placedByGroups_)
        return placed_[size_t(row)];
    const PlacedGroup& group = groups_[groupOf(row)];
    return group.placed[size_t(row - group.first)];
}

// The rows of a group are its links' driving rows, fetched by their links (fifty to a statement) with their
// keys alone, ordered by key. Where another desk has added or deleted a row of the group since the numbers
// were read, the group keeps its number of rows, so the rows after it keep their places: a row too many
// waits for the list to be opened again, a row too few shows as gone.
void TDataSetCursor::readGroups(int first, int last) {
    if (first >= last || groups_.empty())
        return;
    const size_t from = groupOf(first);
    const size_t to = groupOf(last - 1);
    size_t wanted = 0;
    for (size_t g = from; g <= to; ++g)
        if (!groups_[g].read)
            wanted += size_t(groups_[g].rows);
    if (wanted == 0)
        return;
    // Ten years of tickets in groups read one after another are let go of rather than kept.
    constexpr size_t GroupRowsKept = 200000;
    if (groupRowsRead_ + wanted > GroupRowsKept) {
        for (PlacedGroup& group : groups_) {
            group.read = false;
            std::vector<Placed>().swap(group.placed);
        }
        groupRowsRead_ = 0;
    }
    // Each link to fetch, and the parts of the groups being read that take its rows.
    QHash<QByteArray, std::vector<std::pair<size_t, size_t>>> takers;
    std::vector<std::pair<size_t, size_t>> emptyLinkTakers;
    QStringList texts;
    for (size_t g = from; g <= to; ++g) {
        if (groups_[g].read)
            continue;
        for (size_t p = 0; p < groups_[g].parts.size(); ++p) {
            const auto& part = groups_[g].parts[p];
            if (!part.link) {
                emptyLinkTakers.emplace_back(g, p);
                continue;
            }
            auto& taking = takers[*part.link];
            if (taking.empty())
                texts << part.text;
            taking.emplace_back(g, p);
        }
    }
    const auto& j = *plan_->joinedOrder;
    const auto take = [&](const std::vector<std::pair<size_t, size_t>>& taking, qint64 key) {
        for (const auto& [g, p] : taking)
            groups_[g].placed.push_back({groups_[g].rank, key, groups_[g].parts[p].joinedKey});
    };
    const QString source = QStringLiteral("SELECT %1, %2 FROM (\n%3\n) WHERE %2 ")
                               .arg(j.drivingKey, j.drivingLink, plan_->drivingSql);
    constexpr qsizetype Batch = 50;
    for (qsizetype at = 0; at < texts.size(); at += Batch) {
        std::vector<QVariant> links;
        for (qsizetype i = 0; i < Batch; ++i)
            links.push_back(texts[std::min(at + i, texts.size() - 1)]);
        scanRows(
            source + QStringLiteral("IN (%1)").arg(vardelo::fb::parameterMarks(Batch)), links,
            [&](const unsigned char* message, const Layout& layout) {
                const auto link = bytesAt(layout[1], message);
                const auto found = link ? takers.constFind(*link) : takers.constEnd();
                if (found != takers.constEnd())
                    take(*found, integerAt(layout[0], message));
                return false;
            },
            &plan_->drivingParameters);
    }
    if (!emptyLinkTakers.empty())
        scanRows(
            source + QStringLiteral("IS NULL"), {},
            [&](const unsigned char* message, const Layout& layout) {
                take(emptyLinkTakers, integerAt(layout[0], message));
                return false;
            },
            &plan_->drivingParameters);
    for (size_t g = from; g <= to; ++g) {
        PlacedGroup& group = groups_[g];
        if (group.read)
            continue;
        std::sort(group.placed.begin(), group.placed.end(), [](const Placed& a, const Placed& b) {
            return std::tie(a.drivingKey, a.joinedKey) < std::tie(b.drivingKey, b.joinedKey);
        });
        group.placed.resize(size_t(group.rows), Placed{group.rank, 0, 0});
        group.read = true;
        groupRowsRead_ += size_t(group.rows);
    }
}

void TDataSetCursor::removePlaced(int row) {
    if (!placedByGroups_) {
        placed_.erase(placed_.begin() + row);
        return;
    }
    const size_t g = groupOf(row);
    PlacedGroup& group = groups_[g];
    group.placed.erase(group.placed.begin() + (row - group.first));
    --group.rows;
    for (size_t after = g + 1; after < groups_.size(); ++after)
        --groups_[after].first;
    --groupedRows_;
}

// The rows are read by their driving keys, a batch at a time, and put in their places.
void TDataSetCursor::readPlaced(int first, int rows) {
    const auto& j = *plan_->joinedOrder;
    first = std::clamp(first, 0, std::max(0, placedCount() - 1));
    const int last = std::min(placedCount(), first + std::min(rows, windowSize_));
    readGroups(first, last);
    int drivingKey = -1;
    int joinedKey = -1;
    for (size_t i = 0; i < columns_.size(); ++i) {
        if (columns_[i].name == j.drivingKey.toUpper())
            drivingKey = int(i);
        if (columns_[i].name == j.key.toUpper())
            joinedKey = int(i);
    }
    constexpr int Batch = 50;
    auto statement = prepareSameRows(
        QStringLiteral("SELECT * FROM (\n%1\n) WHERE %2 IN (%3)")
            .arg(countableSql(), quotedName(j.drivingKey.toUpper()), vardelo::fb::parameterMarks(Batch)));
    if (!statement)
        throw EDatabaseError(QStringLiteral("A lista sorai nem olvashatók be."));
    QHash<QPair<qint64, qint64>, std::vector<unsigned char>> read;
    Status status;
    for (int at = first; at < last; at += Batch) {
        std::vector<QVariant> values = parameters_;
        for (int i = 0; i < Batch; ++i)
            values.push_back(QVariant(placedAt(std::min(at + i, last - 1)).drivingKey));
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
        const Placed& place = placedAt(at);
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

int TDataSetCursor::findPlaced(int column, const ColumnTest& test, const QVariant& equalTo,
                               const QString& startsWith) {
    const auto& j = *plan_->joinedOrder;
    if (!drivingHas({column}))
        return -2;
    const QString name = quotedName(columns_[size_t(column)].name);
    QString where;
    std::vector<QVariant> extra;
    if (!startsWith.isEmpty()) {
        where = name + QStringLiteral(" STARTING WITH ?");
        extra.push_back(startsWith);
    } else if (!equalTo.isNull() && columns_[size_t(column)].name == j.drivingKey.toUpper()) {
        const auto number = soughtNumber(columns_[size_t(column)], equalTo);
        if (!number)
            return -1;
        where = name + QStringLiteral(" = ?");
        extra.push_back(QVariant(*number));
    } else {
        return -2;
    }
    // A text that many rows begin with is searched for through the list's rows instead.
    constexpr size_t MostCandidates = 1000;
    struct Candidate {
        qint64 key;
        std::optional<QByteArray> link;
    };
    std::vector<Candidate> candidates;
    bool tooMany = false;
    if (!scanRows(
            QStringLiteral("SELECT %1, %2, %3 FROM (\n%4\n) WHERE %5 ROWS %6")
                .arg(j.drivingKey, j.drivingLink, name, plan_->drivingSql, where)
                .arg(MostCandidates + 1),
            extra,
            [&](const unsigned char* message, const Layout& layout) {
                if (candidates.size() == MostCandidates) {
                    tooMany = true;
                    return true;
                }
                if (test(message, layout[2], nullptr)) {
                    candidates.push_back({integerAt(layout[0], message), ownedBytesAt(layout[1], message)});
                }
                return false;
            },
            &plan_->drivingParameters) ||
        tooMany)
        return -2;
    int best = -1;
    for (const Candidate& candidate : candidates) {
        // The link's rows are in the groups of its joined rows' ranks; those of a link without a joined row
        // are in the group of rank 0.
        std::vector<qint64> ranks{0};
        if (candidate.link)
            if (const auto found = groupRanks_.byLink.constFind(*candidate.link);
                found != groupRanks_.byLink.constEnd()) {
                ranks.clear();
                for (const auto& joined : *found)
                    ranks.push_back(joined.rank);
            }
        for (const qint64 rank : ranks) {
            const auto holding = std::lower_bound(groups_.begin(), groups_.end(), rank,
                                                  [](const PlacedGroup& g, qint64 r) { return g.rank < r; });
            if (holding == groups_.end() || holding->rank != rank || holding->rows == 0)
                continue;
            const size_t g = size_t(holding - groups_.begin());
            readGroups(groups_[g].first, groups_[g].first + 1);
            const PlacedGroup& group = groups_[g];
            const auto at = std::find_if(group.placed.begin(), group.placed.end(),
                                         [&](const Placed& p) { return p.drivingKey == candidate.key; });
            if (at != group.placed.end() && (best < 0 || group.first + int(at - group.placed.begin()) < best))
                best = group.first + int(at - group.placed.begin());
        }
    }
    if (best < 0)
        return -1;
    return ensure(best) && testColumn(window_[size_t(best - base_)], column, test) ? best : -2;
}
