// Arbitrary text as a .lod list: the pure parse of its lines, then the reader on the same text as a file
// in both modes. Every named level file must be a line's own text, and the reader must never keep a
// model path the list did not give.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "base/TextLines.h"
#include "editor/context/EditingContext.h"
#include "meshtools/LodFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = tarv::splitTextLines(text);
    const tarv::LodFileContents contents = tarv::parseLodLines(lines);
    if (contents.meshFiles.size() > lines.size()) std::abort();
    for (const std::string& file : contents.meshFiles)
        if (file.size() > text.size()) std::abort();

    static tarv::EditingContext& ctx = []() -> tarv::EditingContext& {
        static tarv::EditingContext c;
        c.userDataFolder = tarv::fuzz::scratchFolder();
        c.prefs.logLevel = 0;
        return c;
    }();
    const std::string path = tarv::fuzz::writeScratch("ship.lod", data, size).string();
    for (bool firstIsMain : {true, false}) {
        ctx.lod.lstLodFiles.clear();
        ctx.currentModelPath = "previous.peo";
        const bool named = tarv::readLodFile(ctx, path, firstIsMain);
        if (named != !contents.meshFiles.empty()) std::abort();
        if (!named && (ctx.currentModelPath != "previous.peo" || !ctx.lod.lstLodFiles.empty())) std::abort();
        if (ctx.lod.lstLodFiles.size() > contents.meshFiles.size()) std::abort();
    }
    return 0;
}
