// Cost of the sound system's audio-thread work per 1024-frame block (23.2 ms
// of sound at 44100 Hz) and the one-time cost of decoding the game's samples.
// Run by hand: build with -DQUAVERO_BENCH=ON, then ./bench/sound/bench_sound.
#include <cmath>
#include <fstream>
#include <iterator>
#include <random>

#include <benchmark/benchmark.h>

#include "SoundTestData.h"
#include "VelaSoundSystem/SoundSystem.h"

using namespace soundtest;

namespace {

constexpr double BlockMicroseconds = 1024.0 * 1e6 / 44100.0;

// Music-like test signal: two tones and a little noise, so the encoder
// produces packets of realistic size.
std::vector<float> musicSignal(int Frames, int Channels, int Rate)
{
    std::vector<float> pcm = Sine(Frames, Channels, Rate, 220.0, 0.4);
    const std::vector<float> upper = Sine(Frames, Channels, Rate, 1375.0, 0.2);
    std::mt19937 random(7);
    std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
    for (size_t i = 0; i < pcm.size(); ++i) {
        pcm[i] += upper[i] + noise(random);
    }
    return pcm;
}

const std::vector<uint8_t>& menuMusic()
{
    static const std::vector<uint8_t> ogg = EncodeOgg(musicSignal(44100 * 8, 2, 44100), 2, 44100, 0.4f);
    return ogg;
}

const std::vector<uint8_t>& speech()
{
    static const std::vector<uint8_t> ogg = EncodeOgg(musicSignal(44100 * 2, 1, 44100), 1, 44100, 0.3f);
    return ogg;
}

void reportShare(benchmark::State& State)
{
    State.counters["us_per_block"] = benchmark::Counter(static_cast<double>(State.iterations()) * 1e-6,
                                                        benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    State.counters["share_of_block_pct"] =
        benchmark::Counter(static_cast<double>(State.iterations()) * 1e-6 * BlockMicroseconds / 100.0,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The busiest moment without module players: the menu music fading (a
// volume call per block) and one speech sample.
void BM_MixBlock_MusicFadeAndSpeech(benchmark::State& State)
{
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    sound.LoadMusic(0, menuMusic().data(), static_cast<int32_t>(menuMusic().size()));
    sound.LoadSample(4, speech().data(), static_cast<int32_t>(speech().size()), 1);
    sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    float volume = 1.0f;
    int block = 0;
    for (auto _ : State) {
        if (block++ % 80 == 0) {
            sound.PlaySample(4, 1.0f, 0.0f, 1.0f);
        }
        volume = volume > 0.01f ? volume * 0.99f : 1.0f;
        sound.SetMusicVolume(0, volume);
        sound.MixBlock();
        benchmark::DoNotOptimize(sound.OutputBuffer[0]);
    }
    reportShare(State);
}
BENCHMARK(BM_MixBlock_MusicFadeAndSpeech)->Unit(benchmark::kMicrosecond);

// The game's busiest moment: the 14 module players loaded (7 full tracks and
// their 7 melody-less copies, cubic interpolation), one full track and one
// phrase player playing, the menu music fading and one speech sample.
void BM_MixBlock_BusiestMoment(benchmark::State& State)
{
    const char* names[7] = {"bomberclone-data__zb-tnt.xm",
                            "bomberclone-data__slice_me_nice.xm",
                            "bomberclone-data__mario_is_a_weenie.xm",
                            "bomberclone-data__cerror-bobmberclone.xm",
                            "bomberclone-data__cerror-bomberclone_numero_2.xm",
                            "flobopuyo__flobopuyo_game1.xm",
                            "bomberclone-data__zb-tnt.xm"};
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    for (int i = 0; i < 7; ++i) {
        std::ifstream in(std::string(QUAVERO_CORPUS_DIR) + "/modules/" + names[i], std::ios::binary);
        const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        for (int slot : {i, 10 + i}) {
            if (!sound.LoadModule(static_cast<uint8_t>(slot), bytes.data(), static_cast<int32_t>(bytes.size()), true,
                                  2)) {
                State.SkipWithError("a corpus module did not load");
                return;
            }
        }
    }
    sound.LoadMusic(0, menuMusic().data(), static_cast<int32_t>(menuMusic().size()));
    sound.LoadSample(4, speech().data(), static_cast<int32_t>(speech().size()), 1);
    sound.StartModule(0);
    sound.StartModule(10);
    sound.PlayMusic(0, true, 1.0f, 0.0f, 1.0f);
    float volume = 1.0f;
    int block = 0;
    for (auto _ : State) {
        if (block++ % 80 == 0) {
            sound.PlaySample(4, 1.0f, 0.0f, 1.0f);
        }
        volume = volume > 0.01f ? volume * 0.99f : 1.0f;
        sound.SetMusicVolume(0, volume);
        sound.MixBlock();
        benchmark::DoNotOptimize(sound.OutputBuffer[0]);
    }
    reportShare(State);
}
BENCHMARK(BM_MixBlock_BusiestMoment)->Unit(benchmark::kMicrosecond);

// One stream through each resampling path.
void BM_MixBlock_MusicPath(benchmark::State& State)
{
    const int rate = static_cast<int>(State.range(0));
    const float speed = State.range(1) / 100.0f;
    static std::vector<uint8_t> streams[3];
    const int index = rate == 44100 ? 0 : (rate == 48000 ? 1 : 2);
    if (streams[index].empty()) {
        streams[index] = EncodeOgg(musicSignal(rate * 4, 2, rate), 2, rate, 0.4f);
    }
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    sound.LoadMusic(0, streams[index].data(), static_cast<int32_t>(streams[index].size()));
    sound.PlayMusic(0, true, 1.0f, 0.0f, speed);
    for (auto _ : State) {
        sound.MixBlock();
        benchmark::DoNotOptimize(sound.OutputBuffer[0]);
    }
    reportShare(State);
}
BENCHMARK(BM_MixBlock_MusicPath)
    ->Args({44100, 100})
    ->Args({48000, 100})
    ->Args({22050, 100})
    ->Args({44100, 150})
    ->Unit(benchmark::kMicrosecond);

// Many looping sample voices at once, at a rate that needs interpolation.
void BM_MixBlock_SampleVoices(benchmark::State& State)
{
    const int voices = static_cast<int>(State.range(0));
    std::vector<int16_t> values(44100 * 4);
    for (size_t i = 0; i < values.size(); ++i) {
        values[i] = static_cast<int16_t>(8000 * std::sin(i * 0.05));
    }
    std::vector<uint8_t> data;
    for (int16_t v : values) {
        PutU16(data, static_cast<uint16_t>(v));
    }
    // A forward loop over the whole sample keeps every voice playing.
    const auto wave = TWaveBuilder()
                          .Format(1, 1, 22050, 16)
                          .Chunk("data", data)
                          .Chunk("smpl", SamplerChunk({{0, 1000, static_cast<uint32_t>(values.size())}}))
                          .Bytes();
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    sound.LoadSample(0, wave.data(), static_cast<int32_t>(wave.size()), voices);
    for (int v = 0; v < voices; ++v) {
        sound.PlaySample(0, 0.2f, (v % 3 - 1) * 0.5f, 1.0f + v * 0.01f);
    }
    for (auto _ : State) {
        sound.MixBlock();
        benchmark::DoNotOptimize(sound.OutputBuffer[0]);
    }
    reportShare(State);
}
BENCHMARK(BM_MixBlock_SampleVoices)->Arg(1)->Arg(16)->Unit(benchmark::kMicrosecond);

// The one-time decoding of the six speech and effect samples (1 to 3 s each).
void BM_DecodeSixSamples(benchmark::State& State)
{
    static std::vector<std::vector<uint8_t>> samples;
    if (samples.empty()) {
        for (int i = 0; i < 6; ++i) {
            samples.push_back(EncodeOgg(musicSignal(44100 * (1 + i % 3), 1, 44100), 1, 44100, 0.3f));
        }
    }
    TVelaSoundSystem sound(44100, 2, 16, 1024);
    for (auto _ : State) {
        for (int i = 0; i < 6; ++i) {
            sound.LoadSample(static_cast<uint8_t>(3 + i), samples[i].data(), static_cast<int32_t>(samples[i].size()),
                             1);
        }
    }
    State.SetLabel("6 samples, 12 s of mono 44100 Hz");
}
BENCHMARK(BM_DecodeSixSamples)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
