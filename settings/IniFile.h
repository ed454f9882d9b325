#pragma once
// INI file with the Windows profile semantics: case-insensitive section and key names,
// typed reads with defaults, an existing file keeps its other lines and their order, new
// sections and keys are appended in the order written. Section, key and string values are
// Windows-1251 bytes, as on disk. A value that begins or ends with a blank (or begins with a
// double quote) is stored in double quotes, and a stored value in a pair of double quotes is
// read without them, so every string reads back exactly as written.

#include "data/Language.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace kel {

class IniFile {
public:
    // Reads `path` when it exists (a missing file is an empty one). Throws LoadError naming
    // `displayName` when the file exists but cannot be read or is not a regular file; its
    // reason names the path and the system's reason. Messages are in `language`.
    IniFile(std::string path, std::string displayName, Language language = Language::Russian);
    ~IniFile();
    IniFile(const IniFile&) = delete;
    IniFile& operator=(const IniFile&) = delete;

    bool HasKey(std::string_view section, std::string_view key) const;
    // Integers: decimal, or hexadecimal after "$" or "0x"/"0X"; anything else gives `def`.
    long long ReadInteger(std::string_view section, std::string_view key, long long def) const;
    // The same for a 32-bit field: a value outside its range gives `def`.
    int32_t ReadInt32(std::string_view section, std::string_view key, int32_t def) const;
    bool ReadBool(std::string_view section, std::string_view key, bool def) const;
    // Decimal number with the given separator; unreadable or missing gives `def`.
    double ReadFloat(std::string_view section, std::string_view key, double def, std::string_view decimalSep) const;
    std::string ReadString(std::string_view section, std::string_view key, std::string_view def) const;

    void WriteInteger(std::string_view section, std::string_view key, long long value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Shortest general form with up to 15 significant digits and the given separator.
    void WriteFloat(std::string_view section, std::string_view key, double value, std::string_view decimalSep);
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void EraseSection(std::string_view section);

    // Writes the whole file safely (WriteFileSafely). Returns an empty string on success,
    // otherwise a message naming the file and the system's reason.
    std::string Save();

    const std::string& Path() const { return m_path; }

private:
    // The stored value without its enclosing quotes (kept in `buffer` when removed); null when missing.
    const char* Value(std::string_view section, std::string_view key, std::string& buffer) const;

    struct Impl;
    std::unique_ptr<Impl> m_impl;
    std::string m_path;
    std::string m_displayName;
    Language m_language;
};

} // namespace kel
