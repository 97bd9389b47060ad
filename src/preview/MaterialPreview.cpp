#include "preview/MaterialPreview.h"

#include <filesystem>

#include "model/LoadSummary.h"
#include "model/LogFiles.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "materials/ThumbGrid.h"
#include "scene/Scene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {
scene::MaterialPtr materialOf(EditingContext& ctx, int materialIndex) {
    if (materialIndex < 0 || materialIndex >= ctx.model.materialCount()) return nullptr;
    return ctx.view.materialAt(size_t(materialIndex));
}
}  // namespace

void ThumbnailList::Add(const std::string& file, bool isLifFile, Image picture, const std::string& caption) {
    Thumbnail t;
    t.caption = !caption.empty() ? caption : thumbCaptionOf(file);
    t.path = isLifFile ? thumbLifPathOf(file) : file;
    t.picture = std::move(picture);
    items_.push_back(std::move(t));
}

void PreviewMaterialHook::materialRead(EditingContext& ctx, int materialIndex, const ColourBytes& fileAmbient,
                                       const ColourBytes&, const ColourBytes& fileSpecular) {
    if (materialIndex < 0 || materialIndex >= ctx.model.materialCount()) return;
    scene::MaterialPtr material = scene::createMaterial(0);
    material->setAmbient(fileAmbient[0] / 255.0, fileAmbient[1] / 255.0, fileAmbient[2] / 255.0);
    material->setSpecular(fileSpecular[0] / 255.0, fileSpecular[1] / 255.0, fileSpecular[2] / 255.0);
    ctx.view.setMaterial(size_t(materialIndex), material);
}

void PreviewMaterialHook::materialSelfIlluminated(EditingContext& ctx, int materialIndex) {
    if (scene::MaterialPtr material = materialOf(ctx, materialIndex)) material->setEmissive(1, 1, 1);
}

void PreviewMaterialHook::texturePass(EditingContext& ctx, const std::string& modelFolder) {
    StatusDisplay& status = ctx.status();
    PreviewState& preview = ctx.preview;
    std::vector<PeoTexture>& textures = ctx.model.textures;
    status.setStatus("Getting Textures");
    status.setProgressMax(ProgressBar::LoadTextures, int(textures.size()));
    status.setProgressValue(ProgressBar::LoadTextures, 0);
    const std::filesystem::path folder =
        modelFolder.empty() ? std::filesystem::path(".") : std::filesystem::path(modelFolder);
    for (size_t k = 0; k < textures.size(); ++k) {
        PeoTexture& texture = textures[k];
        const std::string fileName = texture.name + ".lif";
        status.setStatus("Getting Texture " + fileName);
        const auto found = findCaseInsensitive(folder, fileName);
        if (found) {
            // The path as found, so a .lif of any letter case is read and kept with its thumbnail.
            const std::string lifPath =
                modelFolder.empty() ? found->filename().string() : modelFolder + found->filename().string();
            preview.lstTextures.push_back({texture.name, {}});
            const LifReadResult read = source_.LoadFile(lifPath, true);
            if (read == LifReadResult::Failed && !ctx.lif.texture.lifRefusal.empty())
                addWarningToLoadSummary(ctx, ctx.lif.texture.lifRefusal);
            if (read == LifReadResult::Read) {
                preview.lstTextures.back().subItems = {intText(source_.width()), intText(source_.height()),
                                                       intText(source_.flags())};
                Image drawn = source_.drawLayer(ctx.prefs.drawTeamColours ? 7 : 1);
                preview.ctlThumbs.Add(lifPath, true, drawn, texture.name);  // named as the model names it
                writeLog(ctx, "  -> lif texture " + intText(int64_t(k)) + " as " + lifPath, 3);
                ctx.view.setTexture(k, scene::createTexture(std::move(drawn)));
                texture.loaded = true;
            }
        } else {
            preview.lstTextures.push_back({texture.name, {}});
            preview.ctlThumbs.Add(modelFolder + fileName, true);
            texture.loaded = false;
        }
        status.setProgressValue(ProgressBar::LoadTextures, int(k) + 1);
    }
}

void PreviewMaterialHook::materialsDone(EditingContext& ctx) {
    ctx.preview.ctlThumbs.Caption = intText(int64_t(ctx.model.textures.size())) + " textures loaded";
    previewControls(ctx).texturesChanged();
}

}  // namespace tarv
