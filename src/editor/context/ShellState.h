#pragma once
// The state of the application shell that logic and the main window share: the recent-file items of the
// File menu, the two Backup items, the load summary's notes, the swatches that start-up paints, and the
// models of the two tree controls. The main window mirrors it.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "base/KeyedTree.h"

namespace tarv {

// One item of the File menu's control array mnuRecentFile (0 the separator, 1 to 5 files).
struct RecentFileItem {
    bool visible = false;
    std::string caption;
    std::string path;  // the path as opened, kept with the item for its click
};

// The colours of the swatches that start-up paints from the preferences.
enum class SwatchColour { PlayerBase, PlayerStripe, Highlight };

// A window with colour swatches that start-up and the Options dialog paint: it is in ShellState::swatchWindows
// while it lives.
class SwatchWindow {
public:
    virtual ~SwatchWindow() = default;
    // colour = red + 256 * green + 65536 * blue; a window without a swatch of that colour does nothing.
    virtual void paintSwatchColour(SwatchColour which, int32_t colour) {}
};

struct ShellState {
    std::array<RecentFileItem, 6> mnuRecentFile{{{false, "-", ""},
                                                 {false, "RecentFile1", ""},
                                                 {false, "RecentFile2", ""},
                                                 {false, "RecentFile3", ""},
                                                 {false, "RecentFile4", ""},
                                                 {false, "RecentFile5", ""}}};
    bool mnuBUCEnabled = false;    // File > Backup > Create
    bool mnuRevBUEnabled = false;  // File > Backup > Load
    // Notes of the Cataclysm load summary (frmLoad's AdequateNotes), each ending in CR LF.
    std::string loadSummaryNotes;
    bool loadSummaryExists = false;
    // A note the user must see at the end of this load (a damaged file): the summary shows whatever the ship.
    bool loadSummaryWarns = false;
    // The windows that hold swatches, in the order they were created.
    std::vector<SwatchWindow*> swatchWindows;
    KeyedTree treeHeirachy;  // the chunk tree lives with the chunk table
};

}  // namespace tarv
