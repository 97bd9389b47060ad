// One command's whole-window sync on the largest ship: 200 objects, 32,767 chunks in the chunk tree and 682
// key tracks holding 32,736 keys, in the main window with every subsystem installed (offscreen). The command
// is a click selecting the next object in the object tree; afterwards every page shows the context. Its
// floor in the same run: the same selection followed by the object panel's sync alone, which is all a tree
// click showed before every page followed the selection. Aim: within 2x of the floor, and under 16 ms.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <memory>
#include <string>

#include "OffscreenMain.h"
#include "SyntheticShip.h"
#include "animation/state/AnimationState.h"
#include "app/EditorStart.h"
#include "attachments/MexChunkTree.h"
#include "attachments/state/MexChunkTable.h"
#include "editor/context/EditingContext.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectTree.h"
#include "objects/ui/ObjectPages.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"
#include "shell/frmTARV.h"

namespace {

using namespace tarv;

constexpr int kObjects = 200;
constexpr int kChunks = 32767;
constexpr int kTracks = 682;
constexpr int kKeysPerTrack = 48;  // 32,736 keys

struct BigShipWindow {
    EditingContext ctx;
    std::unique_ptr<frmTARV> window;
    ObjectPanel* panel = nullptr;

    BigShipWindow() {
        ctx.prefs.logLevel = -1;
        InitialiseComponents(ctx);
        for (int i = 0; i < kObjects; ++i) {
            PeoObject o = bench::dome("object" + std::to_string(i), 4);
            o.mother = i == 0 ? 0 : 1 + (i - 1) / 8;  // a tree eight wide under the first object
            ctx.model.peoObjects.push_back(o);
        }
        ctx.view.viewObjects.assign(size_t(kObjects), ViewObject{});
        for (int i = 0; i < kObjects; ++i) create3dObject(ctx, int16_t(i));
        for (int i = 0; i < kObjects; ++i) {
            ViewObject& v = ctx.view.viewObjects[size_t(i)];
            const int32_t mother = ctx.model.peoObjects[size_t(i)].mother;
            (mother > 0 ? ctx.view.viewObjects[size_t(mother - 1)].frame : ctx.view.modelFrame)->addChild(v.frame);
            v.shown = -1;
            positionViewObject(v);
        }
        ctx.model.modelLoaded = true;
        createObjectTree(ctx);

        resetMexChunkTable(ctx);
        addMexTreeDefaults(ctx);
        const char* const letters = "dekc";
        ctx.mex.mexChunks.resize(size_t(kChunks));
        ctx.mex.mexMeshes.resize(size_t(kChunks));
        for (int i = 0; i < kChunks; ++i) {
            MexChunk& c = ctx.mex.mexChunks[size_t(i)];
            const char letter = letters[i % 4];
            c.chunkType = std::string(1, letter);
            c.chunkId = c.chunkType + std::to_string(i);
            c.position = {float(i), 1, 2};
            ctx.mex.treeMex.addChild(mexChunkTypeByLetter(letter)->parentKey, mexChunkKey(letter, i), c.chunkId);
        }

        ctx.animation.madAnimations = {{"Open", 0, 10, 0}, {"Close", 10, 20, 0}};
        for (int t = 0; t < kTracks; ++t) {
            MadObject track;
            track.name = "object" + std::to_string(t);
            for (int k = 0; k < kKeysPerTrack; ++k) {
                MadKeyframe key;
                key.time = k == 0 ? -1.0f : float(k) * 20.0f / kKeysPerTrack;
                key.position = {float(k), float(t), 0};
                track.keyframes.push_back(key);
            }
            ctx.animation.madObjects.push_back(track);
            if (t < kObjects) ctx.model.peoObjects[size_t(t)].madObjectIndex = int16_t(t);
        }

        window = std::make_unique<frmTARV>(ctx);
        installSubsystems(*window);  // shows the whole ship once
        panel = window->findChild<ObjectPanel*>();
    }
};

// Built on first use and taken down before the application ends, as its windows need the application.
std::unique_ptr<BigShipWindow>& shipHolder() {
    static std::unique_ptr<BigShipWindow> big;
    return big;
}

BigShipWindow& ship() {
    auto& big = shipHolder();
    if (!big) big = std::make_unique<BigShipWindow>();
    return *big;
}

void BM_TreeClickSyncsTheWholeWindow(benchmark::State& state) {
    BigShipWindow& s = ship();
    int next = 0;
    for (auto _ : state) {
        const std::string key = objectKey(next++ % kObjects);
        s.window->runCommand([&] { treeHeirachy_NodeClick(s.ctx, key); });
    }
    state.counters["objects"] = kObjects;
    state.counters["chunks"] = kChunks;
    state.counters["keys"] = kTracks * kKeysPerTrack;
}
BENCHMARK(BM_TreeClickSyncsTheWholeWindow)->Unit(benchmark::kMillisecond)->MinTime(2);

// The floor: the same selection, then only the object panel shows it.
void BM_TreeClickSyncsTheObjectPanelFloor(benchmark::State& state) {
    BigShipWindow& s = ship();
    int next = 0;
    for (auto _ : state) {
        treeHeirachy_NodeClick(s.ctx, objectKey(next++ % kObjects));
        s.panel->sync();
    }
}
BENCHMARK(BM_TreeClickSyncsTheObjectPanelFloor)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

int main(int argc, char** argv) {
    return tarv::bench::runWidgetBenchmarks(argc, argv, [] { shipHolder().reset(); });
}
