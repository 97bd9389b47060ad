#include "animation/MadSteps.h"

#include "animation/AnimationList.h"
#include "animation/KeyframePanel.h"
#include "animation/Playback.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

class KeyframePanelKeys : public SelectionKeysHook {
public:
    void getAnimations(EditingContext& ctx, int16_t objNo) override { tarv::getAnimations(ctx, objNo); }
};

KeyframePanelKeys keyframePanelKeys;  // holds no state: one serves every context

}  // namespace

void connectAnimation(EditingContext& ctx) {
    ctx.objects.keysHook = &keyframePanelKeys;
    connectPlayback(ctx);
}

}  // namespace tarv
