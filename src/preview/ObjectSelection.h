#pragma once
// The preview's versions of the selection operations (module "modPeo"): only the 3D look. The object
// tree's code derives from this class, calls these for the look and adds its labels, boxes and tree ticks.
#include "core/EditingContext.h"
#include "preview/PreviewState.h"

namespace tarv {

class PreviewObjectSelection : public ObjectSelection {
public:
    // Quality 128 textured or 64 wireframe and the highlight colour on a shown object; the local axes on it
    // while an object is selected.
    void getObjectDetails(EditingContext& ctx, int16_t objNo) override;
    // Quality 136 or 72 and the object's own colour; a shown object loses the selection marker.
    void resetPreviousObject(EditingContext& ctx, int16_t objNo) override;
    void showObject(EditingContext& ctx, int16_t objNo) override;
    void hideObject(EditingContext& ctx, int16_t objNo) override;
};

} // namespace tarv
