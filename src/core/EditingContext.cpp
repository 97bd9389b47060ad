#include "core/EditingContext.h"

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

EditingContext::EditingContext() : version(buildVersionTexts()) {}

} // namespace tarv
