#include "scene/MeshVertices.h"

#include <algorithm>
#include <cmath>

namespace tarv::scene {

namespace {

uint8_t byteOf(float v) { return uint8_t(std::lround(std::clamp(v, 0.f, 1.f) * 255.f)); }

}  // namespace

MeshVertices buildMeshVertices(const MeshBuilder& mesh) {
    std::vector<std::vector<MeshVertex>> groups(1);
    std::vector<TexturePtr> groupTextures{nullptr};
    for (const FacePtr& face : mesh.faces()) {
        const auto& vs = face->vertices();
        if (vs.size() < 3) continue;
        const Texture* tex = face->texture().get();
        size_t g = 0;
        while (g < groupTextures.size() && groupTextures[g].get() != tex) ++g;
        if (g == groupTextures.size()) {
            groupTextures.push_back(face->texture());
            groups.emplace_back();
        }
        const PackedColor c = face->color();
        const Rgb e = face->material() ? face->material()->emissive() : Rgb{};
        const auto& uv = face->textureCoordinates();
        const size_t n = vs.size();
        for (size_t k = 0; k + 2 < n; ++k) {
            const uint8_t edges = uint8_t((k == 0 ? 1 : 0) | 2 | (k + 2 == n - 1 ? 4 : 0));
            const Vec3 normal = cross(vs[k + 1] - vs[0], vs[k + 2] - vs[0]);
            for (size_t idx : {size_t(0), k + 1, k + 2}) {
                MeshVertex mv{};
                mv.pos[0] = float(vs[idx].x);
                mv.pos[1] = float(vs[idx].y);
                mv.pos[2] = float(vs[idx].z);
                mv.uv[0] = uv[idx].u;
                mv.uv[1] = uv[idx].v;
                mv.colour[0] = redOf(c);
                mv.colour[1] = greenOf(c);
                mv.colour[2] = blueOf(c);
                mv.colour[3] = 255;
                mv.emissive[0] = byteOf(e.r);
                mv.emissive[1] = byteOf(e.g);
                mv.emissive[2] = byteOf(e.b);
                mv.flags[0] = edges;
                mv.flags[1] = tex ? 1 : 0;
                mv.normal[0] = float(normal.x);
                mv.normal[1] = float(normal.y);
                mv.normal[2] = float(normal.z);
                groups[g].push_back(mv);
            }
        }
    }
    MeshVertices out;
    for (size_t g = 0; g < groups.size(); ++g) {
        if (groups[g].empty()) continue;
        out.ranges.push_back({groupTextures[g], out.vertices.size(), groups[g].size()});
        out.vertices.insert(out.vertices.end(), groups[g].begin(), groups[g].end());
    }
    return out;
}

}  // namespace tarv::scene
