#include "attachments/ChunkEditPanel.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <optional>

#include "attachments/ChunkMarkers.h"
#include "attachments/GunPanel.h"
#include "attachments/MexChunkTree.h"
#include "attachments/state/ShipInfoPageState.h"
#include "base/NumberText.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"

namespace tarv {

namespace {

MexDataPage& pageOf(EditingContext& ctx) { return ctx.shipInfoPage->mexData; }

void showLabel(MexDataLabel& label, const char* caption) {
    label.caption = caption;
    label.visible = true;
}

void showBox(MexDataBox& box, const std::string& text) {
    box.text = text;
    box.visible = true;
}

void showXyz(MexDataPage& p, int firstLabel, std::array<MexDataBox, 3>& boxes, const char* stem, const Vector3& v) {
    const char* const axes[3] = {" X", " Y", " Z"};
    const float values[3] = {v.x, v.y, v.z};
    for (int k = 0; k < 3; ++k) {
        p.mexLabel[size_t(firstLabel + k)].caption = std::string(stem) + axes[k];
        p.mexLabel[size_t(firstLabel + k)].visible = true;
        showBox(boxes[size_t(k)], floatText(values[k]));
    }
}

// A colour box as a whole colour component: not a number gives "Type mismatch", a negative one
// "Invalid procedure call or argument", above 255 counts as 255.
int32_t colourComponent(const std::string& text) {
    const std::optional<double> value = parseNumber(text);
    if (!value) throw RunTimeError(13, "Type mismatch");
    const int32_t whole = toInt32(*value);
    if (whole < 0) throw RunTimeError::invalidCall();
    return std::min(whole, 255);
}

// A checked box as a 32-bit float; beyond the float range is an overflow.
float singleOf(const std::string& text) {
    const double value = parseNumber(text).value_or(0);
    if (!std::isfinite(value) || std::fabs(value) > double(FLT_MAX)) throw RunTimeError::overflow();
    return float(value);
}

Vector3 vectorOf(const std::array<MexDataBox, 3>& boxes) {
    return {singleOf(boxes[0].text), singleOf(boxes[1].text), singleOf(boxes[2].text)};
}

int32_t levelOf(const std::string& text) { return toInt32(parseNumber(text).value_or(0)); }

// While a ship definition is loaded a gun's ID must name a gun record: at least three characters, then a
// number from 0 to the last record within 16 bits.
void checkGunId(const EditingContext& ctx, const std::string& id) {
    if (ctx.shp.noShpLoaded) return;
    if (id.size() < 3) throw RunTimeError(5, "Gun chunk ID \"" + id + "\" is shorter than three characters");
    const double number = roundHalfEven(leadingNumber(std::string_view(id).substr(3)));
    if (!(number >= 0 && number <= 32767 && number < double(ctx.shp.shpGuns.size())))
        throw RunTimeError(9, "Gun chunk ID \"" + id + "\" names no gun of the ship definition");
}

}  // namespace

void ChunkEditPanel::setMexInputVisible(EditingContext& ctx, const std::string& letter, const MexChunk& chunk) {
    MexDataPage& p = pageOf(ctx);
    trapErrors(ctx, "modMex", "setMexInputVisible", letter, [&] {
        for (auto& box : p.txtAngle) box.text = "0";
        for (auto& box : p.txtMexPos) box.text = "0";
        for (auto& box : p.txtMexOrt) box.text = "0";
        if (letter.empty()) {
            for (auto& label : p.mexLabel) label.visible = false;
            for (auto& box : p.txtAngle) box.visible = false;
            for (auto& box : p.txtMexPos) box.visible = false;
            for (auto& box : p.txtMexOrt) box.visible = false;
            p.txtMexName.visible = false;
            p.txtChunkId.visible = false;
            p.lblChunkID.visible = false;
            p.cmdMexNormaliseVisible = false;
            p.cmdBBAutoCalcVisible = false;
            p.picNavColourVisible = false;
            p.lblNavColour.visible = false;
            p.txtChunkId.enabled = true;
            p.cmdMexEditApplyEnabled = false;
            return;
        }
        const bool direction = letter == "g" || letter == "d" || letter == "e";
        const bool named = letter == "k" || letter == "s";
        if (letter != "c" && letter != "r" && !direction && !named && letter != "n") return;
        p.lblChunkID.visible = true;
        showBox(p.txtChunkId, chunk.chunkId);
        if (letter == "c") {
            showLabel(p.mexLabel[0], "Level");
            showBox(p.txtMexPos[0], intText(chunk.level));
            showLabel(p.mexLabel[2], "Radius");
            showBox(p.txtMexPos[2], floatText(chunk.coneAngle));
            showXyz(p, 3, p.txtMexOrt, "Center", chunk.position);
            p.cmdBBAutoCalcVisible = true;
        } else if (letter == "r") {
            showXyz(p, 0, p.txtMexPos, "Corner", chunk.position);
            showXyz(p, 3, p.txtMexOrt, "Size", chunk.normal);
            showLabel(p.mexLabel[7], "Level");
            showBox(p.txtAngle[1], intText(chunk.level));
            p.cmdBBAutoCalcVisible = true;
        } else if (direction || named) {
            showXyz(p, 0, p.txtMexPos, "Pos", chunk.position);
            showXyz(p, 3, p.txtMexOrt, "Normal", chunk.normal);
            showLabel(p.mexLabel[6], "coneAngle");
            showBox(p.txtAngle[0], floatText(chunk.coneAngle));
            showLabel(p.mexLabel[7], "edgeAngle");
            showBox(p.txtAngle[1], floatText(chunk.edgeAngle));
            p.cmdMexNormaliseVisible = true;
            if (named) {
                showLabel(p.mexLabel[8], "Chunk Name:");
                showBox(p.txtMexName, chunk.pointName);
                p.txtChunkId.enabled = false;
            }
        } else {  // n
            showXyz(p, 0, p.txtMexPos, "Position", chunk.position);
            const char* const captions[3] = {"Colour R", "Colour G", "Colour B"};
            const float colour[3] = {chunk.colour.red, chunk.colour.green, chunk.colour.blue};
            for (int k = 0; k < 3; ++k) {
                showLabel(p.mexLabel[size_t(3 + k)], captions[k]);
                showBox(p.txtMexOrt[size_t(k)], floatText(colour[k]));
            }
            showLabel(p.mexLabel[8], "Chunk Name:");
            showBox(p.txtMexName, chunk.pointName);
            p.txtChunkId.enabled = false;
            p.lblNavColour.visible = true;
            p.picNavColourVisible = true;
        }
        p.cmdMexEditApplyEnabled = true;
        if (letter == "n") {
            const int32_t red = colourComponent(p.txtMexOrt[0].text);
            const int32_t green = colourComponent(p.txtMexOrt[1].text);
            const int32_t blue = colourComponent(p.txtMexOrt[2].text);
            p.picNavColour = red + 256 * green + 65536 * blue;
        }
    });
}

void updateMexValues(EditingContext& ctx, const std::string& mType, int currChunkNo) {
    setErrorContext(ctx, "frmTARV", "updateMexValues", mType + "|" + intText(currChunkNo));
    const MexDataPage& p = pageOf(ctx);
    MexChunkTable& mex = ctx.mex;
    MexChunk next = mex.mexChunks.at(size_t(currChunkNo));
    std::optional<std::string> nodeText;
    if (mType == "c") {
        next.chunkId = p.txtChunkId.text;
        next.position = vectorOf(p.txtMexOrt);
        next.level = levelOf(p.txtMexPos[0].text);
        next.coneAngle = singleOf(p.txtMexPos[2].text);
    } else if (mType == "r") {
        next.chunkId = p.txtChunkId.text;
        next.normal = vectorOf(p.txtMexOrt);
        next.position = vectorOf(p.txtMexPos);
        next.level = levelOf(p.txtAngle[1].text);
    } else if (mType == "g" || mType == "d" || mType == "e" || mType == "k" || mType == "s") {
        const bool named = mType == "k" || mType == "s";
        next.chunkId = p.txtChunkId.text;
        if (named) next.pointName = p.txtMexName.text;
        next.normal = vectorOf(p.txtMexOrt);
        next.position = vectorOf(p.txtMexPos);
        next.coneAngle = singleOf(p.txtAngle[0].text);
        next.edgeAngle = singleOf(p.txtAngle[1].text);
        if (mType == "g") checkGunId(ctx, next.chunkId);
        nodeText = named ? next.pointName : next.chunkId;
    } else if (mType == "n") {
        next.chunkId = p.txtChunkId.text;
        next.pointName = p.txtMexName.text;
        const Vector3 colour = vectorOf(p.txtMexOrt);
        next.colour = {colour.x, colour.y, colour.z};
        next.position = vectorOf(p.txtMexPos);
        next.coneAngle = float(ctx.prefs.navLightSize);
        nodeText = next.pointName;
    } else {
        return;
    }
    mex.mexChunks[size_t(currChunkNo)] = next;
    if (nodeText) {
        const std::string key = mexChunkKey(mType[0], currChunkNo);
        if (mex.treeMex.find(key)) mex.treeMex.setText(key, *nodeText);
    }
    rebuildChunkMarker(ctx, currChunkNo);
}

void ChunkEditPanel::cmdMexEditApply_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdMexEditApply_Click", "", [&] {
        const int32_t index = selectedChunkIndex(ctx);
        if (index < 0) return;
        const MexDataPage& p = pageOf(ctx);
        const MexDataBox* const boxes[8] = {&p.txtAngle[0],  &p.txtAngle[1],  &p.txtMexPos[0], &p.txtMexPos[1],
                                            &p.txtMexPos[2], &p.txtMexOrt[0], &p.txtMexOrt[1], &p.txtMexOrt[2]};
        for (const MexDataBox* box : boxes) {
            if (!isNumeric(box->text)) {
                ctx.prompts().messageBox(kInvalidNumericInputText, ctx.version.appTitle, PromptIcon::None);
                return;
            }
        }
        const std::string key = ctx.mex.treeMex.selectedKey();
        updateMexValues(ctx, key.substr(0, 1), index);
    });
}

void ChunkEditPanel::setMexPosText(EditingContext& ctx, int i, const std::string& text) {
    if (i >= 0 && i < 3) pageOf(ctx).txtMexPos[size_t(i)].text = text;
}

void ChunkEditPanel::setMexOrtText(EditingContext& ctx, int i, const std::string& text) {
    if (i >= 0 && i < 3) pageOf(ctx).txtMexOrt[size_t(i)].text = text;
}

void ChunkEditPanel::hideAutoCalc(EditingContext& ctx) { pageOf(ctx).cmdBBAutoCalcVisible = false; }

void ChunkEditPanel::displayShpGunInfo(EditingContext& ctx, int16_t gun) { tarv::displayShpGunInfo(ctx, gun); }

void cmdMexNormalise_Click(EditingContext& ctx) {
    MexDataPage& p = pageOf(ctx);
    float v[3];
    for (int k = 0; k < 3; ++k) {
        const double value = parseNumber(p.txtMexOrt[size_t(k)].text).value_or(0);
        v[k] = float(std::clamp(value, -double(FLT_MAX), double(FLT_MAX)));
    }
    float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (!std::isfinite(length)) {  // squares beyond the float range: scale down by the largest first
        const float largest = std::max({std::fabs(v[0]), std::fabs(v[1]), std::fabs(v[2])});
        for (float& c : v) c /= largest;
        length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    }
    for (int k = 0; k < 3; ++k) p.txtMexOrt[size_t(k)].text = floatText(length > 0 ? v[k] / length : 0.0f);
}

void picNavColour_Click(EditingContext& ctx) {
    MexDataPage& p = pageOf(ctx);
    int32_t parts[3];
    for (int k = 0; k < 3; ++k) {
        const std::optional<double> value = parseNumber(p.txtMexOrt[size_t(k)].text);
        if (!value) return;
        const double whole = roundHalfEven(*value);
        if (!(whole >= 0 && whole <= 255)) return;
        parts[k] = int32_t(whole);
    }
    const int32_t start = parts[0] + 256 * parts[1] + 65536 * parts[2];
    const int32_t colour = ctx.prompts().chooseColour(start).value_or(start);
    p.picNavColour = colour;
    for (int k = 0; k < 3; ++k) p.txtMexOrt[size_t(k)].text = intText((colour >> (8 * k)) & 255);
}

void mexZoom_Click(EditingContext& ctx) {
    if (ctx.shipInfoPage->lblMexKey.empty()) return;
    const int32_t index = selectedChunkIndex(ctx);
    if (index < 0) return;
    const scene::FramePtr& camera = ctx.view.cameraFrame;
    const scene::FramePtr& zoom = ctx.view.zoomFrame;
    if (!camera || !zoom) return;
    const Vector3& at = ctx.mex.mexChunks[size_t(index)].position;
    camera->setPosition(zoom->getParent(), at.x, at.y, double(at.z) + 50);
}

}  // namespace tarv
