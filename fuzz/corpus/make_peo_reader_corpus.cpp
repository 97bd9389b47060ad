// Writes the small seed corpus of fuzz_peo_reader into fuzz/corpus/peo_reader/ (or the folder given as the
// one argument), from the .peo fixtures the reader tests lay out byte by byte. Built with the tests, run by hand:
//   build/fuzz/make_peo_reader_corpus [folder]
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "PeoFixture.h"

using namespace tarv::test;
namespace fs = std::filesystem;

namespace {

FxMaterial material(const std::string& texture, int16_t flags = 0) {
    FxMaterial m;
    m.texture = texture;
    m.flags = flags;
    m.ambient = {1, 2, 3, 0};
    m.diffuse = {4, 5, 6, 0};
    m.specular = {7, 8, 9, 0};
    return m;
}

FxFile twoObjectHomeworld() {
    FxFile f;
    f.publicMaterials = {material("hulltex")};
    f.objects = {squareObject("Hull"), squareObject("Gun", 2, 3)};
    f.objects[1].vertices.push_back({1, 1, 2.5f, 0});  // counts unlike the hull's: no sharing question
    f.objects[0].daughter = 180;
    f.objects[1].mother = 68;
    return f;
}

bool save(const fs::path& folder, const std::string& name, const FxFile& f) {
    const std::vector<uint8_t> bytes = buildPeo(f).data();
    std::ofstream out(folder / name, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out) std::fprintf(stderr, "cannot write %s\n", (folder / name).string().c_str());
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::fprintf(stderr, "usage: %s [folder]\n", argv[0]);
        return 2;
    }
    const fs::path folder = argc == 2 ? fs::path(argv[1]) : fs::path(TARV_PEO_CORPUS_DIR);
    std::error_code ec;
    fs::create_directories(folder, ec);
    bool ok = true;

    ok &= save(folder, "homeworld_two_objects.peo", twoObjectHomeworld());

    FxFile c;
    c.version = 0x500;
    c.publicMaterials = {material("", 72), material("hulltex", int16_t(0x8000 + 2))};
    c.objects = {squareObject("A"), squareObject("B", 1), squareObject("C")};
    c.objects[2].listsOf = 0;
    c.objects[1].mother = 68;
    c.objects[2].mother = 184;
    ok &= save(folder, "cataclysm_shared.peo", c);

    FxFile s = twoObjectHomeworld();
    s.scrambled = true;
    s.localMaterials = {material("local")};
    s.publicMaterials.clear();
    ok &= save(folder, "scrambled_local_materials.peo", s);

    FxFile p;
    p.objects = {squareObject("Bad")};
    p.objects[0].polygons = {{5, 5, 7}, {0, 2, 0}, {-1, 1, 9}, {0, 1, 2}};
    ok &= save(folder, "damaged_polygons.peo", p);

    FxFile u;
    u.version = 0x401;
    u.identifier = "Vantu's";
    u.publicMaterials = {material("")};
    u.objects = {squareObject("X")};
    ok &= save(folder, "unknown_version.peo", u);

    return ok ? 0 : 1;
}
