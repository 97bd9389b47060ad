#pragma once
// The checks between the mesh extras and the ship definition, run while a .mex is read: every dock,
// salvage and nav-light chunk must name a point of the ship definition, and the numbers of guns, nav
// lights, dock and salvage points must agree. Findings are message boxes for a Homeworld file and lines
// of the load summary for a Cataclysm one.
#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace tarv {

class EditingContext;
struct ShipDefinition;

// The number of distinct names among the ship definition's dock points, letter case ignored.
int64_t distinctDockPointCount(const ShipDefinition& shp);

// Lookups for one .mex read: the ship definition's names in lower case, and the chunks by point name that
// have not been coloured blue yet. Answers exactly as the plain lookups do, in constant time.
class MexPointLookup {
public:
    explicit MexPointLookup(const EditingContext& ctx);
    // Call when chunk index gets its point name.
    void addChunk(int index, const std::string& pointName);

private:
    friend bool findInShp(EditingContext&, const std::string&, const std::string&, MexPointLookup*);
    std::unordered_set<std::string> dock_, salvage_, lights_;
    std::unordered_map<std::string, std::vector<int>> notBlueYet_;
};

// kind "dock", "salv" or "light": whether the ship definition lists name (ignoring case); any other kind
// false. A "dock" lookup of a name beginning with TOW or POINT (any case) also counts a possible Cataclysm
// salvage point and colours blue every chunk whose point name is exactly name.
bool findInShp(EditingContext& ctx, const std::string& kind, const std::string& name, MexPointLookup* lookup = nullptr);

// The check of one dock ('k'), salvage ('s') or nav-light ('n') chunk right after its name was read.
void checkMexPoint(EditingContext& ctx, char letter, const std::string& name, bool cataclysm,
                   MexPointLookup* lookup = nullptr);
// The checks after the last chunk.
void runMexFinalChecks(EditingContext& ctx, bool cataclysm);

}  // namespace tarv
