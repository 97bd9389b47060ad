#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <limits>

#include "ChunkFixtures.h"
#include "MexFixtures.h"
#include "RecordingMexPanel.h"
#include "attachments/MexFile.h"
#include "attachments/MexPanel.h"

namespace tarv {
namespace {

using namespace tarv::test;

const float kGarbage = std::bit_cast<float>(0xCDCDCDCDu);

// Face counts of the solids: cone 8 sides in both windings, sphere 32 triangles, box 6 quads, line 3.
constexpr size_t kCone = 16, kSphere = 32, kBox = 6, kLine = 3;

TEST(GunMarkerShape, FollowsTheGunRecordAndTheId) {
    struct Row {
        const char* what;
        int32_t type;
        float minTurn, maxTurn, minDecl, maxDecl;
        const char* id;
        GunMarkerShape shape;
    };
    const Row rows[] = {
        {"180/40 patch", 2, -90, 90, -20, 20, "Gun0", GunMarkerShape::SpherePatch},
        {"120/200 patch", 2, -60, 60, -100, 100, "Gun0", GunMarkerShape::SpherePatch},
        {"120/30 wedge", 2, -60, 60, -15, 15, "Gun0", GunMarkerShape::Wedge},
        {"120/30 GUN wedge", 2, -60, 60, -15, 15, "xGUN0", GunMarkerShape::Wedge},
        {"120/30 gUn cone", 2, -60, 60, -15, 15, "gUn0", GunMarkerShape::Cone},
        {"just over 120/30 patch", 2, -60, 60.5f, -15, 15.5f, "gUn0", GunMarkerShape::SpherePatch},
        {"type 1 cone", 1, -90, 90, -20, 20, "Gun0", GunMarkerShape::Cone},
        {"garbage limits count as 0", 2, kGarbage, kGarbage, kGarbage, 360.5f, "Gun0", GunMarkerShape::Wedge},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.what);
        ShipDefinition shp;
        shp.shpGuns.assign(2, ShpGun{});
        shp.shpGuns[0].gunType = r.type;
        shp.shpGuns[0].minTurnAngle = r.minTurn, shp.shpGuns[0].maxTurnAngle = r.maxTurn;
        shp.shpGuns[0].minDeclination = r.minDecl, shp.shpGuns[0].maxDeclination = r.maxDecl;
        EXPECT_EQ(gunMarkerShape(shp, 0, r.id), r.shape);
    }
    ShipDefinition shp;
    EXPECT_EQ(gunMarkerShape(shp, 5, "Gun5"), GunMarkerShape::Cone);   // no record
    EXPECT_EQ(gunMarkerShape(shp, -1, "Gun5"), GunMarkerShape::Cone);  // never read before the table
}

TEST(ChunkMarkers, PanelViewOfTheGunNumber) {
    ChunkShip s;
    s.loadShp(3);
    const auto request = [&](const std::string& id) {
        MexChunk c;
        c.chunkType = "g";
        c.chunkId = id;
        return panelMarkerRequest(s.ctx, c);
    };
    EXPECT_EQ(request("Gun2"), (MexMarkerRequest{MexMarkerShape::GunRule, 2}));
    EXPECT_EQ(request("Gun2.5"), (MexMarkerRequest{MexMarkerShape::GunRule, 2}));  // half to even
    EXPECT_EQ(request("Gun1.5"), (MexMarkerRequest{MexMarkerShape::GunRule, 2}));
    EXPECT_EQ(request("GunX"), (MexMarkerRequest{MexMarkerShape::GunRule, 0}));  // no number reads as 0
    for (const char* id : {"Gu", "Gun4", "Gun-1", "Gun40000", "Gun1e300"}) {
        SCOPED_TRACE(id);
        EXPECT_EQ(request(id), (MexMarkerRequest{MexMarkerShape::Cone, 0}));
    }
    s.ctx.shp.noShpLoaded = true;
    EXPECT_EQ(request("Gun0"), (MexMarkerRequest{MexMarkerShape::Cone, 0}));
    MexChunk unknown;
    EXPECT_EQ(panelMarkerRequest(s.ctx, unknown).shape, MexMarkerShape::None);
}

TEST(ChunkMarkers, ShapeColourAndQualityByType) {
    ChunkShip s;
    s.loadShp(2, 120, 30);
    struct Row {
        const char* letter;
        const char* id;
        size_t faces;  // 0: an arc (neither of the solids)
        std::array<int, 3> colour;
        int32_t quality;
    };
    const Row rows[] = {
        {"c", "Col0", kSphere, {255, 255, 255}, 64}, {"r", "Rct0", kBox, {255, 255, 255}, 64},
        {"g", "Gun0", 0, {255, 0, 0}, 64},           {"g", "gUn1", kCone, {255, 0, 0}, 64},
        {"g", "REP0", kCone, {0, 255, 0}, 64},       {"g", "beam0", kCone, {0, 255, 0}, 64},
        {"d", "Dmg0", kCone, {0, 255, 255}, 64},     {"e", "Eng0", kCone, {255, 255, 0}, 64},
        {"k", "DOCK", kCone, {200, 0, 255}, 64},     {"s", "SALVAGE", kCone, {0, 0, 255}, 64},
        {"g", "Nose0", kCone, {255, 0, 0}, 64},  // an "N..." name of type g ends at 64
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::string(r.letter) + " " + r.id);
        const int i = s.add(r.letter, r.id, {1, 2, 3}, {0, 0, 1}, 15, 5, "P");
        const ViewObject& v = s.marker(i);
        if (r.faces)
            EXPECT_EQ(ChunkShip::faceCount(v.mesh), r.faces);
        else
            EXPECT_NE(ChunkShip::faceCount(v.mesh), kCone);
        EXPECT_EQ(s.colourOf(i), r.colour);
        EXPECT_EQ(v.mesh->quality(), r.quality);
        EXPECT_FALSE(s.onView(i));
    }
    EXPECT_TRUE(s.t.errors.reports.empty());
}

TEST(ChunkMarkers, GunZeroIsGreenOnlyForTheLoneGunOfAShipWithoutGuns) {
    ChunkShip s;
    s.ctx.shp.noShpLoaded = false;
    s.ctx.shp.shpGunCount = 0;
    s.ctx.mex.mexGunCount = 1;
    MexChunk gun;
    gun.chunkType = "g";
    gun.chunkId = "GUN0";
    EXPECT_EQ(chunkTypeColour(s.ctx, gun), (ChunkColour{0, 255, 0}));
    gun.chunkId = "Gun0";
    EXPECT_EQ(chunkTypeColour(s.ctx, gun), (ChunkColour{0, 255, 0}));  // upper-cased
    s.ctx.mex.mexGunCount = 2;
    EXPECT_EQ(chunkTypeColour(s.ctx, gun), (ChunkColour{255, 0, 0}));
    s.ctx.mex.mexGunCount = 1;
    s.ctx.shp.shpGunCount = 1;
    EXPECT_EQ(chunkTypeColour(s.ctx, gun), (ChunkColour{255, 0, 0}));
    s.ctx.shp.shpGunCount = 0;
    s.ctx.shp.noShpLoaded = true;
    EXPECT_EQ(chunkTypeColour(s.ctx, gun), (ChunkColour{255, 0, 0}));
}

TEST(ChunkMarkers, DockKeepsASetColourAndNavLightsKeepTheirOwnClamped) {
    ChunkShip s;
    const int blue = s.add("k", "DOCK", {}, {0, 0, 1}, 15, 5, "Salvage1");
    s.chunk(blue).colour = {0, 0, 255};
    setChunkColour(s.ctx, blue);
    EXPECT_EQ(s.chunk(blue).colour, (ChunkColour{0, 0, 255}));
    EXPECT_EQ(s.colourOf(blue), (std::array<int, 3>{0, 0, 255}));

    const int nav = s.add("n", "NAV", {}, {}, 3, 0, "Light0");
    s.chunk(nav).colour = {300, -5, std::numeric_limits<float>::quiet_NaN()};
    setChunkColour(s.ctx, nav);
    EXPECT_EQ(s.chunk(nav).colour.red, 300.0f);  // the chunk keeps its own
    EXPECT_EQ(s.colourOf(nav), (std::array<int, 3>{255, 0, 0}));
    EXPECT_EQ(s.marker(nav).mesh->quality(), 136);
    EXPECT_EQ(markerColour({127.5f, 0, 255}), (ViewColour{0.5f, 0, 1}));
}

TEST(ChunkMarkers, BlankMarkerHangsUnderObjectZeroHidden) {
    ChunkShip s;
    s.ctx.mex.mexChunks.resize(2);
    s.ctx.mex.mexMeshes.resize(2);
    s.ctx.mex.mexMeshes[1].shown = -1;
    createBlankMexMesh(s.ctx, "NAV", 0);
    createBlankMexMesh(s.ctx, "nav", 1);
    EXPECT_EQ(s.marker(0).mesh->quality(), 128);
    EXPECT_EQ(s.marker(1).mesh->quality(), 64);
    EXPECT_EQ(s.marker(0).frame->getName(), "mex_NAV");
    EXPECT_EQ(s.marker(0).name, "NAV");
    EXPECT_EQ(s.marker(0).frame->getParent(), s.ctx.view.viewObjects[0].frame);
    EXPECT_FALSE(s.onView(0));
    EXPECT_FALSE(s.onView(1));
    EXPECT_EQ(s.marker(1).shown, -1);  // kept

    // A second blank marker in a slot takes the old frame off the scene.
    createBlankMexMesh(s.ctx, "again", 0);
    EXPECT_EQ(s.markerFrames(), 2);

    createBlankMexMesh(s.ctx, "x", 2);
    ASSERT_EQ(s.t.errors.reports.size(), 1u);
    EXPECT_EQ(s.t.errors.reports[0].procedure, "createBlankMexMesh");
    EXPECT_EQ(s.t.errors.reports[0].arguments, "x|2");
}

TEST(ChunkMarkers, ScaleByTwo) {
    ChunkShip s;
    s.loadShp(1);
    const int col = s.add("c", "Col0", {1, 2, 3}, {}, 4);
    const int box = s.add("r", "Rct0", {-1, -2, -3}, {2, 4, 6});
    const int gun = s.add("g", "Gun0", {1, 0, 0}, {0, 0, 1});  // a patch, its frame placed by the arc
    const int dmg = s.add("d", "Dmg0", {0, 1, 0}, {0, 0, 1});
    const int eng = s.add("e", "Eng0", {0, 0, 1}, {0, 0, 1});
    const int nav = s.add("n", "NAV", {1, 1, 1}, {}, 3, 0, "L");
    const int dock = s.add("k", "DOCK", {2, 2, 2}, {0, 1, 0}, 15, 5, "D");
    ASSERT_NE(s.marker(gun).frame->localTransform().t, (scene::Vec3{0, 0, 0}));
    showChunkMarker(s.ctx, col, true);
    showChunkMarker(s.ctx, gun, true);
    whitenChunkMarker(s.ctx, gun);

    scaleMexChunks(s.ctx, 2);
    ASSERT_TRUE(s.t.errors.reports.empty());
    EXPECT_EQ(s.chunk(col).position, (Vector3{2, 4, 6}));
    EXPECT_EQ(s.chunk(col).coneAngle, 8.0f);
    EXPECT_EQ(s.chunk(box).position, (Vector3{-2, -4, -6}));
    EXPECT_EQ(s.chunk(box).normal, (Vector3{4, 8, 12}));
    EXPECT_EQ(s.chunk(gun).normal, (Vector3{0, 0, 1}));
    EXPECT_EQ(s.chunk(nav).coneAngle, 3.0f);
    EXPECT_EQ(s.chunk(dock).edgeAngle, 5.0f);

    EXPECT_EQ(ChunkShip::faceCount(s.marker(col).mesh), kSphere);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(box).mesh), kBox);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(gun).mesh), kCone);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(dmg).mesh), kLine);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(eng).mesh), kLine);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(nav).mesh), kSphere);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(dock).mesh), kCone);
    // The gun's cone is drawn at its chunk: its frame is back at object 0's origin without rotation.
    EXPECT_EQ(s.marker(gun).frame->localTransform().t, (scene::Vec3{0, 0, 0}));
    EXPECT_EQ(s.marker(gun).frame->localTransform().m, scene::Transform::identity().m);
    EXPECT_EQ(s.colourOf(gun), (std::array<int, 3>{255, 0, 0}));  // white no more
    const scene::Bounds& b = s.marker(col).mesh->bounds();
    EXPECT_FLOAT_EQ(b.max.y, 12);  // centre 4, radius 8
    // Shown markers are back on view, hidden ones stay hidden.
    EXPECT_TRUE(s.onView(col));
    EXPECT_TRUE(s.onView(gun));
    EXPECT_FALSE(s.onView(box));
    EXPECT_FALSE(s.onView(dmg));
}

TEST(ChunkMarkers, ScaleLeavesThePanelAsTheSelectedNodeSays) {
    ChunkShip s;
    RecordingMexPanel recording;
    s.ctx.shipInfoPage->mexPanel = &recording;
    const int dmg = s.add("d", "Dmg0", {1, 1, 1});
    const MexPanelRecord& panel = recording.record;

    s.ctx.shipInfoPage->lblMexKey = "dRoot";
    mexPanel(s.ctx).setMexInputVisible(s.ctx, "", MexChunk{});
    scaleMexChunks(s.ctx, 2);
    EXPECT_EQ(panel.letter, "");  // a group: the hidden panel stays hidden

    s.ctx.shipInfoPage->lblMexKey = mexChunkKey('d', dmg);
    scaleMexChunks(s.ctx, 2);
    EXPECT_EQ(panel.letter, "d");
    EXPECT_EQ(panel.chunk.position, (Vector3{4, 4, 4}));

    s.ctx.shipInfoPage->lblMexKey = "Root";
    scaleMexChunks(s.ctx, 2);
    EXPECT_EQ(panel.letter, "d");  // unchanged

    s.ctx.shipInfoPage->lblMexKey.clear();
    scaleMexChunks(s.ctx, 2);
    EXPECT_EQ(panel.letter, "");
}

TEST(ChunkMarkers, ScaleOverflowStopsWithEarlierChunksScaled) {
    ChunkShip s;
    const int first = s.add("d", "Dmg0", {1, 1, 1});
    const int big = s.add("d", "Dmg1", {1, 3e38f, 1});
    const int last = s.add("d", "Dmg2", {1, 1, 1});
    scaleMexChunks(s.ctx, 10);
    ASSERT_EQ(s.t.errors.reports.size(), 1u);
    EXPECT_EQ(s.t.errors.reports[0].description, "Overflow");
    EXPECT_EQ(s.t.errors.reports[0].module, "modMex");
    EXPECT_EQ(s.t.errors.reports[0].procedure, "scaleMexChunks");
    EXPECT_EQ(s.t.errors.reports[0].arguments, "10");
    EXPECT_EQ(s.chunk(first).position, (Vector3{10, 10, 10}));
    EXPECT_EQ(s.chunk(big).position, (Vector3{1, 3e38f, 1}));
    EXPECT_EQ(s.chunk(last).position, (Vector3{1, 1, 1}));
    EXPECT_EQ(ChunkShip::faceCount(s.marker(big).mesh), kCone);  // its marker untouched
}

TEST(ChunkMarkers, RebuildAgreesWithTheTickAndResetsTheFrame) {
    ChunkShip s;
    s.loadShp(1);
    const int gun = s.add("g", "Gun0", {5, 0, 0});
    ASSERT_NE(s.marker(gun).frame->localTransform().t, (scene::Vec3{0, 0, 0}));
    s.ctx.shp.shpGuns[0].gunType = 1;  // the gun changed: a cone now
    rebuildChunkMarker(s.ctx, gun);
    EXPECT_FALSE(s.onView(gun));  // hidden stays hidden
    EXPECT_EQ(ChunkShip::faceCount(s.marker(gun).mesh), kCone);
    EXPECT_EQ(s.colourOf(gun), kWhite);
    EXPECT_EQ(s.marker(gun).frame->localTransform().t, (scene::Vec3{0, 0, 0}));

    showChunkMarker(s.ctx, gun, true);
    const scene::MeshPtr old = s.marker(gun).mesh;
    rebuildChunkMarker(s.ctx, gun);
    EXPECT_TRUE(s.onView(gun));
    EXPECT_NE(s.marker(gun).mesh, old);
    EXPECT_EQ(s.marker(gun).frame->visuals().size(), 1u);  // the old mesh is off
    EXPECT_TRUE(s.t.errors.reports.empty());
}

TEST(ChunkMarkers, ConesAtLoadLinesOnlyAfterScale) {
    // The damage point and engine of a file get cones when read and lines once scaled.
    ChunkShip s;
    auto b = ByteBuilder();
    mexHeader(b, kHomeworld, 2);
    coneChunk(b, "Dmg", "Dmg0", 1, 2, 3, 0, 0, 1, 15, 5);
    coneChunk(b, "Eng", "Eng0", 1, 2, 3, 0, 0, 1, 15, 5);
    writeBytes(s.dir / "ship.mex", b.data());
    getMexInfo(s.ctx, (s.dir / "ship.mex").string());
    ASSERT_EQ(s.ctx.mex.mexMeshes.size(), 2u);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(0).mesh), kCone);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(1).mesh), kCone);
    rebuildChunkMarker(s.ctx, 0);  // the panel too
    EXPECT_EQ(ChunkShip::faceCount(s.marker(0).mesh), kCone);
    scaleMexChunks(s.ctx, 1);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(0).mesh), kLine);
    EXPECT_EQ(ChunkShip::faceCount(s.marker(1).mesh), kLine);
}

TEST(ChunkMarkers, NoMarkerOutlivesAResetOrARefusedFile) {
    ChunkShip s;
    for (int i = 0; i < 3; ++i) s.add("d", "Dmg" + std::to_string(i));
    showChunkMarker(s.ctx, 1, true);
    const scene::FramePtr frame = s.marker(1).frame;
    const scene::MeshPtr mesh = s.marker(1).mesh;
    ASSERT_EQ(s.markerFrames(), 3);
    resetMexChunkTable(s.ctx);
    EXPECT_EQ(s.markerFrames(), 0);
    EXPECT_TRUE(frame->visuals().empty());
    EXPECT_EQ(frame->getParent(), nullptr);
    EXPECT_TRUE(s.ctx.mex.mexMeshes.empty());

    addMexTreeDefaults(s.ctx);
    for (int i = 0; i < 2; ++i) s.add("d", "Dmg" + std::to_string(i));
    writeBytes(s.dir / "bad.mex", {'m', 'a', 'n'});
    getMexInfo(s.ctx, (s.dir / "bad.mex").string());
    EXPECT_EQ(s.markerFrames(), 0);
    EXPECT_EQ(s.ctx.mex.mexMeshes.size(), s.ctx.mex.mexChunks.size());
}

}  // namespace
}  // namespace tarv
