#pragma once

class QCoreApplication;

namespace vardelo {

// Qt's own texts (the standard buttons, "Részletek megjelenítése...", the file and print dialogs) in
// Hungarian whatever the desktop's language: the program speaks Hungarian only. Qt's Hungarian catalogue
// (qtbase_hu.qm, Debian's qt6-translations-l10n) is looked for where Qt keeps its translations. Returns
// whether it was found; without it the texts stay Qt's English ones and a warning is logged.
bool loadHungarianQtTexts(QCoreApplication& app);

} // namespace vardelo
