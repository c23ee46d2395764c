#pragma once

#include <QString>
#include <QStringList>

// The message that carries the database file to the supplier's support, and how the machine's mail program
// is asked to send it.
namespace vardelo::mail {

// The support mailbox of the supplier: the one address both ways of sending use.
inline const QString SupportAddress = QStringLiteral("tamogatas@kestrova-szoftver.hu");
inline const QString Subject = QStringLiteral("Zozed adatok");
inline const QString Body = QStringLiteral("Zozed adatok elküldése ellenőrzésre");
// The name of the database file looked for in the chosen folder.
inline const QString DatabaseFileName = QStringLiteral("du2010.fdb");

// The "mailto:" link of "Küldés2", exactly as the mail program is given it: the address directly before the
// "?" (a blank there would belong to the address), the blanks of the subject and the body left as they are,
// and the user reminded to attach the file.
QString mailtoLink(const QString& address);

// A program and its arguments (never run through a shell).
struct MailCommand {
    QString program;
    QStringList arguments;
};
// The command that opens a new message to the address with the subject, the body and the attached file in
// the machine's mail program: "xdg-email" on Linux and the other Unix systems, Outlook on Windows.
MailCommand mailCommand(const QString& address, const QString& subject, const QString& body,
                        const QString& attachment);

// The database file's name as the folder lists it (the mask is matched regardless of case), or "" when the
// folder does not hold it.
QString findDatabaseFile(const QString& folder);
// The full name of a file of the folder, with the platform's separators.
QString fullFileName(const QString& folder, const QString& name);

} // namespace vardelo::mail
