#pragma once
// The mesh tools' per-object steps in their literal form: the pairwise and triple loops exactly as the tools
// were first described. Quadratic or cubic; linked only by tests and benchmarks, which prove the production
// forms of fastMeshKernels identical to these.
#include "meshtools/MeshKernels.h"

namespace tarv {

const MeshKernels& literalMeshKernels();

}  // namespace tarv
