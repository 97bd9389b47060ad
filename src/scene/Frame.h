#pragma once
// Frames: the nodes of the scene tree. Each has a local transform relative to its parent, the meshes it
// shows (its visuals), the lights it carries and a name. A parent keeps its children alive; a child knows
// its parent weakly. Positions and orientations are given relative to a reference frame, none meaning the
// scene root (the top of the tree).
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/Geometry.h"
#include "scene/Mesh.h"
#include "scene/SceneMath.h"

namespace tarv::scene {

class Frame;
using FramePtr = std::shared_ptr<Frame>;

// Ways of combining a rotation with a frame's transform.
enum CombineType : int32_t { kCombineReplace = 0, kCombineBefore = 1, kCombineAfter = 2 };

class Frame : public std::enable_shared_from_this<Frame> {
public:
    // Use createFrame: frames live in shared handles.
    struct Token {};
    explicit Frame(Token) {}
    Frame(const Frame&) = delete;
    Frame& operator=(const Frame&) = delete;

    // Moves child under this frame keeping its local transform. A frame cannot be its own child nor the
    // child of one of its descendants (that would make a cycle): both throw.
    void addChild(const FramePtr& child);
    // Detaches child; harmless when it is not a child of this frame.
    void deleteChild(const FramePtr& child);
    // Detaches every frame of the list from whatever parent it has, in one pass over each parent's children
    // (deleteChild searches them once per call). Frames without a parent, empty handles and repeats are
    // harmless; the children that stay keep their order. The scene counts as changed once when any frame was
    // detached, not at all otherwise.
    static void detachFrames(std::span<const FramePtr> frames);
    FramePtr getParent() const { return parent_.lock(); }
    const std::vector<FramePtr>& children() const { return children_; }

    // The origin of this frame expressed in the reference frame.
    void setPosition(const FramePtr& reference, double x, double y, double z);
    Vector3 getPosition(const FramePtr& reference) const;
    // The orientation relative to the reference becomes the matrix of q, used as given (not normalised;
    // the all-zero quaternion gives no rotation). The position stays.
    void setQuaternion(const FramePtr& reference, const Quaternion& q);
    // Local z along direction, local y along up made perpendicular to it, x = y x z; position stays.
    // A zero direction, or an up along the direction, throws.
    void setOrientation(const FramePtr& reference, const Vector3& direction, const Vector3& up);
    // Rotation about axis (normalised) by angle in radians, combined with the transform: "before" makes it
    // act on points first, "after" last, "replace" replaces the transform (the translation included).
    void addRotation(int32_t combine, double axisX, double axisY, double axisZ, double angle);

    void addVisual(const MeshPtr& mesh);     // no-op when already attached
    void deleteVisual(const MeshPtr& mesh);  // harmless when absent
    const std::vector<MeshPtr>& visuals() const { return visuals_; }
    void addLight(const LightPtr& light);
    void deleteLight(const LightPtr& light);
    const std::vector<LightPtr>& lights() const { return lights_; }

    void setName(std::string name) { name_ = std::move(name); }
    const std::string& getName() const { return name_; }

    // Background of the scene whose root this frame is: red + 256 x green + 65536 x blue.
    void setSceneBackground(int32_t colour) {
        background_ = colour;
        markSceneChanged();
    }
    std::optional<int32_t> sceneBackground() const { return background_; }

    const Transform& localTransform() const { return local_; }
    void setLocalTransform(const Transform& t) {
        local_ = t;
        markSceneChanged();
    }
    // Product of the local transforms up to the top of the tree.
    Transform worldTransform() const;
    // Whether ancestor is this frame or one of its ancestors.
    bool isOrHasAncestor(const Frame* ancestor) const;

private:
    Transform referenceWorld(const FramePtr& reference) const;
    void setRotationRelativeTo(const FramePtr& reference, const Transform& rotation);
    Transform local_;
    std::weak_ptr<Frame> parent_;
    std::vector<FramePtr> children_;
    std::vector<MeshPtr> visuals_;
    std::vector<LightPtr> lights_;
    std::string name_;
    std::optional<int32_t> background_;
};

// A frame that is the root of a new scene.
FramePtr createSceneRoot();

// The matrix of a quaternion (w, x, y, z) as given, in the row-vector convention.
Transform quaternionMatrix(const Quaternion& q);
// Rotation about a unit axis by angle: about z, +x turns towards +y.
Transform rotationAbout(const Vec3& unitAxis, double angle);

}  // namespace tarv::scene
