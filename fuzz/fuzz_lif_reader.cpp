// Arbitrary bytes as a .lif: read header-only and with blocks, draw layers 0 to 8, and run the thumbnail
// reader on the same bytes.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>

#include "FuzzSupport.h"
#include "editor/context/EditingContext.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarv;
    // One context for the run (building one is not cheap); each input starts from a fresh texture state.
    static EditingContext& ctx = []() -> EditingContext& {
        static EditingContext c;
        c.userDataFolder = fuzz::scratchFolder();
        c.prefs.logLevel = 0;
        return c;
    }();
    ctx.lif = LifState{};
    const std::span<const uint8_t> bytes(data, size);

    for (bool loadPixels : {false, true}) {
        startLifRead(ctx, "fuzz.lif");
        parseLif(ctx, bytes, loadPixels);
        for (int layer = 0; layer <= 8; ++layer) {
            auto picture = drawLifPicture(ctx.lif.texture, uint8_t(layer), ctx.prefs.playerBaseColor,
                                          RgbColour{0, 0, 300, 0}, ctx.lif.background);
            if (picture && int64_t(picture->pixels.size()) > int64_t(size)) __builtin_trap();
        }
    }
    auto thumb = quickLoadLifBytes(bytes);
    if (thumb && int64_t(thumb->pixels.size()) > int64_t(size)) __builtin_trap();
    return 0;
}
