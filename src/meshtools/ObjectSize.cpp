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
    tools.txtScaleAmount = extent > 0 ? doubleText(kTargets[index] / extent * 100.0) : std::string();
}

void selectObjectSize(EditingContext& ctx, int index) {
    ctx.toolsPage->cmbObjectSize.listIndex = index;
    cmbObjectSize_Click(ctx);
}

}  // namespace tarv
