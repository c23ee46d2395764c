#include "widgets/action_guard.h"

#include "data/database_error.h"
#include "widgets/lost_connection.h"

#include <QStringList>
#include <stdexcept>

namespace vardelo {

namespace {

// One line in the log, however many lines the engine's message has.
QString oneLine(QString text) {
    return text.replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QStringLiteral(" / "));
}

QString codeList(const EDatabaseError& error) {
    QStringList codes;
    for (const long code : error.Codes())
        codes << QString::number(code);
    return codes.join(QLatin1Char(','));
}

// The box: the screen's message with the reason below it, or the reason alone in the general error box.
void showFailure(const QString& screenMessage, const QString& reason, const QString& details) {
    if (screenMessage.isEmpty())
        ui().detailedMessageBox(reason, errorCaption(), MsgIcon::Error, int(MsgButton::Ok), QString(),
                                details);
    else
        ui().detailedMessageBox(screenMessage, programTitle(), MsgIcon::None, int(MsgButton::Ok), reason,
                                details);
}

} // namespace

void reportFailure(const QString& screenMessage, const EDatabaseError& error, LogCategory category) {
    qCWarning(category).noquote().nospace()
        << "database error: " << oneLine(error.Message()) << " [codes " << codeList(error) << ", sqlcode "
        << error.SqlCode() << ", os error " << error.SystemError()
        << (error.FieldName().isEmpty() ? QString() : QStringLiteral(", field ") + error.FieldName())
        << "] shown as: " << oneLine(screenMessage);
    const QString reason = databaseErrorReason(error);
    const QString engine = databaseErrorEngineText(error);
    showFailure(screenMessage, reason, engine == reason ? QString() : engine);
}

void reportFailure(const QString& screenMessage, const std::exception& error, LogCategory category) {
    const QString words = QString::fromUtf8(error.what());
    const bool programText = dynamic_cast<const std::runtime_error*>(&error) != nullptr;
    qCWarning(category).noquote().nospace() << (programText ? "error: " : "program fault: ") << oneLine(words)
                                            << " shown as: " << oneLine(screenMessage);
    if (programText)
        showFailure(screenMessage, words, QString());
    else
        showFailure(screenMessage,
                    QStringLiteral("A program belső hibája miatt a művelet nem fejeződött be. Ami előtte "
                                   "elkészült, megmaradt."),
                    words);
}

void reportFailure(const QString& screenMessage, const QString& reason, const QString& details,
                   LogCategory category) {
    qCWarning(category).noquote().nospace() << "error: " << oneLine(reason) << " [" << oneLine(details)
                                            << "] shown as: " << oneLine(screenMessage);
    showFailure(screenMessage, reason, details);
}

bool guarded(LogCategory category, const QString& screenMessage, const std::function<void()>& action) {
    bool ran = false;
    try {
        withReconnect(
            [&] {
                action();
                ran = true;
            },
            category, [&](const EDatabaseError& error) { reportFailure(screenMessage, error, category); });
    } catch (const std::exception& error) {
        reportFailure(screenMessage, error, category);
    }
    return ran;
}

} // namespace vardelo
