// kelvara-report: what the window shows, printed as text (UTF-8).
//
//   kelvara-report [options] stages|runs|table|stage|game|status

#include "data/Cp1251.h"
#include "data/DateTime.h"
#include "session/Events.h"
#include "session/Startup.h"
#include "data/ValueTables.h"
#include "filter/Filter.h"
#include "table/CellText.h"

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

using namespace kel;

namespace {

constexpr const char* Usage =
    "Использование: kelvara-report [параметры] stages|runs|table|stage|game|status\n"
    "  --dir DIR          папка с файлами zlttimes.log и trinfo.bin (по умолчанию текущая)\n"
    "  --filter FILE      фильтр из файла настроек или файла .fil\n"
    "  --now \"yyyy-mm-dd hh:nn:ss\"  текущий момент для фильтра по дате\n"
    "  --stage NAME       трасса (по умолчанию первая в списке)\n"
    "  --all              все трассы\n"
    "  --sort COL         столбец сортировки 0..11 (по умолчанию 0)\n"
    "  --desc             по убыванию\n"
    "  --sectors          время по секторам\n"
    "  --relative         время относительно строки курсора (не вместе с --all)\n"
    "  --numbers unchecked|checked|grayed  режим номера проезда\n"
    "  --cursor ROW       строка курсора (целое число от 1)\n";

int Fail(const std::string& text, int code) {
    std::cerr << text << '\n';
    return code;
}

int BadUsage(const std::string& text) {
    std::cerr << text << "\n\n" << Usage;
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

std::string Num17(double x) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.17g", x);
    return buf;
}

void PrintStages(const StageFile& stages) {
    struct Item {
        std::string name;
        int no;
        float length;
    };
    std::vector<Item> items;
    for (int k = 0; k < stages.RecordCount(); ++k) {
        const StageRecord& r = stages.Record(k);
        if (!r.StageName.empty())
            items.push_back({r.StageName, r.StageNo, r.StageLength});
    }
    std::stable_sort(items.begin(), items.end(),
                     [](const Item& a, const Item& b) { return StageNameLess(a.name, b.name); });
    for (const Item& it : items) {
        char len[64];
        std::snprintf(len, sizeof len, "%.9g", static_cast<double>(it.length));
        std::cout << Cp1251ToUtf8(it.name) << '\t' << it.no << '\t' << len << '\n';
    }
}

std::string NameAt(const NameList& list, int32_t idx) {
    return idx >= 0 && static_cast<std::size_t>(idx) < list.size() ? Cp1251ToUtf8(list[idx].Name) : std::string();
}

void PrintRuns(const RunData& d) {
    for (int32_t i = 1; i <= d.RunCount; ++i) {
        const RunRecord& r = d.Runs[i];
        std::cout << r.RunNo << '\t' << (r.StartTime == 0 ? std::string() : FormatLogDateTime(r.StartTime)) << '\t'
                  << r.StageNo << '\t' << r.Wetness << '\t' << r.SurfAge << '\t' << r.Weather << '\t' << r.Tyres
                  << '\t' << r.Damage << '\t' << NameAt(d.CarList, r.CarIdx) << '\t'
                  << NameAt(d.ClassList, r.ClassIdx) << '\t' << NameAt(d.ProfList, r.ProfIdx) << '\t'
                  << (r.Finished ? 1 : 0) << '\t' << Num17(r.Split1) << '\t' << Num17(r.Split2) << '\t'
                  << Num17(r.Finish) << '\n';
    }
}

void PrintTable(const TableSnapshot& snap) {
    std::string cell;
    for (int row = 1; row <= snap.RowCount; ++row) {
        for (int col = 0; col < ColumnCount; ++col) {
            CellText(snap, row, col, cell);
            if (col)
                std::cout << '\t';
            std::cout << cell;
        }
        std::cout << '\n';
    }
}

void Line(const char* key, const std::string& text) { std::cout << key << '\t' << text << '\n'; }

} // namespace

int main(int argc, char** argv) {
    std::setlocale(LC_CTYPE, "");
    const std::string dec = UserDecimalSeparator();

    StartupOptions opt;
    opt.DataDir = ".";
    opt.DecimalSep = dec;
    std::optional<std::string> stageName, command, nowText;
    bool all = false, desc = false, sectors = false, relative = false;
    long sortCol = 0, cursor = 1;
    NumberMode numbers = NumberMode::Unchecked;

    std::vector<std::string> args(argv + 1, argv + argc);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&](const char* name) -> std::optional<std::string> {
            if (i + 1 >= args.size())
                return std::nullopt;
            (void)name;
            return args[++i];
        };
        if (a == "--dir" || a == "--filter" || a == "--now" || a == "--stage" || a == "--sort" ||
            a == "--numbers" || a == "--cursor") {
            auto v = value(a.c_str());
            if (!v)
                return BadUsage("Параметру " + a + " нужно значение");
            if (a == "--dir") opt.DataDir = *v;
            else if (a == "--filter") opt.FilterPath = *v;
            else if (a == "--now") nowText = *v;
            else if (a == "--stage") stageName = *v;
            else if (a == "--sort") {
                auto n = WholeNumber(*v);
                if (!n || *n > 11)
                    return BadUsage("Столбец сортировки должен быть числом от 0 до 11: " + *v);
                sortCol = *n;
            } else if (a == "--cursor") {
                auto n = WholeNumber(*v);
                if (!n || *n < 1)
                    return BadUsage("Строка курсора должна быть целым числом не меньше 1: " + *v);
                cursor = *n;
            } else {
                if (*v == "unchecked") numbers = NumberMode::Unchecked;
                else if (*v == "checked") numbers = NumberMode::Checked;
                else if (*v == "grayed") numbers = NumberMode::Grayed;
                else return BadUsage("Неизвестный режим номера проезда: " + *v);
            }
        } else if (a == "--all") all = true;
        else if (a == "--desc") desc = true;
        else if (a == "--sectors") sectors = true;
        else if (a == "--relative") relative = true;
        else if (a == "--help" || a == "-h") {
            std::cout << Usage;
            return 0;
        } else if (!a.empty() && a[0] == '-')
            return BadUsage("Неизвестный параметр: " + a);
        else if (command)
            return BadUsage("Лишний аргумент: " + a);
        else
            command = a;
    }
    static const std::vector<std::string> commands{"stages", "runs", "table", "stage", "game", "status"};
    if (!command)
        return BadUsage("Не указана команда");
    if (std::find(commands.begin(), commands.end(), *command) == commands.end())
        return BadUsage("Неизвестная команда: " + *command);
    if (relative && all)
        return BadUsage("Параметр --relative нельзя сочетать с --all: при показе всех трасс относительный режим "
                        "выключен");
    if (stageName && all)
        return BadUsage("Параметр --stage нельзя сочетать с --all");
    if (nowText) {
        auto now = ParseLogDateTime(*nowText);
        if (!now)
            return BadUsage("Момент --now должен иметь вид \"yyyy-mm-dd hh:nn:ss\": " + *nowText);
        opt.Now = *now;
    } else {
        opt.Now = NowDateTime();
    }

    if (auto missing = CheckDataFiles(opt.DataDir))
        return Fail(missing->Text, 1);

    ProgramState v;
    try {
        LoadPhase(v, opt);
    } catch (const LoadError& e) {
        return Fail(LoadFailureMessage(e).Text, 1);
    }

    if (*command == "stages") {
        PrintStages(v.Stages);
        return 0;
    }
    if (*command == "runs") {
        PrintRuns(v.Data);
        return 0;
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
            return BadUsage("Трассы с таким названием нет в списке: " + *stageName);
        v.StageIndex = static_cast<int32_t>(it - v.StageList.begin());
    }

    const DisplayTexts t = SetupPhase(v, opt);
    if (auto notice = MissingStagesNotice(v))
        std::cerr << notice->Text << '\n';

    if (*command == "table") {
        PrintTable(t.Table);
    } else if (*command == "stage") {
        const StageRecord& s = v.Stages.Buffer;
        Line("length", t.Stage.Length);
        Line("distance", t.Stage.Distance);
        Line("runs", t.Stage.Runs);
        Line("number", t.Stage.Number);
        Line("combined", t.Stage.Combined);
        Line("best", t.Stage.Best);
        Line("worst", t.Stage.Worst);
        Line("average", t.Stage.Average);
        Line("speed", t.Stage.Speed);
        Line("description", Cp1251ToUtf8(s.StageDesc1 + s.StageDesc2));
        auto rows = [](const std::array<int32_t, 4>& a) {
            return std::to_string(a[1]) + ' ' + std::to_string(a[2]) + ' ' + std::to_string(a[3]);
        };
        Line("best_time_rows", rows(v.Disp.BestTimeRow));
        Line("best_sector_rows", rows(v.Disp.BestSectorRow));
    } else if (*command == "game") {
        Line("total_time", t.Game.TotalTime);
        Line("distance", t.Game.Distance);
        Line("speed", t.Game.Speed);
        Line("finished", t.Game.Finished);
        Line("share", t.Game.Share);
    } else {
        Line("cursor", t.Status.Cursor);
        Line("date", t.Status.Date);
        Line("speed", t.Status.Speed);
    }
    return 0;
}
