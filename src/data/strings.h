#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// The SQL text of a query, added line by line.
class TStrings {
public:
    void Clear();
    void Add(const QString& line);
    void SetText(const QString& text);
    QString Text() const;
    int Count() const { return int(lines_.size()); }
    const QString& operator[](int i) const { return lines_[i]; }
    const QStringList& Lines() const { return lines_; }

    // Called after every change; a query closes itself when its text changes.
    void SetOnChange(std::function<void()> onChange) { onChange_ = std::move(onChange); }

private:
    void changed();
    QStringList lines_;
    std::function<void()> onChange_;
};
