#pragma once
// Small models built in memory, a fake texture source and a fake canvas, and the scene of a built model as
// the load road links it, for the preview's tests.
#include <map>
#include <string>
#include <vector>

#include "editor/context/EditingContext.h"
#include "materials/TextureSource.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"

namespace tarv::test {

// Reads the textures it was given (by file name, any folder); draws a 2 x 2 checker whose colours say
// which layer was asked for.
class FakeTextureSource : public TextureSource {
public:
    struct Entry {
        int32_t width = 2, height = 2, flags = 5;
        LifReadResult result = LifReadResult::Read;
    };
    std::map<std::string, Entry> files;
    std::vector<std::string> loaded;
    std::vector<int> layers;
    Entry last;

    LifReadResult LoadFile(const std::string& path, bool loadPixels) override {
        loaded.push_back(path);
        const std::string name = path.substr(path.find_last_of("/\\") + 1);
        auto it = files.find(name);
        if (it == files.end()) return LifReadResult::NotRead;
        last = it->second;
        return last.result;
    }
    int32_t width() const override { return last.width; }
    int32_t height() const override { return last.height; }
    int32_t flags() const override { return last.flags; }
    Image drawLayer(int layer) override {
        layers.push_back(layer);
        return checker(layer == 7 ? Rgba{0, 0, 255, 255} : Rgba{255, 0, 0, 255}, Rgba{255, 255, 0, 255});
    }
    // Top-left and bottom-right one colour, the other two the second.
    static Image checker(Rgba a, Rgba b) {
        Image image(2, 2, a);
        image.at(1, 0) = b;
        image.at(0, 1) = b;
        return image;
    }
};

// A square of two triangles in the z = 0 plane, size s, with its corner at the origin, facing +z.
inline PeoObject squarePeoObject(const std::string& name, float s = 10, int32_t material = 0) {
    PeoObject o;
    o.name = name;
    o.vertices = {{0, 0, 0}, {s, 0, 0}, {s, s, 0}, {0, s, 0}};
    PeoPolygon a{0, 1, 2, material}, b{0, 2, 3, material};
    a.s0 = 0, a.t0 = 0, a.s1 = 1, a.t1 = 0, a.s2 = 1, a.t2 = 1;
    b.s0 = 0, b.t0 = 0, b.s1 = 1, b.t1 = 1, b.s2 = 0, b.t2 = 1;
    o.polygons = {a, b};
    o.nPolygons = 2;
    o.nVertices = 4;
    o.matrix = Matrix4::identity();
    o.minX = o.minY = 0;
    o.maxX = o.maxY = s;
    o.minZ = -1;
    o.maxZ = 1;
    return o;
}

// A material whose texture is the given index; with a scene material and, when loaded, a scene texture.
inline void addMaterial(EditingContext& ctx, const std::string& textureName, bool loaded, bool twoSided = false) {
    ShipModel& model = ctx.model;
    PeoMaterial m;
    m.twoSided = twoSided;
    ctx.view.setMaterial(model.materials.size(), scene::createMaterial(0));
    int16_t index = -1;
    for (size_t i = 0; i < model.textures.size(); ++i)
        if (model.textures[i].name == textureName) index = int16_t(i);
    if (index < 0) {
        PeoTexture t;
        t.name = textureName;
        t.loaded = loaded;
        if (loaded)
            ctx.view.setTexture(model.textures.size(),
                                scene::createTexture(FakeTextureSource::checker({255, 0, 0, 255}, {255, 255, 0, 255})));
        model.textures.push_back(t);
        index = int16_t(model.textures.size() - 1);
    }
    m.texture = index;
    model.materials.push_back(m);
}

// Builds every object's mesh and frame and links them as the load road does: under the mother's frame,
// or under modelFrame for a root; shown and posed from the matrix.
inline void buildScene(EditingContext& ctx) {
    ctx.view.viewObjects.assign(size_t(ctx.model.objectCount()), ViewObject{});
    ctx.model.modelExtent = 0;
    for (int i = 0; i < ctx.model.objectCount(); ++i) create3dObject(ctx, int16_t(i));
    for (int i = 0; i < ctx.model.objectCount(); ++i) {
        ViewObject& v = ctx.view.viewObjects[size_t(i)];
        const int32_t mother = ctx.model.peoObjects[size_t(i)].mother;
        const scene::FramePtr& parent =
            mother > 0 ? ctx.view.viewObjects[size_t(mother - 1)].frame : ctx.view.modelFrame;
        parent->addChild(v.frame);
        v.shown = -1;
        positionViewObject(v);
    }
    ctx.model.modelLoaded = true;
}

}  // namespace tarv::test
