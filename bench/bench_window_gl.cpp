// The editor's own main window on the 200-object ship (200 x 5,000 polygons in a binary tree of links), worked
// as a user works it: File > Open to the first frame that holds the whole ship, Save > "&All", File > Reload to
// its first frame, and the Mesh Tools' "LOD1 !" to the first frame of the reduced ship. Beside them the same
// work without a window (the load road, Save All and the reduction on a plain context) and, as the floor, a
// single sized read of the same file. Each window run also reports how often the window was repainted. Run
// under Xvfb (scripts/bench does).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QSurfaceFormat>

#include <memory>
#include <string>

#include "Floors.h"
#include "ShipOnDisk.h"
#include "app/EditorStart.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "editor/context/EditingContext.h"
#include "meshtools/MeshTools.h"
#include "platform/RandomSource.h"
#include "platform/SettingsStore.h"
#include "platform/qt/QtDesktop.h"
#include "scene/gl/RMCanvas.h"
#include "shell/frmTARV.h"

namespace {

using namespace tarv;

// A user who opens the ship whenever asked for a file and answers every question with OK or Yes.
class AgreeingUser : public Prompts {
public:
    std::string file;
    void messageBox(const std::string&, const std::string&, PromptIcon) override {}
    bool okCancel(const std::string&, const std::string&, PromptIcon) override { return true; }
    bool yesNo(const std::string&, const std::string&, PromptIcon) override { return true; }
    std::optional<std::string> inputBox(const std::string&, const std::string&, const std::string& d) override {
        return d;
    }
    std::optional<FileDialogChoice> openFile(const FileDialogRequest&) override { return FileDialogChoice{file, 1}; }
    std::optional<FileDialogChoice> saveFile(const FileDialogRequest&) override { return FileDialogChoice{file, 1}; }
    std::optional<int32_t> chooseColour(int32_t start) override { return start; }
};

// Counts the window's repaints: each one composes the whole window on the screen.
struct RepaintCounter : QObject {
    int repaints = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::UpdateRequest) ++repaints;
        return false;
    }
};

struct Editor {
    bench::ShipOnDisk ship{200, "window"};
    EditingContext ctx;
    AgreeingUser user;
    QtClock clock;
    SystemRandomSource random;
    MemorySettingsStore preferences, recentFiles;
    std::unique_ptr<frmTARV> window;
    scene::RMCanvas* canvas = nullptr;
    RepaintCounter counter;

    Editor() {
        ctx.userDataFolder = ship.folder;
        user.file = ship.path;
        preferences.setKeyValue("AlwaysShowBackup", "0");
        preferences.setKeyValue("ObjectSharing", "0");
        ctx.services.prompts = &user;
        ctx.services.clock = &clock;
        ctx.services.random = &random;
        ctx.services.preferencesStore = &preferences;
        ctx.services.recentFilesStore = &recentFiles;
        window = startEditor(ctx, "");
        canvas = qobject_cast<scene::RMCanvas*>(window->RMCanvas1);
        window->installEventFilter(&counter);
        QApplication::processEvents();
    }
    ~Editor() {
        window.reset();
        ctx.services = {};
    }
    size_t modelTriangles() const {
        size_t n = 0;
        for (const PeoObject& o : ctx.model.peoObjects) n += o.polygons.size();
        return n;
    }
    // Lets the event loop run until the canvas has drawn a frame holding every object and face of the model
    // (with the axes beside them); false when none came within a minute.
    bool untilFrameHoldsTheModel(uint64_t framesBefore) {
        const size_t want = modelTriangles();
        QElapsedTimer waited;
        waited.start();
        while (waited.elapsed() < 60000) {
            if (canvas->framesDrawn() > framesBefore && canvas->lastFrameTriangles() >= want &&
                canvas->lastFrameMeshes() >= ctx.model.peoObjects.size())
                return true;
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        }
        return false;
    }
};

Editor* gEditor = nullptr;

// Runs one user command in the window up to the frame it leads to, timed; the repaints it took are counted.
template <class Command>
void timeWindowCommand(benchmark::State& state, Command command, bool toFrame) {
    Editor& e = *gEditor;
    int repaints = 0;
    double commandMs = 0;
    for (auto _ : state) {
        const uint64_t frames = e.canvas->framesDrawn();
        e.counter.repaints = 0;
        QElapsedTimer inCommand;
        inCommand.start();
        command();
        commandMs = double(inCommand.nsecsElapsed()) / 1e6;
        if (toFrame && !e.untilFrameHoldsTheModel(frames)) {
            state.SkipWithError("no frame held the ship");
            break;
        }
        repaints = e.counter.repaints;
    }
    // The command's own time, before the event loop runs again; the rest is the wait for the first frame.
    state.counters["command_ms"] = commandMs;
    state.counters["repaints"] = repaints;
    state.counters["frame_triangles"] = double(e.canvas->lastFrameTriangles());
}

void BM_WindowOpenToFirstFrame(benchmark::State& state) {
    timeWindowCommand(
        state,
        [] {
            gEditor->ctx.currentModelPath.clear();  // File > Open of the model already loaded does nothing
            gEditor->window->mnuFileOpen->trigger();
        },
        true);
}
BENCHMARK(BM_WindowOpenToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WindowSaveAll(benchmark::State& state) {
    timeWindowCommand(state, [] { gEditor->window->mnuSaveAll->trigger(); }, false);
}
BENCHMARK(BM_WindowSaveAll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WindowReloadToFirstFrame(benchmark::State& state) {
    timeWindowCommand(state, [] { gEditor->window->mnuReload->trigger(); }, true);
}
BENCHMARK(BM_WindowReloadToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_WindowLod1ToFirstFrame(benchmark::State& state) {
    Editor& e = *gEditor;
    auto* lod1 = e.window->findChild<QPushButton*>("CreateLOD1");
    if (!lod1) {
        state.SkipWithError("no LOD1 button");
        return;
    }
    size_t before = 0, after = 0;
    int repaints = 0;
    double commandMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        e.ctx.currentModelPath.clear();  // the full ship again, also when this benchmark runs alone
        e.window->mnuFileOpen->trigger();
        e.untilFrameHoldsTheModel(e.canvas->framesDrawn());
        before = e.modelTriangles();
        const uint64_t frames = e.canvas->framesDrawn();
        e.counter.repaints = 0;
        state.ResumeTiming();
        QElapsedTimer inCommand;
        inCommand.start();
        lod1->click();
        commandMs = double(inCommand.nsecsElapsed()) / 1e6;
        if (!e.untilFrameHoldsTheModel(frames)) {
            state.SkipWithError("no frame held the reduced ship");
            break;
        }
        repaints = e.counter.repaints;
        after = e.modelTriangles();
    }
    state.counters["repaints"] = repaints;
    state.counters["command_ms"] = commandMs;
    state.counters["triangles_before"] = double(before);
    state.counters["triangles_after"] = double(after);
}
BENCHMARK(BM_WindowLod1ToFirstFrame)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same work on a plain context, without a window: what the window adds is the difference.
void BM_LibraryLoad(benchmark::State& state) {
    bench::ShipOnDisk& ship = gEditor->ship;
    for (auto _ : state) {
        ship.ctx->currentModelPath.clear();
        loadThisFile(*ship.ctx, ship.path);
    }
}
BENCHMARK(BM_LibraryLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LibrarySaveAll(benchmark::State& state) {
    bench::ShipOnDisk& ship = gEditor->ship;
    for (auto _ : state) mnuSaveAll_Click(*ship.ctx);
}
BENCHMARK(BM_LibrarySaveAll)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_LibraryLod1(benchmark::State& state) {
    bench::ShipOnDisk& ship = gEditor->ship;
    for (auto _ : state) {
        state.PauseTiming();
        ship.ctx->currentModelPath.clear();
        loadThisFile(*ship.ctx, ship.path);
        state.ResumeTiming();
        CreateLOD_Click(*ship.ctx, 1, {});
    }
}
BENCHMARK(BM_LibraryLod1)->Unit(benchmark::kMillisecond)->Iterations(3);

// The floor: the same file in one read() into a buffer of its size.
void BM_SizedReadFloor(benchmark::State& state) {
    for (auto _ : state) bench::sizedReadOnce(gEditor->ship.path);
}
BENCHMARK(BM_SizedReadFloor)->Unit(benchmark::kMillisecond)->MinTime(1);

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "xcb");
    QSurfaceFormat format;
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication app(argc, argv);
    Editor editor;
    gEditor = &editor;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
