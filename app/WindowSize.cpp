#include "app/WindowSize.h"

#include <algorithm>
#include <charconv>
#include <cstring>

namespace {

int32_t parseSize(const char* text, int32_t fallback)
{
    int32_t value = 0;
    const char* end = text + std::strlen(text);
    const auto [rest, error] = std::from_chars(text, end, value);
    if (error != std::errc() || rest != end || value <= 0)
        return fallback;
    return value;
}

// Brings one side down to 90 % of the desktop's matching side, scaling the
// other side with it (truncating); neither side ends below one pixel.
void shrinkToLimit(int32_t& side, int32_t& otherSide, int32_t desktopSide)
{
    if (desktopSide <= 0)
        return;
    const int32_t limit = desktopSide * 90 / 100;
    if (side >= limit) {
        otherSide = static_cast<int32_t>(int64_t(otherSide) * limit / side);
        side = limit;
    }
    side = std::max(side, 1);
    otherSide = std::max(otherSide, 1);
}

} // namespace

CommandLine ParseCommandLine(int argc, const char* const* argv)
{
    CommandLine line;
    if (argc > 1)
        line.width = parseSize(argv[1], line.width);
    if (argc > 2)
        line.height = parseSize(argv[2], line.height);
    if (argc > 3)
        line.fullScreen = std::strcmp(argv[3], "f") == 0;
    return line;
}

WindowSize ClampToDesktop(WindowSize window, int32_t desktopWidth, int32_t desktopHeight)
{
    shrinkToLimit(window.width, window.height, desktopWidth);
    shrinkToLimit(window.height, window.width, desktopHeight);
    return window;
}
