#include "session/Startup.h"

#include "data/Cp1251.h"
#include "data/PathText.h"
#include "data/TimesLog.h"
#include "data/ValueTables.h"
#include "session/DataFolder.h"
#include "filter/Filter.h"
#include "filter/FilterDialogSize.h"
#include "filter/FilterFile.h"
#include "settings/IniFile.h"

#include <algorithm>
#include <new>

namespace kel {
namespace {

std::string Str(std::string_view s) { return std::string(s); }

// Settings that the display state takes from the file.
void ApplySettings(ProgramState& v) {
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

} // namespace

std::optional<Message> CheckDataFiles(const std::filesystem::path& dataDir, Language language) {
    for (std::string_view name : {LogFileName, StageFileName}) {
        std::error_code ec;
        if (!std::filesystem::exists(dataDir / std::filesystem::path(std::string(name)), ec))
            return Message{Text(TextId::DataFileUnreadable, language, {name}),
                           std::string(Text(TextId::ErrorTitle, language)), MessageIcon::Error};
    }
    return std::nullopt;
}

std::optional<Message> CheckDataFolder(const std::filesystem::path& dataDir, Language language) {
    std::optional<Message> missing = CheckDataFiles(dataDir, language);
    if (missing)
        missing->Text.append("\n\n").append(PathToUtf8(dataDir));
    return missing;
}

Message LoadFailureMessage(const LoadError& error, Language language) {
    std::string text = Text(TextId::LoadFailure, language, {error.FileName()});
    // The reason, written by the reader that failed, as a paragraph of its own.
    if (const std::string_view reason = error.what(); !reason.empty())
        text.append("\n\n").append(reason);
    return Message{text, std::string(Text(TextId::ErrorTitle, language)), MessageIcon::Error};
}

void LoadPhase(ProgramState& v, const StartupOptions& o) {
    std::string current = Str(StageFileName);
    try {
        v.Data = RunData{};
        v.Data.Runs.reserve(100000);
        v.StageList = SortedStageList(v.Stages.FillStageList(o.DataDir / Str(StageFileName), v.Conv.Lang));

        current = Str(SettingsFileName);
        v.Config = Settings{};
        v.Progress = ProgressSettings{};
        v.Filter = FilterState{};
        v.Filter.FSaveDir = o.ProgramDir;
        v.Filter.ActiveDateFilter.fromDate = v.Filter.ActiveDateFilter.toDate = o.Now;
        if (!o.SettingsPath.empty()) {
            IniFile ini(PathToUtf8(o.SettingsPath), Str(SettingsFileName), v.Conv.Lang);
            LoadSettings(ini, v.Config);
            LoadProgressSettings(ini, v.Progress);
            ReadFilterSettings(ini, v.Filter, v.Data, o.Now, v.Conv.DecimalSep, o.ProgramDir);
            LoadFilterDialogSize(ini, v.Filter);
        }
        if (!o.FilterPath.empty()) {
            current = PathToUtf8(o.FilterPath.filename());
            IniFile ini(PathToUtf8(o.FilterPath), current, v.Conv.Lang);
            ReadFilterSettings(ini, v.Filter, v.Data, o.Now, v.Conv.DecimalSep, o.ProgramDir);
        }
        ApplySettings(v);

        current = Str(LogFileName);
        // The run table keeps the room the reader gave it, for the runs appended later.
        v.Log = TimesLogFollower(o.DataDir / Str(LogFileName), v.Conv.Lang);
        v.Log.ReadAll(v.Data);
    } catch (const LoadError&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw LoadError(current, std::string(Text(TextId::OutOfMemoryReading, v.Conv.Lang)));
    } catch (const std::exception& e) {
        throw LoadError(current, e.what());
    }
}

std::optional<Message> ClosingNotice(const ProgramState& v) {
    if (v.Data.RunCount == 0)
        return Message{std::string(Text(TextId::NoRunsInLog, v.Conv.Lang)), Str(ProgramCaption), MessageIcon::Warning};
    if (v.Data.FinishedCount == 0)
        return Message{std::string(Text(TextId::NoFinishedRuns, v.Conv.Lang)), Str(ProgramCaption), MessageIcon::Warning};
    return std::nullopt;
}

std::string SaveSettingsFile(const ProgramState& v, const std::filesystem::path& path) {
    try {
        IniFile ini(PathToUtf8(path), Str(SettingsFileName), v.Conv.Lang);
        SaveSettings(ini, v.Config);
        WriteFilterSettings(ini, v.Filter, v.Data, FilterSource::InForce, v.Conv.DecimalSep);
        SaveProgressSettings(ini, v.Progress);
        SaveFilterDialogSize(ini, v.Filter);
        if (!v.ChosenDataDir.empty())
            RememberDataDir(ini, v.ChosenDataDir);
        return ini.Save();
    } catch (const LoadError&) {
        return Text(TextId::CannotWriteFileBecause, v.Conv.Lang,
                    {PathToUtf8(path), Text(TextId::OldSettingsUnreadable, v.Conv.Lang)});
    }
}

} // namespace kel
