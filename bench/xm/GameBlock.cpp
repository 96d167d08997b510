#include "GameBlock.h"

#include "VelaXM/VelaXM.h"

namespace xmbench {

GameBlock::GameBlock(const std::vector<Song>& songs) : target_(2 * kGameBlockFrames)
{
    for (const Song& song : songs)
        if (song_ == nullptr || song.image.size() > song_->image.size())
            song_ = &song;
    if (song_ == nullptr)
        return;
    full_ = std::make_unique<TVelaXM>(kGameRate, true, kGameBlockFrames);
    phrase_ = std::make_unique<TVelaXM>(kGameRate, true, kGameBlockFrames);
    for (TVelaXM* player : {full_.get(), phrase_.get()}) {
        player->Module->Load(song_->image.data(), static_cast<uint32_t>(song_->image.size()));
        player->Module->MixAmplification = 256;
        player->Interpolation = velaxm::kCubic;
        player->Play();
    }
    // Skip the intro so that the full track is busy.
    for (int i = 0; i < 1000; ++i)
        full_->Render();
}

GameBlock::~GameBlock() = default;

void GameBlock::render()
{
    full_->Render();
    phrase_->Render();
    full_->MixInto(target_.data(), 4096);
    phrase_->MixInto(target_.data(), 4096);
}

} // namespace xmbench
