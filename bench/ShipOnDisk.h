#pragma once
// A synthetic ship written to a .peo file of its own folder, with an editing context ready to load it as the
// editor does (every subsystem's road steps connected, so a load builds the preview's meshes): objects of 5,000
// polygons each, linked as a binary tree. The folder goes when the ship does.
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "SyntheticShip.h"
#include "editor/Subsystems.h"
#include "editor/context/EditingContext.h"
#include "model/PeoWriter.h"
#include "preview/PreviewScene.h"

namespace tarv::bench {

struct ShipOnDisk {
    std::filesystem::path folder;
    std::string path;
    std::unique_ptr<EditingContext> ctx = std::make_unique<EditingContext>();
    size_t polygons = 0;  // of all the objects

    ShipOnDisk(int objects, const std::string& tag)
        : folder(std::filesystem::temp_directory_path() / ("tarv-bench-" + tag + "-" + std::to_string(::getpid()))),
          path((folder / "Big.peo").string()) {
        std::filesystem::create_directories(folder);
        ctx->userDataFolder = folder;
        ctx->prefs.objectSharing = false;
        ctx->prefs.alwaysShowBackup = false;
        for (int k = 0; k < objects; ++k) {
            PeoObject o = dome("obj" + std::to_string(k), 50);
            o.mother = k == 0 ? 0 : (k - 1) / 2 + 1;
            polygons += o.polygons.size();
            ctx->model.peoObjects.push_back(std::move(o));
        }
        ctx->model.materials.push_back(PeoMaterial{});
        ctx->model.textures.push_back(PeoTexture{"RMF99ba", false});
        ctx->model.publicMaterialCount = 1;
        writePeoFile(*ctx, path, false);
        InitialiseComponents(*ctx);
        connectSubsystemSteps(*ctx);
    }
    ~ShipOnDisk() {
        std::error_code ec;
        std::filesystem::remove_all(folder, ec);
    }
    ShipOnDisk(const ShipOnDisk&) = delete;
    ShipOnDisk& operator=(const ShipOnDisk&) = delete;
};

}  // namespace tarv::bench
