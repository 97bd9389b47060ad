#pragma once
// A chunk edit panel for the tests of the chunk commands: it records what it was last asked, and its Apply
// rebuilds the selected chunk's marker from the chunk as it stands, so a test sees what the commands ask
// apart from what the page would store.
#include <array>
#include <cstdint>
#include <string>

#include "attachments/ChunkMarkers.h"
#include "attachments/MexPanel.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {

// What the panel was last asked.
struct MexPanelRecord {
    std::string letter;  // the letter of the last layout; empty: hidden
    MexChunk chunk;      // the chunk it was laid out for
    std::array<std::string, 3> txtMexPos{"0", "0", "0"};
    std::array<std::string, 3> txtMexOrt{"0", "0", "0"};
    bool cmdBBAutoCalcVisible = true;
    int16_t shownGun = -1;  // the gun last shown on the gun panel, -1 none
    int applies = 0;        // how often Apply ran
};

class RecordingMexPanel : public MexEditPanel {
public:
    MexPanelRecord record;

    void setMexInputVisible(EditingContext& ctx, const std::string& letter, const MexChunk& chunk) override {
        record.letter = letter;
        record.chunk = chunk;
        record.txtMexPos = {"0", "0", "0"};
        record.txtMexOrt = {"0", "0", "0"};
        if (letter.empty()) record.cmdBBAutoCalcVisible = false;
        if (letter == "c" || letter == "r") record.cmdBBAutoCalcVisible = true;  // the bounding volumes have it
    }
    void cmdMexEditApply_Click(EditingContext& ctx) override {
        ++record.applies;
        const int32_t index = selectedChunkIndex(ctx);
        if (index >= 0) rebuildChunkMarker(ctx, index);
    }
    void setMexPosText(EditingContext& ctx, int i, const std::string& text) override {
        if (i >= 0 && i < 3) record.txtMexPos[size_t(i)] = text;
    }
    void setMexOrtText(EditingContext& ctx, int i, const std::string& text) override {
        if (i >= 0 && i < 3) record.txtMexOrt[size_t(i)] = text;
    }
    void hideAutoCalc(EditingContext& ctx) override { record.cmdBBAutoCalcVisible = false; }
    void displayShpGunInfo(EditingContext& ctx, int16_t gun) override { record.shownGun = gun; }
};

}  // namespace tarv::test
