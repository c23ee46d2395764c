#pragma once

#include <QString>

namespace vardelo::exchange {

// A line of the engine's verbose backup or restore output ("gbak:500000 records written", "gbak:writing table
// FJSOR") as the Hungarian progress text a clerk reads ("500 000 sor mentve", "Mentés: FJSOR tábla"). A line
// with nothing for the clerk (the engine's steps among its own tables) gives an empty text: the line shown
// before stays.
QString engineProgressText(const QString& line);

} // namespace vardelo::exchange
