// The small level panel shown for a second after a volume or mute key.
#include "game/Panel.h"
#include "game/SoundControls.h"
#include "render/Font.h"
#include "render/Renderer.h"

#include <algorithm>

namespace {

constexpr float Left = 548, Top = 12, Width = 240, Height = 88;

void drawLevel(float y, int32_t level, TColour lit)
{
    for (int32_t step = 0; step < LoudestLevel; ++step) {
        const bool on = step < level;
        // Bars grow to the right like a volume wedge.
        const float h = 8 + float(step) * 1.4f;
        const TColour colour = on ? lit : Navy;
        DrawRoundedRect(Left + 104 + float(step) * 12, y + 22 - h, 9, h, 3, colour, on ? 1.0f : 0.85f);
    }
}

} // namespace

void DrawVolumeIndicator()
{
    if (IndicatorSecondsLeft() <= 0)
        return;
    // Fades over its last quarter second.
    const float alpha = float(std::min(1.0, IndicatorSecondsLeft() / 0.25));
    UseSolidShader();
    DrawPanel(Left, Top, Width, Height, alpha);
    if (!SoundMuted()) {
        drawLevel(Top + 14, MusicLevel(), TabColours[2]);
        drawLevel(Top + 48, EffectsLevel(), TabColours[1]);
    }
    UseTextureShader();
    DrawText("Music", Left + 16, Top + 14, Cream.r, Cream.g, Cream.b, alpha, 24);
    DrawText("Effects", Left + 16, Top + 48, Cream.r, Cream.g, Cream.b, alpha, 24);
    if (SoundMuted())
        DrawCentredText("Muted", Left + 166, Top + 24, 40, TabColours[0], alpha);
}
