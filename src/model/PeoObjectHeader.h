#pragma once
// The object records of a .peo file as read by the object import and the repair window: PeoObjectHeader
// holds one record's fields in file order, its name and its raw parent offset. readPeoObjectHeaders reads
// every record of a file and refuses a file whose header or records cannot be trusted, with a reason that
// the caller shows.
#include <cstdint>
#include <string>
#include <vector>

#include "base/BinaryReader.h"
#include "base/Geometry.h"
#include "model/state/PeoLayout.h"

namespace tarv {

// The record's fields are those the .peo reader reads (PeoObjectRecord); `mother` is the parent link as the
// record offset stored in the file. The object import turns it into a 1-based record number (0 = none) with
// convertOffsetToKey; the repair window keeps it as it is.
struct PeoObjectHeader : peo::PeoObjectRecord {
    std::string name;
};

// The most object records an import reads: record numbers count from 0 in 16 bits.
inline constexpr int32_t kMaxImportRecords = 32768;

struct PeoObjectHeaderFile {
    int32_t version = 0;
    bool cataclysm = false;
    std::vector<PeoObjectHeader> records;  // index = record number from 0
};

// The record of the given layout at a file offset, without its name. Throws a RunTimeError when the
// record does not lie inside the file.
PeoObjectHeader readPeoObjectHeader(const BinaryReader& reader, int64_t at, bool cataclysm);

// Every object record of the file, names read at their offsets (a name without its zero byte ends at the
// end of the file). Refuses the file with a RunTimeError (62) whose description is the reason: a file
// shorter than its 68-byte header, an unknown version ("unknown PEO version " & v), an object count outside
// 1 to 32768, records that run past the end of the file, or a name offset outside the file.
PeoObjectHeaderFile readPeoObjectHeaders(const BinaryReader& reader);

}  // namespace tarv
