#include "VelaXM/XMLoader.h"

#include <array>
#include <cctype>
#include <vector>

namespace {

constexpr int64_t kChunkHeaderSize = 8;
constexpr int64_t kPatternNameSize = 32;
constexpr int64_t kChannelNameSize = 20;

} // namespace

void TVelaXMLoader::ReadExtensionChunks()
{
    const int64_t chunksStart = reader_.Position();
    const int64_t size = reader_.Size();
    while (reader_.Position() + kChunkHeaderSize < size) {
        const int64_t start = reader_.Position();
        std::array<uint8_t, 4> id;
        std::array<uint8_t, 4> lengthField;
        if (!reader_.ReadExact(id.data(), 4) || !reader_.ReadExact(lengthField.data(), 4))
            break;
        const int64_t length = readLE32(lengthField.data());
        const int64_t payload = start + kChunkHeaderSize;
        const int64_t present = std::clamp<int64_t>(size - payload, 0, length);
        auto is = [&id](const char* name) { return std::memcmp(id.data(), name, 4) == 0; };

        if (is("text")) {
            // Old trackers end lines with a bare CR; each one gains an LF.
            for (int64_t i = 0; i < present; ++i) {
                const char c = static_cast<char>(reader_.At(payload + i));
                module_.MessageText.push_back(c);
                if (c == 13)
                    module_.MessageText.push_back('\n');
            }
        } else if (is("MIDI")) {
            if (length == TVelaXMModule::kMidiConfigSize) {
                for (int64_t i = 0; i < length; ++i)
                    module_.MIDIConfig[static_cast<size_t>(i)] = reader_.At(payload + i);
                module_.EmbeddedMIDIConfig = true;
            }
        } else if (is("PNAM")) {
            if (length >= kPatternNameSize && length <= 8160) {
                std::array<uint8_t, kPatternNameSize> name;
                for (int64_t n = 0; n < length / kPatternNameSize; ++n) {
                    for (int64_t i = 0; i < kPatternNameSize; ++i)
                        name[static_cast<size_t>(i)] = reader_.At(payload + n * kPatternNameSize + i);
                    module_.Patterns[static_cast<size_t>(n)].Name = trimmedName(name.data(), name.size());
                }
            }
        } else if (is("CNAM")) {
            if (length >= kChannelNameSize && module_.NumChannels * kChannelNameSize >= length) {
                std::array<uint8_t, kChannelNameSize> name;
                for (int64_t n = 0; n < length / kChannelNameSize; ++n) {
                    for (int64_t i = 0; i < kChannelNameSize; ++i)
                        name[static_cast<size_t>(i)] = reader_.At(payload + n * kChannelNameSize + i);
                    module_.Channels[static_cast<size_t>(n)].Name = trimmedName(name.data(), name.size());
                }
            }
        } else if (is("CHFX")) {
            for (int64_t c = 0; c < module_.NumChannels && 4 * c < length; ++c) {
                std::array<uint8_t, 4> value;
                for (int64_t i = 0; i < 4; ++i)
                    value[static_cast<size_t>(i)] = reader_.At(payload + 4 * c + i);
                module_.Channels[static_cast<size_t>(c)].ChannelPlugin = static_cast<int32_t>(readLE32(value.data()));
            }
        } else if (is("MODU")) {
            break;
        }
        // Equaliser, plugin and unknown chunks carry nothing this player uses: skipped.
        reader_.Seek(payload + length);
    }
    reader_.Seek(chunksStart);
}
