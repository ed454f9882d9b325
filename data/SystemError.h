#pragma once
// The system's reason for a failed file operation, as a sentence for messages.

#include "data/Language.h"

#include <string>

namespace kel {

// "Нет места на устройстве" for ENOSPC and so on; the system's own text for codes without a
// text of our own. Empty for 0.
std::string SystemErrorText(int errorCode, Language language = Language::Russian);

} // namespace kel
