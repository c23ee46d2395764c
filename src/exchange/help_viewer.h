#pragma once

#include <QDialog>
#include <QString>
#include <optional>

class QPushButton;
class QTextBrowser;

// The help viewer: the program's manual, an HTML document, with its contents and links, and "Bezárás".
class THelpViewer : public QDialog {
    Q_OBJECT
public:
    explicit THelpViewer(const QString& html, QWidget* parent = nullptr);

    // The help document of the program, looked for in the working folder, then among the installed files.
    static inline const QString HelpFile = QStringLiteral("ZOZED2009.HLP");
    // Its full name (in the working folder when it is nowhere).
    static QString HelpFilePath();
    // The document's text (Windows-1250), or nothing when it is missing or cannot be read.
    static std::optional<QString> ReadHelpFile();

private:
    // The controls; from outside the window they are reached by their objectName.
    QTextBrowser* HelpText;
    QPushButton* CloseButton; // "Bezárás"
};
