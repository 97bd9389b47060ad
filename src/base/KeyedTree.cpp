#include "base/KeyedTree.h"

#include <algorithm>
#include <unordered_set>

#include "base/RunTimeError.h"

namespace tarv {

namespace {
RunTimeError notFound() { return {35601, "Element not found"}; }
}  // namespace

KeyedTree::Node& KeyedTree::add(Node* parent, const std::string& key, const std::string& text) {
    if (byKey_.count(key)) throw RunTimeError(35602, "Key is not unique in collection");
    auto node = std::make_unique<Node>();
    node->key = key;
    node->text = text;
    node->parent = parent;
    node->index = int(nodes_.size()) + 1;
    Node* raw = node.get();
    nodes_.push_back(std::move(node));
    byKey_[key] = raw;
    (parent ? parent->children : topLevel_).push_back(raw);
    ++revision_;
    return *raw;
}

KeyedTree::Node& KeyedTree::addTopLevel(const std::string& key, const std::string& text) {
    return add(nullptr, key, text);
}

KeyedTree::Node& KeyedTree::addChild(const std::string& parentKey, const std::string& key, const std::string& text) {
    return add(&at(parentKey), key, text);
}

bool KeyedTree::isInSubtree(const std::string& key, const std::string& rootKey) const {
    const Node* node = find(key);
    const Node* root = find(rootKey);
    for (; node && root; node = node->parent)
        if (node == root) return true;
    return false;
}

KeyedTree::MoveResult KeyedTree::moveToFirstChild(const std::string& key, const std::string& newParentKey) {
    Node& node = at(key);
    Node& newParent = at(newParentKey);
    if (isInSubtree(newParentKey, key)) return MoveResult::IntoOwnSubtree;
    auto& oldSiblings = node.parent ? node.parent->children : topLevel_;
    oldSiblings.erase(std::find(oldSiblings.begin(), oldSiblings.end(), &node));
    newParent.children.insert(newParent.children.begin(), &node);
    node.parent = &newParent;
    ++revision_;
    return MoveResult::Moved;
}

KeyedTree::MoveResult KeyedTree::moveTo(const std::string& key, const std::string& newParentKey, size_t place) {
    Node& node = at(key);
    Node* newParent = newParentKey.empty() ? nullptr : &at(newParentKey);
    if (newParent && isInSubtree(newParentKey, key)) return MoveResult::IntoOwnSubtree;
    auto& oldSiblings = node.parent ? node.parent->children : topLevel_;
    oldSiblings.erase(std::find(oldSiblings.begin(), oldSiblings.end(), &node));
    auto& newSiblings = newParent ? newParent->children : topLevel_;
    newSiblings.insert(newSiblings.begin() + std::ptrdiff_t(std::min(place, newSiblings.size())), &node);
    node.parent = newParent;
    ++revision_;
    return MoveResult::Moved;
}

void KeyedTree::arrange(const std::vector<int>& parents, const std::vector<int>& order) {
    const size_t n = nodes_.size();
    if (parents.size() != n || order.size() != n) throw RunTimeError::invalidCall();
    std::vector<uint8_t> listed(n, 0);
    for (int k : order) {
        if (k < 1 || size_t(k) > n || listed[size_t(k - 1)]) throw RunTimeError::invalidCall();
        listed[size_t(k - 1)] = 1;
    }
    // Every node must reach the top level: each chain of parents is walked until it meets the top or a
    // node already known to reach it; meeting a node of the chain itself is a cycle.
    for (size_t k = 0; k < n; ++k) {
        const int parent = parents[k];
        if (parent < 0 || size_t(parent) > n || size_t(parent) == k + 1) throw RunTimeError::invalidCall();
    }
    enum : uint8_t { Unknown, OnChain, ReachesTop };
    std::vector<uint8_t> state(n + 1, Unknown);
    state[0] = ReachesTop;
    std::vector<int> chain;
    for (size_t k = 1; k <= n; ++k) {
        int at = int(k);
        chain.clear();
        while (state[size_t(at)] == Unknown) {
            state[size_t(at)] = OnChain;
            chain.push_back(at);
            at = parents[size_t(at - 1)];
        }
        if (state[size_t(at)] == OnChain) throw RunTimeError::invalidCall();
        for (int c : chain) state[size_t(c)] = ReachesTop;
    }

    topLevel_.clear();
    for (const auto& node : nodes_) {
        node->children.clear();
        node->parent = nullptr;
    }
    for (int k : order) {
        Node* node = nodes_[size_t(k - 1)].get();
        const int parent = parents[size_t(k - 1)];
        node->parent = parent == 0 ? nullptr : nodes_[size_t(parent - 1)].get();
        (node->parent ? node->parent->children : topLevel_).push_back(node);
    }
    ++revision_;
}

size_t KeyedTree::siblingPlace(const std::string& key) const {
    const Node* node = find(key);
    if (!node) throw notFound();
    const auto& siblings = node->parent ? node->parent->children : topLevel_;
    return size_t(std::find(siblings.begin(), siblings.end(), node) - siblings.begin());
}

void KeyedTree::remove(const std::string& key) {
    Node& node = at(key);
    auto& siblings = node.parent ? node.parent->children : topLevel_;
    siblings.erase(std::find(siblings.begin(), siblings.end(), &node));
    std::unordered_set<const Node*> doomed;
    std::vector<Node*> stack{&node};
    while (!stack.empty()) {
        Node* n = stack.back();
        stack.pop_back();
        doomed.insert(n);
        byKey_.erase(n->key);
        if (n->key == selected_) selected_.clear();
        if (n->key == dropHighlight_) dropHighlight_.clear();
        for (Node* c : n->children) stack.push_back(c);
    }
    std::erase_if(nodes_, [&](const std::unique_ptr<Node>& n) { return doomed.count(n.get()) > 0; });
    renumber();
    ++revision_;
}

void KeyedTree::clear() {
    nodes_.clear();
    byKey_.clear();
    topLevel_.clear();
    selected_.clear();
    dropHighlight_.clear();
    ++revision_;
}

void KeyedTree::renumber() {
    for (size_t i = 0; i < nodes_.size(); ++i) nodes_[i]->index = int(i) + 1;
}

KeyedTree::Node& KeyedTree::nodeAt(int index) {
    if (index < 1 || index > count()) throw RunTimeError(35600, "Index out of bounds");
    return *nodes_[size_t(index - 1)];
}

const KeyedTree::Node& KeyedTree::nodeAt(int index) const { return const_cast<KeyedTree*>(this)->nodeAt(index); }

int KeyedTree::indexOf(const std::string& key) const {
    const Node* node = find(key);
    return node ? node->index : 0;
}

KeyedTree::Node* KeyedTree::find(const std::string& key) {
    auto it = byKey_.find(key);
    return it == byKey_.end() ? nullptr : it->second;
}

const KeyedTree::Node* KeyedTree::find(const std::string& key) const {
    auto it = byKey_.find(key);
    return it == byKey_.end() ? nullptr : it->second;
}

KeyedTree::Node& KeyedTree::at(const std::string& key) {
    Node* node = find(key);
    if (!node) throw notFound();
    return *node;
}

const KeyedTree::Node* KeyedTree::firstWithText(const std::string& text) const {
    for (const auto& n : nodes_)
        if (n->text == text) return n.get();
    return nullptr;
}

const KeyedTree::Node* KeyedTree::lastWithText(const std::string& text) const {
    for (auto it = nodes_.rbegin(); it != nodes_.rend(); ++it)
        if ((*it)->text == text) return it->get();
    return nullptr;
}

std::string KeyedTree::parentOf(const std::string& key) const {
    const Node* node = find(key);
    return node && node->parent ? node->parent->key : std::string();
}

std::vector<std::string> KeyedTree::childrenOf(const std::string& key) const {
    std::vector<std::string> keys;
    if (const Node* node = find(key))
        for (const Node* c : node->children) keys.push_back(c->key);
    return keys;
}

std::string KeyedTree::firstChildOf(const std::string& key) const {
    const Node* node = find(key);
    return node && !node->children.empty() ? node->children.front()->key : std::string();
}

std::string KeyedTree::nextSiblingOf(const std::string& key) const {
    const Node* node = find(key);
    if (!node) return {};
    const auto& siblings = node->parent ? node->parent->children : topLevel_;
    auto it = std::find(siblings.begin(), siblings.end(), node);
    return it != siblings.end() && it + 1 != siblings.end() ? (*(it + 1))->key : std::string();
}

std::vector<std::string> KeyedTree::topLevel() const {
    std::vector<std::string> keys;
    for (const Node* n : topLevel_) keys.push_back(n->key);
    return keys;
}

void KeyedTree::setText(const std::string& key, const std::string& text) {
    at(key).text = text;
    ++revision_;
}

void KeyedTree::setChecked(const std::string& key, bool checked) {
    at(key).checked = checked;
    ++revision_;
}

void KeyedTree::setExpanded(const std::string& key, bool expanded) {
    at(key).expanded = expanded;
    ++revision_;
}

void KeyedTree::expandAndCheckAll() {
    for (const auto& node : nodes_) node->expanded = node->checked = true;
    ++revision_;
}

void KeyedTree::setSelected(const std::string& key) {
    if (!key.empty()) at(key);
    selected_ = key;
    ++revision_;
}

void KeyedTree::setDropHighlight(const std::string& key) {
    if (!key.empty()) at(key);
    dropHighlight_ = key;
    ++revision_;
}

}  // namespace tarv
