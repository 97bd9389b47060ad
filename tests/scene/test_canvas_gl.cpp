// The canvas draws the scene: left-handed and never mirrored, the background, both fill modes, textures.
// Runs under Xvfb. Set TARV_SCREENSHOTS to a folder to keep the pictures.
#include <gtest/gtest.h>

#include <functional>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QTest>
#include <QTimer>

#include "scene/Scene.h"
#include "scene/gl/RMCanvas.h"

using namespace tarv;
using namespace tarv::scene;

namespace {

constexpr int kSize = 200;

// A scene at Reset View: world +x up, +y right; the camera 100 away, so one pixel is half a unit at z = 0.
struct GlScene {
    FramePtr root = createSceneRoot();
    std::shared_ptr<Viewport> viewport = std::make_shared<Viewport>(root);
    FramePtr model = createFrame(root);
    RMCanvas canvas;
    GlScene() {
        viewport->setBack(25000);
        viewport->getCamera()->setOrientation(nullptr, {0, 0, -1}, {1, 0, 0});
        viewport->getCamera()->setPosition(nullptr, 0, 0, 100);
        canvas.resize(kSize, kSize);
        canvas.setScene(viewport);
        canvas.show();
        QApplication::processEvents();
    }
    QImage grab(const char* name) {
        QImage img = canvas.grabFramebuffer();
        if (const char* dir = std::getenv("TARV_SCREENSHOTS")) img.save(QString(dir) + "/" + name + ".png");
        return img;
    }
};

// A quad in the plane z = 0 from (x0, y0) to (x1, y1), facing the camera (+z).
FacePtr quad(double x0, double y0, double x1, double y1) {
    auto f = createFace();
    f->addVertex(x0, y0, 0);
    f->addVertex(x1, y0, 0);
    f->addVertex(x1, y1, 0);
    f->addVertex(x0, y1, 0);
    return f;
}

QColor at(const QImage& img, int x, int y) { return img.pixelColor(x, y); }
bool isRgb(const QColor& c, int r, int g, int b) { return c.red() == r && c.green() == g && c.blue() == b; }

}  // namespace

TEST(Canvas, StartsWithOpenGl33) {
    RMCanvas canvas;
    EXPECT_TRUE(canvas.start()) << canvas.lastErrorText();
    EXPECT_EQ(canvas.objectName(), "RMCanvas1");
}

TEST(Canvas, AnLAtResetViewHasItsLongArmUpAndItsShortArmRight) {
    GlScene s;
    auto mesh = createMeshBuilder();
    auto longArm = quad(0, -2, 40, 2);  // along +x
    longArm->setColorRGB(1, 0, 0);
    auto shortArm = quad(-2, 2, 2, 20);  // along +y
    shortArm->setColorRGB(0, 1, 0);
    mesh->addFace(longArm);
    mesh->addFace(shortArm);
    mesh->setQuality(128);
    s.model->addVisual(mesh);
    s.root->setSceneBackground(127 + 256 * 127 + 65536 * 127);
    const QImage img = s.grab("l_reset_view");
    const int c = kSize / 2;
    EXPECT_TRUE(isRgb(at(img, c, c - 60), 255, 0, 0)) << "long arm above the centre";
    EXPECT_TRUE(isRgb(at(img, c + 30, c), 0, 255, 0)) << "short arm right of the centre";
    EXPECT_TRUE(isRgb(at(img, c, c + 60), 127, 127, 127)) << "nothing below: not mirrored";
    EXPECT_TRUE(isRgb(at(img, c - 30, c), 127, 127, 127)) << "nothing left: not mirrored";
    EXPECT_TRUE(isRgb(at(img, 2, 2), 127, 127, 127)) << "background grey 127 exactly";
}

TEST(Canvas, WireframeDrawsEdgesOnlyAndSolidLitFills) {
    GlScene s;
    auto light = createLightRGB(1, 1, 1);
    auto lamp = createFrame(s.root);
    lamp->setPosition(nullptr, 0, 0, 20000);  // far away straight ahead: light falls head-on
    lamp->addLight(light);
    auto mesh = createMeshBuilder();
    mesh->addFace(quad(-20, -20, 20, 20));
    mesh->setColorRGB(1, 1, 0);
    s.model->addVisual(mesh);
    const int c = kSize / 2;

    mesh->setQuality(64);
    QImage img = s.grab("square_64");
    EXPECT_TRUE(isRgb(at(img, c, c), 0, 0, 0)) << "inside stays background";
    int edgePixels = 0;
    for (int y = 0; y < kSize; ++y) edgePixels += at(img, c, y) == QColor(255, 255, 0) ? 1 : 0;
    EXPECT_GE(edgePixels, 2) << "top and bottom edges are drawn";
    EXPECT_LE(edgePixels, 6);
    // The quad's diagonal (the seam of its two triangles) is not an edge.
    EXPECT_TRUE(isRgb(at(img, c + 10, c + 10), 0, 0, 0));

    mesh->setQuality(136);
    img = s.grab("square_136");
    // Lit head-on by a white light: full yellow.
    for (const QColor& px : {at(img, c, c - 10), at(img, c + 10, c + 10)}) {
        EXPECT_GE(px.red(), 250) << px.name().toStdString();
        EXPECT_EQ(px.red(), px.green());
        EXPECT_EQ(px.blue(), 0);
    }
    // Lit but without a light (there is no ambient light): black, unless the material glows.
    lamp->deleteLight(light);
    EXPECT_TRUE(isRgb(at(s.grab("square_136_dark"), c, c - 10), 0, 0, 0));
    auto glow = createMaterial(0);
    glow->setEmissive(0, 0, 0.5);
    for (const auto& face : mesh->faces()) face->setMaterial(glow);
    EXPECT_TRUE(isRgb(at(s.grab("square_136_glow"), c, c - 10), 0, 0, 128));
}

TEST(Canvas, BackFacesAreCulledAndFlatFacesShowAsLinesInWireframe) {
    GlScene s;
    auto mesh = createMeshBuilder();
    auto back = createFace();  // winds the other way: its front looks away from the camera
    back->addVertex(-20, -20, 0);
    back->addVertex(20, 20, 0);
    back->addVertex(20, -20, 0);
    mesh->addFace(back);
    const std::vector<Vector3> line{{0, 0, 0}, {0, 40, 0}, {0, 0, 0}};
    mesh->addFaces(3, line, 0, {}, std::vector<int32_t>{3, 0, 1, 2, 0});
    mesh->setColorRGB(0, 0, 1);
    mesh->setQuality(64);
    s.model->addVisual(mesh);
    const QImage img = s.grab("culled_and_line");
    const int c = kSize / 2;
    EXPECT_TRUE(isRgb(at(img, c + 40, c), 0, 0, 255)) << "the flat face shows as a line along +y";
    EXPECT_TRUE(isRgb(at(img, c + 40 - 1, c + 40 - 1), 0, 0, 0)) << "the back face's edges are culled";
}

TEST(Canvas, ALitTexturedFaceKeepsItsTextureAndAnUnlitOneIsTintedWithItsColour) {
    GlScene s;
    Image picture(8, 8, {0, 0, 255, 255});
    picture.at(0, 0) = {255, 255, 255, 255};  // a mark in one corner; the rest is blue
    auto texture = createTexture(picture);
    auto mesh = createMeshBuilder();
    auto face = quad(-20, -20, 20, 20);
    face->setTexture(texture);
    for (int k = 0; k < 4; ++k) face->setTextureCoordinates(k, k == 1 || k == 2 ? 1 : 0, k >= 2 ? 1 : 0);
    mesh->addFace(face);
    mesh->setColorRGB(1, 0, 0);
    mesh->setQuality(128);  // unlit, as the selected object is drawn
    s.model->addVisual(mesh);
    const int c = kSize / 2;
    const QImage unlit = s.grab("textured_unlit");
    const QColor tinted = at(unlit, c + 30, c + 30);
    EXPECT_NEAR(tinted.red(), 127, 1) << tinted.name().toStdString();
    EXPECT_EQ(tinted.green(), 0) << tinted.name().toStdString();
    EXPECT_NEAR(tinted.blue(), 127, 1) << tinted.name().toStdString();
    mesh->setQuality(136);  // lit: the texture alone, lit by the scene's light
    auto lamp = createFrame(s.root);
    lamp->addLight(createLightRGB(1, 1, 1));
    lamp->setPosition(nullptr, 0, 0, 20000);
    const QImage lit = s.grab("textured_lit");
    const QColor shown = at(lit, c + 30, c + 30);
    EXPECT_EQ(shown.red(), 0) << shown.name().toStdString();
    EXPECT_GT(shown.blue(), 100) << shown.name().toStdString();
}

TEST(Canvas, UnchangedMeshesAreNotSentAgain) {
    GlScene s;
    auto mesh = createMeshBuilder();
    mesh->addFace(quad(-5, -5, 5, 5));
    s.model->addVisual(mesh);
    s.grab("upload_1");
    const auto uploads = s.canvas.meshUploads();
    s.grab("upload_2");
    s.model->setPosition(nullptr, 1, 0, 0);  // moving a frame changes no mesh
    s.grab("upload_3");
    EXPECT_EQ(s.canvas.meshUploads(), uploads);
    mesh->setColorRGB(0, 1, 0);
    s.grab("upload_4");
    EXPECT_EQ(s.canvas.meshUploads(), uploads + 1);
}

namespace {
// A canvas that counts its draws.
struct CountingCanvas : RMCanvas {
    int draws = 0;
    void paintGL() override {
        ++draws;
        RMCanvas::paintGL();
    }
};
}  // namespace

// The main window's 1 ms timer asks the canvas to draw on every tick: the draws come at most once per display
// frame, and keep coming while the ticks do.
TEST(Canvas, DrawsAskedForOnEveryMillisecondComeAtMostOncePerDisplayFrame) {
    auto viewport = std::make_shared<Viewport>(createSceneRoot());
    CountingCanvas canvas;
    canvas.resize(kSize, kSize);
    canvas.setScene(viewport);
    canvas.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&canvas));
    QTest::qWait(50);

    const int before = canvas.draws;
    int requests = 0;
    QTimer ticks;
    ticks.setInterval(1);
    QObject::connect(&ticks, &QTimer::timeout, &canvas, [&] {
        ++requests;
        canvas.render();
    });
    QElapsedTimer wall;
    wall.start();
    ticks.start();
    QTest::qWait(500);
    ticks.stop();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const int draws = canvas.draws - before;
    EXPECT_LE(draws, int(seconds / canvas.displayFrameSeconds()) + 2) << requests << " requests in " << seconds << " s";
    EXPECT_GE(draws, 2);
    EXPECT_GT(requests, draws);
}

// Held, the canvas draws nothing however it is asked (a render, a refresh, a repaint at once); released, it
// draws once when anything asked meanwhile, and not at all otherwise.
TEST(Canvas, AHeldCanvasDrawsOnceWhenReleasedAndOnlyIfAsked) {
    auto viewport = std::make_shared<Viewport>(createSceneRoot());
    QWidget window;
    auto* canvas = new CountingCanvas;
    canvas->setParent(&window);
    canvas->resize(kSize, kSize);
    canvas->setScene(viewport);
    window.resize(kSize, kSize);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::qWait(50);

    const std::pair<const char*, std::function<void()>> asks[] = {
        {"render", [&] { canvas->render(); }},
        {"refresh", [&] { canvas->refresh(); }},
        {"repaint", [&] { canvas->repaint(); }},
    };
    for (const auto& [name, ask] : asks) {
        SCOPED_TRACE(name);
        const int before = canvas->draws;
        canvas->setHeld(true);
        for (int i = 0; i < 3; ++i) {
            ask();
            QTest::qWait(20);
        }
        EXPECT_EQ(canvas->draws, before);
        canvas->setHeld(false);
        QTest::qWait(50);
        EXPECT_EQ(canvas->draws, before + 1);
    }
    const int before = canvas->draws;
    canvas->setHeld(true);
    canvas->setHeld(false);
    QTest::qWait(50);
    EXPECT_EQ(canvas->draws, before);
}
