#pragma once
// The main window's save commands: File > Save > "&All", "&PEO only", "&MEX only", "MA&D only", the two
// variant items, and "S&ave As...". No command deletes a file before writing it: every .peo goes through
// the writer's atomic save, so an old file is replaced only by a complete new one.
#include <string>

namespace tarv {

class EditingContext;

// The base names, up to and including the "." to which "peo", "mex" or "mad" is added.
// Rule B: the model path up to and including its last ".".
std::string saveBaseRuleB(const EditingContext& ctx);
// Rule A: the folder of the ship definition the model came from & the model's file name up to its last
// "."; rule B when the model was not opened through a ship definition.
std::string saveBaseRuleA(const EditingContext& ctx);

// Each traps its errors through the error report.
void mnuSaveAll_Click(EditingContext& ctx);
void mnuSavePeo_Click(EditingContext& ctx);
void mnuSaveMex_Click(EditingContext& ctx);
void mnuSaveMad_Click(EditingContext& ctx);
void mnuFileSaveAs_Click(EditingContext& ctx);
// The variant items: tick one, store DefaultFileFormat ("1026" or "1280").
void mnuSaveTypeHW_Click(EditingContext& ctx);
void mnuSaveTypeHWC_Click(EditingContext& ctx);

} // namespace tarv
