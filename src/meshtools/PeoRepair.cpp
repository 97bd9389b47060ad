#include "meshtools/PeoRepair.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "attachments/ShpFile.h"
#include "base/AtomicFile.h"
#include "base/ByteWriter.h"
#include "base/NumberText.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "meshtools/state/ToolsPageState.h"
#include "model/state/PeoLayout.h"
#include "model/state/ShipModel.h"

namespace tarv {

namespace {

bool isCataclysm(int32_t version) { return version == kPeoVersionCataclysm; }

int64_t recordSizeOf(int32_t version) { return peo::recordLayout(isCataclysm(version)).size; }

RunTimeError typeMismatch() { return {13, "Type mismatch"}; }

// A label or box of the window read as a whole number, halves to even.
int64_t wholeNumberOf(const std::string& text) {
    const std::optional<double> value = parseNumber(text);
    if (!value) throw typeMismatch();
    return toInt32(*value);
}

}  // namespace

std::array<std::string, 7> normalRowTexts(const RepairView& view, size_t row) {
    std::array<std::string, 7> texts;
    texts[0] = intText(int64_t(row));
    const NormalRow& r = view.ListView1.at(row);
    for (size_t i = 0; i < 6; ++i) texts[i + 1] = floatText(r.values[i]);
    return texts;
}

PeoObjectHeader getObject(EditingContext& ctx, const ZeroFilledBytes& file, int64_t& position, int32_t version) {
    setErrorContext(ctx, "modPeo", "getObject");
    PeoObjectHeader h;
    auto next = [&] {
        const int32_t value = file.i32(position);
        position += 4;
        return value;
    };
    h.nameOffset = next();
    h.flags = next();
    h.nVertices = next();
    h.nFaceNormals = next();
    h.nVertNormals = next();
    h.nPolygons = next();
    h.vertexListOffset = next();
    if (isCataclysm(version)) h.cVertexNormalsOffset = next();
    h.normalListOffset = next();
    h.polygonListOffset = next();
    h.mother = next();
    h.daughter = next();
    h.sister = next();
    for (int i = 0; i < 16; ++i) h.fileMatrix[i] = std::bit_cast<float>(next());
    return h;
}

MaterialCountCheck checkMaterialCount(const ZeroFilledBytes& file) {
    MaterialCountCheck check;
    const int32_t version = file.i32(peo::header::version);
    const peo::ObjectRecordLayout& layout = peo::recordLayout(isCataclysm(version));
    const int64_t recordSize = layout.size;
    const int64_t records = file.i32(peo::header::objectCount);
    const int64_t materialList = file.i32(peo::header::publicMaterialListOffset);
    const int64_t polygonList = file.i32(peo::kHeaderSize + layout.polygonListOffset);
    check.headerMats =
        int64_t(file.i32(peo::header::publicMaterialCount)) + file.i32(peo::header::localMaterialCount);
    check.computed = (double(polygonList) - double(materialList)) / peo::kMaterialEntrySize;
    if (file.size() < peo::kHeaderSize + recordSize)
        check.failedCheck = "the file is shorter than its header and first object record";
    else if (records < 1)
        check.failedCheck = "the file counts no object records";
    else if (peo::kHeaderSize + records * recordSize > materialList)
        check.failedCheck = "the material list does not begin after the object records";
    else if (materialList > polygonList)
        check.failedCheck = "the first polygon list begins before the material list";
    else if (polygonList > file.size())
        check.failedCheck = "the first polygon list begins past the end of the file";
    else if (double(check.headerMats) == check.computed)
        check.failedCheck = "the header's material count already agrees with the file's layout";
    return check;
}

int32_t versionOf(const RepairView& view) { return int32_t(wholeNumberOf(view.txtVersion)); }

void getPeoInfo(EditingContext& ctx, RepairView& view, const std::string& path) {
    trapErrors(ctx, "frmRepair", "getPeoInfo", path, [&] {
        view.lstObjects.clear();
        view.lstObjectsIndex = -1;
        view.StatusBar1 = path;
        const std::vector<uint8_t> bytes = readWholeFile(path);
        const ZeroFilledBytes file(bytes);
        view.txtVersion = intText(file.i32(peo::header::version));
        const int64_t records = file.i32(peo::header::objectCount);
        view.txtNumberOfObjects = intText(records);
        view.txtMats = intText(int64_t(file.i32(peo::header::publicMaterialCount)) +
                               file.i32(peo::header::localMaterialCount));
        const int64_t firstRecord = peo::kHeaderSize;
        view.Label4 = intText(firstRecord + 1);
        const int32_t version = versionOf(view);
        int64_t position = firstRecord;
        const PeoObjectHeader first = getObject(ctx, file, position, version);
        setErrorContext(ctx, "frmRepair", "getPeoInfo", path);
        const double computed =
            (double(first.polygonListOffset) - double(file.i32(peo::header::publicMaterialListOffset))) /
            peo::kMaterialEntrySize;
        view.lblMatSize = doubleText(computed);
        view.lblMatOffset = kCalcMatsPrefix + view.lblMatSize;
        view.cmdRepairMatsEnabled = checkMaterialCount(file).repairable();
        // Only records that lie wholly inside the file get an entry, whatever count the header claims.
        const int64_t recordSize = recordSizeOf(version);
        position = firstRecord;
        const int64_t fitting = std::max<int64_t>(0, (file.size() - firstRecord) / recordSize);
        view.lstObjects.reserve(size_t(std::clamp<int64_t>(records, 0, fitting)));
        // Stepping over a record moves by its size: its fields are not needed here.
        for (int64_t i = 1; i <= records && position + recordSize <= file.size(); ++i, position += recordSize)
            view.lstObjects.push_back(intText(i) + " @ " + intText(position + 1));
        view.mnuFileLoadIntoTARVEnabled = true;
    });
}

void lstObjects_Click(EditingContext& ctx, RepairView& view, int index) {
    trapErrors(ctx, "frmRepair", "lstObjects_Click", "", [&] {
        if (index < 0 || size_t(index) >= view.lstObjects.size()) return;
        view.lstObjectsIndex = index;
        const std::vector<uint8_t> bytes = readWholeFile(view.StatusBar1);
        const ZeroFilledBytes file(bytes);
        const int32_t version = versionOf(view);
        int64_t position = wholeNumberOf(view.Label4) - 1 + int64_t(index) * recordSizeOf(version);
        const PeoObjectHeader record = getObject(ctx, file, position, version);
        setErrorContext(ctx, "frmRepair", "lstObjects_Click");
        view.txtObjNameOffset = intText(record.nameOffset);
        const int32_t info[6] = {record.vertexListOffset,     record.polygonListOffset, record.cVertexNormalsOffset,
                                 record.normalListOffset,     record.nFaceNormals,      record.nVertNormals};
        for (size_t i = 0; i < 6; ++i) view.txtObjInfo[i] = intText(info[i]);
        view.ListView1.clear();
        const int64_t normalOffset =
            int64_t(isCataclysm(version) ? record.cVertexNormalsOffset : record.normalListOffset) + 1;
        dispVertNormals(ctx, view, file, normalOffset, record.nVertNormals, record.nFaceNormals);
        setErrorContext(ctx, "frmRepair", "lstObjects_Click");
        // The name's bytes up to its zero byte; without one, up to the end of the file.
        std::string name;
        const int64_t at = record.nameOffset;
        if (at >= 0 && at < file.size()) {
            const auto from = bytes.begin() + at;
            name.assign(from, std::find(from, bytes.end(), uint8_t(0)));
        }
        view.Label5 = name;
    });
}

void dispVertNormals(EditingContext& ctx, RepairView& view, const ZeroFilledBytes& file, int64_t normalOffset,
                     int32_t numOfVertNormals, int32_t numOfFaceNormals) {
    const std::string arguments =
        intText(normalOffset) + "|" + intText(numOfVertNormals) + "|" + intText(numOfFaceNormals);
    trapErrors(ctx, "frmRepair", "dispVertNormals", arguments, [&] {
        if (numOfVertNormals <= 0) return;
        const int64_t start = normalOffset - 1;
        const int64_t entry = peo::kNormalEntrySize;
        // No more rows than whole entries lie in the file from the start on.
        const int64_t whole = start >= 0 && start < file.size() ? (file.size() - start) / entry : 0;
        const int64_t rows = std::min<int64_t>(numOfVertNormals, whole);
        const size_t first = view.ListView1.size();
        view.ListView1.resize(first + size_t(rows));
        for (int64_t r = 0; r < rows; ++r) {
            NormalRow& row = view.ListView1[first + size_t(r)];
            const int64_t at = start + r * entry;
            for (int c = 0; c < 3; ++c) row.values[size_t(c)] = file.f32(at + 4 * c);
        }
        const int64_t second = start + (int64_t(numOfVertNormals) + std::max<int64_t>(0, numOfFaceNormals)) * entry;
        for (int64_t r = 0; r < rows; ++r) {
            NormalRow& row = view.ListView1[first + size_t(r)];
            const int64_t at = second + r * entry;
            for (int c = 0; c < 3; ++c) row.values[size_t(c + 3)] = file.f32(at + 4 * c);
        }
    });
}

void cmdRepairMats_Click(EditingContext& ctx, RepairView& view) {
    trapErrors(ctx, "frmRepair", "cmdRepairMats_Click", "", [&] {
        const std::string path = view.StatusBar1;
        const std::optional<double> shown = parseNumber(view.lblMatSize);
        if (!shown) throw typeMismatch();
        std::vector<uint8_t> bytes = readWholeFile(path);
        const MaterialCountCheck check = checkMaterialCount(ZeroFilledBytes(bytes));
        std::string failed = check.failedCheck;
        if (failed.empty() && doubleText(check.computed) != view.lblMatSize)
            failed = "the file no longer gives the count shown (" + view.lblMatSize + ")";
        if (failed.empty()) {
            patchI32(bytes, peo::header::publicMaterialCount, toInt32(*shown));
            patchI32(bytes, peo::header::localMaterialCount, 0);
            writeFileAtomically(path, std::span<const uint8_t>(bytes));
        } else {
            reportError(ctx, RunTimeError::badFile("The material count was not repaired: " + failed)
                                 .withDetail("nothing was written to " + path));
        }
        getPeoInfo(ctx, view, path);
        setErrorContext(ctx, "frmRepair", "cmdRepairMats_Click");
    });
}

void mnuFileLoadIntoTARV_Click(EditingContext& ctx, RepairView& view) {
    trapErrors(ctx, "frmRepair", "mnuFileLoadIntoTARV_Click", "", [&] {
        if (view.StatusBar1.empty()) return;
        ShipDefinition& shp = ctx.shp;
        shp.lodFilePath.clear();
        shp.mexFilePath.clear();
        shp.madFilePath.clear();
        shp.shpFilePath.clear();
        // The model comes without its ship definition, as any .peo opened on its own.
        shp.noShpLoaded = true;
        ctx.lod.lstLodFiles.clear();
        ctx.lod.selectedEntry = -1;
        ctx.preview.ctlThumbs.Clear();
        ctx.objects.lblKey.clear();
        ctx.objects.selectedObject = -1;
        ctx.objects.Dx_Label1.clear();
        ctx.lod.lblLodPath.clear();
        ctx.currentModelPath = view.StatusBar1;
        disableShpSave(ctx);
        if (ctx.toolsPage->loadRoad) ctx.toolsPage->loadRoad->startprocess(ctx);
        setErrorContext(ctx, "frmRepair", "mnuFileLoadIntoTARV_Click");
        view.visible = false;
    });
}

void mnuFileOpen_Click(EditingContext& ctx, RepairView& view) {
    CommonDialog& dialog = view.CommonDialog1;
    dialog.Filter = kRepairOpenFilter;
    dialog.FilterIndex = 2;
    const std::optional<std::string> chosen = dialog.ShowOpen(ctx.prompts());
    if (!chosen || chosen->empty()) return;
    getPeoInfo(ctx, view, *chosen);
}

void mnuFileExit_Click(RepairView& view) { view.visible = false; }

void Form_Load(RepairView& view) { view.mnuFileLoadIntoTARVEnabled = false; }

}  // namespace tarv
