#include "data/Startup.h"

#include "data/Cp1251.h"
#include "data/TimesLog.h"
#include "data/ValueTables.h"
#include "filter/Filter.h"
#include "filter/FilterFile.h"
#include "settings/IniFile.h"
#include "table/Ordering.h"

#include <algorithm>

namespace kel {
namespace {

std::string Str(std::string_view s) { return std::string(s); }

// Settings that the display state takes from the file.
void ApplySettings(Variables& v) {
    const Settings& c = v.Config;
    v.Disp.BySectors = c.TimeForSect;
    v.Disp.AllStages = c.AllTrack;
    // The relative mode is off while all stages are shown.
    v.Disp.Relative = c.Otnos && !c.AllTrack;
    v.Disp.NumMode = NumberMode::Unchecked;
    v.Disp.SelCur = c.PrCur;
    v.Disp.TypeSort = c.TypeSort;
    v.Disp.UpOrDown = c.UpOrDown ? 1 : 0;
    // A stored index that names no stage selects the first one.
    const auto count = static_cast<int32_t>(v.StageList.size());
    v.StageIndex = c.TrCur >= 0 && c.TrCur < count ? c.TrCur : (count > 0 ? 0 : -1);
}

void SortAndSync(Variables& v) {
    SortSelection(v.Sel, v.Data, v.Disp.TypeSort, v.Disp.UpOrDown, v.Disp.BySectors);
    // In the all-stages mode the panels describe the run under the cursor, which the new
    // order may have changed.
    if (v.Disp.AllStages)
        v.Sel.CurrentStage = SyncStageList(v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex);
}

void Panels(Variables& v, DisplayTexts& t, std::string_view dec) {
    t.Stage = ShowStageStats(v.Stages.Buffer, v.Sel.CurrentStage, v.Sel, v.Disp, dec);
    t.Status = ShowStatusBar(v.Sel, v.Disp, v.Stages.Buffer, dec);
}

GameStatsTexts Game(Variables& v, std::string_view dec) {
    return ShowGameStats(v.Totals, v.Data.FinishedCount, dec);
}

void Refilter(Variables& v) {
    ClearFilteredOut(v.Data);
    ApplyFilter(v.Data, v.Stages, v.Filter.ActiveDateFilter, v.Totals);
    v.Sel.CurrentStage = BuildSelection(v.Data, v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex,
                                        v.Disp.AllStages);
}

} // namespace

std::optional<Message> CheckDataFiles(const std::filesystem::path& dataDir) {
    for (std::string_view name : {LogFileName, StageFileName}) {
        std::error_code ec;
        if (!std::filesystem::exists(dataDir / std::filesystem::path(std::string(name)), ec))
            return Message{"Ошибка чтения файла " + Str(name) + ". Убедитесь, что он существует и доступен",
                           Str(ErrorCaption), MessageIcon::Error};
    }
    return std::nullopt;
}

Message LoadFailureMessage(const LoadError& error) {
    return Message{"У вас какая-то хренотень в файле " + error.FileName() +
                       ". Проверьте, тот ли вообще файл вы подгрузили",
                   Str(ErrorCaption), MessageIcon::Error};
}

void LoadPhase(Variables& v, const StartupOptions& o) {
    std::string current = Str(StageFileName);
    try {
        v.Data = RunData{};
        v.Data.Runs.reserve(100000);
        v.StageList = SortedStageList(v.Stages.FillStageList((o.DataDir / Str(StageFileName)).string()));

        current = Str(SettingsFileName);
        v.Config = Settings{};
        v.Filter = FilterState{};
        v.Filter.FSaveDir = o.ProgramDir;
        v.Filter.ActiveDateFilter.fromDate = v.Filter.ActiveDateFilter.toDate = o.Now;
        if (!o.SettingsPath.empty()) {
            IniFile ini(o.SettingsPath.string(), Str(SettingsFileName));
            LoadSettings(ini, v.Config);
            ReadFilterSettings(ini, v.Filter, v.Data, o.Now, o.DecimalSep, o.ProgramDir);
        }
        if (!o.FilterPath.empty()) {
            current = o.FilterPath.filename().string();
            IniFile ini(o.FilterPath.string(), current);
            ReadFilterSettings(ini, v.Filter, v.Data, o.Now, o.DecimalSep, o.ProgramDir);
        }
        ApplySettings(v);

        current = Str(LogFileName);
        ReadTimesLog((o.DataDir / Str(LogFileName)).string(), v.Data);
        v.Data.Runs.shrink_to_fit();
    } catch (const LoadError&) {
        throw;
    } catch (const std::exception& e) {
        throw LoadError(current, e.what());
    }
}

DisplayTexts SetupPhase(Variables& v, const StartupOptions& o) {
    DisplayTexts t;
    const std::string_view dec = o.DecimalSep;
    // A "last N units" criterion is recomputed to end at the start moment.
    v.Filter.EditDateFilter = v.Filter.ActiveDateFilter;
    if (v.Filter.EditDateFilter.Krit == 0)
        SetLastPeriod(v.Filter.EditDateFilter, v.Filter.EditDateFilter.Kol, v.Filter.EditDateFilter.HMS, o.Now);
    v.Filter.ActiveDateFilter = v.Filter.EditDateFilter;
    if (v.Disp.AllStages)
        v.Disp.Relative = false;

    Refilter(v);
    t.Game = Game(v, dec);

    // Names that only the saved filter knew are dropped now; every run keeps its own name.
    PackNameList(v.Data.CarList, &RunRecord::CarIdx, v.Data.Runs, &v.Sel.Selection);
    PackNameList(v.Data.ClassList, &RunRecord::ClassIdx, v.Data.Runs, &v.Sel.Selection);
    PackNameList(v.Data.ProfList, &RunRecord::ProfIdx, v.Data.Runs, &v.Sel.Selection);
    for (NameList* list : {&v.Data.WetnessList, &v.Data.SurfAgeList, &v.Data.TyresList, &v.Data.DamageList,
                           &v.Data.WeatherList})
        RankCondList(*list);

    SortAndSync(v);
    Panels(v, t, dec);
    t.Table = FillRunsTable(v.Data, v.Sel, v.Disp, dec);
    v.Filter.FilterActive = ComputeFilterActive(v.Filter.ActiveDateFilter, v.Data);
    return t;
}

DisplayTexts OnStageChosen(Variables& v, std::string_view dec) {
    DisplayTexts t;
    v.Sel.CurrentStage = BuildSelection(v.Data, v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex, false);
    SortSelection(v.Sel, v.Data, v.Disp.TypeSort, v.Disp.UpOrDown, v.Disp.BySectors);
    t.Game = Game(v, dec);
    Panels(v, t, dec);
    t.Table = FillRunsTable(v.Data, v.Sel, v.Disp, dec);
    return t;
}

DisplayTexts OnFilterClosed(Variables& v, std::string_view dec) {
    DisplayTexts t;
    v.Filter.FilterActive = ComputeFilterActive(v.Filter.ActiveDateFilter, v.Data);
    Refilter(v);
    t.Game = Game(v, dec);
    SortAndSync(v);
    Panels(v, t, dec);
    t.Table = FillRunsTable(v.Data, v.Sel, v.Disp, dec);
    return t;
}

DisplayTexts OnHeaderClick(Variables& v, int column, std::string_view dec) {
    DisplayTexts t;
    // The sorted column again reverses the order; a new column keeps the last direction.
    if (column == v.Disp.TypeSort)
        v.Disp.UpOrDown = v.Disp.UpOrDown == 1 ? 0 : 1;
    v.Disp.TypeSort = static_cast<uint8_t>(column);
    SortAndSync(v);
    t.Game = Game(v, dec);
    Panels(v, t, dec);
    t.Table = FillRunsTable(v.Data, v.Sel, v.Disp, dec);
    return t;
}

DisplayTexts OnAllStagesChanged(Variables& v, std::string_view dec) {
    DisplayTexts t;
    if (v.Disp.AllStages)
        v.Disp.Relative = false;
    v.Sel.CurrentStage = BuildSelection(v.Data, v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex,
                                        v.Disp.AllStages);
    t.Game = Game(v, dec);
    Panels(v, t, dec);
    t.Table = FillRunsTable(v.Data, v.Sel, v.Disp, dec);
    return t;
}

TableSnapshot OnDisplayOptionChanged(Variables& v, std::string_view dec) {
    return FillRunsTable(v.Data, v.Sel, v.Disp, dec);
}

DisplayTexts OnCursorMoved(Variables& v, int row, std::string_view dec) {
    DisplayTexts t;
    v.Disp.SelCur = row > 0 ? row : 1;
    if (v.Disp.AllStages)
        v.Sel.CurrentStage = SyncStageList(v.Stages, v.Sel, v.Disp.SelCur, v.StageList, v.StageIndex);
    t.Game = Game(v, dec);
    Panels(v, t, dec);
    if (v.Disp.Relative)
        t.Table = FillRunsTable(v.Data, v.Sel, v.Disp, dec);
    return t;
}

std::optional<Message> ClosingNotice(const Variables& v) {
    if (v.Data.RunCount == 0)
        return Message{"Программа не обнаружила в файле zlttimes.log ниодного проезда. Убедитесь, что файл "
                       "имеет корректный формат или выйдите на старт любого спецучастка хотя бы один раз",
                       Str(ProgramCaption), MessageIcon::Warning};
    if (v.Data.FinishedCount == 0)
        return Message{"Программа не обнаружила ниодного успешного проезда. Финишируйте на любом спецучастке "
                       "хотя бы один раз, проверьте установки фильтра или корректность данных в файле "
                       "zlttimes.log",
                       Str(ProgramCaption), MessageIcon::Warning};
    return std::nullopt;
}

std::optional<Message> NothingPassesNotice(const Variables& v) {
    if (v.Data.FinishedCount != 0)
        return std::nullopt;
    return Message{"Программа не обнаружила ниодного проезда, удовлетворяющего заданным условиям фильтра",
                   Str(ProgramCaption), MessageIcon::Warning};
}

std::optional<Message> MissingStagesNotice(Variables& v) {
    std::string numbers;
    int count = 0;
    for (int stage : v.Stages.MissingStages()) {
        if (!v.MissingStagesReported.insert(stage).second)
            continue;
        if (!numbers.empty())
            numbers += ", ";
        numbers += std::to_string(stage);
        ++count;
    }
    if (count == 0)
        return std::nullopt;
    return Message{std::string("В файле trinfo.bin нет описания ") + (count == 1 ? "трассы с номером " : "трасс с номерами ") +
                       numbers + ". Проезды по " + (count == 1 ? "ней" : "ним") +
                       " показываются без названия трассы, а ее длина считается равной нулю",
                   Str(ProgramCaption), MessageIcon::Warning};
}

std::string SaveSettingsFile(const Variables& v, const std::filesystem::path& path, std::string_view dec) {
    try {
        IniFile ini(path.string(), Str(SettingsFileName));
        SaveSettings(ini, v.Config);
        WriteFilterSettings(ini, v.Filter, v.Data, FilterSource::InForce, dec);
        return ini.Save();
    } catch (const LoadError&) {
        return "Не удалось записать файл " + path.string() +
               ": прежний файл настроек не читается, поэтому он оставлен без изменений";
    }
}

} // namespace kel
