#include "stats/StageStats.h"

#include "data/Format.h"
#include "data/Texts.h"

#include <cassert>
#include <cmath>

namespace kel {
namespace {

} // namespace

StageStatsTexts ShowStageStats(const StageRecord& stage, uint8_t currentStage, const SelectionState& sel,
                               DisplayState& disp, const Conventions& conv) {
    StageStatsTexts t;
    t.Length = WithUnit(FixedText(stage.StageLength, 4, 1, conv.DecimalSep), Text(TextId::UnitKilometres, conv.Lang));
    t.Distance = WithUnit(FixedText(0, 6, 1, conv.DecimalSep), Text(TextId::UnitKilometres, conv.Lang));
    t.Runs = WholeNumber(0);
    t.Number = WholeNumber(currentStage);
    if (sel.SelCount <= 0) {
        disp.SelCur = 1;
        return t;
    }
    assert(static_cast<std::size_t>(sel.SelCount) < sel.Selection.size());

    // Statistics accumulate in single precision, and a stored best is compared as a float
    // against the run's double time; the shown values depend on both.
    int32_t count = 0;
    float best[3] = {10000.0f, 10000.0f, 10000.0f};
    float bestSector[3] = {10000.0f, 10000.0f, 10000.0f};
    float worst = 0;
    float sum = 0;
    for (int32_t j = 1; j <= sel.SelCount; ++j) {
        const RunRecord& run = sel.Selection[static_cast<std::size_t>(j)];
        if (run.StageNo != currentStage)
            continue;
        ++count;
        const double times[3] = {run.Split1, run.Split2, run.Finish};
        double previous = 0;
        for (int k = 0; k < 3; ++k) {
            const double sector = times[k] - previous;
            previous = times[k];
            if (times[k] < best[k]) {
                best[k] = ToSingle(times[k]);
                disp.BestTimeRow[static_cast<std::size_t>(k + 1)] = count;
            }
            if (sector < bestSector[k]) {
                bestSector[k] = ToSingle(sector);
                disp.BestSectorRow[static_cast<std::size_t>(k + 1)] = count;
            }
        }
        if (worst < run.Finish)
            worst = ToSingle(run.Finish);
        sum = ToSingle(static_cast<double>(sum) + run.Finish);
    }

    t.Distance = WithUnit(FixedText(static_cast<double>(count) * stage.StageLength, 6, 1, conv.DecimalSep), Text(TextId::UnitKilometres, conv.Lang));
    t.Runs = WholeNumber(count);
    // No run of this stage among the selection: there is no best, worst or average.
    if (count == 0)
        return t;

    const float average = ToSingle(static_cast<double>(sum) / count);
    const float speed = ToSingle(static_cast<double>(stage.StageLength) * 3600.0 / average);
    t.Best = FormatRaceTime(best[2], conv.DecimalSep);
    t.Worst = FormatRaceTime(worst, conv.DecimalSep);
    t.Average = FormatRaceTime(average, conv.DecimalSep);
    // A zero or overflowed average (a damaged log) gives no speed rather than an infinite or zero one.
    if (std::isfinite(average))
        t.Speed = WithUnit(FixedText(speed, 5, 2, conv.DecimalSep), Text(TextId::UnitKilometresPerHour, conv.Lang));
    t.Combined = FormatRaceTime(static_cast<double>(bestSector[0]) + bestSector[1] + bestSector[2], conv.DecimalSep);
    return t;
}

} // namespace kel
