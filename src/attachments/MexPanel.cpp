#include "attachments/MexPanel.h"

#include "attachments/ChunkMarkers.h"
#include "attachments/MexChunkTree.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"

namespace tarv {

MexEditPanel& mexPanel(EditingContext& ctx) {
    static DefaultMexPanel fallback;  // stateless: it records into the context
    MexEditPanel* panel = ctx.shipInfoPage->mexPanel;
    return panel ? *panel : fallback;
}

int32_t selectedChunkIndex(const EditingContext& ctx) {
    const std::string& key = ctx.mex.treeMex.selectedKey();
    if (key.empty() || isMexGroupOrRootKey(key)) return -1;
    const int32_t index = mexChunkIndexOfKey(key);
    return index >= 0 && index < ctx.mex.mexChunkCount() ? index : -1;
}

void DefaultMexPanel::setMexInputVisible(EditingContext& ctx, const std::string& letter, const MexChunk& chunk) {
    MexPanelRecord& r = ctx.shipInfoPage->mexPanelRecord;
    r.letter = letter;
    r.chunk = chunk;
    r.txtMexPos = {"0", "0", "0"};
    r.txtMexOrt = {"0", "0", "0"};
    if (letter.empty()) r.cmdBBAutoCalcVisible = false;
    if (letter == "c" || letter == "r") r.cmdBBAutoCalcVisible = true;  // the bounding volumes have Auto-calc
}

void DefaultMexPanel::cmdMexEditApply_Click(EditingContext& ctx) {
    ++ctx.shipInfoPage->mexPanelRecord.applies;
    const int32_t index = selectedChunkIndex(ctx);
    if (index >= 0) rebuildChunkMarker(ctx, index);
}

void DefaultMexPanel::setMexPosText(EditingContext& ctx, int i, const std::string& text) {
    if (i >= 0 && i < 3) ctx.shipInfoPage->mexPanelRecord.txtMexPos[size_t(i)] = text;
}

void DefaultMexPanel::setMexOrtText(EditingContext& ctx, int i, const std::string& text) {
    if (i >= 0 && i < 3) ctx.shipInfoPage->mexPanelRecord.txtMexOrt[size_t(i)] = text;
}

void DefaultMexPanel::hideAutoCalc(EditingContext& ctx) {
    ctx.shipInfoPage->mexPanelRecord.cmdBBAutoCalcVisible = false;
}

void DefaultMexPanel::displayShpGunInfo(EditingContext& ctx, int16_t gun) {
    ctx.shipInfoPage->mexPanelRecord.shownGun = gun;
}

}  // namespace tarv
