#pragma once
// Layout of fully justified text: words placed on lines of a given width.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

struct JustifiedWord {
    std::string Text; // UTF-8, at most 30 characters
    int X = 0;        // relative to the label
    int Y = 0;
};

inline constexpr int JustifiedLineHeight = 13; // pixels from one line to the next

// Lays out text1 followed directly by text2 (UTF-8) in a label `width` pixels wide;
// `measure` gives the pixel width of a UTF-8 text in the label's font. Lines are 13 pixels apart.
std::vector<JustifiedWord> LayoutJustified(std::string_view text1, std::string_view text2, int width,
                                           const std::function<int(std::string_view)>& measure);

} // namespace kel
