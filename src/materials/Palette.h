#pragma once
// cPalette: a numbered list of colours (entries 1..Count) with an octree quantiser, four fixed palettes,
// the nearest-entry lookup and two palette files (bytes, and JASC palette text).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarv {

class EditingContext;
class cDIBSection;

// One node of the octree table.
struct OctreeNode {
    bool isLeaf = false;
    bool inReducibleList = false;
    // Sums of the pixels added to a leaf; 64 bits so that a large one-colour picture cannot overflow them.
    int64_t redSum = 0;
    int64_t greenSum = 0;
    int64_t blueSum = 0;
    int32_t pixelCount = 0;             // a leaf: pixels added; an inner node: children
    std::array<int32_t, 8> children{};  // node numbers, 0 when absent; red bit + 2 green bit + 4 blue bit
    int32_t nextNode = 0;               // next node on the same reducible list or on the free list
};

// Red, green, blue and a fourth byte (0 for every entry made here).
struct PaletteEntry {
    uint8_t red = 0, green = 0, blue = 0, reserved = 0;
    friend bool operator==(const PaletteEntry&, const PaletteEntry&) = default;
};

class cPalette {
public:
    void Add(uint8_t Red, uint8_t Green, uint8_t Blue);
    // The first entry equal to the colour, else the nearest by the sum of channel differences (ties to the
    // lower number); 0 when the palette is empty or every entry is 765 away.
    int32_t ClosestIndex(int32_t Red, int32_t Green, int32_t Blue) const;
    int32_t Count() const { return int32_t(paletteEntries.size()); }
    // A channel of entry iIndex (1..Count); any other index raises error 9.
    uint8_t Red(int32_t iIndex) const { return entry(iIndex).red; }
    uint8_t Green(int32_t iIndex) const { return entry(iIndex).green; }
    uint8_t Blue(int32_t iIndex) const { return entry(iIndex).blue; }

    void CreateWebSafe();
    void CreateHalfTone();
    void CreateMono();
    void Create16Colour();
    // The octree palette of the picture: at most PalSize entries, leaves nLevels halvings below the root.
    // False, with the palette empty, when the tree cannot be reduced to PalSize leaves (PalSize below 8).
    // nLevels outside 0..255 raises error 6 at once; 0 and 9..255 raise error 9 when the descent or a merge
    // needs a reducible list beyond the eight there are.
    bool CreateOptimal(const cDIBSection& cDIB, int32_t PalSize, int32_t nLevels);
    // Frees the node table and empties the free list; the counters stay.
    void EraseNodes();
    void Clear() { paletteEntries.clear(); }

    // Palette file: int32 count, then count entries of four bytes. Load reads at byte lPosition when it
    // is 1 or more (else at the start, lPosition becoming 0) and moves lPosition past what it read.
    bool Load(const std::string& sFileName, int32_t& lPosition);
    // Writes lPosition zero bytes (when 1 or more), the count and the entries; false when it failed.
    bool Save(const std::string& sFileName, int32_t lPosition) const;
    // JASC palette text. Failures raise with source appName & ".cPalette"; a failed load leaves the
    // palette empty.
    bool SaveToJASCFile(EditingContext& ctx, const std::string& sFileName) const;
    bool LoadFromJASCFile(EditingContext& ctx, const std::string& sFileName);
    // The JASC text of the palette.
    std::string jascText() const;

    // Read-only views of the octree state.
    const std::vector<PaletteEntry>& entries() const { return paletteEntries; }
    // Size of the node table (nodes 1..n); 0 when there is none.
    int32_t nodeTableSize() const { return octreeNodes.empty() ? 0 : int32_t(octreeNodes.size()) - 1; }
    const OctreeNode& node(int32_t number) const { return octreeNodes.at(size_t(number)); }
    int32_t NodesInUse() const { return nodesInUse; }
    int32_t LeafCount() const { return leafCount; }

private:
    const PaletteEntry& entry(int32_t iIndex) const;
    void setEntry(int32_t iIndex, uint8_t r, uint8_t g, uint8_t b);
    void addLowSystemColours(int32_t first);
    void addHighSystemColours(int32_t first);
    int32_t& reducibleHead(int32_t list);
    void addColourToOctree(int32_t node, int32_t level, int32_t redMin, int32_t redMax, int32_t greenMin,
                           int32_t greenMax, int32_t blueMin, int32_t blueMax, uint8_t red, uint8_t green,
                           uint8_t blue);
    bool reduceOctree();
    void freeOctreeNode(int32_t node);
    int32_t getFreeOctreeNode();

    std::vector<OctreeNode> octreeNodes;  // index 0 unused: nodes are numbered from 1
    int32_t nodesInUse = 0;
    uint8_t levelCount = 0;
    int32_t freeNodeHead = 0;
    int32_t leafCount = 0;
    std::array<int32_t, 8> reducibleHeads{};
    std::vector<PaletteEntry> paletteEntries;  // entry i at index i - 1
};

// Cuts text at every separator into its pieces: those between separators and always the one after the
// last (the whole text when there is none), empty pieces included.
std::vector<std::string> splitString(std::string_view text, std::string_view separator);

}  // namespace tarv
