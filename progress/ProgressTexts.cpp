#include "progress/ProgressTexts.h"

#include "data/Cp1251.h"
#include "data/Csv.h"
#include "data/DateTime.h"
#include "data/Texts.h"
#include "data/Format.h"

#include <optional>

#include <cmath>
#include <cstdio>

namespace kel {
namespace {

std::string NameOf(const NameList& list, int32_t idx) {
    return idx >= 0 && static_cast<std::size_t>(idx) < list.size() ? Cp1251ToUtf8(list[static_cast<std::size_t>(idx)].Name)
                                                                   : std::string();
}

std::string MinutesSeconds(double seconds) {
    const bool negative = seconds < 0;
    const long long whole = std::llround(std::fabs(seconds));
    char buf[48];
    std::snprintf(buf, sizeof buf, "%s%lld:%02lld", negative && whole != 0 ? "-" : "", whole / 60, whole % 60);
    return buf;
}

} // namespace

std::string ProgressWindowTitle(std::string_view stageName, Language language) {
    return Text(TextId::ProgressTitle, language, {stageName});
}

std::string BestsExportFileName(std::string_view stageName, Language language) {
    return ExportFileName(stageName, Text(TextId::BestsFileSuffix, language));
}

std::string ProgressTimeText(double seconds, std::string_view decimalSep) {
    return FormatRaceTime(ToSingle(seconds), decimalSep);
}

std::string GapText(double seconds, std::string_view decimalSep) {
    // The sign goes by the value shown, as in the runs table's relative mode.
    float value = ToSingle(seconds);
    if (value == 0)
        value = 0;
    std::string out = value > 0 ? "+" : "";
    out += FormatRaceTime(value, decimalSep);
    return out;
}

std::string ShareText(int32_t count, int32_t runs, std::string_view decimalSep) {
    if (runs <= 0)
        return {};
    // Tenths of a percent in integers, so that an exact half (1 of 16 = 6.25 %) rounds up
    // whatever its binary form.
    const long long c = std::max(count, 0), r = runs;
    const long long tenths = (2000 * c + r) / (2 * r);
    std::string out = std::to_string(tenths / 10);
    out += decimalSep;
    out += static_cast<char>('0' + tenths % 10);
    out += " %";
    return out;
}

std::string RunNumberText(int32_t selNo, int32_t runNo, NumberMode mode) {
    switch (mode) {
    case NumberMode::Checked: return std::to_string(runNo);
    case NumberMode::Grayed: return std::to_string(selNo) + " / " + std::to_string(runNo);
    case NumberMode::Unchecked: break;
    }
    return std::to_string(selNo);
}

std::string RunDateText(double date, DateStyle style) {
    if (date == 0 || !std::isfinite(date))
        return {};
    if (style == DateStyle::Log)
        return FormatLogDateTime(date);
    return FormatShortDate(date) + " " + FormatLongTime(date);
}

std::string ProgressNote(const ProgressFigures& f, Language language) {
    std::string note;
    if (f.NoTime > 0)
        note = Text(TextId::NoteNoTime, language, {std::to_string(f.NoTime)});
    if (f.Undated > 0) {
        if (!note.empty())
            note += "; ";
        note += Text(TextId::NoteUndated, language, {std::to_string(f.Undated)});
    }
    return note;
}

std::string ColourName(const ProgressFigures& f, const RunData& data, int colour, Language language) {
    if (colour < 0 || static_cast<std::size_t>(colour) >= f.ColourGroups.size())
        return std::string(Text(TextId::OtherCars, language));
    return NameOf(GroupingList(data, f.Grouping), f.ColourGroups[static_cast<std::size_t>(colour)]);
}

std::string PointTooltip(const ProgressFigures& f, const RunData& data, std::size_t index, NumberMode mode,
                         const Conventions& conv) {
    const std::string_view dec = conv.DecimalSep;
    if (index >= f.Points.size())
        return {};
    const ProgressPoint& p = f.Points[index];
    const Language l = conv.Lang;
    std::string t = Text(TextId::TooltipRun, l, {RunNumberText(p.SelNo, p.RunNo, mode)});
    t += "\n" + Text(TextId::TooltipDate, l, {RunDateText(p.Date, DateStyle::Display)});
    t += "\n" + Text(TextId::TooltipCar, l, {NameOf(data.CarList, p.CarIdx)});
    t += "\n" + Text(TextId::TooltipClass, l, {NameOf(data.ClassList, p.ClassIdx)});
    t += "\n" + Text(TextId::TooltipFinish, l, {ProgressTimeText(p.Finish, dec)});
    if (!p.NewBest)
        t += "\n" + Text(TextId::TooltipGap, l, {GapText(p.Gap, dec)});
    else if (index == 0)
        t += "\n" + std::string(Text(TextId::TooltipFirstRun, l));
    else
        t += "\n" + Text(TextId::TooltipNewBest, l, {ProgressTimeText(p.PreviousBest - p.Finish, dec)});
    return t;
}

std::array<std::string, ProgressFieldCount> ProgressFields(const ProgressPoint& p, const RunData& data,
                                                           NumberMode mode, std::string_view dec) {
    return {RunNumberText(p.SelNo, p.RunNo, mode),
            RunDateText(p.Date, DateStyle::Log),
            NameOf(data.CarList, p.CarIdx),
            NameOf(data.ClassList, p.ClassIdx),
            NameOf(data.ProfList, p.ProfIdx),
            ProgressTimeText(p.Finish, dec),
            ProgressTimeText(p.BestSoFar, dec),
            p.NewBest ? "1" : "0"};
}

const std::array<std::string_view, ProgressFieldCount>& ProgressFieldNames() {
    static constexpr std::array<std::string_view, ProgressFieldCount> names{
        "run", "date", "car", "class", "profile", "finish", "best_so_far", "new_best"};
    return names;
}

std::string_view BestsCaption(int column, ProgressGrouping grouping, Language language) {
    static constexpr std::array<TextId, 3> nameCaptions{TextId::ColumnCar, TextId::ColumnClass, TextId::BestsProfile};
    static constexpr std::array<TextId, BestsColumnCount> captions{
        TextId::None,      TextId::PanelRuns,     TextId::BestsBest,   TextId::BestsRun,    TextId::ColumnDate,
        TextId::BestsGap,  TextId::BestsTopThree, TextId::BestsMedian, TextId::BestsSpread, TextId::BestsWithin2};
    if (column == BestsName)
        return Text(nameCaptions[static_cast<std::size_t>(grouping)], language);
    return column > 0 && column < BestsColumnCount ? Text(captions[static_cast<std::size_t>(column)], language)
                                                   : std::string_view();
}

std::string_view BestsHint(int column, Language language) {
    static constexpr std::array<TextId, BestsColumnCount> hints{
        TextId::BestsHintName,   TextId::BestsHintRuns,     TextId::BestsHintBest,   TextId::BestsHintRun,
        TextId::BestsHintDate,   TextId::BestsHintGap,      TextId::BestsHintTopThree, TextId::BestsHintMedian,
        TextId::BestsHintSpread, TextId::BestsHintWithin2};
    return column >= 0 && column < BestsColumnCount ? Text(hints[static_cast<std::size_t>(column)], language)
                                                    : std::string_view();
}

std::string_view BestsFieldName(int column, ProgressGrouping grouping) {
    static constexpr std::array<std::string_view, 3> nameFields{"car", "class", "profile"};
    static constexpr std::array<std::string_view, BestsColumnCount> fields{
        "", "runs", "best", "best_run", "best_date", "gap", "best3_average", "median", "spread", "within_2pct"};
    if (column == BestsName)
        return nameFields[static_cast<std::size_t>(grouping)];
    return column > 0 && column < BestsColumnCount ? fields[static_cast<std::size_t>(column)] : std::string_view();
}

std::array<std::string, BestsColumnCount> BestsRowTexts(const BestsRow& row, const RunData& data,
                                                        ProgressGrouping grouping, NumberMode mode,
                                                        std::string_view dec, DateStyle dates) {
    return {NameOf(GroupingList(data, grouping), row.GroupIdx),
            std::to_string(row.Runs),
            ProgressTimeText(row.Best, dec),
            RunNumberText(row.BestSelNo, row.BestRunNo, mode),
            RunDateText(row.BestDate, dates),
            GapText(row.Gap, dec),
            ProgressTimeText(row.Best3Average, dec),
            ProgressTimeText(row.Median, dec),
            ProgressTimeText(row.Spread, dec),
            ShareText(row.Within2, row.Runs, dec)};
}

std::string ExportBestsCsv(const std::vector<BestsRow>& rows, const RunData& data, ProgressGrouping grouping,
                           NumberMode mode, const Conventions& conv) {
    const std::string_view dec = conv.DecimalSep;
    SpreadsheetCsv csv(dec);
    for (int column = 0; column < BestsColumnCount; ++column)
        csv.Field(BestsCaption(column, grouping, conv.Lang));
    csv.EndRow();
    for (const BestsRow& row : rows) {
        for (const std::string& text : BestsRowTexts(row, data, grouping, mode, dec, DateStyle::Display))
            csv.Field(text);
        csv.EndRow();
    }
    return csv.Take();
}

std::vector<AxisTick> TimeAxisTicks(double low, double high, int maxTicks) {
    std::vector<AxisTick> ticks;
    if (!std::isfinite(low) || !std::isfinite(high) || high < low || maxTicks < 1)
        return ticks;
    static constexpr double steps[] = {1, 2, 5, 10, 15, 20, 30, 60, 120, 300, 600, 900, 1200, 1800, 3600};
    double step = 0;
    for (double s : steps)
        if (std::floor(high / s) - std::ceil(low / s) + 1 <= maxTicks) {
            step = s;
            break;
        }
    if (step == 0) // beyond hours: whole hours, as many as needed to stay within maxTicks
        step = 3600 * std::ceil((high - low) / 3600 / std::max(1, maxTicks - 1));
    for (double k = std::ceil(low / step); k * step <= high; ++k)
        ticks.push_back({k * step, MinutesSeconds(k * step)});
    return ticks;
}

std::vector<AxisTick> DateAxisTicks(double low, double high, int maxTicks) {
    std::vector<AxisTick> ticks;
    // Day counts beyond the years 1..9999 have no date; before 1900 the fraction runs backwards.
    if (!std::isfinite(low) || !std::isfinite(high) || high < low || maxTicks < 1 || low < 1 || high > 2958465)
        return ticks;
    const auto text = [](double day, const char* format) {
        const DateTimeParts p = DecodeDateTime(day);
        char buf[48];
        if (format[0] == 'm')
            std::snprintf(buf, sizeof buf, "%02d.%04d", p.Month, p.Year);
        else if (format[0] == 'y')
            std::snprintf(buf, sizeof buf, "%04d", p.Year);
        else if (format[0] == 'd')
            std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", p.Day, p.Month, p.Year);
        else if (format[0] == 'h')
            std::snprintf(buf, sizeof buf, "%02d:%02d", p.Hour, p.Minute);
        else
            std::snprintf(buf, sizeof buf, "%02d.%02d %02d:%02d", p.Day, p.Month, p.Hour, p.Minute);
        return std::string(buf);
    };
    // Steps of a fixed length: minutes, hours, days, weeks (from a Monday: day 2 was one).
    static constexpr double minute = 1.0 / 1440;
    static constexpr struct {
        double Length, Offset;
        const char* Format;
    } fixed[] = {{minute, 0, "t"},      {2 * minute, 0, "t"}, {5 * minute, 0, "t"}, {10 * minute, 0, "t"},
                 {15 * minute, 0, "t"}, {30 * minute, 0, "t"}, {1.0 / 24, 0, "t"}, {2.0 / 24, 0, "t"},
                 {3.0 / 24, 0, "t"},    {6.0 / 24, 0, "t"},   {12.0 / 24, 0, "t"}, {1, 0, "d"},
                 {2, 0, "d"},           {7, 2, "d"},          {14, 2, "d"}};
    const bool oneDay = std::floor(low) == std::floor(high);
    for (const auto& step : fixed) {
        // Rounded to whole minutes so that 1/24 steps land on the hour.
        const double first = std::ceil((low - step.Offset) / step.Length - 1e-9);
        const double last = std::floor((high - step.Offset) / step.Length + 1e-9);
        if (last - first + 1 > maxTicks)
            continue;
        const char* format = step.Format[0] == 't' && oneDay ? "h" : step.Format;
        for (double k = first; k <= last; ++k) {
            const double at = std::round((step.Offset + k * step.Length) * 1440) / 1440;
            ticks.push_back({at, text(at, format)});
        }
        return ticks;
    }
    // Calendar steps: first days of every 1, 2, 3 or 6 months, then of every 1, 2, 5, ... years.
    const DateTimeParts from = DecodeDateTime(low);
    const DateTimeParts to = DecodeDateTime(high);
    const int firstMonth = from.Year * 12 + from.Month - 1;
    const int lastMonth = to.Year * 12 + to.Month - 1;
    static constexpr int monthSteps[] = {1, 2, 3, 6, 12, 24, 60, 120, 240, 600, 1200};
    for (int months : monthSteps) {
        std::vector<AxisTick> found;
        for (int m = firstMonth; m <= lastMonth; ++m) {
            if (m % months != 0)
                continue;
            DateTimeParts p;
            p.Year = m / 12;
            p.Month = m % 12 + 1;
            p.Day = 1;
            const std::optional<double> at = EncodeDateTime(p);
            if (!at || *at < low || *at > high)
                continue;
            found.push_back({*at, text(*at, months >= 12 ? "y" : "m")});
        }
        if (static_cast<int>(found.size()) <= maxTicks)
            return found;
    }
    return ticks;
}

} // namespace kel
