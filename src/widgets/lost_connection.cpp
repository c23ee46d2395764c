#include "widgets/lost_connection.h"

#include "data/data_module.h"
#include "data/database_error.h"

namespace vardelo {

namespace {

const QString ReattachedText = QStringLiteral(
    "A program újra kapcsolódott az adatbázishoz; az ablakokba beírt adatok megmaradtak. A megszakadt "
    "művelet nem fejeződött be: megismétli most?");
const QString UnreachableText = QStringLiteral(
    "Az adatbázis-kiszolgáló most nem érhető el; az ablakokba beírt adatok megmaradtak. Megpróbálja újra? "
    "(Ha nem, a következő művelet kapcsolódik újra.)");

MsgButton ask(const QString& reason, const EDatabaseError& error) {
    return ui().detailedMessageBox(LostConnectionMessage, programTitle(), MsgIcon::Warning,
                                   int(MsgButton::Yes) | int(MsgButton::No), reason,
                                   databaseErrorEngineText(error));
}

} // namespace

bool canReattach() {
    return Data != nullptr;
}

void healConnection() {
    if (Data)
        Data->Heal();
}

bool recoverLostConnection(const EDatabaseError& error, LogCategory category) {
    qCWarning(category) << "the connection to the database was lost:" << error.Message() << "code"
                        << error.ErrorCode();
    if (!Data)
        return false;
    EDatabaseError last = error;
    for (;;) {
        try {
            Data->Reattach();
            return ask(ReattachedText, error) == MsgButton::Yes;
        } catch (const EDatabaseError& again) {
            qCWarning(category) << "attaching again failed:" << again.Message() << "code"
                                << again.ErrorCode();
            last = again;
        }
        if (ask(UnreachableText, last) != MsgButton::Yes)
            return false;
    }
}

} // namespace vardelo
