#pragma once
// Saving a whole file so that a failure or a second save at the same moment never leaves it
// half-written: the bytes go to a new temporary file in the same folder, which then replaces
// the target in one step.

#include "data/Language.h"

#include <string>
#include <string_view>

namespace kel {

// Writes `bytes` to `path` (UTF-8). The temporary file gets a unique name, is created
// exclusively (an existing file or link of that name is never opened), flushed to the disk,
// given the old file's access rights and renamed over the target; on any failure it is
// removed and the old file stays as it was. A target that is a symbolic link is written
// through: the file it names is replaced and the link stays.
// Returns an empty string on success, otherwise the message for the user, naming the file
// and the system's reason: "Не удалось записать файл /x/Kelvara.ini: Нет места на устройстве".
std::string WriteFileSafely(const std::string& path, std::string_view bytes, Language language = Language::Russian);

// The failure message for `path` with the reason text (no reason: the first part only).
std::string WriteFailureMessage(const std::string& path, const std::string& reason,
                                Language language = Language::Russian);

} // namespace kel
