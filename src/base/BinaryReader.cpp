#include "base/BinaryReader.h"

#include <bit>
#include <cstring>

#include "base/AtomicFile.h"
#include "base/RunTimeError.h"

namespace tarv {

BinaryReader::BinaryReader(std::vector<uint8_t> bytes, std::string fileName)
    : bytes_(std::move(bytes)), fileName_(std::move(fileName)) {}

BinaryReader BinaryReader::fromFile(const std::filesystem::path& path) {
    return BinaryReader(readWholeFile(path), path.filename().string());
}

bool BinaryReader::contains(int64_t offset, int64_t length) const {
    return offset >= 0 && length >= 0 && offset <= size() && length <= size() - offset;
}

void BinaryReader::fail(const char* field, int64_t offset, int64_t length) const {
    throw RunTimeError::badFile("The file " + fileName_ + " is damaged: " + field + " (" + std::to_string(length) +
                                " bytes at offset " + std::to_string(offset) + ") lies outside the file of " +
                                std::to_string(size()) + " bytes.");
}

void BinaryReader::require(int64_t offset, int64_t length, const char* field) const {
    if (!contains(offset, length)) fail(field, offset, length);
}

void BinaryReader::requireEntries(int64_t offset, int64_t count, int64_t entrySize, const char* field) const {
    if (count < 0 || offset < 0 || offset > size() || (entrySize > 0 && count > (size() - offset) / entrySize)) {
        throw RunTimeError::badFile("The file " + fileName_ + " is damaged: " + field + " (" + std::to_string(count) +
                                    " entries of " + std::to_string(entrySize) + " bytes at offset " +
                                    std::to_string(offset) + ") does not fit in the file of " + std::to_string(size()) +
                                    " bytes.");
    }
}

uint8_t BinaryReader::u8(int64_t offset, const char* field) const {
    require(offset, 1, field);
    return bytes_[size_t(offset)];
}

uint16_t BinaryReader::u16(int64_t offset, const char* field) const {
    require(offset, 2, field);
    return loadU16(bytes_, size_t(offset));
}

int16_t BinaryReader::i16(int64_t offset, const char* field) const { return int16_t(u16(offset, field)); }

uint32_t BinaryReader::u32(int64_t offset, const char* field) const {
    require(offset, 4, field);
    return loadU32(bytes_, size_t(offset));
}

int32_t BinaryReader::i32(int64_t offset, const char* field) const { return int32_t(u32(offset, field)); }

float BinaryReader::f32(int64_t offset, const char* field) const { return std::bit_cast<float>(u32(offset, field)); }

std::span<const uint8_t> BinaryReader::bytes(int64_t offset, int64_t count, const char* field) const {
    require(offset, count, field);
    return std::span<const uint8_t>(bytes_.data() + offset, size_t(count));
}

std::string BinaryReader::zeroTerminated(int64_t offset, const char* field) const {
    require(offset, 0, field);
    const uint8_t* begin = bytes_.data() + offset;
    const uint8_t* end = bytes_.data() + bytes_.size();
    const void* zero = std::memchr(begin, 0, size_t(end - begin));
    if (zero) end = static_cast<const uint8_t*>(zero);
    return std::string(reinterpret_cast<const char*>(begin), size_t(end - begin));
}

}  // namespace tarv
