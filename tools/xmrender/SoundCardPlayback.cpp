#include "SoundCardPlayback.h"

#include <SDL.h>
#include <algorithm>
#include <array>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <poll.h>
#include <termios.h>
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

// Keys typed on the terminal while a song plays: each key counts at once (no
// echo, no waiting for Enter), and the terminal is put back as it was.
class TTerminalKeys {
public:
    TTerminalKeys() : terminal_(isatty(STDIN_FILENO) != 0 && tcgetattr(STDIN_FILENO, &saved_) == 0)
    {
        if (!terminal_)
            return;
        termios raw = saved_;
        raw.c_lflag &= static_cast<tcflag_t>(~(ICANON | ECHO));
        raw.c_cc[VMIN] = 0;
        raw.c_cc[VTIME] = 0;
        tcsetattr(STDIN_FILENO, TCSANOW, &raw);
    }
    ~TTerminalKeys()
    {
        if (terminal_)
            tcsetattr(STDIN_FILENO, TCSANOW, &saved_);
    }
    TTerminalKeys(const TTerminalKeys&) = delete;
    TTerminalKeys& operator=(const TTerminalKeys&) = delete;

    // Waits up to the given time for input; true when Enter or n asks for the next song.
    bool NextAsked(int milliseconds)
    {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        if (!open_ || poll(&input, 1, milliseconds) <= 0) {
            if (!open_)
                SDL_Delay(static_cast<Uint32>(milliseconds));
            return false;
        }
        char keys[64];
        const ssize_t n = read(STDIN_FILENO, keys, sizeof keys);
        if (n <= 0) {
            open_ = false; // end of input: nothing more will ask
            return false;
        }
        return std::memchr(keys, '\n', static_cast<size_t>(n)) != nullptr ||
               std::memchr(keys, 'n', static_cast<size_t>(n)) != nullptr;
    }

private:
    termios saved_{};
    bool terminal_;
    bool open_ = true;
};

void printStatus(const TPlayback& playback, const std::string& title, int32_t songLength, bool overwrite)
{
    const double seconds = static_cast<double>(playback.frames) / TRenderSession::kRate;
    const int minutes = static_cast<int>(seconds / 60);
    // Past the song's end the position points one beyond the order list.
    const int32_t order = std::min(playback.order.load(), std::max(songLength - 1, 0));
    std::fprintf(stderr, "%s%s%sPosition %03d/%03d  Row %03d/%03d  Time %02d:%04.1f ", overwrite ? "\r" : "",
                 title.c_str(), title.empty() ? "" : "  ", order, songLength, playback.row.load(), playback.rows.load(),
                 minutes, seconds - minutes * 60);
    std::fflush(stderr);
}

} // namespace

TPlaybackEnd PlayThroughSoundCard(TRenderSession& session, const std::string& title,
                                  const volatile std::sig_atomic_t& stop, std::string& error)
{
    if (SDL_Init(SDL_INIT_AUDIO) != 0) {
        error = std::string("cannot start SDL audio: ") + SDL_GetError();
        return TPlaybackEnd::Failed;
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
        return TPlaybackEnd::Failed;
    }
    const int32_t songLength = session.Player().Module->SongLength;
    const bool terminal = isatty(STDERR_FILENO) != 0;
    TTerminalKeys keys;
    bool skipped = false;
    SDL_PauseAudio(0);
    while (!playback.finished && stop == 0 && !skipped) {
        if (terminal)
            printStatus(playback, title, songLength, true);
        skipped = keys.NextAsked(100);
    }
    // Let the last blocks handed to SDL reach the speaker.
    if (playback.finished)
        SDL_Delay(2 * 1000 * TRenderSession::kBlockFrames / TRenderSession::kRate + 50);
    SDL_CloseAudio();
    SDL_Quit();
    printStatus(playback, title, songLength, terminal);
    std::fprintf(stderr, "\n");
    if (stop != 0)
        return TPlaybackEnd::Stopped;
    return skipped ? TPlaybackEnd::Skipped : TPlaybackEnd::Finished;
}
