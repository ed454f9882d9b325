#include "data/TimesLog.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/FileBytes.h"
#include "data/LoadError.h"
#include "data/Texts.h"
#include "data/ValueTables.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstring>
#include <limits>
#include <numeric>
#include <memory>
#include <optional>

#ifdef __linux__
#include <sys/mman.h>
#endif

#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define KEL_HAVE_SSE2 1
#else
#define KEL_HAVE_SSE2 0
#endif

namespace kel {
namespace {

// Bits of the tabs and of the line ends (CR or LF) among p[0..n), n <= 64: bit i for p[i].
void MarkMasks(const char* p, std::size_t n, uint64_t& tabs, uint64_t& ends) {
    tabs = 0;
    ends = 0;
#if KEL_HAVE_SSE2
    const __m128i tab = _mm_set1_epi8('\t'), cr = _mm_set1_epi8('\r'), lf = _mm_set1_epi8('\n');
    const auto marks = [&](const char* at, unsigned& t, unsigned& e) {
        const __m128i chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
        t = static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(chunk, tab)));
        e = static_cast<uint16_t>(
            _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(chunk, cr), _mm_cmpeq_epi8(chunk, lf))));
    };
    std::size_t i = 0;
    unsigned t, e;
    for (; i + 16 <= n; i += 16) {
        marks(p + i, t, e);
        tabs |= uint64_t{t} << i;
        ends |= uint64_t{e} << i;
    }
    if (i < n) {
        if (n >= 16) { // the last 16 bytes, overlapping the chunk before
            marks(p + n - 16, t, e);
            const std::size_t shift = i - (n - 16);
            tabs |= uint64_t{t >> shift} << i;
            ends |= uint64_t{e >> shift} << i;
            return;
        }
        for (; i < n; ++i) {
            tabs |= uint64_t{p[i] == '\t'} << i;
            ends |= uint64_t{p[i] == '\r' || p[i] == '\n'} << i;
        }
    }
#else
    for (std::size_t i = 0; i < n; ++i) {
        tabs |= uint64_t{p[i] == '\t'} << i;
        ends |= uint64_t{p[i] == '\r' || p[i] == '\n'} << i;
    }
#endif
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

// A field of the log as a message shows it: control characters would cut or garble the text.
std::string ShownText(std::string_view field) {
    std::string text(field);
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    return Cp1251ToUtf8(text);
}

// Large tables fill faster in large pages: one page fault per 2 MB instead of one per 4 KB.
// Advises the unused room of `table` (whole 2 MB pages of it); the system may ignore it.
template <class T>
void AdviseLargePages([[maybe_unused]] std::vector<T>& table) {
#ifdef __linux__
    constexpr std::size_t Large = std::size_t{2} << 20;
    const auto begin = reinterpret_cast<std::uintptr_t>(table.data() + table.size());
    const auto end = reinterpret_cast<std::uintptr_t>(table.data() + table.capacity());
    const std::uintptr_t first = (begin + Large - 1) & ~(Large - 1), last = end & ~(Large - 1);
    if (last > first)
        madvise(reinterpret_cast<void*>(first), last - first, MADV_HUGEPAGE);
#endif
}

// The names of one list by hash, for logs with thousands of names. Equal names found more
// than once in the list (the saved filter may hold a name twice) resolve to the first, as
// a search from the front would.
class NameIndex {
public:
    explicit NameIndex(NameList& list) : m_list(list) {
        Rehash(std::max<std::size_t>(64, list.size() * 4 / 3 + 1));
    }

    int32_t FindOrAdd(std::string_view name) {
        const std::string_view cut = name.substr(0, std::min(name.size(), MaxNameLength));
        // Runs of one car, class and profile usually follow each other.
        if (m_last >= 0 && m_list[static_cast<std::size_t>(m_last)].Name == cut)
            return m_last;
        const uint64_t hash = std::hash<std::string_view>{}(cut);
        std::size_t slot = hash & m_mask;
        for (;; slot = (slot + 1) & m_mask) {
            const uint64_t entry = m_slots[slot];
            if (entry == 0)
                break;
            if (Tag(entry) != Tag(hash))
                continue;
            NameEntry& found = m_list[Index(entry)];
            if (found.Name == cut) {
                found.InLog = true;
                return m_last = static_cast<int32_t>(Index(entry));
            }
        }
        const std::size_t index = m_list.size();
        NameEntry& added = m_list.emplace_back();
        added.Name = cut;
        added.InLog = true;
        m_slots[slot] = Slot(hash, index);
        // At most three quarters full: short probes that stay within a cache line or two,
        // and a table small enough for the cache even with many thousands of names.
        if (m_list.size() * 4 > m_slots.size() * 3)
            Rehash(m_slots.size() * 2);
        return m_last = static_cast<int32_t>(index);
    }

    std::size_t Size() const { return m_list.size(); }

    // Room for `names` names at once: a log with a new name on almost every run would move
    // the list and the slots many times over.
    void Reserve(std::size_t names) {
        if (names <= m_list.capacity())
            return;
        m_list.reserve(names);
        AdviseLargePages(m_list);
        if (names * 4 > m_slots.size() * 3)
            Rehash(names * 4 / 3 + 1);
    }

private:
    // A slot holds the upper half of the name's hash beside the list index + 1, so that
    // most names are told apart without reading the list; 0 is a free slot.
    static uint64_t Tag(uint64_t value) { return value >> 32; }
    static std::size_t Index(uint64_t slot) { return static_cast<std::size_t>(slot & 0xffffffffu) - 1; }
    static uint64_t Slot(uint64_t hash, std::size_t index) {
        return (hash & ~uint64_t{0xffffffffu}) | (static_cast<uint64_t>(index) + 1);
    }

    void Rehash(std::size_t size) {
        std::size_t capacity = 64;
        while (capacity < size)
            capacity *= 2;
        std::vector<uint64_t> slots;
        slots.reserve(capacity);
        AdviseLargePages(slots);
        slots.resize(capacity);
        m_slots.swap(slots);
        m_mask = capacity - 1;
        for (std::size_t i = 0; i < m_list.size(); ++i) {
            const std::string& name = m_list[i].Name;
            const uint64_t hash = std::hash<std::string_view>{}(name);
            std::size_t slot = hash & m_mask;
            bool known = false;
            for (; m_slots[slot] != 0; slot = (slot + 1) & m_mask)
                if (Tag(m_slots[slot]) == Tag(hash) && m_list[Index(m_slots[slot])].Name == name) {
                    known = true;
                    break;
                }
            if (!known)
                m_slots[slot] = Slot(hash, i);
        }
    }

    NameList& m_list;
    std::vector<uint64_t> m_slots;
    std::size_t m_mask = 0;
    int32_t m_last = -1;
};

// Reads lines into the run table, going on from a LogPosition.
class LogReader {
public:
    LogReader(RunData& data, LogPosition& pos, std::vector<SkippedLine>* skipped, Language language)
        : m_data(data), m_pos(pos), m_skipped(skipped), m_language(language), m_cars(data.CarList), m_classes(data.ClassList),
          m_profiles(data.ProfList) {}

    // Reads the complete lines at the start of p[0..n), the bytes that follow m_pos.Consumed,
    // and returns how many bytes they take. The rest is a line that has not ended yet. A CR
    // at the very end counts as a line end; an LF that comes first next time then belongs to it.
    std::size_t Feed(const char* p, std::size_t n) {
        std::size_t lineStart = 0;
        if (n > 0 && m_pos.AfterCr) {
            m_pos.AfterCr = false;
            if (p[0] == '\n')
                lineStart = 1;
        }
        if (m_pos.InLongLine) {
            std::size_t i = lineStart;
            while (i < n && p[i] != '\r' && p[i] != '\n')
                ++i;
            if (i == n) { // still inside it
                m_pos.Consumed += n;
                return n;
            }
            m_pos.InLongLine = false;
            ++m_pos.Lines;
            lineStart = EndOfLineEnd(p, n, i);
        }

        int tabCount = 0;
        std::size_t tabs[MaxTabs];
        for (std::size_t block = lineStart; block < n; block += 64) {
            uint64_t tabBits, endBits;
            MarkMasks(p + block, std::min<std::size_t>(64, n - block), tabBits, endBits);
            uint64_t marks = tabBits | endBits;
            while (marks != 0) {
                const int bit = std::countr_zero(marks);
                marks &= marks - 1;
                const std::size_t at = block + static_cast<std::size_t>(bit);
                if (at < lineStart) // the LF of a CR LF
                    continue;
                if ((tabBits >> bit) & 1) {
                    if (tabCount < MaxTabs)
                        tabs[tabCount++] = at;
                    continue;
                }
                ++m_pos.Lines;
                if (m_pos.Lines > 2) // the first two lines are the header
                    Line(p, lineStart, at, tabs, tabCount);
                tabCount = 0;
                lineStart = EndOfLineEnd(p, n, at);
            }
        }
        m_pos.Consumed += lineStart;
        return lineStart;
    }

private:
    // A list this long is one of a log that names something new on many runs.
    static constexpr std::size_t ManyNames = 4096;
    // Tabs past the tenth end no field that is read.
    static constexpr int MaxTabs = 10;

    // Fields of the two kinds of line.
    enum : int { FieldDate, FieldStage, FieldWetness, FieldSurfAge, FieldWeather, FieldTyres, FieldDamage,
                 FieldCar, FieldClass, FieldProfile };
    enum : int { FieldBlank, FieldSplit1, FieldSplit2, FieldFinish };

    // The index after the line end at p[at]: CR LF is one line end.
    std::size_t EndOfLineEnd(const char* p, std::size_t n, std::size_t at) {
        if (p[at] == '\r') {
            if (at + 1 == n)
                m_pos.AfterCr = true;
            else if (p[at + 1] == '\n')
                return at + 2;
        }
        return at + 1;
    }

    // Field k of the line p[start..end) with its first tabs at tabs[0..count): the text
    // between tab k-1 and tab k; empty where the line has no more fields.
    static std::string_view Field(const char* p, std::size_t start, std::size_t end, const std::size_t* tabs,
                                  int count, int k) {
        if (k > count)
            return {};
        const std::size_t from = k == 0 ? start : tabs[k - 1] + 1;
        const std::size_t to = k < count ? tabs[k] : end;
        return std::string_view(p + from, to - from);
    }

    void Line(const char* p, std::size_t start, std::size_t end, const std::size_t* tabs, int tabCount) {
        if (tabCount == 0 || end - start > MaxLogLineLength)
            return;
        const auto field = [&](int k) { return Field(p, start, end, tabs, tabCount, k); };

        if (m_pos.Pending && p[start] == ' ') {
            double split1, split2, finish;
            if (!ParseSeconds(field(FieldSplit1), split1) || !ParseSeconds(field(FieldSplit2), split2) ||
                !ParseSeconds(field(FieldFinish), finish))
                return; // the run stays unfinished; a later times line may still complete it
            RunRecord& run = m_data.Runs[static_cast<std::size_t>(m_data.RunCount)];
            run.Finished = true;
            run.Split1 = split1;
            run.Split2 = split2;
            run.Finish = finish;
            ++m_data.FinishedCount;
            ++m_pos.FinishedRuns;
            m_pos.Pending = false;
            return;
        }

        // The date is checked before the stage: a malformed date fails even a dropped line.
        const std::string_view date = field(FieldDate);
        double startTime = 0;
        if (date.size() == 19 && !m_dates.Read(date, startTime)) {
            if (!m_skipped)
                throw LoadError(std::string(LogFileName), MalformedDateReason(m_pos.Lines, date, m_language));
            m_skipped->push_back({m_pos.Lines, std::string(date)});
            m_pos.Pending = false; // as for a dropped main line: its times line is no run's
            return;
        }
        const int32_t stage = Code(field(FieldStage), 1, 200, 0);
        if (stage == 0) {
            m_pos.Pending = false;
            return;
        }

        RunRecord& run = m_data.Runs.emplace_back();
        ++m_data.RunCount;
        run.StartTime = startTime;
        run.StageNo = static_cast<uint16_t>(stage);
        run.RunNo = m_data.RunCount;
        run.Wetness = Code(field(FieldWetness), 0, 2, 3);
        run.SurfAge = Code(field(FieldSurfAge), 0, 2, 3);
        run.Tyres = Code(field(FieldTyres), 0, 6, 7);
        run.Damage = Code(field(FieldDamage), 0, 3, 4);
        run.Weather = Code(field(FieldWeather), 0, 2, 3);

        const std::string_view car = Unquote(field(FieldCar), m_carScratch);
        std::string_view cls = Unquote(field(FieldClass), m_classScratch);
        if (cls == "\"\"")
            cls = "Unk";
        std::string_view profile = Unquote(field(FieldProfile), m_profScratch);
        if (profile.empty())
            profile = "Unknown";
        run.CarIdx = m_cars.FindOrAdd(car);
        run.ClassIdx = m_classes.FindOrAdd(cls);
        run.ProfIdx = m_profiles.FindOrAdd(profile);
        for (NameIndex* names : {&m_cars, &m_classes, &m_profiles})
            if (names->Size() == ManyNames) // as many more names per run as so far, for the runs to come
                names->Reserve(ManyNames * (m_data.Runs.capacity() / static_cast<std::size_t>(m_data.RunCount) + 1));
        m_pos.Pending = true;
    }

    RunData& m_data;
    LogPosition& m_pos;
    std::vector<SkippedLine>* m_skipped;
    Language m_language;
    LogDateReader m_dates;
    NameIndex m_cars, m_classes, m_profiles;
    std::string m_carScratch, m_classScratch, m_profScratch;
};

void FillCondLists(RunData& data) {
    FillCondList(WetnessNames, data.WetnessList);
    FillCondList(SurfAgeNames, data.SurfAgeList);
    FillCondList(TyresNames, data.TyresList);
    FillCondList(DamageNames, data.DamageList);
    FillCondList(WeatherNames, data.WeatherList);
}

void StartAfresh(RunData& data) {
    data.Runs.assign(1, RunRecord{});
    data.RunCount = 0;
    data.FinishedCount = 0;
}

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

std::string MalformedDateReason(int64_t lineNo, std::string_view date, Language language) {
    return Text(TextId::MalformedDateAtLine, language, {std::to_string(lineNo), ShownText(date)});
}

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
        uint64_t tabs, ends;
        MarkMasks(data + block, std::min<std::size_t>(64, size - block), tabs, ends);
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

double ParseRunTime(std::string_view text, Language language) {
    if (text.size() != 19)
        return 0;
    if (const auto value = ParseLogDateTime(text))
        return *value;
    throw LoadError(std::string(LogFileName), Text(TextId::MalformedDate, language, {ShownText(text)}));
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
    if (kept == list.size()) { // nothing to remove: only the ranks change
        RankEntries(list);
        return;
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

LogPosition ReadTimesLogData(std::string_view bytes, RunData& data) {
    StartAfresh(data);
    // About 60 bytes per run with its times line.
    data.Runs.reserve(bytes.size() / 48 + 1);
    LogPosition pos;
    LogReader(data, pos, nullptr, Language::Russian).Feed(bytes.data(), bytes.size());
    FillCondLists(data);
    return pos;
}

void ReadLogLines(DataFile& file, uint64_t end, LogPosition& pos, RunData& data, std::vector<SkippedLine>* skipped) {
    // Blocks that stay in the cache; a line never spans more than one block, longer ones are
    // skipped like any line over MaxLogLineLength.
    constexpr std::size_t BlockSize = std::size_t{256} << 10;
    static_assert(BlockSize > MaxLogLineLength);
    const std::unique_ptr<char[]> buffer(new char[BlockSize]);
    char* const block = buffer.get();
    const bool fromStart = pos.Consumed == 0;
    bool sized = !fromStart;
    std::size_t filled = 0; // bytes in the block from pos.Consumed on
    LogReader reader(data, pos, skipped, file.Lang());
    while (pos.Consumed + filled < end) {
        const std::size_t want = static_cast<std::size_t>(std::min<uint64_t>(BlockSize - filled, end - pos.Consumed - filled));
        const std::size_t got = file.ReadAt(pos.Consumed + filled, block + filled, want);
        if (got == 0) // the file got shorter meanwhile: the next look reads it again
            break;
        filled += got;
        const std::size_t used = reader.Feed(block, filled);
        filled -= used;
        if (filled == BlockSize) { // one line fills the whole block
            pos.InLongLine = true;
            pos.Consumed += filled;
            filled = 0;
        } else if (filled > 0 && used > 0) {
            std::memmove(block, block + used, filled);
        }
        if (!sized && data.RunCount > 0) {
            // The run table once at about its final size: the runs per byte of the first block,
            // with room for the runs appended while the program runs.
            sized = true;
            const double perByte = static_cast<double>(data.RunCount) / static_cast<double>(pos.Consumed);
            const auto estimate = static_cast<std::size_t>(perByte * static_cast<double>(end) * 1.125) + 1024;
            data.Runs.reserve(estimate);
            AdviseLargePages(data.Runs);
        }
    }
}

LogPosition ReadTimesLog(DataFile& file, RunData& data) {
    StartAfresh(data);
    LogPosition pos;
    ReadLogLines(file, file.Size(), pos, data, nullptr);
    FillCondLists(data);
    return pos;
}

LogPosition ReadTimesLog(const std::filesystem::path& path, RunData& data) {
    DataFile file(path, LogFileName);
    return ReadTimesLog(file, data);
}

} // namespace kel
