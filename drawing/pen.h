// pen.h: pen capture: turns pointer motion on the canvas into strokes.
//
// Owns the stroke in progress and the pen segment (last accepted point to the
// pointer). The mouse handling calls penDown, penDrag and penUp with scene
// coordinates; finished strokes go to the drawing of the current player.
#pragma once

#include <memory>

#include "drawing/stroke.h"

// An open rectangle in scene units: a point on an edge is outside. Bounds are
// doubles and a float coordinate is widened before the comparison.
struct SceneRect {
    double left;
    double right;
    double bottom;
    double top;

    bool contains(float x, float y) const {
        const double px = x;
        const double py = y;
        return left < px && px < right && bottom < py && py < top;
    }
};

// Where the pen draws; a press on it starts a stroke.
inline constexpr SceneRect CanvasRegion{-47.0, 27.66, 20.3, 72.81};

// Least squared distance, in squared scene units, from the last accepted point
// before a new point becomes a segment (about 5.6 pixels).
inline constexpr double SEGMENT_SPACING_SQ = 0.3;

// Width of every new stroke, in scene units.
inline constexpr float NEW_STROKE_WIDTH = 1.0f;

extern std::unique_ptr<Stroke> currentStroke; // the stroke being drawn, or null
extern Segment penSegment;                    // last accepted point -> pointer

// Starts a new stroke at (x, y) in the palette's current colour; sets PenDown.
void penDown(float x, float y);
// Samples the pointer into the current stroke, or ends it when the pointer has
// left the canvas; does nothing unless PenDown.
void penDrag(float x, float y);
// Ends the current stroke at (x, y): one with segments joins the current player's
// drawing, an empty one is released. The caller has checked inputMode is PenDown.
void penUp(float x, float y);
// Hands the current stroke to the current player's drawing; needs a current stroke.
void finishStroke();

// Draws the live view of a drawing: its strokes, the stroke in progress, the pen line.
void drawLiveView(const Drawing& drawing);
// Draws the picture view of a drawing: its strokes alone.
void drawPictureView(const Drawing& drawing);
// Where drawGameOverPair puts the pictures: each drawing scaled about the
// scene origin, then moved by the offset; the screen art frames both places.
inline constexpr float GAME_OVER_SCALE = 0.6f;     // size of each picture on the game-over screen
inline constexpr float PLAYER1_OFFSET_X = -19.0f;  // scene x of player 1's picture origin
inline constexpr float PLAYER2_OFFSET_X = 30.8f;   // scene x of player 2's picture origin
inline constexpr float GAME_OVER_OFFSET_Y = 24.5f; // scene y of both pictures' origin

// Draws both drawings side by side at 60 % for the game-over screen.
void drawGameOverPair();
