#include "animation/SmdImport.h"

#include <cmath>
#include <filesystem>
#include <unordered_map>
#include <vector>

#include "animation/AnimationList.h"
#include "animation/KeyframePanel.h"
#include "animation/Playback.h"
#include "animation/state/AnimationsPageState.h"
#include "base/BinaryReader.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/ModelHelpers.h"
#include "model/RotationMath.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"

namespace tarv {

namespace {

constexpr double kPi = 3.14159265359;
constexpr float kHalfPi = float(kPi / 2);
constexpr double kCheckTolerance = 0.000001;
const char* const kTitle = "Milkshape SMD sequence file import";

double clamped(double v) { return v > 1 ? 1 : v < -1 ? -1 : v; }

// The arcsine of a clamped argument: +-pi/2 at exactly +-1, arcSin inside.
float arcsine(double v) {
    v = clamped(v);
    if (v == 1.0) return kHalfPi;
    if (v == -1.0) return -kHalfPi;
    return float(arcSin(v));
}

// One Euler pair (first, second) from a ratio's parts as the two conversions share it: first from
// atan(num / den) when den is not 0, else from the branches of num; second from atan(num2 / den2) likewise.
struct EulerParts {
    double num1, den1, num2, den2;
};

void eulerPair(const EulerParts& p, float& first, float& second) {
    const double n1 = clamped(p.num1), n2 = clamped(p.num2);
    if (p.den1 != 0) {
        first = float(std::atan(p.num1 / p.den1));
    } else if (n1 == 1.0) {
        first = kHalfPi;
        second = 0;
    } else if (n1 == -1.0) {
        first = -kHalfPi;
        second = 0;
    } else {
        first = arcsine(n1);
        second = arcsine(std::sqrt(1 - n1 * n1));
    }
    if (p.den2 != 0) {
        second = float(std::atan(p.num2 / p.den2));
    } else if (n2 == 1.0) {
        second = kHalfPi;
        first = 0;
    } else if (n2 == -1.0) {
        second = -kHalfPi;
        first = 0;
    } else {
        second = arcsine(n2);
        first = arcsine(std::sqrt(1 - n2 * n2));
    }
    if (p.num1 > 0 && first < 0) first = float(double(first) + kPi);
    if (p.num1 < 0 && first > 0) first = float(double(first) - kPi);
    if (p.num2 > 0 && second < 0) second = float(double(second) + kPi);
    if (p.num2 < 0 && second > 0) second = float(double(second) - kPi);
}

bool quaternionsDiffer(const Quaternion& a, const Quaternion& b) {
    auto differ = [](float p, float q) { return std::fabs(std::fabs(p) - std::fabs(q)) > float(kCheckTolerance); };
    return differ(a.w, b.w) || differ(a.x, b.x) || differ(a.y, b.y) || differ(a.z, b.z);
}

const Quaternion kNoRotation{1, 0, 0, 0};

}  // namespace

Vector3 reverseEulerOrder(const Vector3& angles) {
    const double x = angles.x, y = angles.y, z = angles.z;
    const double sx = std::sin(x), cx = std::cos(x), sy = std::sin(y), cy = std::cos(y), sz = std::sin(z),
                 cz = std::cos(z);
    const double ka = sx * cz - sy * cx * sz;
    const double kb = cx * cy;
    const double kc = sx * sz + sy * cx * cz;
    const double kd = cx * sz - sy * sx * cz;
    const double ke = cy * cz;
    Vector3 r;
    r.y = arcsine(kc);
    eulerPair({ka, kb, kd, ke}, r.x, r.z);
    return r;
}

Quaternion eulerToQuaternion(const Vector3& angles) {
    const double sx = std::sin(double(angles.x) / 2), cx = std::cos(double(angles.x) / 2);
    const double sy = std::sin(double(angles.y) / 2), cy = std::cos(double(angles.y) / 2);
    const double sz = std::sin(double(angles.z) / 2), cz = std::cos(double(angles.z) / 2);
    return {float(cx * cy * cz - sx * sy * sz), float(sx * cy * cz + cx * sy * sz), float(cx * sy * cz - sx * cy * sz),
            float(cx * cy * sz + sx * sy * cz)};
}

Quaternion invertQuaternion(const Quaternion& q) {
    const double n = double(q.w) * q.w + double(q.x) * q.x + double(q.y) * q.y + double(q.z) * q.z;
    if (n == 0) throw RunTimeError::divisionByZero();
    return {float(q.w / n), float(-q.x / n), float(-q.y / n), float(-q.z / n)};
}

Matrix4 quaternionToMatrix(const Quaternion& q) {
    const double a = q.w, b = q.x, c = q.z, d = -double(q.y);
    const double n = a * a + b * b + c * c + d * d;
    if (n == 0) throw RunTimeError::divisionByZero();
    Matrix4 m;
    const double rows[3][3] = {
        {(a * a + b * b - c * c - d * d) / n, 2 * (b * c + a * d) / n, 2 * (b * d - a * c) / n},
        {2 * (b * c - a * d) / n, (a * a - b * b + c * c - d * d) / n, 2 * (a * b + c * d) / n},
        {2 * (a * c + b * d) / n, 2 * (c * d - a * b) / n, (a * a - b * b - c * c + d * d) / n},
    };
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) m.at(i, j) = float(rows[i][j]);
    return m;
}

Vector3 matrixToEuler(const Matrix4& m) {
    Vector3 r;
    r.y = arcsine(-double(m.at(0, 2)));
    eulerPair({m.at(1, 2), m.at(2, 2), m.at(0, 1), m.at(0, 0)}, r.x, r.z);
    return r;
}

int matchSmdNodes(const EditingContext& ctx, std::vector<SmdNode>& nodes) {
    const auto& objects = ctx.model.peoObjects;
    std::unordered_map<std::string, int16_t> firstOfName;
    for (size_t i = objects.size(); i-- > 1;) firstOfName[objects[i].name] = int16_t(i);
    std::vector<uint8_t> taken(objects.size(), 0);
    int matched = 0;
    for (size_t k = 0; k < nodes.size(); ++k) {
        nodes[k].objectIndex = -1;
        if (k == 0) continue;  // the root bone
        auto it = firstOfName.find(nodes[k].name);
        if (it == firstOfName.end() || taken[size_t(it->second)]) continue;
        taken[size_t(it->second)] = 1;
        nodes[k].objectIndex = it->second;
        ++matched;
    }
    return matched;
}

namespace {

// Step 4: every bone line but each frame's first converted to X, Y, Z angles; false after a No.
bool convertRotations(EditingContext& ctx, SmdSequence& smd) {
    for (SmdFrame& frame : smd.frames) {
        for (size_t k = 1; k < frame.poses.size(); ++k) {
            SmdBonePose& pose = frame.poses[k];
            const Vector3 xyz = reverseEulerOrder(pose.rotation);
            const Quaternion q = invertQuaternion(eulerToQuaternion(xyz));
            pose.quaternion = q;
            pose.converted = true;
            const Vector3 angles = matrixToEuler(quaternionToMatrix(q));
            pose.checkQuaternion = makeQuaternion(angles);
            if (quaternionsDiffer(pose.checkQuaternion, q) &&
                !ctx.prompts().yesNo("Tarv detected an inappropriate rotation order (i.e. \xC3\xB2ther than Z -> Y -> "
                                     "X).\r\nYour animation will probably be disrupted. Continue?",
                                     kTitle, PromptIcon::Question))
                return false;
            pose.rotation = angles;
        }
    }
    return true;
}

// Step 5: the root's motion handed to its single child, then every frame's root line cleared.
void handOverRootMotion(SmdSequence& smd) {
    int children = 0;
    const SmdNode* child = nullptr;
    for (const SmdNode& node : smd.nodes)
        if (node.parentId == 0) {
            ++children;
            child = &node;
        }
    for (SmdFrame& frame : smd.frames) {
        if (frame.poses.empty()) continue;
        if (children == 1) {
            const Vector3 root = frame.poses[0].position;
            for (size_t k = 1; k < frame.poses.size(); ++k)
                if (frame.poses[k].boneId == child->nodeId) {
                    frame.poses[k].position = {root.x, root.z, -root.y};
                    break;
                }
        }
        SmdBonePose& first = frame.poses[0];
        first.position = {};
        first.rotation = {};
        first.quaternion = first.checkQuaternion = kNoRotation;
        first.converted = true;
    }
}

// What a completed import puts into the model, built aside.
struct SmdResult {
    MadAnimation animation;
    std::vector<MadObject> tracks;
    std::vector<int16_t> links;  // madObjectIndex of every model object
    std::vector<std::pair<int16_t, std::shared_ptr<scene::Interpolator>>> interpolators;
    float playEndTime = 0;
};

SmdResult buildResult(EditingContext& ctx, SmdSequence& smd) {
    SmdResult r;
    const auto& frames = smd.frames;
    const size_t F = frames.size();
    r.animation = {"Animation_#1", 0.0f, frames.back().time, 0};
    r.links.assign(ctx.model.peoObjects.size(), -1);
    for (size_t n = 0; n < smd.nodes.size(); ++n) {
        SmdNode& node = smd.nodes[n];
        node.trackIndex = -1;
        if (node.objectIndex < 0) continue;
        node.trackIndex = int16_t(r.tracks.size());
        MadObject track;
        track.name = ctx.model.peoObjects[size_t(node.objectIndex)].name;
        track.animBits = 1;
        track.keyframes.resize(F + 2);
        for (size_t k = 1; k <= F; ++k) {
            MadKeyframe& key = track.keyframes[k];
            key.time = frames[k - 1].time;
            key.position = frames[k - 1].poses[n].position;
            key.rotation = frames[k - 1].poses[n].rotation;
        }
        track.keyframes[0] = track.keyframes[1];
        track.keyframes[0].time = -1;
        track.keyframes[F + 1] = track.keyframes[F];
        track.keyframes[F + 1].time = r.animation.endTime + 1;
        r.tracks.push_back(std::move(track));
        // Every object (index 1 up) of the bone's name plays the track.
        for (size_t i = 1; i < ctx.model.peoObjects.size(); ++i)
            if (ctx.model.peoObjects[i].name == r.tracks.back().name) r.links[i] = node.trackIndex;

        auto& views = ctx.view.viewObjects;
        if (size_t(node.objectIndex) >= views.size()) throw RunTimeError::subscriptOutOfRange();
        const scene::FramePtr& frame = frameOf(views[size_t(node.objectIndex)]);
        auto interpolator = scene::createInterpolator();
        for (const SmdFrame& f : frames) {
            const SmdBonePose& pose = f.poses[n];
            interpolator->setIndex(f.time);
            interpolator->setPosition(frame->getParent(), pose.position.x, pose.position.y, pose.position.z);
            interpolator->setQuaternion(frame->getParent(), pose.quaternion);
            r.playEndTime = f.time;
        }
        r.interpolators.emplace_back(node.objectIndex, interpolator);
    }
    return r;
}

}  // namespace

bool importSmd(EditingContext& ctx, SmdSequence& smd) {
    if (smd.nodes.empty() || smd.frames.empty()) throw RunTimeError::subscriptOutOfRange();
    if (!convertRotations(ctx, smd)) return false;
    handOverRootMotion(smd);
    const int matched = matchSmdNodes(ctx, smd.nodes);
    if (int(smd.nodes.size()) != matched + 1 &&
        !ctx.prompts().yesNo("Not all bone names match! Do you wish to continue? ", kTitle, PromptIcon::Question))
        return false;
    SmdResult r = buildResult(ctx, smd);

    ctx.animation.madAnimations = {r.animation};
    ctx.animation.madObjects = std::move(r.tracks);
    for (size_t i = 0; i < r.links.size(); ++i) ctx.model.peoObjects[i].madObjectIndex = r.links[i];
    for (auto& [object, interpolator] : r.interpolators) {
        ViewObject& view = ctx.view.viewObjects[size_t(object)];
        view.interpolator = interpolator;
        interpolator->attachObject(frameOf(view));
    }
    if (!r.interpolators.empty()) ctx.preview.playback.playEndTime = r.playEndTime;
    ctx.animationsPage->lstAnimationsIndex = 0;
    lstAnimations_Click(ctx);
    return true;
}

bool getSMDInfo(EditingContext& ctx, const std::string& path) {
    bool completed = false;
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return false;
    trapErrors(ctx, "modSmd", "getSMDInfo", path, [&] {
        const BinaryReader file = BinaryReader::fromFile(path);
        try {
            SmdSequence smd = parseSmd(file.data(), fileNameOf(path));
            completed = importSmd(ctx, smd);
        } catch (RunTimeError& e) {
            e.whileReading(fileNameOf(path));
            throw;
        }
    });
    return completed;
}

void mnuImportFromSMD_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "mnuImportFromSMD_Click", "", [&] {
        CommonDialog& dialog = ctx.road.CommonDialog1;
        dialog.Filter = "Milkshape HalfLife sequence files (*.smd)|*.smd";
        dialog.FilterIndex = 1;
        dialog.FileName.clear();
        dialog.InitDir = !ctx.lod.lblLodPath.empty() ? ctx.lod.lblLodPath : folderOf(ctx.currentModelPath);
        const std::optional<std::string> chosen = dialog.ShowOpen(ctx.prompts());
        if (!chosen || chosen->empty()) return;
        stopPlayback(ctx);
        clearAnimationSelection(ctx);
        const bool completed = getSMDInfo(ctx, *chosen);
        setErrorContext(ctx, "frmTARV", "mnuImportFromSMD_Click");
        // The preview plays only what a completed import built.
        if (!completed) return;
        AnimationsPageState& page = *ctx.animationsPage;
        if (ctx.prompts().yesNo("Do you wish to see a preview of the anim, straight from the file?", kTitle,
                                PromptIcon::Question)) {
            PlaybackState& play = ctx.preview.playback;
            play.isPlaying = 1;
            play.playObject = -1;
            play.playAnimation = 0;
            page.cmdPlayAnimationCaption = "Stop";
            play.playStartTime = ctx.clock().monotonicSeconds();
        }
        page.cmbObjAnimsIndex = 0;
        cmbObjAnims_Click(ctx);
        setKeyframeInfo(ctx, true);
        ctx.road.keyframesPageEnabled = true;
    });
}

}  // namespace tarv
