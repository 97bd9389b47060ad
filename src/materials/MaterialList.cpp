#include "materials/MaterialList.h"

#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "materials/state/MaterialsPageState.h"

namespace tarv {

void showMaterials(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "showMaterials", "", [&] {
        auto& list = ctx.materialsPage->lstMaterial;
        list.clear();
        for (int i = 0; i < ctx.model.materialCount(); ++i) list.push_back("Material " + intText(i));
    });
}

void connectMaterials(EditingContext& ctx) {
    ctx.road.steps.showMaterials = showMaterials;
    ctx.road.steps.clearMaterialFlags = [](EditingContext&) {};
}

} // namespace tarv
