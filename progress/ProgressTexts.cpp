#include "progress/ProgressTexts.h"

#include "data/Cp1251.h"
#include "data/Csv.h"
#include "data/DateTime.h"
#include "data/Format.h"

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

std::string ProgressWindowTitle(std::string_view stageName) {
    std::string title = "Прогресс — ";
    title += stageName;
    return title;
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

std::string ProgressNote(const ProgressFigures& f) {
    std::string note;
    if (f.NoTime > 0)
        note = "без времени: " + std::to_string(f.NoTime);
    if (f.Undated > 0) {
        if (!note.empty())
            note += "; ";
        note += "без даты (нет на графике): " + std::to_string(f.Undated);
    }
    return note;
}

std::string ColourName(const ProgressFigures& f, const RunData& data, int colour) {
    if (colour < 0 || static_cast<std::size_t>(colour) >= f.ColourCars.size())
        return std::string(OtherCarsName);
    return NameOf(data.CarList, f.ColourCars[static_cast<std::size_t>(colour)]);
}

std::string PointTooltip(const ProgressFigures& f, const RunData& data, std::size_t index, NumberMode mode,
                         std::string_view dec) {
    if (index >= f.Points.size())
        return {};
    const ProgressPoint& p = f.Points[index];
    std::string t = "Проезд " + RunNumberText(p.SelNo, p.RunNo, mode);
    t += "\nДата: " + RunDateText(p.Date, DateStyle::Display);
    t += "\nМашина: " + NameOf(data.CarList, p.CarIdx);
    t += "\nКласс: " + NameOf(data.ClassList, p.ClassIdx);
    t += "\nФиниш: " + ProgressTimeText(p.Finish, dec);
    if (!p.NewBest)
        t += "\nОтставание от лучшего на тот момент: " + GapText(p.Gap, dec);
    else if (index == 0)
        t += "\nПервый проезд на графике";
    else
        t += "\nНовый лучший результат: быстрее на " + ProgressTimeText(p.PreviousBest - p.Finish, dec);
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

std::string_view BestsCaption(int column, ProgressGrouping grouping) {
    static constexpr std::array<std::string_view, 3> nameCaptions{"Машина", "Класс", "Профиль"};
    static constexpr std::array<std::string_view, BestsColumnCount> captions{
        "", "Проездов", "Лучшее время", "Проезд лучшего", "Дата лучшего", "Отставание",
        "Среднее 3 лучших", "Медиана", "Разброс", "В пределах 2 %"};
    if (column == BestsName)
        return nameCaptions[static_cast<std::size_t>(grouping)];
    return column > 0 && column < BestsColumnCount ? captions[static_cast<std::size_t>(column)] : std::string_view();
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
                           NumberMode mode, std::string_view dec) {
    SpreadsheetCsv csv(dec);
    for (int column = 0; column < BestsColumnCount; ++column)
        csv.Field(BestsCaption(column, grouping));
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

} // namespace kel
