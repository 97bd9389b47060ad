// The .mad reader and writer against byte tables built here, then round trips.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "Fakes.h"
#include "MadFixtures.h"
#include "TempDir.h"
#include "animation/MadFile.h"
#include "animation/MadTracks.h"
#include "base/AtomicFile.h"

using namespace tarv;
using namespace tarv::test;

namespace {

const std::string kMellonn("Mellonn\0", 8);

struct MadFileTest : ::testing::Test {
    TempDir dir;
    TestContext t{dir.path()};
    EditingContext& ctx = t.ctx;

    std::filesystem::path write(const ByteBuilder& b, const std::string& name = "ship.mad") {
        auto path = dir / name;
        writeBytes(path, b.data());
        return path;
    }
    void readWorked(const std::vector<std::string>& model = {"Hull", "Gun"}) {
        setModelObjects(ctx, model);
        getMadInfo(ctx, write(workedFixture()));
        ASSERT_TRUE(t.errors.reports.empty()) << t.errors.reports[0].description;
    }
    std::vector<uint8_t> save(const std::string& name = "out.mad") {
        EXPECT_TRUE(exportMad(ctx, dir / name));
        EXPECT_TRUE(t.errors.reports.empty()) << t.errors.reports.at(0).description;
        return readBytes(dir / name);
    }
    // Reads bytes into a fresh context with the given model.
    void readInto(TestContext& other, const std::vector<uint8_t>& bytes, const std::vector<std::string>& model) {
        setModelObjects(other.ctx, model);
        auto path = dir / "back.mad";
        writeBytes(path, bytes);
        getMadInfo(other.ctx, path);
        ASSERT_TRUE(other.errors.reports.empty()) << other.errors.reports[0].description;
    }
};

TEST_F(MadFileTest, WorkedFixtureReadsIntoRecordsLinksAndLog) {
    t.status.appendLog("old line\r\n");
    readWorked();

    const auto& anims = ctx.animation.madAnimations;
    ASSERT_EQ(anims.size(), 1u);
    EXPECT_EQ(anims[0], (MadAnimation{"Fire", 0.0f, 2.0f, 1}));
    ASSERT_EQ(ctx.animation.madObjectCount(), 1);
    const MadObject& gun = ctx.animation.madObjects[0];
    EXPECT_EQ(gun.name, "Gun");
    EXPECT_EQ(gun.animBits, 1u);
    EXPECT_EQ(gun.keyframes, workedKeys());
    EXPECT_EQ(ctx.model.peoObjects[0].madObjectIndex, -1);
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, 0);
    EXPECT_EQ(t.status.panels[4], "MAD");

    const std::vector<std::string> expected = {"Loaded MAD version: 0.91",
                                               "String block Offset: 264",
                                               "String block length: 9",
                                               "No of animations: 1",
                                               "No of objects: 1",
                                               "Animation length: 2",
                                               "Seeking to 265",
                                               "Loading 2 names....",
                                               "Finished getting object names",
                                               "Getting animation info....",
                                               "  0 - 2 (1)",
                                               "Animation 1 Fire at offset 57",
                                               "Objects offset: 56",
                                               "Adding object: Gun",
                                               "  AnimBits: 1",
                                               "  Keyframes: 4",
                                               "  Object 0 Keyframe 0 Time array is at: 105"};
    EXPECT_EQ(logLines(t.status.logBox), expected);  // the old line was emptied first
}

TEST_F(MadFileTest, WorkedFixtureWritesBackByteForByte) {
    readWorked();
    auto path = dir / "out.mad";
    const auto bytes = save();
    EXPECT_EQ(bytes, workedFixture().data());
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 8), kMellonn);

    const std::vector<std::string> expected = {"Saving MAD anim: " + path.string(),
                                               "Length of string block: 9",
                                               "String block offset is: 264",
                                               "Animation length: 2",
                                               "Objects: 1",
                                               "Animations: 1",
                                               "ObjPath offset: 56",
                                               "Saving animation: Fire",
                                               "What the hell is this: 104",
                                               "Saving object 0: Gun @ 57",
                                               "  4 keyframes",
                                               "  Length: 160",
                                               "  Times array is at: 104",
                                               "  TCB array is at: 120",
                                               "  X array is at: 168",
                                               "  Y array is at: 184",
                                               "  Z array is at: 200",
                                               "  H array is at: 216",
                                               "  P array is at: 232",
                                               "  B array is at: 248",
                                               "Object 0: Gun arrays at: 105",
                                               "Saving strings at 265"};
    EXPECT_EQ(logLines(t.status.logBox), expected);
}

TEST_F(MadFileTest, AnyIdentifierReads) {
    for (const std::string& identifier : {std::string("Zizodoz\0", 8), std::string(8, '\0'), std::string("ABCDEFGH")}) {
        TestContext other(dir.path());
        setModelObjects(other.ctx, {"Gun"});
        getMadInfo(other.ctx, write(workedFixture(identifier)));
        EXPECT_TRUE(other.errors.reports.empty());
        EXPECT_EQ(other.ctx.animation.madObjectCount(), 1);
        EXPECT_EQ(other.ctx.model.peoObjects[0].madObjectIndex, 0);
    }
}

TEST_F(MadFileTest, TheObjectEntriesFollowTheAnimationEntriesWhateverTheHeaderSays) {
    ByteBuilder b = workedFixture();
    b.patchI32(32, 9999);  // objPathOffset: only logged
    setModelObjects(ctx, {"Gun"});
    getMadInfo(ctx, write(b));
    ASSERT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(ctx.animation.madObjects.at(0).keyframes, workedKeys());
    const auto lines = logLines(t.status.logBox);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "Objects offset: 9999"), lines.end());
}

TEST_F(MadFileTest, SavingRewritesTheOpeningAndClosingKeysInMemory) {
    readWorked();
    auto& keys = ctx.animation.madObjects[0].keyframes;
    keys.front().position = {7, 7, 7};
    keys.back().time = 9999999.0f;
    const auto written = save();
    EXPECT_EQ(keys, workedKeys());
    EXPECT_EQ(written, workedFixture().data());
}

TEST_F(MadFileTest, MissingFileOnlyEmptiesTheLogBox) {
    readWorked();
    t.status.panels[4].clear();
    t.status.appendLog("something\r\n");
    getMadInfo(ctx, dir / "nothing.mad");
    EXPECT_EQ(t.status.logBox, "");
    EXPECT_EQ(ctx.animation.madObjectCount(), 1);
    EXPECT_EQ(t.status.panels[4], "");
    EXPECT_TRUE(t.errors.reports.empty());
}

TEST_F(MadFileTest, NamesThatArePrefixesOfEachOtherKeepTheirOwnOffsets) {
    setModelObjects(ctx, {"Gun", "Gun1", "Gun2Base"});
    ctx.animation.madAnimations = {{"Fire2", 0, 1, 0}, {"Fire", 2, 3, 1}};
    for (int i = 0; i < 3; ++i) {
        ctx.animation.madObjects.push_back(makeTrack(ctx.model.peoObjects[size_t(i)].name, {0.5f, 2.5f}));
        ctx.model.peoObjects[size_t(i)].madObjectIndex = int16_t(i);
    }
    const auto bytes = save();
    const size_t block = size_t(i32At(bytes, 16));
    const std::vector<std::pair<size_t, std::string>> entries = {
        {40, "Fire2"}, {56, "Fire"}, {72, "Gun"}, {120, "Gun1"}, {168, "Gun2Base"}};
    for (const auto& [entry, name] : entries) {
        const size_t offset = size_t(i32At(bytes, entry));
        EXPECT_EQ(textAt(bytes, block + offset), name);
        EXPECT_TRUE(offset == 0 || bytes[block + offset - 1] == 0) << name << " points into another name";
    }

    TestContext back(dir.path());
    readInto(back, bytes, {"Gun", "Gun1", "Gun2Base"});
    EXPECT_EQ(back.ctx.animation.madAnimations[0].name, "Fire2");
    EXPECT_EQ(back.ctx.animation.madAnimations[1].name, "Fire");
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(back.ctx.animation.madObjects[size_t(i)].name, ctx.model.peoObjects[size_t(i)].name);
        EXPECT_EQ(back.ctx.model.peoObjects[size_t(i)].madObjectIndex, i);
    }
}

TEST(MadStringBlock, MapGivesTheSameOffsetsAsTheLiteralScan) {
    const std::vector<std::string> names = {"Fire2", "Fire", "Gun",   "Gun1", "Gun", "Gun2Base",
                                            "G",     "",     "Fire2", "un",   "Gun1"};
    MadStringBlock block;
    for (const auto& name : names) block.add(name);
    for (const char* name : {"Fire2", "Fire", "Gun", "Gun1", "Gun2Base", "G", "", "un", "Fir", "Gun2"})
        EXPECT_EQ(block.offsetOf(name), firstWholeNameOffset(block.bytes(), name)) << name;
    EXPECT_EQ(block.offsetOf("Fire"), 6);
    EXPECT_EQ(block.offsetOf("Fir"), -1);
}

TEST_F(MadFileTest, SameNamedObjectsBothLinkAndCountTwice) {
    readWorked({"Gun", "Hull", "Gun"});
    EXPECT_EQ(ctx.model.peoObjects[0].madObjectIndex, 0);
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, -1);
    EXPECT_EQ(ctx.model.peoObjects[2].madObjectIndex, 0);

    const auto bytes = save();
    EXPECT_EQ(i32At(bytes, 12), 13);  // "Fire", "Gun", "Gun"
    EXPECT_EQ(std::string(bytes.end() - 13, bytes.end()), std::string("Fire\0Gun\0Gun\0", 13));

    // 16384 keys count 32768 through the two links: beyond the limit.
    auto& keys = ctx.animation.madObjects[0].keyframes;
    keys.resize(16384, keys.back());
    EXPECT_FALSE(exportMad(ctx, dir / "big.mad"));
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].description, "Overflow");
    ctx.model.peoObjects[2].madObjectIndex = -1;
    EXPECT_TRUE(exportMad(ctx, dir / "big.mad"));
}

TEST_F(MadFileTest, LinksAreCaseSensitiveAndUnmatchedObjectsKeepTheirValue) {
    setModelObjects(ctx, {"Hull", "Gun", "Other"});
    ctx.model.peoObjects[0].madObjectIndex = 3;
    ctx.model.peoObjects[2].madObjectIndex = 7;
    ByteBuilder b = workedFixture();
    b.patchU8(269, 'h').patchU8(270, 'u').patchU8(271, 'l').patchU8(272, 'l');  // the track is now "hull"
    getMadInfo(ctx, write(b));
    ASSERT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(ctx.animation.madObjects[0].name, "hull");
    EXPECT_EQ(ctx.model.peoObjects[0].madObjectIndex, 3);
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, -1);
    EXPECT_EQ(ctx.model.peoObjects[2].madObjectIndex, 7);
}

TEST_F(MadFileTest, SmallAnglesSnapToZeroButPositionsStay) {
    ByteBuilder b = workedFixture();
    b.patchF32(216 + 4, 0.00005f);   // H of key 1
    b.patchF32(232 + 4, -0.00009f);  // P of key 1
    b.patchF32(248 + 4, 0.0001f);    // B of key 1: not below the threshold
    b.patchF32(168 + 4, 0.00005f);   // X of key 1
    b.patchF32(184 + 4, 0.00005f);   // Y of key 1
    b.patchF32(120 + 12, 0.00001f);  // tension of key 1
    setModelObjects(ctx, {"Gun"});
    getMadInfo(ctx, write(b));
    const MadKeyframe& k = ctx.animation.madObjects.at(0).keyframes.at(1);
    EXPECT_EQ(k.rotation.x, 0.0f);
    EXPECT_EQ(k.rotation.y, 0.0f);
    EXPECT_EQ(k.rotation.z, -0.0001f);
    EXPECT_EQ(k.position.z, -0.00005f);
    EXPECT_EQ(k.position.x, 0.00005f);
    EXPECT_EQ(k.tension, 0.00001f);
}

TEST_F(MadFileTest, InvertedXRotationIsWrittenNegated) {
    readWorked();
    ctx.live.chkSaveKeyframesXrotInvert = true;
    const auto bytes = save();
    float h1;
    std::memcpy(&h1, bytes.data() + 216 + 4, 4);
    EXPECT_EQ(h1, -0.5f);

    TestContext back(dir.path());
    readInto(back, bytes, {"Gun"});
    const auto& mine = ctx.animation.madObjects[0].keyframes;
    const auto& read = back.ctx.animation.madObjects[0].keyframes;
    ASSERT_EQ(read.size(), mine.size());
    for (size_t k = 0; k < mine.size(); ++k) {
        EXPECT_EQ(read[k].rotation.x, -mine[k].rotation.x);
        EXPECT_EQ(read[k].rotation.y, mine[k].rotation.y);
        EXPECT_EQ(read[k].position, mine[k].position);
    }
}

TEST_F(MadFileTest, NothingToWriteTouchesNoFile) {
    struct Case {
        const char* what;
        void (*arrange)(EditingContext&);
    };
    const Case cases[] = {
        {"no object linked", [](EditingContext& c) { c.model.peoObjects[1].madObjectIndex = -1; }},
        {"no keys", [](EditingContext& c) { c.animation.madObjects[0].keyframes.clear(); }},
        {"only a deleted object linked", [](EditingContext& c) { c.model.peoObjects[1].name = "**DELETED**"; }},
    };
    for (const Case& c : cases) {
        readWorked();
        c.arrange(ctx);
        t.status.appendLog("kept\r\n");
        EXPECT_TRUE(exportMad(ctx, dir / "new.mad")) << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir / "new.mad")) << c.what;
        writeText(dir / "old.mad", "old content");
        EXPECT_TRUE(exportMad(ctx, dir / "old.mad")) << c.what;
        EXPECT_EQ(readText(dir / "old.mad"), "old content") << c.what;
        EXPECT_TRUE(t.errors.reports.empty()) << c.what;
        EXPECT_NE(t.status.logBox.find("kept"), std::string::npos) << c.what;
    }
}

TEST_F(MadFileTest, AShorterFileEndsWithItsStringBlock) {
    readWorked();
    writeBytes(dir / "out.mad", std::vector<uint8_t>(5000, 0xAB));
    const auto bytes = save();
    EXPECT_EQ(bytes.size(), 273u);
    EXPECT_EQ(std::string(bytes.end() - 9, bytes.end()), std::string("Fire\0Gun\0", 9));
}

TEST_F(MadFileTest, LimitsGiveTheOverflowReportAndTouchNoFile) {
    struct Case {
        const char* what;
        void (*arrange)(EditingContext&);
    };
    const Case cases[] = {
        {"32768 keys",
         [](EditingContext& c) {
             auto& keys = c.animation.madObjects[0].keyframes;
             keys.resize(32768, keys.back());
         }},
        {"683 tracks", [](EditingContext& c) { c.animation.madObjects.resize(683, c.animation.madObjects[0]); }},
        {"33 animations",
         [](EditingContext& c) {
             auto& animations = c.animation.madAnimations;
             while (animations.size() < 33)
                 animations.push_back({"Extra" + std::to_string(animations.size()), 0, 1, 0});
         }},
    };
    for (const Case& c : cases) {
        TestContext fresh(dir.path());
        setModelObjects(fresh.ctx, {"Gun"});
        getMadInfo(fresh.ctx, write(workedFixture()));
        c.arrange(fresh.ctx);
        writeText(dir / "old.mad", "old content");
        EXPECT_FALSE(exportMad(fresh.ctx, dir / "old.mad")) << c.what;
        EXPECT_FALSE(exportMad(fresh.ctx, dir / "new.mad")) << c.what;
        ASSERT_EQ(fresh.errors.reports.size(), 2u) << c.what;
        const auto& report = fresh.errors.reports[0];
        EXPECT_EQ(report.number, 6) << c.what;
        EXPECT_EQ(report.description, "Overflow");
        EXPECT_EQ(report.module, "modMad");
        EXPECT_EQ(report.procedure, "exportMad");
        EXPECT_EQ(report.arguments, (dir / "old.mad").string());
        EXPECT_EQ(readText(dir / "old.mad"), "old content") << c.what;
        EXPECT_FALSE(std::filesystem::exists(dir / "new.mad")) << c.what;
    }
    // Right at the limits the save goes through.
    readWorked();
    ctx.animation.madObjects.resize(682, ctx.animation.madObjects[0]);
    auto& keys = ctx.animation.madObjects[0].keyframes;
    keys.resize(32767, keys.back());
    EXPECT_TRUE(exportMad(ctx, dir / "limit.mad"));
    EXPECT_TRUE(t.errors.reports.empty());
}

// A header for hand-made files with the given counts; entries and arrays follow from the caller.
ByteBuilder header(int32_t blockLength, int32_t blockOffset, int32_t nObjects, int32_t nAnimations) {
    ByteBuilder b;
    b.str(kMellonn).f32(0.91f).i32(blockLength).i32(blockOffset).f32(0).f32(30.0f).i32(nObjects);
    b.i32(40 + 16 * nAnimations).i32(nAnimations);
    return b;
}

TEST_F(MadFileTest, DeletedObjectsLinkByNameToo) {
    ByteBuilder b = header(12, 88, 1, 0);
    b.i32(0).i32(0).i32(0).i32(0);
    for (int j = 0; j < 8; ++j) b.i32(88);
    b.zstr("**DELETED**");
    setModelObjects(ctx, {"**DELETED**", "Gun"});
    getMadInfo(ctx, write(b));
    EXPECT_EQ(ctx.model.peoObjects[0].madObjectIndex, 0);
    EXPECT_EQ(ctx.model.peoObjects[1].madObjectIndex, -1);
}

TEST_F(MadFileTest, ZeroAnimationsOrZeroObjectsRead) {
    // Zero animations, one track "Gun" with no keys; the block holds just "Gun".
    ByteBuilder noAnims = header(4, 88, 1, 0);
    noAnims.i32(0).i32(0).i32(0).i32(0);
    for (int j = 0; j < 8; ++j) noAnims.i32(88);
    noAnims.zstr("Gun");
    // One animation, zero tracks.
    ByteBuilder noTracks = header(5, 56, 0, 1);
    noTracks.i32(0).f32(0).f32(1).i32(0).zstr("Fire");
    // Nothing at all.
    ByteBuilder nothing = header(0, 40, 0, 0);

    setModelObjects(ctx, {"Gun"});
    getMadInfo(ctx, write(noAnims));
    EXPECT_TRUE(ctx.animation.madAnimations.empty());
    ASSERT_EQ(ctx.animation.madObjectCount(), 1);
    EXPECT_EQ(ctx.animation.madObjects[0].keyframeCount(), 0);
    EXPECT_EQ(ctx.model.peoObjects[0].madObjectIndex, 0);

    getMadInfo(ctx, write(noTracks));
    EXPECT_EQ(ctx.animation.madAnimations.size(), 1u);
    EXPECT_EQ(ctx.animation.madObjectCount(), 0);

    getMadInfo(ctx, write(nothing));
    EXPECT_TRUE(ctx.animation.madAnimations.empty());
    EXPECT_EQ(ctx.animation.madObjectCount(), 0);
    EXPECT_TRUE(t.errors.reports.empty());

    // Our writer writes no animations when there are none, and that reads back.
    readWorked();
    ctx.animation.madAnimations.clear();
    const auto bytes = save();
    EXPECT_EQ(i32At(bytes, 36), 0);
    TestContext back(dir.path());
    readInto(back, bytes, {"Hull", "Gun"});
    EXPECT_TRUE(back.ctx.animation.madAnimations.empty());
    EXPECT_EQ(back.ctx.animation.madObjects[0].keyframes, workedKeys());
}

TEST_F(MadFileTest, SixteenAndThirtyTwoAnimationsKeepTheirMaskBits) {
    for (int count : {16, 32}) {
        TestContext c(dir.path());
        setModelObjects(c.ctx, {"Gun"});
        for (int a = 0; a < count; ++a)
            c.ctx.animation.madAnimations.push_back({"Anim" + std::to_string(a), float(2 * a), float(2 * a + 1), 0});
        // Keys in the last animation only.
        c.ctx.animation.madObjects.push_back(makeTrack("Gun", {float(2 * count - 2), float(2 * count - 1)}));
        c.ctx.model.peoObjects[0].madObjectIndex = 0;
        ASSERT_TRUE(exportMad(c.ctx, dir / "many.mad"));
        ASSERT_TRUE(c.errors.reports.empty());
        const auto bytes = readBytes(dir / "many.mad");
        const size_t maskAt = size_t(40 + 16 * count + 8);
        const std::vector<uint8_t> expected =
            count == 16 ? std::vector<uint8_t>{0x00, 0x80, 0x00, 0x00} : std::vector<uint8_t>{0x00, 0x00, 0x00, 0x80};
        EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + long(maskAt), bytes.begin() + long(maskAt) + 4), expected);

        TestContext back(dir.path());
        readInto(back, bytes, {"Gun"});
        EXPECT_EQ(back.ctx.animation.madObjects[0].animBits, count == 16 ? 0x8000u : 0x80000000u);
        EXPECT_EQ(back.ctx.animation.madAnimations.size(), size_t(count));
    }
}

TEST_F(MadFileTest, OnlyTracksWithKeysAndALiveOrNoOwnerAreWritten) {
    setModelObjects(ctx, {"Hull", "Gun", "**DELETED**", "Gun2"});
    ctx.animation.madAnimations = {{"Fire", 0, 2, 1}};
    ctx.animation.madObjects = {
        makeTrack("Gun", {0, 2}),         // 0: linked to a live object
        makeTrack("Turret", {0, 1}),      // 1: linked only to a deleted object
        makeTrack("Spare", {1, 2}),       // 2: linked to nothing
        MadObject{"**DELETED**", 0, {}},  // 3: emptied by deleting its animation
        MadObject{"Gun2", 0, {}},         // 4: linked, but without keys
    };
    ctx.model.peoObjects[1].madObjectIndex = 0;
    ctx.model.peoObjects[2].madObjectIndex = 1;
    ctx.model.peoObjects[3].madObjectIndex = 4;
    const auto tracksBefore = ctx.animation.madObjects.size();

    const auto bytes = save();
    EXPECT_EQ(i32At(bytes, 28), 2);  // nObjects: Gun and Spare
    const int32_t blockOffset = i32At(bytes, 16);
    EXPECT_EQ(blockOffset, 40 + 16 + 2 * 48 + 2 * 4 * 40);
    EXPECT_EQ(std::string(bytes.begin() + blockOffset, bytes.end()), std::string("Fire\0Gun\0Gun2\0Spare\0", 20));
    EXPECT_EQ(ctx.animation.madObjects.size(), tracksBefore);

    TestContext back(dir.path());
    readInto(back, bytes, {"Hull", "Gun", "Spare"});
    ASSERT_EQ(back.ctx.animation.madObjectCount(), 2);
    EXPECT_EQ(back.ctx.animation.madObjects[0].name, "Gun");
    EXPECT_EQ(back.ctx.animation.madObjects[0].keyframes, ctx.animation.madObjects[0].keyframes);
    EXPECT_EQ(back.ctx.animation.madObjects[1].name, "Spare");
    EXPECT_EQ(back.ctx.animation.madObjects[1].keyframes, ctx.animation.madObjects[2].keyframes);
    EXPECT_EQ(back.ctx.model.peoObjects[2].madObjectIndex, 1);
}

TEST_F(MadFileTest, DamagedFilesAreRefusedWholeAndChangeNothing) {
    struct Case {
        const char* what;
        void (*damage)(ByteBuilder&);
        const char* reportSays;
    };
    const Case cases[] = {
        {"shorter than the header", [](ByteBuilder& b) { b.data().resize(39); }, "fewer than its 40-byte header"},
        {"negative animations", [](ByteBuilder& b) { b.patchI32(36, -1); }, "counts -1 animations"},
        {"33 animations", [](ByteBuilder& b) { b.patchI32(36, 33); }, "counts 33 animations"},
        {"negative objects", [](ByteBuilder& b) { b.patchI32(28, -5); }, "counts -5 objects"},
        {"more tracks than 16 bits", [](ByteBuilder& b) { b.patchI32(28, 32768); }, "counts 32768 objects"},
        {"entries past the end", [](ByteBuilder& b) { b.patchI32(28, 5); }, "entries run past the end"},
        {"huge animation count", [](ByteBuilder& b) { b.patchI32(36, 0x7fffffff); }, "animations"},
        {"block past the end", [](ByteBuilder& b) { b.patchI32(16, 270); }, "string block"},
        {"block before the start", [](ByteBuilder& b) { b.patchI32(16, -4); }, "string block"},
        {"negative block length", [](ByteBuilder& b) { b.patchI32(12, -1); }, "string block"},
        {"huge block length", [](ByteBuilder& b) { b.patchI32(12, 0x7fffffff); }, "string block"},
        {"animation name outside", [](ByteBuilder& b) { b.patchI32(40, 9); }, "name offset 9 of animation 1"},
        {"negative name offset", [](ByteBuilder& b) { b.patchI32(40, -1); }, "name offset -1"},
        {"object name outside", [](ByteBuilder& b) { b.patchI32(56, 1000); }, "name offset 1000 of object 0"},
        {"flags 256", [](ByteBuilder& b) { b.patchI32(52, 256); }, "flags value 256"},
        {"flags negative", [](ByteBuilder& b) { b.patchI32(52, -1); }, "flags value -1"},
        {"negative key count", [](ByteBuilder& b) { b.patchI32(68, -1); }, "counts -1 keyframes"},
        {"huge key count", [](ByteBuilder& b) { b.patchI32(68, 0x7fffffff); }, "the Time array of object 0"},
        {"key count past the arrays", [](ByteBuilder& b) { b.patchI32(68, 7); }, "the B array of object 0"},
        {"Time array past the end", [](ByteBuilder& b) { b.patchI32(72, 260); }, "the Time array of object 0"},
        {"TCB array past the end", [](ByteBuilder& b) { b.patchI32(76, 240); }, "the TCB array of object 0"},
        {"negative array offset", [](ByteBuilder& b) { b.patchI32(96, -8); }, "the P array of object 0"},
    };
    for (const Case& c : cases) {
        TestContext fresh(dir.path());
        setModelObjects(fresh.ctx, {"Hull", "Gun"});
        fresh.ctx.model.peoObjects[1].madObjectIndex = 2;
        fresh.ctx.animation.madAnimations = {{"Before", 0, 1, 0}};
        fresh.ctx.animation.madObjects = {makeTrack("A", {}), makeTrack("B", {}), makeTrack("Gun", {0.5f})};
        const auto animsBefore = fresh.ctx.animation.madAnimations;
        const auto tracksBefore = fresh.ctx.animation.madObjects;

        ByteBuilder b = workedFixture();
        c.damage(b);
        const auto path = write(b, "damaged.mad");
        getMadInfo(fresh.ctx, path);

        ASSERT_EQ(fresh.errors.reports.size(), 1u) << c.what;
        const auto& report = fresh.errors.reports[0];
        EXPECT_NE(report.description.find(c.reportSays), std::string::npos) << c.what << ": " << report.description;
        EXPECT_EQ(report.module, "modMad");
        EXPECT_EQ(report.procedure, "getMadInfo");
        EXPECT_EQ(report.arguments, path.string());
        EXPECT_EQ(fresh.ctx.animation.madAnimations, animsBefore) << c.what;
        EXPECT_EQ(fresh.ctx.animation.madObjects, tracksBefore) << c.what;
        EXPECT_EQ(fresh.ctx.model.peoObjects[1].madObjectIndex, 2) << c.what;
        EXPECT_EQ(fresh.ctx.model.peoObjects[0].madObjectIndex, -1) << c.what;
        EXPECT_EQ(fresh.status.panels[4], "MAD") << c.what << ": the file was opened";
    }
}

TEST_F(MadFileTest, OverlappingArraysCannotClaimMoreKeysThanTheFileHolds) {
    // 100 object entries that all point at one shared array of 20 keys: 2000 keys from a 5 KB file.
    const int n = 100, keys = 20;
    const int32_t arrays = 40 + 48 * n;
    const int32_t block = arrays + 40 * keys;
    ByteBuilder b = header(2, block, n, 0);
    for (int i = 0; i < n; ++i) {
        b.i32(0).i32(0).i32(0).i32(keys);
        for (int j = 0; j < 8; ++j) b.i32(arrays);
    }
    b.fill(size_t(40 * keys)).zstr("A");
    setModelObjects(ctx, {"A"});
    getMadInfo(ctx, write(b));
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_NE(t.errors.reports[0].description.find("more keyframes than the file"), std::string::npos);
    EXPECT_EQ(ctx.animation.madObjectCount(), 0);

    // Sharing within what the file can hold reads.
    b.patchI32(28, 2);
    t.errors.reports.clear();
    getMadInfo(ctx, write(b));
    EXPECT_TRUE(t.errors.reports.empty());
    EXPECT_EQ(ctx.animation.madObjectCount(), 2);
}

TEST_F(MadFileTest, AFailingWriteLeavesTheOldFileAndNoTemporary) {
    readWorked();
    writeText(dir / "ship.mad", "old content");
    const auto before = std::distance(std::filesystem::directory_iterator(dir.path()), {});
    failNextAtomicWriteForTesting();
    EXPECT_FALSE(exportMad(ctx, dir / "ship.mad"));
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].procedure, "exportMad");
    EXPECT_EQ(readText(dir / "ship.mad"), "old content");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), before);
}

TEST_F(MadFileTest, ADanglingLinkIsReportedNotFollowed) {
    readWorked();
    ctx.model.peoObjects[0].madObjectIndex = 5;
    EXPECT_FALSE(exportMad(ctx, dir / "out.mad"));
    ASSERT_EQ(t.errors.reports.size(), 1u);
    EXPECT_EQ(t.errors.reports[0].number, 9);
    EXPECT_FALSE(std::filesystem::exists(dir / "out.mad"));
}

TEST_F(MadFileTest, ResetEmptiesAnimationsAndTracksTogether) {
    readWorked();
    ctx.animation.reset();
    EXPECT_TRUE(ctx.animation.madAnimations.empty());
    EXPECT_EQ(ctx.animation.madObjectCount(), 0);
}

}  // namespace
