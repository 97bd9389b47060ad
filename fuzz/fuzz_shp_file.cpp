// Arbitrary text as a ship definition: read it, then patch it.
#include <cstdint>

#include "FuzzSupport.h"
#include "attachments/ShpFile.h"
#include "editor/context/EditingContext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tarv::EditingContext ctx;
    tarv::fuzz::AlternatingPrompts prompts;
    ctx.services.prompts = &prompts;
    ctx.prefs.logLevel = 0;
    ctx.userDataFolder = tarv::fuzz::scratchFolder();
    auto path = tarv::fuzz::writeScratch("ship.shp", data, size).string();
    tarv::loadShpFile(ctx, path);
    for (auto& gun : ctx.shp.shpGuns) gun.barrelLength = 1.25f;
    tarv::saveSHPfile(ctx, path);
    return 0;
}
