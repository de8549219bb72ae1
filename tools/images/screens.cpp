// screens.cpp: composing the ten screen pictures from the widgets.
//
// The layout tables at the top place everything the game does not fix;
// the fixed areas (buttons, canvas, palette, typed rows, the game-over
// pictures) come from scene_areas.h. All positions are image pixels.
#include "tools/images/screens.h"

#include "tools/images/scene_areas.h"
#include "tools/images/shapes.h"
#include "tools/images/widgets.h"

#include <stdexcept>
#include <string>
#include <vector>

namespace art {
namespace {

using style::Fonts;
using style::PlayerTheme;

constexpr float kPageCentreX = scene::kImageWidth * 0.5f; // pixels

// A star sprinkled on a page for decoration.
struct Sparkle {
    Point centre;
    float radius; // pixels
    float angle;  // radians
    Colour colour;
};

// "click to continue" and friends: a pill centred across the page.
constexpr float kPromptTop = 658.0f;
constexpr float kPromptBottom = 714.0f;
constexpr float kPromptPadding = 40.0f; // beside the words inside the pill

// Title screen.
constexpr float kTitleBaseline = 318.0f;
constexpr float kTitleLetterGap = 6.0f; // extra room between sticker letters
constexpr float kTitleBacking = 11.0f;  // white sticker edge around each letter
constexpr Point kTitleShadowOffset{6.0f, 9.0f};
constexpr Colour kTitleShadow = rgb(222, 203, 176);
constexpr std::array<float, 8> kTitleTilt{-0.09f, 0.06f, -0.04f, 0.07f,
                                          -0.06f, 0.05f, -0.08f, 0.07f}; // radians
constexpr std::array<float, 8> kTitleBob{0.0f, -10.0f, 4.0f, -6.0f,
                                         6.0f, -8.0f,  3.0f, -4.0f}; // pixels, up is negative
constexpr std::array<Colour, 8> kTitleColours{
    style::kPlayer1.main, style::kPlayer2.main, style::kSunshine, style::kBerry,
    style::kLeaf,         style::kSky,          style::kLilac,    style::kPlayer2.main};
constexpr float kSubtitleBaseline = 476.0f;
constexpr Point kTitleWaveStart{290.0f, 406.0f};
constexpr Wave kTitleWave{384.0f, 7.0f, 64.0f, 6.0f, 0.0f};
constexpr float kTitlePencilAngle = 0.38f; // radians: the pencil leans down to the right
constexpr float kTitlePencilLength = 210.0f;
constexpr float kTitlePencilThickness = 30.0f;
constexpr std::array<Sparkle, 9> kTitleSparkles{{
    {{112.0f, 118.0f}, 26.0f, 0.2f, style::kSunshine},
    {{186.0f, 560.0f}, 18.0f, -0.3f, style::kPlayer1.main},
    {{902.0f, 104.0f}, 22.0f, -0.2f, style::kPlayer2.main},
    {{950.0f, 560.0f}, 28.0f, 0.4f, style::kSunshine},
    {{78.0f, 360.0f}, 14.0f, 0.1f, style::kBerry},
    {{980.0f, 330.0f}, 13.0f, -0.4f, style::kLeaf},
    {{512.0f, 76.0f}, 16.0f, 0.0f, style::kLilac},
    {{330.0f, 600.0f}, 12.0f, 0.5f, style::kSky},
    {{760.0f, 610.0f}, 15.0f, -0.1f, style::kBerry},
}};
constexpr Colour kPencilYellow = rgb(250, 196, 60);

// Instruction pages.
constexpr float kHeadingBaseline = 108.0f;
constexpr float kHeadingWaveDrop = 22.0f; // wave under a heading, below its baseline
constexpr Wave kHeadingWave{0.0f, 4.0f, 40.0f, 5.0f, 0.0f};
constexpr Point kPageNumberAt{984.0f, 48.0f}; // right end of "page 1 of 2", on its baseline
constexpr Rect kStepsCard{80.0f, 160.0f, 944.0f, 626.0f};
constexpr float kCardRadius = 26.0f;
constexpr float kStepBadgeX = 150.0f;
constexpr float kStepBadgeRadius = 30.0f;
constexpr float kStepTextLeft = 208.0f;
constexpr float kStepTextWidth = 704.0f;
constexpr float kStepLineSpacing = 45.0f;
constexpr float kStepGap = 36.0f;        // between two steps
constexpr float kStepStarRadius = 17.0f; // the star inside a "good to know" badge
constexpr std::array<Sparkle, 3> kInstructionSparkles{{
    {{96.0f, 70.0f}, 22.0f, 0.2f, style::kPlayer2.main},
    {{190.0f, 118.0f}, 13.0f, -0.3f, style::kLilac},
    {{962.0f, 690.0f}, 18.0f, 0.3f, style::kSunshine},
}};
constexpr float kInstructionPencilAngle = 0.5f;
constexpr Point kInstructionPencilTip{840.0f, 68.0f};
constexpr float kInstructionPencilLength = 150.0f;
constexpr float kInstructionPencilThickness = 22.0f;

// Start screens.
constexpr Rect kStartCard{152.0f, 96.0f, 872.0f, 560.0f};
constexpr float kStartCardRadius = 30.0f;
constexpr float kStartHeadingBaseline = 246.0f;
constexpr float kStartWaveDrop = 34.0f;
constexpr Wave kStartWave{0.0f, 6.0f, 56.0f, 7.0f, 0.0f};
constexpr float kStartPillTop = 330.0f;
constexpr float kStartPillBottom = 392.0f;
constexpr float kStartLineBaseline = 466.0f;
constexpr Point kStartWaveStart{250.0f, 522.0f};
constexpr Wave kStartDoodle{440.0f, 5.0f, 42.0f, 5.0f, 0.0f}; // ends at the pencil's point
constexpr float kStartDoodleFade = 0.45f; // doodle colour, 0..1 from the player's toward the card
constexpr float kStartPencilAngle = -0.3f;
constexpr float kStartPencilLength = 170.0f;
constexpr float kStartPencilThickness = 24.0f;
constexpr float kNoteLeft = 40.0f;
constexpr float kNoteGap = 24.0f;     // between the note and the Game Over button
constexpr float kNoteSpacing = 32.0f; // between the note's lines
constexpr std::array<Sparkle, 6> kStartSparkles{{
    {{196.0f, 140.0f}, 20.0f, 0.2f, style::kSunshine},
    {{828.0f, 142.0f}, 16.0f, -0.3f, style::kBerry},
    {{200.0f, 500.0f}, 18.0f, 0.3f, style::kSunshine},
    {{84.0f, 330.0f}, 14.0f, 0.1f, style::kLilac},
    {{946.0f, 232.0f}, 17.0f, -0.2f, style::kLeaf},
    {{930.0f, 600.0f}, 12.0f, 0.4f, style::kSky},
}};

// Drawing and typing screens.
constexpr Rect kBanner{810.0f, 9.0f, 1010.0f, 53.0f};
constexpr Rect kPalettePanel{842.0f, 72.0f, 970.0f, 358.0f};
constexpr float kPanelRadius = 14.0f;
constexpr float kGridRimGap = 3.0f; // between the colour grid and its rim
constexpr float kGridRimWidth = 2.0f;
constexpr float kGridRimRadius = 4.0f;
constexpr Rect kSwatchPill{852.0f, 372.0f, 980.0f, 416.0f};
constexpr float kSwatchLabelGap = 10.0f; // between the pen label and the swatch's ring
constexpr float kSwatchRingGap = 4.0f;
constexpr float kSwatchRingWidth = 2.5f;
constexpr float kSwatchRingRadius = 3.0f;
constexpr Rect kAnswerCard{16.0f, 575.0f, 1008.0f, 758.0f};
constexpr float kAnswerStripBottom = 604.0f;
constexpr float kAnswerTextInset = 25.0f; // label and hint inside the strip, from its ends
constexpr float kRuleInset = 20.0f;       // ruled lines, from the card's ends
constexpr float kRuleDrop = 2.0f;         // ruled line, below a baseline
constexpr float kRuleThickness = 1.0f;

// Game-over screen.
constexpr float kGameOverTitleBaseline = 46.0f;
constexpr float kPictureLabelTop = 410.0f;
constexpr float kPictureLabelBottom = 452.0f;
constexpr float kPictureLabelPadding = 28.0f;
constexpr float kThanksBaseline = 572.0f;
constexpr float kCloseBaseline = 628.0f;
constexpr std::array<Sparkle, 10> kGameOverSparkles{{
    {{150.0f, 540.0f}, 24.0f, 0.2f, style::kSunshine},
    {{248.0f, 640.0f}, 14.0f, -0.3f, style::kPlayer1.main},
    {{880.0f, 534.0f}, 22.0f, -0.2f, style::kSunshine},
    {{780.0f, 650.0f}, 15.0f, 0.4f, style::kPlayer2.main},
    {{70.0f, 690.0f}, 18.0f, 0.1f, style::kBerry},
    {{960.0f, 700.0f}, 17.0f, -0.4f, style::kLeaf},
    {{512.0f, 716.0f}, 13.0f, 0.0f, style::kLilac},
    {{380.0f, 690.0f}, 10.0f, 0.5f, style::kSky},
    {{650.0f, 690.0f}, 11.0f, -0.1f, style::kBerry},
    {{60.0f, 500.0f}, 11.0f, 0.3f, style::kSky},
}};

// Throws unless `inner` lies inside `outer`: a guard on the hand-placed layout.
void requireInside(Rect inner, Rect outer, const char* what) {
    if (inner.left < outer.left || inner.top < outer.top || inner.right > outer.right ||
        inner.bottom > outer.bottom) {
        throw std::runtime_error(std::string("layout: ") + what);
    }
}

void sprinkle(Raster& raster, std::span<const Sparkle> sparkles) {
    for (const Sparkle& s : sparkles) {
        drawStar(raster, s.centre, s.radius, s.angle, s.colour);
    }
}

// The pill at the bottom of a page telling the players how to go on.
void drawPrompt(Raster& raster, const Fonts& fonts, const char* text, Colour fill) {
    const float half = fonts.prompt.measure(text) * 0.5f + kPromptPadding;
    const Rect pill{kPageCentreX - half, kPromptTop, kPageCentreX + half, kPromptBottom};
    dropShadow(raster, pill, pill.height() * 0.5f);
    drawPill(raster, fonts.prompt, pill, text, fill, style::kWhite);
}

// A centred heading with a wavy underline in `underline`.
void drawHeading(Raster& raster, const Font& font, const char* text, float baseline, float waveDrop,
                 Wave wave, Colour ink, Colour underline) {
    requireFits(font, text, static_cast<float>(raster.width()));
    drawCentred(raster, font, text, kPageCentreX, baseline, ink);
    wave.length = font.measure(text);
    drawSquiggle(raster, {kPageCentreX - wave.length * 0.5f, baseline + waveDrop}, wave, underline);
}

// ---- Title ----

void drawStickerTitle(Raster& raster, const Font& font, const std::string& name) {
    std::vector<float> penX;
    for (std::size_t i = 0; i < name.size(); ++i) {
        penX.push_back(font.measure(name.substr(0, i)) + static_cast<float>(i) * kTitleLetterGap);
    }
    const float width = font.measure(name) + static_cast<float>(name.size() - 1) * kTitleLetterGap;
    const float left = kPageCentreX - width * 0.5f;
    auto origin = [&](std::size_t i) {
        return Point{left + penX[i], kTitleBaseline + kTitleBob[i % kTitleBob.size()]};
    };
    auto tilt = [](std::size_t i) { return kTitleTilt[i % kTitleTilt.size()]; };
    // Shadows under every letter first, then every white backing, so that
    // neighbouring stickers merge, then the coloured letters on top.
    for (std::size_t i = 0; i < name.size(); ++i) {
        const Point at = origin(i);
        font.drawGlyph(raster, static_cast<char32_t>(name[i]),
                       {at.x + kTitleShadowOffset.x, at.y + kTitleShadowOffset.y},
                       {kTitleShadow, tilt(i), kTitleBacking});
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        font.drawGlyph(raster, static_cast<char32_t>(name[i]), origin(i),
                       {style::kWhite, tilt(i), kTitleBacking});
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        font.drawGlyph(raster, static_cast<char32_t>(name[i]), origin(i),
                       {kTitleColours[i % kTitleColours.size()], tilt(i)});
    }
}

// ---- Instruction pages ----

// One step of an instruction page: its badge and its sentence.
struct Step {
    const char* badge; // text on the badge, or nullptr for a star
    Colour colour;
    const char* text;
};

void drawSteps(Raster& raster, const Fonts& fonts, std::span<const Step> steps) {
    drawCard(raster, kStepsCard, kCardRadius, style::kCard, style::kCardEdge);
    std::vector<std::vector<std::string>> lines;
    float height = 0.0f;
    for (const Step& step : steps) {
        lines.push_back(wrapLines(fonts.body, step.text, kStepTextWidth));
        height += static_cast<float>(lines.back().size()) * kStepLineSpacing;
    }
    height += static_cast<float>(steps.size() - 1) * kStepGap;
    // Centre the block of text: its first cap top to its last baseline.
    const float capToBaseline = height - kStepLineSpacing + fonts.body.capHeight();
    float baseline = kStepsCard.centreY() - capToBaseline * 0.5f + fonts.body.capHeight();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Point badge{kStepBadgeX, baseline - fonts.body.capHeight() * 0.5f};
        if (steps[i].badge != nullptr) {
            drawBadge(raster, fonts.prompt, badge, kStepBadgeRadius, steps[i].badge,
                      steps[i].colour);
        } else {
            fillCircle(raster, badge, kStepBadgeRadius, steps[i].colour);
            drawStar(raster, badge, kStepStarRadius, 0.0f, style::kWhite);
        }
        for (const std::string& line : lines[i]) {
            requireFits(fonts.body, line, kStepTextWidth);
            fonts.body.draw(raster, line, {kStepTextLeft, baseline}, style::kInk);
            baseline += kStepLineSpacing;
        }
        baseline += kStepGap;
    }
}

void drawPageNumber(Raster& raster, const Fonts& fonts, const char* text) {
    fonts.hint.draw(raster, text, {kPageNumberAt.x - fonts.hint.measure(text), kPageNumberAt.y},
                    style::kInkSoft);
}

Raster instructionPage(const Fonts& fonts, const char* heading, const char* pageNumber,
                       std::span<const Step> steps) {
    Raster raster(scene::kImageWidth, scene::kImageHeight, style::kPaperTop);
    paintPaper(raster, style::kPaperTop, style::kPaperBottom);
    drawHeading(raster, fonts.heading, heading, kHeadingBaseline, kHeadingWaveDrop, kHeadingWave,
                style::kInk, style::kSunshine);
    drawPageNumber(raster, fonts, pageNumber);
    sprinkle(raster, kInstructionSparkles);
    drawSteps(raster, fonts, steps);
    drawPrompt(raster, fonts, "click to continue", style::kPlayer1.main);
    return raster;
}

// ---- Turn screens ----

Raster themedPage(const PlayerTheme& theme) {
    Raster raster(scene::kImageWidth, scene::kImageHeight, theme.paperTop);
    paintPaper(raster, theme.paperTop, theme.paperBottom);
    return raster;
}

Raster startScreen(const Fonts& fonts, const PlayerTheme& theme) {
    Raster raster = themedPage(theme);
    drawCard(raster, kStartCard, kStartCardRadius, style::kCard, style::kCardEdge);
    sprinkle(raster, kStartSparkles);

    const std::string heading = std::string(theme.name) + "\u2019s turn";
    requireFits(fonts.display, heading, kStartCard.width() - 2.0f * kStartCardRadius);
    drawHeading(raster, fonts.display, heading.c_str(), kStartHeadingBaseline, kStartWaveDrop,
                kStartWave, theme.deep, theme.main);

    const char* start = "click to start";
    const float half = fonts.prompt.measure(start) * 0.5f + kPromptPadding;
    const Rect pill{kPageCentreX - half, kStartPillTop, kPageCentreX + half, kStartPillBottom};
    dropShadow(raster, pill, pill.height() * 0.5f);
    drawPill(raster, fonts.prompt, pill, start, theme.main, style::kWhite);

    const char* line = "Draw a picture, then write a line about it.";
    requireFits(fonts.note, line, kStartCard.width() - 2.0f * kStartCardRadius);
    drawCentred(raster, fonts.note, line, kPageCentreX, kStartLineBaseline, style::kInkSoft);

    drawSquiggle(raster, kStartWaveStart, kStartDoodle,
                 mix(theme.main, style::kCard, kStartDoodleFade));
    const Point tip{kStartWaveStart.x + kStartDoodle.length, kStartWaveStart.y};
    drawPencil(raster, tip, kStartPencilAngle, kStartPencilLength, kStartPencilThickness,
               theme.main);

    // The way out: a note and the Game Over button.
    const Rect& button = scene::kGameOverButton;
    constexpr std::array<const char*, 2> noteLines{"All done? Press Game Over",
                                                   "to see both pictures side by side."};
    const float noteWidth = button.left - kNoteGap - kNoteLeft;
    float baseline = button.centreY() + fonts.note.capHeight() * 0.5f -
                     static_cast<float>(noteLines.size() - 1) * kNoteSpacing * 0.5f;
    for (const char* noteLine : noteLines) {
        requireFits(fonts.note, noteLine, noteWidth);
        fonts.note.draw(raster, noteLine,
                        {button.left - kNoteGap - fonts.note.measure(noteLine), baseline},
                        style::kInk);
        baseline += kNoteSpacing;
    }
    drawButton(raster, fonts.button, button, "Game Over", style::kBerry, style::kBerryDeep);
    return raster;
}

void drawPalettePanel(Raster& raster, const Fonts& fonts) {
    requireInside(kPalettePanel, scene::kPalettePressArea,
                  "the palette panel must stay inside the palette's press area");
    if (kSwatchPill.bottom >= scene::kDoneButton.top) {
        throw std::runtime_error("layout: the pen swatch must stay clear of the Done button");
    }
    drawCard(raster, kPalettePanel, kPanelRadius, style::kCard, style::kCardEdge);
    const Rect rim = scene::kPaletteGrid.grown(kGridRimGap + kGridRimWidth);
    strokeRoundedRect(raster, rim, kGridRimRadius, kGridRimWidth, style::kCardEdge);

    // The pen swatch: a pill with its label and a ring around the square.
    dropShadow(raster, kSwatchPill, kSwatchPill.height() * 0.5f);
    fillRoundedRect(raster, kSwatchPill, kSwatchPill.height() * 0.5f, style::kCard);
    strokeRoundedRect(raster, kSwatchPill, kSwatchPill.height() * 0.5f, kGridRimWidth,
                      style::kCardEdge);
    const Rect ring = scene::kPaletteSwatch.grown(kSwatchRingGap + kSwatchRingWidth);
    strokeRoundedRect(raster, ring, kSwatchRingRadius, kSwatchRingWidth, style::kInk);
    const char* label = "Pen";
    const float labelLeft = kSwatchPill.left + kSwatchPill.height() * 0.5f;
    const float labelRight = ring.left - kSwatchLabelGap;
    requireFits(fonts.label, label, labelRight - labelLeft);
    fonts.label.draw(raster, label,
                     {labelRight - fonts.label.measure(label),
                      capCentredBaseline(fonts.label, kSwatchPill.top, kSwatchPill.bottom)},
                     style::kInk);
}

void drawAnswerCard(Raster& raster, const Fonts& fonts, const PlayerTheme& theme, const char* label,
                    const char* hint) {
    const Rect rows{scene::kAnswerLeft, scene::kAnswerBaselines.front() - scene::kAnswerAscent,
                    scene::kAnswerRight, scene::kAnswerBaselines.back() + scene::kAnswerDescent};
    requireInside(rows,
                  {kAnswerCard.left, kAnswerStripBottom, kAnswerCard.right, kAnswerCard.bottom},
                  "the typed rows must lie on the white of the answer card");
    drawCard(raster, kAnswerCard, kPanelRadius, style::kWhite, style::kCardEdge);
    const Rect strip{kAnswerCard.left, kAnswerCard.top, kAnswerCard.right, kAnswerStripBottom};
    fillRoundedRect(raster, strip, kPanelRadius, theme.light);
    fillRoundedRect(raster, {strip.left, strip.top + kPanelRadius, strip.right, strip.bottom}, 0.0f,
                    theme.light);
    strokeRoundedRect(raster, kAnswerCard, kPanelRadius, kGridRimWidth, theme.main);
    const float baseline = capCentredBaseline(fonts.label, strip.top, strip.bottom);
    const float hintWidth = fonts.hint.measure(hint);
    requireFits(fonts.label, label,
                strip.width() - 2.0f * kAnswerTextInset - hintWidth - kAnswerTextInset);
    fonts.label.draw(raster, label, {strip.left + kAnswerTextInset, baseline}, theme.deep);
    fonts.hint.draw(raster, hint, {strip.right - kAnswerTextInset - hintWidth, baseline},
                    style::kInkSoft);
    for (float row : scene::kAnswerBaselines) {
        fillRoundedRect(raster,
                        {kAnswerCard.left + kRuleInset, row + kRuleDrop,
                         kAnswerCard.right - kRuleInset, row + kRuleDrop + kRuleThickness},
                        0.0f, style::kRule);
    }
}

// What the right-hand column and the strip under the canvas say in one phase.
struct PhaseText {
    const char* action; // after "Player n: " in the banner
    const char* label;  // left of the strip
    const char* hint;   // right of the strip
};

constexpr PhaseText kDrawingText{"draw!",
                                 "Your partner wrote:", "draw on the canvas, then press Done"};
constexpr PhaseText kTypingText{
    "write!", "Write a line about your picture:", "type on the keyboard, then press Done"};

Raster playScreen(const Fonts& fonts, const PlayerTheme& theme, const PhaseText& text) {
    Raster raster = themedPage(theme);
    drawPictureFrame(raster, scene::kCanvas, theme.main);
    const std::string banner = std::string(theme.name) + ": " + text.action;
    dropShadow(raster, kBanner, kBanner.height() * 0.5f);
    drawPill(raster, fonts.banner, kBanner, banner, theme.main, style::kWhite);
    drawPalettePanel(raster, fonts);
    drawButton(raster, fonts.button, scene::kDoneButton, "Done", theme.main, theme.deep);
    drawAnswerCard(raster, fonts, theme, text.label, text.hint);
    return raster;
}

} // namespace

Raster buildTitle(const Fonts& fonts) {
    Raster raster(scene::kImageWidth, scene::kImageHeight, style::kPaperTop);
    paintPaper(raster, style::kPaperTop, style::kPaperBottom);
    sprinkle(raster, kTitleSparkles);
    drawSquiggle(raster, kTitleWaveStart, kTitleWave, style::kPlayer2.main);
    const Point tip{kTitleWaveStart.x + kTitleWave.length, kTitleWaveStart.y};
    drawPencil(raster, tip, kTitlePencilAngle, kTitlePencilLength, kTitlePencilThickness,
               kPencilYellow);
    drawStickerTitle(raster, fonts.title, "Quillory");
    drawCentred(raster, fonts.subtitle, "a drawing game for two", kPageCentreX, kSubtitleBaseline,
                style::kInkSoft);
    drawPrompt(raster, fonts, "click to continue", style::kPlayer1.main);
    return raster;
}

Raster buildInstructions(const Fonts& fonts) {
    constexpr std::array<Step, 3> steps{{
        {"1", style::kPlayer1.main,
         "Player 1 starts: draw on the white canvas with the mouse. Click a colour to change "
         "pens."},
        {"2", style::kPlayer2.main,
         "Press Done. Then type a line about your picture and press Done again."},
        {"3", style::kLeaf, "Pass the mouse to your partner for their turn."},
    }};
    Raster raster = instructionPage(fonts, "How to play", "page 1 of 2", steps);
    drawPencil(raster, kInstructionPencilTip, kInstructionPencilAngle, kInstructionPencilLength,
               kInstructionPencilThickness, kPencilYellow);
    return raster;
}

Raster buildInstructions2(const Fonts& fonts) {
    constexpr std::array<Step, 3> steps{{
        {nullptr, style::kSunshine,
         "While you draw, your partner\u2019s latest line shows under the canvas."},
        {nullptr, style::kBerry, "Your pictures keep growing every turn: nothing is ever erased."},
        {nullptr, style::kSky,
         "Press Game Over on a start screen to end the game and see both pictures side by "
         "side."},
    }};
    return instructionPage(fonts, "Good to know", "page 2 of 2", steps);
}

Raster buildGameOver(const Fonts& fonts) {
    Raster raster(scene::kImageWidth, scene::kImageHeight, style::kPaperTop);
    paintPaper(raster, style::kPaperTop, style::kPaperBottom);
    const char* title = "Game over \u2014 here are your pictures!";
    requireFits(fonts.headline, title, static_cast<float>(raster.width()));
    drawCentred(raster, fonts.headline, title, kPageCentreX, kGameOverTitleBaseline, style::kInk);

    const std::array<std::pair<const Rect*, const PlayerTheme*>, 2> pictures{
        {{&scene::kGameOverPicture1, &style::kPlayer1},
         {&scene::kGameOverPicture2, &style::kPlayer2}}};
    for (const auto& [area, theme] : pictures) {
        drawPictureFrame(raster, *area, theme->main);
        const float half = fonts.prompt.measure(theme->name) * 0.5f + kPictureLabelPadding;
        const Rect label{area->centreX() - half, kPictureLabelTop, area->centreX() + half,
                         kPictureLabelBottom};
        dropShadow(raster, label, label.height() * 0.5f);
        drawPill(raster, fonts.prompt, label, theme->name, theme->main, style::kWhite);
    }
    sprinkle(raster, kGameOverSparkles);
    drawCentred(raster, fonts.heading, "Thanks for playing!", kPageCentreX, kThanksBaseline,
                style::kBerry);
    drawCentred(raster, fonts.note, "Close the window when you are done.", kPageCentreX,
                kCloseBaseline, style::kInkSoft);
    return raster;
}

Raster buildPlayer1Start(const Fonts& fonts) {
    return startScreen(fonts, style::kPlayer1);
}
Raster buildPlayer2Start(const Fonts& fonts) {
    return startScreen(fonts, style::kPlayer2);
}
Raster buildPlayer1Drawing(const Fonts& fonts) {
    return playScreen(fonts, style::kPlayer1, kDrawingText);
}
Raster buildPlayer2Drawing(const Fonts& fonts) {
    return playScreen(fonts, style::kPlayer2, kDrawingText);
}
Raster buildPlayer1Typing(const Fonts& fonts) {
    return playScreen(fonts, style::kPlayer1, kTypingText);
}
Raster buildPlayer2Typing(const Fonts& fonts) {
    return playScreen(fonts, style::kPlayer2, kTypingText);
}

} // namespace art
