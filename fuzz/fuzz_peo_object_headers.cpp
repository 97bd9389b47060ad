// Feeds arbitrary bytes to the object-record reader of the import: every input ends in a refusal or in
// a list of records as long as the header's count, never in a crash or a huge allocation.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/BinaryReader.h"
#include "base/RunTimeError.h"
#include "model/PeoObjectHeader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const tarv::BinaryReader reader(std::vector<uint8_t>(data, data + size), "other.peo");
    try {
        const tarv::PeoObjectHeaderFile file = tarv::readPeoObjectHeaders(reader);
        if (file.records.empty() || file.records.size() > size_t(tarv::kMaxImportRecords)) std::abort();
        for (const tarv::PeoObjectHeader& h : file.records)
            if (h.nameOffset < 0 || h.nameOffset >= reader.size()) std::abort();
    } catch (const tarv::RunTimeError&) {}
    return 0;
}
