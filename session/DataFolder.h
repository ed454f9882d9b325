#pragma once
// The data folder that the user chose at a start whose folder lacked the data files. It is kept
// in the settings file (section "Paths", key "DataDir", Windows-1251 like every value there) and
// used at the next start that names no folder.

#include <filesystem>
#include <string_view>

namespace kel {

class IniFile;

inline constexpr std::string_view PathsSection = "Paths";
inline constexpr std::string_view DataDirKey = "DataDir";

// The remembered folder, or an empty path when there is none or the settings file cannot be read
// (the start-up reports an unreadable file itself when it loads the settings).
std::filesystem::path RememberedDataDir(const std::filesystem::path& settingsPath);

// The demonstration data that ships with the program, for a first start: the first folder that
// holds both data files of, in order, `<exeDir>/../sample` (a build tree beside the source tree),
// `<exeDir>/../share/kelvara/sample` (installed on Linux) and `<exeDir>/sample` (Windows).
// An empty path when there is none.
std::filesystem::path FindSampleDir(const std::filesystem::path& exeDir);

// Writes `folder` as the remembered one. A folder whose name has letters outside Windows-1251
// cannot be stored without loss: it is not written (false), and the key keeps its old value.
bool RememberDataDir(IniFile& ini, const std::filesystem::path& folder);

} // namespace kel
