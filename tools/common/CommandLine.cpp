#include "CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

std::string optionLabel(const TOption& option)
{
    std::string label = option.shortName != 0 ? std::string("-") + option.shortName + ", " : "    ";
    label += std::string("--") + option.longName;
    if (option.valueName != nullptr)
        label += std::string(" ") + option.valueName;
    return label;
}

const TOption* findLong(const std::vector<TOption>& options, const std::string& name)
{
    for (const TOption& option : options)
        if (name == option.longName)
            return &option;
    return nullptr;
}

const TOption* findShort(const std::vector<TOption>& options, char letter)
{
    for (const TOption& option : options)
        if (option.shortName != 0 && option.shortName == letter)
            return &option;
    return nullptr;
}

} // namespace

void PrintUsage(std::FILE* out, const TToolDescription& tool, const std::vector<TOption>& options)
{
    std::fprintf(out, "usage: %s [OPTION]... %s\n%s\n\n", tool.name, tool.synopsis, tool.summary);
    for (const TOption& option : options)
        std::fprintf(out, "  %-28s %s\n", optionLabel(option).c_str(), option.help);
    std::fprintf(out, "  %-28s %s\n  %-28s %s\n", "-h, --help", "print this help and exit", "    --version",
                 "print the version and exit");
    if (tool.details != nullptr)
        std::fprintf(out, "\n%s", tool.details);
}

void PrintError(const TToolDescription& tool, const std::string& message)
{
    std::fprintf(stderr, "%s: %s\n", tool.name, message.c_str());
}

TParseResult ParseCommandLine(int argc, char** argv, const TToolDescription& tool, const std::vector<TOption>& options,
                              std::vector<std::string>& arguments)
{
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
            arguments.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        if (arg == "-h" || arg == "--help") {
            PrintUsage(stdout, tool, options);
            return TParseResult::Exit;
        }
        if (arg == "--version") {
            std::printf("%s (Quavero) %s\n", tool.name, QUAVERO_VERSION);
            return TParseResult::Exit;
        }
        // "--name=value", "--name value", "-x value" and "-xvalue".
        const bool isLong = arg.compare(0, 2, "--") == 0;
        const size_t equals = arg.find('=');
        const std::string name =
            isLong ? arg.substr(2, equals == std::string::npos ? std::string::npos : equals - 2) : arg.substr(0, 2);
        const std::string shown = isLong ? "--" + name : name;
        const TOption* option = isLong ? findLong(options, name) : findShort(options, arg[1]);
        if (option == nullptr) {
            PrintError(tool, "unknown option " + shown + " (see --help)");
            return TParseResult::Error;
        }
        const char* value = nullptr;
        if (isLong && equals != std::string::npos)
            value = argv[i] + equals + 1;
        else if (!isLong && arg.size() > 2)
            value = argv[i] + 2;
        if (option->valueName == nullptr) {
            if (value != nullptr) {
                PrintError(tool, "option " + shown + " takes no value");
                return TParseResult::Error;
            }
        } else if (value == nullptr) {
            if (i + 1 >= argc) {
                PrintError(tool, "option " + shown + " needs a value: " + option->valueName);
                return TParseResult::Error;
            }
            value = argv[++i];
        }
        const std::string error = option->set(value);
        if (!error.empty()) {
            PrintError(tool, "option " + shown + " " + error);
            return TParseResult::Error;
        }
    }
    return TParseResult::Run;
}

std::string ReadInteger(const char* text, int32_t low, int32_t high, int32_t& value)
{
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text, &end, 10);
    if (end == text || *end != 0 || errno != 0 || number < low || number > high)
        return "takes a whole number from " + std::to_string(low) + " to " + std::to_string(high) + ", not '" + text +
               "'";
    value = static_cast<int32_t>(number);
    return "";
}

std::string ReadSeconds(const char* text, double high, double& value)
{
    char* end = nullptr;
    const double number = std::strtod(text, &end);
    // The comparisons are false for NaN, so it is refused with the rest.
    if (end == text || *end != 0 || !(number >= 0 && number <= high))
        return "takes seconds from 0 to " + std::to_string(static_cast<int64_t>(high)) + ", not '" + text + "'";
    value = number;
    return "";
}
