#pragma once
// Whether an in-place edit of a texture's name in the Textures page's list goes ahead.
#include <string>
#include <vector>

#include "model/state/ShipModel.h"

namespace tarv {

inline constexpr const char* kTextureNameRefused = "Texture names must be unique and can't be empty.";
// A texture's file is its name & ".lif" in the model folder: a name never leads out of it.
inline constexpr const char* kTextureNameHoldsFolder = "A texture name cannot hold a folder.";
inline constexpr const char* kBoxesShowedAnotherHeader =
    "The boxes showed another file's header. They now show this texture's; check them and press Save "
    "changes again.";

enum class TextureRenameCheck {
    Rename,     // go ahead
    Keep,       // cancelled or unchanged: nothing changes, nothing is said
    NotUnique,  // empty, or another texture's name: nothing changes, kTextureNameRefused is shown
    HoldsFolder,  // holds "/" or "\\", or is "." or "..": nothing changes, kTextureNameHoldsFolder is shown
};

// oldText is the item's text before the edit; textures the model's texture table. A name is compared
// exactly, letter case included.
TextureRenameCheck checkTextureRename(bool cancelled, const std::string& oldText, const std::string& newText,
                                      const std::vector<PeoTexture>& textures);

}  // namespace tarv
