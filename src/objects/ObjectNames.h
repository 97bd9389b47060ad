#pragma once
// Unique names and numbers for copied objects. A name splits at its last run of digits into prefix, digit
// run and suffix (getPositions); its base is prefix & suffix, its number the run's value (0 for no run).
// Names of one base form a family (compared exactly, case-sensitive). A copy takes the family's largest
// number + 1, keeping the source's leading zeros by a fill chosen from that largest number. Objects are
// matched to their nodes by name, so a copy never takes a name that is taken (TakenNames): where the rule's
// name is, the next numbers are tried in turn.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "model/state/ShipModel.h"

namespace tarv {

class EditingContext;

// The copy name of one name and what its log lines show. numbered: the family had a number above 0 (only
// then is the "numOfZeros" line written).
struct CopyName {
    std::string name;
    bool numbered = false;
    int zeros = 0;
    std::string fill;
};

// The names that neither a rename nor a copy may give: empty, the deleted-object name, and the name of any
// object. Built once, kept up to date with add().
class TakenNames {
public:
    explicit TakenNames(const std::vector<PeoObject>& objects);
    bool taken(const std::string& name) const;
    // A name that now exists (a copy just named).
    void add(const std::string& name) { names_.insert(name); }

private:
    std::unordered_set<std::string> names_;
};

// The copy name of `name` among `names`, scanning every one of them (the name itself counts when it is
// among them). A digit run in the family beyond 2147483647, and a largest number of 2147483647, throw
// error 6 "Overflow". The object import renames clashing names with it. Where the rule's name is taken, the
// rule's next number is taken until the name is free (none given: every name is free).
CopyName copyNameAmong(const std::string& name, const std::vector<std::string>& names,
                       const TakenNames* taken = nullptr);

// The same answers from an index of each family's largest number, built once and kept up to date with
// add(): one name costs a lookup instead of a scan.
class NameFamilyIndex {
public:
    explicit NameFamilyIndex(const std::vector<std::string>& names);
    // Like copyNameAmong over the names given so far (same errors).
    CopyName copyName(const std::string& name, const TakenNames* taken = nullptr) const;
    // A name that now exists (a copy just made).
    void add(const std::string& name);

private:
    struct Family {
        double largest = 0;     // the largest number of the family
        bool overflow = false;  // some member's run is beyond 2147483647
    };
    std::unordered_map<std::string, Family> families_;
};

// The texts of every node of the object tree, in creation order.
std::vector<std::string> objectTreeTexts(const EditingContext& ctx);

// The log lines of a copy name: "  Checking: " & source (2) before the name is worked out; then
// "  numOfZeros: " & zeros & " leadZero: " & fill (3, only when numbered) and "  -> " & name (2).
void logCheckingName(EditingContext& ctx, const std::string& source);
void logCopyName(EditingContext& ctx, const CopyName& copy);

// The unique name for a copy of node nodeIndex's object (1-based creation order), over the tree's texts,
// with its log lines. Traps its errors (window procedure "frmTARV"): after a report it returns "".
std::string checkName(EditingContext& ctx, int nodeIndex);
// The largest object number in a tree key ("o7" gives 7), at least objectCount - 1; the next object's
// number is this + 1. Traps its errors: after a report it returns 0.
int16_t checkKey(EditingContext& ctx);
// The node of node keyIndex's name family with the largest number (the first of equal ones in creation
// order), 0 when no node of the family has a number above 0. Traps its errors: after a report it returns 0.
int16_t checkParent(EditingContext& ctx, int keyIndex);

}  // namespace tarv
