#pragma once

#include <QLabel>
#include <QString>

class TDataLink;
class TDataSource;

// A label showing one field of the data source's current row, in the program's text for the value (numbers
// with the decimal comma, dates as "yyyy.MM.dd."). Empty while the dataset is closed or empty, or has no such
// field.
class TDBText : public QLabel {
    Q_OBJECT
public:
    explicit TDBText(QWidget* parent = nullptr);
    TDBText(TDataSource* source, const QString& fieldName, QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;
    void SetDataField(const QString& fieldName);
    const QString& DataField() const { return fieldName_; }

private:
    void refresh();

    TDataLink* link_;
    QString fieldName_;
};
