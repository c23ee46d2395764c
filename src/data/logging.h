#pragma once

#include <QLoggingCategory>

// One logging category for each layer of the program. A caught database error is logged with the engine's
// message and code in the category of the layer that caught it.
Q_DECLARE_LOGGING_CATEGORY(lcData)
Q_DECLARE_LOGGING_CATEGORY(lcWidgets)
Q_DECLARE_LOGGING_CATEGORY(lcReports)
Q_DECLARE_LOGGING_CATEGORY(lcMasterdata)
Q_DECLARE_LOGGING_CATEGORY(lcTickets)
Q_DECLARE_LOGGING_CATEGORY(lcReturns)
Q_DECLARE_LOGGING_CATEGORY(lcLists)
Q_DECLARE_LOGGING_CATEGORY(lcExchange)
Q_DECLARE_LOGGING_CATEGORY(lcJournal)
Q_DECLARE_LOGGING_CATEGORY(lcShell)
