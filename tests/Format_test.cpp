#include "data/Format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kel {
namespace {

std::string Race(double x) { return FormatRaceTime(x, "."); }
std::string Fixed(double x, int p, int d) { return FixedText(x, p, d, "."); }

TEST(FormatRaceTime, MinutesSecondsAndHundredths) {
    EXPECT_EQ(Race(83.456), "1:23.46");
    EXPECT_EQ(Race(5.2), "0:05.20");
    EXPECT_EQ(Race(600), "10:00.00");
    EXPECT_EQ(Race(0), "0:00.00");
    EXPECT_EQ(Race(59.99), "0:59.99");
    EXPECT_EQ(Race(60), "1:00.00");
    EXPECT_EQ(Race(9.99), "0:09.99");
    EXPECT_EQ(Race(10000), "166:40.00");
    EXPECT_EQ(Race(-0.0), "0:00.00");
    EXPECT_EQ(FormatRaceTime(83.456, ","), "1:23,46");
}

TEST(FormatRaceTime, NegativeTimesKeepTheSignInFront) {
    EXPECT_EQ(Race(-0.004), "-0:00.00");
    EXPECT_EQ(Race(-0.5), "-0:00.50");
    EXPECT_EQ(Race(-1.5), "-0:01.50");
    EXPECT_EQ(Race(-75.5), "-1:15.50");
    EXPECT_EQ(Race(-59.996), "-1:00.00");
}

TEST(FormatRaceTime, RoundsTheBinaryValueHalfAwayFromZero) {
    EXPECT_EQ(Race(23.125), "0:23.13"); // an exact tie, which printf would round to even
    EXPECT_EQ(Race(0.125), "0:00.13");
    EXPECT_EQ(Race(82.625), "1:22.63");
    EXPECT_EQ(Race(2.675), "0:02.67"); // the double lies below 2.675
    EXPECT_EQ(Race(static_cast<double>(1.135f)), "0:01.13");
}

TEST(FormatRaceTime, SecondsThatRoundUpCarry) {
    EXPECT_EQ(Race(59.996), "1:00.00");
    EXPECT_EQ(Race(119.999), "2:00.00");
    EXPECT_EQ(Race(std::nextafter(60.0, 0.0)), "1:00.00");
    EXPECT_EQ(Race(9.996), "0:10.00");
    EXPECT_EQ(Race(69.996), "1:10.00");
    EXPECT_EQ(Race(9.994), "0:09.99");
}

TEST(FormatRaceTime, UndefinedAndHugeValues) {
    EXPECT_EQ(Race(std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(Race(-std::numeric_limits<double>::infinity()), "");
    EXPECT_EQ(Race(std::numeric_limits<double>::quiet_NaN()), "");
    EXPECT_EQ(Race(6e16), "1000000000000000:00.00");
    const std::string huge = Race(1e300);
    EXPECT_EQ(huge.find_first_not_of("0123456789:."), std::string::npos) << huge;
}

TEST(FixedText, DecimalsAndSignificantDigits) {
    EXPECT_EQ(Fixed(100, 4, 1), "100.0");
    EXPECT_EQ(Fixed(0, 6, 1), "0.0");
    EXPECT_EQ(Fixed(42.857143f, 5, 2), "42.86");
    EXPECT_EQ(Fixed(123.456, 4, 2), "123.50"); // four significant digits, then padded
    EXPECT_EQ(Fixed(1234567, 7, 2), "1234567.00");
    EXPECT_EQ(Fixed(0.123456, 2, 4), "0.1200");
    EXPECT_EQ(Fixed(999.96, 4, 2), "1000.0" "0");
    EXPECT_EQ(Fixed(0.5, 4, 0), "1");
    EXPECT_EQ(Fixed(75, 4, 1), "75.0");
    EXPECT_EQ(FixedText(75, 4, 1, ","), "75,0");
}

TEST(FixedText, RoundsTiesAwayFromZeroAndDropsTheSignOfZero) {
    EXPECT_EQ(Fixed(2.25, 4, 1), "2.3");
    EXPECT_EQ(Fixed(-2.25, 4, 1), "-2.3");
    EXPECT_EQ(Fixed(0.125, 4, 2), "0.13");
    EXPECT_EQ(Fixed(static_cast<double>(1.135f), 4, 2), "1.13");
    EXPECT_EQ(Fixed(-0.001, 4, 2), "0.00");
    EXPECT_EQ(Fixed(-0.0, 4, 2), "0.00");
    EXPECT_EQ(Fixed(1e-300, 4, 2), "0.00");
}

TEST(FixedText, ExponentNotationWhenTheIntegerPartIsTooLong) {
    EXPECT_EQ(Fixed(12345.6, 4, 2), "1.235E+4");
    EXPECT_EQ(FixedText(12345.6, 4, 2, ","), "1,235E+4");
    EXPECT_EQ(Fixed(9999.6, 4, 2), "1E+4"); // rounding gives a fifth integer digit
    EXPECT_EQ(Fixed(-99999, 4, 1), "-1E+5");
    EXPECT_EQ(Fixed(1e300, 7, 2), "1E+300");
    EXPECT_EQ(Fixed(std::numeric_limits<double>::max(), 7, 2), "1.797693E+308");
}

TEST(FixedText, UndefinedValuesGiveNoText) {
    EXPECT_EQ(Fixed(std::numeric_limits<double>::infinity(), 5, 2), "");
    EXPECT_EQ(Fixed(-std::numeric_limits<float>::infinity(), 5, 2), "");
    EXPECT_EQ(Fixed(std::numeric_limits<double>::quiet_NaN(), 5, 2), "");
}

TEST(UnitWord, FormAgreesWithTheNumber) {
    const std::pair<int, const char*> seconds[] = {
        {1, "секунда"},  {2, "секунды"},  {5, "секунд"},    {11, "секунд"},   {21, "секунда"},
        {22, "секунды"}, {101, "секунда"}, {112, "секунд"},  {0, "секунд"},    {20, "секунд"},
        {102, "секунды"}, {200, "секунд"}, {1020, "секунд"}, {2022, "секунды"}, {2000, "секунд"},
        {-1, "секунд"},  {-2, "секунд"},   {10011, "секунда"}};
    for (const auto& [n, word] : seconds)
        EXPECT_EQ(UnitWord(n, Seconds), word) << n;
    EXPECT_EQ(UnitWord(0, Hours), "часов");
    EXPECT_EQ(UnitWord(0, Minutes), "минут");
    EXPECT_EQ(UnitWord(1, Weeks), "неделю");
    EXPECT_EQ(UnitWord(3, Weeks), "недели");
    EXPECT_EQ(UnitWord(5, Years), "лет");
    EXPECT_EQ(UnitWord(2, Days), "дня");
    EXPECT_EQ(UnitWord(6, Months), "месяцев");
    EXPECT_EQ(UnitWord(1, 0), "");
    EXPECT_EQ(UnitWord(1, 8), "");
}

TEST(UnitWord, WideManyRangesAreKept) {
    for (int n : {103, 121, 152, 199, 1021, 1121, 1999})
        EXPECT_EQ(UnitWord(n, Seconds), "секунд") << n;
}

TEST(WholeNumber, PlainDecimal) {
    EXPECT_EQ(WholeNumber(0), "0");
    EXPECT_EQ(WholeNumber(-42), "-42");
    EXPECT_EQ(WholeNumber(2147483648LL), "2147483648");
}

} // namespace
} // namespace kel
