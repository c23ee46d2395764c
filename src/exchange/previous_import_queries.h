#pragma once

#include <QStringList>

// The statements of the import from the previous version, each with its parameters :p1, :p2, ... in column
// order.
namespace vardelo::previous {

// Through ZQ30.
QStringList producerInsert();
// Through ZQ40.
QStringList animalInsert();
// Through ZQ60: the purchaser table is emptied before the purchasers of the file go in.
QStringList purchaserDelete();
QStringList purchaserInsert();

} // namespace vardelo::previous
