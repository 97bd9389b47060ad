#include "objects/MaterialImport.h"

#include <filesystem>

#include "base/AtomicFile.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "materials/TextureSource.h"
#include "model/LogFiles.h"
#include "model/ModelHelpers.h"
#include "scene/Scene.h"

namespace tarv {

namespace {

[[noreturn]] void refuse(const std::string& reason) { throw RunTimeError::badFile(reason); }

size_t lastSeparator(const std::string& path) { return path.find_last_of("\\/"); }

// The folder of a path, up to and including its last separator; "" when it has none.
std::string folderPart(const std::string& path) {
    const size_t at = lastSeparator(path);
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

}  // namespace

ImportedMaterialEntry checkMaterialFromFile(const BinaryReader& file, int32_t number) {
    const peo::PeoHeader header = peo::readHeader(file);
    const bool usePublic = header.publicMaterialCount != 0;
    const int32_t count = usePublic ? header.publicMaterialCount : header.localMaterialCount;
    ImportedMaterialEntry checked;
    checked.listOffset = usePublic ? header.publicMaterialListOffset : header.localMaterialListOffset;
    if (number < 0 || number >= count)
        refuse("material " + intText(int64_t(number)) + " is not in the file's list of " + intText(int64_t(count)));
    const int64_t at = int64_t(checked.listOffset) + int64_t(number) * peo::kMaterialEntrySize;
    if (checked.listOffset < 0 || !file.contains(at, peo::kMaterialEntrySize))
        refuse("material " + intText(int64_t(number)) + " lies outside the file");
    checked.entry = peo::readMaterialEntry(file, at);
    const int32_t nameAt = checked.entry.textureNameOffset;
    if (nameAt < 0 || nameAt >= file.size())
        refuse("the texture name of material " + intText(int64_t(number)) + " lies outside the file");
    checked.textureName = file.zeroTerminated(nameAt, "texture name");
    return checked;
}

std::string importBaseName(const std::string& path) {
    const size_t sep = lastSeparator(path);
    const std::string name = sep == std::string::npos ? path : path.substr(sep + 1);
    const size_t dot = name.rfind('.');
    return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string importTextureName(const std::string& path, const std::string& t) {
    return isNoTextureName(t) ? t : importBaseName(path) + t;
}

PeoMaterial getMaterialFromFile(EditingContext& ctx, TextureSource& source, const std::string& path, int32_t number,
                                const ImportedMaterialEntry& checked) {
    const std::string args = path + "|" + intText(int64_t(number));
    setErrorContext(ctx, "modPeo", "getMaterialFromFile", args);
    ShipModel& model = ctx.model;
    const peo::PeoMaterialEntry& e = checked.entry;
    addToLog(ctx, "Getting material: " + intText(int64_t(number)));

    PeoMaterial material;
    material.ambient = normaliseColour(e.ambient);
    material.diffuse = normaliseColour(e.diffuse);
    material.specular = normaliseColour(e.specular);
    material.kAlpha = e.kAlpha;
    material.fullAmbient = e.fullAmbient;
    material.filePosition = 0;
    material.smoothing = (e.flags & 2) != 0;
    material.flatShaded = (e.flags & 4) != 0;
    material.twoSided = (e.flags & 8) != 0;
    material.baseColour = (e.flags & 16) != 0;
    material.stripeColour = (e.flags & 32) != 0;
    material.selfIlluminated = (e.flags & 64) != 0;

    // The preview material takes the bytes as stored, scaled to 0..1.
    scene::MaterialPtr preview = scene::createMaterial(0);
    preview->setAmbient(e.ambient[0] / 255.0, e.ambient[1] / 255.0, e.ambient[2] / 255.0);
    preview->setSpecular(e.specular[0] / 255.0, e.specular[1] / 255.0, e.specular[2] / 255.0);
    if (material.selfIlluminated) preview->setEmissive(1, 1, 1);
    ctx.view.setMaterial(size_t(model.materialCount()), preview);

    const std::string& t = checked.textureName;
    const std::string modelName = importTextureName(path, t);
    int found = -1;
    for (size_t i = 0; i < model.textures.size(); ++i)
        if (model.textures[i].name == modelName) found = int(i);
    const bool appended = found < 0;
    if (appended) {
        model.textures.push_back(PeoTexture{modelName, false});
        found = int(model.textures.size()) - 1;
    }
    material.texture = int16_t(found);
    addToLog(ctx, "- Material: " + intText(int64_t(model.materialCount()) - 1) + " name: " + modelName +
                      " textureNo: " + intText(int64_t(found)));
    addToLog(ctx, "- Texture: " + model.textures[size_t(found)].name);
    if (!appended) return material;

    PreviewState& page = ctx.preview;
    const std::string modelFolder = folderPart(ctx.currentModelPath);
    const std::string modelCopy = modelFolder + modelName + ".lif";
    const std::string importFolder = folderPart(path);
    const auto lif =
        isNoTextureName(t)
            ? std::nullopt
            : findCaseInsensitive(
                  importFolder.empty() ? std::filesystem::path(".") : std::filesystem::path(importFolder), t + ".lif");
    bool copied = false;
    if (lif) {
        try {
            copyFileAtomically(*lif, modelCopy);
            copied = true;
        } catch (const std::exception& error) {
            reportError(ctx, error);
            setErrorContext(ctx, "modPeo", "getMaterialFromFile", args);
        }
    }
    page.lstTextures.push_back({modelName, {}});
    if (!copied) {
        page.ctlThumbs.Add(modelCopy, true);
        return material;
    }
    if (source.LoadFile(lif->string(), true) == LifReadResult::Read) {
        page.lstTextures.back().subItems = {intText(int64_t(source.width())), intText(int64_t(source.height())),
                                            intText(int64_t(source.flags()))};
        Image drawn = source.drawLayer(ctx.prefs.drawTeamColours ? 7 : 1);
        page.ctlThumbs.Add(modelCopy, true, drawn, modelName);
        writeLog(ctx, "  -> lif texture " + intText(int64_t(found)) + " as " + modelCopy, 3);
        ctx.view.setTexture(size_t(found), scene::createTexture(std::move(drawn)));
        model.textures[size_t(found)].loaded = true;
    }
    setErrorContext(ctx, "modPeo", "getMaterialFromFile", args);
    return material;
}

}  // namespace tarv
