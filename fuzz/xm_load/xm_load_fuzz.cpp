// Feeds arbitrary bytes to the module loader and checks that whatever loads is
// a model the player can walk safely.
#include "VelaXM/Module.h"

#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void checkModel(const TVelaXMModule& m)
{
    require(m.NumChannels >= 0 && m.NumChannels <= 255);
    for (const TVelaXMPattern& p : m.Patterns)
        require(p.Notes.empty() || p.Notes.size() == static_cast<size_t>(p.Rows + 1) * p.Channels);
    for (const auto& instrument : m.Instruments) {
        if (!instrument)
            continue;
        for (const TVelaXMEnvelope* env : {&instrument->VolumeEnvelope, &instrument->PanningEnvelope})
            require(env->NumPoints >= 0 && env->NumPoints <= 12);
        for (const auto& s : instrument->Samples) {
            if (!s)
                continue;
            require(s->Length >= 0);
            require(s->Data.size() == static_cast<size_t>(s->Length) * s->Channels + 16);
            if (s->Loop)
                require(s->LoopStart >= 0 && s->LoopLength > 0 && int64_t(s->LoopStart) + s->LoopLength <= s->Length);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static auto module = std::make_unique<TVelaXMModule>();
    if (size > 0xFFFFFFFFu)
        return 0;
    if (module->Load(data, static_cast<uint32_t>(size)))
        checkModel(*module);
    else
        require(!module->Loaded);
    return 0;
}
