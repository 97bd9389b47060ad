// Which in-place renames of a texture go ahead: cancelled, unchanged, empty and clashing names are refused, and
// so is a name that holds a folder.
#include <gtest/gtest.h>

#include "materials/TextureRename.h"

using namespace tarv;

TEST(TextureRename, RefusedAndAcceptedNames) {
    const std::vector<PeoTexture> textures = {{"hull", true}, {"engine", false}, {"Glow", true}};
    struct Case {
        bool cancelled;
        const char* newText;
        TextureRenameCheck result;
    };
    const Case cases[] = {
        {false, "hull2", TextureRenameCheck::Rename},
        {false, "glow", TextureRenameCheck::Rename},  // compared exactly: another case is another name
        {false, "Hull", TextureRenameCheck::Rename},
        {true, "hull2", TextureRenameCheck::Keep},  // a cancelled edit
        {false, "hull", TextureRenameCheck::Keep},  // unchanged
        {false, "", TextureRenameCheck::NotUnique},
        {false, "engine", TextureRenameCheck::NotUnique},  // another entry's name, loaded or not
        {false, "Glow", TextureRenameCheck::NotUnique},
        {false, "../outside", TextureRenameCheck::HoldsFolder},
        {false, "/tmp/outside", TextureRenameCheck::HoldsFolder},
        {false, "sub\\hull2", TextureRenameCheck::HoldsFolder},
        {false, "..", TextureRenameCheck::HoldsFolder},
        {false, ".", TextureRenameCheck::HoldsFolder},
        {false, "..hull", TextureRenameCheck::Rename},  // dots inside a name are no folder
    };
    for (const Case& c : cases)
        EXPECT_EQ(checkTextureRename(c.cancelled, "hull", c.newText, textures), c.result) << c.newText;
}
