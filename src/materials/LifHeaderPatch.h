#pragma once
// Edited header fields of a .lif written back in place: the box texts become 32-bit numbers first (all of
// them, so an overflow writes nothing), then the whole file is read, patched and written atomically. A
// missing file is never created.
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>
#include <vector>

namespace tarv {

// Header offsets of the fields the boxes edit (little-endian 32-bit).
inline constexpr size_t kLifFlagsOffset = 12;
inline constexpr size_t kLifPaletteCRCOffset = 24;
inline constexpr size_t kLifImageCRCOffset = 28;

// A box's number: the numeric beginning of its text (C locale), rounded half to even into 32 bits;
// 0 when the text does not begin with a number. Throws Overflow (6) outside the 32-bit range.
int32_t lifHeaderBoxValue(std::string_view text);

// The fields to write; an empty one is left as it is.
struct LifHeaderFields {
    std::optional<int32_t> flags;
    std::optional<int32_t> paletteCRC;
    std::optional<int32_t> imageCRC;
};

// Patches the fields into the file's bytes. Throws error 62 when the bytes are too short to hold them
// (32 bytes), and leaves them untouched then.
void patchLifHeaderBytes(std::vector<uint8_t>& bytes, const LifHeaderFields& fields);

// Patches the fields into the file: read whole (a missing file is error 53), patched, written atomically.
void patchLifHeaderFile(const std::filesystem::path& file, const LifHeaderFields& fields);

}  // namespace tarv
