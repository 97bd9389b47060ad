#include "scene/MeshVertices.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tarv::scene {

namespace {

uint8_t byteOf(float v) { return uint8_t(std::lround(std::clamp(v, 0.f, 1.f) * 255.f)); }

}  // namespace

MeshVertices buildMeshVertices(const MeshBuilder& mesh) {
    // Each look goes to the run of its texture: untextured first, then textures in the order faces use them.
    const std::span<const FaceLook> looks = mesh.looks();
    const std::span<const uint32_t> starts = mesh.faceStarts();
    const std::span<const uint32_t> faceLooks = mesh.faceLooks();
    const std::span<const PackedColor> colours = mesh.faceColours();
    const std::span<const Vec3> positions = mesh.positions();
    const std::span<const TexCoord> texCoords = mesh.texCoords();
    const size_t faceCount = mesh.faceCount();
    constexpr uint32_t kNoGroup = ~0u;
    std::vector<uint32_t> groupOfLook(looks.size(), kNoGroup);
    std::vector<TexturePtr> groupTextures{nullptr};
    std::vector<size_t> groupSizes{0};
    for (size_t f = 0; f < faceCount; ++f) {
        const size_t n = starts[f + 1] - starts[f];
        if (n < 3) continue;
        uint32_t& g = groupOfLook[faceLooks[f]];
        if (g == kNoGroup) {
            const TexturePtr& tex = looks[faceLooks[f]].texture;
            size_t k = 0;
            while (k < groupTextures.size() && groupTextures[k] != tex) ++k;
            if (k == groupTextures.size()) {
                groupTextures.push_back(tex);
                groupSizes.push_back(0);
            }
            g = uint32_t(k);
        }
        groupSizes[g] += 3 * (n - 2);
    }
    // The emissive bytes of each look, worked out once.
    std::vector<std::array<uint8_t, 3>> emissive(looks.size());
    for (size_t l = 0; l < looks.size(); ++l) {
        const Rgb e = looks[l].material ? looks[l].material->emissive() : Rgb{};
        emissive[l] = {byteOf(e.r), byteOf(e.g), byteOf(e.b)};
    }

    MeshVertices out;
    std::vector<size_t> next(groupSizes.size());
    size_t total = 0;
    for (size_t g = 0; g < groupSizes.size(); ++g) {
        next[g] = total;
        if (groupSizes[g] > 0) out.ranges.push_back({groupTextures[g], total, groupSizes[g]});
        total += groupSizes[g];
    }
    out.vertices.resize(total);
    MeshVertex* const vertices = out.vertices.data();
    for (size_t f = 0; f < faceCount; ++f) {
        const size_t first = starts[f], n = starts[f + 1] - first;
        if (n < 3) continue;
        const uint32_t look = faceLooks[f];
        const Vec3* vs = positions.data() + first;
        const TexCoord* uv = texCoords.data() + first;
        const PackedColor c = colours[f];
        const std::array<uint8_t, 3>& e = emissive[look];
        const uint8_t textured = looks[look].texture ? 1 : 0;
        size_t& at = next[groupOfLook[look]];
        for (size_t k = 0; k + 2 < n; ++k) {
            const uint8_t edges = uint8_t((k == 0 ? 1 : 0) | 2 | (k + 2 == n - 1 ? 4 : 0));
            const Vec3 normal = cross(vs[k + 1] - vs[0], vs[k + 2] - vs[0]);
            for (size_t idx : {size_t(0), k + 1, k + 2}) {
                MeshVertex& mv = vertices[at++];
                mv.pos[0] = float(vs[idx].x);
                mv.pos[1] = float(vs[idx].y);
                mv.pos[2] = float(vs[idx].z);
                mv.uv[0] = uv[idx].u;
                mv.uv[1] = uv[idx].v;
                mv.colour[0] = redOf(c);
                mv.colour[1] = greenOf(c);
                mv.colour[2] = blueOf(c);
                mv.colour[3] = 255;
                mv.emissive[0] = e[0];
                mv.emissive[1] = e[1];
                mv.emissive[2] = e[2];
                mv.emissive[3] = 0;
                mv.flags[0] = edges;
                mv.flags[1] = textured;
                mv.flags[2] = 0;
                mv.flags[3] = 0;
                mv.normal[0] = float(normal.x);
                mv.normal[1] = float(normal.y);
                mv.normal[2] = float(normal.z);
            }
        }
    }
    return out;
}

}  // namespace tarv::scene
