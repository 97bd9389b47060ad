#include "materials/LifHeaderPatch.h"

#include "base/AtomicFile.h"
#include "base/ByteWriter.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"

namespace tarv {

namespace {

constexpr size_t kPatchedHeaderSize = 32;

}  // namespace

int32_t lifHeaderBoxValue(std::string_view text) { return toInt32(leadingNumber(text)); }

void patchLifHeaderBytes(std::vector<uint8_t>& bytes, const LifHeaderFields& fields) {
    if (bytes.size() < kPatchedHeaderSize)
        throw RunTimeError::badFile("The file is shorter than a .lif header (" + intText(int64_t(bytes.size())) +
                                    " bytes).");
    if (fields.flags) patchI32(bytes, kLifFlagsOffset, *fields.flags);
    if (fields.paletteCRC) patchI32(bytes, kLifPaletteCRCOffset, *fields.paletteCRC);
    if (fields.imageCRC) patchI32(bytes, kLifImageCRCOffset, *fields.imageCRC);
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
