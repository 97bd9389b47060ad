#include "attachments/MexFile.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <filesystem>

#include "attachments/MexChunkTree.h"
#include "attachments/MexShpChecks.h"
#include "base/AtomicFile.h"
#include "base/ByteWriter.h"
#include "model/LogFiles.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

constexpr int64_t kHeaderSize = 12;
constexpr int64_t kChunkHeaderSize = 16;
constexpr int64_t kNameSize = 20;
constexpr int64_t kCataclysmBlockSize = 32;
constexpr size_t kMaxIdLength = 7;
constexpr size_t kMaxNameLength = 19;
const char* const kCrLf = "\r\n";

// The body size of a known tag in a file of the given variant.
int64_t bodySizeOf(char letter, bool cataclysm) {
    switch (letter) {
    case 'c': return 20;
    case 'r': return 28;
    case 'g':
    case 'd': return 32;
    case 'e': return cataclysm ? 64 : 32;
    case 'k':
    case 's': return 52;
    case 'n': return cataclysm ? 68 : 36;
    default: return 0;
    }
}

std::string keepBytes(std::span<const uint8_t> bytes, uint8_t dropAlso) {
    std::string kept;
    for (uint8_t b : bytes)
        if (b != 0 && b != dropAlso) kept += char(b);
    return kept;
}

std::string chunkText(int64_t i, int64_t count) { return "Chunk " + intText(i + 1) + " of " + intText(count); }

void requireBytes(ByteCursor& at, int64_t need, int64_t i, int64_t count, const std::string& part) {
    if (at.remaining() >= need) return;
    throw RunTimeError::badFile(chunkText(i, count) + " is cut off: its " + part + " needs " + intText(need) +
                                " bytes at offset " + intText(at.position()) + ", but the file ends at " +
                                intText(at.reader().size()) + ".");
}

Vector3 readVector(ByteCursor& at, const char* field) {
    Vector3 v;
    v.x = at.f32(field);
    v.y = at.f32(field);
    v.z = at.f32(field);
    return v;
}

void readBody(ByteCursor& at, char letter, bool cataclysm, MexChunk& c) {
    switch (letter) {
    case 'c':
        c.level = at.i32("level");
        c.position = readVector(at, "centre");
        c.coneAngle = at.f32("radius");
        break;
    case 'r':
        c.level = at.i32("level");
        c.position = readVector(at, "corner");
        c.normal = readVector(at, "size");
        break;
    case 'g':
    case 'd':
    case 'e':
    case 'k':
    case 's':
        c.position = readVector(at, "position");
        c.normal = readVector(at, "normal");
        c.coneAngle = at.f32("cone angle");
        c.edgeAngle = at.f32("edge angle");
        if (letter == 'k' || letter == 's') c.pointName = keepBytes(at.bytes(kNameSize, "point name"), 0xCD);
        if (letter == 'e' && cataclysm) at.skip(kCataclysmBlockSize);
        break;
    case 'n':
        c.position = readVector(at, "position");
        c.colour.red = at.u8("red");
        c.colour.blue = at.u8("blue");
        c.colour.green = at.u8("green");
        at.skip(1);
        c.pointName = keepBytes(at.bytes(kNameSize, "point name"), 0xCD);
        if (cataclysm) at.skip(kCataclysmBlockSize);
        break;
    }
}

std::string xyz(const Vector3& v) { return floatText(v.x) + "/" + floatText(v.y) + "/" + floatText(v.z); }

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(c >= 'a' && c <= 'z' ? c - 32 : c); });
    return text;
}

const char* zeroAngleText(char letter) {
    switch (letter) {
    case 'g': return "TARV will not be able to show a gun targeting-cone if you don't set cone & edge angles for ";
    case 'd': return "TARV will not be able to show a damage-cone if you don't set cone & edge angles for ";
    case 'e': return "TARV will not be able to show an engine-cone if you don't set cone & edge angles for ";
    case 'k': return "TARV will not be able to show a docking-cone if you don't set cone & edge angles for ";
    case 's': return "TARV will not be able to show a salvaging-cone if you don't set cone & edge angles for ";
    default: return "";
    }
}

// A gun's marker request; grows the ship definition's gun table as the games' tools expect.
MexMarkerRequest gunMarker(EditingContext& ctx, const std::string& id) {
    ShipDefinition& shp = ctx.shp;
    const bool beam = upper(id) == "BEAM0";
    // The number after "Gun"; BEAM0 is gun 0 and keeps the ship definition's guns.
    double number = 0;
    bool numbered = !beam && id.size() >= 3;
    if (numbered) number = roundHalfEven(leadingNumber(std::string_view(id).substr(3)));
    if (shp.shpFilePath.empty()) return {MexMarkerShape::Cone, 0};

    const int16_t mexGuns = ctx.mex.mexGunCount;
    if (shp.shpGunCount < mexGuns) {
        if (mexGuns == 1 && shp.shpGunCount == 0)
            shp.shpGuns.assign(2, ShpGun{});
        else if (mexGuns > 1)
            shp.shpGuns.push_back(ShpGun{});
    }
    ctx.status().setStatus("Generating gun targeting window for " + id);
    // A number that names no record of the gun table gets a plain cone.
    if (!numbered || !(number >= 0 && number <= 32767) || number >= double(shp.shpGuns.size()))
        return {MexMarkerShape::Cone, 0};
    return {MexMarkerShape::GunRule, int16_t(number)};
}

MexMarkerRequest markerFor(EditingContext& ctx, char letter, const std::string& id) {
    switch (letter) {
    case 'c':
    case 'n': return {MexMarkerShape::Sphere, 0};
    case 'r': return {MexMarkerShape::Box, 0};
    case 'g': return gunMarker(ctx, id);
    default: return {MexMarkerShape::Cone, 0};
    }
}

// Stage 2 for one record: slot, node, log lines and checks, marker, group counter.
void applyRecord(EditingContext& ctx, int i, const MexRecord& rec, bool cataclysm, MexPointLookup& lookup) {
    addToLog(ctx, rec.tag + "    " + rec.id + " (" + intText(rec.bodySize) + ")");
    if (!rec.type) {
        addToLog(ctx, "  Unknown chunk type!");
        return;
    }
    const char letter = rec.type->letter;
    MexChunkTable& mex = ctx.mex;
    MexMarkerBuilder* markers = ctx.mex.markers;

    // The slot.
    MexChunk& slot = mex.mexChunks[size_t(i)];
    slot = rec.chunk;
    slot.chunkId = rec.id;
    slot.chunkType = std::string(1, letter);
    if (letter == 'n') slot.coneAngle = float(ctx.prefs.navLightSize);
    if (letter == 'g' && rec.id.size() >= 3 && upper(rec.id.substr(0, 3)) == "GUN")
        mex.mexGunCount = toInt16(int64_t(mex.mexGunCount) + 1);
    if (markers) markers->createBlankMexMesh(ctx, rec.id, i);

    // The node, the last child of its parent, unticked.
    std::string text = letter == 'c' ? "Collision Sphere" : letter == 'r' ? "Bounding box" : rec.id;
    if (letter == 'k' || letter == 's' || letter == 'n') {
        text = slot.pointName;
        lookup.addChunk(i, slot.pointName);
    }
    mex.treeMex.addChild(rec.type->parentKey, mexChunkKey(letter, i), text);

    // The log lines and the checks. (The chunk is read again through mexChunks[i] after each call that may
    // let other code run.)
    const MexChunk c = slot;
    switch (letter) {
    case 'c':
        addToLog(ctx, "  Level: " + intText(c.level));
        addToLog(ctx, "  Center: " + xyz(c.position));
        addToLog(ctx, "  Radius: " + floatText(c.coneAngle));
        break;
    case 'r':
        addToLog(ctx, "  Level: " + intText(c.level));
        addToLog(ctx, "  Corner: " + xyz(c.position));
        addToLog(ctx, "  Dimensions: " + xyz(c.normal));
        break;
    case 'n':
        addToLog(ctx, "  Position: " + xyz(c.position));
        addToLog(ctx, "  Colours: " + floatText(c.colour.red) + "/" + floatText(c.colour.green) + "/" +
                          floatText(c.colour.blue));
        addToLog(ctx, "  Name: " + c.pointName);
        mex.mexNavLightCount = toInt16(int64_t(mex.mexNavLightCount) + 1);
        checkMexPoint(ctx, 'n', c.pointName, cataclysm, &lookup);
        break;
    default:
        addToLog(ctx, "  Position: " + xyz(c.position));
        addToLog(ctx, "  Orientation: " + xyz(c.normal));
        addToLog(ctx, "  coneAngle: " + floatText(c.coneAngle));
        if (c.coneAngle == 0 && c.edgeAngle == 0)
            ctx.prompts().messageBox(zeroAngleText(letter) + rec.id + ".", ctx.version.appTitle, PromptIcon::None);
        addToLog(ctx, "  edgeAngle: " + floatText(c.edgeAngle));
        if (letter == 'k' || letter == 's') {
            addToLog(ctx, "  Name: " + c.pointName);
            int16_t& count = letter == 'k' ? mex.mexDockCount : mex.mexSalvageCount;
            count = toInt16(int64_t(count) + 1);
            checkMexPoint(ctx, letter, c.pointName, cataclysm, &lookup);
        }
        break;
    }

    // The marker.
    if (markers) {
        markers->buildMarker(ctx, i, markerFor(ctx, letter, rec.id));
        markers->setChunkColour(ctx, i);
    }

    // The group caption's count.
    if (*rec.type->groupCaption) {
        const std::string l(1, letter);
        setCounter(ctx, toInt16(int64_t(getCounter(ctx, l)) + 1), l);
    }
}

// The .mex's own fields on top of the shared little-endian writer.
struct ByteSink : ByteWriter {
    void vec(const Vector3& v) {
        f32(v.x);
        f32(v.y);
        f32(v.z);
    }
    // Characters, one zero byte, then fill up to width bytes (a text that does not fit is refused before).
    void field(const std::string& s, size_t width, uint8_t filler) {
        text(s);
        u8(0);
        if (s.size() + 1 < width) fill(width - s.size() - 1, filler);
    }
};

uint8_t colourByte(float value) {
    if (!(value == value)) return 0;  // NaN
    const double rounded = roundHalfEven(double(value));
    return uint8_t(std::clamp(rounded, 0.0, 255.0));
}

void writeRecord(ByteSink& out, char letter, const MexChunk& c, bool cataclysm) {
    const MexChunkType* type = mexChunkTypeByLetter(letter);
    out.text(type->tag);
    out.u8(0);
    out.field(c.chunkId, 8, 0xAB);
    out.i32(int32_t(bodySizeOf(letter, cataclysm)));
    switch (letter) {
    case 'c':
        out.i32(c.level);
        out.vec(c.position);
        out.f32(c.coneAngle);
        break;
    case 'r':
        out.i32(c.level);
        out.vec(c.position);
        out.vec(c.normal);
        break;
    case 'n':
        out.vec(c.position);
        out.u8(colourByte(c.colour.red));
        out.u8(colourByte(c.colour.blue));
        out.u8(colourByte(c.colour.green));
        out.u8(0xCD);
        out.field(c.pointName, kNameSize, 0xCD);
        break;
    default:
        out.vec(c.position);
        out.vec(c.normal);
        out.f32(c.coneAngle);
        out.f32(c.edgeAngle);
        if (letter == 'k' || letter == 's') out.field(c.pointName, kNameSize, 0xCD);
        break;
    }
    if (cataclysm && (letter == 'e' || letter == 'n')) {
        out.u8(0);
        out.fill(kCataclysmBlockSize - 1, 0xCD);
    }
}

}  // namespace

MexFileContents parseMexFile(const BinaryReader& file) {
    if (file.size() < kHeaderSize)
        throw RunTimeError::badFile("The MEX file is " + intText(file.size()) + " bytes long, shorter than its " +
                                    intText(kHeaderSize) + "-byte header.");
    MexFileContents contents;
    contents.version = file.i16(8, "version");
    contents.count = file.i16(10, "chunk count");
    const bool cataclysm = contents.cataclysm();
    const int64_t count = std::max<int64_t>(contents.count, 0);

    ByteCursor at(file, kHeaderSize);
    for (int64_t i = 0; i < count; ++i) {
        requireBytes(at, kChunkHeaderSize, i, count, "header");
        MexRecord rec;
        rec.tag = keepBytes(at.bytes(4, "tag"), 0);
        rec.id = keepBytes(at.bytes(8, "chunk ID"), 0xAB);
        rec.bodySize = at.i32("body size");
        rec.type = mexChunkTypeByTag(rec.tag);
        if (rec.type) {
            // A known tag is read in its own layout, whatever body size is written.
            requireBytes(at, bodySizeOf(rec.type->letter, cataclysm), i, count, "body");
            readBody(at, rec.type->letter, cataclysm, rec.chunk);
        } else if (rec.bodySize < 0) {
            throw RunTimeError::badFile(chunkText(i, count) + " has the unknown tag \"" + rec.tag +
                                        "\" and a negative body size (" + intText(rec.bodySize) + ").");
        } else if (rec.bodySize > at.remaining()) {
            throw RunTimeError::badFile(chunkText(i, count) + " has the unknown tag \"" + rec.tag +
                                        "\" and a body size (" + intText(rec.bodySize) +
                                        ") that runs past the end of the file at offset " + intText(file.size()) + ".");
        } else {
            at.skip(rec.bodySize);
        }
        contents.records.push_back(std::move(rec));
    }
    return contents;
}

void getMexInfo(EditingContext& ctx, const std::string& fileName) {
    trapErrors(ctx, "modMex", "getMexInfo", fileName, [&] {
        MexChunkTable& mex = ctx.mex;
        ShipDefinition& shp = ctx.shp;
        if (shp.noShpLoaded) shp.shpGuns.assign(2, ShpGun{});
        mex.mexGunCount = mex.mexNavLightCount = mex.mexDockCount = mex.mexSalvageCount = 0;
        mex.catSalvageDockCount = 0;
        ctx.status().setPanelText(3, "MEX");
        std::error_code ec;
        if (!std::filesystem::is_regular_file(fileName, ec)) return;

        MexFileContents contents;
        try {
            contents = parseMexFile(BinaryReader::fromFile(fileName));
        } catch (RunTimeError& e) {
            // A refused file leaves no chunks behind, so no save can write what it did not read.
            mex.mexChunks.clear();
            takeMexMarkersOffScene(mex.mexMeshes);
            e.whileReading(fileNameOf(fileName));
            throw;
        }

        const bool cataclysm = contents.cataclysm();
        if (contents.version == kMexVersionHomeworld)
            addToLog(ctx, std::string(kCrLf) + "Homeworld MEX file");
        else if (cataclysm)
            addToLog(ctx, std::string(kCrLf) + "Cataclysm MEX file");
        const size_t count = contents.records.size();
        mex.mexChunks.assign(count, MexChunk{});
        takeMexMarkersOffScene(mex.mexMeshes);
        mex.mexMeshes.resize(count);
        addToLog(ctx, "Number of chunks: " + intText(contents.count));

        MexPointLookup lookup(ctx);
        for (size_t i = 0; i < count; ++i) applyRecord(ctx, int(i), contents.records[i], cataclysm, lookup);
        runMexFinalChecks(ctx, cataclysm);
    });
}

MexImage buildMexImage(EditingContext& ctx, bool isCataclysm) {
    MexImage image;
    ByteSink out;
    out.text("mannngo");
    out.u8(0);
    out.i16(isCataclysm ? kMexVersionCataclysm : kMexVersionHomeworld);
    out.i16(0);  // the count, once known

    const KeyedTree& tree = ctx.mex.treeMex;
    const auto& chunks = ctx.mex.mexChunks;
    for (int n = 1; n <= tree.count(); ++n) {
        const std::string& key = tree.nodeAt(n).key;
        if (isMexGroupOrRootKey(key) || key.empty() || !mexChunkTypeByLetter(key[0])) continue;
        const int32_t index = mexChunkIndexOfKey(key);
        if (index < 0 || index >= int32_t(chunks.size())) continue;
        const MexChunk& c = chunks[size_t(index)];
        if (c.chunkId == kDeletedChunkId) continue;
        const char letter = key[0];
        if (c.chunkId.size() > kMaxIdLength)
            image.misfits.push_back("Chunk ID \"" + c.chunkId + "\" is longer than 7 characters.");
        if ((letter == 'k' || letter == 's' || letter == 'n') && c.pointName.size() > kMaxNameLength)
            image.misfits.push_back("Point name \"" + c.pointName + "\" is longer than 19 characters.");
        writeRecord(out, letter, c, isCataclysm);
        ++image.records;
    }
    const int16_t count = toInt16(int64_t(image.records));
    patchU16(out.data(), 10, uint16_t(count));
    image.bytes = std::move(out.data());
    return image;
}

bool buildMexForSave(EditingContext& ctx, bool isCataclysm, std::optional<std::vector<uint8_t>>& bytes) {
    bytes.reset();
    if (ctx.mex.mexChunkCount() == 0) return true;
    ctx.status().clearLog();
    MexImage image = buildMexImage(ctx, isCataclysm);
    addToLog(ctx, intText(ctx.mex.mexChunkCount()) + " total objects found");
    addToLog(ctx, intText(image.records) + " active objects found");
    if (!image.misfits.empty()) {
        std::string text = "The MEX file was not saved, because these entries do not fit its fields:";
        for (const auto& line : image.misfits) text += kCrLf + line;
        ctx.prompts().messageBox(text, ctx.version.appTitle, PromptIcon::Exclamation);
        return false;
    }
    bytes = std::move(image.bytes);
    return true;
}

bool exportMex(EditingContext& ctx, const std::string& fileName, bool isCataclysm) {
    bool written = false;
    trapErrors(ctx, "modMex", "exportMex", fileName + "|" + (isCataclysm ? "True" : "False"), [&] {
        std::optional<std::vector<uint8_t>> bytes;
        if (!buildMexForSave(ctx, isCataclysm, bytes)) return;
        if (bytes) writeFileAtomically(fileName, *bytes);
        written = true;
    });
    return written;
}

}  // namespace tarv
