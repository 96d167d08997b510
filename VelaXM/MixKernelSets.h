#pragma once

// The versions of the mix routine family: the scalar templates (the reference,
// and the only version on processors other than x86-64) and vector versions
// that give bit-identical results. The fastest version this processor runs is
// chosen once, on first use. The build decides which versions exist at all:
// MixKernelSets.cpp for native processors, MixKernelSetsWasm.cpp for WebAssembly.
#include "VelaXM/MixKernels.h"

#include <vector>

namespace velaxm {

using MixRoutineTable = std::array<MixRoutine, kRoutineCount>;

// One version of the whole family.
struct MixKernelSet {
    const char* name;                // "scalar", "sse2", "avx2"
    const MixRoutineTable* routines; // indexed by routineIndex
};

// Every version this processor runs, the scalar one first and the fastest last.
const std::vector<MixKernelSet>& availableMixKernels();
// The fastest version this processor runs.
const MixRoutineTable& activeMixRoutines();

// The scalar table with vector routines for the common voices (mono sample,
// stereo output, no filter) put in; the other combinations stay scalar. Only
// the builds that compile their kernels define them.
const MixRoutineTable& sse2MixRoutines();
const MixRoutineTable& avx2MixRoutines();

} // namespace velaxm
