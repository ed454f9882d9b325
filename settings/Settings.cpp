#include "settings/Settings.h"

#include "data/Cp1251.h"
#include "settings/IniFile.h"

#include <algorithm>
#include <string>

namespace kel {
namespace {

constexpr std::string_view VisSection = "Visparam";
// The same section as "Visparam": three keys have always been read under this spelling.
constexpr std::string_view VisSectionRead = "VisParam";
constexpr std::string_view SortSection = "Sort";
constexpr std::string_view ExportSection = "Export";

std::string WidthKey(int column) { return "HSW" + std::to_string(column); }

// No screen is this large; the window adds positions and sizes, which must not overflow.
constexpr int32_t MaxCoordinate = 100000;

} // namespace

int32_t ReadWindowCoordinate(const IniFile& ini, std::string_view section, std::string_view key, int32_t def) {
    return std::clamp(ini.ReadInt32(section, key, def), -MaxCoordinate, MaxCoordinate);
}

int32_t ReadWindowSize(const IniFile& ini, std::string_view section, std::string_view key, int32_t def) {
    return std::clamp(ini.ReadInt32(section, key, def), 0, MaxCoordinate);
}

namespace {

int32_t ReadCoordinate(const IniFile& ini, std::string_view key, int32_t def) {
    return ReadWindowCoordinate(ini, VisSection, key, def);
}

int32_t ReadSize(const IniFile& ini, std::string_view key, int32_t def) { return ReadWindowSize(ini, VisSection, key, def); }

} // namespace

void LoadSettings(const IniFile& ini, Settings& settings) {
    const Settings d;
    Settings s;
    s.TimeForSect = ini.ReadBool(VisSectionRead, "TimeForSect", d.TimeForSect);
    s.Otnos = ini.ReadBool(VisSectionRead, "Otnos", d.Otnos);
    s.AllTrack = ini.ReadBool(VisSection, "AllTrack", d.AllTrack);
    s.TrCur = ini.ReadInt32(VisSectionRead, "TrCur", d.TrCur);
    s.PrCur = ini.ReadInt32(VisSection, "PrCur", d.PrCur);
    s.PosTableTop = ini.ReadInt32(VisSection, "PosTableTop", d.PosTableTop);
    s.GridStrSel = ini.ReadBool(VisSection, "GridStrSel", d.GridStrSel);
    s.X = ReadCoordinate(ini, "X", d.X);
    s.Y = ReadCoordinate(ini, "Y", d.Y);
    s.TrInfo = ini.ReadBool(VisSection, "TrInfo", d.TrInfo);
    s.GameInfo = ini.ReadBool(VisSection, "GameInfo", d.GameInfo);
    s.VisSett = ini.ReadBool(VisSection, "VisSett", d.VisSett);
    s.Height = ReadSize(ini, "Height", d.Height);
    s.SvGrInfo = ini.ReadBool(VisSection, "SvGrInfo", d.SvGrInfo);
    s.Width = ReadSize(ini, "Width", d.Width);
    s.DockForm = ini.ReadBool(VisSection, "DockForm", d.DockForm);
    s.OnTop = ini.ReadBool(VisSection, "OnTop", d.OnTop);
    s.MaxWin = ini.ReadBool(VisSection, "MaxWin", d.MaxWin);
    for (int i = 0; i < ColumnCount; ++i)
        s.HSW[static_cast<std::size_t>(i)] = ini.ReadInt32(VisSection, WidthKey(i), d.HSW[static_cast<std::size_t>(i)]);
    s.TrackColByHand = ini.ReadBool(VisSection, "TrackColByHand", d.TrackColByHand);
    s.TimeLoad = ini.ReadBool(VisSection, "TimeLoad", d.TimeLoad);
    s.LiveLog = ini.ReadInt32(VisSection, "LiveLog", d.LiveLog);
    s.NewRunMessages = ini.ReadInt32(VisSection, "NewRunMessages", d.NewRunMessages);
    // The sort column is a byte: the stored value is taken modulo 256.
    s.TypeSort = static_cast<uint8_t>(ini.ReadInteger(SortSection, "TypeSort", d.TypeSort));
    s.UpOrDown = ini.ReadBool(SortSection, "UpOrDown", d.UpOrDown);
    s.ExportFolder = Cp1251ToUtf8(ini.ReadString(ExportSection, "Folder", ""));
    s.Language = ini.ReadString(InterfaceSection, LanguageKey, "");
    settings = s;
}

void SaveSettings(IniFile& ini, const Settings& s) {
    ini.WriteBool(VisSection, "TimeForSect", s.TimeForSect);
    ini.WriteBool(VisSection, "Otnos", s.Otnos);
    ini.WriteBool(VisSection, "AllTrack", s.AllTrack);
    ini.WriteInteger(VisSection, "NumView", s.NumView);
    ini.WriteInteger(VisSection, "TrCur", s.TrCur);
    ini.WriteInteger(VisSection, "PrCur", s.PrCur);
    ini.WriteInteger(VisSection, "PosTableTop", s.PosTableTop);
    ini.WriteBool(VisSection, "GridStrSel", s.GridStrSel);
    ini.WriteBool(VisSection, "TrInfo", s.TrInfo);
    ini.WriteBool(VisSection, "GameInfo", s.GameInfo);
    ini.WriteBool(VisSection, "VisSett", s.VisSett);
    ini.WriteBool(VisSection, "SvGrInfo", s.SvGrInfo);
    ini.WriteBool(VisSection, "MaxWin", s.MaxWin);
    ini.WriteInteger(VisSection, "X", s.X);
    ini.WriteInteger(VisSection, "Y", s.Y);
    ini.WriteInteger(VisSection, "Height", s.Height);
    ini.WriteInteger(VisSection, "Width", s.Width);
    ini.WriteBool(VisSection, "DockForm", s.DockForm);
    ini.WriteBool(VisSection, "OnTop", s.OnTop);
    for (int i = 0; i < ColumnCount; ++i)
        ini.WriteInteger(VisSection, WidthKey(i), s.HSW[static_cast<std::size_t>(i)]);
    ini.WriteBool(VisSection, "TrackColByHand", s.TrackColByHand);
    ini.WriteBool(VisSection, "TimeLoad", s.TimeLoad);
    ini.WriteInteger(VisSection, "LiveLog", s.LiveLog);
    ini.WriteInteger(VisSection, "NewRunMessages", s.NewRunMessages);
    ini.WriteInteger(SortSection, "TypeSort", s.TypeSort);
    ini.WriteBool(SortSection, "UpOrDown", s.UpOrDown);
    if (!s.ExportFolder.empty())
        ini.WriteString(ExportSection, "Folder", Utf8ToCp1251(s.ExportFolder));
    // An empty choice is written only over one the file holds, so that a file without it stays so.
    if (!s.Language.empty() || ini.HasKey(InterfaceSection, LanguageKey))
        ini.WriteString(InterfaceSection, LanguageKey, s.Language);
}

} // namespace kel
