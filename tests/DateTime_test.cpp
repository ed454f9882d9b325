#include "data/Cp1251.h"
#include "data/DateTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kel {
namespace {

TEST(DateTime, LogDatesAreDayCountsSince18991230) {
    EXPECT_EQ(ParseLogDateTime("1899-12-30 00:00:00"), 0.0);
    EXPECT_EQ(ParseLogDateTime("2000-01-01 12:00:00"), 36526.5);
    EXPECT_EQ(ParseLogDateTime("2008-02-29 06:00:00"), 39507.25);
    EXPECT_EQ(ParseLogDateTime("1899-12-29 06:00:00"), -1.25) << "before the epoch the time still counts forward";
    EXPECT_EQ(ParseLogDateTime("2031-04-05 10:20:30"),
              EncodeDateTime({.Year = 2031, .Month = 4, .Day = 5, .Hour = 10, .Minute = 20, .Second = 30}));

    for (const char* bad : {"2007-02-29 10:00:00", "2008-04-31 10:00:00", "2008-00-10 10:00:00", "2008-01-00 10:00:00",
                            "2008-01-10 24:00:00", "2008-01-10 10:60:00", "2008-01-10 10:00:60", "0000-01-10 10:00:00",
                            "2008-1-010 10:00:00", "2008-01-10 10:00:0", "2008-01-10 -1:00:00", "2008-01-10  1:00:00",
                            "2008-01-10 10:00:00 "})
        EXPECT_EQ(ParseLogDateTime(bad), std::nullopt) << bad;
}

TEST(DateTime, DecodeAndFormatRoundTrip) {
    for (const char* text : {"2031-04-05 10:20:30", "1899-12-30 00:00:00", "1899-12-29 06:00:00",
                             "2008-02-29 23:59:59", "9999-12-31 23:59:59", "0001-01-01 00:00:01"}) {
        const auto value = ParseLogDateTime(text);
        ASSERT_TRUE(value) << text;
        EXPECT_EQ(FormatLogDateTime(*value), text);
    }
    const double t = *ParseLogDateTime("2031-04-05 09:05:07");
    EXPECT_EQ(FormatShortDate(t), "05.04.2031");
    EXPECT_EQ(FormatLongTime(t), "9:05:07");
    EXPECT_EQ(FormatLogDateTime(t + 0.4 / 86400000.0), "2031-04-05 09:05:07");
    EXPECT_EQ(FormatLogDateTime(*ParseLogDateTime("2031-04-05 23:59:59") + 0.9999 / 86400.0), "2031-04-06 00:00:00")
        << "rounding to whole milliseconds can carry into the next day";
}

TEST(Cp1251, RoundTripAndUnmappable) {
    const std::string utf8 = "Ошибка Ёё №Abc";
    const std::string cp = Utf8ToCp1251(utf8);
    EXPECT_EQ(cp, "\xCE\xF8\xE8\xE1\xEA\xE0 \xA8\xB8 \xB9" "Abc");
    EXPECT_EQ(Cp1251ToUtf8(cp), utf8);
    EXPECT_EQ(Utf8ToCp1251("a\xE2\x82\xAC" "b"), "a\x88" "b");
    EXPECT_EQ(Utf8ToCp1251("中"), "?");
    EXPECT_EQ(Utf8ToCp1251("\xF0\x9F\x98\x80!"), "?!");
    EXPECT_EQ(Utf8ToCp1251(std::string("\0x", 2)), std::string("\0x", 2));
    std::string all;
    for (int b = 1; b < 256; ++b)
        if (b != 0x98)
            all += static_cast<char>(b);
    EXPECT_EQ(Utf8ToCp1251(Cp1251ToUtf8(all)), all) << "every assigned byte survives the round trip";
}

} // namespace
} // namespace kel
