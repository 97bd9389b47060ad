#pragma once
// The presentation state: what the pages and menus show, kept as plain data the windows mirror. The shell,
// the roads and the preview and object pages are held whole; each other page's state is held behind a
// pointer, so a change to one page's state header rebuilds only the code that uses that page.
#include <memory>

#include "editor/context/RoadState.h"
#include "editor/context/ShellState.h"
#include "materials/state/LifState.h"
#include "objects/state/ObjectsState.h"
#include "preview/state/PreviewState.h"

namespace tarv {

struct ToolsPageState;
struct MaterialsPageState;
struct AnimationsPageState;
struct ShipInfoPageState;

// One page's state, made with the context; -> reaches it. The page's own header completes the type.
template <class T>
class PageState {
public:
    PageState();
    ~PageState();
    T* operator->() const { return state_.get(); }
    T& operator*() const { return *state_; }

private:
    std::unique_ptr<T> state_;
};

struct Presentation {
    ShellState shell;
    RoadState road;        // the load and save roads, start-up and exit
    PreviewState preview;  // camera, spin and playback, texture lists
    ObjectsState objects;  // selection, object lists, tree drag state, object pages
    LifState lif;          // the loaded .lif texture and the texture windows' state
    PageState<ToolsPageState> toolsPage;
    PageState<MaterialsPageState> materialsPage;
    PageState<AnimationsPageState> animationsPage;
    PageState<ShipInfoPageState> shipInfoPage;
};

}  // namespace tarv
