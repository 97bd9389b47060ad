#pragma once
// The scene's change mark: every change to what a scene shows (a frame's pose, parent, visuals or lights, a
// mesh's faces, a material, a light, a background, a viewport's size or view volume) counts here, so the
// window's clock draws only when a frame drawn now would differ from the last one.
#include <cstdint>

namespace tarv::scene {

namespace detail {
inline uint64_t sceneChanges = 1;
}

inline void markSceneChanged() { ++detail::sceneChanges; }
// Grows with every change to any scene.
inline uint64_t sceneChangeCount() { return detail::sceneChanges; }

}  // namespace tarv::scene
