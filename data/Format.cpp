#include "data/Format.h"

#include "data/Texts.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <cmath>
#include <cstring>

namespace kel {
namespace {

// Callers use at most 7 significant digits and 2 decimals; the bounds keep the exact
// expansions below within a fixed buffer.
constexpr int MaxPrecision = 17;
constexpr int MaxDecimals = 40;

// Decimal digits of a non-negative number: d[0..len) with the decimal point after `point`
// digits. Rounding works on the exact decimal expansion of the binary value, so a value
// whose double lies just below a tie rounds down and an exact tie rounds away from zero
// (printf rounds ties to even).
class DigitBuffer {
public:
    // The exact expansion of a finite a >= 1e-42; every double has a finite one, and the
    // number of fraction digits it needs is the position of its lowest mantissa bit.
    explicit DigitBuffer(double a) {
        assert(std::isfinite(a) && a >= 0);
        int e = 0;
        std::frexp(a, &e);
        const int fraction = std::max(0, 53 - e);
        char text[sizeof m_d];
        const auto res = std::to_chars(text, text + sizeof text, a, std::chars_format::fixed, fraction);
        assert(res.ec == std::errc());
        m_len = 0;
        m_point = -1;
        for (const char* p = text; p != res.ptr; ++p) {
            if (*p == '.')
                m_point = m_len;
            else
                m_d[m_len++] = *p;
        }
        if (m_point < 0)
            m_point = m_len;
        // Drop zeros at the end of the fraction: they change nothing and shorten the work.
        while (m_len > m_point && m_d[m_len - 1] == '0')
            --m_len;
    }

    int Point() const { return m_point; }
    int Length() const { return m_len; }
    char Digit(int i) const { return i < m_len ? m_d[i] : '0'; }

    // Index of the first non-zero digit, or -1 when the value is zero.
    int FirstSignificant() const {
        for (int i = 0; i < m_len; ++i)
            if (m_d[i] != '0')
                return i;
        return -1;
    }

    // Digits of the integer part, leading zeros not counted.
    int IntegerDigits() const {
        int i = 0;
        while (i < m_point && Digit(i) == '0')
            ++i;
        return m_point - i;
    }

    // Keeps the first `keep` digits (keep >= 0), rounding half away from zero.
    void RoundAt(int keep) {
        if (keep >= m_len)
            return;
        const bool up = m_d[keep] >= '5';
        m_len = keep;
        if (up)
            Increment();
    }

private:
    void Increment() {
        for (int i = m_len - 1; i >= 0; --i) {
            if (m_d[i] != '9') {
                ++m_d[i];
                return;
            }
            m_d[i] = '0';
        }
        std::memmove(m_d + 1, m_d, static_cast<std::size_t>(m_len));
        m_d[0] = '1';
        ++m_len;
        ++m_point;
    }

    // 309 integer digits of the largest double, up to 53 + 140 fraction digits above 1e-42.
    char m_d[640];
    int m_len = 0;
    int m_point = 0;
};

// Appends the rounded digits as integer part, separator and exactly `decimals` decimals.
void AppendFixed(std::string& out, const DigitBuffer& b, int decimals, std::string_view sep) {
    int start = 0;
    while (start < b.Point() - 1 && b.Digit(start) == '0') // keep one "0" before the separator
        ++start;
    for (int i = start; i < b.Point(); ++i)
        out += b.Digit(i);
    if (decimals > 0) {
        out += sep;
        for (int i = 0; i < decimals; ++i)
            out += b.Digit(b.Point() + i);
    }
}

bool IsZero(const DigitBuffer& b) { return b.FirstSignificant() < 0; }

// "1.235E+4": the value rounded to `precision` significant digits, trailing zeros dropped.
std::string ExponentText(bool negative, double a, int precision, std::string_view sep) {
    DigitBuffer b(a);
    int first = b.FirstSignificant();
    b.RoundAt(first + precision);
    first = b.FirstSignificant(); // a carry may have added a digit in front
    const int exponent = b.Point() - first - 1;
    int last = first + precision - 1;
    while (last > first && b.Digit(last) == '0')
        --last;
    std::string out;
    if (negative)
        out += '-';
    out += b.Digit(first);
    if (last > first) {
        out += sep;
        for (int i = first + 1; i <= last; ++i)
            out += b.Digit(i);
    }
    out += exponent < 0 ? "E-" : "E+";
    out += std::to_string(std::abs(exponent));
    return out;
}

std::string Zeros(int decimals, std::string_view sep) {
    std::string out = "0";
    if (decimals > 0) {
        out += sep;
        out.append(static_cast<std::size_t>(decimals), '0');
    }
    return out;
}

} // namespace

std::string FixedText(double value, int precision, int decimals, std::string_view decimalSep) {
    if (!std::isfinite(value))
        return {};
    precision = std::clamp(precision, 1, MaxPrecision);
    decimals = std::clamp(decimals, 0, MaxDecimals);
    const bool negative = std::signbit(value);
    const double a = std::fabs(value);
    // Below a tenth of the last decimal the value rounds to zero whatever its digits.
    if (a < std::pow(10.0, -(decimals + 1)))
        return Zeros(decimals, decimalSep);

    DigitBuffer b(a);
    const int first = b.FirstSignificant();
    // Decimal exponent: digits before the point, or minus the zeros right after it.
    const int exponent = b.IntegerDigits() > 0 ? b.IntegerDigits() : -(first - b.Point());
    if (exponent > precision)
        return ExponentText(negative, a, precision, decimalSep);
    b.RoundAt(b.Point() + std::min(decimals, precision - exponent));
    if (b.IntegerDigits() > precision) // 9999.6 with 4 digits rounds up to 10000
        return ExponentText(negative, a, precision, decimalSep);

    std::string out;
    if (negative && !IsZero(b)) // a value that rounds to zero shows no sign
        out += '-';
    AppendFixed(out, b, decimals, decimalSep);
    return out;
}

std::string FormatRaceTime(double seconds, std::string_view decimalSep) {
    if (!std::isfinite(seconds))
        return {};
    const bool negative = seconds < 0;
    const double a = std::fabs(seconds);
    // fmod is exact, so the split never gives a seconds part of 60 or below 0.
    const double s = std::fmod(a, 60.0);
    double minutes = (a - s) / 60.0;

    std::string secText;
    if (s < 0.001) {
        secText = "00";
        secText += decimalSep;
        secText += "00";
    } else {
        DigitBuffer b(s);
        b.RoundAt(b.Point() + 2);
        if (b.Point() == 2 && b.Digit(0) == '6') { // rounded up to 60.00: carry into the minutes
            minutes += 1;
            secText = "00";
            secText += decimalSep;
            secText += "00";
        } else {
            if (b.Point() == 1) // the leading zero goes by the rounded seconds
                secText += '0';
            AppendFixed(secText, b, 2, decimalSep);
        }
    }

    std::string out;
    if (negative)
        out += '-';
    char buf[400];
    const auto res = minutes < 1e15
                         ? std::to_chars(buf, buf + sizeof buf, static_cast<long long>(minutes))
                         : std::to_chars(buf, buf + sizeof buf, minutes, std::chars_format::fixed, 0);
    out.append(buf, res.ptr);
    out += ':';
    out += secText;
    return out;
}

std::string_view UnitWord(int32_t n, int kind, Language language) {
    // The forms for 1, for 2..4 and for 5..20 of each unit.
    static constexpr TextId Words[8][3] = {
        {TextId::None, TextId::None, TextId::None},
        {TextId::UnitSecondOne, TextId::UnitSecondFew, TextId::UnitSecondMany},
        {TextId::UnitMinuteOne, TextId::UnitMinuteFew, TextId::UnitMinuteMany},
        {TextId::UnitHourOne, TextId::UnitHourFew, TextId::UnitHourMany},
        {TextId::UnitDayOne, TextId::UnitDayFew, TextId::UnitDayMany},
        {TextId::UnitWeekOne, TextId::UnitWeekFew, TextId::UnitWeekMany},
        {TextId::UnitMonthOne, TextId::UnitMonthFew, TextId::UnitMonthMany},
        {TextId::UnitYearOne, TextId::UnitYearFew, TextId::UnitYearMany},
    };
    if (kind < 1 || kind > 7)
        return {};
    const auto& forms = Words[kind];
    if (language == Language::English)
        return Text(forms[n == 1 ? 0 : 2], language);
    // The hundreds and thousands ranges are wider than the grammar's 111..119: this is the
    // program's established behaviour (121 секунд), kept as is.
    if (n < 0 || (n >= 11 && n <= 19) || (n >= 103 && n <= 199) || (n >= 1021 && n <= 1999))
        return Text(forms[2], language);
    const int last = n % 10;
    if (last == 1)
        return Text(forms[0], language);
    if (last >= 2 && last <= 4)
        return Text(forms[1], language);
    return Text(forms[2], language);
}

std::string WholeNumber(long long n) { return std::to_string(n); }

std::string WithUnit(const std::string& number, std::string_view unit) {
    if (number.empty())
        return {};
    std::string out;
    out.reserve(number.size() + unit.size());
    out.append(number).append(unit);
    return out;
}

} // namespace kel
