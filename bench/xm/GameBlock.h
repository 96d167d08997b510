#pragma once

// The game's heaviest moment: one full track playing and its phrase player,
// measured as two full players of the largest corpus song (an upper bound),
// both at cubic-spline interpolation, mixed into one 1024-frame block.
#include "BenchCorpus.h"

#include <memory>
#include <string>
#include <vector>

class TVelaXM;

namespace xmbench {

constexpr int kGameRate = 44100;
constexpr int kGameBlockFrames = 1024;

class GameBlock {
public:
    // Loads the largest of the songs into both players and plays past the intro.
    explicit GameBlock(const std::vector<Song>& songs);
    ~GameBlock();
    // False when there was no song to load.
    bool ready() const { return song_ != nullptr; }
    // The song both players play.
    const std::string& songName() const { return song_->name; }
    // Renders one block of both players and mixes them together.
    void render();
    // The mixed block, for the optimiser to keep.
    const int32_t* target() const { return target_.data(); }

private:
    const Song* song_ = nullptr;
    std::unique_ptr<TVelaXM> full_, phrase_;
    std::vector<int32_t> target_;
};

} // namespace xmbench
