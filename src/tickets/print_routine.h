#pragma once

// The print routine of the ticket browser.
namespace vardelo::tickets {

// Shows the ticket at the current row of ZQ10 through the report service, in the mode NyomtMod: "Megtekint"
// views the first copy, "Nyomtat" the three copies and marks a ticket printed the first time. Returns after
// the preview closes, with ZQ10 reopened in ticket-number order on the ticket. The ticket is marked only once
// its pages are ready to be shown: a layout file that cannot be opened raises the report service's error, and
// a faulty one leaves the report empty; in both cases nothing is shown or marked.
void printTicket();

} // namespace vardelo::tickets
