#pragma once
// Where "Kelvara.ini" lives. A portable copy keeps it beside the executable: always when a
// "Kelvara.ini" is already there, and on Windows whenever the program's folder is writable (a
// folder the player unpacked the program into) unless the installer's "uninstall.exe" lies
// there. Otherwise it lies in the user's configuration folder (on Windows
// %LOCALAPPDATA%\Kelvara), so an installed program can save its settings and every user has
// their own. A file
// named on the command line wins over both. (No Qt here: the tests run on every system.)

#include <filesystem>

namespace kel {

enum class HostSystem { Windows, Other };

// The system this program was built for.
HostSystem CurrentHostSystem();

struct SettingsLocationInput {
    std::filesystem::path ExecutableDir;
    std::filesystem::path UserConfigDir; // for example ~/.config/Kelvara
    HostSystem System = CurrentHostSystem();
    std::filesystem::path Option;        // --settings FILE; empty when not given
};

std::filesystem::path SettingsFileLocation(const SettingsLocationInput& input);

// True when a new file can be created in `folder`: a probe file is created and removed again.
bool FolderWritable(const std::filesystem::path& folder);

} // namespace kel
