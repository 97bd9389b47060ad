#include "objects/ObjectSteps.h"

#include "objects/ObjectSelection.h"

namespace tarv {

void connectObjects(EditingContext& ctx) { connectPickSelection(ctx); }

}  // namespace tarv
