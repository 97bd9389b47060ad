// The chunk markers and chunk tree commands at the largest chunk count the .mex holds: scaling every chunk
// with its marker, ticking the root of the chunk tree, Add/Clone on a full tree, the default chunks of a
// large ship, and the reset that takes every marker off the scene. Each beside its floor: the bare marker
// builds, the bare attaches, one walk over the tree's nodes, and one pass over every vertex. Growth from 3k
// to 32k chunks must be near-linear; the reset is read against a floor that frees the same memory, and its
// scene step (every marker frame off its carrier in one call) against one look per frame and against the
// removal one frame at a time.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "attachments/ChunkEditPanel.h"
#include "attachments/ChunkMarkers.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexSteps.h"
#include "attachments/MexTreeCommands.h"
#include "attachments/state/ShipInfoPageState.h"
#include "editor/context/EditingContext.h"
#include "preview/PreviewMarkers.h"
#include "scene/Scene.h"

namespace {

using namespace tarv;

ChunkEditPanel chunkPanel;  // stateless: its page is in the context

void prepare(EditingContext& ctx) {
    ctx.shipInfoPage->mexPanel = &chunkPanel;  // the panel of "Mex Data", as the attachments' install sets it
    ctx.prefs.logLevel = -1;
    ctx.view.viewObjects.resize(1);
    ctx.view.viewObjects[0].frame = scene::createFrame();
    ctx.model.modelExtent = 100;
}

// count chunks cycling through damage points, engines, dock points and collision spheres, each with its
// marker and node, as the reader leaves them.
void fillChunks(EditingContext& ctx, int count) {
    resetMexChunkTable(ctx);
    addMexTreeDefaults(ctx);
    const char* const letters = "dekc";
    MexChunkTable& mex = ctx.mex;
    mex.mexChunks.resize(size_t(count));
    mex.mexMeshes.resize(size_t(count));
    for (int i = 0; i < count; ++i) {
        MexChunk& c = mex.mexChunks[size_t(i)];
        const char letter = letters[i % 4];
        c.chunkType = std::string(1, letter);
        c.chunkId = c.chunkType + std::to_string(i);
        c.position = {float(i), 1, 2};
        c.normal = {0, 0, 1};
        c.coneAngle = 15;
        c.edgeAngle = 5;
        createBlankMexMesh(ctx, c.chunkId, i);
        buildMarkerShape(ctx, i, panelMarkerRequest(ctx, c));
        setChunkColour(ctx, i);
        mex.treeMex.addChild(mexChunkTypeByLetter(letter)->parentKey, mexChunkKey(letter, i), c.chunkId);
    }
}

void BM_ScaleMexChunks(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    fillChunks(ctx, int(state.range(0)));
    for (auto _ : state) scaleMexChunks(ctx, 1.0f);
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ScaleMexChunks)->Arg(3276)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMillisecond);

// The floor of a scale: one fresh cone mesh per chunk, nothing else.
void BM_ScaleFloorConeBuilds(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    MexChunk c;
    c.normal = {0, 0, 1};
    c.coneAngle = 15;
    ViewObject v;
    for (auto _ : state)
        for (int i = 0; i < state.range(0); ++i) {
            v.mesh = scene::createMeshBuilder();
            createCone(ctx, c, v);
        }
}
BENCHMARK(BM_ScaleFloorConeBuilds)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMillisecond);

void BM_RootTick(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    fillChunks(ctx, int(state.range(0)));
    bool on = true;
    for (auto _ : state) {
        treeMex_NodeCheck(ctx, "Root", on);
        on = !on;
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RootTick)->Arg(3276)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMillisecond);

// The floor of a tick: every marker mesh attached to and taken off its frame directly.
void BM_RootTickFloorAttaches(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    fillChunks(ctx, int(state.range(0)));
    bool on = true;
    for (auto _ : state) {
        for (ViewObject& v : ctx.mex.mexMeshes)
            if (on)
                v.frame->addVisual(v.mesh);
            else
                v.frame->deleteVisual(v.mesh);
        on = !on;
    }
}
BENCHMARK(BM_RootTickFloorAttaches)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMillisecond);

// Add/Clone of a damage point on a tree of that many nodes (the new chunks are taken away after each run).
void BM_AddClone(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    const int count = int(state.range(0)) - 7;  // the root and the groups are nodes too
    fillChunks(ctx, count);
    for (auto _ : state) {
        ctx.mex.treeMex.setSelected("d0");
        cmdMexAdd_Click(ctx);
        state.PauseTiming();
        const int added = ctx.mex.mexChunkCount() - 1;
        ctx.mex.treeMex.remove(mexChunkKey('d', added));
        std::vector<ViewObject> last{ctx.mex.mexMeshes.back()};
        takeMexMarkersOffScene(last);
        ctx.mex.mexMeshes.pop_back();
        ctx.mex.mexChunks.pop_back();
        setCounter(ctx, int16_t(getCounter(ctx, "d") - 1), "d");
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_AddClone)->Arg(3276)->Arg(32767)->ArgName("nodes")->Unit(benchmark::kMicrosecond);

// The floor of a command on the tree: one walk over every node's text.
void BM_AddCloneFloorTreeWalk(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    fillChunks(ctx, int(state.range(0)) - 7);
    for (auto _ : state) {
        size_t letters = 0;
        const KeyedTree& tree = ctx.mex.treeMex;
        for (int n = 1; n <= tree.count(); ++n) letters += tree.nodeAt(n).text.size();
        benchmark::DoNotOptimize(letters);
    }
}
BENCHMARK(BM_AddCloneFloorTreeWalk)->Arg(32767)->ArgName("nodes")->Unit(benchmark::kMicrosecond);

// The reset of the clean-up: every marker off the scene, the table emptied. Ten times the chunks should cost
// about ten times as much (the frames leave their parent in one pass, not one search each).
void BM_ResetMarkers(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    for (auto _ : state) {
        state.PauseTiming();
        fillChunks(ctx, int(state.range(0)));
        state.ResumeTiming();
        resetMexChunkTable(ctx);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ResetMarkers)->Arg(3276)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMillisecond);

// The floor of the reset: the marker records let go, their frames left where they hang.
void BM_ResetFloorRelease(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    for (auto _ : state) {
        state.PauseTiming();
        ctx.view.viewObjects[0].frame = scene::createFrame();
        fillChunks(ctx, int(state.range(0)));
        state.ResumeTiming();
        ctx.mex.mexMeshes.clear();
        ctx.mex.mexChunks.clear();
    }
}
BENCHMARK(BM_ResetFloorRelease)->Arg(3276)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMillisecond);

// The floor of the reset that frees what it frees: the carrying frame, the marker records, the chunks and the
// tree let go at once, so every marker frame and mesh is released without any per-frame step. Freeing this
// much memory itself grows faster than the count once it no longer fits the caches, so the reset is read
// against this floor at each size.
void BM_ResetFloorLetGo(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    for (auto _ : state) {
        state.PauseTiming();
        ctx.view.viewObjects[0].frame = scene::createFrame();
        fillChunks(ctx, int(state.range(0)));
        state.ResumeTiming();
        ctx.view.viewObjects[0].frame.reset();
        ctx.mex.mexMeshes.clear();
        ctx.mex.mexChunks.clear();
        ctx.mex.treeMex.clear();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ResetFloorLetGo)->Arg(3276)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMillisecond);

// A context with n chunk markers on view, and their frames.
std::vector<scene::FramePtr> markerFrames(EditingContext& ctx, int n) {
    prepare(ctx);
    fillChunks(ctx, n);
    std::vector<scene::FramePtr> frames;
    for (const ViewObject& v : ctx.mex.mexMeshes) frames.push_back(v.frame);
    return frames;
}

// Takes every marker frame off the frame that carries them with `detach`, and puts them back untimed.
template <typename Detach>
void detachMarkerFrames(benchmark::State& state, Detach detach) {
    EditingContext ctx;
    const std::vector<scene::FramePtr> frames = markerFrames(ctx, int(state.range(0)));
    const scene::FramePtr carrier = ctx.view.viewObjects[0].frame;
    for (auto _ : state) {
        detach(carrier, frames);
        state.PauseTiming();
        for (const scene::FramePtr& f : frames) carrier->addChild(f);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}

// The scene's part of the reset alone: every marker frame off the frame that carries them, in one call.
void BM_DetachMarkerFrames(benchmark::State& state) {
    detachMarkerFrames(state, [](const scene::FramePtr&, const std::vector<scene::FramePtr>& frames) {
        scene::Frame::detachFrames(frames);
    });
}
BENCHMARK(BM_DetachMarkerFrames)->Arg(3276)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMicrosecond);

// The same frames taken off one call each, last to first: every call searches the carrier's children.
void BM_DetachMarkerFramesOneByOne(benchmark::State& state) {
    detachMarkerFrames(state, [](const scene::FramePtr& carrier, const std::vector<scene::FramePtr>& frames) {
        for (auto it = frames.rbegin(); it != frames.rend(); ++it) carrier->deleteChild(*it);
    });
}
BENCHMARK(BM_DetachMarkerFramesOneByOne)->Arg(3276)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMicrosecond);

// Its floor: one look at each marker frame's parent.
void BM_DetachFloorParentLook(benchmark::State& state) {
    EditingContext ctx;
    const std::vector<scene::FramePtr> frames = markerFrames(ctx, int(state.range(0)));
    for (auto _ : state) {
        size_t attached = 0;
        for (const scene::FramePtr& f : frames) attached += f->getParent() ? 1 : 0;
        benchmark::DoNotOptimize(attached);
    }
}
BENCHMARK(BM_DetachFloorParentLook)->Arg(3276)->Arg(32767)->ArgName("chunks")->Unit(benchmark::kMicrosecond);

// A ship of objects x vertices, every object a root.
void syntheticShip(EditingContext& ctx, int objects, int vertices) {
    ctx.model.peoObjects.assign(size_t(objects), PeoObject{});
    for (int o = 0; o < objects; ++o) {
        PeoObject& obj = ctx.model.peoObjects[size_t(o)];
        obj.name = "Obj" + std::to_string(o);
        obj.vertices.resize(size_t(vertices));
        for (int v = 0; v < vertices; ++v)
            obj.vertices[size_t(v)] = {float(o + std::sin(v)), float(std::cos(v)), float(v % 100)};
        obj.minX = float(o) - 1, obj.maxX = float(o) + 1;
        obj.minY = -1, obj.maxY = 1, obj.minZ = 0, obj.maxZ = 99;
        obj.sizeX = 2, obj.sizeY = 2, obj.sizeZ = 99;
    }
}

void BM_DefaultChunks(benchmark::State& state) {
    EditingContext ctx;
    prepare(ctx);
    syntheticShip(ctx, int(state.range(0)), 5000);
    ctx.currentModelPath = "/nonexistent/ship.peo";
    for (auto _ : state) {
        resetMexChunkTable(ctx);
        checkForMex(ctx);
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DefaultChunks)->Arg(20)->Arg(200)->ArgName("objects")->Unit(benchmark::kMillisecond);

// The floor of the default chunks: one distance per vertex.
void BM_DefaultChunksFloorVertexPass(benchmark::State& state) {
    EditingContext ctx;
    syntheticShip(ctx, int(state.range(0)), 5000);
    for (auto _ : state) {
        double far = 0;
        for (const PeoObject& o : ctx.model.peoObjects)
            for (const PeoVertex& v : o.vertices) far = std::max(far, std::sqrt(double(v.x) * v.x + double(v.y) * v.y));
        benchmark::DoNotOptimize(far);
    }
}
BENCHMARK(BM_DefaultChunksFloorVertexPass)->Arg(200)->ArgName("objects")->Unit(benchmark::kMillisecond);

}  // namespace
