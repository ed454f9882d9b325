#include "session/Events.h"
#include "session/Startup.h"

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <limits>
#include <set>
#include <sstream>

using namespace kel;
using namespace kel::test;

namespace {

// Two stages of different lengths, runs of both interleaved in the log.
struct Fixture {
    TempDir dir;
    StartupOptions opt;

    explicit Fixture(const std::vector<std::string>& logLines,
                     std::vector<StageSpec> stages = {{1, "Верхний перевал", 12.0f, "Серпантин ", "над озером"},
                                                      {2, "Lowland Loop", 6.0f, "Flat and fast", ""}}) {
        WriteFile(dir / "trinfo.bin", StageFileBytes(stages));
        WriteFile(dir / "zlttimes.log", LogBytes(logLines));
        opt.DataDir = dir.Path();
        opt.SettingsPath = dir / "Kelvara.ini";
        opt.ProgramDir = dir.Path().string() + "/";
        opt.Now = *ParseLogDateTime("2026-06-01 12:00:00");
    }
};

std::vector<std::string> MixedLog() {
    return {MainLine("2026-01-05 18:00:00", 1, "Vortan GT"), TimesLine(200, 400, 600),   // stage 1
            MainLine("2026-01-05 18:20:00", 2, "Vortan GT"), TimesLine(100, 200, 300),   // stage 2
            MainLine("2026-01-06 19:00:00", 1, "Pelko R4"), TimesLine(190, 390, 590),    // stage 1
            MainLine("2026-01-06 19:30:00", 2, "Pelko R4"), TimesLine(90, 180, 250)};    // stage 2, fastest
}

} // namespace

TEST(Startup, MissingFilesAreReportedLogFirst) {
    TempDir dir;
    auto msg = CheckDataFiles(dir.Path());
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg->Text, "Ошибка чтения файла zlttimes.log. Убедитесь, что он существует и доступен");
    EXPECT_EQ(msg->Caption, "Ошибка");

    WriteFile(dir / "zlttimes.log", LogBytes({}));
    msg = CheckDataFiles(dir.Path());
    ASSERT_TRUE(msg);
    EXPECT_EQ(msg->Text, "Ошибка чтения файла trinfo.bin. Убедитесь, что он существует и доступен");

    WriteFile(dir / "trinfo.bin", StageFileBytes({{1, "Сосновый бор", 5.0f, "", ""}}));
    EXPECT_FALSE(CheckDataFiles(dir.Path()));
}

TEST(Startup, LoadFailuresNameTheFileAndLeaveTheSettingsAlone) {
    {
        Fixture f({MainLine("2026-02-30 10:00:00", 1, "Vortan GT")});
        WriteFile(f.dir / "Kelvara.ini", "[Visparam]\r\nPrCur=7\r\n");
        ProgramState v;
        try {
            LoadPhase(v, f.opt);
            FAIL() << "a malformed date must fail the load";
        } catch (const LoadError& e) {
            EXPECT_EQ(e.FileName(), "zlttimes.log");
            EXPECT_TRUE(LoadFailureMessage(e).Text.starts_with("У вас какая-то хренотень в файле zlttimes.log. "
                                                               "Проверьте, тот ли вообще файл вы подгрузили\n\n"));
            EXPECT_NE(LoadFailureMessage(e).Text.find("2026-02-30 10:00:00"), std::string::npos) << "the reason";
        }
        EXPECT_EQ(ReadFile(f.dir / "Kelvara.ini"), "[Visparam]\r\nPrCur=7\r\n");
    }
    {
        Fixture f(MixedLog());
        std::string bytes = StageFileBytes({{1, "Сосновый бор", 5.0f, "", ""}});
        bytes.pop_back();
        WriteFile(f.dir / "trinfo.bin", bytes);
        ProgramState v;
        try {
            LoadPhase(v, f.opt);
            FAIL() << "a truncated stage file must fail the load";
        } catch (const LoadError& e) {
            EXPECT_EQ(LoadFailureMessage(e).Text, "У вас какая-то хренотень в файле trinfo.bin. Проверьте, тот ли "
                                                  "вообще файл вы подгрузили\n\n"
                                                  "Размер файла 1095 байт не кратен длине записи 548 байт.");
        }
    }
}

TEST(Startup, NoticesForEmptyLogsAndLogsWithoutFinishedRuns) {
    {
        Fixture f({});
        ProgramState v;
        LoadPhase(v, f.opt);
        SetupPhase(v, f.opt);
        auto notice = ClosingNotice(v);
        ASSERT_TRUE(notice);
        EXPECT_NE(notice->Text.find("ниодного проезда"), std::string::npos);
        EXPECT_EQ(notice->Caption, "Kelvara 2.2");
    }
    {
        Fixture f({MainLine("2026-01-05 18:00:00", 1, "Vortan GT"), MainLine("2026-01-05 18:10:00", 1, "Vortan GT")});
        ProgramState v;
        LoadPhase(v, f.opt);
        const DisplayTexts t = SetupPhase(v, f.opt);
        EXPECT_EQ(v.Data.RunCount, 2);
        EXPECT_EQ(v.Sel.SelCount, 0);
        auto notice = ClosingNotice(v);
        ASSERT_TRUE(notice);
        EXPECT_NE(notice->Text.find("успешного проезда"), std::string::npos);
        EXPECT_EQ(t.Table.RowCount, 0);
    }
    {
        Fixture f(MixedLog());
        ProgramState v;
        LoadPhase(v, f.opt);
        SetupPhase(v, f.opt);
        EXPECT_FALSE(ClosingNotice(v));
    }
}

TEST(Startup, StoredStageIndexAndCursorOutsideTheirRangesAreGuarded) {
    Fixture f(MixedLog());
    WriteFile(f.dir / "Kelvara.ini", "[Visparam]\r\nTrCur=57\r\nPrCur=40\r\n");
    ProgramState v;
    LoadPhase(v, f.opt);
    EXPECT_EQ(v.StageIndex, 0);
    const DisplayTexts t = SetupPhase(v, f.opt);
    // The stage list is alphabetical: "Lowland Loop" (Latin) before "Верхний перевал".
    EXPECT_EQ(v.Sel.CurrentStage, 2);
    EXPECT_EQ(v.Sel.SelCount, 2);
    EXPECT_EQ(v.Disp.SelCur, 2);
    EXPECT_EQ(t.Status.Cursor, "Позиция курсора:  2");
    EXPECT_NE(t.Status.Date.find("06.01.2026"), std::string::npos);
}

TEST(Startup, AllStagesPanelsDescribeTheRunUnderTheCursorAfterOrdering) {
    Fixture f(MixedLog());
    WriteFile(f.dir / "Kelvara.ini", "[Visparam]\r\nAllTrack=1\r\nOtnos=1\r\nPrCur=1\r\n[Sort]\r\nTypeSort=5\r\n");
    ProgramState v;
    LoadPhase(v, f.opt);
    const DisplayTexts t = SetupPhase(v, f.opt);
    EXPECT_FALSE(v.Disp.Relative);
    ASSERT_EQ(v.Sel.SelCount, 4);
    // Fastest finish first: the 250 s run of the 6 km stage.
    EXPECT_EQ(v.Sel.Selection[1].Finish, 250);
    EXPECT_EQ(v.Sel.CurrentStage, 2);
    EXPECT_EQ(v.Stages.Buffer.StageNo, 2);
    EXPECT_EQ(t.Status.Speed, "Средн. скорость проезда:  86.40 км/ч");
    EXPECT_EQ(t.Stage.Runs, "2");
}

TEST(Startup, HeaderClicksReverseTheSortedColumnAndKeepTheDirectionForANewOne) {
    Fixture f(MixedLog());
    ProgramState v;
    LoadPhase(v, f.opt);
    SetupPhase(v, f.opt);
    OnHeaderClick(v, 5);
    EXPECT_EQ(v.Disp.UpOrDown, 1);
    OnHeaderClick(v, 5);
    EXPECT_EQ(v.Disp.UpOrDown, 0);
    EXPECT_EQ(v.Sel.Selection[1].Finish, 300);
    OnHeaderClick(v, 3);
    EXPECT_EQ(v.Disp.TypeSort, 3);
    EXPECT_EQ(v.Disp.UpOrDown, 0);
}

TEST(Startup, SavedFilterSurvivesARestartAndNamesOnlyTheFilterKnewAreDropped) {
    Fixture f(MixedLog());
    WriteFile(f.dir / "Kelvara.ini",
              "[FiltCar]\r\nNumFCars=2\r\nCar0=Ghost Racer\r\nCar1=Pelko R4\r\n[FiltDT]\r\nKrit=1\r\n"
              "fromDate=46000\r\ntoDate=46100\r\n");
    ProgramState v;
    LoadPhase(v, f.opt);
    const DisplayTexts t = SetupPhase(v, f.opt);
    ASSERT_EQ(v.Data.CarList.size(), 2u);
    for (int i = 1; i <= v.Data.RunCount; ++i)
        EXPECT_EQ(Cp1251ToUtf8(v.Data.CarList[v.Data.Runs[i].CarIdx].Name), i <= 2 ? "Vortan GT" : "Pelko R4");
    EXPECT_TRUE(v.Filter.FilterActive);
    EXPECT_EQ(v.Sel.SelCount, 1);
    EXPECT_EQ(t.Game.Finished, "2");

    ASSERT_EQ(SaveSettingsFile(v, f.opt.SettingsPath), "");
    ProgramState again;
    LoadPhase(again, f.opt);
    SetupPhase(again, f.opt);
    EXPECT_EQ(again.Filter.ActiveDateFilter.Krit, 1);
    EXPECT_EQ(again.Sel.SelCount, 1);
    ASSERT_EQ(again.Data.CarList.size(), 2u);
    EXPECT_EQ(Cp1251ToUtf8(again.Data.CarList[0].Name), "Pelko R4");
    EXPECT_TRUE(again.Data.CarList[0].FiltOn);
}

TEST(Startup, StagesWithoutARecordOrWithALengthThatCannotBeRealAreReportedOnce) {
    Fixture f({MainLine("2026-01-05 18:00:00", 9, "Vortan GT"), TimesLine(10, 20, 30),
               MainLine("2026-01-05 18:05:00", 9, "Vortan GT"), TimesLine(10, 20, 30)});
    ProgramState v;
    LoadPhase(v, f.opt);
    SetupPhase(v, f.opt);
    auto notice = MissingStagesNotice(v);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->Text, "В файле trinfo.bin нет описания трассы с номером 9. Ее длина считается равной нулю, а "
                            "проезды по ней показываются без названия трассы");
    EXPECT_FALSE(MissingStagesNotice(v));
    EXPECT_EQ(v.Data.FinishedCount, 2);

    // A damaged length spoils only its own stage: the game's distance counts the others.
    Fixture g(MixedLog(), {{1, "Верхний перевал", std::numeric_limits<float>::quiet_NaN(), "", ""},
                           {2, "Lowland Loop", 6.0f, "", ""},
                           {3, "Unused Track", -4.0f, "", ""}});
    WriteFile(g.dir / "zlttimes.log", LogBytes({MainLine("2026-01-05 18:00:00", 1, "Vortan GT"), TimesLine(200, 400, 600),
                                                MainLine("2026-01-05 18:20:00", 2, "Vortan GT"), TimesLine(100, 200, 300),
                                                MainLine("2026-01-05 18:40:00", 7, "Vortan GT"), TimesLine(100, 200, 300)}));
    ProgramState w;
    LoadPhase(w, g.opt);
    const DisplayTexts t = SetupPhase(w, g.opt);
    EXPECT_EQ(t.Game.Distance, "6.0 км");
    notice = MissingStagesNotice(w);
    ASSERT_TRUE(notice);
    EXPECT_EQ(notice->Text, "В файле trinfo.bin нет описания трассы с номером 7, а у трасс с номерами 1, 3 указана "
                            "невозможная длина. Их длина считается равной нулю, а проезды по трассам без описания "
                            "показываются без названия трассы");
}

TEST(Startup, SettingsOfTheRussianInterfaceComeBackUnchangedFromTheEnglishOne) {
    Fixture f(MixedLog());
    WriteFile(f.dir / "Kelvara.ini",
              Utf8ToCp1251("[FiltCar]\r\nNumFCars=1\r\nCar0=Pelko R4\r\n[FiltDT]\r\nKrit=1\r\nfromDate=46000,5\r\n"
                           "toDate=46100,25\r\n[Export]\r\nFolder=/дом/заезды\r\n[Interface]\r\nLanguage=ru\r\n"));
    auto startAndSave = [&](Language language) {
        ProgramState v;
        v.Conv = {language, ","};
        LoadPhase(v, f.opt);
        SetupPhase(v, f.opt);
        EXPECT_EQ(v.Config.Language, "ru");
        EXPECT_EQ(SaveSettingsFile(v, f.opt.SettingsPath), "");
        // A rewritten section moves to the file's end: the lines count, not their order.
        std::multiset<std::string> lines;
        std::istringstream in(ReadFile(f.opt.SettingsPath));
        for (std::string line; std::getline(in, line);) {
            if (line.ends_with('\r')) // Windows ends the lines with CR LF
                line.pop_back();
            lines.insert(line);
        }
        return lines;
    };
    const auto russian = startAndSave(Language::Russian);
    EXPECT_TRUE(russian.contains("Car0=Pelko R4") && russian.contains("fromDate=46000,5") &&
                russian.contains(Utf8ToCp1251("Folder=/дом/заезды")));
    EXPECT_EQ(startAndSave(Language::English), russian);
    EXPECT_EQ(startAndSave(Language::Russian), russian);
}
