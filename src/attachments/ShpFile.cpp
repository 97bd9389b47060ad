#include "attachments/ShpFile.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <optional>

#include "base/AtomicFile.h"
#include "model/ModelHelpers.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "base/TextLines.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

std::string toLower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// A whole number as the file states it: a number rounded half to even into 16 bits.
// The detail of a refusal names the word that did not read.
std::string wordDetail(const std::string& word) {
    return word.empty() ? std::string("no number") : "the word \"" + word + "\"";
}

// A number read from word, rounded half to even into 16 bits.
int16_t sixteenBits(double value, const std::string& word) {
    try {
        return toInt16(value);
    } catch (RunTimeError& e) {
        throw e.withDetail(wordDetail(word));
    }
}

int16_t wholeNumber(const std::string& word) {
    auto value = parseNumber(word);
    if (!value) throw RunTimeError(13, "Type mismatch").withDetail(wordDetail(word));
    return sixteenBits(*value, word);
}

// Adds one to a 16-bit count; the 32768th line of a kind overflows.
void countUp(int16_t& count) { count = toInt16(int64_t(count) + 1); }

ShpGun* gunAt(EditingContext& ctx, int gun) {
    auto& guns = ctx.shp.shpGuns;
    if (gun < 0 || size_t(gun) >= guns.size()) return nullptr;
    return &guns[size_t(gun)];
}

bool confirmAngleForGunType(EditingContext& ctx, const ShpGun& gun) {
    if (gun.gunType == 2) return true;
    return ctx.prompts().yesNo(
        "Setting found for gun type 'GUN_NewGimble' but the gun type is incorrect in your SHP-file, continue?",
        "Tarv SHP file reader", PromptIcon::Exclamation);
}

void setAngle(EditingContext& ctx, float value, int gun, float ShpGun::*field) {
    ShpGun* g = gunAt(ctx, gun);
    if (!g) return;
    if (confirmAngleForGunType(ctx, *g)) g->*field = value;
}

// ---- The parse ----

const std::pair<const char*, ShpKeyword> kKeywords[] = {
    {"LODFile", ShpKeyword::LodFile},
    {"pMexData", ShpKeyword::MexData},
    {"NUMBER_OF_GUNS", ShpKeyword::NumberOfGuns},
    {"GUN", ShpKeyword::Gun},
    {"Type", ShpKeyword::Type},
    {"BarrelLength", ShpKeyword::BarrelLength},
    {"RecoilLength", ShpKeyword::RecoilLength},
    {"SlaveDriver", ShpKeyword::SlaveDriver},
    {"minturnangle", ShpKeyword::MinTurnAngle},
    {"maxturnangle", ShpKeyword::MaxTurnAngle},
    {"mindeclination", ShpKeyword::MinDeclination},
    {"maxdeclination", ShpKeyword::MaxDeclination},
    {"BindGun", ShpKeyword::BindGun},
    {"NUMBER_OF_NAV_LIGHTS", ShpKeyword::NumberOfNavLights},
    {"NavLight", ShpKeyword::NavLight},
    {"NUMBER_OF_SALVAGE_POINTS", ShpKeyword::NumberOfSalvagePoints},
    {"SalvagePoint", ShpKeyword::SalvagePoint},
    {"NUMBER_OF_DOCK_POINTS", ShpKeyword::NumberOfDockPoints},
    {"DockPoint", ShpKeyword::DockPoint},
};

ShpKeyword keywordOf(const std::string& word) {
    for (const auto& [text, keyword] : kKeywords)
        if (word == text) return keyword;
    return ShpKeyword::Other;
}

// The counts of the kinds of line, as the reader keeps them in 16 bits.
struct LineCounts {
    int16_t guns = 0, navLights = 0, docks = 0, salvageDocks = 0, salvagePoints = 0;
};

void parseDockPoint(ShpLine& entry, std::string w) {
    ShpDockPoint& point = entry.dockPoint;
    size_t comma = w.find(',');
    point.name = comma == std::string::npos ? w : w.substr(0, comma);
    if (comma != std::string::npos && comma + 1 < w.size()) w = w.substr(comma + 1);
    size_t typeComma = w.find(',');
    if (typeComma != std::string::npos) {
        point.dockType = w.substr(0, typeComma);
    } else {
        point.dockType = w;
        if (point.dockType == point.name) {
            entry.words.push_back(3);
            point.dockType = wordOfLine(entry.text, 3);
        }
    }
    const std::string type = toLower(point.dockType);
    entry.salvageDock = type == "dpt_salvage" || type == "dpt_salvagelatch" || type == "dpt_salvageprocess";
}

// Fills in the line's values; the words it looks up are listed before a value can refuse the line.
void parseLine(ShpLine& entry, LineCounts& counts) {
    const std::string& line = entry.text;
    entry.words = {1};
    entry.keyword = keywordOf(wordOfLine(line, 1));
    auto word2 = [&] {
        entry.words.push_back(2);
        return wordOfLine(line, 2);
    };
    switch (entry.keyword) {
    case ShpKeyword::Other: break;
    case ShpKeyword::LodFile:
    case ShpKeyword::MexData:
    case ShpKeyword::Type:
    case ShpKeyword::NavLight:
        entry.value = word2();
        if (entry.keyword == ShpKeyword::NavLight) countUp(counts.navLights);
        break;
    case ShpKeyword::NumberOfGuns:
    case ShpKeyword::NumberOfNavLights:
    case ShpKeyword::NumberOfSalvagePoints:
    case ShpKeyword::NumberOfDockPoints: entry.count = wholeNumber(word2()); break;
    case ShpKeyword::Gun: countUp(counts.guns); break;
    case ShpKeyword::BarrelLength:
    case ShpKeyword::RecoilLength:
    case ShpKeyword::MinTurnAngle:
    case ShpKeyword::MaxTurnAngle:
    case ShpKeyword::MinDeclination:
    case ShpKeyword::MaxDeclination: entry.number = float(leadingNumber(word2())); break;
    case ShpKeyword::SlaveDriver: {
        const std::string master = word2();
        entry.count = sixteenBits(leadingNumber(master), master);
        break;
    }
    case ShpKeyword::BindGun: {
        const std::string joint = word2();
        entry.words.push_back(3);
        entry.value = joint + " " + wordOfLine(line, 3);
        break;
    }
    case ShpKeyword::SalvagePoint: {
        const std::string w = word2();
        entry.value = w.substr(0, w.find(','));
        countUp(counts.salvagePoints);
        break;
    }
    case ShpKeyword::DockPoint:
        parseDockPoint(entry, word2());
        if (entry.salvageDock) countUp(counts.salvageDocks);
        countUp(counts.docks);
        break;
    }
}

// ---- The apply step ----

void appendName(std::vector<std::string>& table, int16_t& count, const std::string& name) {
    countUp(count);
    table.back() = name;
    table.emplace_back();
}

void applyLine(EditingContext& ctx, const ShpLine& entry, const std::string& folder, int& currentGun) {
    ShipDefinition& shp = ctx.shp;
    switch (entry.keyword) {
    case ShpKeyword::Other: break;
    case ShpKeyword::LodFile: shp.lodFilePath = folder + entry.value; break;
    case ShpKeyword::MexData: shp.mexFilePath = folder + entry.value; break;
    case ShpKeyword::NumberOfGuns: shp.shpNumberOfGuns = entry.count; break;
    case ShpKeyword::Gun:
        countUp(shp.shpGunCount);
        shp.shpGuns.resize(size_t(shp.shpGunCount) + 1);
        shp.shpGuns[size_t(shp.shpGunCount)] = ShpGun{};
        shp.shpGuns[size_t(shp.shpGunCount) - 1] = ShpGun{};
        currentGun = shp.shpGunCount - 1;
        break;
    case ShpKeyword::Type: setGunType(ctx, entry.value, currentGun); break;
    case ShpKeyword::BarrelLength: setGunBarrelLength(ctx, entry.number, currentGun); break;
    case ShpKeyword::RecoilLength: setGunRecoilLength(ctx, entry.number, currentGun); break;
    case ShpKeyword::SlaveDriver: setGunSlaveDriver(ctx, entry.count, currentGun); break;
    case ShpKeyword::MinTurnAngle: setGunMinTurnAngle(ctx, entry.number, currentGun); break;
    case ShpKeyword::MaxTurnAngle: setGunMaxTurnAngle(ctx, entry.number, currentGun); break;
    case ShpKeyword::MinDeclination: setGunMinDeclination(ctx, entry.number, currentGun); break;
    case ShpKeyword::MaxDeclination: setGunMaxDeclination(ctx, entry.number, currentGun); break;
    case ShpKeyword::BindGun: setGunBinding(ctx, entry.value); break;
    case ShpKeyword::NumberOfNavLights: shp.shpNumberOfNavLights = entry.count; break;
    case ShpKeyword::NavLight: appendName(shp.shpNavLights, shp.shpNavLightCount, entry.value); break;
    case ShpKeyword::NumberOfSalvagePoints: shp.shpNumberOfSalvagePoints = entry.count; break;
    case ShpKeyword::SalvagePoint: appendName(shp.shpSalvagePoints, shp.shpSalvageCount, entry.value); break;
    case ShpKeyword::NumberOfDockPoints: shp.shpNumberOfDockPoints = entry.count; break;
    case ShpKeyword::DockPoint:
        if (entry.salvageDock) countUp(shp.shpCatSalvageCount);
        countUp(shp.shpDockCount);
        shp.shpDockPoints.back() = entry.dockPoint;
        shp.shpDockPoints.emplace_back();
        break;
    }
}

}  // namespace

void parseShpLines(const std::vector<std::string>& lines, ShpFileContents& contents) {
    contents = ShpFileContents{};
    LineCounts counts;
    for (size_t n = 0; n < lines.size(); ++n) {
        const std::string& line = lines[n];
        if (line.empty()) continue;
        ShpLine& entry = contents.lines.emplace_back();
        entry.text = line;
        try {
            parseLine(entry, counts);
        } catch (RunTimeError& e) {
            const std::string word = e.detail();
            throw e.withDetail("line " + intText(int64_t(n + 1)) + (word.empty() ? "" : ", " + word));
        }
    }
}

ShpFileContents parseShpLines(const std::vector<std::string>& lines) {
    ShpFileContents contents;
    parseShpLines(lines, contents);
    return contents;
}

void loadShpFile(EditingContext& ctx, const std::string& path) {
    trapErrors(ctx, "modShp", "loadShpFile", path, [&] {
        ShipDefinition& shp = ctx.shp;
        shp.shpGunCount = shp.shpNavLightCount = shp.shpDockCount = shp.shpSalvageCount = 0;
        shp.shpCatSalvageCount = 0;
        shp.shpNumberOfGuns = shp.shpNumberOfNavLights = shp.shpNumberOfDockPoints = shp.shpNumberOfSalvagePoints = 0;
        shp.shpGuns.assign(1, ShpGun{});
        shp.shpNavLights.assign(1, "");
        shp.shpDockPoints.assign(1, ShpDockPoint{});
        shp.shpSalvagePoints.assign(1, "");
        shp.gunsReadFromFile = 0;
        shp.shpGunsAsRead.clear();
        // Whatever ends the read, the records it left are the values the patch compares with.
        struct KeepAsRead {
            ShipDefinition& shp;
            ~KeepAsRead() { shp.shpGunsAsRead = shp.shpGuns; }
        } keepAsRead{shp};

        const std::string folder = folderOf(path);
        std::vector<uint8_t> bytes = readWholeFile(path);
        shp.noShpLoaded = false;
        shp.shpFilePath = path;
        // An empty file reads as a file without lines.
        ShpFileContents contents;
        std::optional<RunTimeError> fault;
        try {
            parseShpLines(splitTextLines(std::string(bytes.begin(), bytes.end())), contents);
        } catch (const RunTimeError& e) {
            fault = e;
            fault->withDetail(path + ", " + e.detail());
        }
        int currentGun = -1;
        for (size_t i = 0; i < contents.lines.size(); ++i) {
            const ShpLine& entry = contents.lines[i];
            // The words are looked up through the context's word helper as well: it records its error
            // context, and reports a separator it cannot count, for every line.
            for (int n : entry.words) getWord(ctx, entry.text, n);
            if (fault && i + 1 == contents.lines.size()) throw *fault;
            applyLine(ctx, entry, folder, currentGun);
            shp.gunsReadFromFile = shp.shpGunCount;
        }
        if (fault) throw *fault;
        shp.madFilePath = baseWithDot(path) + "mad";
    });
}

void setGunType(EditingContext& ctx, const std::string& keyword, int gun) {
    ShpGun* g = gunAt(ctx, gun);
    if (!g) return;
    static const std::pair<const char*, int32_t> kTypes[] = {{"GUN_Gimble", 1},          {"GUN_NewGimble", 2},
                                                             {"GUN_MissileLauncher", 3}, {"GUN_MineLauncher", 4},
                                                             {"GUN_VisibleGimble", 2},   {"GUN_HiddenGimble", 1}};
    for (const auto& [name, code] : kTypes)
        if (keyword == name) g->gunType = code;
}

void setGunBarrelLength(EditingContext& ctx, float value, int gun) {
    if (ShpGun* g = gunAt(ctx, gun)) g->barrelLength = value;
}

void setGunRecoilLength(EditingContext& ctx, float value, int gun) {
    if (ShpGun* g = gunAt(ctx, gun)) g->recoilLength = value;
}

void setGunSlaveDriver(EditingContext& ctx, int16_t master, int gun) {
    ShpGun* g = gunAt(ctx, gun);
    if (!g) return;
    g->slaveDriver = master;
    const std::string seeMaster = "(see master GUN" + std::to_string(master) + ")";
    if (g->azimuthJoint.empty()) g->azimuthJoint = seeMaster;
    if (g->declinationJoint.empty()) g->declinationJoint = seeMaster;
}

void setGunMinTurnAngle(EditingContext& ctx, float value, int gun) { setAngle(ctx, value, gun, &ShpGun::minTurnAngle); }
void setGunMaxTurnAngle(EditingContext& ctx, float value, int gun) { setAngle(ctx, value, gun, &ShpGun::maxTurnAngle); }
void setGunMinDeclination(EditingContext& ctx, float value, int gun) {
    setAngle(ctx, value, gun, &ShpGun::minDeclination);
}
void setGunMaxDeclination(EditingContext& ctx, float value, int gun) {
    setAngle(ctx, value, gun, &ShpGun::maxDeclination);
}

void setGunBinding(EditingContext& ctx, const std::string& text) {
    trapErrors(ctx, "modShp", "setGunBinding", text, [&] {
        size_t blank = text.find(' ');
        if (blank == std::string::npos) throw RunTimeError::invalidCall();
        const std::string joint = text.substr(0, blank);
        const std::string rest = trimLeadingBlanks(text.substr(blank));
        size_t comma = rest.find(',');
        if (comma == std::string::npos) throw RunTimeError::invalidCall();
        const std::string gunText = comma > 3 ? rest.substr(3, comma - 3) : std::string();
        const int16_t gunNumber = wholeNumber(gunText);
        ShpGun* g = gunAt(ctx, gunNumber);
        if (!g) throw RunTimeError::subscriptOutOfRange();
        if (contains(rest, "AZIMUTH") || contains(rest, "azimuth") || contains(rest, "Azimuth")) {
            g->azimuthJoint = joint;
            g->isBound = true;
        }
        if (contains(rest, "DECLINATION") || contains(rest, "declination") || contains(rest, "Declination")) {
            g->declinationJoint = joint;
            g->isBound = true;
        }
        if (contains(rest, "RECOIL") || contains(rest, "recoil") || contains(rest, "Recoil")) g->recoilJoint = joint;
        if (g->declinationJoint.empty()) g->declinationJoint = "(none)";
        if (g->azimuthJoint.empty()) g->azimuthJoint = "(none)";
    });
}

std::string getGunTypeName(const ShpGun& gun) {
    switch (gun.gunType) {
    case 1: return "GUN_Gimble";
    case 2: return "GUN_NewGimble";
    case 3: return "GUN_MissileLauncher";
    case 4: return "GUN_MineLauncher";
    default: return "";
    }
}

namespace {

bool sameValue(float a, float b) { return std::bit_cast<uint32_t>(a) == std::bit_cast<uint32_t>(b); }

}  // namespace

std::string patchShpText(const std::string& text, const ShipDefinition& shp) {
    const size_t owned =
        std::min({size_t(std::max<int16_t>(shp.gunsReadFromFile, 0)), shp.shpGunsAsRead.size(), shp.shpGuns.size()});
    std::string out;
    out.reserve(text.size() + 64);
    int block = -1;       // GUN blocks counted the way the reader counts them
    int currentGun = -1;  // -1: no gun of ours owns the lines
    for (const TextLine& line : splitTextLinesKeepingEnds(text)) {
        const std::string keyword = wordOfLine(line.text, 1);
        std::string rewritten;
        if (keyword == "GUN") {
            ++block;
            currentGun = -1;
            // Only a block whose number is the one the reader gave it belongs to a gun that was read.
            const std::string number = wordOfLine(line.text, 2);
            if (!number.empty() && roundHalfEven(leadingNumber(number)) == block && size_t(block) < owned)
                currentGun = block;
        } else if (currentGun >= 0) {
            const ShpGun& gun = shp.shpGuns[size_t(currentGun)];
            const ShpGun& asRead = shp.shpGunsAsRead[size_t(currentGun)];
            if (keyword == "Type" && gun.gunType != asRead.gunType && !getGunTypeName(gun).empty())
                rewritten = "Type" + std::string(32, ' ') + getGunTypeName(gun);
            else if (keyword == "BarrelLength" && !sameValue(gun.barrelLength, asRead.barrelLength))
                rewritten = "BarrelLength" + std::string(24, ' ') + fixed2(gun.barrelLength);
            else if (keyword == "RecoilLength" && !sameValue(gun.recoilLength, asRead.recoilLength))
                rewritten = "RecoilLength" + std::string(24, ' ') + fixed2(gun.recoilLength);
        }
        if (line.text == "}") currentGun = -1;
        out += rewritten.empty() ? line.text : rewritten;
        out += line.end;
    }
    return out;
}

bool saveSHPfile(EditingContext& ctx, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return true;  // nothing to patch
    return trapErrors(ctx, "modShp", "saveSHPfile", path, [&] {
        std::vector<uint8_t> bytes = readWholeFile(path);
        const std::string text(bytes.begin(), bytes.end());
        if (text.empty()) throw RunTimeError(62, "Input past end of file");
        const std::string out = patchShpText(text, ctx.shp);
        if (out != text) writeFileAtomically(path, std::string_view(out));
        // The file now holds the records' values: a later edit, also one back to the value first read, is
        // compared with these.
        ShipDefinition& shp = ctx.shp;
        for (size_t i = 0; i < shp.shpGunsAsRead.size() && i < shp.shpGuns.size(); ++i) {
            const ShpGun& gun = shp.shpGuns[i];
            ShpGun& asRead = shp.shpGunsAsRead[i];
            asRead.barrelLength = gun.barrelLength;
            asRead.recoilLength = gun.recoilLength;
            if (!getGunTypeName(gun).empty()) asRead.gunType = gun.gunType;
        }
    });
}

std::string shpNothingWrittenText(const std::string& path) {
    return "The SHP-file " + path + " no longer exists. Nothing was written.";
}

bool mnuFileSaveSHP_Click(EditingContext& ctx) {
    const std::string path = ctx.shp.shpFilePath;
    std::error_code ec;
    if (path.empty() || !std::filesystem::is_regular_file(path, ec)) {
        ctx.prompts().messageBox(shpNothingWrittenText(path), ctx.version.appTitle, PromptIcon::Exclamation);
        return false;
    }
    if (!saveSHPfile(ctx, path)) return false;
    ctx.status().setStatus("Save done!");
    return true;
}

void disableShpSave(EditingContext& ctx) { ctx.shp.mnuFileSaveSHPEnabled = false; }

void updateShpSaveAfterLoad(EditingContext& ctx) {
    ctx.shp.mnuFileSaveSHPEnabled = !ctx.shp.noShpLoaded && !ctx.shp.shpFilePath.empty();
}

int16_t getObjectIndexByName(const EditingContext& ctx, const std::string& name) {
    const std::string wanted = toLower(name);
    const auto& objects = ctx.model.peoObjects;
    for (size_t i = 0; i < objects.size() && i < 32768; ++i)
        if (toLower(objects[i].name) == wanted) return int16_t(i);
    return 0;
}

}  // namespace tarv
