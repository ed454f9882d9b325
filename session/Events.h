#pragma once
// The window's events as fixed recomputation sequences over the program state. Each returns
// everything the window shows; the report tool runs the same sequences.

#include "session/Message.h"
#include "session/ProgramState.h"
#include "session/Startup.h"
#include "stats/GameStats.h"
#include "stats/StageStats.h"
#include "table/CellText.h"

#include <optional>
#include <string_view>

namespace kel {

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
DisplayTexts SetupPhase(ProgramState& v, const StartupOptions& options);

// The recomputations of the window's events. Each runs the fixed sequence of its event and
// returns everything the window shows (the game panel texts come from the current totals).

// A stage chosen in the stage list (v.StageIndex already set).
DisplayTexts OnStageChosen(ProgramState& v);
// After the filter dialog closed, confirmed or not: filter re-applied, selection rebuilt.
DisplayTexts OnFilterClosed(ProgramState& v);
// A header click on column `column`: direction rule, ordering, statistics, table.
DisplayTexts OnHeaderClick(ProgramState& v, int column);
// The all-stages box changed to v.Disp.AllStages (the relative mode is switched off when on).
DisplayTexts OnAllStagesChanged(ProgramState& v);
// A display box other than all-stages changed (sector, relative, run-number mode): table only.
TableSnapshot OnDisplayOptionChanged(ProgramState& v);
// The cursor moved to table row `row` (0 counts as 1). The table snapshot is refreshed only
// in the relative mode (Table.Data is null otherwise).
DisplayTexts OnCursorMoved(ProgramState& v, int row);

// Runs added to the run table (v.Data) since the last display: everything recomputed as after
// the filter dialog closed, keeping the selected stage, the order and the display options,
// and the cursor on its run (by RunNo) while that run is still shown. A date criterion that
// ends at the current moment ("the last N hours", or an interval up to now) is moved to end
// at `now`, so that new runs are not hidden for being newer than the start.
DisplayTexts OnNewRuns(ProgramState& v, double now);

// What a look at the times log brought.
struct LogUpdate {
    int32_t NewRuns = 0;             // runs completed by the lines read, the runs the table may show now
    bool Reread = false;             // the log was replaced or shrank and was read from its start again
    std::optional<Message> Failure;  // the load message for a failure not reported before
    std::optional<DisplayTexts> Texts; // set when the runs changed: what the window shows now
    // The runs this look brought are those numbered from FirstNewRun to the run count (0: none).
    int32_t FirstNewRun = 0;
    // The newest of them that is finished with a finish above 0, the one the note describes (0: none).
    int32_t NewestRun = 0;
    // The status bar's note: "Журнал прочитан заново", or the result of the newest new run
    // ("Новых проездов: 3. " before it and " и ещё 2" after it when there are several); empty
    // when the look brought nothing to tell.
    std::string Note;
};

// A look at "zlttimes.log" (the watcher saw a change, or the periodic check): reads the
// appended lines, or the whole file when it was replaced; new names join the lists and get
// their ranks; then OnNewRuns. Failures leave the data as it was and come back once.
LogUpdate OnLogChanged(ProgramState& v, double now);

// The note about the runs numbered from `firstNew` on: the result of the newest finished one
// (with the count and "и ещё N" when several finished), or "«<stage>»: не финишировал" when
// the newest is known to be unfinished (a later run follows it) and none finished. `pendingLast`
// says that the last run still waits for its times: it is no new run yet.
std::string NewRunsNote(ProgramState& v, int32_t firstNew, bool pendingLast,
                        int32_t* newestRun = nullptr);

// The warning after the filter dialog when no finished run passes.
std::optional<Message> NothingPassesNotice(const ProgramState& v);

// One warning naming the stage numbers that runs use but "trinfo.bin" does not describe, and
// those whose stored length cannot be real (read as 0), given once for the numbers not
// reported before.
std::optional<Message> MissingStagesNotice(ProgramState& v);

} // namespace kel
