#pragma once

#include <optional>
#include <string_view>

namespace kel {

// The language of the texts that the user reads. Files, their keys and the report tool's
// machine-readable output are the same in every language.
enum class Language { Russian, English };

// The language to speak: the command line's choice ("ru" or "en") wins, then the settings'
// choice ("ru" or "en"; empty or anything else leaves it to the system), then the system's
// locale name ("ru_RU.UTF-8", "en_GB", "de"): Russian for a Russian locale and for one that
// names no language ("C", "POSIX", empty), English for any other language.
Language ChooseLanguage(std::string_view commandLine, std::string_view setting, std::string_view systemLocaleName);

// "ru" / "en": the names that the command line and the settings use.
std::optional<Language> LanguageByName(std::string_view name);

} // namespace kel
