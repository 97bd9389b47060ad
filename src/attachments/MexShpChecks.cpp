#include "attachments/MexShpChecks.h"

#include "model/LoadSummary.h"

#include <algorithm>

#include "base/NumberText.h"
#include "editor/context/EditingContext.h"

namespace tarv {

namespace {

const char* const kCrLf = "\r\n";

std::string lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return text;
}

bool equalIgnoringCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && lower(a) == lower(b);
}

bool beginsIgnoringCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && lower(text.substr(0, start.size())) == lower(start);
}

template <class List, class Name>
bool listed(const List& list, int16_t count, const std::string& name, Name nameOf) {
    const size_t n = std::min(list.size(), size_t(std::max<int16_t>(count, 0)));
    for (size_t i = 0; i < n; ++i)
        if (equalIgnoringCase(nameOf(list[i]), name)) return true;
    return false;
}

template <class List, class Name>
std::unordered_set<std::string> lowerSet(const List& list, int16_t count, Name nameOf) {
    std::unordered_set<std::string> set;
    const size_t n = std::min(list.size(), size_t(std::max<int16_t>(count, 0)));
    for (size_t i = 0; i < n; ++i) set.insert(lower(nameOf(list[i])));
    return set;
}

const std::string& self(const std::string& s) { return s; }
const std::string& dockName(const ShpDockPoint& p) { return p.name; }

// A finding: a message box for Homeworld, a summary line for Cataclysm.
void report(EditingContext& ctx, bool cataclysm, const std::string& text) {
    if (cataclysm)
        addToLoadSummary(ctx, text);
    else
        ctx.prompts().messageBox(text, ctx.version.appTitle, PromptIcon::None);
}

void makeBlue(MexChunk& chunk) { chunk.colour = ChunkColour{0, 0, 255}; }

}  // namespace

int64_t distinctDockPointCount(const ShipDefinition& shp) {
    return int64_t(lowerSet(shp.shpDockPoints, shp.shpDockCount, dockName).size());
}

MexPointLookup::MexPointLookup(const EditingContext& ctx) {
    const ShipDefinition& shp = ctx.shp;
    dock_ = lowerSet(shp.shpDockPoints, shp.shpDockCount, dockName);
    salvage_ = lowerSet(shp.shpSalvagePoints, shp.shpSalvageCount, self);
    lights_ = lowerSet(shp.shpNavLights, shp.shpNavLightCount, self);
}

void MexPointLookup::addChunk(int index, const std::string& pointName) {
    if (beginsIgnoringCase(pointName, "TOW") || beginsIgnoringCase(pointName, "POINT"))
        notBlueYet_[pointName].push_back(index);
}

bool findInShp(EditingContext& ctx, const std::string& kind, const std::string& name, MexPointLookup* lookup) {
    const ShipDefinition& shp = ctx.shp;
    if (kind == "dock") {
        const bool found =
            lookup ? lookup->dock_.count(lower(name)) > 0 : listed(shp.shpDockPoints, shp.shpDockCount, name, dockName);
        if (beginsIgnoringCase(name, "TOW") || beginsIgnoringCase(name, "POINT")) {
            ctx.mex.catSalvageDockCount = toInt16(int64_t(ctx.mex.catSalvageDockCount) + 1);
            auto& chunks = ctx.mex.mexChunks;
            if (lookup) {
                // A chunk once blue stays blue for the rest of the read, so each is coloured once.
                auto it = lookup->notBlueYet_.find(name);
                if (it != lookup->notBlueYet_.end()) {
                    for (int i : it->second)
                        if (i >= 0 && size_t(i) < chunks.size() && chunks[size_t(i)].pointName == name)
                            makeBlue(chunks[size_t(i)]);
                    it->second.clear();
                }
            } else {
                for (auto& chunk : chunks)
                    if (chunk.pointName == name) makeBlue(chunk);
            }
        }
        return found;
    }
    if (kind == "salv")
        return lookup ? lookup->salvage_.count(lower(name)) > 0
                      : listed(shp.shpSalvagePoints, shp.shpSalvageCount, name, self);
    if (kind == "light")
        return lookup ? lookup->lights_.count(lower(name)) > 0
                      : listed(shp.shpNavLights, shp.shpNavLightCount, name, self);
    return false;
}

void checkMexPoint(EditingContext& ctx, char letter, const std::string& name, bool cataclysm, MexPointLookup* lookup) {
    if (ctx.shp.noShpLoaded) return;
    if (letter == 'k') {
        if (!findInShp(ctx, "dock", name, lookup))
            report(ctx, cataclysm,
                   cataclysm ? "Dock point " + name + " in MEX not found in SHP-file."
                             : "Dock point " + name + " not found in SHP-file.");
    } else if (letter == 's') {
        if (!findInShp(ctx, cataclysm ? "dock" : "salv", name, lookup))
            report(ctx, cataclysm,
                   cataclysm ? "Salvage point " + name + " in MEX not found in SHP-file."
                             : "Salvage point " + name + " not found in SHP-file!");
    } else if (letter == 'n' && !cataclysm) {
        if (!findInShp(ctx, "light", name, lookup)) report(ctx, false, "Navlight " + name + " not found in SHP-file!");
    }
}

void runMexFinalChecks(EditingContext& ctx, bool cataclysm) {
    const ShipDefinition& shp = ctx.shp;
    const MexChunkTable& mex = ctx.mex;
    if (shp.noShpLoaded) return;
    auto n = [](int64_t v) { return intText(v); };

    // 1. Cataclysm salvage points are dock points of a salvage dock type.
    if (cataclysm && shp.shpCatSalvageCount != mex.mexSalvageCount)
        addToLoadSummary(ctx, "The number of 'Cataclysm'-type salvage points among " + n(shp.shpDockCount) +
                                  " dock points in your SHP-file does not match the number of salvage points "
                                  "found in your MEX file (resp. " +
                                  n(shp.shpCatSalvageCount) + ", and " + n(mex.mexSalvageCount) + ")." + kCrLf);

    // 2. The ship definition's declared numbers against its own entries.
    struct Declared {
        int16_t read, declared;
        const char* text;
    };
    const Declared declared[] = {
        {shp.shpGunCount, shp.shpNumberOfGuns,
         "The 'NUMBER_OF_GUNS' parameter in the SHP-file does not correspond to the number of guns found in the "
         "SHP-file."},
        {shp.shpNavLightCount, shp.shpNumberOfNavLights,
         "The 'NUMBER_OF_NAV_LIGHTS' parameter in the SHP-file does not correspond to the number of navlights "
         "found in the SHP-file."},
        {shp.shpDockCount, shp.shpNumberOfDockPoints,
         "The 'NUMBER_OF_DOCK_POINTS' parameter in the SHP-file does not correspond to the number of dock points "
         "found in the SHP-file."},
        {shp.shpSalvageCount, shp.shpNumberOfSalvagePoints,
         "The 'NUMBER_OF_SALVAGE_POINTS' parameter in the SHP-file does not correspond to the number of salvage "
         "points found in the SHP-file."},
    };
    for (const auto& d : declared)
        if (d.read != d.declared) report(ctx, cataclysm, d.text);

    // 3. Guns.
    if (mex.mexGunCount != shp.shpGunCount) {
        if (cataclysm)
            addToLoadSummary(
                ctx,
                "The number of guns found in your MEX-file does not correspond to the number of guns found in "
                "your SHP-file (resp. " +
                    n(mex.mexGunCount) + " and " + n(shp.shpGunCount) +
                    "). In original "
                    "Cataclysm, then Pirate Outpost, the Worker, the RepairDroid, the Leech, the MCV, the Mimic, and "
                    "the RammingFrigate have no GUN set in their SHP-file (in the RammingFrigate.shp file, in the "
                    "MCV.shp file, and in the Mimic.shp file, 'NUMBER_OF_GUNS is set to zero)." +
                    kCrLf);
        else
            report(ctx, false,
                   std::string("The number of guns found in your MEX-file does not correspond") + kCrLf +
                       " to the number of guns found in your SHP-file (resp. " + n(mex.mexGunCount) + " and " +
                       n(shp.shpGunCount) + ")." + kCrLf + kCrLf +
                       "  (In the original game, only the SalCapCorvette and" + kCrLf +
                       "    the ResourceCollector have no GUN set in their SHP-file).");
    }

    // 4. Nav lights.
    if (mex.mexNavLightCount != shp.shpNavLightCount) {
        if (cataclysm)
            addToLoadSummary(ctx,
                             "The number of navlights found in your MEX-file does not correspond to the "
                             "number of navlights found in your SHP-file (resp. " +
                                 n(mex.mexNavLightCount) + " and " + n(shp.shpNavLightCount) + ")." + kCrLf);
        else
            report(ctx, false,
                   std::string("The number of navlights found in your MEX-file does not correspond") + kCrLf +
                       " to the number of navlights found in your SHP-file (resp. " + n(mex.mexNavLightCount) +
                       " and " + n(shp.shpNavLightCount) + ")." + kCrLf);
    }

    // 5. Dock points (with the salvage points for Cataclysm, whose salvage points are dock points). The
    // games match dock points to chunks by name, and a ship definition may list one chunk twice (an in and
    // an out path), so its side counts distinct names.
    const int64_t shpDocks = distinctDockPointCount(shp);
    if (cataclysm) {
        const int64_t docks = int64_t(mex.mexDockCount) + mex.mexSalvageCount;
        if (docks != shpDocks)
            addToLoadSummary(ctx,
                             "The number of dock and salvage points found in your MEX-file does not "
                             "correspond to the number of dock points found in your SHP-file (resp. " +
                                 n(docks) + " and " + n(shpDocks) + ")." + kCrLf);
    } else if (mex.mexDockCount != shpDocks) {
        report(ctx, false,
               std::string("The number of dock points found in your MEX-file does not correspond") + kCrLf +
                   " to the number of dock points found in your SHP-file (resp. " + n(mex.mexDockCount) + " and " +
                   n(shpDocks) + ")." + kCrLf);
    }

    // 6. Salvage points (Homeworld).
    if (!cataclysm && mex.mexSalvageCount != shp.shpSalvageCount)
        report(ctx, false,
               std::string("The number of salvage points found in your MEX-file does not correspond") + kCrLf +
                   " to the number of salvage points found in your SHP-file (resp. " + n(mex.mexSalvageCount) +
                   " and " + n(shp.shpSalvageCount) + ")." + kCrLf);

    // 7. Dock points recognised as possible Cataclysm salvage points.
    if (cataclysm && mex.catSalvageDockCount > 0 && shp.shpCatSalvageCount != mex.mexSalvageCount)
        addToLoadSummary(ctx, "TARV identified " + n(mex.catSalvageDockCount) +
                                  " dock points as possible Cataclysm salvage points among " +
                                  n(int64_t(mex.mexDockCount) + mex.mexSalvageCount) +
                                  " dock and salvage points in your MEX file.");
}

}  // namespace tarv
