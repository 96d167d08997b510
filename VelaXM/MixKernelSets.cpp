#include "VelaXM/MixKernelSets.h"

namespace velaxm {

const std::vector<MixKernelSet>& availableMixKernels()
{
    static const std::vector<MixKernelSet> sets = [] {
        std::vector<MixKernelSet> list{{"scalar", &kMixRoutines}};
#if defined(__x86_64__)
        list.push_back({"sse2", &sse2MixRoutines()}); // every x86-64 processor has SSE2
        __builtin_cpu_init();
        if (__builtin_cpu_supports("avx2"))
            list.push_back({"avx2", &avx2MixRoutines()});
#endif
        return list;
    }();
    return sets;
}

const MixRoutineTable& activeMixRoutines()
{
    static const MixRoutineTable& active = *availableMixKernels().back().routines;
    return active;
}

} // namespace velaxm
