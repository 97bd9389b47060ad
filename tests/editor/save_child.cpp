// Saves a ship over and over with Save All, for the kill test and scripts/kill-save-loop to interrupt with
// kill -9:
//   tarv_save_child <folder> prepare       writes the sample ship into the folder
//   tarv_save_child <folder> load          loads the ship (which finishes what a killed save left) and ends
//   tarv_save_child <folder> once <A|B>    one Save All of the ship in variant A or B
//   tarv_save_child <folder> loop          prints "loaded", then Save All of A and B in turn until killed
// The two variants differ in the .peo, the .mex and the .mad, so a set of files is wholly one or the other
// or a mix.
#include <cstdio>
#include <filesystem>
#include <string>

#include "SampleShip.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "editor/Subsystems.h"
#include "editor/context/EditingContext.h"
#include "platform/StatusDisplay.h"
#include "preview/PreviewScene.h"

namespace {

bool setVariant(tarv::EditingContext& ctx, char variant) {
    const float v = variant == 'A' ? 1.0f : 2.0f;
    if (ctx.model.peoObjects.empty() || ctx.mex.mexChunks.empty() || ctx.animation.madObjects.empty() ||
        ctx.animation.madObjects[0].keyframes.size() < 3)
        return false;
    ctx.model.peoObjects[0].matrix[12] = v;
    ctx.mex.mexChunks[0].coneAngle = v;
    ctx.animation.madObjects[0].keyframes[1].tension = v / 4;
    return true;
}

struct LastStatus : tarv::StatusDisplay {
    std::string text;
    void setStatus(const std::string& t) override { text = t; }
};

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const std::filesystem::path folder = argv[1];
    const std::string command = argv[2];
    if (command == "prepare") {
        tarv::samples::writeSampleShip(folder);
        return 0;
    }
    tarv::EditingContext ctx;
    LastStatus status;
    ctx.services.status = &status;
    ctx.userDataFolder = folder / "data";
    std::filesystem::create_directories(ctx.userDataFolder);
    ctx.prefs.alwaysShowBackup = false;
    ctx.prefs.logLevel = 0;
    tarv::connectSubsystemSteps(ctx);
    tarv::InitialiseComponents(ctx);
    tarv::loadThisFile(ctx, (folder / "Tarvlet.peo").string());
    if (!ctx.model.modelLoaded || !setVariant(ctx, 'A')) {
        std::fprintf(stderr, "the ship did not load\n");
        return 1;
    }
    if (command == "load") return 0;
    if (command == "once" && argc == 4) {
        setVariant(ctx, argv[3][0]);
        tarv::mnuSaveAll_Click(ctx);
        return status.text == "'Save All' done!" ? 0 : 1;
    }
    if (command != "loop") return 2;
    std::printf("loaded\n");
    std::fflush(stdout);
    for (long n = 0;; ++n) {
        setVariant(ctx, n % 2 == 0 ? 'A' : 'B');
        tarv::mnuSaveAll_Click(ctx);
    }
}
