#include "meshtools/MeshTools.h"

#include <cmath>

#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/LogFiles.h"
#include "model/RotationMath.h"
#include "objects/ObjectDelete.h"
#include "objects/ObjectLinks.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewCamera.h"
#include "preview/PreviewScene.h"

namespace tarv {

namespace {

const std::string kCrLf = "\r\n";

void okBox(EditingContext& ctx, const std::string& text, PromptIcon icon = PromptIcon::None) {
    ctx.prompts().messageBox(text, ctx.version.appTitle, icon);
}

// The busy pointer for the length of a scope.
class Busy {
public:
    explicit Busy(EditingContext& ctx) : ctx_(ctx) { ctx_.status().setBusy(true); }
    ~Busy() { ctx_.status().setBusy(false); }
    Busy(const Busy&) = delete;
    Busy& operator=(const Busy&) = delete;

private:
    EditingContext& ctx_;
};

// The check before a run. Returns false after showing the refusal; fills skip with the deleted objects that
// fail. liveOnly: deleted objects take no part in the command at all.
bool admitRun(EditingContext& ctx, bool liveOnly, std::vector<char>& skip) {
    const int count = ctx.model.objectCount();
    skip.assign(size_t(count), 0);
    for (int i = 0; i < count; ++i) {
        const PeoObject& object = ctx.model.peoObjects[size_t(i)];
        if (liveOnly && object.isDeleted()) continue;
        const std::optional<std::string> fault = meshToolsObjectFault(ctx, i);
        if (!fault) continue;
        if (object.isDeleted()) {
            skip[size_t(i)] = 1;
            continue;
        }
        okBox(ctx, "The mesh tools cannot work on object '" + object.name + "': " + *fault + ". Nothing was changed.",
              PromptIcon::Exclamation);
        return false;
    }
    return true;
}

std::string polygonReport(EditingContext& ctx, const MeshKernels& kernels, const std::vector<char>& skip);

// The weld over the objects not left out; the count of redundant vertices.
int64_t weldObjects(EditingContext& ctx, bool remove, const MeshKernels& kernels, const std::vector<char>& skip) {
    int64_t count = 0;
    auto& objects = ctx.model.peoObjects;
    for (size_t i = 0; i < objects.size(); ++i) {
        if (skip[i]) continue;
        PeoObject& object = objects[i];
        kernels.weldMarks(object.vertices);
        if (remove) {
            count += kernels.compact(object);
        } else {
            for (const PeoVertex& v : object.vertices)
                if (v.mark != 0) ++count;
        }
    }
    return count;
}

std::string weldReport(int64_t count, bool remove) {
    std::string line = count == 1  ? "One redundant vertex "
                       : count > 1 ? intText(count) + " redundant vertices "
                                   : "No redundant vertices ";
    return line + (remove ? "removed " : "found ") + "." + kCrLf;
}

std::optional<std::string> weldRun(EditingContext& ctx, bool remove, const MeshKernels& kernels,
                                   const std::vector<char>& skip) {
    std::string polygons;
    int64_t count = 0;
    {
        Busy busy(ctx);
        ctx.status().setStatus("Removing duplicate vertices...");
        count = weldObjects(ctx, remove, kernels, skip);
        ctx.status().setStatus("Duplicate vertices checked...");
        if (remove) polygons = polygonReport(ctx, kernels, skip);
    }
    return weldReport(count, remove) + polygons;
}

std::string polygonReport(EditingContext& ctx, const MeshKernels& kernels, const std::vector<char>& skip) {
    std::string report;
    trapErrors(ctx, "modPeo", "remPolyOverhead", "", [&] {
        ShipModel& model = ctx.model;
        int64_t total = 0;
        std::string pairList;
        for (size_t i = 0; i < model.peoObjects.size(); ++i) {
            if (i < skip.size() && skip[i]) continue;
            PeoObject& object = model.peoObjects[i];
            std::vector<PeoPolygon>& kept = object.workPolygons;
            kept.clear();
            kept.reserve(object.polygons.size());
            for (const PeoPolygon& p : object.polygons)
                if (p.v0 != p.v1 && p.v1 != p.v2 && p.v0 != p.v2) kept.push_back(p);
            if (kept.empty()) {
                remLowPolObject(ctx, int16_t(i));
                setErrorContext(ctx, "modPeo", "remPolyOverhead", "");
                continue;
            }
            total += int64_t(object.polygons.size() - kept.size());
            object.nPolygons = int32_t(kept.size());
            for (PeoPolygon& p : kept) p.mark = 0;
            std::vector<int64_t> pairs(size_t(model.materialCount()), 0);
            std::vector<PeoPolygon> result = kernels.dropDuplicates(kept, model.materials, pairs);
            total += int64_t(kept.size() - result.size());
            object.polygons = std::move(result);
            object.nPolygons = int32_t(object.polygons.size());
            int64_t sum = 0;
            std::string names;
            for (size_t m = 0; m < pairs.size(); ++m) {
                if (pairs[m] <= 0) continue;
                sum += pairs[m];
                names += model.textures[size_t(model.materials[m].texture)].name + ", ";
            }
            if (sum <= 0) continue;
            pairList += kCrLf + (sum == 1 ? std::string("- one from object '") : "- " + intText(sum) + " from object '") +
                        object.name + "',";
            pairList += kCrLf + "   (materials " + names + "set to double-sided).";
        }
        if (!pairList.empty())
            report = "TARV removed " + intText(total) + " redundant polygons in total," + kCrLf +
                     " specifically these back-to-back polygons:" + pairList;
        else if (total > 0)
            report = "TARV removed " + intText(total) + " redundant polygons in total.";
        ctx.status().setStatus("Mesh clean-up complete.");
        ctx.status().processEvents();
    });
    return report;
}

// The preview after a reduction: fresh meshes for the live objects, linked by their index-based links.
void rebuildPreview(EditingContext& ctx, int level) {
    fixHierarchy(ctx);
    ShipModel& model = ctx.model;
    ViewState& view = ctx.view;
    StatusDisplay& status = ctx.status();
    const int count = model.objectCount();
    const std::string levelText = intText(level);
    // The canvas draws the new meshes once, at the end; meanwhile the bar shows how far the rebuild is.
    HeldCanvas held(ctx);
    status.setProgressMax(ProgressBar::LoadTextures, count);
    status.setProgressValue(ProgressBar::LoadTextures, 0);
    status.setProgressVisible(ProgressBar::LoadTextures, true);
    struct HideBar {
        StatusDisplay& status;
        ~HideBar() { status.setProgressVisible(ProgressBar::LoadTextures, false); }
    } hideBar{status};
    for (int i = 0; i < count; ++i) {
        const PeoObject& object = model.peoObjects[size_t(i)];
        const std::string text = "Creating 3d view for LOD" + levelText + ", object " + object.name;
        status.setStatus(text);
        writeLog(ctx, text, 1);
        if (!object.isDeleted() && size_t(i) < view.viewObjects.size()) {
            ViewObject& v = view.viewObjects[size_t(i)];
            if (v.frame) {
                if (scene::FramePtr parent = v.frame->getParent()) parent->deleteChild(v.frame);
            }
            create3dObject(ctx, int16_t(i));
        }
        status.setProgressValue(ProgressBar::LoadTextures, i + 1);
    }
    status.setStatus("Reticulating splines");
    status.setProgressMax(ProgressBar::LoadTextures, count);
    status.setProgressValue(ProgressBar::LoadTextures, 0);
    if (!view.modelFrame) return;
    for (int j = 0; j < count; ++j) {
        const PeoObject& object = model.peoObjects[size_t(j)];
        if (object.isDeleted() || size_t(j) >= view.viewObjects.size()) continue;
        ViewObject& v = view.viewObjects[size_t(j)];
        if (!v.frame) continue;
        scene::FramePtr parent = view.modelFrame;
        const int32_t mother = object.mother;
        if (mother == j + 1 || mother > count || mother < 0) {
            okBox(ctx, "Corrupted hierarchy detected!");
            if (!view.viewObjects.empty() && view.viewObjects[0].frame && j != 0) parent = view.viewObjects[0].frame;
        } else if (mother != 0) {
            const ViewObject& p = view.viewObjects[size_t(mother - 1)];
            if (p.frame && !model.peoObjects[size_t(mother - 1)].isDeleted()) parent = p.frame;
        }
        parent->addChild(v.frame);
        v.shown = -1;
        roundMatrix(object.matrix, v.matrix);
        positionViewObject(v);
        setFrameQuaternion(v, getObjectQuaternion(getObjectEulersFromMatrix(ctx, int16_t(j))));
        status.setProgressValue(ProgressBar::LoadTextures, j + 1);
        status.processEvents();
    }
}

std::optional<std::string> fixMeshRun(EditingContext& ctx, const MeshKernels& kernels) {
    std::vector<char> skip;
    if (!admitRun(ctx, false, skip)) return std::nullopt;
    ShipModel& model = ctx.model;
    LooseEndCounts counts;
    {
        Busy busy(ctx);
        for (size_t i = 0; i < model.peoObjects.size(); ++i) {
            PeoObject& object = model.peoObjects[i];
            if (skip[i] || object.isDeleted()) continue;
            kernels.looseEnds(object, model.materials, counts);
        }
    }
    const std::string weld = *weldRun(ctx, true, kernels, skip);
    setErrorContext(ctx, "modPeo", "FixMesh", "");
    const std::vector<int64_t> use = kernels.materialUse(model, skip);
    int64_t unused = 0;
    int reference = 0;
    for (int m = 0; m < model.materialCount(); ++m) {
        if (m == 0 && use[0] == 0) reference = model.materialCount() - 1;
        if (use[size_t(m)] != 0) continue;
        const PeoMaterial from = model.materials[size_t(reference)];
        PeoMaterial& to = model.materials[size_t(m)];
        to.texture = from.texture;
        to.smoothing = from.smoothing;
        to.flatShaded = from.flatShaded;
        to.twoSided = from.twoSided;
        to.baseColour = from.baseColour;
        to.stripeColour = from.stripeColour;
        to.selfIlluminated = from.selfIlluminated;
        ++unused;
    }
    std::string doubleSided, orphan, material;
    if (counts.leftAlone == 1)
        doubleSided = kCrLf + "(A single polygon was left alone because of double-sidedness).";
    else if (counts.leftAlone > 1)
        doubleSided = kCrLf + "( " + intText(counts.leftAlone) + " polygons left alone because of double-sidedness ).";
    if (counts.orphans == 1)
        orphan = kCrLf + "One vertex marked as orphaned." + kCrLf + weld;
    else if (counts.orphans > 1)
        orphan = kCrLf + intText(counts.orphans) + " vertices marked as orphaned." + kCrLf + weld;
    if (unused == 1)
        material = kCrLf + "One material was marked as unused.";
    else if (unused > 1)
        material = kCrLf + intText(unused) + " materials have been marked as unused.";
    if (counts.fixed > 0)
        return "TARV fixed " + intText(counts.fixed) + " open faces, on " + intText(counts.single) + " polygons." +
               doubleSided + orphan + material;
    if (orphan.empty() && material.empty()) return std::string("Fixed nothing.");
    return orphan + material;
}

std::string verdict(const std::string& name, int64_t s, int64_t d, int64_t x, int64_t b, int64_t f, int64_t v,
                    int64_t e) {
    const std::string suffix =
        b < 1 ? std::string() : kCrLf + "( " + intText(b) + " Pairs of 'back-to-back' polygons found ).";
    const std::string object = "Object '" + name + "'";
    if (s == 0 && d == 0) {
        if (x == 2) return object + " is waterproof." + suffix;
        return object + " has " + intText(b) + " pairs of 'back-to-back' polygons.";
    }
    if (s == 0) {
        if (x <= 2)
            return object + " is considered waterproof, because the only 'open' edges are double-sided." + suffix;
        return object + " is considered waterproof, because the only 'open' edges are double-sided," + kCrLf +
               "which may account for some polygon overhead." + suffix;
    }
    if (x < 2) {
        if (d == 0) return object + " has " + intText(2 - x) + " holes." + suffix;
        return "Although object '" + name + "' has some double-sided 'open' edges, there still are about " +
               intText(2 - x) + " holes." + suffix;
    }
    if (x > 2) return object + " still has holes, and also some poly/vertex overhead." + suffix;
    if (d == 0)
        return object + " is closed, but it seems to have a rim of " + intText(s) +
               " 'open' edges, which are not double-sided.";
    return "Poly's: " + intText(f) + kCrLf + "Vertices: " + intText(v) + kCrLf + "Lines: " + intText(e) + kCrLf +
           "Double-sided open edges: " + intText(d) + kCrLf + "Single-sided open edges: " + intText(s) + kCrLf +
           " 'back-to-back' pairs: " + intText(b) + kCrLf + "Euler count: " + intText(x);
}

}  // namespace

std::optional<std::string> meshToolsObjectFault(const EditingContext& ctx, int objNo) {
    const ShipModel& model = ctx.model;
    const PeoObject& object = model.peoObjects[size_t(objNo)];
    if (object.vertices.size() > 32767) return std::string("more than 32767 vertices");
    const int64_t vertices = int64_t(object.vertices.size());
    for (size_t p = 0; p < object.polygons.size(); ++p) {
        const PeoPolygon& polygon = object.polygons[p];
        for (int32_t corner : {polygon.v0, polygon.v1, polygon.v2})
            if (corner < 0 || corner >= vertices)
                return "polygon " + intText(int64_t(p)) + " names a vertex outside the object";
        if (polygon.material < 0 || polygon.material >= model.materialCount())
            return "polygon " + intText(int64_t(p)) + " names a material that does not exist";
        const int16_t texture = model.materials[size_t(polygon.material)].texture;
        if (texture < 0 || size_t(texture) >= model.textures.size())
            return "material " + intText(polygon.material) + " names a texture that does not exist";
    }
    return std::nullopt;
}

std::optional<std::string> weldModel(EditingContext& ctx, bool remove, const MeshKernels& kernels) {
    std::vector<char> skip;
    if (!admitRun(ctx, false, skip)) return std::nullopt;
    return weldRun(ctx, remove, kernels, skip);
}

std::string remDupVertices(EditingContext& ctx, bool remove, const MeshKernels& kernels) {
    return weldModel(ctx, remove, kernels).value_or(std::string());
}

std::string remPolyOverhead(EditingContext& ctx, const MeshKernels& kernels) {
    std::vector<char> skip;
    if (!admitRun(ctx, false, skip)) return {};
    return polygonReport(ctx, kernels, skip);
}

void remLowPolObject(EditingContext& ctx, int16_t objNo) {
    trapErrors(ctx, "modPeo", "remLowPolObject", "objNo", [&] {
        KeyedTree& tree = ctx.shell.treeHeirachy;
        const std::string key = objectKey(objNo);
        const KeyedTree::Node* node = tree.find(key);
        if (!node) {
            repointSharers(ctx, {objNo});
            return;
        }
        deleteSubtree(ctx, key, "modPeo", "remLowPolObject", "objNo");
        expandEveryNode(ctx);
    });
}

void checkDupes_Click(EditingContext& ctx, const MeshKernels& kernels) {
    trapErrors(ctx, "frmTARV", "checkDupes_Click", "", [&] {
        if (auto report = weldModel(ctx, false, kernels))
            ctx.prompts().messageBox(*report, kDuplicateVerticesTitle, PromptIcon::Information);
    });
}

void remDupes_Click(EditingContext& ctx, const MeshKernels& kernels) {
    trapErrors(ctx, "frmTARV", "remDupes_Click", "", [&] {
        if (auto report = weldModel(ctx, true, kernels))
            ctx.prompts().messageBox(*report, kDuplicateVerticesTitle, PromptIcon::Information);
    });
}

float lodDistance(int level, float extent) {
    return float((double(level) * 10.0) / (322.036 / std::fabs(double(extent))));
}

void reduceToLOD(EditingContext& ctx, int16_t level, LodSymmetry symmetry, const MeshKernels& kernels) {
    ShipModel& model = ctx.model;
    if (model.objectCount() == 0) return;
    const PeoObject& first = model.peoObjects[0];
    const float extent = symmetry.xz ? first.maxY - first.minY : first.maxX - first.minX;
    if (extent == 0) {
        okBox(ctx, std::string("Cannot compute the LOD distance: the first object has no extent along ") +
                       (symmetry.xz ? "y" : "x") + ".");
        return;
    }
    std::vector<char> skip;
    if (!admitRun(ctx, false, skip)) return;
    const float t = lodDistance(level, extent);
    int64_t removed = 0;
    std::string polygons;
    {
        Busy busy(ctx);
        ctx.status().setStatus("Reducing to LOD" + intText(level));
        ctx.status().processEvents();
        for (size_t i = 0; i < model.peoObjects.size(); ++i) {
            if (skip[i]) continue;
            PeoObject& object = model.peoObjects[i];
            kernels.lodMerge(object.vertices, t, symmetry);
            if (symmetry.xz) kernels.lodMirror(object.vertices);
            removed += kernels.compact(object);
        }
        polygons = polygonReport(ctx, kernels, skip);
    }
    const std::string head = removed > 1    ? "Besides removal of " + intText(removed) + " vertices," + kCrLf
                             : removed == 1 ? "Besides removal of only one vertex," + kCrLf
                                            : "No LODing achieved at this level, revert to making a higher LOD." + kCrLf;
    okBox(ctx, head + polygons);
    if (removed >= 1) rebuildPreview(ctx, level);
}

void CreateLOD_Click(EditingContext& ctx, int level, LodSymmetry symmetry, const MeshKernels& kernels) {
    trapErrors(ctx, "frmTARV", "CreateLOD" + intText(level) + "_Click", "",
               [&] { reduceToLOD(ctx, int16_t(level), symmetry, kernels); });
}

void cmdGoLOD_Click(EditingContext& ctx, const std::string& txtHighLOD, LodSymmetry symmetry,
                    const MeshKernels& kernels) {
    trapErrors(ctx, "frmTARV", "cmdGoLOD_Click", "", [&] {
        const std::optional<double> value = isNumeric(txtHighLOD) ? parseNumber(txtHighLOD) : std::nullopt;
        if (!value || !(*value > 4 && *value < 21)) {
            okBox(ctx, kGoLodRefusal);
            return;
        }
        reduceToLOD(ctx, int16_t(roundHalfEven(*value)), symmetry, kernels);
    });
}

std::string FixMesh(EditingContext& ctx, const MeshKernels& kernels) {
    std::string report;
    trapErrors(ctx, "modPeo", "FixMesh", "", [&] { report = fixMeshRun(ctx, kernels).value_or(std::string()); });
    return report;
}

void cmdFixMesh_Click(EditingContext& ctx, const MeshKernels& kernels) {
    trapErrors(ctx, "frmTARV", "cmdFixMesh_Click", "", [&] {
        std::optional<std::string> report;
        const bool ran = trapErrors(ctx, "modPeo", "FixMesh", "", [&] { report = fixMeshRun(ctx, kernels); });
        setErrorContext(ctx, "frmTARV", "cmdFixMesh_Click", "");
        if (!ran) report = std::string();
        if (report) ctx.prompts().messageBox(*report, kLooseEndTitle, PromptIcon::Information);
    });
}

void checkWaterproof(EditingContext& ctx, const MeshKernels& kernels) {
    std::vector<char> skip;
    if (!admitRun(ctx, true, skip)) return;
    ShipModel& model = ctx.model;
    Busy busy(ctx);
    for (size_t i = 0; i < model.peoObjects.size(); ++i) {
        PeoObject& object = model.peoObjects[i];
        if (object.isDeleted()) continue;
        if (object.polygons.empty()) {
            okBox(ctx, "Object '" + object.name + "' has no polygons.");
            continue;
        }
        const EdgeMatch edges = kernels.matchEdges(object.polygons, model.materials);
        const int64_t f = int64_t(object.polygons.size());
        const int64_t v = int64_t(object.vertices.size());
        const int64_t e = 3 * f - edges.shared;
        const int64_t x = v - e + f;
        const int64_t s = int64_t(edges.open.size());
        const int64_t b = kernels.backToBack(object.polygons);
        okBox(ctx, verdict(object.name, s, edges.doubleSidedOpen, x, b, f, v, e));
        if (s <= 2) continue;
        std::vector<PeoPolygon> mends = kernels.mendHoles(object.polygons, edges.open);
        if (mends.empty()) continue;
        const std::string question = "TARV found " + intText(int64_t(mends.size())) +
                                     " mendable holes in your mesh, do wish to continue fixing?";
        if (!ctx.prompts().yesNo(question, kFaceFixTitle, PromptIcon::Question)) continue;
        object.polygons.insert(object.polygons.end(), mends.begin(), mends.end());
        object.nPolygons = int32_t(object.polygons.size());
    }
}

void cmdWaterProof_Click(EditingContext& ctx, const MeshKernels& kernels) {
    trapErrors(ctx, "frmTARV", "cmdWaterProof_Click", "", [&] { checkWaterproof(ctx, kernels); });
}

}  // namespace tarv
