#pragma once
// The level-of-detail file set of the Tools page: the files of the ship's other levels.
#include <string>
#include <vector>

namespace tarv {

class EditingContext;

struct LodEntry {
    std::string text;      // what the list shows: the name from a .lod list, or the full path from the dialog
    std::string fullPath;  // the file it stands for
    friend bool operator==(const LodEntry&, const LodEntry&) = default;
};

struct LodFileSet {
    std::vector<LodEntry> lstLodFiles;
    int selectedEntry = -1;  // -1: none
    // The folder (with its separator) of the ship definition the model was opened from; empty otherwise.
    std::string lblLodPath;
    bool cmdAddToLodEnabled = false;
    bool cmdMultiFileEnabled = false;
};

}  // namespace tarv
