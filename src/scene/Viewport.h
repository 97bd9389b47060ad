#pragma once
// The viewport: a camera frame in a scene, the size of the picture in pixels, the clipping distances and
// the field of view; and picking, a ray cast from the camera through a pixel.
#include <vector>

#include "scene/Frame.h"

namespace tarv::scene {

// One visual under the pixel: the nearest of its faces that the ray meets.
struct PickHit {
    MeshPtr mesh;
    FacePtr face;
    int faceIndex = -1;
    double distance = 0;         // from the camera, in scene units
    std::vector<FramePtr> path;  // from the scene root (element 0) down to the frame holding the visual
};

class Viewport {
public:
    // The camera is a new frame under the scene root.
    explicit Viewport(FramePtr sceneRoot);

    const FramePtr& scene() const { return scene_; }
    const FramePtr& getCamera() const { return camera_; }
    void setBack(double distance) {
        back_ = distance;
        markSceneChanged();
    }
    double getBack() const { return back_; }
    void setFront(double distance) {
        front_ = distance;
        markSceneChanged();
    }
    double getFront() const { return front_; }
    // Half the visible extent on the shorter side of the picture at distance 1 from the camera.
    void setField(double field) {
        field_ = field;
        markSceneChanged();
    }
    double getField() const { return field_; }
    void setSize(int width, int height);
    int width() const { return width_; }
    int height() const { return height_; }

    // The camera looks along its local +z; local +y is screen up and local +x screen right.
    // World -> camera coordinates; throws when the camera's transform flattens space.
    Transform viewTransform() const;
    // Camera coordinates -> clip coordinates (x, y, z, w) in the GL convention, row-vector, 16 numbers.
    std::array<float, 16> projectionRowMajor() const;
    // The camera-space direction of the ray through pixel (x, y) (continuous coordinates, y down).
    Vec3 rayDirection(double x, double y) const;

    // Every visual of every frame connected to the scene root that the ray through the centre of pixel
    // (x, y) meets, nearest first. Both sides of a face count; faces without area do not.
    std::vector<PickHit> pick(double x, double y) const;

private:
    FramePtr scene_;
    FramePtr camera_;
    int width_ = 1, height_ = 1;
    double front_ = 1.0;
    double back_ = 100.0;
    double field_ = 0.5;
};

}  // namespace tarv::scene
