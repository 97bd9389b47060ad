#include "objects/ObjectDialogs.h"

#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/LogFiles.h"
#include "model/PeoReader.h"
#include "model/RotationMath.h"
#include "objects/ObjectDelete.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"
#include "preview/LocalAxes.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewScene.h"

namespace tarv {

namespace {

PeoObject& selected(EditingContext& ctx, int16_t n) {
    if (n < 0 || n >= ctx.model.objectCount() || size_t(n) >= ctx.view.viewObjects.size())
        throw RunTimeError::subscriptOutOfRange();
    return ctx.model.peoObjects[size_t(n)];
}

std::string vertexLine(size_t i, const PeoVertex& v) {
    return intText(int64_t(i)) + ": " + floatText(v.x) + " " + floatText(v.y) + " " + floatText(v.z);
}

// Moves every vertex of object n by the offsets (32-bit results), each logged before and after. The lines
// go to the start-up log in one write.
void moveVertices(EditingContext& ctx, int16_t n, double dx, double dy, double dz) {
    PeoObject& object = ctx.model.peoObjects[size_t(n)];
    std::string lines;
    for (size_t i = 0; i < object.vertices.size(); ++i) {
        PeoVertex& v = object.vertices[i];
        lines += vertexLine(i, v) + "\r\n";
        v.x = float(double(v.x) + dx);
        v.y = float(double(v.y) + dy);
        v.z = float(double(v.z) + dz);
        lines += vertexLine(i, v) + "\r\n";
    }
    if (lines.empty()) return;
    lines.resize(lines.size() - 2);  // the log adds the last line break
    writeStartupLog(ctx, lines);
}

// The checks and the change that Bake and Pivot share: the count guard before anything changes, then the
// object's own geometry, the moved vertices, the extents and the mesh rebuilt on the object's frame.
template <class AfterMove>
void moveAndRebuild(EditingContext& ctx, int16_t n, double dx, double dy, double dz, bool attach,
                    AfterMove&& afterMove) {
    if (selected(ctx, n).vertices.size() > size_t(kMaxDialogVertices)) throw RunTimeError::overflow();
    ownGeometry(ctx, n);
    moveVertices(ctx, n, dx, dy, dz);
    afterMove();
    recomputeExtents(ctx.model.peoObjects[size_t(n)]);
    rebuild3dObjectMesh(ctx, n, attach);
}

}  // namespace

void getObjectFlags(EditingContext& ctx, int16_t objNo) {
    setErrorContext(ctx, "modPeo", "getObjectFlags", intText(objNo));
    if (objNo < 0 || objNo >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
    const PeoObject& o = ctx.model.peoObjects[size_t(objNo)];
    const float values[9] = {o.sizeX, o.sizeY, o.sizeZ, o.maxX, o.maxY, o.maxZ, o.minX, o.minY, o.minZ};
    for (size_t i = 0; i < 9; ++i) ctx.objects.dialogs.lblObjectSize[i] = floatText(values[i]);
}

bool cmdAdvancedObjProps_Click(EditingContext& ctx) {
    const int16_t n = ctx.objects.selectedObject;
    if (n < 0 || n >= ctx.model.objectCount()) return false;
    ctx.objects.dialogs.lblObjectName = ctx.model.peoObjects[size_t(n)].name;
    return true;
}

void cmdBakeVertices_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmAdvancedObjects", "cmdBakeVertices_Click", "", [&] {
        const int16_t n = ctx.objects.selectedObject;
        PeoObject& object = selected(ctx, n);
        ObjectDialogsState& d = ctx.objects.dialogs;
        d.lblBakeStatus = kBakingText;
        if (d.bakeStatus) d.bakeStatus->showBakeStatus(ctx);
        const float tx = object.matrix[3], ty = object.matrix[7], tz = object.matrix[11];
        writeStartupLog(ctx, "Baking....");
        writeStartupLog(ctx, "Matrix Values: ");
        writeStartupLog(ctx, "X: " + floatText(tx));
        writeStartupLog(ctx, "Y: " + floatText(ty));
        writeStartupLog(ctx, "Z: " + floatText(tz));
        const bool shown = ctx.view.viewObjects[size_t(n)].shown == -1;
        moveAndRebuild(ctx, n, tx, ty, tz, shown, [&] {
            Matrix4& m = ctx.model.peoObjects[size_t(n)].matrix;
            m[3] = m[7] = m[11] = 0;
        });
        d.lblBakeStatus = kBakeCompleteText;
        if (d.bakeStatus) d.bakeStatus->showBakeStatus(ctx);
        getObjectDetails(ctx, n);
        setErrorContext(ctx, "frmAdvancedObjects", "cmdBakeVertices_Click");
    });
}

void cmdCopyRotationMatrix_Click(EditingContext& ctx, const std::string& chosen) {
    trapErrors(ctx, "frmAdvancedObjects", "cmdCopyRotationMatrix_Click", "", [&] {
        const int16_t n = ctx.objects.selectedObject;
        if (n < 0) return;
        PeoObject& target = selected(ctx, n);
        int source = 0;
        for (int i = 0; i < ctx.model.objectCount(); ++i) {
            if (ctx.model.peoObjects[size_t(i)].name == chosen) {
                source = i;
                break;
            }
        }
        const Matrix4 from = ctx.model.peoObjects[size_t(source)].matrix;
        for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10}) target.matrix[i] = from[i];
        const Vector3 angles = getObjectEulersFromMatrix(ctx, n);
        setErrorContext(ctx, "frmAdvancedObjects", "cmdCopyRotationMatrix_Click");
        getMatrix(ctx, n);
        const auto degrees = [](float radians) {
            return doubleText(roundHalfEven(double(radians) * 180 / 3.14159265359, 3));
        };
        ctx.objects.rotX = degrees(angles.x);
        ctx.objects.rotY = degrees(angles.y);
        ctx.objects.rotZ = degrees(angles.z);
    });
}

void frmPivot_Activate(EditingContext& ctx) { ctx.objects.dialogs.txtPivot = {"0", "0", "0"}; }

bool cmdPivot_Click(EditingContext& ctx) {
    bool hide = false;
    trapErrors(ctx, "frmPivot", "cmdPivot_Click", "", [&] {
        const auto& boxes = ctx.objects.dialogs.txtPivot;
        for (const std::string& text : boxes) {
            if (!isNumeric(text)) {
                ctx.prompts().messageBox(kInvalidOffsetsText, ctx.version.appTitle, PromptIcon::None);
                return;
            }
        }
        const double dx = *parseNumber(boxes[0]), dy = *parseNumber(boxes[1]), dz = *parseNumber(boxes[2]);
        const int16_t n = ctx.objects.selectedObject;
        selected(ctx, n);
        writeStartupLog(ctx, "Pivoting....");
        writeStartupLog(ctx, "Offset Values: ");
        writeStartupLog(ctx, "X: " + doubleText(dx));
        writeStartupLog(ctx, "Y: " + doubleText(dy));
        writeStartupLog(ctx, "Z: " + doubleText(dz));
        moveAndRebuild(ctx, n, dx, dy, dz, true, [] {});
        showObject(ctx, n);  // ticks its node
        setErrorContext(ctx, "frmPivot", "cmdPivot_Click");
        ViewObject& view = ctx.view.viewObjects[size_t(n)];
        if (ctx.view.selectionMarker.name == view.name) {
            showLocalAxes(ctx, view);
            setErrorContext(ctx, "frmPivot", "cmdPivot_Click");
        }
        resetPeoObject(ctx, n);
        setErrorContext(ctx, "frmPivot", "cmdPivot_Click");
        getObjectDetails(ctx, n);
        setErrorContext(ctx, "frmPivot", "cmdPivot_Click");
        hide = true;
    });
    return hide;
}

}  // namespace tarv
