#pragma once
// Texts of the progress figures, shared by the progress window and the report tool. UTF-8;
// times as the runs table shows them.

#include "data/Conventions.h"
#include "data/Texts.h"
#include "progress/ProgressFigures.h"
#include "table/DisplayState.h"

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

// The names of the groupings, by ProgressGrouping.
inline constexpr std::array<TextId, 3> GroupingNameIds{TextId::GroupByCar, TextId::GroupByClass,
                                                       TextId::GroupByProfile};

// "Прогресс — <stage name>"
std::string ProgressWindowTitle(std::string_view stageName, Language language);
// The file name proposed for the export of the bests table: "<stage name> — лучшие.csv", with
// the characters that file systems refuse replaced by "_".
std::string BestsExportFileName(std::string_view stageName, Language language);

// A time as the runs table shows it (single-precision value, FormatRaceTime).
std::string ProgressTimeText(double seconds, std::string_view decimalSep);
// A gap with an explicit "+": "+0:03.21"; "0:00.00" for none.
std::string GapText(double seconds, std::string_view decimalSep);
// count / runs as a percentage with one decimal, rounded half away from zero: "62.5 %".
std::string ShareText(int32_t count, int32_t runs, std::string_view decimalSep);
// A run number as the runs table's run-number mode shows it: "3", "17" or "3 / 17".
std::string RunNumberText(int32_t selNo, int32_t runNo, NumberMode mode);

enum class DateStyle {
    Log,     // "yyyy-mm-dd hh:nn:ss", the log's own form (report tool)
    Display, // "dd.mm.yyyy h:nn:ss", as the status bar shows dates (window)
};
// The date text of a start time; empty for a run without a date.
std::string RunDateText(double date, DateStyle style);

// The note under the chart: "без времени: 2; без даты (нет на графике): 1", the parts with
// a count above 0 only.
std::string ProgressNote(const ProgressFigures& f, Language language);

// Legend name of chart colour `colour` (index into f.ColourGroups, -1 for the others).
std::string ColourName(const ProgressFigures& f, const RunData& data, int colour, Language language);

// Tooltip of chart point `index`: run number, date, car, class, finish and the gap to the best
// so far (or what a new best gained).
std::string PointTooltip(const ProgressFigures& f, const RunData& data, std::size_t index, NumberMode mode,
                         const Conventions& conv);

// Fields of one line of the report's progress list: run number, date, car, class, profile,
// finish, best so far, "1" for a new best else "0".
inline constexpr int ProgressFieldCount = 8;
std::array<std::string, ProgressFieldCount> ProgressFields(const ProgressPoint& p, const RunData& data,
                                                           NumberMode mode, std::string_view decimalSep);
// English field names for machine-readable output.
const std::array<std::string_view, ProgressFieldCount>& ProgressFieldNames();

// The bests table's captions (window, exported file) and English field names (report tool).
std::string_view BestsCaption(int column, ProgressGrouping grouping, Language language);
// What a column of the bests table means (the caption's tooltip).
std::string_view BestsHint(int column, Language language);
std::string_view BestsFieldName(int column, ProgressGrouping grouping);
// The texts of one bests row, by BestsColumn.
std::array<std::string, BestsColumnCount> BestsRowTexts(const BestsRow& row, const RunData& data,
                                                        ProgressGrouping grouping, NumberMode mode,
                                                        std::string_view decimalSep, DateStyle dates);

// The bests table as a spreadsheet file (the table export's format): captions, then the rows
// in the given order, as the window shows them.
std::string ExportBestsCsv(const std::vector<BestsRow>& rows, const RunData& data, ProgressGrouping grouping,
                           NumberMode mode, const Conventions& conv);

// Tick marks of the chart's axes: at most `maxTicks` round values within [low, high].
struct AxisTick {
    double Value = 0;
    std::string Text;
};
// Times in seconds, every 1 2 5 10 15 20 30 s or whole minutes, labelled "m:ss".
std::vector<AxisTick> TimeAxisTicks(double low, double high, int maxTicks);
// Dates in days since 1899-12-30: whole minutes or hours ("dd.mm hh:nn", "hh:nn" within one
// day), days and Mondays ("dd.mm.yyyy"), first days of months ("mm.yyyy") or of years ("yyyy").
std::vector<AxisTick> DateAxisTicks(double low, double high, int maxTicks);

} // namespace kel
