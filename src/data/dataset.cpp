#include "data/dataset.h"

#include "data/connection.h"
#include "data/database_error.h"
#include "data/dataset_cursor.h"
#include "data/transaction.h"

#include "data/text_files.h"

#include <climits>
#include <cstring>
#include <optional>

using namespace Firebird;

namespace {

TFieldType fieldTypeOf(const vardelo::fb::ColumnLayout& c) {
    switch (c.type) {
    case SQL_VARYING:
    case SQL_TEXT:
        return TFieldType::String;
    case SQL_SHORT:
    case SQL_LONG:
        return c.scale < 0 ? TFieldType::Decimal : TFieldType::Integer;
    case SQL_INT64:
        return c.scale < 0 ? TFieldType::Decimal : TFieldType::LargeInt;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return TFieldType::Float;
    case SQL_TYPE_DATE:
        return TFieldType::Date;
    case SQL_TYPE_TIME:
        return TFieldType::Time;
    case SQL_TIMESTAMP:
        return TFieldType::DateTime;
    case SQL_BOOLEAN:
        return TFieldType::Boolean;
    default:
        return TFieldType::Blob;
    }
}

} // namespace

TDataSet::TDataSet(const QString& name, TConnection* connection, TTransaction* transaction, QObject* parent)
    : QObject(parent), connection_(connection), transaction_(transaction) {
    setObjectName(name);
}

TDataSet::~TDataSet() {
    if (transaction_)
        transaction_->detach(this);
}

void TDataSet::Open() {
    if (Active())
        return;
    if (!connection_ || !connection_->Connected())
        throw EDatabaseError(QStringLiteral("Nincs kapcsolat az adatbázissal."));
    if (!transaction_->Active())
        transaction_->StartTransaction();
    cursor_ =
        std::make_unique<TDataSetCursor>(connection_->Attachment(), transaction_->Handle(), SelectStatement(),
                                         SelectParameters(), windowSize_, ListPlan());
    // Keep the field objects (and the titles a screen gave them) when the columns are the same as before.
    const auto& columns = cursor_->columns();
    bool same = fields_.size() == columns.size();
    for (size_t i = 0; same && i < columns.size(); ++i)
        same =
            fields_[i]->FieldName() == columns[i].name && fields_[i]->DataType() == fieldTypeOf(columns[i]);
    if (!same) {
        fields_.clear();
        for (size_t i = 0; i < columns.size(); ++i) {
            const auto& c = columns[i];
            fields_.push_back(std::make_unique<TField>(this, int(i), c.name, fieldTypeOf(c), int(c.length),
                                                       -c.scale, false));
        }
    }
    transaction_->attach(this);
    state_ = TDataSetState::Browse;
    try {
        FieldsCreated();
        ensureFetched(0);
    } catch (...) {
        transaction_->detach(this);
        cursor_.reset();
        state_ = TDataSetState::Inactive;
        throw;
    }
    current_ = 0;
    bof_ = true;
    eof_ = cursor_->rowCount() == 0;
    emit stateChanged();
    emit rowsReset();
    emit currentChanged();
}

void TDataSet::Close() {
    if (!Active())
        return;
    BeforeClose();
    transaction_->detach(this);
    cursor_.reset();
    current_ = 0;
    bof_ = eof_ = true;
    state_ = TDataSetState::Inactive;
    emit stateChanged();
    emit rowsReset();
}

void TDataSet::closeForTransactionEnd() {
    Close();
}

void TDataSet::SetActive(bool active) {
    if (active)
        Open();
    else
        Close();
}

void TDataSet::setState(TDataSetState state) {
    if (state_ == state)
        return;
    state_ = state;
    emit stateChanged();
}

bool TDataSet::ensureFetched(int index) {
    if (!cursor_ || index < 0)
        return false;
    const int before = cursor_->rowCount();
    const bool there = cursor_->ensure(index);
    if (cursor_->rowCount() > before)
        emit rowsFetched(before, cursor_->rowCount() - 1);
    return there;
}

int TDataSet::DefaultWindowSize = 20000;

void TDataSet::SetWindowSize(int rows) {
    windowSize_ = std::max(2, rows);
}

bool TDataSet::IsEmpty() const {
    return !cursor_ || cursor_->rowCount() == 0;
}

int TDataSet::RecNo() const {
    return IsEmpty() ? 0 : current_ + 1;
}

void TDataSet::moveTo(int index) {
    if (!Active() || IsEmpty())
        return;
    CheckBrowseMode();
    if (!ensureFetched(index))
        index = cursor_->rowCount() - 1;
    if (index < 0)
        index = 0;
    const bool moved = index != current_;
    current_ = index;
    bof_ = eof_ = false;
    if (moved)
        emit currentChanged();
}

void TDataSet::SetRecNo(int recNo) {
    moveTo(recNo - 1);
}

void TDataSet::First() {
    if (!Active())
        return;
    CheckBrowseMode();
    const bool moved = current_ != 0;
    current_ = 0;
    bof_ = true;
    eof_ = IsEmpty();
    if (moved)
        emit currentChanged();
}

void TDataSet::Next() {
    if (!Active())
        return;
    CheckBrowseMode();
    if (ensureFetched(current_ + 1)) {
        ++current_;
        bof_ = eof_ = false;
        emit currentChanged();
    } else {
        eof_ = true;
        bof_ = IsEmpty();
        emit currentChanged(); // no move, but Eof changed: controls follow it
    }
}

void TDataSet::Prior() {
    if (!Active())
        return;
    CheckBrowseMode();
    if (current_ > 0) {
        --current_;
        bof_ = eof_ = false;
        emit currentChanged();
    } else {
        bof_ = true;
        eof_ = IsEmpty();
        emit currentChanged(); // no move, but Bof changed
    }
}

void TDataSet::Last() {
    if (!Active())
        return;
    CheckBrowseMode();
    const int before = cursor_->rowCount();
    cursor_->readToEnd();
    if (cursor_->rowCount() > before)
        emit rowsFetched(before, cursor_->rowCount() - 1);
    if (!IsEmpty())
        ensureFetched(cursor_->rowCount() - 1);
    const int last = IsEmpty() ? 0 : cursor_->rowCount() - 1;
    const bool moved = last != current_;
    current_ = last;
    eof_ = true;
    bof_ = IsEmpty();
    if (moved)
        emit currentChanged();
}

int TDataSet::MoveBy(int distance) {
    int moved = 0;
    for (; distance > 0 && !Eof(); --distance) {
        const int before = current_;
        Next();
        if (current_ != before)
            ++moved;
    }
    for (; distance < 0 && !Bof(); ++distance) {
        const int before = current_;
        Prior();
        if (current_ != before)
            --moved;
    }
    return moved;
}

int TDataSet::RecordCount() {
    if (!Active())
        return 0;
    const int before = cursor_->rowCount();
    const int count = cursor_->count();
    // Grids now know every row, read or not.
    if (cursor_->rowCount() > before)
        emit rowsFetched(before, cursor_->rowCount() - 1);
    return count;
}

TField* TDataSet::FindField(const QString& name) {
    for (auto& f : fields_)
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    return nullptr;
}

TField& TDataSet::FieldByName(const QString& name) {
    if (TField* f = FindField(name))
        return *f;
    throw EDatabaseError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), name));
}

namespace {

// Case folding of the single-byte text the cursor holds, byte by byte. A letter whose folded form is not one
// byte of the same code page (µ folds to the Greek μ) is marked: a row holding one is compared decoded.
struct Win1250Folding {
    unsigned char folded[256];
    bool decode[256];
};

const Win1250Folding& win1250Folding() {
    static const Win1250Folding table = [] {
        Win1250Folding t{};
        for (int b = 0; b < 256; ++b) {
            t.folded[b] = static_cast<unsigned char>(b);
            const QString text = vardelo::decodeWin1250(QByteArray(1, char(b)));
            const QString folded = text.toCaseFolded();
            if (folded == text)
                continue;
            const auto bytes = vardelo::encodeWin1250(folded);
            if (bytes && bytes->size() == 1)
                t.folded[b] = static_cast<unsigned char>(bytes->at(0));
            else
                t.decode[b] = true;
        }
        return t;
    }();
    return table;
}

// The leading characters of a text that have no case (digits, signs), without trailing blanks: every text
// matching it case-insensitively begins with exactly these.
QString caselessLead(const QString& text) {
    QString lead;
    for (const QChar c : text) {
        if (c.isLetter() || c.toCaseFolded() != c || c.toUpper() != c)
            break;
        lead += c;
    }
    while (lead.endsWith(QLatin1Char(' ')))
        lead.chop(1);
    return lead;
}

} // namespace

bool TDataSet::Locate(const QString& fieldName, const QVariant& value, TLocateOptions options) {
    if (!Active())
        return false;
    const int column = FieldByName(fieldName).Index();
    CheckBrowseMode();
    const bool caseInsensitive = options & loCaseInsensitive;
    const bool partial = options & loPartialKey;
    QString wanted = fieldValueText(value);
    if (caseInsensitive)
        wanted = wanted.toCaseFolded();
    auto matchesText = [&](QString text) {
        if (caseInsensitive)
            text = text.toCaseFolded();
        return partial ? text.startsWith(wanted) : text == wanted;
    };
    const auto& columnLayout = cursor_->columns().at(size_t(column));
    const bool textColumn = columnLayout.type == SQL_VARYING || columnLayout.type == SQL_TEXT;
    const std::optional<QByteArray> wantedBytes =
        textColumn ? vardelo::encodeWin1250(wanted) : std::optional<QByteArray>();
    const int before = cursor_->rowCount();
    int found = -1;
    if (textColumn && !wantedBytes && !caseInsensitive) {
        // The value has a character the rows' code page cannot hold: no row can match.
    } else if (wantedBytes && size_t(wantedBytes->size()) > columnLayout.length) {
        // Longer than any value the column holds: no row can match (nor could the server be asked).
    } else if (wantedBytes) {
        // Text columns are compared in the fetched bytes, without decoding every row.
        const auto& folding = win1250Folding();
        const auto* want = reinterpret_cast<const unsigned char*>(wantedBytes->constData());
        const auto wantLength = size_t(wantedBytes->size());
        found = cursor_->findInColumn(
            column,
            [&](const unsigned char* message, const vardelo::fb::ColumnLayout& layout,
                const QVariant* decoded) {
                if (!message)
                    return matchesText(fieldValueText(*decoded));
                if (*reinterpret_cast<const short*>(message + layout.nullOffset) == -1)
                    return wantLength == 0;
                const unsigned char* data = message + layout.offset;
                size_t length = layout.length;
                if (layout.type == SQL_VARYING) {
                    length = *reinterpret_cast<const unsigned short*>(data);
                    data += 2;
                }
                if (caseInsensitive)
                    for (size_t i = 0; i < length; ++i)
                        if (folding.decode[data[i]])
                            return matchesText(fieldValueText(vardelo::fb::decodeColumn(layout, message)));
                if (partial ? length < wantLength : length != wantLength)
                    return false;
                if (caseInsensitive) {
                    for (size_t i = 0; i < wantLength; ++i)
                        if (folding.folded[data[i]] != want[i])
                            return false;
                    return true;
                }
                return std::memcmp(data, want, wantLength) == 0;
            },
            QVariant(), caselessLead(wanted));
    } else {
        // An exact value may be found by its place in a list ordered by it.
        const QVariant equalTo = caseInsensitive || partial || wanted.isEmpty() ? QVariant() : value;
        found = cursor_->findInColumn(
            column,
            [&](const unsigned char* message, const vardelo::fb::ColumnLayout& layout,
                const QVariant* decoded) {
                return matchesText(
                    fieldValueText(message ? vardelo::fb::decodeColumn(layout, message) : *decoded));
            },
            equalTo);
    }
    if (cursor_->rowCount() > before)
        emit rowsFetched(before, cursor_->rowCount() - 1);
    if (found < 0)
        return false;
    const bool moved = found != current_;
    current_ = found;
    bof_ = eof_ = false;
    if (moved)
        emit currentChanged();
    return true;
}

int TDataSet::FetchedCount() const {
    return cursor_ ? cursor_->rowCount() : 0;
}
bool TDataSet::AllFetched() const {
    return !cursor_ || cursor_->exhausted();
}

int TDataSet::FetchMore(int count) {
    if (!cursor_ || count <= 0)
        return 0;
    const int before = cursor_->rowCount();
    ensureFetched(before + count - 1);
    return cursor_->rowCount() - before;
}

QVariant TDataSet::ValueAt(int row, int fieldIndex) const {
    return cursor_ ? cursor_->value(row, fieldIndex) : QVariant();
}

const unsigned char* TDataSet::MessageAt(int row) const {
    return cursor_ ? cursor_->message(row) : nullptr;
}

const std::vector<vardelo::fb::ColumnLayout>& TDataSet::ColumnLayouts() const {
    static const std::vector<vardelo::fb::ColumnLayout> none;
    return cursor_ ? cursor_->columns() : none;
}

QVariant TDataSet::CurrentValue(int fieldIndex) const {
    if (IsEmpty())
        return QVariant();
    return cursor_->value(current_, fieldIndex);
}

void TDataSet::SetFieldValue(int, const QVariant&) {
    throw EDatabaseError(QStringLiteral("%1: Dataset not in edit or insert mode").arg(objectName()));
}

void TDataSet::replaceRow(int index, const std::vector<QVariant>& values) {
    cursor_->replaceRow(index, values);
    emit rowsReset();
}

void TDataSet::removeRow(int index) {
    cursor_->removeRow(index);
    if (!cursor_->ensure(current_))
        current_ = std::max(0, cursor_->rowCount() - 1);
    eof_ = bof_ = IsEmpty();
    emit rowsReset();
    emit currentChanged();
}

void TDataSet::reopenCursor() {
    cursor_ =
        std::make_unique<TDataSetCursor>(connection_->Attachment(), transaction_->Handle(), SelectStatement(),
                                         SelectParameters(), windowSize_, ListPlan());
    current_ = 0;
    cursor_->ensure(0);
    bof_ = true;
    eof_ = IsEmpty();
}

TDataSource::TDataSource(const QString& name, TDataSet* dataSet, QObject* parent)
    : QObject(parent), dataSet_(dataSet) {
    setObjectName(name);
}

void TDataSource::SetDataSet(TDataSet* dataSet) {
    if (dataSet_ == dataSet)
        return;
    dataSet_ = dataSet;
    emit dataSetChanged();
}
