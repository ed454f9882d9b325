#include "progress/ProgressFigures.h"

#include <algorithm>
#include <cmath>

namespace kel {
namespace {

int32_t GroupOf(const RunRecord& run, ProgressGrouping grouping) {
    switch (grouping) {
    case ProgressGrouping::Class: return run.ClassIdx;
    case ProgressGrouping::Profile: return run.ProfIdx;
    case ProgressGrouping::Car: break;
    }
    return run.CarIdx;
}

// The selection's runs in log order; the table may have reordered the selection.
std::vector<const RunRecord*> InLogOrder(const SelectionState& sel) {
    const int32_t n = std::clamp<int32_t>(sel.SelCount, 0, static_cast<int32_t>(sel.Selection.size()) - 1);
    std::vector<const RunRecord*> runs;
    runs.reserve(static_cast<std::size_t>(n));
    for (int32_t i = 1; i <= n; ++i)
        runs.push_back(&sel.Selection[static_cast<std::size_t>(i)]);
    const auto byLog = [](const RunRecord* a, const RunRecord* b) { return a->RunNo < b->RunNo; };
    if (!std::is_sorted(runs.begin(), runs.end(), byLog))
        std::sort(runs.begin(), runs.end(), byLog);
    return runs;
}

bool HasDate(const RunRecord& run) { return run.StartTime != 0 && std::isfinite(run.StartTime); }

int32_t GroupOf(const ProgressPoint& p, ProgressGrouping grouping) {
    switch (grouping) {
    case ProgressGrouping::Class: return p.ClassIdx;
    case ProgressGrouping::Profile: return p.ProfIdx;
    case ProgressGrouping::Car: break;
    }
    return p.CarIdx;
}

void ChooseColours(ProgressFigures& f, const RunData& data) {
    std::vector<int32_t> counts;
    for (const ProgressPoint& p : f.Points) {
        const int32_t group = GroupOf(p, f.Grouping);
        if (group < 0)
            continue;
        if (static_cast<std::size_t>(group) >= counts.size())
            counts.resize(static_cast<std::size_t>(group) + 1);
        ++counts[static_cast<std::size_t>(group)];
    }
    std::vector<int32_t> groups;
    for (std::size_t g = 0; g < counts.size(); ++g)
        if (counts[g] > 0)
            groups.push_back(static_cast<int32_t>(g));
    const NameList& list = GroupingList(data, f.Grouping);
    const auto name = [&](int32_t group) -> const std::string& {
        static const std::string none;
        return static_cast<std::size_t>(group) < list.size() ? list[static_cast<std::size_t>(group)].Name : none;
    };
    // The groups with the most charted runs get the colours; equal counts go by name so that
    // colours are stable.
    std::sort(groups.begin(), groups.end(), [&](int32_t a, int32_t b) {
        const int32_t ca = counts[static_cast<std::size_t>(a)], cb = counts[static_cast<std::size_t>(b)];
        if (ca != cb)
            return ca > cb;
        return name(a) < name(b);
    });
    if (groups.size() > static_cast<std::size_t>(ChartColourCount))
        groups.resize(static_cast<std::size_t>(ChartColourCount));
    f.ColourGroups = groups;
    std::vector<int> colourOf(counts.size(), -1);
    for (std::size_t k = 0; k < groups.size(); ++k)
        colourOf[static_cast<std::size_t>(groups[k])] = static_cast<int>(k);
    for (ProgressPoint& p : f.Points) {
        const int32_t group = GroupOf(p, f.Grouping);
        p.Colour = group >= 0 ? colourOf[static_cast<std::size_t>(group)] : -1;
    }
}

// Figures of one group from its finishes in log order and the runs they belong to.
BestsRow GroupFigures(int32_t group, std::vector<double>& finishes, const std::vector<const RunRecord*>& runs) {
    BestsRow row;
    row.GroupIdx = group;
    row.Runs = static_cast<int32_t>(finishes.size());
    // The first run with the best time, in log order.
    std::size_t first = 0;
    for (std::size_t k = 1; k < finishes.size(); ++k)
        if (finishes[k] < finishes[first])
            first = k;
    row.Best = finishes[first];
    row.BestSelNo = runs[first]->SelNo;
    row.BestRunNo = runs[first]->RunNo;
    row.BestDate = HasDate(*runs[first]) ? runs[first]->StartTime : 0;

    std::sort(finishes.begin(), finishes.end());
    const std::size_t n = finishes.size();
    const std::size_t top = std::min<std::size_t>(3, n);
    double topSum = 0;
    for (std::size_t k = 0; k < top; ++k)
        topSum += finishes[k];
    row.Best3Average = topSum / static_cast<double>(top);
    row.Median = n % 2 == 1 ? finishes[n / 2] : (finishes[n / 2 - 1] + finishes[n / 2]) / 2;
    double sum = 0;
    for (double x : finishes)
        sum += x;
    const double mean = sum / static_cast<double>(n);
    double squares = 0;
    for (double x : finishes)
        squares += (x - mean) * (x - mean);
    row.Spread = n > 1 ? std::sqrt(squares / static_cast<double>(n)) : 0;
    const double limit = row.Best * 1.02;
    row.Within2 = static_cast<int32_t>(std::upper_bound(finishes.begin(), finishes.end(), limit) - finishes.begin());
    return row;
}

const std::string& GroupName(const RunData& data, ProgressGrouping grouping, int32_t group) {
    static const std::string none;
    const NameList& list = GroupingList(data, grouping);
    return group >= 0 && static_cast<std::size_t>(group) < list.size() ? list[static_cast<std::size_t>(group)].Name
                                                                        : none;
}

} // namespace

const NameList& GroupingList(const RunData& data, ProgressGrouping grouping) {
    switch (grouping) {
    case ProgressGrouping::Class: return data.ClassList;
    case ProgressGrouping::Profile: return data.ProfList;
    case ProgressGrouping::Car: break;
    }
    return data.CarList;
}

ProgressFigures ComputeProgress(const RunData& data, const SelectionState& sel, bool allStages,
                                ProgressGrouping grouping) {
    ProgressFigures f;
    f.Grouping = grouping;
    f.AllStages = allStages;
    if (allStages)
        return f;

    const std::vector<const RunRecord*> runs = InLogOrder(sel);
    f.Points.reserve(runs.size());
    std::vector<std::vector<double>> finishes;
    std::vector<std::vector<const RunRecord*>> groupRuns;
    double best = 0;
    for (const RunRecord* run : runs) {
        // A zero or negative finish is no real run; NaN cannot come from the log, but would
        // spoil every figure.
        if (!(run->Finish > 0) || !std::isfinite(run->Finish)) {
            ++f.NoTime;
            continue;
        }
        if (f.Used == 0 || run->Finish < f.StageBest)
            f.StageBest = run->Finish;
        ++f.Used;
        const int32_t group = GroupOf(*run, grouping);
        if (group >= 0) {
            if (static_cast<std::size_t>(group) >= finishes.size()) {
                finishes.resize(static_cast<std::size_t>(group) + 1);
                groupRuns.resize(static_cast<std::size_t>(group) + 1);
            }
            finishes[static_cast<std::size_t>(group)].push_back(run->Finish);
            groupRuns[static_cast<std::size_t>(group)].push_back(run);
        }
        if (!HasDate(*run)) {
            ++f.Undated;
            continue;
        }
        ProgressPoint& p = f.Points.emplace_back();
        p.SelNo = run->SelNo;
        p.RunNo = run->RunNo;
        p.Date = run->StartTime;
        p.Finish = run->Finish;
        p.CarIdx = run->CarIdx;
        p.ClassIdx = run->ClassIdx;
        p.ProfIdx = run->ProfIdx;
        p.PreviousBest = best;
        p.NewBest = f.Points.size() == 1 || run->Finish < best;
        if (p.NewBest)
            best = run->Finish;
        p.BestSoFar = best;
        p.Gap = run->Finish - best;
    }
    ChooseColours(f, data);

    for (std::size_t g = 0; g < finishes.size(); ++g) {
        if (finishes[g].empty())
            continue;
        BestsRow row = GroupFigures(static_cast<int32_t>(g), finishes[g], groupRuns[g]);
        row.Gap = row.Best - f.StageBest;
        f.Bests.push_back(row);
    }
    SortBests(f.Bests, data, grouping, BestsBest, true);
    return f;
}

void SortBests(std::vector<BestsRow>& rows, const RunData& data, ProgressGrouping grouping, int column,
               bool ascending) {
    const auto key = [column](const BestsRow& r) -> double {
        switch (column) {
        case BestsRuns: return r.Runs;
        case BestsBest: return r.Best;
        case BestsBestRun: return r.BestRunNo;
        case BestsBestDate: return r.BestDate;
        case BestsGap: return r.Gap;
        case BestsBest3Average: return r.Best3Average;
        case BestsMedian: return r.Median;
        case BestsSpread: return r.Spread;
        case BestsWithin2: return static_cast<double>(r.Within2) / r.Runs;
        default: return 0;
        }
    };
    std::stable_sort(rows.begin(), rows.end(), [&](const BestsRow& a, const BestsRow& b) {
        const std::string& na = GroupName(data, grouping, a.GroupIdx);
        const std::string& nb = GroupName(data, grouping, b.GroupIdx);
        if (column == BestsName)
            return ascending ? na < nb : nb < na;
        const double ka = key(a), kb = key(b);
        if (ka != kb)
            return ascending ? ka < kb : kb < ka;
        return na < nb;
    });
}

int32_t SelectionRowOfRun(const SelectionState& sel, int32_t runNo) {
    const int32_t n = std::clamp<int32_t>(sel.SelCount, 0, static_cast<int32_t>(sel.Selection.size()) - 1);
    for (int32_t row = 1; row <= n; ++row)
        if (sel.Selection[static_cast<std::size_t>(row)].RunNo == runNo)
            return row;
    return 0;
}

} // namespace kel
