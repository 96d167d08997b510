#include "Renderers.h"

#include "VelaXM/VelaXM.h"

#include <algorithm>

#if QUAVERO_HAVE_OPENMPT
#include <libopenmpt/libopenmpt.h>
#endif
#if QUAVERO_HAVE_XMP
#include <xmp.h>
#endif

namespace xmbench {

namespace {

// Ours as the game plays it (full amplification, looping), converted to 16 bits.
class OursRenderer : public Renderer {
public:
    explicit OursRenderer(int interpolation) : interpolation(interpolation) {}
    bool open(const Song& song) override
    {
        if (!player.Module->Load(song.image.data(), static_cast<uint32_t>(song.image.size())))
            return false;
        player.Module->MixAmplification = 256;
        player.LoopSong = true;
        player.Interpolation = velaxm::InterpolationFromNumber(interpolation);
        return player.Play();
    }
    void render(int16_t* out) override
    {
        player.Render();
        player.ConvertOutput(out);
    }

private:
    int interpolation;
    TVelaXM player{kRate, true, kBlockFrames};
};

#if QUAVERO_HAVE_OPENMPT
// libopenmpt without dither, so that it does the same work as ours: a plain 16-bit conversion.
class OpenMPTRenderer : public Renderer {
public:
    explicit OpenMPTRenderer(int filterLength) : filterLength(filterLength) {}
    ~OpenMPTRenderer() override
    {
        if (module != nullptr)
            openmpt_module_destroy(module);
    }
    bool open(const Song& song) override
    {
        module = openmpt_module_create_from_memory2(song.image.data(), song.image.size(), nullptr, nullptr, nullptr,
                                                    nullptr, nullptr, nullptr, nullptr);
        if (module == nullptr)
            return false;
        openmpt_module_set_repeat_count(module, -1);
        openmpt_module_ctl_set_integer(module, "dither", 0);
        openmpt_module_set_render_param(module, OPENMPT_MODULE_RENDER_INTERPOLATIONFILTER_LENGTH, filterLength);
        return true;
    }
    void render(int16_t* out) override
    {
        const size_t got = openmpt_module_read_interleaved_stereo(module, kRate, kBlockFrames, out);
        std::fill(out + 2 * got, out + 2 * kBlockFrames, int16_t{0});
    }

private:
    int filterLength;
    openmpt_module* module = nullptr;
};
#endif

#if QUAVERO_HAVE_XMP
class XmpRenderer : public Renderer {
public:
    explicit XmpRenderer(int interpolation) : interpolation(interpolation) {}
    ~XmpRenderer() override
    {
        if (started)
            xmp_end_player(context);
        if (loaded)
            xmp_release_module(context);
        xmp_free_context(context);
    }
    bool open(const Song& song) override
    {
        loaded = xmp_load_module_from_memory(context, song.image.data(), static_cast<long>(song.image.size())) == 0;
        started = loaded && xmp_start_player(context, kRate, 0) == 0;
        if (started)
            xmp_set_player(context, XMP_PLAYER_INTERP, interpolation);
        return started;
    }
    void render(int16_t* out) override { xmp_play_buffer(context, out, 4 * kBlockFrames, 0); }

private:
    int interpolation;
    xmp_context context = xmp_create_context();
    bool loaded = false;
    bool started = false;
};
#endif

template <typename T>
RendererKind kind(std::string library, std::string name, int ours, int parameter)
{
    return {std::move(library), std::move(name), ours, [parameter] { return std::make_unique<T>(parameter); }};
}

} // namespace

std::vector<RendererKind> ourRenderers()
{
    return {kind<OursRenderer>("VelaXM", "none", 0, 0), kind<OursRenderer>("VelaXM", "linear", 1, 1),
            kind<OursRenderer>("VelaXM", "cubic spline", 2, 2), kind<OursRenderer>("VelaXM", "windowed FIR", 3, 3)};
}

std::vector<RendererKind> peerRenderers()
{
    std::vector<RendererKind> peers;
#if QUAVERO_HAVE_OPENMPT
    peers.push_back(kind<OpenMPTRenderer>("libopenmpt", "nearest", 0, 1));
    peers.push_back(kind<OpenMPTRenderer>("libopenmpt", "linear", 1, 2));
    peers.push_back(kind<OpenMPTRenderer>("libopenmpt", "cubic", 2, 4));
    peers.push_back(kind<OpenMPTRenderer>("libopenmpt", "8-tap windowed FIR", 3, 8));
#endif
#if QUAVERO_HAVE_XMP
    peers.push_back(kind<XmpRenderer>("libxmp", "nearest", 0, XMP_INTERP_NEAREST));
    peers.push_back(kind<XmpRenderer>("libxmp", "linear", 1, XMP_INTERP_LINEAR));
    peers.push_back(kind<XmpRenderer>("libxmp", "spline", 2, XMP_INTERP_SPLINE));
#endif
    return peers;
}

} // namespace xmbench
