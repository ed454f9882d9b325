#include "table/Ordering.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstddef>
#include <utility>
#include <vector>

namespace kel {
namespace {

// Prefix counts over positions 1..size.
class Fenwick {
public:
    explicit Fenwick(int size) : m_tree(static_cast<std::size_t>(size) + 1, 0) {}
    void Add(int pos) {
        for (; pos < static_cast<int>(m_tree.size()); pos += pos & -pos)
            ++m_tree[static_cast<std::size_t>(pos)];
    }
    int Prefix(int pos) const {
        int sum = 0;
        for (; pos > 0; pos -= pos & -pos)
            sum += m_tree[static_cast<std::size_t>(pos)];
        return sum;
    }

private:
    std::vector<int> m_tree;
};

// Rewrites positions 1..n of the selection in the order given (each position exactly once).
// Only those positions are copied: the selection array has a slot for every run of the log,
// and copying all of them for a stage of a few hundred runs cost most of the ordering.
void Gather(SelectionState& sel, const std::vector<int32_t>& order) {
    std::vector<RunRecord> sorted;
    sorted.reserve(order.size());
    for (int32_t pos : order)
        sorted.push_back(sel.Selection[static_cast<std::size_t>(pos)]);
    std::copy(sorted.begin(), sorted.end(), sel.Selection.begin() + 1);
}

// Stable counting sort of positions 1..n by slot[pos]; start[s + 1] holds the count of slot s.
void GatherBySlot(SelectionState& sel, int n, const std::vector<int32_t>& slot, std::vector<int32_t>& start) {
    for (std::size_t s = 1; s < start.size(); ++s)
        start[s] += start[s - 1];
    std::vector<int32_t> order(static_cast<std::size_t>(n));
    for (int pos = 1; pos <= n; ++pos)
        order[static_cast<std::size_t>(start[static_cast<std::size_t>(slot[static_cast<std::size_t>(pos)])]++)] = pos;
    Gather(sel, order);
}

// ---- placement -------------------------------------------------------------

void PlaceBySelNo(SelectionState& sel, int n, bool ascending) {
    std::vector<int32_t> order(static_cast<std::size_t>(n), 0);
    bool permutation = true;
    for (int pos = 1; pos <= n && permutation; ++pos) {
        const int32_t no = sel.Selection[static_cast<std::size_t>(pos)].SelNo;
        if (no < 1 || no > n) {
            permutation = false;
            break;
        }
        auto& slot = order[static_cast<std::size_t>(ascending ? no - 1 : n - no)];
        if (slot != 0)
            permutation = false;
        slot = pos;
    }
    if (!permutation) {
        // Numbers that are not 1..n each once cannot come from a rebuilt selection; order them
        // anyway rather than let two runs fight for one place.
        for (int pos = 1; pos <= n; ++pos)
            order[static_cast<std::size_t>(pos - 1)] = pos;
        std::stable_sort(order.begin(), order.end(), [&](int32_t a, int32_t b) {
            const int32_t x = sel.Selection[static_cast<std::size_t>(a)].SelNo;
            const int32_t y = sel.Selection[static_cast<std::size_t>(b)].SelNo;
            return ascending ? x < y : x > y;
        });
    }
    Gather(sel, order);
}

// ---- rank grouping ---------------------------------------------------------

// Groups the runs by the list entry their field names, in the order of the entries' ranks
// 1..k (k..1 descending), keeping the current order inside each group. Runs whose entry is
// not reached by those ranks (the "Ошибка" entry k of a condition list, an index outside the
// list, a damaged rank) form one last group, first when descending, so no run is lost.
void GroupByRank(SelectionState& sel, int n, const NameList& list, int k, int32_t RunRecord::*field,
                 bool ascending) {
    const int entries = std::min<int>(k, static_cast<int>(list.size()));
    std::vector<int32_t> firstWithRank(static_cast<std::size_t>(k) + 1, -1);
    for (int e = entries - 1; e >= 0; --e) {
        const int32_t rank = list[static_cast<std::size_t>(e)].Rank;
        if (rank >= 1 && rank <= k)
            firstWithRank[static_cast<std::size_t>(rank)] = e;
    }
    // Group slots: 0..k-1 for the walked ranks, k for the invalid group (ascending);
    // descending puts the invalid group in slot 0 and the ranks k..1 in slots 1..k.
    std::vector<int32_t> slotOfEntry(static_cast<std::size_t>(entries), -1);
    for (int r = 1; r <= k; ++r) {
        const int32_t e = firstWithRank[static_cast<std::size_t>(r)];
        if (e >= 0)
            slotOfEntry[static_cast<std::size_t>(e)] = ascending ? r - 1 : k - r + 1;
    }
    const int32_t invalidSlot = ascending ? k : 0;

    std::vector<int32_t> slot(static_cast<std::size_t>(n) + 1);
    std::vector<int32_t> start(static_cast<std::size_t>(k) + 2, 0);
    for (int pos = 1; pos <= n; ++pos) {
        const int32_t e = sel.Selection[static_cast<std::size_t>(pos)].*field;
        int32_t s = invalidSlot;
        if (e >= 0 && e < entries && slotOfEntry[static_cast<std::size_t>(e)] >= 0)
            s = slotOfEntry[static_cast<std::size_t>(e)];
        slot[static_cast<std::size_t>(pos)] = s;
        ++start[static_cast<std::size_t>(s) + 1];
    }
    GatherBySlot(sel, n, slot, start);
}

// ---- time keys -------------------------------------------------------------

// Unsigned code whose order is the order of the doubles; -0.0 and +0.0 get one code.
uint64_t OrderCode(double d) {
    if (d == 0)
        d = 0.0;
    const uint64_t bits = std::bit_cast<uint64_t>(d);
    return (bits >> 63) != 0 ? ~bits : bits | (uint64_t{1} << 63);
}

struct Keyed {
    uint64_t code;
    int32_t pos;
};

// Stable LSD radix sort by code; equal codes keep their input order.
void RadixSort(std::vector<Keyed>& items) {
    constexpr int Bits = 11;
    constexpr int Buckets = 1 << Bits;
    constexpr int Passes = (64 + Bits - 1) / Bits;
    std::vector<std::array<uint32_t, Buckets>> counts(Passes);
    for (auto& c : counts)
        c.fill(0);
    for (const Keyed& it : items)
        for (int p = 0; p < Passes; ++p)
            ++counts[static_cast<std::size_t>(p)][(it.code >> (p * Bits)) & (Buckets - 1)];
    std::vector<Keyed> buffer(items.size());
    for (int p = 0; p < Passes; ++p) {
        auto& c = counts[static_cast<std::size_t>(p)];
        const uint32_t first = static_cast<uint32_t>((items.front().code >> (p * Bits)) & (Buckets - 1));
        if (c[first] == items.size())
            continue; // every item has the same digit here
        uint32_t sum = 0;
        for (auto& v : c)
            sum += std::exchange(v, sum);
        for (const Keyed& it : items)
            buffer[c[(it.code >> (p * Bits)) & (Buckets - 1)]++] = it;
        items.swap(buffer);
    }
}

// Final order, inside one group of equal keys, that the exchange sort gives. The members stand
// at positions q[0] < q[1] < ...; gap[i] is the number of runs with a key strictly before the
// group's that stand between q[i] and q[i+1] (after the last member for the last one).
// Each member joins the end of a list that is then rotated left by its gap; the list is kept as
// a ring with a moving start, so joining the end is an insertion just before the start.
void OrderGroup(const std::vector<int32_t>& q, const std::vector<int32_t>& gap, std::vector<int32_t>& insertAt,
                std::vector<int32_t>& tree, std::vector<int32_t>& ring, std::vector<int32_t>& out) {
    const int m = static_cast<int>(q.size());
    insertAt.resize(static_cast<std::size_t>(m));
    int start = 0;
    for (int i = 0; i < m; ++i) {
        insertAt[static_cast<std::size_t>(i)] = start;
        const int len = i + 1;
        start = static_cast<int>((static_cast<int64_t>(start) + 1 + gap[static_cast<std::size_t>(i)]) % len);
    }
    // Where each member ends up in the ring: replay the insertions backwards, each member taking
    // the free slot whose rank among the free slots is its insertion index.
    tree.assign(static_cast<std::size_t>(m) + 1, 0);
    for (int i = 1; i <= m; ++i)
        tree[static_cast<std::size_t>(i)] = i & -i;
    ring.resize(static_cast<std::size_t>(m));
    const int top = static_cast<int>(std::bit_floor(static_cast<unsigned>(m)));
    for (int i = m - 1; i >= 0; --i) {
        int want = insertAt[static_cast<std::size_t>(i)] + 1; // 1-based rank among free slots
        int idx = 0;
        for (int step = top; step > 0; step >>= 1) {
            const int next = idx + step;
            if (next <= m && tree[static_cast<std::size_t>(next)] < want) {
                idx = next;
                want -= tree[static_cast<std::size_t>(next)];
            }
        }
        const int slotPos = idx + 1;
        ring[static_cast<std::size_t>(slotPos - 1)] = q[static_cast<std::size_t>(i)];
        for (int j = slotPos; j <= m; j += j & -j)
            --tree[static_cast<std::size_t>(j)];
    }
    for (int i = 0; i < m; ++i)
        out.push_back(ring[static_cast<std::size_t>((start + i) % m)]);
}

// The permutation of the exchange sort by key (positions 1..n), found without its n²
// comparisons: the keys end up sorted and only the order inside each group of equal keys needs
// work. NaN keys compare false with everything, which no order can honour; those runs keep
// their order and go last.
std::vector<int32_t> ExchangeOrder(const std::vector<double>& key, int n, bool ascending) {
    std::vector<Keyed> items;
    items.reserve(static_cast<std::size_t>(n));
    std::vector<int32_t> nans;
    for (int pos = 1; pos <= n; ++pos) {
        const double k = key[static_cast<std::size_t>(pos)];
        if (std::isnan(k)) {
            nans.push_back(pos);
            continue;
        }
        const uint64_t code = OrderCode(k);
        items.push_back({ascending ? code : ~code, pos});
    }
    std::vector<int32_t> order;
    order.reserve(static_cast<std::size_t>(n));
    if (!items.empty()) {
        RadixSort(items);
        Fenwick before(n); // positions of the runs whose key comes strictly before the current group
        int placed = 0;
        std::vector<int32_t> q, gap, insertAt, tree, ring;
        for (std::size_t g = 0; g < items.size();) {
            std::size_t end = g + 1;
            while (end < items.size() && items[end].code == items[g].code)
                ++end;
            if (end - g == 1) {
                order.push_back(items[g].pos);
            } else {
                q.clear();
                gap.clear();
                for (std::size_t i = g; i < end; ++i)
                    q.push_back(items[i].pos);
                int prev = before.Prefix(q[0]);
                for (std::size_t i = 1; i < q.size(); ++i) {
                    const int cur = before.Prefix(q[i]);
                    gap.push_back(cur - prev);
                    prev = cur;
                }
                gap.push_back(placed - prev);
                OrderGroup(q, gap, insertAt, tree, ring, order);
            }
            for (std::size_t i = g; i < end; ++i)
                before.Add(items[i].pos);
            placed += static_cast<int>(end - g);
            g = end;
        }
    }
    order.insert(order.end(), nans.begin(), nans.end());
    return order;
}

// ---- stage and date --------------------------------------------------------

// Stable counting sort by the stage's place in the stage list; descending reverses the places,
// not the runs, so equal places keep their order both ways.
void SortByStage(SelectionState& sel, int n, const std::vector<int32_t>& places, bool ascending) {
    int32_t last = 0;
    for (int32_t place : places)
        last = std::max(last, place);
    // Stage numbers past the table share the place of its last entry, the unlisted stages'.
    const int32_t beyond = places.empty() ? 0 : places.back();
    std::vector<int32_t> slot(static_cast<std::size_t>(n) + 1);
    std::vector<int32_t> start(static_cast<std::size_t>(last) + 2, 0);
    for (int pos = 1; pos <= n; ++pos) {
        const uint16_t stage = sel.Selection[static_cast<std::size_t>(pos)].StageNo;
        const int32_t place = std::clamp(stage < places.size() ? places[stage] : beyond, 0, last);
        const int32_t s = ascending ? place : last - place;
        slot[static_cast<std::size_t>(pos)] = s;
        ++start[static_cast<std::size_t>(s) + 1];
    }
    GatherBySlot(sel, n, slot, start);
}

// Stable radix sort by start time; a run without a date (0) comes before every dated one.
void SortByDate(SelectionState& sel, int n, bool ascending) {
    std::vector<Keyed> items;
    items.reserve(static_cast<std::size_t>(n));
    for (int pos = 1; pos <= n; ++pos) {
        const double t = sel.Selection[static_cast<std::size_t>(pos)].StartTime;
        const uint64_t code = std::isnan(t) ? 0 : OrderCode(t); // no NaN comes from the log
        items.push_back({ascending ? code : ~code, pos});
    }
    RadixSort(items);
    std::vector<int32_t> order;
    order.reserve(static_cast<std::size_t>(n));
    for (const Keyed& it : items)
        order.push_back(it.pos);
    Gather(sel, order);
}

void SortByTime(SelectionState& sel, int n, int column, bool ascending, bool bySectors) {
    // Differences are stored as doubles: the keys are not rounded to the table's single precision.
    std::vector<double> key(static_cast<std::size_t>(n) + 1, 0.0);
    for (int pos = 1; pos <= n; ++pos) {
        const RunRecord& r = sel.Selection[static_cast<std::size_t>(pos)];
        double k = 0;
        switch (column) {
        case 3: k = r.Split1; break;
        case 4: k = bySectors ? r.Split2 - r.Split1 : r.Split2; break;
        default: k = bySectors ? r.Finish - r.Split2 : r.Finish; break;
        }
        key[static_cast<std::size_t>(pos)] = k;
    }
    Gather(sel, ExchangeOrder(key, n, ascending));
}

} // namespace

std::vector<int32_t> StageListPlaces(const StageFile& stages, const std::vector<std::string>& stageList) {
    const auto listed = static_cast<int32_t>(stageList.size());
    std::vector<int32_t> places(static_cast<std::size_t>(stages.RecordCount()) + 1, listed);
    for (int k = 0; k < stages.RecordCount(); ++k) {
        const std::string& name = stages.Record(k).StageName;
        if (name.empty())
            continue;
        // The list is short (one entry per stage record): a linear search per record will do.
        const auto it = std::find(stageList.begin(), stageList.end(), name);
        if (it != stageList.end())
            places[static_cast<std::size_t>(k)] = static_cast<int32_t>(it - stageList.begin());
    }
    return places;
}

void SortSelection(SelectionState& sel, const RunData& data, uint8_t typeSort, uint8_t upOrDown, bool bySectors,
                   const std::vector<int32_t>& stagePlaces) {
    const int n = std::min<int>(sel.SelCount, static_cast<int>(sel.Selection.size()) - 1);
    if (n < 2)
        return;
    const bool ascending = upOrDown == 1;
    switch (typeSort) {
    case 0: PlaceBySelNo(sel, n, ascending); break;
    case 1: GroupByRank(sel, n, data.CarList, static_cast<int>(data.CarList.size()), &RunRecord::CarIdx, ascending); break;
    case 2: GroupByRank(sel, n, data.ClassList, static_cast<int>(data.ClassList.size()), &RunRecord::ClassIdx, ascending); break;
    case 3:
    case 4:
    case 5: SortByTime(sel, n, typeSort, ascending, bySectors); break;
    case 6: GroupByRank(sel, n, data.WetnessList, WetnessListSize - 1, &RunRecord::Wetness, ascending); break;
    case 7: GroupByRank(sel, n, data.SurfAgeList, SurfAgeListSize - 1, &RunRecord::SurfAge, ascending); break;
    case 8: GroupByRank(sel, n, data.TyresList, TyresListSize - 1, &RunRecord::Tyres, ascending); break;
    case 9: GroupByRank(sel, n, data.DamageList, DamageListSize - 1, &RunRecord::Damage, ascending); break;
    case 10: GroupByRank(sel, n, data.WeatherList, WeatherListSize - 1, &RunRecord::Weather, ascending); break;
    case 11: GroupByRank(sel, n, data.ProfList, static_cast<int>(data.ProfList.size()), &RunRecord::ProfIdx, ascending); break;
    case 12: SortByStage(sel, n, stagePlaces, ascending); break;
    case 13: SortByDate(sel, n, ascending); break;
    default: break;
    }
}

} // namespace kel
