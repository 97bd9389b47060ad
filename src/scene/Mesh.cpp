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
    if (owner_) {
        owner_->insertCorner(index_, {x, y, z});
    } else {
        vertices_.push_back({x, y, z});
        texCoords_.push_back({});
    }
    touched();
}

void Face::setTextureCoordinates(int corner, double u, double v) {
    std::span<TexCoord> uv = texCoords_;
    if (owner_) {
        const auto& starts = owner_->starts_;
        uv = std::span<TexCoord>(owner_->texCoords_).subspan(starts[index_], starts[index_ + 1] - starts[index_]);
    }
    if (corner < 0 || size_t(corner) >= uv.size()) throw RunTimeError::invalidCall();
    uv[size_t(corner)] = {float(u), float(v)};
    touched();
}

void Face::setTexture(TexturePtr texture) {
    if (owner_) {
        auto& looks = owner_->faceLooks_;
        looks[index_] = owner_->lookIndex(texture, owner_->looks_[looks[index_]].material);
    } else {
        texture_ = std::move(texture);
    }
    touched();
}

void Face::setMaterial(MaterialPtr material) {
    if (owner_) {
        auto& looks = owner_->faceLooks_;
        looks[index_] = owner_->lookIndex(owner_->looks_[looks[index_]].texture, material);
    } else {
        material_ = std::move(material);
    }
    touched();
}

void Face::setColor(PackedColor colour) {
    if (owner_)
        owner_->colours_[index_] = colour;
    else
        colour_ = colour;
    touched();
}

void Face::setColorRGB(double r, double g, double b) { setColor(createColorRGB(r, g, b)); }

FlatSpan<Vec3> Face::vertices() const { return owner_ ? owner_->corners(index_) : std::span<const Vec3>(vertices_); }

FlatSpan<TexCoord> Face::textureCoordinates() const {
    if (!owner_) return std::span<const TexCoord>(texCoords_);
    const auto& starts = owner_->starts_;
    return std::span<const TexCoord>(owner_->texCoords_).subspan(starts[index_], starts[index_ + 1] - starts[index_]);
}

const TexturePtr& Face::texture() const { return owner_ ? owner_->looks_[owner_->faceLooks_[index_]].texture : texture_; }

const MaterialPtr& Face::material() const {
    return owner_ ? owner_->looks_[owner_->faceLooks_[index_]].material : material_;
}

PackedColor Face::color() const { return owner_ ? owner_->colours_[index_] : colour_; }

bool Face::hasArea() const { return cornersHaveArea(vertices()); }

bool cornersHaveArea(std::span<const Vec3> corners) {
    if (corners.size() < 3) return false;
    const Vec3& a = corners[0];
    for (size_t i = 1; i + 1 < corners.size(); ++i) {
        const Vec3 e1 = corners[i] - a, e2 = corners[i + 1] - a;
        const Vec3 n = cross(e1, e2);
        if (dot(n, n) > 1e-24 * dot(e1, e1) * dot(e2, e2)) return true;
    }
    return false;
}

// ---- MeshBuilder

MeshBuilder::MeshBuilder() : starts_{0}, looks_(1) {}

MeshBuilder::~MeshBuilder() {
    // Faces still held elsewhere take their data back and belong to no mesh again.
    for (size_t i = 0; i < views_.size(); ++i) {
        Face* face = views_[i].get();
        if (!face || views_[i].use_count() == 1) continue;
        const FlatSpan<Vec3> vs = face->vertices();
        const FlatSpan<TexCoord> uv = face->textureCoordinates();
        Face copy;
        copy.vertices_.assign(vs.begin(), vs.end());
        copy.texCoords_.assign(uv.begin(), uv.end());
        copy.texture_ = face->texture();
        copy.material_ = face->material();
        copy.colour_ = face->color();
        *face = std::move(copy);
    }
}

uint32_t MeshBuilder::lookIndex(const TexturePtr& texture, const MaterialPtr& material) {
    const auto same = [&](const FaceLook& l) { return l.texture == texture && l.material == material; };
    if (same(looks_[lastLook_])) return lastLook_;
    for (size_t i = 0; i < looks_.size(); ++i)
        if (same(looks_[i])) return lastLook_ = uint32_t(i);
    looks_.push_back({texture, material});
    return lastLook_ = uint32_t(looks_.size() - 1);
}

void MeshBuilder::appendFace(std::span<const Vec3> corners, std::span<const TexCoord> uv, uint32_t look,
                             PackedColor colour) {
    positions_.insert(positions_.end(), corners.begin(), corners.end());
    if (uv.empty())
        texCoords_.resize(positions_.size());
    else
        texCoords_.insert(texCoords_.end(), uv.begin(), uv.end());
    starts_.push_back(uint32_t(positions_.size()));
    colours_.push_back(colour);
    faceLooks_.push_back(look);
}

void MeshBuilder::insertCorner(size_t face, const Vec3& corner) {
    const uint32_t at = starts_[face + 1];
    positions_.insert(positions_.begin() + at, corner);
    texCoords_.insert(texCoords_.begin() + at, TexCoord{});
    for (size_t f = face + 1; f < starts_.size(); ++f) ++starts_[f];
}

void MeshBuilder::reserveFaces(size_t count) {
    positions_.reserve(3 * count);
    texCoords_.reserve(3 * count);
    starts_.reserve(count + 1);
    colours_.reserve(count);
    faceLooks_.reserve(count);
}

void MeshBuilder::addFace(const FacePtr& face) {
    if (!face || face->owner_) throw RunTimeError::invalidCall();
    appendFace(face->vertices_, face->texCoords_, lookIndex(face->texture_, face->material_), face->colour_);
    face->vertices_ = {};
    face->texCoords_ = {};
    face->texture_ = nullptr;
    face->material_ = nullptr;
    face->owner_ = this;
    face->index_ = faceCount() - 1;
    views_.resize(faceCount());
    views_.back() = face;
    touched();
}

void MeshBuilder::addFaces(int32_t vertexCount, std::span<const Vector3> vertices, int32_t normalCount,
                           std::span<const Vector3> normals, std::span<const int32_t> faceData) {
    // Check everything first, so that bad data adds nothing.
    if (vertexCount < 0 || size_t(vertexCount) > vertices.size() || normalCount != 0) throw RunTimeError::invalidCall();
    size_t pos = 0;
    size_t faceCount = 0, cornerCount = 0;
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
        cornerCount += size_t(count);
    }
    (void)normals;
    positions_.reserve(positions_.size() + cornerCount);
    texCoords_.resize(texCoords_.size() + cornerCount);
    starts_.reserve(starts_.size() + faceCount);
    colours_.resize(colours_.size() + faceCount, kWhite);
    faceLooks_.resize(faceLooks_.size() + faceCount, 0);
    pos = 0;
    while (const int32_t count = faceData[pos++]) {
        for (int32_t k = 0; k < count; ++k) {
            const Vector3& v = vertices[size_t(faceData[pos++])];
            positions_.push_back({v.x, v.y, v.z});
        }
        starts_.push_back(uint32_t(positions_.size()));
    }
    touched();
}

void MeshBuilder::addTriangle(const std::array<Vec3, 3>& corners, const std::array<TexCoord, 3>& uv,
                              const TexturePtr& texture, const MaterialPtr& material, PackedColor colour) {
    appendFace(corners, uv, lookIndex(texture, material), colour);
    touched();
}

void MeshBuilder::addPolygon(std::span<const Vec3> corners, const TexturePtr& texture, const MaterialPtr& material,
                             PackedColor colour) {
    appendFace(corners, {}, lookIndex(texture, material), colour);
    touched();
}

void MeshBuilder::setQuality(int32_t quality) {
    quality_ = quality;
    markSceneChanged();
}

void MeshBuilder::setColor(PackedColor colour) {
    std::fill(colours_.begin(), colours_.end(), colour);
    touched();
}

void MeshBuilder::setColorRGB(double r, double g, double b) { setColor(createColorRGB(r, g, b)); }

const FacePtr& MeshBuilder::face(size_t index) const {
    if (index >= faceCount()) throw RunTimeError::invalidCall();
    if (views_.size() < faceCount()) views_.resize(faceCount());
    FacePtr& view = views_[index];
    if (!view) {
        view = std::make_shared<Face>();
        view->owner_ = const_cast<MeshBuilder*>(this);
        view->index_ = index;
    }
    return view;
}

const std::vector<FacePtr>& MeshBuilder::faces() const {
    for (size_t i = 0; i < faceCount(); ++i) face(i);
    return views_;
}

const Bounds& MeshBuilder::bounds() const {
    if (boundsAt_ == changes_) return bounds_;
    Bounds b;
    if (!positions_.empty()) {
        b.min = b.max = positions_.front();
        b.empty = false;
    }
    for (const Vec3& v : positions_) {
        b.min = {std::min(b.min.x, v.x), std::min(b.min.y, v.y), std::min(b.min.z, v.z)};
        b.max = {std::max(b.max.x, v.x), std::max(b.max.y, v.y), std::max(b.max.z, v.z)};
    }
    bounds_ = b;
    boundsAt_ = changes_;
    return bounds_;
}

}  // namespace tarv::scene
