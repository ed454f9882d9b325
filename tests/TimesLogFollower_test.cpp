// Following the times log while the game appends to it: the reader's own view (what each
// look reads) and the program's (what the window shows after it).

#include "data/TimesLogFollower.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/StageFile.h"
#include "filter/Filter.h"
#include "session/Events.h"
#include "session/Startup.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <tuple>

#ifndef _WIN32
#include <sys/stat.h>
#endif

using namespace kel;
using namespace kel::test;

namespace {

void Append(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::app);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string Lines(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines)
        text += Utf8ToCp1251(line) + "\r\n";
    return text;
}

std::string CarOf(const RunData& d, int run) { return d.CarList.at(d.Runs.at(run).CarIdx).Name; }

// A log being written: the reader's state after each look.
struct Follow {
    TempDir dir;
    std::filesystem::path log = dir / "zlttimes.log";
    RunData data;
    TimesLogFollower follower{log};

    explicit Follow(std::string_view bytes) {
        WriteFile(log, bytes);
        follower.ReadAll(data);
    }
    TimesLogFollower::Change Add(std::string_view bytes) {
        Append(log, bytes);
        return follower.Poll(data);
    }
};

} // namespace

TEST(TimesLogFollower, HalfWrittenLinesAreReadOnceTheyEnd) {
    // The game was writing the times line when the program started: " \t212.173\t40" is not
    // a finish time of 40 s but the start of 400.5.
    Follow f(LogBytes({MainLine("2026-03-01 20:00:00", 1, "Vortan GT")}) + " \t100.25\t212.173\t40");
    ASSERT_EQ(f.data.RunCount, 1);
    EXPECT_FALSE(f.data.Runs[1].Finished);
    EXPECT_TRUE(f.follower.Poll(f.data).RunsChanged() == false) << "nothing new";

    auto c = f.Add("0.5\r");
    EXPECT_EQ(c.AddedRuns, 0);
    EXPECT_EQ(c.FinishedRuns, 1);
    ASSERT_EQ(f.data.RunCount, 1);
    EXPECT_TRUE(f.data.Runs[1].Finished);
    EXPECT_EQ(f.data.Runs[1].Split2, 212.173);
    EXPECT_EQ(f.data.Runs[1].Finish, 400.5);

    // The LF of that CR LF comes with the next write, the next main line in pieces: no empty
    // line, no run before its line ends, the times line later finishes it.
    c = f.Add("\n" + Utf8ToCp1251(MainLine("2026-03-01 20:10:00", 2, "Pelko R4")).substr(0, 25));
    EXPECT_FALSE(c.RunsChanged());
    c = f.Add(Utf8ToCp1251(MainLine("2026-03-01 20:10:00", 2, "Pelko R4")).substr(25) + "\r\n");
    EXPECT_EQ(c.AddedRuns, 1);
    EXPECT_EQ(c.FinishedRuns, 0);
    ASSERT_EQ(f.data.RunCount, 2);
    EXPECT_EQ(f.data.Runs[2].RunNo, 2);
    EXPECT_EQ(CarOf(f.data, 2), "Pelko R4");
    c = f.Add(Lines({TimesLine(50, 100, 150)}));
    EXPECT_EQ(c.FinishedRuns, 1);
    EXPECT_EQ(f.data.Runs[2].Finish, 150);
    EXPECT_EQ(f.follower.Position().Lines, 6);

    // The same bytes read at once give the same runs.
    RunData once;
    ReadTimesLog(f.log.string(), once);
    ASSERT_EQ(once.RunCount, 2);
    EXPECT_EQ(once.Runs[1].Finish, 400.5);
    EXPECT_EQ(once.Runs[2].Finish, 150);
}

TEST(TimesLogFollower, MalformedDatesAndMissingFilesAreReportedOnceAndDataIsKept) {
    Follow f(LogBytes({MainLine("2026-03-01 20:00:00", 1, "Vortan GT"), TimesLine(1, 2, 3)}));
    auto c = f.Add(Lines({MainLine("2026-03-01 20:05:00", 1, "Pelko R4"), MainLine("2026-13-45 10:00:00", 1, "Bad"),
                          TimesLine(4, 5, 6)}));
    ASSERT_TRUE(c.Failure);
    EXPECT_EQ(c.Failure->FileName(), "zlttimes.log");
    EXPECT_STREQ(c.Failure->what(), "Строка 6: неверная дата «2026-13-45 10:00:00». Строка пропущена, новые проезды "
                                    "читаются дальше.");
    EXPECT_EQ(c.AddedRuns, 1) << "the run before the bad line is read";
    EXPECT_EQ(f.data.RunCount, 2);
    EXPECT_FALSE(f.data.Runs[2].Finished) << "the bad line's times line finishes no other run";
    EXPECT_FALSE(f.follower.Poll(f.data).Failure) << "reported once";

    c = f.Add(Lines({MainLine("2026-03-01 20:20:00", 1, "Pelko R4"), TimesLine(7, 8, 9)}));
    EXPECT_FALSE(c.Failure);
    EXPECT_EQ(c.FinishedRuns, 1) << "reading goes on after the bad line";
    ASSERT_EQ(f.data.RunCount, 3);
    EXPECT_EQ(f.data.Runs[3].Finish, 9);

    // The file vanishes for a while: one message, the runs stay; back again, it is read.
    std::filesystem::rename(f.log, f.dir / "moved.log");
    c = f.follower.Poll(f.data);
    ASSERT_TRUE(c.Failure);
    EXPECT_NE(std::string(c.Failure->what()).find("Не удалось открыть файл"), std::string::npos) << c.Failure->what();
    EXPECT_FALSE(f.follower.Poll(f.data).Failure);
    EXPECT_EQ(f.data.RunCount, 3);
    std::filesystem::rename(f.dir / "moved.log", f.log);
    c = f.Add(Lines({MainLine("2026-03-01 20:30:00", 1, "Pelko R4")}));
    EXPECT_FALSE(c.Failure);
    EXPECT_EQ(f.data.RunCount, 4);

#ifndef _WIN32
    // A FIFO put in its place is refused, once, without waiting for a writer.
    std::filesystem::rename(f.log, f.dir / "moved.log");
    ASSERT_EQ(mkfifo(f.log.c_str(), 0600), 0);
    c = f.follower.Poll(f.data);
    ASSERT_TRUE(c.Failure);
    EXPECT_NE(std::string(c.Failure->what()).find("не является обычным файлом"), std::string::npos);
    EXPECT_FALSE(f.follower.Poll(f.data).Failure);
    EXPECT_EQ(f.data.RunCount, 4);
#endif
}

TEST(TimesLogFollower, ReplacedOrShrunkFilesAreReadAgainWithTheHiddenNamesFirst) {
    Follow f(LogBytes({MainLine("2026-03-01 20:00:00", 1, "Vortan GT"), TimesLine(1, 2, 3),
                       MainLine("2026-03-01 20:05:00", 1, "Pelko R4"), TimesLine(4, 5, 6),
                       MainLine("2026-03-01 20:10:00", 1, "Kest 9"), TimesLine(7, 8, 9)}));
    f.data.CarList[1].FiltOn = true; // "Pelko R4" hidden
    f.data.WetnessList[2].FiltOn = true;

    // A shorter file written over the old one.
    WriteFile(f.log, LogBytes({MainLine("2026-04-01 10:00:00", 2, "Kest 9"), TimesLine(10, 20, 30),
                               MainLine("2026-04-01 10:05:00", 2, "Pelko R4"), TimesLine(11, 21, 31)}));
    auto c = f.follower.Poll(f.data);
    EXPECT_TRUE(c.Reread);
    EXPECT_FALSE(c.Failure);
    ASSERT_EQ(f.data.RunCount, 2);
    EXPECT_EQ(f.data.Runs[1].Finish, 30);
    EXPECT_EQ(CarOf(f.data, 2), "Pelko R4");
    ASSERT_EQ(f.data.CarList.size(), 2u);
    EXPECT_EQ(f.data.CarList[0].Name, "Pelko R4") << "the hidden name comes first, as from the saved filter";
    EXPECT_TRUE(f.data.CarList[0].FiltOn);
    EXPECT_TRUE(f.data.WetnessList[2].FiltOn);

    // A file of the same length whose start changed, put in place by a rename.
    const std::string same = LogBytes({MainLine("2026-04-01 10:00:00", 3, "Kest 9"), TimesLine(10, 20, 30),
                                       MainLine("2026-04-01 10:05:00", 2, "Pelko R4"), TimesLine(11, 21, 31)});
    WriteFile(f.dir / "new.log", same);
    std::filesystem::rename(f.dir / "new.log", f.log);
    c = f.follower.Poll(f.data);
    EXPECT_TRUE(c.Reread);
    EXPECT_EQ(f.data.Runs[1].StageNo, 3);

    // A replacement that fails as at start-up keeps the data and is reported once; when it
    // is written again properly it is read.
    WriteFile(f.log, LogBytes({MainLine("2026-02-30 10:00:00", 1, "Kest 9")}));
    c = f.follower.Poll(f.data);
    ASSERT_TRUE(c.Failure);
    EXPECT_STREQ(c.Failure->what(), "Строка 3: неверная дата «2026-02-30 10:00:00».");
    EXPECT_EQ(f.data.RunCount, 2);
    EXPECT_FALSE(f.follower.Poll(f.data).Failure);
    Append(f.log, Lines({TimesLine(1, 2, 3)}));
    EXPECT_FALSE(f.follower.Poll(f.data).Failure) << "the same failure again";
    WriteFile(f.log, LogBytes({MainLine("2026-02-28 10:00:00", 1, "Kest 9")}));
    c = f.follower.Poll(f.data);
    EXPECT_TRUE(c.Reread);
    EXPECT_EQ(f.data.RunCount, 1);
}

TEST(TimesLogFollower, ReadingInPiecesGivesTheRunsOfOneReading) {
    const std::string sample = ReadFile(KELVARA_SOURCE_DIR "/sample/zlttimes.log");
    std::mt19937 random(20260401);
    for (const std::string_view end : {"\r\n", "\n", "\r"}) {
        std::string text;
        for (std::size_t i = 0; i < sample.size(); ++i) {
            if (sample.compare(i, 2, "\r\n") == 0) {
                text += end;
                ++i;
            } else {
                text += sample[i];
            }
        }
        SCOPED_TRACE(end.size());
        RunData whole;
        ReadTimesLogData(text, whole);

        // Pieces cut anywhere, also between a CR and its LF and within the header.
        std::vector<std::size_t> cuts{1, 30, text.find('\n') == std::string::npos ? 5 : text.find('\n')};
        for (int i = 0; i < 40; ++i)
            cuts.push_back(std::uniform_int_distribution<std::size_t>(0, text.size())(random));
        std::sort(cuts.begin(), cuts.end());
        Follow f(text.substr(0, cuts[0]));
        for (std::size_t i = 0; i < cuts.size(); ++i)
            f.Add(text.substr(cuts[i], (i + 1 < cuts.size() ? cuts[i + 1] : text.size()) - cuts[i]));

        // ... and so does the file read in blocks at once.
        RunData blocks;
        ReadTimesLog(f.log.string(), blocks);
        for (const RunData* d : {&f.data, &blocks}) {
            ASSERT_EQ(d->RunCount, whole.RunCount);
            EXPECT_EQ(d->FinishedCount, whole.FinishedCount);
            for (int r = 1; r <= whole.RunCount; ++r) {
                const RunRecord &a = d->Runs[r], &b = whole.Runs[r];
                ASSERT_EQ(std::tie(a.RunNo, a.StageNo, a.StartTime, a.Finished, a.Split1, a.Split2, a.Finish,
                                   a.CarIdx, a.ClassIdx, a.ProfIdx, a.Tyres),
                          std::tie(b.RunNo, b.StageNo, b.StartTime, b.Finished, b.Split1, b.Split2, b.Finish,
                                   b.CarIdx, b.ClassIdx, b.ProfIdx, b.Tyres))
                    << "run " << r;
            }
            ASSERT_EQ(d->CarList.size(), whole.CarList.size());
            for (std::size_t i = 0; i < whole.CarList.size(); ++i)
                EXPECT_EQ(d->CarList[i].Name, whole.CarList[i].Name);
        }
    }

    // A line longer than a whole block of reading is skipped like any overlong line, also
    // when it arrives in pieces.
    const std::string longLine = std::string(300000, 'x') + "\t" + std::string(100000, 'y') + "\r\n";
    Follow f(LogBytes({MainLine("2026-03-01 20:00:00", 1, "Vortan GT"), TimesLine(1, 2, 3)}) +
             longLine.substr(0, 200000));
    f.Add(longLine.substr(200000) + Lines({MainLine("2026-03-01 20:05:00", 2, "Pelko R4"), TimesLine(4, 5, 6)}));
    RunData once;
    ReadTimesLog(f.log.string(), once);
    for (const RunData* d : {&f.data, &once}) {
        ASSERT_EQ(d->RunCount, 2);
        EXPECT_EQ(d->Runs[2].Finish, 6);
    }
    EXPECT_EQ(f.follower.Position().Lines, 7);
}

TEST(DataFiles, OnlyRegularFilesOfASaneSizeAreRead) {
    TempDir dir;
    RunData d;
    const auto reason = [&](const std::filesystem::path& path) -> std::string {
        try {
            ReadTimesLog(path.string(), d);
        } catch (const LoadError& e) {
            EXPECT_EQ(e.FileName(), "zlttimes.log");
            return e.what();
        }
        return "no error";
    };
    EXPECT_EQ(reason(dir.Path()), "Файл " + dir.Path().string() + " не является обычным файлом.");
    EXPECT_EQ(reason(dir / "zlttimes.log"),
              "Не удалось открыть файл " + (dir / "zlttimes.log").string() + ": Нет такого файла или папки.");
#ifndef _WIN32
    ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(reason(dir / "fifo"), "Файл " + (dir / "fifo").string() + " не является обычным файлом.");
    EXPECT_EQ(reason("/dev/zero"), "Файл /dev/zero не является обычным файлом.");
    StageFile stages;
    EXPECT_THROW(stages.FillStageList((dir / "fifo").string()), LoadError);

    // A sparse file takes no room on the disk.
    { std::ofstream(dir / "huge.log"); }
    std::filesystem::resize_file(dir / "huge.log", (uint64_t{2} << 30) + 1);
    EXPECT_EQ(reason(dir / "huge.log"), "Файл " + (dir / "huge.log").string() +
                                            " слишком велик: 2,0 ГБ (2147483649 байт). Читаются файлы не больше 2 ГБ.");
#endif
}

namespace {

// The program started on a log, showing stage 1 ordered by finish time.
struct Live {
    TempDir dir;
    StartupOptions opt;
    ProgramState v;
    double now = *ParseLogDateTime("2026-03-02 12:00:00");

    explicit Live(const std::vector<std::string>& lines) {
        WriteFile(dir / "trinfo.bin", StageFileBytes({{1, "Верхний перевал", 12.0f, "", ""},
                                                      {2, "Lowland Loop", 6.0f, "", ""}}));
        WriteFile(dir / "zlttimes.log", LogBytes(lines));
        opt.DataDir = dir.Path();
        opt.Now = now;
        LoadPhase(v, opt);
        v.StageIndex = 1; // the list is sorted: "Lowland Loop", "Верхний перевал"
        v.Disp.TypeSort = 5; // finish
        SetupPhase(v, opt);
    }
    LogUpdate Add(const std::vector<std::string>& lines) {
        Append(dir / "zlttimes.log", Lines(lines));
        return OnLogChanged(v, now);
    }
    int32_t CursorRun() const { return v.Sel.Selection.at(v.Disp.SelCur).RunNo; }
};

std::vector<std::string> ThreeRuns() {
    return {MainLine("2026-03-01 20:00:00", 1, "Vortan GT"), TimesLine(100, 200, 300),
            MainLine("2026-03-01 20:10:00", 1, "Pelko R4"), TimesLine(110, 210, 310),
            MainLine("2026-03-01 20:20:00", 2, "Vortan GT"), TimesLine(50, 100, 150)};
}

} // namespace

TEST(LiveLog, NewRunsTakeTheirSortedPlaceAndTheCursorStaysOnItsRun) {
    Live live(ThreeRuns());
    ASSERT_EQ(live.v.Sel.SelCount, 2);
    live.v.Disp.SelCur = 2;
    ASSERT_EQ(live.CursorRun(), 2);

    // Two faster runs on the stage shown and one elsewhere; one not finished yet.
    LogUpdate u = live.Add({MainLine("2026-03-01 21:00:00", 1, "Kest 9"), TimesLine(90, 180, 280),
                            MainLine("2026-03-01 21:10:00", 2, "Kest 9"), TimesLine(40, 90, 140),
                            MainLine("2026-03-01 21:20:00", 1, "Vortan GT"), TimesLine(80, 170, 260),
                            MainLine("2026-03-01 21:30:00", 1, "Vortan GT")});
    EXPECT_EQ(u.NewRuns, 3);
    EXPECT_FALSE(u.Failure);
    ASSERT_TRUE(u.Texts);
    EXPECT_EQ(live.v.StageIndex, 1);
    ASSERT_EQ(live.v.Sel.SelCount, 4);
    EXPECT_EQ(live.CursorRun(), 2);
    EXPECT_EQ(live.v.Disp.SelCur, 4) << "both new runs sort above it";
    EXPECT_EQ(u.Texts->Table.RowCount, 4);
    EXPECT_EQ(u.Texts->Stage.Runs, "4");

    // Nothing new: nothing to show again.
    EXPECT_FALSE(OnLogChanged(live.v, live.now).Texts);

    // All stages: the stage list follows the cursor's run.
    live.v.Disp.AllStages = true;
    OnAllStagesChanged(live.v);
    OnCursorMoved(live.v, 3); // the selection in log order: run 3, on the other stage
    ASSERT_EQ(live.CursorRun(), 3);
    live.Add({MainLine("2026-03-01 22:00:00", 1, "Kest 9"), TimesLine(10, 20, 30)});
    EXPECT_EQ(live.CursorRun(), 3);
    EXPECT_EQ(live.v.Disp.SelCur, 3) << "ordered by finish: runs 8, 5, 3, ...";
    EXPECT_EQ(live.v.StageList.at(live.v.StageIndex), Utf8ToCp1251("Lowland Loop"));
}

TEST(LiveLog, NewNamesJoinTheListsAndTheFilterInForceStillApplies) {
    Live live(ThreeRuns());
    // Hide "Pelko R4" and keep the last 24 hours before the start moment.
    live.v.Data.CarList[1].FiltOn = true;
    live.v.Filter.ActiveDateFilter = {.Krit = 0, .Kol = 24, .HMS = 0};
    SetLastPeriod(live.v.Filter.ActiveDateFilter, 24, 0, live.now);
    OnFilterClosed(live.v);
    ASSERT_EQ(live.v.Sel.SelCount, 1);

    live.now += 1.0 / 24; // an hour later
    LogUpdate u = live.Add({MainLine("2026-03-02 12:30:00", 1, "Arvo 1"), TimesLine(90, 180, 280),
                            MainLine("2026-03-02 12:40:00", 1, "Pelko R4"), TimesLine(80, 170, 260)});
    EXPECT_EQ(u.NewRuns, 2);
    const NameList& cars = live.v.Data.CarList;
    ASSERT_EQ(cars.size(), 3u);
    EXPECT_EQ(cars[2].Name, "Arvo 1");
    EXPECT_EQ(cars[2].Rank, 1);
    EXPECT_EQ(cars[1].Rank, 2);
    EXPECT_EQ(cars[0].Rank, 3);
    EXPECT_TRUE(cars[1].FiltOn);
    ASSERT_EQ(live.v.Sel.SelCount, 2) << "the new run newer than the start moment passes, the hidden car does not";
    EXPECT_EQ(live.v.Sel.Selection[1].RunNo, 4);
    EXPECT_EQ(live.v.Filter.ActiveDateFilter.toDate, live.now);

    // The file replaced by a shorter one: read again, the hidden car still hidden.
    WriteFile(live.dir / "zlttimes.log", LogBytes({MainLine("2026-03-02 12:50:00", 1, "Pelko R4"),
                                                   TimesLine(1, 2, 3), MainLine("2026-03-02 12:55:00", 1, "Zeno"),
                                                   TimesLine(1, 2, 4)}));
    u = OnLogChanged(live.v, live.now);
    EXPECT_TRUE(u.Reread);
    ASSERT_TRUE(u.Texts);
    ASSERT_EQ(live.v.Data.CarList.size(), 2u);
    EXPECT_EQ(live.v.Data.CarList[0].Name, "Pelko R4");
    EXPECT_TRUE(live.v.Data.CarList[0].FiltOn);
    ASSERT_EQ(live.v.Sel.SelCount, 1);
    EXPECT_EQ(live.v.Data.CarList.at(live.v.Sel.Selection[1].CarIdx).Name, "Zeno");

    // A failure comes as the load message, once.
    u = live.Add({MainLine("2026-02-30 10:00:00", 1, "Zeno")});
    ASSERT_TRUE(u.Failure);
    EXPECT_EQ(u.Failure->Text.rfind("У вас какая-то хренотень в файле zlttimes.log", 0), 0u);
    EXPECT_FALSE(u.Texts);
    EXPECT_FALSE(OnLogChanged(live.v, live.now).Failure);
}
