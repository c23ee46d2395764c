#pragma once

#include "data/database_error.h"

#include <QLineEdit>
#include <QString>

class TDataLink;
class TDataSource;
class TField;

// An edit field bound to one field of the current row. It shows the value of the row (or of the edit buffer
// while the table is being edited). On a writable table typing puts the table into edit state and writes
// every change into the edit buffer; the screen posts or cancels. It is read-only on a query, on a read-only
// table, on a computed column, when its own read-only flag is set, and while the dataset is closed or lacks
// the field.
//
// Text that the field cannot hold (letters in a number) is not written; dataError reports it when the clerk
// leaves the field.
class TDBEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit TDBEdit(QWidget* parent = nullptr);
    TDBEdit(TDataSource* source, const QString& fieldName, QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;
    void SetDataField(const QString& fieldName);
    const QString& DataField() const { return fieldName_; }

    // The control's own read-only flag; the effective state also depends on the dataset.
    void SetReadOnly(bool readOnly);
    bool ReadOnly() const { return readOnly_; }
    bool CanWrite() const;

signals:
    void dataError(const EDatabaseError& error);

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void refresh();
    void typed(const QString& text);

    TDataLink* link_;
    QString fieldName_;
    bool readOnly_ = false;
    bool writing_ = false;
    // What the clerk typed could not be written into the edit buffer.
    bool invalid_ = false;
};
