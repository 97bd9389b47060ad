#include "editor/DocumentFiles.h"

#include "base/AtomicFile.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "model/LogFiles.h"
#include "objects/state/ObjectsState.h"
#include "editor/context/EditingContext.h"

namespace tarv {

KeptShip keepShip(const EditingContext& ctx) {
    return {ctx.shp, ctx.lod, ctx.objects.lblKey, ctx.objects.Dx_Label1, ctx.currentModelPath};
}

std::string notLoadedStatusText(const std::string& refusedFile) {
    return fileNameOf(refusedFile) + " was not loaded; the ship on screen stays.";
}

void restoreKeptShip(EditingContext& ctx, KeptShip&& kept, const std::string& refusedFile) {
    ctx.shp = std::move(kept.shp);
    ctx.lod = std::move(kept.lod);
    ctx.objects.lblKey = std::move(kept.lblKey);
    ctx.objects.Dx_Label1 = std::move(kept.dxLabel);
    ctx.currentModelPath = std::move(kept.modelPath);
    ctx.status().setStatus(notLoadedStatusText(refusedFile));
}

std::string modelDamage(const EditingContext& ctx) {
    const ShipModel& model = ctx.model;
    for (const PeoObject& object : model.peoObjects) {
        if (object.isDeleted()) continue;
        const int64_t vertices = int64_t(object.vertices.size());
        for (const PeoPolygon& p : object.polygons) {
            for (const int32_t v : {p.v0, p.v1, p.v2})
                if (v < 0 || v >= vertices)
                    return "object " + object.name + " has a polygon with vertex " + intText(v) + " of " +
                           intText(int(vertices));
            if (p.material < 0 || p.material >= model.materialCount())
                return "object " + object.name + " has a polygon with material " + intText(p.material) + " of " +
                       intText(model.materialCount());
        }
    }
    return {};
}

void recordDocumentFiles(EditingContext& ctx) {
    std::string damage = ctx.model.readDamage;
    if (damage.empty()) damage = modelDamage(ctx);
    ctx.documentFiles = {ctx.currentModelPath, ctx.lod.lblLodPath, damage};
}

std::string damagedFileRefusalText(const std::string& file, const std::string& damage) {
    return file + " was read with damage: " + damage +
           ". Saving over it would lose what could not be read; use Save As to write the ship under another name.";
}

std::string emptyModelRefusalText(const std::string& file) {
    return "The model holds no object, and a file without objects cannot be read again: " + file + " is left as it is.";
}

std::string readWithDamageNote(const std::string& file, const std::string& damage) {
    return fileNameOf(file) + " was read with damage: " + damage + ".";
}

std::string overwriteRefusal(const EditingContext& ctx, const std::string& file, bool ownFile) {
    const DocumentFiles& files = ctx.documentFiles;
    if (ownFile && !files.damage.empty()) return damagedFileRefusalText(files.model, files.damage);
    for (const PeoObject& object : ctx.model.peoObjects)
        if (!object.isDeleted()) return {};
    return emptyModelRefusalText(file);
}

void finishInterruptedSavesBeside(EditingContext& ctx, const std::string& file) {
    const std::string folder = folderOf(file);
    if (folder.empty()) return;
    for (const std::string& note : finishInterruptedSaves(folder)) writeLog(ctx, note, 1);
}

}  // namespace tarv
