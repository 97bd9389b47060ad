#pragma once
// .lif fixtures built from byte tables, independently of any writer of ours.
#include <cstdint>
#include <vector>

#include "ByteBuilder.h"

namespace tarv::test {

struct LifFields {
    int32_t flags = 50;
    int32_t width = 2;
    int32_t height = 2;
    int32_t paletteCRC = 9;
    int32_t imageCRC = 7;
    int32_t data = 48;
    int32_t palette = 0;
    int32_t team0 = 0;
    int32_t team1 = 0;
};

// The 48-byte header as the games write it: "Willy 7", a zero byte, version 260.
inline ByteBuilder lifHeader(const LifFields& f) {
    ByteBuilder b;
    b.str("Willy 7").u8(0).i32(260).i32(f.flags).i32(f.width).i32(f.height).i32(f.paletteCRC).i32(f.imageCRC);
    b.i32(f.data).i32(f.palette).i32(f.team0).i32(f.team1);
    return b;
}

// Palette entry i: (10 + 40 i, 20 + 40 i, 30 + 40 i, 40 + 40 i) for the first four, then (i, i, i, 255 - i).
inline std::vector<uint8_t> testPalette() {
    std::vector<uint8_t> p;
    for (int i = 0; i < 256; ++i) {
        if (i < 4) {
            for (int c = 0; c < 4; ++c) p.push_back(uint8_t(10 * (c + 1) + 40 * i));
        } else {
            p.insert(p.end(), {uint8_t(i), uint8_t(i), uint8_t(i), uint8_t(255 - i)});
        }
    }
    return p;
}

// A table with the given amounts for indices 0 to 3 and zeros after.
inline std::vector<uint8_t> teamTable(std::vector<uint8_t> first) {
    first.resize(256, 0);
    return first;
}

inline const std::vector<uint8_t> kTeam0Amounts = teamTable({0, 64, 0, 128});
inline const std::vector<uint8_t> kTeam1Amounts = teamTable({0, 0, 200, 255});

// The standard layout: header, n index bytes, palette, team 0, team 1; length n + 1584.
inline std::vector<uint8_t> standardLif(std::vector<uint8_t> indices, int32_t width, int32_t height, int32_t flags = 50,
                                        std::vector<uint8_t> palette = testPalette(),
                                        std::vector<uint8_t> team0 = kTeam0Amounts,
                                        std::vector<uint8_t> team1 = kTeam1Amounts) {
    const int32_t n = int32_t(indices.size());
    LifFields f;
    f.flags = flags;
    f.width = width;
    f.height = height;
    f.palette = 48 + n;
    f.team0 = 48 + n + 1024;
    f.team1 = 48 + n + 1280;
    return lifHeader(f).bytes(indices).bytes(palette).bytes(team0).bytes(team1).data();
}

// The standard 2 x 2 texture with indices 0, 1, 2, 3.
inline std::vector<uint8_t> standard2x2(int32_t flags = 50) { return standardLif({0, 1, 2, 3}, 2, 2, flags); }

// An alpha texture of length 4n + 48: RGBA pixels and no palette.
inline std::vector<uint8_t> rgbaLif(const std::vector<uint8_t>& rgba, int32_t width, int32_t height,
                                    int32_t flags = 8) {
    LifFields f;
    f.flags = flags;
    f.width = width;
    f.height = height;
    return lifHeader(f).bytes(rgba).data();
}

}  // namespace tarv::test
