// LoadAssets over the shipped data files, whole and with entries taken away:
// the log tells every step in order, missing pieces get their stand-ins, and
// the assets are published only at the end.
#include "DataManager/Assets.h"
#include "DataManager/LoadThread.h"
#include "VelaSoundSystem/SoundSystem.h"
#include "render/Font.h"
#include "render/Sprites.h"
#include "render/Texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

struct TFakeSource {
    std::set<std::string> missing;
    std::vector<std::string> lines;
    std::map<std::string, std::vector<uint8_t>> replaced;

    // Whether line second comes right after line first.
    bool follows(const std::string& first, const std::string& second) const
    {
        const auto at = std::find(lines.begin(), lines.end(), first);
        return at != lines.end() && at + 1 != lines.end() && at[1] == second;
    }

    TAssetSource source()
    {
        return {[this](std::string_view name, std::vector<uint8_t>& data) {
                    const std::string key(name);
                    if (missing.count(key) != 0)
                        return false;
                    if (auto found = replaced.find(key); found != replaced.end()) {
                        data = found->second;
                        return true;
                    }
                    std::ifstream file(std::string(QUAVERO_SOURCE_DIR) + "/data/" + key, std::ios::binary);
                    if (!file)
                        return false;
                    data.assign(std::istreambuf_iterator<char>(file), {});
                    return true;
                },
                [this](std::string_view line) { lines.emplace_back(line); }};
    }
};

class LoadAssetsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetSprites();
        AssetsLoaded.Store(0);
    }
    void TearDown() override { ReleaseTextures(); }

    void load(const TSharedWord<bool>* stop = nullptr)
    {
        LoadAssets(sound, fake.source(), stop, [this] { publishedBefore = AssetsLoaded.Load(); });
    }

    TVelaSoundSystem sound{44100, 2, 16, 1024};
    TFakeSource fake;
    int32_t publishedBefore = 1;
};

const std::vector<std::string> musicAndSamples = {
    "Loading music...",
    "Loading level done jingle...",
    "Loading game over jingle...",
    "Loading fail sound...",
    "Fail sound loaded...",
    "Loading so listen up sound...",
    "So listen up sound loaded...",
    "Loading my turn sound...",
    "My turn sound loaded...",
    "Loading your turn sound...",
    "Your turn sound loaded...",
    "Loading areyoukiddingme sound...",
    "areyoukiddingme sound loaded...",
    "Loading greatgameplaydude sound...",
    "greatgameplaydude sound loaded...",
};

TEST_F(LoadAssetsTest, LogsEveryStepInOrderAndPublishesLast)
{
    fake.missing = {"music.ogg", "leveldone.ogg", "gameover.ogg"};
    load();
    std::vector<std::string> expected = {"Loading font...",     "Font loaded...",    "Loading font data...",
                                         "Font data loaded...", "Loading tracks...", "Tracks loaded.."};
    const std::vector<std::string> music = {"Loading music...",
                                            "Can't load music!",
                                            "Loading level done jingle...",
                                            "Can't load level done jingle!",
                                            "Loading game over jingle...",
                                            "Can't load game over jingle!"};
    expected.insert(expected.end(), music.begin(), music.end());
    expected.insert(expected.end(), musicAndSamples.begin() + 3, musicAndSamples.end());
    for (const char* set : {"one", "two", "three"}) {
        expected.push_back(std::string("Loading texture set ") + set + "...");
        expected.push_back(std::string("Texture set ") + set + " loaded...");
    }
    for (const char* set : {"one", "two", "three"}) {
        expected.push_back(std::string("Loading texture set data ") + set + "...");
        expected.push_back(std::string("Texture set data ") + set + " loaded...");
    }
    std::vector<std::string> got;
    for (const std::string& line : fake.lines)
        if (std::find(expected.begin(), expected.end(), line) != expected.end())
            got.push_back(line);
    EXPECT_EQ(got, expected);
    EXPECT_EQ(publishedBefore, 0);
    EXPECT_EQ(AssetsLoaded.Load(), -1);
    EXPECT_GT(FontWidths[uint8_t('A')], 0);
    EXPECT_GT(FontWidths[uint8_t('W')], FontWidths[uint8_t(' ')]);
    for (int32_t slot : {0, 1, 2, 3, 4, 5, 6, 10, 11, 12, 13, 14, 15, 16})
        EXPECT_NE(sound.ModuleSlots[size_t(slot)], nullptr) << "module slot " << slot;
    for (int32_t slot = 3; slot <= 8; ++slot)
        EXPECT_NE(sound.SampleSlots[size_t(slot)], nullptr) << "sample slot " << slot;
    EXPECT_EQ(SpriteTable[SpriteTitleMenu].Texture == nullptr, false);
    ASSERT_NE(TextureSetOne, nullptr);
    EXPECT_EQ(TextureSetOne->Width, 2048);
}

TEST_F(LoadAssetsTest, MissingModuleIsReportedOnceAndOthersLoad)
{
    fake.missing = {"2012_labyrinth_empty.xm"};
    load();
    EXPECT_EQ(std::count(fake.lines.begin(), fake.lines.end(), "Can't load tracks!"), 1);
    EXPECT_TRUE(fake.follows("Can't load tracks!", "2012_labyrinth_empty.xm: not in the data package!"));
    EXPECT_EQ(sound.ModuleSlots[12], nullptr);
    EXPECT_NE(sound.ModuleSlots[2], nullptr);
    EXPECT_NE(sound.ModuleSlots[13], nullptr);
    // With the music present the three streams open.
    for (const char* line : {"Music loaded...", "Level done jingle loaded...", "Game over jingle loaded..."})
        EXPECT_NE(std::find(fake.lines.begin(), fake.lines.end(), line), fake.lines.end()) << line;
    for (size_t slot = 0; slot < 3; ++slot)
        EXPECT_NE(sound.MusicSlots[slot], nullptr);
}

TEST_F(LoadAssetsTest, MissingOrUnreadablePicturesBecomeEmptyTexturesAndTheirSheetsStillLoad)
{
    fake.missing = {"textures2.png", "zagbold.dat"};
    fake.replaced["textures3.png"] = {'n', 'o', 't', ' ', 'p', 'n', 'g'};
    fake.replaced["zagbold.png"] = {};
    fake.replaced["textures1.xml"] = {'<', 'T', 'e', 'x', 't', 'u', 'r', 'e', 'A', 't', 'l', 'a', 's', '>'};
    fake.replaced["fail.ogg"] = {'O', 'g', 'g', 'S'};
    fake.replaced["random.xm"] = {'E', 'x', 't'};
    load();
    // Each damaged entry is named right after the lines of its step.
    EXPECT_TRUE(fake.follows("Cann't load texture set three!", "textures3.png: no PNG signature and image header!"));
    EXPECT_TRUE(fake.follows("Cann't load texture set two!", "textures2.png: not in the data package!"));
    EXPECT_TRUE(fake.follows("Texture set data one loaded...", "textures1.xml: sprite sheet is not well-formed XML!"));
    EXPECT_TRUE(fake.follows("Cann't load fail sound!", "fail.ogg: not a decodable Ogg Vorbis or WAVE sound!"));
    EXPECT_TRUE(fake.follows("Can't load tracks!", "random.xm: not a loadable XM or MOD module!"));
    const auto has = [this](const char* line) {
        return std::find(fake.lines.begin(), fake.lines.end(), line) != fake.lines.end();
    };
    EXPECT_TRUE(has("Cann't load font!"));
    EXPECT_TRUE(has("Cann't load font data!"));
    EXPECT_TRUE(has("Texture set data two loaded..."));
    for (TTexture* texture : {TextureSetTwo, TextureSetThree, FontTexture}) {
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->Width, 16);
        EXPECT_EQ(texture->Height, 16);
        EXPECT_TRUE(texture->Dirty);
    }
    EXPECT_EQ(FontWidths[uint8_t('A')], 0);
    // Sprites of set two refer to the stand-in and draw as empty quads.
    bool anyOnSetTwo = false;
    for (const Sprite& sprite : SpriteTable)
        anyOnSetTwo = anyOnSetTwo || sprite.Texture == TextureSetTwo;
    EXPECT_TRUE(anyOnSetTwo);
    EXPECT_EQ(AssetsLoaded.Load(), -1);
}

TEST_F(LoadAssetsTest, StoppedLoadIsNotPublished)
{
    TSharedWord<bool> stop{true};
    load(&stop);
    EXPECT_EQ(AssetsLoaded.Load(), 0);
    EXPECT_EQ(std::count(fake.lines.begin(), fake.lines.end(), "Loading tracks..."), 0);
}

TEST_F(LoadAssetsTest, LoadingScreenFallsBackToAnEmptyTexture)
{
    fake.missing = {"loadingscreen.png"};
    LoadLoadingScreen(sound, fake.source());
    ASSERT_NE(LoadingScreenTexture, nullptr);
    EXPECT_EQ(LoadingScreenTexture->Width, 16);
    EXPECT_TRUE(fake.follows("Cann't looad loading screen!", "loadingscreen.png: not in the data package!"));
    fake.missing.clear();
    fake.lines.clear();
    LoadLoadingScreen(sound, fake.source());
    EXPECT_EQ(fake.lines, (std::vector<std::string>{"Loading loading screen...", "Loading screen loaded..."}));
    EXPECT_EQ(LoadingScreenTexture->Width, 800);
    EXPECT_EQ(LoadingScreenTexture->Height, 480);
    EXPECT_TRUE(LoadingScreenTexture->Dirty);
}

TEST_F(LoadAssetsTest, LoadThreadLoadsOnlyFromTheLoadingStateAndPublishesAfterItsHook)
{
    {
        TLoadThread thread(sound, fake.source(), {[] { return false; }, [] {}});
        thread.WaitFor();
    }
    EXPECT_TRUE(fake.lines.empty());
    EXPECT_EQ(AssetsLoaded.Load(), 0);
    int32_t seenBeforeHook = 1;
    {
        TLoadThread thread(sound, fake.source(),
                           {[] { return true; }, [&seenBeforeHook] { seenBeforeHook = AssetsLoaded.Load(); }});
        thread.WaitFor();
    }
    EXPECT_EQ(seenBeforeHook, 0);
    EXPECT_EQ(AssetsLoaded.Load(), -1);
    EXPECT_EQ(fake.lines.front(), "Loading font...");
}

// A texture that uploads without OpenGL, or fails to.
class TFakeTexture : public TTexture {
public:
    explicit TFakeTexture(bool decodes) : TTexture(nullptr, 16, 16, 0, true, false), decodes_(decodes) {}
    void Upload() override
    {
        ++uploads;
        DecodeFailed = !decodes_;
        if (decodes_)
            Dirty = false;
    }
    int32_t uploads = 0;

private:
    bool decodes_;
};

TEST(UploadStepTest, WaitsTenFramesThenUploadsOnePerFrameInOrder)
{
    auto* font = new TFakeTexture(true);
    auto* one = new TFakeTexture(false); // its decode fails: tried once, not waited for forever
    auto* two = new TFakeTexture(true);
    auto* three = new TFakeTexture(true);
    FontTexture = font;
    TextureSetOne = one;
    TextureSetTwo = two;
    TextureSetThree = three;
    std::vector<std::string> lines;
    const auto log = [&lines](std::string_view line) { lines.emplace_back(line); };
    // Without the font needed next, the font and set two wait for their first draws.
    RestartUploads();
    for (int frame = 0; frame < 10; ++frame)
        EXPECT_EQ(RunUploadStep(log, false), TUploadStep::Waiting);
    EXPECT_TRUE(lines.empty());
    for (int frame = 0; frame < 2; ++frame)
        EXPECT_EQ(RunUploadStep(log, false), TUploadStep::Uploaded);
    EXPECT_EQ(RunUploadStep(log, false), TUploadStep::Done);
    EXPECT_EQ(lines, (std::vector<std::string>{"Uploading texture set one...", "Texture set one uploaded...",
                                               "textures1.png: PNG image data does not decode!",
                                               "Uploading texture set three...", "Texture set three uploaded..."}));
    // After a rebuild everything is dirty again; with the font needed next it is uploaded too.
    AssetsLoaded.Store(-1);
    MarkTexturesDirty();
    RestartUploads();
    int32_t uploads = 0;
    for (int frame = 0; frame < 20; ++frame)
        uploads += RunUploadStep(log, true) == TUploadStep::Uploaded;
    EXPECT_EQ(uploads, 3);
    EXPECT_EQ(font->uploads, 1);
    EXPECT_EQ(one->uploads, 2);
    EXPECT_EQ(two->uploads, 0);
    ReleaseTextures();
    EXPECT_EQ(FontTexture, nullptr);
    AssetsLoaded.Store(0);
}

} // namespace
