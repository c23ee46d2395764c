#pragma once

#include <QApplication>
#include <QString>

// The program's application object. Qt's own texts are Hungarian in it (widgets/qt_translations.h). It names
// the help file that "Sugó" opens, and shows the error box for a failure that no window handled: the action
// ends there, what was written before stays, the program goes on.
class TApplication : public QApplication {
    Q_OBJECT
public:
    TApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

    // "ZOZED2009.HLP", kept as the application's property "HelpFile" so any window can read it.
    static QString HelpFile();
    static void SetHelpFile(const QString& fileName);
};
