#pragma once

// The print routine of the ticket browser.
namespace vardelo::tickets {

// Shows the ticket at the current row of ZQ10 through the report service, in the mode NyomtMod: "Megtekint"
// views the first copy, "Nyomtat" the three copies and marks a ticket printed the first time. Returns after
// the preview closes, with ZQ10 reopened in ticket-number order on the ticket. A layout file that cannot be
// opened raises the report service's error before anything is shown.
void printTicket();

} // namespace vardelo::tickets
