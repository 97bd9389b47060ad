#include "objects/ObjectSelection.h"

#include <cfloat>
#include <cmath>

#include "model/ModelHelpers.h"
#include "base/NumberText.h"
#include "model/RotationMath.h"
#include "editor/context/TrapGuard.h"
#include "objects/ObjectDialogs.h"
#include "objects/ObjectLinks.h"
#include "preview/LocalAxes.h"
#include "preview/PreviewScene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

void checkObject(const EditingContext& ctx, int16_t objNo) {
    if (objNo < 0 || objNo >= ctx.model.objectCount() || size_t(objNo) >= ctx.view.viewObjects.size())
        throw RunTimeError::subscriptOutOfRange();
}

// The frame back to the pose of the object's matrix: rounded copy, position, orientation. Returns the
// Euler angles it used. Restores the caller's error context after the angles recorded their own.
Vector3 poseFromMatrix(EditingContext& ctx, int16_t objNo) {
    const ErrorContext caller = ctx.err;
    ViewObject& view = ctx.view.viewObjects[size_t(objNo)];
    roundMatrix(ctx.model.peoObjects[size_t(objNo)].matrix, view.matrix);
    positionViewObject(view);
    const Vector3 angles = getObjectEulersFromMatrix(ctx, objNo);
    ctx.err = caller;
    setFrameQuaternion(view, getObjectQuaternion(angles));
    return angles;
}

std::string angleText(float radians) { return doubleText(roundHalfEven(double(radians) * 180 / kPi, 3)); }

}  // namespace

void resetPreviousObject(EditingContext& ctx, int16_t objNo) {
    trapErrors(ctx, "modPeo", "resetPreviousObject", intText(objNo), [&] {
        checkObject(ctx, objNo);
        ViewObject& view = ctx.view.viewObjects[size_t(objNo)];
        const scene::MeshPtr& mesh = meshOf(view);
        mesh->setQuality(ctx.view.mnuRenderFlat ? 136 : 72);
        mesh->setColorRGB(view.colour.red, view.colour.green, view.colour.blue);
        if (selectionMarkerOn(ctx.view, view.frame)) detachSelectionMarker(ctx.view);
    });
}

void getObjectDetails(EditingContext& ctx, int16_t objNo) {
    const std::string args = intText(objNo);
    trapErrors(ctx, "modPeo", "getObjectDetails", args, [&] {
        checkObject(ctx, objNo);
        ObjectsState& s = ctx.objects;
        ViewObject& view = ctx.view.viewObjects[size_t(objNo)];
        const PeoObject& object = ctx.model.peoObjects[size_t(objNo)];
        if (view.shown == -1) {
            const scene::MeshPtr& mesh = meshOf(view);
            mesh->setQuality(ctx.view.mnuRenderFlat ? 128 : 64);
            const RgbColour& h = ctx.prefs.highlightColour;  // 0..255; the scene takes 0..1
            mesh->setColorRGB(h.red / 255.0, h.green / 255.0, h.blue / 255.0);
            if (s.selectedObject >= 0) {
                showLocalAxes(ctx, view);
                setErrorContext(ctx, "modPeo", "getObjectDetails", args);
            }
        }
        s.lblObjectName[0] = object.name;
        s.lblObjectName[1] = object.name;
        const Vector3 angles = poseFromMatrix(ctx, objNo);
        getMatrix(ctx, objNo);
        s.rotX = angleText(angles.x);
        s.rotY = angleText(angles.y);
        s.rotZ = angleText(angles.z);
        getObjectFlags(ctx, objNo);
        if (s.keysHook) s.keysHook->getAnimations(ctx, objNo);
        resetPeoObject(ctx, objNo);
        setErrorContext(ctx, "modPeo", "getObjectDetails", args);
        s.chkShowRecoilEnabled = false;
        for (int g = 0; g < ctx.shp.shpGunCount && size_t(g) < ctx.shp.shpGuns.size(); ++g)
            if (ctx.shp.shpGuns[size_t(g)].recoilJoint == object.name) s.chkShowRecoilEnabled = true;
    });
}

int16_t getNodeFromPeoObject(EditingContext& ctx, int16_t objNo) {
    int16_t result = 0;
    trapErrors(ctx, "modPeo", "getNodeFromPeoObject", intText(objNo), [&] {
        // Keys are "o" & number, so the node of an object is the one with its key.
        result = int16_t(ctx.shell.treeHeirachy.indexOf(objectKey(objNo)));
    });
    return result;
}

namespace {
void tickNode(EditingContext& ctx, int16_t objNo, bool ticked) {
    const int16_t node = getNodeFromPeoObject(ctx, objNo);
    if (node == 0) return;  // an object without a node only gets the 3D change
    KeyedTree& tree = ctx.shell.treeHeirachy;
    tree.setChecked(tree.nodeAt(node).key, ticked);
}
}  // namespace

void showObject(EditingContext& ctx, int16_t objNo) {
    const std::string args = intText(objNo);
    trapErrors(ctx, "modPeo", "showObject", args, [&] {
        checkObject(ctx, objNo);
        ViewObject& view = ctx.view.viewObjects[size_t(objNo)];
        if (view.shown == 0) {
            frameOf(view)->addVisual(meshOf(view));
            view.shown = -1;
            if (objNo == ctx.objects.selectedObject) showLocalAxes(ctx, view);  // the marker follows the selection
        }
        tickNode(ctx, objNo, true);
    });
}

void hideObject(EditingContext& ctx, int16_t objNo) {
    const std::string args = intText(objNo);
    trapErrors(ctx, "modPeo", "hideObject", args, [&] {
        checkObject(ctx, objNo);
        ViewObject& view = ctx.view.viewObjects[size_t(objNo)];
        if (view.shown == -1) {
            frameOf(view)->deleteVisual(meshOf(view));
            view.shown = 0;
            if (selectionMarkerOn(ctx.view, view.frame)) detachSelectionMarker(ctx.view);
        }
        tickNode(ctx, objNo, false);
    });
}

void getMatrix(EditingContext& ctx, int16_t nKey) {
    checkObject(ctx, nKey);
    const Matrix4& m = ctx.model.peoObjects[size_t(nKey)].matrix;
    ObjectsState& s = ctx.objects;
    for (int i = 0; i < 16; ++i) s.localmatrix[size_t(i)] = floatText(m[i]);
    s.posX = s.localmatrix[3];
    s.posY = s.localmatrix[7];
    s.posZ = s.localmatrix[11];
    s.ShearX = s.localmatrix[12];
    s.ShearY = s.localmatrix[13];
    s.ShearZ = s.localmatrix[14];
    s.ScaleXYZ = s.localmatrix[15];
}

void cmdApplyMatrix_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdApplyMatrix_Click", "", [&] {
        ObjectsState& s = ctx.objects;
        std::string problem;
        if (s.selectedObject == -1) problem = "True";
        struct Box {
            const char* label;
            const std::string& text;
            float value = 0;
        } boxes[] = {{"rot. X ", s.rotX},    {"rot. Y ", s.rotY},   {"rot. Z ", s.rotZ},    {"pos. X ", s.posX},
                     {"pos. Y ", s.posY},    {"pos. Z ", s.posZ},   {"shear X ", s.ShearX}, {"shear Y ", s.ShearY},
                     {"shear Z ", s.ShearZ}, {"scale ", s.ScaleXYZ}};
        double rotation[3] = {0, 0, 0};
        for (size_t b = 0; b < std::size(boxes); ++b) {
            // A number beyond the 32-bit float range fails like a non-number: nothing is half-written.
            const std::optional<double> value = parseNumber(boxes[b].text);
            if (!value || !std::isfinite(*value) || std::fabs(*value) > double(FLT_MAX)) {
                problem = boxes[b].label + boxes[b].text;
                continue;
            }
            boxes[b].value = float(*value);
            if (b < 3) rotation[b] = *value;
        }
        if (!problem.empty()) {
            ctx.prompts().messageBox("Error in numeric input (" + problem + "), please re-enter.", ctx.version.appTitle,
                                     PromptIcon::None);
            return;
        }
        const int16_t objNo = s.selectedObject;
        checkObject(ctx, objNo);
        // The boxes were filled from M = Rz(z) Ry(y) Rx(x); the same order is written back.
        Vector3 angles;
        angles.x = static_cast<float>(kPi / 180 * rotation[0]);
        angles.y = static_cast<float>(kPi / 180 * rotation[1]);
        angles.z = static_cast<float>(kPi / 180 * rotation[2]);
        Matrix4 m = transposeMatrix(eulerToMatrix(angles));
        m[3] = boxes[3].value;
        m[7] = boxes[4].value;
        m[11] = boxes[5].value;
        m[12] = boxes[6].value;
        m[13] = boxes[7].value;
        m[14] = boxes[8].value;
        m[15] = boxes[9].value;
        ctx.model.peoObjects[size_t(objNo)].matrix = m;
        for (int i = 0; i < 16; ++i) s.localmatrix[size_t(i)] = floatText(m[i]);
        poseFromMatrix(ctx, objNo);
    });
}

namespace {
// Gives the selected object its deselected look. A selection left over from a model whose read failed has
// no view object any more: there is nothing to give back, and a click must not report that as an error.
void deselectCurrent(EditingContext& ctx) {
    const int16_t selected = ctx.objects.selectedObject;
    if (selected < 0) return;
    if (selected >= ctx.model.objectCount() || size_t(selected) >= ctx.view.viewObjects.size()) return;
    resetPreviousObject(ctx, selected);
}
}  // namespace

void selectPickedObject(EditingContext& ctx, int16_t objNo) {
    ObjectsState& s = ctx.objects;
    deselectCurrent(ctx);
    s.lblKey = objectKey(objNo);
    s.selectedObject = objNo;
    getObjectDetails(ctx, objNo);
    s.cmdApplyMatrixEnabled = s.cmdKeyfApplyEnabled = s.cmdAdvancedObjPropsEnabled = true;
    if (objNo >= 0 && objNo < ctx.model.objectCount()) {
        KeyedTree& tree = ctx.shell.treeHeirachy;
        if (const KeyedTree::Node* node = tree.firstWithText(ctx.model.peoObjects[size_t(objNo)].name))
            tree.setSelected(node->key);
    }
}

void clearPickedSelection(EditingContext& ctx) {
    ObjectsState& s = ctx.objects;
    deselectCurrent(ctx);
    s.lblKey.clear();
    s.selectedObject = -1;
    s.Dx_Label1 = "Nothing selected";
    s.cmdApplyMatrixEnabled = s.cmdKeyfApplyEnabled = s.cmdAdvancedObjPropsEnabled = false;
    // The Keyframes tab learns of the selection through the same hook as of a selected object.
    if (s.keysHook) s.keysHook->getAnimations(ctx, -1);
}

namespace {
std::string joinArgs(std::initializer_list<float> values) {
    std::string text;
    for (float v : values) text += (text.empty() ? "" : "|") + floatText(v);
    return text;
}
}  // namespace

double calcX(EditingContext& ctx, float y, float local6, float local7, float local10, float local11) {
    constexpr double pi = 3.14159265354;
    double result = 0;
    trapErrors(ctx, "frmTARV", "calcX", joinArgs({y, local6, local7, local10, local11}), [&] {
        const float q = float(double(local11) / std::cos(double(y)));
        double angle;
        if (float(q * q) == 1.0f) {
            angle = q == 1.0f ? 0 : -pi;
        } else {
            const double rest = 1 - double(q) * q;
            if (rest < 0) throw RunTimeError::invalidCall();
            angle = std::atan(-double(q) / std::sqrt(rest)) + 2 * std::atan(1.0);
        }
        result = roundHalfEven(-angle * 180 / pi, 2);
    });
    return result;
}

double calcY(EditingContext& ctx, float local3, float local1, float local11) {
    constexpr double pi = 3.14159265354;
    double result = 0;
    trapErrors(ctx, "frmTARV", "calcY", joinArgs({local3, local1, local11}), [&] {
        double angle;
        if (local3 == 1.0f)
            angle = pi / 2;
        else if (float(local3 * local3) == 1.0f)
            angle = -pi / 2;
        else
            angle = arcSin(local3);
        const double v = roundHalfEven(-angle * 180 / pi, 2);
        result = local1 > 0 || local11 > 0 ? v : 180 - v;
    });
    return result;
}

double calcZ(EditingContext& ctx, float y, float z) {
    double result = 0;
    trapErrors(ctx, "frmTARV", "calcZ", joinArgs({y, z}), [&] {
        const double w = -0.08742278 / std::cos(std::atan(0.08742278 / std::sqrt(0.9923572575370716)));
        result = 180 * arcSin(w) / 3.141592653589793;
    });
    return result;
}

namespace {
class ObjectPickSelection : public PickSelection {
public:
    void selectPickedObject(EditingContext& ctx, int16_t objNo) override { tarv::selectPickedObject(ctx, objNo); }
    void clearPickedSelection(EditingContext& ctx) override { tarv::clearPickedSelection(ctx); }
};

ObjectPickSelection pickSelection;  // holds no state: one serves every context
}  // namespace

void connectPickSelection(EditingContext& ctx) {
    ctx.preview.pickSelection = &pickSelection;
}

}  // namespace tarv
