// Feeds arbitrary bytes to the .peo parse: it must end every input in a refusal or in contents whose
// counts and lists agree, never in a crash, a hang or a huge allocation.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "base/BinaryReader.h"
#include "base/RunTimeError.h"
#include "model/PeoReader.h"

namespace {

void parseWith(const std::vector<uint8_t>& bytes, int32_t previousVersion) {
    try {
        const tarv::PeoFileContents contents =
            tarv::parsePeoFile(tarv::BinaryReader(bytes, "ship.peo"), previousVersion);
        // Accepted contents are whole: every object with all its lists, each as long as its count.
        if (!contents.header || !contents.objectsFit || int(contents.objects.size()) != contents.objectCount)
            std::abort();
        for (const tarv::PeoObjectContents& o : contents.objects) {
            if (!o.vertices || !o.faceNormals || !o.vertexNormals || !o.polygons) std::abort();
            if (o.record.nPolygons >= 0 && o.polygons->size() != size_t(o.record.nPolygons)) std::abort();
            if (o.record.nVertices > 0 && o.vertices->size() != size_t(o.record.nVertices)) std::abort();
        }
        const tarv::PeoMaterialList& m = contents.materials;
        if (!m.fault && m.textureNames.size() != m.entries.size()) std::abort();
    } catch (const tarv::RunTimeError&) {
        // A damaged file: a clear refusal.
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    // A file of an unknown version is read with the previous file's layout: each of the two.
    parseWith(bytes, tarv::kPeoVersionHomeworld);
    parseWith(bytes, tarv::kPeoVersionCataclysm);
    return 0;
}
