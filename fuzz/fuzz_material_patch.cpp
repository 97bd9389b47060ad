// Arbitrary bytes as the model file and an arbitrary filePosition (the first four bytes of the input): the
// patch check either refuses or names the start of an entry of the list in use, within the file, and the
// patch then changes only bytes 4-15 and 24-27 of that entry.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>
#include <vector>

#include "materials/MaterialPatch.h"
#include "model/state/ShipModel.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarv;
    if (size < 4) return 0;
    int32_t filePosition = 0;
    std::memcpy(&filePosition, data, 4);
    const std::vector<uint8_t> file(data + 4, data + size);
    const auto entry = materialEntryOffset(file, filePosition);
    if (!entry) return 0;
    if (*entry + 32 > file.size() || *entry != size_t(int64_t(filePosition) - 1)) std::abort();
    PeoMaterial material;
    material.ambient = {1, 2, 3, 4};
    material.diffuse = {5, 6, 7, 8};
    material.specular = {9, 10, 11, 12};
    material.fullAmbient = -21760;
    std::vector<uint8_t> patched = file;
    patchMaterialEntry(patched, *entry, material, 0x7E);
    for (size_t i = 0; i < file.size(); ++i) {
        const size_t at = i - *entry;
        const bool inPatch = i >= *entry && ((at >= 4 && at < 16) || (at >= 24 && at < 28));
        if (!inPatch && patched[i] != file[i]) std::abort();
    }
    return 0;
}
