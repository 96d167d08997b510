// LoadMusic over arbitrary bytes, then a few blocks of the stream: looping at
// speed 1.0 (direct copy or sinc, by the stream's rate), faded, restarted at
// another speed (cubic), and without loop until it ends.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "VelaSoundSystem/OggPageRepair.h"
#include "VelaSoundSystem/SoundSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static TVelaSoundSystem sound(44100, 2, 16, 1024);
    // Page checksums repaired, so that mutations reach the decoder.
    std::vector<uint8_t> bytes(Data, Data + Size);
    soundtest::RepairOggPages(bytes);
    const int32_t size = Size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(Size);
    if (!sound.LoadMusic(0, bytes.data(), size)) {
        return 0;
    }
    sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    sound.MixBlock();
    sound.SetMusicVolume(0, 0.5f);
    sound.MixBlock();
    sound.PlayMusic(0, true, 1.0f, 0.3f, 1.5f);
    sound.MixBlock();
    sound.PlayMusic(0, false, 1.0f, 0.0f, 0.7f);
    sound.MixBlock();
    sound.StopMusic(0);
    sound.MixBlock();
    return 0;
}
