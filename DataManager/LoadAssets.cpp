// The load thread's work: every asset of the package into its store, in a fixed
// order, each step announced and its outcome logged.
#include "DataManager/AssetTextures.h"
#include "DataManager/Assets.h"
#include "DataManager/EntryFailure.h"
#include "DataManager/SoundSlots.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "render/Font.h"
#include "render/Sprites.h"
#include "render/Texture.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

namespace {

struct TModuleEntry {
    const char* name;
    uint8_t slot;
};

// Each track's full song, then the melody-less copies.
const std::array<TModuleEntry, 2 * TrackSlotCount> moduleOrder{{
    {"2012_skyward_nobass.xm", SongSlotOf(0)},
    {"2012_halcyon_verse.xm", SongSlotOf(1)},
    {"2012_labyrinth.xm", SongSlotOf(2)},
    {"2012_commontheme.xm", SongSlotOf(3)},
    {"2012_otherworld_melo1.xm", SongSlotOf(4)},
    {"random.xm", SongSlotOf(5)},
    {"c64rolld.xm", SongSlotOf(6)},
    {"2012_skyward_nobass_empty.xm", PhraseSlotOf(0)},
    {"2012_halcyon_verse_empty.xm", PhraseSlotOf(1)},
    {"2012_labyrinth_empty.xm", PhraseSlotOf(2)},
    {"2012_commontheme_empty.xm", PhraseSlotOf(3)},
    {"2012_otherworld_melo1_empty.xm", PhraseSlotOf(4)},
    {"random_empty.xm", PhraseSlotOf(5)},
    {"c64rolld_empty.xm", PhraseSlotOf(6)},
}};

struct TSoundEntry {
    const char* name;
    uint8_t slot;
    bool music; // streamed into a music slot, else decoded into a sample slot
    const char* before;
    const char* success;
    const char* failure;
};

const std::array<TSoundEntry, 9> soundOrder{{
    {"music.ogg", MusicSlotMenu, true, "Loading music...", "Music loaded...", "Can't load music!"},
    {"leveldone.ogg", MusicSlotLevelDone, true, "Loading level done jingle...", "Level done jingle loaded...",
     "Can't load level done jingle!"},
    {"gameover.ogg", MusicSlotGameOver, true, "Loading game over jingle...", "Game over jingle loaded...",
     "Can't load game over jingle!"},
    {"fail.ogg", SampleSlotFail, false, "Loading fail sound...", "Fail sound loaded...", "Cann't load fail sound!"},
    {"solistenup.ogg", SampleSlotListenUp, false, "Loading so listen up sound...", "So listen up sound loaded...",
     "Cann't load so listen up sound!"},
    {"myturn.ogg", SampleSlotMyTurn, false, "Loading my turn sound...", "My turn sound loaded...", "Cann't load my turn sound!"},
    {"yourturn.ogg", SampleSlotYourTurn, false, "Loading your turn sound...", "Your turn sound loaded...",
     "Cann't load your turn sound!"},
    {"areyoukiddingme.ogg", SampleSlotKidding, false, "Loading areyoukiddingme sound...", "areyoukiddingme sound loaded...",
     "Cann't load areyoukiddingme sound!"},
    {"greatgameplaydude.ogg", SampleSlotGreatGameplay, false, "Loading greatgameplaydude sound...", "greatgameplaydude sound loaded...",
     "Cann't load greatgameplaydude sound!"},
}};

struct TTextureEntry {
    TTexture** texture;
    const char* png;
    const char* xml;
    const char* beforeImage;
    const char* imageLoaded;
    const char* imageFailed;
    const char* beforeTable;
    const char* tableLoaded;
    const char* tableFailed;
};

const std::array<TTextureEntry, 3> textureOrder{{
    {&TextureSetOne, "textures1.png", "textures1.xml", "Loading texture set one...", "Texture set one loaded...",
     "Cann't load texture set one!", "Loading texture set data one...", "Texture set data one loaded...",
     "Cann't load texture set data one!"},
    {&TextureSetTwo, "textures2.png", "textures2.xml", "Loading texture set two...", "Texture set two loaded...",
     "Cann't load texture set two!", "Loading texture set data two...", "Texture set data two loaded...",
     "Cann't load texture set data two!"},
    {&TextureSetThree, "textures3.png", "textures3.xml", "Loading texture set three...", "Texture set three loaded...",
     "Cann't load texture set three!", "Loading texture set data three...", "Texture set data three loaded...",
     "Cann't load texture set data three!"},
}};

// A picture store: the PNG texture, or the empty one with the failure lines.
void loadTexture(const TAssetSource& source, TTexture*& store, const char* name, const char* loaded, const char* failed)
{
    delete store;
    store = nullptr;
    std::vector<uint8_t> bytes;
    const bool present = source.fetch(name, bytes);
    if (present)
        store = MakePNGTexture(bytes);
    if (store != nullptr) {
        source.log(loaded);
        return;
    }
    source.log(failed);
    source.log(EntryFailureLine(name, present ? EntryFailure::NoPNGHeader : EntryFailure::Missing));
    store = MakeEmptyTexture();
}

void loadFontWidths(const TAssetSource& source)
{
    source.log("Loading font data...");
    std::memset(FontWidths, 0, sizeof FontWidths);
    std::vector<uint8_t> bytes;
    if (!source.fetch("zagbold.dat", bytes)) {
        source.log("Cann't load font data!");
        source.log(EntryFailureLine("zagbold.dat", EntryFailure::Missing));
        return;
    }
    // A short table leaves the missing widths at zero rather than reading past it.
    std::memcpy(FontWidths, bytes.data(), std::min(bytes.size(), sizeof FontWidths));
    source.log("Font data loaded...");
    if (bytes.size() != sizeof FontWidths)
        source.log(EntryFailureLine("zagbold.dat", std::to_string(bytes.size()) + " bytes where " +
                                                       std::to_string(sizeof FontWidths) + " are expected"));
}

void loadModules(TVelaSoundSystem& sound, const TAssetSource& source)
{
    source.log("Loading tracks...");
    for (const TModuleEntry& entry : moduleOrder) {
        std::vector<uint8_t> bytes;
        const bool present = source.fetch(entry.name, bytes);
        if (present && sound.LoadModule(entry.slot, bytes.data(), int32_t(bytes.size()), true, velaxm::kCubic))
            continue;
        source.log("Can't load tracks!");
        source.log(EntryFailureLine(entry.name, present ? EntryFailure::NotAModule : EntryFailure::Missing));
    }
    source.log("Tracks loaded..");
}

void loadSound(TVelaSoundSystem& sound, const TAssetSource& source, const TSoundEntry& entry)
{
    source.log(entry.before);
    std::vector<uint8_t> bytes;
    const bool present = source.fetch(entry.name, bytes);
    bool loaded = false;
    if (present) {
        const int32_t size = int32_t(bytes.size());
        loaded = entry.music ? sound.LoadMusic(entry.slot, bytes.data(), size)
                             : sound.LoadSample(entry.slot, bytes.data(), size, 1);
    }
    source.log(loaded ? entry.success : entry.failure);
    if (!loaded) {
        const std::string_view kind = entry.music ? EntryFailure::NotMusic : EntryFailure::NotASample;
        source.log(EntryFailureLine(entry.name, present ? kind : EntryFailure::Missing));
    }
}

void loadSpriteTable(const TAssetSource& source, const TTextureEntry& entry)
{
    source.log(entry.beforeTable);
    std::vector<uint8_t> bytes;
    if (!source.fetch(entry.xml, bytes)) {
        source.log(entry.tableFailed);
        source.log(EntryFailureLine(entry.xml, EntryFailure::Missing));
        return;
    }
    const TAtlasResult result = LoadAtlas(*entry.texture, bytes.data(), int32_t(bytes.size()));
    source.log(entry.tableLoaded);
    if (result != TAtlasResult::Loaded)
        source.log(EntryFailureLine(entry.xml, result == TAtlasResult::NotXML ? EntryFailure::SheetNotXML
                                                                              : EntryFailure::SheetNamesNoSprite));
}

} // namespace

void LoadAssets(TVelaSoundSystem& sound, const TAssetSource& source, const TSharedWord<bool>* stop,
                const std::function<void()>& beforePublish)
{
    const auto stopped = [stop] { return stop != nullptr && stop->Load(); };
    source.log("Loading font...");
    loadTexture(source, FontTexture, "zagbold.png", "Font loaded...", "Cann't load font!");
    loadFontWidths(source);
    if (stopped())
        return;
    loadModules(sound, source);
    for (const TSoundEntry& entry : soundOrder) {
        if (stopped())
            return;
        loadSound(sound, source, entry);
    }
    for (const TTextureEntry& entry : textureOrder) {
        source.log(entry.beforeImage);
        loadTexture(source, *entry.texture, entry.png, entry.imageLoaded, entry.imageFailed);
        (*entry.texture)->SpriteAtlas = true;
    }
    // Each table refers to its texture, so all three images exist first.
    for (const TTextureEntry& entry : textureOrder)
        loadSpriteTable(source, entry);
    if (stopped())
        return;
    if (beforePublish)
        beforePublish();
    AssetsLoaded.Exchange(-1);
}
