#include "animation/MadSteps.h"

#include "animation/AnimationList.h"
#include "animation/KeyframeDump.h"
#include "animation/KeyframePanel.h"
#include "animation/Playback.h"
#include "editor/context/EditingContext.h"

namespace tarv {

void connectAnimation(EditingContext& ctx) {
    ctx.road.steps.checkForMad = checkForMad;
    ctx.objects.getAnimations = getAnimations;
    ctx.road.steps.removeKeyframeDump = removeKeyframeDump;
    connectPlayback(ctx);
}

}  // namespace tarv
