#include "meshtools/LodFiles.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <unordered_map>

#include "base/AtomicFile.h"
#include "base/BinaryReader.h"
#include "base/ByteWriter.h"
#include "model/LogFiles.h"
#include "model/ModelHelpers.h"
#include "meshtools/state/ToolsPageState.h"
#include "objects/ObjectLinks.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "base/TextLines.h"
#include "editor/context/TrapGuard.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

std::string lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

bool fileExists(const std::string& folder, const std::string& name) {
    return !name.empty() &&
           resolveShipPath(folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder), name)
               .has_value();
}

// The file a name of a list stands for: found in any letter case, or as written when it is missing.
std::string fullPathOf(const std::string& folder, const std::string& name) {
    if (folder.empty()) return resolveShipPathOrAsWritten(".", name).string();
    return resolveShipPathOrAsWritten(folder, name).string();
}

constexpr int64_t kHeaderSize = 68;

}  // namespace

LodFileContents parseLodLines(const std::vector<std::string>& lines) {
    LodFileContents contents;
    for (const std::string& line : lines) {
        if (line.size() <= 9 || line.compare(0, 9, "pMeshFile") != 0) continue;
        size_t blank = line.rfind(' ');
        contents.meshFiles.push_back(blank == std::string::npos ? line : line.substr(blank + 1));
    }
    return contents;
}

std::string lodNamesNoModelText(const std::string& lodPath) {
    return "The LOD file " + lodPath + " names no model file! Aborting load.";
}

bool readLodFile(EditingContext& ctx, const std::string& path, bool firstIsMain) {
    const std::string folder = folderOf(path);
    const std::string name = fileNameOf(path);
    auto found = resolveShipPath(folder.empty() ? std::filesystem::path(".") : std::filesystem::path(folder), name);
    if (!found) return false;
    std::vector<uint8_t> bytes = readWholeFile(*found);
    const LodFileContents contents = parseLodLines(splitTextLines(std::string(bytes.begin(), bytes.end())));
    if (contents.meshFiles.empty()) return false;
    int counted = 0;
    for (std::string entry : contents.meshFiles) {
        ++counted;
        if (!fileExists(folder, entry) && entry.size() >= 4) entry = entry.substr(0, entry.size() - 4) + ".peo";
        const std::string full = fullPathOf(folder, entry);
        if (firstIsMain) {
            if (counted == 1)
                ctx.currentModelPath = full;
            else
                ctx.lod.lstLodFiles.push_back({entry, full});
        } else {
            const bool isCurrent = lower(folder + entry) == lower(ctx.currentModelPath) ||
                                   (!ctx.currentModelPath.empty() && full == ctx.currentModelPath);
            if (!isCurrent) ctx.lod.lstLodFiles.push_back({entry, full});
        }
    }
    return true;
}

std::string levelLinkMissingLog(const std::string& linkedName) {
    return "  -> No record named " + linkedName + " in this file: its link is written as 0";
}

bool applyMatrixToFile(EditingContext& ctx, const std::string& path) {
    return trapErrors(ctx, "modPeo", "applyMatrixToFile", path, [&] {
        calcHeirachy(ctx);  // the level files get the links of the object tree
        setErrorContext(ctx, "modPeo", "applyMatrixToFile", path);  // the call above recorded its own
        writeLog(ctx, "Applying matrix to: " + path, 1);

        std::error_code ec;
        if (!std::filesystem::is_regular_file(path, ec)) {
            writeLog(ctx, "-> " + path + " was not patched: the file does not exist.", 1);
            throw RunTimeError::fileNotFound(path);
        }
        BinaryReader file = BinaryReader::fromFile(path);
        // Check the whole file before a byte changes.
        std::vector<std::string> names;
        int64_t recordSize = 112;
        try {
            const int32_t version = file.i32(8, "version");
            const int32_t count = file.i32(40, "object count");
            recordSize = version == 0x500 ? 116 : 112;
            file.requireEntries(kHeaderSize, count, recordSize, "object records");
            names.reserve(size_t(count));
            for (int32_t k = 0; k < count; ++k)
                names.push_back(
                    file.zeroTerminated(file.i32(kHeaderSize + k * recordSize, "name offset"), "object name"));
        } catch (RunTimeError& e) {
            writeLog(ctx, "-> " + path + " was not patched: " + e.description(), 1);
            e.whileReading(fileNameOf(path));
            throw;
        }
        const bool cataclysm = recordSize == 116;
        const int64_t linkOffset = cataclysm ? 40 : 36;

        // The first model object of each name, and the number each object's record gets in a saved file.
        const auto& objects = ctx.model.peoObjects;
        std::unordered_map<std::string, size_t> firstByName;
        std::vector<int32_t> writtenNumber(objects.size(), 0);
        int32_t written = 0;
        for (size_t i = 0; i < objects.size(); ++i) {
            firstByName.emplace(objects[i].name, i);
            if (!objects[i].isDeleted()) writtenNumber[i] = ++written;
        }
        // A link goes to the record that carries the linked object's name: the model's own number, or the
        // number the object's record has in a file saved without the deleted objects. A linked object with no
        // record of its name in this file gets no link.
        auto linkNumber = [&](int32_t own) -> int32_t {
            if (own <= 0 || size_t(own) > objects.size()) return 0;
            const std::string& linked = objects[size_t(own - 1)].name;
            auto recordIs = [&](int32_t number) {
                return number >= 1 && size_t(number) <= names.size() && names[size_t(number - 1)] == linked;
            };
            if (recordIs(own)) return own;
            const int32_t other = writtenNumber[size_t(own - 1)];
            if (recordIs(other)) return other;
            writeLog(ctx, levelLinkMissingLog(linked), 2);
            return 0;
        };

        std::vector<uint8_t> bytes(file.data().begin(), file.data().end());
        for (size_t k = 0; k < names.size(); ++k) {
            writeLog(ctx, "-> Checking object " + names[k], 2);
            auto it = firstByName.find(names[k]);
            if (it == firstByName.end()) continue;
            const PeoObject& object = objects[it->second];
            const int64_t at = kHeaderSize + int64_t(k) * recordSize + linkOffset;
            patchI32(bytes, size_t(at), convertKey(ctx, linkNumber(object.mother), cataclysm));
            patchI32(bytes, size_t(at) + 4, convertKey(ctx, linkNumber(object.daughter), cataclysm));
            patchI32(bytes, size_t(at) + 8, convertKey(ctx, linkNumber(object.sister), cataclysm));
            writeLog(ctx, "  -> Applying matrix", 2);
            const Matrix4 fileMatrix = transposeMatrix(object.matrix);
            for (int j = 0; j < 16; ++j) patchF32(bytes, size_t(at) + 12 + 4 * j, fileMatrix[j]);
        }
        // The error context may have been taken by the helpers above; the write is still ours.
        setErrorContext(ctx, "modPeo", "applyMatrixToFile", path);
        writeFileAtomically(path, bytes);
    });
}

void cmdAddToLod_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdAddToLod_Click", "", [&] {
        FileDialogRequest request;
        request.filter = kLodAddFilter;
        request.filterIndex = 3;
        request.hideReadOnly = true;
        auto choice = ctx.prompts().openFile(request);
        if (!choice || choice->path.empty()) return;
        if (choice->filterIndex == 3)
            readLodFile(ctx, choice->path, false);
        else
            ctx.lod.lstLodFiles.push_back({choice->path, choice->path});
        ctx.lod.cmdMultiFileEnabled = true;
    });
}

bool lodListMenuItemsEnabled(const EditingContext& ctx) { return !ctx.lod.lstLodFiles.empty(); }

void mnuLodFileSwitch_Click(EditingContext& ctx) {
    const int sel = ctx.lod.selectedEntry;
    if (sel < 0 || size_t(sel) >= ctx.lod.lstLodFiles.size()) return;
    ctx.currentModelPath = ctx.lod.lstLodFiles[size_t(sel)].fullPath;
    if (ctx.toolsPage->loadRoad) ctx.toolsPage->loadRoad->startprocess(ctx);
}

void mnuLodListDelete_Click(EditingContext& ctx) {
    auto& list = ctx.lod.lstLodFiles;
    const int sel = ctx.lod.selectedEntry;
    if (sel < 0 || size_t(sel) >= list.size()) return;
    list.erase(list.begin() + sel);
    ctx.lod.selectedEntry = -1;
    if (list.empty()) ctx.lod.cmdMultiFileEnabled = false;
}

void mnuLodCommandsMatrix_Click(EditingContext& ctx) {
    const auto entries = ctx.lod.lstLodFiles;  // a copy: the patch may log and let the window run
    for (const LodEntry& entry : entries) applyMatrixToFile(ctx, entry.fullPath);
    ctx.prompts().messageBox("Apply matrix/heirachy operation completed!", ctx.version.appTitle, PromptIcon::None);
}

}  // namespace tarv
