#include "scene/Scene.h"

namespace tarv::scene {

FramePtr createFrame(const FramePtr& parent) {
    auto frame = std::make_shared<Frame>(Frame::Token{});
    if (parent) parent->addChild(frame);
    return frame;
}

MeshPtr createMeshBuilder() { return std::make_shared<MeshBuilder>(); }
FacePtr createFace() { return std::make_shared<Face>(); }
MaterialPtr createMaterial(double power) { return std::make_shared<Material>(power); }
TexturePtr createTexture(Image image) { return std::make_shared<Texture>(std::move(image)); }
LightPtr createLightRGB(double red, double green, double blue) {
    return std::make_shared<Light>(clampedRgb(red, green, blue));
}
std::shared_ptr<Interpolator> createInterpolator() { return std::make_shared<Interpolator>(); }

}  // namespace tarv::scene
