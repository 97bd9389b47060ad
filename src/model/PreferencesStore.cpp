#include "model/PreferencesStore.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <variant>

#include "model/LogFiles.h"
#include "base/NumberText.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

using Member = std::variant<RgbColour Preferences::*, bool Preferences::*, int32_t Preferences::*,
                            int16_t Preferences::*, std::string Preferences::*>;

struct Field {
    const char* name;
    Member member;
};

// Table order; the defaults are those of a fresh Preferences.
const std::array<Field, 17> kFields = {{
    {"PlayerBaseColor", &Preferences::playerBaseColor},
    {"PlayerStripeColor", &Preferences::playerStripeColor},
    {"DrawTeamColours", &Preferences::drawTeamColours},
    {"AlwaysShowBackup", &Preferences::alwaysShowBackup},
    {"CreateGunChunkOnClone", &Preferences::createGunChunkOnClone},
    {"ShowMexObjects", &Preferences::showMexObjects},
    {"LogLevel", &Preferences::logLevel},
    {"UseCustomStartDir", &Preferences::useCustomStartDir},
    {"CustomStartDir", &Preferences::customStartDir},
    {"NavLightSize", &Preferences::navLightSize},
    {"selectionColour", &Preferences::highlightColour},
    {"ObjectSharing", &Preferences::objectSharing},
    {"DefaultFileType", &Preferences::defaultFileType},
    {"RenderBackground", &Preferences::renderBackground},
    {"DefaultFileFormat", &Preferences::defaultFileFormat},
    {"MouseControl", &Preferences::mouseControl},
    {"DuplicateMaterials", &Preferences::duplicateMaterials},
}};

const Field* findField(const std::string& name) {
    for (const Field& f : kFields)
        if (name == f.name) return &f;
    return nullptr;
}

// The number a text begins with once its blanks are taken out.
double numberIgnoringBlanks(const std::string& text) {
    std::string compact;
    for (char c : text)
        if (c != ' ' && c != '\t') compact += c;
    return leadingNumber(compact);
}

template <class Int>
bool fitsIn(int64_t value) {
    return value >= std::numeric_limits<Int>::min() && value <= std::numeric_limits<Int>::max();
}

// Reads a stored text into its preference; false when the text cannot stand for a value of that kind.
bool applyText(Preferences& prefs, const Field& field, const std::string& text) {
    return std::visit(
        [&](auto member) -> bool {
            using T = std::remove_reference_t<decltype(prefs.*member)>;
            if constexpr (std::is_same_v<T, RgbColour>) {
                if (!isColourText(text)) return false;
                // A component beyond the float range would be held as infinity, whose text form is no
                // number: written back, it would read as the default next time. Unreadable now instead.
                const RgbColour colour = parseColour(text);
                if (!std::isfinite(colour.red) || !std::isfinite(colour.green) || !std::isfinite(colour.blue))
                    return false;
                prefs.*member = colour;
            } else if constexpr (std::is_same_v<T, bool>) {
                prefs.*member = parseBoolean(text);
            } else if constexpr (std::is_same_v<T, std::string>) {
                prefs.*member = text;
            } else {
                int64_t value = parseInteger(text);
                if (!fitsIn<T>(value)) return false;
                prefs.*member = T(value);
            }
            return true;
        },
        field.member);
}

std::string textOf(Preferences& prefs, const Field& field) {
    return std::visit(
        [&](auto member) -> std::string {
            using T = std::remove_reference_t<decltype(prefs.*member)>;
            if constexpr (std::is_same_v<T, RgbColour>)
                return colourText(prefs.*member);
            else if constexpr (std::is_same_v<T, bool>)
                return std::to_string(boolToFlag(prefs.*member));
            else if constexpr (std::is_same_v<T, std::string>)
                return prefs.*member;
            else
                return intText(int64_t(prefs.*member));
        },
        field.member);
}

void paintSwatches(EditingContext& ctx) {
    const std::pair<SwatchColour, const RgbColour*> order[] = {
        {SwatchColour::PlayerBase, &ctx.prefs.playerBaseColor},
        {SwatchColour::PlayerStripe, &ctx.prefs.playerStripeColor},
        {SwatchColour::Highlight, &ctx.prefs.highlightColour}};
    for (const auto& [which, colour] : order)
        for (SwatchWindow* window : ctx.shell.swatchWindows) window->paintSwatchColour(which, colourValue(*colour));
}

}  // namespace

void readPreferences(EditingContext& ctx) {
    writeStartupLog(ctx, "TARV log opened: " + ctx.clock().dateText() + " " + ctx.clock().timeText());
    writeStartupLog(ctx, std::string(30, '-'));
    ctx.version = buildVersionTexts();
    writeStartupLog(ctx, "Version set: " + ctx.version.appTitle);
    for (const Field& field : kFields) {
        std::string text = getRegValue(ctx, field.name);
        if (text.empty()) continue;  // the default is in force and stored
        if (!applyText(ctx.prefs, field, text)) {
            // A hand-edited text that cannot stand for the value counts as unreadable.
            setTARVDefault(ctx, field.name);
            writeRegKey(ctx, field.name);
        }
    }
    paintSwatches(ctx);
}

std::string getRegValue(EditingContext& ctx, const std::string& valueName) {
    std::string text = getKeyValue(ctx.preferencesStore(), valueName);
    writeStartupLog(ctx, valueName + ": " + text);
    if (text.empty()) {
        setTARVDefault(ctx, valueName);
        writeRegKey(ctx, valueName);
    }
    return text;
}

void setTARVDefault(EditingContext& ctx, const std::string& valueName) {
    trapErrors(ctx, "modTARV", "setTARVDefault", valueName, [&] {
        if (const Field* field = findField(valueName)) {
            static const Preferences defaults;
            std::visit([&](auto member) { ctx.prefs.*member = defaults.*member; }, field->member);
        }
        writeStartupLog(ctx, "Setting default preferences");
    });
}

void writeRegKey(EditingContext& ctx, const std::string& valueName) {
    trapErrors(ctx, "modTARV", "writeRegKey", valueName, [&] {
        const Field* field = findField(valueName);
        if (!field) return;
        if (valueName == "CustomStartDir") {
            // Passed on by reference: an empty folder becomes " " in memory as well as in the store.
            setKeyValue(ctx.preferencesStore(), valueName, ctx.prefs.customStartDir);
            return;
        }
        setRegValue(ctx, valueName, textOf(ctx.prefs, *field));
    });
}

void writeAllRegKeys(EditingContext& ctx) {
    for (const char* name : kPreferenceNames) writeRegKey(ctx, name);
}

void setRegValue(EditingContext& ctx, const std::string& valueName, const std::string& text) {
    std::string copy = text;
    setKeyValue(ctx.preferencesStore(), valueName, copy);
}

std::string getKeyValue(SettingsStore& store, const std::string& valueName) { return store.getKeyValue(valueName); }

bool setKeyValue(SettingsStore& store, const std::string& valueName, std::string& text) {
    if (text.empty()) text = " ";
    return store.setKeyValue(valueName, text);
}

RgbColour parseColour(const std::string& text) {
    RgbColour colour;
    if (text.empty()) return colour;
    size_t first = text.find(' ');
    size_t last = text.rfind(' ');
    colour.red = float(numberIgnoringBlanks(text.substr(0, first)));
    if (first == std::string::npos) return colour;
    colour.green = float(numberIgnoringBlanks(text.substr(first + 1, last > first ? last - first - 1 : 0)));
    colour.blue = float(numberIgnoringBlanks(text.substr(last + 1)));
    return colour;
}

bool isColourText(const std::string& text) {
    std::vector<std::string> words;
    std::string word;
    for (char c : text + " ") {
        if (c == ' ') {
            if (!word.empty()) words.push_back(word);
            word.clear();
        } else {
            word += c;
        }
    }
    return words.size() == 3 &&
           std::all_of(words.begin(), words.end(), [](const std::string& w) { return isNumeric(w); });
}

bool parseBoolean(const std::string& text) { return text == "1"; }

int64_t parseInteger(const std::string& text) {
    if (text.empty()) return 0;
    size_t blank = text.find(' ');
    double value = std::floor(numberIgnoringBlanks(blank == std::string::npos ? text : text.substr(blank + 1)));
    if (!(value > -9.0e18)) return std::numeric_limits<int64_t>::min();
    if (value > 9.0e18) return std::numeric_limits<int64_t>::max();
    return int64_t(value);
}

int16_t boolToFlag(bool value) { return value ? 1 : 0; }

std::string colourText(const RgbColour& colour) {
    return floatText(colour.red) + " " + floatText(colour.green) + " " + floatText(colour.blue);
}

int32_t colourValue(const RgbColour& colour) {
    auto component = [](float v) { return int32_t(std::clamp(roundHalfEven(double(v)), 0.0, 255.0)); };
    return component(colour.red) + 256 * component(colour.green) + 65536 * component(colour.blue);
}

}  // namespace tarv
