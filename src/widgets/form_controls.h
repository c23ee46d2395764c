#pragma once

#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;

// Controls of the entry and list windows, named for their component.
namespace vardelo {

// An edit field wide enough for the given number of digits.
QLineEdit* makeEdit(const QString& name, QWidget* parent, int characters);
// A read-only field, greyed, that the focus passes by.
QLineEdit* makeReadOnlyEdit(const QString& name, QWidget* parent, int characters);
// A button that Enter does not press.
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);

} // namespace vardelo
