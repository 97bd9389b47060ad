#include "objects/ObjectTree.h"

#include <functional>
#include <utility>
#include <vector>

#include "base/KeyedTree.h"
#include "base/NumberText.h"
#include "model/RotationMath.h"
#include "editor/context/TrapGuard.h"
#include "objects/ObjectDialogs.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectNames.h"
#include "objects/ObjectSelection.h"
#include "preview/PreviewScene.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

void corruptedHierarchy(EditingContext& ctx) {
    ctx.prompts().messageBox(kCorruptedHierarchyText, ctx.version.appTitle, PromptIcon::None);
}

int16_t objectOfKey(const EditingContext& ctx, const std::string& key) {
    const int32_t k = keyIndex(key);
    if (key.empty() || k < 0 || k >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
    return int16_t(k);
}

}  // namespace

void arrangeByParentLinks(KeyedTree& tree, const std::vector<int>& links, const std::function<void()>& corrupted) {
    const int count = int(links.size());
    std::vector<int> parents(size_t(count), 0);  // 1-based node number of the parent, 0 at the top
    std::vector<int> chain(size_t(count), -1);   // a moved node's ancestor on its way up; -1 unmoved
    // The chain of final parents from m, followed through the nodes moved so far, ends at the first unmoved
    // node above m; the chains are shortened as they are walked.
    auto firstUnmovedAbove = [&](int m) {
        int top = m;
        while (chain[size_t(top)] >= 0) top = chain[size_t(top)];
        while (chain[size_t(m)] >= 0) m = std::exchange(chain[size_t(m)], top);
        return top;
    };
    for (int i = 1; i < count; ++i)
        if (links[size_t(i)] != kLinkTopLevel) parents[size_t(i)] = 1;
    for (int i = count - 1; i >= 0; --i) {
        const int parent = links[size_t(i)];
        if (parent == kLinkTopLevel || parent == kLinkUnderBase) continue;
        if (i == 0) {
            corrupted();  // the first node has no parent: it stays at the top
            continue;
        }
        int target = 0;
        if (parent >= 0 && parent < count && firstUnmovedAbove(parent) != i)
            target = parent;
        else
            corrupted();  // a parent outside the nodes, or a cycle
        parents[size_t(i)] = target + 1;
        chain[size_t(i)] = target;
    }
    std::vector<int> order;
    order.reserve(size_t(count));
    for (int i = 0; i < count; ++i)
        if (chain[size_t(i)] >= 0) order.push_back(i + 1);
    for (int i = 0; i < count; ++i)
        if (chain[size_t(i)] < 0) order.push_back(i + 1);
    tree.arrange(parents, order);
}

void createObjectTree(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "createObjectTree", "", [&] {
        KeyedTree& tree = ctx.shell.treeHeirachy;
        ObjectsState& s = ctx.objects;
        tree.clear();
        s.cmbObjectList.clear();
        s.cmbMatrixObjectList.clear();
        const auto& objects = ctx.model.peoObjects;
        const int count = ctx.model.objectCount();

        // Every object under "o0" when it has a parent link, else at the top level (object 0 always is the
        // first top-level node); then each goes, from the last object down, under its parent, or stays under
        // "o0" when the link is bad or would close a cycle.
        std::vector<int> links(static_cast<size_t>(count));
        for (int i = 0; i < count; ++i) {
            const PeoObject& object = objects[size_t(i)];
            s.cmbObjectList.push_back(object.name);
            s.cmbMatrixObjectList.push_back(object.name);
            if (object.mother != 0 && i != 0)
                tree.addChild("o0", objectKey(i), object.name);
            else
                tree.addTopLevel(objectKey(i), object.name);
            links[size_t(i)] = object.mother == 0  ? kLinkTopLevel
                               : object.mother < 0 ? kLinkUnderBase
                                                   : object.mother - 1;
        }
        arrangeByParentLinks(tree, links, [&] { corruptedHierarchy(ctx); });
        tree.expandAndCheckAll();
        if (tree.count() == 0) return;
        tree.setSelected(tree.nodeAt(1).key);
        const int16_t first = int16_t(keyIndex(tree.nodeAt(1).key));
        s.lblObjectName[0] = objects[size_t(first)].name;
        s.lblObjectName[1] = objects[size_t(first)].name;
        getObjectFlags(ctx, first);
    });
}

void treeHeirachy_MouseDown(EditingContext& ctx, int16_t, int16_t, float, float) {
    ObjectsState& s = ctx.objects;
    s.dragStartTime = ctx.clock().monotonicSeconds();  // every press re-arms the clock
    s.nodX = ctx.shell.treeHeirachy.selectedKey();
    ctx.shell.treeHeirachy.setDropHighlight("");
}

bool treeHeirachy_MouseMove(EditingContext& ctx, int16_t button, int16_t, float, float) {
    const ObjectsState& s = ctx.objects;
    return button == kLeftButton && ctx.shell.treeHeirachy.count() > 0 && s.dragStartTime >= 0 &&
           ctx.clock().monotonicSeconds() - s.dragStartTime > 1.0;
}

void treeHeirachy_MouseUp(EditingContext& ctx, int16_t, int16_t, float, float) { ctx.objects.dragStartTime = -1; }

void treeHeirachy_DragOver(EditingContext& ctx, const std::string& targetKey) {
    KeyedTree& tree = ctx.shell.treeHeirachy;
    const std::string highlight = tree.find(targetKey) ? targetKey : std::string();
    if (highlight != tree.dropHighlightKey()) tree.setDropHighlight(highlight);
}

void treeHeirachy_DragDrop(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "treeHeirachy_DragDrop", "", [&] {
        ObjectsState& s = ctx.objects;
        KeyedTree& tree = ctx.shell.treeHeirachy;
        s.dragStartTime = -1;
        const std::string target = tree.dropHighlightKey();
        if (target.empty() || !tree.find(s.nodX)) return;
        const std::string moved = s.nodX;
        if (tree.at(target).text == tree.at(moved).text) {
            tree.setDropHighlight("");  // dropped on itself
            return;
        }
        if (tree.isInSubtree(target, moved)) {
            if (ctx.prompts().okCancel(kOwnChildrenText, ctx.version.appTitle, PromptIcon::Exclamation))
                tree.setDropHighlight("");
            return;
        }

        // What a failure puts back: the node's place, every object's links, the frame's parent.
        const std::string oldParent = tree.parentOf(moved);
        const size_t oldPlace = tree.siblingPlace(moved);
        std::vector<ObjectLinks> oldLinks;
        for (const PeoObject& o : ctx.model.peoObjects) oldLinks.push_back({o.mother, o.daughter, o.sister});
        scene::FramePtr frame, oldFrameParent;
        try {
            tree.moveToFirstChild(moved, target);
            const int16_t k = objectOfKey(ctx, moved);
            if (size_t(k) >= ctx.view.viewObjects.size() || !ctx.view.viewObjects[size_t(k)].frame)
                throw RunTimeError::objectNotSet();
            frame = ctx.view.viewObjects[size_t(k)].frame;
            oldFrameParent = frame->getParent();
            computeHeirachy(ctx);
            setErrorContext(ctx, "frmTARV", "treeHeirachy_DragDrop", "");
            const int32_t mother = ctx.model.peoObjects[size_t(k)].mother;
            scene::FramePtr newParent;
            if (mother == 0)
                newParent = ctx.view.modelFrame;
            else if (mother >= 1 && size_t(mother - 1) < ctx.view.viewObjects.size())
                newParent = ctx.view.viewObjects[size_t(mother - 1)].frame;
            if (!newParent) throw RunTimeError::objectNotSet();
            newParent->addChild(frame);  // one call: the frame never hangs nowhere
            ViewObject& view = ctx.view.viewObjects[size_t(k)];
            roundMatrix(ctx.model.peoObjects[size_t(k)].matrix, view.matrix);
            positionViewObject(view);
            const Vector3 angles = getObjectEulersFromMatrix(ctx, k);
            setErrorContext(ctx, "frmTARV", "treeHeirachy_DragDrop", "");
            setFrameQuaternion(view, getObjectQuaternion(angles));
            tree.setDropHighlight("");
        } catch (...) {
            tree.moveTo(moved, oldParent, oldPlace);
            for (size_t o = 0; o < oldLinks.size() && o < ctx.model.peoObjects.size(); ++o) {
                PeoObject& object = ctx.model.peoObjects[o];
                object.mother = oldLinks[o].mother;
                object.daughter = oldLinks[o].daughter;
                object.sister = oldLinks[o].sister;
            }
            if (frame && oldFrameParent && frame->getParent() != oldFrameParent) oldFrameParent->addChild(frame);
            setErrorContext(ctx, "frmTARV", "treeHeirachy_DragDrop", "");
            throw;
        }
    });
}

bool treeHeirachy_AfterLabelEdit(EditingContext& ctx, int16_t cancel, const std::string& newText) {
    bool renamed = false;
    trapErrors(ctx, "frmTARV", "treeHeirachy_AfterLabelEdit", intText(cancel) + "|" + newText, [&] {
        KeyedTree& tree = ctx.shell.treeHeirachy;
        const std::string key = tree.selectedKey();
        const int16_t k = objectOfKey(ctx, key);
        PeoObject& object = ctx.model.peoObjects[size_t(k)];
        if (cancel != 0 || newText == object.name) return;
        if (TakenNames(ctx.model.peoObjects).taken(newText)) {
            // Nodes are matched to objects by name: names stay unique and not empty. The node keeps its text.
            ctx.prompts().messageBox(kUniqueNamesText, ctx.version.appTitle, PromptIcon::None);
            return;
        }
        const std::string oldName = object.name;
        ObjectsState& s = ctx.objects;
        for (auto* list : {&s.cmbObjectList, &s.cmbMatrixObjectList}) {
            for (std::string& entry : *list) {
                if (entry != oldName) continue;
                entry = newText;
                break;
            }
        }
        object.name = newText;
        if (object.madObjectIndex >= 0 && object.madObjectIndex < ctx.animation.madObjectCount())
            ctx.animation.madObjects[size_t(object.madObjectIndex)].name = newText;
        if (size_t(k) < ctx.view.viewObjects.size()) {
            ViewObject& view = ctx.view.viewObjects[size_t(k)];
            view.name = newText;
            if (view.frame) view.frame->setName("peo_" + newText);
        }
        s.lblObjectName[0] = newText;
        s.lblObjectName[1] = newText;
        tree.setText(key, newText);
        renamed = true;
    });
    return renamed;
}

void treeHeirachy_NodeCheck(EditingContext& ctx, const std::string& key, bool checked) {
    trapErrors(ctx, "frmTARV", "treeHeirachy_NodeCheck", key, [&] {
        const int16_t k = objectOfKey(ctx, key);
        ctx.shell.treeHeirachy.setChecked(key, checked);
        if (checked)
            showObject(ctx, k);
        else
            hideObject(ctx, k);
    });
}

void treeHeirachy_NodeClick(EditingContext& ctx, const std::string& key) {
    trapErrors(ctx, "frmTARV", "treeHeirachy_NodeClick", "", [&] {
        ObjectsState& s = ctx.objects;
        if (s.selectedObject >= 0) resetPreviousObject(ctx, s.selectedObject);
        const int16_t k = objectOfKey(ctx, key);
        s.lblKey = key;
        s.selectedObject = k;
        getObjectDetails(ctx, k);
        s.Dx_Label1 = "Selected object: " + ctx.model.peoObjects[size_t(k)].name;
        s.cmdApplyMatrixEnabled = true;
        s.cmdKeyfApplyEnabled = true;
    });
}

}  // namespace tarv
