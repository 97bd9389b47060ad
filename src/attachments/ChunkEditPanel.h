#pragma once
// The chunk edit panel of the "Mex Data" page: lays the page out for a chunk's type and fills it, applies
// the page to the selected chunk (every box checked first, then everything stored at once and the marker
// rebuilt), and the page's Normalise, nav light swatch and Zoom. The page is ShipInfoPageState::mexData.
#include <string>

#include "attachments/MexPanel.h"

namespace tarv {

class EditingContext;

inline const char* const kInvalidNumericInputText = "Invalid numeric input. Please check and re-enter.";

// Scales the three direction boxes to unit length in 32-bit floats; a box that is not a number counts as 0
// and a zero-length vector stays (0, 0, 0).
void cmdMexNormalise_Click(EditingContext& ctx);
// The colour dialog from the colour of the three colour boxes; swatch and boxes take the answer (Cancel:
// the starting colour). A box that is not a whole colour component ends the command silently.
void picNavColour_Click(EditingContext& ctx);
// With a chunk node selected, puts the camera at the chunk's position raised by 50 in z, relative to the
// zoom frame's parent; its orientation stays.
void mexZoom_Click(EditingContext& ctx);

class ChunkEditPanel : public MexEditPanel {
public:
    void setMexInputVisible(EditingContext& ctx, const std::string& letter, const MexChunk& chunk) override;
    void cmdMexEditApply_Click(EditingContext& ctx) override;
    void setMexPosText(EditingContext& ctx, int i, const std::string& text) override;
    void setMexOrtText(EditingContext& ctx, int i, const std::string& text) override;
    void hideAutoCalc(EditingContext& ctx) override;
    // Fills the gun panel of the "Ship File Data" page from the gun.
    void displayShpGunInfo(EditingContext& ctx, int16_t gun) override;
};

// Copies the page into chunk currChunkNo for type mType after checking every value (finite 32-bit floats,
// levels within 32 bits, a gun's ID and record while a ship definition is loaded), then renames its node
// and rebuilds its marker. A failed check throws before anything changes.
void updateMexValues(EditingContext& ctx, const std::string& mType, int currChunkNo);

}  // namespace tarv
