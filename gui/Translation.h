#pragma once
// The language of the window's texts: chosen once at start-up, for the whole run.
// Texts written in the window layer go through Qt's tr() (Russian in the source, English from
// the embedded kelvara_en.qm); texts of the core come from its catalogue in the same language.

#include "data/Language.h"
#include "data/Texts.h"

#include <QString>

namespace kel {

// Installs the translators of `language` into the running application (ours for English, none for
// Russian, which the source is written in; Qt's own "qtbase" texts where installed) and makes it the
// language of Tx(). Call before the first window is built (again, for tests and benchmarks).
void InstallLanguage(Language language);

Language WindowLanguage();

// The core catalogue's text of `id` in the window's language.
QString Tx(TextId id);

// "ru" / "en": the values of the settings key and of --lang.
inline const char* LanguageCode(Language language) { return language == Language::English ? "en" : "ru"; }

} // namespace kel
