#include "data/table.h"

#include "data/connection.h"
#include "data/database_error.h"
#include "data/dataset_cursor.h"
#include "data/firebird_api.h"
#include "data/list_plan.h"
#include "data/row_check.h"
#include "data/transaction.h"

#include <climits>

TIBTable::TIBTable(const QString& name, TConnection* connection, TTransaction* transaction, QObject* parent)
    : TDataSet(name, connection, transaction, parent) {}

QString TIBTable::KeyField() const {
    return QStringLiteral("ID_") + TableName.trimmed().toUpper();
}

QString TIBTable::SelectStatement() const {
    return QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(TableName.trimmed().toUpper(), KeyField());
}

// In the order of its key, the table reads its last rows by the reversed order and its rows around a row
// from that row's key.
std::shared_ptr<const TListPlan> TIBTable::ListPlan() const {
    static const auto byKey = [] {
        auto plan = std::make_shared<TListPlan>();
        plan->totalOrder = true;
        return plan;
    }();
    return byKey;
}

void TIBTable::FieldsCreated() {
    // Computed columns are shown but never written.
    const auto rows = vardelo::fb::executeRows(
        Connection()->Attachment(), Transaction()->Handle(),
        QStringLiteral("SELECT TRIM(rf.RDB$FIELD_NAME) FROM RDB$RELATION_FIELDS rf "
                       "JOIN RDB$FIELDS f ON f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE "
                       "WHERE rf.RDB$RELATION_NAME = ? AND f.RDB$COMPUTED_BLR IS NOT NULL"),
        {TableName.trimmed().toUpper()});
    for (auto& f : fields_) {
        bool computed = false;
        for (const auto& r : rows)
            computed = computed || r.at(0).toString() == f->FieldName();
        f->SetComputed(computed);
    }
}

void TIBTable::checkWritable() const {
    if (!Active())
        throw EDatabaseError(
            QStringLiteral("%1: Cannot perform this operation on a closed dataset").arg(objectName()));
    if (ReadOnly)
        throw EDatabaseError(QStringLiteral("%1: Cannot modify a read-only dataset").arg(objectName()));
}

void TIBTable::Edit() {
    checkWritable();
    if (State() == TDataSetState::Edit || State() == TDataSetState::Insert)
        return;
    if (IsEmpty()) {
        Insert();
        return;
    }
    buffer_.clear();
    for (int i = 0; i < FieldCount(); ++i)
        buffer_.push_back(TDataSet::CurrentValue(i));
    modified_.assign(buffer_.size(), false);
    setState(TDataSetState::Edit);
    emit currentChanged();
}

void TIBTable::Insert() {
    checkWritable();
    CheckBrowseMode();
    buffer_.assign(FieldCount(), QVariant());
    modified_.assign(buffer_.size(), false);
    setState(TDataSetState::Insert);
    emit currentChanged();
}

QVariant TIBTable::CurrentValue(int fieldIndex) const {
    if ((State() == TDataSetState::Edit || State() == TDataSetState::Insert) && fieldIndex >= 0 &&
        fieldIndex < int(buffer_.size()))
        return buffer_[fieldIndex];
    return TDataSet::CurrentValue(fieldIndex);
}

void TIBTable::SetFieldValue(int fieldIndex, const QVariant& value) {
    if (State() == TDataSetState::Browse)
        Edit();
    if (State() != TDataSetState::Edit && State() != TDataSetState::Insert)
        TDataSet::SetFieldValue(fieldIndex, value);
    if (fields_.at(fieldIndex)->Computed())
        throw EDatabaseError(QStringLiteral("%1: Field '%2' cannot be modified")
                                 .arg(objectName(), fields_[fieldIndex]->FieldName()));
    buffer_.at(fieldIndex) = value;
    modified_.at(fieldIndex) = true;
}

std::vector<QVariant> TIBTable::readRowByKey(const QVariant& key) {
    return vardelo::fb::executeSingle(
        Connection()->Attachment(), Transaction()->Handle(),
        QStringLiteral("SELECT * FROM %1 WHERE %2 = ?").arg(TableName.trimmed().toUpper(), KeyField()),
        {key});
}

void TIBTable::Post() {
    if (State() != TDataSetState::Edit && State() != TDataSetState::Insert)
        return;
    checkWritable();
    if (!Transaction()->Active())
        Transaction()->StartTransaction();
    const QString table = TableName.trimmed().toUpper();
    QStringList columns;
    std::vector<QVariant> values;
    for (int i = 0; i < FieldCount(); ++i)
        if (modified_[i] && !fields_[i]->Computed()) {
            columns << fields_[i]->FieldName();
            values.push_back(buffer_[i]);
        }
    const TField* key = FindField(KeyField());
    if (!key)
        throw EDatabaseError(QStringLiteral("%1: Field '%2' not found").arg(objectName(), KeyField()));
    const int keyIndex = key->Index();
    if (State() == TDataSetState::Edit) {
        const QVariant oldKey = TDataSet::CurrentValue(keyIndex);
        if (!columns.isEmpty()) {
            QStringList sets;
            for (const QString& c : columns)
                sets << c + QStringLiteral(" = ?");
            values.push_back(oldKey);
            inSavepoint([&] {
                // Another desk's change to the row since it was read is refused, never overwritten.
                vardelo::checkRowUnchanged(Transaction(), vardelo::rowAsRead(*this, table));
                unsigned changed = 0;
                try {
                    vardelo::fb::executeRows(Connection()->Attachment(), Transaction()->Handle(),
                                             QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                                                 .arg(table, sets.join(QStringLiteral(", ")), KeyField()),
                                             values, &changed);
                } catch (EDatabaseError& error) {
                    vardelo::fb::nameFailedValue(error, columns);
                    throw;
                }
                vardelo::requireRowChanged(int(changed));
            });
        }
        const QVariant newKey = modified_[keyIndex] ? buffer_[keyIndex] : oldKey;
        auto row = readRowByKey(newKey);
        buffer_.clear();
        modified_.clear();
        setState(TDataSetState::Browse);
        if (!row.empty())
            replaceRow(current_, row);
    } else {
        const QString sql =
            columns.isEmpty()
                ? QStringLiteral("INSERT INTO %1 DEFAULT VALUES RETURNING %2").arg(table, KeyField())
                : QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) RETURNING %4")
                      .arg(table, columns.join(QStringLiteral(", ")),
                           vardelo::fb::parameterMarks(columns.size()), KeyField());
        std::vector<QVariant> returned;
        try {
            returned =
                vardelo::fb::executeSingle(Connection()->Attachment(), Transaction()->Handle(), sql, values);
        } catch (EDatabaseError& error) {
            vardelo::fb::nameFailedValue(error, columns);
            throw;
        }
        auto row = readRowByKey(returned.empty() ? QVariant() : returned.front());
        buffer_.clear();
        modified_.clear();
        setState(TDataSetState::Browse);
        if (!row.empty()) {
            // Run the statement again, which brings the new row where its key puts it, and find it there.
            // Rows counted a moment ago are one more now: a key past every other is then found at the end
            // without counting them again.
            const int counted = cursor_->exhausted() ? cursor_->rowCount() : -1;
            reopenCursor();
            if (counted >= 0)
                cursor_->assumeCount(counted + 1);
            const QVariant& newKey = row[size_t(keyIndex)];
            const QString keyText = fieldValueText(newKey);
            int found = cursor_->findInColumn(
                keyIndex,
                [&](const unsigned char* message, const vardelo::fb::ColumnLayout& layout,
                    const QVariant* decoded) {
                    const QVariant rowKey = message ? vardelo::fb::decodeColumn(layout, message) : *decoded;
                    return rowKey == newKey ||
                           (rowKey.typeId() != newKey.typeId() && fieldValueText(rowKey) == keyText);
                },
                newKey);
            if (found < 0)
                found = 0;
            emit rowsReset();
            moveTo(found);
        }
    }
    emit currentChanged();
}

void TIBTable::Cancel() {
    if (State() != TDataSetState::Edit && State() != TDataSetState::Insert)
        return;
    buffer_.clear();
    modified_.clear();
    setState(TDataSetState::Browse);
    emit currentChanged();
}

void TIBTable::Delete() {
    checkWritable();
    if (State() == TDataSetState::Insert) {
        Cancel();
        return;
    }
    Cancel();
    if (IsEmpty())
        throw EDatabaseError(
            QStringLiteral("%1: Cannot perform this operation on an empty dataset").arg(objectName()));
    if (!Transaction()->Active())
        Transaction()->StartTransaction();
    const QVariant key = TDataSet::CurrentValue(FieldByName(KeyField()).Index());
    inSavepoint([&] {
        vardelo::checkRowUnchanged(Transaction(), vardelo::rowAsRead(*this, TableName));
        unsigned deleted = 0;
        vardelo::fb::executeRows(
            Connection()->Attachment(), Transaction()->Handle(),
            QStringLiteral("DELETE FROM %1 WHERE %2 = ?").arg(TableName.trimmed().toUpper(), KeyField()),
            {key}, &deleted);
        vardelo::requireRowChanged(int(deleted));
    });
    removeRow(current_);
}

void TIBTable::Refresh() {
    if (!Active())
        return;
    CheckBrowseMode();
    const TField* key = FindField(KeyField());
    const QVariant keyValue = key ? key->Value() : QVariant();
    Close();
    Open();
    if (!keyValue.isNull())
        Locate(KeyField(), keyValue, 0);
}

void TIBTable::inSavepoint(const std::function<void()>& write) {
    const QString savepoint = QStringLiteral("VARDELO_POST");
    Transaction()->Savepoint(savepoint);
    try {
        write();
    } catch (const EDatabaseError& error) {
        // A refused write lets go of the row it checked; what else the transaction holds stays.
        if (!vardelo::isLostConnection(error)) {
            try {
                Transaction()->RollbackToSavepoint(savepoint);
            } catch (const EDatabaseError&) {
            }
        }
        throw;
    }
}

std::optional<TIBTable::PendingEdit> TIBTable::TakePendingEdit() const {
    if (State() != TDataSetState::Edit && State() != TDataSetState::Insert)
        return std::nullopt;
    return PendingEdit{State(), buffer_, modified_};
}

void TIBTable::RestorePendingEdit(const PendingEdit& edit) {
    if (edit.state == TDataSetState::Insert)
        Insert();
    else
        Edit();
    if (edit.buffer.size() != buffer_.size())
        return;
    for (size_t i = 0; i < buffer_.size(); ++i)
        if (edit.modified[i]) {
            buffer_[i] = edit.buffer[i];
            modified_[i] = true;
        }
    emit currentChanged();
}

void TIBTable::CheckBrowseMode() {
    if (State() == TDataSetState::Edit || State() == TDataSetState::Insert)
        Post();
}

void TIBTable::BeforeClose() {
    buffer_.clear();
    modified_.clear();
}
