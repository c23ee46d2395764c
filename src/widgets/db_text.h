#pragma once

#include <QLabel>
#include <QString>

class TDataLink;
class TDataSource;

class TField;

namespace vardelo {
// The longest text column that holds a code or a number (a bank account's 24 digits, a ticket number, a tax
// number) rather than words.
inline constexpr int LongestCodeCharacters = 26;
// Whether the field's values are shown whole, never cut to make room: a code, a number or a date, not words.
bool shownWhole(const TField& field);
} // namespace vardelo

// A label showing one field of the data source's current row, in the program's text for the value (numbers
// with the decimal comma, dates as "yyyy.MM.dd."). Empty while the dataset is closed or empty, or has no such
// field. A text wider than the room it is given ends in "…" and shows whole in its tooltip: a long remark or
// name does not widen its window past the screen. A code, a number or a date always has room for its whole
// value.
class TDBText : public QLabel {
    Q_OBJECT
public:
    explicit TDBText(QWidget* parent = nullptr);
    TDBText(TDataSource* source, const QString& fieldName, QWidget* parent = nullptr);

    void SetDataSource(TDataSource* source);
    TDataSource* DataSource() const;
    void SetDataField(const QString& fieldName);
    const QString& DataField() const { return fieldName_; }

    QSize minimumSizeHint() const override;
    // The narrowest a long text is shown, in average letters.
    void setLeastCharacters(int characters);
    // A name, a town or a short remark whole; only a longer text is cut with "…".
    static constexpr int DefaultLeastCharacters = 30;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void refresh();
    bool fits() const;
    void updateToolTip();

    TDataLink* link_;
    QString fieldName_;
    int leastCharacters_ = DefaultLeastCharacters;
};
