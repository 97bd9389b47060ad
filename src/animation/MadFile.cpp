#include "animation/MadFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <vector>

#include "animation/MadTracks.h"
#include "base/AtomicFile.h"
#include "base/BinaryReader.h"
#include "base/ByteWriter.h"
#include "editor/context/EditingContext.h"
#include "model/LogFiles.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"

namespace tarv {

// ---------------------------------------------------------------------------------------------------------
// String block

void MadStringBlock::add(const std::string& name) {
    firstOffset_.emplace(name, int64_t(bytes_.size()));  // keeps the first offset of a repeated name
    bytes_ += name;
    bytes_ += '\0';
}

int64_t MadStringBlock::offsetOf(const std::string& name) const {
    auto it = firstOffset_.find(name);
    return it == firstOffset_.end() ? -1 : it->second;
}

int64_t firstWholeNameOffset(const std::string& block, const std::string& name) {
    size_t start = 0;
    while (start < block.size()) {
        size_t end = block.find('\0', start);
        if (end == std::string::npos) end = block.size();
        if (block.compare(start, end - start, name) == 0) return int64_t(start);
        start = end + 1;
    }
    return -1;
}

namespace {

constexpr const char* kModule = "modMad";
constexpr float kSnapBelow = 0.0001f;
constexpr float kMadVersion = 0.91f;
constexpr float kFramesPerSecond = 30.0f;

// ---------------------------------------------------------------------------------------------------------
// Reading

struct MadHeader {
    float version = 0;
    int32_t stringBlockLength = 0;
    int32_t stringBlockOffset = 0;
    float animationLength = 0;
    int32_t nObjects = 0;
    int32_t objPathOffset = 0;
    int32_t nAnimations = 0;
};

// A whole file, parsed and checked; nothing of the model has changed yet.
struct ParsedMad {
    MadHeader header;
    std::vector<MadAnimation> animations;
    std::vector<MadObject> tracks;
    std::vector<int64_t> timeArrayOffsets;  // per track, for the log
};

[[noreturn]] void refuse(const BinaryReader& r, const std::string& what) {
    throw RunTimeError::badFile("The MAD file " + r.fileName() + " is damaged: " + what + ".");
}

float snapped(float angle) { return std::fabs(angle) < kSnapBelow ? 0.0f : angle; }

float floatAt(const uint8_t* base, int64_t index) { return loadF32({base + index * 4, 4}, 0); }

std::string nameAt(const BinaryReader& r, const std::string& block, int64_t offset, const std::string& owner) {
    if (offset < 0 || offset >= int64_t(block.size()))
        refuse(r, "the name offset " + intText(offset) + " of " + owner + " lies outside the string block of " +
                      intText(int64_t(block.size())) + " bytes");
    size_t end = block.find('\0', size_t(offset));
    if (end == std::string::npos) end = block.size();
    return block.substr(size_t(offset), end - size_t(offset));
}

ParsedMad parseMad(const BinaryReader& r) {
    const int64_t size = r.size();
    if (size < kMadHeaderSize)
        refuse(r, "it has " + intText(size) + " bytes, fewer than its " + intText(kMadHeaderSize) + "-byte header");

    ParsedMad mad;
    MadHeader& h = mad.header;
    h.version = r.f32(8, "version");
    h.stringBlockLength = r.i32(12, "stringBlockLength");
    h.stringBlockOffset = r.i32(16, "stringBlockOffset");
    h.animationLength = r.f32(20, "animationLength");
    h.nObjects = r.i32(28, "nObjects");
    h.objPathOffset = r.i32(32, "objPathOffset");
    h.nAnimations = r.i32(36, "nAnimations");

    if (h.nAnimations < 0 || h.nAnimations > kMaxMadAnimations)
        refuse(r, "it counts " + intText(h.nAnimations) + " animations (0 to " + intText(kMaxMadAnimations) +
                      " are possible)");
    if (h.nObjects < 0 || h.nObjects > kMaxMadObjects)
        refuse(r, "it counts " + intText(h.nObjects) + " objects (0 to " + intText(kMaxMadObjects) + " are possible)");
    const int64_t objectEntries = kMadHeaderSize + int64_t(kMadAnimationEntrySize) * h.nAnimations;
    const int64_t entriesEnd = objectEntries + int64_t(kMadObjectEntrySize) * h.nObjects;
    if (entriesEnd > size)
        refuse(r, "its " + intText(h.nAnimations) + " animation and " + intText(h.nObjects) +
                      " object entries run past the end of the file of " + intText(size) + " bytes");
    if (h.stringBlockLength < 0 || h.stringBlockOffset < 0 || int64_t(h.stringBlockOffset) + h.stringBlockLength > size)
        refuse(r, "its string block (" + intText(h.stringBlockLength) + " bytes at offset " +
                      intText(h.stringBlockOffset) + ") lies outside the file of " + intText(size) + " bytes");
    auto blockBytes = r.bytes(h.stringBlockOffset, h.stringBlockLength, "string block");
    const std::string block(blockBytes.begin(), blockBytes.end());

    mad.animations.resize(size_t(h.nAnimations));
    for (int32_t a = 0; a < h.nAnimations; ++a) {
        const int64_t at = kMadHeaderSize + int64_t(kMadAnimationEntrySize) * a;
        MadAnimation& anim = mad.animations[size_t(a)];
        anim.name = nameAt(r, block, r.i32(at, "animation nameOffset"), "animation " + intText(a + 1));
        anim.startTime = r.f32(at + 4, "animation startTime");
        anim.endTime = r.f32(at + 8, "animation endTime");
        const int32_t flags = r.i32(at + 12, "animation flags");
        if (flags < 0 || flags > 255)
            refuse(r, "animation " + intText(a + 1) + " has the flags value " + intText(flags) +
                          " (0 to 255 are possible)");
        anim.loop = uint8_t(flags);
    }

    // Every key takes 40 bytes of arrays, so the file's size bounds the keys it can hold in all; arrays that
    // overlap must not make a small file claim a huge number of keys.
    const int64_t keyRoom = size / kMadBytesPerKey;
    int64_t keyTotal = 0;
    mad.tracks.resize(size_t(h.nObjects));
    mad.timeArrayOffsets.resize(size_t(h.nObjects));
    const uint8_t* data = r.data().data();
    for (int32_t i = 0; i < h.nObjects; ++i) {
        const int64_t at = objectEntries + int64_t(kMadObjectEntrySize) * i;
        const std::string owner = "object " + intText(i);
        MadObject& track = mad.tracks[size_t(i)];
        track.name = nameAt(r, block, r.i32(at, "object nameOffset"), owner);
        track.animBits = r.u32(at + 8, "object animBits");
        const int32_t n = r.i32(at + 12, "object nKeyframes");
        if (n < 0) refuse(r, owner + " counts " + intText(n) + " keyframes");
        static constexpr const char* kArrayNames[8] = {"Time", "TCB", "X", "Y", "Z", "H", "P", "B"};
        const uint8_t* arrays[8];
        for (int j = 0; j < 8; ++j) {
            const int64_t offset = r.i32(at + 16 + 4 * j, "object array offset");
            const int64_t floats = int64_t(n) * (j == 1 ? 3 : 1);
            if (offset < 0 || offset > size || floats * 4 > size - offset)
                refuse(r, "the " + std::string(kArrayNames[j]) + " array of " + owner + " (" + intText(floats) +
                              " floats at offset " + intText(offset) + ") runs past the end of the file of " +
                              intText(size) + " bytes");
            arrays[j] = data + offset;
            if (j == 0) mad.timeArrayOffsets[size_t(i)] = offset;
        }

        keyTotal += n;
        if (keyTotal > keyRoom)
            refuse(r, "its objects claim more keyframes than the file of " + intText(size) + " bytes can hold");

        track.keyframes.resize(size_t(n));
        for (int64_t k = 0; k < n; ++k) {
            MadKeyframe& key = track.keyframes[size_t(k)];
            key.time = floatAt(arrays[0], k);
            key.tension = floatAt(arrays[1], 3 * k);
            key.continuity = floatAt(arrays[1], 3 * k + 1);
            key.bias = floatAt(arrays[1], 3 * k + 2);
            key.position.z = -floatAt(arrays[2], k);
            key.position.x = floatAt(arrays[3], k);
            key.position.y = floatAt(arrays[4], k);
            key.rotation.x = snapped(floatAt(arrays[5], k));
            key.rotation.y = -snapped(floatAt(arrays[6], k));
            key.rotation.z = -snapped(floatAt(arrays[7], k));
        }
    }
    return mad;
}

// The log lines of a read, in the order the games' tool writes them.
void logRead(EditingContext& ctx, const ParsedMad& mad) {
    const MadHeader& h = mad.header;
    addToLog(ctx, "Loaded MAD version: " + floatText(h.version));
    addToLog(ctx, "String block Offset: " + intText(h.stringBlockOffset));
    addToLog(ctx, "String block length: " + intText(h.stringBlockLength));
    addToLog(ctx, "No of animations: " + intText(h.nAnimations));
    addToLog(ctx, "No of objects: " + intText(h.nObjects));
    addToLog(ctx, "Animation length: " + floatText(h.animationLength));
    addToLog(ctx, "Seeking to " + intText(int64_t(h.stringBlockOffset) + 1));
    addToLog(ctx, "Loading " + intText(int64_t(h.nObjects) + h.nAnimations) + " names....");
    addToLog(ctx, "Finished getting object names");
    addToLog(ctx, "Getting animation info....");
    for (size_t a = 0; a < mad.animations.size(); ++a) {
        const MadAnimation& anim = mad.animations[a];
        addToLog(ctx,
                 "  " + floatText(anim.startTime) + " - " + floatText(anim.endTime) + " (" + intText(anim.loop) + ")");
        const int64_t after = kMadHeaderSize + int64_t(kMadAnimationEntrySize) * int64_t(a + 1);
        addToLog(ctx, "Animation " + intText(int64_t(a) + 1) + " " + anim.name + " at offset " + intText(after + 1));
    }
    addToLog(ctx, "Objects offset: " + intText(h.objPathOffset));
    for (size_t i = 0; i < mad.tracks.size(); ++i) {
        const MadObject& track = mad.tracks[i];
        addToLog(ctx, "Adding object: " + track.name);
        addToLog(ctx, "  AnimBits: " + intText(track.animBits));
        addToLog(ctx, "  Keyframes: " + intText(track.keyframeCount()));
        if (track.keyframeCount() > 0)
            addToLog(ctx, "  Object " + intText(int64_t(i)) +
                              " Keyframe 0 Time array is at: " + intText(mad.timeArrayOffsets[i] + 1));
    }
}

// ---------------------------------------------------------------------------------------------------------
// Writing

// What the writer decided before it builds the image.
struct MadWritePlan {
    std::vector<int> writtenTracks;  // track indices, in track order
    MadStringBlock block;
};

// Walks the linked objects (key total, names) and picks the tracks to write. Returns false when there is
// nothing to write. Throws Overflow beyond the limits.
bool planMadWrite(EditingContext& ctx, MadWritePlan& plan) {
    const auto& tracks = ctx.animation.madObjects;
    const auto& objects = ctx.model.peoObjects;

    int64_t keyTotal = 0;
    bool anyLinked = false;
    std::vector<uint8_t> liveLink(tracks.size(), 0), deadLink(tracks.size(), 0);
    std::vector<const std::string*> linkedNames;
    for (const PeoObject& object : objects) {
        if (object.madObjectIndex < 0) continue;
        if (object.madObjectIndex >= int(tracks.size())) throw RunTimeError::subscriptOutOfRange();
        if (object.isDeleted()) {
            deadLink[size_t(object.madObjectIndex)] = 1;
            continue;
        }
        liveLink[size_t(object.madObjectIndex)] = 1;
        anyLinked = true;
        keyTotal += tracks[size_t(object.madObjectIndex)].keyframeCount();
        if (keyTotal > kMadMaxKeyTotal) throw RunTimeError::overflow();
        linkedNames.push_back(&object.name);
    }
    if (!anyLinked || keyTotal == 0) return false;
    if (ctx.animation.madObjectCount() > kMadMaxTracks) throw RunTimeError::overflow();
    // A track's mask has one bit per animation, and readers take no more animations than that.
    if (ctx.animation.madAnimations.size() > size_t(kMaxMadAnimations)) throw RunTimeError::overflow();

    for (const MadAnimation& anim : ctx.animation.madAnimations) plan.block.add(anim.name);
    for (const std::string* name : linkedNames) plan.block.add(*name);
    for (size_t i = 0; i < tracks.size(); ++i) {
        const MadObject& track = tracks[i];
        const bool onlyDeadLinks = deadLink[i] && !liveLink[i];
        if (track.keyframeCount() <= 0 || track.name == kDeletedObjectName || onlyDeadLinks) continue;
        plan.writtenTracks.push_back(int(i));
        if (!plan.block.contains(track.name)) plan.block.add(track.name);
    }
    return true;
}

std::vector<uint8_t> buildMadImage(EditingContext& ctx, const MadWritePlan& plan, const std::string& path) {
    auto& state = ctx.animation;
    const std::string& block = plan.block.bytes();
    const int64_t nAnimations = int64_t(state.madAnimations.size());
    const int64_t nObjects = int64_t(plan.writtenTracks.size());
    int64_t keyTotal = 0;
    for (int i : plan.writtenTracks) keyTotal += state.madObjects[size_t(i)].keyframeCount();
    const int64_t objPathOffset = kMadHeaderSize + kMadAnimationEntrySize * nAnimations;
    const int64_t firstArray = objPathOffset + kMadObjectEntrySize * nObjects;
    const int64_t stringBlockOffset = firstArray + kMadBytesPerKey * keyTotal;
    const int64_t fileSize = stringBlockOffset + int64_t(block.size());
    if (fileSize > INT32_MAX) throw RunTimeError::overflow();  // offsets are 32-bit in the file

    ctx.status().clearLog();
    addToLog(ctx, "Saving MAD anim: " + path);

    float animationLength = 0;
    for (const MadAnimation& anim : state.madAnimations) animationLength = std::max(animationLength, anim.endTime);

    ByteWriter out;
    out.reserve(size_t(fileSize));
    out.raw(kMadIdentifier, sizeof kMadIdentifier);
    out.f32(kMadVersion);
    addToLog(ctx, "Length of string block: " + intText(int64_t(block.size())));
    out.i32(int64_t(block.size()));
    addToLog(ctx, "String block offset is: " + intText(stringBlockOffset));
    out.i32(stringBlockOffset);
    addToLog(ctx, "Animation length: " + floatText(animationLength));
    out.f32(animationLength);
    out.f32(kFramesPerSecond);
    addToLog(ctx, "Objects: " + intText(nObjects));
    out.i32(nObjects);
    addToLog(ctx, "Animations: " + intText(nAnimations));
    addToLog(ctx, "ObjPath offset: " + intText(objPathOffset));
    out.i32(objPathOffset);
    out.i32(nAnimations);

    for (const MadAnimation& anim : state.madAnimations) {
        addToLog(ctx, "Saving animation: " + anim.name);
        out.i32(plan.block.offsetOf(anim.name));
        out.f32(anim.startTime);
        out.f32(anim.endTime);
        out.i32(anim.loop);
    }

    addToLog(ctx, "What the hell is this: " + intText(firstArray));
    static constexpr const char* kArrayLogs[8] = {
        "  Times array is at: ", "  TCB array is at: ", "  X array is at: ", "  Y array is at: ",
        "  Z array is at: ",     "  H array is at: ",   "  P array is at: ", "  B array is at: "};
    int64_t running = firstArray;
    for (int i : plan.writtenTracks) {
        const MadObject& track = state.madObjects[size_t(i)];
        const int64_t n = track.keyframeCount();
        addToLog(ctx, "Saving object " + intText(i) + ": " + track.name + " @ " + intText(out.position() + 1));
        out.i32(plan.block.offsetOf(track.name));
        out.i32(0);
        out.u32(calcAnimBits(ctx, i));
        out.i32(n);
        addToLog(ctx, "  " + intText(n) + " keyframes");
        addToLog(ctx, "  Length: " + intText(kMadBytesPerKey * n));
        for (int j = 0; j < 8; ++j) {
            addToLog(ctx, kArrayLogs[j] + intText(running));
            out.i32(running);
            running += (j == 1 ? 12 : 4) * n;
        }
    }

    const bool invertX = ctx.live.chkSaveKeyframesXrotInvert;
    for (int i : plan.writtenTracks) {
        calcDuplicates(ctx, i);
        const MadObject& track = state.madObjects[size_t(i)];
        addToLog(ctx, "Object " + intText(i) + ": " + track.name + " arrays at: " + intText(out.position() + 1));
        const auto& keys = track.keyframes;
        for (const MadKeyframe& k : keys) out.f32(k.time);
        for (const MadKeyframe& k : keys) {
            out.f32(k.tension);
            out.f32(k.continuity);
            out.f32(k.bias);
        }
        for (const MadKeyframe& k : keys) out.f32(-k.position.z);
        for (const MadKeyframe& k : keys) out.f32(k.position.x);
        for (const MadKeyframe& k : keys) out.f32(k.position.y);
        for (const MadKeyframe& k : keys) out.f32(invertX ? -k.rotation.x : k.rotation.x);
        for (const MadKeyframe& k : keys) out.f32(-k.rotation.y);
        for (const MadKeyframe& k : keys) out.f32(-k.rotation.z);
    }

    addToLog(ctx, "Saving strings at " + intText(out.position() + 1));
    out.raw(block.data(), block.size());
    return out.data();
}

}  // namespace

void getMadInfo(EditingContext& ctx, const std::filesystem::path& path, bool clearLinksFirst) {
    ctx.status().clearLog();
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) return;
    trapErrors(ctx, kModule, "getMadInfo", path.string(), [&] {
        const BinaryReader file = BinaryReader::fromFile(path);
        ctx.status().setPanelText(4, "MAD");  // the file is open, whatever its bytes hold
        ParsedMad mad;
        try {
            mad = parseMad(file);
        } catch (RunTimeError& e) {
            e.whileReading(path.filename().string());
            throw;
        }

        if (clearLinksFirst)
            for (PeoObject& object : ctx.model.peoObjects) object.madObjectIndex = -1;
        logRead(ctx, mad);
        AnimationState& state = ctx.animation;
        state.madAnimations = std::move(mad.animations);
        state.madObjects = std::move(mad.tracks);
        std::unordered_map<std::string, int16_t> trackOfName;
        for (size_t i = 0; i < state.madObjects.size(); ++i)
            trackOfName[state.madObjects[i].name] = int16_t(i);  // a later track of the same name wins
        for (PeoObject& object : ctx.model.peoObjects) {
            auto it = trackOfName.find(object.name);
            if (it != trackOfName.end()) object.madObjectIndex = it->second;
        }
    });
}

std::optional<std::vector<uint8_t>> buildMadFile(EditingContext& ctx, const std::filesystem::path& path) {
    MadWritePlan plan;
    if (!planMadWrite(ctx, plan)) return std::nullopt;
    return buildMadImage(ctx, plan, path.string());
}

bool exportMad(EditingContext& ctx, const std::filesystem::path& path) {
    return trapErrors(ctx, kModule, "exportMad", path.string(), [&] {
        if (auto image = buildMadFile(ctx, path)) writeFileAtomically(path, *image);
    });
}

}  // namespace tarv
