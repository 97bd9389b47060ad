// Building the preview of a large ship: create3dObject for 200 objects of 5,000 polygons each (with the
// window's event pump, which must not dominate), the same at a tenth of the polygons to show the build is
// linear, and one pick over the finished scene. Each build takes its memory from the allocator as a first
// load does. The floor: the same faces copied into fresh flat arrays (positions, texture coordinates,
// per-face colour and texture index).
#include <benchmark/benchmark.h>

#include "editor/context/EditingContext.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewCamera.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"

namespace {

using namespace tarv;

// Counts the window's chances to repaint; a real window does some work on each.
class PumpingStatus : public StatusDisplay {
public:
    void processEvents() override { ++pumps; }
    long pumps = 0;
};

// n objects of p polygons: a strip of triangles over a grid, with one textured two-sided material in
// four, each object a child of the one before in groups of ten.
void makeShip(EditingContext& ctx, int objects, int polygons) {
    ShipModel& model = ctx.model;
    model = {};
    for (int m = 0; m < 4; ++m) {
        PeoMaterial material;
        material.texture = int16_t(m);
        material.twoSided = m == 0;
        ctx.view.setMaterial(size_t(m), scene::createMaterial(0));
        model.materials.push_back(material);
        PeoTexture texture;
        texture.name = "tex" + std::to_string(m);
        texture.loaded = m == 0;
        if (texture.loaded) ctx.view.setTexture(size_t(m), scene::createTexture(Image(2, 2)));
        model.textures.push_back(texture);
    }
    const int side = 50;
    for (int k = 0; k < objects; ++k) {
        PeoObject o;
        o.name = "object" + std::to_string(k);
        o.matrix = Matrix4::identity();
        o.matrix[11] = float(-k);
        o.mother = k % 10 == 0 ? 0 : k;  // the previous object
        for (int i = 0; i <= side; ++i)
            for (int j = 0; j <= polygons / (2 * side); ++j) o.vertices.push_back({float(i - 25), float(j - 25), 0});
        const int rows = polygons / (2 * side);
        for (int i = 0; i < side; ++i)
            for (int j = 0; j < rows; ++j) {
                const int a = i * (rows + 1) + j, b = (i + 1) * (rows + 1) + j;
                o.polygons.push_back({a, b, b + 1, (i + j) % 4});
                o.polygons.push_back({a, b + 1, a + 1, (i + j + 1) % 4});
            }
        o.minX = o.minY = -25;
        o.maxX = o.maxY = 25;
        o.minZ = -1;
        o.maxZ = 1;
        model.peoObjects.push_back(std::move(o));
    }
}

void buildAll(EditingContext& ctx) {
    ctx.view.viewObjects.assign(size_t(ctx.model.objectCount()), ViewObject{});
    ctx.model.modelExtent = 0;
    for (int i = 0; i < ctx.model.objectCount(); ++i) create3dObject(ctx, int16_t(i));
}

void BM_CreateAllObjects(benchmark::State& state) {
    EditingContext ctx;
    PumpingStatus status;
    ctx.services.status = &status;
    ctx.userDataFolder = std::filesystem::temp_directory_path();
    makeShip(ctx, 200, int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        ctx.view.viewObjects.clear();  // freeing the last build's faces is not part of a build
        state.ResumeTiming();
        buildAll(ctx);
    }
    state.counters["polygons"] = double(200 * state.range(0));
    state.counters["pumps/iter"] = double(status.pumps) / double(state.iterations());
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_CreateAllObjects)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN);

// The floor of a build: every face's corners, texture coordinates, colour and texture index copied into
// flat arrays taken afresh, with one range per object.
void BM_FlatCopyFloor(benchmark::State& state) {
    EditingContext ctx;
    ctx.userDataFolder = std::filesystem::temp_directory_path();
    makeShip(ctx, 200, int(state.range(0)));
    for (auto _ : state) {
        size_t faces = 0;
        for (const PeoObject& o : ctx.model.peoObjects) faces += o.polygons.size();
        std::vector<float> positions, texCoords;
        std::vector<uint32_t> colours;
        std::vector<int32_t> textures;
        std::vector<std::pair<uint32_t, uint32_t>> ranges;
        positions.reserve(faces * 9);
        texCoords.reserve(faces * 6);
        colours.reserve(faces);
        textures.reserve(faces);
        ranges.reserve(ctx.model.peoObjects.size());
        for (const PeoObject& o : ctx.model.peoObjects) {
            ranges.push_back({uint32_t(colours.size()), uint32_t(o.polygons.size())});
            for (const PeoPolygon& p : o.polygons) {
                for (int32_t v : {p.v0, p.v1, p.v2}) {
                    const PeoVertex& c = o.vertices[size_t(v)];
                    positions.insert(positions.end(), {c.x, c.y, c.z});
                }
                texCoords.insert(texCoords.end(), {p.s0, p.t0, p.s1, p.t1, p.s2, p.t2});
                colours.push_back(uint32_t(p.material) * 0x010101u);
                textures.push_back(p.material);
            }
        }
        benchmark::DoNotOptimize(positions.data());
        benchmark::DoNotOptimize(textures.data());
    }
    state.counters["polygons"] = double(200 * state.range(0));
}
BENCHMARK(BM_FlatCopyFloor)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_HitTestOnTheBuiltShip(benchmark::State& state) {
    EditingContext ctx;
    ctx.userDataFolder = std::filesystem::temp_directory_path();
    InitialiseComponents(ctx);
    ctx.view.viewport->setSize(800, 600);
    makeShip(ctx, 200, 5000);
    buildAll(ctx);
    for (int i = 0; i < ctx.model.objectCount(); ++i) {
        ViewObject& v = ctx.view.viewObjects[size_t(i)];
        const int32_t mother = ctx.model.peoObjects[size_t(i)].mother;
        (mother > 0 ? ctx.view.viewObjects[size_t(mother - 1)].frame : ctx.view.modelFrame)->addChild(v.frame);
        v.shown = -1;
        positionViewObject(v);
    }
    mnuRenderReset_Click(ctx);
    for (auto _ : state) HitTest(ctx, 400, 300);
    state.counters["selected"] = ctx.objects.selectedObject;
}
BENCHMARK(BM_HitTestOnTheBuiltShip)->Unit(benchmark::kMillisecond);

}  // namespace
