#include "animation/AnimationList.h"

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <vector>

#include "animation/KeyframePanel.h"
#include "animation/MadFile.h"
#include "animation/MadTracks.h"
#include "animation/Playback.h"
#include "animation/state/AnimationsPageState.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/Messages.h"
#include "editor/context/TrapGuard.h"
#include "model/Backups.h"
#include "model/LogFiles.h"

namespace tarv {

namespace {

constexpr float kWindowGap = 0.03333334f;
constexpr float kDefaultLength = 2.0f;
constexpr float kCloneFrame = 0.033333335f;
constexpr float kClosingOffset = 1.0f;
constexpr int kDebugLevel = 3;
constexpr int kMaxInvalidAnswers = 10;

const char* const kTooManyAnimations = "Can't have more than 32 animations!";

int validAnimation(const EditingContext& ctx, int index) {
    return index >= 0 && size_t(index) < ctx.animation.madAnimations.size() ? index : -1;
}

void selectInList(EditingContext& ctx, int index) {
    ctx.animationsPage->lstAnimationsIndex = index;
    lstAnimations_Click(ctx);
}

void selectInCombo(EditingContext& ctx, int index) {
    ctx.animationsPage->cmbObjAnimsIndex = index;
    cmbObjAnims_Click(ctx);
}

// The closing key of every track that has keys moves to time.
void moveClosingKeys(EditingContext& ctx, float time) {
    for (MadObject& track : ctx.animation.madObjects)
        if (!track.keyframes.empty()) track.keyframes.back().time = time;
}

// Copies of the keys of track t inside the source window, placed before its closing key in the new window
// [S, E]; a new closing key follows one second after the last copy. A track whose last key in the window
// comes before its first (every found key lies just outside the window) gets no copies.
void cloneTrackKeys(EditingContext& ctx, int t, int source, float S, float E, float f, bool reversed) {
    const int K = getStartKeyframeForAnim(ctx, t, source);
    const int M = getEndKeyframeForAnim(ctx, t, source);
    if (M < K) return;
    MadObject& track = ctx.animation.madObjects.at(size_t(t));
    auto& keys = track.keyframes;
    const int a = M - K + 1;
    const int c = track.keyframeCount();
    if (c < 1 || M >= c) throw RunTimeError::subscriptOutOfRange();
    const float timeK = keys[size_t(K)].time;
    // A window holding the closing key itself would overwrite its source: those keys are copied aside.
    std::vector<MadKeyframe> aside;
    if (M >= c - 1) aside.assign(keys.begin() + K, keys.begin() + M + 1);
    keys.resize(size_t(c + a));
    for (int j = 0; j < a; ++j) {
        const int k = reversed ? M - j : K + j;
        MadKeyframe copy = aside.empty() ? keys[size_t(k)] : aside[size_t(k - K)];
        const float o = unifyTime((copy.time - timeK) * f) * kCloneFrame;
        if (reversed)
            copy.time = k == M ? S : E - o;
        else
            copy.time = k == M ? E : S + o;
        keys[size_t(c - 1 + j)] = copy;
    }
    MadKeyframe closing = keys[size_t(c + a - 2)];
    closing.time += kClosingOffset;
    keys[size_t(c + a - 1)] = closing;
}

}  // namespace

int lstAnimationsSelection(const EditingContext& ctx) {
    return validAnimation(ctx, ctx.animationsPage->lstAnimationsIndex);
}

int cmbObjAnimsSelection(const EditingContext& ctx) {
    return validAnimation(ctx, ctx.animationsPage->cmbObjAnimsIndex);
}

void clearAnimationSelection(EditingContext& ctx) {
    AnimationsPageState& page = *ctx.animationsPage;
    page.startTime.clear();
    page.endTime.clear();
    page.txtAnimName.clear();
    page.loopBox = false;
    page.lstAnimationsIndex = -1;
    page.cmbObjAnimsIndex = -1;
}

void lstAnimations_Click(EditingContext& ctx) {
    const int i = lstAnimationsSelection(ctx);
    if (i < 0) return;
    AnimationsPageState& page = *ctx.animationsPage;
    const MadAnimation& a = ctx.animation.madAnimations[size_t(i)];
    page.startTime = floatText(a.startTime);
    page.endTime = floatText(a.endTime);
    page.loopBox = a.loop != 0;
    page.txtAnimName = a.name;
}

void lstAnimations_DblClick(EditingContext& ctx) { cmdPlayAnimation_Click(ctx); }

bool cmdAnimNew_Click(EditingContext& ctx) {
    bool added = false;
    trapErrors(ctx, "frmTARV", "cmdAnimNew_Click", "", [&] {
        auto& animations = ctx.animation.madAnimations;
        const int n = int(animations.size());
        if (n >= kMaxMadAnimations) {
            okMessage(ctx, kTooManyAnimations);
            return;
        }
        float latest = 0;
        for (const MadAnimation& a : animations)
            if (a.endTime > latest) latest = a.endTime;
        MadAnimation fresh;
        fresh.name = "Animation_#" + intText(n + 1);
        fresh.startTime = latest == 0 ? 0.0f : latest + kWindowGap;
        fresh.endTime = fresh.startTime + kDefaultLength;
        fresh.loop = 0;
        animations.push_back(fresh);
        added = true;
        moveClosingKeys(ctx, fresh.endTime + kClosingOffset);
        if (n == 0) selectInCombo(ctx, 0);
        setErrorContext(ctx, "frmTARV", "cmdAnimNew_Click");
        selectInList(ctx, n);
        ctx.road.keyframesPageEnabled = true;
    });
    return added;
}

void cmdAnimApply_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdAnimApply_Click", "", [&] {
        const int i = lstAnimationsSelection(ctx);
        if (i < 0) return;
        AnimationsPageState& page = *ctx.animationsPage;
        const auto end = parseNumber(page.endTime);
        const auto start = parseNumber(page.startTime);
        // A window before the opening key's time would take the opening key with its keys.
        if (!end || !start || float(*start) < 0) {
            okMessage(ctx, kAnimationInvalidNumberText);
            return;
        }
        if (page.txtAnimName.empty()) return;
        MadAnimation& a = ctx.animation.madAnimations[size_t(i)];
        a.startTime = float(*start);
        a.endTime = float(*end);
        a.loop = page.loopBox ? 1 : 0;
        a.name = page.txtAnimName;
    });
}

void checkAllAnimObjects(EditingContext& ctx, int16_t a) {
    trapErrors(ctx, "modMad", "checkAllAnimObjects", intText(a), [&] {
        auto& tracks = ctx.animation.madObjects;
        if (tracks.empty()) return;
        if (validAnimation(ctx, a) < 0) throw RunTimeError::subscriptOutOfRange();
        const MadAnimation window = ctx.animation.madAnimations[size_t(a)];
        // The debug lines are built only when the log level writes them.
        LogDetailLines debug(ctx, kDebugLevel);
        std::vector<uint8_t> marked;  // one mark per key, whatever its time
        for (size_t t = 0; t < tracks.size(); ++t) {
            MadObject& track = tracks[t];
            auto& keys = track.keyframes;
            debug.line([&] { return "Object " + track.name; });
            marked.assign(keys.size(), 0);
            int64_t d = 0;
            for (size_t k = 0; k < keys.size(); ++k) {
                if (window.startTime <= keys[k].time && keys[k].time <= window.endTime) {
                    marked[k] = 1;
                    ++d;
                }
            }
            debug.line([&] { return "  Deleted keyframes: " + intText(d); });
            if (d == 0) continue;
            // The kept keys move down in place.
            size_t kept = 0;
            for (size_t k = 0; k < keys.size(); ++k) {
                if (marked[k]) continue;
                debug.line([&] {
                    return "  keyframe " + intText(int64_t(k)) + " (" + floatText(keys[k].time) + ") " +
                           intText(int64_t(kept));
                });
                if (kept != k) keys[kept] = keys[k];
                ++kept;
            }
            debug.line([&] { return "Total for object: " + intText(int64_t(kept) - 1); });
            if (kept <= 2) {
                debug.line([&] { return "Deleting object: " + track.name; });
                for (PeoObject& object : ctx.model.peoObjects)
                    if (object.madObjectIndex == int16_t(t)) object.madObjectIndex = -1;
                track.name = kDeletedObjectName;
                keys.clear();
            } else {
                keys.resize(kept);
            }
        }
    });
}

void cmdAnimDelete_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdAnimDelete_Click", "", [&] {
        const int s = lstAnimationsSelection(ctx);
        if (s < 0) return;
        auto& animations = ctx.animation.madAnimations;
        const int n = int(animations.size());
        if (s == n - 1) writeLog(ctx, "Deleting animation: " + animations[size_t(s)].name, kDebugLevel);
        // The keys of the window go whichever animation is deleted.
        checkAllAnimObjects(ctx, int16_t(s));
        setErrorContext(ctx, "frmTARV", "cmdAnimDelete_Click");
        for (int i = s; i <= n - 2; ++i) {
            writeLog(ctx, animations[size_t(i + 1)].name + " -> " + animations[size_t(i)].name, kDebugLevel);
            animations[size_t(i)] = animations[size_t(i + 1)];
        }
        animations.resize(size_t(n - 1));
        AnimationsPageState& page = *ctx.animationsPage;
        if (animations.empty()) {
            clearAnimationSelection(ctx);
            setKeyframeInfo(ctx, false);
            page.frmKeyframeInfo = "No keyframes defined for this animation";
            page.lblkeyfdebug.clear();
            return;
        }
        selectInList(ctx, 0);
        selectInCombo(ctx, 0);
    });
}

void cmdCloneAnimation_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdCloneAnimation_Click", "", [&] {
        const int s = lstAnimationsSelection(ctx);
        if (s < 0) return;
        auto& animations = ctx.animation.madAnimations;
        const MadAnimation source = animations[size_t(s)];
        const float D = source.endTime - source.startTime;
        if (!cmdAnimNew_Click(ctx)) return;
        setErrorContext(ctx, "frmTARV", "cmdCloneAnimation_Click");
        const size_t c = animations.size() - 1;
        const float S = animations[c].startTime;
        animations[c].endTime = S + D;
        const bool reversed = ctx.prompts().yesNo("Do you want to reverse the keyframes for the new animation?",
                                                  ctx.version.appTitle, PromptIcon::Question);
        animations[c].name = std::string(reversed ? "Reverse " : "") + "Clone of " + source.name;
        selectInList(ctx, s);

        const std::string prompt = "Type an end time for this anim.\r\n\r\n(The start time is " + floatText(S) +
                                   " and the duration\r\n of the anim to be cloned is " + floatText(D) + " ).";
        // The proposed end reads back to S + D exactly: accepting it gives the keys that typing the end gives.
        const std::string defaultText = roundTripFloatText(S + D);
        int invalid = 0;
        float E = 0;
        for (;;) {
            const auto answer = ctx.prompts().inputBox(prompt, "Animation end time", defaultText);
            const auto number = answer ? parseNumber(*answer) : std::nullopt;
            if (number) {
                E = float(*number);
                if (E > S) break;
                okMessage(ctx, "This is no good, if you can't handle it, stick to the default.");
                continue;
            }
            if (invalid == kMaxInvalidAnswers) {
                // The clone keeps its default end and gets no keys; the closing keys follow that end.
                moveClosingKeys(ctx, S + D + kClosingOffset);
                return;
            }
            okMessage(ctx, "Please enter a valid number.");
            ++invalid;
        }
        animations[c].endTime = E;
        const float f = D > 0 ? (E - S) / D : 1.0f;
        std::vector<uint8_t> cloned(ctx.animation.madObjects.size(), 0);
        for (const PeoObject& object : ctx.model.peoObjects) {
            const int16_t t = object.madObjectIndex;
            if (t < 0) continue;
            if (size_t(t) >= cloned.size()) throw RunTimeError::subscriptOutOfRange();
            // Objects sharing a track copy its keys once.
            if (cloned[size_t(t)] || getNoOfKeyframesForAnim(ctx, t, s) < 1) continue;
            cloned[size_t(t)] = 1;
            cloneTrackKeys(ctx, t, s, S, E, f, reversed);
        }
        moveClosingKeys(ctx, E + kClosingOffset);
    });
}

float unifyTime(float unUnifiedTime) {
    const float frames = unUnifiedTime * 30.0f;
    return std::floor(frames);
}

void scaleMadkeyframes(EditingContext& ctx, int16_t track, float factor) {
    trapErrors(ctx, "modMad", "scaleMadkeyframes", intText(track) + "|" + floatText(factor), [&] {
        auto& tracks = ctx.animation.madObjects;
        if (track < 0 || size_t(track) >= tracks.size()) throw RunTimeError::subscriptOutOfRange();
        for (MadKeyframe& key : tracks[size_t(track)].keyframes) {
            key.position.x *= factor;
            key.position.y *= factor;
            key.position.z *= factor;
        }
    });
}

namespace {

// The Keyframes tab for the object of the tree's first node, then the tab enabled.
void prepareKeyframesTab(EditingContext& ctx) {
    const KeyedTree& tree = ctx.shell.treeHeirachy;
    if (tree.count() > 0) {
        const std::string& key = tree.nodeAt(1).key;
        getAnimations(ctx, int16_t(std::atoi(key.c_str() + (key.empty() ? 0 : 1))));
    }
    ctx.road.keyframesPageEnabled = true;
}

}  // namespace

void cmdLoadMADfile_Click(EditingContext& ctx) {
    std::optional<std::string> chosen;
    const bool prepared = trapErrors(ctx, "frmTARV", "cmdLoadMadFile_Click", "", [&] {
        CommonDialog& dialog = ctx.road.CommonDialog1;
        dialog.Filter = "Homeworld Animation Files (*.mad)|*.mad";
        dialog.FilterIndex = 1;
        dialog.FileName.clear();
        dialog.InitDir = !ctx.lod.lblLodPath.empty() ? ctx.lod.lblLodPath : folderOf(ctx.currentModelPath);
    });
    if (!prepared) return;
    try {
        chosen = ctx.road.CommonDialog1.ShowOpen(ctx.prompts());
        if (!chosen || chosen->empty()) return;
        stopPlayback(ctx);
        offerBackup(ctx, *chosen);
        clearAnimationSelection(ctx);
        getMadInfo(ctx, *chosen, true);
        prepareKeyframesTab(ctx);
    } catch (const std::exception&) {
        // The attach's own steps end silently; the procedures it calls report their errors themselves.
    }
}

void checkForMad(EditingContext& ctx, const std::string& madFile) {
    trapErrors(ctx, "frmTARV", "checkForMad", madFile, [&] {
        const std::string path = findBesideIgnoringCase(madFile);
        std::error_code ec;
        if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
            ctx.status().setPanelText(4, "");
            return;
        }
        offerBackup(ctx, path);
        getMadInfo(ctx, path, true);
        setErrorContext(ctx, "frmTARV", "checkForMad", madFile);
        prepareKeyframesTab(ctx);
    });
}

}  // namespace tarv
