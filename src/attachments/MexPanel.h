#pragma once
// The chunk edit panel as the chunk commands reach it, and the selected chunk.
#include <cstdint>
#include <string>

#include "attachments/state/MexEditPanel.h"

namespace tarv {

class EditingContext;

// The panel in use, ShipInfoPageState::mexPanel: the chunk edit panel of the "Mex Data" page, which the
// attachments' install entry sets, or a test's own.
MexEditPanel& mexPanel(EditingContext& ctx);

// The index of the chunk whose node is selected in the chunk tree; -1 when no node, the root or a group is
// selected ("Root" and "gRoot" are no chunks), or the key names no chunk of the table.
int32_t selectedChunkIndex(const EditingContext& ctx);

}  // namespace tarv
