#pragma once
// A chunk edit panel for the tests of the chunk commands: it records what it is asked into
// ShipInfoPageState::mexPanelRecord, and its Apply rebuilds the selected chunk's marker from the chunk as it
// stands, so a test sees what the commands ask apart from what the page would store.
#include "attachments/ChunkMarkers.h"
#include "attachments/MexPanel.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {

class RecordingMexPanel : public MexEditPanel {
public:
    void setMexInputVisible(EditingContext& ctx, const std::string& letter, const MexChunk& chunk) override {
        MexPanelRecord& r = ctx.shipInfoPage->mexPanelRecord;
        r.letter = letter;
        r.chunk = chunk;
        r.txtMexPos = {"0", "0", "0"};
        r.txtMexOrt = {"0", "0", "0"};
        if (letter.empty()) r.cmdBBAutoCalcVisible = false;
        if (letter == "c" || letter == "r") r.cmdBBAutoCalcVisible = true;  // the bounding volumes have Auto-calc
    }
    void cmdMexEditApply_Click(EditingContext& ctx) override {
        ++ctx.shipInfoPage->mexPanelRecord.applies;
        const int32_t index = selectedChunkIndex(ctx);
        if (index >= 0) rebuildChunkMarker(ctx, index);
    }
    void setMexPosText(EditingContext& ctx, int i, const std::string& text) override {
        if (i >= 0 && i < 3) ctx.shipInfoPage->mexPanelRecord.txtMexPos[size_t(i)] = text;
    }
    void setMexOrtText(EditingContext& ctx, int i, const std::string& text) override {
        if (i >= 0 && i < 3) ctx.shipInfoPage->mexPanelRecord.txtMexOrt[size_t(i)] = text;
    }
    void hideAutoCalc(EditingContext& ctx) override { ctx.shipInfoPage->mexPanelRecord.cmdBBAutoCalcVisible = false; }
    void displayShpGunInfo(EditingContext& ctx, int16_t gun) override {
        ctx.shipInfoPage->mexPanelRecord.shownGun = gun;
    }
};

}  // namespace tarv::test
