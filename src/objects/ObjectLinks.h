#pragma once
// The model's parent, child and sibling links computed from the object tree, which is the authority for
// the hierarchy once a model is loaded. Objects are matched to nodes by name (node text); a node's object
// is the number in its key ("o" & index). Links in memory are always index + 1 (0 for none): the .peo
// writer turns them into record numbers on its own copy when it skips deleted objects.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/KeyedTree.h"
#include "model/state/ShipModel.h"

namespace tarv {

class EditingContext;

struct ObjectLinks {
    int32_t mother = 0, daughter = 0, sister = 0;
    friend bool operator==(const ObjectLinks&, const ObjectLinks&) = default;
};

// The links of the node matched to one object, and the object number of that node's key.
struct MatchedLinks {
    int32_t nodeObject = 0;
    ObjectLinks links;
    friend bool operator==(const MatchedLinks&, const MatchedLinks&) = default;
};

enum class NodeMatch { First, Last };  // which node wins when several carry an object's name

// The node key of an object, and the object number of a key (the number from its second character on).
std::string objectKey(int objNo);
int32_t keyIndex(const std::string& key);

// Per object, the links of its node (first or last in creation order whose text is its name), nullopt
// when no node carries its name. Node "o0", and the only node of a one-node tree, get mother 0 and
// sister 0; any other top-level node gets mother 0 and the next top-level node as sister. Linear: one
// pass over the nodes and a name index that keeps the first/last rule.
std::vector<std::optional<MatchedLinks>> linksFromTree(const KeyedTree& tree, const ShipModel& model, NodeMatch match);
// The same by walking every node for every object and asking the tree for parents and siblings, the way
// the links were first described. Quadratic; kept to prove the indexed one right and for benchmarks.
std::vector<std::optional<MatchedLinks>> linksFromTreeLiteral(const KeyedTree& tree, const ShipModel& model,
                                                              NodeMatch match);

// calcHeirachy without its own trap: log lines, lblNoOfObjs, and the links of every object that has a node
// (the last node with its name), as index + 1.
void computeHeirachy(EditingContext& ctx);
// The same, trapping its errors (window procedure "frmTARV").
void calcHeirachy(EditingContext& ctx);
// Right before a .peo is written: the links of every live object from the first node with its name, as
// index + 1, without log lines. Deleted objects and objects without a node keep their links.
void fixHierarchy(EditingContext& ctx);

}  // namespace tarv
