// The texture preview's Previous and Next after two loads: a ship definition whose mesh extras set the
// texture folder, then a .peo from another folder, whose own folder the steps then use.
#include <gtest/gtest.h>

#include <filesystem>

#include "RoadFixture.h"
#include "editor/LoadRoad.h"
#include "editor/context/EditingContext.h"
#include "materials/LifPreview.h"

namespace tarv::test {
namespace fs = std::filesystem;

TEST_F(RoadTest, NextAfterAShipDefinitionThenAPeoFromAnotherFolderUsesThePeosFolder) {
    loadThisFile(ctx, at("Tarvlet.shp"));
    ASSERT_FALSE(ctx.shp.mexFilePath.empty());

    const fs::path other = dir.path() / "other";
    fs::create_directories(other);
    for (const char* name : {"Tarvlet.peo", "Hull.lif", "panel.lif"}) fs::copy_file(ship / name, other / name);
    loadThisFile(ctx, (other / "Tarvlet.peo").string());
    EXPECT_EQ(ctx.currentModelPath, (other / "Tarvlet.peo").string());
    EXPECT_TRUE(ctx.shp.mexFilePath.empty());

    ctx.preview.lstTextures.clear();
    for (const PeoTexture& texture : ctx.model.textures) ctx.preview.lstTextures.push_back({texture.name, {}});
    ASSERT_GE(ctx.preview.lstTextures.size(), 2u);
    ctx.preview.lstTexturesSelected = 0;
    lifpreview::cmdNext_Click(ctx);
    EXPECT_EQ(fs::path(ctx.lif.preview.panel1).parent_path(), other);
    EXPECT_TRUE(fs::exists(ctx.lif.preview.panel1));
    EXPECT_EQ(ctx.lif.preview.panel4, "1");
}

}  // namespace tarv::test
