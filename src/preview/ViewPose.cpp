// The frame helpers that need the rotation math: a view's frame turned by Euler angles, and an object's frame
// put back to the pose of its stored matrix.
#include "preview/PreviewScene.h"

#include <string>

#include "model/RotationMath.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

void setFrameRotation(ViewObject& view, const Vector3& angles) { setFrameQuaternion(view, makeQuaternion(angles)); }

void resetPeoObject(EditingContext& ctx, int16_t objNo) {
    const std::string args = std::to_string(objNo);
    trapErrors(ctx, "modPeo", "resetPeoObject", args, [&] {
        if (objNo < 0 || objNo >= ctx.model.objectCount() || size_t(objNo) >= ctx.view.viewObjects.size())
            throw RunTimeError::subscriptOutOfRange();
        ViewObject& view = ctx.view.viewObjects[size_t(objNo)];
        roundMatrix(ctx.model.peoObjects[size_t(objNo)].matrix, view.matrix);
        positionViewObject(view);
        const Vector3 angles = getObjectEulersFromMatrix(ctx, objNo);
        setErrorContext(ctx, "modPeo", "resetPeoObject", args);  // the call above recorded its own
        setFrameQuaternion(view, getObjectQuaternion(angles));
    });
}

}  // namespace tarv
