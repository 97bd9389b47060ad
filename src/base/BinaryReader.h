#pragma once
// Bounds-checked little-endian reading of a whole file held in memory. Every read is checked against the
// buffer; a read outside it throws a RunTimeError (62) naming the field, the offset and the file size.
#include <bit>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace tarv {

// Little-endian values at a position of a byte span that the caller has checked lies inside it.
inline uint16_t loadU16(std::span<const uint8_t> bytes, size_t at) {
    return uint16_t(bytes[at] | (bytes[at + 1] << 8));
}
inline uint32_t loadU32(std::span<const uint8_t> bytes, size_t at) {
    return uint32_t(bytes[at]) | (uint32_t(bytes[at + 1]) << 8) | (uint32_t(bytes[at + 2]) << 16) |
           (uint32_t(bytes[at + 3]) << 24);
}
inline int32_t loadI32(std::span<const uint8_t> bytes, size_t at) { return int32_t(loadU32(bytes, at)); }
inline float loadF32(std::span<const uint8_t> bytes, size_t at) { return std::bit_cast<float>(loadU32(bytes, at)); }

class BinaryReader {
public:
    BinaryReader(std::vector<uint8_t> bytes, std::string fileName);

    // Reads the whole file at once and closes it; a missing file is error 53 "File not found".
    static BinaryReader fromFile(const std::filesystem::path& path);

    int64_t size() const { return int64_t(bytes_.size()); }
    const std::string& fileName() const { return fileName_; }
    std::span<const uint8_t> data() const { return bytes_; }

    uint8_t u8(int64_t offset, const char* field) const;
    int16_t i16(int64_t offset, const char* field) const;
    uint16_t u16(int64_t offset, const char* field) const;
    int32_t i32(int64_t offset, const char* field) const;
    uint32_t u32(int64_t offset, const char* field) const;
    float f32(int64_t offset, const char* field) const;
    std::span<const uint8_t> bytes(int64_t offset, int64_t count, const char* field) const;
    // Bytes up to the first zero byte, or to the end of the file when there is none.
    std::string zeroTerminated(int64_t offset, const char* field) const;

    // Checks that count entries of entrySize bytes fit between offset and the end of the file; call it
    // before allocating room for a list whose count came from the file.
    void requireEntries(int64_t offset, int64_t count, int64_t entrySize, const char* field) const;
    bool contains(int64_t offset, int64_t length) const;

    [[noreturn]] void fail(const char* field, int64_t offset, int64_t length) const;

private:
    void require(int64_t offset, int64_t length, const char* field) const;
    std::vector<uint8_t> bytes_;
    std::string fileName_;
};

// A read position over a BinaryReader for files that are read front to back.
class ByteCursor {
public:
    explicit ByteCursor(const BinaryReader& reader, int64_t position = 0) : r_(reader), pos_(position) {}
    int64_t position() const { return pos_; }
    void seek(int64_t position) { pos_ = position; }
    void skip(int64_t count) { pos_ += count; }
    int64_t remaining() const { return r_.size() - pos_; }
    bool atEnd() const { return pos_ >= r_.size(); }

    uint8_t u8(const char* field) { return moveOn(r_.u8(pos_, field), 1); }
    int16_t i16(const char* field) { return moveOn(r_.i16(pos_, field), 2); }
    uint16_t u16(const char* field) { return moveOn(r_.u16(pos_, field), 2); }
    int32_t i32(const char* field) { return moveOn(r_.i32(pos_, field), 4); }
    uint32_t u32(const char* field) { return moveOn(r_.u32(pos_, field), 4); }
    float f32(const char* field) { return moveOn(r_.f32(pos_, field), 4); }
    std::span<const uint8_t> bytes(int64_t count, const char* field) {
        return moveOn(r_.bytes(pos_, count, field), count);
    }
    const BinaryReader& reader() const { return r_; }

private:
    // The value read at the position, which then moves past it.
    template <class T>
    T moveOn(T value, int64_t length) {
        pos_ += length;
        return value;
    }
    const BinaryReader& r_;
    int64_t pos_;
};

// A file's bytes where a field, or the part of it, that lies outside the file reads as zero bytes.
class ZeroFilledBytes {
public:
    explicit ZeroFilledBytes(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    int64_t size() const { return int64_t(bytes_.size()); }
    uint8_t u8(int64_t at) const { return at >= 0 && at < size() ? bytes_[size_t(at)] : 0; }
    int32_t i32(int64_t at) const {
        const uint8_t field[4] = {u8(at), u8(at + 1), u8(at + 2), u8(at + 3)};
        return loadI32(field, 0);
    }
    float f32(int64_t at) const { return std::bit_cast<float>(i32(at)); }

private:
    std::span<const uint8_t> bytes_;
};

}  // namespace tarv
