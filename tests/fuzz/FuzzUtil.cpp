#include "tests/fuzz/FuzzUtil.h"

#include "tests/TestUtil.h"

#include <cstdlib>
#include <unistd.h>

namespace kel::fuzz {

namespace fs = std::filesystem;

void Check(bool condition) {
    if (!condition)
        std::abort();
}

bool IsUtf8(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t extra = 0;
        if (c < 0x80)
            extra = 0;
        else if (c >= 0xC2 && c <= 0xDF)
            extra = 1;
        else if (c >= 0xE0 && c <= 0xEF)
            extra = 2;
        else if (c >= 0xF0 && c <= 0xF4)
            extra = 3;
        else
            return false;
        if (i + extra >= text.size() && extra > 0)
            return false;
        for (std::size_t k = 1; k <= extra; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
                return false;
        i += extra + 1;
    }
    return true;
}

std::string SampleFile(std::string_view name) {
    return test::ReadFile(fs::path(KELVARA_SOURCE_DIR) / "sample" / std::string(name));
}

std::string SampleLogSlice() {
    const std::string log = SampleFile("zlttimes.log");
    std::size_t end = 0;
    for (int line = 0; line < 62 && end < log.size(); ++line) {
        const std::size_t next = log.find('\n', end);
        end = next == std::string::npos ? log.size() : next + 1;
    }
    return log.substr(0, end);
}

namespace {

struct Folder {
    fs::path path;
    Folder() {
        std::error_code ec;
        const fs::path shm = "/dev/shm";
        const fs::path base = fs::is_directory(shm, ec) && access(shm.c_str(), W_OK) == 0 ? shm : fs::temp_directory_path();
        path = base / ("kelvara-fuzz-" + std::to_string(getpid()));
        fs::create_directories(path);
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(path, ec);
    }
};

} // namespace

const fs::path& WorkDir() {
    static Folder folder;
    return folder.path;
}

const fs::path& SampleDataDir() {
    static const fs::path dir = [] {
        const fs::path d = WorkDir() / "sample";
        fs::create_directories(d);
        test::WriteFile(d / "trinfo.bin", SampleFile("trinfo.bin"));
        test::WriteFile(d / "zlttimes.log", SampleLogSlice());
        return d;
    }();
    return dir;
}

StartupOptions Options(const fs::path& dataDir, const fs::path& settingsPath) {
    StartupOptions o;
    o.DataDir = dataDir;
    o.SettingsPath = settingsPath;
    o.ProgramDir = "/opt/kelvara/";
    o.Now = Now;
    return o;
}

} // namespace kel::fuzz
