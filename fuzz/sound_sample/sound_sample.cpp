// LoadSample over arbitrary bytes (RIFF WAVE and Ogg Vorbis, with the Ogg
// page checksums repaired so mutations reach the decoder), then a few blocks
// of the loaded sample played at several speeds, loops included.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "VelaSoundSystem/OggPageRepair.h"
#include "VelaSoundSystem/SoundSystem.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
    static TVelaSoundSystem sound(44100, 2, 16, 1024);
    std::vector<uint8_t> bytes(Data, Data + Size);
    soundtest::RepairOggPages(bytes);
    const int32_t size = Size > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int32_t>(Size);
    if (!sound.LoadSample(0, bytes.data(), size, 2)) {
        return 0;
    }
    // The last byte picks a speed, so fast and slow voices reach the loops.
    const float speed = Size > 0 ? 0.25f + Data[Size - 1] / 16.0f : 1.0f;
    sound.PlaySample(0, 1.0f, 0.0f, speed);
    sound.MixBlock();
    sound.PlaySample(0, 0.5f, -0.5f, 1.0f);
    sound.PlaySample(0, 2.0f, 1.0f, 3.7f);
    sound.MixBlock();
    sound.MixBlock();
    return 0;
}
