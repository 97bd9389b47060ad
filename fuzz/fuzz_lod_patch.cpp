// Arbitrary bytes as a level file: the patch writes the model's links and matrices into it, or refuses.
// Every link it writes is 0 or the offset of one of the file's own records.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "editor/context/EditingContext.h"
#include "meshtools/LodFiles.h"

namespace {

int32_t i32At(const std::vector<uint8_t>& b, size_t at) {
    uint32_t v = 0;
    std::memcpy(&v, b.data() + at, 4);
    return int32_t(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    tarv::EditingContext ctx;
    ctx.prefs.logLevel = 0;
    ctx.userDataFolder = tarv::fuzz::scratchFolder();
    // Links to a deleted object, to an object the file may not hold (Tail) and past the last object.
    const char* names[] = {"Root", "Gun", "**DELETED**", "Wing", "Tail"};
    for (int i = 0; i < 5; ++i) {
        tarv::PeoObject o;
        o.name = names[i];
        o.mother = i == 0 ? 0 : 1;
        o.daughter = i == 0 ? 2 : i == 1 ? 5 : i == 3 ? 9 : 0;
        o.sister = i == 1 ? 4 : i == 3 ? 3 : 0;
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
    if (!patched) return 0;

    // A patched file passed the patch's checks: its records and their names lie inside it.
    const bool cataclysm = i32At(out, 8) == 0x500;
    const int64_t recordSize = cataclysm ? 116 : 112, linkOffset = cataclysm ? 40 : 36;
    const int64_t count = i32At(out, 40);
    for (int64_t k = 0; k < count; ++k) {
        const int64_t record = 68 + k * recordSize;
        std::string name;
        for (size_t at = size_t(uint32_t(i32At(out, size_t(record)))); at < out.size() && out[at] != 0; ++at)
            name += char(out[at]);
        bool modelObject = false;
        for (const char* n : names) modelObject = modelObject || name == n;
        if (!modelObject) continue;
        for (int j = 0; j < 3; ++j) {
            const int64_t link = i32At(out, size_t(record + linkOffset + 4 * j));
            const bool recordOffset = link >= 68 && link < 68 + count * recordSize && (link - 68) % recordSize == 0;
            if (link != 0 && !recordOffset) std::abort();
        }
    }
    return 0;
}
