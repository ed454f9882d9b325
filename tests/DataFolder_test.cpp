// The data folder remembered in the settings file.

#include "session/DataFolder.h"

#include "data/PathText.h"
#include "session/Startup.h"
#include "settings/IniFile.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

using namespace kel;
using namespace kel::test;
namespace fs = std::filesystem;

TEST(DataFolder, TheChosenFolderIsSavedWithTheSettings) {
    TempDir dir;
    const fs::path settings = dir / "Kelvara.ini";
    const fs::path chosen = dir.Path() / std::u8string(u8"Игра") / "plugins";
    EXPECT_EQ(RememberedDataDir(settings), fs::path());

    ProgramState v;
    v.Config.TypeSort = 4;
    EXPECT_EQ(SaveSettingsFile(v, settings), ""); // nothing chosen: no key
    EXPECT_EQ(RememberedDataDir(settings), fs::path());
    v.ChosenDataDir = chosen;
    EXPECT_EQ(SaveSettingsFile(v, settings), "");
    EXPECT_EQ(RememberedDataDir(settings), chosen);

    // Later starts write the settings without touching the remembered folder.
    v.ChosenDataDir.clear();
    v.Config.TypeSort = 7;
    EXPECT_EQ(SaveSettingsFile(v, settings), "");
    EXPECT_EQ(RememberedDataDir(settings), chosen);
    EXPECT_EQ(IniFile(PathToUtf8(settings), "Kelvara.ini").ReadInteger("Sort", "TypeSort", 0), 7);
}

TEST(DataFolder, NamesOutsideTheCodePageAreNotStoredGarbled) {
    TempDir dir;
    const fs::path settings = dir / "Kelvara.ini";
    IniFile ini(PathToUtf8(settings), "Kelvara.ini");
    EXPECT_TRUE(RememberDataDir(ini, dir.Path() / std::u8string(u8"Ралли")));
    EXPECT_FALSE(RememberDataDir(ini, dir.Path() / std::u8string(u8"ラリー")));
    ASSERT_EQ(ini.Save(), "");
    EXPECT_EQ(RememberedDataDir(settings), dir.Path() / std::u8string(u8"Ралли"));
    // An unreadable settings file remembers nothing (the start-up reports it when it loads).
    EXPECT_EQ(RememberedDataDir(dir.Path()), fs::path());
}

TEST(DataFolder, DemoDataIsFoundBesideTheSourcesThenInstalledThenBesideTheProgram) {
    TempDir dir;
    const fs::path exeDir = dir / "bin";
    const auto data = [](const fs::path& folder, bool both) {
        fs::create_directories(folder);
        WriteFile(folder / "zlttimes.log", "");
        if (both)
            WriteFile(folder / "trinfo.bin", "");
    };
    EXPECT_EQ(FindSampleDir(exeDir), fs::path());
    data(exeDir / "sample", true);
    EXPECT_EQ(FindSampleDir(exeDir), exeDir / "sample");
    data(dir / "share" / "kelvara" / "sample", true);
    EXPECT_EQ(FindSampleDir(exeDir), dir / "share" / "kelvara" / "sample");
    data(dir / "sample", false); // a folder lacking a file is passed over
    EXPECT_EQ(FindSampleDir(exeDir), dir / "share" / "kelvara" / "sample");
    WriteFile(dir / "sample" / "trinfo.bin", "");
    EXPECT_EQ(FindSampleDir(exeDir), dir / "sample");
}
