#pragma once
// The "Textures" page's handlers as plain logic: a click reads a texture's header into the boxes, a
// double-click (on the list or a thumbnail) and Tools > "&Lif Viewer" open the preview window, an edit of a
// name renames the texture with its file, and the header boxes are written back into one texture's file or
// into every loaded texture's. Every file is found in the model folder (that of currentModelPath) without
// regard to letter case; no handler creates a file or writes elsewhere.
#include <filesystem>
#include <optional>
#include <string>

namespace tarv {

class EditingContext;

inline constexpr const char* kRenameLifQuestion =
    "A material was renamed, do you want to copy (Yes) or move (No) the LiF to its new name?";
inline constexpr const char* kRenameLifTitle = "TARV material handling";

// The file of the texture named name in the model folder, when there is one.
std::optional<std::filesystem::path> textureFileOf(const EditingContext& ctx, const std::string& name);

// The list's selection moves to item index (0-based) and its file's header is read into the boxes.
void lstTextures_ItemClick(EditingContext& ctx, int index);
// Opens the preview window on the selected item's file, when it exists.
void lstTextures_DblClick(EditingContext& ctx);
// Opens the preview window on the thumbnail's file, when it exists.
void ctlThumbs_DblClick(EditingContext& ctx, const std::string& selectedThumbPath);
// Opens the preview window without a file.
void mnuTexPeek_Click(EditingContext& ctx);
// The selected item's name was edited to newText. Returns whether the item keeps the new text: false for a
// cancelled, unchanged, empty or clashing name (the last two are told). Otherwise the texture's file is
// copied to the new name (and on "No" the old one removed), then the material list, the texture table and
// the item take the new name. A failed copy is reported and changes no table (the item keeps its text).
bool lstTextures_AfterLabelEdit(EditingContext& ctx, bool cancelled, const std::string& newText);
// "Save changes": the three boxes into the selected texture's file, when the boxes show that file's header;
// otherwise its header is read into the boxes and the user told. Nothing without a selection.
void cmdSaveCRCs_Click(EditingContext& ctx);
// "Apply to all LIFs": the palette CRC box into the file of every loaded texture.
void cmdLifApplyToAll_Click(EditingContext& ctx);

}  // namespace tarv
