#pragma once
// The result of one run among the runs of its stage read before it: rank, gap to the best and
// whether it is a new best of the stage, of its car or of its class on the stage. The filter
// plays no part: a personal best is the best ever.

#include "data/Conventions.h"
#include "data/RunData.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

class StageFile;

// Run numbers of every run, by stage, in log order: a result needs one pass over its stage's
// runs only, whatever the size of the log.
class StageRunIndex {
public:
    // Indexes the runs added to `data` since the last call (finished or not: the last run may
    // get its times later). A run table shorter than the one indexed is indexed afresh.
    void Update(const RunData& data);
    // Forgets everything (the log was read again from its start).
    void Clear();
    // The stage's run numbers in ascending order (empty for a stage without runs).
    const std::vector<int32_t>& Runs(int stageNo) const;

private:
    std::vector<std::vector<int32_t>> m_byStage;
    int32_t m_indexed = 0;
};

// A run counts when it is finished with a finish time above 0; only such runs get a result.
inline bool CountsForResult(const RunRecord& r) { return r.Finished && r.Finish > 0; }

struct RunResult {
    int32_t RunNo = 0;
    bool Valid = false;        // the run counts (finished, finish above 0)
    double Finish = 0;
    int32_t Rank = 0;          // 1 + earlier runs of the stage with a strictly smaller finish
    int32_t Runs = 0;          // runs of the stage so far, this one included
    bool StageBest = false;    // strictly faster than every earlier run of the stage (or the first)
    bool CarBest = false;      // ... of the same car on the stage
    bool ClassBest = false;    // ... of the same class on the stage
    // The best finish before this run (0 when there was none): of the stage, of the car, of the class.
    double PrevStageBest = 0;
    double PrevCarBest = 0;
    double PrevClassBest = 0;

    bool operator==(const RunResult&) const = default;
};

// The result of run `runNo` over the runs of its stage up to and including it, in log order
// (`index` must be up to date with `data`).
RunResult ResultOfRun(const RunData& data, const StageRunIndex& index, int32_t runNo);

// The results of every counting run numbered from `first` on, in log order, each the same as
// ResultOfRun gives: one sort and one pass per stage that has such a run, O(n log n) for the
// whole log instead of a pass over the earlier runs for every run (`index` as above).
std::vector<RunResult> ResultsOfRuns(const RunData& data, const StageRunIndex& index, int32_t first = 1);

// The signed gap of a result as the note shows it: minus the gap to the previous best of the
// kind the note names for a new best, plus the gap to the stage's best otherwise; no value
// (false) for a first run of that kind.
bool ResultGap(const RunResult& r, double& gap);

// The result line of a run, UTF-8, in the conventions' language, times in the table's format with
// their separator:
//   "Рекорд трассы «S»: 1:23.45 (-0:00.12)", "Лучшее на «C» на трассе «S»: … (первый проезд)",
//   "Лучшее в классе «K» на трассе «S»: …", "«S»: 1:25.00, 3-е место из 12 (+0:01.55)";
// "«S»: не финишировал" for a run that does not count.
std::string ResultText(const RunResult& r, const RunData& data, const StageFile& stages,
                       const Conventions& conv);

// The fields of a result for other programs: time (the run's start, "yyyy-mm-dd hh:nn:ss"),
// stage, car, class, finish, rank, runs, gap (signed as ResultGap, empty without one),
// stage_best, car_best, class_best (0/1); times in the table's format with `decimalSep`.
inline constexpr std::size_t ResultFieldCount = 11;
std::array<std::string, ResultFieldCount> ResultFields(const RunResult& r, const RunData& data,
                                                       const StageFile& stages, std::string_view decimalSep);
const std::array<std::string_view, ResultFieldCount>& ResultFieldNames();

// The stage's name as the notes show it (UTF-8), "трасса N" for a stage without a record.
std::string StageTitle(const StageFile& stages, int stageNo, Language language);

} // namespace kel
