// Where the settings file lies: beside the executable, in the user's folder, or where the
// command line says.

#include "app/SettingsLocation.h"

#include "tests/TestUtil.h"

#include <gtest/gtest.h>

using namespace kel;
using namespace kel::test;
namespace fs = std::filesystem;

TEST(SettingsLocation, CommandLineThenBesideTheExecutableThenTheUserFolder) {
    TempDir dir;
    const fs::path exeDir = dir.Path() / std::u8string(u8"Программа");
    const fs::path userDir = dir / "config" / "Kelvara";
    fs::create_directories(exeDir);
    SettingsLocationInput in{exeDir, userDir, HostSystem::Other, {}};

    // An installed program: the folder beside it is not used, writable or not.
    EXPECT_EQ(SettingsFileLocation(in), userDir / "Kelvara.ini");
    // A portable copy with its settings file.
    WriteFile(exeDir / "Kelvara.ini", "[Visparam]\r\n");
    EXPECT_EQ(SettingsFileLocation(in), exeDir / "Kelvara.ini");
    in.System = HostSystem::Windows;
    EXPECT_EQ(SettingsFileLocation(in), exeDir / "Kelvara.ini");
    // The command line wins over both.
    in.Option = dir / "elsewhere.ini";
    EXPECT_EQ(SettingsFileLocation(in), dir / "elsewhere.ini");
}

TEST(SettingsLocation, OnWindowsAWritableProgramFolderIsPortable) {
    TempDir dir;
    const fs::path userDir = dir / "AppData" / "Kelvara";
    SettingsLocationInput in{dir / "Program Files" / "Kelvara", userDir, HostSystem::Windows, {}};
    // A folder the program cannot write to (here: one that does not exist).
    EXPECT_EQ(SettingsFileLocation(in), userDir / "Kelvara.ini");
    fs::create_directories(in.ExecutableDir);
    EXPECT_EQ(SettingsFileLocation(in), in.ExecutableDir / "Kelvara.ini");
    // The probe leaves nothing behind, and creates no settings file either.
    EXPECT_TRUE(fs::is_empty(in.ExecutableDir));
    EXPECT_FALSE(fs::exists(userDir));
}

TEST(SettingsLocation, AnInstalledCopyKeepsItsSettingsInTheUserFolder) {
    TempDir dir;
    const fs::path exeDir = dir / "Programs" / "Kelvara";
    fs::create_directories(exeDir);
    WriteFile(exeDir / "uninstall.exe", "MZ");
    const SettingsLocationInput in{exeDir, dir / "Local" / "Kelvara", HostSystem::Windows, {}};
    EXPECT_EQ(SettingsFileLocation(in), dir / "Local" / "Kelvara" / "Kelvara.ini");
}
