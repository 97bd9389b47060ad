#include "scene/Mesh.h"

#include <algorithm>
#include <cmath>

#include "base/RunTimeError.h"

namespace tarv::scene {

namespace {
double clamp01(double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); }
uint32_t toByte(double v) { return uint32_t(std::lround(clamp01(v) * 255.0)); }
}  // namespace

PackedColor createColorRGBA(double red, double green, double blue, double alpha) {
    return (toByte(alpha) << 24) | (toByte(red) << 16) | (toByte(green) << 8) | toByte(blue);
}

PackedColor colorFromRgbLong(int32_t colour) {
    const uint32_t c = uint32_t(colour);
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

Rgb clampedRgb(double red, double green, double blue) {
    return {float(clamp01(red)), float(clamp01(green)), float(clamp01(blue))};
}

// ---- Face

void Face::touched() {
    if (owner_) owner_->touched();
}

void Face::addVertex(double x, double y, double z) {
    vertices_.push_back({x, y, z});
    texCoords_.push_back({});
    touched();
}

void Face::setTextureCoordinates(int corner, double u, double v) {
    if (corner < 0 || size_t(corner) >= texCoords_.size()) throw RunTimeError::invalidCall();
    texCoords_[size_t(corner)] = {float(u), float(v)};
    touched();
}

void Face::setTexture(TexturePtr texture) {
    texture_ = std::move(texture);
    touched();
}

void Face::setMaterial(MaterialPtr material) {
    material_ = std::move(material);
    touched();
}

void Face::setColor(PackedColor colour) {
    colour_ = colour;
    touched();
}

void Face::setColorRGB(double r, double g, double b) { setColor(createColorRGB(r, g, b)); }

bool Face::hasArea() const {
    if (vertices_.size() < 3) return false;
    const Vec3& a = vertices_[0];
    for (size_t i = 1; i + 1 < vertices_.size(); ++i) {
        const Vec3 e1 = vertices_[i] - a, e2 = vertices_[i + 1] - a;
        const Vec3 n = cross(e1, e2);
        if (dot(n, n) > 1e-24 * dot(e1, e1) * dot(e2, e2)) return true;
    }
    return false;
}

// ---- MeshBuilder

MeshBuilder::~MeshBuilder() {
    for (auto& face : faces_) face->owner_ = nullptr;
}

void MeshBuilder::addFace(const FacePtr& face) {
    if (!face || face->owner_) throw RunTimeError::invalidCall();
    face->owner_ = this;
    faces_.push_back(face);
    touched();
}

void MeshBuilder::addFaces(int32_t vertexCount, std::span<const Vector3> vertices, int32_t normalCount,
                           std::span<const Vector3> normals, std::span<const int32_t> faceData) {
    // Check everything first, so that bad data adds nothing.
    if (vertexCount < 0 || size_t(vertexCount) > vertices.size() || normalCount != 0) throw RunTimeError::invalidCall();
    size_t pos = 0;
    size_t faceCount = 0;
    for (;;) {
        if (pos >= faceData.size()) throw RunTimeError::invalidCall();  // no closing 0
        const int32_t count = faceData[pos++];
        if (count == 0) break;
        if (count < 3 || size_t(count) > faceData.size() - pos) throw RunTimeError::invalidCall();
        for (int32_t k = 0; k < count; ++k) {
            const int32_t index = faceData[pos++];
            if (index < 0 || index >= vertexCount) throw RunTimeError::invalidCall();
        }
        ++faceCount;
    }
    faces_.reserve(faces_.size() + faceCount);
    pos = 0;
    while (const int32_t count = faceData[pos++]) {
        auto face = std::make_shared<Face>();
        face->vertices_.reserve(size_t(count));
        for (int32_t k = 0; k < count; ++k) {
            const Vector3& v = vertices[size_t(faceData[pos++])];
            face->vertices_.push_back({v.x, v.y, v.z});
        }
        face->texCoords_.resize(size_t(count));
        face->owner_ = this;
        faces_.push_back(std::move(face));
    }
    touched();
}

void MeshBuilder::addTriangle(const std::array<Vec3, 3>& corners, const std::array<Face::TexCoord, 3>& uv,
                              const TexturePtr& texture, const MaterialPtr& material, PackedColor colour) {
    auto face = std::make_shared<Face>();
    face->vertices_.assign(corners.begin(), corners.end());
    face->texCoords_.assign(uv.begin(), uv.end());
    face->texture_ = texture;
    face->material_ = material;
    face->colour_ = colour;
    face->owner_ = this;
    faces_.push_back(std::move(face));
    touched();
}

void MeshBuilder::setQuality(int32_t quality) {
    quality_ = quality;
    markSceneChanged();
}

void MeshBuilder::setColor(PackedColor colour) {
    for (auto& face : faces_) face->colour_ = colour;
    touched();
}

void MeshBuilder::setColorRGB(double r, double g, double b) { setColor(createColorRGB(r, g, b)); }

const Bounds& MeshBuilder::bounds() const {
    if (boundsAt_ == changes_) return bounds_;
    Bounds b;
    for (const auto& face : faces_)
        for (const Vec3& v : face->vertices()) {
            if (b.empty) {
                b.min = b.max = v;
                b.empty = false;
            }
            b.min = {std::min(b.min.x, v.x), std::min(b.min.y, v.y), std::min(b.min.z, v.z)};
            b.max = {std::max(b.max.x, v.x), std::max(b.max.y, v.y), std::max(b.max.z, v.z)};
        }
    bounds_ = b;
    boundsAt_ = changes_;
    return bounds_;
}

}  // namespace tarv::scene
