// The report tool as a user runs it: exit codes, messages and output of every command.

#include "data/Cp1251.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <sstream>
#include <sys/wait.h>

using namespace kel::test;

namespace {

struct Result {
    int code = -1;
    std::string out;
};

// Runs the tool with `args` (already shell-quoted), stderr folded into the output.
Result Report(const std::string& args) {
    const std::string cmd = "LC_ALL=C " KELVARA_BINARY_DIR "/kelvara-report " + args + " 2>&1";
    Result r;
    FILE* p = popen(cmd.c_str(), "r");
    if (!p)
        return r;
    std::array<char, 4096> buf{};
    std::size_t n;
    while ((n = fread(buf.data(), 1, buf.size(), p)) > 0)
        r.out.append(buf.data(), n);
    const int status = pclose(p);
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

struct Data {
    TempDir dir;
    Data() {
        WriteFile(dir / "trinfo.bin", StageFileBytes({{1, "Bravo Ridge", 10.0f, "Gravel ", "and rocks"},
                                                     {2, "alpha Forest", 5.0f, "Short", ""},
                                                     {3, "Ёлкино", 7.5f, "", ""},
                                                     {4, "Дальний кордон", 20.0f, "", ""}}));
        WriteFile(dir / "zlttimes.log",
                  LogBytes({MainLine("2026-03-01 20:00:00", 1, "Vortan GT", "\"\"", ""), TimesLine(100, 200, 300.5),
                            MainLine("2026-03-02 21:00:00", 1, "Pelko R4"), TimesLine(110, 190, 290),
                            MainLine("2026-03-03 00:00:00", 1, "Pelko R4"),
                            MainLine("2026-03-04 22:00:00", 2, "Vortan GT"), TimesLine(40, 80, 120)}));
    }
    std::string Dir() const { return "--dir '" + dir.Path().string() + "' "; }
};

} // namespace

TEST(Report, UsageErrorsAndMissingFiles) {
    Data d;
    EXPECT_EQ(Report("").code, 2);
    EXPECT_EQ(Report(d.Dir() + "nonsense").code, 2);
    EXPECT_EQ(Report(d.Dir() + "--sort 12 table").code, 2);
    EXPECT_EQ(Report(d.Dir() + "--cursor 0 table").code, 2);
    EXPECT_EQ(Report(d.Dir() + "--all --relative table").code, 2);
    EXPECT_EQ(Report(d.Dir() + "--stage 'No Such Stage' table").code, 2);
    EXPECT_EQ(Report(d.Dir() + "--now yesterday table").code, 2);

    TempDir empty;
    const Result missing = Report("--dir '" + empty.Path().string() + "' stages");
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.out.find("Ошибка чтения файла zlttimes.log"), std::string::npos);

    WriteFile(d.dir / "zlttimes.log", LogBytes({MainLine("2026-13-01 20:00:00", 1, "Vortan GT")}));
    const Result broken = Report(d.Dir() + "runs");
    EXPECT_EQ(broken.code, 1);
    EXPECT_NE(broken.out.find("У вас какая-то хренотень в файле zlttimes.log"), std::string::npos);
}

TEST(Report, StagesAreListedAlphabeticallyAsAPersonExpects) {
    Data d;
    const Result r = Report(d.Dir() + "stages");
    ASSERT_EQ(r.code, 0) << r.out;
    EXPECT_EQ(Lines(r.out), (std::vector<std::string>{"alpha Forest\t2\t5", "Bravo Ridge\t1\t10",
                                                      "Дальний кордон\t4\t20", "Ёлкино\t3\t7.5"}));
}

TEST(Report, RunsListEveryRunOfTheLog) {
    Data d;
    const Result r = Report(d.Dir() + "runs");
    ASSERT_EQ(r.code, 0) << r.out;
    const auto lines = Lines(r.out);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "1\t2026-03-01 20:00:00\t1\t0\t0\t0\t0\t0\tVortan GT\tUnk\tUnknown\t1\t100\t200\t300.5");
    EXPECT_EQ(lines[2], "3\t2026-03-03 00:00:00\t1\t0\t0\t0\t0\t0\tPelko R4\tA1\tTester\t0\t0\t0\t0");
}

TEST(Report, TableStageGameAndStatusFollowTheOptions) {
    Data d;
    Result r = Report(d.Dir() + "--stage 'Bravo Ridge' --sort 5 table");
    ASSERT_EQ(r.code, 0) << r.out;
    auto rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, rows[0].find('\t')), "2"); // the faster run first, numbered by log order
    EXPECT_NE(rows[0].find("4:50.00"), std::string::npos);

    r = Report(d.Dir() + "--stage 'Bravo Ridge' --relative --cursor 2 --numbers grayed table");
    rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0].substr(0, rows[0].find('\t')), "1 / 1");
    EXPECT_NE(rows[0].find("+0:10.50"), std::string::npos);

    r = Report(d.Dir() + "--stage 'Bravo Ridge' stage");
    EXPECT_NE(r.out.find("runs\t2\n"), std::string::npos);
    EXPECT_NE(r.out.find("description\tGravel and rocks\n"), std::string::npos);
    EXPECT_NE(r.out.find("best_time_rows\t1 2 2\n"), std::string::npos);

    r = Report(d.Dir() + "game");
    EXPECT_NE(r.out.find("finished\t3\n"), std::string::npos);
    EXPECT_NE(r.out.find("share\t75.0 %\n"), std::string::npos);

    r = Report(d.Dir() + "--all --sort 5 --cursor 1 status");
    EXPECT_NE(r.out.find("cursor\tПозиция курсора:  1\n"), std::string::npos);
    EXPECT_NE(r.out.find("date\tДата/время проезда:  04.03.2026 22:00:00\n"), std::string::npos);
    EXPECT_NE(r.out.find("speed\tСредн. скорость проезда:  150.00 км/ч\n"), std::string::npos);
}
