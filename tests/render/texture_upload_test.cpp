// Textures uploaded to real OpenGL under the virtual display: format choice, row alignment,
// failure handling and the object's life cycle.

#include "GLTestWindow.h"
#include "TexturePNGs.h"
#include "render/Sprites.h"
#include "render/Texture.h"

#include <gtest/gtest.h>

namespace {

std::unique_ptr<TTexturePNG> MakeTexture(const std::vector<uint8_t>& png)
{
    return std::make_unique<TTexturePNG>(png.data(), int32_t(png.size()), true, false);
}

// What the texture object holds, read back tightly packed.
std::vector<uint8_t> TextureContents(const TTexture& texture, int channels)
{
    std::vector<uint8_t> out(size_t(texture.Width) * texture.Height * channels);
    glBindTexture(GL_TEXTURE_2D, texture.Handle);
    BoundTexture = -1;
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, channels == 4 ? GL_RGBA : GL_RGB, GL_UNSIGNED_BYTE, out.data());
    return out;
}

TEST(TextureUpload, OpaqueRgbImageBecomesFormat3AndDropsItsPixels)
{
    GLTestWindow window(800, 480);
    auto texture = MakeTexture(PatternPNG(800, 480, 3));
    EXPECT_EQ(texture->Width, 800);
    EXPECT_EQ(texture->Height, 480);
    EXPECT_TRUE(texture->Dirty);
    EXPECT_EQ(texture->Handle, 0u);
    texture->Upload();
    EXPECT_EQ(texture->TextureFormat, 3);
    EXPECT_EQ(texture->Pixels, nullptr);
    EXPECT_FALSE(texture->Dirty);
    EXPECT_NE(texture->Handle, 0u);
    EXPECT_FLOAT_EQ(texture->InvWidth, 1.0f / 800);
    EXPECT_FLOAT_EQ(texture->InvHeight, 1.0f / 480);
    EXPECT_EQ(BoundTexture, -1);
    EXPECT_EQ(TextureContents(*texture, 3), PatternPixels(800, 480, 3));
}

TEST(TextureUpload, RowsOfAnyWidthArriveUnskewed)
{
    GLTestWindow window(64, 64);
    for (int width : {1, 3, 5, 1023}) {
        auto texture = MakeTexture(PatternPNG(width, 7, 3));
        texture->Upload();
        EXPECT_EQ(TextureContents(*texture, 3), PatternPixels(width, 7, 3)) << width;
    }
}

TEST(TextureUpload, OneTexelBelowFullAlphaKeepsRgba)
{
    GLTestWindow window(64, 64);
    auto opaque = MakeTexture(PatternPNG(33, 9, 4));
    opaque->Upload();
    EXPECT_EQ(opaque->TextureFormat, 3);
    EXPECT_EQ(TextureContents(*opaque, 3), PatternPixels(33, 9, 3));

    auto translucent = MakeTexture(PatternPNG(33, 9, 4, 32, 254));
    // The upload also finds which sprites drawn from the image are opaque throughout.
    ResetSprites();
    SpriteTable[0] = {translucent.get(), 0, 0, 32, 9};
    SpriteTable[1] = {translucent.get(), 31, 0, 2, 1};
    SpriteTable[2] = {translucent.get(), 1, 1, 32, 8};
    SpriteTable[3] = {translucent.get(), 1, 1, 33, 8}; // reaches past the image
    translucent->SpriteAtlas = true;
    translucent->Upload();
    EXPECT_EQ(translucent->TextureFormat, 0);
    EXPECT_EQ(TextureContents(*translucent, 4), PatternPixels(33, 9, 4, 32, 254));
    EXPECT_TRUE(SpriteTable[0].Opaque);
    EXPECT_FALSE(SpriteTable[1].Opaque);
    EXPECT_TRUE(SpriteTable[2].Opaque);
    EXPECT_FALSE(SpriteTable[3].Opaque);
    ResetSprites();
}

TEST(TextureUpload, ConstructorRefusesWhatHasNoImageHeader)
{
    const std::vector<uint8_t> junk = {'n', 'o', 't', ' ', 'a', ' ', 'p', 'n', 'g', '!'};
    try {
        TTexturePNG texture(junk.data(), int32_t(junk.size()), true, false);
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_STREQ(error.what(), "Cann't load png");
    }
}

TEST(TextureUpload, CorruptImageDataUploadsNothingAndDrawsWithObjectZero)
{
    GLTestWindow window(64, 64);
    std::vector<uint8_t> png = PatternPNG(20, 10, 3);
    png[png.size() - 20] ^= 0xff; // inside the IDAT: its CRC no longer matches
    auto texture = MakeTexture(png);
    EXPECT_EQ(texture->Width, 20);
    texture->Upload();
    EXPECT_EQ(texture->Handle, 0u);
    EXPECT_TRUE(texture->Dirty);
    EXPECT_TRUE(texture->DecodeFailed);
    EXPECT_EQ(texture->Width, 20);
    EXPECT_EQ(texture->Height, 10);
    BeginFrame();
    texture->DrawTexturedQuad(0, 0, 20, 10, 0, 0, 20, 10, 1, 1, 1, 1);
    EXPECT_FALSE(texture->Dirty);
    EXPECT_EQ(BoundTexture, 0);
}

TEST(TextureUpload, UnloadAndReuploadLifeCycle)
{
    GLTestWindow window(64, 64);
    auto texture = MakeTexture(PatternPNG(8, 8, 3));
    // Never uploaded: Unload leaves Dirty alone but still forgets the bound texture.
    texture->Dirty = false;
    BoundTexture = 5;
    texture->Unload();
    EXPECT_FALSE(texture->Dirty);
    EXPECT_EQ(BoundTexture, -1);

    texture->Dirty = true;
    texture->Upload();
    const uint32_t first = texture->Handle;
    ASSERT_NE(first, 0u);
    // Not dirty: the object stays.
    texture->Upload();
    EXPECT_EQ(texture->Handle, first);

    texture->Unload();
    EXPECT_EQ(texture->Handle, 0u);
    EXPECT_TRUE(texture->Dirty);
    EXPECT_FALSE(glIsTexture(first));

    // Marked dirty without Unload, as after a resize: the held object is replaced.
    texture->Upload();
    texture->Dirty = true;
    texture->Upload();
    EXPECT_TRUE(glIsTexture(texture->Handle));
    EXPECT_EQ(TextureContents(*texture, 3), PatternPixels(8, 8, 3));
}

} // namespace
