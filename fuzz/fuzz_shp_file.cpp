// Arbitrary text as a ship definition: parse its lines, then read it into a context and patch it.
#include <cstdint>
#include <string>

#include "FuzzSupport.h"
#include "attachments/ShpFile.h"
#include "base/RunTimeError.h"
#include "base/TextLines.h"
#include "editor/context/EditingContext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    try {
        tarv::parseShpLines(tarv::splitTextLines(std::string(reinterpret_cast<const char*>(data), size)));
    } catch (const tarv::RunTimeError&) {
        // A refused line.
    }

    // The patch works on the file and on the guns the reader took from it.
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
