#pragma once
// getMaterialFromFile: one material of a second .peo made into a model material, in two steps. The check
// reads and validates the material entry and names its texture, and throws before anything changes; the
// commit fills the material, makes its preview material and finds or appends its texture. A new texture
// whose .lif lies beside the second file (any letter case) is copied atomically into the model folder
// under the model name, listed on the Textures page, drawn in memory and made the preview texture and the
// thumbnail. No temporary file is written.
#include <cstdint>
#include <string>

#include "base/BinaryReader.h"
#include "model/state/PeoLayout.h"
#include "model/state/ShipModel.h"

namespace tarv {

class EditingContext;
class TextureSource;

// One checked material entry of a second file.
struct ImportedMaterialEntry {
    peo::PeoMaterialEntry entry;
    int32_t listOffset = 0;   // the material list's offset from the file's header
    std::string textureName;  // t, as read at the texture name offset
};

// Entry `number` of the file's material list (the public one when its count is not 0, else the local
// one). Throws a RunTimeError (62) whose description is the reason when the number is not 0 to count - 1,
// the entry lies outside the file, or the texture name offset lies outside it (offset 0 reads the file's
// identifier).
ImportedMaterialEntry checkMaterialFromFile(const BinaryReader& file, int32_t number);

// The base name of a file: its name after the last "\" or "/" up to the last "."; the whole name when it
// has no ".".
std::string importBaseName(const std::string& path);
// The model name of texture t of the file: base name & t; the no-texture names "RMF99ba" and "RMF97ba"
// stay as they are, so the material stays untextured in the saved file.
std::string importTextureName(const std::string& path, const std::string& t);

// The commit: the material for the checked entry of file `path`, read with `number`, with its log lines,
// its preview material (at index materialCount) and its texture, found by model name (the last match) or
// appended with its copy, row, thumbnail and preview texture. A failed copy shows the error report and the
// texture is then listed as missing, not loaded. filePosition is 0: the material has no entry in the model
// file. Does not touch the model's materials or counts.
PeoMaterial getMaterialFromFile(EditingContext& ctx, TextureSource& source, const std::string& path, int32_t number,
                                const ImportedMaterialEntry& checked);

}  // namespace tarv
