#pragma once

#include <QString>

class QGroupBox;
class QWidget;
class TDataSource;

namespace vardelo::tickets {

// The whole row of a producer under the captions of the producer register, in two columns, bound to a
// producer list (the ticket entry's ZQ31, the browser's ZQ30).
QGroupBox* producerDetails(TDataSource* source, const QString& title, QWidget* parent);

} // namespace vardelo::tickets
