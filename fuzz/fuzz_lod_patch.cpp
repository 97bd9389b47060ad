// Arbitrary bytes as a level file: the patch writes the model's links and matrices into it, or refuses.
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

#include "FuzzSupport.h"
#include "editor/context/EditingContext.h"
#include "meshtools/LodFiles.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tarv::EditingContext ctx;
    ctx.prefs.logLevel = 0;
    ctx.userDataFolder = tarv::fuzz::scratchFolder();
    const char* names[] = {"Root", "Gun", "**DELETED**", "Wing"};
    for (int i = 0; i < 4; ++i) {
        tarv::PeoObject o;
        o.name = names[i];
        o.mother = i == 0 ? 0 : 1;
        o.daughter = i == 0 ? 2 : 0;
        o.sister = i == 1 ? 4 : 0;
        o.matrix = tarv::Matrix4::identity();
        ctx.model.peoObjects.push_back(o);
    }
    auto path = tarv::fuzz::writeScratch("level.peo", data, size);
    bool patched = tarv::applyMatrixToFile(ctx, path.string());
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> out((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    // The patch never changes the length of a file, and a refused file stays as it was.
    if (out.size() != size) std::abort();
    if (!patched && !std::equal(out.begin(), out.end(), data)) std::abort();
    return 0;
}
