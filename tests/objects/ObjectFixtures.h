#pragma once
// Small models for the object tree tests, built from tables of (name, mother) rows, with one view record
// per object (a mesh shown on a frame named "peo_" & name, hung by the mother links in the scene).
#include <functional>
#include <string>
#include <vector>

#include "Fakes.h"
#include "TempDir.h"
#include "animation/MadTracks.h"
#include "attachments/state/ShipDefinition.h"
#include "base/KeyedTree.h"
#include "model/PeoReader.h"
#include "model/PeoWriter.h"
#include "objects/ObjectLinks.h"
#include "preview/PreviewScene.h"
#include "scene/Scene.h"

namespace tarv::test {

struct ObjectRow {
    std::string name;
    int32_t mother = 0;
};

// The model's objects from the rows (identity matrices, sizes 1, 2, 3) and their view records.
inline void makeObjects(EditingContext& ctx, const std::vector<ObjectRow>& rows) {
    if (!ctx.view.modelFrame) InitialiseComponents(ctx);
    ctx.model.peoObjects.clear();
    ctx.view.viewObjects.clear();
    for (const ObjectRow& row : rows) {
        PeoObject object;
        object.name = row.name;
        object.mother = row.mother;
        object.matrix = Matrix4::identity();
        object.sizeX = 1;
        object.sizeY = 2;
        object.sizeZ = 3;
        ctx.model.peoObjects.push_back(object);

        ViewObject view;
        view.mesh = scene::createMeshBuilder();
        view.frame = scene::createFrame();
        view.frame->setName("peo_" + row.name);
        view.frame->addVisual(view.mesh);
        view.shown = -1;
        view.colour = {0.25f, 0.5f, 0.75f};
        view.size = {1, 2, 3};
        view.name = row.name;
        view.matrix = Matrix4::identity();
        ctx.view.viewObjects.push_back(view);
    }
    const int count = int(rows.size());
    for (int i = 0; i < count; ++i) {
        const int32_t mother = rows[size_t(i)].mother;
        scene::FramePtr parent = ctx.view.modelFrame;
        if (mother >= 1 && mother <= count && mother - 1 != i) parent = ctx.view.viewObjects[size_t(mother - 1)].frame;
        try {
            parent->addChild(ctx.view.viewObjects[size_t(i)].frame);
        } catch (const std::exception&) {
            ctx.view.modelFrame->addChild(ctx.view.viewObjects[size_t(i)].frame);  // a cycle in the links
        }
    }
}

// The tree as text: each top-level node with its children in parentheses, "o0(o1(o3),o2)".
inline std::string treeShape(const KeyedTree& tree) {
    std::function<std::string(const std::string&)> shape = [&](const std::string& key) {
        std::string text = key;
        const auto children = tree.childrenOf(key);
        if (children.empty()) return text;
        text += "(";
        for (size_t i = 0; i < children.size(); ++i) text += (i ? "," : "") + shape(children[i]);
        return text + ")";
    };
    std::string text;
    for (const std::string& root : tree.topLevel()) text += (text.empty() ? "" : " ") + shape(root);
    return text;
}

// Links as "m/d/s" per object.
inline std::vector<std::string> linkTexts(const EditingContext& ctx) {
    std::vector<std::string> texts;
    for (const PeoObject& o : ctx.model.peoObjects)
        texts.push_back(std::to_string(o.mother) + "/" + std::to_string(o.daughter) + "/" + std::to_string(o.sister));
    return texts;
}

// The links of every object as linkTexts shows them, after the save's link pass, a write of the .peo into
// folder and a read-back of it by another context.
inline std::vector<std::string> savedLinkTexts(EditingContext& ctx, const std::filesystem::path& folder) {
    const std::string path = (folder / "saved.peo").string();
    fixHierarchy(ctx);
    writePeoFile(ctx, path, false);
    TempDir dir;
    TestContext back(dir.path());
    back.prompts.answerYesNoCycling({false});  // keep each object as written
    back.ctx.prefs.logLevel = 0;
    readPeoFile(back.ctx, path);
    return linkTexts(back.ctx);
}

}  // namespace tarv::test
