// Arbitrary bytes as the second file of the object import: the header list, the window's tree and the
// import of every record into a fresh small model, with every prompt answered OK and no texture beside
// the file. Never a crash; afterwards the object count, the node count and the lists agree, and every
// imported polygon's material is below the material count.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "FuzzSupport.h"
#include "editor/context/EditingContext.h"
#include "materials/state/MaterialsPageState.h"
#include "objects/ObjectImport.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewScene.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tarv::EditingContext ctx;
    tarv::fuzz::AlternatingPrompts prompts;
    ctx.services.prompts = &prompts;
    ctx.prefs.logLevel = 0;
    const std::filesystem::path folder = tarv::fuzz::scratchFolder();
    ctx.userDataFolder = folder;
    std::filesystem::create_directories(folder / "model");
    ctx.currentModelPath = (folder / "model" / "ship.peo").string();
    tarv::InitialiseComponents(ctx);
    tarv::PeoObject base;
    base.name = "base";
    base.matrix = tarv::Matrix4::identity();
    base.vertices = {{0, 0, 0, 0, 0}, {1, 0, 0, 0, 0}, {0, 1, 0, 0, 0}};
    base.polygons = {tarv::newPolygon(0, 1, 2, 0)};
    ctx.model.peoObjects.push_back(base);
    ctx.model.materials.emplace_back();
    ctx.model.textures.push_back({"hull", false});
    ctx.view.viewObjects.emplace_back();
    tarv::create3dObject(ctx, 0);
    ctx.view.modelFrame->addChild(ctx.view.viewObjects[0].frame);
    tarv::createObjectTree(ctx);

    tarv::ImportSession session;
    session.StatusBar1 = tarv::fuzz::writeScratch("other.peo", data, size).string();
    tarv::importPeoObjects(ctx, session);
    tarv::createHeirachy(ctx, session);
    for (int i = 1; i <= session.treeHeirachy.count(); ++i)
        session.treeHeirachy.setChecked(session.treeHeirachy.nodeAt(i).key, true);
    tarv::cmdImport_Click(ctx, session);

    const size_t objects = ctx.model.peoObjects.size();
    if (ctx.view.viewObjects.size() != objects || size_t(ctx.shell.treeHeirachy.count()) != objects ||
        ctx.objects.cmbObjectList.size() != objects || ctx.objects.cmbMatrixObjectList.size() != objects)
        std::abort();
    if (ctx.materialsPage->lstMaterial.size() != ctx.model.materials.size() - 1) std::abort();
    if (ctx.preview.lstTextures.size() != ctx.model.textures.size() - 1) std::abort();
    for (const tarv::PeoObject& o : ctx.model.peoObjects)
        for (const tarv::PeoPolygon& p : o.polygons)
            if (p.material < 0 || p.material >= ctx.model.materialCount()) std::abort();
    std::error_code ec;
    std::filesystem::remove_all(folder / "model", ec);
    return 0;
}
