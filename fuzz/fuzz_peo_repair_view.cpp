// Feeds arbitrary bytes, as a file, to the repair window's reading: the header and record list, the first and
// last records with their normals and names, and the repair's check (never its write). Every list must stay
// within what the file holds, and the file must stay as it was.
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <span>
#include <vector>

#include "FuzzSupport.h"
#include "base/AtomicFile.h"
#include "editor/context/EditingContext.h"
#include "meshtools/PeoRepair.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarv;
    const auto path = fuzz::writeScratch("repair.peo", data, size);
    EditingContext ctx;
    RepairView view;
    getPeoInfo(ctx, view, path.string());
    if (view.lstObjects.size() > size / 112) std::abort();
    for (size_t index : {size_t(0), view.lstObjects.size() - 1}) {
        if (view.lstObjects.empty()) break;
        lstObjects_Click(ctx, view, int(index));
        if (view.ListView1.size() > size / 16) std::abort();
        if (view.Label5.size() > size) std::abort();
    }
    // The same file read as Cataclysm records.
    if (!view.lstObjects.empty()) {
        view.txtVersion = "1280";
        lstObjects_Click(ctx, view, int(view.lstObjects.size()) - 1);
        if (view.ListView1.size() > size / 16) std::abort();
    }
    const MaterialCountCheck check = checkMaterialCount(ZeroFilledBytes(std::span<const uint8_t>(data, size)));
    if (check.repairable() != view.cmdRepairMatsEnabled) std::abort();
    if (check.repairable() && !(check.computed >= 0 && check.computed <= double(size) / 32)) std::abort();
    const std::vector<uint8_t> after = readWholeFile(path);
    if (after.size() != size || !std::equal(after.begin(), after.end(), data)) std::abort();
    return 0;
}
