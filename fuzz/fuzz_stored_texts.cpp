// Arbitrary text as the values of the two settings stores: the seventeen preferences and the four recent
// files, one value per line, as a hand-edited INI file could hold them. The parsers and the start-up's
// reading must take every text, and a value written back must read back as itself.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "base/TextLines.h"
#include "editor/RecentFiles.h"
#include "editor/context/EditingContext.h"
#include "model/LogFiles.h"
#include "model/PreferencesStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarv;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = splitTextLines(text);

    for (const std::string& line : lines) {
        const RgbColour colour = parseColour(line);
        const int32_t value = colourValue(colour);
        if (value < 0 || value > 0xFFFFFF) std::abort();
        if (isColourText(line) && !isColourText(colourText(colour))) std::abort();
        (void)parseBoolean(line);
        (void)parseInteger(line);
    }

    static EditingContext& ctx = []() -> EditingContext& {
        static EditingContext c;
        c.userDataFolder = fuzz::scratchFolder();
        return c;
    }();
    MemorySettingsStore preferences, recentFiles;
    for (size_t i = 0; i < kPreferenceNames.size() && i < lines.size(); ++i)
        preferences.values[kPreferenceNames[i]] = lines[i];
    for (size_t i = kPreferenceNames.size(); i < kPreferenceNames.size() + 4 && i < lines.size(); ++i)
        recentFiles.values["RecentFile" + std::to_string(i - kPreferenceNames.size() + 1)] = lines[i];
    ctx.services.preferencesStore = &preferences;
    ctx.services.recentFilesStore = &recentFiles;
    ctx.prefs = Preferences{};
    ctx.shell.mnuRecentFile = ShellState{}.mnuRecentFile;

    startStartupLog(ctx);  // the start-up log begins afresh for every input, as at every start
    readPreferences(ctx);
    // What the reading stored reads back to the same values.
    const Preferences first = ctx.prefs;
    writeAllRegKeys(ctx);
    readPreferences(ctx);
    if (colourValue(first.playerBaseColor) != colourValue(ctx.prefs.playerBaseColor)) std::abort();
    if (first.logLevel != ctx.prefs.logLevel || first.defaultFileFormat != ctx.prefs.defaultFileFormat) std::abort();

    loadRecentFiles(ctx);
    if (!lines.empty()) addRecentFile(ctx, lines.back());
    loadRecentFiles(ctx);
    for (const RecentFileItem& item : ctx.shell.mnuRecentFile)
        if (item.visible && !item.path.empty() && item.caption.size() < item.path.size()) std::abort();

    ctx.services.preferencesStore = nullptr;
    ctx.services.recentFilesStore = nullptr;
    return 0;
}
