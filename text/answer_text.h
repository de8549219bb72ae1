// answer_text.h: the players' typed answers and their wrapped display.
//
// Owns one answer's bytes, exactly as typed. The mouse handling empties an
// answer when its typing phase begins, the keyboard edits it, and the display
// pass draws it under the canvas. Two static instances live for the process.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// Bytes per displayed row of an answer.
inline constexpr std::size_t ANSWER_ROW_LENGTH = 79;
// Longest answer the keyboard builds: six full rows.
inline constexpr std::size_t ANSWER_MAX_LENGTH = 474;
// Scene x of the pen origin of every row; the screen art rules the rows from here.
inline constexpr float ANSWER_LEFT_X = -46.0f;

class AnswerText {
  public:
    // Builds the shared glyph font on first call (needs a GL context), then empties
    // the text. Throws std::runtime_error when the font cannot be built.
    void init();
    // Replaces the whole text.
    void setText(std::string text) { text_ = std::move(text); }
    // Appends one byte as it is; the buffer itself sets no length limit.
    void appendChar(char ch) { text_.push_back(ch); }
    // Removes the last byte; an empty text stays empty.
    void deleteLast();
    // A copy of the text, and its length in bytes.
    std::string text() const { return text_; }
    std::size_t length() const { return text_.size(); }

    // Draws the text in opaque black, 79 bytes to a row, rows 2 units apart from
    // baseline 13.5 down; leaves the current colour black.
    void draw() const;

  private:
    std::string text_;
};

// The displayed rows of `text`: at least one, each at most 79 bytes.
std::vector<std::string_view> answerRows(std::string_view text);

// Scene y of the baseline of row `row` (0 is the top row).
float answerRowBaseline(int row);

extern AnswerText answer1; // typed by player 1
extern AnswerText answer2; // typed by player 2
