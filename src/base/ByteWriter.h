#pragma once
// Little-endian writing of a file image in memory: the writers' counterpart of BinaryReader. Values are
// appended, and fields whose value is known only later are patched at their offset.
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace tarv {

// Stores v little-endian into the sizeof v bytes at `at`, which the caller has made room for.
template <class Unsigned>
inline void storeLittleEndian(uint8_t* at, Unsigned v) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(at, &v, sizeof v);
    } else {
        for (size_t i = 0; i < sizeof v; ++i) at[i] = uint8_t(v >> (8 * i));
    }
}

// Appends v little-endian to a file image.
template <class Unsigned>
inline void appendLittleEndian(std::vector<uint8_t>& b, Unsigned v) {
    b.resize(b.size() + sizeof v);
    storeLittleEndian(b.data() + b.size() - sizeof v, v);
}

class ByteWriter {
public:
    void reserve(size_t n) { b_.reserve(n); }
    void u8(uint8_t v) { b_.push_back(v); }
    void u16(uint16_t v) { appendLittleEndian(b_, v); }
    void i16(int16_t v) { u16(uint16_t(v)); }
    void u32(uint32_t v) { appendLittleEndian(b_, v); }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void f32(float v) { u32(std::bit_cast<uint32_t>(v)); }
    void raw(const void* p, size_t n) {
        auto* c = static_cast<const uint8_t*>(p);
        b_.insert(b_.end(), c, c + n);
    }
    void text(const std::string& s) { b_.insert(b_.end(), s.begin(), s.end()); }
    void fill(size_t n, uint8_t v) { b_.insert(b_.end(), n, v); }

    int64_t position() const { return int64_t(b_.size()); }
    const std::vector<uint8_t>& data() const { return b_; }
    std::vector<uint8_t>& data() { return b_; }

private:
    std::vector<uint8_t> b_;
};

// Patches of fields inside a finished image; the caller has checked that the field lies inside it.
inline void patchU16(std::vector<uint8_t>& b, size_t at, uint16_t v) { storeLittleEndian(b.data() + at, v); }
inline void patchI32(std::vector<uint8_t>& b, size_t at, int32_t v) { storeLittleEndian(b.data() + at, uint32_t(v)); }
inline void patchF32(std::vector<uint8_t>& b, size_t at, float v) { patchI32(b, at, std::bit_cast<int32_t>(v)); }

}  // namespace tarv
