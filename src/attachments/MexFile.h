#pragma once
// The .mex file of a ship's chunks, Homeworld (version 258) or Cataclysm (262): reading it into the chunk
// table, the chunk tree and the markers, and writing the table back.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/BinaryReader.h"
#include "attachments/state/MexChunkTable.h"

namespace tarv {

class EditingContext;

inline constexpr int16_t kMexVersionHomeworld = 258;
inline constexpr int16_t kMexVersionCataclysm = 262;

// One chunk record of a file as read: its tag, ID and body size as written, the type its tag names
// (none for an unknown tag), and the fields of its body.
struct MexRecord {
    std::string tag;
    std::string id;
    int32_t bodySize = 0;
    const MexChunkType* type = nullptr;
    MexChunk chunk;  // body fields; a nav light's colour bytes in colour
};

struct MexFileContents {
    int16_t version = 0;
    int16_t count = 0;  // as written; 0 or less means no chunks
    std::vector<MexRecord> records;
    bool cataclysm() const { return version == kMexVersionCataclysm; }
};

// Parses a whole file and checks it against its length; changes nothing. A file that ends early, or an
// unknown tag whose body size is negative or runs past the end, is refused with a RunTimeError that names
// the chunk and the fault.
MexFileContents parseMexFile(const BinaryReader& file);

// Reads the .mex at fileName into the chunk table, the chunk tree (which the caller has set to its
// skeleton) and the markers, logs it, and runs the checks against the ship definition. A damaged file is
// reported through the error report and leaves the table empty.
void getMexInfo(EditingContext& ctx, const std::string& fileName);

// The byte image of the chunk table in tree order, and what does not fit the file's fields.
struct MexImage {
    std::vector<uint8_t> bytes;
    int32_t records = 0;
    std::vector<std::string> misfits;  // one line per chunk ID or point name that is too long
};
MexImage buildMexImage(EditingContext& ctx, bool isCataclysm);

// Writes the chunk table as a .mex at fileName (version 262 when isCataclysm, else 258). With no chunks it
// writes nothing and leaves the file alone. A chunk ID or point name too long for its field refuses the
// save with one message listing them all; the old file then stays as it was. Returns whether the file is
// as the table says (true with no chunks); false after a refusal or an error.
bool exportMex(EditingContext& ctx, const std::string& fileName, bool isCataclysm);
// The bytes exportMex would write, with its log lines, into bytes (left empty with no chunks). False, after
// the same message, when an entry does not fit its field. Throws a RunTimeError on other faults.
bool buildMexForSave(EditingContext& ctx, bool isCataclysm, std::optional<std::vector<uint8_t>>& bytes);

}  // namespace tarv
