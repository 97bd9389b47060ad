#include "materials/Palette.h"

#include <climits>
#include <cstdlib>

#include "base/AtomicFile.h"
#include "base/BinaryReader.h"
#include "base/ByteWriter.h"
#include "editor/context/EditingContext.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "materials/DibSection.h"

namespace tarv {

namespace {

constexpr int32_t initialNodeTableSize = 50;
constexpr int32_t largestPaletteFileCount = 4097;

// A JASC part: a whole decimal number that rounds half to even into 0..255.
uint8_t jascByte(const std::string& part) {
    const std::optional<double> value = parseNumber(part);
    if (!value) throw RunTimeError(13, "Type mismatch");
    const double rounded = roundHalfEven(*value);
    if (rounded < 0 || rounded > 255) throw RunTimeError::overflow();
    return uint8_t(rounded);
}

}  // namespace

std::vector<std::string> splitString(std::string_view text, std::string_view separator) {
    std::vector<std::string> parts;
    if (separator.empty()) {
        parts.emplace_back(text);
        return parts;
    }
    size_t start = 0;
    for (size_t at = text.find(separator); at != std::string_view::npos; at = text.find(separator, start)) {
        parts.emplace_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.emplace_back(text.substr(start));
    return parts;
}

// ---- entries

const PaletteEntry& cPalette::entry(int32_t iIndex) const {
    if (iIndex < 1 || iIndex > Count()) throw RunTimeError::subscriptOutOfRange();
    return paletteEntries[size_t(iIndex - 1)];
}

void cPalette::setEntry(int32_t iIndex, uint8_t r, uint8_t g, uint8_t b) {
    if (iIndex < 1 || iIndex > Count()) throw RunTimeError::subscriptOutOfRange();
    paletteEntries[size_t(iIndex - 1)] = PaletteEntry{r, g, b, 0};
}

void cPalette::Add(uint8_t Red, uint8_t Green, uint8_t Blue) { paletteEntries.push_back({Red, Green, Blue, 0}); }

int32_t cPalette::ClosestIndex(int32_t Red, int32_t Green, int32_t Blue) const {
    int32_t best = 765;
    int32_t result = 0;
    for (int32_t i = 1; i <= Count(); ++i) {
        const PaletteEntry& e = paletteEntries[size_t(i - 1)];
        if (e.red == Red && e.green == Green && e.blue == Blue) return i;
        const int32_t distance = std::abs(Red - e.red) + std::abs(Green - e.green) + std::abs(Blue - e.blue);
        if (distance < best) {
            best = distance;
            result = i;
        }
    }
    return result;
}

// ---- fixed palettes

void cPalette::addLowSystemColours(int32_t first) {
    static constexpr uint8_t low[7][3] = {{128, 0, 0},   {0, 128, 0},   {128, 128, 0},  {0, 0, 128},
                                          {128, 0, 128}, {0, 128, 128}, {192, 192, 192}};
    for (int32_t i = 0; i < 7; ++i) setEntry(first + 1 + i, low[i][0], low[i][1], low[i][2]);
}

void cPalette::addHighSystemColours(int32_t first) {
    static constexpr uint8_t high[8][3] = {{128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
                                           {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255}};
    for (int32_t i = 0; i < 8; ++i) setEntry(first + i, high[i][0], high[i][1], high[i][2]);
}

void cPalette::Create16Colour() {
    paletteEntries.assign(16, PaletteEntry{});
    addLowSystemColours(1);
    addHighSystemColours(9);
}

void cPalette::CreateWebSafe() {
    paletteEntries.assign(256, PaletteEntry{});
    addLowSystemColours(1);
    int32_t next = 9;
    for (int b = 0; b < 6; ++b) {
        for (int g = 0; g < 6; ++g) {
            for (int r = 0; r < 6; ++r) {
                const bool corner = (r == 0 || r == 5) && (g == 0 || g == 5) && (b == 0 || b == 5);
                if (!corner) setEntry(next++, uint8_t(51 * r), uint8_t(51 * g), uint8_t(51 * b));
            }
        }
    }
    for (int k = 1; k <= 31; ++k) setEntry(next++, uint8_t(8 * k), uint8_t(8 * k), uint8_t(8 * k));
    addHighSystemColours(248);
}

void cPalette::CreateHalfTone() {
    static constexpr uint8_t levels[5] = {0, 64, 128, 192, 255};
    paletteEntries.assign(256, PaletteEntry{});
    int32_t next = 1;
    for (int b = 0; b < 5; ++b)
        for (int g = 0; g < 5; ++g)
            for (int r = 0; r < 5; ++r) setEntry(next++, levels[r], levels[g], levels[b]);
}

void cPalette::CreateMono() { paletteEntries = {PaletteEntry{0, 0, 0, 0}, PaletteEntry{255, 255, 255, 0}}; }

// ---- octree

int32_t& cPalette::reducibleHead(int32_t list) {
    if (list < 0 || list > 7) throw RunTimeError::subscriptOutOfRange();
    return reducibleHeads[size_t(list)];
}

bool cPalette::CreateOptimal(const cDIBSection& cDIB, int32_t PalSize, int32_t nLevels) {
    if (nLevels < 0 || nLevels > 255) throw RunTimeError::overflow();
    levelCount = uint8_t(nLevels);
    octreeNodes.assign(size_t(initialNodeTableSize) + 1, OctreeNode{});
    nodesInUse = 1;
    freeNodeHead = 0;
    leafCount = 0;
    reducibleHeads.fill(0);

    if (cDIB.hasPixels()) {
        for (int32_t y = 0; y < cDIB.Height(); ++y) {
            for (int32_t x = 0; x < 3 * cDIB.Width(); x += 3) {
                addColourToOctree(1, 1, 0, 255, 0, 255, 0, 255, cDIB.byteAt(x + 2, y), cDIB.byteAt(x + 1, y),
                                  cDIB.byteAt(x, y));
                while (leafCount > PalSize) {
                    if (!reduceOctree()) {
                        // The root's children are never merged: fewer than eight boxes cannot always be had.
                        Clear();
                        return false;
                    }
                }
            }
        }
    }

    Clear();
    for (int32_t n = 1; n <= nodeTableSize(); ++n) {
        const OctreeNode& leaf = octreeNodes[size_t(n)];
        if (!leaf.isLeaf) continue;
        const double count = leaf.pixelCount;
        Add(uint8_t(roundHalfEven(double(leaf.redSum) / count)), uint8_t(roundHalfEven(double(leaf.greenSum) / count)),
            uint8_t(roundHalfEven(double(leaf.blueSum) / count)));
    }
    return true;
}

void cPalette::addColourToOctree(int32_t node, int32_t level, int32_t redMin, int32_t redMax, int32_t greenMin,
                                 int32_t greenMax, int32_t blueMin, int32_t blueMax, uint8_t red, uint8_t green,
                                 uint8_t blue) {
    auto halve = [](int32_t& min, int32_t& max, uint8_t value) {
        const int32_t mid = int32_t(roundHalfEven(min / 2.0 + max / 2.0));
        if (value > mid) {
            min = mid;
            return 1;
        }
        max = mid;
        return 0;
    };
    const int32_t redBit = halve(redMin, redMax, red);
    const int32_t greenBit = halve(greenMin, greenMax, green);
    const int32_t blueBit = halve(blueMin, blueMax, blue);
    const size_t childNumber = size_t(redBit + 2 * greenBit + 4 * blueBit);

    if (octreeNodes[size_t(node)].children[childNumber] == 0) {
        const int32_t made = getFreeOctreeNode();  // may grow the table: index afresh afterwards
        OctreeNode& child = octreeNodes[size_t(made)];
        child.redSum = child.greenSum = child.blueSum = 0;
        child.pixelCount = 0;
        child.nextNode = 0;
        child.isLeaf = level == levelCount;
        OctreeNode& parent = octreeNodes[size_t(node)];
        parent.children[childNumber] = made;
        parent.pixelCount += 1;
    }
    const int32_t childIndex = octreeNodes[size_t(node)].children[childNumber];
    OctreeNode& child = octreeNodes[size_t(childIndex)];
    if (child.isLeaf) {
        if (child.pixelCount == 0) leafCount += 1;
        child.pixelCount += 1;
        child.redSum += red;
        child.greenSum += green;
        child.blueSum += blue;
        return;
    }
    if (!child.inReducibleList) {
        int32_t& head = reducibleHead(level - 1);
        child.nextNode = head;
        head = childIndex;
        child.inReducibleList = true;
    }
    addColourToOctree(childIndex, level + 1, redMin, redMax, greenMin, greenMax, blueMin, blueMax, red, green, blue);
}

bool cPalette::reduceOctree() {
    int32_t list = int32_t(levelCount) - 1;
    while (list >= 0 && reducibleHead(list) == 0) --list;
    if (list < 0) return false;

    int32_t& head = reducibleHead(list);
    const int32_t merged = head;
    head = octreeNodes[size_t(merged)].nextNode;

    int64_t red = 0, green = 0, blue = 0;
    int32_t pixels = 0;
    for (size_t c = 0; c < 8; ++c) {
        const int32_t child = octreeNodes[size_t(merged)].children[c];
        if (child == 0) continue;
        const OctreeNode& leaf = octreeNodes[size_t(child)];
        red += leaf.redSum;
        green += leaf.greenSum;
        blue += leaf.blueSum;
        pixels += leaf.pixelCount;
        freeOctreeNode(child);
        leafCount -= 1;
        octreeNodes[size_t(merged)].children[c] = 0;
    }
    OctreeNode& node = octreeNodes[size_t(merged)];
    node.redSum = red;
    node.greenSum = green;
    node.blueSum = blue;
    node.pixelCount = pixels;
    node.isLeaf = true;
    leafCount += 1;
    return true;
}

void cPalette::freeOctreeNode(int32_t node) {
    OctreeNode& n = octreeNodes[size_t(node)];
    n.nextNode = freeNodeHead;
    freeNodeHead = node;
    n.isLeaf = false;
    n.inReducibleList = false;
    nodesInUse -= 1;
}

int32_t cPalette::getFreeOctreeNode() {
    nodesInUse += 1;
    if (freeNodeHead == 0) {
        if (nodesInUse > nodeTableSize()) {
            const int32_t newSize = int32_t(roundHalfEven(double(nodesInUse) * 1.1));
            octreeNodes.resize(size_t(newSize) + 1);
        }
        return nodesInUse;
    }
    const int32_t taken = freeNodeHead;
    OctreeNode& n = octreeNodes[size_t(taken)];
    freeNodeHead = n.nextNode;
    n.children.fill(0);
    return taken;
}

void cPalette::EraseNodes() {
    octreeNodes.clear();
    octreeNodes.shrink_to_fit();
    freeNodeHead = 0;
}

// ---- palette files

bool cPalette::Load(const std::string& sFileName, int32_t& lPosition) {
    std::optional<BinaryReader> file;
    try {
        file.emplace(BinaryReader::fromFile(sFileName));
    } catch (const std::exception&) {
        return false;
    }
    if (lPosition < 1) lPosition = 0;
    const int64_t start = lPosition;
    if (!file->contains(start, 4)) return false;
    const int32_t n = file->i32(start, "palette entry count");
    if (n < 1 || n > largestPaletteFileCount) return false;

    paletteEntries.assign(size_t(n), PaletteEntry{});
    const int64_t wanted = 4 * int64_t(n);
    const int64_t available = std::min<int64_t>(wanted, file->size() - (start + 4));
    const std::span<const uint8_t> bytes = file->bytes(start + 4, available, "palette entries");
    for (int64_t i = 0; i < available; ++i) {
        PaletteEntry& e = paletteEntries[size_t(i / 4)];
        uint8_t* fields[4] = {&e.red, &e.green, &e.blue, &e.reserved};
        *fields[i % 4] = bytes[size_t(i)];
    }
    if (available < wanted) return false;
    const int64_t next = start + 4 + wanted;
    if (next > INT32_MAX) throw RunTimeError::overflow();
    lPosition = int32_t(next);
    return true;
}

bool cPalette::Save(const std::string& sFileName, int32_t lPosition) const {
    try {
        std::vector<uint8_t> bytes(lPosition >= 1 ? size_t(lPosition) : 0, 0);
        appendLittleEndian(bytes, uint32_t(Count()));
        for (const PaletteEntry& e : paletteEntries) {
            bytes.insert(bytes.end(), {e.red, e.green, e.blue, e.reserved});
        }
        writeFileAtomically(sFileName, bytes);
        return true;
    } catch (const RunTimeError&) {
        return false;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

std::string cPalette::jascText() const {
    std::string text = "JASC\r\n0100\r\n" + std::to_string(Count());
    for (const PaletteEntry& e : paletteEntries) {
        text += "\r\n" + std::to_string(e.red) + " " + std::to_string(e.green) + " " + std::to_string(e.blue);
    }
    return text;
}

bool cPalette::SaveToJASCFile(EditingContext& ctx, const std::string& sFileName) const {
    try {
        writeFileAtomically(sFileName, std::string_view(jascText()));
        return true;
    } catch (const RunTimeError& e) {
        throw RunTimeError(e.number(), e.description(), ctx.version.appName + ".cPalette");
    }
}

bool cPalette::LoadFromJASCFile(EditingContext& ctx, const std::string& sFileName) {
    Clear();
    try {
        const BinaryReader file = BinaryReader::fromFile(sFileName);
        const std::string text(file.data().begin(), file.data().end());
        for (const std::string& line : splitString(text, "\r\n")) {
            const std::vector<std::string> parts = splitString(line, " ");
            if (parts.size() != 3) continue;
            const uint8_t r = jascByte(parts[0]);
            const uint8_t g = jascByte(parts[1]);
            const uint8_t b = jascByte(parts[2]);
            Add(r, g, b);
        }
        return true;
    } catch (const RunTimeError& e) {
        Clear();
        throw RunTimeError(e.number(), e.description(), ctx.version.appName + ".cPalette");
    }
}

}  // namespace tarv
