#include "stats/RunResult.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/Format.h"
#include "data/StageFile.h"
#include "data/Texts.h"

#include <algorithm>
#include <unordered_map>

namespace kel {
namespace {

const std::vector<int32_t> NoRuns;

// The table shows times in single precision; the notes show the same digits.
std::string TimeText(double seconds, std::string_view dec) {
    return FormatRaceTime(static_cast<double>(static_cast<float>(seconds)), dec);
}

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

namespace {

// Counts of the finishes seen so far by their place among the stage's distinct finishes.
class FinishCounts {
public:
    explicit FinishCounts(std::size_t places) : m_tree(places + 1, 0) {}
    void Add(std::size_t place) {
        for (std::size_t i = place + 1; i < m_tree.size(); i += i & (~i + 1))
            ++m_tree[i];
    }
    // How many of the finishes seen have a place below `place`.
    int32_t Below(std::size_t place) const {
        int32_t n = 0;
        for (std::size_t i = place; i > 0; i -= i & (~i + 1))
            n += m_tree[i];
        return n;
    }

private:
    std::vector<int32_t> m_tree;
};

// The best (smallest) finish so far of each car or class, 0 for none.
double BestOf(const std::unordered_map<int32_t, double>& bests, int32_t idx) {
    const auto it = bests.find(idx);
    return it == bests.end() ? 0 : it->second;
}

void KeepBest(std::unordered_map<int32_t, double>& bests, int32_t idx, double finish) {
    double& best = bests.try_emplace(idx, finish).first->second;
    best = std::min(best, finish);
}

} // namespace

std::vector<RunResult> ResultsOfRuns(const RunData& data, const StageRunIndex& index, int32_t first) {
    first = std::max(first, 1);
    std::vector<RunResult> results;
    if (first > data.RunCount)
        return results;
    // Where each counting run from `first` on goes in the answer, and the stages to go through.
    std::vector<int32_t> slot(static_cast<std::size_t>(data.RunCount - first + 1), -1);
    std::vector<int32_t> stages;
    for (int32_t runNo = first; runNo <= data.RunCount; ++runNo) {
        const RunRecord& run = data.Runs[static_cast<std::size_t>(runNo)];
        if (!CountsForResult(run))
            continue;
        slot[static_cast<std::size_t>(runNo - first)] = static_cast<int32_t>(results.size());
        results.emplace_back().RunNo = runNo;
        stages.push_back(run.StageNo);
    }
    std::sort(stages.begin(), stages.end());
    stages.erase(std::unique(stages.begin(), stages.end()), stages.end());

    std::vector<int32_t> counted;
    std::vector<double> places;
    std::unordered_map<int32_t, double> carBests;
    std::unordered_map<int32_t, double> classBests;
    for (const int32_t stage : stages) {
        counted.clear();
        places.clear();
        for (const int32_t runNo : index.Runs(stage)) {
            if (runNo > data.RunCount)
                break;
            const RunRecord& r = data.Runs[static_cast<std::size_t>(runNo)];
            if (!CountsForResult(r))
                continue;
            counted.push_back(runNo);
            places.push_back(r.Finish);
        }
        std::sort(places.begin(), places.end());
        places.erase(std::unique(places.begin(), places.end()), places.end());

        FinishCounts seen(places.size());
        int32_t runs = 0;
        double stageBest = 0;
        carBests.clear();
        classBests.clear();
        for (const int32_t runNo : counted) {
            const RunRecord& run = data.Runs[static_cast<std::size_t>(runNo)];
            const auto place =
                static_cast<std::size_t>(std::lower_bound(places.begin(), places.end(), run.Finish) - places.begin());
            if (runNo >= first) {
                RunResult& res = results[static_cast<std::size_t>(slot[static_cast<std::size_t>(runNo - first)])];
                res.Valid = true;
                res.Finish = run.Finish;
                res.Rank = 1 + seen.Below(place);
                res.Runs = runs + 1;
                res.PrevStageBest = stageBest;
                res.PrevCarBest = BestOf(carBests, run.CarIdx);
                res.PrevClassBest = BestOf(classBests, run.ClassIdx);
                res.StageBest = res.PrevStageBest == 0 || run.Finish < res.PrevStageBest;
                res.CarBest = res.PrevCarBest == 0 || run.Finish < res.PrevCarBest;
                res.ClassBest = res.PrevClassBest == 0 || run.Finish < res.PrevClassBest;
            }
            seen.Add(place);
            ++runs;
            stageBest = stageBest == 0 ? run.Finish : std::min(stageBest, run.Finish);
            KeepBest(carBests, run.CarIdx, run.Finish);
            KeepBest(classBests, run.ClassIdx, run.Finish);
        }
    }
    return results;
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
         StageTitle(stages, run.StageNo, Language::Russian), // the same in every language
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

std::string StageTitle(const StageFile& stages, int stageNo, Language language) {
    const std::string& name = stages.Record(stageNo).StageName;
    return name.empty() ? Text(TextId::UnnamedStage, language, {std::to_string(stageNo)}) : Cp1251ToUtf8(name);
}

std::string ResultText(const RunResult& r, const RunData& data, const StageFile& stages, const Conventions& conv) {
    const std::string_view dec = conv.DecimalSep;
    const Language lang = conv.Lang;
    if (r.RunNo < 1 || r.RunNo > data.RunCount)
        return {};
    const RunRecord& run = data.Runs[static_cast<std::size_t>(r.RunNo)];
    const auto quoted = [lang](const std::string& name) { return Text(TextId::QuotedName, lang, {name}); };
    const std::string stage = quoted(StageTitle(stages, run.StageNo, lang));
    if (!r.Valid)
        return Text(TextId::ResultNotFinished, lang, {stage});

    double gap = 0;
    const bool hasGap = ResultGap(r, gap);
    const std::string finish = TimeText(r.Finish, dec);
    // The table's time format gives the minus of a negative gap; a tie shows "+0:00.00".
    const std::string gapText = !hasGap  ? std::string(Text(TextId::ResultFirstRun, lang))
                                : gap < 0 ? "(" + TimeText(gap, dec) + ")"
                                          : "(+" + TimeText(gap, dec) + ")";
    if (r.StageBest)
        return Text(TextId::ResultStageRecord, lang, {stage, finish, gapText});
    if (r.CarBest)
        return Text(TextId::ResultCarBest, lang, {quoted(NameOf(data.CarList, run.CarIdx)), stage, finish, gapText});
    if (r.ClassBest)
        return Text(TextId::ResultClassBest, lang, {quoted(NameOf(data.ClassList, run.ClassIdx)), stage, finish, gapText});
    return Text(TextId::ResultPlace, lang, {stage, finish, std::to_string(r.Rank), std::to_string(r.Runs), gapText});
}

} // namespace kel
