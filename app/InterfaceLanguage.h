#pragma once
// The window's language at start-up: --lang, then the key "Language" of the section "Interface"
// of the settings file, then the system's language.

#include "data/Language.h"
#include "settings/Settings.h"

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace kel {

// The value of [Interface] Language in `settingsPath` (empty when missing or unreadable).
std::string ReadLanguageSetting(const QString& settingsPath);
// Writes [Interface] Language = `value` ("ru", "en" or empty for the system's choice) into
// `settingsPath`, keeping every other line. Returns an empty string or the failure's message.
std::string WriteLanguageSetting(const QString& settingsPath, std::string_view value);

} // namespace kel
