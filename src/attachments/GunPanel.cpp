#include "attachments/GunPanel.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>
#include <string_view>

#include "attachments/ChunkEditPanel.h"
#include "attachments/MexPanel.h"
#include "attachments/state/ShipInfoPageState.h"
#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"

namespace tarv {

namespace {

ShipFileDataPage& pageOf(EditingContext& ctx) { return ctx.shipInfoPage->shipFileData; }

// The record of gun, or "Subscript out of range" naming the gun.
ShpGun& gunRecord(EditingContext& ctx, double gun) {
    std::vector<ShpGun>& guns = ctx.shp.shpGuns;
    if (!(gun >= 0 && gun <= 32767 && gun < double(guns.size())))
        throw RunTimeError::subscriptOutOfRange().withDetail("gun " + doubleText(gun) +
                                                             " has no record in the ship definition");
    return guns[size_t(gun)];
}

// The numeric beginning of a box as a 32-bit float; nothing when it lies beyond the float range.
std::optional<float> boxSingle(const std::string& text) {
    const double value = leadingNumber(text);
    if (!std::isfinite(value) || std::fabs(value) > double(FLT_MAX)) return std::nullopt;
    return float(value);
}

}  // namespace

void displayShpGunInfo(EditingContext& ctx, int16_t gun) {
    trapErrors(ctx, "frmTARV", "displayShpGunInfo", intText(gun), [&] {
        const ShpGun& g = gunRecord(ctx, gun);
        ShipFileDataPage& p = pageOf(ctx);
        ctx.shipInfoPage->cmbShpGunType.listIndex = g.gunType >= 1 && g.gunType <= 4 ? g.gunType - 1 : -1;
        p.txtShpGunInfo[0] = floatText(g.recoilLength);
        p.txtShpGunInfo[1] = floatText(g.barrelLength);
        p.filledGunInfo = {p.txtShpGunInfo[0], p.txtShpGunInfo[1]};
        p.shownGun = gun;
        p.lblShpGunInfo[3] = "Azimuth:";
        p.lblShpGunInfo[4] = "Declination:";
        const float limits[4] = {g.minTurnAngle, g.maxTurnAngle, g.minDeclination, g.maxDeclination};
        for (size_t k = 0; k < 4; ++k) p.txtShpGunAngles[k] = floatText(limits[k]);
        p.txtShpObjAz = g.azimuthJoint;
        p.txtShpObjDecl = g.declinationJoint;
    });
}

void cmdApplyShpInfo_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdApplyShpInfo_Click", "", [&] {
        if (selectedChunkIndex(ctx) < 0) return;
        const std::string& nodeText = ctx.mex.treeMex.at(ctx.mex.treeMex.selectedKey()).text;
        const std::string_view fromFourth = std::string_view(nodeText).substr(std::min<size_t>(3, nodeText.size()));
        const double gun = std::floor(leadingNumber(fromFourth));
        ShpGun& record = gunRecord(ctx, gun);
        ShipFileDataPage& p = pageOf(ctx);
        for (std::string& box : p.txtShpGunInfo)
            if (box.empty()) box = "0";

        ShpGun next = record;
        float* const lengths[2] = {&next.recoilLength, &next.barrelLength};
        for (size_t k = 0; k < 2; ++k) {
            const bool unedited = p.shownGun == gun && p.filledGunInfo[k] == p.txtShpGunInfo[k];
            if (unedited) continue;
            const std::optional<float> value = boxSingle(p.txtShpGunInfo[k]);
            if (!value) {
                ctx.prompts().messageBox(kInvalidNumericInputText, ctx.version.appTitle, PromptIcon::None);
                return;
            }
            *lengths[k] = std::fabs(*value);
        }
        float* const limits[4] = {&next.minTurnAngle, &next.maxTurnAngle, &next.minDeclination,
                                  &next.maxDeclination};
        for (size_t k = 0; k < 4; ++k) {
            const std::optional<float> value = boxSingle(p.txtShpGunAngles[k]);
            if (!value) {
                ctx.prompts().messageBox(kInvalidNumericInputText, ctx.version.appTitle, PromptIcon::None);
                return;
            }
            *limits[k] = *value;
        }
        next.azimuthJoint = p.txtShpObjAz;
        next.declinationJoint = p.txtShpObjDecl;
        record = next;
        // A box that was taken as edited stays edited until the panel is filled again.
        for (size_t k = 0; k < 2; ++k)
            if (p.filledGunInfo[k] != p.txtShpGunInfo[k]) p.filledGunInfo[k].reset();

        mexPanel(ctx).cmdMexEditApply_Click(ctx);
        setErrorContext(ctx, "frmTARV", "cmdApplyShpInfo_Click");
    });
}

}  // namespace tarv
