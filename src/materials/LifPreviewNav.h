#pragma once
// The texture preview's Previous and Next: which of the two buttons are enabled for the texture list's
// selection, and the file of the texture a step lands on.
#include <string>

namespace tarv {

struct LifNavButtons {
    bool cmdPrev = false;
    bool cmdNext = false;
    friend bool operator==(const LifNavButtons&, const LifNavButtons&) = default;
};

// Both enabled, except: none with an empty list, Previous not on the first item, Next not on the last.
// selectedIndex is 0-based; -1 for no selection.
LifNavButtons navButtonsFor(int itemCount, int selectedIndex);

// The .lif file of the texture named itemText: in the folder of mexFilePath (up to its last "\" or "/")
// when that is set, otherwise in the model folder (that of currentModelPath). "\" becomes "/" and every
// component is found without regard to letter case; a file that is not there keeps the name as written.
std::string neighbourLifPath(const std::string& mexFilePath, const std::string& currentModelPath,
                             const std::string& itemText);

}  // namespace tarv
