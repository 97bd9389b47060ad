#include "objects/ObjectDelete.h"

#include <unordered_map>

#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/LogFiles.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectSelection.h"
#include "preview/PreviewScene.h"

namespace tarv {

namespace {

std::vector<char> membership(const EditingContext& ctx, const std::vector<int16_t>& objects) {
    std::vector<char> in(size_t(ctx.model.objectCount()), 0);
    for (int16_t n : objects)
        if (n >= 0 && n < ctx.model.objectCount()) in[size_t(n)] = 1;
    return in;
}

void collectPostOrder(const KeyedTree& tree, const std::string& key, std::vector<std::string>& keys) {
    for (const std::string& child : tree.childrenOf(key)) collectPostOrder(tree, child, keys);
    keys.push_back(key);
}

// Removes, for each text in order, the first entry from the second one on that equals it and was not
// removed already: what searching and removing one text at a time does, in one pass.
void removeEntries(std::vector<std::string>& list, const std::vector<std::string>& texts) {
    std::unordered_map<std::string, std::vector<size_t>> places;  // text -> its entries, last first
    std::unordered_map<std::string, size_t> wanted;
    for (const std::string& text : texts) ++wanted[text];
    for (size_t i = list.size(); i-- > 1;)
        if (wanted.count(list[i])) places[list[i]].push_back(i);
    std::vector<char> removed(list.size(), 0);
    for (const std::string& text : texts) {
        auto it = places.find(text);
        if (it == places.end() || it->second.empty()) continue;
        removed[it->second.back()] = 1;
        it->second.pop_back();
    }
    size_t kept = 0;
    for (size_t i = 0; i < list.size(); ++i) {
        if (removed[i]) continue;
        if (kept != i) list[kept] = std::move(list[i]);
        ++kept;
    }
    list.resize(kept);
}

}  // namespace

void repointSharers(EditingContext& ctx, const std::vector<int16_t>& sources) {
    auto& objects = ctx.model.peoObjects;
    const std::vector<char> in = membership(ctx, sources);
    std::vector<int16_t> owner(objects.size(), -1);  // per source: its new owner, -1 before the first
    for (size_t i = 0; i < objects.size(); ++i) {
        PeoObject& object = objects[i];
        const int16_t s = object.sharedWith;
        if (s < 0 || size_t(s) >= objects.size() || !in[size_t(s)] || in[i] || object.isDeleted()) continue;
        if (owner[size_t(s)] < 0) {
            owner[size_t(s)] = int16_t(i);
            object.sharedWith = -1;
        } else {
            object.sharedWith = owner[size_t(s)];
        }
    }
}

void repointSharersLiteral(EditingContext& ctx, const std::vector<int16_t>& sources) {
    auto& objects = ctx.model.peoObjects;
    const std::vector<char> in = membership(ctx, sources);
    auto inSources = [&](size_t i) { return in[i] != 0; };
    for (int16_t s : sources) {
        int first = -1;
        for (size_t i = 0; i < objects.size(); ++i) {
            PeoObject& object = objects[i];
            if (object.sharedWith != s || inSources(i) || object.isDeleted()) continue;
            if (first == -1) {
                object.sharedWith = -1;
                first = int(i);
            } else {
                object.sharedWith = int16_t(first);
            }
        }
    }
}

void ownGeometry(EditingContext& ctx, int16_t n) {
    if (n < 0 || n >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
    repointSharers(ctx, {n});
    ctx.model.peoObjects[size_t(n)].sharedWith = -1;
}

std::vector<int16_t> subtreeObjects(const EditingContext& ctx, const std::string& key) {
    const KeyedTree& tree = ctx.shell.treeHeirachy;
    std::vector<int16_t> objects;
    std::vector<std::string> pending{key};
    while (!pending.empty()) {
        const std::string k = pending.back();
        pending.pop_back();
        objects.push_back(int16_t(keyIndex(k)));
        const auto children = tree.childrenOf(k);
        pending.insert(pending.end(), children.rbegin(), children.rend());
    }
    return objects;
}

void deselectIfAmong(EditingContext& ctx, const std::vector<int16_t>& objects) {
    const int16_t selected = ctx.objects.selectedObject;
    if (selected < 0) return;
    for (int16_t n : objects) {
        if (n != selected) continue;
        clearPickedSelection(ctx);
        return;
    }
}

void TraverseTreeDelete(EditingContext& ctx, int strKey) {
    trapErrors(ctx, "frmTARV", "TraverseTreeDelete", intText(strKey), [&] {
        const KeyedTree& tree = ctx.shell.treeHeirachy;
        std::vector<std::string> keys;
        collectPostOrder(tree, tree.nodeAt(strKey).key, keys);
        std::vector<std::string> texts;
        texts.reserve(keys.size());
        for (const std::string& key : keys) {
            const std::string text = tree.find(key)->text;
            texts.push_back(text);
            writeLog(ctx, "Deleting object: " + text, 2);
            const int32_t n = keyIndex(key);
            if (n < 0 || n >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
            PeoObject& object = ctx.model.peoObjects[size_t(n)];
            object.name = kDeletedObjectName;
            if (size_t(n) < ctx.view.viewObjects.size()) ctx.view.viewObjects[size_t(n)].name = kDeletedObjectName;
            writeLog(ctx, "  -> Key: " + intText(n) + " Name: " + object.name, 2);
            if (size_t(n) >= ctx.view.viewObjects.size()) continue;
            ViewObject& view = ctx.view.viewObjects[size_t(n)];
            if (view.shown == -1) {
                frameOf(view)->deleteVisual(meshOf(view));
                view.shown = 0;
            }
        }
        removeEntries(ctx.objects.cmbObjectList, texts);
        removeEntries(ctx.objects.cmbMatrixObjectList, texts);
    });
}

void deleteSubtree(EditingContext& ctx, const std::string& key, const std::string& module, const std::string& procedure,
                   const std::string& arguments) {
    KeyedTree& tree = ctx.shell.treeHeirachy;
    const std::vector<int16_t> subtree = subtreeObjects(ctx, key);
    repointSharers(ctx, subtree);
    deselectIfAmong(ctx, subtree);
    setErrorContext(ctx, module, procedure, arguments);
    TraverseTreeDelete(ctx, tree.find(key)->index);
    setErrorContext(ctx, module, procedure, arguments);
    tree.remove(key);
}

void expandEveryNode(EditingContext& ctx) {
    KeyedTree& tree = ctx.shell.treeHeirachy;
    for (int i = 1; i <= tree.count(); ++i) {
        const KeyedTree::Node& node = tree.nodeAt(i);
        if (!node.expanded) tree.setExpanded(node.key, true);
    }
}

void cmdDeleteObject_Click(EditingContext& ctx) {
    ObjectsState& s = ctx.objects;
    s.cmdDeleteObjectEnabled = false;
    trapErrors(ctx, "frmTARV", "cmdDeleteObject_Click", "", [&] {
        KeyedTree& tree = ctx.shell.treeHeirachy;
        const std::string key = tree.selectedKey();
        const KeyedTree::Node* selected = tree.find(key);
        if (!selected) return;
        if (!selected->parent) {
            ctx.prompts().messageBox(kCantDeleteBaseText, ctx.version.appTitle, PromptIcon::None);
            return;
        }
        deleteSubtree(ctx, key, "frmTARV", "cmdDeleteObject_Click", "");
        calcHeirachy(ctx);
        setErrorContext(ctx, "frmTARV", "cmdDeleteObject_Click", "");
        expandEveryNode(ctx);
    });
    s.cmdDeleteObjectEnabled = true;
}

}  // namespace tarv
