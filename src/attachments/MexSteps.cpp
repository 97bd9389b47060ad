#include "attachments/MexSteps.h"

#include <cmath>
#include <filesystem>

#include "attachments/ChunkEditPanel.h"
#include "attachments/ChunkMarkers.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexFile.h"
#include "attachments/MexPanel.h"
#include "attachments/MexTreeCommands.h"
#include "attachments/state/ShipInfoPageState.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/Backups.h"
#include "model/LogFiles.h"
#include "preview/PreviewMarkers.h"

namespace tarv {

namespace {

Vector3 midpoint(const PeoObject& o) { return {(o.minX + o.maxX) / 2, (o.minY + o.maxY) / 2, (o.minZ + o.maxZ) / 2}; }

// The largest distance of the object's vertices from c, each kept as a 32-bit float, above r.
float farthest(const PeoObject& o, const Vector3& c, float r) {
    for (const PeoVertex& v : o.vertices) {
        const double dx = double(v.x) - c.x, dy = double(v.y) - c.y, dz = double(v.z) - c.z;
        const float d = float(std::sqrt(dx * dx + dy * dy + dz * dz));
        if (d > r) r = d;
    }
    return r;
}

void logChunkNames(EditingContext& ctx) {
    for (size_t i = 0; i < ctx.mex.mexMeshes.size(); ++i) writeLog(ctx, "  chunk: " + ctx.mex.mexMeshes[i].name, 2);
}

void makeDefaultChunks(EditingContext& ctx) {
    MexChunkTable& mex = ctx.mex;
    takeMexMarkersOffScene(mex.mexMeshes);
    mex.mexChunks.assign(2, MexChunk{});
    mex.mexMeshes.resize(2);

    const CollisionSphere sphere = collisionSphere(ctx.model);
    MexChunk& col = mex.mexChunks[0];
    col.chunkId = "Col0";
    col.position = sphere.centre;
    col.level = 1;
    col.coneAngle = sphere.radius;
    col.chunkType = "c";
    createBlankMexMesh(ctx, "Col0", 0);
    buildMarkerShape(ctx, 0, {MexMarkerShape::Sphere, 0});
    mex.treeMex.addChild("Root", "c0", "Collision Sphere");

    MexChunk& rct = mex.mexChunks[1];
    rct.chunkId = "Rct0";
    rct.chunkType = "r";
    createBlankMexMesh(ctx, "Rct0", 1);
    setErrorContext(ctx, "frmTARV", "checkForMex", "");
    for (const PeoObject& o : ctx.model.peoObjects) {
        if (o.mother != 0) continue;
        createBox(ctx, mex.mexMeshes[1], o.minX, o.minY, o.minZ, o.sizeX, o.sizeY, o.sizeZ, 255, 255, 255);
        mex.mexChunks[1].position = {o.minX, o.minY, o.minZ};
        mex.mexChunks[1].normal = {o.sizeX, o.sizeY, o.sizeZ};
    }
    mex.treeMex.addChild("Root", "r1", "Bounding box");
    setChunkColour(ctx, 0);
    setChunkColour(ctx, 1);
    setErrorContext(ctx, "frmTARV", "checkForMex", "");
    ctx.status().setPanelText(3, "");
}

}  // namespace

CollisionSphere collisionSphere(const ShipModel& model) {
    CollisionSphere s;
    const auto& objects = model.peoObjects;
    if (objects.empty()) return s;
    if (objects.size() <= 2) {
        s.centre = midpoint(objects[0]);
        s.radius = farthest(objects[0], s.centre, 0);
        return s;
    }
    for (const PeoObject& o : objects) {
        if (o.mother != 0) continue;
        s.centre = midpoint(o);
        s.radius = farthest(o, s.centre, s.radius);
    }
    return s;
}

std::string mexIsFolderText(const std::string& path) {
    return path + " is a folder, not a mesh extras file: the ship gets the default chunks.";
}

void checkForMex(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "checkForMex", "", [&] {
        addMexTreeDefaults(ctx);
        const std::string path = mexPathBeside(ctx.currentModelPath);
        std::error_code ec;
        if (!path.empty() && std::filesystem::is_regular_file(path, ec)) {
            offerBackup(ctx, path);
            getMexInfo(ctx, path);
            setErrorContext(ctx, "frmTARV", "checkForMex", "");
            logChunkNames(ctx);
            ctx.shipInfoPage->cmdMexDelEnabled = false;
        } else {
            if (!path.empty() && std::filesystem::is_directory(path, ec))
                ctx.prompts().messageBox(mexIsFolderText(path), ctx.version.appTitle, PromptIcon::Exclamation);
            makeDefaultChunks(ctx);
        }
        ctx.mex.treeMex.setSelected("Root");
    });
}

void cmdAttachMexFile_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdAttachMexFile_Click", "", [&] {
        CommonDialog& dialog = ctx.road.CommonDialog1;
        dialog.Filter = kMexFileFilter;
        dialog.FilterIndex = 1;
        dialog.FileName.clear();
        const std::optional<std::string> chosen = dialog.ShowOpen(ctx.prompts());
        if (!chosen || chosen->empty()) return;
        const std::string file = *chosen;
        offerBackup(ctx, file);
        setErrorContext(ctx, "frmTARV", "cmdAttachMexFile_Click", "");
        ctx.status().clearLog();
        MexChunkTable& mex = ctx.mex;
        if (mex.mexChunkCount() > 0) {
            for (int i = 0; i < mex.mexChunkCount() && size_t(i) < mex.mexMeshes.size(); ++i) hideChunkMarker(ctx, i);
            mexPanel(ctx).setMexInputVisible(ctx, "", mex.mexChunks[0]);
        }
        renderCanvas(ctx);
        // The old markers' frames leave object 0's frame before the reader replaces the table.
        takeMexMarkersOffScene(mex.mexMeshes);
        mex.mexChunks.clear();
        addMexTreeDefaults(ctx);
        getMexInfo(ctx, file);
        setErrorContext(ctx, "frmTARV", "cmdAttachMexFile_Click", "");
        logChunkNames(ctx);
        mex.treeMex.setSelected("Root");
        ctx.shipInfoPage->cmdMexDelEnabled = false;
        ctx.status().setPanelText(3, "MEX");
    });
}

void cmdBBAutoCalc_Click(EditingContext& ctx) {
    try {
        MexChunkTable& mex = ctx.mex;
        MexEditPanel& panel = mexPanel(ctx);
        const std::string& key = mex.treeMex.selectedKey();
        const char first = key.empty() ? '\0' : key[0];
        if (first == 'r') {
            writeLog(ctx, "Auto-calculating bounding box", 2);
            if (ctx.model.peoObjects.empty()) throw RunTimeError::subscriptOutOfRange();
            const PeoObject& o = ctx.model.peoObjects[0];
            for (int i = 0; i < mex.mexChunkCount(); ++i) {
                if (mex.mexChunks[size_t(i)].chunkType != "r") continue;
                panel.setMexPosText(ctx, 0, floatText(o.minX));
                panel.setMexPosText(ctx, 1, floatText(o.minY));
                panel.setMexPosText(ctx, 2, floatText(o.minZ));
                panel.setMexOrtText(ctx, 0, floatText(o.sizeX));
                panel.setMexOrtText(ctx, 1, floatText(o.sizeY));
                panel.setMexOrtText(ctx, 2, floatText(o.sizeZ));
                panel.cmdMexEditApply_Click(ctx);
            }
        } else if (first == 'c') {
            writeLog(ctx, "Auto-calculating collision sphere", 2);
            const CollisionSphere s = collisionSphere(ctx.model);
            for (int i = 0; i < mex.mexChunkCount(); ++i) {
                MexChunk& c = mex.mexChunks[size_t(i)];
                if (c.chunkType != "c") continue;
                c.chunkId = "Col0";
                c.position = s.centre;
                c.level = 1;
                c.coneAngle = s.radius;
                c.chunkType = "c";
                panel.setMexOrtText(ctx, 0, floatText(s.centre.x));
                panel.setMexOrtText(ctx, 1, floatText(s.centre.y));
                panel.setMexOrtText(ctx, 2, floatText(s.centre.z));
                panel.setMexPosText(ctx, 2, floatText(s.radius));
                panel.cmdMexEditApply_Click(ctx);
            }
        } else {
            panel.hideAutoCalc(ctx);
        }
    } catch (const std::exception& error) {
        reportError(ctx, error);  // under whatever error context stands
    }
}

namespace {

class GunChunkAdder : public GunChunkHook {
public:
    void cmdMexAdd_Click(EditingContext& ctx) override { tarv::cmdMexAdd_Click(ctx); }
};

GunChunkAdder gunChunks;    // stateless
ChunkEditPanel chunkPanel;  // stateless: its page is in the context

}  // namespace

void connectAttachments(EditingContext& ctx) {
    if (!ctx.shipInfoPage->mexPanel) ctx.shipInfoPage->mexPanel = &chunkPanel;  // unless a test set its own
    ctx.mex.markers = &chunkMarkerBuilder();
    ctx.objects.gunChunkHook = &gunChunks;
}

}  // namespace tarv
