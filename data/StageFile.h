#pragma once
// "trinfo.bin": fixed 548-byte stage records, record k describes stage number k.
// The whole file is read into memory once; "reading a record" copies it into Buffer.

#include "data/Language.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kel {

inline constexpr std::size_t StageRecordSize = 548;

struct StageRecord {
    std::string StageName;  // cp1251, at most 30 bytes
    uint8_t StageNo = 0;
    float StageLength = 0;  // km
    std::string StageDesc1; // cp1251, at most 255 bytes
    std::string StageDesc2;
};

class StageFile {
public:
    // Reads the whole file; throws LoadError naming "trinfo.bin" when it cannot be read
    // or its size is not a whole number of records. A length that cannot be real is read as 0. Leaves Buffer at the last record and
    // the position at the end, and returns the listed (non-empty) names in file order.
    std::vector<std::string> FillStageList(const std::filesystem::path& path, Language language = Language::Russian);

    // The same from the file's bytes.
    std::vector<std::string> FillStageListData(std::string_view bytes, Language language = Language::Russian);

    // Copies record `index` into Buffer and moves the position past it. An index with no
    // record gives an empty record (name "", length 0, StageNo = index) and is remembered
    // in MissingStages(), so that it can be reported once.
    void ReadStageRecord(int index);

    // Rewinds and reads records in file order until one is named `name` (exact bytes) or
    // the file ends; returns the StageNo of the last record read (0 for an empty file).
    uint8_t FindStageByName(const std::string& name);

    int Position() const { return m_position; }
    int RecordCount() const { return static_cast<int>(m_records.size()); }
    bool IsOpen() const { return m_open; }
    void CloseStageFile() { m_open = false; }

    const StageRecord& Record(int index) const; // no Buffer change; empty record when missing
    const std::set<int>& MissingStages() const { return m_missing; }
    // Records whose stored length was NaN, infinite, negative or above 1000 km; their
    // StageLength reads as 0 (unknown).
    const std::set<int>& ImplausibleLengths() const { return m_implausibleLengths; }

    StageRecord Buffer; // the current stage record

private:
    const StageRecord& MissingRecord(int index) const;

    std::vector<StageRecord> m_records;
    std::set<int> m_implausibleLengths;
    // Looking up a stage that has no record is a const operation that still has to be
    // reported later; the empty records handed out stay valid as long as the object.
    mutable std::set<int> m_missing;
    mutable std::map<int, StageRecord> m_missingRecords;
    int m_position = 0;
    bool m_open = false;
};

// Display order of the stage list (cp1251 names): letters compare without regard to case
// (Latin A-Z, Cyrillic А-Я and Ё), ё right after е; names equal that way go by byte order.
// So "alpha" < "Bravo", Latin before Cyrillic.
bool StageNameLess(std::string_view a, std::string_view b);

// `names` sorted by StageNameLess (stable).
std::vector<std::string> SortedStageList(std::vector<std::string> names);

} // namespace kel
