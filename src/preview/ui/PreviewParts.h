#pragma once
// The main window's 3D preview parts: the canvas's scene and mouse, the six view buttons under it, the
// Render menu and the canvas popup, the playback timer's tick and the Textures page's thumbnails. The
// window's controls reach the preview's logic through PreviewControls; the material reader's preview steps
// through the context's material hook.
#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>
#include <memory>

#include "materials/TextureSource.h"
#include "materials/ui/ThumbNail.h"
#include "preview/MaterialPreview.h"
#include "preview/PreviewCamera.h"
#include "preview/state/PreviewState.h"
#include "scene/Canvas.h"

namespace tarv {

class frmTARV;

// Installs the preview into the main window: its road steps, the canvas, the view controls and thumbnails.
void installPreview(frmTARV& window);

// The canvas's presses and releases run on the main window's command road (a pick changes the selection
// every page shows); moves turn the camera only and go straight to the preview.
class CanvasCommands : public scene::CanvasMouseHandler {
public:
    CanvasCommands(frmTARV& window, scene::CanvasMouseHandler& preview) : window_(window), preview_(preview) {}
    void mouseDown(int16_t button, int16_t shift, float x, float y) override;
    void mouseMove(int16_t button, int16_t shift, float x, float y) override;
    void mouseUp(int16_t button, int16_t shift, float x, float y) override;

private:
    frmTARV& window_;
    scene::CanvasMouseHandler& preview_;
};

class PreviewParts : public QObject, public PreviewControls {
    Q_OBJECT
public:
    // The view buttons go under the canvas and Dx_Label1, in the window's canvas column.
    explicit PreviewParts(frmTARV& window);
    ~PreviewParts() override;

    std::array<QRadioButton*, 6> view3d{};
    QAction* mnu3dPreviewHeirachy;
    QAction* mnu3dPreviewMatrix;
    QAction* mnu3dPreviewKeyframes;
    QAction* mnu3dPreviewSpin;
    ThumbNail* ctlThumbs;  // the Textures page's thumbnail grid

    // PreviewControls.
    int mainTab() const override;
    void setMainTab(int tab) override;
    int objectsTab() const override;
    void setObjectsTab(int tab) override;
    void showPreviewPopup(float x, float y) override;
    std::string spinCaption() const override;
    void setSpinCaption(const std::string& text) override;
    void setRenderTicks(bool textured) override;
    void setViewButton(int index) override;
    void texturesChanged() override;

protected:
    // A canvas without OpenGL (offscreen) hands its mouse to the preview here.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frmTARV& w_;
    // The window is already gone when its children are deleted: the clean-up reaches the context directly.
    EditingContext& ctx_;
    PreviewMouseHandler mouse_;
    CanvasCommands canvasMouse_{w_, mouse_};
    LifTextureSource textureSource_;
    PreviewMaterialHook materialHook_;
    scene::Canvas* canvas_ = nullptr;  // the canvas this window gave the scene to, while it lives
    QObject* plainCanvas_ = nullptr;     // the canvas without OpenGL whose mouse this filter forwards
};

}  // namespace tarv
