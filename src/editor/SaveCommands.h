#pragma once
// The main window's save commands: File > Save > "&All", "&PEO only", "&MEX only", "MA&D only", the two
// variant items, and "S&ave As...". No command deletes a file before writing it: every .peo goes through
// the writer's atomic save, so an old file is replaced only by a complete new one; "&All" writes its .peo,
// .mex and .mad as one set, all of them or none.
#include <string>
#include <vector>

namespace tarv {

class EditingContext;

// The base names, up to and including the "." to which "peo", "mex" or "mad" is added.
// They come from the document's own files (what the ship on screen was loaded from), never from a label.
// Rule B: the model path up to and including its last ".".
std::string saveBaseRuleB(const EditingContext& ctx);
// Rule A: the folder of the ship definition the model came from & the model's file name up to its last
// "."; rule B when the model was not opened through a ship definition.
std::string saveBaseRuleA(const EditingContext& ctx);

// "S&ave As..." offers this filter and the model's own name with ".peo".
inline constexpr const char* kSaveAsFilter = "Geometry Files (*.peo)|*.peo";
// True for a name ending (in any letter case) in one of the editor's other file kinds: .shp, .lod, .mex,
// .mad, .lif, .smd. Save As refuses such a name and shows the dialog again.
bool isOtherEditorFileKind(const std::string& path);
// The message Save As shows for such a name (its file name part).
std::string saveAsOtherKindText(const std::string& fileName);

// The description of the error report when "&All" writes nothing: the file that failed and why.
std::string saveAllFailedText(const std::string& file, const std::string& reason);
// The description when "&All" replaced some files of its set and then failed: which were replaced, which not.
std::string saveAllPartlyDoneText(const std::vector<std::string>& replaced, const std::vector<std::string>& kept,
                                  const std::string& reason);

// Each traps its errors through the error report. Each does nothing while its menu item is disabled (no
// model read).
void mnuSaveAll_Click(EditingContext& ctx);
void mnuSavePeo_Click(EditingContext& ctx);
void mnuSaveMex_Click(EditingContext& ctx);
void mnuSaveMad_Click(EditingContext& ctx);
void mnuFileSaveAs_Click(EditingContext& ctx);
// The variant items: tick one, store DefaultFileFormat ("1026" or "1280").
void mnuSaveTypeHW_Click(EditingContext& ctx);
void mnuSaveTypeHWC_Click(EditingContext& ctx);

}  // namespace tarv
