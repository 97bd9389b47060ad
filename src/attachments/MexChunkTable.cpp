#include "attachments/state/MexChunkTable.h"

#include "editor/context/EditingContext.h"

namespace tarv {

const std::vector<MexChunkType>& mexChunkTypes() {
    static const std::vector<MexChunkType> types{
        {'c', "Col", "Root", ""},
        {'g', "Gun", "gRoot", "Guns"},
        {'d', "Dmg", "dRoot", "Damage points"},
        {'e', "Eng", "eRoot", "Engines"},
        {'r', "Rct", "Root", ""},
        {'k', "Dok", "kRoot", "Docking points"},
        {'s', "Sal", "sRoot", "Salvage points"},
        {'n', "Nav", "nRoot", "Navlights"},
    };
    return types;
}

const MexChunkType* mexChunkTypeByLetter(char letter) {
    for (const auto& type : mexChunkTypes())
        if (type.letter == letter) return &type;
    return nullptr;
}

const MexChunkType* mexChunkTypeByTag(std::string_view tag) {
    for (const auto& type : mexChunkTypes())
        if (tag == type.tag) return &type;
    return nullptr;
}

void resetMexChunkTable(EditingContext& ctx) {
    MexChunkTable& t = ctx.mex;
    t.mexChunks.clear();
    takeMexMarkersOffScene(t.mexMeshes);
    t.treeMex.clear();
    t.mexGunCount = t.mexNavLightCount = t.mexDockCount = t.mexSalvageCount = t.catSalvageDockCount = 0;
}

void takeMexMarkersOffScene(std::vector<ViewObject>& markers) {
    std::vector<scene::FramePtr> frames;
    frames.reserve(markers.size());
    for (ViewObject& marker : markers) {
        if (!marker.frame) continue;
        if (marker.mesh) marker.frame->deleteVisual(marker.mesh);
        frames.push_back(marker.frame);
    }
    scene::Frame::detachFrames(frames);
    markers.clear();
}

}  // namespace tarv
