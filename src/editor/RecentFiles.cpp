#include "editor/RecentFiles.h"

#include "base/Paths.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {
std::string keyOf(int i) { return "RecentFile" + std::to_string(i); }
}  // namespace

void addRecentFile(EditingContext& ctx, const std::string& file) {
    for (int i = 1; i <= 4; ++i) {
        const RecentFileItem& item = ctx.shell.mnuRecentFile[size_t(i)];
        if (!item.path.empty() && sameIgnoringAsciiCase(item.path, file)) return;
    }
    SettingsStore& store = ctx.recentFilesStore();
    for (int i = 3; i >= 1; --i) {
        std::string value = store.getKeyValue(keyOf(i));
        if (!value.empty()) store.setKeyValue(keyOf(i + 1), value);
    }
    store.setKeyValue(keyOf(1), file);
}

void loadRecentFiles(EditingContext& ctx) {
    SettingsStore& store = ctx.recentFilesStore();
    if (store.getKeyValue(keyOf(1)).empty()) return;
    int n = 0;
    for (int i = 1; i <= 4; ++i) {
        std::string value = store.getKeyValue(keyOf(i));
        if (value.empty()) continue;
        ++n;
        ctx.shell.mnuRecentFile[0].visible = true;
        RecentFileItem& item = ctx.shell.mnuRecentFile[size_t(n)];
        item.caption = recentFileCaption(n, value);
        item.path = value;
        item.visible = true;
    }
}

std::string recentFileCaption(int n, const std::string& path) {
    std::string caption = "&" + std::to_string(n) + " ";
    for (char c : path) {
        caption += c;
        if (c == '&') caption += '&';
    }
    return caption;
}

}  // namespace tarv
