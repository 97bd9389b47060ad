#include "materials/TexturesPage.h"

#include <system_error>

#include "base/AtomicFile.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "materials/LifHeaderPatch.h"
#include "materials/LifPreview.h"
#include "materials/LifReader.h"
#include "materials/TextureRename.h"
#include "materials/state/MaterialsPageState.h"

namespace tarv {

namespace {

std::filesystem::path modelFolder(const EditingContext& ctx) { return folderOf(ctx.currentModelPath); }

// The texture's file, or error 53 naming where it was looked for.
std::filesystem::path existingTextureFile(const EditingContext& ctx, const std::string& name) {
    const auto found = textureFileOf(ctx, name);
    if (!found) throw RunTimeError::fileNotFound((modelFolder(ctx) / (name + ".lif")).string());
    return *found;
}

const TextureListItem* selectedItem(const EditingContext& ctx) {
    const PreviewState& p = ctx.preview;
    if (p.lstTexturesSelected < 0 || p.lstTexturesSelected >= int(p.lstTextures.size())) return nullptr;
    return &p.lstTextures[size_t(p.lstTexturesSelected)];
}

bool sameFile(const std::string& a, const std::filesystem::path& b) {
    std::error_code ec;
    return !a.empty() && std::filesystem::equivalent(a, b, ec);
}

}  // namespace

std::optional<std::filesystem::path> textureFileOf(const EditingContext& ctx, const std::string& name) {
    const std::filesystem::path folder = modelFolder(ctx);
    if (folder.empty() || name.empty()) return std::nullopt;
    auto found = findCaseInsensitive(folder, name + ".lif");
    std::error_code ec;
    if (found && !std::filesystem::is_regular_file(*found, ec)) return std::nullopt;
    return found;
}

void lstTextures_ItemClick(EditingContext& ctx, int index) {
    PreviewState& p = ctx.preview;
    if (index < 0 || index >= int(p.lstTextures.size())) return;
    p.lstTexturesSelected = index;
    if (const auto file = textureFileOf(ctx, p.lstTextures[size_t(index)].name)) LoadFile(ctx, file->string(), false);
}

void lstTextures_DblClick(EditingContext& ctx) {
    const TextureListItem* item = selectedItem(ctx);
    if (!item) return;
    if (const auto file = textureFileOf(ctx, item->name)) openLifPreview(ctx, file->string(), true);
}

void ctlThumbs_DblClick(EditingContext& ctx, const std::string& selectedThumbPath) {
    std::error_code ec;
    if (selectedThumbPath.empty() || !std::filesystem::is_regular_file(selectedThumbPath, ec)) return;
    openLifPreview(ctx, selectedThumbPath, true);
}

void mnuTexPeek_Click(EditingContext& ctx) { openLifPreview(ctx, "", false); }

bool lstTextures_AfterLabelEdit(EditingContext& ctx, bool cancelled, const std::string& newText) {
    const TextureListItem* item = selectedItem(ctx);
    if (!item) return false;
    const std::string oldText = item->name;
    const size_t index = size_t(ctx.preview.lstTexturesSelected);
    setErrorContext(ctx, "frmTARV", "lstTextures_AfterLabelEdit", std::string(cancelled ? "1" : "0") + ", " + newText);
    switch (checkTextureRename(cancelled, oldText, newText, ctx.model.textures)) {
    case TextureRenameCheck::Keep: return false;
    case TextureRenameCheck::NotUnique:
        ctx.prompts().messageBox(kTextureNameRefused, ctx.version.appTitle, PromptIcon::None);
        return false;
    case TextureRenameCheck::HoldsFolder:
        ctx.prompts().messageBox(kTextureNameHoldsFolder, ctx.version.appTitle, PromptIcon::None);
        return false;
    case TextureRenameCheck::Rename: break;
    }
    const bool renamed = trapErrors(
        ctx, "frmTARV", "lstTextures_AfterLabelEdit", std::string(cancelled ? "1" : "0") + ", " + newText, [&] {
            if (!textureFileOf(ctx, newText)) {
                const std::filesystem::path oldFile = existingTextureFile(ctx, oldText);
                copyFileAtomically(oldFile, modelFolder(ctx) / (newText + ".lif"));
                if (!ctx.prompts().yesNo(kRenameLifQuestion, kRenameLifTitle, PromptIcon::Question))
                    std::filesystem::remove(oldFile);
            }
        });
    // The list keeps the new text whatever happened to the files.
    ctx.preview.lstTextures[index].name = newText;
    if (!renamed) return true;
    for (std::string& entry : ctx.materialsPage->lstMaterial)
        if (entry == oldText) entry = newText;
    for (PeoTexture& texture : ctx.model.textures)
        if (texture.name == oldText) texture.name = newText;
    if (const auto file = textureFileOf(ctx, newText)) {
        if (LoadFile(ctx, file->string(), false) == LifReadResult::Read) {
            std::vector<std::string>& subItems = ctx.preview.lstTextures[index].subItems;
            if (subItems.empty()) subItems.resize(3);
            subItems[0] = "Yes";
        }
    }
    return true;
}

void cmdSaveCRCs_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdSaveCRCs_Click", "", [&] {
        const TextureListItem* item = selectedItem(ctx);
        if (!item) return;
        const std::filesystem::path file = existingTextureFile(ctx, item->name);
        LifHeaderBoxes& boxes = ctx.lif.boxes;
        if (!sameFile(boxes.sourcePath, file)) {
            LoadFile(ctx, file.string(), false);
            setErrorContext(ctx, "frmTARV", "cmdSaveCRCs_Click");
            ctx.prompts().messageBox(kBoxesShowedAnotherHeader, ctx.version.appTitle, PromptIcon::None);
            return;
        }
        LifHeaderFields fields;
        fields.flags = lifHeaderBoxValue(boxes.txtLifFlags);
        fields.paletteCRC = lifHeaderBoxValue(boxes.txtPalCRC);
        fields.imageCRC = lifHeaderBoxValue(boxes.txtImgCRC);
        patchLifHeaderFile(file, fields);
    });
}

void cmdLifApplyToAll_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdLifApplyToAll_Click", "", [&] {
        LifHeaderFields fields;
        fields.paletteCRC = lifHeaderBoxValue(ctx.lif.boxes.txtPalCRC);
        const std::vector<PeoTexture>& textures = ctx.model.textures;
        for (size_t i = 0; i < textures.size(); ++i) {
            if (!textures[i].loaded) continue;
            if (i >= ctx.preview.lstTextures.size()) throw RunTimeError::subscriptOutOfRange();
            patchLifHeaderFile(existingTextureFile(ctx, ctx.preview.lstTextures[i].name), fields);
        }
    });
}

}  // namespace tarv
