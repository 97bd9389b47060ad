#pragma once
// The preview's half of reading a material list: the reader calls these steps while it reads the entries
// and after them. The preview gives the context its own hook; without one the steps do nothing.
#include <string>

#include "model/state/ShipModel.h"

namespace tarv {

class EditingContext;

class MaterialPreviewHook {
public:
    virtual ~MaterialPreviewHook() = default;
    // Material materialIndex was read; the colours are the entry's bytes as they stand in the file (before
    // they are put in red, green, blue order and before the red-blue exchange of the live switch).
    virtual void materialRead(EditingContext& ctx, int materialIndex, const ColourBytes& fileAmbient,
                              const ColourBytes& fileDiffuse, const ColourBytes& fileSpecular) {}
    // The material's flags make it self-illuminated (called right when that flag is set).
    virtual void materialSelfIlluminated(EditingContext& ctx, int materialIndex) {}
    // After all entries: the texture pass over the model's texture list, looking beside the model.
    virtual void texturePass(EditingContext& ctx, const std::string& modelFolder) {}
    // The list is read and the read position given back (thumbnail caption).
    virtual void materialsDone(EditingContext& ctx) {}
};

}  // namespace tarv
