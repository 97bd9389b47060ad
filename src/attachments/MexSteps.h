#pragma once
// The mesh extras' part of the load road: attaching the .mex beside the model.
namespace tarv {

class EditingContext;

// The model's .mex (found without regard to case): the backup offer, then it is read into the chunk
// table. Traps its errors ("frmTARV", "checkForMex").
void checkForMex(EditingContext& ctx);
// Fills the load road's mesh-extras step.
void connectAttachments(EditingContext& ctx);

}  // namespace tarv
