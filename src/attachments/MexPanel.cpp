#include "attachments/MexPanel.h"

#include "attachments/MexChunkTree.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"

namespace tarv {

MexEditPanel& mexPanel(EditingContext& ctx) {
    return *ctx.shipInfoPage->mexPanel;
}

int32_t selectedChunkIndex(const EditingContext& ctx) {
    const std::string& key = ctx.mex.treeMex.selectedKey();
    if (key.empty() || isMexGroupOrRootKey(key)) return -1;
    const int32_t index = mexChunkIndexOfKey(key);
    return index >= 0 && index < ctx.mex.mexChunkCount() ? index : -1;
}

}  // namespace tarv
