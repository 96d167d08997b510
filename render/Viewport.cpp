#include "render/Viewport.h"

#include <cmath>

Viewport ComputeViewport(int32_t windowWidth, int32_t windowHeight)
{
    Viewport viewport;
    if (static_cast<double>(windowWidth) / windowHeight < 5.0 / 3.0) {
        viewport.width = windowWidth;
        viewport.height = static_cast<int32_t>(std::lround(int64_t(windowWidth) * 480 / 800.0));
    } else {
        viewport.width = static_cast<int32_t>(std::lround(int64_t(windowHeight) * 800 / 480.0));
        viewport.height = windowHeight;
    }
    viewport.left = static_cast<int32_t>(static_cast<uint32_t>(windowWidth - viewport.width) >> 1);
    viewport.top = static_cast<int32_t>(static_cast<uint32_t>(windowHeight - viewport.height) >> 1);
    return viewport;
}

VirtualPoint WindowToVirtual(const Viewport& viewport, int32_t x, int32_t y)
{
    return {static_cast<float>(x - viewport.left) * VirtualWidth / static_cast<float>(viewport.width),
            static_cast<float>(y - viewport.top) * VirtualHeight / static_cast<float>(viewport.height)};
}
