#pragma once
// Controls carry the names the rest of the program and the tests know them by.
#include <QTabBar>
#include <QTabWidget>
#include <utility>

namespace tarv {

// Makes a widget and gives it its object name.
template <class W, class... Args>
W* named(const char* name, Args&&... args) {
    auto* w = new W(std::forward<Args>(args)...);
    w->setObjectName(name);
    return w;
}

// Every caption of the tab control stays whole and in view: no scroll arrows and no shortened captions, so
// the control is at least as wide as its row of captions.
inline QTabWidget* showingWholeCaptions(QTabWidget* tabs) {
    tabs->setUsesScrollButtons(false);
    tabs->setElideMode(Qt::ElideNone);
    return tabs;
}

}  // namespace tarv
