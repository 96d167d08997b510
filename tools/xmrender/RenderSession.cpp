#include "RenderSession.h"

TRenderSession::TRenderSession(const TRenderSettings& settings)
    : player_(kRate, true, kBlockFrames), maxFrames_(static_cast<int64_t>(settings.maxSeconds * kRate)),
      decayFrames_(static_cast<int64_t>(settings.decaySeconds * kRate)), amplification_(settings.amplification)
{
    // Songs that jump back end where they return instead of playing forever.
    player_.LoopSong = true;
    player_.EndAfterRepeats = settings.repeats;
    player_.Interpolation = velaxm::InterpolationFromNumber(settings.interpolation);
}

bool TRenderSession::Load(const std::vector<uint8_t>& image)
{
    if (image.size() > 0xFFFFFFFFu || !player_.Module->Load(image.data(), static_cast<uint32_t>(image.size())))
        return false;
    // Amplification belongs to the module, and a load resets it.
    player_.Module->MixAmplification = amplification_;
    return player_.Play();
}

bool TRenderSession::NextBlock(int16_t* block)
{
    if (finished_)
        return false;
    player_.Render();
    player_.ConvertOutput(block);
    frames_ += kBlockFrames;
    if (songEndFrame_ < 0 && player_.Module->SongEnded)
        songEndFrame_ = frames_;
    // Looping samples without a key-off would ring forever: the decay is bounded.
    if (player_.Module->SongEnded && (player_.ActiveVoices() == 0 || frames_ - songEndFrame_ >= decayFrames_))
        finished_ = true;
    if (!finished_ && frames_ >= maxFrames_) {
        limited_ = true;
        finished_ = true;
    }
    return true;
}
