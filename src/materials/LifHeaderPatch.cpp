#include "materials/LifHeaderPatch.h"

#include "base/AtomicFile.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"

namespace tarv {

namespace {

constexpr size_t kPatchedHeaderSize = 32;

void putInt32(std::vector<uint8_t>& bytes, size_t at, int32_t value) {
    const auto bits = uint32_t(value);
    for (size_t i = 0; i < 4; ++i) bytes[at + i] = uint8_t(bits >> (8 * i));
}

}  // namespace

int32_t lifHeaderBoxValue(std::string_view text) { return toInt32(leadingNumber(text)); }

void patchLifHeaderBytes(std::vector<uint8_t>& bytes, const LifHeaderFields& fields) {
    if (bytes.size() < kPatchedHeaderSize)
        throw RunTimeError::badFile("The file is shorter than a .lif header (" + intText(int64_t(bytes.size())) +
                                    " bytes).");
    if (fields.flags) putInt32(bytes, kLifFlagsOffset, *fields.flags);
    if (fields.paletteCRC) putInt32(bytes, kLifPaletteCRCOffset, *fields.paletteCRC);
    if (fields.imageCRC) putInt32(bytes, kLifImageCRCOffset, *fields.imageCRC);
}

void patchLifHeaderFile(const std::filesystem::path& file, const LifHeaderFields& fields) {
    std::vector<uint8_t> bytes = readWholeFile(file);
    try {
        patchLifHeaderBytes(bytes, fields);
    } catch (RunTimeError& e) {
        e.withDetail(file.string());
        throw;
    }
    writeFileAtomically(file, bytes);
}

}  // namespace tarv
