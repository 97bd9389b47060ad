#include "materials/MaterialProperties.h"

#include <array>

#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "materials/MaterialPatch.h"
#include "materials/state/MaterialsPageState.h"
#include "model/ModelHelpers.h"
#include "model/state/ShipModel.h"

namespace tarv {

namespace {

MaterialPropertiesState& dialog(EditingContext& ctx) { return ctx.materialsPage->properties; }

std::array<bool*, 6> flagsOf(PeoMaterial& m) {
    return {&m.smoothing, &m.flatShaded, &m.twoSided, &m.baseColour, &m.stripeColour, &m.selfIlluminated};
}

void setNavigation(EditingContext& ctx) {
    const auto& page = *ctx.materialsPage;
    dialog(ctx).cmdPrevEnabled = page.selectedIndex > 0;
    dialog(ctx).cmdNextEnabled = page.selectedIndex < int(page.lstMaterial.size()) - 1;
}

// A box read as the number at its start, rounded half to even; Overflow outside low..high.
int32_t boxValue(const std::string& text, double low, double high) {
    const double value = roundHalfEven(leadingNumber(text));
    if (!(value >= low && value <= high)) throw RunTimeError::overflow();
    return int32_t(value);
}

int32_t swatchFromBoxes(const MaterialPropertiesState& d, int swatch) {
    const auto byte = [&](int k) { return boxValue(d.txtColours[size_t(3 * swatch + k)], -32768, 32767); };
    return byte(0) + 256 * byte(1) + 65536 * byte(2);
}

void moveSelection(EditingContext& ctx, int by, const char* procedure) {
    trapErrors(ctx, "frmMaterials", procedure, "", [&] {
        auto& page = *ctx.materialsPage;
        const int next = page.selectedIndex + by;
        if (next < 0 || next >= int(page.lstMaterial.size())) return;
        page.selectedIndex = next;
        setNavigation(ctx);
        displayMaterialInfo(ctx, next);
    });
}

}  // namespace

void displayMaterialInfo(EditingContext& ctx, int i) {
    trapErrors(ctx, "frmMaterials", "displayMaterialInfo", intText(i), [&] {
        auto& d = dialog(ctx);
        PeoMaterial& m = ctx.model.materials.at(size_t(i));
        const auto flags = flagsOf(m);
        for (size_t k = 0; k < 6; ++k) d.chkFlags[k] = *flags[k];
        const std::string name = m.texture >= 0 && size_t(m.texture) < ctx.model.textures.size()
                                     ? ctx.model.textures[size_t(m.texture)].name
                                     : std::string();
        d.mtrLifName = "Material " + intText(i) + " name: " + name;
        const ColourBytes* colours[] = {&m.ambient, &m.diffuse, &m.specular};
        for (size_t c = 0; c < 3; ++c) {
            for (size_t k = 0; k < 3; ++k) d.txtColours[3 * c + k] = intText((*colours[c])[k]);
            d.txtColours[9 + c] = intText((*colours[c])[3]);
            // The swatch beside the boxes shows the same colour.
            d.swatches[c] = (*colours[c])[0] + 256 * (*colours[c])[1] + 65536 * (*colours[c])[2];
        }
        d.txtMtrKAlpha = floatText(m.kAlpha);
        d.txtFullAmbient = intText(m.fullAmbient);
        d.lstMatFaces.clear();
        // The entries are counted first, so a material on a million faces fills one allocation.
        size_t entries = 0;
        for (const auto& object : ctx.model.peoObjects)
            for (const auto& polygon : object.polygons) entries += polygon.material == i;
        d.lstMatFaces.reserve(entries);
        for (size_t o = 0; o < ctx.model.peoObjects.size(); ++o) {
            const auto& polygons = ctx.model.peoObjects[o].polygons;
            if (polygons.size() > 32768) throw RunTimeError::overflow();
            for (size_t p = 0; p < polygons.size(); ++p)
                if (polygons[p].material == i) d.lstMatFaces.push_back(intText(int64_t(o)) + " " + intText(int64_t(p)));
        }
    });
}

void frmMaterials_Activate(EditingContext& ctx) {
    trapErrors(ctx, "frmMaterials", "Form_Activate", "", [&] {
        auto& d = dialog(ctx);
        setNavigation(ctx);
        displayMaterialInfo(ctx, ctx.materialsPage->selectedIndex);
        setErrorContext(ctx, "frmMaterials", "Form_Activate", "");
        d.rgbBoxesEnabled = false;
        for (int s = 0; s < 3; ++s) d.swatches[size_t(s)] = swatchFromBoxes(d, s);
    });
}

void cmdPrev_Click(EditingContext& ctx) { moveSelection(ctx, -1, "cmdPrev_Click"); }
void cmdNext_Click(EditingContext& ctx) { moveSelection(ctx, +1, "cmdNext_Click"); }

void pictureClick(EditingContext& ctx, int swatch) {
    auto& d = dialog(ctx);
    d.CommonDialog1.Color = swatchFromBoxes(d, swatch);
    d.CommonDialog1.ShowColor(ctx.prompts());  // Cancel keeps the start colour
    const int32_t colour = d.CommonDialog1.Color;
    d.swatches[size_t(swatch)] = colour;
    d.txtColours[size_t(3 * swatch)] = intText(getRed(colour));
    d.txtColours[size_t(3 * swatch + 1)] = intText(getGreen(colour));
    d.txtColours[size_t(3 * swatch + 2)] = intText(getBlue(colour));
}

void cmdApply_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmMaterials", "cmdApply_Click", "", [&] {
        auto& d = dialog(ctx);
        const int i = ctx.materialsPage->selectedIndex;
        PeoMaterial& m = ctx.model.materials.at(size_t(i));
        // Every box is checked before anything is stored.
        std::array<ColourBytes, 3> colours{};
        for (size_t c = 0; c < 3; ++c) {
            for (size_t k = 0; k < 3; ++k) colours[c][k] = uint8_t(boxValue(d.txtColours[3 * c + k], 0, 255));
            colours[c][3] = uint8_t(boxValue(d.txtColours[9 + c], 0, 255));
        }
        const auto fullAmbient = int16_t(boxValue(d.txtFullAmbient, -32768, 32767));
        const auto flags = flagsOf(m);
        for (size_t k = 0; k < 6; ++k) *flags[k] = d.chkFlags[k];
        m.ambient = colours[0];
        m.diffuse = colours[1];
        m.specular = colours[2];
        m.fullAmbient = fullAmbient;
        const int16_t flagsWord = convertMatFlags(ctx, m);
        setErrorContext(ctx, "frmMaterials", "cmdApply_Click", "");
        patchMaterialInModelFile(ctx, i, flagsWord);
    });
}

void lstMatFaces_Click(EditingContext& ctx, const std::string& entry) {
    trapErrors(ctx, "frmMaterials", "lstMatFaces_Click", "", [&] {
        const std::string object = getWord(ctx, entry, 1);
        const std::string face = getWord(ctx, entry, 2);
        setErrorContext(ctx, "frmMaterials", "lstMatFaces_Click", "");
        if (GeometryInspectorHook* inspector = ctx.materialsPage->geometryInspector)
            inspector->showGeometryInspector(ctx, object, face);
    });
}

void clearMaterialFlags(EditingContext& ctx) { dialog(ctx).chkFlags = {}; }

}  // namespace tarv
