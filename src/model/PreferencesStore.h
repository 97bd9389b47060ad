#pragma once
// The seventeen preferences in their settings store: names, order, defaults and text forms, the reading
// at start-up with its log lines, and the writing back.
#include <array>
#include <cstdint>
#include <string>
#include "model/state/Preferences.h"
#include "platform/SettingsStore.h"

namespace tarv {

class EditingContext;

// The value names in the order in which they are read, defaulted and written.
inline constexpr std::array<const char*, 17> kPreferenceNames = {
    "PlayerBaseColor", "PlayerStripeColor", "DrawTeamColours",   "AlwaysShowBackup", "CreateGunChunkOnClone",
    "ShowMexObjects",  "LogLevel",          "UseCustomStartDir", "CustomStartDir",   "NavLightSize",
    "selectionColour", "ObjectSharing",     "DefaultFileType",   "RenderBackground", "DefaultFileFormat",
    "MouseControl",    "DuplicateMaterials"};

// Writes the start-up log header, sets the version texts, reads the seventeen values into ctx.prefs
// (defaults in force and written for missing or unreadable ones) and paints the swatches. A hand-edited
// value that no control offers (LogLevel 7, RenderBackground 9) is kept as stored: reading never fails.
void readPreferences(EditingContext& ctx);
// Reads one value and logs it; an empty read puts the default in force and stores it.
std::string getRegValue(EditingContext& ctx, const std::string& valueName);
// Puts the default of one preference in force and logs "Setting default preferences".
void setTARVDefault(EditingContext& ctx, const std::string& valueName);
// Stores one preference in its text form; an empty customStartDir becomes " " in memory too.
void writeRegKey(EditingContext& ctx, const std::string& valueName);
void writeAllRegKeys(EditingContext& ctx);
void setRegValue(EditingContext& ctx, const std::string& valueName, const std::string& text);

// The store's two operations: "" for a value that is missing or unreadable; an empty text is stored as
// " " (the caller's text too). setKeyValue is true on success.
std::string getKeyValue(SettingsStore& store, const std::string& valueName);
bool setKeyValue(SettingsStore& store, const std::string& valueName, std::string& text);

// The parsers. Numbers are read with the blanks ignored; a text without a leading number reads as 0.
RgbColour parseColour(const std::string& text);  // red before the first blank, green between, blue after the last
bool parseBoolean(const std::string& text);      // true only for "1"
int64_t parseInteger(const std::string& text);   // the number after the first blank, rounded down
int16_t boolToFlag(bool value);                  // 1 or 0
// True when the text is three numbers separated by blanks (what the program writes).
bool isColourText(const std::string& text);
// A colour's text form: "0 128 255".
std::string colourText(const RgbColour& colour);
// red + 256 * green + 65536 * blue, each component rounded half to even (and kept within 0..255).
int32_t colourValue(const RgbColour& colour);

}  // namespace tarv
