#include "materials/MaterialList.h"

#include <cmath>
#include <optional>
#include <string_view>
#include <filesystem>
#include <unordered_map>

#include "base/AtomicFile.h"
#include "base/NumberText.h"
#include "base/Paths.h"
#include "base/RunTimeError.h"
#include "editor/context/EditingContext.h"
#include "editor/context/TrapGuard.h"
#include "materials/MaterialProperties.h"
#include "materials/state/MaterialsPageState.h"
#include "model/LogFiles.h"
#include "model/state/ShipModel.h"

namespace tarv {

namespace {

constexpr int16_t kResetFullAmbient = int16_t(0xAB00);

void resetLighting(PeoMaterial& m) {
    m.ambient[0] = m.ambient[1] = m.ambient[2] = 50;
    m.kAlpha = 0;
    m.fullAmbient = kResetFullAmbient;
}

bool sameTextureAndFlags(const PeoMaterial& a, const PeoMaterial& b) {
    return a.texture == b.texture && a.smoothing == b.smoothing && a.flatShaded == b.flatShaded &&
           a.twoSided == b.twoSided && a.baseColour == b.baseColour && a.stripeColour == b.stripeColour &&
           a.selfIlluminated == b.selfIlluminated;
}

void checkPolygonLimit(const ShipModel& model) {
    for (const auto& object : model.peoObjects)
        if (object.polygons.size() > kMergePolygonLimit) throw RunTimeError::overflow();
}

void logDuplicates(const MaterialLogLine& log, int d, int n) {
    log(intText(d) + " of " + intText(n) + " materials considered duplicate.");
    log("They will be merged when saving your PEO.");
}

void finishMerge(ShipModel& model, int next, const MaterialLogLine& log) {
    model.materials.resize(size_t(next));
    log("Reducing material count to " + intText(next) + " materials.");
    if (model.publicMaterialCount > 0 && model.localMaterialCount == 0) {
        model.publicMaterialCount = int16_t(next);
    } else if (model.publicMaterialCount == 0 && model.localMaterialCount > 0) {
        model.localMaterialCount = int16_t(next);
    } else {
        model.localMaterialCount = int16_t(next);
        model.publicMaterialCount = 0;
    }
}

std::string displayName(const ShipModel& model, const PeoMaterial& m) {
    return m.texture >= 0 && size_t(m.texture) < model.textures.size() ? model.textures[size_t(m.texture)].name
                                                                       : std::string();
}

}  // namespace

MaterialMerge mergeDuplicateMaterialsPairwise(ShipModel& model, const MaterialLogLine& log) {
    MaterialMerge result;
    const int n = model.materialCount();
    std::vector<int> duplicateOf(size_t(n), -1), newIndex(size_t(n), -1);
    int d = 0;
    for (int i = 0; i + 1 < n; ++i) {
        for (int k = i + 1; k < n; ++k) {
            if (duplicateOf[size_t(k)] != -1) continue;
            auto& a = model.materials[size_t(i)];
            auto& b = model.materials[size_t(k)];
            resetLighting(a);
            resetLighting(b);
            if (sameTextureAndFlags(a, b)) {
                duplicateOf[size_t(k)] = i;
                ++d;
            }
        }
    }
    result.duplicates = d;
    if (d == 0) return result;
    logDuplicates(log, d, n);
    checkPolygonLimit(model);
    int next = 0;
    for (int m = 0; m < n; ++m) {
        if (duplicateOf[size_t(m)] != -1) continue;
        model.materials[size_t(next)] = model.materials[size_t(m)];
        newIndex[size_t(m)] = next;
        for (int k = 0; k < n; ++k)
            if (duplicateOf[size_t(k)] == m) newIndex[size_t(k)] = next;
        for (auto& object : model.peoObjects) {
            for (auto& polygon : object.polygons) {
                const int p = polygon.material;
                if (p == m || (p >= 0 && p < n && duplicateOf[size_t(p)] == m)) polygon.material = next;
            }
        }
        ++next;
    }
    finishMerge(model, next, log);
    result.oldToNew = std::move(newIndex);
    return result;
}

MaterialMerge mergeDuplicateMaterials(ShipModel& model, const MaterialLogLine& log) {
    MaterialMerge result;
    const int n = model.materialCount();
    if (n < 2) return result;
    for (auto& m : model.materials) resetLighting(m);

    // Key: the texture and the six flags; value: the lowest index with them.
    std::unordered_map<uint32_t, int> firstWith;
    firstWith.reserve(size_t(n));
    std::vector<int> oldToNew(size_t(n), -1);
    std::vector<int> survivorOf(size_t(n), -1);
    int d = 0, next = 0;
    for (int i = 0; i < n; ++i) {
        const auto& m = model.materials[size_t(i)];
        const uint32_t key = uint32_t(uint16_t(m.texture)) << 6 | uint32_t(m.smoothing) | uint32_t(m.flatShaded) << 1 |
                             uint32_t(m.twoSided) << 2 | uint32_t(m.baseColour) << 3 | uint32_t(m.stripeColour) << 4 |
                             uint32_t(m.selfIlluminated) << 5;
        auto [it, inserted] = firstWith.try_emplace(key, i);
        if (inserted) {
            survivorOf[size_t(i)] = i;
            oldToNew[size_t(i)] = next++;
        } else {
            survivorOf[size_t(i)] = it->second;
            oldToNew[size_t(i)] = oldToNew[size_t(it->second)];
            ++d;
        }
    }
    result.duplicates = d;
    if (d == 0) return result;
    logDuplicates(log, d, n);
    checkPolygonLimit(model);
    for (int i = 0; i < n; ++i)
        if (survivorOf[size_t(i)] == i) model.materials[size_t(oldToNew[size_t(i)])] = model.materials[size_t(i)];
    for (auto& object : model.peoObjects)
        for (auto& polygon : object.polygons)
            if (polygon.material >= 0 && polygon.material < n) polygon.material = oldToNew[size_t(polygon.material)];
    finishMerge(model, next, log);
    result.oldToNew = std::move(oldToNew);
    return result;
}

void showMaterials(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "showMaterials", "", [&] {
        auto& page = *ctx.materialsPage;
        const auto log = [&](const std::string& line) { addToLog(ctx, line); };
        log("Loading materials....");
        if (ctx.prefs.duplicateMaterials == 1) {
            const MaterialMerge merge = mergeDuplicateMaterials(ctx.model, log);
            if (!merge.oldToNew.empty()) {
                auto& handles = ctx.view.d3dMaterials;
                std::vector<scene::MaterialPtr> kept(size_t(ctx.model.materialCount()));
                for (size_t i = 0; i < merge.oldToNew.size(); ++i) {
                    const size_t to = size_t(merge.oldToNew[i]);
                    if (i < handles.size() && !kept[to]) kept[to] = handles[i];
                }
                if (handles.size() > merge.oldToNew.size())
                    kept.insert(kept.end(), handles.begin() + std::ptrdiff_t(merge.oldToNew.size()), handles.end());
                handles = std::move(kept);
                page.txtPublic = intText(ctx.model.publicMaterialCount);
                page.txtLocal = intText(ctx.model.localMaterialCount);
            }
        }
        for (const auto& m : ctx.model.materials) {
            const std::string name = displayName(ctx.model, m);
            log("  name: " + name);
            const std::pair<bool, const char*> flags[] = {
                {m.smoothing, "    -> Smoothing"},        {m.flatShaded, "    -> Flat Shaded"},
                {m.twoSided, "    -> 2 Sided"},           {m.baseColour, "    -> Base Colour"},
                {m.stripeColour, "    -> Stripe Colour"}, {m.selfIlluminated, "    -> Self Illuminated"}};
            bool any = false;
            for (const auto& [set, line] : flags) {
                if (!set) continue;
                log(line);
                any = true;
            }
            if (!any) log("    -> (no flags set)");
            page.lstMaterial.push_back(name);
        }
    });
}

void cmdAll2sided_Click(EditingContext& ctx) {
    for (auto& m : ctx.model.materials) m.twoSided = true;
}

void cmdSmoothAll_Click(EditingContext& ctx) {
    for (auto& m : ctx.model.materials) m.smoothing = true;
}

void cmdSmoothObj_Click(EditingContext& ctx) {
    const int selected = ctx.objects.selectedObject;
    if (selected < 0 || selected >= ctx.model.objectCount()) return;
    for (const auto& polygon : ctx.model.peoObjects[size_t(selected)].polygons)
        if (polygon.material >= 0 && polygon.material < ctx.model.materialCount())
            ctx.model.materials[size_t(polygon.material)].smoothing = true;
}

void cmdSwapMtl_Click(EditingContext& ctx) {
    auto& page = *ctx.materialsPage;
    const auto count = [](const std::string& text) -> std::optional<int16_t> {
        const auto value = parseNumber(text);
        if (!value) return std::nullopt;
        const double rounded = roundHalfEven(*value);
        if (!(rounded >= 0 && rounded <= 32767)) return std::nullopt;
        return int16_t(rounded);
    };
    const auto publicCount = count(page.txtPublic);
    const auto localCount = count(page.txtLocal);
    if (!publicCount || !localCount) {
        ctx.prompts().messageBox(kMaterialCountText, ctx.version.appTitle, PromptIcon::None);
        return;
    }
    page.txtPublic = intText(*localCount);
    page.txtLocal = intText(*publicCount);
    ctx.model.publicMaterialCount = *localCount;
    ctx.model.localMaterialCount = *publicCount;
}

std::string materialListText(const ShipModel& model) {
    std::string text;
    text.reserve(model.materials.size() * 420);
    // Each line is appended in place, its parts one after the other.
    const auto line = [&](std::string_view head, std::string_view value) {
        text.append(head).append(value).append("\r\n");
    };
    const auto colours = [&](std::string_view head, const ColourBytes& c) {
        text.append(head).append(intText(c[2])).append(" ").append(intText(c[1])).append(" ");
        text.append(intText(c[0])).append("\r\n");
    };
    const auto flag = [](bool set) { return set ? std::string_view("True") : std::string_view("False"); };
    const std::string dashes(39, '-');
    for (const auto& m : model.materials) {
        line("Material (texture) name: ", displayName(model, m));
        colours("  Ambient colours: ", m.ambient);
        colours("  Diffuse colours: ", m.diffuse);
        colours("  Specular colours: ", m.specular);
        line("  'Smoothing' flag: ", flag(m.smoothing));
        line("  'Two-sided' flag: ", flag(m.twoSided));
        line("  'Self-illumination' flag: ", flag(m.selfIlluminated));
        line("  'Base-colour' flag: ", flag(m.baseColour));
        line("  'Stripe-colour' flag: ", flag(m.stripeColour));
        line("  'Flat-shaded' flag: ", flag(m.flatShaded));
        line("  'kAlpha': ", floatText(m.kAlpha));
        line("  'Full-ambient': ", intText(m.fullAmbient));
        line(dashes, "");
    }
    return text;
}

std::string materialListPath(const std::string& modelPath) { return replaceExtension(modelPath, "hml"); }

void saveMaterialList(EditingContext& ctx) {
    const std::filesystem::path path = materialListPath(ctx.currentModelPath);
    std::string bytes;
    std::error_code ec;
    if (std::filesystem::exists(path, ec)) {
        const auto existing = readWholeFile(path);
        bytes.assign(existing.begin(), existing.end());
    }
    bytes += materialListText(ctx.model);
    writeFileAtomically(path, std::string_view(bytes));
}

void cmdSaveMtl_Click(EditingContext& ctx) {
    trapErrors(ctx, "frmTARV", "cmdSaveMtl_Click", "", [&] {
        saveMaterialList(ctx);
        ctx.prompts().messageBox("Material list saved. Use NotePad to view the .HML-file in your PEO directory.",
                                 ctx.version.appTitle, PromptIcon::None);
    });
}

}  // namespace tarv
