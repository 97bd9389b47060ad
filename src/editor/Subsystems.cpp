#include "editor/Subsystems.h"

#include "animation/MadSteps.h"
#include "attachments/MexSteps.h"
#include "editor/LoadRoad.h"
#include "materials/MaterialList.h"
#include "objects/ObjectSteps.h"
#include "preview/PreviewSteps.h"

namespace tarv {

void connectSubsystemSteps(EditingContext& ctx) {
    connectMaterials(ctx);
    connectPreview(ctx);
    connectObjects(ctx);
    connectAttachments(ctx);
    connectAnimation(ctx);
    connectLoadRoad(ctx);
}

}  // namespace tarv
