#pragma once
// Reading .lod lists, the LOD file list's commands, and writing the model's links and matrices into every
// level file of a ship.
#include <string>
#include <vector>


namespace tarv {

class EditingContext;

// The level files a .lod list names, in file order: one per line that begins with "pMeshFile" and is
// longer than it, each the line's text after its last blank (the whole line when it has none).
struct LodFileContents {
    std::vector<std::string> meshFiles;
};
LodFileContents parseLodLines(const std::vector<std::string>& lines);

// Reads the .lod list at path. With firstIsMain the first named file becomes the current model path and
// the others are listed; otherwise every named file but the current model is listed. A name of a missing
// file stands for the .peo of the same name. Returns false, changing nothing, when the list names no
// file (or is missing).
bool readLodFile(EditingContext& ctx, const std::string& path, bool firstIsMain);
// The message when a ship's .lod list names no model file.
std::string lodNamesNoModelText(const std::string& lodPath);

// Writes the model's links and matrices into the records of the level file that carry an object's name.
// Each link names the record that carries the linked object's name, so it is 0 or the offset of a record
// of this file: a linked object with no record of its name gets 0 and the log line levelLinkMissingLog at
// level 2. The file is checked whole before a byte changes; a missing or damaged file is left alone and
// reported. Returns false when the file was refused.
bool applyMatrixToFile(EditingContext& ctx, const std::string& path);
std::string levelLinkMissingLog(const std::string& linkedName);

// The Tools page's commands.
inline constexpr const char* kLodAddFilter =
    "All Files (*.*)|*.*|Geometry Files (*.peo)|*.peo|Homeworld LOD files (*.lod)|*.lod";
void cmdAddToLod_Click(EditingContext& ctx);
// Right button on the list: whether the popup's two items are enabled (the popup then shows).
bool lodListMenuItemsEnabled(const EditingContext& ctx);
// "Switch to...": the chosen level's file goes to the load road (ctx.toolsPage->loadRoad).
void mnuLodFileSwitch_Click(EditingContext& ctx);
void mnuLodListDelete_Click(EditingContext& ctx);
void mnuLodCommandsMatrix_Click(EditingContext& ctx);

}  // namespace tarv
