// answer_text.cpp: the two typed answers, cut into rows and drawn in black
// under the canvas with the shared glyph font.
#include "text/answer_text.h"

#include <GL/gl.h>
#include <array>

#include "text/glyph_font.h"

namespace {

constexpr const char* ANSWER_FONT_PATH = "./fonts/courier.ttf";
constexpr std::uint32_t ANSWER_FONT_HEIGHT = 12; // points
constexpr float ANSWER_TOP_BASELINE = 13.5f;     // scene units, baseline of row 0
constexpr float ANSWER_ROW_SPACING = 2.0f;       // scene units between baselines
constexpr float ANSWER_GLYPH_SCALE = 0.13f;      // scene units per glyph pixel
constexpr std::array<GLfloat, 4> ANSWER_COLOUR = {0.0f, 0.0f, 0.0f, 1.0f}; // opaque black, RGBA

} // namespace

AnswerText answer1;
AnswerText answer2;

void AnswerText::init() {
    GlyphFont& font = GlyphFont::instance();
    if (!font.built()) {
        font.build(ANSWER_FONT_PATH, ANSWER_FONT_HEIGHT);
    }
    text_.clear();
}

void AnswerText::deleteLast() {
    if (!text_.empty()) {
        text_.pop_back();
    }
}

void AnswerText::draw() const {
    const GlyphFont& font = GlyphFont::instance();
    glColor4fv(ANSWER_COLOUR.data());
    const std::vector<std::string_view> rows = answerRows(text_);
    for (std::size_t r = 0; r < rows.size(); ++r) {
        glPushMatrix();
        glTranslatef(ANSWER_LEFT_X, answerRowBaseline(static_cast<int>(r)), 0.0f);
        glScalef(ANSWER_GLYPH_SCALE, ANSWER_GLYPH_SCALE, 1.0f);
        drawLiteralText(font, rows[r]);
        glPopMatrix();
    }
}

std::vector<std::string_view> answerRows(std::string_view text) {
    std::vector<std::string_view> rows;
    std::size_t start = 0;
    do {
        rows.push_back(text.substr(start, ANSWER_ROW_LENGTH));
        start += ANSWER_ROW_LENGTH;
    } while (start < text.size());
    return rows;
}

float answerRowBaseline(int row) {
    return ANSWER_TOP_BASELINE - ANSWER_ROW_SPACING * static_cast<float>(row);
}
