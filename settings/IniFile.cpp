#include "settings/IniFile.h"

#include "data/FileBytes.h"
#include "data/LoadError.h"
#include "data/PathText.h"
#include "data/SafeWrite.h"
#include "data/SystemError.h"
#include "data/Texts.h"

// The library's own conversions are not wanted: keys and values stay cp1251 bytes.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <limits>
#include <optional>
#include <system_error>

namespace kel {

namespace fs = std::filesystem;

struct IniFile::Impl {
    CSimpleIniA ini;
};

namespace {

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

std::optional<long long> ParseHex(std::string_view digits) {
    if (digits.empty())
        return std::nullopt;
    for (char c : digits)
        if (!IsHexDigit(c))
            return std::nullopt;
    unsigned long long value = 0;
    const auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), value, 16);
    if (ec != std::errc{} || ptr != digits.data() + digits.size())
        return std::nullopt;
    // Hexadecimal values are bit patterns: "$FFFFFFFFFFFFFFFF" is -1.
    return static_cast<long long>(value);
}

// Decimal with an optional sign, or hexadecimal after "$", or after "0x"/"0X" in a value of
// more than two characters.
std::optional<long long> ParseInteger(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        return ParseHex(text.substr(2));
    if (!text.empty() && text[0] == '$')
        return ParseHex(text.substr(1));
    bool negative = false;
    if (!text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    if (text.empty())
        return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    unsigned long long magnitude = 0;
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (ec != std::errc{} || ptr != text.data() + text.size())
        return std::nullopt;
    constexpr auto maxPositive = static_cast<unsigned long long>(std::numeric_limits<long long>::max());
    if (negative) {
        if (magnitude > maxPositive + 1)
            return std::nullopt;
        return magnitude == maxPositive + 1 ? std::numeric_limits<long long>::min()
                                            : -static_cast<long long>(magnitude);
    }
    if (magnitude > maxPositive)
        return std::nullopt;
    return static_cast<long long>(magnitude);
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// [sign] digits [sep digits] [e|E [sign] digits], with at least one mantissa digit.
std::optional<double> ParseFloat(std::string_view text, std::string_view sep) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    std::string normal;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-')
            normal += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < text.size() && IsDigit(text[i])) {
        normal += text[i++];
        ++mantissaDigits;
    }
    if (!sep.empty() && text.substr(i).starts_with(sep)) {
        normal += '.';
        i += sep.size();
        while (i < text.size() && IsDigit(text[i])) {
            normal += text[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        normal += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            normal += text[i++];
        int exponentDigits = 0;
        while (i < text.size() && IsDigit(text[i])) {
            normal += text[i++];
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    double value = 0;
    const auto [ptr, ec] = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (ec != std::errc{} || ptr != normal.data() + normal.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// Up to 15 significant digits, trailing zeros dropped; exponent form below 1e-4 and from 1e15,
// written "1,5E-7" / "1E20".
std::string FormatFloat(double value, std::string_view sep) {
    if (std::isnan(value))
        return "NAN";
    if (std::isinf(value))
        return value < 0 ? "-INF" : "INF";
    if (value == 0)
        return "0";
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", value);
    std::string_view text(buf);
    std::string out;
    std::string_view mantissa = text;
    std::string_view exponent;
    if (const auto e = text.find('e'); e != std::string_view::npos) {
        mantissa = text.substr(0, e);
        exponent = text.substr(e + 1);
    }
    for (char c : mantissa) {
        if (c == '.')
            out += sep;
        else
            out += c;
    }
    if (!exponent.empty()) {
        out += 'E';
        if (exponent.front() == '-')
            out += '-';
        exponent.remove_prefix(1); // the sign
        while (exponent.size() > 1 && exponent.front() == '0')
            exponent.remove_prefix(1);
        out += exponent;
    }
    return out;
}

// A value is one line: line breaks would start new keys. The reader trims blanks around a
// value, so a value that begins or ends with one is enclosed in double quotes, and so is one
// that begins with a quote (it would lose its own pair of quotes otherwise).
std::string StoredForm(std::string_view value) {
    std::string out(value);
    for (char& c : out)
        if (c == '\r' || c == '\n')
            c = ' ';
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    if (!out.empty() && (blank(out.front()) || blank(out.back()) || out.front() == '"'))
        out = '"' + out + '"';
    return out;
}

// A value enclosed in a pair of double quotes loses them, as the Windows profile functions
// read it; the quotes protect blanks at its ends.
const char* Unquoted(const char* value, std::string& buffer) {
    if (!value)
        return nullptr;
    const std::size_t n = std::strlen(value);
    if (n < 2 || value[0] != '"' || value[n - 1] != '"')
        return value;
    buffer.assign(value + 1, n - 2);
    return buffer.c_str();
}

constexpr std::string_view Bom = "\xEF\xBB\xBF";

// A line that begins with "[" names a section up to its "]" or, without one, up to the line's
// end. The library skips such a line but then files the keys after it under a section named by
// the broken line's text joined to the next key, a name that grows by a line with every save:
// closing the line first makes it the section it reads as.
void CloseSectionLines(std::string& text) {
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string::npos)
            end = text.size();
        const bool bom = start == 0 && text.starts_with(Bom); // the library skips it
        const std::size_t first = text.find_first_not_of(" \t", bom ? 3 : start);
        if (first < end && text[first] == '[' && text.find(']', first) >= end) {
            text.insert(end, 1, ']');
            ++end;
        }
        start = end + 1;
    }
}

// The library separates sections by two empty lines; one is enough. None comes first: a
// section without a name and without keys (a lone "[" line) is written as nothing but the
// empty lines before the next section, and would vanish at the next load, so that two saves
// of the same settings would write different bytes.
std::string CollapseEmptyLines(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    bool previousEmpty = true;
    std::size_t start = 0;
    if (text.starts_with(Bom)) {
        out = Bom;
        start = Bom.size();
    }
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        end = end == std::string::npos ? text.size() : end + 1;
        const std::string_view line(text.data() + start, end - start);
        const bool empty = line == "\n" || line == "\r\n";
        if (!(empty && previousEmpty))
            out += line;
        previousEmpty = empty;
        start = end;
    }
    return out;
}

} // namespace

IniFile::IniFile(std::string path, std::string displayName, Language language)
    : m_impl(std::make_unique<Impl>()), m_path(std::move(path)), m_displayName(std::move(displayName)),
      m_language(language) {
    // Several lines of one key: reads see the first, a write replaces them all.
    m_impl->ini.SetMultiKey(true);
    m_impl->ini.SetSpaces(false);

    const fs::path file = Utf8ToPath(m_path);
    std::error_code ec;
    const fs::file_status status = fs::status(file, ec);
    if (status.type() == fs::file_type::not_found)
        return;
    const auto fail = [&](const std::string& reason) {
        throw LoadError(m_displayName, Text(TextId::CannotReadFile, m_language, {m_path, reason}) + ".");
    };
    if (ec)
        fail(SystemErrorText(ec.default_error_condition().value(), m_language));
    if (status.type() == fs::file_type::directory)
        fail(SystemErrorText(EISDIR, m_language));
    // A pipe or a device is refused like a data file: it would block the start or never end.
    std::string bytes = ReadFileBytes(file, m_displayName, m_language);
    CloseSectionLines(bytes);
    if (m_impl->ini.LoadData(bytes) < 0)
        fail(SystemErrorText(ENOMEM, m_language)); // the library fails only when memory runs out
}

IniFile::~IniFile() = default;

const char* IniFile::Value(std::string_view section, std::string_view key, std::string& buffer) const {
    return Unquoted(m_impl->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr), buffer);
}

bool IniFile::HasKey(std::string_view section, std::string_view key) const {
    return m_impl->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr) != nullptr;
}

long long IniFile::ReadInteger(std::string_view section, std::string_view key, long long def) const {
    std::string buffer;
    const char* value = Value(section, key, buffer);
    if (!value)
        return def;
    return ParseInteger(value).value_or(def);
}

int32_t IniFile::ReadInt32(std::string_view section, std::string_view key, int32_t def) const {
    const long long value = ReadInteger(section, key, def);
    if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max())
        return def;
    return static_cast<int32_t>(value);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool def) const {
    std::string buffer;
    const char* value = Value(section, key, buffer);
    if (!value)
        return def;
    const auto number = ParseInteger(value);
    return number ? *number != 0 : def;
}

double IniFile::ReadFloat(std::string_view section, std::string_view key, double def,
                          std::string_view decimalSep) const {
    std::string buffer;
    const char* value = Value(section, key, buffer);
    if (!value)
        return def;
    return ParseFloat(value, decimalSep).value_or(def);
}

std::string IniFile::ReadString(std::string_view section, std::string_view key, std::string_view def) const {
    std::string buffer;
    const char* value = Value(section, key, buffer);
    return value ? std::string(value) : std::string(def);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::WriteFloat(std::string_view section, std::string_view key, double value, std::string_view decimalSep) {
    WriteString(section, key, FormatFloat(value, decimalSep));
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
    m_impl->ini.SetValue(std::string(section).c_str(), std::string(key).c_str(), StoredForm(value).c_str(), nullptr,
                         true);
}

void IniFile::EraseSection(std::string_view section) { m_impl->ini.Delete(std::string(section).c_str(), nullptr); }

std::string IniFile::Save() {
    std::string text;
    if (m_impl->ini.Save(text, m_impl->ini.IsUnicode()) < 0) // a leading BOM stays
        return WriteFailureMessage(m_path, SystemErrorText(ENOMEM, m_language), m_language);
    return WriteFileSafely(m_path, CollapseEmptyLines(text), m_language);
}

} // namespace kel
