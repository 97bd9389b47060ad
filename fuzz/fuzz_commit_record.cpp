// Arbitrary bytes as the commit record a killed Save All left beside a set: the recovery that the next load
// runs must finish or undo it without touching anything but the temporaries of the set's own files, and the
// record must be gone afterwards (the folder can be written).
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "FuzzSupport.h"
#include "base/AtomicFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace fs = std::filesystem;
    const fs::path folder = tarv::fuzz::scratchFolder() / "set";
    fs::remove_all(folder);
    fs::create_directories(folder);
    const fs::path outside = tarv::fuzz::scratchFolder() / "outside.peo";
    tarv::fuzz::writeScratch("outside.peo", reinterpret_cast<const uint8_t*>("kept"), 4);
    tarv::fuzz::writeScratch("set/ship.peo", reinterpret_cast<const uint8_t*>("old"), 3);
    // A process number no process has: the writer is gone.
    const std::string record = tarv::commitRecordNameFor("ship.peo", INT_MAX - 1);
    tarv::fuzz::writeScratch("set/" + record, data, size);
    tarv::finishInterruptedSaves(folder);
    if (fs::exists(folder / record) || !fs::exists(outside) || fs::file_size(outside) != 4) std::abort();
    return 0;
}
