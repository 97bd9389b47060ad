#pragma once
// The object import from a second .peo ("TARV Import", frmImport): the file's object records as a tree
// with check boxes, and every ticked object appended to the model with its geometry, its materials
// (renumbered) and their textures. The second file is read whole once and checked before anything of it
// is used: a file that cannot be trusted is refused with its reason and leaves the tree empty; an object
// that cannot be trusted is refused while the import goes on; an object either arrives whole or leaves
// the model as it was.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "base/BinaryReader.h"
#include "base/KeyedTree.h"
#include "model/PeoObjectHeader.h"
#include "platform/CommonDialog.h"

namespace tarv {

class EditingContext;
class TextureSource;

inline const char* const kImportFilter = "All Files (*.*)|*.*|Homeworld Geometry Files (*.peo)|*.peo";
inline const char* const kMaterialCountsText =
    "There's something seriously wrong with the material counts,\r\n"
    "TARV will try to fix this. Please check the material counts in the <Materials>-tab.";

// The state of the import window; it lives as long as the window.
struct ImportSession {
    std::vector<PeoObjectHeader> headers;  // mother: the 1-based record number of the parent, 0 for none
    std::vector<int32_t> parentOffsets;    // the parent links as stored in the file
    bool isCataclysm = false;              // the layout of the last file read
    std::string StatusBar1;                // the chosen file's path
    KeyedTree treeHeirachy;                // the window's own tree: "o" & record number, text = name
    bool cmdImportEnabled = false;
    CommonDialog CommonDialog1;
    std::optional<BinaryReader> file;  // the chosen file, read whole once
    // Where the textures are read and drawn; none: the editor's own .lif reader and renderer.
    TextureSource* textureSource = nullptr;
    // Runs inside each object's commit after its materials are appended; tests make it fail.
    std::function<void(EditingContext&)> commitProbe;
};

// Activation: empties the header list, the tree and the path; "Import Selected Objects" is disabled.
void frmImport_Activate(ImportSession& session);

// "&Import" of the window's File menu: the open dialog (filter kImportFilter, second entry chosen), started
// in the model folder, else customStartDir when useCustomStartDir is on, else the home folder; a chosen
// file is read (importPeoObjects) and shown (createHeirachy). Traps its errors ("frmImport").
void mnuFileImport_Click(EditingContext& ctx, ImportSession& session);

// Reads the file named by StatusBar1 whole and its object records into the header list. A refused file
// shows "The file " & path & " cannot be imported: " & reason & "." and leaves the list and the tree empty.
// Traps its errors ("frmImport").
void importPeoObjects(EditingContext& ctx, ImportSession& session);

// The window's tree from the header list in one pass: record 0 at the top, every other record under its
// parent record (siblings in ascending record order), a record with a parent link under "o0". A parent
// offset that names no record, a self link, a link on record 0 or a link that closes a loop shows
// "Corrupted hierarchy detected!" once for that record and leaves it under "o0" (record 0 at the top); a
// negative offset leaves it under "o0" silently. Every node expanded; then "Import Selected Objects" is
// enabled when there are records. Traps its errors ("frmImport").
void createHeirachy(EditingContext& ctx, ImportSession& session);
// The same tree built by moving each node under its parent from the last record down, as the window first
// did it (quadratic; kept to prove the one-pass build right and for benchmarks). Shows the same messages.
void createHeirachyLiteral(EditingContext& ctx, ImportSession& session);

// "Import Selected Objects": every ticked node in record order through loadObject, then the thumbnail
// caption. Returns true when the window is to be hidden. Traps its errors ("frmImport").
bool cmdImport_Click(EditingContext& ctx, ImportSession& session);

// Appends record r of the chosen file as object objectCount. The checks come first and refuse the object
// ("Object " & name & " was not imported: " & reason & ".") before any change; a failure after them shows
// the error report and puts the model, lists, tree and counts back as they were (copied .lif files stay).
// An empty name, "**DELETED**" or a name of the main tree becomes a unique name by the clone rule. True
// when the object was appended. Traps its errors ("frmImport", "loadObject", r).
bool loadObject(EditingContext& ctx, ImportSession& session, int16_t r);

// The distinct material numbers of an object's polygons in order of first use: their count, and the k-th.
// Trap their errors ("modPeo"); an object without polygons reports and gives 0.
int16_t getMaterialCount(EditingContext& ctx, int16_t obj);
int16_t getMaterialNoFromObj(EditingContext& ctx, int16_t obj, int16_t k, int16_t count);

}  // namespace tarv
