// Arbitrary bytes as a .mex file, read on a fresh context with and without a loaded ship definition and with
// the real chunk markers: any input ends in a chunk table with one marker per slot, or a refusal, never a
// crash or an out-of-bounds read. The first input byte chooses the ship definition; the rest is the file.
// Whatever was read must write out as a readable file.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "attachments/ChunkMarkers.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexFile.h"
#include "editor/context/EditingContext.h"
#include "base/RunTimeError.h"
#include "scene/Scene.h"

namespace {

// Checks the indices of the reader's marker calls, then builds the real markers.
class CheckedMarkers : public tarv::MexMarkerBuilder {
public:
    void createBlankMexMesh(tarv::EditingContext& ctx, const std::string& name, int index) override {
        check(ctx, index);
        real().createBlankMexMesh(ctx, name, index);
    }
    void buildMarker(tarv::EditingContext& ctx, int index, const tarv::MexMarkerRequest& request) override {
        check(ctx, index);
        if (request.shape == tarv::MexMarkerShape::GunRule &&
            (request.gunNumber < 0 || size_t(request.gunNumber) >= ctx.shp.shpGuns.size()))
            std::abort();
        real().buildMarker(ctx, index, request);
    }
    void setChunkColour(tarv::EditingContext& ctx, int index) override {
        check(ctx, index);
        real().setChunkColour(ctx, index);
    }

private:
    static tarv::MexMarkerBuilder& real() { return tarv::chunkMarkerBuilder(); }
    static void check(tarv::EditingContext& ctx, int index) {
        if (index < 0 || index >= ctx.mex.mexChunkCount()) std::abort();
    }
};

void loadShipDefinition(tarv::ShipDefinition& shp) {
    shp.shpFilePath = "ship.shp";
    shp.noShpLoaded = false;
    shp.shpGuns.assign(3, tarv::ShpGun{});
    shp.shpGuns[0].gunType = 2;
    shp.shpGuns[1].gunType = 2;
    shp.shpGunCount = 2;
    shp.shpDockPoints = {{"Dock1", "dpt_normal"}, {"TOW1", "dpt_salvage"}, {}};
    shp.shpDockCount = 2;
    shp.shpCatSalvageCount = 1;
    shp.shpSalvagePoints = {"Salvage1", ""};
    shp.shpSalvageCount = 1;
    shp.shpNavLights = {"Light1", ""};
    shp.shpNavLightCount = 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const std::string path = tarv::fuzz::writeScratch("ship.mex", data + 1, size - 1).string();

    tarv::EditingContext ctx;
    ctx.userDataFolder = tarv::fuzz::scratchFolder();
    ctx.prefs.logLevel = -1;  // no log lines pile up
    CheckedMarkers markers;
    ctx.mex.markers = &markers;
    // One object whose frame carries the markers.
    tarv::PeoObject hull;
    hull.name = "Hull";
    hull.vertices = {{-1, -1, -1}, {1, 1, 1}};
    hull.maxX = hull.maxY = hull.maxZ = 1;
    hull.minX = hull.minY = hull.minZ = -1;
    ctx.model.peoObjects.push_back(hull);
    ctx.view.viewObjects.resize(1);
    ctx.view.viewObjects[0].frame = tarv::scene::createFrame();
    if (data[0] & 1) loadShipDefinition(ctx.shp);
    tarv::addMexTreeDefaults(ctx);
    tarv::getMexInfo(ctx, path);

    // Every chunk with a type has its node; the table and the markers keep the same length.
    const auto& mex = ctx.mex;
    if (mex.mexMeshes.size() != mex.mexChunks.size()) std::abort();
    size_t framed = 0;
    for (const auto& marker : mex.mexMeshes) framed += marker.frame != nullptr;
    if (ctx.view.viewObjects[0].frame->children().size() != framed) std::abort();
    for (int i = 0; i < mex.mexChunkCount(); ++i) {
        const auto& chunk = mex.mexChunks[size_t(i)];
        if (chunk.chunkType.empty()) continue;
        if (!mex.treeMex.find(tarv::mexChunkKey(chunk.chunkType[0], i))) std::abort();
    }

    // What was read writes out as a file that reads again.
    const tarv::MexImage image = tarv::buildMexImage(ctx, (data[0] & 2) != 0);
    if (image.misfits.empty()) {
        try {
            const auto again = tarv::parseMexFile(tarv::BinaryReader(image.bytes, "image"));
            if (int(again.records.size()) != image.records) std::abort();
        } catch (const tarv::RunTimeError&) {
            std::abort();
        }
    }
    return 0;
}
