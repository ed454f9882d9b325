#include "data/Language.h"

namespace kel {

std::optional<Language> LanguageByName(std::string_view name) {
    if (name == "ru")
        return Language::Russian;
    if (name == "en")
        return Language::English;
    return std::nullopt;
}

Language ChooseLanguage(std::string_view commandLine, std::string_view setting, std::string_view systemLocaleName) {
    if (auto chosen = LanguageByName(commandLine))
        return *chosen;
    if (auto chosen = LanguageByName(setting))
        return *chosen;
    const std::string_view name = systemLocaleName;
    if (name.empty() || name == "C" || name == "POSIX" || name.starts_with("C.") || name.starts_with("ru"))
        return Language::Russian;
    return Language::English;
}

} // namespace kel
