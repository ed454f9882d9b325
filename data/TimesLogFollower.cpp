#include "data/TimesLogFollower.h"

#include "data/ValueTables.h"

#include <algorithm>
#include <memory>

namespace kel {
namespace {

// Enough of the file's start to tell a replaced log from the one read before: the header and
// the first runs.
constexpr std::size_t HeadSize = 4096;

LoadError SkippedLinesError(const std::vector<SkippedLine>& skipped, Language language) {
    const std::string first = MalformedDateReason(skipped.front().LineNo, skipped.front().Date, language);
    if (skipped.size() == 1)
        return LoadError(std::string(LogFileName), Text(TextId::SkippedLine, language, {first}));
    return LoadError(std::string(LogFileName),
                     Text(TextId::SkippedLines, language, {first, std::to_string(skipped.size() - 1)}));
}

// The entries of a name list that the filter hides, to come first in a list read afresh.
NameList HiddenNames(const NameList& list) {
    NameList hidden;
    for (const NameEntry& entry : list)
        if (entry.FiltOn)
            hidden.push_back({.Name = entry.Name, .FiltOn = true, .FiltEdit = true});
    return hidden;
}

} // namespace

void TimesLogFollower::ReadAll(RunData& data) {
    DataFile file(m_path, LogFileName, m_language);
    m_pos = ReadTimesLog(file, data);
    m_head.clear();
    Remember(file, file.Size());
    m_failed.reset();
    m_lastFailure.clear();
}

void TimesLogFollower::Remember(DataFile& file, uint64_t size) {
    m_seen = Seen{size, file.Identity()};
    const auto want = static_cast<std::size_t>(std::min<uint64_t>(HeadSize, size));
    if (m_head.size() < want) {
        m_head.resize(want);
        m_head.resize(file.ReadAt(0, m_head.data(), want));
    }
}

bool TimesLogFollower::SameStart(DataFile& file) const {
    std::string head(m_head.size(), '\0');
    head.resize(file.ReadAt(0, head.data(), head.size()));
    return head == m_head;
}

std::optional<LoadError> TimesLogFollower::Report(const LoadError& error) {
    if (error.what() == m_lastFailure)
        return std::nullopt;
    m_lastFailure = error.what();
    return error;
}

TimesLogFollower::Change TimesLogFollower::ReadAgain(DataFile& file, RunData& data) {
    Change change;
    // As at start-up: the names the filter hides are in the lists before the log is read, so
    // that their runs stay hidden; the condition lists keep their flags.
    RunData fresh;
    fresh.CarList = HiddenNames(data.CarList);
    fresh.ClassList = HiddenNames(data.ClassList);
    fresh.ProfList = HiddenNames(data.ProfList);
    fresh.WetnessList = data.WetnessList;
    fresh.SurfAgeList = data.SurfAgeList;
    fresh.TyresList = data.TyresList;
    fresh.DamageList = data.DamageList;
    fresh.WeatherList = data.WeatherList;
    LogPosition pos;
    try {
        pos = ReadTimesLog(file, fresh);
    } catch (const LoadError& error) {
        m_failed = Seen{file.Size(), file.Identity()};
        change.Failure = Report(error);
        return change;
    }
    change.Reread = true;
    change.AddedRuns = fresh.RunCount;
    change.FinishedRuns = std::max(0, pos.FinishedRuns - m_pos.FinishedRuns);
    data = std::move(fresh);
    m_pos = pos;
    m_head.clear();
    Remember(file, file.Size());
    m_failed.reset();
    m_lastFailure.clear();
    return change;
}

TimesLogFollower::Change TimesLogFollower::Poll(RunData& data) {
    Change change;
    std::unique_ptr<DataFile> file;
    try {
        file = std::make_unique<DataFile>(m_path, LogFileName, m_language);
    } catch (const LoadError& error) {
        change.Failure = Report(error);
        return change;
    }

    const int32_t runsBefore = data.RunCount;
    const int32_t finishedBefore = m_pos.FinishedRuns;
    try {
        const Seen now{file->Size(), file->Identity()};
        if (now == m_seen) {
            m_lastFailure.clear();
            return change;
        }
        const bool replaced = !now.Identity.SameFile(m_seen.Identity) || now.Size < m_seen.Size ||
                              now.Size < m_pos.Consumed || !SameStart(*file);
        if (replaced) {
            if (m_failed && *m_failed == now)
                return change; // reported already; tried again when the file changes
            return ReadAgain(*file, data);
        }
        m_failed.reset();

        std::vector<SkippedLine> skipped;
        ReadLogLines(*file, now.Size, m_pos, data, &skipped);
        change.AddedRuns = data.RunCount - runsBefore;
        change.FinishedRuns = m_pos.FinishedRuns - finishedBefore;
        Remember(*file, now.Size);
        m_lastFailure.clear();
        if (!skipped.empty())
            change.Failure = Report(SkippedLinesError(skipped, m_language));
    } catch (const LoadError& error) {
        // A read that failed halfway keeps the lines read until then; the next look goes on
        // from there.
        change.AddedRuns = data.RunCount - runsBefore;
        change.FinishedRuns = m_pos.FinishedRuns - finishedBefore;
        change.Failure = Report(error);
    }
    return change;
}

} // namespace kel
