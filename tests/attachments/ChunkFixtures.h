#pragma once
// A loaded ship in memory for the chunk markers and the chunk tree: object 0 with its frame under the model
// frame, a fake canvas, the chunk tree's skeleton, and helpers that add chunks as the reader does and read
// what a marker shows.
#include <string>

#include "Fakes.h"
#include "TempDir.h"
#include "attachments/ChunkMarkers.h"
#include "attachments/MexChunkTree.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"
#include "scene/Scene.h"

namespace tarv::test {

// An object of the given corner and size with the eight corners of its box as vertices.
inline PeoObject boxObject(const std::string& name, Vector3 min, Vector3 size, int32_t mother = 0) {
    PeoObject o;
    o.name = name;
    o.mother = mother;
    o.matrix = Matrix4::identity();
    o.minX = min.x, o.minY = min.y, o.minZ = min.z;
    o.maxX = min.x + size.x, o.maxY = min.y + size.y, o.maxZ = min.z + size.z;
    o.sizeX = size.x, o.sizeY = size.y, o.sizeZ = size.z;
    for (int k = 0; k < 8; ++k)
        o.vertices.push_back({k & 1 ? o.maxX : o.minX, k & 2 ? o.maxY : o.minY, k & 4 ? o.maxZ : o.minZ});
    o.nVertices = 8;
    return o;
}

struct ChunkShip {
    ChunkShip() {
        ctx.view.canvas = &canvas;
        ctx.view.modelFrame = scene::createFrame();
        setObjects({boxObject("Hull", {-1, -1, -1}, {2, 2, 2})});
        ctx.model.modelExtent = 30;
        addMexTreeDefaults(ctx);
    }
    // The model's objects, each with a frame (roots under the model frame, children under object 0's).
    void setObjects(std::vector<PeoObject> objects) {
        ctx.model.peoObjects = std::move(objects);
        ctx.view.viewObjects.clear();
        ctx.view.viewObjects.resize(ctx.model.peoObjects.size());
        for (size_t i = 0; i < ctx.view.viewObjects.size(); ++i) {
            ViewObject& v = ctx.view.viewObjects[i];
            v.frame = scene::createFrame();
            v.name = ctx.model.peoObjects[i].name;
            (i == 0 ? ctx.view.modelFrame : ctx.view.viewObjects[0].frame)->addChild(v.frame);
        }
    }
    // A ship definition with guns 0 .. n - 1 of type 2 and the given limits.
    void loadShp(int guns, float turn = 180, float declination = 40) {
        ShipDefinition& shp = ctx.shp;
        shp.shpFilePath = "ship.shp";
        shp.noShpLoaded = false;
        shp.shpGuns.assign(size_t(guns) + 1, ShpGun{});
        for (int i = 0; i < guns; ++i) {
            ShpGun& g = shp.shpGuns[size_t(i)];
            g.gunType = 2;
            g.minTurnAngle = -turn / 2, g.maxTurnAngle = turn / 2;
            g.minDeclination = -declination / 2, g.maxDeclination = declination / 2;
        }
        shp.shpGunCount = int16_t(guns);
    }
    // Adds a chunk as the reader does: slot, blank marker, node under its group, shape, colour, counter.
    int add(const std::string& letter, const std::string& id, Vector3 position = {}, Vector3 normal = {0, 0, 1},
            float cone = 15, float edge = 5, const std::string& pointName = "") {
        MexChunkTable& mex = ctx.mex;
        const int i = mex.mexChunkCount();
        MexChunk c;
        c.chunkId = id;
        c.chunkType = letter;
        c.position = position;
        c.normal = normal;
        c.coneAngle = cone;
        c.edgeAngle = edge;
        c.pointName = pointName;
        mex.mexChunks.push_back(c);
        mex.mexMeshes.emplace_back();
        createBlankMexMesh(ctx, id, i);
        const MexChunkType* type = mexChunkTypeByLetter(letter[0]);
        const bool named = letter == "k" || letter == "s" || letter == "n";
        const std::string text = letter == "c"   ? "Collision Sphere"
                                 : letter == "r" ? "Bounding box"
                                 : named         ? pointName
                                                 : id;
        mex.treeMex.addChild(type->parentKey, mexChunkKey(letter[0], i), text);
        buildMarkerShape(ctx, i, panelMarkerRequest(ctx, mex.mexChunks[size_t(i)]));
        setChunkColour(ctx, i);
        if (*type->groupCaption) setCounter(ctx, int16_t(getCounter(ctx, letter) + 1), letter);
        return i;
    }
    ViewObject& marker(int i) { return ctx.mex.mexMeshes.at(size_t(i)); }
    MexChunk& chunk(int i) { return ctx.mex.mexChunks.at(size_t(i)); }
    // Whether marker i's mesh hangs on its frame.
    bool onView(int i) {
        const ViewObject& v = marker(i);
        if (!v.frame || !v.mesh) return false;
        for (const auto& m : v.frame->visuals())
            if (m == v.mesh) return true;
        return false;
    }
    // The scene's public queries of a marker mesh.
    static size_t faceCount(const scene::MeshPtr& mesh) { return mesh->faceCount(); }
    // The colour of the mesh's first face as red, green, blue bytes (-1 without faces).
    static std::array<int, 3> colourOf(const scene::MeshPtr& mesh) {
        if (mesh->faceCount() == 0) return {-1, -1, -1};
        const scene::PackedColor c = mesh->faceColours()[0];
        return {scene::redOf(c), scene::greenOf(c), scene::blueOf(c)};
    }
    std::array<int, 3> colourOf(int i) { return colourOf(marker(i).mesh); }
    // The marker frames under object 0's frame.
    int markerFrames() {
        int n = 0;
        for (const auto& f : ctx.view.viewObjects.at(0).frame->children())
            if (f->getName().rfind("mex_", 0) == 0) ++n;
        return n;
    }

    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;
    CountingCanvas canvas;
};

inline const std::array<int, 3> kWhite{255, 255, 255};

}  // namespace tarv::test
