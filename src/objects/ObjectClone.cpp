#include "objects/ObjectClone.h"

#include "attachments/state/MexChunkTable.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/LogFiles.h"
#include "model/PeoReader.h"
#include "model/RotationMath.h"
#include "objects/ObjectLinks.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewScene.h"

namespace tarv {

namespace {

constexpr int kLargestObjectNumber = 32766;
constexpr const char* kGunsGroupKey = "gRoot";

bool gunChunksWanted(const EditingContext& ctx) { return ctx.prefs.createGunChunkOnClone; }
bool gunsGroupExists(const EditingContext& ctx) { return ctx.mex.treeMex.find(kGunsGroupKey) != nullptr; }

// The node of a copy: last child of parentKey, ticked, the last node added, and its name in both lists.
void addCopyNode(EditingContext& ctx, const std::string& parentKey, int16_t number, const std::string& name) {
    KeyedTree& tree = ctx.shell.treeHeirachy;
    const std::string key = objectKey(number);
    tree.addChild(parentKey, key, name);
    ctx.objects.nodX = key;
    ctx.objects.cmbObjectList.push_back(name);
    ctx.objects.cmbMatrixObjectList.push_back(name);
    tree.setChecked(key, true);
}

void collectPreOrder(const KeyedTree& tree, const std::string& key, std::vector<int>& nodes) {
    nodes.push_back(tree.indexOf(key));
    for (const std::string& child : tree.childrenOf(key)) collectPreOrder(tree, child, nodes);
}

// Every live object's frame under its parent's frame (or the model frame), posed from its matrix.
void poseAllObjects(EditingContext& ctx, const std::string& procedure) {
    auto& objects = ctx.model.peoObjects;
    auto& views = ctx.view.viewObjects;
    for (size_t i = 0; i < objects.size() && i < views.size(); ++i) {
        const PeoObject& object = objects[i];
        if (object.isDeleted()) continue;
        ViewObject& view = views[i];
        scene::FramePtr parent = ctx.view.modelFrame;
        if (object.mother != 0) {
            if (object.mother < 1 || size_t(object.mother - 1) >= views.size())
                throw RunTimeError::subscriptOutOfRange();
            parent = views[size_t(object.mother - 1)].frame;
        }
        if (!parent || !view.frame) throw RunTimeError::objectNotSet();
        if (view.frame->getParent() != parent) parent->addChild(view.frame);
        roundMatrix(object.matrix, view.matrix);
        positionViewObject(view);
        const Vector3 angles = getObjectEulersFromMatrix(ctx, int16_t(i));
        setErrorContext(ctx, "frmTARV", procedure, "");
        setFrameQuaternion(view, getObjectQuaternion(angles));
    }
}

void expandAll(KeyedTree& tree) {
    for (int i = 1; i <= tree.count(); ++i) {
        const KeyedTree::Node& node = tree.nodeAt(i);
        if (!node.expanded) tree.setExpanded(node.key, true);
    }
}

}  // namespace

void addObject(EditingContext& ctx, int16_t source, int16_t newNumber, const std::string& name) {
    trapErrors(ctx, "modPeo", "addObject", intText(source) + "|" + intText(newNumber) + "|" + name, [&] {
        auto& objects = ctx.model.peoObjects;
        auto& views = ctx.view.viewObjects;
        if (source < 0 || source >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
        if (ctx.model.objectCount() > kLargestObjectNumber) throw RunTimeError::overflow();
        if (newNumber != ctx.model.objectCount()) throw RunTimeError::invalidCall();
        // 1, 2. One more element in both lists.
        if (views.size() < objects.size()) views.resize(objects.size());
        objects.emplace_back();
        views.emplace_back();
        addToLog(ctx, "Increasing total objects: " + intText(ctx.model.objectCount()));
        const PeoObject& from = objects[size_t(source)];
        PeoObject& copy = objects.back();
        ViewObject& view = views.back();
        // 3, 4.
        copy.name = name;
        copy.sharedWith = source;
        view.name = name;
        addToLog(ctx, "Creating: " + intText(newNumber) + " " + name);
        // 5. The record.
        copy.polygons = from.polygons;
        for (PeoPolygon& p : copy.polygons) p.mark = 0;
        copy.vertices.reserve(from.vertices.size());
        for (const PeoVertex& v : from.vertices) copy.vertices.push_back(PeoVertex{v.x, v.y, v.z, 0, 0});
        copy.fileFaceNormals = from.fileFaceNormals;
        copy.nFaceNormals = from.nFaceNormals;
        copy.nVertNormals = from.nVertNormals;
        copy.nPolygons = from.nPolygons;
        copy.nVertices = from.nVertices;
        copy.flags = from.flags;
        copy.madObjectIndex = -1;
        copy.matrix = from.matrix;
        // 6. Its mesh and frame, sized from the copied vertices.
        roundMatrix(copy.matrix, view.matrix);
        recomputeExtents(copy);
        create3dObject(ctx, newNumber);
        // 7, 8. A new record has no parent yet.
        if (!ctx.view.modelFrame || !view.frame) throw RunTimeError::objectNotSet();
        ctx.view.modelFrame->addChild(view.frame);
        view.shown = -1;
        // 9.
        if (gunChunksWanted(ctx) && gunsGroupExists(ctx) && ctx.objects.gunChunkHook) {
            ctx.objects.gunChunkHook->cmdMexAdd_Click(ctx);
            setErrorContext(ctx, "modPeo", "addObject", intText(source) + "|" + intText(newNumber) + "|" + name);
        }
    });
}

CloneRun planClone(const EditingContext& ctx, int sourceNode) {
    const KeyedTree& tree = ctx.shell.treeHeirachy;
    std::vector<int> nodes;
    collectPreOrder(tree, tree.nodeAt(sourceNode).key, nodes);
    int32_t largestKey = 0;
    for (int i = 1; i <= tree.count(); ++i) largestKey = std::max(largestKey, keyIndex(tree.nodeAt(i).key));
    const int64_t last = largestKey < ctx.model.objectCount() ? int64_t(ctx.model.objectCount()) - 1 : largestKey;
    if (last + int64_t(nodes.size()) > kLargestObjectNumber) throw RunTimeError::overflow();
    NameFamilyIndex families(objectTreeTexts(ctx));
    TakenNames taken(ctx.model.peoObjects);
    CloneRun run;
    run.copies.reserve(nodes.size());
    for (size_t i = 0; i < nodes.size(); ++i) {
        PlannedCopy copy;
        copy.sourceNode = nodes[i];
        copy.number = int16_t(last + 1 + int64_t(i));
        copy.name = families.copyName(tree.nodeAt(nodes[i]).text, &taken);
        families.add(copy.name.name);
        taken.add(copy.name.name);
        run.copies.push_back(std::move(copy));
    }
    return run;
}

void TraverseTree(EditingContext& ctx, CloneRun& run, int strKey, int parentKey) {
    const std::string args = intText(strKey) + "|" + intText(parentKey);
    trapErrors(ctx, "frmTARV", "TraverseTree", args, [&] {
        KeyedTree& tree = ctx.shell.treeHeirachy;
        const KeyedTree::Node& node = tree.nodeAt(strKey);
        const std::string key = node.key;
        const std::string text = node.text;
        writeLog(ctx, "Checking: " + text + " -- " + intText(parentKey), 1);
        if (parentKey >= 0) {
            writeLog(ctx, text + " " + key, 2);
            const KeyedTree::Node& parent = tree.nodeAt(parentKey);
            writeLog(ctx, "   orig parent: " + parent.text, 2);
            if (run.next >= run.copies.size() || run.copies[run.next].sourceNode != strKey)
                throw RunTimeError::invalidCall();
            const PlannedCopy copy = run.copies[run.next++];
            logCheckingName(ctx, text);
            logCopyName(ctx, copy.name);
            writeLog(ctx, "   adding: " + copy.name.name + "/" + intText(copy.number), 2);
            const auto newParent = run.copyOf.find(parent.key);
            if (newParent == run.copyOf.end()) throw RunTimeError::invalidCall();
            const std::string newParentKey = newParent->second;
            writeLog(ctx, "   new parent: " + tree.at(newParentKey).text, 2);
            writeLog(ctx, "             : " + newParentKey, 2);
            addObject(ctx, int16_t(keyIndex(key)), copy.number, copy.name.name);
            setErrorContext(ctx, "frmTARV", "TraverseTree", args);
            addCopyNode(ctx, newParentKey, copy.number, copy.name.name);
            run.copyOf[key] = objectKey(copy.number);
        }
        for (const std::string& child : tree.childrenOf(key)) {
            TraverseTree(ctx, run, tree.indexOf(child), strKey);
            setErrorContext(ctx, "frmTARV", "TraverseTree", args);
        }
    });
}

bool cloneSelectedObject(EditingContext& ctx) {
    ObjectsState& s = ctx.objects;
    bool madeTopCopy = false;
    s.cmdCloneObjectEnabled = false;
    trapErrors(ctx, "frmTARV", "cmdCloneObject_Click", "", [&] {
        KeyedTree& tree = ctx.shell.treeHeirachy;
        const std::string selectedKey = tree.selectedKey();
        const KeyedTree::Node* selected = tree.find(selectedKey);
        // Refusals: nothing has changed.
        if (selected && !selected->parent) {
            ctx.prompts().messageBox(kCantCloneBaseText, ctx.version.appTitle, PromptIcon::None);
            return;
        }
        if (!selected || s.selectedObject < 0 || s.selectedObject != keyIndex(selectedKey) ||
            s.selectedObject >= ctx.model.objectCount()) {
            ctx.prompts().messageBox(kSelectObjectToCloneText, ctx.version.appTitle, PromptIcon::None);
            return;
        }
        const int selectedNode = selected->index;
        const std::string parentKey = selected->parent->key;
        CloneRun run = planClone(ctx, selectedNode);

        // 3 to 7: the top copy.
        const PlannedCopy top = run.copies[run.next++];
        logCheckingName(ctx, selected->text);
        logCopyName(ctx, top.name);
        if (gunChunksWanted(ctx)) {
            if (gunsGroupExists(ctx))
                ctx.mex.treeMex.setSelected(kGunsGroupKey);
            else
                writeLog(ctx, kNoGunChunksText, 1);
        }
        writeLog(ctx, "Adding object: " + top.name.name + "/" + intText(top.number - 1), 2);
        addObject(ctx, s.selectedObject, top.number, top.name.name);
        setErrorContext(ctx, "frmTARV", "cmdCloneObject_Click", "");
        s.lastCloneIndex = top.number;
        madeTopCopy = true;
        addCopyNode(ctx, parentKey, top.number, top.name.name);
        run.copyOf[selectedKey] = objectKey(top.number);

        // 8 to 11.
        TraverseTree(ctx, run, selectedNode, -1);
        calcHeirachy(ctx);
        setErrorContext(ctx, "frmTARV", "cmdCloneObject_Click", "");
        poseAllObjects(ctx, "cmdCloneObject_Click");
        expandAll(tree);
    });
    s.cmdCloneObjectEnabled = true;
    return madeTopCopy;
}

void cmdCloneObject_Click(EditingContext& ctx) { cloneSelectedObject(ctx); }

namespace {

void mirrorCopy(EditingContext& ctx, const char* procedure, int element) {
    trapErrors(ctx, "frmTARV", procedure, "", [&] {
        const bool made = cloneSelectedObject(ctx);
        setErrorContext(ctx, "frmTARV", procedure, "");
        if (!made || ctx.objects.selectedObject < 0) return;
        const int16_t n = ctx.objects.lastCloneIndex;
        if (n < 0 || n >= ctx.model.objectCount() || size_t(n) >= ctx.view.viewObjects.size())
            throw RunTimeError::subscriptOutOfRange();
        Matrix4& matrix = ctx.model.peoObjects[size_t(n)].matrix;
        matrix[element] = -matrix[element];
        ViewObject& view = ctx.view.viewObjects[size_t(n)];
        roundMatrix(matrix, view.matrix);
        positionViewObject(view);
    });
}

}  // namespace

void cmdYZmirror_Click(EditingContext& ctx) { mirrorCopy(ctx, "cmdYZmirror_Click", 3); }
void cmdXZmirror_Click(EditingContext& ctx) { mirrorCopy(ctx, "cmdXZmirror_Click", 7); }
void cmdXYmirror_Click(EditingContext& ctx) { mirrorCopy(ctx, "cmdXYmirror_Click", 11); }

}  // namespace tarv
