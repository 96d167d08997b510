// The "Paused" panel over the dimmed, standing screen.
#include "game/Controls.h"
#include "game/Panel.h"
#include "render/Renderer.h"

void DrawPausePanel()
{
    UseSolidShader();
    DrawSolidQuad(0, 0, 800, 480, Navy.r, Navy.g, Navy.b, 0.62f);
    DrawPanel(210, 138, 380, 204, 1);
    // The four tab colours as a row of note-heads under the word.
    for (int tab = 0; tab < 4; ++tab)
        DrawRoundedRect(340 + float(tab) * 32, 240, 20, 20, 10, TabColours[tab], 1);
    UseTextureShader();
    DrawCentredText("Paused", 400, 160, 64, TabColours[1], 1);
    DrawCentredText("Press a key, click or a pad", 400, 272, 24, Cream, 1);
    DrawCentredText("button to play on", 400, 300, 24, Cream, 1);
}
