#pragma once
// The files of the ship on screen: what a load leaves behind when it fails, the record a successful load
// sets, and the refusals of the save commands that would write a model its file cannot take.
#include <string>

#include "attachments/state/ShipDefinition.h"
#include "meshtools/state/LodFileSet.h"

namespace tarv {

class EditingContext;

// What a load of another file changes before it knows whether that file loads: taken before, put back when
// the file is refused and the ship on screen stays.
struct KeptShip {
    ShipDefinition shp;
    LodFileSet lod;
    std::string lblKey;
    std::string dxLabel;
    std::string modelPath;
};
KeptShip keepShip(const EditingContext& ctx);
// Puts the kept state back and says in the status line that refusedFile was not loaded.
void restoreKeptShip(EditingContext& ctx, KeptShip&& kept, const std::string& refusedFile);
// The status line after a refused file when the ship before it stays.
std::string notLoadedStatusText(const std::string& refusedFile);

// The last step of a successful load: the files just read become the document's own.
void recordDocumentFiles(EditingContext& ctx);

// Damage of the model in memory that the .peo reader does not refuse but our writer would write back:
// polygon indices outside their lists. Empty when there is none.
std::string modelDamage(const EditingContext& ctx);

// The refusal of a save that would write the model to file, or empty when the save may go on: the model
// holds no object a reader would take, or (when file is the document's own .peo, ownFile) that file was read
// with damage.
std::string overwriteRefusal(const EditingContext& ctx, const std::string& file, bool ownFile);
std::string damagedFileRefusalText(const std::string& file, const std::string& damage);
std::string emptyModelRefusalText(const std::string& file);
// The note the load summary gets for a file read with damage.
std::string readWithDamageNote(const std::string& file, const std::string& damage);

// Finishes or undoes the interrupted saves in the folder of file and logs what it found. Never fails.
void finishInterruptedSavesBeside(EditingContext& ctx, const std::string& file);

}  // namespace tarv
