#pragma once
// A fixed list of a page (a combo box's entries) and the chosen position (-1 none).
#include <string>
#include <vector>

namespace tarv {

struct FixedList {
    std::vector<std::string> items;
    int listIndex = -1;
};

}  // namespace tarv
