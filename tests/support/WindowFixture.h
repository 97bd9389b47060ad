#pragma once
// A main window on a fresh test context with every subsystem installed, its controls found by name.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "TempDir.h"
#include "app/EditorStart.h"
#include "shell/frmTARV.h"

namespace tarv::test {

struct WindowFixture {
    TempDir dir;
    TestContext t{dir.path()};
    frmTARV window{t.ctx};
    bool installed = (installSubsystems(window), true);  // every subsystem, as the editor has them
    template <class T>
    T* find(const char* name) {
        T* found = window.findChild<T*>(name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

}  // namespace tarv::test
