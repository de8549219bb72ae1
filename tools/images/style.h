// style.h: the look shared by all ten screens: colours, player themes, type.
//
// Constants and the Fonts set only. The generator's main makes one Fonts
// for the whole run; the widgets and screen builders read the rest.
#pragma once

#include "tools/images/raster.h"
#include "tools/images/text.h"

namespace art::style {

// Paper and ink.
inline constexpr Colour kPaperTop = rgb(252, 247, 237);
inline constexpr Colour kPaperBottom = rgb(244, 233, 214);
inline constexpr Colour kInk = rgb(62, 52, 47);
inline constexpr Colour kInkSoft = rgb(117, 102, 92);
inline constexpr Colour kWhite = rgb(255, 255, 255);
inline constexpr Colour kCard = rgb(255, 252, 246);
inline constexpr Colour kCardEdge = rgb(226, 212, 190);
inline constexpr Colour kShadow = rgb(92, 70, 48);
inline constexpr float kShadowOpacity = 0.28f;

// Accents for decoration and the Game Over button.
inline constexpr Colour kSunshine = rgb(247, 190, 64);
inline constexpr Colour kBerry = rgb(168, 58, 108);
inline constexpr Colour kBerryDeep = rgb(128, 38, 80);
inline constexpr Colour kLeaf = rgb(96, 168, 90);
inline constexpr Colour kSky = rgb(84, 150, 222);
inline constexpr Colour kLilac = rgb(150, 118, 200);

// Ruled lines under the typed rows: light enough to keep black text legible.
inline constexpr Colour kRule = rgb(214, 224, 236);

// One player's colours; every screen of that player's turn wears them.
struct PlayerTheme {
    const char* name;   // "Player 1"
    Colour main;        // banner, frame and button colour
    Colour deep;        // darker shade: button lips, headings on light ground
    Colour light;       // pale tint for header strips
    Colour paperTop;    // tinted page background, top
    Colour paperBottom; // and bottom
};

inline constexpr PlayerTheme kPlayer1{.name = "Player 1",
                                      .main = rgb(26, 132, 146),
                                      .deep = rgb(14, 94, 106),
                                      .light = rgb(210, 237, 238),
                                      .paperTop = rgb(228, 244, 242),
                                      .paperBottom = rgb(198, 228, 227)};
inline constexpr PlayerTheme kPlayer2{.name = "Player 2",
                                      .main = rgb(222, 96, 66),
                                      .deep = rgb(170, 62, 38),
                                      .light = rgb(252, 225, 212),
                                      .paperTop = rgb(254, 238, 226),
                                      .paperBottom = rgb(248, 212, 190)};

// Type faces from Debian's fonts-freefont-ttf.
inline constexpr const char* kSansBold = "/usr/share/fonts/truetype/freefont/FreeSansBold.ttf";
inline constexpr const char* kSans = "/usr/share/fonts/truetype/freefont/FreeSans.ttf";

// Every face and size the screens use, opened once.
struct Fonts {
    explicit Fonts(const FontLibrary& library);

    Font title;    // the game's name on the title screen
    Font display;  // the big line of a start screen
    Font heading;  // page headings
    Font headline; // the game-over screen's title
    Font subtitle; // the line under the title
    Font body;     // sentences on the instruction pages
    Font prompt;   // "click to continue" and friends
    Font button;   // button labels
    Font banner;   // the player banner on play screens
    Font label;    // labels of panels and strips
    Font note;     // a sentence beside a button
    Font hint;     // small helper text
};

} // namespace art::style
