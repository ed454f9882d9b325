#pragma once
// Progress on one stage: the finish times over time with the best so far, and the bests by
// car, class or profile with their consistency figures.

#include "data/RunData.h"
#include "filter/FilterState.h"

#include <cstdint>
#include <vector>

namespace kel {

enum class ProgressGrouping { Car = 0, Class = 1, Profile = 2 };

// Cars, classes or profiles (by the grouping) with a chart colour of their own (those with the
// most charted runs); the others share one colour.
inline constexpr int ChartColourCount = 10;

// One run on the chart.
struct ProgressPoint {
    int32_t SelNo = 0; // position in the selection (log order)
    int32_t RunNo = 0;
    double Date = 0;   // start time, days since 1899-12-30
    double Finish = 0;
    int32_t CarIdx = 0;
    int32_t ClassIdx = 0;
    int32_t ProfIdx = 0;
    double BestSoFar = 0;    // best finish of the charted runs up to and including this one
    double Gap = 0;          // Finish - BestSoFar: 0 for a new best
    double PreviousBest = 0; // best before this run; 0 for the first charted run
    bool NewBest = false;    // the first run, and every run faster than all before it
    int Colour = -1;         // index into ProgressFigures::ColourGroups; -1 for the other groups

    bool operator==(const ProgressPoint&) const = default;
};

// One row of the bests table: the runs of one car, class or profile.
struct BestsRow {
    int32_t GroupIdx = 0;     // index into the car, class or profile list
    int32_t Runs = 0;
    double Best = 0;
    int32_t BestSelNo = 0;    // the first run (log order) with the best time
    int32_t BestRunNo = 0;
    double BestDate = 0;      // its start time; 0 when unknown
    double Gap = 0;           // Best - the stage's best over all groups
    double Best3Average = 0;  // mean of the three best finishes, of all when fewer
    double Median = 0;        // middle value, the mean of the two middle values for an even count
    double Spread = 0;        // population standard deviation, 0 for one run
    int32_t Within2 = 0;      // finishes <= Best * 1.02

    bool operator==(const BestsRow&) const = default;
};

enum BestsColumn {
    BestsName, BestsRuns, BestsBest, BestsBestRun, BestsBestDate, BestsGap, BestsBest3Average, BestsMedian,
    BestsSpread, BestsWithin2, BestsColumnCount
};

struct ProgressFigures {
    // All stages are selected: the figures stay empty, since times of different stages do not
    // compare.
    bool AllStages = false;
    int32_t Used = 0;    // runs with a finish time above 0: the bests table counts them all
    int32_t NoTime = 0;  // runs left out: finish 0 or below (not real runs)
    int32_t Undated = 0; // used runs left out of the chart: no start time
    std::vector<ProgressPoint> Points;  // the chart, log order
    std::vector<int32_t> ColourGroups;  // index of the groups with their own colour, most runs first
    ProgressGrouping Grouping = ProgressGrouping::Car;
    std::vector<BestsRow> Bests;        // best ascending, ties by name
    double StageBest = 0;               // best of all used runs (0 when none)

    bool operator==(const ProgressFigures&) const = default;
};

// The figures over the selection's runs taken in log order (whatever the table's order):
// the selection holds the finished runs of the stage that pass the filter in force.
ProgressFigures ComputeProgress(const RunData& data, const SelectionState& sel, bool allStages,
                                ProgressGrouping grouping);

// The list a grouping names its rows from.
const NameList& GroupingList(const RunData& data, ProgressGrouping grouping);

// Orders the rows by column (BestsColumn); ties, and the name column itself, by the names'
// bytes (ascending in both directions for ties). ComputeProgress leaves them as by
// SortBests(rows, BestsBest, true).
void SortBests(std::vector<BestsRow>& rows, const RunData& data, ProgressGrouping grouping, int column,
               bool ascending);

// The row (1-based) of the selection that holds run `runNo`; 0 when none does.
int32_t SelectionRowOfRun(const SelectionState& sel, int32_t runNo);

} // namespace kel
