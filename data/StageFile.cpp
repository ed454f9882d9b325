#include "data/StageFile.h"

#include "data/FileBytes.h"
#include "data/LoadError.h"
#include "data/Texts.h"
#include "data/ValueTables.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace kel {
namespace {

constexpr std::size_t NameOffset = 0, NameField = 31;
constexpr std::size_t StageNoOffset = 31;
constexpr std::size_t LengthOffset = 32;
constexpr std::size_t Desc1Offset = 36, Desc2Offset = 292, DescField = 256;
// No rally stage is longer; a larger value is damage, not a length.
constexpr float MaxStageLength = 1000.0f;

// A length byte followed by the text; a length byte larger than the field (damaged record)
// is cut to the field.
std::string ShortString(const unsigned char* field, std::size_t fieldSize) {
    const std::size_t length = std::min<std::size_t>(field[0], fieldSize - 1);
    return std::string(reinterpret_cast<const char*>(field + 1), length);
}

float StoredLength(const unsigned char* r) {
    const uint32_t bits = uint32_t{r[LengthOffset]} | uint32_t{r[LengthOffset + 1]} << 8 |
                          uint32_t{r[LengthOffset + 2]} << 16 | uint32_t{r[LengthOffset + 3]} << 24;
    return std::bit_cast<float>(bits);
}

bool PlausibleLength(float length) { return length >= 0.0f && length <= MaxStageLength; } // false for NaN

StageRecord ParseRecord(const unsigned char* r) {
    StageRecord record;
    record.StageName = ShortString(r + NameOffset, NameField);
    record.StageNo = r[StageNoOffset];
    // NaN, an infinity, a negative or an impossibly large length would spoil every total it
    // enters; it counts as unknown (0), like the length of a stage without a record.
    const float length = StoredLength(r);
    record.StageLength = PlausibleLength(length) ? length : 0.0f;
    record.StageDesc1 = ShortString(r + Desc1Offset, DescField);
    record.StageDesc2 = ShortString(r + Desc2Offset, DescField);
    return record;
}

// Case folding of the stage list order, as a key that puts ё between е and ж.
unsigned FoldKey(unsigned char c) {
    if (c >= 'A' && c <= 'Z') c = static_cast<unsigned char>(c + ('a' - 'A'));
    else if (c >= 0xC0 && c <= 0xDF) c = static_cast<unsigned char>(c + 0x20); // А-Я -> а-я
    else if (c == 0xA8) c = 0xB8;                                              // Ё -> ё
    if (c == 0xB8)
        return 0xE5u * 2 + 1; // ё right after е
    return c * 2u;
}

} // namespace

std::vector<std::string> StageFile::FillStageList(const std::filesystem::path& path, Language language) {
    const std::string bytes = ReadFileBytes(path, StageFileName, language);
    return FillStageListData(bytes, language);
}

std::vector<std::string> StageFile::FillStageListData(std::string_view bytes, Language language) {
    if (bytes.size() % StageRecordSize != 0)
        throw LoadError(std::string(StageFileName), Text(TextId::StageFileSize, language,
                                                         {std::to_string(bytes.size()), std::to_string(StageRecordSize)}));
    const std::size_t count = bytes.size() / StageRecordSize;
    std::vector<StageRecord> records;
    std::set<int> implausible;
    records.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
        const auto* r = reinterpret_cast<const unsigned char*>(bytes.data()) + k * StageRecordSize;
        records.push_back(ParseRecord(r));
        if (!PlausibleLength(StoredLength(r)))
            implausible.insert(static_cast<int>(k));
    }

    m_records = std::move(records);
    m_implausibleLengths = std::move(implausible);
    m_missing.clear();
    m_missingRecords.clear();
    m_open = true;
    m_position = 0;
    Buffer = StageRecord{};

    std::vector<std::string> names;
    for (const StageRecord& record : m_records) {
        Buffer = record;
        ++m_position;
        if (!record.StageName.empty())
            names.push_back(record.StageName);
    }
    return names;
}

const StageRecord& StageFile::MissingRecord(int index) const {
    m_missing.insert(index);
    auto [it, added] = m_missingRecords.try_emplace(index);
    if (added)
        it->second.StageNo = static_cast<uint8_t>(index);
    return it->second;
}

const StageRecord& StageFile::Record(int index) const {
    if (index >= 0 && static_cast<std::size_t>(index) < m_records.size())
        return m_records[static_cast<std::size_t>(index)];
    return MissingRecord(index);
}

void StageFile::ReadStageRecord(int index) {
    Buffer = Record(index);
    m_position = index < 0 ? 0 : index + 1;
}

uint8_t StageFile::FindStageByName(const std::string& name) {
    m_position = 0;
    uint8_t stageNo = 0;
    for (const StageRecord& record : m_records) {
        Buffer = record;
        ++m_position;
        stageNo = record.StageNo;
        if (record.StageName == name)
            break;
    }
    return stageNo;
}

bool StageNameLess(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned ka = FoldKey(static_cast<unsigned char>(a[i]));
        const unsigned kb = FoldKey(static_cast<unsigned char>(b[i]));
        if (ka != kb)
            return ka < kb;
    }
    if (a.size() != b.size())
        return a.size() < b.size();
    return a < b;
}

std::vector<std::string> SortedStageList(std::vector<std::string> names) {
    std::stable_sort(names.begin(), names.end(),
                     [](const std::string& a, const std::string& b) { return StageNameLess(a, b); });
    return names;
}

} // namespace kel
