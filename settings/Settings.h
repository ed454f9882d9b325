#pragma once
// Keys of the sections "Visparam", "Sort", "Export" and "Interface" of "Kelvara.ini", with their defaults.

#include "data/ValueTables.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace kel {

class IniFile;

// Where the interface's language choice is kept (read alone by the window and the report tool).
inline constexpr std::string_view InterfaceSection = "Interface";
inline constexpr std::string_view LanguageKey = "Language";

struct Settings {
    // "Visparam"
    bool TimeForSect = false;   // the by-sectors box
    bool Otnos = false;         // the relative box
    bool AllTrack = false;      // the all-stages box
    int32_t NumView = 0;        // the run-number mode box: 0 unchecked, 1 checked, 2 grayed (written, not read)
    int32_t TrCur = 0;          // selected index of the stage list, -1 none
    int32_t PrCur = 1;          // cursor row
    int32_t PosTableTop = 1;    // top row of the table
    bool GridStrSel = true;     // whole-row selection
    bool TrInfo = true;         // stage panel expanded
    bool GameInfo = true;       // game panel expanded
    bool VisSett = true;        // display options panel expanded
    bool SvGrInfo = false;      // statistics panels hidden
    bool MaxWin = true;         // window maximised
    int32_t X = 10;             // outer bounds (normal bounds when maximised)
    int32_t Y = 10;
    int32_t Height = 748;
    int32_t Width = 872;
    bool DockForm = false;
    bool OnTop = false;
    std::array<int32_t, ColumnCount> HSW{DefaultColumnWidths}; // section widths, 0 hidden
    bool TrackColByHand = false; // the stage column was shown or hidden through the menu: no longer follows the all-stages box
    bool TimeLoad = false;
    int32_t LiveLog = 1;        // 0: the log is read only at start-up, not followed while it grows
    int32_t NewRunMessages = 1; // 0: no tray message about a new run while the window is in the background
    // "Sort"
    uint8_t TypeSort = 0;
    bool UpOrDown = true;
    // "Export"
    std::string ExportFolder;   // folder of the last CSV export (UTF-8; stored as Windows-1251)
    // "Interface"
    std::string Language;       // "ru", "en", or empty for the system's language; kept as the file has it

    bool operator==(const Settings&) const = default;
};

// A saved window position or size, limited to what a screen can hold: positions to ±100000,
// sizes to 0..100000 (missing or unreadable: `def`).
int32_t ReadWindowCoordinate(const IniFile& ini, std::string_view section, std::string_view key, int32_t def);
int32_t ReadWindowSize(const IniFile& ini, std::string_view section, std::string_view key, int32_t def);

// Reads every key above (missing or unreadable values give the defaults). The window's
// position is limited to ±100000 and its size to 0..100000.
void LoadSettings(const IniFile& ini, Settings& settings);
// Writes every key above in the file's order ("Visparam" keys, then "Sort", "Export", "Interface").
void SaveSettings(IniFile& ini, const Settings& settings);

} // namespace kel
