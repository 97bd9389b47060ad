#include "meshtools/ObjectSize.h"

#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "meshtools/state/ToolsPageState.h"

namespace tarv {

void cmbObjectSize_Click(EditingContext& ctx) {
    static constexpr double kTargets[] = {60, 120, 400, 780, 1400, 7000};
    ToolsPageState& tools = *ctx.toolsPage;
    const int index = tools.cmbObjectSize.listIndex;
    if (index == 6) {
        tools.txtScaleAmountEnabled = true;
        return;
    }
    if (index < 0 || index > 5) return;
    tools.txtScaleAmountEnabled = false;
    const double extent = ctx.model.modelExtent;
    // Without an extent (no objects, or just after a Scale) the box keeps its text.
    if (extent == 0) return;
    tools.txtScaleAmount = doubleText(roundHalfEven(kTargets[index] / extent * 100.0, 3));
}

void selectObjectSize(EditingContext& ctx, int index) {
    ctx.toolsPage->cmbObjectSize.listIndex = index;
    cmbObjectSize_Click(ctx);
}

}  // namespace tarv
