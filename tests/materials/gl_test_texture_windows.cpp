// Pictures of the texture windows under Xvfb: texPeek on a 64 x 32 texture at layer 7 with both team
// swatches, and the "Textures" page with ten thumbnails on the grid at its design size. Both PNGs are kept
// in the build folder's "screenshots" (or TARV_SCREENSHOTS); the checks read the same pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTabWidget>

#include "Fakes.h"
#include "LifFixtures.h"
#include "TempDir.h"
#include "UserInput.h"
#include "app/EditorStart.h"
#include "editor/context/EditingContext.h"
#include "materials/LifPreview.h"
#include "materials/LifRenderer.h"
#include "materials/ui/ThumbNail.h"
#include "materials/ui/frmLifPreview.h"
#include "shell/frmTARV.h"

namespace tarv {
namespace {

QImage keep(QWidget& widget, const char* name) {
    const QImage picture = widget.grab().toImage();
    const char* asked = std::getenv("TARV_SCREENSHOTS");
    const QString folder = asked && *asked ? QString(asked) : QString(TARV_SCREENSHOT_FOLDER);
    QDir().mkpath(folder);
    picture.save(folder + "/" + name + ".png");
    return picture;
}

QColor colourOf(const Rgba& c) { return {c.r, c.g, c.b}; }

bool near(const QColor& a, const QColor& b) {
    return std::abs(a.red() - b.red()) <= 8 && std::abs(a.green() - b.green()) <= 8 &&
           std::abs(a.blue() - b.blue()) <= 8;
}

// Every named widget under top lies inside it; no two visible named siblings overlap unless one holds the
// other (a frame and what is drawn over it). The grid's fixed geometry puts a caption 10 twips above the
// bottom of its own picture (1220 against 240 + 990): that one-pixel band is allowed.
void expectTidy(QWidget& top) {
    const QRect inside = top.rect();
    const auto named = [](QObject* o) {
        auto* w = qobject_cast<QWidget*>(o);
        return w && w->isVisible() && !w->objectName().isEmpty() && !w->objectName().startsWith("qt_") ? w : nullptr;
    };
    for (QWidget* w : top.findChildren<QWidget*>()) {
        if (!named(w) || w->isWindow()) continue;
        const QRect r(w->mapTo(&top, QPoint(0, 0)), w->size());
        EXPECT_TRUE(inside.contains(r)) << w->objectName().toStdString();
        for (QObject* o : w->parent()->children()) {
            QWidget* other = named(o);
            if (!other || other == w || other->isWindow()) continue;
            const QRect a = w->geometry(), b = other->geometry();
            if (a.contains(b) || b.contains(a)) continue;
            const QString pair = w->objectName() + " " + other->objectName();
            const bool ownCaption =
                QRegularExpression("^(picThumbs|lblThumbs)_(\\d+) (picThumbs|lblThumbs)_\\2$").match(pair).hasMatch();
            if (ownCaption && a.intersected(b).height() <= 1) continue;
            EXPECT_FALSE(a.intersects(b))
                << w->objectName().toStdString() << " and " << other->objectName().toStdString();
        }
    }
}

struct Windows {
    test::TempDir dir;
    test::TestContext t{dir.path()};
    frmTARV window{t.ctx};
    bool installed = (installSubsystems(window), true);
};

TEST(TextureWindowsPictures, PreviewAtLayerSevenWithBothSwatches) {
    Windows w;
    // Quadrants of indices 0 (top left), 1 (top right), 2 (bottom left), 3 (bottom right).
    std::vector<uint8_t> indices(64 * 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) indices[size_t(y * 64 + x)] = uint8_t((y >= 16 ? 2 : 0) + (x >= 32 ? 1 : 0));
    test::writeBytes(w.dir / "hull.lif", test::standardLif(indices, 64, 32));
    auto* preview = w.window.findChild<frmLifPreview*>("frmLifPreview");
    ASSERT_NE(preview, nullptr);

    w.t.ctx.lif.preview.panel1 = (w.dir / "hull.lif").string();
    preview->show();
    QApplication::processEvents();
    preview->viewItems[6]->trigger();  // A&ll
    w.t.prompts.expectColour(0x0000FF).expectColour(0xFF0000);
    for (QWidget* swatch : {static_cast<QWidget*>(preview->picTeam0), static_cast<QWidget*>(preview->picTeam1)}) {
        QMouseEvent release(QEvent::MouseButtonRelease, QPointF(2, 2), swatch->mapToGlobal(QPointF(2, 2)),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(swatch, &release);
    }
    QApplication::processEvents();
    const QImage shot = keep(*preview, "texpeek_layer7");

    const auto expected = drawLifPicture(w.t.ctx.lif.texture, kLayerAll, w.t.ctx.prefs.playerBaseColor,
                                         w.t.ctx.prefs.playerStripeColor, w.t.ctx.lif.background);
    ASSERT_TRUE(expected);
    const QPoint origin = preview->Image1->mapTo(preview, QPoint(0, 0));
    std::vector<QColor> quadrants;
    for (const QPoint at : {QPoint(16, 8), QPoint(48, 8), QPoint(16, 24), QPoint(48, 24)}) {
        const QColor want = colourOf(expected->at(at.x(), at.y()));
        const QColor got = shot.pixelColor(origin + at);
        EXPECT_TRUE(near(got, want)) << at.x() << "," << at.y() << ": " << got.name().toStdString() << " for "
                                     << want.name().toStdString();
        for (const QColor& q : quadrants) EXPECT_NE(q, want);  // a mirrored picture would not match
        quadrants.push_back(want);
    }
    for (const auto& [swatch, colour] :
         {std::pair{preview->picTeam0, QColor(255, 0, 0)}, std::pair{preview->picTeam1, QColor(0, 0, 255)}}) {
        ASSERT_TRUE(swatch->isVisible());
        const QPoint centre = swatch->mapTo(preview, swatch->rect().center());
        EXPECT_TRUE(near(shot.pixelColor(centre), colour)) << swatch->objectName().toStdString();
    }
    expectTidy(*preview);
    preview->hide();
}

TEST(TextureWindowsPictures, TexturesPageWithTenThumbnails) {
    Windows w;
    const QColor colours[10] = {Qt::red,    Qt::green,   Qt::blue,      Qt::cyan,     Qt::magenta,
                                Qt::yellow, Qt::darkRed, Qt::darkGreen, Qt::darkBlue, Qt::darkYellow};
    for (int i = 0; i < 10; ++i) {
        const QColor& c = colours[i];
        w.t.ctx.model.textures.push_back({"tex" + std::to_string(i), true});
        w.t.ctx.preview.lstTextures.push_back({"tex" + std::to_string(i), {"8", "8", "50"}});
        w.t.ctx.preview.ctlThumbs.Add((w.dir / ("tex" + std::to_string(i) + ".lif")).string(), true,
                                      Image(8, 8, Rgba{uint8_t(c.red()), uint8_t(c.green()), uint8_t(c.blue()), 255}),
                                      "tex" + std::to_string(i));
    }
    w.t.ctx.preview.ctlThumbs.Caption = "10 textures loaded";
    previewControls(w.t.ctx).texturesChanged();
    w.window.resize(1000, 900);
    w.window.show();
    test::clickTab(w.window.SSTab1, w.window.pageTextures);
    QApplication::processEvents();
    auto* thumbs = w.window.findChild<ThumbNail*>("ctlThumbs");
    ASSERT_NE(thumbs, nullptr);
    EXPECT_EQ(thumbs->size(), QSize(3855 / kTwipsPerPixel, 4455 / kTwipsPerPixel));
    const QImage shot = keep(*w.window.pageTextures, "textures_page");

    QPoint last(-1, -1);
    for (int i = 0; i < 9; ++i) {
        QLabel* pic = thumbs->picThumbs[size_t(i)];
        ASSERT_TRUE(pic->isVisible()) << i;
        const QPoint centre = pic->mapTo(w.window.pageTextures, pic->rect().center());
        EXPECT_TRUE(near(shot.pixelColor(centre), colours[i]))
            << i << ": " << shot.pixelColor(centre).name().toStdString();
        // Grid order: along a row, then the next row.
        EXPECT_TRUE(centre.y() > last.y() || (centre.y() == last.y() && centre.x() > last.x())) << i;
        last = centre;
    }
    EXPECT_FALSE(thumbs->picThumbs[9]->isVisible());
    EXPECT_TRUE(thumbs->VScroll1->isEnabled());
    expectTidy(*w.window.pageTextures);
}

}  // namespace
}  // namespace tarv
