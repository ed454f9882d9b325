#pragma once
// The window's language at start-up: --lang, then the key "Language" of the section "Interface"
// of the settings file, then the system's language.

#include "data/Language.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace kel {

inline constexpr std::string_view InterfaceSection = "Interface";
inline constexpr std::string_view LanguageKey = "Language";

// The value of [Interface] Language in `settingsPath` (empty when missing or unreadable).
std::string ReadLanguageSetting(const QString& settingsPath);
// Writes [Interface] Language = `value` ("ru", "en" or empty for the system's choice) into
// `settingsPath`, keeping every other line. Returns an empty string or the failure's message.
std::string WriteLanguageSetting(const QString& settingsPath, std::string_view value);

// The language for a command-line value ("ru"/"en", anything else or empty: no choice), the
// setting's value and the system's locale name ("ru_RU", "en_GB", "C").
Language StartLanguage(std::string_view commandLine, std::string_view setting, std::string_view systemLocaleName);

} // namespace kel
