#include "meshtools/ScaleRotate.h"

#include <cmath>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "animation/AnimationList.h"
#include "attachments/ChunkMarkers.h"
#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "meshtools/state/ToolsPageState.h"
#include "model/LogFiles.h"
#include "model/PeoReader.h"
#include "preview/LocalAxes.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewScene.h"
#include "scene/Frame.h"

namespace tarv {

namespace {

PeoObject& objectAt(EditingContext& ctx, int16_t objNo) {
    if (objNo < 0 || objNo >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
    return ctx.model.peoObjects[size_t(objNo)];
}

// Lets the window handle pending events while a long loop runs; the window's status display spaces the
// pumps in time, this only keeps the loop from asking for one on every vertex.
class EventPump {
public:
    explicit EventPump(EditingContext& ctx) : ctx_(ctx) {}
    void tick() {
        if (++count_ % 1024 == 0) ctx_.status().processEvents();
    }

private:
    EditingContext& ctx_;
    unsigned count_ = 0;
};

// The object's view record rebuilt on its frame and linked under its mother's frame (or modelFrame), shown,
// with the local axes when it carries the selection, and posed from its matrix. Deleted objects and
// objects without a view record are left alone.
void rebuildObjectView(EditingContext& ctx, int16_t i, const char* procedure) {
    const PeoObject& object = ctx.model.peoObjects[size_t(i)];
    ViewState& view = ctx.view;
    if (object.isDeleted() || size_t(i) >= view.viewObjects.size()) return;
    if (view.viewObjects[size_t(i)].frame) {
        rebuild3dObjectMesh(ctx, i, true);
    } else {
        create3dObject(ctx, i);
    }
    ViewObject& v = view.viewObjects[size_t(i)];
    if (!v.frame->getParent()) {
        scene::FramePtr parent = view.modelFrame;
        const int32_t mother = object.mother;
        if (mother > 0 && mother <= int32_t(view.viewObjects.size()) && mother != i + 1 &&
            view.viewObjects[size_t(mother - 1)].frame)
            parent = view.viewObjects[size_t(mother - 1)].frame;
        if (!parent) throw RunTimeError::objectNotSet();
        parent->addChild(v.frame);
    }
    v.shown = -1;
    if (view.selectionMarker.name == v.name) {
        showLocalAxes(ctx, v);
        setErrorContext(ctx, "frmTARV", procedure);
    }
    resetPeoObject(ctx, i);
    setErrorContext(ctx, "frmTARV", procedure);
}

}  // namespace

ScaleSteps defaultScaleSteps() {
    return {[](EditingContext& c, float f) { scaleMexChunks(c, f); },
            [](EditingContext& c, int16_t track, float f) { scaleMadkeyframes(c, track, f); }};
}

bool scaleObject(EditingContext& ctx, int16_t objNo, float factor) {
    return trapErrors(ctx, "modPeo", "scaleObject", intText(objNo) + " | " + floatText(factor) + " | ", [&] {
        PeoObject& o = objectAt(ctx, objNo);
        EventPump pump(ctx);
        auto checked = [factor](float value) {
            const float product = value * factor;
            if (std::isfinite(value) && !std::isfinite(product)) throw RunTimeError::overflow();
            return product;
        };
        // Every product is checked before the first one is stored.
        for (float value : {o.maxX, o.maxY, o.maxZ, o.minX, o.minY, o.minZ, o.matrix[3], o.matrix[7], o.matrix[11]})
            checked(value);
        for (const PeoVertex& v : o.vertices) {
            checked(v.x), checked(v.y), checked(v.z);
            pump.tick();
        }
        for (float* value : {&o.maxX, &o.maxY, &o.maxZ, &o.minX, &o.minY, &o.minZ, &o.matrix[3], &o.matrix[7],
                             &o.matrix[11]})
            *value *= factor;
        for (PeoVertex& v : o.vertices) {
            v.x *= factor, v.y *= factor, v.z *= factor;
            pump.tick();
        }
    });
}

bool rotateObject(EditingContext& ctx, int16_t objNo, int16_t axis, int16_t mode) {
    return trapErrors(ctx, "modPeo", "rotateObject",
                      intText(objNo) + "|" + intText(axis) + "|" + intText(mode), [&] {
        PeoObject& o = objectAt(ctx, objNo);
        for (PeoVertex& v : o.vertices) {
            if (mode == 0) {
                if (axis == 0) std::swap(v.y, v.z);
                else if (axis == 1) std::swap(v.x, v.z);
                else if (axis == 2) std::swap(v.x, v.y);
            } else if (mode == 1) {
                if (axis == 0) v.z = -v.z;
                else if (axis == 1) v.x = -v.x;
                else if (axis == 2) v.y = -v.y;
            }
        }
        for (PeoPolygon& p : o.polygons) std::swap(p.v1, p.v2);
    });
}

void cmdScalePeo_Click(EditingContext& ctx, const ScaleSteps& steps) {
    trapErrors(ctx, "frmTARV", "cmdScalePeo_Click", "", [&] {
        ToolsPageState& tools = *ctx.toolsPage;
        const std::optional<double> value = parseNumber(tools.txtScaleAmount);
        // A percentage so small that its factor is 0 as a 32-bit float would collapse the model as "0" would.
        if (!value || !(*value > 0) || !(float(*value / 100.0) > 0)) {
            ctx.prompts().messageBox(kScaleAmountRefusal, ctx.version.appTitle, PromptIcon::None);
            return;
        }
        const double quotient = *value / 100.0;
        if (std::fabs(quotient) > double(std::numeric_limits<float>::max())) throw RunTimeError::overflow();
        const float factor = float(quotient);
        const bool peo = tools.chkScalePEO, mex = tools.chkScaleMEX, mad = tools.chkScaleMAD;
        if (peo) ctx.model.modelExtent = 0;
        StatusDisplay& status = ctx.status();
        status.clearLog();
        ctx.road.ssTab1Page = 0;
        status.setProgressVisible(ProgressBar::LoadTextures, true);
        status.setProgressVisible(ProgressBar::Status2, true);
        const std::string amount = doubleText(*value);
        for (int i = 0; i < ctx.model.objectCount(); ++i) {
            const int16_t n = int16_t(i);
            if (peo) {
                addToLog(ctx, "Rescaling object " + intText(i) + ": " + ctx.model.peoObjects[size_t(i)].name + " by " +
                                  amount + "%");
                if (!scaleObject(ctx, n, factor)) return;
                setErrorContext(ctx, "frmTARV", "cmdScalePeo_Click");
                rebuildObjectView(ctx, n, "cmdScalePeo_Click");
            }
            const int16_t track = ctx.model.peoObjects[size_t(i)].madObjectIndex;
            if (mad && track != -1 && steps.madKeyframes) {
                steps.madKeyframes(ctx, track, factor);
                setErrorContext(ctx, "frmTARV", "cmdScalePeo_Click");
            }
        }
        if (mex && steps.mexChunks) {
            steps.mexChunks(ctx, factor);
            setErrorContext(ctx, "frmTARV", "cmdScalePeo_Click");
        }
        status.setProgressVisible(ProgressBar::LoadTextures, false);
        status.setProgressVisible(ProgressBar::Status2, false);
        if (peo || mex || mad) {
            ctx.prompts().messageBox(kScalingComplete, ctx.version.appTitle, PromptIcon::None);
            addToLog(ctx, kScalingComplete);
        }
    });
}

void cmdRotate_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdRotate_Click", "", [&] {
        const ToolsPageState& tools = *ctx.toolsPage;
        const int16_t mode = int16_t(tools.cmbRotateAmount.listIndex);
        if (mode != 0 && mode != 1) return;
        const int16_t axis = tools.rotateOption == 0 ? 0 : tools.rotateOption == 1 ? 1 : 2;
        for (int i = 0; i < ctx.model.objectCount(); ++i) {
            const int16_t n = int16_t(i);
            addToLog(ctx, "Rotating object " + intText(i) + ": " + ctx.model.peoObjects[size_t(i)].name);
            if (!rotateObject(ctx, n, axis, mode)) return;
            setErrorContext(ctx, "frmTARV", "cmdRotate_Click");
            recomputeExtents(ctx.model.peoObjects[size_t(i)]);
            rebuildObjectView(ctx, n, "cmdRotate_Click");
        }
    });
}

}  // namespace tarv
