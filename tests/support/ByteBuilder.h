#pragma once
// Builds binary fixtures from byte tables, independently of the editor's writers.
#include <bit>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace tarv::test {

class ByteBuilder {
public:
    ByteBuilder& u8(uint8_t v) {
        b_.push_back(v);
        return *this;
    }
    ByteBuilder& i16(int16_t v) { return u16(uint16_t(v)); }
    ByteBuilder& u16(uint16_t v) {
        b_.push_back(uint8_t(v));
        b_.push_back(uint8_t(v >> 8));
        return *this;
    }
    ByteBuilder& i32(int32_t v) { return u32(uint32_t(v)); }
    ByteBuilder& u32(uint32_t v) {
        for (int i = 0; i < 4; ++i) b_.push_back(uint8_t(v >> (8 * i)));
        return *this;
    }
    ByteBuilder& f32(float v) { return u32(std::bit_cast<uint32_t>(v)); }
    ByteBuilder& bytes(const std::vector<uint8_t>& v) {
        b_.insert(b_.end(), v.begin(), v.end());
        return *this;
    }
    // Characters without a terminator.
    ByteBuilder& str(const std::string& s) {
        b_.insert(b_.end(), s.begin(), s.end());
        return *this;
    }
    // Characters and one zero byte.
    ByteBuilder& zstr(const std::string& s) {
        str(s);
        b_.push_back(0);
        return *this;
    }
    ByteBuilder& fill(size_t count, uint8_t value = 0) {
        b_.insert(b_.end(), count, value);
        return *this;
    }
    // Pads with value up to an absolute size.
    ByteBuilder& padTo(size_t size, uint8_t value = 0) {
        if (b_.size() < size) b_.resize(size, value);
        return *this;
    }

    ByteBuilder& patchU8(size_t at, uint8_t v) {
        grow(at + 1);
        b_[at] = v;
        return *this;
    }
    ByteBuilder& patchI16(size_t at, int16_t v) {
        grow(at + 2);
        b_[at] = uint8_t(v);
        b_[at + 1] = uint8_t(uint16_t(v) >> 8);
        return *this;
    }
    ByteBuilder& patchI32(size_t at, int32_t v) {
        grow(at + 4);
        for (int i = 0; i < 4; ++i) b_[at + i] = uint8_t(uint32_t(v) >> (8 * i));
        return *this;
    }
    ByteBuilder& patchF32(size_t at, float v) { return patchI32(at, std::bit_cast<int32_t>(v)); }

    size_t size() const { return b_.size(); }
    const std::vector<uint8_t>& data() const { return b_; }
    std::vector<uint8_t>& data() { return b_; }
    std::string asString() const { return std::string(b_.begin(), b_.end()); }

    void writeTo(const std::filesystem::path& path) const {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(b_.data()), std::streamsize(b_.size()));
    }

private:
    void grow(size_t n) {
        if (b_.size() < n) b_.resize(n, 0);
    }
    std::vector<uint8_t> b_;
};

}  // namespace tarv::test
