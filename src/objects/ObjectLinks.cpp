#include "objects/ObjectLinks.h"

#include <unordered_map>

#include "model/LogFiles.h"
#include "base/NumberText.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

std::string objectKey(int objNo) { return "o" + std::to_string(objNo); }

int32_t keyIndex(const std::string& key) {
    if (key.size() < 2) return 0;
    const double value = leadingNumber(std::string_view(key).substr(1));
    return value >= -2147483648.0 && value <= 2147483647.0 ? int32_t(value) : 0;
}

namespace {

using Node = KeyedTree::Node;

// The links of every node, by creation index - 1, from one walk over the parents' child lists.
std::vector<ObjectLinks> linksOfAllNodes(const KeyedTree& tree, std::vector<int32_t>& nodeObject) {
    const int count = tree.count();
    nodeObject.assign(size_t(count), 0);
    for (int i = 1; i <= count; ++i) nodeObject[size_t(i - 1)] = keyIndex(tree.nodeAt(i).key);
    auto number = [&](const Node* n) { return nodeObject[size_t(n->index - 1)] + 1; };

    std::vector<ObjectLinks> links(static_cast<size_t>(count));
    for (int i = 1; i <= count; ++i) {
        const Node& node = tree.nodeAt(i);
        ObjectLinks& own = links[size_t(i - 1)];
        own.daughter = node.children.empty() ? 0 : number(node.children.front());
        for (size_t c = 0; c < node.children.size(); ++c) {
            ObjectLinks& child = links[size_t(node.children[c]->index - 1)];
            child.mother = number(&node);
            child.sister = c + 1 < node.children.size() ? number(node.children[c + 1]) : 0;
        }
    }
    // Top-level nodes: "o0" has neither mother nor sister; further ones are siblings of each other.
    const std::vector<std::string> roots = tree.topLevel();
    for (size_t r = 0; r < roots.size(); ++r) {
        const Node* node = tree.find(roots[r]);
        ObjectLinks& own = links[size_t(node->index - 1)];
        own.mother = 0;
        own.sister = r + 1 < roots.size() ? number(tree.find(roots[r + 1])) : 0;
    }
    for (int i = 1; i <= count; ++i) {
        const Node& node = tree.nodeAt(i);
        if (node.key == "o0" || count == 1) links[size_t(i - 1)].mother = links[size_t(i - 1)].sister = 0;
    }
    return links;
}

}  // namespace

std::vector<std::optional<MatchedLinks>> linksFromTree(const KeyedTree& tree, const ShipModel& model, NodeMatch match) {
    std::vector<int32_t> nodeObject;
    const std::vector<ObjectLinks> links = linksOfAllNodes(tree, nodeObject);
    std::unordered_map<std::string, int> byText;  // node text -> creation index of the winning node
    byText.reserve(size_t(tree.count()));
    for (int i = 1; i <= tree.count(); ++i) {
        const std::string& text = tree.nodeAt(i).text;
        if (match == NodeMatch::Last)
            byText[text] = i;
        else
            byText.emplace(text, i);
    }
    std::vector<std::optional<MatchedLinks>> result(size_t(model.objectCount()));
    for (size_t o = 0; o < result.size(); ++o) {
        auto it = byText.find(model.peoObjects[o].name);
        if (it == byText.end()) continue;
        const size_t n = size_t(it->second - 1);
        result[o] = MatchedLinks{nodeObject[n], links[n]};
    }
    return result;
}

std::vector<std::optional<MatchedLinks>> linksFromTreeLiteral(const KeyedTree& tree, const ShipModel& model,
                                                              NodeMatch match) {
    auto number = [](const std::string& key) { return key.empty() ? 0 : keyIndex(key) + 1; };
    std::vector<std::optional<MatchedLinks>> result(size_t(model.objectCount()));
    for (size_t o = 0; o < result.size(); ++o) {
        const Node* found = nullptr;
        for (int i = 1; i <= tree.count(); ++i) {
            if (tree.nodeAt(i).text != model.peoObjects[o].name) continue;
            found = &tree.nodeAt(i);
            if (match == NodeMatch::First) break;
        }
        if (!found) continue;
        ObjectLinks links;
        const std::string parent = tree.parentOf(found->key);
        if (found->key == "o0" || tree.count() == 1) {
            links.mother = links.sister = 0;
        } else if (parent.empty()) {
            const std::vector<std::string> roots = tree.topLevel();
            for (size_t r = 0; r < roots.size(); ++r)
                if (roots[r] == found->key) links.sister = r + 1 < roots.size() ? number(roots[r + 1]) : 0;
        } else {
            links.mother = number(parent);
            links.sister = number(tree.nextSiblingOf(found->key));
        }
        links.daughter = number(tree.firstChildOf(found->key));
        result[o] = MatchedLinks{keyIndex(found->key), links};
    }
    return result;
}

void computeHeirachy(EditingContext& ctx) {
    writeLog(ctx, "Calculating object heirachy:", 2);
    ctx.objects.lblNoOfObjs = intText(ctx.model.objectCount());
    const auto matched = linksFromTree(ctx.shell.treeHeirachy, ctx.model, NodeMatch::Last);
    const bool logEach = ctx.prefs.logLevel >= 3;  // the log file exists already from the line above
    for (size_t o = 0; o < matched.size(); ++o) {
        if (!matched[o]) continue;
        PeoObject& object = ctx.model.peoObjects[o];
        const ObjectLinks& l = matched[o]->links;
        if (logEach) {
            writeLog(ctx,
                     "  -> " + intText(int64_t(matched[o]->nodeObject) + 1) + " " + object.name + ": " +
                         intText(l.mother) + "/" + intText(l.daughter) + "/" + intText(l.sister) + " " +
                         intText(object.mother) + "/" + intText(object.daughter) + "/" + intText(object.sister),
                     3);
        }
        object.mother = l.mother;
        object.daughter = l.daughter;
        object.sister = l.sister;
    }
}

void calcHeirachy(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "calcHeirachy", "", [&] { computeHeirachy(ctx); });
}

void fixHierarchy(EditingContext& ctx) {
    trapErrors(ctx, "modPeo", "fixHierarchy", "", [&] {
        const auto matched = linksFromTree(ctx.shell.treeHeirachy, ctx.model, NodeMatch::First);
        for (size_t o = 0; o < matched.size(); ++o) {
            PeoObject& object = ctx.model.peoObjects[o];
            if (object.isDeleted() || !matched[o]) continue;
            object.mother = matched[o]->links.mother;
            object.daughter = matched[o]->links.daughter;
            object.sister = matched[o]->links.sister;
        }
    });
}

}  // namespace tarv
