#pragma once
// Widget tests save a picture of what they show when TARV_SCREENSHOTS names a folder, so a developer can
// look at a window: TARV_SCREENSHOTS=/tmp/shots xvfb-run -a ctest -R ...
#include <QDir>
#include <QWidget>
#include <cstdlib>

namespace tarv::test {

inline void saveScreenshotIfAsked(QWidget& widget, const char* name) {
    const char* folder = std::getenv("TARV_SCREENSHOTS");
    if (!folder || !*folder) return;
    QDir().mkpath(folder);
    widget.grab().save(QString(folder) + "/" + name + ".png");
}

}  // namespace tarv::test
