#include "data/Texts.h"

#include "data/FileBytes.h"
#include "data/Format.h"
#include "data/LoadError.h"
#include "data/StageFile.h"
#include "data/SystemError.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>

namespace kel {
namespace {

std::multiset<std::string> Places(std::string_view text) {
    std::multiset<std::string> places;
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '%' && text[i + 1] >= '1' && text[i + 1] <= '9')
            places.insert(std::string(text.substr(i, 2)));
    return places;
}

bool HasCyrillic(std::string_view text) {
    for (std::size_t i = 0; i + 1 < text.size(); ++i)
        if ((text[i] == '\xD0' || text[i] == '\xD1') && (text[i + 1] & 0xC0) == 0x80)
            return true;
    return false;
}

TEST(Texts, EveryTextHasBothLanguagesWithTheSamePlaces) {
    for (std::size_t i = 0; i < TextCount; ++i) {
        const auto id = static_cast<TextId>(i);
        const std::string_view ru = Text(id, Language::Russian), en = Text(id, Language::English);
        EXPECT_FALSE(ru.empty()) << i;
        EXPECT_FALSE(en.empty()) << i;
        EXPECT_FALSE(HasCyrillic(en)) << "not translated: " << en;
        EXPECT_EQ(Places(ru), Places(en)) << ru << " / " << en;
    }
    EXPECT_EQ(Text(TextId::None, Language::English), "");
}

TEST(Texts, FillPutsValuesInTheirPlacesOnce) {
    EXPECT_EQ(FillText("%2 of %1", {"a", "b"}), "b of a");
    EXPECT_EQ(FillText("%1 and %2, 2 %, 100%", {"%2", "b"}), "%2 and b, 2 %, 100%");
    EXPECT_EQ(Text(TextId::ProgressTitle, Language::English, {"Ridge"}), "Progress — Ridge");
}

TEST(Texts, CoreMessagesFollowTheLanguage) {
    StageFile stages;
    for (const Language language : {Language::Russian, Language::English}) {
        try {
            stages.FillStageListData(std::string(549, '\0'), language);
            ADD_FAILURE();
        } catch (const LoadError& e) {
            EXPECT_STREQ(e.what(), language == Language::Russian
                                       ? "Размер файла 549 байт не кратен длине записи 548 байт."
                                       : "The file's size of 549 bytes is not a multiple of the record length, 548 bytes.");
        }
    }
    EXPECT_EQ(SystemErrorText(ENOSPC), "Нет места на устройстве");
    EXPECT_EQ(SystemErrorText(ENOSPC, Language::English), "No space left on the device");
    EXPECT_EQ(FileSizeText(3u << 30, Language::English), "3.0 GB (3221225472 bytes)");
    EXPECT_EQ(FileSizeText(1u << 20, Language::Russian), "1,0 МБ (1048576 байт)");
    EXPECT_EQ(UnitWord(1, Weeks, Language::English), "week");
    EXPECT_EQ(UnitWord(21, Weeks, Language::English), "weeks");
    EXPECT_EQ(UnitWord(21, Weeks), "неделю");
}

TEST(Texts, LanguageFromCommandLineThenSettingThenSystem) {
    const auto ru = Language::Russian, en = Language::English;
    struct Case {
        std::string_view commandLine, setting, locale;
        Language expected;
    };
    for (const Case& c : std::initializer_list<Case>{{"en", "ru", "ru_RU.UTF-8", en},
                                                     {"ru", "en", "de_DE", ru},
                                                     {"", "en", "ru_RU", en},
                                                     {"", "ru", "en_US", ru},
                                                     {"fr", "de", "ru", ru}, // unknown choices leave it to the system
                                                     {"", "", "en_GB.UTF-8", en},
                                                     {"", "", "uk_UA", en},
                                                     {"", "", "ru_UA.UTF-8", ru},
                                                     {"", "", "C", ru}, // no language named: the default
                                                     {"", "", "POSIX", ru},
                                                     {"", "", "C.UTF-8", ru},
                                                     {"", "", "", ru}})
        EXPECT_EQ(ChooseLanguage(c.commandLine, c.setting, c.locale), c.expected)
            << c.commandLine << " / " << c.setting << " / " << c.locale;
}

} // namespace
} // namespace kel
