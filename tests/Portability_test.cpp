// What differs between Windows and Linux: the code-page conversion, folder names with Cyrillic
// letters and backslashes, line ends, and a save that replaces an existing file. The same tests
// run natively and, cross-compiled, under Windows.

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/PathText.h"
#include "session/Startup.h"
#include "settings/IniFile.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ctime>

using namespace kel;
using namespace kel::test;
namespace fs = std::filesystem;

namespace {

// A data folder with one stage and one finished run, and a settings file beside the data.
fs::path WriteDataFolder(const fs::path& folder, std::string_view lineEnd = "\r\n") {
    fs::create_directories(folder);
    WriteFile(folder / "trinfo.bin", StageFileBytes({{1, "Кедровый распадок", 8.0f, "", ""}}));
    std::string log = LogBytes({MainLine("2026-02-01 10:00:00", 1, "Туманник"), TimesLine(50, 100, 150.25)});
    if (lineEnd != "\r\n")
        std::erase(log, '\r');
    WriteFile(folder / "zlttimes.log", log);
    return folder;
}

StartupOptions OptionsFor(const fs::path& folder, const fs::path& settings) {
    StartupOptions opt;
    opt.DataDir = folder;
    opt.SettingsPath = settings;
    opt.Now = *ParseLogDateTime("2026-06-01 12:00:00");
    return opt;
}

std::vector<std::string> FileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace

TEST(Portability, Cp1251ConvertsEveryByteBothWays) {
    for (int b = 0; b < 256; ++b) {
        if (b == 0x98)
            continue; // the one unassigned byte
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(byte)), byte) << "byte " << b;
    }
    EXPECT_EQ(Cp1251ToUtf8("\xC0\xFF\xA8\xB8\xB9\x88\x96"), "АяЁё№€–");
    EXPECT_EQ(Cp1251ToUtf8("\x98"), "\xEF\xBF\xBD"); // U+FFFD on every system
    EXPECT_EQ(Utf8ToCp1251("Ёж 中"), "\xA8\xE6 ?");
}

TEST(Portability, DataAndSettingsInFoldersWithCyrillicNames) {
    TempDir dir;
    const fs::path folder = WriteDataFolder(dir.Path() / std::u8string(u8"Данные пилота"));
    const fs::path settings = dir.Path() / std::u8string(u8"Настройки Kelvara") / "Kelvara.ini";
    fs::create_directories(settings.parent_path());
    WriteFile(settings, "[Sort]\r\nTypeSort=3\r\n");

    EXPECT_FALSE(CheckDataFiles(folder));
    ProgramState v;
    LoadPhase(v, OptionsFor(folder, settings));
    ASSERT_EQ(v.Data.RunCount, 1);
    EXPECT_DOUBLE_EQ(v.Data.Runs[1].Finish, 150.25);
    EXPECT_EQ(v.StageList, std::vector<std::string>{Utf8ToCp1251("Кедровый распадок")});
    EXPECT_EQ(v.Disp.TypeSort, 3);

    v.Config.TypeSort = 5;
    EXPECT_EQ(SaveSettingsFile(v, settings), "");
    ProgramState again;
    LoadPhase(again, OptionsFor(folder, settings));
    EXPECT_EQ(again.Disp.TypeSort, 5);
    EXPECT_EQ(FileNames(settings.parent_path()), std::vector<std::string>{"Kelvara.ini"});
}

#ifdef _WIN32
// Folders as a Windows user writes them: backslashes, forward slashes, a trailing separator.
TEST(Portability, WindowsPathSpellings) {
    TempDir dir;
    const fs::path folder = WriteDataFolder(dir.Path() / std::u8string(u8"Ралли"));
    std::wstring backslashed = folder.wstring();
    std::replace(backslashed.begin(), backslashed.end(), L'/', L'\\');
    std::wstring forward = backslashed;
    std::replace(forward.begin(), forward.end(), L'\\', L'/');
    for (const std::wstring& spelling : {backslashed, backslashed + L"\\", forward}) {
        SCOPED_TRACE(fs::path(spelling).u8string().size());
        EXPECT_FALSE(CheckDataFiles(fs::path(spelling)));
        ProgramState v;
        LoadPhase(v, OptionsFor(fs::path(spelling), fs::path(spelling) / "Kelvara.ini"));
        EXPECT_EQ(v.Data.RunCount, 1);
    }
}
#endif

TEST(Portability, LineEndsOfEitherSystemReadTheSame) {
    TempDir dir;
    for (std::string_view lineEnd : {"\r\n", "\n"}) {
        const fs::path folder = WriteDataFolder(dir / (lineEnd.size() == 2 ? "crlf" : "lf"), lineEnd);
        std::string ini = "[Visparam]\r\nPrCur=4\r\nHSW1=150\r\n[Sort]\r\nUpOrDown=0";
        if (lineEnd != "\r\n")
            std::erase(ini, '\r');
        WriteFile(folder / "Kelvara.ini", ini);
        ProgramState v;
        LoadPhase(v, OptionsFor(folder, folder / "Kelvara.ini"));
        ASSERT_EQ(v.Data.RunCount, 1);
        EXPECT_DOUBLE_EQ(v.Data.Runs[1].Finish, 150.25);
        EXPECT_EQ(v.Data.CarList[0].Name, Utf8ToCp1251("Туманник"));
        EXPECT_EQ(v.Config.PrCur, 4);
        EXPECT_EQ(v.Config.HSW[1], 150);
        EXPECT_FALSE(v.Config.UpOrDown);
    }
}

TEST(Portability, SaveReplacesTheExistingFileAndLeavesNothingElse) {
    TempDir dir;
    const fs::path path = dir / "Kelvara.ini";
    WriteFile(path, "[Other]\r\nKeep=1\r\n");
    for (int round = 1; round <= 2; ++round) {
        IniFile ini(PathToUtf8(path), "Kelvara.ini");
        ini.WriteInteger("Sort", "TypeSort", round);
        ASSERT_EQ(ini.Save(), "");
        const IniFile back(PathToUtf8(path), "Kelvara.ini");
        EXPECT_EQ(back.ReadInteger("Sort", "TypeSort", 0), round);
        EXPECT_EQ(back.ReadInteger("Other", "Keep", 0), 1);
    }
    EXPECT_EQ(FileNames(dir.Path()), std::vector<std::string>{"Kelvara.ini"});

    // A write-protected file (on Windows: the read-only attribute) is left as it is.
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string before = ReadFile(path);
    IniFile ini(PathToUtf8(path), "Kelvara.ini");
    ini.WriteInteger("Sort", "TypeSort", 9);
    EXPECT_NE(ini.Save(), "");
    EXPECT_EQ(ReadFile(path), before);
    fs::permissions(path, fs::perms::owner_write, fs::perm_options::add);
}

TEST(Portability, NowIsTheLocalClock) {
    // Day 25569 is 1970-01-01; local time is UTC shifted by less than 15 hours anywhere.
    const double utc = 25569.0 + static_cast<double>(std::time(nullptr)) / 86400.0;
    EXPECT_NEAR(NowDateTime(), utc, 15.0 / 24);
}
