#include "model/PeoObjectHeader.h"

#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "model/state/PeoLayout.h"
#include "model/state/ShipModel.h"

namespace tarv {

namespace {
[[noreturn]] void refuse(const std::string& reason) { throw RunTimeError::badFile(reason); }
}  // namespace

PeoObjectHeader readPeoObjectHeader(const BinaryReader& reader, int64_t at, bool cataclysm) {
    PeoObjectHeader h;
    static_cast<peo::PeoObjectRecord&>(h) = peo::readObjectRecord(reader, at, cataclysm);
    return h;
}

PeoObjectHeaderFile readPeoObjectHeaders(const BinaryReader& reader) {
    if (reader.size() < peo::kHeaderSize) refuse("the file is shorter than its 68-byte header");
    const peo::PeoHeader header = peo::readHeader(reader);
    if (header.version != kPeoVersionHomeworld && header.version != kPeoVersionCataclysm)
        refuse("unknown PEO version " + intText(int64_t(header.version)));
    PeoObjectHeaderFile file;
    file.version = header.version;
    file.cataclysm = header.version == kPeoVersionCataclysm;
    const int64_t count = header.objectCount;
    if (count < 1) refuse("it holds no objects");
    if (count > kMaxImportRecords)
        refuse("it claims " + intText(count) + " objects (at most " + intText(int64_t(kMaxImportRecords)) + ")");
    const int64_t recordSize = peo::recordLayout(file.cataclysm).size;
    if (peo::kHeaderSize + count * recordSize > reader.size())
        refuse("its object records run past the end of the file");
    file.records.reserve(size_t(count));
    for (int64_t i = 0; i < count; ++i) {
        PeoObjectHeader h = readPeoObjectHeader(reader, peo::kHeaderSize + i * recordSize, file.cataclysm);
        if (h.nameOffset < 0 || h.nameOffset >= reader.size())
            refuse("the name of object " + intText(i) + " lies outside the file");
        h.name = reader.zeroTerminated(h.nameOffset, "object name");
        file.records.push_back(std::move(h));
    }
    return file;
}

}  // namespace tarv
