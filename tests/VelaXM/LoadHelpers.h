#pragma once

#include "VelaXM/Module.h"
#include "VelaXM/ModuleWriter.h"

#include <memory>

namespace xmtest {

// Loads an image into a fresh module (modules are large, so they live on the heap).
inline std::unique_ptr<TVelaXMModule> load(const Bytes& image, bool* ok = nullptr)
{
    auto module = std::make_unique<TVelaXMModule>();
    const bool loaded = module->Load(image.data(), static_cast<uint32_t>(image.size()));
    if (ok != nullptr)
        *ok = loaded;
    return module;
}

inline TVelaXMPatternNote cell(
    int32_t note, int32_t instrument = 0, int32_t volume = 0, int32_t effect = 0, int32_t parameter = 0)
{
    return TVelaXMPatternNote{note, instrument, volume, effect, parameter};
}

} // namespace xmtest
