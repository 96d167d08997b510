#pragma once

#include <string_view>

// The program's logger. The game writes no log by default; setting the
// environment variable QUAVERO_LOG sends every line to standard error as
// "[tag] message", without any caller having to change.
class TLogger {
public:
    TLogger();
    void LogMessage(std::string_view message, std::string_view tag);
    void LogError(std::string_view message, std::string_view tag);

private:
    void write(std::string_view kind, std::string_view message, std::string_view tag);
    bool enabled_;
};

// The one logger of the process.
TLogger& Logger();

// Logs a message with the tag "Game", as everything outside the main program does.
void GameLog(std::string_view message);
