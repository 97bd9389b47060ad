#include "attachments/ChunkMarkers.h"

#include <algorithm>
#include <cmath>

#include "attachments/GunArcs.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexPanel.h"
#include "attachments/state/GunAngles.h"
#include "attachments/state/ShipInfoPageState.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "preview/PreviewMarkers.h"
#include "scene/Scene.h"

namespace tarv {

namespace {

std::string upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(c >= 'a' && c <= 'z' ? c - 32 : c); });
    return text;
}

ViewObject& markerAt(EditingContext& ctx, int index) {
    if (index < 0 || size_t(index) >= ctx.mex.mexMeshes.size() || size_t(index) >= ctx.mex.mexChunks.size())
        throw RunTimeError::subscriptOutOfRange();
    return ctx.mex.mexMeshes[size_t(index)];
}

char letterOf(const MexChunk& chunk) { return chunk.chunkType.size() == 1 ? chunk.chunkType[0] : '\0'; }

// A fresh mesh for a rebuild, in place of the marker's old one (taken off its frame first when shown).
void freshMesh(EditingContext& ctx, ViewObject& v, char letter) {
    if (v.shown == -1 && v.frame && v.mesh) {
        v.frame->deleteVisual(v.mesh);
        if (ctx.view.canvas) ctx.view.canvas->refresh();
    }
    v.mesh = scene::createMeshBuilder();
    v.mesh->setQuality(letter == 'n' ? kMarkerSolid : kMarkerWireframe);
}

// The frame back at its parent's origin with no rotation: shapes are drawn in object 0's coordinates, and
// the gun arcs place the frame again themselves.
void resetMarkerFrame(ViewObject& v) {
    if (v.frame) v.frame->setLocalTransform(scene::Transform::identity());
}

float scaled(float value, float factor) {
    const float product = value * factor;
    if (std::isfinite(value) && std::isfinite(factor) && !std::isfinite(product)) throw RunTimeError::overflow();
    return product;
}

Vector3 scaled(const Vector3& v, float factor) {
    return {scaled(v.x, factor), scaled(v.y, factor), scaled(v.z, factor)};
}

}  // namespace

ChunkColour chunkTypeColour(const EditingContext& ctx, const MexChunk& chunk) {
    static const ChunkColour white{255, 255, 255};
    switch (letterOf(chunk)) {
    case 'c':
    case 'r': return white;
    case 'g': {
        const std::string id = upper(chunk.chunkId);
        const bool green =
            id == "BEAM0" || id == "REP0" ||
            (id == "GUN0" && !ctx.shp.noShpLoaded && ctx.shp.shpGunCount == 0 && ctx.mex.mexGunCount == 1);
        return green ? ChunkColour{0, 255, 0} : ChunkColour{255, 0, 0};
    }
    case 'd': return {0, 255, 255};
    case 'e': return {255, 255, 0};
    case 's': return {0, 0, 255};
    case 'k':
        if (chunk.colour.red == 0 && chunk.colour.green == 0 && chunk.colour.blue == 0) return {200, 0, 255};
        return chunk.colour;
    default: return chunk.colour;
    }
}

ViewColour markerColour(const ChunkColour& colour) {
    const auto unit = [](float c) {
        if (!(c > 0)) return 0.0f;  // negative, zero or NaN
        return float(std::min(c, 255.0f) / 255.0);
    };
    return {unit(colour.red), unit(colour.green), unit(colour.blue)};
}

void createBlankMexMesh(EditingContext& ctx, const std::string& name, int index) {
    trapErrors(ctx, "modMex", "createBlankMexMesh", name + "|" + intText(index), [&] {
        ViewObject& v = markerAt(ctx, index);
        v.mesh = scene::createMeshBuilder();
        v.name = name;
        v.mesh->setQuality(!name.empty() && name[0] == 'N' ? kMarkerSolid : kMarkerWireframe);
        if (v.frame)
            if (auto parent = v.frame->getParent()) parent->deleteChild(v.frame);
        v.frame = scene::createFrame();
        v.frame->setName("mex_" + name);
        if (!ctx.view.viewObjects.empty() && ctx.view.viewObjects[0].frame)
            ctx.view.viewObjects[0].frame->addChild(v.frame);
    });
}

void setChunkColour(EditingContext& ctx, int index) {
    trapErrors(ctx, "modMex", "setChunkColour", intText(index), [&] {
        ViewObject& v = markerAt(ctx, index);
        MexChunk& chunk = ctx.mex.mexChunks[size_t(index)];
        chunk.colour = chunkTypeColour(ctx, chunk);
        if (!v.mesh) throw RunTimeError::objectNotSet();
        v.mesh->setQuality(letterOf(chunk) == 'n' ? kMarkerSolidLit : kMarkerWireframe);
        const ViewColour c = markerColour(chunk.colour);
        v.mesh->setColorRGB(c.red, c.green, c.blue);
    });
}

GunMarkerShape gunMarkerShape(const ShipDefinition& shp, int gun, const std::string& chunkId) {
    if (gun < 0 || size_t(gun) >= shp.shpGuns.size()) return GunMarkerShape::Cone;
    const ShpGun& record = shp.shpGuns[size_t(gun)];
    if (record.gunType != 2) return GunMarkerShape::Cone;
    const GunAngleLimits limits = usableGunAngleLimits(record);
    const float a = std::fabs(limits.maxTurnAngle - limits.minTurnAngle);
    const float b = std::fabs(limits.maxDeclination - limits.minDeclination);
    if ((a > 120 && b > 30) || (a > 30 && b > 120)) return GunMarkerShape::SpherePatch;
    const bool named = chunkId.find("Gun") != std::string::npos || chunkId.find("GUN") != std::string::npos ||
                       chunkId.find("gun") != std::string::npos;
    return named ? GunMarkerShape::Wedge : GunMarkerShape::Cone;
}

MexMarkerRequest panelMarkerRequest(const EditingContext& ctx, const MexChunk& chunk) {
    switch (letterOf(chunk)) {
    case 'c':
    case 'n': return {MexMarkerShape::Sphere, 0};
    case 'r': return {MexMarkerShape::Box, 0};
    case 'd':
    case 'e':
    case 'k':
    case 's': return {MexMarkerShape::Cone, 0};
    case 'g': {
        if (ctx.shp.noShpLoaded || chunk.chunkId.size() < 3) return {MexMarkerShape::Cone, 0};
        const double number = roundHalfEven(leadingNumber(std::string_view(chunk.chunkId).substr(3)));
        if (!(number >= 0 && number <= 32767) || number >= double(ctx.shp.shpGuns.size()))
            return {MexMarkerShape::Cone, 0};
        return {MexMarkerShape::GunRule, int16_t(number)};
    }
    default: return {MexMarkerShape::None, 0};
    }
}

void buildMarkerShape(EditingContext& ctx, int index, const MexMarkerRequest& request) {
    ViewObject& v = markerAt(ctx, index);
    const MexChunk chunk = ctx.mex.mexChunks[size_t(index)];
    switch (request.shape) {
    case MexMarkerShape::Sphere: createSphere(ctx, chunk, v); break;
    case MexMarkerShape::Box:
        createBox(ctx, v, chunk.position.x, chunk.position.y, chunk.position.z, chunk.normal.x, chunk.normal.y,
                  chunk.normal.z, 255, 255, 255);
        break;
    case MexMarkerShape::Cone: createCone(ctx, chunk, v); break;
    case MexMarkerShape::GunRule: {
        const GunArcChunk arc{chunk.position, chunk.pointName};
        switch (gunMarkerShape(ctx.shp, request.gunNumber, chunk.chunkId)) {
        case GunMarkerShape::SpherePatch: createSphereCutOut(ctx, request.gunNumber, arc, v); break;
        case GunMarkerShape::Wedge: createPieceOfCake(ctx, request.gunNumber, arc, v); break;
        case GunMarkerShape::Cone: createCone(ctx, chunk, v); break;
        }
        break;
    }
    case MexMarkerShape::None: break;
    }
}

void rebuildChunkMarker(EditingContext& ctx, int index) {
    trapErrors(ctx, "modMex", "rebuildChunkMarker", intText(index), [&] {
        ViewObject& v = markerAt(ctx, index);
        const MexChunk& chunk = ctx.mex.mexChunks[size_t(index)];
        freshMesh(ctx, v, letterOf(chunk));
        resetMarkerFrame(v);
        buildMarkerShape(ctx, index, panelMarkerRequest(ctx, chunk));
        setChunkColour(ctx, index);
        setErrorContext(ctx, "modMex", "rebuildChunkMarker", intText(index));
        ViewObject& again = markerAt(ctx, index);
        again.mesh->setColorRGB(1, 1, 1);
        if (again.shown == -1 && again.frame) again.frame->addVisual(again.mesh);
    });
}

void scaleMexChunks(EditingContext& ctx, float factor) {
    const std::string args = floatText(factor);
    trapErrors(ctx, "modMex", "scaleMexChunks", args, [&] {
        MexChunkTable& mex = ctx.mex;
        for (int i = 0; i < mex.mexChunkCount(); ++i) {
            MexChunk next = mex.mexChunks[size_t(i)];
            const char letter = letterOf(next);
            next.position = scaled(next.position, factor);
            if (letter == 'c') next.coneAngle = scaled(next.coneAngle, factor);
            if (letter == 'r') next.normal = scaled(next.normal, factor);
            mex.mexChunks[size_t(i)] = next;

            ViewObject& v = markerAt(ctx, i);
            freshMesh(ctx, v, letter);
            resetMarkerFrame(v);
            switch (letter) {
            case 'c':
            case 'n': buildMarkerShape(ctx, i, {MexMarkerShape::Sphere, 0}); break;
            case 'k':
            case 's':
            case 'g': buildMarkerShape(ctx, i, {MexMarkerShape::Cone, 0}); break;
            case 'e':
            case 'd': drawLine(ctx, next, markerAt(ctx, i)); break;
            case 'r': buildMarkerShape(ctx, i, {MexMarkerShape::Box, 0}); break;
            default: break;
            }
            setChunkColour(ctx, i);
            setErrorContext(ctx, "modMex", "scaleMexChunks", args);
            ViewObject& again = markerAt(ctx, i);
            if (again.shown == -1 && again.frame) again.frame->addVisual(again.mesh);
        }

        // The panel follows the selected node: a chunk is laid out again, no selection hides it.
        const std::string& key = ctx.shipInfoPage->lblMexKey;
        if (key.empty()) {
            mexPanel(ctx).setMexInputVisible(ctx, "", MexChunk{});
        } else if (!isMexGroupOrRootKey(key)) {
            const int32_t i = mexChunkIndexOfKey(key);
            if (i >= 0 && i < mex.mexChunkCount())
                mexPanel(ctx).setMexInputVisible(ctx, key.substr(0, 1), mex.mexChunks[size_t(i)]);
        }
    });
}

void showChunkMarker(EditingContext& ctx, int index, bool colourFirst) {
    ViewObject& v = markerAt(ctx, index);
    if (v.shown != 0 || !v.mesh || !v.frame) return;
    if (colourFirst) colourChunkMarker(ctx, index);
    v.frame->addVisual(v.mesh);
    v.shown = -1;
}

void hideChunkMarker(EditingContext& ctx, int index) {
    ViewObject& v = markerAt(ctx, index);
    if (v.shown != -1) return;
    if (v.frame && v.mesh) v.frame->deleteVisual(v.mesh);
    v.shown = 0;
}

void colourChunkMarker(EditingContext& ctx, int index) {
    ViewObject& v = markerAt(ctx, index);
    if (!v.mesh) return;
    const ViewColour c = markerColour(ctx.mex.mexChunks[size_t(index)].colour);
    v.mesh->setColorRGB(c.red, c.green, c.blue);
}

void whitenChunkMarker(EditingContext& ctx, int index) {
    ViewObject& v = markerAt(ctx, index);
    if (v.mesh) v.mesh->setColorRGB(1, 1, 1);
}

void renderCanvas(EditingContext& ctx) {
    if (ctx.view.canvas) ctx.view.canvas->render();
}

namespace {

class ChunkMarkerBuilder : public MexMarkerBuilder {
public:
    void createBlankMexMesh(EditingContext& ctx, const std::string& name, int index) override {
        tarv::createBlankMexMesh(ctx, name, index);
    }
    void buildMarker(EditingContext& ctx, int index, const MexMarkerRequest& request) override {
        trapErrors(ctx, "modMex", "buildMarker", intText(index), [&] { buildMarkerShape(ctx, index, request); });
    }
    void setChunkColour(EditingContext& ctx, int index) override { tarv::setChunkColour(ctx, index); }
};

ChunkMarkerBuilder builder;  // stateless

}  // namespace

MexMarkerBuilder& chunkMarkerBuilder() { return builder; }

}  // namespace tarv
