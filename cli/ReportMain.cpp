// kelvara-report: what the window shows, printed as text (UTF-8), TSV or CSV.
//
//   kelvara-report [options] stages|runs|table|stage|game|status|progress|bests|results

#include "cli/ReportOutput.h"
#include "cli/ReportRuns.h"
#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "data/Texts.h"
#include "session/Events.h"
#include "session/Startup.h"
#include "data/ValueTables.h"
#include "filter/Filter.h"
#include "progress/ProgressFigures.h"
#include "progress/ProgressTexts.h"
#include "settings/IniFile.h"
#include "settings/Settings.h"
#include "stats/RunResult.h"
#include "table/CellText.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

using namespace kel;

namespace {




int Fail(const std::string& text, int code) {
    std::cerr << text << '\n';
    return code;
}

Language lang = Language::Russian; // the language of the messages and the text output

int BadUsage(const std::string& text) {
    std::cerr << text << "\n\n" << Text(TextId::ReportUsage, lang);
    return 2;
}

std::optional<long> WholeNumber(const std::string& s) {
    if (s.empty() || s.size() > 9)
        return std::nullopt;
    for (char c : s)
        if (c < '0' || c > '9')
            return std::nullopt;
    return std::stol(s);
}

std::string UserDecimalSeparator() {
    std::setlocale(LC_NUMERIC, "");
    const lconv* lc = std::localeconv();
    std::string sep = lc && lc->decimal_point && *lc->decimal_point ? lc->decimal_point : ".";
    std::setlocale(LC_NUMERIC, "C"); // our own machine-readable numbers always use "."
    return sep;
}

// The language of the text output and the messages: --lang, then the "Language" key of the
// settings file named by --filter, then the locale's environment.
Language ReportLanguage(const std::vector<std::string>& args) {
    std::string commandLine, setting;
    for (std::size_t i = 0; i + 1 < args.size(); ++i) {
        if (args[i] == "--lang")
            commandLine = args[i + 1];
        else if (args[i] == "--filter" && std::filesystem::is_regular_file(args[i + 1]))
            setting = IniFile(args[i + 1], args[i + 1]).ReadString(InterfaceSection, LanguageKey, "");
        static const std::set<std::string> withValue{"--dir",  "--filter", "--now",    "--stage", "--sort",
                                                     "--numbers", "--cursor", "--format", "--by", "--lang"};
        if (withValue.contains(args[i]))
            ++i; // its value is no option
    }
    std::string system;
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"})
        if (const char* value = std::getenv(name); value && *value) {
            system = value;
            break;
        }
    return ChooseLanguage(commandLine, setting, system);
}

// The text form keeps the run's own twelve columns; TSV and CSV add the stage and the date
// (as in the log; empty for a run without one) and name the time columns after sectors in
// the by-sectors mode.
void PrintTable(ReportOutput& out, TableSnapshot snap) {
    const bool text = out.Format() == ReportFormat::Text;
    // Fields for other programs are the same in every language.
    if (!text)
        snap.Conv.Lang = Language::Russian;
    const bool sectors = snap.BySectors && !text;
    std::vector<std::string_view> names{"run",     "car",     "class",       sectors ? "sector1" : "split1",
                                        sectors ? "sector2" : "split2", sectors ? "sector3" : "finish",
                                        "wetness", "surface_age", "tyres", "damage", "weather", "profile"};
    if (!text)
        names.insert(names.end(), {"stage", "date"});
    out.Header(names);
    std::string cell;
    for (int row = 1; row <= snap.RowCount && out.Ok(); ++row) {
        for (int col = 0; col < StageColumn; ++col) {
            CellText(snap, row, col, cell);
            out.Field(cell);
        }
        if (!text) {
            CellText(snap, row, StageColumn, cell);
            out.Field(cell);
            const double start = snap.Sel->Selection[static_cast<std::size_t>(row)].StartTime;
            out.Field(start == 0 ? std::string() : FormatLogDateTime(start));
        }
        out.EndRow();
    }
}

void PrintProgress(ReportOutput& out, const ProgressFigures& f, const RunData& d, NumberMode numbers,
                   const std::string& dec) {
    const auto& names = ProgressFieldNames();
    out.Header(std::vector<std::string_view>(names.begin(), names.end()));
    for (const ProgressPoint& p : f.Points) {
        if (!out.Ok())
            break;
        out.Row(ProgressFields(p, d, numbers, dec));
    }
}

void PrintBests(ReportOutput& out, const ProgressFigures& f, const RunData& d, NumberMode numbers,
                const std::string& dec) {
    std::vector<std::string_view> names;
    for (int column = 0; column < BestsColumnCount; ++column)
        names.push_back(BestsFieldName(column, f.Grouping));
    out.Header(names);
    for (const BestsRow& row : f.Bests)
        out.Row(BestsRowTexts(row, d, f.Grouping, numbers, dec, DateStyle::Log));
}

// The end of every run that printed something: a failed write is an error, never a success.
int CloseOutput(ReportOutput& out) {
    const std::string failure = out.Close(lang);
    if (out.ReaderClosed())
        return EndAsClosedPipe();
    if (failure.empty())
        return 0;
    return Fail(failure, 1);
}

// The texts of the stage panel, the game panel or the status bar.
void PrintPanel(ReportOutput& out, const std::string& command, const DisplayTexts& t, const ProgramState& v) {
    if (command == "stage") {
        const StageRecord& s = v.Stages.Buffer;
        auto rows = [](const std::array<int32_t, 4>& a) {
            return std::to_string(a[1]) + ' ' + std::to_string(a[2]) + ' ' + std::to_string(a[3]);
        };
        out.Record({{"length", t.Stage.Length},
                    {"distance", t.Stage.Distance},
                    {"runs", t.Stage.Runs},
                    {"number", t.Stage.Number},
                    {"combined", t.Stage.Combined},
                    {"best", t.Stage.Best},
                    {"worst", t.Stage.Worst},
                    {"average", t.Stage.Average},
                    {"speed", t.Stage.Speed},
                    {"description", Cp1251ToUtf8(s.StageDesc1 + s.StageDesc2)},
                    {"best_time_rows", rows(v.Disp.BestTimeRow)},
                    {"best_sector_rows", rows(v.Disp.BestSectorRow)}});
    } else if (command == "game") {
        out.Record({{"total_time", t.Game.TotalTime},
                    {"distance", t.Game.Distance},
                    {"speed", t.Game.Speed},
                    {"finished", t.Game.Finished},
                    {"share", t.Game.Share}});
    } else {
        out.Record({{"cursor", t.Status.Cursor}, {"date", t.Status.Date}, {"speed", t.Status.Speed}});
    }
}

// The result of each counting run numbered from `first` on, as if it had just arrived.
void PrintResults(ReportOutput& out, ProgramState& v, int32_t first) {
    v.RunIndex.Update(v.Data);
    const bool text = out.Format() == ReportFormat::Text;
    for (const RunResult& r : ResultsOfRuns(v.Data, v.RunIndex, first)) {
        if (!out.Ok())
            break;
        const auto fields = ResultFields(r, v.Data, v.Stages, v.Conv.DecimalSep);
        if (text)
            out.Row(std::array<std::string, 2>{fields[0], ResultText(r, v.Data, v.Stages, v.Conv)});
        else
            out.Row(fields);
    }
}

void ResultsHeader(ReportOutput& out) {
    if (out.Format() == ReportFormat::Text) {
        out.Header({"time", "result"});
        return;
    }
    const auto& names = ResultFieldNames();
    out.Header(std::vector<std::string_view>(names.begin(), names.end()));
}

// Looks at the log about twice a second and prints the report again whenever new complete
// runs arrive, until the program is interrupted or the output fails.
int FollowLog(ReportOutput& out, ProgramState& v, const std::string& command, std::optional<double> fixedNow) {
    for (;;) {
        out.Push();
        if (!out.Ok())
            return CloseOutput(out);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        const LogUpdate update = OnLogChanged(v, fixedNow ? *fixedNow : NowDateTime());
        if (update.Failure)
            std::cerr << update.Failure->Text << std::endl;
        if (auto notice = MissingStagesNotice(v))
            std::cerr << notice->Text << std::endl;
        if (command == "results") {
            if (update.FirstNewRun > 0)
                PrintResults(out, v, update.FirstNewRun);
        } else if (update.Texts && (update.NewRuns > 0 || update.Reread)) {
            if (out.Format() == ReportFormat::Text)
                out.Raw("\n");
            PrintPanel(out, command, *update.Texts, v);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_CTYPE, "");
    const std::string dec = UserDecimalSeparator();
    const std::vector<std::string> args(argv + 1, argv + argc);
    lang = ReportLanguage(args);
    // A reader that stops early (`kelvara-report runs | head`) ends the tool without a message.
    EndQuietlyWhenReaderCloses();

    StartupOptions opt;
    opt.DataDir = ".";
    std::optional<std::string> stageName, command, nowText;
    bool all = false, desc = false, sectors = false, relative = false, follow = false;
    long sortCol = 0, cursor = 1;
    NumberMode numbers = NumberMode::Unchecked;
    ReportFormat format = ReportFormat::Text;
    bool header = false;
    std::optional<ProgressGrouping> grouping;

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            (void)name;
            return args[++i];
        };
        if (a == "--dir" || a == "--filter" || a == "--now" || a == "--stage" || a == "--sort" ||
            a == "--numbers" || a == "--cursor" || a == "--format" || a == "--by" || a == "--lang") {
            auto v = value(a.c_str());
            if (!v)
                return BadUsage(Text(TextId::OptionNeedsValue, lang, {a}));
            if (a == "--dir") opt.DataDir = *v;
            else if (a == "--filter") opt.FilterPath = *v;
            else if (a == "--now") nowText = *v;
            else if (a == "--lang") {
                if (!LanguageByName(*v))
                    return BadUsage(Text(TextId::UnknownLanguage, lang, {*v}));
            }
            else if (a == "--stage") stageName = *v;
            else if (a == "--sort") {
                auto n = WholeNumber(*v);
                if (!n || *n >= ColumnCount)
                    return BadUsage(Text(TextId::BadSortColumn, lang, {*v}));
                sortCol = *n;
            } else if (a == "--cursor") {
                auto n = WholeNumber(*v);
                if (!n || *n < 1)
                    return BadUsage(Text(TextId::BadCursorRow, lang, {*v}));
                cursor = *n;
            } else if (a == "--format") {
                if (*v == "text") format = ReportFormat::Text;
                else if (*v == "tsv") format = ReportFormat::Tsv;
                else if (*v == "csv") format = ReportFormat::Csv;
                else return BadUsage(Text(TextId::UnknownFormat, lang, {*v}));
            } else if (a == "--by") {
                if (*v == "car") grouping = ProgressGrouping::Car;
                else if (*v == "class") grouping = ProgressGrouping::Class;
                else if (*v == "profile") grouping = ProgressGrouping::Profile;
                else return BadUsage(Text(TextId::BadGrouping, lang, {*v}));
            } else {
                if (*v == "unchecked") numbers = NumberMode::Unchecked;
                else if (*v == "checked") numbers = NumberMode::Checked;
                else if (*v == "grayed") numbers = NumberMode::Grayed;
                else return BadUsage(Text(TextId::UnknownNumberMode, lang, {*v}));
            }
        } else if (a == "--all") all = true;
        else if (a == "--desc") desc = true;
        else if (a == "--sectors") sectors = true;
        else if (a == "--relative") relative = true;
        else if (a == "--header") header = true;
        else if (a == "--follow") follow = true;
        else if (a == "--help" || a == "-h") {
            ReportOutput out(stdout, std::string(Text(TextId::StandardOutput, lang)), ReportFormat::Text, false);
            out.Raw(Text(TextId::ReportUsage, lang));
            return CloseOutput(out);
        } else if (a == "--version") {
            ReportOutput out(stdout, std::string(Text(TextId::StandardOutput, lang)), ReportFormat::Text, false);
            out.Raw("kelvara-report " KELVARA_VERSION "\n");
            return CloseOutput(out);
        } else if (!a.empty() && a[0] == '-')
            return BadUsage(Text(TextId::UnknownOption, lang, {a}));
        else if (command)
            return BadUsage(Text(TextId::ExtraArgument, lang, {a}));
        else
            command = a;
    }
    static const std::vector<std::string> commands{"stages", "runs",   "table",    "stage",
                                                   "game",   "status", "progress", "bests", "results"};
    if (!command)
        return BadUsage(std::string(Text(TextId::NoCommand, lang)));
    if (std::find(commands.begin(), commands.end(), *command) == commands.end())
        return BadUsage(Text(TextId::UnknownCommand, lang, {*command}));
    if (relative && all)
        return BadUsage(std::string(Text(TextId::RelativeWithAll, lang)));
    if (stageName && all)
        return BadUsage(std::string(Text(TextId::StageWithAll, lang)));
    const bool progress = *command == "progress" || *command == "bests";
    if (progress && all)
        return BadUsage(std::string(Text(TextId::ChooseOneStage, lang)));
    if (grouping && *command != "bests")
        return BadUsage(std::string(Text(TextId::ByOnlyForBests, lang)));
    if (follow && *command != "game" && *command != "stage" && *command != "status" && *command != "results")
        return BadUsage(std::string(Text(TextId::FollowOnlyForReports, lang)));
    // A result counts every run of the stage: a personal best is the best ever, not of a view.
    if (*command == "results" && (!opt.FilterPath.empty() || stageName || all))
        return BadUsage(std::string(Text(TextId::ResultsTakeNoView, lang)));
    if (nowText) {
        auto now = ParseLogDateTime(*nowText);
        if (!now)
            return BadUsage(Text(TextId::BadNow, lang, {*nowText}));
        opt.Now = *now;
    } else {
        opt.Now = NowDateTime();
    }

    if (auto missing = CheckDataFiles(opt.DataDir, lang))
        return Fail(missing->Text, 1);

    ProgramState v;
    v.Conv = {lang, dec};
    try {
        LoadPhase(v, opt);
    } catch (const LoadError& e) {
        return Fail(LoadFailureMessage(e, lang).Text, 1);
    }

    ReportOutput out(stdout, std::string(Text(TextId::StandardOutput, lang)), format, header);
    if (*command == "stages") {
        PrintStages(out, v.Stages);
        return CloseOutput(out);
    }
    if (*command == "runs") {
        PrintRuns(out, v.Data, v.Stages);
        return CloseOutput(out);
    }

    // The same display state the window would start with.
    v.Disp.AllStages = all;
    v.Disp.BySectors = sectors;
    v.Disp.Relative = relative;
    v.Disp.NumMode = numbers;
    v.Disp.TypeSort = static_cast<uint8_t>(sortCol);
    v.Disp.UpOrDown = desc ? 0 : 1;
    v.Disp.SelCur = static_cast<int32_t>(cursor);
    v.StageIndex = v.StageList.empty() ? -1 : 0;
    if (stageName) {
        const std::string wanted = Utf8ToCp1251(*stageName);
        const auto it = std::find(v.StageList.begin(), v.StageList.end(), wanted);
        if (it == v.StageList.end())
            return BadUsage(Text(TextId::UnknownStage, lang, {*stageName}));
        v.StageIndex = static_cast<int32_t>(it - v.StageList.begin());
    }

    // Texts for other programs carry "." whatever the locale; the filter file above was read
    // with the user's separator, as the window writes it.
    const std::string textDec = format == ReportFormat::Text ? dec : ".";
    v.Conv.DecimalSep = textDec;
    const DisplayTexts t = SetupPhase(v, opt);
    if (auto notice = MissingStagesNotice(v))
        std::cerr << notice->Text << '\n';

    if (*command == "results") {
        ResultsHeader(out);
        if (!follow)
            PrintResults(out, v, 1);
    } else if (*command == "table") {
        PrintTable(out, t.Table);
    } else if (progress) {
        const ProgressFigures f =
            ComputeProgress(v.Data, v.Sel, false, grouping.value_or(ProgressGrouping::Car));
        if (*command == "progress")
            PrintProgress(out, f, v.Data, numbers, textDec);
        else
            PrintBests(out, f, v.Data, numbers, textDec);
        if (const std::string note = ProgressNote(f, lang); !note.empty())
            std::cerr << note << '\n';
    } else {
        PrintPanel(out, *command, t, v);
    }
    if (follow)
        return FollowLog(out, v, *command, nowText ? std::optional<double>(opt.Now) : std::nullopt);
    return CloseOutput(out);
}
