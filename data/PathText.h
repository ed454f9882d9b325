#pragma once
// File paths as UTF-8 text and back. On Windows, std::filesystem's narrow strings are in the
// system's code page (or, with some compilers, UTF-8 one way only), so a path that travels
// through path::string() and back loses Cyrillic letters: convert here instead.

#include <filesystem>
#include <string>
#include <string_view>

namespace kel {

inline std::string PathToUtf8(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

inline std::filesystem::path Utf8ToPath(std::string_view text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

} // namespace kel
