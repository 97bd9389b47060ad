#include "objects/ObjectNames.h"

#include <algorithm>

#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "model/LogFiles.h"
#include "objects/NamePositions.h"
#include "objects/ObjectLinks.h"

namespace tarv {

namespace {

constexpr double kLargestNameNumber = 2147483647.0;

// The value of a digit run as a double (0 for an empty run).
double runValue(const std::string& digits) {
    double value = 0;
    for (char c : digits) value = value * 10 + (c - '0');
    return value;
}

// The name of number n in the rule's form: appended when the family has no number above 0, else in place of
// the digit run with the fill.
std::string numbered(const std::string& name, const NameSplit& split, const CopyName& copy, int64_t n) {
    const std::string number = intText(n);
    if (!copy.numbered) return name + number;
    if (!split.prefix.empty()) return split.prefix + copy.fill + number + split.suffix;
    if (!split.digits.empty()) return copy.fill + number + split.suffix;
    return name + copy.fill + number;
}

// The rule's number n, and the next numbers while the name is taken.
void takeFreeName(const std::string& name, const NameSplit& split, CopyName& copy, int64_t n,
                  const TakenNames* taken) {
    copy.name = numbered(name, split, copy, n);
    while (taken && taken->taken(copy.name)) {
        if (n >= int64_t(kLargestNameNumber)) throw RunTimeError::overflow();
        copy.name = numbered(name, split, copy, ++n);
    }
}

// The copy name of a split name whose family's largest number is largest.
CopyName finish(const std::string& name, const NameSplit& split, double largest, const TakenNames* taken) {
    CopyName copy;
    if (largest == 0) {
        takeFreeName(name, split, copy, 2, taken);
        return copy;
    }
    if (largest >= kLargestNameNumber) throw RunTimeError::overflow();
    const int64_t max = int64_t(largest);
    copy.numbered = true;
    while (size_t(copy.zeros) < split.digits.size() && split.digits[size_t(copy.zeros)] == '0') ++copy.zeros;
    int fill = 0;
    if (max <= 9)
        fill = copy.zeros;
    else if (max <= 99)
        fill = copy.zeros > 1 ? copy.zeros - 1 : 0;
    else if (max <= 999)
        fill = copy.zeros > 2 ? copy.zeros - 2 : 0;
    copy.fill.assign(size_t(fill), '0');
    takeFreeName(name, split, copy, max + 1, taken);
    return copy;
}

}  // namespace

TakenNames::TakenNames(const std::vector<PeoObject>& objects) {
    names_.reserve(objects.size());
    for (const PeoObject& object : objects) names_.insert(object.name);
}

bool TakenNames::taken(const std::string& name) const {
    return name.empty() || name == kDeletedObjectName || names_.count(name) != 0;
}

CopyName copyNameAmong(const std::string& name, const std::vector<std::string>& names, const TakenNames* taken) {
    const NameSplit split = splitAtLastNumber(name);
    const std::string base = split.prefix + split.suffix;
    double largest = 0;
    for (const std::string& other : names) {
        const NameSplit s = splitAtLastNumber(other);
        if (s.prefix.size() + s.suffix.size() != base.size() || s.prefix + s.suffix != base) continue;
        const double value = runValue(s.digits);
        if (value > largest) {
            if (value > kLargestNameNumber) throw RunTimeError::overflow();
            largest = value;
        }
    }
    return finish(name, split, largest, taken);
}

NameFamilyIndex::NameFamilyIndex(const std::vector<std::string>& names) {
    families_.reserve(names.size());
    for (const std::string& name : names) add(name);
}

void NameFamilyIndex::add(const std::string& name) {
    const NameSplit split = splitAtLastNumber(name);
    Family& family = families_[split.prefix + split.suffix];
    const double value = runValue(split.digits);
    if (value > kLargestNameNumber)
        family.overflow = true;
    else
        family.largest = std::max(family.largest, value);
}

CopyName NameFamilyIndex::copyName(const std::string& name, const TakenNames* taken) const {
    const NameSplit split = splitAtLastNumber(name);
    double largest = 0;
    if (auto it = families_.find(split.prefix + split.suffix); it != families_.end()) {
        if (it->second.overflow) throw RunTimeError::overflow();
        largest = it->second.largest;
    }
    return finish(name, split, largest, taken);
}

std::vector<std::string> objectTreeTexts(const EditingContext& ctx) {
    const KeyedTree& tree = ctx.shell.treeHeirachy;
    std::vector<std::string> texts;
    texts.reserve(size_t(tree.count()));
    for (int i = 1; i <= tree.count(); ++i) texts.push_back(tree.nodeAt(i).text);
    return texts;
}

void logCheckingName(EditingContext& ctx, const std::string& source) { writeLog(ctx, "  Checking: " + source, 2); }

void logCopyName(EditingContext& ctx, const CopyName& copy) {
    if (copy.numbered) writeLog(ctx, "  numOfZeros: " + intText(copy.zeros) + " leadZero: " + copy.fill, 3);
    writeLog(ctx, "  -> " + copy.name, 2);
}

std::string checkName(EditingContext& ctx, int nodeIndex) {
    std::string result;
    trapErrors(ctx, "frmTARV", "checkName", intText(nodeIndex), [&] {
        const std::string text = ctx.shell.treeHeirachy.nodeAt(nodeIndex).text;
        logCheckingName(ctx, text);
        const TakenNames taken(ctx.model.peoObjects);
        const CopyName copy = copyNameAmong(text, objectTreeTexts(ctx), &taken);
        logCopyName(ctx, copy);
        result = copy.name;
    });
    return result;
}

int16_t checkKey(EditingContext& ctx) {
    int16_t result = 0;
    trapErrors(ctx, "frmTARV", "checkKey", "", [&] {
        const KeyedTree& tree = ctx.shell.treeHeirachy;
        int32_t max = 0;
        for (int i = 1; i <= tree.count(); ++i) max = std::max(max, keyIndex(tree.nodeAt(i).key));
        const int64_t last = int64_t(ctx.model.objectCount()) - 1;
        result = toInt16(max < ctx.model.objectCount() ? last : int64_t(max));
    });
    return result;
}

int16_t checkParent(EditingContext& ctx, int keyIndexArg) {
    int16_t result = 0;
    trapErrors(ctx, "frmTARV", "checkParent", intText(keyIndexArg), [&] {
        const KeyedTree& tree = ctx.shell.treeHeirachy;
        const NameSplit split = splitAtLastNumber(tree.nodeAt(keyIndexArg).text);
        const std::string base = split.prefix + split.suffix;
        double largest = 0;
        int found = 0;
        for (int i = 1; i <= tree.count(); ++i) {
            const NameSplit s = splitAtLastNumber(tree.nodeAt(i).text);
            if (s.prefix + s.suffix != base) continue;
            const double value = runValue(s.digits);
            if (value <= largest) continue;
            if (value > kLargestNameNumber) throw RunTimeError::overflow();
            largest = value;
            found = i;
        }
        result = toInt16(int64_t(found));
    });
    return result;
}

}  // namespace tarv
