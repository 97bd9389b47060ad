#include "model/PeoWriter.h"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <new>
#include <memory>
#include <span>
#include <string_view>

#ifdef __linux__
#include <sys/mman.h>
#endif

#include "base/AtomicFile.h"
#include "base/BinaryReader.h"
#include "base/ByteWriter.h"
#include "model/LogFiles.h"
#include "model/ModelHelpers.h"
#include "model/Normals.h"
#include "base/NumberText.h"
#include "model/state/PeoLayout.h"
#include "model/RotationMath.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

using peo::kFillerByte;
using peo::kHeaderSize;
using peo::kMaterialEntrySize;
using peo::kNormalEntrySize;
using peo::kPolygonEntrySize;
using peo::kVertexEntrySize;
constexpr uint16_t kFillerWord = uint16_t(kFillerByte) << 8 | kFillerByte;

const std::string_view kIdentifier{peo::kIdentifier, size_t(peo::kIdentifierSize)};  // with its zero byte
const std::string_view kShipFileIdentifier{peo::kShipFileIdentifier, size_t(peo::kIdentifierSize)};
const std::string kCrLf = "\r\n";

// A little-endian byte buffer written front to back. It is sized once the file's length is known and is
// not cleared first, so every byte of a large file is touched once, by the value written to it.
class ByteSink {
public:
    void i16(int16_t v) { u16(uint16_t(v)); }
    void u16(uint16_t v) { put(v); }
    void i32(int32_t v) { put(uint32_t(v)); }
    void f32(float v) { put(std::bit_cast<uint32_t>(v)); }
    void text(std::string_view s) {
        uint8_t* at = room(s.size());
        if (!s.empty()) std::memcpy(at, s.data(), s.size());
    }
    void fill(size_t count, uint8_t value) {
        uint8_t* at = room(count);
        if (count) std::memset(at, value, count);
    }
    void patchI32(size_t at, int32_t v) { storeLittleEndian(bytes_.get() + at, uint32_t(v)); }
    size_t size() const { return used_; }
    // The 1-based position of the next byte, as the log names it.
    std::string positionText() const { return intText(int64_t(used_) + 1); }
    std::span<const uint8_t> bytes() const { return {bytes_.get(), used_}; }
    // Makes room for the whole file at once.
    void expectTotal(size_t total) {
        if (total > capacity_) reallocate(total);
    }

    // Room for n more bytes, to be filled front to back through a Record.
    uint8_t* room(size_t n) {
        if (used_ + n > capacity_) reallocate(std::max(used_ + n, capacity_ * 2 + 4096));
        uint8_t* at = bytes_.get() + used_;
        used_ += n;
        return at;
    }

private:
    template <class Unsigned>
    void put(Unsigned v) {
        storeLittleEndian(room(sizeof v), v);
    }
    struct Free {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    void reallocate(size_t capacity) {
        // A large file's buffer lies in huge pages where the system offers them, so that its first touch
        // faults a few hundred times rather than once per small page.
        constexpr size_t kHugePage = size_t(2) << 20;
        uint8_t* bigger = nullptr;
        if (capacity >= 2 * kHugePage) {
            capacity = (capacity + kHugePage - 1) / kHugePage * kHugePage;
            bigger = static_cast<uint8_t*>(std::aligned_alloc(kHugePage, capacity));
#ifdef __linux__
            if (bigger) madvise(bigger, capacity, MADV_HUGEPAGE);
#endif
        } else {
            bigger = static_cast<uint8_t*>(std::malloc(capacity));
        }
        if (!bigger) throw std::bad_alloc();
        if (used_) std::memcpy(bigger, bytes_.get(), used_);
        bytes_.reset(bigger);
        capacity_ = capacity;
    }
    std::unique_ptr<uint8_t, Free> bytes_;
    size_t capacity_ = 0;
    size_t used_ = 0;
};

// Fills bytes that a ByteSink made room for, little-endian, without further checks.
class Record {
public:
    explicit Record(uint8_t* at) : at_(at) {}
    void i16(int16_t v) { put(uint16_t(v)); }
    void i32(int32_t v) { put(uint32_t(v)); }
    void f32(float v) { put(std::bit_cast<uint32_t>(v)); }
    void fill(size_t count, uint8_t value) {
        std::memset(at_, value, count);
        at_ += count;
    }

private:
    template <class Unsigned>
    void put(Unsigned v) {
        storeLittleEndian(at_, v);
        at_ += sizeof v;
    }
    uint8_t* at_;
};

int32_t checked32(int64_t v) { return toInt32(v); }

// The writer's plan of one active object.
struct PlannedObject {
    size_t index = 0;    // slot in peoObjects
    bool owner = true;   // gets lists of its own in this file
    size_t listsOf = 0;  // the slot whose lists its record points at (itself for an owner)
};

// Active objects in index order, with the record number of each slot (0 for a deleted slot). A sharer
// points at its master's lists only when that is safe: the master is a lower, active slot and the lists
// it would point at have exactly its counts. Otherwise it is written as an owner.
struct Plan {
    std::vector<PlannedObject> objects;
    std::vector<int32_t> recordNumber;

    static Plan make(const ShipModel& model) {
        Plan plan;
        plan.recordNumber.assign(model.peoObjects.size(), 0);
        std::vector<size_t> listsOf(model.peoObjects.size());
        for (size_t i = 0; i < model.peoObjects.size(); ++i) {
            const PeoObject& object = model.peoObjects[i];
            listsOf[i] = i;
            if (object.isDeleted()) continue;
            PlannedObject planned{i, true, i};
            const int s = object.sharedWith;
            if (s >= 0 && size_t(s) < i && plan.recordNumber[size_t(s)] != 0) {
                const PeoObject& lists = model.peoObjects[listsOf[size_t(s)]];
                if (lists.vertices.size() == object.vertices.size() &&
                    lists.polygons.size() == object.polygons.size() && lists.nFaceNormals == object.nFaceNormals &&
                    lists.nVertNormals == object.nVertNormals) {
                    planned.owner = false;
                    planned.listsOf = listsOf[size_t(s)];
                    listsOf[i] = planned.listsOf;
                }
            }
            plan.objects.push_back(planned);
            plan.recordNumber[i] = int32_t(plan.objects.size());
        }
        return plan;
    }
};

// The most active objects a file of this record size takes: the material list offset, header plus records,
// is kept within a signed 16-bit number (291 records of 112 bytes, 281 of 116).
int64_t mostActiveObjects(int32_t recordSize) { return (INT16_MAX - int64_t(kHeaderSize)) / recordSize; }

RunTimeError limitPassed(const std::string& what, int64_t value, int64_t most, const std::string& why) {
    return RunTimeError::overflow().withDetail(what + " " + intText(value) + " does not fit (at most " +
                                               intText(most) + why + ")");
}

// Checks the limits that the writer's 16-bit numbers set, before anything is changed or written. Each
// refusal is an Overflow whose detail names the count, its limit and why.
void checkObjectAndMaterialLimits(const ShipModel& model, const LiveSwitches& live, size_t activeCount,
                                  int32_t recordSize, bool cataclysm) {
    const int64_t mostObjects = mostActiveObjects(recordSize);
    if (int64_t(activeCount) > mostObjects)
        throw limitPassed("the active object count", int64_t(activeCount), mostObjects,
                          std::string(" in a ") + (cataclysm ? "Cataclysm" : "Homeworld") +
                              " .peo file, whose material list offset " + intText(int64_t(kHeaderSize)) + " + " +
                              intText(recordSize) + " x count must stay within 32767");
    const int64_t mostMaterials = INT16_MAX / kMaterialEntrySize;
    if (int64_t(model.materialCount()) > mostMaterials)
        throw limitPassed("the material count", model.materialCount(), mostMaterials,
                          ": the material list's length, " + intText(int64_t(kMaterialEntrySize)) +
                              " bytes per material, must stay within 32767");
    const int64_t folded = int64_t(model.publicMaterialCount) + model.localMaterialCount;
    if (live.chkSHIPfilePEO && (folded > INT16_MAX || folded < INT16_MIN))
        throw limitPassed("the SHIP-file PEO material count (public + local)", folded, INT16_MAX, "");
}

// Polygon corners and material numbers are 16-bit fields of the polygon entry.
void checkPolygonIndices(const ShipModel& model, const Plan& plan) {
    const auto check = [](int32_t value, const char* what, size_t polygon, const PeoObject& object) {
        if (value >= INT16_MIN && value <= INT16_MAX) return;
        throw RunTimeError::overflow().withDetail(std::string(what) + " " + intText(value) + " of polygon " +
                                                  intText(int64_t(polygon)) + " of object " + object.name +
                                                  " does not fit the polygon entry's 16-bit field (-32768 to 32767)");
    };
    for (const PlannedObject& planned : plan.objects) {
        if (!planned.owner) continue;
        const PeoObject& object = model.peoObjects[planned.index];
        for (size_t k = 0; k < object.polygons.size(); ++k) {
            const PeoPolygon& p = object.polygons[k];
            for (int32_t corner : {p.v0, p.v1, p.v2}) check(corner, "the corner index", k, object);
            check(p.material, "the material index", k, object);
        }
    }
}

class PeoFileBuilder {
public:
    PeoFileBuilder(EditingContext& ctx, bool cataclysm)
        : ctx_(ctx),
          model_(ctx.model),
          cataclysm_(cataclysm),
          recordSize_(peo::recordLayout(cataclysm).size),
          callerContext_(ctx.err) {}

    // Builds the file; its bytes stay in the builder.
    std::span<const uint8_t> build() {
        const bool shipFile = ctx_.live.chkSHIPfilePEO;
        log(cataclysm_ ? "Saving Homeworld:Cataclysm format PEO," : "Saving Homeworld format PEO,");
        logActiveCount();
        checkObjectAndMaterialLimits(model_, ctx_.live, activeCount(), recordSize_, cataclysm_);
        const int32_t materialListOffset = int32_t(activeCount()) * recordSize_ + kHeaderSize;

        recalculateNormals();
        plan_ = Plan::make(model_);
        checkPolygonIndices(model_, plan_);
        if (shipFile) {
            model_.publicMaterialCount = int16_t(model_.publicMaterialCount + model_.localMaterialCount);
            model_.localMaterialCount = 0;
        }

        writeHeader(shipFile ? kShipFileIdentifier : kIdentifier, materialListOffset, 0);
        collectNamesAndTotals();
        log("    and " + intText(model_.materialCount()) + " materials.");
        computeRegionOffsets(materialListOffset);
        writeObjectRecords();
        collectTextureNames();
        writeMaterials();
        writeLists();
        writeNames();
        finishHeader();
        return out_.bytes();
    }

private:
    void log(const std::string& text) { addToLog(ctx_, text); }

    size_t activeCount() const {
        size_t n = 0;
        for (const PeoObject& object : model_.peoObjects) n += object.isDeleted() ? 0 : 1;
        return n;
    }

    void logActiveCount() {
        const int slots = model_.objectCount();
        log(slots == 1 ? "  containing ONE object" : "  containing " + intText(slots) + " objects");
        const size_t n = activeCount();
        log(n == 1 ? "   ( one active object found )," : "   ( " + intText(int64_t(n)) + " active objects found ),");
    }

    void recalculateNormals() {
        recalcFaceNormals(ctx_);
        if (cataclysm_ || ctx_.live.chkVNs) {
            calcVertexNormals(ctx_);
        } else {
            for (PeoObject& object : model_.peoObjects) object.nVertNormals = 0;
        }
    }

    void writeHeader(std::string_view identifier, int32_t materialListOffset, int32_t fileSize) {
        out_.text(identifier);
        out_.i32(cataclysm_ ? kPeoVersionCataclysm : kPeoVersionHomeworld);
        out_.i32(0);  // name offset
        out_.i32(fileSize);
        out_.i32(0);  // local size
        out_.i32(model_.publicMaterialCount);
        out_.i32(model_.localMaterialCount);
        out_.i32(materialListOffset);
        out_.i32(materialListOffset);
        out_.i32(int32_t(plan_.objects.size()));
        out_.fill(size_t(peo::header::reservedSize), kFillerByte);
    }

    void collectNamesAndTotals() {
        for (const PlannedObject& planned : plan_.objects) {
            const PeoObject& object = model_.peoObjects[planned.index];
            nameOffsetInBlock_.push_back(int64_t(objectNames_.size()));
            objectNames_ += object.name;
            objectNames_ += '\0';
            if (!planned.owner) continue;
            totalVertices_ += int64_t(object.vertices.size());
            totalPolygons_ += int64_t(object.polygons.size());
            totalFaceNormals_ += object.nFaceNormals;
            totalVertNormals_ += object.nVertNormals;
        }
    }

    void computeRegionOffsets(int32_t materialListOffset) {
        polygonsAt_ = checked32(int64_t(materialListOffset) + toInt16(model_.materialCount() * kMaterialEntrySize));
        verticesAt_ = checked32(polygonsAt_ + totalPolygons_ * kPolygonEntrySize);
        if (cataclysm_) {
            cVertexNormalsAt_ = checked32(verticesAt_ + totalVertices_ * kVertexEntrySize);
            normalsAt_ = checked32(cVertexNormalsAt_ + totalVertNormals_ * kNormalEntrySize);
        } else {
            normalsAt_ = checked32(verticesAt_ + totalVertices_ * kVertexEntrySize);
            cVertexNormalsAt_ = checked32(normalsAt_ + totalFaceNormals_ * kNormalEntrySize);
        }
        namesAt_ = checked32(normalsAt_ + (totalFaceNormals_ + totalVertNormals_) * kNormalEntrySize);
        writeLog(ctx_, "poly offset: " + intText(polygonsAt_), 3);
        writeLog(ctx_, "vertex offset: " + intText(verticesAt_), 3);
        writeLog(ctx_, "vertNormal offset: " + intText(cVertexNormalsAt_), 3);
        writeLog(ctx_, "faceNormal offset: " + intText(normalsAt_), 3);
        writeLog(ctx_, "baseObjName offset: " + intText(namesAt_), 3);
        size_t textureBlock = 0;
        for (const PeoTexture& texture : model_.textures)
            if (!isNoTextureName(texture.name)) textureBlock += texture.name.size() + 1;
        out_.expectTotal(size_t(namesAt_) + objectNames_.size() + textureBlock);
    }

    // The record number of the active object a link names; a link to a deleted slot or outside the objects
    // is written as 0.
    int32_t writtenLink(const PeoObject& object, int32_t link, const char* kind) {
        if (link == 0) return 0;
        if (link > 0 && link <= model_.objectCount() && plan_.recordNumber[size_t(link - 1)] != 0)
            return plan_.recordNumber[size_t(link - 1)];
        log("  The " + std::string(kind) + " link " + intText(link) + " of " + object.name +
            " names no saved object; it is written as 0.");
        return 0;
    }

    void writeLink(const PeoObject& object, int32_t link, const char* kind, const char* label) {
        const int32_t number = writtenLink(object, link, kind);
        const int32_t offset = convertKey(ctx_, number, cataclysm_);
        ctx_.err = callerContext_;  // the helper recorded its own: a later failure is the caller's
        const std::string& linkedName =
            number == 0 ? model_.peoObjects[0].name : model_.peoObjects[size_t(link - 1)].name;
        writeLog(ctx_, std::string(label) + intText(offset) + " " + intText(number) + " - " + linkedName, 2);
        out_.i32(offset);
    }

    void writeObjectRecords() {
        log(kCrLf + "Writing object list at offset " + out_.positionText() + ",");
        int64_t polygonsSoFar = polygonsAt_, verticesSoFar = verticesAt_, normalsSoFar = normalsAt_;
        int64_t vertNormalsSoFar = cVertexNormalsAt_;
        for (size_t k = 0; k < plan_.objects.size(); ++k) {
            const PlannedObject& planned = plan_.objects[k];
            PeoObject& object = model_.peoObjects[planned.index];
            out_.i32(checked32(namesAt_ + nameOffsetInBlock_[k]));
            out_.i32(object.flags);
            out_.i32(int32_t(object.vertices.size()));
            out_.i32(object.nFaceNormals);
            out_.i32(object.nVertNormals);
            out_.i32(int32_t(object.polygons.size()));
            writeLog(ctx_, "  polysSoFar: " + intText(polygonsSoFar), 2);
            writeLog(ctx_, "  vertsSoFar: " + intText(verticesSoFar), 2);
            writeLog(ctx_, "  faceNormalsSoFar: " + intText(normalsSoFar), 2);
            writeLog(ctx_, "  vertNormalsSoFar: " + intText(vertNormalsSoFar), 2);
            if (planned.owner) {
                log(" Object " + object.name + " is");
                log("  not a shared object,");
                object.polygonListOffset = checked32(polygonsSoFar);
                object.vertexListOffset = checked32(verticesSoFar);
                object.normalListOffset = checked32(normalsSoFar);
                object.cVertexNormalsOffset = checked32(vertNormalsSoFar);
            } else {
                log(" Object " + object.name + " has");
                log("  shared object " + intText(object.sharedWith));
                const PeoObject& lists = model_.peoObjects[planned.listsOf];
                object.polygonListOffset = lists.polygonListOffset;
                object.vertexListOffset = lists.vertexListOffset;
                object.normalListOffset = lists.normalListOffset;
                object.cVertexNormalsOffset = lists.cVertexNormalsOffset;
            }
            log("  Polygon offset at " + intText(object.polygonListOffset) + ",");
            if (cataclysm_) {
                log("  Vertex offset at " + intText(object.vertexListOffset) + ",");
                log("  Vertex normal offset at " + intText(object.cVertexNormalsOffset) + " / " +
                    intText(object.nVertNormals) + ", and");
                log("  Face normal offset at " + intText(object.normalListOffset) + " / " +
                    intText(object.nFaceNormals) + ".");
            } else {
                log("  Vertex offset at " + intText(object.vertexListOffset) + ", and");
                log("  Face normal offset at " + intText(object.normalListOffset) + " / " +
                    intText(object.nFaceNormals) + " / " + intText(object.nVertNormals) + ".");
            }
            if (planned.owner) {
                polygonsSoFar += int64_t(object.polygons.size()) * kPolygonEntrySize;
                verticesSoFar += int64_t(object.vertices.size()) * kVertexEntrySize;
                normalsSoFar += (int64_t(object.nFaceNormals) + object.nVertNormals) * kNormalEntrySize;
                if (cataclysm_) vertNormalsSoFar += int64_t(object.nVertNormals) * kNormalEntrySize;
            }
            out_.i32(object.vertexListOffset);
            if (cataclysm_) out_.i32(object.cVertexNormalsOffset);
            out_.i32(object.normalListOffset);
            out_.i32(object.polygonListOffset);
            writeLink(object, object.mother, "mother", "  Mother @ ");
            writeLink(object, object.daughter, "daughter", "  Daughter @ ");
            writeLink(object, object.sister, "sister", "  Sister @ ");
            const Matrix4 stored = transposeMatrix(object.matrix);
            for (int16_t i = 1; i <= 16; ++i) out_.f32(getMatrixElement(i, stored));
        }
    }

    void collectTextureNames() {
        texturesAt_ = checked32(namesAt_ + int64_t(objectNames_.size()));
        for (const PeoTexture& texture : model_.textures) {
            if (isNoTextureName(texture.name)) {
                textureOffsets_.push_back(0);
                log("Some faces are not textured.");
                continue;
            }
            textureOffsets_.push_back(checked32(texturesAt_ + int64_t(textureNames_.size())));
            textureNames_ += texture.name;
            textureNames_ += '\0';
        }
    }

    void writeMaterials() {
        log(kCrLf + "Writing material list @ " + out_.positionText());
        for (const PeoMaterial& material : model_.materials) {
            // A texture index outside the list names no texture: the entry gets offset 0.
            const bool known = material.texture >= 0 && size_t(material.texture) < model_.textures.size();
            log("  material " + (known ? model_.textures[size_t(material.texture)].name : std::string()));
            out_.i32(0);
            for (const ColourBytes* colour : {&material.ambient, &material.diffuse, &material.specular})
                for (uint8_t byte : *colour) out_.fill(1, byte);
            out_.f32(material.kAlpha);
            out_.i32(known ? textureOffsets_[size_t(material.texture)] : 0);
            out_.i16(convertMatFlags(ctx_, material));
            ctx_.err = callerContext_;
            out_.i16(material.fullAmbient);
            out_.u16(kFillerWord);
            out_.u16(kFillerWord);
        }
    }

    void writeNormals(const std::vector<PeoNormal>& normals) {
        Record r(out_.room(normals.size() * size_t(kNormalEntrySize)));
        for (const PeoNormal& n : normals) {
            r.f32(n.x);
            r.f32(n.y);
            r.f32(n.z);
            r.fill(4, kFillerByte);
        }
    }

    void writeLists() {
        log(kCrLf + "Writing poly list: " + out_.positionText());
        forEachOwner([&](const PeoObject& object) {
            log("  " + object.name + " has " + intText(int64_t(object.polygons.size())) + " polys");
            Record r(out_.room(object.polygons.size() * size_t(kPolygonEntrySize)));
            for (const PeoPolygon& p : object.polygons) {
                r.i32(p.faceNormal);
                r.i16(int16_t(p.v0));  // range checked before anything was changed
                r.i16(int16_t(p.v1));
                r.i16(int16_t(p.v2));
                r.i16(int16_t(p.material));
                for (float st : {p.s0, p.t0, p.s1, p.t1, p.s2, p.t2}) r.f32(st);
                r.i16(p.flags);
                r.i16(p.reserved);
            }
        });
        log(kCrLf + "Writing vertex list @ " + out_.positionText());
        forEachOwner([&](const PeoObject& object) {
            log("  " + object.name + " has " + intText(int64_t(object.vertices.size())) + " vertices");
            Record r(out_.room(object.vertices.size() * size_t(kVertexEntrySize)));
            for (const PeoVertex& v : object.vertices) {
                r.f32(v.x);
                r.f32(v.y);
                r.f32(v.z);
                r.i32(v.normal);
            }
        });
        if (cataclysm_) {
            log(kCrLf + "Writing vertex normals list @ " + out_.positionText());
            forEachOwner([&](const PeoObject& object) {
                if (object.nVertNormals <= 0) return;
                log("  " + object.name + " has " + intText(object.nVertNormals) + " vert normals");
                out_.fill(size_t(object.nVertNormals) * kNormalEntrySize, 0);
            });
        }
        log(kCrLf + "Writing normals list: ");
        forEachOwner([&](const PeoObject& object) {
            log("  " + object.name + ": " + intText(object.nFaceNormals) + " faceNs @ " + out_.positionText());
            writeNormals(object.faceNormals);
            if (object.nVertNormals > 0) {
                log("  " + object.name + ": " + intText(object.nVertNormals) + " vertexNs @ " + out_.positionText());
                writeNormals(object.vertexNormals);
            }
        });
    }

    template <class Fn>
    void forEachOwner(Fn&& fn) {
        for (const PlannedObject& planned : plan_.objects)
            if (planned.owner) fn(model_.peoObjects[planned.index]);
    }

    void writeNames() {
        log(kCrLf + "Writing names block @ " + out_.positionText());
        log(kCrLf + " Block sizes are: ");
        log(objectNames_.empty() ? "  - zero (no object names present)."
                                 : "  - for objects: " + intText(int64_t(objectNames_.size())));
        log(textureNames_.empty() ? "  - zero (no textures names present)."
                                  : "  - for textures: " + intText(int64_t(textureNames_.size())));
        out_.text(objectNames_);
        out_.text(textureNames_);
    }

    void finishHeader() {
        const int32_t fileSize = checked32(int64_t(out_.size()) - kHeaderSize);
        log(kCrLf + "Writing header: ");
        log("  file size is " + intText(fileSize) + " bytes");
        log("   ( 'local size' is " + intText(0) + " ).");
        log(std::string(30, '-'));
        out_.patchI32(size_t(peo::header::fileSize), fileSize);
    }

    EditingContext& ctx_;
    ShipModel& model_;
    const bool cataclysm_;
    const int32_t recordSize_;
    // The writer runs under its caller's error context; trapping helpers record their own on the way.
    const ErrorContext callerContext_;
    Plan plan_;
    ByteSink out_;
    std::string objectNames_, textureNames_;
    std::vector<int64_t> nameOffsetInBlock_;
    std::vector<int32_t> textureOffsets_;
    int64_t totalVertices_ = 0, totalPolygons_ = 0, totalFaceNormals_ = 0, totalVertNormals_ = 0;
    int32_t polygonsAt_ = 0, verticesAt_ = 0, cVertexNormalsAt_ = 0, normalsAt_ = 0, namesAt_ = 0, texturesAt_ = 0;
};

}  // namespace

std::vector<uint8_t> buildPeoFile(EditingContext& ctx, bool cataclysm) {
    PeoFileBuilder builder(ctx, cataclysm);
    const std::span<const uint8_t> bytes = builder.build();
    return {bytes.begin(), bytes.end()};
}

void refreshMaterialPositions(EditingContext& ctx, const std::filesystem::path& written,
                              std::span<const uint8_t> bytes) {
    std::error_code ec;
    if (ctx.currentModelPath.empty() || bytes.size() < size_t(kHeaderSize)) return;
    if (!std::filesystem::equivalent(written, ctx.currentModelPath, ec) || ec) return;
    const size_t at = size_t(peo::header::publicMaterialListOffset);
    const int64_t list = loadI32(bytes, at);
    for (size_t i = 0; i < ctx.model.materials.size(); ++i)
        ctx.model.materials[i].filePosition = int32_t(list + int64_t(kMaterialEntrySize) * int64_t(i) + 1);
}

void writePeoFile(EditingContext& ctx, const std::string& path, bool cataclysm) {
    PeoFileBuilder builder(ctx, cataclysm);
    const std::span<const uint8_t> bytes = builder.build();
    writeFileAtomically(path, bytes);
    refreshMaterialPositions(ctx, path, bytes);
}

}  // namespace tarv
