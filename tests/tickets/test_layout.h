#pragma once

// A small ticket layout for the print tests: every variable of the printed ticket and the ticket's lines, in
// the three copies of the print report (the first copy alone in view).

#include "reports/prepared_report.h"

#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

namespace vardelo::testing {

inline QStringList ticketVariables() {
    return {"v_masolat",  "v_far",      "v_kar",      "v_var",      "v_szja", "v_szja2",
            "v_jszaz",    "v_jarul",    "v_levon",    "v_kif",      "v_azaz", "v_fizmod",
            "v_utal",     "v_kp1",      "v_kp2",      "v_kp3",      "v_kp4",  "v_kp5",
            "v_nyilatk1", "v_nyilatk2", "v_nyilatk3", "v_modositva"};
}

// Writes the layout file into the working folder; each text object holds "name=[name]".
inline void writeTicketLayout(const QString& fileName) {
    QString header;
    int y = 0;
    auto text = [&](const QString& content) {
        header += QStringLiteral("<text x=\"0\" y=\"%1\" width=\"190\" height=\"4\">%2</text>\n")
                      .arg(y)
                      .arg(content.toHtmlEscaped());
        y += 4;
    };
    text(QStringLiteral("[COPYNAME]"));
    text(QStringLiteral("Sorszám:[ZQ10.\"F_BSZAM\"]"));
    for (const QString& v : ticketVariables())
        text(v + QStringLiteral("=[") + v + QStringLiteral("]"));
    const QString layout =
        QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
            "<report format=\"vardelo-frf\" version=\"1\">\n<page size=\"A4\"/>\n"
            "<copies><copy name=\"2. példány\"/><copy name=\"3. példány\"/>"
            "<copy name=\"1. példány\" view=\"yes\"/></copies>\n"
            "<band type=\"page-header\" height=\"%1\">\n%2</band>\n"
            "<band type=\"master-data\" height=\"4\" dataset=\"frDBDataSet1\">"
            "<text x=\"0\" y=\"0\" width=\"100\" height=\"4\">sor=[ZQ20.\"S_MEGNEVEZES\"]</text></band>\n"
            "</report>\n")
            .arg(y)
            .arg(header);
    QFile file(QDir::current().filePath(fileName));
    if (file.open(QIODevice::WriteOnly))
        file.write(layout.toUtf8());
}

// The value a page prints for a variable ("name=" stripped); a null string when the page lacks it.
inline QString printed(const report::PreparedPage& page, const QString& name) {
    const QString prefix = name + QLatin1Char('=');
    for (const QString& t : page.texts())
        if (t.startsWith(prefix))
            return t.mid(prefix.size());
    return QString();
}

} // namespace vardelo::testing
