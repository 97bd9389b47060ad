#pragma once
// Fakes of the roads' seams: steps a test watches or breaks, and a road window that counts the load
// summaries and the ends of the program instead of showing or ending anything.
#include <functional>

#include "editor/LoadRoad.h"
#include "editor/context/EditingContext.h"
#include "meshtools/state/ToolsPageState.h"

namespace tarv::test {

// Sets itself as the context's road steps for its lifetime. A step given a function runs it instead of the
// subsystem's own (which it may call through the SubsystemRoadSteps base); the others are the subsystems'.
class WatchedRoadSteps : public SubsystemRoadSteps {
public:
    explicit WatchedRoadSteps(EditingContext& ctx) : ctx_(ctx), before_(ctx.road.steps) { ctx.road.steps = this; }
    ~WatchedRoadSteps() override {
        if (ctx_.road.steps == this) ctx_.road.steps = before_;
    }
    WatchedRoadSteps(const WatchedRoadSteps&) = delete;
    WatchedRoadSteps& operator=(const WatchedRoadSteps&) = delete;

    std::function<void(EditingContext&, int objNo)> onCreate3dObject;
    std::function<void(EditingContext&)> onShowAxes;
    std::function<void(EditingContext&)> onCreateObjectTree;
    std::function<void(EditingContext&)> onFixHierarchy;
    std::function<void(EditingContext&)> onApplyRenderMode;

    void create3dObject(EditingContext& ctx, int objNo) override {
        onCreate3dObject ? onCreate3dObject(ctx, objNo) : SubsystemRoadSteps::create3dObject(ctx, objNo);
    }
    void showAxes(EditingContext& ctx) override { onShowAxes ? onShowAxes(ctx) : SubsystemRoadSteps::showAxes(ctx); }
    void createObjectTree(EditingContext& ctx) override {
        onCreateObjectTree ? onCreateObjectTree(ctx) : SubsystemRoadSteps::createObjectTree(ctx);
    }
    void fixHierarchy(EditingContext& ctx) override {
        onFixHierarchy ? onFixHierarchy(ctx) : SubsystemRoadSteps::fixHierarchy(ctx);
    }
    void applyRenderMode(EditingContext& ctx) override {
        onApplyRenderMode ? onApplyRenderMode(ctx) : SubsystemRoadSteps::applyRenderMode(ctx);
    }

private:
    EditingContext& ctx_;
    RoadSteps* before_;
};

// Sets itself as the context's road window for its lifetime (and leaves none behind): counts the ends of the
// program (and runs onEnd) instead of ending it, and passes the load summary on to the window it replaced (a
// main window's), counting it too. Make it after the main window.
class RoadWindowWatch : public RoadWindow {
public:
    explicit RoadWindowWatch(EditingContext& ctx) : ctx_(ctx), before_(ctx.road.window) { ctx.road.window = this; }
    ~RoadWindowWatch() override {
        if (ctx_.road.window == this) ctx_.road.window = nullptr;
    }
    RoadWindowWatch(const RoadWindowWatch&) = delete;
    RoadWindowWatch& operator=(const RoadWindowWatch&) = delete;

    void showLoadSummary(EditingContext& ctx) override {
        ++summaries;
        if (before_) before_->showLoadSummary(ctx);
    }
    void endProgram(EditingContext&) override {
        ++ends;
        if (onEnd) onEnd();
    }

    int summaries = 0;
    int ends = 0;
    std::function<void()> onEnd;

private:
    EditingContext& ctx_;
    RoadWindow* before_;
};

// Sets itself as the mesh tools' load road for its lifetime: runs onLoad (when given) instead of a load.
class LoadRoadWatch : public LoadRoadHook {
public:
    explicit LoadRoadWatch(EditingContext& ctx, std::function<void(EditingContext&)> onLoad = {})
        : onLoad(std::move(onLoad)), ctx_(ctx), before_(ctx.toolsPage->loadRoad) {
        ctx.toolsPage->loadRoad = this;
    }
    ~LoadRoadWatch() override {
        if (ctx_.toolsPage->loadRoad == this) ctx_.toolsPage->loadRoad = before_;
    }
    LoadRoadWatch(const LoadRoadWatch&) = delete;
    LoadRoadWatch& operator=(const LoadRoadWatch&) = delete;

    void startprocess(EditingContext& ctx) override {
        if (onLoad) onLoad(ctx);
    }
    std::function<void(EditingContext&)> onLoad;

private:
    EditingContext& ctx_;
    LoadRoadHook* before_;
};

}  // namespace tarv::test
