// The .smd import of a synthetic sequence of 200 bones into a model of 32,767 objects (the argument is the
// number of frames, up to 2,000), against a floor that reads every number of the same text with strtod; and
// "Dump All keyframes" over tracks of 48 keys (the argument is the number of tracks, up to 682, so 32,767
// keys), against a floor that writes the same numbers with std::to_chars.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cstdlib>
#include <span>
#include <string>

#include "animation/KeyframeDump.h"
#include "animation/SmdFile.h"
#include "animation/SmdImport.h"
#include "editor/context/EditingContext.h"
#include "scene/Scene.h"

namespace {

using namespace tarv;

constexpr int kBones = 200;
constexpr int kObjects = 32767;

std::string sequenceText(int frames) {
    std::string s = "version 1\r\nnodes\r\n0 \"root\" -1\r\n";
    for (int b = 1; b < kBones; ++b) s += std::to_string(b) + " \"Bone" + std::to_string(b) + "\" 0\r\n";
    s += "end\r\nskeleton\r\n";
    for (int f = 0; f < frames; ++f) {
        s += "time " + std::to_string(f) + "\r\n";
        for (int b = 0; b < kBones; ++b)
            s += std::to_string(b) + " 1.250000 " + std::to_string(f) + ".500000 -3.000000 0.100000 0.200000 0.300000\r\n";
    }
    return s + "end\r\n";
}

struct BigModel {
    EditingContext ctx;
    scene::FramePtr root = scene::createFrame();
    BigModel() {
        ctx.prefs.logLevel = 0;
        ctx.model.peoObjects.resize(kObjects);
        ctx.view.viewObjects.resize(kObjects);
        for (int i = 0; i < kObjects; ++i) {
            ctx.model.peoObjects[size_t(i)].name = "Bone" + std::to_string(i % (2 * kBones));
            ctx.view.viewObjects[size_t(i)].frame = scene::createFrame(root);
        }
    }
};

std::span<const uint8_t> bytesOf(const std::string& text) {
    return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
}

void BM_SmdImport(benchmark::State& state) {
    const std::string text = sequenceText(int(state.range(0)));
    BigModel model;
    for (auto _ : state) {
        SmdSequence smd = parseSmd(bytesOf(text), "bench.smd");
        benchmark::DoNotOptimize(importSmd(model.ctx, smd));
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.SetComplexityN(state.range(0));
}

void BM_SmdNumbersFloor(benchmark::State& state) {
    const std::string text = sequenceText(int(state.range(0)));
    for (auto _ : state) {
        double sum = 0;
        const char* p = text.c_str();
        while (*p) {
            char* end;
            const double v = std::strtod(p, &end);
            if (end == p) ++p;
            else {
                sum += v;
                p = end;
            }
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.SetComplexityN(state.range(0));
}

constexpr int kKeysPerTrack = 48;

struct DumpShip {
    EditingContext ctx;
    explicit DumpShip(int tracks) {
        ctx.animation.madAnimations = {{"Open", 0, 20, 0}};
        for (int t = 0; t < tracks; ++t) {
            PeoObject object;
            object.name = "Arm" + std::to_string(t);
            object.madObjectIndex = int16_t(t);
            ctx.model.peoObjects.push_back(object);
            MadObject track;
            track.name = object.name;
            for (int k = 0; k < kKeysPerTrack; ++k) {
                MadKeyframe key;
                key.time = k == 0 ? -1.0f : float(k) * 0.41f;
                key.position = {float(k) * 1.5f, float(t), -2.25f};
                key.rotation = {0.1f * float(k), 0.2f, -0.3f};
                track.keyframes.push_back(key);
            }
            ctx.animation.madObjects.push_back(std::move(track));
        }
    }
};

void BM_DumpAllKeyframes(benchmark::State& state) {
    DumpShip ship(int(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(allKeyframesText(ship.ctx).size());
    state.SetComplexityN(state.range(0));
}

void BM_DumpNumbersFloor(benchmark::State& state) {
    DumpShip ship(int(state.range(0)));
    for (auto _ : state) {
        std::string text;
        char buffer[32];
        for (const MadObject& track : ship.ctx.animation.madObjects)
            for (const MadKeyframe& key : track.keyframes)
                for (float v : {key.time, key.position.x, key.position.y, key.position.z, key.rotation.x, key.rotation.y,
                                key.rotation.z}) {
                    auto r = std::to_chars(buffer, buffer + sizeof buffer, v);
                    text.append(buffer, r.ptr);
                    text += ' ';
                }
        benchmark::DoNotOptimize(text.size());
    }
    state.SetComplexityN(state.range(0));
}

BENCHMARK(BM_SmdImport)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SmdNumbersFloor)->Arg(250)->Arg(500)->Arg(1000)->Arg(2000)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpAllKeyframes)->Arg(85)->Arg(170)->Arg(341)->Arg(682)->Complexity()->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DumpNumbersFloor)->Arg(85)->Arg(170)->Arg(341)->Arg(682)->Complexity()->Unit(benchmark::kMillisecond);

}  // namespace
