#include "progress/ProgressSettings.h"

#include "settings/IniFile.h"
#include "settings/Settings.h"

namespace kel {
namespace {
constexpr std::string_view Section = "Progress";
}

void LoadProgressSettings(const IniFile& ini, ProgressSettings& s) {
    const ProgressSettings d;
    // Limited like the main window's: the window adds them up.
    s.X = ReadWindowCoordinate(ini, Section, "X", d.X);
    s.Y = ReadWindowCoordinate(ini, Section, "Y", d.Y);
    s.Width = ReadWindowSize(ini, Section, "Width", d.Width);
    s.Height = ReadWindowSize(ini, Section, "Height", d.Height);
    s.ChartHeight = ReadWindowSize(ini, Section, "ChartHeight", d.ChartHeight);
    s.TableHeight = ReadWindowSize(ini, Section, "TableHeight", d.TableHeight);
    s.Grouping = ini.ReadInt32(Section, "Grouping", d.Grouping);
    if (s.Grouping < 0 || s.Grouping > 2)
        s.Grouping = 0;
}

void SaveProgressSettings(IniFile& ini, const ProgressSettings& s) {
    if (s.Width <= 0)
        return;
    ini.WriteInteger(Section, "X", s.X);
    ini.WriteInteger(Section, "Y", s.Y);
    ini.WriteInteger(Section, "Width", s.Width);
    ini.WriteInteger(Section, "Height", s.Height);
    ini.WriteInteger(Section, "ChartHeight", s.ChartHeight);
    ini.WriteInteger(Section, "TableHeight", s.TableHeight);
    ini.WriteInteger(Section, "Grouping", s.Grouping);
}

} // namespace kel
