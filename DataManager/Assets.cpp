// The texture stores, the loading screen and the main thread's upload pass.
#include "DataManager/Assets.h"

#include "DataManager/AssetTextures.h"
#include "DataManager/DataFiles.h"
#include "DataManager/EntryFailure.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "render/Font.h"
#include "render/Logger.h"
#include "render/Texture.h"

#include <array>

TTexture* LoadingScreenTexture = nullptr;
TTexture* TextureSetOne = nullptr;
TTexture* TextureSetTwo = nullptr;
TTexture* TextureSetThree = nullptr;
TSharedWord<int32_t> AssetsLoaded{0};
int32_t UploadDelay = 10;
int32_t AfterLoadingState = 10000;

namespace {

// Textures of the upload pass: the next one to try, so that a texture whose
// decode fails is tried once per pass instead of holding the loading screen forever.
int32_t uploadCursor = 0;
// Whether this pass has looked at the loading screen's own decode yet.
bool loadingScreenChecked = false;

// When the pass uploads a texture, and when it leaves it to its first draw: driver
// storage for a texture drawn much later, or never, only raises the game's peak memory.
enum class TInPass { Always, WhenFontNeeded, Never };

struct TUploadEntry {
    TTexture** texture;
    const char* entry;
    const char* before;
    const char* after;
    TInPass inPass;
};

const std::array<TUploadEntry, 4> uploadOrder{{
    {&FontTexture, "zagbold.png", "Uploading font texture...", "Font texture uploaded...", TInPass::WhenFontNeeded},
    {&TextureSetOne, "textures1.png", "Uploading texture set one...", "Texture set one uploaded...", TInPass::Always},
    {&TextureSetTwo, "textures2.png", "Uploading texture set two...", "Texture set two uploaded...", TInPass::Never},
    {&TextureSetThree, "textures3.png", "Uploading texture set three...", "Texture set three uploaded...",
     TInPass::Always},
}};

bool inPass(TInPass rule, bool fontNeeded)
{
    return rule == TInPass::Always || (rule == TInPass::WhenFontNeeded && fontNeeded);
}

void release(TTexture*& texture)
{
    delete texture;
    texture = nullptr;
}

} // namespace

TAssetSource PackageAssetSource()
{
    return {[](std::string_view name, std::vector<uint8_t>& data) { return GetDataFile(name, data); },
            [](std::string_view line) { GameLog(line); }};
}

void LoadLoadingScreen(TVelaSoundSystem& sound, const TAssetSource& source)
{
    AssetsLoaded.Exchange(0);
    sound.SetModuleVolume(1.0f);
    sound.SetSampleVolume(1.0f);
    sound.SetAutoGain(true);
    source.log("Loading loading screen...");
    release(LoadingScreenTexture);
    std::vector<uint8_t> bytes;
    if (source.fetch("loadingscreen.png", bytes)) {
        source.log("Loading screen loaded...");
        LoadingScreenTexture = MakePNGTexture(bytes);
        if (LoadingScreenTexture == nullptr) {
            source.log("Cann't looad loading screen!");
            source.log(EntryFailureLine("loadingscreen.png", EntryFailure::NoPNGHeader));
            LoadingScreenTexture = MakeEmptyTexture();
        }
        LoadingScreenTexture->Unload();
    } else {
        source.log("Cann't looad loading screen!");
        source.log(EntryFailureLine("loadingscreen.png", EntryFailure::Missing));
        LoadingScreenTexture = MakeEmptyTexture();
    }
}

void RestartUploads()
{
    UploadDelay = 10;
    uploadCursor = 0;
    loadingScreenChecked = false;
}

TUploadStep RunUploadStep(const std::function<void(std::string_view)>& log, bool fontNeeded)
{
    if (UploadDelay >= 1) {
        --UploadDelay;
        return TUploadStep::Waiting;
    }
    while (uploadCursor < int32_t(uploadOrder.size())) {
        const TUploadEntry& entry = uploadOrder[size_t(uploadCursor)];
        ++uploadCursor;
        TTexture* texture = *entry.texture;
        if (texture == nullptr || !texture->Dirty || !inPass(entry.inPass, fontNeeded))
            continue;
        log(entry.before);
        texture->Upload();
        log(entry.after);
        if (texture->DecodeFailed)
            log(EntryFailureLine(entry.entry, EntryFailure::PNGDataDamaged));
        return TUploadStep::Uploaded;
    }
    // The loading screen decodes at its first draw, which the frames of this pass have seen.
    if (!loadingScreenChecked && LoadingScreenTexture != nullptr && LoadingScreenTexture->DecodeFailed)
        log(EntryFailureLine("loadingscreen.png", EntryFailure::PNGDataDamaged));
    loadingScreenChecked = true;
    return TUploadStep::Done;
}

void MarkTexturesDirty()
{
    if (LoadingScreenTexture != nullptr)
        LoadingScreenTexture->Dirty = true;
    if (AssetsLoaded.Load() == 0)
        return;
    for (const TUploadEntry& entry : uploadOrder)
        if (*entry.texture != nullptr)
            (*entry.texture)->Dirty = true;
}

void ReleaseTextures()
{
    // A load stopped half-way leaves some textures behind without publishing
    // them; they are freed all the same.
    release(LoadingScreenTexture);
    for (const TUploadEntry& entry : uploadOrder)
        release(*entry.texture);
}
