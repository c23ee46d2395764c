#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

class QDateEdit;
class QHBoxLayout;
class QWidget;

namespace vardelo {

// The one date field of the windows: a date picker showing "yyyy.MM.dd." with a drop-down calendar.
QDateEdit* makeDatePicker(const QString& name, const QDate& date, QWidget* parent);

// The period row of the windows: "<caption> [from] -tól  [to] -ig", left-aligned. The three labels take the
// names given (caption, "-tól", "-ig") where a window names them.
QHBoxLayout* makeDateRangeRow(const QString& caption, QDateEdit* from, QDateEdit* to, QWidget* parent,
                              const QStringList& labelNames = {});

} // namespace vardelo
