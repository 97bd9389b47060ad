#pragma once
// A context with the scene set up and the sample ship written into a temporary folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "SampleShip.h"
#include "preview/PreviewScene.h"
#include "Fakes.h"
#include "RoadHooks.h"
#include "TempDir.h"

namespace tarv::test {

class RoadTest : public ::testing::Test {
protected:
    TempDir dir;
    TestContext t{dir.path() / "data"};
    EditingContext& ctx = t.ctx;
    WatchedRoadSteps steps{ctx};
    RoadWindowWatch roadWindow{ctx};
    std::filesystem::path ship = dir.path() / "ship";

    void SetUp() override {
        std::filesystem::create_directories(dir.path() / "data");
        ctx.prefs.alwaysShowBackup = false;
        InitialiseComponents(ctx);
        samples::writeSampleShip(ship);
    }
    std::string at(const std::string& name) const { return (ship / name).string(); }
    int reportsOf(const std::string& procedure) const {
        int n = 0;
        for (const auto& r : t.errors.reports) n += r.procedure == procedure;
        return n;
    }
};

}  // namespace tarv::test
