// Arbitrary bytes as a palette file and as JASC palette text: no crash, no sanitizer report, and never
// more than 4097 entries from a palette file.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "FuzzSupport.h"
#include "editor/context/EditingContext.h"
#include "base/RunTimeError.h"
#include "materials/Palette.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = (tarv::fuzz::scratchFolder() / "input.pal").string();
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        if (size > 0) std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }

    tarv::cPalette palette;
    int32_t position = 0;
    // Palettes one after another, as a caller reading a sequence would.
    for (int i = 0; i < 4 && palette.Load(path, position); ++i) {
        if (palette.Count() < 1 || palette.Count() > 4097) std::abort();
    }
    if (palette.Count() > 4097) std::abort();
    // A position taken from the input.
    if (size >= 4) {
        int32_t at =
            int32_t(uint32_t(data[0]) | uint32_t(data[1]) << 8 | uint32_t(data[2]) << 16 | uint32_t(data[3]) << 24);
        palette.Load(path, at);
        if (palette.Count() > 4097) std::abort();
    }

    static tarv::EditingContext ctx;
    tarv::cPalette text;
    try {
        text.LoadFromJASCFile(ctx, path);
        for (int32_t i = 1; i <= text.Count(); ++i) (void)text.Red(i);
    } catch (const tarv::RunTimeError&) {
        if (text.Count() != 0) std::abort();
    }
    return 0;
}
