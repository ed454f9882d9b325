#include "data/TimesLog.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/LoadError.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace kel {
namespace {

// One main line of the log; every field can be replaced by any text.
struct Main {
    std::string date = "2031-04-05 10:20:30";
    std::string stage = "7";
    std::string wetness = "0";
    std::string surfAge = "1";
    std::string weather = "2";
    std::string tyres = "3";
    std::string damage = "1";
    std::string car = "Korvan RX";
    std::string cls = "Group Z";
    std::string prof = "Ivo";

    operator std::string() const {
        return date + "\t" + stage + "\t" + wetness + "\t" + surfAge + "\t" + weather + "\t" + tyres + "\t" +
               damage + "\t" + car + "\t" + cls + "\t" + prof;
    }
};

std::string Times(const std::string& s1, const std::string& s2, const std::string& fin) {
    return " \t" + s1 + "\t" + s2 + "\t" + fin;
}

const std::string Header = "ZLT times log\r\nDate\tStage\tSurface\tWear\tWeather\tTyres\tDamage\tCar\tClass\tProfile\r\n";

// The header and the lines, each ended by CR LF.
std::string Log(const std::vector<std::string>& lines) {
    std::string text = Header;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

// Writes the log into a temporary folder and reads it back as the program does.
RunData Load(const std::string& text, RunData data = {}) {
    test::TempDir dir;
    test::WriteFile(dir / "zlttimes.log", text);
    ReadTimesLog((dir / "zlttimes.log").string(), data);
    return data;
}

std::string CarOf(const RunData& d, int run) { return d.CarList.at(d.Runs.at(run).CarIdx).Name; }
std::string ClassOf(const RunData& d, int run) { return d.ClassList.at(d.Runs.at(run).ClassIdx).Name; }
std::string ProfOf(const RunData& d, int run) { return d.ProfList.at(d.Runs.at(run).ProfIdx).Name; }

TEST(TimesLogRead, LogsWithoutRunsReadWithoutError) {
    for (const std::string& text : {std::string(), Header, Header + "\r\n\r\n", std::string("\r\n"),
                                    std::string(Main{}) + "\r\n" + std::string(Main{}) + "\r\n"}) {
        SCOPED_TRACE(text);
        const RunData d = Load(text);
        EXPECT_EQ(d.RunCount, 0);
        EXPECT_EQ(d.FinishedCount, 0);
        EXPECT_EQ(d.Runs.size(), 1u);
        EXPECT_EQ(d.WetnessList.at(3).Name, Utf8ToCp1251("Ошибка")) << "condition lists are filled anyway";
    }
}

TEST(TimesLogRead, RunFieldsAndTimes) {
    const RunData d = Load(Log({Main{}, Times("31.25", "62.5", "95.125"),
                                Main{.date = "2000-01-01 12:00:00", .stage = "200", .wetness = "2", .surfAge = "0",
                                     .weather = "1", .tyres = "6", .damage = "3"}}));
    ASSERT_EQ(d.RunCount, 2);
    EXPECT_EQ(d.FinishedCount, 1);
    const RunRecord& a = d.Runs[1];
    EXPECT_EQ(a.RunNo, 1);
    EXPECT_EQ(a.StageNo, 7);
    EXPECT_EQ(a.StartTime, *ParseLogDateTime("2031-04-05 10:20:30"));
    EXPECT_TRUE(a.Finished);
    EXPECT_EQ(a.Split1, 31.25);
    EXPECT_EQ(a.Split2, 62.5);
    EXPECT_EQ(a.Finish, 95.125);
    EXPECT_EQ(std::make_tuple(a.Wetness, a.SurfAge, a.Weather, a.Tyres, a.Damage), std::make_tuple(0, 1, 2, 3, 1));
    EXPECT_EQ(CarOf(d, 1), "Korvan RX");
    EXPECT_EQ(ClassOf(d, 1), "Group Z");
    EXPECT_EQ(ProfOf(d, 1), "Ivo");

    const RunRecord& b = d.Runs[2];
    EXPECT_EQ(b.StartTime, 36526.5);
    EXPECT_EQ(b.StageNo, 200);
    EXPECT_FALSE(b.Finished);
    EXPECT_EQ(std::make_tuple(b.Wetness, b.SurfAge, b.Weather, b.Tyres, b.Damage), std::make_tuple(2, 0, 1, 6, 3));
}

TEST(TimesLogRead, DroppedMainLinesDoNotConsumeRunNumbers) {
    const RunData d = Load(Log({Main{.stage = "0"}, Main{.stage = "201"}, Main{.stage = "x"}, Main{.stage = ""},
                                Main{.stage = "3"}, Times("1", "2", "3"), Main{.stage = "-4"},
                                Main{.stage = "4", .car = "Miretta 2000"}}));
    ASSERT_EQ(d.RunCount, 2);
    ASSERT_EQ(d.Runs.size(), 3u);
    EXPECT_EQ(d.Runs[1].RunNo, 1);
    EXPECT_EQ(d.Runs[1].StageNo, 3);
    EXPECT_TRUE(d.Runs[1].Finished);
    EXPECT_EQ(d.Runs[2].RunNo, 2);
    EXPECT_EQ(d.Runs[2].StageNo, 4);
    EXPECT_EQ(CarOf(d, 2), "Miretta 2000");
}

TEST(TimesLogRead, TimesLineWithoutPendingRunIsAMainLineCandidate) {
    // After a dropped main line and after another times line, a times line is read as a
    // main line: its split 1 field is then the stage number.
    const RunData d = Load(Log({Main{.stage = "0"}, Times("12.5", "20", "30"), Times("5", "20", "30"),
                                Main{}, Times("10", "20", "30"), Times("9", "19", "29"), Times("41.5", "50", "60"),
                                Main{.stage = "8"}, Main{.stage = "0"}, Times("11", "20", "30")}));
    ASSERT_EQ(d.RunCount, 5);
    EXPECT_EQ(d.FinishedCount, 2);
    EXPECT_FALSE(d.Runs[4].Finished) << "a dropped main line ends the wait for times";
    EXPECT_EQ(d.Runs[5].StageNo, 11);
    EXPECT_EQ(d.Runs[1].StageNo, 5);
    EXPECT_EQ(d.Runs[1].StartTime, 0);
    EXPECT_EQ(ProfOf(d, 1), "Unknown");
    EXPECT_FALSE(d.Runs[1].Finished);
    EXPECT_EQ(d.Runs[2].StageNo, 7);
    EXPECT_EQ(d.Runs[2].Finish, 30);
    EXPECT_EQ(d.Runs[3].StageNo, 9);
    EXPECT_EQ(d.Runs[3].Split1, 41.5) << "a run made of a times line takes the next times line";
}

TEST(TimesLogRead, PendingMarkSurvivesUnacceptableTimesLines) {
    const RunData d = Load(Log({Main{}, " no tabs here", Times("abc", "1", "2"), Times("1,5", "2", "3"),
                                Times("inf", "2", "3"), Times("1", "nan", "3"), Times("1", "2", "1e999"),
                                Times("1", "2", "3x"), Times("1", "2", "- 3"), Times("--1", "2", "3"),
                                Times(" +1.5", "-2e1", ".5 ")}));
    ASSERT_EQ(d.RunCount, 1);
    EXPECT_EQ(d.FinishedCount, 1);
    EXPECT_TRUE(d.Runs[1].Finished);
    EXPECT_EQ(d.Runs[1].Split1, 1.5);
    EXPECT_EQ(d.Runs[1].Split2, -20);
    EXPECT_EQ(d.Runs[1].Finish, 0.5);
}

TEST(TimesLogRead, TimesAreTheNearestDoubles) {
    const std::vector<std::string> texts = {"0.1", "0.3", "95.125", "686.289", "1231.154", "123456789012345",
                                            "1234567.89012345", "1234567890123456", "9.999999999999999", "1e-5",
                                            "00000000000000000001.5", "5.", "0.000000000000001", "2.5E+2"};
    std::vector<std::string> lines;
    for (const std::string& t : texts) {
        lines.push_back(Main{});
        lines.push_back(Times(t, "-" + t, t));
    }
    const RunData d = Load(Log(lines));
    ASSERT_EQ(d.FinishedCount, static_cast<int>(texts.size()));
    for (std::size_t i = 0; i < texts.size(); ++i) {
        double expected = 0;
        std::from_chars(texts[i].data(), texts[i].data() + texts[i].size(), expected);
        EXPECT_EQ(d.Runs[i + 1].Split1, expected) << texts[i];
        EXPECT_EQ(d.Runs[i + 1].Split2, -expected) << texts[i];
    }
}

TEST(TimesLogRead, EmptyTimeFieldsFinishWithZero) {
    const RunData d = Load(Log({Main{}, " \t\t\t", Main{}, " \t4.5"}));
    ASSERT_EQ(d.RunCount, 2);
    EXPECT_EQ(d.FinishedCount, 2);
    EXPECT_TRUE(d.Runs[1].Finished);
    EXPECT_EQ(d.Runs[1].Finish, 0);
    EXPECT_EQ(d.Runs[2].Split1, 4.5);
    EXPECT_EQ(d.Runs[2].Split2, 0);
    EXPECT_EQ(d.Runs[2].Finish, 0);
}

TEST(TimesLogRead, ConditionCodes) {
    struct Case {
        Main line;
        int wetness, surfAge, weather, tyres, damage;
    };
    const std::vector<Case> cases = {
        {Main{.wetness = "5", .tyres = "7", .damage = "-1"}, 3, 1, 2, 7, 4},
        {Main{.wetness = "2.0", .surfAge = "", .weather = "3"}, 3, 3, 3, 3, 1},
        {Main{.wetness = "$2", .surfAge = "0x1", .weather = "  +1", .tyres = "0X6", .damage = "-0"}, 2, 1, 1, 6, 0},
        {Main{.wetness = "1 ", .surfAge = "x1", .weather = "$", .tyres = "0x", .damage = "1e0"}, 3, 3, 3, 7, 4},
        {Main{.wetness = "99999999999999999999", .surfAge = "0x100000001", .weather = "--1"}, 3, 3, 3, 3, 1},
    };
    std::vector<std::string> lines;
    for (const Case& c : cases)
        lines.push_back(c.line);
    const RunData d = Load(Log(lines));
    ASSERT_EQ(d.RunCount, static_cast<int>(cases.size()));
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        const RunRecord& r = d.Runs[i + 1];
        EXPECT_EQ(r.Wetness, cases[i].wetness);
        EXPECT_EQ(r.SurfAge, cases[i].surfAge);
        EXPECT_EQ(r.Weather, cases[i].weather);
        EXPECT_EQ(r.Tyres, cases[i].tyres);
        EXPECT_EQ(r.Damage, cases[i].damage);
        EXPECT_EQ(d.TyresList.at(r.Tyres).InLog, true);
    }
    EXPECT_EQ(d.WetnessList[3].Name, Utf8ToCp1251("Ошибка"));
    EXPECT_EQ(d.TyresList[7].Name, Utf8ToCp1251("Ошибка"));
    EXPECT_EQ(d.DamageList[4].Name, Utf8ToCp1251("Ошибка"));
    EXPECT_EQ(d.TyresList[1].Name, "Int. Tarmac");
}

TEST(TimesLogRead, QuotingAndUnknownNames) {
    const RunData d = Load(Log({
        Main{.car = "\"\"", .cls = "\"\"", .prof = ""},
        Main{.car = "", .cls = "", .prof = "\"\""},
        Main{.car = "\"Brenna \"\"GT\"\" 4\"", .cls = "\"Group Z\"", .prof = "\"Ivo\"tail"},
        Main{.car = "\"Talvik S", .cls = "\"", .prof = "\"a"},
        Main{.car = "in\"side", .cls = "Group Z", .prof = "\"\"\"\""},
        Main{.car = "\"Brenna \"\"GT", .cls = "\"\"\"", .prof = "\"\"\"x"},
    }));
    ASSERT_EQ(d.RunCount, 6);
    EXPECT_EQ(CarOf(d, 1), "\"\"");
    EXPECT_EQ(ClassOf(d, 1), "Unk");
    EXPECT_EQ(ProfOf(d, 1), "Unknown");
    EXPECT_EQ(CarOf(d, 2), "");
    EXPECT_EQ(ClassOf(d, 2), "");
    EXPECT_EQ(ProfOf(d, 2), "\"\"");
    EXPECT_EQ(CarOf(d, 3), "Brenna \"GT\" 4");
    EXPECT_EQ(ClassOf(d, 3), "Group Z");
    EXPECT_EQ(d.Runs[3].ClassIdx, d.Runs[5].ClassIdx) << "quoted and bare forms of a name are one entry";
    EXPECT_EQ(ProfOf(d, 3), "Ivo");
    EXPECT_EQ(CarOf(d, 4), "Talvik ") << "an unclosed quote loses the last character";
    EXPECT_EQ(ClassOf(d, 4), "\"");
    EXPECT_EQ(ProfOf(d, 4), "\"a");
    EXPECT_EQ(CarOf(d, 5), "in\"side");
    EXPECT_EQ(ProfOf(d, 5), "\"");
    EXPECT_EQ(CarOf(d, 6), "Brenna \"G");
    EXPECT_EQ(ClassOf(d, 6), "\"\"\"") << "unquotes to nothing: the field stays";
    EXPECT_EQ(ProfOf(d, 6), "\"") << "unclosed: the doubled quote counts once, the last character goes";
}

TEST(TimesLogRead, NamesAreExactAndCutTo30Bytes) {
    const std::string long35 = "Ultra long invented car name " + std::string(6, 'x');
    ASSERT_EQ(long35.size(), 35u);
    const std::string long40 = long35.substr(0, 30) + "0123456789";
    const RunData d = Load(Log({Main{.car = "Korvan RX"}, Main{.car = "korvan rx"}, Main{.car = "Korvan RX"},
                                Main{.car = long35}, Main{.car = long40}, Main{.car = long35.substr(0, 30)}}));
    ASSERT_EQ(d.RunCount, 6);
    EXPECT_EQ(d.CarList.size(), 3u);
    EXPECT_EQ(d.Runs[1].CarIdx, d.Runs[3].CarIdx);
    EXPECT_NE(d.Runs[1].CarIdx, d.Runs[2].CarIdx);
    EXPECT_EQ(CarOf(d, 4), long35.substr(0, 30));
    EXPECT_EQ(d.Runs[4].CarIdx, d.Runs[5].CarIdx);
    EXPECT_EQ(d.Runs[4].CarIdx, d.Runs[6].CarIdx);
}

TEST(TimesLogRead, NamesOfTheSavedFilterComeFirstAndAreReused) {
    RunData pre;
    pre.CarList.push_back({.Name = "Talvik S", .FiltOn = true});
    pre.CarList.push_back({.Name = "Miretta 2000", .FiltOn = true});
    const RunData d = Load(Log({Main{.car = "Korvan RX"}, Main{.car = "Miretta 2000"}}), pre);
    ASSERT_EQ(d.CarList.size(), 3u);
    EXPECT_FALSE(d.CarList[0].InLog);
    EXPECT_TRUE(d.CarList[1].InLog);
    EXPECT_TRUE(d.CarList[1].FiltOn);
    EXPECT_EQ(d.Runs[1].CarIdx, 2);
    EXPECT_EQ(d.Runs[2].CarIdx, 1);
}

TEST(TimesLogRead, ManyNamesAndRunsGrowWithoutWrapping) {
    std::vector<std::string> lines;
    for (int i = 0; i < 300; ++i) {
        lines.push_back(Main{.car = "Car " + std::to_string(i), .cls = "C" + std::to_string(i % 40),
                             .prof = "P" + std::to_string(i)});
        lines.push_back(Times("1", "2", "3"));
    }
    const RunData d = Load(Log(lines));
    ASSERT_EQ(d.RunCount, 300);
    EXPECT_EQ(d.FinishedCount, 300);
    EXPECT_EQ(d.CarList.size(), 300u);
    EXPECT_EQ(d.ClassList.size(), 40u);
    EXPECT_EQ(d.Runs[300].CarIdx, 299);
    EXPECT_EQ(CarOf(d, 300), "Car 299");
    EXPECT_EQ(ProfOf(d, 257), "P256");
}

TEST(TimesLogRead, DatesMalformedFailShortGiveZero) {
    for (const std::string& date : std::vector<std::string>{"2008-02-30 10:00:00", "2008-13-01 10:00:00", "2008-02-03 24:00:00",
                                    "2008/02/03 10:00:00", "2008-02-03T10:00:00", "2008-02-03 10:00:0x",
                                    "0000-01-01 00:00:00", std::string("2008-02-03 10:00:0\0", 19)}) {
        SCOPED_TRACE(date);
        // The date is checked before the stage number, so a line that would be dropped fails too.
        for (const char* stage : {"7", "0"}) {
            try {
                Load(Log({Main{}, Main{.date = date, .stage = stage}}));
                ADD_FAILURE() << "no error";
            } catch (const LoadError& e) {
                EXPECT_EQ(e.FileName(), "zlttimes.log");
                std::string shown = date;
                std::replace(shown.begin(), shown.end(), '\0', '?');
                EXPECT_EQ(std::string(e.what()), "Строка 4: неверная дата «" + shown + "».");
            }
        }
    }
    EXPECT_THROW(ParseRunTime("2008-02-30 10:00:00"), LoadError);

    // Runs of one day in a row, also before 1899-12-30, where the time counts the other way.
    for (const std::string day : {"2031-04-05", "1899-12-29", "1899-12-30", "0001-01-01"}) {
        SCOPED_TRACE(day);
        std::vector<std::string> lines;
        const std::vector<std::string> times = {"00:00:00", "10:20:30", "23:59:59", "12:00:00"};
        for (const std::string& time : times)
            lines.push_back(Main{.date = day + " " + time});
        const RunData same = Load(Log(lines));
        ASSERT_EQ(same.RunCount, 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(same.Runs[i + 1].StartTime, *ParseLogDateTime(day + " " + times[i]));
        for (const std::string bad : {" 24:00:00", " 10:60:00", " 10:00:6x", "x10:00:00", " 10-00:00"}) {
            lines.push_back(Main{.date = day + bad});
            EXPECT_THROW(Load(Log(lines)), LoadError) << bad;
            lines.pop_back();
        }
    }

    const RunData d = Load(Log({Main{.date = "2008-02-03"}, Main{.date = "2008-02-03 10:00:000"}, Main{.date = ""},
                                Main{.date = "2008-02-29 23:59:59"}}));
    ASSERT_EQ(d.RunCount, 4);
    EXPECT_EQ(d.Runs[1].StartTime, 0);
    EXPECT_EQ(d.Runs[2].StartTime, 0);
    EXPECT_EQ(d.Runs[3].StartTime, 0);
    EXPECT_EQ(FormatLogDateTime(d.Runs[4].StartTime), "2008-02-29 23:59:59");
}

TEST(TimesLogRead, LineLengthLimit) {
    const std::string base = Main{.prof = ""};
    const std::string fits = base + std::string(MaxLogLineLength - base.size(), 'p');
    const std::string tooLong = fits + "p";
    ASSERT_EQ(fits.size(), MaxLogLineLength);
    // Names past byte 64 and past byte 128 of a line that is longer than 90 bytes.
    const std::string longCar = "Long Name Car " + std::string(60, 'c');
    const RunData d = Load(Log({fits, tooLong, Times("4", "5", "6"),
                                Main{.car = longCar, .cls = "Class " + std::string(60, 'k'), .prof = "Profile B"}}));
    ASSERT_EQ(d.RunCount, 2);
    EXPECT_EQ(ProfOf(d, 1), std::string(30, 'p'));
    EXPECT_EQ(d.Runs[1].Finish, 6) << "the ignored line leaves the first run waiting for its times";
    EXPECT_EQ(CarOf(d, 2), longCar.substr(0, 30));
    EXPECT_EQ(ClassOf(d, 2), "Class " + std::string(24, 'k'));
    EXPECT_EQ(ProfOf(d, 2), "Profile B");
}

TEST(TimesLogRead, AnyLineEndsAndBytes) {
    const std::string a = Main{.car = "Korvan RX"}, b = Main{.car = "Miretta 2000"};
    const std::string t = Times("1", "2", "3");
    struct Case {
        std::string text;
        int runs, finished;
    };
    const std::vector<Case> cases = {
        // The bytes after the last line end are a line still being written: never read.
        {"h1\nh2\n" + a + "\n" + t + "\n" + b, 1, 1},           // LF only, no final line end
        {"h1\rh2\r" + a + "\r" + t + "\r" + b + "\r", 2, 1},     // CR only, a CR at the very end
        {"h1\r\nh2\n" + a + "\r" + t + "\r\n\r\n" + b + "\n", 2, 1}, // mixed; empty line between
        {"h1\n\rh2\r" + a + "\n", 1, 0},                         // LF CR is two line ends
        {a + "\n" + b + "\n" + a + "\n" + t + "\n", 1, 1},         // the first two lines are never runs
        {"h1\nh2\n" + std::string(a).replace(a.find("Korvan"), 1, std::string(1, '\0')) + "\n" + t + "\r", 1, 1},
        {std::string("\0\0\0\n\0\n\t\0\t", 9) + "\n" + std::string(5000, '\0') + "\n" + a + "\n", 1, 0},
        {std::string(10000, '\r'), 0, 0},
        {std::string(10000, '\t'), 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.text.substr(0, 40)));
        const RunData d = Load(c.text);
        EXPECT_EQ(d.RunCount, c.runs);
        EXPECT_EQ(d.FinishedCount, c.finished);
        EXPECT_EQ(d.Runs.size(), static_cast<std::size_t>(c.runs) + 1);
    }
    const RunData d = Load(cases[5].text);
    EXPECT_EQ(CarOf(d, 1), std::string("\0orvan RX", 9)) << "a NUL is an ordinary byte of a name";
}

TEST(TimesLogRead, UnreadableFileFailsNamingTheLog) {
    test::TempDir dir;
    RunData d;
    try {
        ReadTimesLog((dir / "zlttimes.log").string(), d);
        ADD_FAILURE() << "no error";
    } catch (const LoadError& e) {
        EXPECT_EQ(e.FileName(), "zlttimes.log");
    }
    EXPECT_THROW(ReadTimesLog(dir.Path().string(), d), LoadError) << "a folder is no log";
}

TEST(TimesLogHelpers, SplitTabs) {
    std::vector<std::string_view> f;
    EXPECT_FALSE(SplitTabs(1, 3, f, "no tab"));
    EXPECT_TRUE(f.empty()) << "a failed split changes nothing";
    EXPECT_FALSE(SplitTabs(1, 3, f, std::string(MaxLogLineLength, '\t') + "x"));
    ASSERT_TRUE(SplitTabs(1, 3, f, "a\t\tc\td"));
    ASSERT_EQ(f.size(), 4u);
    EXPECT_EQ(f[1], "a");
    EXPECT_EQ(f[2], "");
    EXPECT_EQ(f[3], "c") << "text after the last field is ignored";
    ASSERT_TRUE(SplitTabs(2, 5, f, "x\ty"));
    EXPECT_EQ(f[1], "a") << "fields outside the range stay";
    EXPECT_EQ(f[2], "x");
    EXPECT_EQ(f[3], "y");
    EXPECT_EQ(f[4], "");
    EXPECT_EQ(f[5], "");
}

TEST(TimesLogHelpers, ParseCode) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"0", 0}, {"150", 150}, {"  +12", 12}, {"-3", -3}, {"$1F", 31}, {"0x1f", 31}, {"-$a", -10},
        {"", 99}, {" ", 99}, {"-", 99}, {"2.0", 99}, {"12 ", 99}, {"1e2", 99}, {"$", 99}, {"0x", 99},
        {"$G", 99}, {"\t1", 99}, {"300", 99}, {"-300", 99}, {"4294967297", 99}};
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(ParseCode(text, -200, 200, 99), expected) << '"' << text << '"';
    EXPECT_EQ(ParseCode(std::string_view("1\0", 2), 0, 9, 99), 99);
}

TEST(NameLists, PackingKeepsEveryRunOnItsName) {
    RunData pre;
    for (const char* name : {"Only Filter A", "Zeta", "Only Filter B"})
        pre.CarList.push_back({.Name = name, .FiltOn = true});
    RunData d = Load(Log({Main{.car = "Miretta 2000", .cls = "B"}, Main{.car = "Zeta", .cls = "A"},
                          Main{.car = "Brenna", .cls = "B"}, Main{.car = "Miretta 2000", .cls = "A"}}),
                     pre);
    ASSERT_EQ(d.CarList.size(), 5u);
    std::vector<RunRecord> selection{RunRecord{}, d.Runs[4], d.Runs[2]};
    selection[1].SelNo = 1;

    PackNameList(d.CarList, &RunRecord::CarIdx, d.Runs, &selection);
    ASSERT_EQ(d.CarList.size(), 3u);
    EXPECT_EQ(d.CarList[0].Name, "Zeta");
    EXPECT_TRUE(d.CarList[0].FiltOn) << "entries move with their flags";
    EXPECT_EQ(CarOf(d, 1), "Miretta 2000");
    EXPECT_EQ(CarOf(d, 2), "Zeta");
    EXPECT_EQ(CarOf(d, 3), "Brenna");
    EXPECT_EQ(CarOf(d, 4), "Miretta 2000");
    EXPECT_EQ(d.CarList.at(selection[1].CarIdx).Name, "Miretta 2000");
    EXPECT_EQ(d.CarList.at(selection[2].CarIdx).Name, "Zeta");
    EXPECT_EQ(selection[0].CarIdx, 0) << "slot 0 holds no run";
    // Brenna < Miretta 2000 < Zeta
    EXPECT_EQ(d.CarList[0].Rank, 3);
    EXPECT_EQ(d.CarList[1].Rank, 2);
    EXPECT_EQ(d.CarList[2].Rank, 1);

    PackNameList(d.ClassList, &RunRecord::ClassIdx, d.Runs, nullptr);
    EXPECT_EQ(ClassOf(d, 1), "B");
    EXPECT_EQ(ClassOf(d, 2), "A");
}

TEST(NameLists, RanksUseCp1251ByteOrder) {
    NameList list;
    for (const char* name : {"Ошибка", "zeta", "Zeta", "Ёж", "ёж", "Альфа", "beta", "Zeta"})
        list.push_back({.Name = Utf8ToCp1251(name), .FiltOn = true, .InLog = true});
    std::vector<RunRecord> runs{RunRecord{}};
    PackNameList(list, &RunRecord::CarIdx, runs, nullptr);
    std::vector<int> ranks;
    for (const NameEntry& e : list)
        ranks.push_back(e.Rank);
    // Z(5A) < b(62) < z(7A) < Ё(A8) < ё(B8) < А(C0) < О(CE); equal names share a rank
    EXPECT_EQ(ranks, (std::vector<int>{8, 4, 1, 5, 6, 7, 3, 1}));

    RunData d = Load(Log({Main{}}));
    d.DamageList[2].FiltOn = true;
    RankCondList(d.DamageList);
    EXPECT_TRUE(d.DamageList[2].FiltEdit);
    EXPECT_FALSE(d.DamageList[1].FiltEdit);
    // Off, Realistic, Reduced, Safe, Ошибка
    std::vector<int> damageRanks;
    for (const NameEntry& e : d.DamageList)
        damageRanks.push_back(e.Rank);
    EXPECT_EQ(damageRanks, (std::vector<int>{1, 4, 3, 2, 5}));
}

} // namespace
} // namespace kel

namespace kel {
namespace {

TEST(NameLists, HashLookupKeepsTheOrderAndRanksOfASearchFromTheFront) {
    RunData d;
    d.CarList.push_back({.Name = "Filter Only", .FiltOn = true});
    ReadTimesLog(KELVARA_SOURCE_DIR "/sample/zlttimes.log", d);
    ASSERT_GT(d.RunCount, 1000);

    // The same names, looked up from the front in the order of the runs.
    RunData ref;
    ref.CarList.push_back({.Name = "Filter Only", .FiltOn = true});
    for (int i = 1; i <= d.RunCount; ++i) {
        const RunRecord& r = d.Runs[i];
        ASSERT_EQ(FindOrAddName(d.CarList.at(r.CarIdx).Name, ref.CarList), r.CarIdx) << "run " << i;
        ASSERT_EQ(FindOrAddName(d.ClassList.at(r.ClassIdx).Name, ref.ClassList), r.ClassIdx) << "run " << i;
        ASSERT_EQ(FindOrAddName(d.ProfList.at(r.ProfIdx).Name, ref.ProfList), r.ProfIdx) << "run " << i;
    }
    struct Lists {
        NameList* list;
        NameList* refList;
        int32_t RunRecord::*field;
    };
    for (auto [list, refList, field] : {Lists{&d.CarList, &ref.CarList, &RunRecord::CarIdx},
                                        Lists{&d.ClassList, &ref.ClassList, &RunRecord::ClassIdx},
                                        Lists{&d.ProfList, &ref.ProfList, &RunRecord::ProfIdx}}) {
        ASSERT_EQ(list->size(), refList->size());
        for (std::size_t i = 0; i < list->size(); ++i) {
            EXPECT_EQ((*list)[i].Name, (*refList)[i].Name);
            EXPECT_EQ((*list)[i].InLog, (*refList)[i].InLog);
        }
        PackNameList(*list, field, d.Runs, nullptr);
        for (const NameEntry& e : *list) {
            int smaller = 0;
            for (const NameEntry& other : *list)
                smaller += std::lexicographical_compare(other.Name.begin(), other.Name.end(), e.Name.begin(),
                                                        e.Name.end(), [](char a, char b) {
                                                            return static_cast<unsigned char>(a) <
                                                                   static_cast<unsigned char>(b);
                                                        });
            EXPECT_EQ(e.Rank, smaller + 1) << e.Name;
        }
    }
    EXPECT_EQ(d.CarList.size() + 1, ref.CarList.size()) << "the filter's own name is packed away";
}

} // namespace
} // namespace kel
