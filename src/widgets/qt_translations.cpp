#include "widgets/qt_translations.h"

#include "data/logging.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace vardelo {

bool loadHungarianQtTexts(QCoreApplication& app) {
    auto* translator = new QTranslator(&app);
    for (const QString& folder : {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                  QStringLiteral("/usr/share/qt6/translations")}) {
        if (translator->load(QStringLiteral("qtbase_hu"), folder)) {
            QCoreApplication::installTranslator(translator);
            return true;
        }
    }
    delete translator;
    qCWarning(lcWidgets)
        << "Qt's Hungarian texts (qtbase_hu.qm) were not found: install qt6-translations-l10n";
    return false;
}

} // namespace vardelo
