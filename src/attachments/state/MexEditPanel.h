#pragma once
// What the chunk tree's commands ask of the chunk edit panel and the gun panel: lay the panel out for a
// chunk (an empty letter hides it), apply it to the selected chunk, write its position and direction boxes,
// hide its Auto-calc button, and show a gun of the ship definition. The chunk edit panel of the "Mex Data"
// page answers unless another is set.
#include <cstdint>
#include <string>

#include "attachments/state/MexChunkTable.h"

namespace tarv {

class EditingContext;

class MexEditPanel {
public:
    virtual ~MexEditPanel() = default;
    virtual void setMexInputVisible(EditingContext& ctx, const std::string& letter, const MexChunk& chunk) = 0;
    virtual void cmdMexEditApply_Click(EditingContext& ctx) = 0;
    // The boxes txtMexPos(i) and txtMexOrt(i), i 0 to 2.
    virtual void setMexPosText(EditingContext& ctx, int i, const std::string& text) = 0;
    virtual void setMexOrtText(EditingContext& ctx, int i, const std::string& text) = 0;
    virtual void hideAutoCalc(EditingContext& ctx) = 0;
    virtual void displayShpGunInfo(EditingContext& ctx, int16_t gun) = 0;
};

}  // namespace tarv
