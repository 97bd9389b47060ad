#pragma once
// The scene layer in one include: the factory functions of frames, meshes, faces, materials, textures,
// lights and interpolators, and the canvas interface.
#include "scene/Canvas.h"
#include "scene/Frame.h"
#include "scene/Interpolator.h"
#include "scene/Mesh.h"
#include "scene/Viewport.h"

namespace tarv::scene {

// A new frame, child of parent when one is given.
FramePtr createFrame(const FramePtr& parent = nullptr);
MeshPtr createMeshBuilder();
FacePtr createFace();
MaterialPtr createMaterial(double power);
TexturePtr createTexture(Image image);
// A point light of the given colour (components 0..1, clamped).
LightPtr createLightRGB(double red, double green, double blue);
std::shared_ptr<Interpolator> createInterpolator();

}  // namespace tarv::scene
