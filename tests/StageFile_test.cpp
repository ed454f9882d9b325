#include "data/StageFile.h"

#include "data/Cp1251.h"
#include "data/LoadError.h"
#include "tests/TestUtil.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace kel {
namespace {

// One 548-byte record; `nameLength` overrides the name's length byte (damaged records).
std::string Record(const std::string& name, uint8_t stageNo, float length, const std::string& desc1 = "",
                   const std::string& desc2 = "", int nameLength = -1) {
    std::string r(StageRecordSize, '\x5A'); // filler bytes after the texts are not used
    r[0] = static_cast<char>(nameLength >= 0 ? nameLength : static_cast<int>(name.size()));
    name.copy(&r[1], std::min<std::size_t>(name.size(), 30));
    r[31] = static_cast<char>(stageNo);
    const uint32_t bits = std::bit_cast<uint32_t>(length);
    for (int i = 0; i < 4; ++i)
        r[32 + i] = static_cast<char>(bits >> (8 * i));
    r[36] = static_cast<char>(desc1.size());
    desc1.copy(&r[37], 255);
    r[292] = static_cast<char>(desc2.size());
    desc2.copy(&r[293], 255);
    return r;
}

// A file whose record k describes stage k; `names[k]` empty means a gap.
std::string StageBytes(const std::vector<std::string>& names) {
    std::string bytes;
    for (std::size_t k = 0; k < names.size(); ++k)
        bytes += Record(names[k], static_cast<uint8_t>(k), names[k].empty() ? 0.0f : 2.5f * static_cast<float>(k));
    return bytes;
}

std::vector<std::string> LoadFile(StageFile& file, const std::string& bytes) {
    test::TempDir dir;
    test::WriteFile(dir / "trinfo.bin", bytes);
    return file.FillStageList((dir / "trinfo.bin").string());
}

TEST(StageFileLoad, ListsNonEmptyNamesInFileOrder) {
    StageFile f;
    const auto names = LoadFile(f, StageBytes({"", "Kamenny Brod", "", "Dolgaya Griva", "Abrel Pass"}));
    EXPECT_EQ(names, (std::vector<std::string>{"Kamenny Brod", "Dolgaya Griva", "Abrel Pass"}));
    EXPECT_TRUE(f.IsOpen());
    EXPECT_EQ(f.RecordCount(), 5);
    EXPECT_EQ(f.Position(), 5);
    EXPECT_EQ(f.Buffer.StageName, "Abrel Pass") << "the buffer holds the last record";
    EXPECT_EQ(f.Buffer.StageNo, 4);
    EXPECT_EQ(f.Buffer.StageLength, 10.0f);
    EXPECT_TRUE(f.MissingStages().empty());
}

TEST(StageFileLoad, BadFilesFailNamingTheStageFile) {
    const std::string three = StageBytes({"Kamenny Brod", "Dolgaya Griva", "Abrel Pass"});
    for (const std::string& bytes : {three.substr(0, three.size() - 1), three + "x", std::string(100, '\0')}) {
        StageFile f;
        try {
            LoadFile(f, bytes);
            ADD_FAILURE() << "no error for " << bytes.size() << " bytes";
        } catch (const LoadError& e) {
            EXPECT_EQ(e.FileName(), "trinfo.bin");
            EXPECT_EQ(std::string(e.what()), "Размер файла " + std::to_string(bytes.size()) +
                                                 " байт не кратен длине записи 548 байт.");
        }
    }
    StageFile f;
    test::TempDir dir;
    EXPECT_THROW(f.FillStageList((dir / "trinfo.bin").string()), LoadError);
    EXPECT_TRUE(LoadFile(f, "").empty()) << "an empty file holds no stage, and that is no error";
    EXPECT_EQ(f.RecordCount(), 0);
}

TEST(StageFileLoad, TextsAndDamagedLengthBytes) {
    const std::string desc1(255, 'a'), desc2 = "nd more";
    std::string bytes = Record(Utf8ToCp1251("Ветреный увал"), 0, 12.75f, "Short fir", "st part") +
                        Record(std::string(30, 'N'), 1, 3.0f, desc1, desc2, 255) +
                        Record("Ravine", 2, 1.0f, "", "", 0);
    StageFile f;
    const auto names = LoadFile(f, bytes);
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(Cp1251ToUtf8(names[0]), "Ветреный увал");
    EXPECT_EQ(names[1], std::string(30, 'N')) << "a length byte past the field is cut to the field";
    const StageRecord& r0 = f.Record(0);
    EXPECT_EQ(r0.StageLength, 12.75f);
    EXPECT_EQ(r0.StageDesc1 + r0.StageDesc2, "Short first part");
    EXPECT_EQ(f.Record(1).StageDesc1, desc1);
    EXPECT_EQ(f.Record(1).StageDesc2, desc2);
    EXPECT_EQ(f.Record(2).StageName, "") << "a record with length byte 0 has no name, whatever follows";
}

TEST(StageFileLoad, LengthsThatCannotBeRealReadAsUnknown) {
    const float inf = std::numeric_limits<float>::infinity();
    const std::vector<float> stored = {12.5f, std::numeric_limits<float>::quiet_NaN(), inf, -inf, -0.5f,
                                       1000.0f, 1000.001f, 1.365e11f, 0.0f};
    std::string bytes;
    for (std::size_t k = 0; k < stored.size(); ++k)
        bytes += Record("Stage " + std::to_string(k), static_cast<uint8_t>(k), stored[k]);
    StageFile f;
    LoadFile(f, bytes);
    const std::vector<float> expected = {12.5f, 0, 0, 0, 0, 1000.0f, 0, 0, 0};
    for (std::size_t k = 0; k < stored.size(); ++k)
        EXPECT_EQ(f.Record(static_cast<int>(k)).StageLength, expected[k]) << "record " << k;
    EXPECT_EQ(f.ImplausibleLengths(), (std::set<int>{1, 2, 3, 4, 6, 7}));
}

TEST(StageFileRead, RecordsByNumberIncludingGapsAndMissingStages) {
    StageFile f;
    LoadFile(f, StageBytes({"", "Kamenny Brod", "", "Dolgaya Griva"}));

    f.ReadStageRecord(2);
    EXPECT_EQ(f.Buffer.StageName, "");
    EXPECT_EQ(f.Buffer.StageNo, 2);
    EXPECT_EQ(f.Position(), 3);
    EXPECT_TRUE(f.MissingStages().empty()) << "a gap in the file is a record, not a missing stage";

    f.ReadStageRecord(1);
    EXPECT_EQ(f.Buffer.StageName, "Kamenny Brod");
    f.ReadStageRecord(150);
    EXPECT_EQ(f.Buffer.StageName, "");
    EXPECT_EQ(f.Buffer.StageLength, 0.0f);
    EXPECT_EQ(f.Buffer.StageNo, 150);
    EXPECT_EQ(f.Position(), 151);
    f.ReadStageRecord(150);
    f.ReadStageRecord(-1);
    EXPECT_EQ(f.Position(), 0);

    const StageFile& constFile = f;
    EXPECT_EQ(constFile.Record(4).StageNo, 4);
    EXPECT_EQ(&constFile.Record(4), &constFile.Record(4)) << "handed-out records stay valid";
    EXPECT_EQ(f.MissingStages(), (std::set<int>{-1, 4, 150}));

    f.CloseStageFile();
    EXPECT_FALSE(f.IsOpen());
    f.ReadStageRecord(3);
    EXPECT_EQ(f.Buffer.StageName, "Dolgaya Griva") << "records stay in memory after closing";
}

TEST(StageFileRead, FindStageByNameTakesTheFirstRecordInFileOrder) {
    StageFile f;
    LoadFile(f, StageBytes({"", "Abrel Pass", "Kamenny Brod", "Abrel Pass", "Dolgaya Griva"}));
    EXPECT_EQ(f.FindStageByName("Abrel Pass"), 1);
    EXPECT_EQ(f.Position(), 2);
    EXPECT_EQ(f.Buffer.StageNo, 1);
    EXPECT_EQ(f.FindStageByName("abrel pass"), 4) << "no match: the last record read is the last one";
    EXPECT_EQ(f.Position(), 5);
    EXPECT_EQ(f.Buffer.StageName, "Dolgaya Griva");
    EXPECT_EQ(f.FindStageByName(""), 0) << "the first gap matches an empty name";

    StageFile empty;
    LoadFile(empty, "");
    EXPECT_EQ(empty.FindStageByName("Abrel Pass"), 0);
}

TEST(StageListOrder, CaseInsensitiveLatinThenCyrillicWithYoAfterYe) {
    const auto cp = [](std::initializer_list<const char*> names) {
        std::vector<std::string> out;
        for (const char* n : names)
            out.push_back(Utf8ToCp1251(n));
        return out;
    };
    EXPECT_TRUE(StageNameLess("alpha", "Bravo"));
    EXPECT_FALSE(StageNameLess("Bravo", "alpha"));
    EXPECT_TRUE(StageNameLess("Alpha", "alpha")) << "ties go by byte order";
    EXPECT_FALSE(StageNameLess("alpha", "alpha"));
    EXPECT_TRUE(StageNameLess("Bor", "bora"));

    const std::vector<std::string> sorted = SortedStageList(cp({
        "Ёлочная", "ель", "Жаркий склон", "zenit", "Арка", "Ель", "бор", "Дуга", "ёж", "Alpha", "10 km", "Ежевика",
        "Яр", "alpha", "Бор", "Ёж"}));
    EXPECT_EQ(sorted, cp({"10 km", "Alpha", "alpha", "zenit", "Арка", "Бор", "бор", "Дуга", "Ежевика", "Ель", "ель",
                          "Ёж", "ёж", "Ёлочная", "Жаркий склон", "Яр"}));
}

} // namespace
} // namespace kel
