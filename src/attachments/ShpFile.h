#pragma once
// Reading the ship definition (.shp) and patching its gun lines.
#include <cstdint>
#include <string>
#include <vector>

#include "attachments/state/ShipDefinition.h"

namespace tarv {

class EditingContext;

// The keywords of a ship definition the reader takes; a line is one when its first word is the keyword
// exactly (an indented line's first word is empty).
enum class ShpKeyword {
    Other,
    LodFile,
    MexData,
    NumberOfGuns,
    Gun,
    Type,
    BarrelLength,
    RecoilLength,
    SlaveDriver,
    MinTurnAngle,
    MaxTurnAngle,
    MinDeclination,
    MaxDeclination,
    BindGun,
    NumberOfNavLights,
    NavLight,
    NumberOfSalvagePoints,
    SalvagePoint,
    NumberOfDockPoints,
    DockPoint,
};

// One line of a ship definition as read.
struct ShpLine {
    std::string text;  // the line as written
    ShpKeyword keyword = ShpKeyword::Other;
    std::vector<int> words;  // the words the reader looks up, in order (word 1 is the keyword)
    std::string value;       // a file name, gun type or point name; a binding's "joint GUNn,axes"
    float number = 0;        // a length or an angle
    int16_t count = 0;       // a declared count, or the master of a slave driver
    ShpDockPoint dockPoint;
    bool salvageDock = false;  // a dock point of a salvage type
};

// The non-empty lines of a ship definition, in file order.
struct ShpFileContents {
    std::vector<ShpLine> lines;
};

// Parses the lines of a ship definition into contents. A declared count or a slave driver that is no
// 16-bit number, or the 32768th line of a gun, light or point, throws a RunTimeError; contents then holds
// the lines before it and, last, the line at fault.
void parseShpLines(const std::vector<std::string>& lines, ShpFileContents& contents);
ShpFileContents parseShpLines(const std::vector<std::string>& lines);

// Reads the .shp at path into the ship definition's tables: parses its lines, then applies them in order,
// asking about angles of a gun that is not of the new gimbal type. Traps its errors (error report, then
// returns with the lines before the fault applied).
void loadShpFile(EditingContext& ctx, const std::string& path);

void setGunType(EditingContext& ctx, const std::string& keyword, int gun);
void setGunBarrelLength(EditingContext& ctx, float value, int gun);
void setGunRecoilLength(EditingContext& ctx, float value, int gun);
void setGunSlaveDriver(EditingContext& ctx, int16_t master, int gun);
void setGunMinTurnAngle(EditingContext& ctx, float value, int gun);
void setGunMaxTurnAngle(EditingContext& ctx, float value, int gun);
void setGunMinDeclination(EditingContext& ctx, float value, int gun);
void setGunMaxDeclination(EditingContext& ctx, float value, int gun);
// Applies one binding line (word 2 & " " & word 3 of a BindGun line). Traps its errors.
void setGunBinding(EditingContext& ctx, const std::string& text);
std::string getGunTypeName(const ShpGun& gun);

// The text of a ship definition with the Type, BarrelLength and RecoilLength lines of the guns read from it
// rewritten where the gun's record now differs from the value read at load (the keyword, 32 or 24 blanks,
// the canonical type name or the number with two decimals). A gun's lines are those of the GUN block whose
// number is the gun's reading order, up to its line "}". Every other line, and every line end, is copied
// byte for byte; a type without a name keeps its line.
std::string patchShpText(const std::string& text, const ShipDefinition& shp);

// Patches the .shp at path with patchShpText; the file is written (atomically) only when a line changed,
// and the values the file now holds become those a later patch compares with. A missing file writes
// nothing and is not an error. Returns false when the patch failed (the report was shown; the file is
// unchanged).
bool saveSHPfile(EditingContext& ctx, const std::string& path);

// Save > "&SHP only": patches the ship definition the guns were read from (its path as read at load, also
// after a switch to another level) and shows "Save done!". When that file no longer exists nothing is
// written and a message box says so; a failed patch shows the error report and no "Save done!".
bool mnuFileSaveSHP_Click(EditingContext& ctx);
// The message of Save > "&SHP only" when the ship definition read at load no longer exists.
std::string shpNothingWrittenText(const std::string& path);
// Every open of a model disables Save > "&SHP only"; the end of a load road enables it again when the
// model came with its ship definition.
void disableShpSave(EditingContext& ctx);
void updateShpSaveAfterLoad(EditingContext& ctx);

// The first object whose name equals name ignoring case; 0 when none (deleted slots included).
int16_t getObjectIndexByName(const EditingContext& ctx, const std::string& name);

}  // namespace tarv
