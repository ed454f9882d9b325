#include "data/DateTime.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>

namespace kel {
namespace {

using namespace std::chrono;

constexpr sys_days Epoch = sys_days{year{1899} / December / 30};
constexpr double MsPerDay = 86400000.0;

int Digit(char c) { return c >= '0' && c <= '9' ? c - '0' : -1; }

// Reads `count` digits; -1 when one is not a digit.
int Digits(std::string_view s, std::size_t pos, int count) {
    int v = 0;
    for (int i = 0; i < count; ++i) {
        const int d = Digit(s[pos + static_cast<std::size_t>(i)]);
        if (d < 0) return -1;
        v = v * 10 + d;
    }
    return v;
}

} // namespace

std::optional<double> EncodeDateTime(const DateTimeParts& p) {
    if (p.Year < 1 || p.Year > 9999 || p.Hour < 0 || p.Hour > 23 || p.Minute < 0 || p.Minute > 59 ||
        p.Second < 0 || p.Second > 59 || p.Millisecond < 0 || p.Millisecond > 999)
        return std::nullopt;
    const year_month_day ymd{year{p.Year}, month{static_cast<unsigned>(p.Month)},
                             day{static_cast<unsigned>(p.Day)}};
    if (p.Month < 1 || p.Month > 12 || p.Day < 1 || !ymd.ok())
        return std::nullopt;
    const double days = static_cast<double>((sys_days{ymd} - Epoch).count());
    const double time = (p.Hour * 3600000.0 + p.Minute * 60000.0 + p.Second * 1000.0 + p.Millisecond) / MsPerDay;
    // Before the epoch the fraction counts forward from the day's start, as the day count
    // itself goes negative: -1.25 is 1899-12-29 06:00.
    return days >= 0 ? days + time : days - time;
}

DateTimeParts DecodeDateTime(double value) {
    DateTimeParts p;
    if (!std::isfinite(value) || std::fabs(value) > 2958466.0)
        return p;
    double whole = std::trunc(value);
    double frac = std::fabs(value - whole);
    long long ms = std::llround(frac * MsPerDay);
    if (ms >= 86400000LL) { // rounds up into the next day
        ms -= 86400000LL;
        whole += value >= 0 ? 1 : -1;
    }
    const year_month_day ymd{Epoch + days{static_cast<long long>(whole)}};
    p.Year = static_cast<int>(ymd.year());
    p.Month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    p.Day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    p.Hour = static_cast<int>(ms / 3600000);
    p.Minute = static_cast<int>(ms / 60000 % 60);
    p.Second = static_cast<int>(ms / 1000 % 60);
    p.Millisecond = static_cast<int>(ms % 1000);
    return p;
}

std::optional<double> ParseLogDateTime(std::string_view s) {
    if (s.size() != 19 || s[4] != '-' || s[7] != '-' || s[10] != ' ' || s[13] != ':' || s[16] != ':')
        return std::nullopt;
    DateTimeParts p;
    p.Year = Digits(s, 0, 4);
    p.Month = Digits(s, 5, 2);
    p.Day = Digits(s, 8, 2);
    p.Hour = Digits(s, 11, 2);
    p.Minute = Digits(s, 14, 2);
    p.Second = Digits(s, 17, 2);
    if (p.Year < 0 || p.Month < 0 || p.Day < 0 || p.Hour < 0 || p.Minute < 0 || p.Second < 0)
        return std::nullopt;
    return EncodeDateTime(p);
}

std::string FormatLogDateTime(double value) {
    std::string text;
    AppendLogDateTime(text, value);
    return text;
}

void AppendLogDateTime(std::string& out, double value) {
    const DateTimeParts p = DecodeDateTime(value);
    if (p.Year < 0 || p.Year > 9999) { // only for day counts far before year 1
        char buf[40];
        std::snprintf(buf, sizeof buf, "%04d-%02d-%02d %02d:%02d:%02d", p.Year, p.Month, p.Day, p.Hour, p.Minute,
                      p.Second);
        out += buf;
        return;
    }
    char text[19] = {char('0' + p.Year / 1000), char('0' + p.Year / 100 % 10), char('0' + p.Year / 10 % 10),
                     char('0' + p.Year % 10), '-', char('0' + p.Month / 10), char('0' + p.Month % 10), '-',
                     char('0' + p.Day / 10), char('0' + p.Day % 10), ' ', char('0' + p.Hour / 10),
                     char('0' + p.Hour % 10), ':', char('0' + p.Minute / 10), char('0' + p.Minute % 10), ':',
                     char('0' + p.Second / 10), char('0' + p.Second % 10)};
    out.append(text, sizeof text);
}

std::string FormatShortDate(double value) {
    const DateTimeParts p = DecodeDateTime(value);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", p.Day, p.Month, p.Year);
    return buf;
}

std::string FormatLongTime(double value) {
    const DateTimeParts p = DecodeDateTime(value);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%d:%02d:%02d", p.Hour, p.Minute, p.Second);
    return buf;
}

std::string FormatRunDate(double value) {
    const DateTimeParts p = DecodeDateTime(value);
    char buf[64];
    if (p.Hour == 0 && p.Minute == 0 && p.Second == 0)
        std::snprintf(buf, sizeof buf, "%02d.%02d.%04d", p.Day, p.Month, p.Year);
    else
        std::snprintf(buf, sizeof buf, "%02d.%02d.%04d %d:%02d:%02d", p.Day, p.Month, p.Year, p.Hour, p.Minute,
                      p.Second);
    return buf;
}

double NowDateTime() {
    const auto now = system_clock::now();
    const std::time_t t = system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    DateTimeParts p;
    p.Year = local.tm_year + 1900;
    p.Month = local.tm_mon + 1;
    p.Day = local.tm_mday;
    p.Hour = local.tm_hour;
    p.Minute = local.tm_min;
    p.Second = local.tm_sec < 60 ? local.tm_sec : 59;
    p.Millisecond = static_cast<int>(duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000);
    return EncodeDateTime(p).value_or(0.0);
}

} // namespace kel
