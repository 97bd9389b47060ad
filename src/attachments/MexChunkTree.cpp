#include "attachments/MexChunkTree.h"

#include <algorithm>
#include <cstdint>

#include "model/LogFiles.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/TrapGuard.h"
#include "objects/NamePositions.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

// The groups are the second to seventh nodes, in the order of the type table.
const char* const kGroupLetters = "gdeksn";

// The 1-based position of a type's group node, 0 for a letter without a group.
int groupPosition(const std::string& letter) {
    if (letter.size() != 1) return 0;
    const char* at = std::char_traits<char>::find(kGroupLetters, 6, letter[0]);
    return at ? int(at - kGroupLetters) + 2 : 0;
}

// The value of a digit run (0 when empty).
double runValue(const std::string& digits) { return digits.empty() ? 0.0 : leadingNumber(digits); }

// The number of chunk nodes of a type: keys that begin with the letter, other than its group's.
int countChunkNodes(const KeyedTree& tree, const std::string& letter) {
    const std::string groupKey = letter + "Root";
    int count = 0;
    for (int i = 1; i <= tree.count(); ++i) {
        const std::string& key = tree.nodeAt(i).key;
        if (key.compare(0, letter.size(), letter) == 0 && key != groupKey) ++count;
    }
    return count;
}

// checkMexName of the first child of the type's group.
std::string nameAfterFirstChild(EditingContext& ctx, const std::string& letter) {
    KeyedTree& tree = ctx.mex.treeMex;
    const std::string first = tree.firstChildOf(tree.nodeAt(groupPosition(letter)).key);
    if (first.empty()) throw RunTimeError(35601, "Element not found");
    return checkMexName(ctx, toInt16(int64_t(tree.indexOf(first))));
}

}  // namespace

void addMexTreeDefaults(EditingContext& ctx) {
    KeyedTree& tree = ctx.mex.treeMex;
    tree.clear();
    tree.addTopLevel("Root", "Mex Entries");
    tree.setExpanded("Root", true);
    for (const auto& type : mexChunkTypes())
        if (*type.groupCaption) tree.addChild("Root", type.parentKey, type.groupCaption);
}

std::string mexChunkKey(char letter, int32_t index) { return std::string(1, letter) + intText(index); }

int32_t mexChunkIndexOfKey(const std::string& key) {
    // Keys are made by mexChunkKey: the letter and decimal digits, nothing else.
    if (key.size() < 2 || key.size() > 11) return -1;
    int64_t value = 0;
    for (size_t i = 1; i < key.size(); ++i) {
        if (key[i] < '0' || key[i] > '9') return -1;
        value = value * 10 + (key[i] - '0');
    }
    return value <= INT32_MAX ? int32_t(value) : -1;
}

bool isMexGroupOrRootKey(const std::string& key) { return key.find("Root") != std::string::npos; }

void setCounter(EditingContext& ctx, int16_t n, const std::string& letter) {
    const int position = groupPosition(letter);
    if (position == 0) return;
    const MexChunkType* type = mexChunkTypeByLetter(letter[0]);
    KeyedTree& tree = ctx.mex.treeMex;
    tree.setText(tree.nodeAt(position).key, std::string(type->groupCaption) + " (" + intText(n) + ")");
}

int16_t getCounter(EditingContext& ctx, const std::string& letter) {
    int16_t result = 0;
    trapErrors(ctx, "modMex", "getCounter", letter, [&] {
        const int position = groupPosition(letter);
        if (position == 0) return;
        const std::string& text = ctx.mex.treeMex.nodeAt(position).text;
        const size_t open = text.find('(');
        if (open == std::string::npos) return;
        const size_t close = text.rfind(')');
        if (close == std::string::npos || close < open + 1) throw RunTimeError::invalidCall();
        result = toInt16(roundHalfEven(leadingNumber(text.substr(open + 1, close - open - 1))));
    });
    return result;
}

std::string getNextChunkId(EditingContext& ctx, const std::string& letter) {
    std::string result;
    trapErrors(ctx, "modMex", "getNextChunkId", letter, [&] {
        static const char* const fixed[][2] = {{"k", "DOCK"}, {"s", "SALVAGE"}, {"n", "NAV"}};
        for (const auto& f : fixed)
            if (letter == f[0]) {
                result = f[1];
                return;
            }
        static const char* const first[][2] = {{"g", "Gun0"}, {"d", "Dmg0"}, {"e", "Eng0"}};
        for (const auto& f : first)
            if (letter == f[0]) {
                result = countChunkNodes(ctx.mex.treeMex, letter) == 0 ? f[1] : nameAfterFirstChild(ctx, letter);
                return;
            }
    });
    return result;
}

std::string getNextChunkText(EditingContext& ctx, const std::string& letter) {
    std::string result;
    trapErrors(ctx, "modMex", "getNextChunkText", letter, [&] {
        static const char* const first[][2] = {{"k", "Dock0"}, {"s", "Salvage0"}, {"n", "NavLight0"}};
        for (const auto& f : first)
            if (letter == f[0]) {
                result = countChunkNodes(ctx.mex.treeMex, letter) == 0 ? f[1] : nameAfterFirstChild(ctx, letter);
                return;
            }
    });
    return result;
}

std::string checkMexName(EditingContext& ctx, int16_t nodeIndex) {
    std::string result;
    trapErrors(ctx, "frmTARV", "checkMexName", intText(nodeIndex), [&] {
        const KeyedTree& tree = ctx.mex.treeMex;
        const std::string reference = tree.nodeAt(nodeIndex).text;
        writeLog(ctx, "Checking: " + reference, 2);
        const NameSplit ref = splitAtLastNumber(reference);
        const std::string base = ref.prefix + ref.suffix;

        double highest = -1;
        for (int i = 1; i <= tree.count(); ++i) {
            const std::string& text = tree.nodeAt(i).text;
            // Only texts at least as long as the base can share it.
            if (text.size() < base.size()) continue;
            const NameSplit other = splitAtLastNumber(text);
            if (other.prefix.size() + other.suffix.size() != base.size()) continue;
            if (other.prefix + other.suffix == base) highest = std::max(highest, runValue(other.digits));
        }

        const size_t firstOther = ref.digits.find_first_not_of('0');
        const int zeros = int(firstOther == std::string::npos ? ref.digits.size() : firstOther);
        const double n = highest + 1;
        int padCount = 0;
        if (n >= 1 && n <= 9)
            padCount = (zeros > 0 && ref.digits.size() > 1) ? zeros : 0;
        else if (n >= 10 && n <= 99)
            padCount = zeros > 1 ? zeros - 1 : 0;
        else if (n >= 100 && n <= 999)
            padCount = zeros > 2 ? zeros - 2 : 0;
        const std::string pad(size_t(padCount), '0');
        writeLog(ctx, "numOfZeros: " + intText(zeros) + " leadZero: " + pad, 3);

        const std::string number = doubleText(n);
        result = ref.digits.empty() ? reference + number : ref.prefix + pad + number + ref.suffix;
        writeLog(ctx, "-> " + result, 2);
    });
    return result;
}

}  // namespace tarv
