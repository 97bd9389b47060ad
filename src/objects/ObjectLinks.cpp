#include "objects/ObjectLinks.h"

#include <functional>
#include <string>
#include <string_view>

#include "model/LogFiles.h"
#include "base/NumberText.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

std::string objectKey(int objNo) { return "o" + std::to_string(objNo); }

int32_t keyIndex(const std::string& key) {
    if (key.size() < 2) return 0;
    if (key.size() <= 10) {  // "o" and up to nine digits: the number itself
        int32_t value = 0;
        size_t i = 1;
        while (i < key.size() && key[i] >= '0' && key[i] <= '9') value = value * 10 + (key[i++] - '0');
        if (i == key.size()) return value;
    }
    const double value = leadingNumber(std::string_view(key).substr(1));
    return value >= -2147483648.0 && value <= 2147483647.0 ? int32_t(value) : 0;
}

namespace {

using Node = KeyedTree::Node;

// The links of every node, by creation index - 1, from one walk over the parents' child lists.
// The nodes' texts copied one after another, with their hashes, so that looking them up reads one block.
struct NodeTexts {
    std::string chars;
    std::vector<size_t> starts{0};  // node i's text: chars from starts[i - 1] up to starts[i]
    std::vector<size_t> hashes;
    std::string_view text(int node) const {
        return std::string_view(chars).substr(starts[size_t(node - 1)], starts[size_t(node)] - starts[size_t(node - 1)]);
    }
};

// Also gives each node's object number and its text, from the same pass over the nodes.
std::vector<ObjectLinks> linksOfAllNodes(const KeyedTree& tree, std::vector<int32_t>& nodeObject, NodeTexts& texts) {
    const int count = tree.count();
    nodeObject.assign(size_t(count), 0);
    texts.starts.reserve(size_t(count) + 1);
    texts.hashes.reserve(size_t(count));
    std::vector<char> isFirstObject(size_t(count), 0);  // the node "o0"
    for (int i = 1; i <= count; ++i) {
        const Node& node = tree.nodeAt(i);
        nodeObject[size_t(i - 1)] = keyIndex(node.key);
        isFirstObject[size_t(i - 1)] = node.key == "o0";
        texts.chars += node.text;
        texts.starts.push_back(texts.chars.size());
        texts.hashes.push_back(std::hash<std::string_view>{}(node.text));
    }
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
    for (int i = 1; i <= count; ++i)
        if (isFirstObject[size_t(i - 1)] || count == 1) links[size_t(i - 1)].mother = links[size_t(i - 1)].sister = 0;
    return links;
}

// The nodes by their text: open addressing over a power-of-two table of (hash, creation index). With NodeMatch::First the first node of a text wins, with Last the last.
class TextTable {
public:
    TextTable(const NodeTexts& texts, NodeMatch match) : texts_(texts) {
        const size_t count = texts.hashes.size();
        size_t capacity = 16;
        while (capacity < count * 2) capacity *= 2;
        slots_.assign(capacity, Slot{});
        mask_ = capacity - 1;
        for (int i = 1; i <= int(count); ++i) {
            const size_t hash = texts.hashes[size_t(i - 1)];
            Slot* slot = place(hash, i);
            if (slot->index == 0) {
                *slot = {hash, i};
            } else if (match == NodeMatch::Last) {
                slot->index = i;
            }
        }
    }
    // The creation index of the node with this text, 0 for none.
    int find(std::string_view text) const {
        const size_t hash = std::hash<std::string_view>{}(text);
        for (size_t i = home(hash);; i = (i + 1) & mask_) {
            const Slot& slot = slots_[i];
            if (slot.index == 0 || (slot.hash == hash && texts_.text(slot.index) == text)) return slot.index;
        }
    }

private:
    struct Slot {
        size_t hash = 0;
        int index = 0;  // 0: empty
    };
    size_t home(size_t hash) const { return (hash ^ (hash >> 29)) & mask_; }
    // The slot holding node's text, or the empty slot where it would go; texts are read only when hashes agree.
    Slot* place(size_t hash, int node) {
        for (size_t i = home(hash);; i = (i + 1) & mask_) {
            Slot& slot = slots_[i];
            if (slot.index == 0) return &slot;
            if (slot.hash == hash && texts_.text(slot.index) == texts_.text(node)) return &slot;
        }
    }
    const NodeTexts& texts_;
    std::vector<Slot> slots_;
    size_t mask_ = 0;
};

}  // namespace

std::vector<std::optional<MatchedLinks>> linksFromTree(const KeyedTree& tree, const ShipModel& model, NodeMatch match) {
    std::vector<int32_t> nodeObject;
    NodeTexts texts;
    const std::vector<ObjectLinks> links = linksOfAllNodes(tree, nodeObject, texts);
    // Node text -> creation index of the winning node, in one flat table of the texts' hashes.
    const TextTable byText(texts, match);
    std::vector<std::optional<MatchedLinks>> result(size_t(model.objectCount()));
    for (size_t o = 0; o < result.size(); ++o) {
        const int found = byText.find(model.peoObjects[o].name);
        if (found == 0) continue;
        const size_t n = size_t(found - 1);
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
