#include "data/logging.h"

Q_LOGGING_CATEGORY(lcData, "vardelo.data")
Q_LOGGING_CATEGORY(lcWidgets, "vardelo.widgets")
Q_LOGGING_CATEGORY(lcReports, "vardelo.reports")
Q_LOGGING_CATEGORY(lcMasterdata, "vardelo.masterdata")
Q_LOGGING_CATEGORY(lcTickets, "vardelo.tickets")
Q_LOGGING_CATEGORY(lcReturns, "vardelo.returns")
Q_LOGGING_CATEGORY(lcLists, "vardelo.lists")
Q_LOGGING_CATEGORY(lcExchange, "vardelo.exchange")
Q_LOGGING_CATEGORY(lcJournal, "vardelo.journal")
Q_LOGGING_CATEGORY(lcShell, "vardelo.shell")
