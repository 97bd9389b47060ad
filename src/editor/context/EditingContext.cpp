#include "editor/context/EditingContext.h"

#include "animation/state/AnimationsPageState.h"
#include "attachments/state/ShipInfoPageState.h"
#include "materials/state/MaterialsPageState.h"
#include "meshtools/state/ToolsPageState.h"

namespace tarv {

VersionTexts VersionTexts::make(int major, int minor, int revision) {
    VersionTexts v;
    v.appName = "TARV";
    v.appVersion = std::to_string(major) + "." + std::to_string(minor);
    if (revision > 0) v.appVersion += " beta " + std::to_string(revision);
    v.appTitle = v.appName + " v" + v.appVersion;
    return v;
}

VersionTexts buildVersionTexts() {
    return VersionTexts::make(TARV_VERSION_MAJOR, TARV_VERSION_MINOR, TARV_VERSION_PATCH);
}

Session::Session() : version(buildVersionTexts()) {}

template <class T>
PageState<T>::PageState() : state_(std::make_unique<T>()) {}
template <class T>
PageState<T>::~PageState() = default;

template class PageState<ToolsPageState>;
template class PageState<MaterialsPageState>;
template class PageState<AnimationsPageState>;
template class PageState<ShipInfoPageState>;

}  // namespace tarv
