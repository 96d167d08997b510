#include "DataManager/AssetTextures.h"

#include "render/Texture.h"

#include <stdexcept>

TTexture* MakePNGTexture(const std::vector<uint8_t>& bytes)
{
    try {
        return new TTexturePNG(bytes.data(), int32_t(bytes.size()), true, false);
    } catch (const std::runtime_error&) {
        // "Cann't load png": the caller substitutes the empty texture, as for a missing entry.
        return nullptr;
    }
}

TTexture* MakeEmptyTexture() { return new TTexture(nullptr, 16, 16, 0, true, false); }
