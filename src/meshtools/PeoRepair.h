#pragma once
// The PEO repair window's logic: it inspects a .peo file on disk without loading it (header, the material
// count its layout implies, object records, one object's normals), patches the header's two material counts
// when the file's layout shows them wrong, and hands the file to the main window's load road.
//
// Every command reads the file named in the status bar whole and read-only. A field that lies past the end
// of the file reads as zero, so a short or foreign file shows zeros instead of failing, and every loop stops
// at the end of the file, whatever the counts in it say. Only the repair writes, and only bytes 24 to 31,
// after it has checked the file again.
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "base/BinaryReader.h"
#include "model/PeoObjectHeader.h"
#include "platform/CommonDialog.h"

namespace tarv {

class EditingContext;

inline constexpr const char* kRepairOpenFilter = "All Files (*.*)|*.*|Homeworld PEO file (*.peo)|*.peo";
inline constexpr const char* kCalcMatsPrefix = "Calc Mats: ";

// One row of ListView1: the x, y and z of a vertex normal, then those of the entry the second pass reads.
struct NormalRow {
    std::array<float, 6> values{};
};

// What the repair window shows; the window keeps no other record of the file. The commands take the path,
// the version, the first record's position and the computed count from these texts.
struct RepairView {
    std::string StatusBar1;  // the full path of the inspected file
    std::string txtVersion;
    std::string txtNumberOfObjects;
    std::string txtMats;     // public plus local material count
    std::string lblMatSize;  // the computed material count
    std::string lblMatOffset = "Mat Offset:";
    std::string Label4;                   // 1-based position of the first object record
    std::vector<std::string> lstObjects;  // "n @ position"
    int lstObjectsIndex = -1;
    std::string txtObjNameOffset;
    std::array<std::string, 6> txtObjInfo;  // vertex, polygon, vertex-normal and normal offsets; the two counts
    std::string Label5;                     // the chosen object's name, as its bytes stand in the file
    std::vector<NormalRow> ListView1;
    bool cmdRepairMatsEnabled = false;
    bool mnuFileLoadIntoTARVEnabled = true;
    bool visible = false;
    CommonDialog CommonDialog1;
};

// The seven texts of a ListView1 row: its number from 0, then the six coordinates as 32-bit float text.
std::array<std::string, 7> normalRowTexts(const RepairView& view, size_t row);

// The object record at position (0-based) in the layout of version (116 bytes for 1280, else 112), read
// field by field in file order; position moves past it. The name stays empty; mother is the file's offset.
// Records ("modPeo", "getObject") as the error context.
PeoObjectHeader getObject(EditingContext& ctx, const ZeroFilledBytes& file, int64_t& position, int32_t version);

// The count of material entries that fit between the public material list and the first object's polygon
// list, and whether a repair may write it: the file holds its header and first record, counts at least one
// record, and 68 + records x record size <= material list offset <= polygon list offset <= file size, and
// the count differs from the header's public plus local counts. failedCheck names the first check that
// failed (empty when the repair may go ahead).
struct MaterialCountCheck {
    double computed = 0;   // (polygon list offset - public material list offset) / 32
    int64_t headerMats = 0;  // public plus local material count
    std::string failedCheck;
    bool repairable() const { return failedCheck.empty(); }
};
MaterialCountCheck checkMaterialCount(const ZeroFilledBytes& file);

// The version box as a whole number, halves to even; a text that is not a number is error 13.
int32_t versionOf(const RepairView& view);

// Reads the file into the window: the header's texts, the computed material count, one lstObjects entry per
// object record that lies wholly inside the file, and "&Load into TARV" enabled. A missing file is error 53
// and is not created. Traps its errors ("frmRepair").
void getPeoInfo(EditingContext& ctx, RepairView& view, const std::string& path);
// Shows the record of lstObjects entry index: its offsets and counts, its normals and its name (up to its
// zero byte, or to the end of the file when there is none). Traps its errors ("frmRepair").
void lstObjects_Click(EditingContext& ctx, RepairView& view, int index);
// Fills ListView1 from the 1-based normalOffset: a row per vertex normal with its x, y and z, then, past the
// face normals, the second x, y and z of each row. Makes no more rows than whole 16-byte entries lie between
// normalOffset and the end of the file. Traps its errors ("frmRepair").
void dispVertNormals(EditingContext& ctx, RepairView& view, const ZeroFilledBytes& file, int64_t normalOffset,
                     int32_t numOfVertNormals, int32_t numOfFaceNormals);
// "Repair Materials": reads the file again and, when it still passes every check of checkMaterialCount and
// still gives the count shown, writes that count (halves to even) at offset 24 and 0 at offset 28 by the
// atomic road; every other byte stays. Otherwise nothing is written and the error report names the file and
// the failed check. Either way the window then shows the file as it is now. Traps its errors ("frmRepair").
void cmdRepairMats_Click(EditingContext& ctx, RepairView& view);
// "&Load into TARV": with a file shown, empties the ship-definition paths (and marks the model as coming
// without a ship definition), the LOD list and the thumbnails, clears the selection and the LOD path, makes
// the file the current model, disables "&SHP only", runs the main window's load road and hides the window.
// Traps its errors ("frmRepair").
void mnuFileLoadIntoTARV_Click(EditingContext& ctx, RepairView& view);
// "&Open": the open dialog for a .peo; a chosen file is read into the window, a cancel changes nothing.
void mnuFileOpen_Click(EditingContext& ctx, RepairView& view);
// "E&xit Repair": hides the window, which keeps what it shows.
void mnuFileExit_Click(RepairView& view);
// Runs once when the window is made: "&Load into TARV" waits for a file.
void Form_Load(RepairView& view);

}  // namespace tarv
