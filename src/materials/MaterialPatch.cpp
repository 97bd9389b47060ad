#include "materials/MaterialPatch.h"

#include "base/AtomicFile.h"
#include "base/BinaryReader.h"
#include "base/ByteWriter.h"
#include "editor/context/EditingContext.h"
#include "model/state/PeoLayout.h"
#include "model/state/ShipModel.h"

namespace tarv {

std::optional<size_t> materialEntryOffset(std::span<const uint8_t> file, int32_t filePosition) {
    if (file.size() < size_t(peo::kHeaderSize) || filePosition <= 0) return std::nullopt;
    const int64_t publicCount = loadI32(file, peo::header::publicMaterialCount);
    const bool usePublic = publicCount != 0;
    const int64_t count = usePublic ? publicCount : loadI32(file, peo::header::localMaterialCount);
    const int64_t list =
        loadI32(file, usePublic ? peo::header::publicMaterialListOffset : peo::header::localMaterialListOffset);
    if (count <= 0 || list < 0) return std::nullopt;
    if (list + count * peo::kMaterialEntrySize > int64_t(file.size())) return std::nullopt;
    const int64_t entry = int64_t(filePosition) - 1;
    if (entry < list || (entry - list) % peo::kMaterialEntrySize != 0 ||
        (entry - list) / peo::kMaterialEntrySize >= count)
        return std::nullopt;
    return size_t(entry);
}

void patchMaterialEntry(std::vector<uint8_t>& file, size_t entry, const PeoMaterial& material, int16_t flagsWord) {
    for (size_t b = 0; b < 4; ++b) {
        file[entry + 4 + b] = material.ambient[b];
        file[entry + 8 + b] = material.diffuse[b];
        file[entry + 12 + b] = material.specular[b];
    }
    patchU16(file, entry + 24, uint16_t(flagsWord));
    patchU16(file, entry + 26, uint16_t(material.fullAmbient));
}

void patchMaterialInModelFile(EditingContext& ctx, int i, int16_t flagsWord) {
    const PeoMaterial& material = ctx.model.materials.at(size_t(i));
    std::vector<uint8_t> file = readWholeFile(ctx.currentModelPath);
    const auto entry = materialEntryOffset(file, material.filePosition);
    if (!entry) {
        ctx.prompts().messageBox(kNoMaterialEntryText, ctx.version.appTitle, PromptIcon::None);
        return;
    }
    patchMaterialEntry(file, *entry, material, flagsWord);
    writeFileAtomically(ctx.currentModelPath, std::span<const uint8_t>(file));
}

}  // namespace tarv
