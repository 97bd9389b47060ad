#include "editor/Subsystems.h"

#include "animation/MadSteps.h"
#include "attachments/MexSteps.h"
#include "editor/LoadRoad.h"
#include "objects/ObjectSteps.h"

namespace tarv {

void connectSubsystemSteps(EditingContext& ctx) {
    connectObjects(ctx);
    connectAttachments(ctx);
    connectAnimation(ctx);
    connectLoadRoad(ctx);
}

}  // namespace tarv
