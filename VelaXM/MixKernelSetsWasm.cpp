#include "VelaXM/MixKernelSets.h"

namespace velaxm {

// WebAssembly has no run-time processor check to make: the SSE2 routines,
// translated to WebAssembly SIMD, run in every engine that loads the module.
const std::vector<MixKernelSet>& availableMixKernels()
{
    static const std::vector<MixKernelSet> sets{{"scalar", &kMixRoutines}, {"simd128", &sse2MixRoutines()}};
    return sets;
}

const MixRoutineTable& activeMixRoutines()
{
    static const MixRoutineTable& active = *availableMixKernels().back().routines;
    return active;
}

} // namespace velaxm
