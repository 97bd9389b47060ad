#pragma once
// The in-place patch of one material's 32-byte entry in a .peo file's bytes.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace tarv {

class EditingContext;
struct PeoMaterial;

// The offset of the entry that filePosition (1-based; 0 for none) names in a .peo's bytes, when it is the
// start of an entry of the material list in use (the public list when its count is not 0, else the local one)
// and that whole list lies within the bytes; nullopt otherwise.
std::optional<size_t> materialEntryOffset(std::span<const uint8_t> file, int32_t filePosition);

// Writes ambient, diffuse and specular (R, G, B, A) at entry + 4, + 8 and + 12, the flags word at + 24 and
// fullAmbient at + 26, little-endian. Every other byte stays. The entry must lie within the bytes.
void patchMaterialEntry(std::vector<uint8_t>& file, size_t entry, const PeoMaterial& material, int16_t flagsWord);

// The message shown when a material has no entry in the open model file.
inline const char* const kNoMaterialEntryText =
    "This material has no entry in the open PEO file; the change is kept in memory and will be written with the "
    "next save.";

// Patches material i's entry in the model file (currentModelPath) with flagsWord as its flags: reads the whole file (a missing file is
// an error, never created), checks the entry, patches and writes the file by the atomic road. When the
// material has no entry in the file, shows kNoMaterialEntryText and leaves the file alone. Throws on a
// failed read or write, with the file unchanged.
void patchMaterialInModelFile(EditingContext& ctx, int i, int16_t flagsWord);

}  // namespace tarv
