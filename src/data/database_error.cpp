#include "data/database_error.h"

EDatabaseError::EDatabaseError(const QString& message, long errorCode, int sqlCode)
    : std::runtime_error(message.toStdString()), message_(message), errorCode_(errorCode), sqlCode_(sqlCode) {
}
