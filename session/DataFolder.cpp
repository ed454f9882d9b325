#include "session/DataFolder.h"

#include "data/Cp1251.h"
#include "data/LoadError.h"
#include "data/PathText.h"
#include "data/ValueTables.h"
#include "settings/IniFile.h"

namespace kel {

std::filesystem::path RememberedDataDir(const std::filesystem::path& settingsPath) {
    try {
        const IniFile ini(PathToUtf8(settingsPath), std::string(SettingsFileName));
        const std::string stored = ini.ReadString(PathsSection, DataDirKey, "");
        return stored.empty() ? std::filesystem::path() : Utf8ToPath(Cp1251ToUtf8(stored));
    } catch (const LoadError&) {
        return {};
    }
}

std::filesystem::path FindSampleDir(const std::filesystem::path& exeDir) {
    if (exeDir.empty())
        return {};
    const std::filesystem::path places[] = {(exeDir / ".." / "sample").lexically_normal(),
                                            (exeDir / ".." / "share" / "kelvara" / "sample").lexically_normal(),
                                            exeDir / "sample"};
    for (const std::filesystem::path& place : places) {
        std::error_code ec;
        if (std::filesystem::is_regular_file(place / std::string(LogFileName), ec) &&
            std::filesystem::is_regular_file(place / std::string(StageFileName), ec))
            return place;
    }
    return {};
}

bool RememberDataDir(IniFile& ini, const std::filesystem::path& folder) {
    const std::string utf8 = PathToUtf8(folder);
    const std::string stored = Utf8ToCp1251(utf8);
    if (utf8.empty() || Cp1251ToUtf8(stored) != utf8)
        return false;
    ini.WriteString(PathsSection, DataDirKey, stored);
    return true;
}

} // namespace kel
