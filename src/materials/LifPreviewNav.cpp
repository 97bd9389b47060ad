#include "materials/LifPreviewNav.h"

#include <algorithm>
#include <filesystem>
#include <optional>

#include "base/Paths.h"

namespace tarv {

LifNavButtons navButtonsFor(int itemCount, int selectedIndex) {
    if (itemCount <= 0) return {false, false};
    LifNavButtons buttons{true, true};
    if (selectedIndex == 0) buttons.cmdPrev = false;
    if (selectedIndex == itemCount - 1) buttons.cmdNext = false;
    return buttons;
}

std::string neighbourLifPath(const std::string& mexFilePath, const std::string& currentModelPath,
                             const std::string& itemText) {
    std::string folder = folderOf(mexFilePath.empty() ? currentModelPath : mexFilePath);
    std::replace(folder.begin(), folder.end(), '\\', '/');
    const std::string name = itemText + ".lif";
    const bool absolute = !folder.empty() && folder.front() == '/';
    const std::filesystem::path base = absolute ? "/" : ".";
    std::filesystem::path where = resolveShipPathOrAsWritten(base, folder);
    if (folder.find_first_not_of('/') == std::string::npos) where = base;
    const std::optional<std::filesystem::path> found = findCaseInsensitive(where, name);
    return (found ? *found : where / name).lexically_normal().string();
}

}  // namespace tarv
