#pragma once

#include "VelaBase/SharedWord.h"
#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

class TTexture;
class TVelaSoundSystem;

// The textures the loader fills; the font texture and width table live with the
// font (render/Font.h). Each is a PNG texture, an empty 16 x 16 texture when its
// entry is missing or unreadable, or null before it is loaded.
extern TTexture* LoadingScreenTexture;
extern TTexture* TextureSetOne;
extern TTexture* TextureSetTwo;
extern TTexture* TextureSetThree;

// 0 while loading; -1 once the load thread has filled every store. Written by
// exchange after the stores, so a reader that sees -1 sees the stores too.
extern TSharedWord<int32_t> AssetsLoaded;
// Frames to wait in the loading state before the first texture upload.
extern int32_t UploadDelay;
// Screen state resumed once loading and uploading are done.
extern int32_t AfterLoadingState;

// Where the loader takes its bytes and sends its lines; the game's defaults are
// the embedded package and GameLog, tests substitute their own.
struct TAssetSource {
    std::function<bool(std::string_view, std::vector<uint8_t>&)> fetch; // copies an entry; false when absent
    std::function<void(std::string_view)> log;                          // one progress or failure line
};
// The embedded data package and GameLog.
TAssetSource PackageAssetSource();

// Resets the volumes, clears AssetsLoaded and creates the loading-screen texture (main thread).
void LoadLoadingScreen(TVelaSoundSystem& sound, const TAssetSource& source);
// Fills every texture, sprite table, module, music and sample slot in the fixed
// order, logging each step; stops early (without publishing) once stop is set.
// beforePublish runs after the last store is filled and before AssetsLoaded is set.
void LoadAssets(TVelaSoundSystem& sound, const TAssetSource& source, const TSharedWord<bool>* stop,
                const std::function<void()>& beforePublish);

// The loading state's per-frame texture step (main thread).
enum class TUploadStep { Waiting, Uploaded, Done };
// Counts UploadDelay down, then uploads the next dirty texture (font, sets one to
// three) per call; Done once each has been uploaded or tried in this pass. Set two,
// drawn only by the credits, high-score and exit screens, and the font, unless
// fontNeeded (the screen after loading may unload it at once), are left to their first draw.
TUploadStep RunUploadStep(const std::function<void(std::string_view)>& log, bool fontNeeded);
// Enters the loading state's texture pass again: UploadDelay 10, first texture first.
void RestartUploads();

// Marks every existing texture dirty (after the GL objects were rebuilt).
void MarkTexturesDirty();
// Frees every texture the loader made (shutdown, main thread, load thread ended).
void ReleaseTextures();
