#include "attachments/ShpFile.h"

#include <algorithm>
#include <cctype>

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
int16_t wholeNumber(const std::string& word) {
    auto value = parseNumber(word);
    if (!value) throw RunTimeError(13, "Type mismatch");
    return toInt16(*value);
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

void addDockPoint(EditingContext& ctx, const std::string& line, std::string w) {
    ShpDockPoint point;
    size_t comma = w.find(',');
    point.name = comma == std::string::npos ? w : w.substr(0, comma);
    if (comma != std::string::npos && comma + 1 < w.size()) w = w.substr(comma + 1);
    size_t typeComma = w.find(',');
    if (typeComma != std::string::npos) {
        point.dockType = w.substr(0, typeComma);
    } else {
        point.dockType = w;
        if (point.dockType == point.name) point.dockType = getWord(ctx, line, 3);
    }
    std::string type = toLower(point.dockType);
    if (type == "dpt_salvage" || type == "dpt_salvagelatch" || type == "dpt_salvageprocess")
        countUp(ctx.shp.shpCatSalvageCount);
    auto& table = ctx.shp.shpDockPoints;
    countUp(ctx.shp.shpDockCount);
    table.back() = point;
    table.emplace_back();
}

void appendName(std::vector<std::string>& table, int16_t& count, const std::string& name) {
    countUp(count);
    table.back() = name;
    table.emplace_back();
}

void readLine(EditingContext& ctx, const std::string& line, const std::string& folder, int& currentGun) {
    ShipDefinition& shp = ctx.shp;
    const std::string keyword = getWord(ctx, line, 1);
    auto word2 = [&] { return getWord(ctx, line, 2); };
    if (keyword == "LODFile") {
        shp.lodFilePath = folder + word2();
    } else if (keyword == "pMexData") {
        shp.mexFilePath = folder + word2();
    } else if (keyword == "NUMBER_OF_GUNS") {
        shp.shpNumberOfGuns = wholeNumber(word2());
    } else if (keyword == "GUN") {
        countUp(shp.shpGunCount);
        shp.shpGuns.resize(size_t(shp.shpGunCount) + 1);
        shp.shpGuns[size_t(shp.shpGunCount)] = ShpGun{};
        shp.shpGuns[size_t(shp.shpGunCount) - 1] = ShpGun{};
        currentGun = shp.shpGunCount - 1;
    } else if (keyword == "Type") {
        setGunType(ctx, word2(), currentGun);
    } else if (keyword == "BarrelLength") {
        setGunBarrelLength(ctx, float(leadingNumber(word2())), currentGun);
    } else if (keyword == "RecoilLength") {
        setGunRecoilLength(ctx, float(leadingNumber(word2())), currentGun);
    } else if (keyword == "SlaveDriver") {
        setGunSlaveDriver(ctx, toInt16(leadingNumber(word2())), currentGun);
    } else if (keyword == "minturnangle") {
        setGunMinTurnAngle(ctx, float(leadingNumber(word2())), currentGun);
    } else if (keyword == "maxturnangle") {
        setGunMaxTurnAngle(ctx, float(leadingNumber(word2())), currentGun);
    } else if (keyword == "mindeclination") {
        setGunMinDeclination(ctx, float(leadingNumber(word2())), currentGun);
    } else if (keyword == "maxdeclination") {
        setGunMaxDeclination(ctx, float(leadingNumber(word2())), currentGun);
    } else if (keyword == "BindGun") {
        setGunBinding(ctx, word2() + " " + getWord(ctx, line, 3));
    } else if (keyword == "NUMBER_OF_NAV_LIGHTS") {
        shp.shpNumberOfNavLights = wholeNumber(word2());
    } else if (keyword == "NavLight") {
        appendName(shp.shpNavLights, shp.shpNavLightCount, word2());
    } else if (keyword == "NUMBER_OF_SALVAGE_POINTS") {
        shp.shpNumberOfSalvagePoints = wholeNumber(word2());
    } else if (keyword == "SalvagePoint") {
        std::string w = word2();
        appendName(shp.shpSalvagePoints, shp.shpSalvageCount, w.substr(0, w.find(',')));
    } else if (keyword == "NUMBER_OF_DOCK_POINTS") {
        shp.shpNumberOfDockPoints = wholeNumber(word2());
    } else if (keyword == "DockPoint") {
        addDockPoint(ctx, line, word2());
    }
}

} // namespace

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

        const std::string folder = folderOf(path);
        std::vector<uint8_t> bytes = readWholeFile(path);
        shp.noShpLoaded = false;
        shp.shpFilePath = path;
        // An empty file reads as a file without lines.
        const std::vector<std::string> lines = splitTextLines(std::string(bytes.begin(), bytes.end()));
        int currentGun = -1;
        for (const std::string& line : lines) {
            if (line.empty()) continue;
            readLine(ctx, line, folder, currentGun);
            shp.gunsReadFromFile = shp.shpGunCount;
        }
        shp.madFilePath = baseWithDot(path) + "mad";
    });
}

void setGunType(EditingContext& ctx, const std::string& keyword, int gun) {
    ShpGun* g = gunAt(ctx, gun);
    if (!g) return;
    static const std::pair<const char*, int32_t> kTypes[] = {
        {"GUN_Gimble", 1},       {"GUN_NewGimble", 2},     {"GUN_MissileLauncher", 3},
        {"GUN_MineLauncher", 4}, {"GUN_VisibleGimble", 2}, {"GUN_HiddenGimble", 1}};
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

bool saveSHPfile(EditingContext& ctx, const std::string& path) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) return true;  // nothing to patch
    return trapErrors(ctx, "modShp", "saveSHPfile", path, [&] {
        std::vector<uint8_t> bytes = readWholeFile(path);
        const std::vector<std::string> lines = splitTextLines(std::string(bytes.begin(), bytes.end()));
        if (lines.empty()) throw RunTimeError(62, "Input past end of file");

        const ShipDefinition& shp = ctx.shp;
        std::string out;
        out.reserve(bytes.size() + bytes.size() / 4 + 64);
        int block = -1;          // GUN blocks counted the way the reader counts them
        int currentGun = -1;     // -1: no gun of ours owns the lines
        for (std::string line : lines) {
            if (getWord(ctx, line, 1) == "GUN") {
                ++block;
                currentGun = -1;
            }
            size_t blank = line.find(' ');
            if (blank != std::string::npos) {
                const std::string w = line.substr(0, blank);
                if (w == "GUN") {
                    // Only a block whose number is the one the reader gave it belongs to a gun that was read.
                    double number = roundHalfEven(leadingNumber(trimLeadingBlanks(line.substr(blank))));
                    if (block >= 0 && number == block && block < shp.gunsReadFromFile) currentGun = block;
                } else if (currentGun >= 0) {
                    const ShpGun& gun = shp.shpGuns[size_t(currentGun)];
                    if (w == "Type") {
                        const std::string name = getGunTypeName(gun);
                        if (!name.empty()) line = "Type" + std::string(32, ' ') + name;
                    } else if (w == "BarrelLength") {
                        line = "BarrelLength" + std::string(24, ' ') + fixed2(gun.barrelLength);
                    } else if (w == "RecoilLength") {
                        line = "RecoilLength" + std::string(24, ' ') + fixed2(gun.recoilLength);
                    }
                }
            }
            if (line == "}") currentGun = -1;
            out += line;
            out += "\r\n";
        }
        // The word helpers took the error context; a failing write is the patch's own.
        setErrorContext(ctx, "modShp", "saveSHPfile", path);
        writeFileAtomically(path, std::string_view(out));
    });
}

std::string shpSavePath(const EditingContext& ctx) {
    const std::string& lodFolder = ctx.lod.lblLodPath;
    if (!lodFolder.empty()) return lodFolder + replaceExtension(fileNameOf(ctx.currentModelPath), "shp");
    return replaceExtension(ctx.currentModelPath, "shp");
}

bool mnuFileSaveSHP_Click(EditingContext& ctx) {
    std::string path = shpSavePath(ctx);
    const std::string folder = folderOf(path);
    if (!folder.empty()) path = resolveShipPathOrAsWritten(folder, fileNameOf(path)).string();
    bool ok = saveSHPfile(ctx, path);
    ctx.status().setStatus("Save done!");
    return ok;
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

} // namespace tarv
