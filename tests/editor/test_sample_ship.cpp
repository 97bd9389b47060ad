// The sample ship: the checked-in files are the generator's output, and every file reads with the
// editor's readers.
#include <gtest/gtest.h>

#include <filesystem>

#include "RoadFixture.h"
#include "animation/MadFile.h"
#include "attachments/MexFile.h"
#include "attachments/ShpFile.h"
#include "model/PeoReader.h"
#include "materials/LifReader.h"
#include "meshtools/LodFiles.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {
namespace fs = std::filesystem;

TEST(SampleShip, TheCheckedInFilesAreTheGeneratorsOutput) {
    TempDir dir;
    samples::writeSampleShip(dir.path());
    size_t compared = 0;
    for (const auto& [name, bytes] : samples::sampleShipFiles()) {
        SCOPED_TRACE(name);
        const fs::path checkedIn = fs::path(TARV_SOURCE_SAMPLES) / name;
        ASSERT_TRUE(fs::exists(checkedIn));
        EXPECT_EQ(readBytes(checkedIn), readBytes(dir / name));
        EXPECT_EQ(readBytes(dir / name), std::vector<uint8_t>(bytes.begin(), bytes.end()));
        ++compared;
    }
    EXPECT_EQ(compared, 8u);
}

TEST_F(RoadTest, EveryPolygonOfTheSampleCarriesTheReservedBytesOfANewPolygon) {
    for (const char* level : {"Tarvlet.peo", "Tarvlet_LOD1.peo"}) {
        SCOPED_TRACE(level);
        readPeoFile(ctx, at(level));
        size_t polygons = 0;
        for (const PeoObject& object : ctx.model.peoObjects)
            for (const PeoPolygon& polygon : object.polygons) {
                EXPECT_EQ(polygon.reserved, kNewPolygonReserved);
                EXPECT_EQ(polygon.flags, 0);
                ++polygons;
            }
        EXPECT_GT(polygons, 0u);
    }
}

TEST_F(RoadTest, EveryFileOfTheSampleReadsWithTheEditorsReaders) {
    loadShpFile(ctx, at("Tarvlet.shp"));
    EXPECT_EQ(ctx.shp.shpGunCount, 2);
    EXPECT_EQ(ctx.shp.shpNumberOfGuns, 2);
    EXPECT_EQ(ctx.shp.shpGuns[0].gunType, 2);
    EXPECT_EQ(ctx.shp.shpGuns[0].azimuthJoint, "Turret");
    EXPECT_EQ(ctx.shp.shpGuns[0].declinationJoint, "Gun");
    EXPECT_EQ(ctx.shp.shpGuns[1].maxTurnAngle, 45.0f);
    EXPECT_EQ(ctx.shp.shpNavLightCount, 2);

    readLodFile(ctx, at("Tarvlet.lod"), true);
    EXPECT_EQ(ctx.currentModelPath, at("Tarvlet.peo"));

    readPeoFile(ctx, at("Tarvlet.peo"));
    ASSERT_EQ(ctx.model.objectCount(), 4);
    EXPECT_EQ(ctx.model.peoObjects[2].name, "Gun");
    EXPECT_EQ(ctx.model.peoObjects[2].mother, 2);
    EXPECT_EQ(ctx.model.peoObjects[1].sister, 4);
    EXPECT_EQ(ctx.model.materialCount(), 3);
    EXPECT_TRUE(ctx.model.materials[1].twoSided);
    EXPECT_TRUE(t.errors.reports.empty());

    const MexFileContents mex = parseMexFile(BinaryReader::fromFile(at("tarvlet.mex")));
    EXPECT_EQ(mex.version, kMexVersionHomeworld);
    ASSERT_EQ(mex.records.size(), 7u);
    EXPECT_EQ(mex.records[6].id, "Rct0");
    EXPECT_EQ(mex.records[5].chunk.pointName, "NavLightGreen");

    getMadInfo(ctx, at("TARVLET.MAD"));
    ASSERT_EQ(ctx.animation.madAnimations.size(), 1u);
    EXPECT_EQ(ctx.animation.madAnimations[0].name, "Sweep");
    ASSERT_EQ(ctx.animation.madObjectCount(), 1);
    EXPECT_EQ(ctx.animation.madObjects[0].keyframeCount(), 5);
    EXPECT_NEAR(ctx.animation.madObjects[0].keyframes[2].rotation.z, 0.5f, 1e-6);
    EXPECT_EQ(ctx.animation.madObjects[0].keyframes[2].position.x, 6.0f);

    for (const char* texture : {"Hull.lif", "panel.lif"}) {
        SCOPED_TRACE(texture);
        EXPECT_EQ(LoadFile(ctx, at(texture), true), LifReadResult::Read);
    }
    EXPECT_TRUE(t.errors.reports.empty());
}

}  // namespace tarv::test
