#pragma once

#include <QString>

class QLineEdit;
class QPushButton;
class QWidget;
class TDBGrid;

// Controls of the entry and list windows, named for their component.
namespace vardelo {

// An edit field wide enough for the given number of digits.
QLineEdit* makeEdit(const QString& name, QWidget* parent, int characters);
// A read-only field, greyed, that the focus passes by.
QLineEdit* makeReadOnlyEdit(const QString& name, QWidget* parent, int characters);
// A button that Enter does not press.
QPushButton* makeButton(const QString& name, const QString& caption, QWidget* parent);

// Gives the grid's first column, the ticket number, the width of eight digits; it keeps it when the list is
// opened again.
void fitTicketNumberColumn(TDBGrid* grid);

} // namespace vardelo
