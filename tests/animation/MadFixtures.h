#pragma once
// Small ships and .mad byte tables for the animation tests, built independently of the writer.
#include <algorithm>
#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "animation/MadTracks.h"
#include "editor/context/EditingContext.h"

namespace tarv::test {

// A model whose objects carry the given names, none linked.
inline void setModelObjects(EditingContext& ctx, const std::vector<std::string>& names) {
    ctx.model.peoObjects.clear();
    for (const auto& name : names) {
        PeoObject object;
        object.name = name;
        ctx.model.peoObjects.push_back(object);
    }
}

inline MadKeyframe makeKey(float time, float tcb, Vector3 position, Vector3 rotation) {
    MadKeyframe k;
    k.time = time;
    k.tension = tcb;
    k.continuity = -tcb;
    k.bias = tcb / 2;
    k.position = position;
    k.rotation = rotation;
    return k;
}

// A track: opening key at -1, one key per given time, closing key one second after the last.
inline MadObject makeTrack(const std::string& name, const std::vector<float>& times) {
    MadObject t;
    t.name = name;
    t.keyframes.push_back(makeKey(-1, 0, {}, {}));
    for (float time : times) t.keyframes.push_back(makeKey(time, 0.25f, {1, 2, 3}, {0.5f, 0.25f, 0}));
    t.keyframes.push_back(makeKey(times.empty() ? 9999999.0f : times.back() + 1, 0, {}, {}));
    return t;
}

// The keys of the worked fixture, as they are in memory.
inline std::vector<MadKeyframe> workedKeys() {
    MadKeyframe a = makeKey(0, 0.5f, {1, 2, 3}, {0.5f, 0.25f, -0.125f});
    MadKeyframe b = makeKey(2, 0.0f, {4, -5, 6}, {0.0f, 0.001f, 1.5f});
    MadKeyframe open = a, close = b;
    open.time = -1;
    close.time = 3;
    return {open, a, b, close};
}

// The worked fixture, 273 bytes: animation "Fire" [0, 2] looping, one track "Gun" with keys at -1, 0, 2, 3.
inline ByteBuilder workedFixture(const std::string& identifier = std::string("Mellonn\0", 8)) {
    ByteBuilder b;
    b.str(identifier).padTo(8);
    b.f32(0.91f).i32(9).i32(264).f32(2.0f).f32(30.0f).i32(1).i32(56).i32(1);
    b.i32(0).f32(0.0f).f32(2.0f).i32(1);  // animation entry at 40
    b.i32(5).i32(0).i32(1).i32(4);        // object entry at 56
    for (int offset : {104, 120, 168, 184, 200, 216, 232, 248}) b.i32(offset);
    const auto keys = workedKeys();
    for (auto& k : keys) b.f32(k.time);                                   // 104
    for (auto& k : keys) b.f32(k.tension).f32(k.continuity).f32(k.bias);  // 120
    for (auto& k : keys) b.f32(-k.position.z);                            // X 168
    for (auto& k : keys) b.f32(k.position.x);                             // Y 184
    for (auto& k : keys) b.f32(k.position.y);                             // Z 200
    for (auto& k : keys) b.f32(k.rotation.x);                             // H 216
    for (auto& k : keys) b.f32(-k.rotation.y);                            // P 232
    for (auto& k : keys) b.f32(-k.rotation.z);                            // B 248
    b.zstr("Fire").zstr("Gun");                                           // 264
    return b;
}

// A .mad of the given animations and tracks, laid out as the worked fixture: header, animation entries,
// object entries, each track's eight arrays, the string block. A track has keys in every animation.
inline ByteBuilder madFile(const std::vector<MadAnimation>& animations, const std::vector<MadObject>& tracks) {
    std::string names;
    std::vector<int32_t> animationName, trackName;
    for (const auto& a : animations) {
        animationName.push_back(int32_t(names.size()));
        names += a.name + '\0';
    }
    for (const auto& t : tracks) {
        trackName.push_back(int32_t(names.size()));
        names += t.name + '\0';
    }
    const int32_t objects = 40 + 16 * int32_t(animations.size());
    int32_t data = objects + 48 * int32_t(tracks.size());
    int32_t stringBlock = data;
    for (const auto& t : tracks)
        stringBlock += 4 * 10 * int32_t(t.keyframes.size());  // time, tension, continuity, bias and six values
    float length = 0;
    for (const auto& a : animations) length = std::max(length, a.endTime);
    ByteBuilder b;
    b.str(std::string("Mellonn\0", 8)).f32(0.91f).i32(int32_t(names.size())).i32(stringBlock).f32(length).f32(30);
    b.i32(int32_t(tracks.size())).i32(objects).i32(int32_t(animations.size()));
    for (size_t a = 0; a < animations.size(); ++a)
        b.i32(animationName[a]).f32(animations[a].startTime).f32(animations[a].endTime).i32(animations[a].loop);
    for (size_t i = 0; i < tracks.size(); ++i) {
        const int32_t n = int32_t(tracks[i].keyframes.size());
        b.i32(trackName[i]).i32(0).u32((1u << animations.size()) - 1).i32(n);
        for (int32_t width : {1, 3, 1, 1, 1, 1, 1, 1}) {
            b.i32(data);
            data += 4 * width * n;
        }
    }
    for (const auto& t : tracks) {
        const auto& keys = t.keyframes;
        for (auto& k : keys) b.f32(k.time);
        for (auto& k : keys) b.f32(k.tension).f32(k.continuity).f32(k.bias);
        for (auto& k : keys) b.f32(-k.position.z);
        for (auto& k : keys) b.f32(k.position.x);
        for (auto& k : keys) b.f32(k.position.y);
        for (auto& k : keys) b.f32(k.rotation.x);
        for (auto& k : keys) b.f32(-k.rotation.y);
        for (auto& k : keys) b.f32(-k.rotation.z);
    }
    b.str(names);
    return b;
}

// The log box as lines.
inline std::vector<std::string> logLines(const std::string& box) {
    std::vector<std::string> lines;
    std::string line;
    for (char c : box) {
        if (c == '\r') continue;
        if (c == '\n') {
            lines.push_back(line);
            line.clear();
        } else {
            line += c;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

inline int32_t i32At(const std::vector<uint8_t>& bytes, size_t at) {
    return int32_t(uint32_t(bytes.at(at)) | (uint32_t(bytes.at(at + 1)) << 8) | (uint32_t(bytes.at(at + 2)) << 16) |
                   (uint32_t(bytes.at(at + 3)) << 24));
}

// The zero-ended text at an offset of a byte image.
inline std::string textAt(const std::vector<uint8_t>& bytes, size_t at) {
    std::string s;
    while (at < bytes.size() && bytes[at] != 0) s += char(bytes[at++]);
    return s;
}

}  // namespace tarv::test
