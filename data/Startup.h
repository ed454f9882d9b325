#pragma once
// Start-up: the data file check, the loading phase and the first display, as values that the
// window shows in its message boxes and controls (the report tool runs the same sequence).

#include "data/LoadError.h"
#include "data/Variables.h"
#include "stats/GameStats.h"
#include "stats/StageStats.h"
#include "table/CellText.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace kel {

enum class MessageIcon { Error, Warning };

struct Message {
    std::string Text;    // UTF-8
    std::string Caption; // UTF-8
    MessageIcon Icon = MessageIcon::Error;
};

// The missing-file message for the first of "zlttimes.log", "trinfo.bin" that does not exist
// in `dataDir`, or nullopt when both exist.
std::optional<Message> CheckDataFiles(const std::filesystem::path& dataDir);

// The message for a failed load: "У вас какая-то хренотень в файле <file>. ..."
Message LoadFailureMessage(const LoadError& error);

struct StartupOptions {
    std::filesystem::path DataDir;      // folder of "zlttimes.log" and "trinfo.bin"
    std::filesystem::path SettingsPath; // "Kelvara.ini"; empty: no settings file
    std::filesystem::path FilterPath;   // read only the filter sections from here (report tool)
    std::string ProgramDir;             // default FSaveDir, with a trailing separator
    std::string DecimalSep = ".";
    double Now = 0;                     // the start moment
};

// Loading: stage list (sorted for display), settings with the saved filter, times log.
// Throws LoadError naming the file that failed.
void LoadPhase(Variables& v, const StartupOptions& options);

// What the window shows after a full recomputation.
struct DisplayTexts {
    StageStatsTexts Stage;
    GameStatsTexts Game;
    StatusBarTexts Status;
    TableSnapshot Table;
};

// The first display: the settings applied to the display state, the filter prepared and
// applied, selection, game panel, packing of the name lists, ordering, stage panel, status
// bar and table.
DisplayTexts SetupPhase(Variables& v, const StartupOptions& options);

// The recomputations of the window's events. Each runs the fixed sequence of its event and
// returns everything the window shows (the game panel texts come from the current totals).

// A stage chosen in the stage list (v.StageIndex already set).
DisplayTexts OnStageChosen(Variables& v, std::string_view decimalSep);
// After the filter dialog closed, confirmed or not: filter re-applied, selection rebuilt.
DisplayTexts OnFilterClosed(Variables& v, std::string_view decimalSep);
// A header click on column `column`: direction rule, ordering, statistics, table.
DisplayTexts OnHeaderClick(Variables& v, int column, std::string_view decimalSep);
// The all-stages box changed to v.Disp.AllStages (the relative mode is switched off when on).
DisplayTexts OnAllStagesChanged(Variables& v, std::string_view decimalSep);
// A display box other than all-stages changed (sector, relative, run-number mode): table only.
TableSnapshot OnDisplayOptionChanged(Variables& v, std::string_view decimalSep);
// The cursor moved to table row `row` (0 counts as 1). The table snapshot is refreshed only
// in the relative mode (Table.Data is null otherwise).
DisplayTexts OnCursorMoved(Variables& v, int row, std::string_view decimalSep);

// The notice after start-up when the log holds no run or no finished run passes.
std::optional<Message> ClosingNotice(const Variables& v);

// The warning after the filter dialog when no finished run passes.
std::optional<Message> NothingPassesNotice(const Variables& v);

// One warning naming the stage numbers that runs use but "trinfo.bin" does not describe,
// given once for the numbers not reported before.
std::optional<Message> MissingStagesNotice(Variables& v);

// Writes the settings and the filter in force to `path`; an empty result on success,
// otherwise the message to show (it names the file). An existing file keeps its other keys.
std::string SaveSettingsFile(const Variables& v, const std::filesystem::path& path, std::string_view decimalSep);

} // namespace kel
