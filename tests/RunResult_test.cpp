// The result of a run among the earlier runs of its stage, and the note after a look at the log.

#include "stats/RunResult.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/StageFile.h"
#include "data/TimesLog.h"
#include "session/Events.h"
#include "session/Startup.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace kel;
using namespace kel::test;

namespace {

const std::vector<StageSpec> Stages{{1, "Соляной карьер", 9.0f, "", ""}, {2, "Bramble Run", 5.0f, "", ""}};

std::string Text(const RunData& d, const StageRunIndex& i, const StageFile& s, int runNo, std::string_view dec = ".") {
    return ResultText(ResultOfRun(d, i, runNo), d, s, Conventions{.DecimalSep = std::string(dec)});
}

} // namespace

TEST(RunResult, BestsRankAndGapOverTheEarlierRunsOfTheStage) {
    RunData d;
    ReadTimesLogData(LogBytes({MainLine("2026-01-01 10:00:00", 1, "Mirel 4", "X"), TimesLine(30, 60, 100),   // 1
                               MainLine("2026-01-01 10:10:00", 1, "Osk 7", "X"), TimesLine(30, 60, 105),     // 2
                               MainLine("2026-01-01 10:20:00", 1, "Mirel 4", "X"), TimesLine(30, 60, 100),   // 3 tie
                               MainLine("2026-01-01 10:30:00", 1, "Mirel 4", "X"),                           // 4 DNF
                               MainLine("2026-01-01 10:40:00", 1, "Mirel 4", "X"), TimesLine(0, 0, 0),       // 5 zero
                               MainLine("2026-01-01 10:50:00", 1, "Osk 7", "Y"), TimesLine(30, 60, 103),     // 6
                               MainLine("2026-01-01 11:00:00", 1, "Mirel 4", "Y"), TimesLine(30, 60, 102),   // 7
                               MainLine("2026-01-01 11:10:00", 2, "Osk 7", "X"), TimesLine(20, 40, 50),      // 8
                               MainLine("2026-01-01 11:20:00", 1, "Osk 7", "X"), TimesLine(30, 60, 99.5)}),  // 9
                     d);
    StageFile stages;
    stages.FillStageListData(StageFileBytes(Stages));
    // The filter plays no part: a personal best is the best ever.
    d.Runs[1].FilteredOut = true;
    StageRunIndex index;
    index.Update(d);

    EXPECT_EQ(Text(d, index, stages, 1), "Рекорд трассы «Соляной карьер»: 1:40.00 (первый проезд)");
    EXPECT_EQ(Text(d, index, stages, 2), "Лучшее на «Osk 7» на трассе «Соляной карьер»: 1:45.00 (первый проезд)");

    EXPECT_EQ(Text(d, index, stages, 3), "«Соляной карьер»: 1:40.00, 1-е место из 3 (+0:00.00)") << "a tie is no best";

    // Unfinished runs and finishes of 0 get no result and count nowhere.
    EXPECT_FALSE(ResultOfRun(d, index, 4).Valid);
    EXPECT_FALSE(ResultOfRun(d, index, 5).Valid);
    EXPECT_EQ(Text(d, index, stages, 4), "«Соляной карьер»: не финишировал");

    EXPECT_TRUE(ResultOfRun(d, index, 6).ClassBest) << "the flags are set independently";
    EXPECT_EQ(Text(d, index, stages, 6, ","), "Лучшее на «Osk 7» на трассе «Соляной карьер»: 1:43,00 (-0:02,00)");
    EXPECT_EQ(Text(d, index, stages, 7), "Лучшее в классе «Y» на трассе «Соляной карьер»: 1:42.00 (-0:01.00)");
    EXPECT_EQ(Text(d, index, stages, 8), "Рекорд трассы «Bramble Run»: 0:50.00 (первый проезд)")
        << "another stage's runs do not count";
    EXPECT_EQ(Text(d, index, stages, 9), "Рекорд трассы «Соляной карьер»: 1:39.50 (-0:00.50)");
    EXPECT_EQ(ResultFields(ResultOfRun(d, index, 3), d, stages, ".")[7], "+0:00.00");
}

TEST(RunResult, ResultsOfTheWholeLogAreThoseOfOneRunAfterAnother) {
    std::vector<std::string> lines;
    const double finishes[] = {100, 104, 100, 99, 0, 104, 99, 101, -1, 99, 98, 104, 98};
    for (int i = 0; i < 13; ++i) {
        lines.push_back(MainLine("2026-01-01 10:" + std::to_string(10 + i) + ":00", 1 + i % 2,
                                 i % 3 ? "Mirel 4" : "Osk 7", i % 4 ? "X" : "Y"));
        if (i != 7) // an unfinished run
            lines.push_back(TimesLine(30, 60, finishes[i] + (i % 2) * 10));
    }
    RunData d;
    ReadTimesLogData(LogBytes(lines), d);
    StageRunIndex index;
    index.Update(d);
    for (const int first : {1, 6}) {
        std::vector<RunResult> oneByOne;
        for (int runNo = first; runNo <= d.RunCount; ++runNo)
            if (CountsForResult(d.Runs[static_cast<std::size_t>(runNo)]))
                oneByOne.push_back(ResultOfRun(d, index, runNo));
        EXPECT_EQ(ResultsOfRuns(d, index, first), oneByOne) << "from run " << first;
    }
}

TEST(RunResult, NoteAfterALookNamesTheNewestFinishedRun) {
    TempDir dir;
    WriteFile(dir / "trinfo.bin", StageFileBytes(Stages));
    WriteFile(dir / "zlttimes.log", LogBytes({MainLine("2026-01-01 10:00:00", 1, "Mirel 4"), TimesLine(30, 60, 100)}));
    StartupOptions opt;
    opt.DataDir = dir.Path();
    opt.Now = *ParseLogDateTime("2026-02-01 12:00:00");
    ProgramState v;
    LoadPhase(v, opt);
    v.StageIndex = 0;
    SetupPhase(v, opt);
    const auto add = [&](const std::vector<std::string>& lines) {
        std::ofstream out(dir / "zlttimes.log", std::ios::binary | std::ios::app);
        for (const std::string& line : lines)
            out << Utf8ToCp1251(line) << "\r\n";
        out.close();
        return OnLogChanged(v, opt.Now);
    };

    // Three finished, the last one still driving: the newest finished one is described.
    LogUpdate u = add({MainLine("2026-01-01 11:00:00", 1, "Mirel 4"), TimesLine(30, 60, 101),
                       MainLine("2026-01-01 11:10:00", 2, "Osk 7"), TimesLine(30, 60, 70),
                       MainLine("2026-01-01 11:20:00", 1, "Osk 7"), TimesLine(30, 60, 98),
                       MainLine("2026-01-01 11:30:00", 1, "Osk 7")});
    EXPECT_EQ(u.Note, "Новых проездов: 3. Рекорд трассы «Соляной карьер»: 1:38.00 (-0:02.00) и ещё 2");
    EXPECT_EQ(u.FirstNewRun, 2);
    EXPECT_EQ(u.NewestRun, 4);

    // Its times arrive: one new run, the one that waited.
    u = add({TimesLine(30, 60, 99)});
    EXPECT_EQ(u.Note, "«Соляной карьер»: 1:39.00, 2-е место из 4 (+0:01.00)");
    EXPECT_EQ(u.FirstNewRun, 5);
    EXPECT_EQ(u.NewestRun, 5);

    // An abandoned run is known to be unfinished once the next run starts.
    EXPECT_EQ(add({MainLine("2026-01-01 12:00:00", 2, "Osk 7")}).Note, "");
    EXPECT_EQ(add({MainLine("2026-01-01 12:10:00", 1, "Osk 7")}).Note, "«Bramble Run»: не финишировал");
}
