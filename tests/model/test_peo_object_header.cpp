// The object records of a .peo as the import and the repair window read them: fields in file order, the
// raw parent offset, names at their offsets, and the file-level refusals.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ByteBuilder.h"
#include "base/BinaryReader.h"
#include "base/RunTimeError.h"
#include "model/PeoObjectHeader.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// A header of the given version and object count; the rest of the header is zero.
ByteBuilder header(int32_t version, int32_t count) {
    ByteBuilder b;
    b.str("RMF99ba").u8(0).i32(version).fill(28).i32(count).fill(24, 0xAB);
    return b;
}

// One record: every 32-bit field numbered after its position, so each one shows where it was read.
void record(ByteBuilder& b, bool cataclysm, int32_t nameOffset, int32_t parent) {
    b.i32(nameOffset).i32(101).i32(102).i32(103).i32(104).i32(105).i32(106);
    if (cataclysm) b.i32(107);
    b.i32(108).i32(109).i32(parent).i32(111).i32(112);
    for (int i = 0; i < 16; ++i) b.f32(float(i) + 0.5f);
}

PeoObjectHeaderFile read(const ByteBuilder& b) { return readPeoObjectHeaders(BinaryReader(b.data(), "other.peo")); }

std::string refusal(const ByteBuilder& b) {
    try {
        read(b);
    } catch (const RunTimeError& e) {
        return e.description();
    }
    return "accepted";
}

}  // namespace

TEST(PeoObjectHeader, FieldsAreReadInFileOrderInBothLayouts) {
    for (const bool cataclysm : {false, true}) {
        const int R = cataclysm ? 116 : 112;
        ByteBuilder b = header(cataclysm ? 0x500 : 0x402, 2);
        const int32_t names = 68 + 2 * R;
        record(b, cataclysm, names, 0);
        record(b, cataclysm, names + 5, 68);
        b.zstr("Hull").zstr("Gun");
        const PeoObjectHeaderFile file = read(b);
        SCOPED_TRACE(cataclysm);
        EXPECT_EQ(file.cataclysm, cataclysm);
        ASSERT_EQ(file.records.size(), 2u);
        const PeoObjectHeader& h = file.records[1];
        EXPECT_EQ(h.name, "Gun");
        EXPECT_EQ(file.records[0].name, "Hull");
        EXPECT_EQ(h.nameOffset, names + 5);
        EXPECT_EQ(h.flags, 101);
        EXPECT_EQ(h.nVertices, 102);
        EXPECT_EQ(h.nFaceNormals, 103);
        EXPECT_EQ(h.nVertNormals, 104);
        EXPECT_EQ(h.nPolygons, 105);
        EXPECT_EQ(h.vertexListOffset, 106);
        EXPECT_EQ(h.cVertexNormalsOffset, cataclysm ? 107 : 0);
        EXPECT_EQ(h.normalListOffset, 108);
        EXPECT_EQ(h.polygonListOffset, 109);
        EXPECT_EQ(h.mother, 68);  // the raw offset
        EXPECT_EQ(h.daughter, 111);
        EXPECT_EQ(h.sister, 112);
        EXPECT_FLOAT_EQ(h.fileMatrix[0], 0.5f);
        EXPECT_FLOAT_EQ(h.fileMatrix[15], 15.5f);
    }
}

TEST(PeoObjectHeader, ANameWithoutItsZeroByteEndsAtTheEndOfTheFile) {
    ByteBuilder b = header(0x402, 1);
    record(b, false, 68 + 112, 0);
    b.str("Tail");
    EXPECT_EQ(read(b).records[0].name, "Tail");
}

TEST(PeoObjectHeader, FilesThatCannotBeTrustedAreRefusedWithTheirReason) {
    struct Case {
        const char* what;
        ByteBuilder bytes;
        std::string reason;
    };
    auto oneRecord = [](int32_t version, int32_t count, int32_t nameOffset) {
        ByteBuilder b = header(version, count);
        record(b, version == 0x500, nameOffset, 0);
        b.zstr("A");
        return b;
    };
    ByteBuilder homeworldRecordAsCataclysm = header(0x500, 1);
    record(homeworldRecordAsCataclysm, false, 180, 0);
    homeworldRecordAsCataclysm.zstr("A");
    ByteBuilder shortFile;
    shortFile.str("RMF99ba").u8(0).i32(0x402);
    const std::vector<Case> cases = {
        {"shorter than the header", shortFile, "the file is shorter than its 68-byte header"},
        {"unknown version", oneRecord(0x401, 1, 180), "unknown PEO version 1025"},
        {"no objects", oneRecord(0x402, 0, 180), "it holds no objects"},
        {"negative count", oneRecord(0x402, -3, 180), "it holds no objects"},
        {"40000 objects", oneRecord(0x402, 40000, 180), "it claims 40000 objects (at most 32768)"},
        {"records past the end", oneRecord(0x402, 2, 180), "its object records run past the end of the file"},
        {"a Homeworld record in a Cataclysm file", homeworldRecordAsCataclysm,
         "its object records run past the end of the file"},
        {"name past the end", oneRecord(0x402, 1, 182), "the name of object 0 lies outside the file"},
        {"negative name offset", oneRecord(0x402, 1, -1), "the name of object 0 lies outside the file"},
    };
    for (const Case& c : cases) EXPECT_EQ(refusal(c.bytes), c.reason) << c.what;
}
