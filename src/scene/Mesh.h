#pragma once
// What the scene draws: faces gathered in mesh builders, with their colours, materials and textures, and
// the point lights that light them. All are shared handles: whoever holds one keeps it alive.
#include <algorithm>
#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "base/Image.h"
#include "base/Geometry.h"
#include "scene/SceneChanges.h"
#include "scene/SceneMath.h"

namespace tarv::scene {

class Face;
class MeshBuilder;
class Material;
class Texture;
class Light;
using FacePtr = std::shared_ptr<Face>;
using MeshPtr = std::shared_ptr<MeshBuilder>;
using MaterialPtr = std::shared_ptr<Material>;
using TexturePtr = std::shared_ptr<Texture>;
using LightPtr = std::shared_ptr<Light>;

// A packed colour: alpha, red, green, blue in the bytes from the top down.
using PackedColor = uint32_t;
// The packed colour of components from 0 to 1 (clamped), rounded to bytes.
PackedColor createColorRGBA(double red, double green, double blue, double alpha = 1.0);
inline PackedColor createColorRGB(double red, double green, double blue) {
    return createColorRGBA(red, green, blue, 1.0);
}
// The colour as red + 256 x green + 65536 x blue (components 0..255), the way the background is given.
PackedColor colorFromRgbLong(int32_t colour);
inline uint8_t redOf(PackedColor c) { return uint8_t(c >> 16); }
inline uint8_t greenOf(PackedColor c) { return uint8_t(c >> 8); }
inline uint8_t blueOf(PackedColor c) { return uint8_t(c); }
inline constexpr PackedColor kWhite = 0xFFFFFFFFu;

struct Rgb {
    float r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};
Rgb clampedRgb(double red, double green, double blue);

// Render qualities: fill (64 wireframe, 128 solid), lighting (+8), flat shading.
enum : int32_t { kQualityWireframe = 64, kQualitySolid = 128, kQualityLit = 8 };

class Material {
public:
    explicit Material(double power) : power_(power) {}
    void setAmbient(double r, double g, double b) {
        markSceneChanged();
        ambient_ = clampedRgb(r, g, b);
    }
    void setSpecular(double r, double g, double b) {
        markSceneChanged();
        specular_ = clampedRgb(r, g, b);
    }
    void setEmissive(double r, double g, double b) {
        markSceneChanged();
        emissive_ = clampedRgb(r, g, b);
    }
    double power() const { return power_; }
    Rgb ambient() const { return ambient_; }
    Rgb specular() const { return specular_; }
    Rgb emissive() const { return emissive_; }

private:
    double power_ = 0;
    Rgb ambient_, specular_, emissive_;
};

// A picture for faces; made from an Image, never read from a file here.
class Texture {
public:
    explicit Texture(Image image) : image_(std::move(image)) {}
    const Image& image() const { return image_; }

private:
    Image image_;
};

// A point light: it shines from the origin of the frame that carries it, with no fall-off.
class Light {
public:
    explicit Light(Rgb colour) : colour_(colour) {}
    Rgb colour() const { return colour_; }
    void setColorRGB(double r, double g, double b) {
        markSceneChanged();
        colour_ = clampedRgb(r, g, b);
    }

private:
    Rgb colour_;
};

struct TexCoord {
    float u = 0, v = 0;
};

// A read-only run of a face's corners or texture coordinates; it compares equal to a vector of the same items.
template <class T>
class FlatSpan : public std::span<const T> {
public:
    using std::span<const T>::span;
    FlatSpan(std::span<const T> items) : std::span<const T>(items) {}
    friend bool operator==(const FlatSpan& a, const std::vector<T>& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin());
    }
};

// One polygon of three or more corners. The side into which (v1 - v0) x (v2 - v0) points is its front.
// A face made by createFace keeps its corners itself until it is added to a mesh; from then on it is a view of
// its place in the mesh's flat arrays, and what it is told changes the mesh.
class Face {
public:
    using TexCoord = scene::TexCoord;

    void addVertex(double x, double y, double z);
    void setTextureCoordinates(int corner, double u, double v);  // a corner that does not exist throws
    void setTexture(TexturePtr texture);
    void setMaterial(MaterialPtr material);
    void setColor(PackedColor colour);
    void setColorRGB(double r, double g, double b);

    FlatSpan<Vec3> vertices() const;
    FlatSpan<TexCoord> textureCoordinates() const;
    const TexturePtr& texture() const;
    const MaterialPtr& material() const;
    PackedColor color() const;
    // Whether (v1 - v0) x (v2 - v0) of some fan triangle has a length: faces without area are lines.
    bool hasArea() const;

private:
    friend class MeshBuilder;
    void touched();
    // Held here only while the face belongs to no mesh.
    std::vector<Vec3> vertices_;
    std::vector<TexCoord> texCoords_;
    TexturePtr texture_;
    MaterialPtr material_;
    PackedColor colour_ = kWhite;
    MeshBuilder* owner_ = nullptr;  // the mesh the face was added to
    size_t index_ = 0;              // its place in that mesh
};

// Whether (v1 - v0) x (v2 - v0) of some fan triangle of these corners has a length.
bool cornersHaveArea(std::span<const Vec3> corners);

struct Bounds {
    Vec3 min, max;
    bool empty = true;
};

// The texture and material that faces share; a mesh numbers each pair it holds (0: neither).
struct FaceLook {
    TexturePtr texture;
    MaterialPtr material;
};

// A mesh keeps its faces in flat arrays: every face's corners one after another (with their texture
// coordinates), where each face starts, and per face its colour and the number of its look.
class MeshBuilder {
public:
    MeshBuilder();
    MeshBuilder(const MeshBuilder&) = delete;
    MeshBuilder& operator=(const MeshBuilder&) = delete;
    ~MeshBuilder();

    // Appends the face (a face belongs to one mesh; adding it again, or to a second mesh, throws).
    void addFace(const FacePtr& face);
    // Appends faces over new vertices. Face data: per face its corner count (3 or more) and that many 0-based
    // vertex indices, ended by a 0. Nothing is added when the data is bad: an index outside the vertices,
    // a count below 3, data without the closing 0 or counts that disagree with the lists throw.
    void addFaces(int32_t vertexCount, std::span<const Vector3> vertices, int32_t normalCount,
                  std::span<const Vector3> normals, std::span<const int32_t> faceData);
    // Room for this many faces in all (of three corners each), so that a mesh filled face by face grows once.
    void reserveFaces(size_t count);
    // Appends a triangle made here, as a face made with createFace, given its three corners with their
    // texture coordinates, its look and its colour, would be added.
    void addTriangle(const std::array<Vec3, 3>& corners, const std::array<TexCoord, 3>& uv,
                     const TexturePtr& texture, const MaterialPtr& material, PackedColor colour);
    // Appends a polygon of any number of corners with texture coordinates (0, 0), as a face made with
    // createFace and given these corners, look and colour would be added.
    void addPolygon(std::span<const Vec3> corners, const TexturePtr& texture, const MaterialPtr& material,
                    PackedColor colour);
    void setQuality(int32_t quality);
    // Colour every face the mesh holds now; faces added later keep their own colour.
    void setColor(PackedColor colour);
    void setColorRGB(double r, double g, double b);

    int32_t quality() const { return quality_; }
    bool wireframe() const { return (quality_ & 0xC0) == kQualityWireframe; }
    bool lit() const { return (quality_ & kQualityLit) != 0; }

    // The flat arrays. Face f has the corners positions()[faceStarts()[f]] up to positions()[faceStarts()[f + 1]].
    size_t faceCount() const { return colours_.size(); }
    std::span<const Vec3> positions() const { return positions_; }
    std::span<const TexCoord> texCoords() const { return texCoords_; }
    std::span<const uint32_t> faceStarts() const { return starts_; }
    std::span<const PackedColor> faceColours() const { return colours_; }
    std::span<const uint32_t> faceLooks() const { return faceLooks_; }
    std::span<const FaceLook> looks() const { return looks_; }
    std::span<const Vec3> corners(size_t face) const {
        return std::span<const Vec3>(positions_).subspan(starts_[face], starts_[face + 1] - starts_[face]);
    }

    // The faces one by one, as Face views of the flat arrays, made when first asked for.
    const std::vector<FacePtr>& faces() const;
    // One face's view.
    const FacePtr& face(size_t index) const;
    // Counts every change of the faces the mesh holds, so drawing rebuilds its buffers only after a change.
    uint64_t changeCount() const { return changes_; }
    // Bounding box of every corner, kept up to date with the change counter.
    const Bounds& bounds() const;

private:
    friend class Face;
    void touched() {
        ++changes_;
        markSceneChanged();
    }
    uint32_t lookIndex(const TexturePtr& texture, const MaterialPtr& material);
    void appendFace(std::span<const Vec3> corners, std::span<const TexCoord> uv, uint32_t look, PackedColor colour);
    void insertCorner(size_t face, const Vec3& corner);
    std::vector<Vec3> positions_;
    std::vector<TexCoord> texCoords_;
    std::vector<uint32_t> starts_;  // face count + 1 entries
    std::vector<PackedColor> colours_;
    std::vector<uint32_t> faceLooks_;
    std::vector<FaceLook> looks_;
    uint32_t lastLook_ = 0;
    mutable std::vector<FacePtr> views_;  // Face views handed out, by face number; empty ones not made yet
    int32_t quality_ = kQualitySolid | kQualityLit;
    uint64_t changes_ = 1;
    mutable Bounds bounds_;
    mutable uint64_t boundsAt_ = 0;
};

}  // namespace tarv::scene
