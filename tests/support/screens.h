#pragma once

class QString;
class QWidget;

namespace vardelo::testing {

// Every visible caption of the window shows whole: labels are as wide as their text, buttons as wide as they
// ask to be. Fails the test naming the first that is cut.
void checkCaptionsFit(QWidget& window);

// Checks the captions and, with VARDELO_SCREENSHOTS naming a folder, saves a picture of the window there as
// <name>.png to look at.
void shoot(QWidget& window, const QString& name);

} // namespace vardelo::testing
