#pragma once
// The state of the application shell that logic and the main window share: the recent-file items of the
// File menu, the two Backup items, the load summary's notes, the swatches that start-up paints, and the
// models of the two tree controls. The main window mirrors it.
#include <array>
#include <cstdint>
#include <functional>
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

// A colour swatch of a window that start-up paints from a preference colour.
enum class SwatchColour { PlayerBase, PlayerStripe, Highlight };
struct SwatchHook {
    SwatchColour colour;
    std::function<void(int32_t colour)> paint;  // colour = red + 256 * green + 65536 * blue
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
    // Filled by the windows that hold swatches, in the order they are created.
    std::vector<SwatchHook> swatchHooks;
    KeyedTree treeHeirachy;  // the chunk tree lives with the chunk table
};

}  // namespace tarv
