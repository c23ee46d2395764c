#pragma once

#include "data/dataset.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

// A table component: the whole table in the order of its primary key. Writable tables edit, insert and delete
// rows through statements of their own; computed columns are never written.
class TIBTable : public TDataSet {
    Q_OBJECT
public:
    TIBTable(const QString& name, TConnection* connection, TTransaction* transaction,
             QObject* parent = nullptr);

    QString TableName;
    bool ReadOnly = true;

    void Edit();
    void Insert();
    void Append() { Insert(); }
    // Writes the pending edit or insert; raises EDatabaseError and stays in its state when the write fails.
    void Post();
    void Cancel();
    void Delete();
    // Re-reads the rows and keeps the current row by its key where it still exists.
    void Refresh();

    // The primary-key column (ID_<table>).
    QString KeyField() const;

    // An edit or insert not posted yet, kept across closing and opening the table again (a lost connection).
    struct PendingEdit {
        TDataSetState state = TDataSetState::Browse;
        std::vector<QVariant> buffer;
        std::vector<bool> modified;
    };
    std::optional<PendingEdit> TakePendingEdit() const;
    // Puts the table back into the edit or insert with the values typed; the current row is the one edited.
    void RestorePendingEdit(const PendingEdit& edit);

    void SetFieldValue(int fieldIndex, const QVariant& value) override;
    QVariant CurrentValue(int fieldIndex) const override;

protected:
    QString SelectStatement() const override;
    std::shared_ptr<const TListPlan> ListPlan() const override;
    void FieldsCreated() override;
    void BeforeClose() override;
    void CheckBrowseMode() override;

private:
    void checkWritable() const;
    // Runs a write inside a savepoint that undoes it alone when it fails.
    void inSavepoint(const std::function<void()>& write);
    std::vector<QVariant> readRowByKey(const QVariant& key);
    std::vector<QVariant> buffer_;
    std::vector<bool> modified_;
};
