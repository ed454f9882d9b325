#include "data/Cp1251.h"

#include <array>
#include <cstdint>
#include <unordered_map>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace kel {
namespace {

// UTF-8 form of every cp1251 byte, built once by the platform's converter.
struct Tables {
    std::array<std::string, 256> toUtf8;
    std::unordered_map<uint32_t, char> fromCodePoint;

    Tables() {
        for (int b = 0; b < 256; ++b) {
            toUtf8[b] = Convert(static_cast<char>(b));
            const uint32_t cp = DecodeOne(toUtf8[b]);
            if (cp != 0xFFFD || b == 0)
                fromCodePoint.emplace(cp, static_cast<char>(b));
        }
    }

    static std::string Convert(char byte) {
        if (static_cast<unsigned char>(byte) < 0x80)
            return std::string(1, byte);
#ifdef _WIN32
        wchar_t wide = 0;
        // Windows maps the unassigned byte 0x98 to the control character U+0098; no assigned
        // byte of the code page is a C1 control, so treat it as the replacement, as iconv does.
        if (MultiByteToWideChar(1251, 0, &byte, 1, &wide, 1) != 1 || (wide >= 0x80 && wide <= 0x9F))
            return "\xEF\xBF\xBD";
        char out[8] = {};
        const int n = WideCharToMultiByte(CP_UTF8, 0, &wide, 1, out, sizeof out, nullptr, nullptr);
        return n > 0 ? std::string(out, static_cast<std::size_t>(n)) : std::string("\xEF\xBF\xBD");
#else
        iconv_t cd = iconv_open("UTF-8", "CP1251");
        if (cd == reinterpret_cast<iconv_t>(-1))
            return "\xEF\xBF\xBD";
        char in[1] = {byte};
        char out[8] = {};
        char* inPtr = in;
        char* outPtr = out;
        std::size_t inLeft = 1, outLeft = sizeof out;
        const std::size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
        iconv_close(cd);
        if (rc == static_cast<std::size_t>(-1))
            return "\xEF\xBF\xBD"; // the one unassigned byte (0x98)
        return std::string(out, sizeof out - outLeft);
#endif
    }

    static uint32_t DecodeOne(const std::string& s) {
        const auto* p = reinterpret_cast<const unsigned char*>(s.data());
        if (s.size() == 1) return p[0];
        if (s.size() == 2) return ((p[0] & 0x1Fu) << 6) | (p[1] & 0x3Fu);
        if (s.size() == 3) return ((p[0] & 0x0Fu) << 12) | ((p[1] & 0x3Fu) << 6) | (p[2] & 0x3Fu);
        return 0xFFFD;
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

} // namespace

std::string Cp1251ToUtf8(std::string_view bytes) {
    const Tables& t = GetTables();
    std::string out;
    out.reserve(bytes.size() * 2);
    for (char c : bytes)
        out += t.toUtf8[static_cast<unsigned char>(c)];
    return out;
}

std::string Utf8ToCp1251(std::string_view text) {
    const Tables& t = GetTables();
    std::string out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n;) {
        uint32_t cp;
        std::size_t len;
        const unsigned char c = p[i];
        if (c < 0x80) { cp = c; len = 1; }
        else if ((c & 0xE0) == 0xC0 && i + 1 < n) { cp = ((c & 0x1Fu) << 6) | (p[i + 1] & 0x3Fu); len = 2; }
        else if ((c & 0xF0) == 0xE0 && i + 2 < n) {
            cp = ((c & 0x0Fu) << 12) | ((p[i + 1] & 0x3Fu) << 6) | (p[i + 2] & 0x3Fu); len = 3;
        } else if ((c & 0xF8) == 0xF0 && i + 3 < n) { cp = 0x110000; len = 4; }
        else { cp = 0x110000; len = 1; }
        const auto it = t.fromCodePoint.find(cp);
        out += it != t.fromCodePoint.end() ? it->second : '?';
        i += len;
    }
    return out;
}

} // namespace kel
