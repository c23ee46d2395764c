#pragma once

#include "widgets/ui_service.h"

#include <QString>

namespace vardelo {

class ERowChanged;

// A save refused because another desk changed or deleted the row after this window read it: the screen's own
// message with what changed below it. For a changed row the clerk is asked whether to load the data stored
// now into the window (what was typed there is then lost); true when the answer is yes. A deleted row is only
// told. The refusal is logged in the given category.
bool askReloadAfterRefusal(const QString& screenMessage, const ERowChanged& refusal, LogCategory category);

inline const QString ReloadQuestion =
    QStringLiteral("A beírt adatok megmaradtak. Betölti a most tárolt adatokat? (Akkor az itt beírt "
                   "változtatások elvesznek.)");

} // namespace vardelo
