#pragma once
// The Cataclysm load summary: notes gathered while a ship is read through its ship definition, shown by
// the load road at the end of the load. Notes of a load whose summary was not shown stay and come first
// the next time it is shown.
#include <string>

namespace tarv {

class EditingContext;

// Appends the note and CR LF to the summary (creating it on the first note), then lets the window repaint.
void addToLoadSummary(EditingContext& ctx, const std::string& note);
// A note about a damaged file: the load road shows the summary at the end of the load whatever the ship.
void addWarningToLoadSummary(EditingContext& ctx, const std::string& note);
// The summary's "get going" button: the window goes and its notes with it.
void dropLoadSummary(EditingContext& ctx);

}  // namespace tarv
