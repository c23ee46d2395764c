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
// Shows a number in a box whole: the box widens to hold it (its layout makes room), so that a large amount is
// never cut at the left and never reads as a different one.
void setNumberText(QLineEdit* edit, const QString& text);
// A button that Enter does not press.
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);

} // namespace vardelo
