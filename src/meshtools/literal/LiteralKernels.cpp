#include "meshtools/literal/LiteralKernels.h"

#include <cmath>

namespace tarv {

namespace {

void weldMarks(std::vector<PeoVertex>& v) {
    const int u = int(v.size()) - 1;
    for (PeoVertex& vertex : v) vertex.mark = 0;
    for (int j = 0; j < u; ++j) {
        if (v[size_t(j)].mark != 0) continue;
        const PeoVertex& a = v[size_t(j)];
        for (int k = j + 1; k <= u; ++k) {
            const PeoVertex& b = v[size_t(k)];
            if (std::fabs(b.x - a.x) < kWeldTolerance && std::fabs(b.y - a.y) < kWeldTolerance &&
                std::fabs(b.z - a.z) < kWeldTolerance)
                v[size_t(k)].mark = int16_t(j + 1);
        }
    }
}

int64_t compact(PeoObject& object) {
    std::vector<PeoVertex>& v = object.vertices;
    const int u = int(v.size()) - 1;
    object.workVertices.clear();
    int n = 0;
    for (int j = 0; j <= u; ++j) {
        if (v[size_t(j)].mark != 0) continue;
        PeoVertex kept = v[size_t(j)];
        kept.mark = 0;
        object.workVertices.push_back(kept);
        for (int k = j + 1; k <= u; ++k)
            if (v[size_t(k)].mark == j + 1) v[size_t(k)].mark = int16_t(n + 1);
        v[size_t(j)].mark = int16_t(n + 1);
        ++n;
    }
    for (PeoPolygon& p : object.polygons) {
        p.v0 = v[size_t(p.v0)].mark - 1;
        p.v1 = v[size_t(p.v1)].mark - 1;
        p.v2 = v[size_t(p.v2)].mark - 1;
    }
    const int64_t dropped = int64_t(u + 1) - n;
    object.vertices.swap(object.workVertices);
    object.nVertices = n;
    return dropped;
}

std::vector<PeoPolygon> dropDuplicates(std::vector<PeoPolygon>& p, std::vector<PeoMaterial>& materials,
                                       std::vector<int64_t>& pairs) {
    std::vector<PeoPolygon> result;
    for (size_t j = 0; j < p.size(); ++j) {
        if (p[j].mark != 0) continue;
        const int32_t a = p[j].v0, b = p[j].v1, c = p[j].v2;
        for (size_t k = j + 1; k < p.size(); ++k) {
            if (p[k].mark != 0) continue;
            const int32_t x = p[k].v0, y = p[k].v1, z = p[k].v2;
            if ((x == a && y == b && z == c) || (x == b && y == c && z == a) || (x == c && y == a && z == b))
                p[k].mark = -1;
            if (p[k].mark == 0 &&
                ((x == a && y == c && z == b) || (x == b && y == a && z == c) || (x == c && y == b && z == a))) {
                p[k].mark = -1;
                materials[size_t(p[j].material)].twoSided = true;
                ++pairs[size_t(p[j].material)];
            }
        }
        result.push_back(p[j]);
    }
    return result;
}

void lodMerge(std::vector<PeoVertex>& v, float t, LodSymmetry symmetry) {
    const int u = int(v.size()) - 1;
    for (PeoVertex& vertex : v) vertex.mark = 0;
    for (int j = 0; j < u; ++j) {
        if (v[size_t(j)].mark != 0) continue;
        PeoVertex& a = v[size_t(j)];
        for (int k = j + 1; k <= u; ++k) {
            const PeoVertex& b = v[size_t(k)];
            if (!(std::fabs(b.x - a.x) < t && std::fabs(b.y - a.y) < t && std::fabs(b.z - a.z) < t)) continue;
            if (symmetry.xz && std::fabs(a.y + b.y) < kPlaneTolerance) a.y = 0;
            if (symmetry.yz && std::fabs(a.x + b.x) < kPlaneTolerance) a.x = 0;
            if (symmetry.xy && std::fabs(a.z + b.z) < kPlaneTolerance) a.z = 0;
            if ((std::fabs(b.y) >= kPlaneTolerance || std::fabs(a.y) < kPlaneTolerance) &&
                (std::fabs(b.x) >= kPlaneTolerance || std::fabs(a.x) < kPlaneTolerance))
                v[size_t(k)].mark = int16_t(j + 1);
        }
    }
}

void lodMirror(std::vector<PeoVertex>& v) {
    const size_t count = v.size();
    for (size_t m = 0; m < count; ++m) {
        if (v[m].mark == 0) continue;
        for (size_t n = 0; n < count; ++n) {
            if (v[n].mark != 0) continue;
            if (std::fabs(v[m].x - v[n].x) < 1.0f && std::fabs(v[m].y + v[n].y) < 1.0f &&
                std::fabs(v[m].z - v[n].z) < 1.0f)
                v[m].mark = 0;
        }
    }
}

bool uses(const PeoPolygon& p, int32_t v) { return p.v0 == v || p.v1 == v || p.v2 == v; }

void looseEnds(PeoObject& object, const std::vector<PeoMaterial>& materials, LooseEndCounts& counts) {
    std::vector<PeoVertex>& v = object.vertices;
    const int u = int(v.size()) - 1;
    for (int i = 0; i <= u; ++i) {
        int64_t users = 0;
        int last = -1;
        for (size_t p = 0; p < object.polygons.size(); ++p)
            if (uses(object.polygons[p], i)) {
                ++users;
                last = int(p);
            }
        if (users == 1) {
            ++counts.single;
            if (materials[size_t(object.polygons[size_t(last)].material)].twoSided) {
                ++counts.leftAlone;
                continue;
            }
            double best = 9999;
            int found = -1;
            for (int n = 0; n <= u; ++n) {
                if (n == i) continue;
                const double dx = double(v[size_t(n)].x) - double(v[size_t(i)].x);
                const double dy = double(v[size_t(n)].y) - double(v[size_t(i)].y);
                const double dz = double(v[size_t(n)].z) - double(v[size_t(i)].z);
                const double d = std::sqrt(dx * dx + dy * dy + dz * dz);
                if (d < best) {
                    best = d;
                    found = n;
                }
            }
            if (found < 0) continue;
            ++counts.fixed;
            PeoVertex& a = v[size_t(i)];
            PeoVertex& b = v[size_t(found)];
            if (std::fabs(a.x - b.x) < 1.0f && std::fabs(a.y + b.y) < 1.0f && std::fabs(a.z - b.z) < 1.0f) {
                a.y = 0;
                b.y = 0;
            } else {
                a.x = b.x;
                a.y = b.y;
                a.z = b.z;
            }
        } else if (users == 0) {
            v[size_t(i)].x = v[0].x;
            v[size_t(i)].y = v[0].y;
            v[size_t(i)].z = v[0].z;
            ++counts.orphans;
        }
    }
}

std::vector<int64_t> materialUse(const ShipModel& model, const std::vector<char>& skip) {
    std::vector<int64_t> use(size_t(model.materialCount()), 0);
    for (int m = 0; m < model.materialCount(); ++m)
        for (size_t i = 0; i < model.peoObjects.size(); ++i) {
            const PeoObject& object = model.peoObjects[i];
            if (object.isDeleted() || (i < skip.size() && skip[i])) continue;
            for (const PeoPolygon& p : object.polygons)
                if (p.material == m) ++use[size_t(m)];
        }
    return use;
}

EdgeMatch matchEdges(const std::vector<PeoPolygon>& polygons, const std::vector<PeoMaterial>& materials) {
    EdgeMatch r;
    const int32_t n = int32_t(polygons.size() * 3);
    std::vector<char> matched(size_t(n), 0);
    auto classify = [&](int32_t e) {
        if (materials[size_t(polygons[size_t(e / 3)].material)].twoSided)
            ++r.doubleSidedOpen;
        else
            r.open.push_back(e);
    };
    for (int32_t e = 0; e <= n - 2; ++e) {
        if (matched[size_t(e)]) continue;
        const int32_t s = edgeStart(polygons, e), t = edgeEnd(polygons, e);
        bool any = false;
        for (int32_t f = e + 1; f <= n - 1; ++f) {
            if (matched[size_t(f)]) continue;
            const int32_t fs = edgeStart(polygons, f), ft = edgeEnd(polygons, f);
            if ((s == fs && t == ft) || (s == ft && t == fs)) {
                ++r.shared;
                matched[size_t(f)] = 1;
                any = true;
            }
        }
        if (!any) classify(e);
    }
    if (n > 0 && !matched[size_t(n - 1)]) classify(n - 1);
    return r;
}

int64_t backToBack(std::vector<PeoPolygon>& p) {
    for (PeoPolygon& polygon : p) polygon.mark = 0;
    int64_t b = 0;
    for (size_t j = 0; j < p.size(); ++j) {
        if (p[j].mark != 0) continue;
        const int32_t j1 = p[j].v0, j2 = p[j].v1, j3 = p[j].v2;
        for (size_t k = j + 1; k < p.size(); ++k) {
            if (p[k].mark != 0) continue;
            const int32_t k1 = p[k].v0, k2 = p[k].v1, k3 = p[k].v2;
            if (k1 == j1 && k2 == j3 && k3 == j2) p[k].mark = -1, ++b;
            if (k1 == j2 && k2 == j1 && k3 == j3) p[k].mark = -1, ++b;
            if (k1 == j3 && k2 == j2 && k3 == j1) p[k].mark = -1, ++b;
        }
    }
    return b;
}

std::vector<PeoPolygon> mendHoles(const std::vector<PeoPolygon>& polygons, const std::vector<int32_t>& open) {
    std::vector<PeoPolygon> mends;
    const size_t s = open.size();
    auto st = [&](size_t i) { return edgeStart(polygons, open[i]); };
    auto en = [&](size_t i) { return edgeEnd(polygons, open[i]); };
    for (size_t a = 0; a < s; ++a)
        for (size_t b = a + 1; b < s; ++b)
            for (size_t c = b + 1; c < s; ++c) {
                const PeoPolygon& g = polygons[size_t(open[a] / 3)];
                const int32_t sG = st(a), eG = en(a), sH = st(b), eH = en(b), sK = st(c), eK = en(c);
                if (sG == sH && ((sK == eG && eK == eH) || (eK == eG && sK == eH))) mends.push_back(mendPatch(g, sG, eG, eH));
                if (sG == eH && ((sK == eG && eK == sH) || (eK == eG && sK == sH))) mends.push_back(mendPatch(g, sG, eG, sH));
                if (eG == eH && ((sG == eK && sK == sH) || (sK == sG && eK == sH))) mends.push_back(mendPatch(g, sG, eG, sH));
                if (eG == sH && ((sG == eK && sK == eH) || (sK == sG && eK == eH))) mends.push_back(mendPatch(g, sG, eG, eH));
            }
    return mends;
}

}  // namespace

const MeshKernels& literalMeshKernels() {
    static const MeshKernels kernels{weldMarks,  compact,   dropDuplicates, lodMerge,   lodMirror,
                                     looseEnds, materialUse, matchEdges,   backToBack, mendHoles};
    return kernels;
}

}  // namespace tarv
