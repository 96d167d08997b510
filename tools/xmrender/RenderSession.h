#pragma once

#include "ChannelChoice.h"
#include "VelaXM/VelaXM.h"

#include <cstdint>
#include <string>
#include <vector>

// How a module is rendered, as the command line sets it.
struct TRenderSettings {
    int32_t interpolation = 2;   // 0 none, 1 linear, 2 cubic spline, 3 windowed FIR
    int32_t amplification = 128; // mix amplification, 256 = full voice gain
    double maxSeconds = 600.0;   // rendering stops here in any case
    double decaySeconds = 10.0;  // how long notes may ring on after the song's end
    int32_t repeats = 1;         // passes of the song; a pass ends where it comes back to a row it played
};

// Renders a loaded module block by block once through: the song, then the
// ring-out of its last notes, within the time limit.
class TRenderSession {
public:
    static constexpr int32_t kRate = 44100;
    static constexpr int32_t kBlockFrames = 1024;

    explicit TRenderSession(const TRenderSettings& settings);
    // Loads the module image; false when it is no XM or MOD module.
    bool Load(const std::vector<uint8_t>& image);
    // Silences the loaded module's channels that the choice leaves out; an error
    // text when the module lacks a chosen channel, else "".
    std::string ChooseChannels(const TChannelChoice& choice) { return ApplyChannelChoice(choice, *player_.Module); }
    // Renders the next block of kBlockFrames stereo frames into block
    // (kBlockFrames x 2 values); false once the render is over (block untouched).
    bool NextBlock(int16_t* block);

    // Frames rendered so far.
    int64_t Frames() const { return frames_; }
    // The song's length in frames, or -1 while it has not ended.
    int64_t SongEndFrame() const { return songEndFrame_; }
    // Whether the time limit ended the render.
    bool Limited() const { return limited_; }
    // The player, for its position.
    const TVelaXM& Player() const { return player_; }

private:
    TVelaXM player_;
    int64_t maxFrames_;
    int64_t decayFrames_;
    int32_t amplification_;
    int64_t frames_ = 0;
    int64_t songEndFrame_ = -1;
    bool limited_ = false;
    bool finished_ = false;
};
