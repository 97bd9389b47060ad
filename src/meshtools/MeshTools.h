#pragma once
// The mesh tools of the " Mesh Tools " page: vertex welding and polygon clean-up, LOD reduction, the loose-end
// fix and the watertightness test with hole mending. They change the model in memory only. Each command runs
// its per-object work through a kernel set (the production forms by default).
//
// Before any change every command checks each object it would touch: more than 32767 vertices, a polygon
// naming a vertex outside its object or a material that does not exist, or such a material naming a texture
// that does not exist. A live object that fails stops the command with a box and nothing changes; a deleted
// object that fails is left out of the run.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "meshtools/MeshKernels.h"

namespace tarv {

class EditingContext;

// The title of the weld's report boxes.
inline const char* const kDuplicateVerticesTitle = "TARV duplicate vertices check";
// The title of the loose-end fix's report box.
inline const char* const kLooseEndTitle = "TARV Loose End Fix";
// The title of the mending question.
inline const char* const kFaceFixTitle = "TARV face-fix";
inline const char* const kGoLodRefusal = "Please enter a number between 5 and 20";

// The first reason an object cannot be worked on, or nullopt.
std::optional<std::string> meshToolsObjectFault(const EditingContext& ctx, int objNo);

// The weld over every object (deleted ones included); remove welds and runs the polygon clean-up. Returns the
// report, or nullopt when the check refused the run (its box shown). Sets no error context of its own.
std::optional<std::string> weldModel(EditingContext& ctx, bool remove, const MeshKernels& kernels = fastMeshKernels());
// The weld's report, empty after a refusal.
std::string remDupVertices(EditingContext& ctx, bool remove, const MeshKernels& kernels = fastMeshKernels());
// Removes degenerate and duplicate polygons and the back of each back-to-back pair; an emptied object is
// deleted with its subtree. Returns the report, empty when nothing was removed. Traps its errors ("modPeo").
std::string remPolyOverhead(EditingContext& ctx, const MeshKernels& kernels = fastMeshKernels());
// Deletes an object left without polygons: its sharers are re-pointed, the node with key "o" & objNo and its
// subtree are deleted and every node expanded; without such a node only the sharers are re-pointed. Traps its
// errors ("modPeo").
void remLowPolObject(EditingContext& ctx, int16_t objNo);
// "Check" and "Remove": the weld's report in a box. Trap their errors ("frmTARV").
void checkDupes_Click(EditingContext& ctx, const MeshKernels& kernels = fastMeshKernels());
void remDupes_Click(EditingContext& ctx, const MeshKernels& kernels = fastMeshKernels());

// The LOD merge distance for a level and an extent of object 0.
float lodDistance(int level, float extent);
// Reduces every object with the level, runs the polygon clean-up, reports, and rebuilds the preview when at
// least one vertex was removed. Refuses an object 0 without extent along the axis in use; does nothing
// without objects.
void reduceToLOD(EditingContext& ctx, int16_t level, LodSymmetry symmetry,
                 const MeshKernels& kernels = fastMeshKernels());
// "LOD1 !" .. "LOD4 !" (level 1 to 4) and "Go !" (the text of txtHighLOD). Trap their errors ("frmTARV").
void CreateLOD_Click(EditingContext& ctx, int level, LodSymmetry symmetry,
                     const MeshKernels& kernels = fastMeshKernels());
void cmdGoLOD_Click(EditingContext& ctx, const std::string& txtHighLOD, LodSymmetry symmetry,
                    const MeshKernels& kernels = fastMeshKernels());

// The loose-end fix; returns its report (empty after an error or a refusal). Traps its errors ("modPeo").
std::string FixMesh(EditingContext& ctx, const MeshKernels& kernels = fastMeshKernels());
// "Mesh fix-up". Traps its errors ("frmTARV").
void cmdFixMesh_Click(EditingContext& ctx, const MeshKernels& kernels = fastMeshKernels());

// The watertightness test: one verdict per live object and, with more than two single-sided open edges, the
// offer to mend triangular holes.
void checkWaterproof(EditingContext& ctx, const MeshKernels& kernels = fastMeshKernels());
// "Watertightness". Traps its errors ("frmTARV").
void cmdWaterProof_Click(EditingContext& ctx, const MeshKernels& kernels = fastMeshKernels());

}  // namespace tarv
