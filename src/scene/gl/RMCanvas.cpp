#include "scene/gl/RMCanvas.h"

#include <QMouseEvent>
#include <QOffscreenSurface>
#include <QOpenGLContext>
#include <QOpenGLExtraFunctions>
#include <QOpenGLShaderProgram>
#include <QScreen>
#include <QTimer>
#include <QSurfaceFormat>
#include <cmath>
#include <cstring>
#include <utility>
#include <unordered_map>

#include "scene/MeshVertices.h"

namespace tarv::scene {

namespace {

QSurfaceFormat canvasFormat() {
    QSurfaceFormat f = QSurfaceFormat::defaultFormat();
    f.setVersion(3, 3);
    f.setProfile(QSurfaceFormat::CoreProfile);
    f.setDepthBufferSize(24);
    return f;
}

constexpr int kMaxLights = 8;

const char* kVertexShader = R"(#version 330 core
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec4 aColour;
layout(location = 3) in vec4 aEmissive;
layout(location = 4) in uvec4 aFlags;
uniform mat4 uModel;
out VertexData { vec3 world; vec2 uv; vec3 colour; vec3 emissive; flat uvec2 flags; } v;
void main() {
    vec4 w = uModel * vec4(aPos, 1.0);
    v.world = w.xyz; v.uv = aUv; v.colour = aColour.rgb; v.emissive = aEmissive.rgb; v.flags = aFlags.xy;
    gl_Position = w;
}
)";

// Solid faces: the rasteriser culls back faces; each face is lit flat from its provoking corner.
// Two variants: TEXTURED 1 passes the texture coordinates, the light and the glow; TEXTURED 0 only the
// finished colour, which keeps the per-corner work of untextured meshes small. An unlit textured face (the
// selected object's) shows its texture half-way tinted with the face's colour.
const char* kSolidVertexShader = R"(
layout(location = 0) in vec3 aPos;
layout(location = 1) in vec2 aUv;
layout(location = 2) in vec4 aColour;
layout(location = 3) in vec4 aEmissive;
layout(location = 5) in vec3 aNormal;
uniform mat4 uModel;
uniform mat3 uNormalMatrix;
uniform mat4 uViewProjection;
uniform bool uLit;
uniform int uLightCount;
uniform vec3 uLightPos[8];
uniform vec3 uLightColour[8];
#if TEXTURED
out vec2 fUv;
flat out vec3 fLight;
flat out vec3 fEmissive;
flat out uint fTextured;
#else
flat out vec3 fColour;
#endif
void main() {
    vec4 w = uModel * vec4(aPos, 1.0);
    vec3 light = vec3(1.0);
    vec3 emissive = vec3(0.0);
    if (uLit) {
        vec3 n = normalize(uNormalMatrix * aNormal);
        light = vec3(0.0);
        for (int i = 0; i < uLightCount; ++i)
            light += max(dot(n, normalize(uLightPos[i] - w.xyz)), 0.0) * uLightColour[i];
        emissive = aEmissive.rgb;
    }
#if TEXTURED
    fTextured = 1u; fUv = aUv;
    if (uLit) { fLight = light; fEmissive = emissive; }
    else { fLight = vec3(0.5); fEmissive = 0.5 * aColour.rgb; }
#else
    fColour = min(aColour.rgb * light + emissive, vec3(1.0));
#endif
    gl_Position = uViewProjection * w;
}
)";

const char* kColourFragmentShader = R"(#version 330 core
flat in vec3 fColour;
out vec4 outColour;
void main() { outColour = vec4(fColour, 1.0); }
)";

// Wireframe: a geometry shader culls back faces, draws the polygon's own edges and shows faces without area
// as lines. Shared by both fill modes: the face's normal, whether it faces the eye, and its flat light.
const char* kGeometryCommon = R"(
in VertexData { vec3 world; vec2 uv; vec3 colour; vec3 emissive; flat uvec2 flags; } v[];
out vec2 fUv;
flat out vec3 fLight;
flat out vec3 fEmissive;
flat out uint fTextured;
uniform mat4 uViewProjection;
uniform vec3 uEye;
uniform bool uLit;
uniform int uLightCount;
uniform vec3 uLightPos[8];
uniform vec3 uLightColour[8];
vec3 e1; vec3 e2; vec3 n; bool flat0; bool front;
void faceSetUp() {
    e1 = v[1].world - v[0].world; e2 = v[2].world - v[0].world; n = cross(e1, e2);
    flat0 = dot(n, n) <= 1e-12 * dot(e1, e1) * dot(e2, e2);
    front = !flat0 && dot(n, uEye - v[0].world) > 0.0;
}
void shade(bool useLight) {
    bool textured = v[0].flags.y != 0u;
    vec3 light = vec3(1.0);
    vec3 emissive = vec3(0.0);
    if (useLight) {
        vec3 nn = normalize(n);
        vec3 centre = (v[0].world + v[1].world + v[2].world) / 3.0;
        light = vec3(0.0);
        for (int i = 0; i < uLightCount; ++i)
            light += max(dot(nn, normalize(uLightPos[i] - centre)), 0.0) * uLightColour[i];
        emissive = v[0].emissive;
    }
    fTextured = textured ? 1u : 0u;
    if (textured && !uLit) { fLight = vec3(0.5); fEmissive = 0.5 * v[0].colour; }
    else if (textured) { fLight = light; fEmissive = emissive; }
    else { fLight = min(v[0].colour * light + emissive, vec3(1.0)); fEmissive = vec3(0.0); }
}
void corner(int i) { fUv = v[i].uv; gl_Position = uViewProjection * vec4(v[i].world, 1.0); EmitVertex(); }
)";

const char* kWireGeometry = R"(#version 330 core
layout(triangles) in;
layout(line_strip, max_vertices = 6) out;
%COMMON%
void main() {
    faceSetUp();
    if (!flat0 && !front) return;
    shade(uLit && !flat0);
    uint edges = v[0].flags.x;
    if ((edges & 1u) != 0u) { corner(0); corner(1); EndPrimitive(); }
    if ((edges & 2u) != 0u) { corner(1); corner(2); EndPrimitive(); }
    if ((edges & 4u) != 0u) { corner(2); corner(0); EndPrimitive(); }
}
)";

const char* kFragmentShader = R"(#version 330 core
in vec2 fUv;
flat in vec3 fLight;
flat in vec3 fEmissive;
flat in uint fTextured;
uniform sampler2D uTexture;
out vec4 outColour;
void main() {
    vec3 c = fTextured != 0u ? min(texture(uTexture, fUv).rgb * fLight + fEmissive, vec3(1.0)) : fLight;
    outColour = vec4(c, 1.0);
}
)";

const char* kPlainVertex = R"(#version 330 core
layout(location = 0) in vec3 aPos;
uniform mat4 uViewProjection;
void main() { gl_Position = uViewProjection * vec4(aPos, 1.0); }
)";
const char* kPlainFragment = R"(#version 330 core
out vec4 outColour;
void main() { outColour = vec4(0.8, 0.8, 0.8, 1.0); }
)";

std::array<float, 16> multiplyRowMajor(const std::array<float, 16>& a, const std::array<float, 16>& b) {
    std::array<float, 16> r{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float s = 0;
            for (int k = 0; k < 4; ++k) s += a[size_t(i * 4 + k)] * b[size_t(k * 4 + j)];
            r[size_t(i * 4 + j)] = s;
        }
    return r;
}

// Normals of faces go through the cofactor matrix: (a M) x (b M) = (a x b) cof(M), mirrors included.
std::array<float, 9> cofactorRowMajor(const Transform& t) {
    const auto& m = t.m;
    std::array<float, 9> c{};
    for (size_t i = 0; i < 3; ++i)
        for (size_t j = 0; j < 3; ++j) {
            const size_t i1 = (i + 1) % 3, i2 = (i + 2) % 3, j1 = (j + 1) % 3, j2 = (j + 2) % 3;
            c[i * 3 + j] = float(m[i1][j1] * m[i2][j2] - m[i1][j2] * m[i2][j1]);
        }
    return c;
}

// Row-major matrices of the row-vector convention go up unchanged: GLSL reads them as their transpose, and
// M^T * v is v * M.
void setMatrix(QOpenGLShaderProgram& p, const char* name, const std::array<float, 16>& m) {
    QOpenGLContext::currentContext()->extraFunctions()->glUniformMatrix4fv(p.uniformLocation(name), 1, GL_FALSE,
                                                                           m.data());
}

}  // namespace

struct RMCanvas::GpuMesh {
    struct Range {
        const Texture* texture = nullptr;
        GLint first = 0;
        GLsizei count = 0;
    };
    std::weak_ptr<MeshBuilder> owner;
    uint64_t version = 0;
    GLuint vao = 0, vbo = 0;
    std::vector<Range> ranges;
};

struct RMCanvas::Gpu {
    struct Tex {
        std::weak_ptr<Texture> owner;
        GLuint id = 0;
    };
    std::unique_ptr<QOpenGLShaderProgram> solid, solidTextured, wire, plain;
    std::unordered_map<const MeshBuilder*, GpuMesh> meshes;
    std::unordered_map<const Texture*, Tex> textures;
    GLuint plainVao = 0, plainVbo = 0;
    GLsizei plainCount = 0;
};

RMCanvas::RMCanvas(QWidget* parent) : QOpenGLWidget(parent) {
    setObjectName("RMCanvas1");
    setFormat(canvasFormat());
    setMouseTracking(true);
    clock_.start();
    pacedDraw_ = new QTimer(this);
    pacedDraw_->setSingleShot(true);
    pacedDraw_->setTimerType(Qt::PreciseTimer);
    connect(pacedDraw_, &QTimer::timeout, this, [this] { update(); });
}

double RMCanvas::displayFrameSeconds() const {
    const qreal rate = screen() ? screen()->refreshRate() : 0;
    return rate >= 1 ? 1.0 / rate : 1.0 / 60;
}

void RMCanvas::render() {
    if (held_) {
        owed_ = true;
        return;
    }
    pacer_.setFrameSeconds(displayFrameSeconds());
    const std::optional<double> delay = pacer_.request(clock_.nsecsElapsed() / 1e9);
    if (!delay) return;  // the waiting draw shows this request too
    if (*delay <= 0)
        update();
    else
        pacedDraw_->start(int(std::ceil(*delay * 1000)));
}

void RMCanvas::setHeld(bool held) {
    if (held == held_) return;
    held_ = held;
    if (!held && std::exchange(owed_, false)) update();
}

void RMCanvas::paintEvent(QPaintEvent* event) {
    if (held_) {
        owed_ = true;
        return;
    }
    QOpenGLWidget::paintEvent(event);
}

RMCanvas::~RMCanvas() {
    if (gpu_ && context()) {
        makeCurrent();
        releaseGpu();
        doneCurrent();
    }
}

void RMCanvas::setScene(std::shared_ptr<Viewport> viewport) {
    viewport_ = std::move(viewport);
    if (viewport_) viewport_->setSize(width(), height());
    update();
}

void RMCanvas::setPlainTriangles(std::vector<float> positions) {
    plainTriangles_ = std::move(positions);
    plainChanged_ = true;
    update();
}

bool RMCanvas::start() {
    QOpenGLContext probe;
    probe.setFormat(canvasFormat());
    if (!probe.create()) {
        lastError_ = "No OpenGL context could be made.";
        return false;
    }
    const auto version = probe.format().version();
    if (version < qMakePair(3, 3)) {
        lastError_ = "OpenGL 3.3 is needed, this system offers " + std::to_string(version.first) + "." +
                     std::to_string(version.second) + ".";
        return false;
    }
    if (!lastError_.empty() && gpu_ == nullptr && isValid()) return false;  // shaders failed earlier
    return true;
}

void RMCanvas::initializeGL() {
    gpu_ = std::make_unique<Gpu>();
    const auto v = context()->format().version();
    if (v < qMakePair(3, 3)) {
        lastError_ = "OpenGL 3.3 is needed, this system offers " + std::to_string(v.first) + "." +
                     std::to_string(v.second) + ".";
        gpu_.reset();
        return;
    }
    auto build = [&](const char* vs, const QString& gs, const char* fs) -> std::unique_ptr<QOpenGLShaderProgram> {
        auto p = std::make_unique<QOpenGLShaderProgram>();
        bool ok = p->addShaderFromSourceCode(QOpenGLShader::Vertex, vs);
        if (ok && !gs.isEmpty()) ok = p->addShaderFromSourceCode(QOpenGLShader::Geometry, gs);
        ok = ok && p->addShaderFromSourceCode(QOpenGLShader::Fragment, fs) && p->link();
        if (!ok) {
            lastError_ = "The canvas's shaders failed: " + p->log().toStdString();
            return nullptr;
        }
        return p;
    };
    const QString common = kGeometryCommon;
    const QString solidVs = QString("#version 330 core\n#define TEXTURED %1\n") + kSolidVertexShader;
    gpu_->solid = build(solidVs.arg(0).toUtf8().constData(), QString(), kColourFragmentShader);
    gpu_->solidTextured = build(solidVs.arg(1).toUtf8().constData(), QString(), kFragmentShader);
    gpu_->wire = build(kVertexShader, QString(kWireGeometry).replace("%COMMON%", common), kFragmentShader);
    gpu_->plain = build(kPlainVertex, QString(), kPlainFragment);
    if (!gpu_->solid || !gpu_->solidTextured || !gpu_->wire || !gpu_->plain) gpu_.reset();
}

void RMCanvas::resizeGL(int w, int h) {
    if (viewport_) viewport_->setSize(w, h);
}

void RMCanvas::releaseGpu() {
    auto* f = QOpenGLContext::currentContext()->extraFunctions();
    for (auto& [key, m] : gpu_->meshes) {
        f->glDeleteBuffers(1, &m.vbo);
        f->glDeleteVertexArrays(1, &m.vao);
    }
    for (auto& [key, t] : gpu_->textures) f->glDeleteTextures(1, &t.id);
    if (gpu_->plainVbo) f->glDeleteBuffers(1, &gpu_->plainVbo);
    if (gpu_->plainVao) f->glDeleteVertexArrays(1, &gpu_->plainVao);
    gpu_.reset();
}

void RMCanvas::paintGL() {
    pacer_.drawn(clock_.nsecsElapsed() / 1e9);
    pacedDraw_->stop();  // this draw shows what it waited for
    auto* f = QOpenGLContext::currentContext()->extraFunctions();
    const auto background = viewport_ ? viewport_->scene()->sceneBackground() : std::nullopt;
    const PackedColor bg = background ? colorFromRgbLong(*background) : 0xFF000000u;
    f->glClearColor(redOf(bg) / 255.f, greenOf(bg) / 255.f, blueOf(bg) / 255.f, 1.f);
    f->glClearDepthf(1.f);
    f->glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    ++framesDrawn_;
    lastFrameMeshes_ = lastFrameTriangles_ = 0;
    if (!gpu_ || !viewport_) return;
    f->glEnable(GL_DEPTH_TEST);
    f->glDepthFunc(GL_LEQUAL);
    f->glDisable(GL_CULL_FACE);
    if (!plainTriangles_.empty())
        drawPlain();
    else
        drawScene();
}

namespace {

struct Visit {
    const Frame* frame;
    Transform world;
};

void collect(const FramePtr& frame, const Transform& parentWorld, std::vector<Visit>& visits,
             std::vector<std::pair<Vec3, Rgb>>& lights) {
    const Transform world = frame->localTransform().then(parentWorld);
    if (!frame->visuals().empty()) visits.push_back({frame.get(), world});
    for (const auto& light : frame->lights()) lights.push_back({world.t, light->colour()});
    for (const auto& child : frame->children()) collect(child, world, visits, lights);
}

}  // namespace

void RMCanvas::drawScene() {
    auto* f = QOpenGLContext::currentContext()->extraFunctions();
    std::vector<Visit> visits;
    std::vector<std::pair<Vec3, Rgb>> lights;
    collect(viewport_->scene(), Transform::identity(), visits, lights);

    Transform view;
    if (!viewport_->getCamera()->worldTransform().inverse(view)) return;
    const Vec3 eye = viewport_->getCamera()->worldTransform().t;
    const auto viewProjection = multiplyRowMajor(view.toRowMajor4x4(), viewport_->projectionRowMajor());

    float lightPos[kMaxLights * 3] = {}, lightColour[kMaxLights * 3] = {};
    const int lightCount = std::min<int>(kMaxLights, int(lights.size()));
    for (int i = 0; i < lightCount; ++i) {
        const auto& [p, c] = lights[size_t(i)];
        const float pv[3] = {float(p.x), float(p.y), float(p.z)}, cv[3] = {c.r, c.g, c.b};
        std::memcpy(lightPos + 3 * i, pv, sizeof pv);
        std::memcpy(lightColour + 3 * i, cv, sizeof cv);
    }
    for (QOpenGLShaderProgram* p : {gpu_->solid.get(), gpu_->solidTextured.get(), gpu_->wire.get()}) {
        p->bind();
        setMatrix(*p, "uViewProjection", viewProjection);
        p->setUniformValue("uEye", float(eye.x), float(eye.y), float(eye.z));
        p->setUniformValue("uLightCount", lightCount);
        f->glUniform3fv(p->uniformLocation("uLightPos"), kMaxLights, lightPos);
        f->glUniform3fv(p->uniformLocation("uLightColour"), kMaxLights, lightColour);
        p->setUniformValue("uTexture", 0);
    }

    releaseStaleGpu();

    f->glActiveTexture(GL_TEXTURE0);
    for (const Visit& visit : visits) {
        for (const MeshPtr& mesh : visit.frame->visuals()) {
            GpuMesh& gm = gpu_->meshes[mesh.get()];
            if (gm.version != mesh->changeCount() || gm.owner.expired()) uploadMesh(mesh, gm);
            ++lastFrameMeshes_;
            const bool wire = mesh->wireframe();
            const auto model = visit.world.toRowMajor4x4();
            const auto cof = cofactorRowMajor(visit.world);
            if (wire) {
                f->glDisable(GL_CULL_FACE);  // the geometry shader culls
            } else {
                // Faces are drawn as the eye sees them; the front is clockwise on the screen, whatever the
                // frame's transform does, because the screen's y goes up and its depth away from the eye.
                f->glEnable(GL_CULL_FACE);
                f->glCullFace(GL_BACK);
                f->glFrontFace(GL_CW);
            }
            f->glBindVertexArray(gm.vao);
            QOpenGLShaderProgram* bound = nullptr;
            for (const GpuMesh::Range& r : gm.ranges) {
                QOpenGLShaderProgram* program = wire        ? gpu_->wire.get()
                                                : r.texture ? gpu_->solidTextured.get()
                                                            : gpu_->solid.get();
                if (program != bound) {
                    program->bind();
                    program->setUniformValue("uLit", mesh->lit());
                    setMatrix(*program, "uModel", model);
                    f->glUniformMatrix3fv(program->uniformLocation("uNormalMatrix"), 1, GL_FALSE, cof.data());
                    bound = program;
                }
                f->glBindTexture(GL_TEXTURE_2D, r.texture ? gpu_->textures[r.texture].id : 0);
                f->glDrawArrays(GL_TRIANGLES, r.first, r.count);
                lastFrameTriangles_ += uint64_t(r.count / 3);
            }
        }
    }
    f->glBindVertexArray(0);
}

void RMCanvas::releaseStaleGpu() {
    auto* f = QOpenGLContext::currentContext()->extraFunctions();
    for (auto it = gpu_->meshes.begin(); it != gpu_->meshes.end();) {
        if (it->second.owner.expired()) {
            f->glDeleteBuffers(1, &it->second.vbo);
            f->glDeleteVertexArrays(1, &it->second.vao);
            it = gpu_->meshes.erase(it);
        } else {
            ++it;
        }
    }
    for (auto it = gpu_->textures.begin(); it != gpu_->textures.end();) {
        if (it->second.owner.expired()) {
            f->glDeleteTextures(1, &it->second.id);
            it = gpu_->textures.erase(it);
        } else {
            ++it;
        }
    }
}

void RMCanvas::uploadTexture(const TexturePtr& texture) {
    auto& t = gpu_->textures[texture.get()];
    if (t.id) return;
    auto* f = QOpenGLContext::currentContext()->extraFunctions();
    t.owner = texture;
    const Image& img = texture->image();
    f->glGenTextures(1, &t.id);
    f->glBindTexture(GL_TEXTURE_2D, t.id);
    f->glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    f->glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, img.width, img.height, 0, GL_RGBA, GL_UNSIGNED_BYTE, img.pixels.data());
    f->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    f->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    f->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_REPEAT);
    f->glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_REPEAT);
}

void RMCanvas::uploadMesh(const MeshPtr& mesh, GpuMesh& gm) {
    auto* f = QOpenGLContext::currentContext()->extraFunctions();
    const MeshVertices built = buildMeshVertices(*mesh);
    gm.ranges.clear();
    for (const MeshVertexRange& r : built.ranges) {
        if (r.texture) uploadTexture(r.texture);
        gm.ranges.push_back({r.texture.get(), GLint(r.first), GLsizei(r.count)});
    }
    if (!gm.vao) {
        f->glGenVertexArrays(1, &gm.vao);
        f->glGenBuffers(1, &gm.vbo);
        f->glBindVertexArray(gm.vao);
        f->glBindBuffer(GL_ARRAY_BUFFER, gm.vbo);
        const auto stride = GLsizei(sizeof(MeshVertex));
        f->glEnableVertexAttribArray(0);
        f->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(MeshVertex, pos));
        f->glEnableVertexAttribArray(1);
        f->glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(MeshVertex, uv));
        f->glEnableVertexAttribArray(2);
        f->glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, (void*)offsetof(MeshVertex, colour));
        f->glEnableVertexAttribArray(3);
        f->glVertexAttribPointer(3, 4, GL_UNSIGNED_BYTE, GL_TRUE, stride, (void*)offsetof(MeshVertex, emissive));
        f->glEnableVertexAttribArray(4);
        f->glVertexAttribIPointer(4, 4, GL_UNSIGNED_BYTE, stride, (void*)offsetof(MeshVertex, flags));
        f->glEnableVertexAttribArray(5);
        f->glVertexAttribPointer(5, 3, GL_FLOAT, GL_FALSE, stride, (void*)offsetof(MeshVertex, normal));
    }
    f->glBindBuffer(GL_ARRAY_BUFFER, gm.vbo);
    f->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(built.vertices.size() * sizeof(MeshVertex)), built.vertices.data(),
                    GL_STATIC_DRAW);
    gm.owner = mesh;
    gm.version = mesh->changeCount();
    ++meshUploads_;
}

void RMCanvas::drawPlain() {
    auto* f = QOpenGLContext::currentContext()->extraFunctions();
    if (plainChanged_) {
        if (!gpu_->plainVao) {
            f->glGenVertexArrays(1, &gpu_->plainVao);
            f->glGenBuffers(1, &gpu_->plainVbo);
            f->glBindVertexArray(gpu_->plainVao);
            f->glBindBuffer(GL_ARRAY_BUFFER, gpu_->plainVbo);
            f->glEnableVertexAttribArray(0);
            f->glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, 12, nullptr);
        }
        f->glBindBuffer(GL_ARRAY_BUFFER, gpu_->plainVbo);
        f->glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(plainTriangles_.size() * sizeof(float)), plainTriangles_.data(),
                        GL_STATIC_DRAW);
        gpu_->plainCount = GLsizei(plainTriangles_.size() / 3);
        plainChanged_ = false;
    }
    Transform view;
    if (!viewport_->getCamera()->worldTransform().inverse(view)) return;
    gpu_->plain->bind();
    setMatrix(*gpu_->plain, "uViewProjection", multiplyRowMajor(view.toRowMajor4x4(), viewport_->projectionRowMajor()));
    f->glBindVertexArray(gpu_->plainVao);
    f->glDrawArrays(GL_TRIANGLES, 0, gpu_->plainCount);
    f->glBindVertexArray(0);
}

namespace {
int16_t buttonMask(Qt::MouseButtons b) {
    return int16_t((b & Qt::LeftButton ? 1 : 0) | (b & Qt::RightButton ? 2 : 0) | (b & Qt::MiddleButton ? 4 : 0));
}
int16_t shiftMask(Qt::KeyboardModifiers m) {
    return int16_t((m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) | (m & Qt::AltModifier ? 4 : 0));
}
}  // namespace

bool forwardCanvasMouse(CanvasMouseHandler& handler, const QMouseEvent& e) {
    const int16_t shift = shiftMask(e.modifiers());
    const float x = float(e.position().x()), y = float(e.position().y());
    switch (e.type()) {
    case QEvent::MouseButtonPress: handler.mouseDown(buttonMask(e.button()), shift, x, y); return true;
    case QEvent::MouseMove: handler.mouseMove(buttonMask(e.buttons()), shift, x, y); return true;
    case QEvent::MouseButtonRelease: handler.mouseUp(buttonMask(e.button()), shift, x, y); return true;
    default: return false;
    }
}

void RMCanvas::mousePressEvent(QMouseEvent* e) {
    if (mouseHandler_) forwardCanvasMouse(*mouseHandler_, *e);
}

void RMCanvas::mouseMoveEvent(QMouseEvent* e) {
    if (mouseHandler_) forwardCanvasMouse(*mouseHandler_, *e);
}

void RMCanvas::mouseReleaseEvent(QMouseEvent* e) {
    if (mouseHandler_) forwardCanvasMouse(*mouseHandler_, *e);
}

QWidget* createRMCanvas(QWidget* parent) { return new RMCanvas(parent); }

}  // namespace tarv::scene
