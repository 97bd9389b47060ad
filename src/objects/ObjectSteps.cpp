#include "objects/ObjectSteps.h"

#include "editor/context/EditingContext.h"
#include "objects/ObjectSelection.h"

namespace tarv {

void connectObjects(EditingContext& ctx) { connectPickSelection(ctx); }

}  // namespace tarv
