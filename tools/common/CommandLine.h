#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

// One command-line option: a row of the tool's option table.
struct TOption {
    char shortName;                                    // the letter after "-", or 0 for none
    const char* longName;                              // the word after "--"
    const char* valueName;                             // what the value is, shown in the help; null for a flag
    const char* help;                                  // one line for --help
    std::function<std::string(const char* value)> set; // stores the value; returns an error text or ""
};

// What a tool says about itself in --help.
struct TToolDescription {
    const char* name;     // the program name, prefixed to every error
    const char* synopsis; // the arguments after the options, e.g. "INPUT [OUTPUT]"
    const char* summary;  // one line on what the tool does
    const char* details;  // text printed after the options; may be null
};

// The outcome of reading the command line.
enum class TParseResult { Run, Exit, Error };

// Reads argv against the option table (with --help and --version added),
// collecting the other arguments in order. "--" ends the options and a lone
// "-" is an argument. Exit after --help or --version (printed on stdout);
// Error after an error message on stderr.
TParseResult ParseCommandLine(int argc, char** argv, const TToolDescription& tool, const std::vector<TOption>& options,
                              std::vector<std::string>& arguments);

// Prints the usage line and the option table.
void PrintUsage(std::FILE* out, const TToolDescription& tool, const std::vector<TOption>& options);

// Prints "NAME: message" on stderr.
void PrintError(const TToolDescription& tool, const std::string& message);

// Value readers for TOption::set: an integer in [low, high], or a finite number
// of seconds in [0, high]; on success they store the value and return "".
std::string ReadInteger(const char* text, int32_t low, int32_t high, int32_t& value);
std::string ReadSeconds(const char* text, double high, double& value);
