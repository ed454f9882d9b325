#include "stats/Justify.h"

#include <algorithm>
#include <cstddef>

namespace kel {
namespace {

constexpr std::size_t MaxWordChars = 30;

// Byte length of the first `chars` UTF-8 characters of `s` (continuation bytes belong to the
// character before them).
std::size_t CutToChars(std::string_view s, std::size_t chars) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80) {
            if (count == chars)
                return i;
            ++count;
        }
    }
    return s.size();
}

struct Line {
    std::size_t First = 0; // index of its first word
    std::size_t Count = 0; // words on the line
    int Gap = 0;           // space between words, stretched so that the line fills the width
};

} // namespace

std::vector<JustifiedWord> LayoutJustified(std::string_view text1, std::string_view text2, int width,
                                           const std::function<int(std::string_view)>& measure) {
    std::string text;
    text.reserve(text1.size() + text2.size());
    text.append(text1).append(text2);
    std::string_view rest = text;

    const int blank = measure(" ");
    const int room = width - 10;
    const std::size_t wordCount = static_cast<std::size_t>(std::count(text.begin(), text.end(), ' ')) + 1;
    std::vector<JustifiedWord> words;
    std::vector<int> widths;
    words.reserve(wordCount);
    widths.reserve(wordCount);
    std::vector<Line> lines(1);
    int w = 0;
    bool last = false;
    while (!last) {
        const std::size_t space = rest.find(' ');
        last = space == std::string_view::npos;
        std::string_view word = rest.substr(0, last ? rest.size() : space);
        rest.remove_prefix(last ? rest.size() : space + 1);
        word = word.substr(0, CutToChars(word, MaxWordChars));

        const int ww = measure(word);
        words.push_back(JustifiedWord{std::string(word), 0, 0});
        widths.push_back(ww);
        w += blank + ww;
        Line& line = lines.back();
        if (w < room) {
            line.Count = words.size() - line.First;
        } else {
            // The word opens the next line; this one is stretched over the width without it.
            line.Count = words.size() - 1 - line.First;
            const int textWidth = w - ww - blank;
            if (line.Count >= 2)
                line.Gap = (room - textWidth) / static_cast<int>(line.Count - 1) + 3;
            lines.push_back(Line{words.size() - 1, 1, 0});
            w = blank + ww;
        }
    }

    // The last line is not stretched: its words stand one blank apart.
    lines.back().Gap = blank;
    for (std::size_t j = 0; j < lines.size(); ++j) {
        const Line& line = lines[j];
        int x = 5;
        for (std::size_t k = 0; k < line.Count; ++k) {
            const std::size_t i = line.First + k;
            if (k > 0)
                x += widths[i - 1] + line.Gap;
            words[i].X = x;
            words[i].Y = JustifiedLineHeight * static_cast<int>(j);
        }
    }
    return words;
}

} // namespace kel
