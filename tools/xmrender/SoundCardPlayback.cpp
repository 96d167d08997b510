#include "SoundCardPlayback.h"

#include <SDL.h>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

// What the audio callback renders and what it tells the status line.
struct TPlayback {
    explicit TPlayback(TRenderSession& session) : session(session) {}

    TRenderSession& session;
    std::array<int16_t, TRenderSession::kBlockFrames * 2> block{};
    size_t consumed = block.size(); // values of block already handed to SDL
    std::atomic<int32_t> order{0};
    std::atomic<int32_t> row{0};
    std::atomic<int32_t> rows{0};
    std::atomic<int64_t> frames{0};
    std::atomic<bool> finished{false};
};

// SDL asks for bytes in its own portions; blocks are rendered whole and handed out piecewise.
void fillAudio(void* userData, Uint8* stream, int length)
{
    auto& playback = *static_cast<TPlayback*>(userData);
    auto* out = reinterpret_cast<int16_t*>(stream);
    size_t wanted = static_cast<size_t>(length) / sizeof(int16_t);
    while (wanted > 0) {
        if (playback.consumed == playback.block.size()) {
            if (!playback.session.NextBlock(playback.block.data())) {
                std::memset(out, 0, wanted * sizeof(int16_t));
                playback.finished = true;
                return;
            }
            playback.consumed = 0;
            const TVelaXMModule& module = *playback.session.Player().Module;
            playback.order = module.CurrentOrder;
            playback.row = module.CurrentRow;
            playback.rows = module.Patterns[size_t(module.CurrentPattern) % module.Patterns.size()].Rows;
            playback.frames = playback.session.Frames();
        }
        const size_t n = std::min(wanted, playback.block.size() - playback.consumed);
        std::memcpy(out, playback.block.data() + playback.consumed, n * sizeof(int16_t));
        playback.consumed += n;
        out += n;
        wanted -= n;
    }
}

void printStatus(const TPlayback& playback, int32_t songLength, bool overwrite)
{
    const double seconds = static_cast<double>(playback.frames) / TRenderSession::kRate;
    const int minutes = static_cast<int>(seconds / 60);
    // Past the song's end the position points one beyond the order list.
    const int32_t order = std::min(playback.order.load(), std::max(songLength - 1, 0));
    std::fprintf(stderr, "%sPosition %03d/%03d  Row %03d/%03d  Time %02d:%04.1f ", overwrite ? "\r" : "", order,
                 songLength, playback.row.load(), playback.rows.load(), minutes, seconds - minutes * 60);
    std::fflush(stderr);
}

} // namespace

bool PlayThroughSoundCard(TRenderSession& session, const volatile std::sig_atomic_t& stop, std::string& error)
{
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        error = std::string("cannot start SDL audio: ") + SDL_GetError();
        return false;
    }
    TPlayback playback(session);
    SDL_AudioSpec wanted{};
    wanted.freq = TRenderSession::kRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = TRenderSession::kBlockFrames;
    wanted.callback = fillAudio;
    wanted.userdata = &playback;
    // Without an obtained format SDL converts to whatever the card takes.
    if (SDL_OpenAudio(&wanted, nullptr) != 0) {
        error = std::string("cannot open the sound card: ") + SDL_GetError();
        SDL_Quit();
        return false;
    }
    const int32_t songLength = session.Player().Module->SongLength;
    const bool terminal = isatty(STDERR_FILENO) != 0;
    SDL_PauseAudio(0);
    while (!playback.finished && stop == 0) {
        if (terminal)
            printStatus(playback, songLength, true);
        SDL_Delay(100);
    }
    // Let the last blocks handed to SDL reach the speaker.
    if (playback.finished)
        SDL_Delay(2 * 1000 * TRenderSession::kBlockFrames / TRenderSession::kRate + 50);
    SDL_CloseAudio();
    SDL_Quit();
    printStatus(playback, songLength, terminal);
    std::fprintf(stderr, "\n");
    return true;
}
