#include "model/PeoReader.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "model/LogFiles.h"
#include "model/state/MaterialPreviewHook.h"
#include "model/ModelHelpers.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "model/state/PeoLayout.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

const std::string kLineBreak = "\r\n";

std::string num(int value) { return intText(value); }
std::string num(int64_t value) { return intText(value); }
std::string num(float value) { return floatText(value); }

// ---- The parse ----

void damaged(const BinaryReader& reader, const std::string& what) {
    throw RunTimeError::badFile("The file " + reader.fileName() + " is damaged: " + what);
}

PeoMaterialList parseMaterialList(const BinaryReader& reader, int32_t count, int32_t offset) {
    PeoMaterialList list;
    list.count = count;
    list.offset = offset;
    try {
        if (count < 0) damaged(reader, "the material count is negative (" + num(count) + ").");
        if (count > 0) reader.requireEntries(offset, count, peo::kMaterialEntrySize, "material list");
        list.entries.reserve(size_t(count));
        list.textureNames.reserve(size_t(count));
        for (int m = 0; m < count; ++m) {
            const int64_t at = int64_t(offset) + int64_t(m) * peo::kMaterialEntrySize;
            list.entries.push_back(peo::readMaterialEntry(reader, at));
            list.textureNames.push_back(reader.zeroTerminated(list.entries.back().textureNameOffset, "texture name"));
        }
    } catch (const RunTimeError& e) {
        list.fault = e;
    }
    return list;
}

void parseLists(const BinaryReader& reader, int k, PeoObjectContents& object) {
    const peo::PeoObjectRecord& r = object.record;

    // Vertex indices are 16-bit: vertex 32768 is the last one an object can have.
    if (r.nVertices > 32768)
        throw RunTimeError::tooLarge("the vertex count of object " + num(k + 1), r.nVertices, reader.fileName(), 32768);
    std::vector<peo::PeoVertexEntry> vertices;
    if (r.nVertices > 0) {
        reader.requireEntries(r.vertexListOffset, r.nVertices, peo::kVertexEntrySize, "vertex list");
        vertices.reserve(size_t(r.nVertices));
        for (int32_t j = 0; j < r.nVertices; ++j)
            vertices.push_back(
                peo::readVertexEntry(reader, int64_t(r.vertexListOffset) + int64_t(j) * peo::kVertexEntrySize));
    }
    object.vertices = std::move(vertices);

    auto normalList = [&](int64_t start, int32_t count, const char* field) {
        std::vector<peo::PeoNormalEntry> normals;
        if (count <= 0) return normals;
        reader.requireEntries(start, count, peo::kNormalEntrySize, field);
        normals.reserve(size_t(count));
        for (int32_t j = 0; j < count; ++j)
            normals.push_back(peo::readNormalEntry(reader, start + int64_t(j) * peo::kNormalEntrySize));
        return normals;
    };
    object.faceNormals = normalList(r.normalListOffset, r.nFaceNormals, "face normals");
    // The vertex normals follow the face normals in the normal list in both variants; the separate
    // Cataclysm region is not read.
    object.vertexNormals =
        normalList(int64_t(r.normalListOffset) + int64_t(std::max(r.nFaceNormals, 0)) * peo::kNormalEntrySize,
                   r.nVertNormals, "vertex normals");

    if (r.nPolygons < 0)
        damaged(reader, "object " + num(k) + " has a negative polygon count (" + num(r.nPolygons) + ").");
    std::vector<peo::PeoPolygonEntry> polygons;
    if (r.nPolygons > 0) {
        reader.requireEntries(r.polygonListOffset, r.nPolygons, peo::kPolygonEntrySize, "polygon list");
        polygons.reserve(size_t(r.nPolygons));
        for (int32_t j = 0; j < r.nPolygons; ++j)
            polygons.push_back(
                peo::readPolygonEntry(reader, int64_t(r.polygonListOffset) + int64_t(j) * peo::kPolygonEntrySize));
    }
    object.polygons = std::move(polygons);
    // The reader counts the corrupt polygons of an object in 16 bits.
    int corrupt = 0;
    for (const peo::PeoPolygonEntry& p : *object.polygons)
        if ((p.v1 == p.v0 || p.v2 == p.v0 || p.v2 == p.v1) && ++corrupt > 32767) throw RunTimeError::overflow();
}

// ---- The apply step ----

// Throws the fault at which the parse stopped, where the apply step reaches the part the parse did not read.
[[noreturn]] void stopWith(const std::optional<RunTimeError>& fault) {
    if (fault) throw *fault;
    throw RunTimeError::invalidCall();
}

PeoObject& objectAt(EditingContext& ctx, int index) {
    if (index < 0 || index >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
    return ctx.model.peoObjects[size_t(index)];
}

// Detail lines are built only when the log level lets them through; the log file is touched either way.
template <class MakeText>
void logDetail(EditingContext& ctx, int level, MakeText&& makeText) {
    writeLog(ctx, level <= ctx.prefs.logLevel ? makeText() : std::string(), level);
}

void startListProgress(EditingContext& ctx, int32_t count) {
    ctx.status().setProgressMax(ProgressBar::Status2, std::max(count, 0));
    ctx.status().setProgressValue(ProgressBar::Status2, 0);
}

void swapRedBlue(ColourBytes& c) { std::swap(c[0], c[2]); }

void applyMaterialEntries(EditingContext& ctx, const PeoMaterialList& list) {
    ShipModel& model = ctx.model;
    model.materials.clear();
    model.textures.clear();
    // A fault before the first entry: the count or the list itself.
    if (list.fault && list.entries.empty()) stopWith(list.fault);
    const int32_t count = list.count;
    const int16_t materialCount = toInt16(int64_t(count));
    model.materials.resize(size_t(count));

    addToLog(ctx, materialCount == 1 ? kLineBreak + "Loading one material:"
                                     : kLineBreak + "Loading " + num(materialCount) + " materials:");
    ctx.status().setStatus("Getting materials");
    ctx.status().setProgressMax(ProgressBar::LoadTextures, count);
    ctx.status().setProgressValue(ProgressBar::LoadTextures, 0);

    MaterialPreviewHook* preview = ctx.services.materialPreview;
    std::unordered_map<std::string, int> textureIndex;  // names collected in this call
    for (int m = 0; m < int(list.entries.size()); ++m) {
        const int64_t at = int64_t(list.offset) + int64_t(m) * peo::kMaterialEntrySize;
        PeoMaterial& material = model.materials[size_t(m)];
        material.filePosition = int32_t(at + 1);
        const peo::PeoMaterialEntry& entry = list.entries[size_t(m)];
        material.ambient = normaliseColour(entry.ambient);
        material.diffuse = normaliseColour(entry.diffuse);
        material.specular = normaliseColour(entry.specular);
        material.kAlpha = entry.kAlpha;
        material.fullAmbient = entry.fullAmbient;
        if (ctx.live.chkSwitchClrs) {
            swapRedBlue(material.ambient);
            swapRedBlue(material.diffuse);
            swapRedBlue(material.specular);
        }
        if (preview) preview->materialRead(ctx, m, entry.ambient, entry.diffuse, entry.specular);

        // Characters 16 down to 11 of the bit string are the flag values 2 to 64; a negative word gives
        // seventeen "0" and so no flag.
        const std::string bits = longToBinary(int32_t(entry.flags));
        material.smoothing = bits[15] == '1';
        material.flatShaded = bits[14] == '1';
        material.twoSided = bits[13] == '1';
        material.baseColour = bits[12] == '1';
        material.stripeColour = bits[11] == '1';
        material.selfIlluminated = bits[10] == '1';
        if (material.selfIlluminated && preview) preview->materialSelfIlluminated(ctx, m);

        if (size_t(m) >= list.textureNames.size()) stopWith(list.fault);
        const std::string& name = list.textureNames[size_t(m)];
        auto found = textureIndex.find(name);
        if (found == textureIndex.end()) {
            PeoTexture texture;
            texture.name = name;
            model.textures.push_back(std::move(texture));
            found = textureIndex.emplace(name, int(model.textures.size()) - 1).first;
        }
        material.texture = int16_t(found->second);
        addToLog(ctx, "- ' " + name + " '      ( #" + num(m) + " & texture #" + num(found->second) + " )");
        ctx.status().setProgressValue(ProgressBar::LoadTextures, m + 1);
    }
    if (list.fault) stopWith(list.fault);

    ctx.status().setStatus("Getting Textures");
    if (preview) preview->texturePass(ctx, folderOf(ctx.currentModelPath));
    if (preview) preview->materialsDone(ctx);
}

// The material list under its own trap, as getMaterials runs it.
void applyMaterials(EditingContext& ctx, const PeoMaterialList& list) {
    trapErrors(ctx, "modPeo", "getMaterials", num(list.count) + "|" + num(list.offset),
               [&] { applyMaterialEntries(ctx, list); });
}

// Asks, or finds by the polygon list offset, whether object k may share the lists of an earlier object.
void detectSharing(EditingContext& ctx, int k, const peo::PeoObjectRecord& record,
                   const std::vector<int32_t>& polygonListOffsets) {
    std::vector<PeoObject>& objects = ctx.model.peoObjects;
    PeoObject& object = objects[size_t(k)];
    for (int i = 0; i < k; ++i) {
        const PeoObject& earlier = objects[size_t(i)];
        if (polygonListOffsets[size_t(i)] == record.polygonListOffset) {
            object.sharedWith = int16_t(i);
            addToLog(ctx, "-> ** Shared Object with " + earlier.name + "**");
            return;
        }
        if (earlier.nPolygons == record.nPolygons && earlier.nVertices == record.nVertices &&
            earlier.nFaceNormals == record.nFaceNormals && earlier.nVertNormals == record.nVertNormals) {
            const std::string text = "TARV thinks that " + object.name + " can be made a 'shared copy' of " +
                                     earlier.name + " ," + kLineBreak + "do you wish to share " + object.name +
                                     " as a clone of " + earlier.name + " ?" + kLineBreak + kLineBreak +
                                     "(Objects that are in fact MIRRORED copies of each other should NOT be shared!).";
            if (ctx.prompts().yesNo(text, "TARV shared object detection", PromptIcon::Question)) {
                object.sharedWith = int16_t(i);
                addToLog(ctx, "-> ** Detected Shared Object with " + earlier.name + "**");
                return;
            }
        }
    }
}

void logObjectStats(EditingContext& ctx, const peo::PeoObjectRecord& r) {
    writeLog(ctx, "-- Stats:", 1);
    writeLog(ctx, "   nPolygons: " + num(r.nPolygons), 1);
    writeLog(ctx, "      offset: " + num(r.polygonListOffset), 1);
    writeLog(ctx, "   nVertices: " + num(r.nVertices), 1);
    writeLog(ctx, "      offset: " + num(r.vertexListOffset), 1);
    writeLog(ctx, "   nFaceNormals: " + num(r.nFaceNormals), 1);
    writeLog(ctx, "         offset: " + num(r.normalListOffset), 1);
    writeLog(ctx, "   nVertNormals: " + num(r.nVertNormals), 1);
    writeLog(ctx, "         offset: " + num(r.cVertexNormalsOffset), 1);
    writeLog(ctx, "  actual offset: " + num(int64_t(r.normalListOffset) + 16 * int64_t(r.nFaceNormals)), 1);
    writeLog(ctx, "-> Flags: " + num(r.flags), 2);
    logDetail(ctx, 3, [&] { return std::string(10, ' ') + longToBinary(r.flags); });
}

void applyVertices(EditingContext& ctx, const PeoObjectContents& contents, int objectIndex,
                   const std::optional<RunTimeError>& fault) {
    PeoObject& object = objectAt(ctx, objectIndex);
    const int32_t count = contents.record.nVertices;
    ctx.status().setStatus2("Vertices");
    startListProgress(ctx, count);
    if (count <= 0) {
        object.sizeX = object.maxX - object.minX;
        object.sizeY = object.maxY - object.minY;
        object.sizeZ = object.maxZ - object.minZ;
        return;
    }
    if (!contents.vertices) stopWith(fault);
    object.vertices.clear();
    object.vertices.reserve(size_t(count));
    LogDetailLines detail(ctx, 3);
    for (int j = 1; j <= count; ++j) {
        const peo::PeoVertexEntry& e = (*contents.vertices)[size_t(j - 1)];
        object.vertices.push_back(PeoVertex{e.x, e.y, e.z, e.normal, 0});
        detail.line([&] {
            return "   " + rightAlign("v" + num(j - 1), 5) + ": " + rightAlign(num(e.x), 13) + " " +
                   rightAlign(num(e.y), 13) + " " + rightAlign(num(e.z), 13) + "   norm: " + num(e.normal);
        });
        if (j == 1) {
            object.maxX = object.minX = e.x;
            object.maxY = object.minY = e.y;
            object.maxZ = object.minZ = e.z;
        }
        updateBoundingBox(ctx, objectIndex, j - 1);
        ctx.status().setProgressValue(ProgressBar::Status2, j);
    }
    object.sizeX = object.maxX - object.minX;
    object.sizeY = object.maxY - object.minY;
    object.sizeZ = object.maxZ - object.minZ;
}

namespace {

// One list of normals from the parsed contents into list, each entry logged at level 3 as
// "<label> <index>: x y z". The progress bar shows firstProgress + the entry's 0-based index.
void applyNormalList(EditingContext& ctx, const std::optional<std::vector<peo::PeoNormalEntry>>& entries, int32_t count,
                     const std::optional<RunTimeError>& fault, const char* label, int firstProgress,
                     std::vector<PeoNormal>& list) {
    if (count <= 0) return;
    startListProgress(ctx, count);
    if (!entries) stopWith(fault);
    list.assign(size_t(count), PeoNormal{});
    LogDetailLines detail(ctx, 3);
    for (int j = 0; j < count; ++j) {
        const peo::PeoNormalEntry& e = (*entries)[size_t(j)];
        list[size_t(j)] = PeoNormal{e.x, e.y, e.z};
        detail.line([&] {
            return std::string("   ") + label + " " + num(j) + ": " + num(e.x) + " " + num(e.y) + " " + num(e.z);
        });
        ctx.status().setProgressValue(ProgressBar::Status2, firstProgress + j);
    }
}

}  // namespace

void applyFaceNormals(EditingContext& ctx, const PeoObjectContents& contents, int objectIndex,
                      const std::optional<RunTimeError>& fault) {
    PeoObject& object = objectAt(ctx, objectIndex);
    const int32_t count = contents.record.nFaceNormals;
    ctx.status().setStatus2("Normals");
    applyNormalList(ctx, contents.faceNormals, count, fault, "fNormal", 1, object.fileFaceNormals);
}

void applyVertexNormals(EditingContext& ctx, const PeoObjectContents& contents, int objectIndex,
                        const std::optional<RunTimeError>& fault) {
    PeoObject& object = objectAt(ctx, objectIndex);
    const int32_t count = contents.record.nVertNormals;
    ctx.status().setStatus2("Vert Normals");
    applyNormalList(ctx, contents.vertexNormals, count, fault, "vNormal", 0, object.vertexNormals);
}

void applyPolygons(EditingContext& ctx, const PeoObjectContents& contents, int objectIndex,
                   const std::optional<RunTimeError>& fault) {
    PeoObject& object = objectAt(ctx, objectIndex);
    const int32_t count = contents.record.nPolygons;
    writeLog(ctx, "-> Loading Polygons: " + num(int64_t(contents.record.polygonListOffset) + 1), 1);
    ctx.status().setStatus2("Polygons");
    startListProgress(ctx, count);
    if (!contents.polygons) stopWith(fault);

    object.polygons.assign(size_t(count), PeoPolygon{});
    const int64_t vertexCount = int64_t(object.vertices.size());
    int corrupt = 0;
    int outside = 0;
    LogDetailLines detail(ctx, 3);
    for (int j = 1; j <= count; ++j) {
        const peo::PeoPolygonEntry& e = (*contents.polygons)[size_t(j - 1)];
        PeoPolygon& p = object.polygons[size_t(j - 1)];
        p.faceNormal = e.faceNormal;
        p.v0 = e.v0;
        p.v1 = e.v1;
        p.v2 = e.v2;
        p.material = e.material;
        p.s0 = e.s0, p.t0 = e.t0, p.s1 = e.s1, p.t1 = e.t1, p.s2 = e.s2, p.t2 = e.t2;
        p.flags = e.flags;
        p.reserved = e.reserved;

        bool isCorrupt = false;
        if (p.v1 == p.v0) {
            addToLog(ctx, " - corrupted polygon found");
            isCorrupt = true;
        } else if (p.v2 == p.v0 || p.v2 == p.v1) {
            addToLog(ctx, "- corrupted polygon found");
            isCorrupt = true;
        }
        if (isCorrupt && ++corrupt > 32767) throw RunTimeError::overflow();  // a 16-bit counter
        // A corner outside the vertex list is reported and the polygon kept as it is.
        auto outsideList = [&](int32_t v) { return v < 0 || v >= vertexCount; };
        if (outsideList(p.v0) || outsideList(p.v1) || outsideList(p.v2)) {
            addToLog(ctx, " - polygon corner outside the vertex list found");
            ++outside;
        }

        detail.line([&] {
            const std::string bits = longToBinary(p.flags);
            const std::string g1 = bits.substr(2, 4), g2 = bits.substr(6, 4), g3 = bits.substr(10, 4);
            return "   " + rightAlign(num(j - 1), 4) + ": vert: " + rightAlign(num(p.v0), 4) + "/" +
                   rightAlign(num(p.v1), 4) + "/" + rightAlign(num(p.v2), 4) +
                   " mat: " + rightAlign(num(p.material), 3) + " normal: " + rightAlign(num(p.faceNormal), 3) +
                   " flags: " + rightAlign(num(p.flags), 4) + " " + g1 + " (" + num(binaryToLong(g1)) + ") " + g2 +
                   " (" + num(binaryToLong(g2)) + ") " + g3 + " (" + num(binaryToLong(g3)) + ")";
        });
        ctx.status().setProgressValue(ProgressBar::Status2, j);
    }
    if (corrupt != 0) {
        addToLog(ctx, "Polygon loader found " + num(corrupt) + " corrupt polys in " + num(count) +
                          " polys for object " + num(objectIndex) + ".");
    }
    if (outside != 0) {
        addToLog(ctx, "Polygon loader found " + num(outside) +
                          " polys with corners outside the vertex list in object " + num(objectIndex) + ".");
    }
}

int32_t linkNumber(int32_t offset, bool cataclysm) { return toInt32(convertOffsetToKey(offset, cataclysm)); }

void applyObject(EditingContext& ctx, const PeoObjectContents& contents, int k, bool cataclysm,
                 std::vector<int32_t>& polygonListOffsets, const std::optional<RunTimeError>& fault) {
    const peo::PeoObjectRecord& record = contents.record;
    ctx.status().setStatus("Getting object " + contents.name);

    ctx.model.peoObjects.emplace_back();
    {
        PeoObject& object = ctx.model.peoObjects.back();
        object.name = contents.name;
        object.flags = record.flags;
        object.madObjectIndex = -1;
        object.sharedWith = -1;
    }
    if (k > 0 && ctx.prefs.objectSharing) detectSharing(ctx, k, record, polygonListOffsets);

    polygonListOffsets[size_t(k)] = record.polygonListOffset;
    {
        PeoObject& object = ctx.model.peoObjects.back();
        object.nPolygons = record.nPolygons;
        object.nVertices = record.nVertices;
        object.nFaceNormals = record.nFaceNormals;
        object.nVertNormals = record.nVertNormals;
    }

    logObjectStats(ctx, record);
    writeLog(ctx, "-> Vertices: " + num(record.nVertices) + " @ " + num(record.vertexListOffset), 2);
    applyVertices(ctx, contents, k, fault);
    writeLog(ctx, "-> FaceNormals: " + num(record.nFaceNormals) + " @ " + num(record.normalListOffset), 2);
    applyFaceNormals(ctx, contents, k, fault);
    // The vertex normals follow the face normals in the normal list in both variants; the separate
    // Cataclysm region is only logged.
    writeLog(ctx,
             cataclysm ? "-> cVertexNormals: " + num(record.nVertNormals) + " @ " + num(record.cVertexNormalsOffset)
                       : "-> VertexNormals: " + num(record.nVertNormals),
             2);
    applyVertexNormals(ctx, contents, k, fault);
    writeLog(ctx, "-> Polygons: " + num(record.nPolygons) + " @ " + num(record.polygonListOffset), 2);
    applyPolygons(ctx, contents, k, fault);

    PeoObject& object = ctx.model.peoObjects.back();
    object.motherOffset = record.mother;
    object.daughterOffset = record.daughter;
    object.sisterOffset = record.sister;
    object.mother = linkNumber(record.mother, cataclysm);
    object.daughter = linkNumber(record.daughter, cataclysm);
    object.sister = linkNumber(record.sister, cataclysm);
    object.matrix = transposeMatrix(record.fileMatrix);
    ctx.status().setProgressValue(ProgressBar::LoadTextures, k + 1);
}

// Applies what the parse read, in file order, and raises the parse's fault where the contents end.
// Each object's parsed lists are let go once the object is in the model, so that a large file never holds
// both copies of every object at once.
void applyModel(EditingContext& ctx, PeoFileContents& contents, const std::optional<RunTimeError>& fault) {
    ShipModel& model = ctx.model;
    if (!contents.header) stopWith(fault);
    const peo::PeoHeader& header = *contents.header;

    // An unknown version keeps the previous file's version, and so its record layout.
    if (header.version == kPeoVersionHomeworld) {
        addToLog(ctx, "-> HOMEWORLD peo file at hand," + kLineBreak);
        model.peoVersion = kPeoVersionHomeworld;
        ctx.status().setPanelText(2, "HW");
    } else if (header.version == kPeoVersionCataclysm) {
        addToLog(ctx, "-> CATACLYSM peo file at hand," + kLineBreak);
        model.peoVersion = kPeoVersionCataclysm;
        ctx.status().setPanelText(2, "HW:C");
    }
    if (!contents.objectsFit) stopWith(fault);
    const bool cataclysm = contents.cataclysm;
    const int16_t objectCount = contents.objectCount;
    model.publicMaterialCount = contents.publicMaterialCount;
    model.localMaterialCount = contents.localMaterialCount;
    std::vector<int32_t> polygonListOffsets(size_t(objectCount), 0);

    addToLog(ctx,
             "     ( file size " + num(header.fileSize) + " bytes, 'local size' is " + num(header.localSize) + ",");
    addToLog(ctx, objectCount == 1 ? std::string("        containing ONE object only,")
                                   : "         containing " + num(objectCount) + " objects,");
    addToLog(ctx, "          " + num(model.publicMaterialCount) + " public materials and " +
                      num(model.localMaterialCount) + " local ).");

    applyMaterials(ctx, contents.materials);

    ctx.status().setProgressMax(ProgressBar::LoadTextures, objectCount);
    ctx.status().setProgressValue(ProgressBar::LoadTextures, 0);
    addToLog(ctx, kLineBreak +
                      (ctx.prefs.objectSharing ? "-> NOTE: object sharing is switched on"
                                               : "-> NOTE: object sharing is switched off") +
                      kLineBreak);

    model.peoObjects.clear();
    model.peoObjects.reserve(size_t(objectCount));
    for (int k = 0; k < objectCount; ++k) {
        if (size_t(k) >= contents.objects.size()) stopWith(fault);
        applyObject(ctx, contents.objects[size_t(k)], k, cataclysm, polygonListOffsets, fault);
        contents.objects[size_t(k)] = PeoObjectContents{};
    }
    ctx.status().setStatus2("");
    // A fault the contents do not show (a list the reader itself refuses) still refuses the file.
    if (fault) stopWith(fault);
}

}  // namespace

void parsePeoFile(const BinaryReader& reader, int32_t previousVersion, PeoFileContents& contents) {
    contents = PeoFileContents{};
    contents.header = peo::readHeader(reader);
    const peo::PeoHeader& header = *contents.header;
    const int32_t version = header.version == kPeoVersionHomeworld || header.version == kPeoVersionCataclysm
                                ? header.version
                                : previousVersion;
    const bool cataclysm = version == kPeoVersionCataclysm;
    contents.cataclysm = cataclysm;

    // The counts are kept in 16 bits.
    const auto count16 = [&reader](int64_t value, const char* what) {
        if (value > INT16_MAX) throw RunTimeError::tooLarge(what, value, reader.fileName(), INT16_MAX);
        return toInt16(value);
    };
    const int16_t objectCount = count16(header.objectCount, "the object count");
    const int16_t publicMaterialCount = count16(header.publicMaterialCount, "the public material count");
    const int16_t localMaterialCount = count16(header.localMaterialCount, "the local material count");
    if (objectCount == 0) throw RunTimeError::badFile("The file holds no objects.");
    if (objectCount < 0) damaged(reader, "the object count is negative (" + num(objectCount) + ").");
    reader.requireEntries(peo::kHeaderSize, objectCount, peo::recordLayout(cataclysm).size, "object records");
    contents.objectCount = objectCount;
    contents.publicMaterialCount = publicMaterialCount;
    contents.localMaterialCount = localMaterialCount;
    contents.objectsFit = true;

    contents.materials = publicMaterialCount != 0
                             ? parseMaterialList(reader, publicMaterialCount, header.publicMaterialListOffset)
                             : parseMaterialList(reader, localMaterialCount, header.localMaterialListOffset);

    // A name without its zero runs to the end of the file: what was read of it is all there is.
    const auto noteCut = [&](int64_t offset, const std::string& name, const char* what) {
        if (contents.cutName.empty() && offset + int64_t(name.size()) == reader.size())
            contents.cutName = std::string(what) + " \"" + name + "\"";
    };
    const PeoMaterialList& materials = contents.materials;
    for (size_t m = 0; m < materials.textureNames.size(); ++m)
        noteCut(materials.entries[m].textureNameOffset, materials.textureNames[m], "texture name");
    contents.objects.reserve(size_t(objectCount));
    for (int k = 0; k < objectCount; ++k) {
        PeoObjectContents object;
        object.record = peo::readObjectRecord(reader, peo::recordOffset(k + 1, cataclysm), cataclysm);
        object.name = reader.zeroTerminated(object.record.nameOffset, "object name");
        noteCut(object.record.nameOffset, object.name, "object name");
        contents.objects.push_back(std::move(object));
        parseLists(reader, k, contents.objects.back());
    }
}

PeoFileContents parsePeoFile(const BinaryReader& reader, int32_t previousVersion) {
    PeoFileContents contents;
    parsePeoFile(reader, previousVersion, contents);
    return contents;
}

void readPeoFile(EditingContext& ctx, const std::string& path) {
    addToLog(ctx, "Opening " + path + "...");
    // Counts and lists must agree after a failed load: the model is left empty.
    const auto clearModel = [&ctx] {
        ShipModel& model = ctx.model;
        model.peoObjects.clear();
        model.materials.clear();
        model.textures.clear();
        model.publicMaterialCount = 0;
        model.localMaterialCount = 0;
    };
    try {
        // The file is read whole and closed at once: a failure below never keeps it open. Its bytes are let
        // go once parsed.
        PeoFileContents contents;
        std::optional<RunTimeError> fault;
        {
            const BinaryReader reader = BinaryReader::fromFile(path);
            try {
                parsePeoFile(reader, ctx.model.peoVersion, contents);
            } catch (const RunTimeError& e) {
                fault = e;
            }
        }
        applyModel(ctx, contents, fault);
        ctx.model.readDamage.clear();
        if (contents.materials.fault)
            ctx.model.readDamage = "its material list is damaged (" + contents.materials.fault->description() + ")";
        else if (!contents.cutName.empty())
            ctx.model.readDamage = "its " + contents.cutName + " is cut short by the end of the file";
    } catch (RunTimeError& e) {
        clearModel();
        e.whileReading(std::filesystem::path(path).filename().string());
        throw;
    } catch (...) {
        clearModel();
        throw;
    }
}

void parseObjectLists(const BinaryReader& reader, int k, PeoObjectContents& object) { parseLists(reader, k, object); }

void applyObjectLists(EditingContext& ctx, const PeoObjectContents& contents, int objectIndex) {
    const std::optional<RunTimeError> none;
    applyVertices(ctx, contents, objectIndex, none);
    applyFaceNormals(ctx, contents, objectIndex, none);
    applyVertexNormals(ctx, contents, objectIndex, none);
    applyPolygons(ctx, contents, objectIndex, none);
}

int16_t getMaterials(EditingContext& ctx, const BinaryReader& reader, int32_t count, int32_t offset) {
    applyMaterials(ctx, parseMaterialList(reader, count, offset));
    return 0;
}

void updateBoundingBox(EditingContext& ctx, int objectIndex, int vertexIndex) {
    if (vertexIndex < -32768 || vertexIndex > 32767) throw RunTimeError::overflow();
    PeoObject& object = objectAt(ctx, objectIndex);
    if (vertexIndex < 0 || size_t(vertexIndex) >= object.vertices.size()) throw RunTimeError::subscriptOutOfRange();
    const PeoVertex& v = object.vertices[size_t(vertexIndex)];
    if (v.x < object.minX) object.minX = v.x;
    if (v.x > object.maxX) object.maxX = v.x;
    if (v.y < object.minY) object.minY = v.y;
    if (v.y > object.maxY) object.maxY = v.y;
    if (v.z < object.minZ) object.minZ = v.z;
    if (v.z > object.maxZ) object.maxZ = v.z;
}

void recomputeExtents(PeoObject& object) {
    object.minX = object.minY = object.minZ = 0;
    object.maxX = object.maxY = object.maxZ = 0;
    if (object.vertices.empty()) return;
    const PeoVertex& first = object.vertices.front();
    object.minX = object.maxX = first.x;
    object.minY = object.maxY = first.y;
    object.minZ = object.maxZ = first.z;
    for (const PeoVertex& v : object.vertices) {
        object.minX = std::min(object.minX, v.x);
        object.maxX = std::max(object.maxX, v.x);
        object.minY = std::min(object.minY, v.y);
        object.maxY = std::max(object.maxY, v.y);
        object.minZ = std::min(object.minZ, v.z);
        object.maxZ = std::max(object.maxZ, v.z);
    }
}

void calcObjectDimensions(EditingContext& ctx, int objectIndex) {
    PeoObject& object = objectAt(ctx, objectIndex);
    if (object.minX != object.maxX && object.minY != object.maxY && object.minZ != object.maxZ) {
        object.sizeX = object.maxX - object.minX;
        object.sizeY = object.maxY - object.minY;
        object.sizeZ = object.maxZ - object.minZ;
    } else {
        object.sizeX = object.sizeY = object.sizeZ = 1000;
    }
    for (float size : {object.sizeX, object.sizeY, object.sizeZ}) {
        if (float(ctx.model.modelExtent) < std::fabs(size)) ctx.model.modelExtent = std::fabs(size);
    }
    addToLog(ctx, "       mesh dimensions are:" + kLineBreak);
    addToLog(ctx, "        > x      " + num(object.sizeX));
    addToLog(ctx, "        > y      " + num(object.sizeY));
    addToLog(ctx, "        > z      " + num(object.sizeZ) + kLineBreak);
}

}  // namespace tarv
