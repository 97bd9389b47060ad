// Arbitrary text as the values of the two settings stores: the seventeen preferences and the four recent
// files, one value per line, as a hand-edited INI file could hold them. The parsers and the start-up's
// reading must take every text, and a value written back must read back as itself.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzSupport.h"
#include "base/TextLines.h"
#include "editor/RecentFiles.h"
#include "editor/context/EditingContext.h"
#include "model/LogFiles.h"
#include "model/PreferencesStore.h"

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "fuzz_stored_texts: %s\n", what);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarv;
    const std::string text(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> lines = splitTextLines(text);

    for (const std::string& line : lines) {
        const RgbColour colour = parseColour(line);
        const int32_t value = colourValue(colour);
        if (value < 0 || value > 0xFFFFFF) fail("a colour value outside 24 bits");
        // A component beyond the float range is held as infinity, whose text is no number: left aside.
        const bool finite = std::isfinite(colour.red) && std::isfinite(colour.green) && std::isfinite(colour.blue);
        if (finite && isColourText(line) && !isColourText(colourText(colour)))
            fail("a colour's text form is no colour text");
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
    // A colour read from the store is always finite, so each of the three reads back as itself.
    if (colourValue(first.playerBaseColor) != colourValue(ctx.prefs.playerBaseColor) ||
        colourValue(first.playerStripeColor) != colourValue(ctx.prefs.playerStripeColor) ||
        colourValue(first.highlightColour) != colourValue(ctx.prefs.highlightColour))
        fail("a stored colour reads back otherwise");
    if (first.logLevel != ctx.prefs.logLevel || first.defaultFileFormat != ctx.prefs.defaultFileFormat)
        fail("a stored number reads back otherwise");

    loadRecentFiles(ctx);
    if (!lines.empty()) addRecentFile(ctx, lines.back());
    loadRecentFiles(ctx);
    for (const RecentFileItem& item : ctx.shell.mnuRecentFile)
        if (item.visible && !item.path.empty() && item.caption.size() < item.path.size())
            fail("a caption shorter than its path");

    ctx.services.preferencesStore = nullptr;
    ctx.services.recentFilesStore = nullptr;
    return 0;
}
