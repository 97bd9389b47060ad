// Saves a ship over and over with Save All, for scripts/kill-save-loop to interrupt with kill -9:
//   save_loop <folder> prepare       writes the sample ship into the folder
//   save_loop <folder> once <A|B>    one Save All of the ship in variant A or B
//   save_loop <folder> loop          Save All of A and B in turn until killed
// The two variants differ in the first object's position, so the .peo is either one or the other.
#include <cstdio>
#include <filesystem>
#include <string>

#include "SampleShip.h"
#include "editor/LoadRoad.h"
#include "editor/SaveCommands.h"
#include "editor/Subsystems.h"
#include "editor/context/EditingContext.h"
#include "preview/PreviewScene.h"

namespace {

void setVariant(tarv::EditingContext& ctx, char variant) {
    ctx.model.peoObjects[0].matrix[12] = variant == 'A' ? 1.0 : 2.0;
}

void saveAll(tarv::EditingContext& ctx) { tarv::mnuSaveAll_Click(ctx); }

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
    ctx.userDataFolder = folder / "data";
    std::filesystem::create_directories(ctx.userDataFolder);
    ctx.prefs.alwaysShowBackup = false;
    ctx.prefs.logLevel = 0;
    tarv::connectSubsystemSteps(ctx);
    tarv::InitialiseComponents(ctx);
    tarv::loadThisFile(ctx, (folder / "Tarvlet.peo").string());
    if (!ctx.model.modelLoaded) {
        std::fprintf(stderr, "the ship did not load\n");
        return 1;
    }
    if (command == "once" && argc == 4) {
        setVariant(ctx, argv[3][0]);
        saveAll(ctx);
        return 0;
    }
    if (command != "loop") return 2;
    for (long n = 0;; ++n) {
        setVariant(ctx, n % 2 == 0 ? 'A' : 'B');
        saveAll(ctx);
    }
}
