// libFuzzer target: the whole path from the data files to the screen. The input is the times
// log, optionally followed by the separator "\0trinfo.bin\0" and the stage file (without it,
// the sample stage file). The start-up runs on files in a temporary folder, then every stage,
// display option, sort column, cursor row and a filter change, and every table cell and panel
// text is produced and checked to be valid UTF-8.

#include "data/ValueTables.h"
#include "session/Events.h"
#include "session/Startup.h"
#include "tests/TestUtil.h"
#include "tests/fuzz/FuzzUtil.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string_view>

namespace {

using namespace kel;
using fuzz::Check;
namespace fs = std::filesystem;

constexpr std::string_view Separator{"\0trinfo.bin\0", 12};

void CheckTable(const TableSnapshot& table) {
    if (!table.Data)
        return;
    std::string cell;
    for (int row = 0; row <= table.RowCount + 1; ++row)
        for (int column = -1; column <= ColumnCount; ++column) {
            CellText(table, row, column, cell);
            Check(fuzz::IsUtf8(cell));
            Check(!cell.empty() ? row >= 1 && row <= table.RowCount && column >= 0 && column < ColumnCount : true);
        }
}

void CheckTexts(const DisplayTexts& t) {
    for (const std::string* s : {&t.Stage.Length, &t.Stage.Distance, &t.Stage.Runs, &t.Stage.Number,
                                 &t.Stage.Combined, &t.Stage.Best, &t.Stage.Worst, &t.Stage.Average,
                                 &t.Stage.Speed, &t.Game.TotalTime, &t.Game.Distance, &t.Game.Speed,
                                 &t.Game.Finished, &t.Game.Share, &t.Status.Cursor, &t.Status.Date, &t.Status.Speed})
        Check(fuzz::IsUtf8(*s));
    CheckTable(t.Table);
}

void CheckNotice(const std::optional<Message>& notice) {
    if (notice)
        Check(fuzz::IsUtf8(notice->Text) && !notice->Text.empty());
}

void CheckSelection(const ProgramState& v) {
    Check(v.Sel.SelCount >= 0 && static_cast<std::size_t>(v.Sel.SelCount) < v.Sel.Selection.size());
    Check(v.Sel.SelCount == 0 || (v.Disp.SelCur >= 1 && v.Disp.SelCur <= v.Sel.SelCount));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const fs::path dir = fuzz::WorkDir() / "session";
    fs::create_directories(dir);
    const std::size_t split = input.find(Separator);
    test::WriteFile(dir / "zlttimes.log", input.substr(0, split));
    if (split == std::string_view::npos) {
        static const std::string sampleStages = fuzz::SampleFile("trinfo.bin");
        test::WriteFile(dir / "trinfo.bin", sampleStages);
    } else {
        test::WriteFile(dir / "trinfo.bin", input.substr(split + Separator.size()));
    }

    StartupOptions o = fuzz::Options(dir, {});
    ProgramState v;
    v.Conv.DecimalSep = ",";
    try {
        LoadPhase(v, o);
    } catch (const LoadError& e) {
        Check(fuzz::IsUtf8(LoadFailureMessage(e).Text));
        return 0;
    }
    CheckTexts(SetupPhase(v, o));
    CheckSelection(v);
    CheckNotice(ClosingNotice(v));
    CheckNotice(MissingStagesNotice(v));

    // Every stage of the list (the first ones of a long list).
    const auto stages = static_cast<int32_t>(std::min<std::size_t>(v.StageList.size(), 16));
    for (int32_t i = 0; i < stages; ++i) {
        v.StageIndex = i;
        CheckTexts(OnStageChosen(v));
        CheckSelection(v);
    }

    // Every display option, then every sort column twice (both directions), then every cursor row.
    for (bool allStages : {false, true}) {
        v.Disp.AllStages = allStages;
        CheckTexts(OnAllStagesChanged(v));
        for (bool bySectors : {false, true})
            for (bool relative : {false, true})
                for (NumberMode mode : {NumberMode::Unchecked, NumberMode::Checked, NumberMode::Grayed}) {
                    v.Disp.BySectors = bySectors;
                    v.Disp.Relative = relative && !allStages;
                    v.Disp.NumMode = mode;
                    CheckTable(OnDisplayOptionChanged(v));
                }
        for (int column = 0; column < 12; ++column) {
            CheckTexts(OnHeaderClick(v, column));
            CheckTexts(OnHeaderClick(v, column));
            CheckSelection(v);
        }
        const int rows = std::min(v.Sel.SelCount + 1, 24);
        for (int row = 0; row <= rows; ++row) {
            CheckTexts(OnCursorMoved(v, row));
            CheckSelection(v);
        }
        CheckNotice(MissingStagesNotice(v));
    }

    // The filter dialog closed with the first car and the first wetness hidden.
    if (!v.Data.CarList.empty())
        v.Data.CarList.front().FiltOn = true;
    if (!v.Data.WetnessList.empty())
        v.Data.WetnessList.front().FiltOn = true;
    CheckTexts(OnFilterClosed(v));
    CheckSelection(v);
    CheckNotice(NothingPassesNotice(v));
    CheckNotice(MissingStagesNotice(v));
    return 0;
}
