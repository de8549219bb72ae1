// stroke.h: the vector picture model: segments, strokes and the two drawings.
//
// A Drawing owns its Strokes (in painting order) and a Stroke owns its
// Segments (in drawing order). Pen capture builds strokes and hands finished
// ones to a drawing; the display pass draws them every frame. The two drawings
// are static objects that live, and only grow, for the whole process.
#pragma once

#include <memory>
#include <vector>

// A colour of three components, each 0..1.
struct RgbColor {
    float red = 0.0f;
    float green = 0.0f;
    float blue = 0.0f;
};

// One straight section of a stroke, also used as the pen segment.
class Segment {
  public:
    Segment() = default; // start, end and length 0; direction unset until computeDirection

    float startX() const { return startX_; }
    float startY() const { return startY_; }
    float endX() const { return endX_; }
    float endY() const { return endY_; }
    float directionX() const { return directionX_; }
    float directionY() const { return directionY_; }
    float length() const { return length_; }

    void setStartX(float x) { startX_ = x; }
    void setStartY(float y) { startY_ = y; }
    void setEndX(float x) { endX_ = x; }
    void setEndY(float y) { endY_ = y; }

    // Sets length and unit direction from the end points; a zero-length or
    // downward vertical segment gets direction (0, -1), never a division by zero.
    void computeDirection();

    // Draws the segment as a one-pixel GL_LINES line in the current colour.
    void draw() const;

  private:
    float startX_ = 0.0f;
    float startY_ = 0.0f;
    float endX_ = 0.0f;
    float endY_ = 0.0f;
    float directionX_ = 0.0f;
    float directionY_ = 0.0f;
    float length_ = 0.0f;
};

// One pen line: a chain of segments, each starting where the previous one ended.
class Stroke {
  public:
    Stroke() = default; // no segments, colour black; the creator sets the width

    void setWidth(float width) { width_ = width; }
    void setColor(float red, float green, float blue) { color_ = {red, green, blue}; }
    float width() const { return width_; }
    RgbColor color() const { return color_; }

    int segmentCount() const { return static_cast<int>(segments_.size()); }
    // index must be in 0 .. segmentCount() - 1.
    const Segment& segment(int index) const { return segments_[static_cast<std::size_t>(index)]; }

    // Appends a segment whose direction has been computed.
    void appendSegment(const Segment& segment);
    // Appends a segment from the last segment's end to (x, y); needs segmentCount() >= 1.
    void extendTo(float x, float y);

    // Draws a band per segment and a bevel join per bend, in the stroke's colour.
    void draw() const;

  private:
    // Segments are held by value: the stroke owns them outright, and the
    // per-frame draw walks them as one contiguous array.
    std::vector<Segment> segments_;
    float width_ = 0.0f;
    RgbColor color_;
};

// One player's picture: strokes in the order they were finished.
class Drawing {
  public:
    // Takes ownership of a finished stroke; it is drawn after, and over, the earlier ones.
    void addStroke(std::unique_ptr<Stroke> stroke);
    int strokeCount() const { return static_cast<int>(strokes_.size()); }
    // index must be in 0 .. strokeCount() - 1.
    const Stroke& stroke(int index) const { return *strokes_[static_cast<std::size_t>(index)]; }

    // Draws every stroke, first to last.
    void draw() const;

  private:
    std::vector<std::unique_ptr<Stroke>> strokes_;
};

// (ay - by)^2 + (ax - bx)^2 in double precision, without the square root.
double squaredDistance(double ax, double ay, double bx, double by);

extern Drawing player1Drawing; // player 1's picture, for the whole game
extern Drawing player2Drawing; // player 2's picture, for the whole game
