#include "exchange/mail_message.h"

#include <QDir>
#include <QUrl>

namespace vardelo::mail {

QString mailtoLink(const QString& address) {
    return QStringLiteral("mailto:") + address + QStringLiteral("?subject=") + Subject +
           QStringLiteral(" &body=") + Body +
           QStringLiteral(". Figyelmeztetés: csatolt fálj mellékelni kell! ");
}

MailCommand mailCommand(const QString& address, const QString& subject, const QString& body,
                        const QString& attachment) {
#ifdef Q_OS_WIN
    // Outlook's own command line: a new message to the address, with the subject and body of the link and
    // the file attached.
    const QString link = address + QStringLiteral("?subject=") +
                         QString::fromLatin1(QUrl::toPercentEncoding(subject)) + QStringLiteral("&body=") +
                         QString::fromLatin1(QUrl::toPercentEncoding(body));
    return {QStringLiteral("outlook.exe"),
            {QStringLiteral("/c"), QStringLiteral("ipm.note"), QStringLiteral("/m"), link,
             QStringLiteral("/a"), QDir::toNativeSeparators(attachment)}};
#else
    return {QStringLiteral("xdg-email"),
            {QStringLiteral("--subject"), subject, QStringLiteral("--body"), body, QStringLiteral("--attach"),
             attachment, address}};
#endif
}

QString findDatabaseFile(const QString& folder) {
    if (folder.isEmpty())
        return QString();
    const QStringList names = QDir(folder).entryList({DatabaseFileName}, QDir::Files, QDir::Name);
    return names.isEmpty() ? QString() : names.first();
}

QString fullFileName(const QString& folder, const QString& name) {
    return QDir::toNativeSeparators(QDir(folder).filePath(name));
}

} // namespace vardelo::mail
