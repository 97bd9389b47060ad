#include "attachments/RandomDamagePoints.h"

#include <algorithm>

#include "attachments/ChunkMarkers.h"
#include "attachments/MexChunkTree.h"
#include "attachments/state/MexChunkTable.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/Normals.h"
#include "platform/RandomSource.h"
#include "scene/Scene.h"

namespace tarv {

namespace {

constexpr int kCountTries = 10;

bool isLiveDamagePoint(const MexChunk& chunk) { return chunk.chunkType == "d" && chunk.chunkId != kDeletedChunkId; }

// The midpoint of an extent, as a 32-bit float.
float centreOf(float min, float max) { return float((double(min) + double(max)) / 2); }

// Appends one damage chunk per picked vertex: records, markers on view, ticked nodes, then the counter.
void addDamageChunks(EditingContext& ctx, const PeoObject& object, const std::vector<int32_t>& picks) {
    MexChunkTable& mex = ctx.mex;
    KeyedTree& tree = mex.treeMex;
    const int32_t oldCount = mex.mexChunkCount();
    const int32_t k = int32_t(picks.size());
    // Everything that could stop the additions half way is checked first.
    tree.at("dRoot");
    if (int64_t(oldCount) + k > 32767) throw RunTimeError::overflow();
    const int16_t counter = toInt16(int64_t(getCounter(ctx, "d")) + k);
    for (int32_t v : picks)
        if (v < 0 || size_t(v) >= object.vertices.size() || size_t(v) >= object.vertexNormals.size())
            throw RunTimeError::subscriptOutOfRange();

    mex.mexChunks.resize(size_t(oldCount + k));
    mex.mexMeshes.resize(size_t(oldCount + k));
    for (int32_t j = 0; j < k; ++j) {
        const int32_t i = oldCount + j;
        const PeoVertex& vertex = object.vertices[size_t(picks[size_t(j)])];
        const PeoNormal& normal = object.vertexNormals[size_t(picks[size_t(j)])];
        MexChunk& chunk = mex.mexChunks[size_t(i)];
        chunk.chunkId = "Dmg" + intText(j);
        chunk.pointName = chunk.chunkId;
        chunk.position = {vertex.x, vertex.y, vertex.z};
        chunk.normal = {normal.x, normal.y, normal.z};
        chunk.coneAngle = 15;
        chunk.edgeAngle = 5;
        chunk.colour = {0, 255, 255};
        chunk.level = 0;
        chunk.chunkType = "d";

        const std::string key = mexChunkKey('d', i);
        createBlankMexMesh(ctx, key, i);
        tree.addChild("dRoot", key, chunk.chunkId);
        tree.setChecked(key, true);
        buildMarkerShape(ctx, i, panelMarkerRequest(ctx, mex.mexChunks[size_t(i)]));
        setChunkColour(ctx, i);
        ViewObject& marker = mex.mexMeshes[size_t(i)];
        if (marker.frame && marker.mesh) marker.frame->addVisual(marker.mesh);
        marker.shown = -1;
    }
    setErrorContext(ctx, "frmTARV", "cmdRDP_Click", "");
    setCounter(ctx, counter, "d");
}

}  // namespace

std::optional<int16_t> damagePointCount(const std::optional<std::string>& answer) {
    if (!answer) return std::nullopt;
    const std::optional<double> value = parseNumber(*answer);
    if (!value) return std::nullopt;
    const double count = roundHalfEven(*value);
    if (!(count >= 1 && count <= 32767)) return std::nullopt;
    return int16_t(count);
}

std::vector<int32_t> damagePointCandidates(const PeoObject& object) {
    const float cx = centreOf(object.minX, object.maxX);
    const float cy = centreOf(object.minY, object.maxY);
    const float cz = centreOf(object.minZ, object.maxZ);
    const size_t count = std::min(object.vertices.size(), object.vertexNormals.size());
    std::vector<int32_t> candidates;
    for (size_t v = 0; v < count; ++v) {
        const PeoVertex& p = object.vertices[v];
        const PeoNormal& n = object.vertexNormals[v];
        const float dx = p.x - cx, dy = p.y - cy, dz = p.z - cz;
        const bool x = dx >= 0 ? n.x >= 0 : n.x < 0;
        const bool y = dy >= 0 ? n.y >= 0 : n.y <= 0;
        const bool z = dz >= 0 ? n.z >= 0 : n.z <= 0;
        if (x && y && z) candidates.push_back(int32_t(v));
    }
    return candidates;
}

std::vector<int32_t> pickDamagePointsReference(RandomSource& random, int32_t a, int32_t n) {
    n = std::clamp(n, 0, std::max(a, 0));
    std::vector<int32_t> picks;
    while (int32_t(picks.size()) < n) {
        const int32_t r = random.uniformIndex(a);
        bool taken = false;
        for (int32_t p : picks)
            if (p == r) {
                taken = true;
                break;
            }
        if (!taken) picks.push_back(r);
    }
    return picks;
}

std::vector<int32_t> pickDamagePoints(RandomSource& random, int32_t a, int32_t n) {
    n = std::clamp(n, 0, std::max(a, 0));
    std::vector<int32_t> picks;
    picks.reserve(size_t(n));
    std::vector<bool> taken(size_t(std::max(a, 0)), false);
    while (int32_t(picks.size()) < n) {
        const int32_t r = random.uniformIndex(a);
        if (r < 0 || r >= a) throw RunTimeError::subscriptOutOfRange();
        if (taken[size_t(r)]) continue;
        taken[size_t(r)] = true;
        picks.push_back(r);
    }
    return picks;
}

void cmdRDP_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdRDP_Click", "", [&] {
        const std::string& title = ctx.version.appTitle;
        const int16_t object = ctx.objects.selectedObject;
        if (object == -1) {
            ctx.prompts().messageBox(kSelectObjectFirstText, title, PromptIcon::None);
            return;
        }
        std::optional<int16_t> count;
        for (int refusals = 0;;) {
            count = damagePointCount(ctx.prompts().inputBox(kDamagePointsPrompt, kDamagePointsTitle,
                                                            kDamagePointsDefault));
            if (count) break;
            if (++refusals == kCountTries) return;
            ctx.prompts().messageBox(kEnterIntegerText, title, PromptIcon::None);
        }
        for (const MexChunk& chunk : ctx.mex.mexChunks)
            if (isLiveDamagePoint(chunk)) {
                ctx.prompts().messageBox(kDeleteDamagePointsText, title, PromptIcon::None);
                return;
            }
        randomizeDamagePoints(ctx, object, *count);
    });
}

void randomizeDamagePoints(EditingContext& ctx, int16_t object, int16_t n) {
    if (n < 1) return;
    std::vector<PeoObject>& objects = ctx.model.peoObjects;
    if (object < 0 || size_t(object) >= objects.size()) throw RunTimeError::subscriptOutOfRange();
    const std::string& title = ctx.version.appTitle;
    ctx.prompts().messageBox("... randomizing " + intText(n) + " damage points on object " +
                                 objects[size_t(object)].name + " ...",
                             title, PromptIcon::None);
    recalcFaceNormals(ctx);
    calcVertexNormals(ctx);
    const PeoObject& target = objects[size_t(object)];
    const std::vector<int32_t> candidates = damagePointCandidates(target);
    const int32_t a = int32_t(candidates.size());
    if (a == 0) {
        ctx.prompts().messageBox(kNoDamagePositionsText, title, PromptIcon::None);
        return;
    }
    std::vector<int32_t> picks;
    if (a <= n) {
        if (a < n) ctx.prompts().messageBox(kNotEnoughPositionsText + intText(a), title, PromptIcon::None);
        picks = candidates;
    } else {
        RandomSource& random = ctx.random();
        random.startRun();
        for (int32_t position : pickDamagePoints(random, a, n)) picks.push_back(candidates[size_t(position)]);
    }
    addDamageChunks(ctx, target, picks);
}

}  // namespace tarv
