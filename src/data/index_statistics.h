#pragma once

#include <QStringList>

class TConnection;
class TTransaction;

namespace vardelo {

// Firebird keeps each index's selectivity as measured when the index was made (on the empty tables of a new
// database) or last measured on request, and plans every join by those figures. With the figures of an empty
// table it pairs the ticket number index with a whole date range for each ticket line of a period selection,
// which then takes hours on a database of a few years.
//
// Measures again the indexes of the given tables (upper-case names, each with its GEN_<table>_ID generator)
// whose figures were never taken on rows, or were taken when the table had less than half the rows its
// generator has handed out since. Returns the indexes measured. A database error (a user without the right to
// alter the tables, above all) is logged and leaves the figures as they are: the selections still run.
QStringList refreshIndexStatistics(TConnection* connection, TTransaction* transaction,
                                   const QStringList& tables);

// The tables that the period selections of the lists and checks join.
QStringList ticketTables();

} // namespace vardelo
