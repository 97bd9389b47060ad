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
    // From the last to the first, so each frame is found and taken from the end of its parent's children.
    for (auto it = markers.rbegin(); it != markers.rend(); ++it) {
        if (!it->frame) continue;
        if (it->mesh) it->frame->deleteVisual(it->mesh);
        if (auto parent = it->frame->getParent()) parent->deleteChild(it->frame);
    }
    markers.clear();
}

MexMarkerBuilder& mexMarkers(EditingContext& ctx) {
    static MexMarkerBuilder none;  // stateless
    return ctx.mex.markers ? *ctx.mex.markers : none;
}

}  // namespace tarv
