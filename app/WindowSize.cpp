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
    if (desktopWidth > 0) {
        const int32_t limit = desktopWidth * 90 / 100;
        if (window.width >= limit) {
            window.height = static_cast<int32_t>(int64_t(window.height) * limit / window.width);
            window.width = limit;
        }
        window.height = std::max(window.height, 1);
    }
    if (desktopHeight > 0) {
        const int32_t limit = desktopHeight * 90 / 100;
        if (window.height >= limit) {
            window.width = static_cast<int32_t>(int64_t(window.width) * limit / window.height);
            window.height = limit;
        }
    }
    window.width = std::max(window.width, 1);
    window.height = std::max(window.height, 1);
    return window;
}
