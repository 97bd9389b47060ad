#pragma once
// The model behind a tree control (object tree, chunk tree): nodes with unique keys, texts, check states
// and an order of children. The tree widget only shows it and forwards what the user does; operations
// change the model and the window shows it again. The model raises no events.
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tarv {

class KeyedTree {
public:
    struct Node {
        std::string key;
        std::string text;
        bool checked = false;
        bool expanded = false;
        Node* parent = nullptr;
        std::vector<Node*> children;
        int index = 0;  // 1-based place in creation order
    };

    enum class MoveResult { Moved, IntoOwnSubtree };

    // Adds a top-level node after the existing ones. A key that exists already is refused with error
    // 35602 "Key is not unique in collection".
    Node& addTopLevel(const std::string& key, const std::string& text);
    // Adds a node as the last child of parentKey (error 35601 "Element not found" when it does not exist).
    Node& addChild(const std::string& parentKey, const std::string& key, const std::string& text);
    // Moves the node with its subtree to the first place among newParentKey's children. Refused, with
    // nothing changed, when the new parent is the node itself or lies in its subtree.
    MoveResult moveToFirstChild(const std::string& key, const std::string& newParentKey);
    // Moves the node with its subtree to 0-based place `place` among newParentKey's children, or among the
    // top-level nodes when newParentKey is empty (a place past the end appends); refused like the above.
    // Undoing a move puts a node back where siblingPlace said it was.
    MoveResult moveTo(const std::string& key, const std::string& newParentKey, size_t place);
    // Gives every node its parent and its place in one pass: the node created k-th (1-based) goes under the
    // node created parents[k - 1]-th, or to the top level for 0; the children of each node, like the
    // top-level nodes, follow the order in which `order` names them (every 1..count exactly once). A shape
    // with a cycle or a bad index is refused with error 5 "Invalid procedure call or argument", nothing
    // changed.
    void arrange(const std::vector<int>& parents, const std::vector<int>& order);
    // 0-based place of the node among its parent's children (or the top-level nodes).
    size_t siblingPlace(const std::string& key) const;
    // Removes the node and its subtree; the remaining nodes keep their order and close the gaps.
    void remove(const std::string& key);
    void clear();

    int count() const { return int(nodes_.size()); }
    // 1-based place in creation order; error 35600 "Index out of bounds" outside 1..count.
    Node& nodeAt(int index);
    const Node& nodeAt(int index) const;
    // 0 when there is no such key.
    int indexOf(const std::string& key) const;
    Node* find(const std::string& key);
    const Node* find(const std::string& key) const;
    // Error 35601 when the key does not exist.
    Node& at(const std::string& key);
    const Node* firstWithText(const std::string& text) const;
    const Node* lastWithText(const std::string& text) const;

    // Walking the tree; empty keys when there is no such node.
    std::string parentOf(const std::string& key) const;
    std::vector<std::string> childrenOf(const std::string& key) const;
    std::string firstChildOf(const std::string& key) const;
    std::string nextSiblingOf(const std::string& key) const;
    std::vector<std::string> topLevel() const;
    bool isInSubtree(const std::string& key, const std::string& rootKey) const;

    void setText(const std::string& key, const std::string& text);
    void setChecked(const std::string& key, bool checked);
    void setExpanded(const std::string& key, bool expanded);
    // Every node expanded and ticked.
    void expandAndCheckAll();

    // The selected node and the drop highlight: "" for none; a removed node stops being either.
    const std::string& selectedKey() const { return selected_; }
    void setSelected(const std::string& key);
    const std::string& dropHighlightKey() const { return dropHighlight_; }
    void setDropHighlight(const std::string& key);

    // Grows with every change, so a view knows when to show the model again.
    uint64_t revision() const { return revision_; }

private:
    Node& add(Node* parent, const std::string& key, const std::string& text);
    void renumber();
    std::vector<std::unique_ptr<Node>> nodes_;  // creation order
    std::unordered_map<std::string, Node*> byKey_;
    std::vector<Node*> topLevel_;
    std::string selected_;
    std::string dropHighlight_;
    uint64_t revision_ = 0;
};

}  // namespace tarv
