#pragma once
// Controls carry the names the rest of the program and the tests know them by.
#include <utility>

namespace tarv {

// Makes a widget and gives it its object name.
template <class W, class... Args>
W* named(const char* name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)...);
    w->setObjectName(name);
    return w;
}

} // namespace tarv
