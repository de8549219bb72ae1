// answer_text_test.cpp: the answer buffer's edits, its cutting into display
// rows, and init's failure on a bad font file, with no GL context.
#include "text/answer_text.h"

#include <gtest/gtest.h>
#include <random>
#include <stdexcept>
#include <string>

#include "tests/support/run_folder.h"
#include "text/glyph_font.h"

namespace {

const std::string FONT_FAILURE =
    "FT_New_Face failed (there is probably a problem with your font file)";
constexpr std::size_t RANDOM_FILE_BYTES = 4096;
constexpr std::uint32_t FONT_HEIGHT = 12; // points

TEST(AnswerText, EditsKeepEveryByteAndSetNoLimitOfTheirOwn) {
    AnswerText answer;
    answer.deleteLast();
    EXPECT_EQ(answer.text(), "");

    for (const char ch : {'a', '%', '\r', '\t', '\x1b', '\0', '\xff'}) {
        answer.appendChar(ch);
    }
    EXPECT_EQ(answer.text(), std::string("a%\r\t\x1b\0\xff", 7));
    answer.deleteLast();
    EXPECT_EQ(answer.text(), std::string("a%\r\t\x1b\0", 6));

    answer.setText(std::string(ANSWER_MAX_LENGTH, 'x'));
    answer.appendChar('y');
    EXPECT_EQ(answer.length(), ANSWER_MAX_LENGTH + 1);
    answer.setText("");
    EXPECT_EQ(answer.length(), 0u);
}

TEST(AnswerRows, CutsEvery79BytesIntoAtLeastOneRow) {
    const std::pair<std::size_t, std::vector<std::size_t>> lengthsAndRows[] = {
        {0, {0}},
        {1, {1}},
        {79, {79}},
        {80, {79, 1}},
        {158, {79, 79}},
        {159, {79, 79, 1}},
        {474, {79, 79, 79, 79, 79, 79}},
    };
    for (const auto& [length, rowLengths] : lengthsAndRows) {
        std::string text(length, ' ');
        for (std::size_t i = 0; i < length; ++i) {
            text[i] = static_cast<char>('!' + i % 90);
        }
        const std::vector<std::string_view> rows = answerRows(text);
        ASSERT_EQ(rows.size(), rowLengths.size()) << "length " << length;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(rows[r], std::string_view(text).substr(r * ANSWER_ROW_LENGTH, rowLengths[r]))
                << "length " << length << ", row " << r;
        }
    }
}

TEST(AnswerRows, BaselinesStepDownTwoUnitsFrom13AndAHalf) {
    const float baselines[] = {13.5f, 11.5f, 9.5f, 7.5f, 5.5f, 3.5f};
    for (int row = 0; row < 6; ++row) {
        EXPECT_FLOAT_EQ(answerRowBaseline(row), baselines[row]) << "row " << row;
    }
}

TEST(AnswerInit, MissingFontFileFailsTheBuild) {
    const testsupport::RunFolder folder;
    folder.remove("fonts/courier.ttf");
    const testsupport::WorkingDirectory inFolder(folder.path());
    try {
        answer1.init();
        FAIL() << "init built a font from a missing file";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), FONT_FAILURE);
    }
    EXPECT_FALSE(GlyphFont::instance().built());
}

TEST(AnswerInit, FontFileOfRandomBytesFailsTheBuild) {
    std::mt19937 random(20240611u);
    std::string bytes(RANDOM_FILE_BYTES, '\0');
    for (char& byte : bytes) {
        byte = static_cast<char>(random());
    }
    const testsupport::RunFolder folder;
    folder.overwrite("fonts/courier.ttf", bytes);
    try {
        GlyphFont::instance().build(folder.file("fonts/courier.ttf").c_str(), FONT_HEIGHT);
        FAIL() << "built a font from random bytes";
    } catch (const std::runtime_error& error) {
        EXPECT_EQ(error.what(), FONT_FAILURE);
    }
    EXPECT_FALSE(GlyphFont::instance().built());
}

} // namespace
