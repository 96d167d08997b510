#include "render/Logger.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>

TLogger::TLogger() : enabled_(std::getenv("QUAVERO_LOG") != nullptr) {}

void TLogger::LogMessage(std::string_view message, std::string_view tag) { write("", message, tag); }

void TLogger::LogError(std::string_view message, std::string_view tag) { write("error: ", message, tag); }

void TLogger::write(std::string_view kind, std::string_view message, std::string_view tag)
{
    if (!enabled_)
        return;
    // Three threads log; one line must not interleave with another.
    static std::mutex lineLock;
    std::lock_guard guard(lineLock);
    std::fprintf(stderr, "[%.*s] %.*s%.*s\n", int(tag.size()), tag.data(), int(kind.size()), kind.data(),
                 int(message.size()), message.data());
    std::fflush(stderr);
}

TLogger& Logger()
{
    static TLogger logger;
    return logger;
}

void GameLog(std::string_view message) { Logger().LogMessage(message, "Game"); }
