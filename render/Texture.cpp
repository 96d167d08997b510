#include "render/Texture.h"

#include "VelaPNG/PNG.h"
#include "render/Renderer.h"
#include "render/Sprites.h"

#include <GL/gl.h>
#include <cstring>
#include <stdexcept>

namespace {

struct TFormat {
    GLenum format;
    GLenum type;
};

// Indexed by TTexture::TextureFormat; the internal format equals the format.
constexpr TFormat kFormats[8] = {
    {GL_RGBA, GL_UNSIGNED_BYTE},      {GL_RGBA, GL_UNSIGNED_SHORT_5_5_5_1},   {GL_RGBA, GL_UNSIGNED_SHORT_4_4_4_4},
    {GL_RGB, GL_UNSIGNED_BYTE},       {GL_RGB, GL_UNSIGNED_SHORT_5_6_5},      {GL_ALPHA, GL_UNSIGNED_BYTE},
    {GL_LUMINANCE, GL_UNSIGNED_BYTE}, {GL_LUMINANCE_ALPHA, GL_UNSIGNED_BYTE},
};

constexpr int32_t kFormatRGBA = 0;
constexpr int32_t kFormatRGB = 3;

bool FullyOpaque(const uint8_t* rgba, size_t pixels)
{
    for (size_t i = 0; i < pixels; ++i)
        if (rgba[i * 4 + 3] != 255)
            return false;
    return true;
}

// Packs RGBA pixels into RGB within the same buffer: a second full-size copy
// would be the largest block the game ever holds. Going forwards, each write
// lands on bytes that have already been read.
void DropAlphaInPlace(uint8_t* pixels, size_t count)
{
    for (size_t i = 0; i < count; ++i) {
        pixels[i * 3] = pixels[i * 4];
        pixels[i * 3 + 1] = pixels[i * 4 + 1];
        pixels[i * 3 + 2] = pixels[i * 4 + 2];
    }
}

// Rows per band of a banded upload: 256 KiB of a 2048-texel-wide atlas.
constexpr int32_t kBandRows = 32;

} // namespace

TTexture::TTexture(std::unique_ptr<uint8_t[]> pixels, int32_t width, int32_t height, int32_t format, bool linear,
                   bool wrap)
    : Pixels(std::move(pixels)), Width(width), Height(height), TextureFormat(format), Linear(linear), Wrap(wrap)
{}

TTexture::~TTexture()
{
    if (Handle != 0)
        glDeleteTextures(1, &Handle);
}

void TTexture::UnloadObject()
{
    if (Handle != 0) {
        glDeleteTextures(1, &Handle);
        Handle = 0;
        Dirty = true;
    }
    BoundTexture = -1;
}

void TTexture::Unload() { UnloadObject(); }

void TTexture::Upload() { UploadPixels(); }

void TTexture::UploadPixels()
{
    if (!Dirty)
        return;
    UnloadObject();
    CreateObject(Pixels.get());
    Dirty = false;
    BoundTexture = -1;
}

void TTexture::CreateObject(const uint8_t* pixels)
{
    InvWidth = 1.0f / float(Width);
    InvHeight = 1.0f / float(Height);
    glGenTextures(1, &Handle);
    glBindTexture(GL_TEXTURE_2D, Handle);
    const GLint filter = Linear ? GL_LINEAR : GL_NEAREST;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    filterNearest_ = !Linear;
    const GLint wrap = Wrap ? GL_REPEAT : GL_CLAMP_TO_EDGE;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrap);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrap);
    // Rows are packed without padding; OpenGL's default alignment of 4 would read RGB rows
    // of any width that is not a multiple of 4 skewed.
    GLint alignment = 4;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    const TFormat& format = kFormats[TextureFormat >= 0 && TextureFormat < 8 ? TextureFormat : kFormatRGBA];
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format.format), Width, Height, 0, format.format, format.type, pixels);
    glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
}

void TTexture::BindForDraw()
{
    // Dirty is cleared even when the upload made no texture object, so a broken
    // image is not decoded again on every draw.
    if (Dirty) {
        Upload();
        Dirty = false;
    }
    BindTextureCached(Handle);
}

void TTexture::UseNearestFilter(bool nearest)
{
    if (Handle == 0 || nearest == filterNearest_)
        return;
    const GLint filter = nearest ? GL_NEAREST : GL_LINEAR;
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
    filterNearest_ = nearest;
}

void TTexture::DrawTexturedQuad(float sx, float sy, float sw, float sh, float x, float y, float w, float h, float r,
                                float g, float b, float a, TQuadFit fit)
{
    BindForDraw();
    // Software OpenGL spends most of a frame filtering and blending texels; these keep the pixels.
    UseNearestFilter(!Linear || fit != TQuadFit::Scaled);
    const TexturedQuad quad{InvWidth, InvHeight, sx, sy, sw, sh, x, y, w, h, r, g, b, a};
    if (fit == TQuadFit::OpaqueTexelForPixel)
        DrawOpaqueTexturedQuadBound(quad);
    else
        DrawTexturedQuadBound(quad);
}

void TTexture::DrawScrollMaskQuad(float sx, float sy, float sw, float sh, float x, float y, float w, float h, float r,
                                  float g, float b, float a)
{
    BindForDraw();
    UseNearestFilter(!Linear);
    DrawScrollMaskQuadBound({InvWidth, InvHeight, sx, sy, sw, sh, x, y, w, h, r, g, b, a});
}

TTexturePNG::TTexturePNG(const uint8_t* data, int32_t size, bool linear, bool wrap)
    : TTexture(nullptr, 0, 0, kFormatRGBA, linear, wrap), PNGSize(size > 0 ? size : 0)
{
    PNGData.reset(new uint8_t[size_t(PNGSize)]);
    if (PNGSize > 0)
        std::memcpy(PNGData.get(), data, size_t(PNGSize));
    std::unique_ptr<uint8_t[]> none;
    if (!DecodePNG(PNGData.get(), size_t(PNGSize), none, Width, Height, true))
        throw std::runtime_error("Cann't load png");
}

TTexturePNG::~TTexturePNG() { PNGData.reset(); }

void TTexturePNG::Unload()
{
    UnloadObject();
    Pixels.reset();
}

// Only atlases touch the sprite table: the loading picture is uploaded while the load thread
// still fills it.
void TTexturePNG::markSprites(bool opaque)
{
    if (SpriteAtlas)
        SetSpritesOpaque(this, Width, Height, opaque);
}

void TTexturePNG::scanSprites(int32_t first, int32_t count, const uint8_t* rgba)
{
    if (SpriteAtlas)
        ScanSpriteOpacity(this, Width, first, count, rgba);
}

bool TTexturePNG::UploadInBands()
{
    UnloadObject();
    TextureFormat = kFormatRGBA;
    CreateObject(nullptr);
    markSprites(true);
    int32_t width = 0, height = 0;
    const bool uploaded = DecodePNGBands(
        PNGData.get(), size_t(PNGSize), kBandRows,
        [this](int32_t first, int32_t count, const uint8_t* rows) {
            if (first == 0 && FullyOpaque(rows, size_t(count) * size_t(Width)))
                return false;
            scanSprites(first, count, rows);
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, first, Width, count, GL_RGBA, GL_UNSIGNED_BYTE, rows);
            return true;
        },
        width, height);
    BoundTexture = -1;
    if (!uploaded || width != Width || height != Height) {
        markSprites(false);
        UnloadObject();
        return false;
    }
    Dirty = false;
    return true;
}

void TTexturePNG::Upload()
{
    // A clean texture already holds its image; decoding it again would only be thrown away.
    if (!Dirty)
        return;
    if (!Pixels && UploadInBands())
        return;
    if (!Pixels) {
        // The size read at creation stays valid when the image data turns out to be corrupt.
        int32_t width = 0, height = 0;
        DecodeFailed = !DecodePNG(PNGData.get(), size_t(PNGSize), Pixels, width, height, false);
        if (DecodeFailed)
            return;
        Width = width;
        Height = height;
        const size_t pixels = size_t(Width) * size_t(Height);
        TextureFormat = kFormatRGBA;
        markSprites(true);
        scanSprites(0, Height, Pixels.get());
        if (FullyOpaque(Pixels.get(), pixels)) {
            DropAlphaInPlace(Pixels.get(), pixels);
            TextureFormat = kFormatRGB;
        }
    }
    UploadPixels();
    Pixels.reset();
}
