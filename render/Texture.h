#pragma once

#include <cstdint>
#include <memory>

// How a draw meets the texels. Scaled is the general case. TexelForPixel: every pixel takes the
// centre of one texel of the drawn rectangle, where nearest sampling gives what linear filtering
// gives for less work. OpaqueTexelForPixel: the same, and every texel drawn has full alpha under a
// tint of alpha 1, so blending changes nothing either and is skipped.
enum class TQuadFit { Scaled, TexelForPixel, OpaqueTexelForPixel };

// One image for the renderer and the OpenGL texture object made from it. Creating a texture
// never touches OpenGL, so the load thread can do it; Upload, Unload and the draws belong to
// the main thread.
class TTexture {
public:
    // Takes ownership of pixels (may be null: the object gets storage of undefined content).
    TTexture(std::unique_ptr<uint8_t[]> pixels, int32_t width, int32_t height, int32_t format, bool linear, bool wrap);
    virtual ~TTexture();
    TTexture(const TTexture&) = delete;
    TTexture& operator=(const TTexture&) = delete;

    // Deletes the OpenGL texture object, if any, and marks the texture dirty.
    virtual void Unload();
    // Makes sure the OpenGL texture object holds the current image; does nothing unless dirty.
    virtual void Upload();

    // Draws texel rectangle (sx, sy, sw, sh) onto virtual rectangle (x, y, w, h), tinted by
    // (r, g, b, a), uploading first when dirty; the texture program must be current. fit is what
    // the caller knows of the draw's texels (see TQuadFit).
    void DrawTexturedQuad(float sx, float sy, float sw, float sh, float x, float y, float w, float h, float r, float g,
                          float b, float a, TQuadFit fit = TQuadFit::Scaled);
    // The same with the scroll-mask program, which must be current.
    void DrawScrollMaskQuad(float sx, float sy, float sw, float sh, float x, float y, float w, float h, float r,
                            float g, float b, float a);

    std::unique_ptr<uint8_t[]> Pixels; // image to upload, rows top to bottom, no padding; null when none
    int32_t Width;                     // image width in texels
    int32_t Height;                    // image height in texels
    int32_t TextureFormat;             // row of the format table (0 RGBA8, 3 RGB8, ...)
    bool Linear;                       // GL_LINEAR filtering rather than GL_NEAREST
    bool Wrap;                         // GL_REPEAT rather than GL_CLAMP_TO_EDGE
    bool Dirty = true;                 // must be (re)uploaded before it is drawn
    float InvWidth = 0;                // 1 / Width, set at upload
    float InvHeight = 0;               // 1 / Height, set at upload
    uint32_t Handle = 0;               // OpenGL texture object; 0 when none
    bool DecodeFailed = false;         // the last Upload found the image data damaged and uploaded nothing
    bool SpriteAtlas = false;          // sprites are drawn from it: an upload marks which are opaque

protected:
    // The base steps, which the PNG texture extends.
    void UnloadObject();
    void UploadPixels();
    // Makes a new texture object of the current size and format from pixels (null: storage only) and binds it.
    void CreateObject(const uint8_t* pixels);

private:
    // Uploads when dirty and binds the texture object for the next draw.
    void BindForDraw();
    // Sets the bound object's filter to nearest or back to the texture's own, when it differs.
    void UseNearestFilter(bool nearest);

    bool filterNearest_ = false; // the texture object's filter is GL_NEAREST
};

// A texture backed by a PNG file kept compressed in memory for the texture's whole life; it
// is decoded again whenever it has to be uploaded, and the decoded image is dropped after.
class TTexturePNG : public TTexture {
public:
    // Copies the file and reads its size; throws std::runtime_error("Cann't load png") when
    // the file has no valid PNG signature and image header.
    TTexturePNG(const uint8_t* data, int32_t size, bool linear, bool wrap);
    ~TTexturePNG() override;

    // The base Unload, and drops any decoded pixels.
    void Unload() override;
    // Decodes, picks RGB for fully opaque images and RGBA otherwise, uploads and drops the
    // pixels. A failed decode uploads nothing, leaves the texture dirty and sets DecodeFailed.
    void Upload() override;

private:
    // Decodes the image band by band straight into an RGBA texture object, so that the whole
    // decoded image never sits in memory beside the driver's copy. False, with no texture
    // object, when the decode fails or the first band is fully opaque (such an image may need RGB).
    bool UploadInBands();
    // SetSpritesOpaque and ScanSpriteOpacity for this texture, when it is a sprite atlas.
    void markSprites(bool opaque);
    void scanSprites(int32_t first, int32_t count, const uint8_t* rgba);

    std::unique_ptr<uint8_t[]> PNGData; // private copy of the PNG file
    int32_t PNGSize;                    // size of PNGData in bytes
};
