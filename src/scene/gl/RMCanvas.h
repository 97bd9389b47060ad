#pragma once
// The 3D canvas: one OpenGL widget that draws a scene root through a viewport, and forwards the mouse.
#include <QElapsedTimer>
#include <QOpenGLWidget>
#include <map>
#include <memory>
#include <string>

#include "scene/Canvas.h"
#include "scene/RepaintPacer.h"
#include "scene/Viewport.h"

class QOpenGLShaderProgram;
class QMouseEvent;
class QTimer;

namespace tarv::scene {

class RMCanvas : public QOpenGLWidget, public Canvas {
    Q_OBJECT
public:
    explicit RMCanvas(QWidget* parent = nullptr);
    ~RMCanvas() override;

    // The scene to draw: its root and the viewport (kept alive by the canvas while it draws them).
    void setScene(std::shared_ptr<Viewport> viewport);
    void setMouseHandler(CanvasMouseHandler* handler) { mouseHandler_ = handler; }

    bool start() override;
    std::string lastErrorText() const override { return lastError_; }
    // Asks for a draw; the draws come at most once per display frame, however often this is called (the
    // 1 ms timer calls it on every tick).
    void render() override;
    void refresh() override { update(); }
    void setHeld(bool held) override;
    // The display frame the draws are spaced by: the canvas's screen's, or 1/60 s when it reports none.
    double displayFrameSeconds() const;

    // How many times a mesh's vertex buffer was filled, for checking that unchanged meshes are not re-sent.
    uint64_t meshUploads() const { return meshUploads_; }
    // What the last frame drew: its meshes and their triangles; and how many frames were drawn.
    uint64_t lastFrameMeshes() const { return lastFrameMeshes_; }
    uint64_t lastFrameTriangles() const { return lastFrameTriangles_; }
    uint64_t framesDrawn() const { return framesDrawn_; }
    // Draws the given triangles (world positions, three per triangle) in one buffer with the plainest shader
    // instead of the scene: the yardstick the benchmark compares the scene's drawing with.
    void setPlainTriangles(std::vector<float> positions);

protected:
    // Skipped while held: the window's repaints show the frame drawn last.
    void paintEvent(QPaintEvent* event) override;
    void initializeGL() override;
    void resizeGL(int w, int h) override;
    void paintGL() override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Gpu;
    struct GpuMesh;
    // Draws every mesh of the scene, sending the ones that changed since they were last sent.
    void drawScene();
    // Forgets the buffers of meshes and the textures that no longer exist.
    void releaseStaleGpu();
    // Fills the mesh's vertex buffer from its faces and sends the textures its faces use.
    void uploadMesh(const MeshPtr& mesh, GpuMesh& gm);
    void uploadTexture(const TexturePtr& texture);
    void drawPlain();
    void releaseGpu();
    std::shared_ptr<Viewport> viewport_;
    CanvasMouseHandler* mouseHandler_ = nullptr;
    std::string lastError_;
    std::unique_ptr<Gpu> gpu_;
    uint64_t meshUploads_ = 0;
    uint64_t lastFrameMeshes_ = 0, lastFrameTriangles_ = 0, framesDrawn_ = 0;
    std::vector<float> plainTriangles_;
    bool plainChanged_ = false;
    RepaintPacer pacer_;
    QElapsedTimer clock_;
    QTimer* pacedDraw_;
    bool held_ = false;
    bool owed_ = false;  // a draw was asked for while held
};

// The canvas the main window shows; offscreen widget tests replace the factory, since an OpenGL widget
// cannot live on Qt's offscreen platform.
using CanvasFactory = QWidget* (*)(QWidget* parent);
QWidget* createRMCanvas(QWidget* parent);

// Hands a press, move or release of the mouse to the handler as the canvas does (the buttons and keys as
// CanvasMouseHandler takes them); false for any other event.
bool forwardCanvasMouse(CanvasMouseHandler& handler, const QMouseEvent& event);

}  // namespace tarv::scene
