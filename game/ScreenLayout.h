#pragma once

#include <array>
#include <cstdint>

// Where things are on the screens of the 800 x 480 virtual screen: one table a
// screen, read by its drawing and by its hit tests alike, so the two cannot
// drift apart. Every rectangle includes both of its edges.
struct TArea {
    float left, top, right, bottom;

    // Whether a point lies in the area, edges included.
    constexpr bool Contains(float x, float y) const { return x >= left && x <= right && y >= top && y <= bottom; }
    constexpr float Width() const { return right - left; }
    constexpr float Height() const { return bottom - top; }
    // The area grown by d on every side.
    constexpr TArea Grown(float d) const { return {left - d, top - d, right + d, bottom + d}; }
};

// Corners shared by several screens.
struct TCornerLayout {
    TArea back; // the back or exit arrow at the bottom left
    TArea web;  // the exit advert's button to the web page
};
inline constexpr TCornerLayout CornerLayout{{0, 400, 80, 480}, {626, 0, 800, 174}};

// The title menu's three vertical tabs, taken from the menu sprite at their own
// place and slid in from the right by their travel; a click anywhere on a
// tab's strip, at any height, chooses it.
struct TTitleLayout {
    std::array<TArea, 3> tabs;   // tabs 1..3, the whole screen's height
    std::array<float, 3> travel; // how far right of its place a tab starts
};
inline constexpr TTitleLayout TitleLayout{
    {{{605, 0, 663, 480}, {666, 0, 724, 480}, {727, 0, 785, 480}}},
    {197, 134, 73},
};

// The track selection: the five tiles (with the padlock over the locked ones),
// the random band and the bonus corner. The keys' highlight frames a tile just
// outside it, the band and the corner around their pictures.
struct TTrackSelectLayout {
    std::array<TArea, 5> tiles;
    std::array<float, 5> lockLeft; // a padlock's left edge over tiles 2..4 (0 for open tiles)
    TArea random;                  // the band below the tiles, as clicks find it
    TArea bonus;                   // the hidden corner, as clicks find it
    TArea randomFrame, bonusFrame, backFrame;
    float tileFrameMargin;
};
inline constexpr TTrackSelectLayout TrackSelectLayout{
    {{{35, 105, 168, 360}, {170, 105, 324, 360}, {328, 105, 471, 360}, {474, 105, 620, 360}, {622, 105, 775, 360}}},
    {0, 0, 335, 480, 630},
    {0, 375, 800, 442},
    {720, 403, 800, 480},
    {86, 373, 654, 444},
    {726, 416, 794, 476},
    {10, 432, 68, 472},
    2,
};

// The game's pad: the four tabs in the order top left, top right, bottom left,
// bottom right, and the hub between them. A tab lights a region of the lit
// pad sprites, which for the lower tabs reaches past where clicks count.
struct TPadLayout {
    std::array<TArea, 4> tabs;
    std::array<TArea, 4> lights;
    TArea hub;
};
inline constexpr TPadLayout PadLayout{
    {{{218, 59, 400, 240}, {399, 59, 586, 240}, {218, 240, 400, 433}, {399, 240, 586, 433}}},
    {{{218, 59, 400, 240}, {399, 59, 586, 240}, {210, 240, 402, 426}, {403, 240, 591, 433}}},
    {338, 184, 459, 298},
};
