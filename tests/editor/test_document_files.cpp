// Every save writes the files the ship on screen was loaded from (or the Save As target) and nothing else,
// whatever a failed load of another file left behind; a file read with damage or a model without objects
// is not written over its file; and "done" follows only a write.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "ByteBuilder.h"
#include "RoadFixture.h"
#include "attachments/MexSteps.h"
#include "attachments/ShpFile.h"
#include "meshtools/LodFiles.h"
#include "editor/DocumentFiles.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "editor/context/EditingContext.h"
#include "materials/LifPreview.h"
#include "materials/LifReader.h"
#include "model/LoadSummary.h"
#include "preview/MaterialPreview.h"
#include "model/LogFiles.h"

namespace tarv::test {
namespace fs = std::filesystem;

namespace {

// Every file under folder with its bytes.
std::map<std::string, std::vector<uint8_t>> filesUnder(const fs::path& folder) {
    std::map<std::string, std::vector<uint8_t>> files;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) files[e.path().string()] = readBytes(e.path());
    return files;
}

bool permissionsAreEnforced(const fs::path& file) {
    fs::permissions(file, fs::perms::none);
    std::ifstream in(file);
    const bool enforced = !in.is_open();
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    return enforced;
}

void patchI32(const fs::path& file, size_t at, int32_t value) {
    std::vector<uint8_t> bytes = readBytes(file);
    const std::vector<uint8_t> v = ByteBuilder().i32(value).data();
    std::copy(v.begin(), v.end(), bytes.begin() + ptrdiff_t(at));
    writeBytes(file, bytes);
}

}  // namespace

TEST(DocumentFiles, NoSaveWritesOutsideTheLoadedShipsOwnFilesWhateverTheLastLoadDid) {
    struct Outcome {
        const char* what;
        // Prepares folder A (loaded first) or B (tried next); returns the file tried after A, or "".
        std::function<std::string(const fs::path& a, const fs::path& b)> prepare;
        std::string loadMessage;  // the message the tried load shows
        bool damaged = false;     // A was read with damage
        bool emptied = false;     // every object of A is gone
    };
    const std::vector<Outcome> outcomes = {
        {"a good load of A", [](auto&, auto&) { return std::string(); }, ""},
        {"B's .shp without its .lod",
         [](auto&, const fs::path& b) {
             fs::remove(b / "Tarvlet.lod");
             return (b / "Tarvlet.shp").string();
         },
         "No LOD file found! Aborting load."},
        {"an empty .shp",
         [](auto&, const fs::path& b) {
             writeBytes(b / "Tarvlet.shp", {});
             return (b / "Tarvlet.shp").string();
         },
         "No LOD file found! Aborting load."},
        {"a .shp cut before its LODFile line",
         [](auto&, const fs::path& b) {
             std::vector<uint8_t> bytes = readBytes(b / "Tarvlet.shp");
             const std::string text(bytes.begin(), bytes.end());
             bytes.resize(text.find("LODFile"));
             writeBytes(b / "Tarvlet.shp", bytes);
             return (b / "Tarvlet.shp").string();
         },
         "No LOD file found! Aborting load."},
        {"a binary .shp",
         [](auto&, const fs::path& b) {
             writeBytes(b / "Tarvlet.shp", {0, 0xff, 0x13, 0, 0x80, 0x0d});
             return (b / "Tarvlet.shp").string();
         },
         "No LOD file found! Aborting load."},
        {"a folder named as a .peo",
         [](auto&, const fs::path& b) {
             fs::create_directories(b / "X.peo");
             return (b / "X.peo").string();
         },
         ""},
        {"a .peo that cannot be read",
         [](auto&, const fs::path& b) {
             if (!permissionsAreEnforced(b / "Tarvlet.peo")) return std::string();
             fs::permissions(b / "Tarvlet.peo", fs::perms::none);
             return (b / "Tarvlet.peo").string();
         },
         ""},
        {"A's material list outside its file",
         [](const fs::path& a, auto&) {
             patchI32(a / "Tarvlet.peo", 32, -1000);
             patchI32(a / "Tarvlet.peo", 36, -1000);
             return std::string();
         },
         "", true},
        {"A cut inside its names block",
         [](const fs::path& a, auto&) {
             std::vector<uint8_t> bytes = readBytes(a / "Tarvlet.peo");
             bytes.resize(bytes.size() - 3);  // inside the last texture name, "Panel"
             writeBytes(a / "Tarvlet.peo", bytes);
             return std::string();
         },
         "", true},
        {"A's models emptied by the mesh tools", [](auto&, auto&) { return std::string(); }, "", false, true},
    };
    struct Command {
        const char* what;
        std::function<void(EditingContext&)> run;
        std::string done;
        bool overwritesPeo;  // refused for a file read with damage
        bool writesPeo;      // refused for a model without objects
        const char* doneMessage = nullptr;  // said in a message box rather than the status line
    };
    const std::vector<Command> commands = {
        {"Save All", mnuSaveAll_Click, "'Save All' done!", true, true},
        {"PEO only", mnuSavePeo_Click, "Save done!", true, true},
        {"MEX only", mnuSaveMex_Click, "MEX save done!", false, false},
        {"MAD only", mnuSaveMad_Click, "MAD save done!", false, false},
        {"SHP only", [](EditingContext& ctx) { mnuFileSaveSHP_Click(ctx); }, "Save done!", false, false},
        {"the level files' patch", mnuLodCommandsMatrix_Click, "before", false, false,
         "Apply matrix/heirachy operation completed!"},
        {"Save As", mnuFileSaveAs_Click, "Save done!", false, true},
    };
    for (const Outcome& o : outcomes) {
        for (const Command& c : commands) {
            SCOPED_TRACE(std::string(o.what) + " / " + c.what);
            TempDir dir;
            TestContext t{dir.path() / "data"};
            EditingContext& ctx = t.ctx;
            fs::create_directories(dir.path() / "data");
            ctx.prefs.alwaysShowBackup = false;
            InitialiseComponents(ctx);
            const fs::path a = dir.path() / "A", b = dir.path() / "B";
            samples::writeSampleShip(a);
            samples::writeSampleShip(b);
            const std::string tried = o.prepare(a, b);
            loadThisFile(ctx, (a / "Tarvlet.shp").string());
            ASSERT_TRUE(ctx.model.modelLoaded);
            ASSERT_FALSE(ctx.mex.mexChunks.empty());
            // A's ship is edited, so every file a save writes differs from B's.
            ctx.model.peoObjects[0].matrix[12] += 1;
            ctx.mex.mexChunks[0].coneAngle += 1;
            t.prompts.shown.clear();
            if (o.emptied)
                for (PeoObject& object : ctx.model.peoObjects) object.name = kDeletedObjectName;
            if (!tried.empty()) {
                if (!o.loadMessage.empty()) t.prompts.expectMessage(o.loadMessage);
                loadThisFile(ctx, tried);
                EXPECT_EQ(t.status.status, notLoadedStatusText(tried));
                EXPECT_TRUE(ctx.road.mnuFileSaveEnabled);
            }
            const fs::path saveAs = dir.path() / "elsewhere" / "Copy.peo";
            fs::create_directories(saveAs.parent_path());
            const bool isSaveAs = std::string(c.what) == "Save As";
            if (isSaveAs) t.prompts.expectSave(FileDialogChoice{saveAs.string(), 1});
            std::string refusal;
            if (o.damaged && c.overwritesPeo)
                refusal = damagedFileRefusalText((a / "Tarvlet.peo").string(), ctx.documentFiles.damage);
            if (o.emptied && c.writesPeo)
                refusal = emptyModelRefusalText((isSaveAs ? saveAs : a / "Tarvlet.peo").string());
            if (!refusal.empty()) t.prompts.expectMessage(refusal);
            if (c.doneMessage && refusal.empty()) t.prompts.expectMessage(c.doneMessage);

            const auto before = filesUnder(dir.path());
            t.status.status = "before";
            c.run(ctx);
            // What may change: A's own .peo, .mex, .mad and its log, or the Save As target.
            const std::set<std::string> own = {(a / "Tarvlet.peo").string(), (a / "tarvlet.mex").string(),
                                               (a / "TARVLET.MAD").string(), (a / "Tarvlet.log").string(),
                                               (a / "Tarvlet.shp").string(), (a / "Tarvlet_LOD1.peo").string(),
                                               saveAs.string()};
            for (const auto& [path, bytes] : filesUnder(dir.path())) {
                if (own.count(path) || path.rfind((dir.path() / "data").string(), 0) == 0) continue;
                auto old = before.find(path);
                EXPECT_TRUE(old != before.end()) << "a new file: " << path;
                if (old != before.end()) {
                    EXPECT_TRUE(old->second == bytes) << "changed: " << path;
                }
            }
            EXPECT_EQ(t.status.status, refusal.empty() ? c.done : "before");
            EXPECT_EQ(t.prompts.pending(), 0u);
            if (o.damaged) {
                EXPECT_FALSE(ctx.documentFiles.damage.empty());
                EXPECT_NE(ctx.shell.loadSummaryNotes.find(
                              readWithDamageNote((a / "Tarvlet.peo").string(), ctx.documentFiles.damage)),
                          std::string::npos);
            }
            if (!refusal.empty() && c.overwritesPeo) {
                EXPECT_EQ(before, filesUnder(dir.path()));
            }
            fs::permissions(b / "Tarvlet.peo", fs::perms::owner_read | fs::perms::owner_write);
        }
    }
}

TEST(DocumentFiles, TheRefusalTextsNameTheFileAndWhatIsWrong) {
    const std::pair<std::string, std::string> texts[] = {
        {notLoadedStatusText("/s/B/Tarvlet.shp"), "Tarvlet.shp was not loaded; the ship on screen stays."},
        {damagedFileRefusalText("/s/a.peo", "its material list is damaged (Bad file)"),
         "/s/a.peo was read with damage: its material list is damaged (Bad file). Saving over it would lose what "
         "could not be read; use Save As to write the ship under another name."},
        {emptyModelRefusalText("/s/a.peo"),
         "The model holds no object, and a file without objects cannot be read again: /s/a.peo is left as it is."},
        {readWithDamageNote("/s/a.peo", "object Hull has a polygon with vertex 32752 of 24"),
         "a.peo was read with damage: object Hull has a polygon with vertex 32752 of 24."},
        {mexIsFolderText("/s/a.mex"),
         "/s/a.mex is a folder, not a mesh extras file: the ship gets the default chunks."},
        {textureRefusalText("/s/Hull.lif", "it is a PNG picture, not a .lif"),
         "The texture /s/Hull.lif cannot be read (it is a PNG picture, not a .lif): it is left out."},
    };
    for (const auto& [text, pinned] : texts) EXPECT_EQ(text, pinned);
}

TEST(DocumentFiles, PolygonsIndexingOutsideTheirListsAreDamage) {
    TempDir dir;
    TestContext t{dir.path()};
    ShipModel& model = t.ctx.model;
    model.materials.resize(3);
    model.peoObjects.resize(2);
    model.peoObjects[0].name = kDeletedObjectName;  // a deleted object is not written
    model.peoObjects[0].polygons.push_back({0, 0, 99, 7});
    PeoObject& hull = model.peoObjects[1];
    hull.name = "Hull";
    hull.vertices.resize(24);
    struct Case {
        PeoPolygon polygon;
        std::string damage;
    };
    const Case cases[] = {
        {{0, 1, 23, 2}, ""},
        {{0, 32752, 2, 0}, "object Hull has a polygon with vertex 32752 of 24"},
        {{-1, 1, 2, 0}, "object Hull has a polygon with vertex -1 of 24"},
        {{0, 1, 2, 30000}, "object Hull has a polygon with material 30000 of 3"},
        {{0, 1, 2, -1}, "object Hull has a polygon with material -1 of 3"},
    };
    for (const Case& c : cases) {
        hull.polygons = {c.polygon};
        EXPECT_EQ(modelDamage(t.ctx), c.damage);
    }
}

using ReaderMessages = RoadTest;

// A texture that is damaged or of another format is named once in the log and in the load summary, which
// shows, and the texture viewer refuses it with the same words instead of drawing it.
TEST_F(ReaderMessages, ADamagedOrForeignTextureIsNamedInTheLogTheSummaryAndTheViewer) {
    const std::vector<uint8_t> lif = readBytes(at("Hull.lif"));
    struct Case {
        const char* what;
        std::vector<uint8_t> bytes;
        std::string reason;
    };
    const Case cases[] = {
        {"a PNG named .lif",
         ByteBuilder().u8(0x89).str("PNG").u8(0x0d).u8(0x0a).u8(0x1a).u8(0x0a).i32(0x0d000000).str("IHDR")
             .i32(0x20000000).i32(0x20000000).i32(0).i32(0).i32(0).i32(0).i32(0).data(),
         "it is a PNG picture, not a .lif"},
        {"a .lif cut inside its header", {lif.begin(), lif.begin() + 20}, "the file is shorter than its 48-byte header"},
        {"a .lif cut inside its pixels", {lif.begin(), lif.begin() + 100}, "pixel block runs past the end of the file"},
    };
    LifTextureSource source(ctx);
    PreviewMaterialHook textures(source);
    ctx.services.materialPreview = &textures;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        writeBytes(at("Hull.lif"), c.bytes);
        dropLoadSummary(ctx);
        roadWindow.summaries = 0;
        loadThisFile(ctx, at("Tarvlet.shp"));
        ASSERT_TRUE(ctx.model.modelLoaded);
        const std::string message = textureRefusalText(at("Hull.lif"), c.reason);
        const std::string log = readText(currentLogPath(ctx));
        const size_t first = log.find(message);
        EXPECT_NE(first, std::string::npos) << log;
        EXPECT_EQ(log.find(message, first + 1), std::string::npos);
        EXPECT_EQ(ctx.shell.loadSummaryNotes, message + "\r\n");
        EXPECT_EQ(roadWindow.summaries, 1);

        t.prompts.expectMessage(message);
        lifpreview::openLif(ctx, at("Hull.lif"));
        EXPECT_EQ(t.prompts.pending(), 0u);
        EXPECT_FALSE(ctx.lif.preview.mnuView);
    }
}

// The classic texts of a reader that do not name the file get it as their detail.
TEST_F(ReaderMessages, AReadersClassicTextGetsTheFileAsItsDetail) {
    struct Case {
        const char* file;
        std::vector<uint8_t> bytes;
        std::string procedure, description, detail;
    };
    const Case cases[] = {
        {"tarvlet.mex", {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, "getMexInfo",
         "The MEX file is 10 bytes long, shorter than its 12-byte header.", "while reading tarvlet.mex"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        writeBytes(at(c.file), c.bytes);
        t.errors.reports.clear();
        t.prompts.allowUnused();
        loadThisFile(ctx, at("Tarvlet.shp"));
        ASSERT_EQ(t.errors.reports.size(), 1u);
        const ErrorReportInfo& report = t.errors.reports[0];
        EXPECT_EQ(report.procedure, c.procedure);
        EXPECT_EQ(report.description, c.description);
        EXPECT_EQ(report.detail, c.detail);
    }
}

}  // namespace tarv::test
