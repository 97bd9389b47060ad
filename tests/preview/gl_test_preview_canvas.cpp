// The main window's canvas shows a built model: a textured object with its texture the right way round,
// an untextured one in its own colour, the axes and the background. Runs under Xvfb; set TARV_SCREENSHOTS
// to a folder to keep the pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTest>

#include "Fakes.h"
#include "PreviewFixtures.h"
#include "RoadHooks.h"
#include "Screenshot.h"
#include "TempDir.h"
#include "../model/PeoFixture.h"
#include "shell/frmTARV.h"
#include "preview/PreviewCamera.h"
#include "preview/PreviewMarkers.h"
#include "objects/ObjectSelection.h"
#include "scene/gl/RMCanvas.h"
#include "app/EditorStart.h"
#include "editor/context/EditingContext.h"

using namespace tarv;
using namespace tarv::test;

namespace {

// A square of half size h centred at (0, cy) in the z = 0 plane, facing +z; the texture's top-left corner
// at screen top-left (world +x is up, +y right at Reset View).
PeoObject texturedSquare(const std::string& name, float h, float cy, int32_t material) {
    PeoObject o;
    o.name = name;
    o.vertices = {{h, cy - h, 0}, {h, cy + h, 0}, {-h, cy + h, 0}, {-h, cy - h, 0}};  // TL, TR, BR, BL
    PeoPolygon a{0, 2, 3, material}, b{0, 1, 2, material};
    a.s0 = 0, a.t0 = 0, a.s1 = 1, a.t1 = 1, a.s2 = 0, a.t2 = 1;
    b.s0 = 0, b.t0 = 0, b.s1 = 1, b.t1 = 0, b.s2 = 1, b.t2 = 1;
    o.polygons = {a, b};
    o.matrix = Matrix4::identity();
    o.minX = -h, o.maxX = h, o.minY = cy - h, o.maxY = cy + h, o.minZ = -10, o.maxZ = 10;
    return o;
}

bool near(const QColor& c, int r, int g, int b, int tolerance = 40) {
    return std::abs(c.red() - r) <= tolerance && std::abs(c.green() - g) <= tolerance &&
           std::abs(c.blue() - b) <= tolerance;
}

}  // namespace

TEST(PreviewCanvas, TexturedAndOwnColouredObjectsAtResetView) {
    TempDir dir;
    TestContext t(dir.path());
    EditingContext& ctx = t.ctx;
    ctx.prefs.renderBackground = 2;  // grey
    frmTARV window(ctx, scene::createRMCanvas);
    installSubsystems(window);
    auto* canvas = qobject_cast<scene::RMCanvas*>(window.RMCanvas1);
    ASSERT_NE(canvas, nullptr);
    ASSERT_EQ(ctx.view.canvas, canvas);
    InitialiseComponents(ctx);
    ctx.view.lightFrame->addLight(scene::createLightRGB(1, 1, 1));

    // Material 0 untextured; material 1 with a 2 x 2 picture: red, green over blue, yellow.
    addMaterial(ctx, "RMF99ba", false);
    addMaterial(ctx, "hull", false);
    Image picture(2, 2);
    picture.at(0, 0) = {255, 0, 0, 255};
    picture.at(1, 0) = {0, 255, 0, 255};
    picture.at(0, 1) = {0, 0, 255, 255};
    picture.at(1, 1) = {255, 255, 0, 255};
    ctx.model.textures[1].loaded = true;
    ctx.view.setTexture(1, scene::createTexture(picture));
    ctx.model.peoObjects = {texturedSquare("base", 4, -5, 0), texturedSquare("hull", 4, 5, 1)};
    ctx.model.peoObjects[1].mother = 1;
    buildScene(ctx);
    showAxes(ctx);
    mnuRenderReset_Click(ctx);
    view3d_Click(ctx, 0);

    window.resize(900, 700);
    window.show();
    QApplication::processEvents();
    saveScreenshotIfAsked(window, "preview_window");
    const QImage img = canvas->grabFramebuffer();
    ASSERT_GT(img.width(), 100);
    if (const char* folder = std::getenv("TARV_SCREENSHOTS")) img.save(QString(folder) + "/preview_canvas.png");

    // Camera 40 away (twice the extent of 20): the shorter side of the canvas shows 40 units. World +x is
    // up and +y right. The hull spans y 1..9 and x -4..4; its quadrants show the picture unmirrored.
    const double scale = std::min(img.width(), img.height()) / 2.0 / 20.0;
    const auto at = [&](double x, double y) {
        return img.pixelColor(int(img.width() / 2.0 + y * scale), int(img.height() / 2.0 - x * scale));
    };
    EXPECT_TRUE(near(at(2, 3), 255, 0, 0)) << "top-left red";
    EXPECT_TRUE(near(at(2, 7), 0, 255, 0)) << "top-right green";
    EXPECT_TRUE(near(at(-2, 3), 0, 0, 255)) << "bottom-left blue";
    EXPECT_TRUE(near(at(-2, 7), 255, 255, 0)) << "bottom-right yellow";
    // Object 0 in its own colour, pure blue.
    EXPECT_TRUE(near(at(2, -5), 0, 0, 255)) << "base blue";
    // The background as set.
    EXPECT_TRUE(near(img.pixelColor(3, 3), 127, 127, 127, 0)) << "grey background";

    // Selected, the textured object shows its texture tinted half-way with the highlight colour (red).
    ctx.prefs.highlightColour = {255, 0, 0, 0};
    ctx.objects.selectedObject = 1;
    getObjectDetails(ctx, 1);
    QApplication::processEvents();
    const QImage selected = canvas->grabFramebuffer();
    if (const char* folder = std::getenv("TARV_SCREENSHOTS")) selected.save(QString(folder) + "/preview_selected.png");
    const auto selectedAt = [&](double x, double y) {
        return selected.pixelColor(int(selected.width() / 2.0 + y * scale), int(selected.height() / 2.0 - x * scale));
    };
    EXPECT_TRUE(near(selectedAt(2, 3), 255, 0, 0)) << "red stays red";
    EXPECT_TRUE(near(selectedAt(2, 7), 127, 127, 0)) << "green tinted";
    EXPECT_TRUE(near(selectedAt(-2, 3), 127, 0, 127)) << "blue tinted";
    EXPECT_TRUE(near(selectedAt(-2, 7), 255, 127, 0)) << "yellow tinted";
    EXPECT_TRUE(t.errors.reports.empty());
}

// File > Open of a ship of many objects in the spaced window: the canvas keeps the frame it showed while the
// load repaints its status, bars and pointer, and draws the new ship once, when it is whole.
TEST(PreviewCanvas, AnOpenDrawsTheNewShipOnceAtItsEnd) {
    TempDir dir;
    TestContext t(dir.path());
    t.preferencesStore.setKeyValue("AlwaysShowBackup", "0");
    t.preferencesStore.setKeyValue("ObjectSharing", "0");
    FxFile file;
    file.publicMaterials = {FxMaterial{}};
    constexpr int kObjects = 40;
    for (int k = 0; k < kObjects; ++k) file.objects.push_back(squareObject("Part" + std::to_string(k), float(k)));
    const std::filesystem::path many = dir.path() / "Many.peo";
    buildPeo(file).bytes.writeTo(many);

    auto window = std::make_unique<frmTARV>(t.ctx, scene::createRMCanvas);
    installSubsystems(*window);
    RoadWindowWatch roadWindow(t.ctx);  // nothing ends the program
    t.ctx.services.status = window.get();
    window->spaceUpdates();
    window->Form_Load();
    auto* canvas = qobject_cast<scene::RMCanvas*>(window->RMCanvas1);
    ASSERT_NE(canvas, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    QTest::qWait(200);
    const uint64_t framesBefore = canvas->framesDrawn();

    t.prompts.expectOpen(FileDialogChoice{many.string(), 1});
    window->mnuFileOpen->trigger();
    QTest::qWait(300);  // the clock ticks every millisecond meanwhile
    ASSERT_EQ(t.ctx.model.objectCount(), kObjects);
    EXPECT_EQ(canvas->framesDrawn() - framesBefore, 1u);
    EXPECT_EQ(canvas->lastFrameMeshes(), uint64_t(kObjects) + 3);  // the ship and its three axes
    EXPECT_GE(canvas->lastFrameTriangles(), uint64_t(2 * kObjects));
    EXPECT_TRUE(t.errors.reports.empty());
    window.reset();
}
