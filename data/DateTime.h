#pragma once
// Date-times are day counts since 1899-12-30 with the time of day as the fraction.

#include <optional>
#include <string>
#include <string_view>

namespace kel {

struct DateTimeParts {
    int Year = 1899, Month = 12, Day = 30;
    int Hour = 0, Minute = 0, Second = 0, Millisecond = 0;
};

// Whole days + (h*3600000 + n*60000 + s*1000 + ms) / 86400000; nullopt for an invalid
// date or time (year 1..9999).
std::optional<double> EncodeDateTime(const DateTimeParts& parts);

// The calendar date and time of day of a day count, the time rounded to whole milliseconds.
DateTimeParts DecodeDateTime(double value);

// "yyyy-mm-dd hh:nn:ss" exactly (19 characters, every field checked); nullopt otherwise.
std::optional<double> ParseLogDateTime(std::string_view text);

// "yyyy-mm-dd hh:nn:ss"
std::string FormatLogDateTime(double value);
// The same text appended to `out`, without an allocation of its own (long listings).
void AppendLogDateTime(std::string& out, double value);

// "dd.mm.yyyy"
std::string FormatShortDate(double value);

// 24-hour long time of day, hours without a leading zero: "9:05:07".
std::string FormatLongTime(double value);

// The moment of a run as the status bar and the table show it: "dd.mm.yyyy h:nn:ss", the date
// alone at midnight.
std::string FormatRunDate(double value);

// The current local date and time.
double NowDateTime();

} // namespace kel
