#include "materials/TextureRename.h"

#include <algorithm>

namespace tarv {

TextureRenameCheck checkTextureRename(bool cancelled, const std::string& oldText, const std::string& newText,
                                      const std::vector<PeoTexture>& textures) {
    if (cancelled || newText == oldText) return TextureRenameCheck::Keep;
    if (newText.empty()) return TextureRenameCheck::NotUnique;
    if (newText.find_first_of("/\\") != std::string::npos || newText == "." || newText == "..")
        return TextureRenameCheck::HoldsFolder;
    const bool taken =
        std::any_of(textures.begin(), textures.end(), [&](const PeoTexture& t) { return t.name == newText; });
    return taken ? TextureRenameCheck::NotUnique : TextureRenameCheck::Rename;
}

}  // namespace tarv
