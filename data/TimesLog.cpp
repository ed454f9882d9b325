#include "data/TimesLog.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/FileBytes.h"
#include "data/LoadError.h"
#include "data/ValueTables.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>
#include <optional>

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define KEL_HAVE_SSE2 1
#else
#define KEL_HAVE_SSE2 0
#endif

namespace kel {
namespace {

// Field numbers of the two kinds of line.
enum : int {
    FieldDate = 1, FieldStage, FieldWetness, FieldSurfAge, FieldWeather, FieldTyres, FieldDamage,
    FieldCar, FieldClass, FieldProfile,
    FieldBlank = 11, FieldSplit1, FieldSplit2, FieldFinish
};

// Bit i is set when p[i] is a tab, for n <= 64 bytes.
uint64_t TabMask(const char* p, std::size_t n) {
    uint64_t mask = 0;
#if KEL_HAVE_SSE2
    const __m128i tab = _mm_set1_epi8('\t');
    std::size_t i = 0;
    for (; i + 16 <= n; i += 16) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
        mask |= uint64_t{static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, tab)))} << i;
    }
    if (i < n) {
        if (n >= 16) { // the last 16 bytes, overlapping the chunk before
            const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + n - 16));
            const unsigned bits = static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, tab)));
            mask |= uint64_t{bits >> (i - (n - 16))} << i;
        } else {
            for (; i < n; ++i)
                mask |= uint64_t{p[i] == '\t'} << i;
        }
    }
#else
    for (std::size_t i = 0; i < n; ++i)
        mask |= uint64_t{p[i] == '\t'} << i;
#endif
    return mask;
}

std::string_view SkipBlanks(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    return text.substr(i);
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Up to 15 digits with an optional "." and nothing else, the form the game writes: the digits
// as a whole number and the power of ten are both exact doubles, so one division gives the
// correctly rounded value. False, leaving `value`, for any other text.
bool ParsePlainSeconds(std::string_view text, double& value) {
    static constexpr double Pow10[] = {1e0, 1e1, 1e2, 1e3, 1e4, 1e5, 1e6, 1e7,
                                       1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16};
    const std::size_t size = text.size();
    if (size == 0 || size > 16)
        return false;
    uint64_t digits = 0;
    std::size_t point = size; // index of the ".", or size when there is none
    for (std::size_t i = 0; i < size; ++i) {
        const unsigned d = static_cast<unsigned char>(text[i]) - unsigned{'0'};
        if (d <= 9)
            digits = digits * 10 + d;
        else if (text[i] == '.' && point == size)
            point = i;
        else
            return false;
    }
    const std::size_t count = point == size ? size : size - 1;
    if (count == 0 || count > 15)
        return false;
    value = static_cast<double>(digits) / Pow10[point == size ? 0 : size - 1 - point];
    return true;
}

// Seconds of a time field: blanks, optional sign, digits with an optional "." fraction and
// exponent, blanks. Empty text is 0. False for anything else, and for values out of range.
bool ParseSeconds(std::string_view text, double& value) {
    if (ParsePlainSeconds(text, value))
        return true;
    text = SkipBlanks(text);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    if (text.empty()) {
        value = 0;
        return true;
    }
    bool negative = false;
    if (text.front() == '+' || text.front() == '-') {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars would also take "inf", "nan" and a second sign; only digits or "." may start.
    if (text.empty() || !((text.front() >= '0' && text.front() <= '9') || text.front() == '.'))
        return false;
    double v = 0;
    if (!ParsePlainSeconds(text, v)) {
        const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), v,
                                               std::chars_format::general);
        if (ec != std::errc() || ptr != text.data() + text.size() || !std::isfinite(v))
            return false;
    }
    value = negative ? -v : v;
    return true;
}

// The value of a car, class or profile field: a field that begins with a double quote holds
// the text up to the next lone quote, with doubled quotes standing for one. Without a closing
// quote the last character is dropped. A field that unquotes to nothing stays as it is.
std::string_view Unquote(std::string_view field, std::string& scratch) {
    if (field.empty() || field.front() != '"')
        return field;
    const std::string_view rest = field.substr(1);
    std::size_t quote = rest.find('"');
    if (quote == std::string_view::npos) {
        if (rest.size() <= 1)
            return field;
        return rest.substr(0, rest.size() - 1);
    }
    if (quote + 1 >= rest.size() || rest[quote + 1] != '"')
        return quote == 0 ? field : rest.substr(0, quote); // no doubled quote: no copy needed

    scratch.clear();
    std::size_t i = 0;
    bool closed = false;
    while (i < rest.size()) {
        const char c = rest[i];
        if (c == '"') {
            if (i + 1 < rest.size() && rest[i + 1] == '"') {
                scratch += '"';
                i += 2;
                continue;
            }
            closed = true;
            break;
        }
        scratch += c;
        ++i;
    }
    if (!closed && !scratch.empty())
        scratch.pop_back();
    return scratch.empty() ? field : std::string_view(scratch);
}

// A code of one character, the usual case.
int32_t ParseDigitCode(char c, int32_t min, int32_t max, int32_t def) {
    const int32_t value = c - '0';
    return value >= 0 && value <= 9 && value >= min && value <= max ? value : def;
}

// A condition code of a log line.
int32_t Code(std::string_view text, int32_t min, int32_t max, int32_t def) {
    return text.size() == 1 ? ParseDigitCode(text[0], min, max, def) : ParseCode(text, min, max, def);
}

// Date-times of the log. Runs of one session share their date, so the day count of the last
// date is kept and only the time of day is read again.
class LogDateReader {
public:
    // False for a text that is not a valid date and time.
    bool Read(std::string_view text, double& value) {
        if (m_valid && text.compare(0, 10, m_date) == 0) {
            if (text[10] != ' ' || text[13] != ':' || text[16] != ':')
                return false;
            const int h = TwoDigits(text, 11), n = TwoDigits(text, 14), s = TwoDigits(text, 17);
            if (h < 0 || h > 23 || n < 0 || n > 59 || s < 0 || s > 59)
                return false;
            // The same arithmetic as EncodeDateTime.
            const double time = (h * 3600000.0 + n * 60000.0 + s * 1000.0) / 86400000.0;
            value = m_days >= 0 ? m_days + time : m_days - time;
            return true;
        }
        const auto full = ParseLogDateTime(text);
        if (!full)
            return false;
        value = *full;
        // The time of day is less than a day and counts away from zero, so truncation
        // leaves the day count, also before 1899-12-30.
        m_days = std::trunc(value);
        m_date.assign(text.substr(0, 10));
        m_valid = true;
        return true;
    }

private:
    static int TwoDigits(std::string_view s, std::size_t pos) {
        const char a = s[pos], b = s[pos + 1];
        if (a < '0' || a > '9' || b < '0' || b > '9')
            return -1;
        return (a - '0') * 10 + (b - '0');
    }

    std::string m_date;
    double m_days = 0;
    bool m_valid = false;
};

std::string DescribeLine(std::size_t lineNo) { return "line " + std::to_string(lineNo); }

// Finds or adds a name, first trying the entry found last time: runs of one car, class and
// profile usually follow each other.
struct NameCache {
    NameList& list;
    std::size_t last = std::numeric_limits<std::size_t>::max();

    int32_t Find(std::string_view name) {
        const std::string_view cut = name.substr(0, std::min(name.size(), MaxNameLength));
        if (last < list.size() && list[last].Name == cut)
            return static_cast<int32_t>(last);
        const int32_t index = FindOrAddName(cut, list);
        last = static_cast<std::size_t>(index);
        return index;
    }
};

void RankEntries(NameList& list) {
    std::vector<std::size_t> order(list.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    // std::string compares as unsigned char: byte order of the cp1251 names.
    std::sort(order.begin(), order.end(),
              [&](std::size_t a, std::size_t b) { return list[a].Name < list[b].Name; });
    for (std::size_t i = 0; i < order.size(); ++i) {
        // Equal names share the rank of the first of them.
        const bool tie = i > 0 && list[order[i]].Name == list[order[i - 1]].Name;
        list[order[i]].Rank = tie ? list[order[i - 1]].Rank : static_cast<int32_t>(i + 1);
    }
}

} // namespace

bool SplitTabs(int first, int last, std::vector<std::string_view>& fields, std::string_view line) {
    if (line.size() > MaxLogLineLength)
        return false;
    const char* const data = line.data();
    const std::size_t size = line.size();
    std::size_t field = static_cast<std::size_t>(first);
    const std::size_t stop = static_cast<std::size_t>(last) + 1;
    std::size_t start = 0;
    bool found = false;
    // One bit per byte of a whole block, so the loop below runs once per field, not per byte.
    for (std::size_t block = 0; block < size; block += 64) {
        uint64_t tabs = TabMask(data + block, std::min<std::size_t>(64, size - block));
        while (tabs != 0) {
            const std::size_t tab = block + static_cast<std::size_t>(std::countr_zero(tabs));
            if (!found) {
                found = true;
                if (fields.size() < stop)
                    fields.resize(stop);
            }
            fields[field++] = std::string_view(data + start, tab - start);
            if (field == stop)
                return true;
            start = tab + 1;
            tabs &= tabs - 1;
        }
    }
    if (!found)
        return false;
    fields[field++] = std::string_view(data + start, size - start);
    std::fill(fields.begin() + static_cast<std::ptrdiff_t>(field), fields.begin() + static_cast<std::ptrdiff_t>(stop),
              std::string_view());
    return true;
}

int32_t ParseCode(std::string_view text, int32_t min, int32_t max, int32_t def) {
    if (text.size() == 1)
        return ParseDigitCode(text[0], min, max, def);
    text = SkipBlanks(text);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return def;
    int64_t value = 0;
    for (const char c : text) {
        const int digit = HexDigit(c);
        if (digit < 0 || digit >= base)
            return def;
        value = value * base + digit;
        if (value > int64_t{1} << 32)
            return def;
    }
    if (negative)
        value = -value;
    return value >= min && value <= max ? static_cast<int32_t>(value) : def;
}

double ParseRunTime(std::string_view text) {
    if (text.size() != 19)
        return 0;
    if (const auto value = ParseLogDateTime(text))
        return *value;
    throw LoadError(std::string(LogFileName), "malformed date \"" + Cp1251ToUtf8(text) + "\"");
}

int32_t FindOrAddName(std::string_view name, NameList& list) {
    const std::string_view cut = name.substr(0, std::min(name.size(), MaxNameLength));
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (list[i].Name == cut) {
            list[i].InLog = true;
            return static_cast<int32_t>(i);
        }
    }
    NameEntry& entry = list.emplace_back();
    entry.Name = cut;
    entry.InLog = true;
    return static_cast<int32_t>(list.size() - 1);
}

void FillCondList(std::span<const std::string_view> names, NameList& list) {
    if (list.size() < names.size())
        list.resize(names.size());
    for (std::size_t code = 0; code < names.size(); ++code) {
        list[code].Name = Utf8ToCp1251(names[code]);
        list[code].InLog = true;
    }
}

void PackNameList(NameList& list, int32_t RunRecord::*field, std::vector<RunRecord>& runs,
                  std::vector<RunRecord>* selection) {
    std::vector<int32_t> newIndex(list.size(), -1);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < list.size(); ++i) {
        if (!list[i].InLog)
            continue;
        newIndex[i] = static_cast<int32_t>(kept);
        if (kept != i)
            list[kept] = std::move(list[i]);
        ++kept;
    }
    list.resize(kept);

    const auto remap = [&](std::vector<RunRecord>& table) {
        // Slot 0 of a run array holds no run.
        for (std::size_t r = 1; r < table.size(); ++r) {
            int32_t& index = table[r].*field;
            if (index >= 0 && static_cast<std::size_t>(index) < newIndex.size() && newIndex[index] >= 0)
                index = newIndex[index];
        }
    };
    remap(runs);
    if (selection && selection != &runs)
        remap(*selection);

    RankEntries(list);
}

void RankCondList(NameList& list) {
    for (NameEntry& entry : list)
        entry.FiltEdit = entry.FiltOn;
    RankEntries(list);
}

void ReadTimesLogData(std::string_view bytes, RunData& data) {
    data.Runs.assign(1, RunRecord{});
    // About 60 bytes per run with its times line; growth beyond that is geometric.
    data.Runs.reserve(bytes.size() / 48 + 1);
    data.RunCount = 0;
    data.FinishedCount = 0;

    LogDateReader dates;
    NameCache cars{data.CarList}, classes{data.ClassList}, profiles{data.ProfList};
    std::vector<std::string_view> fields(FieldFinish + 1);
    std::string carScratch, classScratch, profScratch;
    bool pending = false;
    std::size_t lineNo = 0;

    ForEachLine(bytes, [&](std::string_view line) {
        ++lineNo;
        if (lineNo <= 2) // the header
            return;

        if (pending && !line.empty() && line.front() == ' ') {
            if (!SplitTabs(FieldBlank, FieldFinish, fields, line))
                return;
            double split1, split2, finish;
            if (!ParseSeconds(fields[FieldSplit1], split1) || !ParseSeconds(fields[FieldSplit2], split2) ||
                !ParseSeconds(fields[FieldFinish], finish))
                return; // the run stays unfinished; a later times line may still complete it
            RunRecord& run = data.Runs.back();
            run.Finished = true;
            run.Split1 = split1;
            run.Split2 = split2;
            run.Finish = finish;
            ++data.FinishedCount;
            pending = false;
            return;
        }

        if (!SplitTabs(FieldDate, FieldProfile, fields, line))
            return;
        // The date is checked before the stage: a malformed date fails even a dropped line.
        double startTime = 0;
        if (fields[FieldDate].size() == 19 && !dates.Read(fields[FieldDate], startTime))
            throw LoadError(std::string(LogFileName), DescribeLine(lineNo) + ": malformed date \"" +
                                                          Cp1251ToUtf8(fields[FieldDate]) + "\"");
        const int32_t stage = Code(fields[FieldStage], 1, 200, 0);
        if (stage == 0) {
            pending = false;
            return;
        }

        RunRecord& run = data.Runs.emplace_back();
        ++data.RunCount;
        run.StartTime = startTime;
        run.StageNo = static_cast<uint16_t>(stage);
        run.RunNo = data.RunCount;
        run.Wetness = Code(fields[FieldWetness], 0, 2, 3);
        run.SurfAge = Code(fields[FieldSurfAge], 0, 2, 3);
        run.Tyres = Code(fields[FieldTyres], 0, 6, 7);
        run.Damage = Code(fields[FieldDamage], 0, 3, 4);
        run.Weather = Code(fields[FieldWeather], 0, 2, 3);

        const std::string_view car = Unquote(fields[FieldCar], carScratch);
        std::string_view cls = Unquote(fields[FieldClass], classScratch);
        if (cls == "\"\"")
            cls = "Unk";
        std::string_view profile = Unquote(fields[FieldProfile], profScratch);
        if (profile.empty())
            profile = "Unknown";
        run.CarIdx = cars.Find(car);
        run.ClassIdx = classes.Find(cls);
        run.ProfIdx = profiles.Find(profile);
        pending = true;
    });

    FillCondList(WetnessNames, data.WetnessList);
    FillCondList(SurfAgeNames, data.SurfAgeList);
    FillCondList(TyresNames, data.TyresList);
    FillCondList(DamageNames, data.DamageList);
    FillCondList(WeatherNames, data.WeatherList);
}

void ReadTimesLog(const std::string& path, RunData& data) {
    const std::string bytes = ReadFileBytes(path, LogFileName);
    ReadTimesLogData(bytes, data);
}

} // namespace kel
