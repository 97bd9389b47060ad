#pragma once
// The preview's half of reading a material list: a scene material per entry (ambient and specular from
// the entry's bytes as they stand in the file, glowing white when self-illuminated), and the texture pass
// that looks for each texture's .lif beside the model, draws it through the texture source and gives the
// drawing to the faces and to the Textures page. No file is written: the drawn image goes straight to the
// texture and the thumbnail.
#include <string>

#include "model/state/MaterialPreviewHook.h"
#include "materials/TextureSource.h"

namespace tarv {

class EditingContext;

class PreviewMaterialHook : public MaterialPreviewHook {
public:
    explicit PreviewMaterialHook(TextureSource& source) : source_(source) {}
    void materialRead(EditingContext& ctx, int materialIndex, const ColourBytes& fileAmbient,
                      const ColourBytes& fileDiffuse, const ColourBytes& fileSpecular) override;
    void materialSelfIlluminated(EditingContext& ctx, int materialIndex) override;
    void texturePass(EditingContext& ctx, const std::string& modelFolder) override;
    void materialsDone(EditingContext& ctx) override;

private:
    TextureSource& source_;
};

}  // namespace tarv
