#pragma once
// The preview's view records and the scene they hang in: one ViewObject per model object (the chunk
// markers' records are in the chunk table), the selection marker, and the fixed frame tree through which
// the model, camera and light hang.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/state/ShipModel.h"
#include "scene/Canvas.h"
#include "scene/Frame.h"
#include "scene/Interpolator.h"
#include "scene/Mesh.h"
#include "scene/Viewport.h"

namespace tarv {

struct ViewColour {
    float red = 0, green = 0, blue = 0;  // 0..1
    friend bool operator==(const ViewColour&, const ViewColour&) = default;
};

// The preview's record of one shown thing; it keeps its mesh, frame and interpolator alive.
struct ViewObject {
    scene::MeshPtr mesh;
    scene::FramePtr frame;
    Matrix4 matrix;  // the object's local matrix rounded to 4 decimals; elements 3, 7, 11 the translation
    std::shared_ptr<scene::Interpolator> interpolator;
    ViewColour colour;
    Vector3 size;
    std::string name;
    int16_t shown = 0;  // -1 while the mesh is attached to the frame
};

struct ViewState {
    std::vector<ViewObject> viewObjects;  // index = object index in peoObjects
    // The preview's material and texture of each model material and texture: index = their index in the model.
    std::vector<scene::MaterialPtr> d3dMaterials;
    std::vector<scene::TexturePtr> d3dTextures;
    scene::MaterialPtr materialAt(size_t index) const {
        return index < d3dMaterials.size() ? d3dMaterials[index] : nullptr;
    }
    scene::TexturePtr textureAt(size_t index) const {
        return index < d3dTextures.size() ? d3dTextures[index] : nullptr;
    }
    void setMaterial(size_t index, scene::MaterialPtr material) {
        if (d3dMaterials.size() <= index) d3dMaterials.resize(index + 1);
        d3dMaterials[index] = std::move(material);
    }
    void setTexture(size_t index, scene::TexturePtr texture) {
        if (d3dTextures.size() <= index) d3dTextures.resize(index + 1);
        d3dTextures[index] = std::move(texture);
    }
    ViewObject selectionMarker;
    // The tick of Render > "&Textured" (ticked at start): solid rendering when true, wireframe when false.
    bool mnuRenderFlat = true;

    // The canvas's own scene root and viewport exist from the start; the canvas only draws them.
    scene::FramePtr sceneFrame = scene::createSceneRoot();
    std::shared_ptr<scene::Viewport> viewport = std::make_shared<scene::Viewport>(sceneFrame);
    scene::FramePtr worldFrame, modelFrame, orbitFrame, zoomFrame, cameraFrame, lightFrame;
    scene::LightPtr cameraLight;
    int16_t lightAdded = 0;

    // The canvas that shows the scene; none when the editor runs without one (tests, no display).
    scene::Canvas* canvas = nullptr;
};

}  // namespace tarv
