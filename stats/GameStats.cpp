#include "stats/GameStats.h"

#include "data/DateTime.h"
#include "data/Format.h"
#include "data/Texts.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <climits>
#include <cmath>

namespace kel {
namespace {

// "12 часов": a whole number of units (a float sum of seconds can exceed every integer type).
void AppendCount(std::string& out, double n, int kind, Language language) {
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, n, std::chars_format::fixed, 0);
    out.append(buf, res.ptr);
    out += ' ';
    // Past the thousands only the last digit decides the word's form.
    const int32_t forWord = n <= INT32_MAX ? static_cast<int32_t>(n) : 10000 + static_cast<int32_t>(std::fmod(n, 10.0));
    out += UnitWord(forWord, kind, language);
}

} // namespace

GameStatsTexts ShowGameStats(VisibilityTotals& totals, int32_t finishedCount, const Conventions& conv) {
    GameStatsTexts t;
    const float total = totals.TotalTime;
    if (total > 0) {
        // An overflowed sum has no meaningful time, speed or hours to show.
        if (std::isfinite(total)) {
            totals.AverageSpeed = ToSingle(static_cast<double>(totals.TotalLength) * 3600.0 / total);
            const double h = std::trunc(total / 3600.0);
            // Clamped because beyond 2^53 s the differences are no longer exact.
            const double m = std::clamp(std::trunc(total / 60.0) - 60 * h, 0.0, 59.0);
            const double s = std::clamp(std::trunc(total - 3600 * h - 60 * m), 0.0, 59.0);
            AppendCount(t.TotalTime, h, Hours, conv.Lang);
            t.TotalTime += "  ";
            AppendCount(t.TotalTime, m, Minutes, conv.Lang);
            t.TotalTime += "  ";
            AppendCount(t.TotalTime, s, Seconds, conv.Lang);
            t.Speed = WithUnit(FixedText(totals.AverageSpeed, 7, 2, conv.DecimalSep), Text(TextId::UnitKilometresPerHour, conv.Lang));
        }
        if (totals.VisibleRuns > 0) {
            const long long percent = static_cast<long long>(finishedCount) * 100;
            t.Share = WithUnit(FixedText(static_cast<double>(percent) / totals.VisibleRuns, 4, 1, conv.DecimalSep), " %");
        }
    } else {
        t.TotalTime = Text(TextId::TotalTimeZero, conv.Lang);
    }
    t.Finished = WholeNumber(finishedCount);
    t.Distance = WithUnit(FixedText(totals.TotalLength, 7, 1, conv.DecimalSep), Text(TextId::UnitKilometres, conv.Lang));
    return t;
}

StatusBarTexts ShowStatusBar(const SelectionState& sel, DisplayState& disp, const StageRecord& stage,
                             const Conventions& conv) {
    // The cursor may come from a damaged settings file or a larger earlier selection.
    if (disp.SelCur > sel.SelCount)
        disp.SelCur = sel.SelCount;
    if (disp.SelCur < 1)
        disp.SelCur = 1;

    StatusBarTexts t;
    t.Cursor = Text(TextId::StatusCursor, conv.Lang, {WholeNumber(disp.SelCur)});
    if (sel.SelCount <= 0)
        return t;
    assert(static_cast<std::size_t>(disp.SelCur) < sel.Selection.size());
    const RunRecord& run = sel.Selection[static_cast<std::size_t>(disp.SelCur)];

    t.Date = Text(TextId::StatusDate, conv.Lang, {FormatRunDate(run.StartTime)});

    // A zero finish (a damaged log) has no speed: the panel keeps its caption without a value.
    const float speed = ToSingle(static_cast<double>(stage.StageLength) * 3600.0 / run.Finish);
    t.Speed = Text(TextId::StatusSpeed, conv.Lang, {WithUnit(FixedText(speed, 5, 2, conv.DecimalSep), Text(TextId::UnitKilometresPerHour, conv.Lang))});
    return t;
}

} // namespace kel
