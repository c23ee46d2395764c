#pragma once

#include <QComboBox>
#include <QString>

class TDataLink;
class TDataSet;
class TDataSource;

// A drop-down list of one field of every row of a dataset (its list source), in the dataset's order. Choosing
// an entry, with the mouse or by stepping with the cursor keys, positions the dataset on the first row
// holding that value; the shown entry follows the dataset's current row.
//
// closeUp is emitted after the list has closed (and the choice, if any, has been made); exited when the focus
// leaves the control for another one.
class TDBLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDBLookupComboBox(QWidget* parent = nullptr);

    void SetListSource(TDataSource* source);
    TDataSource* ListSource() const;
    TDataSet* ListDataSet() const;
    void SetListField(const QString& fieldName);
    const QString& ListField() const { return listField_; }

    // Chooses the entry at the index as the clerk would; false for an index out of range.
    bool ChooseIndex(int index);
    // Chooses the entry showing this text; false when the list has no such entry.
    bool ChooseText(const QString& text);

    void hidePopup() override;

signals:
    void closeUp();
    void exited();

protected:
    void focusOutEvent(QFocusEvent* event) override;

private:
    void reload();
    void followDataSet();
    void chosen(int index);

    TDataLink* link_;
    QString listField_;
    bool following_ = false;
};
