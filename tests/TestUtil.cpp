#include "tests/TestUtil.h"

#include <atomic>
#include <fstream>
#include <random>
#include <sstream>

namespace kel::test {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    std::random_device rd;
    for (;;) {
        auto candidate = std::filesystem::temp_directory_path() /
                         ("kelvara-test-" + std::to_string(rd()) + "-" + std::to_string(counter++));
        if (std::filesystem::create_directory(candidate)) {
            m_path = candidate;
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(m_path, ec);
}

void WriteFile(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

} // namespace kel::test

#include "data/Cp1251.h"
#include "data/StageFile.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kel::test {

std::string StageFileBytes(const std::vector<StageSpec>& stages) {
    int last = -1;
    for (const auto& s : stages)
        last = std::max(last, s.Number);
    std::string bytes(static_cast<std::size_t>(last + 1) * StageRecordSize, '\0');
    auto putShort = [&](std::size_t at, const std::string& utf8, std::size_t room) {
        const std::string text = Utf8ToCp1251(utf8).substr(0, room);
        bytes[at] = static_cast<char>(text.size());
        std::memcpy(&bytes[at + 1], text.data(), text.size());
    };
    for (const auto& s : stages) {
        const std::size_t base = static_cast<std::size_t>(s.Number) * StageRecordSize;
        putShort(base, s.Name, 30);
        bytes[base + 31] = static_cast<char>(s.Number);
        std::memcpy(&bytes[base + 32], &s.Length, 4);
        putShort(base + 36, s.Desc1, 255);
        putShort(base + 292, s.Desc2, 255);
    }
    return bytes;
}

std::string LogBytes(const std::vector<std::string>& lines) {
    std::string text = "Test timing log\r\nDate\tStage\tWet\tAge\tWeather\tTyres\tDamage\tCar\tClass\tProfile\r\n";
    for (const auto& l : lines)
        text += Utf8ToCp1251(l) + "\r\n";
    return text;
}

std::string MainLine(const std::string& date, int stage, const std::string& car, const std::string& cls,
                     const std::string& profile, int wetness, int age, int weather, int tyres, int damage) {
    return date + "\t" + std::to_string(stage) + "\t" + std::to_string(wetness) + "\t" + std::to_string(age) +
           "\t" + std::to_string(weather) + "\t" + std::to_string(tyres) + "\t" + std::to_string(damage) + "\t" +
           car + "\t" + cls + "\t" + profile;
}

std::string TimesLine(double split1, double split2, double finish) {
    char buf[128];
    std::snprintf(buf, sizeof buf, " \t%.3f\t%.3f\t%.3f", split1, split2, finish);
    return buf;
}

std::vector<std::vector<std::string>> ParseCsv(std::string_view text, char separator) {
    std::vector<std::vector<std::string>> rows;
    std::vector<std::string> row;
    std::string field;
    bool quoted = false, any = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (quoted) {
            if (c != '"')
                field += c;
            else if (i + 1 < text.size() && text[i + 1] == '"')
                field += text[++i];
            else
                quoted = false;
        } else if (c == '"') {
            quoted = any = true;
        } else if (c == separator) {
            row.push_back(std::move(field));
            field.clear();
            any = true;
        } else if (c == '\n' || (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) {
            if (c == '\r')
                ++i;
            row.push_back(std::move(field));
            rows.push_back(std::move(row));
            field.clear();
            row.clear();
            any = false;
        } else {
            field += c;
            any = true;
        }
    }
    if (any || !field.empty()) {
        row.push_back(std::move(field));
        rows.push_back(std::move(row));
    }
    return rows;
}

} // namespace kel::test
