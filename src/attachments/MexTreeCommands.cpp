#include "attachments/MexTreeCommands.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "attachments/ChunkMarkers.h"
#include "attachments/MexChunkTree.h"
#include "attachments/MexPanel.h"
#include "attachments/state/ShipInfoPageState.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/LogFiles.h"

namespace tarv {

namespace {

bool isChunkKey(const std::string& key) { return !key.empty() && !isMexGroupOrRootKey(key); }

// The chunk index of a chunk key that names a slot of the table, else -1.
int32_t chunkOfKey(const EditingContext& ctx, const std::string& key) {
    if (!isChunkKey(key)) return -1;
    const int32_t i = mexChunkIndexOfKey(key);
    return i >= 0 && i < ctx.mex.mexChunkCount() ? i : -1;
}

bool hasGunPrefix(const std::string& id) {
    if (id.size() < 3) return false;
    std::string head = id.substr(0, 3);
    std::transform(head.begin(), head.end(), head.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return head == "gun";
}

// The whole-number part of the number that starts at a text's fourth character; none when it does not fit
// 16 bits.
std::optional<int16_t> gunNumberFrom(const std::string& text) {
    if (text.size() < 3) return std::nullopt;
    const double n = std::trunc(leadingNumber(std::string_view(text).substr(3)));
    if (!(n >= -32768 && n <= 32767)) return std::nullopt;
    return int16_t(n);
}

// Step 5 of a click on a gun chunk: its gun page when the ship definition has the gun as a type-2 record.
void showGunPage(EditingContext& ctx, const MexChunk& chunk, const std::string& nodeText) {
    const ShipDefinition& shp = ctx.shp;
    if (shp.noShpLoaded || shp.shpGunCount <= 0 || !hasGunPrefix(chunk.chunkId)) return;
    const std::optional<int16_t> gun = gunNumberFrom(chunk.chunkId);
    if (!gun || *gun < 0 || size_t(*gun) >= shp.shpGuns.size() || shp.shpGuns[size_t(*gun)].gunType != 2) return;
    ctx.road.shipFileDataPageEnabled = true;
    const std::optional<int16_t> shown = gunNumberFrom(nodeText);
    mexPanel(ctx).displayShpGunInfo(ctx, shown.value_or(0));
}

// Add/Clone and Mirror: steps 2 to 12 on the selected node. False when nothing was added.
bool addChunk(EditingContext& ctx, bool mirror) {
    MexChunkTable& mex = ctx.mex;
    KeyedTree& tree = mex.treeMex;
    ShipInfoPageState& page = *ctx.shipInfoPage;
    const std::string selected = tree.selectedKey();
    if (selected.empty() || !tree.find(selected)) return false;
    if (!mirror) page.cmdMexAddEnabled = false;
    if (selected == "Root") {
        ctx.prompts().messageBox(kCantAddFromRootText, ctx.version.appTitle, PromptIcon::None);
        return false;
    }
    const std::string letter = selected.substr(0, 1);
    const char l = letter[0];
    const bool group = isMexGroupOrRootKey(selected);
    int32_t source = -1;
    if (!group) {
        source = chunkOfKey(ctx, selected);
        if (source < 0) throw RunTimeError::subscriptOutOfRange();
    }

    const int32_t i = mex.mexChunkCount();
    if (i >= 32767) throw RunTimeError::overflow();
    mex.mexChunks.emplace_back();
    mex.mexMeshes.emplace_back();
    const bool named = l == 'k' || l == 's' || l == 'n';
    std::string text;
    if (group) {
        createBlankMexMesh(ctx, letter + "NewChunk", i);
        MexChunk& c = mex.mexChunks[size_t(i)];
        c.chunkId = getNextChunkId(ctx, letter);
        if (l == 'd') {
            c.coneAngle = 15;
            c.edgeAngle = 5;
        }
        if (named) c.pointName = getNextChunkText(ctx, letter);
        text = named ? c.pointName : c.chunkId;
    } else {
        createBlankMexMesh(ctx, letter + intText(i), i);
        MexChunk copy = mex.mexChunks[size_t(source)];
        const int16_t node = int16_t(tree.indexOf(selected));
        if (named)
            copy.pointName = checkMexName(ctx, node);
        else
            copy.chunkId = checkMexName(ctx, node);
        text = named ? copy.pointName : copy.chunkId;
        if (mirror) {
            if (page.chkMexMirrorX) copy.position.x = -copy.position.x, copy.normal.x = -copy.normal.x;
            if (page.chkMexMirrorY) copy.position.y = -copy.position.y, copy.normal.y = -copy.normal.y;
            if (page.chkMexMirrorZ) copy.position.z = -copy.position.z, copy.normal.z = -copy.normal.z;
        }
        mex.mexChunks[size_t(i)] = copy;
    }
    setErrorContext(ctx, "frmTARV", mirror ? "cmdMexMirror_Click" : "cmdMexAdd_Click", "");

    ShipDefinition& shp = ctx.shp;
    if (l == 'g' && !shp.noShpLoaded) {
        // The table only grows: the reader may have made it longer than the definition's count for the
        // .mex's guns, and those records keep their arcs. It holds at least the count + 2 records and the
        // record the new chunk's ID names.
        size_t wanted = shp.shpGunCount > 0 ? size_t(shp.shpGunCount) + 2 : 2;
        const std::string& id = mex.mexChunks[size_t(i)].chunkId;
        if (id.size() >= 3) {
            const double number = roundHalfEven(leadingNumber(std::string_view(id).substr(3)));
            if (number >= 0 && number <= 32767) wanted = std::max(wanted, size_t(number) + 1);
        }
        if (shp.shpGuns.size() < wanted) shp.shpGuns.resize(wanted);
        shp.shpGunCount = int16_t(shp.shpGunCount + 1);
    }

    const std::string key = mexChunkKey(l, i);
    tree.addChild(group ? selected : tree.parentOf(selected), key, text);
    tree.setChecked(key, true);
    ViewObject& marker = mex.mexMeshes[size_t(i)];
    if (marker.frame && marker.mesh) marker.frame->addVisual(marker.mesh);
    marker.shown = -1;
    mex.mexChunks[size_t(i)].chunkType = letter;
    tree.setSelected(key);

    mexPanel(ctx).setMexInputVisible(ctx, letter, mex.mexChunks[size_t(i)]);
    setCounter(ctx, int16_t(getCounter(ctx, letter) + 1), letter);
    mexPanel(ctx).cmdMexEditApply_Click(ctx);
    setChunkColour(ctx, i);
    return true;
}

}  // namespace

void treeMex_NodeCheck(EditingContext& ctx, const std::string& key, bool checked) {
    trapErrors(ctx, "frmTARV", "treeMex_NodeCheck", key, [&] {
        KeyedTree& tree = ctx.mex.treeMex;
        if (!tree.find(key)) return;
        const auto apply = [&](const std::string& chunkKey, bool colourFirst) {
            const int32_t i = chunkOfKey(ctx, chunkKey);
            if (i < 0) return;
            if (!checked) {
                hideChunkMarker(ctx, i);
                return;
            }
            if (colourFirst) colourChunkMarker(ctx, i);
            showChunkMarker(ctx, i, true);
        };
        if (key == "Root") {
            for (int n = 1; n <= tree.count(); ++n) {
                KeyedTree::Node& node = tree.nodeAt(n);
                node.checked = checked;
                apply(node.key, false);
            }
        } else if (isMexGroupOrRootKey(key)) {
            const char letter = key[0];
            for (int n = 1; n <= tree.count(); ++n) {
                KeyedTree::Node& node = tree.nodeAt(n);
                if (node.key.empty() || node.key[0] != letter || isMexGroupOrRootKey(node.key)) continue;
                node.checked = checked;
                apply(node.key, true);
            }
        } else {
            apply(key, true);
        }
        tree.setChecked(key, checked);  // the tree's revision moves, so the view shows every tick
        renderCanvas(ctx);
    });
}

void treeMex_NodeClick(EditingContext& ctx, const std::string& key) {
    trapErrors(ctx, "frmTARV", "treeMex_NodeClick", key, [&] {
        MexChunkTable& mex = ctx.mex;
        ShipInfoPageState& page = *ctx.shipInfoPage;
        if (key.empty() || !mex.treeMex.find(key)) return;
        if (mex.mexChunkCount() > 0) mexPanel(ctx).setMexInputVisible(ctx, "", MexChunk{});
        const int32_t previous = chunkOfKey(ctx, page.lblMexKey);
        if (previous >= 0) colourChunkMarker(ctx, previous);

        const char first = key[0];
        const bool fixed = first == 'R' || first == 'r' || first == 'c';
        page.cmdMexAddEnabled = page.cmdMexDelEnabled = !fixed;
        ctx.road.shipFileDataPageEnabled = false;

        if (isMexGroupOrRootKey(key)) {
            page.cmdMexDelEnabled = false;
        } else {
            const int32_t i = chunkOfKey(ctx, key);
            if (i < 0) throw RunTimeError::subscriptOutOfRange();
            if (mex.mexMeshes[size_t(i)].shown == -1) whitenChunkMarker(ctx, i);
            mexPanel(ctx).setMexInputVisible(ctx, key.substr(0, 1), mex.mexChunks[size_t(i)]);
            if (first == 'g') showGunPage(ctx, mex.mexChunks[size_t(i)], mex.treeMex.at(key).text);
        }
        page.lblMexKey = key;
        renderCanvas(ctx);
    });
}

void treeMex_DblClick(EditingContext& ctx) {
    if (ctx.shipInfoPage->mexDataPageEnabled) ctx.road.ssTab3Page = 1;
}

void cmdMexAdd_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdMexAdd_Click", "", [&] {
        bool added = false;
        try {
            added = addChunk(ctx, false);
        } catch (...) {
            ctx.shipInfoPage->cmdMexAddEnabled = true;
            throw;
        }
        // After "Can't add from root!" the button stays disabled until the next node click.
        if (added) ctx.shipInfoPage->cmdMexAddEnabled = true;
    });
}

void cmdMexMirror_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdMexMirror_Click", "", [&] {
        addChunk(ctx, true);
        if (ctx.view.canvas) ctx.view.canvas->refresh();
    });
}

void cmdMexDel_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdMexDel_Click", "", [&] {
        MexChunkTable& mex = ctx.mex;
        KeyedTree& tree = mex.treeMex;
        const int32_t i = selectedChunkIndex(ctx);
        if (i < 0) return;
        const std::string key = tree.selectedKey();
        if (key[0] == 'c' || key[0] == 'r') return;
        writeLog(ctx, "Deleting Mex chunk: " + tree.at(key).text, 2);
        MexChunk& chunk = mex.mexChunks[size_t(i)];
        chunk.chunkId = kDeletedChunkId;
        mex.mexMeshes[size_t(i)].name = kDeletedChunkId;
        writeLog(ctx, "  -> Key: " + intText(i) + " Name: " + chunk.chunkId, 2);
        hideChunkMarker(ctx, i);
        const std::string group = tree.parentOf(key);
        tree.remove(key);
        if (!group.empty()) tree.setSelected(group);
        mexPanel(ctx).setMexInputVisible(ctx, "", MexChunk{});
        const std::string type = mex.mexChunks[size_t(i)].chunkType;
        setCounter(ctx, int16_t(getCounter(ctx, type) - 1), type);
        ctx.road.shipFileDataPageEnabled = false;
    });
}

}  // namespace tarv
