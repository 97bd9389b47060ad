#pragma once
// The benchmark scene: 200 frames in a tree (20 groups of 10), each showing a mesh of 5,000 triangles, all
// stacked along the view axis so that a ray through the centre meets every mesh's box.
#include <vector>

#include "scene/Scene.h"

namespace tarv::bench {

struct BenchScene {
    scene::FramePtr root = scene::createSceneRoot();
    std::shared_ptr<scene::Viewport> viewport = std::make_shared<scene::Viewport>(root);
    std::vector<float> worldTriangles;  // the same triangles in world coordinates, three corners each

    BenchScene() {
        viewport->setBack(25000);
        viewport->getCamera()->setOrientation(nullptr, {0, 0, -1}, {1, 0, 0});
        viewport->getCamera()->setPosition(nullptr, 0, 0, 400);
        auto world = scene::createFrame(root);
        for (int g = 0; g < 20; ++g) {
            auto group = scene::createFrame(world);
            group->setPosition(nullptr, 0, 0, -g * 10.0);
            for (int k = 0; k < 10; ++k) {
                auto frame = scene::createFrame(group);
                frame->setPosition(group, 0, 0, -k);
                frame->addRotation(scene::kCombineBefore, 0, 0, 1, 0.1 * k);
                auto mesh = scene::createMeshBuilder();
                // 50 x 50 squares of two triangles over [-50, 50]^2, facing the camera.
                std::vector<Vector3> v;
                for (int i = 0; i <= 50; ++i)
                    for (int j = 0; j <= 50; ++j) v.push_back({float(-50 + 2 * i), float(-50 + 2 * j), 0});
                std::vector<int32_t> data;
                auto at = [](int i, int j) { return i * 51 + j; };
                for (int i = 0; i < 50; ++i)
                    for (int j = 0; j < 50; ++j) {
                        data.insert(data.end(), {3, at(i, j), at(i + 1, j), at(i + 1, j + 1)});
                        data.insert(data.end(), {3, at(i, j), at(i + 1, j + 1), at(i, j + 1)});
                    }
                data.push_back(0);
                mesh->addFaces(int32_t(v.size()), v, 0, {}, data);
                mesh->setColorRGB(0.2 + 0.04 * g, 0.5, 1.0 - 0.1 * k);
                mesh->setQuality(136);
                frame->addVisual(mesh);
                const scene::Transform w = frame->worldTransform();
                for (const scene::Vec3& p : mesh->positions()) {
                    const scene::Vec3 q = w.applyToPoint(p);
                    worldTriangles.insert(worldTriangles.end(), {float(q.x), float(q.y), float(q.z)});
                }
            }
        }
        auto light = scene::createLightRGB(1, 1, 1);
        viewport->getCamera()->addLight(light);
    }
};

}  // namespace tarv::bench
