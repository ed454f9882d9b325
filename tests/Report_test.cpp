// The report tool as a user runs it: exit codes, messages and output of every command.

#include "data/Cp1251.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

using namespace kel::test;

namespace {

struct Result {
    int code = -1;
    std::string out;
};

// Runs the shell command `cmd`: its exit code and standard output.
Result Shell(const std::string& cmd) {
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

const std::string Tool = "LC_ALL=C " KELVARA_BINARY_DIR "/kelvara-report ";

// Runs the tool with `args` (already shell-quoted), stderr folded into the output or dropped.
Result Report(const std::string& args, bool withErrors = true) {
    return Shell(Tool + args + (withErrors ? " 2>&1" : " 2>/dev/null"));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);)
        lines.push_back(l);
    return lines;
}

std::vector<std::vector<std::string>> TabFields(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : Lines(text)) {
        auto& row = rows.emplace_back();
        std::size_t start = 0;
        for (std::size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
            row.push_back(line.substr(start, tab - start));
        row.push_back(line.substr(start));
    }
    return rows;
}

// Runs the tool with its standard output on a pipe whose reading end is already closed, and
// with SIGPIPE ignored and blocked, as a parent process may leave it; returns the status a shell
// shows (128 + the signal for a process ended by one), the messages in `errors`.
int ReportIntoClosedPipe(const std::vector<std::string>& args, const std::filesystem::path& errors) {
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    close(fds[0]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, fds[1], 1);
    posix_spawn_file_actions_addopen(&actions, 2, errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> all{KELVARA_BINARY_DIR "/kelvara-report"};
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t pipeSignal;
    sigemptyset(&pipeSignal);
    sigaddset(&pipeSignal, SIGPIPE);
    posix_spawnattr_setsigmask(&attributes, &pipeSignal);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK);
    const auto previous = std::signal(SIGPIPE, SIG_IGN); // an ignored signal stays ignored in the child
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, &attributes, argv.data(), environ);
    std::signal(SIGPIPE, previous);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&actions);
    close(fds[1]);
    int status = 0;
    if (spawned != 0 || waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
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
    EXPECT_EQ(Report(d.Dir() + "--sort 14 table").code, 2);
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
    EXPECT_NE(broken.out.find("2026-13-01 20:00:00"), std::string::npos) << "the reason follows";
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

TEST(Report, StoredNumbersAreWrittenInTheirShortestExactForm) {
    TempDir dir;
    WriteFile(dir / "trinfo.bin", StageFileBytes({{1, "Bravo Ridge", 8.91f, "", ""}, {2, "Cold Pass", 10.0000105f, "", ""}}));
    WriteFile(dir / "zlttimes.log",
              LogBytes({MainLine("2026-03-01 20:00:00", 1, "Vortan GT"), " \t233.653\t1234.56789\t401.78"}));
    const std::string at = "--dir '" + dir.Path().string() + "' ";
    EXPECT_EQ(Lines(Report(at + "stages").out), (std::vector<std::string>{"Bravo Ridge\t1\t8.91", "Cold Pass\t2\t10.0000105"}));
    const Result runs = Report(at + "runs");
    ASSERT_EQ(runs.code, 0) << runs.out;
    EXPECT_TRUE(runs.out.ends_with("\t1\t233.653\t1234.56789\t401.78\n")) << runs.out;
    const auto csv = ParseCsv(Report(at + "--format csv runs").out, ',');
    ASSERT_EQ(csv.size(), 2u);
    EXPECT_EQ(std::vector<std::string>(csv[1].begin() + 12, csv[1].begin() + 16),
              (std::vector<std::string>{"233.653", "1234.56789", "401.78", "Bravo Ridge"}));
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

    // TSV and CSV end each row with the stage and the date; both columns order the table,
    // equal keys in log order either way.
    r = Report(d.Dir() + "--all --sort 12 --desc --format tsv --header --sectors table");
    rows = Lines(r.out);
    ASSERT_EQ(rows.size(), 4u) << r.out;
    EXPECT_TRUE(rows[0].starts_with("run\tcar\tclass\tsector1\tsector2\tsector3\t"));
    EXPECT_TRUE(rows[0].ends_with("\tprofile\tstage\tdate"));
    EXPECT_TRUE(rows[1].starts_with("1\t") && rows[1].ends_with("\tBravo Ridge\t2026-03-01 20:00:00"));
    EXPECT_TRUE(rows[3].starts_with("3\t") && rows[3].ends_with("\talpha Forest\t2026-03-04 22:00:00"));
    rows = Lines(Report(d.Dir() + "--all --sort 13 --desc --format csv table").out);
    EXPECT_TRUE(rows.at(1).starts_with("3,") && rows.at(3).starts_with("1,"));

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

TEST(Report, CsvParsedBackGivesTheTextFields) {
    TempDir dir;
    WriteFile(dir / "trinfo.bin", StageFileBytes({{1, "Пик \"Сова\"; север", 12.5f, "Спуск, \"серпантин\"", ""},
                                                 {2, "Plain", 3.0f, "", ""}}));
    WriteFile(dir / "zlttimes.log",
              LogBytes({MainLine("2026-03-01 20:00:00", 1, "Ралли \"Мк; 2\"", "A, B"), TimesLine(50.5, 99.25, 150.125),
                        MainLine("2026-03-02 21:00:00", 1, "Vortan GT"), TimesLine(49, 97, 148.5),
                        MainLine("2026-03-03 21:00:00", 2, "Vortan GT"), TimesLine(10, 20, 30)}));
    const std::string at = "--dir '" + dir.Path().string() + "' ";
    for (const std::string command : {"stages", "runs", "table", "progress", "bests --by class", "stage", "game",
                                      "status", "--numbers grayed --sectors --relative table"}) {
        const Result text = Report(at + command, false);
        const Result csv = Report(at + "--format csv " + command, false);
        ASSERT_EQ(text.code, 0) << command;
        ASSERT_EQ(csv.code, 0) << command;
        auto textRows = TabFields(text.out);
        auto csvRows = ParseCsv(csv.out, ',');
        ASSERT_FALSE(csvRows.empty());
        const bool record = command == "stage" || command == "game" || command == "status";
        if (record) { // "name<TAB>value" lines against a row of names and a row of values
            std::vector<std::vector<std::string>> columns(2);
            for (const auto& row : textRows)
                for (std::size_t k = 0; k < 2; ++k)
                    columns[k].push_back(row.at(k));
            textRows = columns;
        } else {
            csvRows.erase(csvRows.begin()); // the header
        }
        if (command == "runs") // the names behind the codes come on top
            for (auto& row : csvRows)
                row.resize(15);
        if (command.ends_with("table")) // and the stage and date
            for (auto& row : csvRows)
                row.resize(12);
        EXPECT_EQ(csvRows, textRows) << command;
    }
    // The header names the fields; TSV shows it on request only.
    EXPECT_EQ(Lines(Report(at + "--format csv --stage Plain table").out)[0],
              "run,car,class,split1,split2,finish,wetness,surface_age,tyres,damage,weather,profile,stage,date");
    EXPECT_EQ(Lines(Report(at + "--format tsv --header --by profile bests").out)[0],
              "profile\truns\tbest\tbest_run\tbest_date\tgap\tbest3_average\tmedian\tspread\twithin_2pct");
    EXPECT_EQ(Lines(Report(at + "--format tsv --stage Plain progress").out),
              (std::vector<std::string>{"1\t2026-03-03 21:00:00\tVortan GT\tA1\tTester\t0:30.00\t0:30.00\t1"}));
    // Runs add the stage and condition names.
    EXPECT_EQ(ParseCsv(Report(at + "--format csv runs").out, ',')[1].back(), "Off");
    EXPECT_EQ(ParseCsv(Report(at + "--format csv runs").out, ',')[1][15], "Пик \"Сова\"; север");
    EXPECT_EQ(Report(at + "--all progress").code, 2);
    EXPECT_EQ(Report(at + "--by car table").code, 2);
}

TEST(Report, NamesWithTabsAndLineBreaksKeepEveryRowOnOneLine) {
    TempDir dir;
    const std::string name = "Tab\tи\nперенос \"x\"";
    WriteFile(dir / "trinfo.bin", StageFileBytes({{1, name, 5.0f, "", ""}}));
    WriteFile(dir / "zlttimes.log", LogBytes({MainLine("2026-03-01 20:00:00", 1, "Vortan GT"), TimesLine(1, 2, 3)}));
    const std::string at = "--dir '" + dir.Path().string() + "' ";
    EXPECT_EQ(Report(at + "--format tsv stages").out, "Tab и перенос  x \t1\t5\n");
    EXPECT_EQ(ParseCsv(Report(at + "--format csv stages").out, ',')[1][0], name);
}

TEST(Report, AFailedWriteIsAnErrorWithItsReason) {
    Data d;
    const std::string at = d.Dir();
    for (const std::string command : {"stages", "runs", "table", "stage", "game", "status", "progress", "bests",
                                      "--help"}) {
        const Result full = Shell(Tool + at + command + " 2>&1 >/dev/full");
        EXPECT_EQ(full.code, 1) << command;
        EXPECT_NE(full.out.find("Ошибка записи в стандартный вывод: Нет места на устройстве"), std::string::npos)
            << command << ": " << full.out;
    }
    EXPECT_EQ(Shell(Tool + at + "--format csv table 2>&1 >&-").code, 1);
}

TEST(Report, AReaderThatClosedThePipeEndsTheToolQuietly) {
    Data d;
    TempDir errors;
    for (const std::string command : {"runs", "progress"}) {
        EXPECT_EQ(ReportIntoClosedPipe({"--dir", d.dir.Path().string(), "--stage", "Bravo Ridge", command},
                                       errors / "err"),
                  141)
            << command;
        EXPECT_EQ(ReadFile(errors / "err").find("Ошибка"), std::string::npos) << command;
    }
}

TEST(Report, ResultsOfEveryFinishedRunAsIfItHadJustArrived) {
    Data d;
    const Result text = Report(d.Dir() + "results");
    EXPECT_EQ(Lines(text.out), (std::vector<std::string>{
                                   "2026-03-01 20:00:00\tРекорд трассы «Bravo Ridge»: 5:00.50 (первый проезд)",
                                   "2026-03-02 21:00:00\tРекорд трассы «Bravo Ridge»: 4:50.00 (-0:10.50)",
                                   "2026-03-04 22:00:00\tРекорд трассы «alpha Forest»: 2:00.00 (первый проезд)"}));
    const Result csv = Report(d.Dir() + "--format csv results");
    EXPECT_EQ(ParseCsv(csv.out, ','),
              (std::vector<std::vector<std::string>>{
                  {"time", "stage", "car", "class", "finish", "rank", "runs", "gap", "stage_best", "car_best",
                   "class_best"},
                  {"2026-03-01 20:00:00", "Bravo Ridge", "Vortan GT", "Unk", "5:00.50", "1", "1", "", "1", "1", "1"},
                  {"2026-03-02 21:00:00", "Bravo Ridge", "Pelko R4", "A1", "4:50.00", "1", "2", "-0:10.50", "1", "1",
                   "1"},
                  {"2026-03-04 22:00:00", "alpha Forest", "Vortan GT", "A1", "2:00.00", "1", "1", "", "1", "1",
                   "1"}}));
    for (const char* narrowing : {"--all", "--stage 'Bravo Ridge'", "--filter Kelvara.ini"}) {
        const Result refused = Report(d.Dir() + narrowing + " results");
        EXPECT_EQ(refused.code, 2) << narrowing;
        EXPECT_NE(refused.out.find("не относятся к команде results"), std::string::npos);
    }
}

TEST(Report, FollowPrintsTheReportAgainWhenRunsArrive) {
    Data d;
    EXPECT_EQ(Report(d.Dir() + "--follow table").code, 2);

    // The tool runs until it is stopped; `timeout` stops it at the latest when the test fails.
    const std::string cmd = "echo $$; exec timeout 30 env LC_ALL=C " KELVARA_BINARY_DIR "/kelvara-report " + d.Dir() +
                            "--now '2026-04-01 00:00:00' --follow game 2>&1";
    FILE* p = popen(cmd.c_str(), "r");
    ASSERT_TRUE(p);
    const auto line = [&] {
        std::array<char, 512> buf{};
        return std::fgets(buf.data(), buf.size(), p) ? std::string(buf.data()) : std::string();
    };
    const std::string pid = line();
    EXPECT_EQ(line(), "total_time\t0 часов  11 минут  50 секунд\n");
    for (int i = 0; i < 4; ++i)
        line();

    // A run in two writes: its main line, then its times line.
    std::FILE* log = std::fopen((d.dir / "zlttimes.log").c_str(), "ab");
    std::fputs("2026-03-05 10:00:00\t2\t0\t0\t0\t0\t0\tPelko R4\tA1\tTester\r\n \t20\t40\t", log);
    std::fflush(log);
    std::fputs("60\r\n", log);
    std::fclose(log);
    EXPECT_EQ(line(), "\n");
    EXPECT_EQ(line(), "total_time\t0 часов  12 минут  50 секунд\n");
    EXPECT_EQ(line(), "distance\t30.0 км\n");

    std::system(("kill " + pid).c_str());
    pclose(p);
}

TEST(Report, LanguageChangesTheTextButNotTheMachineReadableOutput) {
    Data d;
    const std::string stage = d.Dir() + "--stage 'Bravo Ridge' ";
    {
        std::ofstream log(d.dir / "zlttimes.log", std::ios::binary | std::ios::app);
        log << MainLine("2026-03-05 10:00:00", 1, "Pelko R4", "A1", "Tester", 0, 0, 9) << "\r\n"
            << TimesLine(100, 190, 280) << "\r\n";
    }
    const std::string results = Report(d.Dir() + "--lang en results").out;
    EXPECT_NE(results.find("\tStage record on “Bravo Ridge”: 4:40.00 (-0:10.00)\n"), std::string::npos) << results;
    EXPECT_NE(results.find("\tStage record on “alpha Forest”: 2:00.00 (first run)\n"), std::string::npos);
    EXPECT_NE(Report(stage + "--lang en table").out.find("\tError\t"), std::string::npos);
    EXPECT_NE(Report(stage + "--lang en status").out.find("speed\tAvg. run speed:  "), std::string::npos);
    EXPECT_NE(Report(stage + "--lang ru status").out.find("speed\tСредн. скорость проезда:  "), std::string::npos);
    for (const char* command : {"stages", "runs", "table", "progress", "bests"})
        for (const char* format : {"tsv", "csv"}) {
            const std::string args = stage + "--header --format " + format + " " + command;
            const Result russian = Report("--lang ru " + args), english = Report("--lang en " + args);
            EXPECT_EQ(russian.code, 0) << args;
            EXPECT_EQ(russian.out, english.out) << args;
        }
    // The settings file's choice, then the system's; the command line over both.
    WriteFile(d.dir / "Kelvara.ini", "[Interface]\r\nLanguage=en\r\n");
    const std::string filter = "--filter '" + (d.dir / "Kelvara.ini").string() + "' ";
    EXPECT_NE(Report(filter + d.Dir() + "game").out.find(" km\n"), std::string::npos);
    EXPECT_NE(Report(filter + d.Dir() + "--lang ru game").out.find(" км\n"), std::string::npos);
    EXPECT_NE(Shell("env -u LC_ALL -u LC_MESSAGES LANG=de_DE.UTF-8 " KELVARA_BINARY_DIR "/kelvara-report " + d.Dir() + "--sort 14 table 2>&1").out.find(
                  "The sort column must be"),
              std::string::npos);
    EXPECT_EQ(Report(d.Dir() + "--lang de game").code, 2);
}
