#include "objects/ObjectImport.h"

#include <cstdlib>
#include <utility>

#include "base/NumberText.h"
#include "base/Paths.h"
#include "editor/context/EditingContext.h"
#include "editor/context/Messages.h"
#include "editor/context/TrapGuard.h"
#include "materials/TextureSource.h"
#include "materials/state/MaterialsPageState.h"
#include "model/LogFiles.h"
#include "model/ModelHelpers.h"
#include "model/PeoReader.h"
#include "model/state/PeoLayout.h"
#include "objects/MaterialImport.h"
#include "objects/ObjectLinks.h"
#include "objects/ObjectNames.h"
#include "objects/ObjectTree.h"
#include "preview/ObjectMeshes.h"
#include "preview/PreviewScene.h"

namespace tarv {

namespace {

std::string homeFolder() {
    const char* home = std::getenv("HOME");
    return home && *home ? std::string(home) + "/" : std::string();
}

std::string folderPart(const std::string& path) {
    const size_t at = path.find_last_of("\\/");
    return at == std::string::npos ? std::string() : path.substr(0, at + 1);
}

// The parent of each record as the tree builds take it: the record number of the parent, or one of these.
constexpr int kTopLevel = kLinkTopLevel;    // no parent link
constexpr int kUnderBase = kLinkUnderBase;  // a negative offset: under "o0", silently
constexpr int kCorrupted = -3;              // an offset that names no record, a self link, or a link on record 0

std::vector<int> parentRecords(const ImportSession& session) {
    const int count = int(session.headers.size());
    const int64_t size = peo::recordLayout(session.isCataclysm).size;
    std::vector<int> parents(size_t(count), kTopLevel);
    for (int i = 0; i < count; ++i) {
        const int64_t offset = session.parentOffsets[size_t(i)];
        if (offset == 0) continue;
        if (offset < 0) {
            parents[size_t(i)] = i == 0 ? kTopLevel : kUnderBase;
            continue;
        }
        const int64_t k = (offset - peo::kHeaderSize) / size;
        const bool names = offset >= peo::kHeaderSize && (offset - peo::kHeaderSize) % size == 0 && k < count;
        parents[size_t(i)] = !names || k == i || i == 0 ? kCorrupted : int(k);
    }
    return parents;
}

void corrupted(EditingContext& ctx) { okMessage(ctx, kCorruptedHierarchyText); }

// The first pass of both builds: record 0 at the top, records with a parent link under "o0", the others
// at the top, in record order.
void addNodes(ImportSession& session, const std::vector<int>& parents) {
    KeyedTree& tree = session.treeHeirachy;
    for (size_t i = 0; i < session.headers.size(); ++i) {
        const std::string key = objectKey(int(i));
        if (i != 0 && parents[i] != kTopLevel)
            tree.addChild("o0", key, session.headers[i].name);
        else
            tree.addTopLevel(key, session.headers[i].name);
    }
}

// The distinct materials of a polygon list in order of first use.
std::vector<int32_t> distinctMaterials(const std::vector<PeoPolygon>& polygons) {
    std::vector<int32_t> list;
    for (const PeoPolygon& p : polygons) {
        bool seen = false;
        for (int32_t m : list) seen = seen || m == p.material;
        if (!seen) list.push_back(p.material);
    }
    return list;
}

// What a failed commit puts back.
struct ModelMark {
    size_t objects, views, materials, textures, d3dMaterials, d3dTextures, lstMaterial, lstTextures;
    size_t thumbs, cmbObjectList, cmbMatrixObjectList;
    int16_t publicCount, localCount;
    std::string txtPublic, txtLocal;
};

ModelMark markModel(const EditingContext& ctx) {
    return {ctx.model.peoObjects.size(),
            ctx.view.viewObjects.size(),
            ctx.model.materials.size(),
            ctx.model.textures.size(),
            ctx.view.d3dMaterials.size(),
            ctx.view.d3dTextures.size(),
            ctx.materialsPage->lstMaterial.size(),
            ctx.preview.lstTextures.size(),
            ctx.preview.ctlThumbs.items().size(),
            ctx.objects.cmbObjectList.size(),
            ctx.objects.cmbMatrixObjectList.size(),
            ctx.model.publicMaterialCount,
            ctx.model.localMaterialCount,
            ctx.materialsPage->txtPublic,
            ctx.materialsPage->txtLocal};
}

void restoreModel(EditingContext& ctx, const ModelMark& mark, int n) {
    if (ctx.view.viewObjects.size() > mark.views) {
        ViewObject& view = ctx.view.viewObjects[size_t(n)];
        if (view.frame && ctx.view.modelFrame) ctx.view.modelFrame->deleteChild(view.frame);
    }
    const std::string key = objectKey(n);
    if (ctx.shell.treeHeirachy.find(key)) ctx.shell.treeHeirachy.remove(key);
    ctx.model.peoObjects.resize(mark.objects);
    ctx.view.viewObjects.resize(mark.views);
    ctx.model.materials.resize(mark.materials);
    ctx.model.textures.resize(mark.textures);
    ctx.view.d3dMaterials.resize(std::min(ctx.view.d3dMaterials.size(), std::max(mark.d3dMaterials, mark.materials)));
    ctx.view.d3dTextures.resize(std::min(ctx.view.d3dTextures.size(), std::max(mark.d3dTextures, mark.textures)));
    ctx.materialsPage->lstMaterial.resize(mark.lstMaterial);
    ctx.preview.lstTextures.resize(mark.lstTextures);
    if (ctx.preview.ctlThumbs.items().size() > mark.thumbs) {
        ThumbnailList kept;
        kept.Caption = ctx.preview.ctlThumbs.Caption;
        for (size_t i = 0; i < mark.thumbs; ++i) {
            const Thumbnail& t = ctx.preview.ctlThumbs.items()[i];
            kept.Add(t.path, false, t.picture, t.caption);
        }
        ctx.preview.ctlThumbs = std::move(kept);
    }
    ctx.objects.cmbObjectList.resize(mark.cmbObjectList);
    ctx.objects.cmbMatrixObjectList.resize(mark.cmbMatrixObjectList);
    ctx.model.publicMaterialCount = mark.publicCount;
    ctx.model.localMaterialCount = mark.localCount;
    ctx.materialsPage->txtPublic = mark.txtPublic;
    ctx.materialsPage->txtLocal = mark.txtLocal;
}

// The header counts after one more material, by the counts before it (P, L).
void countOneMaterial(EditingContext& ctx) {
    ShipModel& model = ctx.model;
    MaterialsPageState& page = *ctx.materialsPage;
    const int16_t P = model.publicMaterialCount, L = model.localMaterialCount;
    const auto plusOne = [](const std::string& text) { return intText(int64_t(leadingNumber(text)) + 1); };
    if (P > 0 && L == 0) {
        model.publicMaterialCount = toInt16(int64_t(P) + 1);
        page.txtPublic = plusOne(page.txtPublic);
    } else if (P == 0 && L > 0) {
        model.localMaterialCount = toInt16(int64_t(L) + 1);
        page.txtLocal = plusOne(page.txtLocal);
    } else if (P == 0 && L == 0) {
        model.localMaterialCount = 1;
        page.txtLocal = plusOne(page.txtLocal);
    } else if (P > 0 && L > 0) {
        model.publicMaterialCount = 0;
        model.localMaterialCount = toInt16(int64_t(P) + int64_t(L) + 1);
        page.txtLocal = intText(int64_t(model.localMaterialCount));
        page.txtPublic = "0";
    } else {
        okMessage(ctx, kMaterialCountsText, ctx.version.appName);
        model.publicMaterialCount = 0;
        model.localMaterialCount = toInt16(int64_t(model.materialCount()));
        page.txtLocal = intText(int64_t(model.materialCount()));
        page.txtPublic = "0";
    }
}

// An object record checked and parsed, ready to be appended.
struct CheckedObject {
    PeoObjectContents contents;
    std::vector<int32_t> materials;  // distinct material numbers in order of first use
    std::vector<ImportedMaterialEntry> entries;
};

// The object-level checks: counts, lists inside the file, and every material an entry of the list in use.
// Throws a RunTimeError whose description is the reason.
CheckedObject checkObject(const ImportSession& session, int16_t r) {
    const PeoObjectHeader& h = session.headers[size_t(r)];
    const auto refuse = [](const std::string& reason) { throw RunTimeError::badFile(reason); };
    if (h.nVertices < 0 || h.nFaceNormals < 0 || h.nVertNormals < 0 || h.nPolygons < 0) refuse("a count is negative");
    if (h.nPolygons < 1) refuse("it has no polygons");
    if (h.nPolygons > 32768) refuse("it has " + intText(int64_t(h.nPolygons)) + " polygons (at most 32768)");
    if (h.nVertices > 32768) refuse("it has " + intText(int64_t(h.nVertices)) + " vertices (at most 32768)");
    const BinaryReader& file = *session.file;
    const auto inside = [&](int64_t offset, int64_t count, int64_t size, const char* what) {
        if (count > 0 && (offset < 0 || !file.contains(offset, count * size)))
            refuse(std::string("its ") + what + " lies outside the file");
    };
    inside(h.vertexListOffset, h.nVertices, peo::kVertexEntrySize, "vertex list");
    inside(h.normalListOffset, int64_t(h.nFaceNormals) + h.nVertNormals, peo::kNormalEntrySize, "normal list");
    inside(h.polygonListOffset, h.nPolygons, peo::kPolygonEntrySize, "polygon list");

    CheckedObject checked;
    peo::PeoObjectRecord& record = checked.contents.record;
    record = h;
    // The links are the second file's; the import makes its own.
    record.mother = record.daughter = record.sister = 0;
    checked.contents.name = h.name;
    parseObjectLists(file, r, checked.contents);

    std::vector<int32_t>& list = checked.materials;
    std::vector<char> seen;
    for (const peo::PeoPolygonEntry& p : *checked.contents.polygons) {
        const int32_t m = p.material;
        if (m < 0) refuse("material " + intText(int64_t(m)) + " is not in the file's list");
        if (size_t(m) >= seen.size()) seen.resize(size_t(m) + 1, 0);
        if (seen[size_t(m)]) continue;
        seen[size_t(m)] = 1;
        list.push_back(m);
        checked.entries.push_back(checkMaterialFromFile(file, m));
    }
    return checked;
}

// The name the object gets: its own, unless it is empty, the deleted-object name, or a node text of the
// main tree.
std::string importedName(EditingContext& ctx, const std::string& name) {
    const KeyedTree& tree = ctx.shell.treeHeirachy;
    if (!name.empty() && name != kDeletedObjectName && !tree.firstWithText(name)) return name;
    const TakenNames taken(ctx.model.peoObjects);
    const std::string renamed = copyNameAmong(name, objectTreeTexts(ctx), &taken).name;
    addToLog(ctx, "Imported object " + name + " renamed to " + renamed + ".");
    return renamed;
}

// Appends the checked object as object n; throws on a failure, which the caller undoes.
void commitObject(EditingContext& ctx, ImportSession& session, TextureSource& source, int16_t r, int n,
                  CheckedObject& checked, const std::string& name) {
    const PeoObjectHeader& h = session.headers[size_t(r)];
    ShipModel& model = ctx.model;
    // 1, 2. The new records and their counts.
    model.peoObjects.emplace_back();
    ctx.view.viewObjects.emplace_back();
    {
        PeoObject& object = model.peoObjects.back();
        object.nFaceNormals = h.nFaceNormals;
        object.nPolygons = h.nPolygons;
        object.nVertNormals = h.nVertNormals;
        object.nVertices = h.nVertices;
    }
    // 3. The lists through the reader's loaders; polygons keep their reserved word as read.
    applyObjectLists(ctx, checked.contents, n);
    checked.contents = PeoObjectContents{};
    // 4.
    PeoObject& object = model.peoObjects[size_t(n)];
    object.name = name;
    object.matrix = transposeMatrix(h.fileMatrix);
    object.flags = h.flags;
    object.madObjectIndex = -1;
    object.sharedWith = -1;
    object.mother = 1;
    // 5.
    const int m = int(checked.materials.size());
    writeStartupLog(ctx, "^^ " + intText(int64_t(m)));
    // 6. The materials, each appended as a new one.
    if (model.materialCount() + m > 32767) throw RunTimeError::overflow();
    std::vector<std::pair<int32_t, int32_t>> map;
    for (int k = 0; k < m; ++k) {
        const int32_t oldNumber = checked.materials[size_t(k)];
        const int32_t newNumber = model.materialCount();
        map.emplace_back(oldNumber, newNumber);
        PeoMaterial material =
            getMaterialFromFile(ctx, source, session.StatusBar1, oldNumber, checked.entries[size_t(k)]);
        setErrorContext(ctx, "frmImport", "loadObject", intText(int64_t(r)));
        if (ctx.live.chkSwitchClrs) {
            std::swap(material.ambient[0], material.ambient[2]);
            std::swap(material.diffuse[0], material.diffuse[2]);
            std::swap(material.specular[0], material.specular[2]);
        }
        model.materials.push_back(material);
        ctx.materialsPage->lstMaterial.push_back(model.textures[size_t(material.texture)].name);
        countOneMaterial(ctx);
    }
    if (session.commitProbe) session.commitProbe(ctx);
    // 7. Renumbering: each polygon changes at most once.
    for (PeoPolygon& p : model.peoObjects[size_t(n)].polygons) {
        for (const auto& [oldNumber, newNumber] : map) {
            if (p.material == oldNumber) {
                p.material = newNumber;
                break;
            }
        }
        p.mark = 0;
    }
    // 8. The mesh and frame under the model frame, shown and posed.
    create3dObject(ctx, int16_t(n));
    ViewObject& view = ctx.view.viewObjects[size_t(n)];
    if (!ctx.view.modelFrame) throw RunTimeError::objectNotSet();
    ctx.view.modelFrame->addChild(view.frame);
    view.shown = -1;
    resetPeoObject(ctx, int16_t(n));
    setErrorContext(ctx, "frmImport", "loadObject", intText(int64_t(r)));
    // 9. The node and both lists.
    KeyedTree& tree = ctx.shell.treeHeirachy;
    if (!tree.find("o0")) throw RunTimeError::objectNotSet();
    tree.addChild("o0", objectKey(n), name);
    tree.setChecked(objectKey(n), true);
    ctx.objects.cmbObjectList.push_back(name);
    ctx.objects.cmbMatrixObjectList.push_back(name);
    // 10. The links from the tree.
    computeHeirachy(ctx);
}

}  // namespace

void frmImport_Activate(ImportSession& session) {
    session.headers.clear();
    session.parentOffsets.clear();
    session.treeHeirachy.clear();
    session.StatusBar1.clear();
    session.cmdImportEnabled = false;
    session.file.reset();
}

void mnuFileImport_Click(EditingContext& ctx, ImportSession& session) {
    trapErrors(ctx, "frmImport", "mnuFileImport_Click", "", [&] {
        CommonDialog& dialog = session.CommonDialog1;
        dialog.Filter = kImportFilter;
        dialog.FilterIndex = 2;
        if (!ctx.currentModelPath.empty())
            dialog.InitDir = folderPart(ctx.currentModelPath);
        else if (ctx.prefs.useCustomStartDir)
            dialog.InitDir = ctx.prefs.customStartDir;
        else
            dialog.InitDir = homeFolder();
        dialog.FileName.clear();
        const std::optional<std::string> chosen = dialog.ShowOpen(ctx.prompts());
        if (!chosen || chosen->empty()) return;
        session.StatusBar1 = *chosen;
        ctx.status().processEvents();
        importPeoObjects(ctx, session);
        createHeirachy(ctx, session);
    });
}

void importPeoObjects(EditingContext& ctx, ImportSession& session) {
    trapErrors(ctx, "frmImport", "importPeoObjects", "", [&] {
        session.treeHeirachy.clear();
        session.headers.clear();
        session.parentOffsets.clear();
        session.file.reset();
        session.cmdImportEnabled = false;
        const std::string& path = session.StatusBar1;
        PeoObjectHeaderFile read;
        try {
            BinaryReader file = BinaryReader::fromFile(path);
            read = readPeoObjectHeaders(file);
            session.file.emplace(std::move(file));
        } catch (const RunTimeError& e) {
            okMessage(ctx, "The file " + path + " cannot be imported: " + e.description() + ".", ctx.version.appTitle);
            return;
        }
        session.isCataclysm = read.cataclysm;
        session.parentOffsets.reserve(read.records.size());
        for (PeoObjectHeader& h : read.records) {
            session.parentOffsets.push_back(h.mother);
            h.mother = toInt32(roundHalfEven(convertOffsetToKey(h.mother, read.cataclysm)));
        }
        session.headers = std::move(read.records);
    });
}

void createHeirachy(EditingContext& ctx, ImportSession& session) {
    trapErrors(ctx, "frmImport", "createHeirachy", "", [&] {
        KeyedTree& tree = session.treeHeirachy;
        tree.clear();
        const int count = int(session.headers.size());
        if (count == 0) return;
        const std::vector<int> records = parentRecords(session);
        addNodes(session, records);
        arrangeByParentLinks(tree, records, [&] { corrupted(ctx); });
        for (int i = 0; i < count; ++i) tree.setExpanded(objectKey(i), true);
        session.cmdImportEnabled = true;
    });
}

void createHeirachyLiteral(EditingContext& ctx, ImportSession& session) {
    trapErrors(ctx, "frmImport", "createHeirachy", "", [&] {
        KeyedTree& tree = session.treeHeirachy;
        tree.clear();
        const int count = int(session.headers.size());
        if (count == 0) return;
        const std::vector<int> records = parentRecords(session);
        addNodes(session, records);
        for (int i = count - 1; i >= 0; --i) {
            const int parent = records[size_t(i)];
            if (parent == kTopLevel || parent == kUnderBase) continue;
            if (i == 0) {
                corrupted(ctx);
                continue;
            }
            const std::string key = objectKey(i);
            if (parent >= 0 && !tree.isInSubtree(objectKey(parent), key)) {
                tree.moveToFirstChild(key, objectKey(parent));
            } else {
                corrupted(ctx);
                tree.moveToFirstChild(key, "o0");
            }
        }
        for (int i = 0; i < count; ++i) tree.setExpanded(objectKey(i), true);
        session.cmdImportEnabled = true;
    });
}

bool cmdImport_Click(EditingContext& ctx, ImportSession& session) {
    bool hide = false;
    trapErrors(ctx, "frmImport", "cmdImport_Click", "", [&] {
        if (!session.file) return;
        const KeyedTree& tree = session.treeHeirachy;
        for (int i = 1; i <= tree.count(); ++i) {
            const KeyedTree::Node& node = tree.nodeAt(i);
            if (!node.checked) continue;
            loadObject(ctx, session, int16_t(keyIndex(node.key)));
            setErrorContext(ctx, "frmImport", "cmdImport_Click");
        }
        ctx.preview.ctlThumbs.Caption = intText(int64_t(ctx.model.textures.size())) + " textures loaded";
        previewControls(ctx).texturesChanged();
        hide = true;
    });
    return hide;
}

bool loadObject(EditingContext& ctx, ImportSession& session, int16_t r) {
    bool appended = false;
    trapErrors(ctx, "frmImport", "loadObject", intText(int64_t(r)), [&] {
        if (!session.file || r < 0 || size_t(r) >= session.headers.size()) throw RunTimeError::subscriptOutOfRange();
        const std::string& recordName = session.headers[size_t(r)].name;
        if (ctx.model.objectCount() >= 32767) throw RunTimeError::overflow();
        CheckedObject checked;
        try {
            checked = checkObject(session, r);
        } catch (const RunTimeError& e) {
            okMessage(ctx, "Object " + recordName + " was not imported: " + e.description() + ".",
                      ctx.version.appTitle);
            return;
        }
        const std::string name = importedName(ctx, recordName);
        const int n = ctx.model.objectCount();
        const ModelMark mark = markModel(ctx);
        LifTextureSource ownSource(ctx);
        TextureSource& source = session.textureSource ? *session.textureSource : ownSource;
        try {
            commitObject(ctx, session, source, r, n, checked, name);
        } catch (...) {
            restoreModel(ctx, mark, n);
            throw;
        }
        appended = true;
    });
    return appended;
}

int16_t getMaterialCount(EditingContext& ctx, int16_t obj) {
    int16_t result = 0;
    trapErrors(ctx, "modPeo", "getMaterialCount", intText(int64_t(obj)), [&] {
        if (obj < 0 || obj >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
        const auto& polygons = ctx.model.peoObjects[size_t(obj)].polygons;
        if (polygons.empty()) throw RunTimeError::subscriptOutOfRange();
        if (polygons.size() > 32768) throw RunTimeError::overflow();
        result = toInt16(int64_t(distinctMaterials(polygons).size()));
    });
    return result;
}

int16_t getMaterialNoFromObj(EditingContext& ctx, int16_t obj, int16_t k, int16_t count) {
    int16_t result = 0;
    trapErrors(ctx, "modPeo", "getMaterialNoFromObj", intText(int64_t(obj)) + "|" + intText(int64_t(k)), [&] {
        if (obj < 0 || obj >= ctx.model.objectCount()) throw RunTimeError::subscriptOutOfRange();
        const auto& polygons = ctx.model.peoObjects[size_t(obj)].polygons;
        if (polygons.empty() || count < 1 || k < 0 || k >= count) throw RunTimeError::subscriptOutOfRange();
        std::vector<int32_t> entries(size_t(count), -1);
        entries[0] = polygons[0].material;
        int filled = 1;
        if (k != 0) {
            for (size_t i = 1; i < polygons.size() && filled <= k; ++i) {
                bool seen = false;
                for (int j = 0; j < filled; ++j) seen = seen || entries[size_t(j)] == polygons[i].material;
                if (seen) continue;
                if (filled >= count) throw RunTimeError::subscriptOutOfRange();
                entries[size_t(filled++)] = polygons[i].material;
            }
        }
        result = toInt16(int64_t(entries[size_t(k)] == -1 ? polygons[0].material : entries[size_t(k)]));
    });
    return result;
}

}  // namespace tarv
