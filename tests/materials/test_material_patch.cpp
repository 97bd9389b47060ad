// The patch of one material's entry in the model file: which positions name an entry, which bytes change, and
// the file left whole when anything fails.
#include <gtest/gtest.h>

#include "ByteBuilder.h"
#include "Fakes.h"
#include "TempDir.h"
#include "base/AtomicFile.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "materials/MaterialPatch.h"
#include "model/state/ShipModel.h"

namespace tarv {
namespace {

using test::ByteBuilder;

constexpr int32_t kList = 68;

// A header whose public (or local) list of count entries lies at offset 68, then `entries` entries of 32
// bytes each filled with 0x40 + their index, then eight bytes 0xEE.
std::vector<uint8_t> peoBytes(int32_t publicCount, int32_t localCount, int entries) {
    ByteBuilder b;
    b.str("RMF99ba").u8(0).i32(0x402).i32(0).i32(0).i32(0);
    b.i32(publicCount).i32(localCount).i32(publicCount ? kList : 0).i32(localCount ? kList : 0).i32(0);
    b.fill(24, 0xAB);
    for (int k = 0; k < entries; ++k) b.fill(32, uint8_t(0x40 + k));
    b.fill(8, 0xEE);
    return b.data();
}

TEST(MaterialEntryOffset, NamesOnlyTheStartOfAnEntryOfTheListInUse) {
    struct Case {
        const char* name;
        std::vector<uint8_t> file;
        int32_t filePosition;
        std::optional<size_t> want;
    };
    const Case cases[] = {
        {"first entry", peoBytes(3, 0, 3), kList + 1, size_t(kList)},
        {"last entry", peoBytes(3, 0, 3), kList + 64 + 1, size_t(kList + 64)},
        {"local list when public is 0", peoBytes(0, 3, 3), kList + 32 + 1, size_t(kList + 32)},
        {"not in the file (imported)", peoBytes(3, 0, 3), 0, std::nullopt},
        {"inside an entry", peoBytes(3, 0, 3), kList + 5, std::nullopt},
        {"before the list", peoBytes(3, 0, 3), kList - 31, std::nullopt},
        {"behind the list", peoBytes(3, 0, 3), kList + 96 + 1, std::nullopt},
        {"list longer than the file", peoBytes(3, 0, 2), kList + 1, std::nullopt},
        {"no list", peoBytes(0, 0, 3), kList + 1, std::nullopt},
        {"short of a header", std::vector<uint8_t>(40, 0), 1, std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(materialEntryOffset(c.file, c.filePosition), c.want) << c.name;

    auto negative = peoBytes(3, 0, 3);
    ByteBuilder b;
    b.bytes(negative).patchI32(32, -32);
    EXPECT_EQ(materialEntryOffset(b.data(), 1), std::nullopt);
    b.patchI32(32, 0x7FFFFFF0);
    EXPECT_EQ(materialEntryOffset(b.data(), 0x7FFFFFF1), std::nullopt);
}

PeoMaterial twoSidedMaterial(int32_t filePosition) {
    PeoMaterial m;
    m.ambient = {1, 2, 3, 4};
    m.diffuse = {5, 6, 7, 8};
    m.specular = {9, 10, 11, 12};
    m.twoSided = true;
    m.kAlpha = 0.5f;
    m.fullAmbient = int16_t(0xAB00);
    m.filePosition = filePosition;
    return m;
}

// The file with entry k's bytes 4-15 and 24-27 as a two-sided material writes them.
std::vector<uint8_t> patchedAt(std::vector<uint8_t> file, int k) {
    const size_t at = size_t(kList + 32 * k);
    for (uint8_t b = 0; b < 12; ++b) file[at + 4 + b] = uint8_t(b + 1);
    file[at + 24] = 8;
    file[at + 25] = 0;
    file[at + 26] = 0x00;
    file[at + 27] = 0xAB;
    return file;
}

struct MaterialPatchTest : ::testing::Test {
    test::TempDir dir;
    test::TestContext t{dir.path()};
    std::filesystem::path peo = dir / "ship.peo";
    void SetUp() override {
        t.ctx.currentModelPath = peo.string();
        t.ctx.model.materials = {twoSidedMaterial(kList + 1), twoSidedMaterial(kList + 32 + 1)};
    }
};

TEST_F(MaterialPatchTest, ChangesExactlyTheColourFlagAndFullAmbientBytesOfTheEntry) {
    const auto before = peoBytes(3, 0, 3);
    test::writeBytes(peo, before);
    patchMaterialInModelFile(t.ctx, 1, 8);
    // The alpha bytes go into byte 3 of each colour, in the order R, G, B, A.
    EXPECT_EQ(test::readBytes(peo), patchedAt(before, 1));
}

TEST_F(MaterialPatchTest, AMaterialWithoutAnEntryIsKeptInMemoryOnly) {
    const auto before = peoBytes(3, 0, 3);
    test::writeBytes(peo, before);
    t.ctx.model.materials[1].filePosition = 0;  // imported
    t.prompts.expectMessage(kNoMaterialEntryText);
    patchMaterialInModelFile(t.ctx, 1, 8);
    EXPECT_EQ(test::readBytes(peo), before);

    const auto shortened = peoBytes(3, 0, 1);  // the list runs past the end of the file
    test::writeBytes(peo, shortened);
    t.ctx.model.materials[1].filePosition = kList + 1;
    t.prompts.expectMessage(kNoMaterialEntryText);
    patchMaterialInModelFile(t.ctx, 1, 8);
    EXPECT_EQ(test::readBytes(peo), shortened);
}

TEST_F(MaterialPatchTest, AMissingFileIsNeverCreated) {
    EXPECT_THROW(patchMaterialInModelFile(t.ctx, 0, 8), RunTimeError);
    EXPECT_FALSE(std::filesystem::exists(peo));
}

TEST_F(MaterialPatchTest, AFailedWriteLeavesTheFileAsItWas) {
    const auto before = peoBytes(3, 0, 3);
    test::writeBytes(peo, before);
    failNextAtomicWriteForTesting();
    EXPECT_ANY_THROW(patchMaterialInModelFile(t.ctx, 0, 8));
    EXPECT_EQ(test::readBytes(peo), before);
}

}  // namespace
}  // namespace tarv
