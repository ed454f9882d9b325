#include "app/InterfaceLanguage.h"

#include "data/LoadError.h"
#include "data/PathText.h"
#include "data/ValueTables.h"
#include "gui/Translation.h"
#include "settings/IniFile.h"

#include <exception>
#include <filesystem>

namespace kel {
namespace {

std::string PathOf(const QString& path) { return PathToUtf8(std::filesystem::path(path.toStdU16String())); }

// Same rule as the core's ChooseLanguage(commandLine, setting, systemLocaleName), which takes its
// place once it is in data/Language.h: the command line wins, then the setting, then the system
// (a locale naming no language counts as no choice and keeps Russian, the program's default).
std::optional<Language> Named(std::string_view code) {
    if (code == "ru")
        return Language::Russian;
    if (code == "en")
        return Language::English;
    return std::nullopt;
}

} // namespace

std::string ReadLanguageSetting(const QString& settingsPath) {
    try {
        const IniFile ini(PathOf(settingsPath), std::string(SettingsFileName));
        return ini.ReadString(InterfaceSection, LanguageKey, "");
    } catch (const std::exception&) {
        return {}; // the start-up reports an unreadable settings file itself
    }
}

std::string WriteLanguageSetting(const QString& settingsPath, std::string_view value) {
    try {
        IniFile ini(PathOf(settingsPath), std::string(SettingsFileName), WindowLanguage());
        ini.WriteString(InterfaceSection, LanguageKey, value);
        return ini.Save();
    } catch (const std::exception& error) {
        return error.what();
    }
}

Language StartLanguage(std::string_view commandLine, std::string_view setting, std::string_view systemLocaleName) {
    if (const auto language = Named(commandLine))
        return *language;
    if (const auto language = Named(setting))
        return *language;
    if (systemLocaleName.empty() || systemLocaleName == "C" || systemLocaleName == "POSIX" ||
        systemLocaleName.substr(0, 2) == "ru")
        return Language::Russian;
    return Language::English;
}

} // namespace kel
