#include "app/InterfaceLanguage.h"

#include "data/Language.h"
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

} // namespace kel
