#include <gtest/gtest.h>

#include "ByteBuilder.h"
#include "Fakes.h"
#include "TempDir.h"
#include "base/BinaryReader.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"

using namespace tarv;
using tarv::test::ByteBuilder;

TEST(BinaryReader, ReadsLittleEndianValuesAtOffsets) {
    ByteBuilder b;
    b.i16(-2).i32(0x12345678).f32(1.5f).zstr("abc").str("xy");
    BinaryReader r(b.data(), "t.bin");
    EXPECT_EQ(r.i16(0, "a"), -2);
    EXPECT_EQ(r.u16(0, "a"), 0xFFFE);
    EXPECT_EQ(r.i32(2, "b"), 0x12345678);
    EXPECT_EQ(r.f32(6, "c"), 1.5f);
    EXPECT_EQ(r.zeroTerminated(10, "name"), "abc");
    // A name without its zero byte ends at the end of the file.
    EXPECT_EQ(r.zeroTerminated(14, "name"), "xy");
    EXPECT_EQ(r.zeroTerminated(16, "name"), "");
}

TEST(BinaryReader, ReadsOutsideTheFileNameFieldOffsetAndSize) {
    ByteBuilder b;
    b.fill(10);
    BinaryReader r(b.data(), "ship.peo");
    struct Case {
        int64_t offset;
        int width;
    };
    for (Case c : {Case{8, 4}, Case{10, 1}, Case{-1, 2}, Case{INT64_MAX - 1, 4}}) {
        try {
            if (c.width == 4)
                r.i32(c.offset, "vertex count");
            else if (c.width == 2)
                r.i16(c.offset, "vertex count");
            else
                r.u8(c.offset, "vertex count");
            ADD_FAILURE() << "no error at " << c.offset;
        } catch (const RunTimeError& e) {
            EXPECT_EQ(e.number(), 62);
            EXPECT_NE(e.description().find("vertex count"), std::string::npos);
            EXPECT_NE(e.description().find("ship.peo"), std::string::npos);
            EXPECT_NE(e.description().find("10 bytes"), std::string::npos);
        }
    }
    EXPECT_THROW(r.zeroTerminated(11, "name"), RunTimeError);
}

TEST(BinaryReader, RequireEntriesRefusesCountsLargerThanTheFile) {
    ByteBuilder b;
    b.fill(100);
    BinaryReader r(b.data(), "x");
    EXPECT_NO_THROW(r.requireEntries(20, 5, 16, "list"));  // 20 + 80 = 100
    EXPECT_THROW(r.requireEntries(20, 6, 16, "list"), RunTimeError);
    EXPECT_THROW(r.requireEntries(20, -1, 16, "list"), RunTimeError);
    EXPECT_THROW(r.requireEntries(101, 0, 16, "list"), RunTimeError);
    EXPECT_THROW(r.requireEntries(0, INT64_MAX / 2, 16, "list"), RunTimeError);
}

TEST(BinaryReader, FromFileReadsWholeFileAndReportsMissingFile) {
    tarv::test::TempDir dir;
    ByteBuilder b;
    b.i32(7);
    b.writeTo(dir / "a.bin");
    auto r = BinaryReader::fromFile(dir / "a.bin");
    EXPECT_EQ(r.size(), 4);
    EXPECT_EQ(r.i32(0, "x"), 7);
    try {
        BinaryReader::fromFile(dir / "missing.bin");
        ADD_FAILURE();
    } catch (const RunTimeError& e) {
        EXPECT_EQ(e.number(), 53);
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "missing.bin"));
}

TEST(TrapGuard, RecordsContextReportsOnceAndSkipsTheRest) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    int steps = 0;
    bool finished = trapErrors(t.ctx, "modPeo", "getMaterials", "3|292", [&] {
        ++steps;
        throw RunTimeError::overflow();
        ++steps;
    });
    EXPECT_FALSE(finished);
    EXPECT_EQ(steps, 1);
    ASSERT_EQ(t.errors.reports.size(), 1u);
    const auto& r = t.errors.reports[0];
    EXPECT_EQ(r.number, 6);
    EXPECT_EQ(r.description, "Overflow");
    EXPECT_EQ(r.module, "modPeo");
    EXPECT_EQ(r.procedure, "getMaterials");
    EXPECT_EQ(r.arguments, "3|292");
    EXPECT_EQ(r.source, "TARV");
    // The context stays recorded after the procedure returns: it is never restored.
    EXPECT_EQ(t.ctx.err.errProc, "getMaterials");
}

TEST(TrapGuard, CatchesOutOfMemoryAndOtherStandardErrors) {
    tarv::test::TempDir dir;
    tarv::test::TestContext t(dir.path());
    EXPECT_FALSE(trapErrors(t.ctx, "m", "p", "", [] { throw std::bad_alloc(); }));
    EXPECT_FALSE(trapErrors(t.ctx, "m", "p", "", [] { throw std::out_of_range("index"); }));
    EXPECT_TRUE(trapErrors(t.ctx, "m", "p", "", [] {}));
    ASSERT_EQ(t.errors.reports.size(), 2u);
    EXPECT_EQ(t.errors.reports[0].description, "Out of memory");
    EXPECT_EQ(t.errors.reports[1].description, "index");
}

TEST(VersionTexts, TitleCarriesTheRevisionOnlyWhenThereIsOne) {
    EXPECT_EQ(VersionTexts::make(0, 1, 0).appTitle, "TARV v0.1");
    EXPECT_EQ(VersionTexts::make(2, 10, 3).appVersion, "2.10 beta 3");
    EXPECT_EQ(buildVersionTexts().appName, "TARV");
}
