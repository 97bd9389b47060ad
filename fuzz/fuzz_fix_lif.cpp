// Arbitrary bytes as the source of Fix Lif. A conversion takes its base picture from the .lif reader on the
// same bytes (layer 1) when they read. Every file made has the standard layout, flags that are never 0,
// and, for a conversion, no alpha bit.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>

#include "FuzzSupport.h"
#include "editor/context/EditingContext.h"
#include "materials/FixLif.h"
#include "materials/LifReader.h"
#include "materials/LifRenderer.h"

namespace {

int32_t i32At(const std::vector<uint8_t>& b, size_t at) {
    return int32_t(uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarv;
    static EditingContext& ctx = []() -> EditingContext& {
        static EditingContext c;
        c.userDataFolder = fuzz::scratchFolder();
        c.prefs.logLevel = 0;
        return c;
    }();
    ctx.lif = LifState{};
    const std::span<const uint8_t> bytes(data, size);

    std::optional<Image> base;
    startLifRead(ctx, "fuzz.lif");
    if (parseLif(ctx, bytes, true) == LifReadResult::Read)
        base = drawLifPicture(ctx.lif.texture, kLayerBase, ctx.prefs.playerBaseColor, ctx.prefs.playerStripeColor,
                              ctx.lif.background);

    const FixLifResult r = fixLifBytes(bytes, base ? &*base : nullptr);
    if (r.failure) {
        if (!r.bytes.empty()) __builtin_trap();
        return 0;
    }
    const int64_t n = r.pixelCount;
    if (int64_t(r.bytes.size()) != n + 1584) __builtin_trap();
    if (i32At(r.bytes, 32) != 48 || i32At(r.bytes, 36) != 48 + n || i32At(r.bytes, 40) != 48 + n + 1024 ||
        i32At(r.bytes, 44) != 48 + n + 1280)
        __builtin_trap();
    const int32_t flags = i32At(r.bytes, 12);
    if (flags == 0) __builtin_trap();
    if (r.conversion && (flags & 8) != 0) __builtin_trap();
    if (r.conversion && r.reducedPicture && int64_t(r.reducedPicture->pixels.size()) > int64_t(size)) __builtin_trap();
    return 0;
}
