#pragma once
// The preview of one model object (module "modPeo"): a mesh of one face per polygon (and a reversed
// second face for two-sided materials), the object's own colour, and a parentless frame "peo_" & name
// that carries the mesh. The caller links the frame into the scene, marks it shown and poses it.
#include <cstdint>
#include "preview/state/ViewState.h"

namespace tarv {

class EditingContext;

// Builds viewObjects(objNo) afresh from peoObjects(objNo), with its status texts, log lines and
// progress. No trap of its own: errors reach the caller. A polygon whose corner lies outside the vertex
// list gets no face at all (the reader has already logged it).
void create3dObject(EditingContext& ctx, int16_t objNo);

// create3dObject's mesh (the same faces, log lines, colour and size) put on the object's existing frame,
// which keeps its parent, pose and child frames; the new mesh replaces the old one as the frame's visual
// when attach is true (the object is then shown), and is kept unattached otherwise. No trap of its own.
void rebuild3dObjectMesh(EditingContext& ctx, int16_t objNo, bool attach);

// The object's own colour: red = green = objNo / objectCount (64-bit, stored as a 32-bit float), blue
// 1 - red.
ViewColour objectOwnColour(int objNo, int objectCount);

}  // namespace tarv
