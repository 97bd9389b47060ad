// The material lists at their limits. The Material Properties face list of one material used by 1,000,000
// polygons (32 objects of 31,250, each within the 16-bit count), against a floor of one pass that compares
// every polygon's material and writes the "o p" digits of each match into one reused buffer. The .hml text of
// 32,767 materials, against a floor that writes the same thirteen lines per material from fixed parts and
// digits into one buffer of the final size. The .hml save (text plus the atomic write), against a floor of
// the atomic write of the finished text alone.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "base/AtomicFile.h"
#include "editor/context/EditingContext.h"
#include "materials/MaterialList.h"
#include "materials/MaterialProperties.h"
#include "materials/state/MaterialsPageState.h"
#include "model/state/ShipModel.h"

namespace {

using namespace tarv;

constexpr int kFaceObjects = 32;
constexpr int kFacesPerObject = 31250;
constexpr int kHmlMaterials = 32767;

// Every polygon of every object on material 0; material 1 is used by none.
void faceListModel(EditingContext& ctx) {
    ctx.model.textures = {{"Hull", false}};
    ctx.model.materials.assign(2, PeoMaterial{});
    for (int o = 0; o < kFaceObjects; ++o) {
        PeoObject object;
        object.polygons.assign(size_t(kFacesPerObject), newPolygon(0, 1, 2, 0));
        ctx.model.peoObjects.push_back(std::move(object));
    }
    ctx.materialsPage->lstMaterial = {"Hull", "Hull"};
}

void BM_FaceListOfAMillionPolygons(benchmark::State& state) {
    EditingContext ctx;
    faceListModel(ctx);
    auto& faces = ctx.materialsPage->properties.lstMatFaces;
    for (auto _ : state) {
        // Each opening as the first one: the list starts without room for its entries.
        state.PauseTiming();
        std::vector<std::string>().swap(faces);
        state.ResumeTiming();
        displayMaterialInfo(ctx, 0);
        benchmark::DoNotOptimize(faces.data());
    }
    if (faces.size() != size_t(kFaceObjects) * kFacesPerObject)
        state.SkipWithError("the face list is incomplete");
    state.SetItemsProcessed(int64_t(state.iterations()) * kFaceObjects * kFacesPerObject);
}

void BM_FaceListFloorOnePass(benchmark::State& state) {
    EditingContext ctx;
    faceListModel(ctx);
    std::vector<char> buffer(size_t(kFaceObjects) * kFacesPerObject * 12);
    for (auto _ : state) {
        char* at = buffer.data();
        char* const end = buffer.data() + buffer.size();
        for (size_t o = 0; o < ctx.model.peoObjects.size(); ++o) {
            const auto& polygons = ctx.model.peoObjects[o].polygons;
            for (size_t p = 0; p < polygons.size(); ++p) {
                if (polygons[p].material != 0) continue;
                at = std::to_chars(at, end, o).ptr;
                *at++ = ' ';
                at = std::to_chars(at, end, p).ptr;
                *at++ = '\n';
            }
        }
        benchmark::DoNotOptimize(at);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * kFaceObjects * kFacesPerObject);
}

ShipModel hmlModel() {
    ShipModel model;
    for (int t = 0; t < 64; ++t) model.textures.push_back({"Texture" + std::to_string(t), false});
    for (int i = 0; i < kHmlMaterials; ++i) {
        PeoMaterial m;
        m.texture = int16_t(i % 64);
        m.ambient = {uint8_t(i), 50, 50, 0};
        m.diffuse = {uint8_t(i >> 8), 128, 255, 0};
        m.specular = {10, 20, 30, 0};
        m.smoothing = i % 2 == 0;
        m.twoSided = i % 3 == 0;
        m.kAlpha = i % 4 == 0 ? 0.0f : 0.5f;
        m.fullAmbient = int16_t(0xAB00);
        model.materials.push_back(m);
    }
    return model;
}

void BM_HmlTextOf32767Materials(benchmark::State& state) {
    const ShipModel model = hmlModel();
    size_t bytes = 0;
    for (auto _ : state) {
        const std::string text = materialListText(model);
        bytes = text.size();
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(bytes));
}

void BM_HmlTextFloorFixedParts(benchmark::State& state) {
    const ShipModel model = hmlModel();
    const size_t size = materialListText(model).size();
    std::vector<char> buffer(size + 4096);
    for (auto _ : state) {
        char* at = buffer.data();
        char* const end = buffer.data() + buffer.size();
        const auto put = [&](const char* s) {
            const size_t n = std::strlen(s);
            std::memcpy(at, s, n);
            at += n;
        };
        const auto putColours = [&](const char* head, const ColourBytes& c) {
            put(head);
            at = std::to_chars(at, end, c[2]).ptr;
            *at++ = ' ';
            at = std::to_chars(at, end, c[1]).ptr;
            *at++ = ' ';
            at = std::to_chars(at, end, c[0]).ptr;
            put("\r\n");
        };
        const auto putFlag = [&](const char* head, bool set) {
            put(head);
            put(set ? "True\r\n" : "False\r\n");
        };
        for (const PeoMaterial& m : model.materials) {
            put("Material (texture) name: ");
            put(model.textures[size_t(m.texture)].name.c_str());
            put("\r\n");
            putColours("  Ambient colours: ", m.ambient);
            putColours("  Diffuse colours: ", m.diffuse);
            putColours("  Specular colours: ", m.specular);
            putFlag("  'Smoothing' flag: ", m.smoothing);
            putFlag("  'Two-sided' flag: ", m.twoSided);
            putFlag("  'Self-illumination' flag: ", m.selfIlluminated);
            putFlag("  'Base-colour' flag: ", m.baseColour);
            putFlag("  'Stripe-colour' flag: ", m.stripeColour);
            putFlag("  'Flat-shaded' flag: ", m.flatShaded);
            put("  'kAlpha': ");
            at = std::to_chars(at, end, m.kAlpha).ptr;
            put("\r\n  'Full-ambient': ");
            at = std::to_chars(at, end, m.fullAmbient).ptr;
            put("\r\n---------------------------------------\r\n");
        }
        benchmark::DoNotOptimize(at);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(size));
}

// A folder of its own for the saves, removed at the end.
struct SaveFolder {
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("tarv-bench-hml-" + std::to_string(::getpid()));
    SaveFolder() { std::filesystem::create_directories(folder); }
    ~SaveFolder() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
};

void BM_HmlSaveOf32767Materials(benchmark::State& state) {
    SaveFolder save;
    EditingContext ctx;
    ctx.model = hmlModel();
    ctx.currentModelPath = (save.folder / "ship.peo").string();
    const std::filesystem::path hml = save.folder / "ship.hml";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(hml);  // each save starts a new list rather than appending to the last
        state.ResumeTiming();
        saveMaterialList(ctx);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(std::filesystem::file_size(hml)));
}

void BM_HmlSaveFloorAtomicWrite(benchmark::State& state) {
    SaveFolder save;
    const std::string text = materialListText(hmlModel());
    const std::filesystem::path hml = save.folder / "ship.hml";
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove(hml);
        state.ResumeTiming();
        writeFileAtomically(hml, std::string_view(text));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
}

}  // namespace

BENCHMARK(BM_FaceListOfAMillionPolygons)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_FaceListFloorOnePass)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HmlTextOf32767Materials)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HmlTextFloorFixedParts)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HmlSaveOf32767Materials)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HmlSaveFloorAtomicWrite)->Unit(benchmark::kMillisecond);
