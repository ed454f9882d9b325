#include "settings/Settings.h"

#include "filter/FilterDialogSize.h"
#include "progress/ProgressSettings.h"
#include "session/Startup.h"
#include "settings/IniFile.h"
#include "settings/WindowPlace.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

namespace kel {
namespace {

Settings LoadFrom(const std::filesystem::path& path) {
    const IniFile ini(path.string(), "Kelvara.ini");
    Settings s;
    s.MaxWin = false; // every field is replaced by the load
    s.NumView = 2;
    LoadSettings(ini, s);
    return s;
}

TEST(SettingsTest, DefaultsWithoutAFile) {
    test::TempDir dir;
    const Settings s = LoadFrom(dir / "Kelvara.ini");
    EXPECT_EQ(s, Settings{});
    EXPECT_TRUE(s.MaxWin);
    EXPECT_EQ(s.X, 10);
    EXPECT_EQ(s.Y, 10);
    EXPECT_EQ(s.Width, 872);
    EXPECT_EQ(s.Height, 748);
    EXPECT_TRUE(s.TrInfo && s.GameInfo && s.VisSett && s.GridStrSel && s.UpOrDown);
    EXPECT_FALSE(s.TimeForSect || s.Otnos || s.AllTrack || s.SvGrInfo);
    // Stored files have no keys for the stage and date columns: they read as hidden.
    EXPECT_EQ(s.HSW, (std::array<int32_t, ColumnCount>{35, 170, 0, 60, 60, 60, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(s.TrackColByHand);
    EXPECT_EQ(s.TypeSort, 0);
    EXPECT_EQ(s.TrCur, 0);
    EXPECT_EQ(s.PrCur, 1);
}

TEST(SettingsTest, SaveThenLoadGivesTheSameSettingsInTheFileOrder) {
    test::TempDir dir;
    const auto path = dir / "Kelvara.ini";
    Settings s;
    s.TimeForSect = s.Otnos = s.AllTrack = true;
    s.NumView = 2;
    s.TrCur = -1;
    s.PrCur = 17;
    s.PosTableTop = 9;
    s.GridStrSel = false;
    s.TrInfo = false;
    s.SvGrInfo = true;
    s.MaxWin = false;
    s.X = -8;
    s.Y = 20;
    s.Height = 600;
    s.Width = 1000;
    s.DockForm = s.OnTop = s.TimeLoad = true;
    s.LiveLog = 0;
    s.HSW = {40, 150, 30, 61, 62, 63, 64, 65, 66, 67, 68, 69, 120, 0};
    s.TrackColByHand = true;
    s.TypeSort = 13;
    s.UpOrDown = false;
    {
        IniFile ini(path.string(), "Kelvara.ini");
        SaveSettings(ini, s);
        ASSERT_EQ(ini.Save(), "");
    }
    Settings expected = s;
    expected.NumView = 0; // written, never read
    EXPECT_EQ(LoadFrom(path), expected);

    const std::string text = test::ReadFile(path);
    std::vector<std::string> keys;
    for (std::size_t pos = 0; pos < text.size();) {
        std::size_t end = text.find('\n', pos);
        std::string line = text.substr(pos, end - pos);
        if (line.ends_with('\r')) // Windows line ends
            line.pop_back();
        if (const auto eq = line.find('='); eq != std::string::npos)
            keys.push_back(line.substr(0, eq));
        else if (!line.empty())
            keys.push_back(line);
        pos = end == std::string::npos ? text.size() : end + 1;
    }
    EXPECT_EQ(keys, (std::vector<std::string>{
                        "[Visparam]", "TimeForSect", "Otnos", "AllTrack", "NumView", "TrCur", "PrCur", "PosTableTop",
                        "GridStrSel", "TrInfo", "GameInfo", "VisSett", "SvGrInfo", "MaxWin", "X", "Y", "Height",
                        "Width", "DockForm", "OnTop", "HSW0", "HSW1", "HSW2", "HSW3", "HSW4", "HSW5", "HSW6", "HSW7",
                        "HSW8", "HSW9", "HSW10", "HSW11", "HSW12", "HSW13", "TrackColByHand", "TimeLoad", "LiveLog",
                        "NewRunMessages", "[Sort]", "TypeSort", "UpOrDown"}));
}

TEST(SettingsTest, StoredValuesAreTakenAsTheyAreButTheGeometryIsLimited) {
    test::TempDir dir;
    const auto path = dir / "Kelvara.ini";
    test::WriteFile(path, "[VISPARAM]\r\ntimeforsect=1\r\nOTNOS=$1\r\nTrCur=4\r\nAllTrack=1\r\n"
                          "HSW0=150\r\nHSW1=250\r\nHSW2=-1\r\nX=abc\r\nWidth=0x10\r\nPrCur=99999999999\r\n"
                          "[sort]\r\nTypeSort=257\r\nUpOrDown=0\r\n");
    Settings s = LoadFrom(path);
    EXPECT_TRUE(s.TimeForSect);
    EXPECT_TRUE(s.Otnos);
    EXPECT_TRUE(s.AllTrack);
    EXPECT_EQ(s.TrCur, 4);
    EXPECT_EQ(s.HSW[0], 150) << "the window limits widths to its sections";
    EXPECT_EQ(s.HSW[1], 250);
    EXPECT_EQ(s.HSW[2], -1);
    EXPECT_EQ(s.X, 10) << "not a number: the default";
    EXPECT_EQ(s.Width, 16);
    EXPECT_EQ(s.PrCur, 1) << "beyond 32 bits: the default";
    EXPECT_EQ(s.TypeSort, 1);
    EXPECT_FALSE(s.UpOrDown);

    test::WriteFile(path, "[Sort]\nTypeSort=-1\n");
    EXPECT_EQ(LoadFrom(path).TypeSort, 255);

    // Except the window's geometry, which is limited to what a screen can hold.
    test::WriteFile(path, "[Visparam]\nX=2147483647\nY=-2147483648\nHeight=-5\nWidth=$7FFFFFFF\n"
                          "[Progress]\nX=-2147483648\nWidth=300000\nChartHeight=-1\nTableHeight=80\n");
    s = LoadFrom(path);
    EXPECT_EQ(s.X, 100000);
    EXPECT_EQ(s.Y, -100000);
    EXPECT_EQ(s.Height, 0);
    EXPECT_EQ(s.Width, 100000);
    ProgressSettings progress;
    LoadProgressSettings(IniFile(path.string(), "Kelvara.ini"), progress);
    EXPECT_EQ(progress.X, -100000);
    EXPECT_EQ(progress.Width, 100000);
    EXPECT_EQ(progress.ChartHeight, 0);
    EXPECT_EQ(progress.TableHeight, 80);
}

TEST(FilterDialogSize, WrittenInItsOwnSectionOnceTheUserGaveOne) {
    test::TempDir dir;
    const auto path = dir / "Kelvara.ini";
    ProgramState v;
    ASSERT_EQ(SaveSettingsFile(v, path), "");
    EXPECT_EQ(test::ReadFile(path).find("[FilterDialog]"), std::string::npos);
    v.Filter.DialogWidth = 640;
    v.Filter.DialogHeight = 260;
    ASSERT_EQ(SaveSettingsFile(v, path), "");
    FilterState f;
    LoadFilterDialogSize(IniFile(path.string(), "Kelvara.ini"), f);
    EXPECT_EQ(f.DialogWidth, 640);
    EXPECT_EQ(f.DialogHeight, 260);
}

// A 1280 x 1024 primary screen with a task bar, and a second screen to its right.
TEST(WindowPlace, OffScreenBoundsGoToTheDefaultPlaceOnThePrimaryScreen) {
    const WindowRect screens[] = {{0, 0, 1280, 984}, {1280, 0, 1920, 1080}};
    // A monitor since removed, hand-edited bounds, and a strip too thin to grab (99 px across).
    EXPECT_EQ(PlaceWindow({100000, 10, 872, 748}, screens, 10, 10), (WindowRect{10, 10, 872, 748}));
    EXPECT_EQ(PlaceWindow({2147483647, 2147483647, 872, 748}, screens, 10, 10), (WindowRect{10, 10, 872, 748}));
    EXPECT_EQ(PlaceWindow({-771, 300, 870, 700}, screens, 10, 10), (WindowRect{10, 10, 870, 700}));
    EXPECT_EQ(PlaceWindow({3100, 1031, 400, 300}, screens, 10, 10), (WindowRect{10, 10, 400, 300}));
    // On the second screen it stays there; half off it, it is moved back inside.
    EXPECT_EQ(PlaceWindow({2000, 100, 800, 600}, screens, 10, 10), (WindowRect{2000, 100, 800, 600}));
    EXPECT_EQ(PlaceWindow({2900, 900, 800, 600}, screens, 10, 10), (WindowRect{2400, 480, 800, 600}));
}

TEST(WindowPlace, OversizedBoundsAreLimitedToTheScreensWorkArea) {
    // A scale factor of 1.5 on a 1600 x 1000 screen: 1067 x 667 units, the top 35 taken by a panel.
    const WindowRect screens[] = {{0, 35, 1067, 632}};
    EXPECT_EQ(PlaceWindow({10, 10, 872, 748}, screens, 10, 10), (WindowRect{10, 35, 872, 632}));
    EXPECT_EQ(PlaceWindow({500, 300, 1440, 1020}, screens, 0, 0), (WindowRect{0, 35, 1067, 632}));
    // The default place is kept inside the screen too.
    EXPECT_EQ(PlaceWindow({-5000, 0, 600, 400}, screens, 900, 10), (WindowRect{467, 35, 600, 400}));
}

} // namespace
} // namespace kel
