#include "BenchCorpus.h"

#include "VelaXM/VelaXM.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace xmbench {

std::vector<Song> loadSongs(const std::string& folder)
{
    std::vector<Song> songs;
    std::error_code error;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder, error)) {
        std::string ext = entry.path().extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
        if (!entry.is_regular_file() || (ext != ".xm" && ext != ".mod"))
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        songs.push_back({entry.path().filename().string(),
                         std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>())});
    }
    std::sort(songs.begin(), songs.end(), [](const Song& a, const Song& b) { return a.name < b.name; });
    return songs;
}

int64_t songFrames(const Song& song, int64_t maxFrames)
{
    TVelaXM player(44100);
    if (!player.Module->Load(song.image.data(), static_cast<uint32_t>(song.image.size())))
        return 0;
    player.LoopSong = false;
    player.Play();
    TVelaXMModule& module = *player.Module;
    int64_t frames = 0;
    while (frames < maxFrames) {
        module.ProcessTick();
        if (module.SongEnded)
            break;
        frames += std::max(module.ComputeSamplesPerTick(), 1);
    }
    return std::min(frames, maxFrames);
}

} // namespace xmbench
