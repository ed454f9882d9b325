#pragma once
// Helpers shared by the core tests: temporary folders and files.

#include <filesystem>
#include <string>
#include <string_view>

namespace kel::test {

// A fresh empty folder under the system's temporary folder, removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

void WriteFile(const std::filesystem::path& path, std::string_view bytes);
std::string ReadFile(const std::filesystem::path& path);

} // namespace kel::test

#include <vector>

namespace kel::test {

// One record of a stage file; texts are UTF-8 and stored as cp1251.
struct StageSpec {
    int Number = 0;
    std::string Name;
    float Length = 0;
    std::string Desc1;
    std::string Desc2;
};

// A "trinfo.bin" with records 0..(largest number); numbers not given get empty records.
std::string StageFileBytes(const std::vector<StageSpec>& stages);

// A "zlttimes.log": two header lines, then the given lines (UTF-8, stored as cp1251), CR LF.
std::string LogBytes(const std::vector<std::string>& lines);

// A main line: date, stage, wetness, age, weather, tyres, damage, car, class, profile.
std::string MainLine(const std::string& date, int stage, const std::string& car, const std::string& cls = "A1",
                     const std::string& profile = "Tester", int wetness = 0, int age = 0, int weather = 0,
                     int tyres = 0, int damage = 0);
// A continuation line with the three times.
std::string TimesLine(double split1, double split2, double finish);

// Rows of RFC 4180 text (quoted fields may hold separators, quotes and line breaks); a line
// end is LF or CR LF. An independent reader for checking what the program writes.
std::vector<std::vector<std::string>> ParseCsv(std::string_view text, char separator);

} // namespace kel::test
