#include "objects/ObjectSteps.h"

#include "editor/context/EditingContext.h"
#include "objects/ObjectDialogs.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"

namespace tarv {

void connectObjects(EditingContext& ctx) {
    // The level files get the links of the object tree.
    ctx.lod.recomputeLinks = [](EditingContext& c) { calcHeirachy(c); };
    connectPickSelection(ctx);
    connectObjectDialogs(ctx);
}

}  // namespace tarv
