#include "stats/RunResult.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/Format.h"
#include "data/StageFile.h"

namespace kel {
namespace {

const std::vector<int32_t> NoRuns;

// The table shows times in single precision; the notes show the same digits.
std::string TimeText(double seconds, std::string_view dec) {
    return FormatRaceTime(static_cast<double>(static_cast<float>(seconds)), dec);
}

std::string Quoted(const std::string& utf8) { return "«" + utf8 + "»"; }

std::string NameOf(const NameList& list, int32_t idx) {
    return idx >= 0 && static_cast<std::size_t>(idx) < list.size() ? Cp1251ToUtf8(list[idx].Name) : std::string();
}

} // namespace

void StageRunIndex::Clear() {
    m_byStage.clear();
    m_indexed = 0;
}

void StageRunIndex::Update(const RunData& data) {
    if (data.RunCount < m_indexed)
        Clear();
    for (int32_t runNo = m_indexed + 1; runNo <= data.RunCount; ++runNo) {
        const std::size_t stage = data.Runs[static_cast<std::size_t>(runNo)].StageNo;
        if (stage >= m_byStage.size())
            m_byStage.resize(stage + 1);
        m_byStage[stage].push_back(runNo);
    }
    m_indexed = data.RunCount;
}

const std::vector<int32_t>& StageRunIndex::Runs(int stageNo) const {
    return stageNo >= 0 && static_cast<std::size_t>(stageNo) < m_byStage.size()
               ? m_byStage[static_cast<std::size_t>(stageNo)]
               : NoRuns;
}

RunResult ResultOfRun(const RunData& data, const StageRunIndex& index, int32_t runNo) {
    RunResult res;
    res.RunNo = runNo;
    if (runNo < 1 || runNo > data.RunCount)
        return res;
    const RunRecord& run = data.Runs[static_cast<std::size_t>(runNo)];
    if (!CountsForResult(run))
        return res;
    res.Valid = true;
    res.Finish = run.Finish;
    res.Runs = 1;
    res.Rank = 1;
    // One pass over the earlier runs of the stage; a best of 0 means none yet.
    for (const int32_t other : index.Runs(run.StageNo)) {
        if (other >= runNo)
            break;
        const RunRecord& r = data.Runs[static_cast<std::size_t>(other)];
        if (!CountsForResult(r))
            continue;
        ++res.Runs;
        if (r.Finish < run.Finish)
            ++res.Rank;
        if (res.PrevStageBest == 0 || r.Finish < res.PrevStageBest)
            res.PrevStageBest = r.Finish;
        if (r.CarIdx == run.CarIdx && (res.PrevCarBest == 0 || r.Finish < res.PrevCarBest))
            res.PrevCarBest = r.Finish;
        if (r.ClassIdx == run.ClassIdx && (res.PrevClassBest == 0 || r.Finish < res.PrevClassBest))
            res.PrevClassBest = r.Finish;
    }
    res.StageBest = res.PrevStageBest == 0 || run.Finish < res.PrevStageBest;
    res.CarBest = res.PrevCarBest == 0 || run.Finish < res.PrevCarBest;
    res.ClassBest = res.PrevClassBest == 0 || run.Finish < res.PrevClassBest;
    return res;
}

bool ResultGap(const RunResult& r, double& gap) {
    const double previous = r.StageBest ? r.PrevStageBest
                            : r.CarBest ? r.PrevCarBest
                            : r.ClassBest ? r.PrevClassBest
                                          : r.PrevStageBest;
    if (!r.Valid || previous == 0)
        return false;
    gap = r.Finish - previous; // negative for a new best; otherwise previous is the stage's best
    return true;
}

std::array<std::string, ResultFieldCount> ResultFields(const RunResult& r, const RunData& data,
                                                       const StageFile& stages, std::string_view dec) {
    std::array<std::string, ResultFieldCount> f;
    if (r.RunNo < 1 || r.RunNo > data.RunCount)
        return f;
    const RunRecord& run = data.Runs[static_cast<std::size_t>(r.RunNo)];
    double gap = 0;
    f = {run.StartTime == 0 ? std::string() : FormatLogDateTime(run.StartTime),
         StageTitle(stages, run.StageNo),
         NameOf(data.CarList, run.CarIdx),
         NameOf(data.ClassList, run.ClassIdx),
         r.Valid ? TimeText(r.Finish, dec) : std::string(),
         r.Valid ? std::to_string(r.Rank) : std::string(),
         r.Valid ? std::to_string(r.Runs) : std::string(),
         ResultGap(r, gap) ? (gap < 0 ? "" : "+") + TimeText(gap, dec) : std::string(),
         r.StageBest ? "1" : "0",
         r.CarBest ? "1" : "0",
         r.ClassBest ? "1" : "0"};
    return f;
}

const std::array<std::string_view, ResultFieldCount>& ResultFieldNames() {
    static constexpr std::array<std::string_view, ResultFieldCount> names{
        "time", "stage", "car", "class", "finish", "rank", "runs", "gap", "stage_best", "car_best", "class_best"};
    return names;
}

std::string StageTitle(const StageFile& stages, int stageNo) {
    const std::string& name = stages.Record(stageNo).StageName;
    return name.empty() ? "трасса " + std::to_string(stageNo) : Cp1251ToUtf8(name);
}

std::string ResultText(const RunResult& r, const RunData& data, const StageFile& stages, std::string_view dec) {
    if (r.RunNo < 1 || r.RunNo > data.RunCount)
        return {};
    const RunRecord& run = data.Runs[static_cast<std::size_t>(r.RunNo)];
    const std::string stage = Quoted(StageTitle(stages, run.StageNo));
    if (!r.Valid)
        return stage + ": не финишировал";

    double gap = 0;
    const bool hasGap = ResultGap(r, gap);
    const std::string finish = TimeText(r.Finish, dec);
    // The table's time format gives the minus of a negative gap; a tie shows "+0:00.00".
    const std::string gapText = !hasGap  ? "(первый проезд)"
                                : gap < 0 ? "(" + TimeText(gap, dec) + ")"
                                          : "(+" + TimeText(gap, dec) + ")";
    if (r.StageBest)
        return "Рекорд трассы " + stage + ": " + finish + " " + gapText;
    if (r.CarBest)
        return "Лучшее на " + Quoted(NameOf(data.CarList, run.CarIdx)) + " на трассе " + stage + ": " + finish + " " +
               gapText;
    if (r.ClassBest)
        return "Лучшее в классе " + Quoted(NameOf(data.ClassList, run.ClassIdx)) + " на трассе " + stage + ": " +
               finish + " " + gapText;
    return stage + ": " + finish + ", " + std::to_string(r.Rank) + "-е место из " + std::to_string(r.Runs) + " " +
           gapText;
}

} // namespace kel
