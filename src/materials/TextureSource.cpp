#include "materials/TextureSource.h"

#include "editor/context/EditingContext.h"
#include "base/NumberText.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"

namespace tarv {

LifReadResult LifTextureSource::LoadFile(const std::string& path, bool loadPixels) {
    return tarv::LoadFile(ctx_, path, loadPixels);
}

int32_t LifTextureSource::width() const { return ctx_.lif.texture.lifHeader.width; }
int32_t LifTextureSource::height() const { return ctx_.lif.texture.lifHeader.height; }
int32_t LifTextureSource::flags() const { return ctx_.lif.texture.lifHeader.flags; }

Image LifTextureSource::drawLayer(int layer) {
    ctx_.lif.preview.panel4 = intText(layer);
    tarv::drawLayer(ctx_);
    return ctx_.lif.preview.picLif1;
}

}  // namespace tarv
