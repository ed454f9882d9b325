#include "app/SettingsLocation.h"

#include <atomic>
#include <chrono>
#include <fcntl.h>
#include <string>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace kel {

namespace fs = std::filesystem;

HostSystem CurrentHostSystem() {
#ifdef _WIN32
    return HostSystem::Windows;
#else
    return HostSystem::Other;
#endif
}

fs::path SettingsFileLocation(const SettingsLocationInput& input) {
    if (!input.Option.empty())
        return input.Option;
    const fs::path beside = input.ExecutableDir / "Kelvara.ini";
    std::error_code ec;
    if (fs::exists(beside, ec))
        return beside;
    // The installer leaves its uninstaller beside the program: an installed copy, whose folder is
    // writable (a per-user installation) but holds no settings.
    if (input.System == HostSystem::Windows && !fs::exists(input.ExecutableDir / "uninstall.exe", ec) &&
        FolderWritable(input.ExecutableDir))
        return beside;
    return input.UserConfigDir / "Kelvara.ini";
}

bool FolderWritable(const fs::path& folder) {
    // Asking for the access rights is not enough on Windows (access lists, protected folders):
    // only creating a file tells. The name is new, and the file is created exclusively, so no
    // existing file is touched.
    static std::atomic<unsigned> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path probe = folder / (".kelvara-probe-" + std::to_string(stamp) + "-" + std::to_string(counter++));
#ifdef _WIN32
    const int fd = _wopen(probe.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY, _S_IREAD | _S_IWRITE);
    if (fd < 0)
        return false;
    _close(fd);
#else
    const int fd = ::open(probe.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_NOFOLLOW, 0600);
    if (fd < 0)
        return false;
    ::close(fd);
#endif
    std::error_code ec;
    fs::remove(probe, ec);
    return true;
}

} // namespace kel
