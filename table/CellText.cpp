#include "table/CellText.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/Format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace kel {
namespace {

// The list shown in a name column, and the run field that indexes it.
struct NameColumn {
    const NameList* list = nullptr;
    int32_t RunRecord::*field = nullptr;
};

NameColumn NameColumnOf(const RunData& data, int column) {
    switch (column) {
    case 1: return {&data.CarList, &RunRecord::CarIdx};
    case 2: return {&data.ClassList, &RunRecord::ClassIdx};
    case 6: return {&data.WetnessList, &RunRecord::Wetness};
    case 7: return {&data.SurfAgeList, &RunRecord::SurfAge};
    case 8: return {&data.TyresList, &RunRecord::Tyres};
    case 9: return {&data.DamageList, &RunRecord::Damage};
    case 10: return {&data.WeatherList, &RunRecord::Weather};
    case 11: return {&data.ProfList, &RunRecord::ProfIdx};
    default: return {};
    }
}

void AppendNumber(std::string& out, long long n) {
    char buf[24];
    const auto res = std::to_chars(buf, buf + sizeof buf, n);
    out.append(buf, res.ptr);
}

// Time value k (1..3) of a row, computed in double.
double TimeValue(const RunRecord& r, const RunRecord& ref, int k, bool bySectors, bool relative) {
    const double t[4] = {0, r.Split1, r.Split2, r.Finish};
    double v = bySectors ? t[k] - t[k - 1] : t[k];
    if (relative) {
        const double f[4] = {0, ref.Split1, ref.Split2, ref.Finish};
        v -= bySectors ? f[k] - f[k - 1] : f[k];
    }
    return v;
}

// The single-precision value a time cell shows, and whether it is shown relative.
float ShownTime(const TableSnapshot& snap, const RunRecord& r, int row, int column, bool& relative) {
    relative = snap.Relative && row != snap.SelCur;
    // The single-precision rounding decides the last digit shown and the sign.
    float value = static_cast<float>(TimeValue(r, snap.RefRun, column - 2, snap.BySectors, relative));
    if (value == 0)
        value = 0; // no "-0:00.00" for a difference that vanishes
    return value;
}

void AppendTime(std::string& out, float value, bool relative, const std::string& decimalSep) {
    if (relative && value > 0)
        out += '+';
    out += FormatRaceTime(static_cast<double>(value), decimalSep);
}

} // namespace

TableSnapshot FillRunsTable(const RunData& data, const SelectionState& sel, DisplayState& disp,
                            const Conventions& conv, const StageFile* stages) {
    TableSnapshot snap;
    snap.Data = &data;
    snap.Sel = &sel;
    const int32_t n = std::clamp<int32_t>(sel.SelCount, 0, static_cast<int32_t>(sel.Selection.size()) - 1);
    snap.RowCount = n;
    if (n > 0) {
        if (disp.SelCur > n)
            disp.SelCur = n;
        // A cursor above the first row (a damaged saved row) would take the reference from
        // outside the selection.
        if (disp.SelCur < 1)
            disp.SelCur = 1;
        if (n > 1)
            disp.RefRun = sel.Selection[static_cast<std::size_t>(disp.SelCur)];
    }
    snap.SelCur = disp.SelCur;
    snap.RefRun = disp.RefRun;
    snap.BySectors = disp.BySectors;
    snap.Relative = disp.Relative;
    snap.NumMode = disp.NumMode;
    snap.Conv = conv;
    for (int column = 0; column < 12; ++column) {
        const NameColumn nc = NameColumnOf(data, column);
        if (nc.list == nullptr)
            continue;
        auto& names = snap.Utf8Names[static_cast<std::size_t>(column)];
        names.reserve(nc.list->size());
        for (const NameEntry& e : *nc.list)
            names.push_back(Cp1251ToUtf8(e.Name));
    }
    if (stages != nullptr) {
        snap.StageNames.reserve(static_cast<std::size_t>(stages->RecordCount()));
        for (int k = 0; k < stages->RecordCount(); ++k)
            snap.StageNames.push_back(Cp1251ToUtf8(stages->Record(k).StageName));
    }
    return snap;
}

std::string_view ColumnCaption(int column, bool bySectors, Language language) {
    if (column < 0 || column >= ColumnCount)
        return {};
    if (bySectors && column >= 3 && column <= 5)
        return Text(SectorColumnNameIds[static_cast<std::size_t>(column - 3)], language);
    return Text(ColumnNameIds[static_cast<std::size_t>(column)], language);
}

void CellText(const TableSnapshot& snap, int row, int column, std::string& out) {
    out.clear();
    if (snap.Data == nullptr || snap.Sel == nullptr || row < 1 || row > snap.RowCount || column < 0 || column >= ColumnCount ||
        static_cast<std::size_t>(row) >= snap.Sel->Selection.size())
        return;
    const RunRecord& r = snap.Sel->Selection[static_cast<std::size_t>(row)];
    switch (column) {
    case 0:
        if (snap.NumMode == NumberMode::Checked) {
            AppendNumber(out, r.RunNo);
        } else {
            AppendNumber(out, r.SelNo);
            if (snap.NumMode == NumberMode::Grayed) {
                out += " / ";
                AppendNumber(out, r.RunNo);
            }
        }
        return;
    case StageColumn:
        if (r.StageNo < snap.StageNames.size())
            out += snap.StageNames[r.StageNo];
        return;
    case DateColumn:
        if (r.StartTime != 0)
            out += FormatRunDate(r.StartTime);
        return;
    case 3:
    case 4:
    case 5: {
        bool relative = false;
        const float value = ShownTime(snap, r, row, column, relative);
        AppendTime(out, value, relative, snap.Conv.DecimalSep);
        return;
    }
    default: {
        const NameColumn nc = NameColumnOf(*snap.Data, column);
        const int32_t idx = r.*nc.field;
        const auto& cached = snap.Utf8Names[static_cast<std::size_t>(column)];
        // The last entry of a condition list stands for a value the game does not define.
        if (column >= 6 && column <= 10 && idx >= 0 && static_cast<std::size_t>(idx) + 1 == nc.list->size()) {
            out += Text(TextId::ConditionOutOfRange, snap.Conv.Lang);
            return;
        }
        if (idx >= 0 && static_cast<std::size_t>(idx) < cached.size())
            out += cached[static_cast<std::size_t>(idx)];
        else if (cached.empty() && idx >= 0 && static_cast<std::size_t>(idx) < nc.list->size())
            out += Cp1251ToUtf8((*nc.list)[static_cast<std::size_t>(idx)].Name);
        return;
    }
    }
}

std::string CellText(const TableSnapshot& snap, int row, int column) {
    std::string out;
    CellText(snap, row, column, out);
    return out;
}

std::vector<std::string> WidestNumberTexts(const TableSnapshot& snap, int column) {
    std::vector<std::string> texts;
    if (snap.Data == nullptr || snap.Sel == nullptr || snap.RowCount < 1)
        return texts;
    const int32_t n = std::min<int32_t>(snap.RowCount, static_cast<int32_t>(snap.Sel->Selection.size()) - 1);
    const auto& rows = snap.Sel->Selection;
    if (column == 0) {
        // With equal digits the widest text is the one with most digits.
        const auto digits = [](int32_t v) {
            int count = 1;
            for (; v >= 10 || v <= -10; v /= 10)
                ++count;
            return count + (v < 0 ? 1 : 0);
        };
        int32_t widestRow = 1;
        int most = -1;
        for (int32_t row = 1; row <= n; ++row) {
            const RunRecord& r = rows[static_cast<std::size_t>(row)];
            const int count = snap.NumMode == NumberMode::Checked  ? digits(r.RunNo)
                              : snap.NumMode == NumberMode::Grayed ? digits(r.SelNo) + digits(r.RunNo)
                                                                   : digits(r.SelNo);
            if (count > most) {
                most = count;
                widestRow = row;
            }
        }
        texts.push_back(CellText(snap, widestRow, column));
    } else if (column >= 3 && column <= 5) {
        // Within one sign, and with or without the relative "+", the text of the largest value
        // has the most digits; signs differ in width, so each kind keeps its own candidate.
        struct Extreme {
            float value = 0;
            bool seen = false;
        };
        Extreme extremes[2][2]; // [relative][negative]
        for (int32_t row = 1; row <= n; ++row) {
            bool relative = false;
            const float value = ShownTime(snap, rows[static_cast<std::size_t>(row)], row, column, relative);
            Extreme& e = extremes[relative ? 1 : 0][value < 0 ? 1 : 0];
            if (!e.seen || std::fabs(value) > std::fabs(e.value))
                e = {value, true};
        }
        for (int relative = 0; relative < 2; ++relative)
            for (const Extreme& e : extremes[relative]) {
                if (!e.seen)
                    continue;
                std::string text;
                AppendTime(text, e.value, relative != 0, snap.Conv.DecimalSep);
                texts.push_back(std::move(text));
            }
    }
    return texts;
}

} // namespace kel
