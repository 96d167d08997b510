#include "ChannelChoice.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace {

constexpr int32_t kMaxChannel = 256;

// One channel number at text; advances text past it, or returns 0 when there is none.
int32_t readChannel(const char*& text)
{
    if (*text < '0' || *text > '9')
        return 0;
    char* end = nullptr;
    errno = 0;
    const long number = std::strtol(text, &end, 10);
    if (errno != 0 || number < 1 || number > kMaxChannel)
        return 0;
    text = end;
    return static_cast<int32_t>(number);
}

bool contains(const std::vector<int32_t>& list, int32_t channel)
{
    return std::find(list.begin(), list.end(), channel) != list.end();
}

} // namespace

std::string ReadChannelList(const char* text, std::vector<int32_t>& channels)
{
    const std::string whole = text;
    const std::string refusal = "takes channels from 1 to 256 like 1,3,5-7, not '" + whole + "'";
    std::vector<int32_t> read;
    for (;;) {
        const int32_t first = readChannel(text);
        int32_t last = first;
        if (first != 0 && *text == '-') {
            ++text;
            last = readChannel(text);
        }
        if (first == 0 || last < first)
            return refusal;
        for (int32_t c = first; c <= last; ++c)
            read.push_back(c);
        if (*text == 0)
            break;
        if (*text++ != ',')
            return refusal;
    }
    channels.insert(channels.end(), read.begin(), read.end());
    return "";
}

std::string ApplyChannelChoice(const TChannelChoice& choice, TVelaXMModule& module)
{
    for (const std::vector<int32_t>* list : {&choice.solo, &choice.mute})
        for (const int32_t channel : *list)
            if (channel > module.NumChannels)
                return "has no channel " + std::to_string(channel) + " (it has " + std::to_string(module.NumChannels) +
                       ")";
    for (int32_t i = 0; i < module.NumChannels; ++i) {
        const int32_t channel = i + 1;
        const bool heard = (choice.solo.empty() || contains(choice.solo, channel)) && !contains(choice.mute, channel);
        module.Channels[static_cast<size_t>(i)].Muted = !heard;
    }
    return "";
}
