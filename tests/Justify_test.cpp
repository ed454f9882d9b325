#include "stats/Justify.h"

#include <gtest/gtest.h>

#include <string>

namespace kel {
namespace {

// 6 pixels per character, whatever its UTF-8 length.
int Measure(std::string_view s) {
    int chars = 0;
    for (unsigned char c : s)
        chars += (c & 0xC0) != 0x80;
    return 6 * chars;
}

std::vector<JustifiedWord> Layout(std::string_view a, std::string_view b, int width) {
    return LayoutJustified(a, b, width, Measure);
}

struct Placed {
    std::string Text;
    int X, Y;
    bool operator==(const Placed&) const = default;
};

std::vector<Placed> Plain(const std::vector<JustifiedWord>& words) {
    std::vector<Placed> out;
    for (const auto& w : words)
        out.push_back({w.Text, w.X, w.Y});
    return out;
}

TEST(LayoutJustified, ShortTextIsOneLeftAlignedLine) {
    EXPECT_EQ(Plain(Layout("Короткое описание", "", 300)),
              (std::vector<Placed>{{"Короткое", 5, 0}, {"описание", 59, 0}}));
    // The two parts are joined without a blank between them.
    EXPECT_EQ(Plain(Layout("Серпан", "тин вдоль", 300)),
              (std::vector<Placed>{{"Серпантин", 5, 0}, {"вдоль", 65, 0}}));
}

TEST(LayoutJustified, LongWordsAreCutToThirtyCharacters) {
    std::string word;
    for (int i = 0; i < 40; ++i)
        word += "щ";
    const auto words = Layout("x " + word, " y", 1000);
    ASSERT_EQ(words.size(), 3u);
    std::string cut;
    for (int i = 0; i < 30; ++i)
        cut += "щ";
    EXPECT_EQ(words[1].Text, cut);
    EXPECT_EQ(words[2].X, 5 + 6 + 6 + 180 + 6);
}

TEST(LayoutJustified, FullLinesAreStretchedAndTheLastIsNot) {
    // Room is 111 - 10 = 101 pixels; "aa bbb c" takes 54 with its leading blanks, so each of
    // the two gaps is (101 - 54) / 2 + 3 = 26, the remainder dropped.
    EXPECT_EQ(Plain(Layout("aa bbb c dddddddddd e", "", 111)),
              (std::vector<Placed>{{"aa", 5, 0}, {"bbb", 43, 0}, {"c", 87, 0}, {"dddddddddd", 5, 13}, {"e", 71, 13}}));
    // A line is full when its width reaches the room exactly.
    EXPECT_EQ(Plain(Layout("aaaa bbbb cccc dddd", "", 100)),
              (std::vector<Placed>{{"aaaa", 5, 0}, {"bbbb", 62, 0}, {"cccc", 5, 13}, {"dddd", 35, 13}}));
}

TEST(LayoutJustified, DoubleBlanksGiveEmptyWords) {
    EXPECT_EQ(Plain(Layout("a  b ", "", 300)),
              (std::vector<Placed>{{"a", 5, 0}, {"", 17, 0}, {"b", 23, 0}, {"", 35, 0}}));
    EXPECT_EQ(Plain(Layout("", "", 300)), (std::vector<Placed>{{"", 5, 0}}));
}

TEST(LayoutJustified, LongTextsKeepEveryLineAndWord) {
    // 100 lines of one word each, far beyond 30 lines.
    std::string text;
    for (int i = 0; i < 100; ++i)
        text += (i ? " w" : "w") + std::to_string(i % 10) + "xx";
    auto words = Layout(text, "", 50);
    ASSERT_EQ(words.size(), 100u);
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(words[static_cast<std::size_t>(i)].Y, 13 * i);
        EXPECT_EQ(words[static_cast<std::size_t>(i)].X, 5);
    }

    // 60 words on one line, far beyond 20.
    words = Layout(std::string(59, ' '), "", 1000);
    ASSERT_EQ(words.size(), 60u);
    EXPECT_EQ(words.back().Y, 0);
    EXPECT_EQ(words.back().X, 5 + 59 * 6);
}

} // namespace
} // namespace kel
