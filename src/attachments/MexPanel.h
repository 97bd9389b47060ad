#pragma once
// The chunk edit panel as the chunk commands reach it, and the selected chunk.
#include <cstdint>
#include <string>

#include "attachments/state/MexEditPanel.h"

namespace tarv {

class EditingContext;

// The panel in use: the window's, or the default that records what it is asked into
// ShipInfoPageState::mexPanelRecord and whose Apply rebuilds the selected chunk's marker as the record stands.
MexEditPanel& mexPanel(EditingContext& ctx);

// The index of the chunk whose node is selected in the chunk tree; -1 when no node, the root or a group is
// selected ("Root" and "gRoot" are no chunks), or the key names no chunk of the table.
int32_t selectedChunkIndex(const EditingContext& ctx);

// The default panel.
class DefaultMexPanel : public MexEditPanel {
public:
    void setMexInputVisible(EditingContext& ctx, const std::string& letter, const MexChunk& chunk) override;
    void cmdMexEditApply_Click(EditingContext& ctx) override;
    void setMexPosText(EditingContext& ctx, int i, const std::string& text) override;
    void setMexOrtText(EditingContext& ctx, int i, const std::string& text) override;
    void hideAutoCalc(EditingContext& ctx) override;
    void displayShpGunInfo(EditingContext& ctx, int16_t gun) override;
};

}  // namespace tarv
