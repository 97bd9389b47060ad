#include "animation/MadSteps.h"

#include "animation/AnimationList.h"
#include "animation/KeyframePanel.h"
#include "animation/Playback.h"
#include "editor/context/EditingContext.h"

namespace tarv {

void connectAnimation(EditingContext& ctx) {
    ctx.objects.getAnimations = getAnimations;
    connectPlayback(ctx);
}

}  // namespace tarv
