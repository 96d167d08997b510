#pragma once

#include <string_view>

// The overlays' shapes in the game's look: rounded panels with a cream trim, and text measured
// with the font's own widths.

struct TColour {
    float r, g, b;
};
inline constexpr TColour Navy{0.078f, 0.106f, 0.235f};
inline constexpr TColour Indigo{0.165f, 0.141f, 0.400f};
inline constexpr TColour Cream{1.000f, 0.965f, 0.878f};
inline constexpr TColour TabColours[4] = {
    {1.000f, 0.420f, 0.420f}, // coral, top left
    {1.000f, 0.757f, 0.271f}, // amber, top right
    {0.180f, 0.769f, 0.714f}, // teal, bottom left
    {0.616f, 0.420f, 1.000f}, // violet, bottom right
};

// Fills a rectangle with corners rounded by radius (solid program current).
void DrawRoundedRect(float x, float y, float w, float h, float radius, TColour colour, float alpha);
// An indigo panel in a cream trim with a soft shadow below (solid program current).
void DrawPanel(float x, float y, float w, float h, float alpha);
// The drawn width of text at a cell size.
float TextWidth(std::string_view text, float size);
// Text centred on x, with a soft shadow (texture program current).
void DrawCentredText(std::string_view text, float x, float y, float size, TColour colour, float alpha);
