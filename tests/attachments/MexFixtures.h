#pragma once
// Byte tables of .mex files for the tests, written from the file layout (not from our writer), and a
// marker fake that records what the reader asks for.
#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "attachments/state/MexChunkTable.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {

inline constexpr uint16_t kHomeworld = 258;
inline constexpr uint16_t kCataclysm = 262;

inline ByteBuilder& mexHeader(ByteBuilder& b, uint16_t version, int16_t count) {
    return b.str("mannngo").u8(0).u16(version).i16(count);
}

// Tag, ID field (characters, a zero byte, 0xAB up to 8 bytes) and body size.
inline ByteBuilder& chunkHeader(ByteBuilder& b, const std::string& tag, const std::string& id, int32_t size) {
    b.zstr(tag).zstr(id);
    if (id.size() < 7) b.fill(7 - id.size(), 0xAB);
    return b.i32(size);
}

// A point name field: characters, a zero byte, 0xCD up to 20 bytes.
inline ByteBuilder& nameField(ByteBuilder& b, const std::string& name) {
    b.zstr(name);
    if (name.size() < 19) b.fill(19 - name.size(), 0xCD);
    return b;
}

inline ByteBuilder& cataclysmBlock(ByteBuilder& b) { return b.u8(0).fill(31, 0xCD); }

inline ByteBuilder& vec(ByteBuilder& b, float x, float y, float z) { return b.f32(x).f32(y).f32(z); }

inline ByteBuilder& colChunk(ByteBuilder& b, const std::string& id, int32_t level, float x, float y, float z,
                             float radius) {
    chunkHeader(b, "Col", id, 20).i32(level);
    return vec(b, x, y, z).f32(radius);
}

inline ByteBuilder& rctChunk(ByteBuilder& b, const std::string& id, int32_t level, float x, float y, float z, float w,
                             float h, float d) {
    chunkHeader(b, "Rct", id, 28).i32(level);
    vec(b, x, y, z);
    return vec(b, w, h, d);
}

// "Gun", "Dmg", "Eng" (with the Cataclysm block when cataclysm), "Dok" and "Sal" (with the name).
inline ByteBuilder& coneChunk(ByteBuilder& b, const std::string& tag, const std::string& id, float px, float py,
                              float pz, float nx, float ny, float nz, float cone, float edge,
                              const std::string& name = "", bool cataclysm = false) {
    const bool named = tag == "Dok" || tag == "Sal";
    const bool block = tag == "Eng" && cataclysm;
    chunkHeader(b, tag, id, named ? 52 : block ? 64 : 32);
    vec(b, px, py, pz);
    vec(b, nx, ny, nz);
    b.f32(cone).f32(edge);
    if (named) nameField(b, name);
    if (block) cataclysmBlock(b);
    return b;
}

// Colour bytes in the file's order: red, blue, green.
inline ByteBuilder& navChunk(ByteBuilder& b, const std::string& id, float x, float y, float z, uint8_t red,
                             uint8_t blue, uint8_t green, const std::string& name, bool cataclysm = false) {
    chunkHeader(b, "Nav", id, cataclysm ? 68 : 36);
    vec(b, x, y, z).u8(red).u8(blue).u8(green).u8(0xCD);
    nameField(b, name);
    if (cataclysm) cataclysmBlock(b);
    return b;
}

// Records the reader's calls to the marker code, in order.
class RecordingMarkers : public MexMarkerBuilder {
public:
    void createBlankMexMesh(EditingContext&, const std::string& name, int index) override {
        calls.push_back("blank " + name + " " + std::to_string(index));
    }
    void buildMarker(EditingContext&, int index, const MexMarkerRequest& request) override {
        static const char* const shapes[] = {"sphere", "box", "cone", "gun", "none"};
        std::string call = "marker " + std::to_string(index) + " " + shapes[int(request.shape)];
        if (request.shape == MexMarkerShape::GunRule) call += " " + std::to_string(request.gunNumber);
        calls.push_back(call);
        requests.push_back(request);
    }
    void setChunkColour(EditingContext&, int index) override { calls.push_back("colour " + std::to_string(index)); }
    std::vector<std::string> calls;
    std::vector<MexMarkerRequest> requests;
};

}  // namespace tarv::test

namespace tarv::test {

// "6D 61 6E" -> bytes; "12x00" repeats a byte.
inline std::vector<uint8_t> hexBytes(const std::string& text) {
    std::vector<uint8_t> out;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ' || text[i] == '\n') {
            ++i;
            continue;
        }
        size_t end = text.find_first_of(" \n", i);
        if (end == std::string::npos) end = text.size();
        const std::string word = text.substr(i, end - i);
        const size_t x = word.find('x');
        if (x == std::string::npos)
            out.push_back(uint8_t(std::stoul(word, nullptr, 16)));
        else
            out.insert(out.end(), std::stoul(word.substr(0, x)), uint8_t(std::stoul(word.substr(x + 1), nullptr, 16)));
        i = end;
    }
    return out;
}

// The worked example: a collision sphere "Col0" (level 1, centre 0, radius 10) and a nav light "NAV" named
// "Light0" at (1, 2, 3) with the colour (255, 0, 128).
inline std::vector<uint8_t> workedFixture(bool cataclysm) {
    std::string text = "6D 61 6E 6E 6E 67 6F 00 ";
    text += cataclysm ? "06 01 02 00 " : "02 01 02 00 ";
    text += "43 6F 6C 00 43 6F 6C 30 00 AB AB AB 14 00 00 00 01 00 00 00 12x00 00 00 20 41 ";
    text += cataclysm ? "4E 61 76 00 4E 41 56 00 AB AB AB AB 44 00 00 00 "
                      : "4E 61 76 00 4E 41 56 00 AB AB AB AB 24 00 00 00 ";
    text += "00 00 80 3F 00 00 00 40 00 00 40 40 FF 80 00 CD 4C 69 67 68 74 30 00 13xCD";
    if (cataclysm) text += " 00 31xCD";
    return hexBytes(text);
}

// One chunk of every type and one unknown tag ("Xyz", 8 bytes of body), in the order c, r, g, d, e, k, s, n.
inline ByteBuilder everyTypeFile(uint16_t version, bool withUnknown = true) {
    const bool cat = version == kCataclysm;
    ByteBuilder b;
    mexHeader(b, version, withUnknown ? 9 : 8);
    colChunk(b, "Col0", 1, 0.5f, -1, 2, 10);
    rctChunk(b, "Rct0", 1, -1, -2, -3, 2, 4, 6);
    coneChunk(b, "Gun", "Gun0", 1, 2, 3, 0, 0, 1, 15, 5);
    coneChunk(b, "Dmg", "Dmg0", 4, 5, 6, 0, 1, 0, 20, 10);
    coneChunk(b, "Eng", "Eng0", 7, 8, 9, -1, 0, 0, 30, 2.5f, "", cat);
    coneChunk(b, "Dok", "DOCK", 1, 1, 1, 1, 0, 0, 45, 5, "DockPoint1");
    coneChunk(b, "Sal", "SALVAGE", 2, 2, 2, 0, 1, 0, 45, 5, "SalvagePoint1");
    if (withUnknown) chunkHeader(b, "Xyz", "What", 8).fill(8, 0x11);
    navChunk(b, "NAV", 3, 3, 3, 255, 128, 0, "NavLight1", cat);
    return b;
}

}  // namespace tarv::test
