#pragma once
// Following "zlttimes.log" while the game appends to it: each look reads only the complete
// lines added since the last one, or the whole file again when it was replaced or shrank.

#include "data/FileBytes.h"
#include "data/LoadError.h"
#include "data/RunData.h"
#include "data/TimesLog.h"

#include <filesystem>
#include <optional>
#include <string>

namespace kel {

class TimesLogFollower {
public:
    // What one look at the log found.
    struct Change {
        int32_t AddedRuns = 0;    // main lines read
        int32_t FinishedRuns = 0; // runs completed by the times lines read (after a new reading:
                                  // how many more finished runs the file holds than before)
        bool Reread = false;      // the file was replaced or shrank and was read from its start
        // A failure not reported before: the same failure comes back once, not at every look.
        std::optional<LoadError> Failure;

        bool RunsChanged() const { return AddedRuns != 0 || FinishedRuns != 0 || Reread; }
    };

    TimesLogFollower() = default;
    explicit TimesLogFollower(std::filesystem::path path, Language language = Language::Russian)
        : m_path(std::move(path)), m_language(language) {}

    const std::filesystem::path& Path() const { return m_path; }

    // Reads the whole log into `data` as at start-up (complete lines only) and remembers where
    // it stopped. Throws LoadError.
    void ReadAll(RunData& data);

    // Reads what was appended since the last look into `data`: new runs get the next run
    // numbers, new names join the lists after the others. A file that was replaced, shrank or
    // whose first bytes changed is read again from its start into a fresh run table, in which
    // the names the filter hides come first, as at start-up; lists are then left unpacked.
    // Never throws for faults of the file or its lines: a line with a malformed date is
    // skipped and reported, a file that cannot be read (or read again) leaves `data` as it
    // was and is looked at again next time.
    Change Poll(RunData& data);

    const LogPosition& Position() const { return m_pos; }

private:
    // The state of the file that was read last, to notice a different one.
    struct Seen {
        uint64_t Size = 0;
        FileIdentity Identity;
        bool operator==(const Seen&) const = default;
    };

    void Remember(DataFile& file, uint64_t size);
    bool SameStart(DataFile& file) const;
    Change ReadAgain(DataFile& file, RunData& data);
    std::optional<LoadError> Report(const LoadError& error);

    std::filesystem::path m_path;
    Language m_language = Language::Russian; // of the failure reasons
    LogPosition m_pos;
    Seen m_seen;
    std::string m_head;            // the first bytes of the file as last read
    std::optional<Seen> m_failed;  // a replaced file whose reading failed, tried again when it changes
    std::string m_lastFailure;     // the reason reported last, empty after a look without failure
};

} // namespace kel
