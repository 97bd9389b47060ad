#pragma once
// The .peo writer: the whole in-memory model as one Homeworld (0x402) or Cataclysm (0x500) file, with its
// normals computed afresh. The file is built completely in memory and written atomically, so a failed save
// leaves an existing file as it was.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tarv {

class EditingContext;

// Recomputes the normals, builds the file and writes it to path; then refreshMaterialPositions. Reads the live switches chkVNs and
// chkSHIPfilePEO as it runs. Traps nothing: a RunTimeError reaches the caller, and then no file has been
// touched. Every limit (active objects, materials, folded material counts, 16-bit corner and material
// indices, normals) is checked before anything is written.
void writePeoFile(EditingContext& ctx, const std::string& path, bool cataclysm);

// After bytes built by this writer were written to written: when that is the model file (currentModelPath,
// compared as the same file), sets each material's filePosition to its entry in it (list offset + 32 i + 1).
// Another file leaves every filePosition alone.
void refreshMaterialPositions(EditingContext& ctx, const std::filesystem::path& written,
                              std::span<const uint8_t> bytes);

// The same without writing: the bytes of the file (the model is updated as by a save).
std::vector<uint8_t> buildPeoFile(EditingContext& ctx, bool cataclysm);

}  // namespace tarv
